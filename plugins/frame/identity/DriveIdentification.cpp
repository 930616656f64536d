#include "DriveIdentification.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>

namespace {

// Field positions of layout '2' (seven bytes each).
constexpr std::size_t kLayoutByte = 5;
constexpr std::size_t kProductCodeAt = 14;
constexpr std::size_t kModelTextAt = 21;
constexpr std::size_t kTableIdAt = 28;
constexpr std::size_t kFieldLength = 7;
// The markers are looked for from here on.
constexpr std::size_t kMarkersFrom = 35;

class DataView {
public:
    DataView(const unsigned char* data, std::size_t size)
        : data_(data), size_(std::min(size, kIdentificationBytes)) {}
    unsigned char At(std::size_t i) const { return i < size_ ? data_[i] : 0; }
    int Signed(std::size_t i) const { return static_cast<std::int8_t>(At(i)); }

    // A fixed-width text: up to the first NUL or the whole width.
    std::string Field(std::size_t at) const {
        std::string text;
        for (std::size_t i = at; i < at + kFieldLength && At(i) != 0; ++i)
            text.push_back(static_cast<char>(At(i)));
        return text;
    }

    // Position of the first `marker` at or after kMarkersFrom whose value
    // bytes (`valueBytes` of them) still lie inside the data; npos when none.
    std::size_t Find(const char* marker, std::size_t valueBytes) const {
        const std::size_t length = std::strlen(marker);
        for (std::size_t i = kMarkersFrom; i + length + valueBytes <= kIdentificationBytes; ++i) {
            bool match = true;
            for (std::size_t m = 0; m < length && match; ++m)
                match = At(i + m) == static_cast<unsigned char>(marker[m]);
            if (match)
                return i + length;
        }
        return std::string::npos;
    }

private:
    const unsigned char* data_;
    std::size_t size_;
};

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

} // namespace

IdentificationTexts ParseIdentification(const unsigned char* data, std::size_t size) {
    const DataView d(data, data != nullptr ? size : 0);
    IdentificationTexts texts;
    switch (d.At(kLayoutByte)) {
    case '2':
        texts.layoutKnown = true;
        texts.modelText = d.Field(kModelTextAt);
        texts.tableId = d.Field(kTableIdAt);
        texts.productCode = d.Field(kProductCodeAt);
        break;
    case '5': // the older T8 firmware, known by its layout alone
        texts.layoutKnown = true;
        texts.modelText = "rk905";
        texts.tableId = "r750c";
        texts.productCode = "48263c";
        break;
    default:
        break;
    }
    if (const std::size_t at = d.Find("w:", 1); at != std::string::npos)
        texts.power = std::to_string(d.Signed(at));
    if (const std::size_t at = d.Find("ev:", 3); at != std::string::npos)
        texts.version = std::to_string(d.Signed(at)) + "." + std::to_string(d.Signed(at + 1)) +
                        "." + std::to_string(d.Signed(at + 2));
    return texts;
}

void StoreIdentification(const IdentificationTexts& texts, DriveIdentity& identity) {
    if (texts.layoutKnown) {
        identity.Set(1, texts.modelText);
        identity.Set(2, Lower(texts.modelText));
        identity.Set(3, Lower(texts.tableId));
        identity.Set(4, Lower(texts.productCode));
    }
    identity.Set(6, texts.power);
    identity.Set(7, texts.version);
}

void DecideDriveModel(DriveIdentity& identity, ParmStore& parms) {
    const std::string tag = identity.Get(2);
    if (tag.find("t5") != std::string::npos) {
        parms.iModel = kModelT5;
        identity.Set(3, "hq_417");
    } else if (tag.find("w5") != std::string::npos) {
        parms.iModel = kModelW5;
        identity.Set(3, "Whq_417");
    } else if (tag.find("rk") != std::string::npos) {
        identity.Set(3, "rk_905");
        parms.iModel = kModelT8;
    } else if (tag.find("vq") != std::string::npos) {
        parms.iModel = kModelVq;
    }
}
