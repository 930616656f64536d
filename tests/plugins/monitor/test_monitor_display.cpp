// The display rules of the lists: Motion values by Type, Status rows by
// value name and bit, signal pins from the coil bytes.
#include "MonitorDisplay.h"

#include <gtest/gtest.h>

namespace {
using namespace monitor;

TEST(MonitorDisplay, MotionTextByType) {
    const struct {
        int type, datasize;
        std::int32_t raw;
        const char* text;
    } cases[] = {
        {1, 1, 125, "12.5"},         {1, 1, 0xFFF6, "-1.0"}, // low 16 bits signed
        {1, 2, 0x1'0000 + 5, "0.5"},                         // only the low 16 bits
        {2, 1, 32768, "0"},          {2, 1, 0, "-10000"},    {2, 1, 65535, "10000"},
        {3, 1, 2047, "0"},           {3, 1, 0, "-9995"},     {3, 1, 4095, "10000"},
        {0, 1, 0xFFFF, "-1"},    // one register: signed 16 bits
        {0, 2, 0xFFFF, "65535"}, // two registers: the 32-bit value
        {0, 2, -70000, "-70000"},    {7, 1, 300, "300"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MotionText(c.type, c.datasize, c.raw), c.text) << c.type << " " << c.raw;
}

TEST(MonitorDisplay, StatusRowsShowValueNamesThenBits) {
    ItemGroup status;
    status.count = 6;
    status.items[0].valueNames = {{0, "No alarm"}, {4, "Overload"}};
    status.items[1].valueNames = {{1, "Speed"}};
    status.items[0].value = 4;
    status.items[1].value = 9; // no name: the number
    status.items[2].value = 0; // no names at all
    for (int row = 3; row < 6; ++row)
        status.items[row].value = 0b101; // bit row - 3
    const char* expected[] = {"Overload", "9", "0", "ON", "OFF", "ON"};
    for (int row = 0; row < 6; ++row)
        EXPECT_EQ(StatusText(status, row, "ON", "OFF"), expected[row]) << row;
}

TEST(MonitorDisplay, PinsComeFromBothCoilBytes) {
    const std::int32_t raw = 0x0005'0081; // DI1, DI8, DI9, DI11
    const bool expected[] = {true, false, false, false, false, false, false, true,
                             true, false, true,  false, false, false, false, false};
    for (int pin = 0; pin < 16; ++pin)
        EXPECT_EQ(PinOn(raw, pin), expected[pin]) << pin;
    EXPECT_FALSE(PinOn(-1, 40)); // beyond the value: never on
}

} // namespace
