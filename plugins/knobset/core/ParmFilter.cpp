#include "ParmFilter.h"

#include "ParmTable.h"

#include <algorithm>
#include <cctype>

namespace knobset {
namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The number as typed or shown, reduced to its digits: "Pr 1.04" and "pr104"
// both become "104".
std::string NumberKey(const std::string& text) {
    std::string key;
    for (char c : Lower(text)) {
        if (c != ' ' && c != '.')
            key += c;
    }
    return key.rfind("pr", 0) == 0 ? key.substr(2) : key;
}

} // namespace

bool MatchesFilter(const ParmRecord& record, int model, const std::string& query) {
    const std::string number = NumberKey(query);
    if (number.empty())
        return true; // nothing typed yet but spaces or "Pr"
    if (NumberKey(ListNumberText(record, model)).find(number) != std::string::npos)
        return true;
    return Lower(record.name).find(Lower(query)) != std::string::npos;
}

} // namespace knobset
