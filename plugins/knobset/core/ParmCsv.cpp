#include "ParmCsv.h"

#include "AtomicFile.h"
#include "ParmTable.h"

#include <cstdio>

namespace knobset {
namespace {

// The layout follows the table itself, not an identity that may be empty or
// left over from another drive.
bool IsT8(const ParmStore& store) {
    return store.iModel.load() == kModelT8;
}

std::string Printf(const char* format, int a, int b = 0) {
    char text[48];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

// One text field as spreadsheet programs read it: quoted when it holds a
// comma, a quote or a line break, with its quotes doubled.
std::string Field(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text) {
        quoted += c;
        if (c == '"')
            quoted += '"';
    }
    return quoted + "\"";
}

std::string Header(int columns, bool t8) {
    std::string line = (columns & Column::kNumber) ? "Pr No." : "";
    if (t8)
        line += ",Address";
    if (columns & Column::kName)
        line += ",Name";
    if (columns & Column::kMin)
        line += ",Min";
    if (columns & Column::kMax)
        line += ",Max";
    if (columns & Column::kUnit)
        line += ",Unit";
    return line;
}

// Number, address, name, min, max and unit columns of one record.
std::string Leading(const ParmRecord& r, int columns, bool t8, const char* t8NumberFormat) {
    std::string line;
    if (columns & Column::kNumber)
        line = t8 ? Printf(t8NumberFormat, r.number)
                  : Printf("Pr%X%02d", r.number / 100, r.number % 100);
    if (t8)
        line += Printf(",0x%02x", r.address);
    if (columns & Column::kName)
        line += "," + Field(r.name);
    if (columns & Column::kMin)
        line += Printf(",%d", r.min);
    if (columns & Column::kMax)
        line += Printf(",%d", r.max);
    if (columns & Column::kUnit)
        line += "," + Field(r.unit);
    return line;
}

std::string IdentityLine(const DriveIdentity& id) {
    return "TypeCap=" + id.Get(2) + "#DrvVer1=" + id.Get(3) + "#DrvVer2=" + id.Get(4) +
           "#MID=" + id.Get(6) + "#EncVer=" + id.Get(7);
}

// Lines of the exported numbers with the empty-line rule of the layout: T5/W5
// one empty line after every group that has lines, T8 after every line.
template <class Selected, class LineOf>
std::string Body(const ParmStore& store, bool t8, Selected selected, LineOf lineOf) {
    std::string body;
    const int range = t8 ? kT8Count : ParmStore::kIndexSize;
    bool groupHasLines = false;
    for (int n = 0; n < range; ++n) {
        const ParmRecord* r = FindRecord(store, n);
        if (r != nullptr && selected(n, *r)) {
            body += lineOf(n, *r) + "\n";
            if (t8)
                body += "\n";
            groupHasLines = true;
        }
        if (!t8 && n % 100 == 99 && groupHasLines) {
            body += "\n";
            groupHasLines = false;
        }
    }
    return body;
}

} // namespace

std::string PageCsv(const ParmStore& store, const std::string& fileTitle,
                    const DriveIdentity* identity, int columns, bool modifiedOnly) {
    const bool t8 = IsT8(store);
    std::string text = Field(fileTitle) + ",\n";
    text += Header(columns, t8);
    if (columns & Column::kDefault)
        text += ",Default value";
    if (columns & Column::kSetup)
        text += ",Setup value";
    text += "\n";
    text += Body(
        store, t8,
        [&](int, const ParmRecord& r) { return !modifiedOnly || r.setupValue != r.defaultValue; },
        [&](int, const ParmRecord& r) {
            std::string line = Leading(r, columns, t8, "Pr%02x");
            if (columns & Column::kDefault)
                line += Printf(",%d", r.defaultValue);
            if (columns & Column::kSetup)
                line += Printf(",%d", r.setupValue);
            return line;
        });
    if (identity != nullptr)
        text += "[Info]\n" + IdentityLine(*identity);
    return text;
}

std::string CompareCsv(const ParmStore& file1, const DriveIdentity& identity1,
                       const std::string& name1, const ParmStore& file2,
                       const DriveIdentity& identity2, const std::string& name2,
                       const std::string& fileTitle, int columns) {
    const bool t8 = IsT8(file1);
    std::string text = Field(fileTitle) + ",\n";
    text += "File name1," + Field(name1) + "\n";
    text += "File name2," + Field(name2) + "\n";
    text += Header(columns, t8) + ",File1 Value,File2 Value\n";
    auto other = [&](int n) { return FindRecord(file2, n); };
    text += Body(
        file1, t8,
        [&](int n, const ParmRecord& r) {
            const ParmRecord* o = other(n);
            return o != nullptr && o->setupValue != r.setupValue;
        },
        [&](int n, const ParmRecord& r) {
            return Leading(r, columns, t8, "Pr0x%02x") + Printf(",%d", r.setupValue) +
                   Printf(",%d", other(n)->setupValue);
        });
    text += "[Info-File1]\n" + IdentityLine(identity1) + "\n";
    text += "[Info-File2]\n" + IdentityLine(identity2) + "\n";
    return text;
}

bool WriteCsv(const std::string& path, const std::string& text, std::string& error) {
    if (!toolbelt::WriteFileAtomically(path, text)) {
        error = "Cannot create file: " + path;
        return false;
    }
    return true;
}

} // namespace knobset
