// An independent Modbus master (libmodbus) reads the simulator's identity and
// registers over the pty. (Coils byte for byte: test_modbus_slave.cpp; an odd
// parity line at 19200: the format search of test_portdesk_e2e.cpp.)
#include "SimTestSupport.h"
#include "TempDir.h"

#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <modbus.h>

using namespace drivesim;

namespace {

class Master {
public:
    Master(const std::string& path, int baud, char parity, int stopBits, int slave)
        : ctx_(modbus_new_rtu(path.c_str(), baud, parity, 8, stopBits)) {
        if (ctx_ == nullptr || modbus_connect(ctx_) != 0)
            throw std::runtime_error("libmodbus cannot open " + path);
        modbus_set_slave(ctx_, slave);
        modbus_set_response_timeout(ctx_, 1, 0);
    }
    ~Master() {
        modbus_close(ctx_);
        modbus_free(ctx_);
    }
    modbus_t* operator*() const { return ctx_; }

private:
    modbus_t* ctx_;
};

TEST(IndependentMaster, LibmodbusReadsIdentityAndParametersOfAT5) {
    TempDir dir;
    RunningSim s(SimOn(DriveModel::T5, 5, dir.File("ttyDrive")));
    Master m(dir.File("ttyDrive"), 115200, 'N', 1, 5);

    // The whole identity frame as libmodbus parses it; its fields are the
    // slave tests' matter.
    std::uint8_t id[256] = {};
    ASSERT_EQ(modbus_report_slave_id(*m, sizeof id, id), 50);
    EXPECT_EQ(id[1], 0xFF);

    // Pr004 inertia ratio at registers 8 and 9, low word first.
    std::uint16_t regs[2] = {};
    ASSERT_EQ(modbus_read_registers(*m, 8, 2, regs), 2);
    EXPECT_EQ(regs[0] | regs[1] << 16, 250);
    const std::uint16_t value[2] = {400, 0};
    ASSERT_EQ(modbus_write_registers(*m, 8, 2, value), 2);
    ASSERT_EQ(modbus_read_registers(*m, 8, 2, regs), 2);
    EXPECT_EQ(regs[0], 400);

    // A whole block as the parameter editor reads it.
    std::uint16_t block[100];
    EXPECT_EQ(modbus_read_registers(*m, 256, 100, block), 100);

    // A register that does not exist is an exception, which libmodbus names.
    EXPECT_EQ(modbus_read_registers(*m, 200, 1, regs), -1);
    EXPECT_EQ(errno, EMBXILADD);
}

} // namespace
