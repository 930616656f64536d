// The status block and pin coils as a monitor reads them: live values from
// the servo loop, the pins, the alarm, clearing by writing 0, the block on
// every model.
#include "MonitorItems.h"
#include "SimTestSupport.h"

#include <gtest/gtest.h>

namespace {
using namespace drivesim;
using monitorreg::kBlock;

SignalValues Signals(std::int32_t speed, std::int32_t torque, std::int32_t feedback,
                     std::int32_t error, std::int32_t command) {
    SignalValues v{};
    v[static_cast<std::size_t>(Signal::SpeedFeedback)] = speed;
    v[static_cast<std::size_t>(Signal::SpeedCommand)] = speed;
    v[static_cast<std::size_t>(Signal::TorqueCommand)] = torque;
    v[static_cast<std::size_t>(Signal::BusVoltage)] = 318;
    v[static_cast<std::size_t>(Signal::PositionFeedback)] = feedback;
    v[static_cast<std::size_t>(Signal::PositionError)] = error;
    v[static_cast<std::size_t>(Signal::PositionCommand)] = command;
    return v;
}

TEST(MonitorItems, StatusBlockShowsTheLoop) {
    DriveState state = ShippedDrive(DriveModel::T5);
    EXPECT_EQ(Read(state, kBlock + 2, 1)[0], 310); // before the machine ran
    state.Monitor().Observe(Signals(-1500, 123, 70000, -5, 70005), true, 300, {});
    const std::vector<std::uint16_t> words = Read(state, kBlock, 20);
    const struct {
        int offset;
        std::uint16_t word;
    } expected[] = {
        {0, 0xFA24},                // -1500 r/min
        {1, 123},                   // 12.3 %
        {2, 318},     {5, 0},       // servo state: the coil, off
        {8, 0x1175},                // command count 70005, low word first
        {9, 1},       {10, 0x1170}, // feedback count 70000
        {11, 1},      {14, 0xFFFB}, // position error -5
        {15, 0xFFFF}, {16, 0x9B},   // ready, servo on, speed reached, in position, brake released
        {17, 0xFA24}, {18, 32768},  {19, 2047},
    };
    for (const auto& e : expected)
        EXPECT_EQ(words[e.offset], e.word) << e.offset;
}

TEST(MonitorItems, PinsAndAlarmAndClearing) {
    DriveState state = ShippedDrive(DriveModel::T5);
    state.Monitor().SetInputPins(0x0405);
    state.Monitor().RaiseAlarm(4);
    state.Monitor().Observe(Signals(0, 0, 100, 0, 100), false, 300, {});
    std::vector<bool> coils;
    ASSERT_EQ(state.ReadCoils(0, 24, coils), kNoException);
    const std::vector<bool> expected = {true,  false, true, false, false, false, false, false,
                                        false, false, true, false, false, false, false, false,
                                        false, false, true, false, false, false, true,  false};
    EXPECT_EQ(coils, expected); // DI1, DI3, DI11; DO3 zero speed, DO7 alarm, not ready
    EXPECT_EQ(Read(state, kBlock + 3, 1)[0], 4);

    EXPECT_EQ(state.WriteRegisters(kBlock + 3, {1}), kIllegalAddress);
    EXPECT_EQ(state.WriteRegisters(kBlock, {0}), kIllegalAddress); // speed: not clearable
    EXPECT_EQ(state.WriteRegisters(kBlock + 3, {0}), kNoException);
    EXPECT_EQ(Read(state, kBlock + 3, 1)[0], 0);
    EXPECT_EQ(state.WriteRegisters(kBlock + 10, {0}), kNoException);
    EXPECT_EQ(Read(state, kBlock + 10, 2), (std::vector<std::uint16_t>{0, 0}));
    EXPECT_EQ(Read(state, kBlock + 8, 2), (std::vector<std::uint16_t>{100, 0})); // untouched
    ASSERT_EQ(state.ReadCoils(16, 1, coils), kNoException);
    EXPECT_TRUE(coils[0]); // ready again
}

TEST(MonitorItems, EveryModelAnswersTheBlock) {
    for (DriveModel model : {DriveModel::T5, DriveModel::W5, DriveModel::T8}) {
        DriveState state = ShippedDrive(model);
        state.Monitor().RaiseAlarm(7);
        EXPECT_EQ(Read(state, kBlock, 20)[3], 7) << DriveModelName(model);
    }
    DriveState t8 = ShippedDrive(DriveModel::T8);
    t8.Monitor().RaiseAlarm(2);
    EXPECT_EQ(Read(t8, 896 + 3, 1)[0], 2);
}

TEST(MonitorItems, RequestsThatWakeTheMachine) {
    const struct {
        std::vector<std::uint8_t> request;
        bool wakes;
    } cases[] = {
        {{1, 0x03, 0x10, 0x00, 0x00, 0x01}, true},
        {{1, 0x03, 0x03, 0x80, 0x00, 0x02}, true},  // T8's 896
        {{1, 0x03, 0x0F, 0x00, 0x00, 0x64}, false}, // parameters below the block
        {{1, 0x01, 0x00, 0x00, 0x00, 0x0B}, true},
        {{1, 0x01, 0x00, 0x26, 0x00, 0x01}, false}, // the servo coil
        {{1, 0x10, 0x10, 0x00, 0x00, 0x01}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadsMonitorItems(c.request.data(), c.request.size()), c.wakes);
}

} // namespace
