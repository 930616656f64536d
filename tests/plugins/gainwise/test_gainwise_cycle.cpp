// The tuning plug-in's mailbox and cycle: the requests of every command on
// each model (golden), failures and their messages, the link-sharing steps
// of claim 5, and the window's flow with its continuous result reading.
#include "../DriveStateLink.h"
#include "../FilledContext.h"
#include "GainwiseMailbox.h"
#include "GainwiseSession.h"
#include "TuningLink.h"

#include <gtest/gtest.h>

using namespace gainwise;

namespace {

struct Rig {
    explicit Rig(int model) : link(model) {
        ctx.Parms().iModel = model;
        ctx.Int(kLinkFound) = 1;
    }
    // Runs cycles until the session reports a completion (at most 10).
    TickNews Complete() {
        for (int i = 0; i < 10; ++i) {
            cycle.Run(ctx);
            const TickNews news = session.Tick();
            if (news.finished != kIdle)
                return news;
        }
        ADD_FAILURE() << "no completion";
        return {};
    }
    FilledContext host;
    SharedContext& ctx = host.Ctx();
    DriveStateLink link;
    Mailbox mailbox;
    GainwiseCycle cycle{mailbox, link};
    GainwiseSession session{mailbox, ctx};
};

using Log = std::vector<LoggedRequest>;

// The window's steps, by name.
enum class Step { ServoOn, ServoOff, Open, Transfer, Save, Start };

bool Take(GainwiseSession& s, Step step, const GainValues& gains = {300, 12, 9, 62, 253}) {
    switch (step) {
    case Step::ServoOn:
        return s.ServoOn();
    case Step::ServoOff:
        return s.ServoOff();
    case Step::Open: // reads the servo state
        s.Open();
        return true;
    case Step::Transfer:
        return s.Transfer(gains);
    case Step::Save:
        return s.SaveEeprom();
    case Step::Start:
        return s.Start(2);
    }
    return false;
}

TEST(GainwiseCycle, RequestsOfEveryCommand) {
    const struct {
        int model;
        Step step;
        Log requests;
        int message;
        bool servoWasOn = false;
    } cases[] = {
        {kModelT8, Step::ServoOn, {{'r', 38, 1, {}}, {'w', 38, 1, {0xFF}}}, 0},
        {kModelT8, Step::ServoOn, {{'r', 38, 1, {}}}, kMsgServoOnState, true}, // no second write
        {kModelT8, Step::ServoOff, {{'w', 38, 1, {0}}}, 0},
        {kModelT8, Step::Open, {{'r', 38, 1, {}}}, 0},
        {kModelT8,
         Step::Transfer,
         {{'W', 32, 2, {300, 0}},
          {'W', 16, 2, {12, 0}},
          {'W', 17, 2, {9, 0}},
          {'W', 18, 2, {62, 0}},
          {'W', 20, 2, {253, 0}}},
         kMsgTransferSuccess},
        {kModelT5,
         Step::Transfer,
         {{'W', 8, 2, {300, 0}},
          {'W', 256, 2, {12, 0}},
          {'W', 258, 2, {9, 0}},
          {'W', 260, 2, {62, 0}},
          {'W', 264, 2, {253, 0}}},
         kMsgTransferSuccess},
        {kModelT8, Step::Save, {{'W', 129, 1, {1}}, {'R', 129, 1, {}}}, kMsgEepromSuccess},
        {kModelW5, Step::Save, {{'W', 0x1081, 1, {1}}, {'R', 0x1081, 1, {}}}, kMsgEepromSuccess},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "model " << c.model << " step " << int(c.step));
        Rig rig(c.model);
        if (c.servoWasOn)
            rig.link.state.WriteCoils(38, {true});
        ASSERT_TRUE(Take(rig.session, c.step));
        const TickNews news = rig.Complete();
        EXPECT_TRUE(news.success);
        EXPECT_EQ(news.message, c.message);
        EXPECT_EQ(rig.link.log, c.requests);
    }
}

TEST(GainwiseCycle, FailuresAndTheirMessages) {
    const struct {
        Step step;
        int failFrom, overrideAt, message;
    } cases[] = {
        {Step::ServoOn, 0, -1, kMsgServoOnFailed},   {Step::ServoOff, 0, -1, kMsgServoOffFailed},
        {Step::Transfer, 2, -1, kMsgTransferFailed}, // the third parameter
        {Step::Save, -1, 129, kMsgEepromFailed},     // read back 0
        {Step::Start, 0, -1, kMsgStartFailed},       {Step::Open, 0, -1, kMsgServoOnFailed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.step));
        Rig rig(kModelT8);
        rig.link.failAfter = c.failFrom;
        if (c.overrideAt >= 0)
            rig.link.overrides = {{c.overrideAt, 0}};
        ASSERT_TRUE(Take(rig.session, c.step, {0, 1, 1, 1, 25}));
        const TickNews news = rig.Complete();
        EXPECT_FALSE(news.success);
        EXPECT_EQ(news.message, c.message);
        if (c.failFrom == 2) {
            EXPECT_EQ(rig.link.log.size(), 3u) << "the transfer stops at the first failure";
        }
    }
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
    rig.cycle.Run(rig.ctx);
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
    rig.ctx.Int(kLinkFound) = 0;
    EXPECT_FALSE(rig.session.ServoOn());
    EXPECT_FALSE(rig.session.Transfer({}));
    rig.session.Open();
    rig.cycle.Run(rig.ctx);
    EXPECT_TRUE(rig.link.log.empty());
}

TEST(GainwiseCycle, AnotherClaimDelaysACommandUntilTheLinkIsFree) {
    Rig rig(kModelT8);
    rig.ctx.Claim(kClaimMonitor).iState = 1;
    ASSERT_TRUE(rig.session.ServoOff());
    EXPECT_FALSE(rig.session.ServoOn()) << "one command at a time";
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(rig.cycle.Run(rig.ctx));
    EXPECT_TRUE(rig.link.log.empty());
    EXPECT_EQ(rig.ctx.Claim(kClaimGainwise).iDemand, 1) << "the window's demand is published";

    rig.ctx.Claim(kClaimMonitor).iState = 0;
    EXPECT_TRUE(rig.cycle.Run(rig.ctx));
    EXPECT_EQ(rig.link.log, (Log{{'w', 38, 1, {0}}}));
    EXPECT_EQ(rig.ctx.Claim(kClaimGainwise).iState, 1) << "the command held the link";
    const TickNews news = rig.session.Tick();
    EXPECT_EQ(news.finished, kServoOff);
    EXPECT_EQ(rig.ctx.Claim(kClaimGainwise).iState, 2) << "handled: the link is free again";
    rig.cycle.Run(rig.ctx);
    EXPECT_EQ(rig.ctx.Claim(kClaimGainwise).iDemand, 0);
}

TEST(GainwiseCycle, YieldsToAnotherToolsDemand) {
    Rig rig(kModelT8);
    rig.ctx.Claim(kClaimGainwise).iState = 1;
    rig.ctx.Claim(kClaimRouteplan).iDemand = 1;
    rig.cycle.Run(rig.ctx);
    EXPECT_EQ(rig.ctx.Claim(kClaimGainwise).iState, 0);
    EXPECT_EQ(rig.ctx.Claim(kClaimGainwise).iYieldRequest, 0);
    EXPECT_TRUE(rig.mailbox.TakeYieldNote());
}

} // namespace
