// Private-profile (INI) file access with the behaviour of the Windows calls of
// the same names, which the whole suite uses for settings and data files.
//
// Differences from the platform original, on purpose:
//  - a write replaces the file atomically (temporary file, then rename), so a
//    crash or a full disk never leaves a half-written file;
//  - a file that exists but cannot be read is never overwritten;
//  - names and values containing line breaks are refused instead of being
//    written into the file, where they would forge other keys.
#pragma once

#include <cstdint>

// The integer value of a key (decimal with an optional sign, or hexadecimal
// after "0x"; reading stops at the first other character). A missing file,
// section or key, or an empty value, gives `defaultValue`. Like the original
// the result is unsigned: negative values come back as their two's complement.
unsigned GetPrivateProfileIntA(const char* section, const char* key, int defaultValue,
                               const char* file);
// The same conversion of a value already read (a non-empty text).
unsigned ProfileIntFromText(const char* text);

// Copies the value of a key into `out` (at most size-1 characters and a
// terminator) and returns the number of characters copied. A missing key gives
// `defaultValue` (null: empty). A null key lists the section's key names, a
// null section lists the section names: each name terminated, the list closed
// by a second terminator.
unsigned long GetPrivateProfileStringA(const char* section, const char* key,
                                       const char* defaultValue, char* out, unsigned long size,
                                       const char* file);

// Writes `key=value` into `section` of `file`: in place when the key exists,
// else at the end of its section, else in a new section at the end of the
// file, creating the file when missing. A null value deletes the key, a null
// key deletes the whole section. Returns non-zero on success, 0 on failure
// (the file is then unchanged).
int WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                               const char* file);

// Writes a signed 32-bit value as decimal text; returns the write's result.
int WritePrivateProfileInt(const char* section, const char* key, int value, const char* file);
