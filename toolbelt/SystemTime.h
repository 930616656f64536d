// A duration shown as a clock record.
#pragma once

#include <cstdint>

struct SYSTEMTIME {
    std::uint16_t wYear;
    std::uint16_t wMonth;
    std::uint16_t wDayOfWeek;
    std::uint16_t wDay;
    std::uint16_t wHour;
    std::uint16_t wMinute;
    std::uint16_t wSecond;
    std::uint16_t wMilliseconds;
};

// Splits `elapsedMs` into hours, minutes, seconds and milliseconds; the date
// fields are 0. Hours are not reduced, so every duration is exact (up to 596
// hours); a negative duration counts as 0.
void ElapsedTimeToSystemTime(std::int32_t elapsedMs, SYSTEMTIME* out);
