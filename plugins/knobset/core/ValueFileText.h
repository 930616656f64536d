// The text of a value file ("*.tw"), composed and read in memory. Reading and
// writing share one rule for names: sections and keys compare without regard
// to case, blanks around them trimmed, a section name runs to the first "]".
// So a save always updates the very lines the next load reads.
#pragma once

#include "SharedContext.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace knobset {

// The longest comment, in characters: the edit dialog takes no more, and a
// file's longer comment is cut there (at a character boundary).
inline constexpr std::size_t kMaxCommentChars = 255;
// The longest identity text kept from a file, in characters.
inline constexpr std::size_t kMaxIdentityChars = 255;
// Lines of a value file are read up to this many bytes; the rest is ignored.
inline constexpr std::size_t kMaxValueLine = 1024;

// Parameter numbers a value file of `model` holds: 0..167 for T8, 0..1599 for
// T5/W5, none for a model without a table.
int ValueFileRange(int model);

// What a value file holds for one table.
struct ValueFileContents {
    struct Value {
        int number = 0;
        int value = 0;
        std::string cmt;
        bool operator==(const Value&) const = default;
    };
    std::string identity[DriveIdentity::kTexts]; // elements 2, 3, 4, 6 and 7 are kept
    std::vector<Value> values;                   // every indexed number of the layout
    bool operator==(const ValueFileContents&) const = default;
};

// Reads `text` for the indexed parameters of `store`. Texts that are not
// UTF-8 are decoded from the code page of `languageId`. False with a message
// starting with `name` for a text that is binary, has no [Setup] section or
// a line cut off.
bool ReadValueText(std::string_view text, const ParmStore& store, int languageId,
                   const std::string& name, ValueFileContents& contents, std::string& error);

// Sets every value, comment and identity element the contents hold.
void ApplyValueContents(const ValueFileContents& contents, ParmStore& store,
                        DriveIdentity& identity);

// The file text after saving `store` and `identity` into `existing` (the old
// file's text, empty for a new file): keys are updated in place, others stay.
// The result is read back; false with a message when the table does not fit
// the layout of its model or the text would not load as saved.
bool ComposeValueText(std::string_view existing, const ParmStore& store,
                      const DriveIdentity& identity, int languageId, std::string& text,
                      std::string& error);

} // namespace knobset
