// The parameter editor's own reader of its line-oriented product-data files
// (definition ".par" and description ".dsc" files): sections "[PrNNN]" found
// case-sensitively, keys compared case-sensitively, values not trimmed.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace knobset {

class SectionFile {
public:
    static constexpr std::size_t kMaxBytes = 4u << 20;
    static constexpr std::size_t kMaxLine = 1024;
    static constexpr std::size_t kMaxText = 1023;

    // Reads and checks the whole file. False with a message naming the file
    // (and the line) when it cannot be read, is binary or not UTF-8, or has a
    // line that is neither a section, a comment, blank nor "key=value" (a file
    // cut off in the middle of a line). The object is unchanged on failure.
    bool Open(const std::string& path, std::string& error);
    // Same checks on text held in memory; `name` appears in messages.
    bool Parse(std::string text, const std::string& name, std::string& error);

    bool HasSection(const std::string& section) const;
    // The value of `key` in the first section of that name; `defaultValue`
    // and found = false when there is none. Texts keep at most 1023 bytes.
    std::string Text(const std::string& section, const std::string& key,
                     const std::string& defaultValue, bool* found = nullptr) const;
    // "%d" semantics: leading blanks skipped, trailing text ignored, no number 0.
    int Int(const std::string& section, const std::string& key, int defaultValue,
            bool* found = nullptr) const;

private:
    struct Line {
        std::string key;
        std::string value;
    };
    std::vector<Line> lines_;
    // Section name -> [first, last) line of its keys; first occurrence only.
    std::unordered_map<std::string, std::pair<std::size_t, std::size_t>> sections_;
};

bool IsValidUtf8(std::string_view text);

// "%d" parse of a text: optional blanks, sign and digits; 0 without digits.
int ParseLeadingInt(std::string_view text);

} // namespace knobset
