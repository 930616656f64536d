#include "TextTemplate.h"

#include <cctype>

namespace {

std::string Padded(std::string text, int width) {
    if (static_cast<int>(text.size()) < width)
        text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    return text;
}

std::string AsText(const TextArg& arg) {
    if (const int* number = std::get_if<int>(&arg))
        return std::to_string(*number);
    return std::get<std::string>(arg);
}

} // namespace

std::string FillTemplate(const std::string& pattern, std::initializer_list<TextArg> args) {
    std::string out;
    auto next = args.begin();
    std::size_t i = 0;
    while (i < pattern.size()) {
        if (pattern[i] != '%') {
            out.push_back(pattern[i++]);
            continue;
        }
        if (i + 1 < pattern.size() && pattern[i + 1] == '%') {
            out.push_back('%');
            i += 2;
            continue;
        }
        std::size_t j = i + 1;
        int width = 0;
        while (j < pattern.size() && std::isdigit(static_cast<unsigned char>(pattern[j])) &&
               width < 100)
            width = width * 10 + (pattern[j++] - '0');
        const bool placeholder = j < pattern.size() && (pattern[j] == 's' || pattern[j] == 'd');
        if (!placeholder || next == args.end()) {
            out.push_back(pattern[i++]); // not ours to fill: kept as text
            continue;
        }
        out += Padded(AsText(*next++), width);
        i = j + 1;
    }
    return out;
}
