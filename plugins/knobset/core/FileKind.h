// Which kind of file a path names, by its extension: the save and export
// dialogs propose a name of their own kind and never replace a file of
// another kind without asking.
#pragma once

#include <string>

namespace knobset {

// `path` with its extension replaced by `extension` (".csv"); empty stays empty.
std::string WithExtension(const std::string& path, const std::string& extension);

// `path` with `extension` added when its file name has none.
std::string EnsureExtension(const std::string& path, const std::string& extension);

// True when `path` names an existing file whose extension is not `extension`
// (compared without regard to case).
bool ReplacesOtherKind(const std::string& path, const std::string& extension);

} // namespace knobset
