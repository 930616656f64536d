// Interoperability: our master against libmodbus, an independent Modbus RTU
// slave, at the two ends of a pseudo-terminal. (How exception replies and
// other slaves' replies are judged: test_modbus_wire.cpp and
// test_modbus_reply_match.cpp.)
#include "FarEnd.h"
#include "Modbus.h"
#include "SerialFormat.h"

#include <gtest/gtest.h>
#include <modbus.h>
#include <tuple>

namespace {

// A libmodbus RTU slave with address 1 serving coils and holding registers on
// the far end of a pseudo-terminal (libmodbus works on its descriptor as on a
// serial port it opened).
class LibmodbusSlave {
public:
    explicit LibmodbusSlave(const PtyPair& pty) {
        ctx_ = modbus_new_rtu("unused", 115200, 'N', 8, 1);
        if (ctx_ == nullptr || modbus_set_slave(ctx_, 1) != 0 ||
            modbus_set_socket(ctx_, pty.MasterFd()) != 0)
            throw std::runtime_error("libmodbus slave did not start");
        map_ = modbus_mapping_new(2000, 0, 300, 0);
        for (int i = 0; i < 300; ++i)
            map_->tab_registers[i] = static_cast<std::uint16_t>(0x1000 + i);
        thread_ = std::thread([this] { Serve(); });
    }
    ~LibmodbusSlave() {
        stop_ = true;
        thread_.join();
        modbus_mapping_free(map_);
        modbus_free(ctx_); // the descriptor is the pty's
    }
    modbus_mapping_t* Map() { return map_; }

private:
    void Serve() {
        std::uint8_t query[MODBUS_RTU_MAX_ADU_LENGTH];
        while (!stop_) {
            pollfd p{modbus_get_socket(ctx_), POLLIN, 0};
            if (::poll(&p, 1, 10) <= 0)
                continue;
            const int n = modbus_receive(ctx_, query);
            if (n > 0)
                modbus_reply(ctx_, query, n, map_);
        }
    }
    modbus_t* ctx_ = nullptr;
    modbus_mapping_t* map_ = nullptr;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

class Interop : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(mb._OpenDevicePort(pty.SlavePath().c_str(), wirelay::MakeSerialDcb(3), 1), 1);
        mb.waitWriteTime = 1;
        mb.preCountQueTimes = 2000;
        mb.SetRetryTimes(3);
    }
    void TearDown() override { mb.CloseComPort(); }

    PtyPair pty;
    LibmodbusSlave slave{pty};
    CModbus mb;
};

TEST_F(Interop, AllFiveFunctionCodes) {
    unsigned short words[125];
    ASSERT_EQ(mb.ReadHoldingRegisters(0, 125, words), 1);
    for (int i = 0; i < 125; ++i)
        EXPECT_EQ(words[i], 0x1000 + i);

    unsigned short out[123];
    for (int i = 0; i < 123; ++i)
        out[i] = static_cast<unsigned short>(0xA000 + i);
    ASSERT_EQ(mb.WriteMultipleRegisters(100, 123, out), 1);
    EXPECT_EQ(slave.Map()->tab_registers[100], 0xA000);
    EXPECT_EQ(slave.Map()->tab_registers[222], 0xA000 + 122);
    ASSERT_EQ(mb.ReadHoldingRegisters(200, 3, words), 1);
    EXPECT_EQ(words[0], 0xA000 + 100);

    unsigned char bits[2] = {0xA5, 0x03}; // 10 coils: 1,0,1,0,0,1,0,1,1,1
    ASSERT_EQ(mb.WriteMultipleCoils(38, 10, bits), 1);
    EXPECT_EQ(Bytes(slave.Map()->tab_bits + 38, slave.Map()->tab_bits + 48),
              (Bytes{1, 0, 1, 0, 0, 1, 0, 1, 1, 1}));
    unsigned char back[2] = {};
    ASSERT_EQ(mb.ReadCoils(38, 10, back), 1);
    EXPECT_EQ(Bytes(back, back + 2), Bytes(bits, bits + 2));

    std::vector<unsigned char> many(250, 0xFF);
    ASSERT_EQ(mb.WriteMultipleCoils(0, 1968, many.data()), 1);
    std::vector<unsigned char> readMany(250, 0);
    ASSERT_EQ(mb.ReadCoils(0, 2000, readMany.data()), 1);
    EXPECT_EQ(readMany[245], 0xFF);
    EXPECT_EQ(readMany[246], 0x00); // coils 1968.. were never written

    char text[32] = {};
    unsigned char capacity = sizeof text;
    unsigned char id = 0, run = 0;
    ASSERT_EQ(mb.ReportSlaveID(text, &capacity, &id, &run), 1);
    EXPECT_EQ(std::tuple(id, run, std::string(text, 3)), std::tuple(0xB4, 0xFF, "LMB"));
}

} // namespace
