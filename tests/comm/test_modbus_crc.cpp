#include "ModbusCrc.h"

#include <gtest/gtest.h>
#include <vector>

using namespace wirelay;

TEST(ModbusCrc, GoldenFrames) {
    struct Case {
        std::vector<std::uint8_t> bytes;
        std::uint16_t crc;
    };
    const Case cases[] = {
        {{0x01, 0x03, 0x00, 0x00, 0x00, 0x01}, 0x840A},
        {{0x01, 0x10, 0x10, 0x90, 0x00, 0x01, 0x02, 0x00, 0x00}, 0},
        {{0x11, 0x03, 0x00, 0x6B, 0x00, 0x03}, 0x7687},
        {{}, 0xFFFF},
    };
    for (const Case& c : cases) {
        if (c.crc != 0) {
            EXPECT_EQ(ModbusCrc16(c.bytes.data(), c.bytes.size()), c.crc);
        }
        std::vector<std::uint8_t> frame = c.bytes;
        frame.resize(frame.size() + 2);
        AppendModbusCrc(frame.data(), frame.size());
        EXPECT_TRUE(CheckModbusCrc(frame.data(), frame.size()));
        frame.back() ^= 0x01;
        EXPECT_FALSE(CheckModbusCrc(frame.data(), frame.size()));
    }
    std::uint8_t one = 0;
    EXPECT_FALSE(CheckModbusCrc(&one, 1));
}
