// Where the parameter editor's product data lives beside the program.
#pragma once

#include <string>

namespace knobset {

// `path` itself when it exists; else the entry of its folder whose name
// differs only in letter case (the off-line table ids "hQ_417" and "WhQ_417"
// name the shipped files hq_417.par and Whq_417.par, as on a case-blind file
// system); else `path` unchanged.
std::string FindIgnoringCase(const std::string& path);
bool FileExists(const std::string& path);

// dir/tableId.par
std::string DefinitionPath(const std::string& appDir, const std::string& tableId);
// dir/Language/Knobset/CHT/<tableId>CHT.dsc: the description file read at load time.
std::string LoadDescriptionPath(const std::string& appDir, const std::string& tableId);
// dir/Language/Knobset/L/<defaultTableId>L.dsc; empty for an unknown language.
std::string LanguageDescriptionPath(const std::string& appDir, int model, int languageId);
// dir/Language/Knobset/L/ParameterRef-RK_905L.rtx; empty for an unknown language.
std::string ReferencePath(const std::string& appDir, int languageId);

} // namespace knobset
