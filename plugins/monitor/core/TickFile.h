// The user's ticks of the four lists, "Monitor Status.ini": one section per
// list, "iQty" rows and "Motion<row>" = 1 or 0 (default 1, ticked).
//
// The file lives beside the description files. When that folder cannot be
// written (an installed copy), the ticks are kept in the user's configuration
// folder instead (velmora::UserSettingsFolder()), read
// from there once written. Neither reading nor writing ever fails the tool.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace monitor {

extern const char* const kTickSections[4]; // "Motion Monitor", ...

// The file the ticks are written to for this program folder.
std::string TickFilePath(const std::string& appDir);
// The file the ticks are read from: the written one, else the program's own.
std::string TickFileToRead(const std::string& appDir);

// The stored ticks of one list for `rows` rows (missing entries: ticked).
std::vector<int> ReadTicks(const std::string& path, int list, int rows);
// Writes every list's ticks in one go; false when the file cannot be written.
bool WriteTicks(const std::string& path, const std::array<std::vector<int>, 4>& ticks);

} // namespace monitor
