#include "ParmTable.h"

#include <cstdio>

namespace knobset {

bool HasTable(int model) {
    return model == kModelT5 || model == kModelW5 || model == kModelT8;
}

int IndexRange(int model) {
    return model == kModelT8 ? kT8Count : HasTable(model) ? ParmStore::kIndexSize : 0;
}

const char* DefaultTableId(int model) {
    switch (model) {
    case kModelT5:
        return "hq_417";
    case kModelW5:
        return "Whq_417";
    case kModelT8:
        return "rk_905";
    default:
        return "";
    }
}

const char* ModelTag(int model) {
    switch (model) {
    case kModelT5:
        return "t5";
    case kModelW5:
        return "w5";
    case kModelT8:
        return "rk";
    default:
        return "";
    }
}

const ParmRecord* FindRecord(const ParmStore& store, int number) {
    if (number < 0 || number >= ParmStore::kIndexSize || store.recordIndex == nullptr ||
        store.records == nullptr)
        return nullptr;
    const int position = store.recordIndex[number];
    if (position < 0 || position >= static_cast<int>(store.records->size()))
        return nullptr;
    return &(*store.records)[static_cast<std::size_t>(position)];
}

ParmRecord* FindRecord(ParmStore& store, int number) {
    return const_cast<ParmRecord*>(FindRecord(static_cast<const ParmStore&>(store), number));
}

int RegisterAddress(const ParmRecord& record, int model) {
    if (model == kModelT8)
        return record.address;
    return 2 * (record.number + 28 * (record.number / 100));
}

namespace {
std::string Format(const char* format, int a, int b = 0) {
    char text[32];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}
} // namespace

std::string ListNumberText(const ParmRecord& record, int model) {
    if (model == kModelT8)
        return Format("0x%02x", record.address);
    return Format("Pr %X%02d", record.number / 100, record.number % 100);
}

std::string DialogNumberText(const ParmRecord& record, int model) {
    if (model == kModelT8)
        return Format("0x%03x", record.address);
    return Format("Pr %X%02d", record.number / 100, record.number % 100);
}

std::string SectionName(int number) {
    return Format("Pr%03d", number);
}

void ClearValues(ParmStore& store, int model) {
    for (int n = 0; n < IndexRange(model); ++n) {
        if (ParmRecord* r = FindRecord(store, n))
            r->driveValue = r->setupValue = 0;
    }
}

void FillDefaults(ParmStore& store, int model) {
    for (int n = 0; n < IndexRange(model); ++n) {
        if (ParmRecord* r = FindRecord(store, n))
            r->driveValue = r->setupValue = r->defaultValue;
    }
}

std::vector<int> DriveValues(const ParmStore& store) {
    std::vector<int> values;
    if (store.records != nullptr)
        for (const ParmRecord& r : *store.records)
            values.push_back(r.driveValue);
    return values;
}

void RestoreDriveValues(ParmStore& store, const std::vector<int>& values) {
    if (store.records == nullptr || store.records->size() != values.size())
        return;
    for (std::size_t i = 0; i < values.size(); ++i)
        (*store.records)[i].driveValue = values[i];
}

void DriveHoldsSetupValues(ParmStore& store) {
    if (store.records != nullptr)
        for (ParmRecord& r : *store.records)
            r.driveValue = r.setupValue;
}

} // namespace knobset

namespace knobset {
std::string ParameterSummary(const ParmRecord& r, int model, const SummaryTexts& texts) {
    std::string text = ListNumberText(r, model) + "  " + r.name + "\n\n";
    if (!(r.attributes & Attr::kReserved)) {
        text += texts.range + " " + std::to_string(r.min) + " ~ " + std::to_string(r.max);
        if (r.unit != "-")
            text += " " + r.unit;
        text += "\n";
    }
    text += texts.defaultValue + " " + std::to_string(r.defaultValue) + "\n";
    if (r.attributes & Attr::kReboot)
        text += texts.reboot + "\n";
    if (!r.items[0].empty())
        text += "\n";
    for (const std::string& item : r.items) {
        if (!item.empty())
            text += item + "\n";
    }
    return text;
}
} // namespace knobset
