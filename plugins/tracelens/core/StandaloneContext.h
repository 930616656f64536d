// A shared context for running the scope engine without the host (the
// command line, tests, benchmarks): it owns the values behind the slots the
// engine reads and publishes a port the caller opened.
#pragma once

#include "CommTypes.h"
#include "SharedContext.h"

#include <array>
#include <string>

namespace tracelens {

class StandaloneContext {
public:
    StandaloneContext();
    StandaloneContext(const StandaloneContext&) = delete;
    StandaloneContext& operator=(const StandaloneContext&) = delete;

    SharedContext& Context() { return ctx_; }
    // Publishes an open port with its COM number (0 for an explicit device
    // path) and line settings, as the drive search does.
    void PublishPort(HANDLE port, int comPort, const DCB& dcb);
    // The folder of cd.dat and Language/ (default ".").
    void SetAppDir(std::string dir) { appDir_ = std::move(dir); }

private:
    SharedContext ctx_;
    SharedHandle handle_{0};
    std::array<SharedInt, kSlotCount> ints_{};
    std::array<LinkClaim, kLinkClaims> claims_{};
    ScopeRequestBlock scopeRequest_;
    CommDcbBlock dcb_;
    ParmStore parms_;
    DriveIdentity identity_;
    DriveIdentity offlineIdentity_;
    std::string appDir_ = ".";
    std::string title_ = "Velmora";
};

} // namespace tracelens
