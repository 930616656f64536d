#include "IniDocument.h"

namespace toolbelt {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool HasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

} // namespace

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    }
    return true;
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

IniDocument::Line IniDocument::Classify(std::string raw) {
    Line line;
    line.raw = std::move(raw);
    std::string_view text = TrimBlanks(line.raw);
    if (text.empty()) {
        line.kind = Kind::Blank;
    } else if (text.front() == ';') {
        line.kind = Kind::Comment;
    } else if (text.front() == '[') {
        line.kind = Kind::Section;
        std::string_view name = text.substr(1);
        name = name.substr(0, name.find(']'));
        line.name = TrimBlanks(name);
    } else {
        line.kind = Kind::Key;
        std::size_t eq = text.find('=');
        line.name = TrimBlanks(text.substr(0, eq));
        if (eq != std::string_view::npos) {
            std::string_view value = TrimBlanks(text.substr(eq + 1));
            if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                value.back() == value.front())
                value = value.substr(1, value.size() - 2);
            line.value = value;
        }
    }
    return line;
}

IniDocument IniDocument::Parse(std::string_view text) {
    IniDocument doc;
    if (text.substr(0, kBom.size()) == kBom) {
        doc.bom_ = true;
        text.remove_prefix(kBom.size());
    }
    bool first = true;
    while (!text.empty()) {
        std::size_t nl = text.find('\n');
        std::string_view raw = text.substr(0, nl);
        text.remove_prefix(nl == std::string_view::npos ? text.size() : nl + 1);
        if (!raw.empty() && raw.back() == '\r') {
            raw.remove_suffix(1);
            if (first)
                doc.eol_ = "\r\n";
        }
        first = false;
        doc.lines_.push_back(Classify(std::string(raw)));
    }
    return doc;
}

std::string IniDocument::Serialize() const {
    std::string out;
    if (bom_)
        out += kBom;
    for (const Line& line : lines_) {
        out += line.raw;
        out += eol_;
    }
    return out;
}

bool IniDocument::FindSection(std::string_view section, Range& range) const {
    section = TrimBlanks(section);
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].kind != Kind::Section || !EqualsNoCase(lines_[i].name, section))
            continue;
        range.header = i;
        range.end = i + 1;
        while (range.end < lines_.size() && lines_[range.end].kind != Kind::Section)
            ++range.end;
        return true;
    }
    return false;
}

std::size_t IniDocument::FindKey(const Range& range, std::string_view key) const {
    for (std::size_t i = range.header + 1; i < range.end; ++i) {
        if (lines_[i].kind == Kind::Key && EqualsNoCase(lines_[i].name, key))
            return i;
    }
    return lines_.size();
}

const std::string* IniDocument::Find(std::string_view section, std::string_view key) const {
    Range range;
    if (!FindSection(section, range))
        return nullptr;
    std::size_t at = FindKey(range, TrimBlanks(key));
    return at < lines_.size() ? &lines_[at].value : nullptr;
}

std::optional<std::string_view> IniDocument::FindVerbatim(std::string_view section,
                                                          std::string_view key) const {
    Range range;
    if (!FindSection(section, range))
        return std::nullopt;
    std::size_t at = FindKey(range, TrimBlanks(key));
    if (at == lines_.size())
        return std::nullopt;
    const std::string& raw = lines_[at].raw;
    const std::size_t eq = raw.find('=');
    return eq == std::string::npos ? std::string_view() : std::string_view(raw).substr(eq + 1);
}

std::size_t IniDocument::FirstMalformedLine() const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const Line& line = lines_[i];
        const std::string_view text = TrimBlanks(line.raw);
        if ((line.kind == Kind::Section && text.find(']') == std::string_view::npos) ||
            (line.kind == Kind::Key && text.find('=') == std::string_view::npos))
            return i + 1;
    }
    return 0;
}

std::vector<std::string> IniDocument::SectionNames() const {
    std::vector<std::string> names;
    for (const Line& line : lines_) {
        if (line.kind == Kind::Section)
            names.push_back(line.name);
    }
    return names;
}

std::vector<std::string> IniDocument::KeyNames(std::string_view section) const {
    std::vector<std::string> names;
    Range range;
    if (!FindSection(section, range))
        return names;
    for (std::size_t i = range.header + 1; i < range.end; ++i) {
        if (lines_[i].kind == Kind::Key)
            names.push_back(lines_[i].name);
    }
    return names;
}

bool IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
    key = TrimBlanks(key);
    section = TrimBlanks(section);
    if (key.empty() || HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value) ||
        section.find(']') != std::string_view::npos || key.find('=') != std::string_view::npos ||
        key.front() == '[' || key.front() == ';')
        return false;

    std::string text;
    text.append(key).append("=").append(value);

    Range range;
    if (!FindSection(section, range)) {
        std::string header;
        header.append("[").append(section).append("]");
        lines_.push_back(Classify(std::move(header)));
        lines_.push_back(Classify(std::move(text)));
        return true;
    }
    std::size_t at = FindKey(range, key);
    if (at < lines_.size()) {
        // Keep the spelling of the existing key; only its value changes.
        Line& line = lines_[at];
        line = Classify(line.name + "=" + std::string(value));
        return true;
    }
    std::size_t insert = range.end;
    while (insert > range.header + 1 && lines_[insert - 1].kind == Kind::Blank)
        --insert;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insert), Classify(std::move(text)));
    return true;
}

void IniDocument::RemoveKey(std::string_view section, std::string_view key) {
    Range range;
    if (!FindSection(section, range))
        return;
    std::size_t at = FindKey(range, TrimBlanks(key));
    if (at < lines_.size())
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(at));
}

void IniDocument::RemoveSection(std::string_view section) {
    Range range;
    if (FindSection(section, range))
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(range.header),
                     lines_.begin() + static_cast<std::ptrdiff_t>(range.end));
}

} // namespace toolbelt
