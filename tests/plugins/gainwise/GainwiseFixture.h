// Helpers of the tuning plug-in tests: a context with the slots the plug-in
// uses, and a tuning link straight on a simulated drive's state that logs
// every request.
#pragma once

#include "DriveState.h"
#include "SharedContext.h"
#include "TuningLink.h"

#include <string>
#include <vector>

struct TestContext {
    TestContext() {
        for (int i = 0; i < kLinkClaims; ++i)
            ctx.slot[kLinkClaim0 + i] = reinterpret_cast<std::intptr_t>(&claims[i]);
        auto point = [this](int slot, auto& value) {
            ctx.slot[slot] = reinterpret_cast<std::intptr_t>(&value);
        };
        point(kLinkFound, linkFound);
        point(kWaitWriteTime, waitWrite);
        point(kPreCountQueTimes, polls);
        point(kDriveTraffic, traffic);
        point(kParmStore, parms);
    }
    SharedContext ctx;
    LinkClaim claims[kLinkClaims];
    SharedInt linkFound{1}, waitWrite{1}, polls{400}, traffic{0};
    ParmStore parms;
};

inline drivesim::DriveModel SimModelOf(int model) {
    return model == kModelT8   ? drivesim::DriveModel::T8
           : model == kModelW5 ? drivesim::DriveModel::W5
                               : drivesim::DriveModel::T5;
}

// One request as the drive saw it: 'R'/'W' registers, 'r'/'w' coils.
struct Request {
    char op;
    int start;
    int count;
    std::vector<std::uint16_t> words; // written words (coils: the bytes)
    bool operator==(const Request&) const = default;
};

class StateTuningLink : public gainwise::TuningLink {
public:
    explicit StateTuningLink(int model)
        : state(drivesim::ParameterTable::Load(SimModelOf(model), "."),
                drivesim::IdentityLayout::Layout2, "") {}

    int ReadRegisters(unsigned short start, unsigned short count, unsigned short* dest) override {
        log.push_back({'R', start, count, {}});
        std::vector<std::uint16_t> out;
        if (Fails() || state.ReadRegisters(start, count, out) != drivesim::kNoException)
            return 0;
        std::copy(out.begin(), out.end(), dest);
        if (start == overrideReadAt)
            dest[0] = overrideValue;
        return 1;
    }
    int WriteRegisters(unsigned short start, unsigned short count,
                       unsigned short* source) override {
        std::vector<std::uint16_t> words(source, source + count);
        log.push_back({'W', start, count, words});
        return !Fails() && state.WriteRegisters(start, words) == drivesim::kNoException;
    }
    int ReadCoils(unsigned short start, unsigned short count, unsigned char* dest) override {
        log.push_back({'r', start, count, {}});
        std::vector<bool> bits;
        if (Fails() || state.ReadCoils(start, count, bits) != drivesim::kNoException)
            return 0;
        dest[0] = bits[0] ? 1 : 0;
        return 1;
    }
    int WriteCoils(unsigned short start, unsigned short count, unsigned char* source) override {
        log.push_back({'w', start, count, {source[0]}});
        return !Fails() &&
               state.WriteCoils(start, {(source[0] & 1) != 0}) == drivesim::kNoException;
    }
    CModbus& Master() override { return master; }

    drivesim::DriveState state;
    CModbus master;
    std::vector<Request> log;
    int failFrom = -1; // requests from this count on fail
    int overrideReadAt = -1;
    std::uint16_t overrideValue = 0;

private:
    bool Fails() const { return failFrom >= 0 && static_cast<int>(log.size()) > failFrom; }
};
