// Replacing a file so that readers see either the old or the new contents,
// never a half-written file.
#pragma once

#include <string>
#include <string_view>

namespace toolbelt {

// Writes `contents` to a temporary file beside `path` and renames it over
// `path`. A symbolic link is followed, so the file it points to is replaced.
// An existing file keeps its permission bits. On failure the old file is left
// untouched, no temporary file remains, and false is returned.
bool WriteFileAtomically(const std::string& path, std::string_view contents);

// Reads a whole file of at most `maxBytes`; false when it cannot be opened, is
// not a regular file, is larger than the limit or a read fails.
bool ReadWholeFile(const std::string& path, std::string& contents,
                   std::size_t maxBytes = 64u << 20);

} // namespace toolbelt
