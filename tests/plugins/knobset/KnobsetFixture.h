// Helpers of the parameter editor tests: a table owned by the test, and a
// register link straight on a simulated drive's state (DriveStateLink).
#pragma once

#include "../DriveStateLink.h"
#include "ParmLoader.h"
#include "ParmTable.h"
#include "RegisterLink.h"
#include "SharedContext.h"

#include <string>
#include <vector>

struct TestTable : knobset::OwnedTable {
    TestTable() = default;
    explicit TestTable(int model) {
        store.iModel = model;
        const char* tag = model == kModelT8 ? "rk" : model == kModelW5 ? "w5" : "t5";
        const auto result =
            knobset::LoadParmTable(store, model, ".", knobset::DefaultTableId(model), tag);
        if (!result.ok())
            throw std::runtime_error("table not loaded: " + result.path + result.error);
        identity.Set(1, model == kModelT8 ? "rk 905" : tag);
        identity.Set(2, tag);
    }
    ParmRecord& At(int number) { return *knobset::FindRecord(store, number); }
};
