#include "ReferenceText.h"

#include "SectionFile.h"

namespace knobset {

ReferenceStatus ReferenceEntry(const std::string& text, int k, std::string& entry,
                               std::string& error) {
    entry.clear();
    if (text.find('\0') != std::string::npos) {
        error = "the reference file is binary, not text";
        return ReferenceStatus::kMalformed;
    }
    std::size_t pos = 0;
    for (int i = 0; i < k; ++i) {
        pos = text.find("{{{", pos);
        if (pos == std::string::npos)
            return ReferenceStatus::kNoEntry;
        pos += 3;
    }
    const std::size_t end = text.find("}}}", pos);
    if (end == std::string::npos) {
        error = "reference entry " + std::to_string(k) + " is not closed with }}}";
        return ReferenceStatus::kMalformed;
    }
    std::string body = text.substr(pos, end - pos);
    if (!IsValidUtf8(body)) {
        error = "reference entry " + std::to_string(k) + " is not UTF-8 text";
        return ReferenceStatus::kMalformed;
    }
    if (body.size() > 999) {
        std::size_t cut = 999;
        while (cut > 0 && (static_cast<unsigned char>(body[cut]) & 0xC0) == 0x80)
            --cut;
        body.resize(cut);
    }
    entry = std::move(body);
    return ReferenceStatus::kFound;
}

} // namespace knobset
