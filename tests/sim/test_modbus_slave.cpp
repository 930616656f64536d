// Request handling of the simulated drive, byte for byte.
#include "ModbusSlave.h"
#include "SimTestSupport.h"

#include <cstring>
#include <gtest/gtest.h>

using namespace drivesim;

namespace {

struct Golden {
    const char* what;
    const char* request;
    const char* reply; // empty: no reply
};

// A T8 drive with its factory defaults at slave address 1.
const Golden kT8Goldens[] = {
    {"read two gain registers", "01 03 00 10 00 02 C5 CE", "01 03 04 01 E0 01 0E 7A 6D"},
    {"read the inertia ratio", "01 03 00 20 00 01 85 C0", "01 03 02 00 FA 38 07"},
    {"read the servo coil", "01 01 00 26 00 01 1C 01", "01 01 01 00 51 88"},
    {"read 20 coils: DO1 servo ready, DO3 zero speed", "01 01 00 00 00 14 3C 05",
     "01 01 03 00 00 05 FC 4D"},
    {"switch the servo on", "01 0F 00 26 00 01 01 01 E6 90", "01 0F 00 26 00 01 75 C0"},
    {"write a gain", "01 10 00 10 00 01 02 01 F4 A4 D7", "01 10 00 10 00 01 00 0C"},
    {"apply after T8 writes", "01 10 00 81 00 01 02 00 02 39 80", "01 10 00 81 00 01 51 E1"},
    {"unknown function 05", "01 05 00 26 FF 00 6D F1", "01 85 01 83 50"},
    {"unknown function 2B", "01 2B 0E 01 00 70 77", "01 AB 01 9E F0"},
    {"read a register that does not exist", "01 03 04 00 00 01 85 3A", "01 83 02 C0 F1"},
    {"read zero registers", "01 03 00 00 00 00 45 CA", "01 83 03 01 31"},
    {"read 126 registers", "01 03 00 00 00 7E C5 EA", "01 83 03 01 31"},
    {"save command with value 7", "01 10 00 81 00 01 02 00 07 F9 83", "01 90 03 0C 01"},
    {"write a status register", "01 10 03 80 00 01 02 00 01 4B 50", "01 90 02 CD C1"},
    {"write an input coil", "01 0F 00 00 00 01 01 01 EF 57", "01 8F 02 C5 F1"},
    {"read a coil that does not exist", "01 01 00 40 00 01 FC 1E", "01 81 02 C1 91"},
    {"byte count not twice the count", "01 10 00 10 00 02 02 00 01 65 44", "01 90 03 0C 01"},
    {"bad CRC", "01 03 00 10 00 02 C5 CF", ""},
    {"another slave", "02 03 00 10 00 02 C5 FD", ""},
};

TEST(ModbusSlave, AnswersEveryFunctionAndExceptionByteForByte) {
    for (const Golden& g : kT8Goldens) {
        DriveState state = ShippedDrive(DriveModel::T8);
        auto request = Hex(g.request);
        auto reply = HandleRequest(state, 1, request.data(), request.size());
        EXPECT_EQ(reply ? ToHex(*reply) : "", g.reply) << g.what;
    }
}

TEST(ModbusSlave, BroadcastWriteIsDoneWithoutReply) {
    DriveState state = ShippedDrive(DriveModel::T8);
    auto request = Hex("00 10 00 10 00 01 02 01 F4 A9 47");
    EXPECT_FALSE(HandleRequest(state, 1, request.data(), request.size()));
    EXPECT_EQ(state.Value(16), 500);
}

TEST(ModbusSlave, ReportSlaveIdCarriesTheTextsAtTheirBytes) {
    struct Case {
        DriveModel model;
        IdentityLayout layout;
        char layoutDigit;
        std::string product, modelText, table;
    } cases[] = {
        {DriveModel::T5, IdentityLayout::Layout2, '2', "VT5A04", "T5-400W", "hq_417"},
        {DriveModel::W5, IdentityLayout::Layout2, '2', "VW5A07", "W5-750W", "Whq_417"},
        {DriveModel::T8, IdentityLayout::Layout2, '2', "48263c", "rk905", "rk_905"},
        {DriveModel::T8, IdentityLayout::Layout5, '5', "", "", ""}, // texts elsewhere
    };
    for (const Case& c : cases) {
        DriveState state = ShippedDrive(c.model, "", c.layout);
        auto request = Hex("01 11 C0 2C");
        auto reply = HandleRequest(state, 1, request.data(), request.size());
        ASSERT_TRUE(reply);
        ASSERT_TRUE(wirelay::CheckModbusCrc(reply->data(), reply->size()));
        EXPECT_EQ((*reply)[1], 0x11);
        const std::size_t n = (*reply)[2];
        ASSERT_EQ(reply->size(), n + 5);
        EXPECT_LE(n, 249u);
        EXPECT_EQ((*reply)[4], 0xFF);                                     // run indicator
        const char* d = reinterpret_cast<const char*>(reply->data() + 5); // D[0..]
        auto field = [&](int at, std::size_t most) {
            return std::string(d + at, strnlen(d + at, most));
        };
        EXPECT_EQ(d[5], c.layoutDigit);
        if (!c.product.empty()) {
            EXPECT_EQ((std::vector{field(14, 7), field(21, 7), field(28, 7)}),
                      (std::vector{c.product, c.modelText, c.table}));
        }
        EXPECT_EQ((std::vector<std::string>{field(35, 2), field(38, 3)}),
                  (std::vector<std::string>{"w:", "ev:"}));
    }
}

TEST(ModbusSlave, GarbageNeverCrashes) {
    DriveState state = ShippedDrive(DriveModel::T5);
    std::uint32_t seed = 12345;
    for (int i = 0; i < 20000; ++i) {
        std::vector<std::uint8_t> frame(4 + (seed % 40));
        for (auto& b : frame) {
            seed = seed * 1103515245u + 12345u;
            b = static_cast<std::uint8_t>(seed >> 16);
        }
        frame[0] = 1;
        frame[1] = std::vector<std::uint8_t>{1, 3, 15, 16, 17, 5}[seed % 6];
        frame = WithCrc(frame);
        auto reply = HandleRequest(state, 1, frame.data(), frame.size());
        if (reply) {
            EXPECT_TRUE(wirelay::CheckModbusCrc(reply->data(), reply->size()));
        }
    }
}

} // namespace
