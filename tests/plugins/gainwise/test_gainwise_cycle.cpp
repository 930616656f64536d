// The tuning plug-in's mailbox and cycle: the requests of every command on
// each model (golden), failures and their messages, the link-sharing steps
// of claim 5, and the window's flow with its continuous result reading.
#include "../DriveStateLink.h"
#include "GainwiseMailbox.h"
#include "GainwiseSession.h"
#include "TuningLink.h"

#include <functional>
#include <gtest/gtest.h>
#include <map>

using namespace gainwise;

namespace {

// The context slots the plug-in uses.
struct TestContext {
    TestContext() {
        for (int i = 0; i < kLinkClaims; ++i)
            ctx.slot[kLinkClaim0 + i] = reinterpret_cast<std::intptr_t>(&claims[i]);
        auto point = [this](int slot, auto& value) {
            ctx.slot[slot] = reinterpret_cast<std::intptr_t>(&value);
        };
        point(kLinkFound, linkFound);
        point(kWaitWriteTime, waitWrite);
        point(kPreCountQueTimes, polls);
        point(kDriveTraffic, traffic);
        point(kParmStore, parms);
    }
    SharedContext ctx;
    LinkClaim claims[kLinkClaims];
    SharedInt linkFound{1}, waitWrite{1}, polls{400}, traffic{0};
    ParmStore parms;
};

struct Rig {
    explicit Rig(int model) : link(model) { t.parms.iModel = model; }
    // Runs cycles until the session reports a completion (at most 10).
    TickNews Complete() {
        for (int i = 0; i < 10; ++i) {
            cycle.Run(t.ctx);
            const TickNews news = session.Tick();
            if (news.finished != kIdle)
                return news;
        }
        ADD_FAILURE() << "no completion";
        return {};
    }
    TestContext t;
    DriveStateLink link;
    Mailbox mailbox;
    GainwiseCycle cycle{mailbox, link};
    GainwiseSession session{mailbox, t.ctx};
};

using Log = std::vector<LoggedRequest>;

TEST(GainwiseCycle, RequestsOfEveryCommand) {
    const GainValues gains{300, 12, 9, 62, 253};
    const struct {
        int model;
        const char* what;
        std::function<bool(GainwiseSession&)> step;
        Log requests;
        int message;
    } cases[] = {
        {kModelT8,
         "servo on",
         [](GainwiseSession& s) { return s.ServoOn(); },
         {{'r', 38, 1, {}}, {'w', 38, 1, {0xFF}}},
         0},
        {kModelT8,
         "servo off",
         [](GainwiseSession& s) { return s.ServoOff(); },
         {{'w', 38, 1, {0}}},
         0},
        {kModelT8,
         "servo state",
         [](GainwiseSession& s) {
             s.Open();
             return true;
         },
         {{'r', 38, 1, {}}},
         0},
        {kModelT8,
         "transfer",
         [&gains](GainwiseSession& s) { return s.Transfer(gains); },
         {{'W', 32, 2, {300, 0}},
          {'W', 16, 2, {12, 0}},
          {'W', 17, 2, {9, 0}},
          {'W', 18, 2, {62, 0}},
          {'W', 20, 2, {253, 0}}},
         kMsgTransferSuccess},
        {kModelT5,
         "transfer on a T5",
         [&gains](GainwiseSession& s) { return s.Transfer(gains); },
         {{'W', 8, 2, {300, 0}},
          {'W', 256, 2, {12, 0}},
          {'W', 258, 2, {9, 0}},
          {'W', 260, 2, {62, 0}},
          {'W', 264, 2, {253, 0}}},
         kMsgTransferSuccess},
        {kModelT8,
         "save",
         [](GainwiseSession& s) { return s.SaveEeprom(); },
         {{'W', 129, 1, {1}}, {'R', 129, 1, {}}},
         kMsgEepromSuccess},
        {kModelW5,
         "save on a W5",
         [](GainwiseSession& s) { return s.SaveEeprom(); },
         {{'W', 0x1081, 1, {1}}, {'R', 0x1081, 1, {}}},
         kMsgEepromSuccess},
    };
    for (const auto& c : cases) {
        Rig rig(c.model);
        ASSERT_TRUE(c.step(rig.session)) << c.what;
        const TickNews news = rig.Complete();
        EXPECT_TRUE(news.success) << c.what;
        EXPECT_EQ(news.message, c.message) << c.what;
        EXPECT_EQ(rig.link.log, c.requests) << c.what;
    }
}

TEST(GainwiseCycle, ATransferOnAT5WritesOnlyTheFiveParameters) {
    Rig rig(kModelT5);
    std::vector<std::int32_t> before;
    for (const auto& p : rig.link.state.Table().Parameters())
        before.push_back(*rig.link.state.Value(p.number));
    ASSERT_TRUE(rig.session.Transfer({300, 12, 9, 62, 253}));
    ASSERT_TRUE(rig.Complete().success);
    const std::map<int, int> changed{{4, 300}, {100, 12}, {101, 9}, {102, 62}, {104, 253}};
    const auto& params = rig.link.state.Table().Parameters();
    for (std::size_t i = 0; i < params.size(); ++i) {
        const auto it = changed.find(params[i].number);
        EXPECT_EQ(*rig.link.state.Value(params[i].number),
                  it == changed.end() ? before[i] : it->second)
            << "Pr" << params[i].number;
    }
}

TEST(GainwiseCycle, FailuresAndTheirMessages) {
    const struct {
        const char* what;
        std::function<bool(GainwiseSession&)> step;
        int failFrom, overrideAt, message;
    } cases[] = {
        {"servo on, read fails", [](GainwiseSession& s) { return s.ServoOn(); }, 0, -1,
         kMsgServoOnFailed},
        {"servo off", [](GainwiseSession& s) { return s.ServoOff(); }, 0, -1, kMsgServoOffFailed},
        {"third parameter",
         [](GainwiseSession& s) {
             return s.Transfer({0, 1, 1, 1, 25});
         },
         2, -1, kMsgTransferFailed},
        {"save read back 0", [](GainwiseSession& s) { return s.SaveEeprom(); }, -1, 129,
         kMsgEepromFailed},
        {"start", [](GainwiseSession& s) { return s.Start(2); }, 0, -1, kMsgStartFailed},
        {"servo state",
         [](GainwiseSession& s) {
             s.Open();
             return true;
         },
         0, -1, kMsgServoOnFailed},
    };
    for (const auto& c : cases) {
        Rig rig(kModelT8);
        rig.link.failAfter = c.failFrom;
        if (c.overrideAt >= 0)
            rig.link.overrides = {{c.overrideAt, 0}};
        ASSERT_TRUE(c.step(rig.session)) << c.what;
        const TickNews news = rig.Complete();
        EXPECT_FALSE(news.success) << c.what;
        EXPECT_EQ(news.message, c.message) << c.what;
        if (c.failFrom == 2) {
            EXPECT_EQ(rig.link.log.size(), 3u) << "the transfer stops at the first failure";
        }
    }
}

TEST(GainwiseCycle, ServoAlreadyOnIsSaid) {
    Rig rig(kModelT8);
    rig.link.state.WriteCoils(38, {true});
    ASSERT_TRUE(rig.session.ServoOn());
    const TickNews news = rig.Complete();
    EXPECT_TRUE(news.success && news.servoOn);
    EXPECT_EQ(news.message, kMsgServoOnState);
    EXPECT_EQ(rig.link.log, (Log{{'r', 38, 1, {}}})) << "no write when already on";
}

TEST(GainwiseCycle, StartThenReadsUntilAnotherCommand) {
    Rig rig(kModelT8);
    rig.link.state.WriteCoils(38, {true});
    ASSERT_TRUE(rig.session.Start(4));
    TickNews news = rig.Complete();
    EXPECT_EQ(news.finished, kExecute);
    EXPECT_EQ(rig.link.log.front(), (LoggedRequest{'W', 145, 1, {5}})) << "pattern + 1";
    EXPECT_TRUE(rig.session.Reading());
    for (int read = 0; read < 2; ++read) {
        news = rig.Complete();
        EXPECT_EQ(news.finished, kReadSingleParm);
        EXPECT_TRUE(news.inertiaRead);
        EXPECT_EQ(news.inertiaRatio, 250) << "register 32 as the drive holds it";
    }
    EXPECT_EQ(rig.link.log[1], (LoggedRequest{'R', 145, 1, {}}));
    EXPECT_EQ(rig.link.log[2], (LoggedRequest{'R', 32, 1, {}}));
    // A step asked for while a read is in flight ends the reading and goes
    // out once that read has completed.
    rig.cycle.Run(rig.t.ctx);
    ASSERT_TRUE(rig.session.ServoOff());
    EXPECT_FALSE(rig.session.Reading());
    EXPECT_EQ(rig.Complete().finished, kReadSingleParm);
    const std::size_t sent = rig.link.log.size();
    EXPECT_EQ(rig.Complete().finished, kServoOff);
    EXPECT_EQ(rig.link.log.size(), sent + 1) << "no further reads";
}

TEST(GainwiseCycle, AFailedReadEndsTheReading) {
    Rig rig(kModelT5);
    rig.link.state.WriteCoils(38, {true});
    ASSERT_TRUE(rig.session.Start(0));
    rig.Complete();
    rig.link.failAfter = static_cast<int>(rig.link.log.size());
    const TickNews news = rig.Complete();
    EXPECT_EQ(news.finished, kReadSingleParm);
    EXPECT_EQ(news.message, kMsgReadStatusFailed);
    EXPECT_FALSE(rig.session.Reading());
}

TEST(GainwiseCycle, NothingWithoutADrive) {
    Rig rig(kModelT8);
    rig.t.linkFound = 0;
    EXPECT_FALSE(rig.session.ServoOn());
    EXPECT_FALSE(rig.session.Transfer({}));
    rig.session.Open();
    rig.cycle.Run(rig.t.ctx);
    EXPECT_TRUE(rig.link.log.empty());
}

TEST(GainwiseCycle, AnotherClaimDelaysACommandUntilTheLinkIsFree) {
    Rig rig(kModelT8);
    rig.t.claims[kClaimMonitor].iState = 1;
    ASSERT_TRUE(rig.session.ServoOff());
    EXPECT_FALSE(rig.session.ServoOn()) << "one command at a time";
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(rig.cycle.Run(rig.t.ctx));
    EXPECT_TRUE(rig.link.log.empty());
    EXPECT_EQ(rig.t.claims[kClaimGainwise].iDemand, 1) << "the window's demand is published";

    rig.t.claims[kClaimMonitor].iState = 0;
    EXPECT_TRUE(rig.cycle.Run(rig.t.ctx));
    EXPECT_EQ(rig.link.log, (Log{{'w', 38, 1, {0}}}));
    EXPECT_EQ(rig.t.claims[kClaimGainwise].iState, 1) << "the command held the link";
    const TickNews news = rig.session.Tick();
    EXPECT_EQ(news.finished, kServoOff);
    EXPECT_EQ(rig.t.claims[kClaimGainwise].iState, 2) << "handled: the link is free again";
    rig.cycle.Run(rig.t.ctx);
    EXPECT_EQ(rig.t.claims[kClaimGainwise].iDemand, 0);
}

TEST(GainwiseCycle, YieldsToAnotherToolsDemand) {
    Rig rig(kModelT8);
    rig.t.claims[kClaimGainwise].iState = 1;
    rig.t.claims[kClaimRouteplan].iDemand = 1;
    rig.cycle.Run(rig.t.ctx);
    EXPECT_EQ(rig.t.claims[kClaimGainwise].iState, 0);
    EXPECT_EQ(rig.t.claims[kClaimGainwise].iYieldRequest, 0);
    EXPECT_TRUE(rig.mailbox.TakeYieldNote());
}

} // namespace
