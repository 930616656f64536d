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

// Writes section "Setup" and one section per indexed parameter, in the layout
// of the table's model (ValueFileText.h). Keys of an existing file are updated
// in place and keys the table lacks stay; the file is replaced in one atomic
// step and read back, so a save that reports success loads as saved, and a
// failed save leaves the old file whole. `languageId` picks the code page of
// texts that are not UTF-8; the file is written in UTF-8.
bool SaveValueFile(const ParmStore& store, const std::string& path, const DriveIdentity& identity,
                   std::string& error, int languageId = kLanguageEnglish);

// Reads the identity keys and every indexed parameter's "V" and "cmt" (texts
// that are not UTF-8 decoded from the code page of `languageId`). A file that
// cannot be read or is malformed changes neither the table nor the identity
// and returns false with a message naming the file.
bool LoadValueFile(ParmStore& store, const std::string& path, DriveIdentity& identity,
                   std::string& error, int languageId = kLanguageEnglish);

// The off-line identity of a table of `model` without a drive: the texts of
// an earlier drive or model are cleared, the model tag and the default table
// id are set (elements 2 and 3).
void StartOfflineIdentity(DriveIdentity& identity, int model);

// Key "TypeCap" of section "Setup" (empty when missing).
std::string ReadTypeCap(const std::string& path);
// True when a file with this TypeCap belongs to `model` ("t5", "w5", "rk").
bool TypeCapMatchesModel(const std::string& typeCap, int model);

// A private copy of a table's definitions, used for comparing value files.
using TableCopy = OwnedTable;

std::string Upper(std::string text);

} // namespace knobset
