#include "SlaveIdentity.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace knobset {
namespace {

std::string Field(const unsigned char* data, std::size_t size, std::size_t from) {
    std::string text;
    for (std::size_t i = from; i < from + 7 && i < size && data[i] != 0; ++i)
        text += static_cast<char>(data[i]);
    return text;
}

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

} // namespace

void ParseSlaveIdentity(const unsigned char* data, std::size_t size, DriveIdentity& identity) {
    const char layout = size > 5 ? static_cast<char>(data[5]) : 0;
    std::string model, table, product;
    if (layout == '2') {
        product = Field(data, size, 14);
        model = Field(data, size, 21);
        table = Field(data, size, 28);
    } else if (layout == '5') {
        model = "rk905", table = "r750c", product = "48263c";
    }
    if (layout == '2' || layout == '5') {
        identity.Set(1, model);
        identity.Set(2, Lower(model));
        identity.Set(3, Lower(table));
        identity.Set(4, Lower(product));
    }
    std::string power, firmware;
    bool havePower = false, haveFirmware = false;
    for (std::size_t i = 35; i < size && i < 250; ++i) {
        if (!havePower && i + 2 < size && data[i] == 'w' && data[i + 1] == ':') {
            power = std::to_string(static_cast<signed char>(data[i + 2]));
            havePower = true;
        }
        if (!haveFirmware && i + 5 < size && data[i] == 'e' && data[i + 1] == 'v' &&
            data[i + 2] == ':') {
            firmware = std::to_string(static_cast<signed char>(data[i + 3])) + "." +
                       std::to_string(static_cast<signed char>(data[i + 4])) + "." +
                       std::to_string(static_cast<signed char>(data[i + 5]));
            haveFirmware = true;
        }
    }
    identity.Set(6, power);
    identity.Set(7, firmware);
}

} // namespace knobset
