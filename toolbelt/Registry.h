// A small per-user key store standing in for the platform registry.
//
// Keys and values persist in one INI file per user:
//   $VELMORA_REGISTRY if set, else registry.ini in the user's settings folder
//   (UserSettingsFolder() of AppFolders.h: $XDG_CONFIG_HOME/velmora, else
//   $HOME/.config/velmora).
// Each key is a section named by its full path, such as
// "HKEY_CURRENT_USER\Software\Velmora" written with single backslashes; each value a line
// "name=dword:0000002a", "name=sz:text" (with \\, \r and \n escaped) or "name=hex:01,02". A key
// comes into being with its first value. Result codes are the platform's: 0 success, else an error.
#pragma once

#include <cstdint>

struct RegKey;
using HKEY = RegKey*;

extern const HKEY HKEY_CURRENT_USER;
extern const HKEY HKEY_LOCAL_MACHINE;

constexpr long ERROR_SUCCESS = 0;
constexpr long ERROR_FILE_NOT_FOUND = 2;
constexpr long ERROR_INVALID_HANDLE = 6;
constexpr long ERROR_INVALID_PARAMETER = 87;
constexpr long ERROR_MORE_DATA = 234;
constexpr long ERROR_CANTWRITE = 1013;

constexpr std::uint32_t REG_SZ = 1;
constexpr std::uint32_t REG_BINARY = 3;
constexpr std::uint32_t REG_DWORD = 4;

// Opens `subKey` below `parent`; Create also succeeds for a key that has no
// value yet. Close every opened key with RegCloseKey.
long RegCreateKeyA(HKEY parent, const char* subKey, HKEY* result);
long RegOpenKeyA(HKEY parent, const char* subKey, HKEY* result);
long RegCloseKey(HKEY key);

// `type` may be null on query; `size` is in and out (bytes; REG_SZ counts the
// terminator). A null `data` asks for the size only.
long RegQueryValueExA(HKEY key, const char* name, std::uint32_t* type, std::uint8_t* data,
                      std::uint32_t* size);
long RegSetValueExA(HKEY key, const char* name, std::uint32_t type, const std::uint8_t* data,
                    std::uint32_t size);
long RegQueryInfoKeyA(HKEY key, std::uint32_t* maxValueLen);

// Settings helpers built on the calls above.
long RegGetdwValue(HKEY key, const char* name, int* out, int defaultValue);
long RegSetdwValue(HKEY key, const char* name, int value);
std::uint32_t RegMaxValueLen(HKEY key);
long RegGetszValue(HKEY key, char* dest, const char* name, unsigned destLength, char* scratch,
                   unsigned scratchSize);
