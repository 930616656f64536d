#include "SectionFile.h"

#include "AtomicFile.h"

#include <climits>

namespace knobset {
namespace {

bool FindBadUtf8(std::string_view s, std::size_t& badOffset) {
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t n = c < 0x80         ? 1
                        : (c >> 5) == 6  ? 2
                        : (c >> 4) == 14 ? 3
                        : (c >> 3) == 30 ? 4
                                         : 0;
        if (n == 0 || i + n > s.size()) {
            badOffset = i;
            return false;
        }
        for (std::size_t k = 1; k < n; ++k) {
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) {
                badOffset = i;
                return false;
            }
        }
        i += n;
    }
    return true;
}

std::string_view Trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    const auto last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

} // namespace

bool IsValidUtf8(std::string_view text) {
    std::size_t bad = 0;
    return FindBadUtf8(text, bad);
}

int ParseLeadingInt(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > 0x100000000LL) // saturate far outside 32 bits
            value = 0x100000000LL;
    }
    value = negative ? -value : value;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

bool SectionFile::Open(const std::string& path, std::string& error) {
    std::string text;
    if (!toolbelt::ReadWholeFile(path, text, kMaxBytes)) {
        error = "Cannot read file: " + path;
        return false;
    }
    return Parse(std::move(text), path, error);
}

bool SectionFile::Parse(std::string text, const std::string& name, std::string& error) {
    if (text.find('\0') != std::string::npos) {
        error = name + ": binary data, not a text file";
        return false;
    }
    std::size_t bad = 0;
    if (!FindBadUtf8(text, bad)) {
        error = name + ": not UTF-8 text (byte " + std::to_string(bad) + ")";
        return false;
    }
    std::vector<Line> lines;
    std::unordered_map<std::string, std::pair<std::size_t, std::size_t>> sections;
    std::string current; // empty: keys outside a readable section are skipped
    auto closeSection = [&] {
        if (!current.empty())
            sections[current].second = lines.size();
    };
    const std::string_view all(text);
    std::size_t lineNo = 0;
    for (std::size_t pos = 0; pos < all.size();) {
        std::size_t end = all.find('\n', pos);
        if (end == std::string_view::npos)
            end = all.size();
        std::string_view line = all.substr(pos, end - pos);
        pos = end + 1;
        ++lineNo;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.size() > kMaxLine) {
            error = name + ", line " + std::to_string(lineNo) + ": longer than 1024 characters";
            return false;
        }
        const std::string_view trimmed = Trim(line);
        if (!trimmed.empty() && trimmed.front() == '[') {
            if (trimmed.size() < 3 || trimmed.back() != ']') {
                error = name + ", line " + std::to_string(lineNo) + ": broken section header";
                return false;
            }
            closeSection();
            current = std::string(trimmed.substr(1, trimmed.size() - 2));
            if (sections.count(current) != 0)
                current.clear(); // only the first section of a name is read
            else
                sections[current] = {lines.size(), lines.size()};
            continue;
        }
        if (trimmed.empty() || trimmed.front() == ';')
            continue;
        const auto eq = line.find('=');
        if (eq == std::string_view::npos) {
            error = name + ", line " + std::to_string(lineNo) +
                    ": neither a section, a comment nor key=value (is the file cut off?)";
            return false;
        }
        if (!current.empty())
            lines.push_back(
                {std::string(Trim(line.substr(0, eq))), std::string(line.substr(eq + 1))});
    }
    closeSection();
    lines_ = std::move(lines);
    sections_ = std::move(sections);
    return true;
}

bool SectionFile::HasSection(const std::string& section) const {
    return sections_.count(section) != 0;
}

std::string SectionFile::Text(const std::string& section, const std::string& key,
                              const std::string& defaultValue, bool* found) const {
    if (found != nullptr)
        *found = false;
    const auto it = sections_.find(section);
    if (it == sections_.end())
        return defaultValue;
    for (std::size_t i = it->second.first; i < it->second.second; ++i) {
        if (lines_[i].key == key) {
            if (found != nullptr)
                *found = true;
            return lines_[i].value.substr(0, kMaxText);
        }
    }
    return defaultValue;
}

int SectionFile::Int(const std::string& section, const std::string& key, int defaultValue,
                     bool* found) const {
    bool have = false;
    const std::string text = Text(section, key, {}, &have);
    if (found != nullptr)
        *found = have;
    return have ? ParseLeadingInt(text) : defaultValue;
}

} // namespace knobset
