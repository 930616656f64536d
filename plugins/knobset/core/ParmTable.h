// The parameter table of the three drive families: which numbers exist, where
// each lives among the drive's registers and how numbers are shown.
#pragma once

#include "SharedContext.h"

#include <array>
#include <string>
#include <vector>

namespace knobset {

// Attribute bits of ParmRecord::attributes.
namespace Attr {
constexpr int kReboot = 0x01;
constexpr int kReserved = 0x02;
constexpr int kAtLock = 0x04;
constexpr int kIo = 0x08;
constexpr int kNeedSet = 0x10;
constexpr int kDio = 0x20; // T8: hidden while parameter 2 is above 5
} // namespace Attr

// Groups of the T5 and W5 families, in table order.
inline constexpr std::array<int, 10> kGroups = {0, 1, 2, 3, 4, 5, 6, 9, 10, 15};
inline constexpr int kT8Count = 168;

// A parameter table with its own storage (the program's lives in the host's
// ParmStore): for the command-line tool, comparisons and tests. Copying from
// a store takes its definitions, values and model.
struct OwnedTable {
    std::vector<ParmRecord> records;
    std::vector<std::int32_t> index = std::vector<std::int32_t>(ParmStore::kIndexSize, -1);
    ParmStore store;
    DriveIdentity identity;
    OwnedTable() { Point(); }
    explicit OwnedTable(const ParmStore& from)
        : records(*from.records),
          index(from.recordIndex, from.recordIndex + ParmStore::kIndexSize) {
        Point();
        store.iModel = from.iModel.load();
        store.exportMode = from.exportMode;
    }
    OwnedTable(const OwnedTable&) = delete;
    OwnedTable& operator=(const OwnedTable&) = delete;

private:
    void Point() {
        store.records = &records;
        store.recordIndex = index.data();
    }
};

// True for the families that have a parameter table (T5, W5, T8).
bool HasTable(int model);
// Numbers 0..IndexRange-1 are addressable through recordIndex (1600 or 168).
int IndexRange(int model);
// "hq_417", "Whq_417", "rk_905"; empty for other models.
const char* DefaultTableId(int model);
// "t5", "w5", "rk": the model tag written into the off-line identity.
const char* ModelTag(int model);

// The record of `number`, or null when it has none.
ParmRecord* FindRecord(ParmStore& store, int number);
const ParmRecord* FindRecord(const ParmStore& store, int number);

// First register of a parameter: 2*(n + 28*(n/100)) for T5/W5, the record's
// own address for T8.
int RegisterAddress(const ParmRecord& record, int model);

// "Pr A05" (T5/W5) or "0x%02x" of the address (T8), as the list shows it.
std::string ListNumberText(const ParmRecord& record, int model);
// "Pr A05" (T5/W5) or "0x%03x" of the address (T8), as the edit dialog shows it.
std::string DialogNumberText(const ParmRecord& record, int model);
// Section names of the product data: "Pr%03d".
std::string SectionName(int number);

// Sets driveValue and setupValue of every indexed number to 0.
void ClearValues(ParmStore& store, int model);
// Sets both values of every indexed number to its default.
void FillDefaults(ParmStore& store, int model);

// The drive values of every record, in table order, and putting them back
// (into a table of the same records); after a transfer the drive holds the
// setup values.
std::vector<int> DriveValues(const ParmStore& store);
void RestoreDriveValues(ParmStore& store, const std::vector<int>& values);
void DriveHoldsSetupValues(ParmStore& store);

} // namespace knobset

namespace knobset {
// The labels of the summary, in the user's language.
struct SummaryTexts {
    std::string range;
    std::string defaultValue;
    std::string reboot;
};

// A few lines about a parameter: number and name, range, unit, default and
// its option texts.
std::string ParameterSummary(const ParmRecord& record, int model, const SummaryTexts& texts);
} // namespace knobset
