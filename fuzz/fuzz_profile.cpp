// The INI functions fed an arbitrary file, section, key and value: read, list,
// write, then re-read. The written key reads back as written (trimmed and
// unquoted, as every value reads) and no other key changes.
#include "AtomicFile.h"
#include "FuzzInput.h"
#include "FuzzScratch.h"
#include "IniDocument.h"
#include "Profile.h"

#include <map>
#include <vector>

namespace {

using toolbelt::IniDocument;

std::string CText(std::string text) {
    return text.substr(0, text.find('\0'));
}

// Every (section, key) a lookup reaches, with its value.
std::map<std::pair<std::string, std::string>, std::string> Reachable(const IniDocument& doc) {
    std::map<std::pair<std::string, std::string>, std::string> all;
    for (const std::string& section : doc.SectionNames())
        for (const std::string& key : doc.KeyNames(section))
            all.emplace(std::make_pair(section, key), *doc.Find(section, key));
    return all;
}

std::string ReadBack(std::string_view value) {
    value = toolbelt::TrimBlanks(value);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static FuzzScratch scratch;
    static unsigned long serial = 0;
    FuzzInput in(data, size);
    const unsigned long bufferSize = in.Byte();
    const std::string section = CText(in.Piece());
    const std::string key = CText(in.Piece());
    const std::string value = CText(in.Piece());
    const std::string text = in.RestText();
    // A new name every time: the profile functions cache files by name.
    const std::string file = scratch.Write(std::to_string(++serial) + ".ini", text);
    std::filesystem::remove(scratch.Path() / (std::to_string(serial - 1) + ".ini"));

    std::vector<char> out(bufferSize + 1);
    GetPrivateProfileStringA(section.c_str(), key.c_str(), "dflt ", out.data(), bufferSize,
                             file.c_str());
    GetPrivateProfileStringA(nullptr, nullptr, nullptr, out.data(), bufferSize, file.c_str());
    GetPrivateProfileStringA(section.c_str(), nullptr, nullptr, out.data(), bufferSize,
                             file.c_str());
    GetPrivateProfileIntA(section.c_str(), key.c_str(), -1, file.c_str());

    const auto before = Reachable(IniDocument::Parse(text));
    if (WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()) ==
        0) {
        std::string unchanged;
        if (!toolbelt::ReadWholeFile(file, unchanged) || unchanged != text)
            __builtin_trap(); // a refused write must leave the file as it was
        return 0;
    }
    std::vector<char> back(value.size() + 2);
    GetPrivateProfileStringA(section.c_str(), key.c_str(), "", back.data(), back.size(),
                             file.c_str());
    if (std::string(back.data()) != ReadBack(value).substr(0, ReadBack(value).find('\0')))
        __builtin_trap();
    std::string written;
    if (!toolbelt::ReadWholeFile(file, written))
        __builtin_trap();
    const auto after = Reachable(IniDocument::Parse(written));
    for (const auto& [name, old] : before) {
        const bool target = toolbelt::EqualsNoCase(name.first, toolbelt::TrimBlanks(section)) &&
                            toolbelt::EqualsNoCase(name.second, toolbelt::TrimBlanks(key));
        const auto now = after.find(name);
        if (!target && (now == after.end() || now->second != old))
            __builtin_trap();
    }
    return 0;
}
