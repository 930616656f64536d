#include "Registry.h"

#include "AppFolders.h"
#include "Profile.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <vector>

struct RegKey {
    std::string path;
};

namespace {

RegKey g_currentUser{"HKEY_CURRENT_USER"};
RegKey g_localMachine{"HKEY_LOCAL_MACHINE"};
constexpr unsigned long kMaxText = 65536;

std::string StorePath() {
    if (const char* explicitPath = std::getenv("VELMORA_REGISTRY"); explicitPath && *explicitPath)
        return explicitPath;
    return velmora::UserSettingsFolder() + "/registry.ini";
}

void MakeParentDirs(const std::string& file) {
    for (std::size_t pos = 1; (pos = file.find('/', pos)) != std::string::npos; ++pos)
        ::mkdir(file.substr(0, pos).c_str(), 0755);
}

const char* ValueKey(const char* name) {
    return (name == nullptr || *name == '\0') ? "@" : name;
}

std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

std::string Unescape(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            char next = text[++i];
            out += next == 'r' ? '\r' : next == 'n' ? '\n' : next;
        } else {
            out += text[i];
        }
    }
    return out;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Decodes a stored value into its type and bytes; false for a damaged entry.
bool Decode(const std::string& stored, std::uint32_t& type, std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    if (stored.starts_with("dword:")) {
        char* end = nullptr;
        unsigned long v = std::strtoul(stored.c_str() + 6, &end, 16);
        if (end == stored.c_str() + 6 || *end != '\0' || v > 0xFFFFFFFFul)
            return false;
        type = REG_DWORD;
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
        return true;
    }
    if (stored.starts_with("sz:")) {
        type = REG_SZ;
        std::string text = Unescape(stored.substr(3));
        bytes.assign(text.begin(), text.end());
        bytes.push_back(0);
        return true;
    }
    if (stored.starts_with("hex:")) {
        type = REG_BINARY;
        std::string_view rest = std::string_view(stored).substr(4);
        while (!rest.empty()) {
            int high = HexDigit(rest[0]);
            int low = rest.size() > 1 ? HexDigit(rest[1]) : -1;
            if (high < 0 || low < 0)
                return false;
            bytes.push_back(static_cast<std::uint8_t>(high << 4 | low));
            rest.remove_prefix(2);
            if (!rest.empty() && (rest[0] != ',' || rest.size() == 1))
                return false;
            if (!rest.empty())
                rest.remove_prefix(1);
        }
        return true;
    }
    return false;
}

bool ReadStored(HKEY key, const char* name, std::string& stored) {
    std::vector<char> buf(kMaxText);
    const std::string file = StorePath();
    const char* marker = "\x01missing";
    GetPrivateProfileStringA(key->path.c_str(), ValueKey(name), marker, buf.data(), kMaxText,
                             file.c_str());
    stored = buf.data();
    return stored != marker;
}

long OpenKey(HKEY parent, const char* subKey, HKEY* result, bool mustExist) {
    if (parent == nullptr || result == nullptr)
        return ERROR_INVALID_HANDLE;
    std::string path = parent->path;
    if (subKey != nullptr && *subKey != '\0')
        path += std::string("\\") + subKey;
    if (mustExist) {
        char probe[4];
        const std::string file = StorePath();
        if (GetPrivateProfileStringA(path.c_str(), nullptr, "", probe, sizeof probe,
                                     file.c_str()) == 0)
            return ERROR_FILE_NOT_FOUND;
    }
    *result = new RegKey{path};
    return ERROR_SUCCESS;
}

} // namespace

const HKEY HKEY_CURRENT_USER = &g_currentUser;
const HKEY HKEY_LOCAL_MACHINE = &g_localMachine;

long RegCreateKeyA(HKEY parent, const char* subKey, HKEY* result) {
    return OpenKey(parent, subKey, result, false);
}

long RegOpenKeyA(HKEY parent, const char* subKey, HKEY* result) {
    return OpenKey(parent, subKey, result, true);
}

long RegCloseKey(HKEY key) {
    if (key == nullptr)
        return ERROR_INVALID_HANDLE;
    if (key != HKEY_CURRENT_USER && key != HKEY_LOCAL_MACHINE)
        delete key;
    return ERROR_SUCCESS;
}

long RegQueryValueExA(HKEY key, const char* name, std::uint32_t* type, std::uint8_t* data,
                      std::uint32_t* size) {
    if (key == nullptr)
        return ERROR_INVALID_HANDLE;
    std::string stored;
    std::uint32_t storedType = 0;
    std::vector<std::uint8_t> bytes;
    if (!ReadStored(key, name, stored) || !Decode(stored, storedType, bytes))
        return ERROR_FILE_NOT_FOUND;
    if (type != nullptr)
        *type = storedType;
    const auto needed = static_cast<std::uint32_t>(bytes.size());
    if (data != nullptr) {
        if (size == nullptr)
            return ERROR_INVALID_PARAMETER;
        if (*size < needed) {
            *size = needed;
            return ERROR_MORE_DATA;
        }
        std::memcpy(data, bytes.data(), bytes.size());
    }
    if (size != nullptr)
        *size = needed;
    return ERROR_SUCCESS;
}

long RegSetValueExA(HKEY key, const char* name, std::uint32_t type, const std::uint8_t* data,
                    std::uint32_t size) {
    if (key == nullptr)
        return ERROR_INVALID_HANDLE;
    if (data == nullptr && size != 0)
        return ERROR_INVALID_PARAMETER;
    char hex[4];
    std::string stored;
    switch (type) {
    case REG_DWORD:
        if (size != 4)
            return ERROR_INVALID_PARAMETER;
        stored = "dword:";
        for (int i = 3; i >= 0; --i) {
            std::snprintf(hex, sizeof hex, "%02x", data[i]);
            stored += hex;
        }
        break;
    case REG_SZ:
        stored = "sz:" + Escape(std::string(reinterpret_cast<const char*>(data),
                                            strnlen(reinterpret_cast<const char*>(data), size)));
        break;
    case REG_BINARY:
        stored = "hex:";
        for (std::uint32_t i = 0; i < size; ++i) {
            std::snprintf(hex, sizeof hex, i ? ",%02x" : "%02x", data[i]);
            stored += hex;
        }
        break;
    default:
        return ERROR_INVALID_PARAMETER;
    }
    if (stored.size() >= kMaxText)
        return ERROR_INVALID_PARAMETER;
    const std::string file = StorePath();
    MakeParentDirs(file);
    return WritePrivateProfileStringA(key->path.c_str(), ValueKey(name), stored.c_str(),
                                      file.c_str())
               ? ERROR_SUCCESS
               : ERROR_CANTWRITE;
}

long RegQueryInfoKeyA(HKEY key, std::uint32_t* maxValueLen) {
    if (key == nullptr)
        return ERROR_INVALID_HANDLE;
    std::vector<char> names(kMaxText);
    const std::string file = StorePath();
    GetPrivateProfileStringA(key->path.c_str(), nullptr, "", names.data(), kMaxText, file.c_str());
    std::uint32_t longest = 0;
    for (const char* name = names.data(); *name != '\0'; name += std::strlen(name) + 1) {
        std::uint32_t size = 0;
        if (RegQueryValueExA(key, name, nullptr, nullptr, &size) == ERROR_SUCCESS && size > longest)
            longest = size;
    }
    if (maxValueLen != nullptr)
        *maxValueLen = longest;
    return ERROR_SUCCESS;
}

long RegGetdwValue(HKEY key, const char* name, int* out, int defaultValue) {
    std::uint8_t bytes[4]{};
    std::uint32_t type = 0;
    std::uint32_t size = sizeof bytes;
    long result = RegQueryValueExA(key, name, &type, bytes, &size);
    if (result == ERROR_SUCCESS && (type != REG_DWORD || size != 4))
        result = ERROR_INVALID_PARAMETER;
    if (out != nullptr)
        *out = result == ERROR_SUCCESS
                   ? static_cast<int>(static_cast<std::uint32_t>(bytes[0]) | bytes[1] << 8 |
                                      bytes[2] << 16 | static_cast<std::uint32_t>(bytes[3]) << 24)
                   : defaultValue;
    return result;
}

long RegSetdwValue(HKEY key, const char* name, int value) {
    const auto v = static_cast<std::uint32_t>(value);
    const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                                   static_cast<std::uint8_t>(v >> 16),
                                   static_cast<std::uint8_t>(v >> 24)};
    return RegSetValueExA(key, name, REG_DWORD, bytes, 4);
}

std::uint32_t RegMaxValueLen(HKEY key) {
    std::uint32_t longest = 0;
    RegQueryInfoKeyA(key, &longest);
    return longest;
}

long RegGetszValue(HKEY key, char* dest, const char* name, unsigned destLength, char* scratch,
                   unsigned scratchSize) {
    std::uint32_t type = REG_SZ;
    std::uint32_t size = scratchSize;
    long result =
        RegQueryValueExA(key, name, &type, reinterpret_cast<std::uint8_t*>(scratch), &size);
    // Unlike a plain strncpy of whatever the scratch held, a failed read leaves
    // the destination alone.
    if (result == ERROR_SUCCESS && dest != nullptr && scratch != nullptr)
        std::strncpy(dest, scratch, destLength);
    if (scratch != nullptr)
        std::memset(scratch, 0, scratchSize);
    return result;
}
