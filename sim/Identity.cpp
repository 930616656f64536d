#include "Identity.h"

#include <algorithm>
#include <cstring>

namespace drivesim {
namespace {

constexpr std::size_t kAdditionalBytes = 48;

void Put(std::vector<std::uint8_t>& data, std::size_t at, const char* text, std::size_t width) {
    for (std::size_t i = 0; i < width && text[i] != '\0'; ++i)
        data[at + i] = static_cast<std::uint8_t>(text[i]);
}

} // namespace

IdentityTexts IdentityOf(DriveModel model) {
    switch (model) {
    case DriveModel::T5:
        return {"VT5A04", "T5-400W", "hq_417"};
    case DriveModel::W5:
        return {"VW5A07", "W5-750W", "Whq_417"};
    default:
        return {"48263c", "rk905", "rk_905"};
    }
}

std::vector<std::uint8_t> SlaveIdData(DriveModel model, IdentityLayout layout) {
    const IdentityTexts texts = IdentityOf(model);
    std::vector<std::uint8_t> d(kAdditionalBytes, 0);
    Put(d, 0, "VLMRA", 5);
    if (layout == IdentityLayout::Layout2) {
        d[5] = '2';
        Put(d, 6, "SN260417", 8);
        Put(d, 14, texts.productCode, 7);
        Put(d, 21, texts.modelText, 7);
        Put(d, 28, texts.tableId, 7);
    } else {
        d[5] = '5';
        Put(d, 6, "rk905 r750c 48263c", 18); // what layout '5' stands for
    }
    // Power class and firmware version, each a signed byte after its marker.
    const std::int8_t power = model == DriveModel::T5 ? 4 : model == DriveModel::W5 ? 7 : 9;
    const std::int8_t version[3] = {1, static_cast<std::int8_t>(model == DriveModel::T8 ? 7 : 4),
                                    2};
    Put(d, 35, "w:", 2);
    d[37] = static_cast<std::uint8_t>(power);
    Put(d, 38, "ev:", 3);
    std::memcpy(&d[41], version, 3);

    std::vector<std::uint8_t> reply(2 + d.size());
    reply[0] = model == DriveModel::T5 ? 0x05 : model == DriveModel::W5 ? 0x15 : 0x08;
    reply[1] = 0xFF; // running
    std::copy(d.begin(), d.end(), reply.begin() + 2);
    return reply;
}

} // namespace drivesim
