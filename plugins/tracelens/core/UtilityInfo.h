// The help lines of the scope's utility panel, from the language's utility
// file ("UtilENG.lng", "UtilCHT.lng" or "UtilCHS.lng"), a private-profile file:
//   [Setup]  iQty=<sections>
//   [Data1] .. [Data<iQty>]  Info_iQty=<lines>, name0 .. name<lines-1>
#pragma once

#include <string>
#include <vector>

namespace tracelens {

// Every line in section and key order; nothing for a missing file.
std::vector<std::string> LoadUtilityInfo(const std::string& file);

// The utility file of a language under an application folder (empty for an
// unknown language id).
std::string UtilityInfoPath(const std::string& appDir, int languageId);

} // namespace tracelens
