// Filling a message template from a language table, safe against a table
// whose placeholders do not match: only %s and %d (with an optional width)
// take arguments, in order, whatever their type; "%%" is a percent sign; any
// other sequence and placeholders without an argument stay as text.
#pragma once

#include <initializer_list>
#include <string>
#include <variant>

using TextArg = std::variant<int, std::string>;
std::string FillTemplate(const std::string& pattern, std::initializer_list<TextArg> args);
