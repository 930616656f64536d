#include "ValueFileText.h"

#include "IniDocument.h"
#include "LegacyText.h"
#include "ParmTable.h"
#include "SectionFile.h"

#include <algorithm>
#include <cstdio>

namespace knobset {
namespace {

using toolbelt::IniDocument;

constexpr const char* kSetup = "Setup";
// Identity keys of section "Setup" and the identity element each holds.
constexpr struct {
    const char* key;
    int element;
} kIdentityKeys[] = {{"TypeCap", 2}, {"DrvVer1", 3}, {"DrvVer2", 4}, {"MID", 6}, {"EncVer", 7}};

std::string ValueSection(int number, int model) {
    char text[16];
    std::snprintf(text, sizeof text, model == kModelT8 ? "Pr%02d" : "Pr%03d", number);
    return text;
}

// A text as a "key=text" line of the file holds it and a load gives it back:
// UTF-8, on one line, at most `maxChars` characters, and short enough that
// the line stays within kMaxValueLine bytes.
std::string FileText(std::string_view text, std::string_view key, std::size_t maxChars,
                     int languageId) {
    std::string utf8 = ToUtf8(text, languageId);
    std::replace_if(
        utf8.begin(), utf8.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return std::string(CutToBytes(CutToCharacters(utf8, maxChars), kMaxValueLine - key.size() - 1));
}

// Identity texts are read trimmed, so they are written trimmed.
std::string IdentityText(std::string_view text, std::string_view key, int languageId) {
    return std::string(toolbelt::TrimBlanks(FileText(text, key, kMaxIdentityChars, languageId)));
}

std::string CommentText(std::string_view text, int languageId) {
    return FileText(text, "cmt", kMaxCommentChars, languageId);
}

bool HasSection(const IniDocument& doc, std::string_view section) {
    const auto names = doc.SectionNames();
    return std::any_of(names.begin(), names.end(), [&](const std::string& name) {
        return toolbelt::EqualsNoCase(name, section);
    });
}

// The numbers a save writes and a load reads, in ascending order.
template <typename Visit>
void ForEachValue(const ParmStore& store, Visit visit) {
    const int model = store.iModel.load();
    for (int n = 0; n < ValueFileRange(model); ++n) {
        if (FindRecord(store, n) != nullptr)
            visit(n, ValueSection(n, model));
    }
}

// What a load of a file saved from `store` and `identity` gives back.
ValueFileContents ExpectedContents(const ParmStore& store, const DriveIdentity& identity,
                                   int languageId) {
    ValueFileContents contents;
    for (const auto& k : kIdentityKeys)
        contents.identity[k.element] = IdentityText(identity.Get(k.element), k.key, languageId);
    ForEachValue(store, [&](int n, const std::string&) {
        const ParmRecord& r = *FindRecord(store, n);
        contents.values.push_back({n, r.setupValue, CommentText(r.cmt, languageId)});
    });
    return contents;
}

// The first difference between what was meant to be saved and what loads.
std::string Difference(const ValueFileContents& meant, const ValueFileContents& loaded, int model) {
    if (!std::equal(std::begin(meant.identity), std::end(meant.identity),
                    std::begin(loaded.identity)))
        return "the drive identity";
    for (std::size_t i = 0; i < meant.values.size() && i < loaded.values.size(); ++i) {
        if (!(meant.values[i] == loaded.values[i]))
            return "parameter " + ValueSection(meant.values[i].number, model);
    }
    return "the parameter list";
}

} // namespace

int ValueFileRange(int model) {
    return HasTable(model) ? IndexRange(model) : 0;
}

bool ReadValueText(std::string_view text, const ParmStore& store, int languageId,
                   const std::string& name, ValueFileContents& contents, std::string& error) {
    if (text.find('\0') != std::string_view::npos) {
        error = name + ": binary data, not a text file";
        return false;
    }
    const IniDocument doc = IniDocument::Parse(CutLongLines(text, kMaxValueLine));
    if (const std::size_t line = doc.FirstMalformedLine()) {
        error = name + ", line " + std::to_string(line) +
                ": neither a section, a comment nor key=value (is the file cut off?)";
        return false;
    }
    if (!HasSection(doc, kSetup)) {
        error = name + ": not a parameter value file (no [Setup] section)";
        return false;
    }
    ValueFileContents read;
    for (const auto& k : kIdentityKeys)
        read.identity[k.element] =
            IdentityText(doc.FindVerbatim(kSetup, k.key).value_or(""), k.key, languageId);
    ForEachValue(store, [&](int n, const std::string& section) {
        const auto value = doc.FindVerbatim(section, "V");
        const auto cmt = doc.FindVerbatim(section, "cmt").value_or("");
        read.values.push_back(
            {n, value ? ParseLeadingInt(*value) : 0, CommentText(cmt, languageId)});
    });
    contents = std::move(read);
    return true;
}

void ApplyValueContents(const ValueFileContents& contents, ParmStore& store,
                        DriveIdentity& identity) {
    for (const auto& k : kIdentityKeys)
        identity.Set(k.element, contents.identity[k.element]);
    for (const auto& v : contents.values) {
        if (ParmRecord* r = FindRecord(store, v.number)) {
            r->driveValue = r->setupValue = v.value;
            r->cmt = v.cmt;
        }
    }
}

bool ComposeValueText(std::string_view existing, const ParmStore& store,
                      const DriveIdentity& identity, int languageId, std::string& text,
                      std::string& error) {
    const int model = store.iModel.load();
    const int range = ValueFileRange(model);
    if (range == 0) {
        error = "No parameter table is loaded: nothing was saved.";
        return false;
    }
    for (int n = range; n < ParmStore::kIndexSize; ++n) {
        if (FindRecord(store, n) != nullptr) {
            error = "Parameter " + ValueSection(n, kModelT5) +
                    " does not belong to this drive model's value file: nothing was saved.";
            return false;
        }
    }
    const ValueFileContents meant = ExpectedContents(store, identity, languageId);
    IniDocument doc = IniDocument::Parse(CutLongLines(existing, kMaxValueLine));
    doc.Set(kSetup, "FileVersion", "0.0.2");
    for (const auto& k : kIdentityKeys)
        doc.Set(kSetup, k.key, meant.identity[k.element]);
    std::size_t next = 0;
    ForEachValue(store, [&](int n, const std::string& section) {
        const ValueFileContents::Value& v = meant.values[next++];
        if (model == kModelT8) {
            char address[16];
            std::snprintf(address, sizeof address, "0x%02x", FindRecord(store, n)->address);
            doc.Set(section, "Address", address);
        }
        doc.Set(section, "V", std::to_string(v.value));
        doc.Set(section, "cmt", v.cmt);
    });
    std::string composed = doc.Serialize();
    ValueFileContents loaded;
    if (!ReadValueText(composed, store, languageId, "The saved file", loaded, error))
        return false;
    if (!(loaded == meant)) {
        error = "The saved file would not load " + Difference(meant, loaded, model) +
                " as saved: nothing was saved.";
        return false;
    }
    text = std::move(composed);
    return true;
}

} // namespace knobset
