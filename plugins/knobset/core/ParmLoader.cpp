#include "ParmLoader.h"

#include "ParmTable.h"
#include "ProductFiles.h"
#include "SectionFile.h"

#include <algorithm>
#include <vector>

namespace knobset {
namespace {

// Numbers in the order the loader visits them.
std::vector<int> NumbersInTableOrder(int model) {
    std::vector<int> numbers;
    if (model == kModelT8) {
        for (int n = 0; n < kT8Count; ++n)
            numbers.push_back(n);
        return numbers;
    }
    for (int group : kGroups) {
        for (int i = 0; i < 100; ++i)
            numbers.push_back(group * 100 + i);
    }
    return numbers;
}

class RecordReader {
public:
    RecordReader(const SectionFile& file, std::string section) : file_(file), section_(section) {}
    int Int(const char* key, int defaultValue) {
        bool found = false;
        const int value = file_.Int(section_, key, defaultValue, &found);
        found_ += found ? 1 : 0;
        return value;
    }
    // `preferred` first when given, else `key`.
    std::string Text(const char* preferred, const char* key, const std::string& defaultValue) {
        bool found = false;
        if (preferred != nullptr) {
            std::string value = file_.Text(section_, preferred, defaultValue, &found);
            if (found) {
                ++found_;
                return value;
            }
        }
        std::string value = file_.Text(section_, key, defaultValue, &found);
        found_ += found ? 1 : 0;
        return value;
    }
    int Bit(const char* key, int bit, int defaultValue = 0) {
        return (Int(key, defaultValue) & 1) != 0 ? bit : 0;
    }
    int Found() const { return found_; }

private:
    const SectionFile& file_;
    std::string section_;
    int found_ = 0;
};

void ReadItems(const SectionFile& dsc, const std::string& section, ParmRecord& record) {
    bool found = false;
    dsc.Text(section, "item0", {}, &found);
    if (!found)
        return;
    for (int i = 0; i < 10; ++i)
        record.items[i] = dsc.Text(section, "item" + std::to_string(i), {});
}

bool ReadRecord(const SectionFile& par, const SectionFile* dsc, int model, int number,
                ParmRecord& record) {
    const std::string section = SectionName(number);
    RecordReader def(par, section);
    record.number = number;
    if (model == kModelT8) {
        record.address = def.Int("Address", 0);
        record.min = def.Int("min", 0);
        record.max = def.Int("max", 0);
        record.unit = def.Text(nullptr, "unit", "-");
        record.defaultValue = def.Int("default", 0);
        record.attributes = def.Bit("reboot", Attr::kReboot) |
                            def.Bit("reserved", Attr::kReserved, 1) | def.Bit("Dio", Attr::kDio);
    } else {
        const bool linear = model == kModelW5;
        record.min = def.Int("min", 0);
        record.max = def.Int("max", 0);
        if (linear) {
            record.exponent = def.Int("E1", 0x7FFFFFFF);
            if (record.exponent == 0x7FFFFFFF)
                record.exponent = def.Int("E", 0);
        } else {
            record.exponent = def.Int("E", 0);
        }
        record.unit = def.Text(linear ? "unit1" : nullptr, "unit", "-");
        record.defaultValue = def.Int("default", 0);
        record.attributes = def.Bit("reboot", Attr::kReboot) |
                            def.Bit("reserved", Attr::kReserved) |
                            def.Bit("atlock", Attr::kAtLock) | def.Bit("io", Attr::kIo) |
                            def.Bit("NeedSet", Attr::kNeedSet);
        record.mode = def.Int("mode", 127);
        record.cmt = def.Text(nullptr, "cmt", {});
    }
    if (dsc != nullptr) {
        RecordReader names(*dsc, section);
        record.name = names.Text(model == kModelW5 ? "name1" : nullptr, "name", "-");
        if (model != kModelT8)
            ReadItems(*dsc, section, record);
    } else {
        record.name = "-";
    }
    return def.Found() > 0;
}

} // namespace

LoadResult LoadParmTable(ParmStore& store, int model, const std::string& appDir,
                         const std::string& tableId, const std::string& modelTag) {
    LoadResult result;
    if (!HasTable(model))
        return result;
    std::string parPath, dscPath;
    if (model != kModelT8 || modelTag.find("rk") != std::string::npos) {
        parPath = DefinitionPath(appDir, tableId);
        dscPath = LoadDescriptionPath(appDir, tableId);
    }
    for (const std::string* path : {&parPath, &dscPath}) {
        if (!FileExists(*path)) {
            result.status = LoadResult::kMissingFile;
            result.path = *path;
            return result;
        }
    }
    SectionFile par, dsc;
    if (!par.Open(parPath, result.error) || !dsc.Open(dscPath, result.error)) {
        result.status = LoadResult::kBadFile;
        return result;
    }

    std::vector<ParmRecord> records;
    std::vector<int> index(ParmStore::kIndexSize, -1);
    const int range = IndexRange(model);
    for (int number : NumbersInTableOrder(model)) {
        if (!par.HasSection(SectionName(number)))
            continue;
        ParmRecord record;
        if (!ReadRecord(par, &dsc, model, number, record))
            continue;
        records.push_back(std::move(record));
        if (number < range && index[static_cast<std::size_t>(number)] == -1)
            index[static_cast<std::size_t>(number)] = static_cast<int>(records.size() - 1);
    }
    if (records.empty()) {
        result.status = LoadResult::kBadFile;
        result.error = parPath + ": no parameter of this drive family in the file";
        return result;
    }
    *store.records = std::move(records);
    // Every entry: a smaller table must not keep the last one's numbers.
    std::copy(index.begin(), index.end(), store.recordIndex);
    result.status = LoadResult::kLoaded;
    return result;
}

bool ReloadNames(ParmStore& store, int model, const std::string& descriptionPath,
                 std::string& error) {
    SectionFile dsc;
    if (!FileExists(descriptionPath)) {
        error = "Cannot read file: " + descriptionPath;
        return false;
    }
    if (!dsc.Open(descriptionPath, error))
        return false;
    for (ParmRecord& record : *store.records) {
        RecordReader names(dsc, SectionName(record.number));
        record.name = names.Text(model == kModelW5 ? "name1" : nullptr, "name", "-");
        ReadItems(dsc, SectionName(record.number), record); // the option texts follow too
    }
    return true;
}

std::string MissingFileMessage(const std::string& versionText, const std::string& pathText,
                               const std::string& tableId, const std::string& path) {
    return versionText + tableId + "\r\n" + pathText + path;
}

} // namespace knobset
