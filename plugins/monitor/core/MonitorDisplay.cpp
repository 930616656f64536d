#include "MonitorDisplay.h"

#include <cstdio>

namespace monitor {
namespace {

constexpr int kNamedRows = 3;

std::string Format(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::int32_t Signed16(std::int32_t raw) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(raw & 0xFFFF));
}

} // namespace

std::string MotionText(int type, int datasize, std::int32_t raw) {
    switch (type) {
    case 1:
        return Format("%.1f", Signed16(raw) * 0.1);
    case 2:
        return Format("%.0f", (std::int64_t{raw} - 32768) * 0.30517578125);
    case 3:
        return Format("%.0f", (std::int64_t{raw} - 2047) * 4.8828125);
    default:
        return std::to_string(datasize == 1 ? Signed16(raw) : raw);
    }
}

std::string StatusText(const ItemGroup& status, int row, const std::string& on,
                       const std::string& off) {
    const MonitorItem& item = status.items[row];
    const std::int32_t raw = item.value.load();
    if (row >= kNamedRows) {
        const int bit = row - kNamedRows;
        return bit < 32 && ((static_cast<std::uint32_t>(raw) >> bit) & 1) != 0 ? on : off;
    }
    for (const ValueName& entry : item.valueNames)
        if (entry.raw == raw)
            return entry.name;
    return std::to_string(raw);
}

bool PinOn(std::int32_t raw, int row) {
    const int bit = row < 8 ? row : 16 + (row - 8);
    return bit < 32 && ((static_cast<std::uint32_t>(raw) >> bit) & 1) != 0;
}

} // namespace monitor
