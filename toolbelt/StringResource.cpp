#include "StringResource.h"

#include "IniDocument.h"
#include "Profile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

namespace {

constexpr int kLineBuffer = 1024; // a longer line continues as a new line

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    for (std::size_t hit; (hit = text.find(from, pos)) != std::string::npos;
         pos = hit + from.size())
        out.append(text, pos, hit - pos).append(to);
    out.append(text, pos, std::string::npos);
    text.swap(out);
}

std::string Unescape(std::string text) {
    std::erase(text, '\n');
    ReplaceAll(text, "\\t", "\t");
    ReplaceAll(text, "\\r", "\r");
    ReplaceAll(text, "\\n", "\n");
    return text;
}

// The id before "=", read like "%u": blanks skipped, digits up to the first
// other character. False when there is no digit or the number overflows.
bool ParseId(std::string_view text, unsigned& id) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    if (i == text.size() || text[i] < '0' || text[i] > '9')
        return false;
    unsigned long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + static_cast<unsigned>(text[i] - '0');
        if (value > 0xFFFFFFFFull)
            return false;
    }
    id = static_cast<unsigned>(value);
    return true;
}

} // namespace

CStringResource::CStringResource(ModuleHandle* module)
    : module_(module), table_(new std::vector<Entry>) {}

CStringResource::~CStringResource() {
    delete table_;
}

CStringResource::CStringResource(const CStringResource& other)
    : module_(other.module_), table_(new std::vector<Entry>(*other.table_)) {}

CStringResource& CStringResource::operator=(const CStringResource& other) {
    if (this != &other) {
        module_ = other.module_;
        *table_ = *other.table_;
    }
    return *this;
}

int CStringResource::ReadTableFile(const char* path) {
    std::FILE* file = path != nullptr ? std::fopen(path, "rb") : nullptr;
    if (file == nullptr)
        return 0;
    // A folder (an unknown language yields the folder's path) or a device is
    // not a table: the texts stay in the language they are in.
    struct stat st {};
    if (::fstat(::fileno(file), &st) != 0 || !S_ISREG(st.st_mode)) {
        std::fclose(file);
        return 0;
    }
    std::vector<Entry> table;
    char buffer[kLineBuffer];
    bool inSection = false;
    while (std::fgets(buffer, sizeof buffer, file) != nullptr) {
        // fgets stops at a NUL byte's position only by chance; take what it read.
        std::string line(buffer, std::strlen(buffer));
        // Tables are read as text: a CRLF line end counts as LF.
        if (line.size() >= 2 && line.ends_with("\r\n"))
            line.erase(line.size() - 2, 1);
        if (!inSection) {
            inSection = line.starts_with('[') && toolbelt::TrimBlanks(line) == "[StringTable]";
            continue;
        }
        if (line.starts_with('['))
            break;
        if (line.starts_with(';'))
            continue;
        std::size_t eq = line.find('=');
        unsigned id;
        if (eq == std::string::npos || !ParseId(std::string_view(line).substr(0, eq), id))
            continue;
        table.push_back(Entry{id, Unescape(line.substr(eq + 1))});
    }
    const bool readFailed = std::ferror(file) != 0;
    std::fclose(file);
    if (readFailed)
        return 0;
    table_->swap(table);
    return 1;
}

std::string CStringResource::GetResString(unsigned id) const {
    for (const Entry& entry : *table_) {
        if (entry.id == id) {
            if (!entry.text.empty())
                return entry.text;
            break;
        }
    }
    return LoadResString(module_ != nullptr ? *module_ : nullptr, id);
}

void CStringResource::CreateTableFile(const char* path, unsigned highestId) const {
    ModuleHandle module = module_ != nullptr ? *module_ : nullptr;
    if (module == nullptr)
        return;
    // Visit the resource ids in ascending order instead of counting through
    // every number up to `highestId`, which may be as large as 2^32 - 1.
    std::vector<unsigned> ids;
    for (std::size_t i = 0; i < module->count; ++i) {
        if (module->entries[i].id <= highestId)
            ids.push_back(module->entries[i].id);
    }
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    for (unsigned id : ids) {
        std::string text = LoadResString(module, id);
        if (text.empty())
            continue;
        ReplaceAll(text, "\t", "\\t");
        ReplaceAll(text, "\r", "\\r");
        ReplaceAll(text, "\n", "\\n");
        WritePrivateProfileStringA("StringTable", std::to_string(id).c_str(), text.c_str(), path);
    }
}
