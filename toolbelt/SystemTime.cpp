#include "SystemTime.h"

void ElapsedTimeToSystemTime(std::int32_t elapsedMs, SYSTEMTIME* out) {
    if (out == nullptr)
        return;
    const auto ms = static_cast<std::uint32_t>(elapsedMs < 0 ? 0 : elapsedMs);
    *out = SYSTEMTIME{};
    out->wMilliseconds = static_cast<std::uint16_t>(ms % 1000);
    out->wSecond = static_cast<std::uint16_t>(ms / 1000 % 60);
    out->wMinute = static_cast<std::uint16_t>(ms / 60000 % 60);
    out->wHour = static_cast<std::uint16_t>(ms / 3600000);
}
