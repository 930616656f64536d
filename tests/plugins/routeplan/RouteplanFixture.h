// Helpers of the internal-position tests: a context filled as the host fills
// it, and a motion link straight on a simulated drive's state that logs every
// request (registers and coils).
#pragma once

#include "ContextStorage.h"
#include "DriveState.h"
#include "HostConfig.h"
#include "MotionLink.h"
#include "RouteplanJobs.h"

#include <algorithm>
#include <vector>

struct RouteplanContext {
    ContextStorage storage;
    explicit RouteplanContext(int model = kModelT8) {
        storage.CreateParmStore(nullptr);
        storage.Fill(ReadHostConfig("Velmora.ini"), ".", nullptr);
        Ctx().Parms().iModel = model;
        Ctx().Int(kOnline) = 1;
        Ctx().Int(kJogTimeout) = 300;
    }
    SharedContext& Ctx() { return storage.Context(); }
};

// One request as the drive saw it.
struct Logged {
    char op; // 'R' read, 'W' write, 'r' coil read, 'w' coil write, 'I' identity
    int start;
    std::vector<std::uint16_t> words; // written words (coils: the packed byte)
    int count = 0;
};

inline drivesim::DriveModel SimModelOf(int model) {
    return model == kModelT8   ? drivesim::DriveModel::T8
           : model == kModelW5 ? drivesim::DriveModel::W5
                               : drivesim::DriveModel::T5;
}

class StateMotionLink : public routeplan::MotionLink {
public:
    explicit StateMotionLink(int model)
        : state(drivesim::ParameterTable::Load(SimModelOf(model), "."),
                drivesim::IdentityLayout::Layout2, "") {}

    int ReadRegisters(unsigned short start, unsigned short count, unsigned short* dest) override {
        log.push_back({'R', start, {}, count});
        std::vector<std::uint16_t> out;
        if (Fails() || state.ReadRegisters(start, count, out) != drivesim::kNoException)
            return 0;
        std::copy(out.begin(), out.end(), dest);
        for (const auto& [address, value] : overrides)
            if (address >= start && address < start + count)
                dest[address - start] = value;
        return 1;
    }
    int WriteRegisters(unsigned short start, unsigned short count,
                       unsigned short* source) override {
        std::vector<std::uint16_t> words(source, source + count);
        log.push_back({'W', start, words, count});
        return !Fails() && state.WriteRegisters(start, words) == drivesim::kNoException;
    }
    int ReadCoils(unsigned short start, unsigned short count, unsigned char* dest) override {
        log.push_back({'r', start, {}, count});
        std::vector<bool> bits;
        if (Fails() || state.ReadCoils(start, count, bits) != drivesim::kNoException)
            return 0;
        dest[0] = bits[0] ? 1 : 0;
        return 1;
    }
    int WriteCoils(unsigned short start, unsigned short count, unsigned char* source) override {
        log.push_back({'w', start, {source[0]}, count});
        return !Fails() &&
               state.WriteCoils(start, {(source[0] & 1) != 0}) == drivesim::kNoException;
    }
    int ReportSlaveID(char* data, unsigned char* capacity) override {
        log.push_back({'I', 0, {}, 0});
        if (Fails())
            return 0;
        const auto id = state.SlaveId();
        const std::size_t n = std::min<std::size_t>(id.size() - 2, *capacity);
        std::copy(id.begin() + 2, id.begin() + 2 + static_cast<long>(n), data);
        *capacity = static_cast<unsigned char>(n);
        return 1;
    }
    CModbus& Master() override { return master; }

    std::vector<Logged> Writes() const {
        std::vector<Logged> out;
        std::copy_if(log.begin(), log.end(), std::back_inserter(out),
                     [](const Logged& l) { return l.op == 'W' || l.op == 'w'; });
        return out;
    }
    const Logged* WriteAt(int start) const {
        for (const Logged& l : log)
            if (l.op == 'W' && l.start == start)
                return &l;
        return nullptr;
    }

    drivesim::DriveState state;
    CModbus master;
    std::vector<Logged> log;
    std::vector<std::pair<int, std::uint16_t>> overrides; // register -> word read instead
    int failAfter = -1;                                   // requests from this count on fail

private:
    bool Fails() const { return failAfter >= 0 && static_cast<int>(log.size()) > failAfter; }
};
