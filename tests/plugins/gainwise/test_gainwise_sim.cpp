// The tuning cycle against the simulated drive over a pty: the automatic
// procedure (servo on, start, reading the result until the estimate stands)
// finds the machine's true inertia ratio, a start with the servo off is
// refused, and a T5 transfer leaves every other parameter as it was.
#include "GainwiseFixture.h"
#include "GainwiseMailbox.h"
#include "GainwiseSession.h"
#include "SerialFormat.h"
#include "SimTestSupport.h"
#include "TempDir.h"

#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <map>

using namespace gainwise;
using drivesim::DriveState;
using drivesim::SimConfig;
using Sim = drivesim::DriveModel;

namespace {

struct SimRig {
    SimRig(Sim model, double trueRatio) : running(Config(model, trueRatio, dir)) {
        t.parms.iModel = model == Sim::T8 ? kModelT8 : kModelT5;
        master.SetWaitWriteTime(1);
        master.SetPreCountQueTimes(1000);
        opened = master._OpenDevicePort(running.sim.Config().linkPath.c_str(),
                                        wirelay::MakeSerialDcb(3), 1) != 0;
    }
    static SimConfig Config(Sim model, double trueRatio, TempDir& dir) {
        SimConfig config = SimOn(model, 3, 1, dir.File("ttyDrive"));
        config.loadInertiaRatio = trueRatio;
        return config;
    }
    // Cycles and ticks until `done` holds of a completion (at most `seconds`).
    TickNews Until(const std::function<bool(const TickNews&)>& done, double seconds = 5) {
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        while (std::chrono::steady_clock::now() < deadline) {
            cycle.Run(t.ctx);
            const TickNews news = session.Tick();
            if (news.finished != kIdle && done(news))
                return news;
        }
        ADD_FAILURE() << "timed out after " << seconds << " s";
        return {};
    }
    TickNews Complete() {
        return Until([](const TickNews&) { return true; });
    }

    TempDir dir;
    RunningSim running;
    TestContext t;
    CModbus master;
    bool opened = false;
    TuningLinkOn<CModbus> link{master};
    Mailbox mailbox;
    GainwiseCycle cycle{mailbox, link};
    GainwiseSession session{mailbox, t.ctx};
};

TEST(GainwiseSim, TheEstimateFindsTheMachinesRatio) {
    const struct {
        Sim model;
        double truth;
        int pattern; // 0..7
    } cases[] = {
        {Sim::T8, 250, 0},
        {Sim::T8, 800, 2},
        {Sim::T5, 800, 4},
        {Sim::T5, 250, 6},
    };
    for (const auto& c : cases) {
        SimRig rig(c.model, c.truth);
        ASSERT_TRUE(rig.opened);
        ASSERT_TRUE(rig.session.ServoOn());
        ASSERT_TRUE(rig.Complete().success);
        // The drive believes 100 %, whatever the machine is.
        rig.running.sim.WithState([&](DriveState& s) {
            return c.model == Sim::T8 ? s.WriteRegisters(32, {100}) : s.WriteRegisters(8, {100, 0});
        });
        ASSERT_TRUE(rig.session.Start(c.pattern));
        ASSERT_TRUE(rig.Complete().success);
        // The pattern runs for a second or two; 145 reads 0 once it has ended.
        rig.Until(
            [&](const TickNews& n) {
                return n.inertiaRead && rig.running.sim.WithState(
                                            [](DriveState& s) { return s.ToolWord(145) == 0; });
            },
            10);
        const TickNews news = rig.Until([](const TickNews& n) { return n.inertiaRead; });
        EXPECT_NEAR(news.inertiaRatio, c.truth, c.truth * 0.05)
            << "model " << static_cast<int>(c.model) << " pattern " << c.pattern;
    }
}

TEST(GainwiseSim, AStartWithTheServoOffIsRefused) {
    SimRig rig(Sim::T8, 800);
    ASSERT_TRUE(rig.opened);
    ASSERT_TRUE(rig.session.Start(0));
    ASSERT_TRUE(rig.Complete().success) << "the write itself is taken";
    const TickNews news = rig.Complete();
    EXPECT_EQ(news.finished, kReadSingleParm);
    EXPECT_EQ(news.inertiaRatio, 250) << "no estimation ran";
    std::uint16_t pattern = 99;
    rig.running.sim.WithState([&](DriveState& s) { pattern = s.ToolWord(145); });
    EXPECT_EQ(pattern, 0) << "145 reads 0: refused";
}

TEST(GainwiseSim, AT5TransferChangesOnlyTheFiveParameters) {
    SimRig rig(Sim::T5, 250);
    ASSERT_TRUE(rig.opened);
    std::vector<std::pair<int, std::int32_t>> before;
    rig.running.sim.WithState([&](DriveState& s) {
        for (const auto& p : s.Table().Parameters())
            before.emplace_back(p.number, *s.Value(p.number));
    });
    ASSERT_TRUE(rig.session.Transfer({700, 82, 72, 19, 25}));
    ASSERT_TRUE(rig.Complete().success);
    const std::map<int, int> changed{{4, 700}, {100, 82}, {101, 72}, {102, 19}, {104, 25}};
    rig.running.sim.WithState([&](DriveState& s) {
        for (const auto& [number, value] : before) {
            const auto it = changed.find(number);
            EXPECT_EQ(*s.Value(number), it == changed.end() ? value : it->second) << "Pr" << number;
        }
    });
}

} // namespace
