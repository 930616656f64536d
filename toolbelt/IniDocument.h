// An INI (private-profile) file held as its lines, so that an edit keeps every
// other line - comments, blank lines, order and spelling - exactly as it was.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace toolbelt {

class IniDocument {
public:
    static IniDocument Parse(std::string_view text);
    std::string Serialize() const;

    // Section and key names compare without regard to ASCII case and with
    // surrounding blanks trimmed, both in lookups and in edits; a section name
    // runs to the first "]" of its header. Lookups use the first section and
    // the first key of a name. The value is trimmed of blanks and of one pair
    // of matching surrounding quotes.
    const std::string* Find(std::string_view section, std::string_view key) const;
    // The same key's value exactly as written: everything after the first "=".
    std::optional<std::string_view> FindVerbatim(std::string_view section,
                                                 std::string_view key) const;
    // The number (from 1) of the first line that is not blank, a comment, a
    // section header closed by "]" or a "key=value" line (as in a file cut
    // off inside a line); 0 when every line is one of these.
    std::size_t FirstMalformedLine() const;
    std::vector<std::string> SectionNames() const;
    std::vector<std::string> KeyNames(std::string_view section) const;

    // Replaces the key's value in place, or appends the key at the end of its
    // section, or appends the section at the end of the document. Names or
    // values that would break the line structure are refused.
    bool Set(std::string_view section, std::string_view key, std::string_view value);
    void RemoveKey(std::string_view section, std::string_view key);
    void RemoveSection(std::string_view section);

private:
    enum class Kind { Blank, Comment, Section, Key, Other };
    struct Line {
        std::string raw;
        Kind kind = Kind::Other;
        std::string name;  // section or key name, trimmed
        std::string value; // key value, trimmed and unquoted
    };
    struct Range {
        std::size_t header = 0; // index of the section line
        std::size_t end = 0;    // one past the section's last line
    };

    static Line Classify(std::string raw);
    bool FindSection(std::string_view section, Range& range) const;
    std::size_t FindKey(const Range& range, std::string_view key) const;

    std::vector<Line> lines_;
    std::string eol_ = "\n";
    bool bom_ = false;
};

bool EqualsNoCase(std::string_view a, std::string_view b);
std::string_view TrimBlanks(std::string_view text);

} // namespace toolbelt
