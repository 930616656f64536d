// Comma-separated reports: the current page of parameters, and the
// differences between two value files.
#pragma once

#include "SharedContext.h"

#include <string>

namespace knobset {

// Column bits of the export dialog.
namespace Column {
constexpr int kNumber = 0x01;
constexpr int kName = 0x02;
constexpr int kMin = 0x04;
constexpr int kMax = 0x08;
constexpr int kUnit = 0x10;
constexpr int kDefault = 0x20;
constexpr int kSetup = 0x40;
constexpr int kAllPage = 0x7F;
constexpr int kAllCompare = 0x1F;
} // namespace Column

// The page export text; `identity` may be null (no "[Info]" part).
std::string PageCsv(const ParmStore& store, const std::string& fileTitle,
                    const DriveIdentity* identity, int columns, bool modifiedOnly);

// The comparison text of two tables with the same definitions.
std::string CompareCsv(const ParmStore& file1, const DriveIdentity& identity1,
                       const std::string& name1, const ParmStore& file2,
                       const DriveIdentity& identity2, const std::string& name2,
                       const std::string& fileTitle, int columns);

// Writes `text` to `path` (atomically). False with the message "Cannot create
// file: <path>" when it cannot be written.
bool WriteCsv(const std::string& path, const std::string& text, std::string& error);

} // namespace knobset
