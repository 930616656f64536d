#include "LegacyText.h"

#include "SectionFile.h"
#include "SharedContext.h"

#include <cerrno>
#include <iconv.h>

namespace knobset {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

bool IsContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

} // namespace

const char* LegacyCodePage(int languageId) {
    switch (languageId) {
    case kLanguageTraditional:
        return "CP950";
    case kLanguageSimplified:
        return "GBK";
    default:
        return "WINDOWS-1252";
    }
}

std::string ToUtf8(std::string_view text, int languageId) {
    if (IsValidUtf8(text))
        return std::string(text);
    iconv_t cd = ::iconv_open("UTF-8", LegacyCodePage(languageId));
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::string(text.size(), '?'); // no converter: keep the length, drop the bytes
    std::string out;
    char buffer[256];
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    while (inLeft > 0) {
        char* to = buffer;
        std::size_t toLeft = sizeof buffer;
        const std::size_t result = ::iconv(cd, &in, &inLeft, &to, &toLeft);
        out.append(buffer, static_cast<std::size_t>(to - buffer));
        if (result != static_cast<std::size_t>(-1) || errno == E2BIG)
            continue;
        if (errno == EINVAL)
            break;           // a character cut off at the end
        out += kReplacement; // EILSEQ: a byte the code page does not define
        ++in;
        --inLeft;
    }
    ::iconv_close(cd);
    return out;
}

std::string_view CutToCharacters(std::string_view text, std::size_t maxChars) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!IsContinuation(text[i]) && chars++ == maxChars)
            return text.substr(0, i);
    }
    return text;
}

std::string_view CutToBytes(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes)
        return text;
    std::size_t cut = maxBytes;
    while (cut > 0 && IsContinuation(text[cut]))
        --cut;
    return text.substr(0, cut);
}

std::string CutLongLines(std::string_view text, std::size_t maxBytes) {
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const std::size_t nl = text.find('\n');
        std::string_view line = text.substr(0, nl);
        std::string_view end = nl == std::string_view::npos ? "" : "\n";
        text.remove_prefix(nl == std::string_view::npos ? text.size() : nl + 1);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
            end = nl == std::string_view::npos ? "\r" : "\r\n";
        }
        if (line.size() > maxBytes)
            line = IsValidUtf8(line) ? CutToBytes(line, maxBytes) : line.substr(0, maxBytes);
        out.append(line).append(end);
    }
    return out;
}

} // namespace knobset
