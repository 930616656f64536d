#include "ParameterTable.h"

#include "AtomicFile.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string_view>

namespace drivesim {
namespace {

constexpr std::size_t kMaxLineLength = 1024; // what the editor's reader takes

struct RawSection {
    int number = 0;
    int line = 0;
    std::map<std::string, std::pair<std::string, int>> keys; // value, line number
};

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

bool IsValidUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        const int follow = c < 0x80           ? 0
                           : (c >> 5) == 0x6  ? 1
                           : (c >> 4) == 0xE  ? 2
                           : (c >> 3) == 0x1E ? 3
                                              : -1;
        if (follow < 0 || i + follow >= s.size() + (follow == 0))
            return false;
        for (int k = 1; k <= follow; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
                return false;
        i += follow + 1;
    }
    return true;
}

class Parser {
public:
    Parser(const std::string& origin) : origin_(origin) {}

    [[noreturn]] void Fail(int line, const std::string& what) const {
        throw ProductDataError(origin_ + (line > 0 ? ":" + std::to_string(line) : "") + ": " +
                               what);
    }

    std::vector<RawSection> Sections(std::string_view text) {
        if (text.starts_with("\xEF\xBB\xBF"))
            text.remove_prefix(3);
        if (text.find('\0') != std::string_view::npos || !IsValidUtf8(text))
            Fail(0, "not a text file (binary data or invalid UTF-8)");
        std::vector<RawSection> sections;
        std::set<int> seen;
        int lineNumber = 0;
        while (!text.empty()) {
            const std::size_t end = text.find('\n');
            std::string_view line = text.substr(0, end);
            text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
            ++lineNumber;
            if (line.size() > kMaxLineLength)
                Fail(lineNumber, "line longer than 1024 characters");
            line = Trim(line);
            if (line.empty() || line.front() == ';')
                continue;
            if (line.front() == '[') {
                sections.push_back(SectionHeader(line, lineNumber));
                if (!seen.insert(sections.back().number).second)
                    Fail(lineNumber, "section " + std::string(line) + " occurs twice");
                continue;
            }
            const std::size_t eq = line.find('=');
            if (eq == std::string_view::npos || Trim(line.substr(0, eq)).empty())
                Fail(lineNumber, "expected [PrNNN] or key=value");
            if (sections.empty())
                Fail(lineNumber, "key outside of a section");
            sections.back().keys.emplace(
                std::string(Trim(line.substr(0, eq))),
                std::make_pair(std::string(line.substr(eq + 1)), lineNumber));
        }
        return sections;
    }

    std::optional<std::int32_t> Int(const RawSection& s, const char* key) const {
        auto it = s.keys.find(key);
        if (it == s.keys.end())
            return std::nullopt;
        std::string_view v = Trim(it->second.first);
        std::int32_t value = 0;
        auto [ptr, ec] = std::from_chars(v.data(), v.data() + v.size(), value);
        if (v.empty() || ec != std::errc() || ptr != v.data() + v.size())
            Fail(it->second.second,
                 std::string(key) + " is not a 32-bit integer: " + std::string(v));
        return value;
    }

private:
    RawSection SectionHeader(std::string_view line, int lineNumber) const {
        if (line.back() != ']' || !line.starts_with("[Pr"))
            Fail(lineNumber, "section name is not Pr followed by a number");
        std::string_view digits = line.substr(3, line.size() - 4);
        RawSection s;
        s.line = lineNumber;
        auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), s.number);
        if (digits.size() < 3 || digits.size() > 4 || ec != std::errc() ||
            ptr != digits.data() + digits.size())
            Fail(lineNumber, "section name is not Pr followed by a number");
        return s;
    }

    std::string origin_;
};

bool IsT5Group(int group) {
    static constexpr int kGroups[] = {0, 1, 2, 3, 4, 5, 6, 9, 10, 15};
    return std::find(std::begin(kGroups), std::end(kGroups), group) != std::end(kGroups);
}

ValueShape T8Shape(int address) {
    if (address >= 200 && address <= 230)
        return ValueShape::Long;
    if (address == 1201 || address == 1217 || address == 1219)
        return ValueShape::SplitLong;
    return ValueShape::Word;
}

// The keys the editor reads for a family; a section with none of them adds no record.
bool HasKnownKey(DriveModel model, const RawSection& s) {
    static const char* kT5[] = {"min",    "max",      "E",      "E1", "unit",    "unit1", "default",
                                "reboot", "reserved", "atlock", "io", "NeedSet", "mode",  "cmt"};
    static const char* kT8[] = {"Address", "min",    "max",      "unit",
                                "default", "reboot", "reserved", "Dio"};
    if (model == DriveModel::T8)
        return std::any_of(std::begin(kT8), std::end(kT8),
                           [&](const char* k) { return s.keys.count(k); });
    return std::any_of(std::begin(kT5), std::end(kT5),
                       [&](const char* k) { return s.keys.count(k); });
}

void CheckT8Runs(const ParameterTable& table, const Parser& parser) {
    // The editor reads and writes numbers 16j..16j+15 as one block of 16
    // registers starting at the address of number 16j.
    for (int j = 0; j < 8; ++j) {
        for (int k = 0; k < 16; ++k) {
            const int number = 16 * j + k;
            const int at = table.Find(number);
            if (at < 0)
                parser.Fail(0, "Pr" + std::to_string(number) +
                                   " is missing: numbers 0..127 must all be defined");
            const Parameter& p = table.Parameters()[at];
            const Parameter& first = table.Parameters()[table.Find(16 * j)];
            if (p.shape != ValueShape::Word || p.address != first.address + k)
                parser.Fail(0, "Pr" + std::to_string(number) +
                                   " breaks the run of 16 one-register values from register " +
                                   std::to_string(first.address));
        }
    }
}

} // namespace

ParameterTable ParameterTable::Load(DriveModel model, const std::string& dataDir) {
    const std::string path =
        (std::filesystem::path(dataDir) / (std::string(ParameterTableId(model)) + ".par")).string();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        throw ProductDataError(path + ": parameter table not found");
    if (std::filesystem::file_size(path, ec) > kMaxTableFileBytes)
        throw ProductDataError(path + ": file too large for a parameter table");
    std::string text;
    if (!toolbelt::ReadWholeFile(path, text, kMaxTableFileBytes))
        throw ProductDataError(path + ": cannot be read");
    return Parse(model, text, path);
}

ParameterTable ParameterTable::Parse(DriveModel model, const std::string& text,
                                     const std::string& origin) {
    Parser parser(origin);
    if (text.size() > kMaxTableFileBytes)
        parser.Fail(0, "file too large for a parameter table");
    ParameterTable table;
    table.model_ = model;
    for (const RawSection& s : parser.Sections(text)) {
        if (!HasKnownKey(model, s))
            continue;
        Parameter p;
        p.number = s.number;
        const std::string name = "Pr" + std::to_string(s.number);
        if (model == DriveModel::T8) {
            if (s.number > 167)
                parser.Fail(s.line, name + ": T8 parameter numbers run from 0 to 167");
            const auto address = parser.Int(s, "Address");
            if (!address || *address < 0 || *address > 65534)
                parser.Fail(s.line, name + ": Address missing or outside 0..65534");
            p.address = static_cast<std::uint16_t>(*address);
            p.shape = T8Shape(*address);
            if (p.shape == ValueShape::Long && *address % 2 != 0)
                parser.Fail(s.line, name + ": a 32-bit value must start at an even register");
            p.reserved = parser.Int(s, "reserved").value_or(1) & 1;
        } else {
            const int group = s.number / 100, index = s.number % 100;
            if (!IsT5Group(group))
                parser.Fail(s.line, name + ": group " + std::to_string(group) +
                                        " is not a parameter group");
            p.address = static_cast<std::uint16_t>(256 * group + 2 * index);
            p.shape = ValueShape::Long;
            p.reserved = parser.Int(s, "reserved").value_or(0) & 1;
        }
        p.min = parser.Int(s, "min").value_or(0);
        p.max = parser.Int(s, "max").value_or(0);
        p.defaultValue = parser.Int(s, "default").value_or(0);
        p.reboot = parser.Int(s, "reboot").value_or(0) & 1;
        if (p.min > p.max || p.defaultValue < p.min || p.defaultValue > p.max)
            parser.Fail(s.line, name + ": needs min <= default <= max");
        if (p.shape == ValueShape::Word && (p.min < -32768 || p.max > 32767))
            parser.Fail(s.line, name + ": a one-register value must stay within -32768..32767");
        table.parameters_.push_back(p);
    }
    if (table.parameters_.empty())
        parser.Fail(0, "no parameter defined");
    std::sort(table.parameters_.begin(), table.parameters_.end(),
              [](const Parameter& a, const Parameter& b) { return a.number < b.number; });
    if (model == DriveModel::T8)
        CheckT8Runs(table, parser);
    return table;
}

int ParameterTable::Find(int number) const {
    auto it = std::lower_bound(parameters_.begin(), parameters_.end(), number,
                               [](const Parameter& p, int n) { return p.number < n; });
    return it != parameters_.end() && it->number == number
               ? static_cast<int>(it - parameters_.begin())
               : -1;
}

} // namespace drivesim
