// The reference file (".rtx") of the parameter editor: entry k (from 1) is
// the text between the k-th "{{{" and the next "}}}".
#pragma once

#include <string>

namespace knobset {

enum class ReferenceStatus { kFound, kNoEntry, kMalformed };

// Entry `k` of `text` into `entry`; kMalformed (with `error`) for an entry
// that is never closed or text that is not UTF-8; entries longer than 999
// characters are cut there (at a character boundary).
ReferenceStatus ReferenceEntry(const std::string& text, int k, std::string& entry,
                               std::string& error);

} // namespace knobset
