// The internal-position commands against a simulated drive's state, request
// by request: the registers and words each one sends, the table transfers
// with their version check, and the T5/W5 drives that must not be written.
#include "RouteplanFixture.h"

#include <array>
#include <gtest/gtest.h>

using namespace routeplan;

namespace {

struct Jobs {
    explicit Jobs(int model = kModelT8) : context(model), link(model), jobs(context.Ctx()) {}
    int Run(int code) { return jobs.Run(code, link, motion); }
    RouteplanContext context;
    DriveStateLink link;
    RouteplanJobs jobs;
    MotionValues motion;
};

// A register write a command must send, with its exact words.
struct GoldenWrite {
    const char* what;
    int code;
    MotionValues motion; // as the window left it
    int start;
    std::vector<std::uint16_t> words;
};

constexpr int kJog = CS_ReadPosFeedback; // a jog goes out with the feedback read

const GoldenWrite kGoldenWrites[] = {
    {"run to point 1: end point - 1", CS_Run, {.endPoint = 1}, 36, {0}},
    {"run: the delay", CS_Run, {.delayMs = 750}, 46, {750}},
    {"run: 2 at 47", CS_Run, {}, 47, {2}},
    {"point -1", CS_SetPositionPointParm, {.point = 5, .pointPosition = -1}, 208, {0xFFFF, 0xFFFF}},
    {"point 8's speed", CS_SetPositionPointParm, {.point = 8, .pointSpeed = 321}, 119, {321}},
    {"point 9's speed", CS_SetPositionPointParm, {.point = 9, .pointSpeed = 99}, 720, {99}},
    {"set point: 129 = 1", CS_SetPositionPointParm, {.point = 1}, 129, {1}},
    {"step back",
     kJog,
     {.jogStep = 100, .stepBackward = true, .jogPending = true},
     182,
     {0xFF9C, 0xFFFF}},
    {"jog, time-out", kJog, {.runForward = true, .jogPending = true}, 2001, {0x1000 + 300}},
    {"jog speed",
     kJog,
     {.jogSpeed = 250, .runBackward = true, .jogPending = true, .speedUpdate = 1},
     1214,
     {250}},
    {"absolute target", CS_AbsolutePosMovement, {.target = 0x12345}, 180, {0x2345, 0x0001}},
    {"relative distance", CS_RelativePosMovement, {.target = -2}, 182, {0xFFFE, 0xFFFF}},
    {"move speed", CS_AbsolutePosMovement, {.moveSpeed = 1500}, 1214, {1500}},
    {"homing", CS_Homing, {}, 2002, {0x0801}},
    {"servo on: host-control key", CS_ServoOn, {}, 131, {0x6D21}},
    {"servo on: host-control mode 8", CS_ServoOn, {}, 132, {8}},
    {"servo off releases the key", CS_ServoOff, {}, 131, {0}},
};

TEST(RouteplanJobs, CommandsSendTheirGoldenWords) {
    for (const GoldenWrite& g : kGoldenWrites) {
        Jobs j;
        j.motion = g.motion;
        EXPECT_EQ(j.Run(g.code), kResultSuccess) << g.what;
        const LoggedRequest* write = j.link.WriteAt(g.start);
        ASSERT_NE(write, nullptr) << g.what;
        EXPECT_EQ(write->words, g.words) << g.what;
    }
}

TEST(RouteplanJobs, FeedbackAppliesTheGearRatio) {
    const struct {
        std::uint16_t den, num;
        std::int32_t shown;
    } cases[] = {{4, 1, 250}, {0, 1, 1000}, {1, 3, 3000}, {2, 0, 1000}};
    for (const auto& c : cases) {
        Jobs j;
        j.link.overrides = {{70, c.den}, {75, c.num}, {180, 1000}, {181, 0}};
        ASSERT_EQ(j.Run(CS_ServoOn), kResultSuccess);
        ASSERT_EQ(j.Run(CS_ReadPosFeedback), kResultSuccess);
        EXPECT_EQ(j.motion.feedback, c.shown) << c.den << "/" << c.num;
    }
    EXPECT_EQ(GearedFeedback(-1000, {1, 4}), -250);
}

TEST(RouteplanJobs, ServoOnWithAnAlarmStopsBeforeTheKeyAndReportsTheCode) {
    Jobs j;
    j.link.state.SetAlarm(21);
    EXPECT_EQ(j.Run(CS_ServoOn), kResultFailure);
    EXPECT_EQ(j.motion.alarmCode, 21);
    EXPECT_EQ(j.link.WriteAt(131), nullptr);
    EXPECT_FALSE(j.link.state.ServoOn());
}

TEST(RouteplanJobs, StopSendsTheLastRunAgain) {
    Jobs j;
    j.motion.endPoint = 4;
    j.motion.delayMs = 90;
    ASSERT_EQ(j.Run(CS_Run), kResultSuccess);
    j.link.log.clear();
    ASSERT_EQ(j.Run(CS_Stop), kResultSuccess);
    const std::vector<LoggedRequest> expected = {
        {'W', 47, 1, {0}}, {'W', 36, 1, {3}}, {'W', 46, 1, {90}}};
    EXPECT_EQ(j.link.Writes(), expected);
}

TEST(RouteplanJobs, PointsOutsideOneToSixteenAreRefusedBeforeAnyRequest) {
    for (int point : {0, 17, -1}) {
        Jobs j;
        j.motion.point = point;
        EXPECT_EQ(j.Run(CS_GetPositionPointParm), kResultFailure);
        EXPECT_EQ(j.Run(CS_SetPositionPointParm), kResultFailure);
        EXPECT_TRUE(j.link.log.empty()) << point;
    }
}

TEST(RouteplanJobs, ReadAllFillsTheTableFromTheScatteredSpeedBlocks) {
    Jobs j;
    ASSERT_EQ(j.link.state.WriteRegisters(119, {808}), drivesim::kNoException);
    ASSERT_EQ(j.link.state.WriteRegisters(720, {909}), drivesim::kNoException);
    ASSERT_EQ(j.link.state.WriteRegisters(200 + 2 * 15, {0xFFFF, 0xFFFF}), drivesim::kNoException);
    ASSERT_EQ(j.link.state.WriteRegisters(1221, {33}), drivesim::kNoException);
    EXPECT_EQ(j.Run(CS_ReadAllParms), kResultSuccess);
    const RouteplanValues& read = j.jobs.values;
    EXPECT_EQ((std::array{read.points[7].speed, read.points[8].speed, read.points[15].position,
                          read.diCombineDelay}),
              (std::array{808, 909, -1, 33}));
    EXPECT_EQ(j.jobs.progress, kReadSteps);
    EXPECT_EQ(j.link.log.front().op, 'I');
}

TEST(RouteplanJobs, TransferAllWritesInOrderAndEndsWithTakeOver) {
    Jobs j;
    for (int p = 0; p < kPoints; ++p)
        j.jobs.values.points[p].speed = 100 + p + 1;
    EXPECT_EQ(j.Run(CS_TransAllParms), kResultSuccess);
    const auto writes = j.link.Writes();
    std::vector<int> starts;
    for (const LoggedRequest& w : writes)
        starts.push_back(w.start);
    const std::vector<int> expected = {83,   200,  116,  720,  87,   1200, 1201, 1202,
                                       1203, 1204, 1205, 1206, 1207, 1208, 1209, 1215,
                                       1216, 1217, 1218, 1219, 1220, 1221, 129};
    EXPECT_EQ(starts, expected);
    EXPECT_EQ(writes[0].words, (std::vector<std::uint16_t>{101, 102, 103, 104}));
    EXPECT_EQ(writes[2].words, (std::vector<std::uint16_t>{105, 106, 107, 108}));
    EXPECT_EQ(writes[3].words.front(), 109);
    EXPECT_EQ(writes.back().words, std::vector<std::uint16_t>{2});
    EXPECT_EQ(j.jobs.progress, kTransferSteps);
}

TEST(RouteplanJobs, FailedReadKeepsWhatWasReadAndLeavesTheRest) {
    Jobs j;
    j.jobs.values.homingSpeed = 77;
    j.link.failAfter = 7; // identity, 70, 75, 939, positions, 83, 116 pass
    EXPECT_EQ(j.Run(CS_ReadAllParms), kResultFailure);
    EXPECT_EQ(j.jobs.values.points[0].speed, 100); // read
    EXPECT_EQ(j.jobs.values.homingSpeed, 77);      // never reached
}

TEST(RouteplanJobs, VersionMismatchAnswersFourBeforeTheTable) {
    Jobs j;
    j.context.Ctx().OfflineIdentity().Set(3, "hq_417");
    EXPECT_EQ(j.Run(CS_ReadAllParms), kResultVersion);
    EXPECT_EQ(j.Run(CS_TransAllParms), kResultVersion);
    EXPECT_TRUE(j.link.Writes().empty());
    EXPECT_EQ(j.context.Ctx().Identity().Get(3), "rk_905");
    j.context.Ctx().OfflineIdentity().Set(3, "RK_905");
    EXPECT_EQ(j.Run(CS_ReadAllParms), kResultSuccess);
}

// On a T5 or W5 the same registers hold the gains and other parameters.
TEST(RouteplanJobs, NoWriteReachesATFiveOrWFive) {
    for (int model : {kModelT5, kModelW5}) {
        Jobs j(model);
        for (int code = CS_ServoOn; code <= CS_TransAllParms; code += 2) {
            j.motion.jogPending = j.motion.stepForward = true;
            j.motion.speedUpdate = 1;
            j.Run(code);
        }
        EXPECT_TRUE(j.link.Writes().empty()) << model;
    }
}

} // namespace
