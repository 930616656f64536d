// velmora-cli tells a port refused for lack of permission from one that is
// missing or taken, and names the fix. The refusal is injected at the open
// seam, since root (who may run the tests) is never refused.
#include "CliRun.h"
#include "CommHooks.h"
#include "PtyPair.h"

#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>

namespace {

TEST(CliPermission, ARefusedPortNamesTheDialoutFix) {
    struct Case {
        const char* what;
        int refusal; // 0: open normally
        bool blamesPermission;
    };
    const Case cases[] = {
        {"refused", EACCES, true},
        {"refused by a security module", EPERM, true},
        {"held by another program", EWOULDBLOCK, false},
    };
    PtyPair device;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        wirelay::SetOpenFunction([&](const char*, int) {
            errno = c.refusal;
            return -1;
        });
        const CliOutcome outcome = RunCliLine({"--device", device.SlavePath()}, "ident");
        wirelay::SetOpenFunction(nullptr);
        EXPECT_EQ(outcome.status, velmora::cli::kExitPortUnavailable);
        EXPECT_EQ(outcome.err.find("sudo usermod -aG dialout $USER") != std::string::npos,
                  c.blamesPermission)
            << outcome.err;
    }
}

} // namespace
