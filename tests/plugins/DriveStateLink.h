// A drive-request link straight on a simulated drive's state, with no line in
// between: the plug-ins' job and cycle tests see every request it carried and
// can make requests fail or reads answer other words.
#pragma once

#include "DriveRequests.h"
#include "DriveState.h"
#include "SharedContext.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// One request as the drive saw it.
struct LoggedRequest {
    char op; // 'R' read, 'W' write, 'r' coil read, 'w' coil write, 'I' identity
    int start;
    int count;
    std::vector<std::uint16_t> words; // written words (coils: the first byte)
    bool operator==(const LoggedRequest&) const = default;
};

inline drivesim::DriveModel SimModelOf(int model) {
    return model == kModelT8   ? drivesim::DriveModel::T8
           : model == kModelW5 ? drivesim::DriveModel::W5
                               : drivesim::DriveModel::T5;
}

class DriveStateLink : public DriveRequests {
public:
    explicit DriveStateLink(int model)
        : state(drivesim::ParameterTable::Load(SimModelOf(model), "."),
                drivesim::IdentityLayout::Layout2, "") {}

    int ReadRegisters(unsigned short start, unsigned short count, unsigned short* dest) override {
        log.push_back({'R', start, count, {}});
        std::vector<std::uint16_t> out;
        if (Fails() || start == failReadAt ||
            state.ReadRegisters(start, count, out) != drivesim::kNoException)
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
        log.push_back({'W', start, count, words});
        return !Fails() && state.WriteRegisters(start, words) == drivesim::kNoException;
    }
    int ReadCoils(unsigned short start, unsigned short count, unsigned char* dest) override {
        log.push_back({'r', start, count, {}});
        std::vector<bool> bits;
        if (Fails() || state.ReadCoils(start, count, bits) != drivesim::kNoException)
            return 0;
        std::fill(dest, dest + (count + 7) / 8, 0);
        for (unsigned short i = 0; i < count; ++i)
            dest[i / 8] |= static_cast<unsigned char>(bits[i] ? 1u << (i % 8) : 0u);
        return 1;
    }
    int WriteCoils(unsigned short start, unsigned short count, unsigned char* source) override {
        log.push_back({'w', start, count, {source[0]}});
        std::vector<bool> bits(count);
        for (unsigned short i = 0; i < count; ++i)
            bits[i] = (source[i / 8] >> (i % 8) & 1) != 0;
        return !Fails() && state.WriteCoils(start, bits) == drivesim::kNoException;
    }
    int ReportSlaveID(char* data, unsigned char* capacity) override {
        log.push_back({'I', 0, 0, {}});
        if (Fails())
            return 0;
        const auto id = state.SlaveId();
        // Skip slave id and run indicator: the additional data follows.
        const std::size_t n = std::min<std::size_t>(id.size() - 2, *capacity);
        std::copy(id.begin() + 2, id.begin() + 2 + static_cast<long>(n), data);
        *capacity = static_cast<unsigned char>(n);
        return 1;
    }
    CModbus& Master() override { return master; }

    std::vector<LoggedRequest> Of(char op) const { return Where(std::string(1, op)); }
    std::vector<LoggedRequest> Writes() const { return Where("Ww"); }
    const LoggedRequest* WriteAt(int start) const {
        for (const LoggedRequest& r : log)
            if (r.op == 'W' && r.start == start)
                return &r;
        return nullptr;
    }

    drivesim::DriveState state;
    CModbus master;
    std::vector<LoggedRequest> log;
    int failAfter = -1;                                   // requests from this count on fail
    int failReadAt = -1;                                  // reads starting here fail
    std::vector<std::pair<int, std::uint16_t>> overrides; // register -> word read instead

private:
    std::vector<LoggedRequest> Where(const std::string& ops) const {
        std::vector<LoggedRequest> out;
        std::copy_if(log.begin(), log.end(), std::back_inserter(out),
                     [&](const LoggedRequest& r) { return ops.find(r.op) != std::string::npos; });
        return out;
    }
    bool Fails() const { return failAfter >= 0 && static_cast<int>(log.size()) > failAfter; }
};
