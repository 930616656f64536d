// Helpers of the parameter editor tests: a table owned by the test, and a
// register link straight on a simulated drive's state that logs every request.
#pragma once

#include "DriveState.h"
#include "ParmLoader.h"
#include "ParmTable.h"
#include "RegisterLink.h"
#include "SharedContext.h"

#include <string>
#include <vector>

struct TestTable : knobset::OwnedTable {
    TestTable() = default;
    explicit TestTable(int model, const std::string& dir = ".") : TestTable() {
        store.iModel = model;
        const char* tag = model == kModelT8 ? "rk" : model == kModelW5 ? "w5" : "t5";
        const auto result =
            knobset::LoadParmTable(store, model, dir, knobset::DefaultTableId(model), tag);
        if (!result.ok())
            throw std::runtime_error("table not loaded: " + result.path + result.error);
        identity.Set(1, model == kModelT8 ? "rk 905" : tag);
        identity.Set(2, tag);
    }
    ParmRecord& At(int number) { return *knobset::FindRecord(store, number); }
};

inline drivesim::DriveModel SimModel(int model) {
    return model == kModelT8   ? drivesim::DriveModel::T8
           : model == kModelW5 ? drivesim::DriveModel::W5
                               : drivesim::DriveModel::T5;
}

// One request as the drive saw it.
struct LoggedRequest {
    char op; // 'R' read, 'W' write, 'I' identity
    int start;
    int count;
    std::vector<std::uint16_t> words; // written words
    bool operator==(const LoggedRequest&) const = default;
};

class StateLink : public knobset::RegisterLink {
public:
    explicit StateLink(int model)
        : state(drivesim::ParameterTable::Load(SimModel(model), "."),
                drivesim::IdentityLayout::Layout2, "") {}

    int ReadRegisters(unsigned short start, unsigned short count, unsigned short* dest) override {
        log.push_back({'R', start, count, {}});
        if (FailsNow() || start == failReadAt)
            return 0;
        std::vector<std::uint16_t> out;
        if (state.ReadRegisters(start, count, out) != drivesim::kNoException)
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
        if (FailsNow())
            return 0;
        return state.WriteRegisters(start, words) == drivesim::kNoException ? 1 : 0;
    }
    int ReportSlaveID(char* data, unsigned char* capacity) override {
        log.push_back({'I', 0, 0, {}});
        if (FailsNow())
            return 0;
        const auto id = state.SlaveId();
        // Skip slave id and run indicator: the additional data follows.
        std::size_t n = std::min<std::size_t>(id.size() - 2, *capacity);
        std::copy(id.begin() + 2, id.begin() + 2 + static_cast<long>(n), data);
        *capacity = static_cast<unsigned char>(n);
        return 1;
    }
    CModbus& Master() override { return master; }

    std::vector<LoggedRequest> Of(char op) const {
        std::vector<LoggedRequest> out;
        for (const auto& r : log)
            if (r.op == op)
                out.push_back(r);
        return out;
    }

    drivesim::DriveState state;
    CModbus master;
    std::vector<LoggedRequest> log;
    int failAfter = -1;  // requests from this count on fail
    int failReadAt = -1; // reads starting here fail
    int overrideReadAt = -1;
    std::uint16_t overrideValue = 0;

private:
    bool FailsNow() const { return failAfter >= 0 && static_cast<int>(log.size()) > failAfter; }
};
