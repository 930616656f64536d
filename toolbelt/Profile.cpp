#include "Profile.h"

#include "AtomicFile.h"
#include "IniDocument.h"

#include <cerrno>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <sys/stat.h>
#include <unordered_map>

using toolbelt::IniDocument;

namespace {

// Parsed files, reused while the file on disk is unchanged: tools read a
// data file key by key, hundreds of times in a row.
struct CachedFile {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    std::shared_ptr<const IniDocument> doc;
};

std::mutex g_mutex;
std::unordered_map<std::string, CachedFile> g_cache;
constexpr std::size_t kMaxCachedFiles = 64;

bool SameFile(const CachedFile& cached, const struct stat& st) {
    return cached.device == st.st_dev && cached.inode == st.st_ino && cached.size == st.st_size &&
           cached.modified.tv_sec == st.st_mtim.tv_sec &&
           cached.modified.tv_nsec == st.st_mtim.tv_nsec;
}

enum class LoadResult { Loaded, Missing, Unreadable };

// Loads `path` through the cache; the caller holds g_mutex.
LoadResult Load(const std::string& path, std::shared_ptr<const IniDocument>& doc) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return errno == ENOENT ? LoadResult::Missing : LoadResult::Unreadable;
    auto it = g_cache.find(path);
    if (it != g_cache.end() && SameFile(it->second, st)) {
        doc = it->second.doc;
        return LoadResult::Loaded;
    }
    std::string text;
    if (!toolbelt::ReadWholeFile(path, text))
        return LoadResult::Unreadable;
    if (g_cache.size() >= kMaxCachedFiles)
        g_cache.clear();
    CachedFile& entry = g_cache[path];
    entry = CachedFile{st.st_dev, st.st_ino, st.st_size, st.st_mtim,
                       std::make_shared<const IniDocument>(IniDocument::Parse(text))};
    doc = entry.doc;
    return LoadResult::Loaded;
}

unsigned long CopyOut(const std::string& text, char* out, unsigned long size) {
    if (out == nullptr || size == 0)
        return 0;
    unsigned long n = std::min<unsigned long>(text.size(), size - 1);
    std::memcpy(out, text.data(), n);
    out[n] = '\0';
    return n;
}

// A list of names, each terminated, closed by a second terminator; when it does
// not fit it is cut and still closed by two terminators, returning size - 2.
unsigned long CopyList(const std::vector<std::string>& names, char* out, unsigned long size) {
    if (out == nullptr || size == 0)
        return 0;
    if (size == 1) {
        out[0] = '\0';
        return 0;
    }
    unsigned long pos = 0;
    for (const std::string& name : names) {
        for (char c : name) {
            if (pos + 2 >= size) {
                out[size - 2] = '\0';
                out[size - 1] = '\0';
                return size - 2;
            }
            out[pos++] = c;
        }
        if (pos + 2 >= size) {
            out[size - 2] = '\0';
            out[size - 1] = '\0';
            return size - 2;
        }
        out[pos++] = '\0';
    }
    out[pos] = '\0';
    return pos;
}

} // namespace

unsigned long GetPrivateProfileStringA(const char* section, const char* key,
                                       const char* defaultValue, char* out, unsigned long size,
                                       const char* file) {
    std::shared_ptr<const IniDocument> doc;
    if (file != nullptr) {
        std::lock_guard lock(g_mutex);
        Load(file, doc);
    }
    if (section == nullptr)
        return CopyList(doc ? doc->SectionNames() : std::vector<std::string>{}, out, size);
    if (key == nullptr)
        return CopyList(doc ? doc->KeyNames(section) : std::vector<std::string>{}, out, size);
    const std::string* value = doc ? doc->Find(section, key) : nullptr;
    if (value != nullptr)
        return CopyOut(*value, out, size);
    std::string fallback(defaultValue != nullptr ? defaultValue : "");
    while (!fallback.empty() && fallback.back() == ' ')
        fallback.pop_back();
    return CopyOut(fallback, out, size);
}

unsigned ProfileIntFromText(const char* text) {
    const char* p = text;
    bool negative = false;
    if (*p == '-' || *p == '+')
        negative = *p++ == '-';
    unsigned base = 10;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
        base = 16;
        p += 2;
    }
    // Wraps modulo 2^32 like the original's conversion; never overflows signed.
    std::uint32_t value = 0;
    for (;; ++p) {
        unsigned digit;
        if (*p >= '0' && *p <= '9')
            digit = static_cast<unsigned>(*p - '0');
        else if (base == 16 && *p >= 'a' && *p <= 'f')
            digit = static_cast<unsigned>(*p - 'a' + 10);
        else if (base == 16 && *p >= 'A' && *p <= 'F')
            digit = static_cast<unsigned>(*p - 'A' + 10);
        else
            break;
        value = value * base + digit;
    }
    return negative ? 0u - value : value;
}

unsigned GetPrivateProfileIntA(const char* section, const char* key, int defaultValue,
                               const char* file) {
    char text[64];
    if (key == nullptr || section == nullptr ||
        GetPrivateProfileStringA(section, key, "", text, sizeof text, file) == 0)
        return static_cast<unsigned>(defaultValue);
    return ProfileIntFromText(text);
}

int WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                               const char* file) {
    if (file == nullptr || *file == '\0')
        return 0;
    if (section == nullptr)
        return key == nullptr && value == nullptr; // a request to flush: nothing is cached dirty

    std::lock_guard lock(g_mutex);
    std::shared_ptr<const IniDocument> current;
    IniDocument doc;
    switch (Load(file, current)) {
    case LoadResult::Loaded:
        doc = *current;
        break;
    case LoadResult::Missing:
        if (key == nullptr || value == nullptr)
            return 1; // nothing to delete
        break;
    case LoadResult::Unreadable:
        return 0; // never replace what we could not read
    }
    if (key == nullptr)
        doc.RemoveSection(section);
    else if (value == nullptr)
        doc.RemoveKey(section, key);
    else if (!doc.Set(section, key, value))
        return 0;

    g_cache.erase(file);
    return toolbelt::WriteFileAtomically(file, doc.Serialize()) ? 1 : 0;
}

int WritePrivateProfileInt(const char* section, const char* key, int value, const char* file) {
    return WritePrivateProfileStringA(section, key, std::to_string(value).c_str(), file);
}
