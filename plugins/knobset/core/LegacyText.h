// Texts in value files written by other tools: UTF-8 where possible, else the
// code page older Windows tools used for the user's language.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace knobset {

// The code page of a language id: Big5 (CP950) for Traditional Chinese, GBK
// for Simplified Chinese, Windows-1252 for English and any other id.
const char* LegacyCodePage(int languageId);

// `text` itself when it is UTF-8, else decoded from the language's code page.
// A byte the code page does not define becomes U+FFFD; a character cut off
// at the end of the text is dropped.
std::string ToUtf8(std::string_view text, int languageId);

// The longest prefix of UTF-8 `text` with at most `maxChars` characters.
std::string_view CutToCharacters(std::string_view text, std::size_t maxChars);

// The longest prefix of UTF-8 `text` with at most `maxBytes` bytes that ends
// on a character boundary.
std::string_view CutToBytes(std::string_view text, std::size_t maxBytes);

// Every line cut to at most `maxBytes` bytes (line ends not counted); a UTF-8
// line is cut before the character that would not fit.
std::string CutLongLines(std::string_view text, std::size_t maxBytes);

} // namespace knobset
