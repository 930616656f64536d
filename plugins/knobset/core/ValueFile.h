// Value files ("*.tw"): a drive's setup values and comments with the drive's
// identity, written and read as an INI-style file.
#pragma once

#include "ParmTable.h"
#include "SharedContext.h"

#include <memory>
#include <string>
#include <vector>

namespace knobset {

inline constexpr const char* kValueFileFilter =
    "Tunewright Files (*.tw)|*.tw|All Files (*.*)|*.*||";
inline constexpr const char* kValueFileExtension = "tw";

// Writes section "Setup" and one section per indexed parameter. Keys of an
// existing file are updated in place and keys the table lacks stay; the file
// is replaced in one atomic step, so a failed save leaves the old file whole.
bool SaveValueFile(const ParmStore& store, const std::string& path, const DriveIdentity& identity,
                   std::string& error);

// Reads the identity keys and every indexed parameter's "V" and "cmt". A file
// that cannot be read or is malformed changes neither the table nor the
// identity and returns false with a message naming file and line.
bool LoadValueFile(ParmStore& store, const std::string& path, DriveIdentity& identity,
                   std::string& error);

// Key "TypeCap" of section "Setup" (empty when missing).
std::string ReadTypeCap(const std::string& path);
// True when a file with this TypeCap belongs to `model` ("t5", "w5", "rk").
bool TypeCapMatchesModel(const std::string& typeCap, int model);

// A private copy of a table's definitions, used for comparing value files.
using TableCopy = OwnedTable;

std::string Upper(std::string text);

} // namespace knobset
