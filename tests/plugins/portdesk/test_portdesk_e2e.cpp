// Portdesk end to end: the real host and plug-in, the port dialog pressed like
// a user would, and a simulated drive on a pseudo-terminal behind a wire tap.
#include "PortdeskHarness.h"

#include <QProgressBar>
#include <QPushButton>
#include <gtest/gtest.h>
#include <tuple>

namespace {

using drivesim::DriveModel;
using Frame = std::vector<std::uint8_t>;

// The probe (register 0x1090 written with 0) and the identification request.
const Frame kProbeTo1 = {0x01, 0x10, 0x10, 0x90, 0x00, 0x01, 0x02, 0x00, 0x00, 0xAA, 0xC1};
const Frame kProbeTo7 = {0x07, 0x10, 0x10, 0x90, 0x00, 0x01, 0x02, 0x00, 0x00, 0x81, 0x61};
const Frame kIdentifyAt1 = {0x01, 0x11, 0xC0, 0x2C};

// Entries of the On-Line lists: 0 is "Auto Search", format f is entry f + 1.
constexpr int kAuto = 0;

// What changes from one probe to the next (`Of` picks it), once per run.
template <class Of>
std::vector<int> ProbeSequence(const std::vector<WireTap::Request>& requests, Of of) {
    std::vector<int> seen;
    for (const WireTap::Request& r : requests)
        if (r.bytes.size() > 1 && r.bytes[1] == 0x10 && (seen.empty() || seen.back() != of(r)))
            seen.push_back(of(r));
    return seen;
}

std::size_t Count(const std::vector<WireTap::Request>& requests, const Frame& frame) {
    return static_cast<std::size_t>(
        std::count_if(requests.begin(), requests.end(),
                      [&](const WireTap::Request& r) { return r.bytes == frame; }));
}

const RecordingDialogs::Box& LastBox(PortdeskHarness& host) {
    return host.Boxes().boxes.back();
}

testing::AssertionResult EditorOpensAndPortdeskCloses(PortdeskHarness& host) {
    if (auto r = WaitProcessingEvents("the editor window",
                                      [&] { return host.Window("Knobset") != nullptr; });
        !r)
        return r;
    return WaitProcessingEvents("Portdesk to close", [&] { return host.View() == nullptr; });
}

TEST(PortdeskSearch, AutomaticFormatTriesTheSixteenFormatsInOrderAndFindsOddParityLast) {
    PortdeskHarness host(Drive(DriveModel::T5, 1, 12)); // 19200 O,1
    ASSERT_TRUE(host.Started());
    host.Connect(kDrivePort, 1, kAuto);
    ASSERT_TRUE(host.WaitForResultBox());

    const auto requests = host.Tap().Requests();
    // On a pty even parity shows as none: E,1 probes appear as N,1 of their rate.
    EXPECT_EQ(ProbeSequence(requests, [](const WireTap::Request& r) { return r.format; }),
              (std::vector<int>{3, 2, 1, 0, 7, 6, 5, 4, 3, 2, 1, 0, 15, 14, 13, 12}));
    const std::size_t probes = Count(requests, kProbeTo1);
    EXPECT_LE(probes, 2u * 16u) << "two attempts per combination at most";
    EXPECT_EQ(requests.back().bytes, kIdentifyAt1);
    EXPECT_EQ(requests.back().format, 12);

    EXPECT_EQ(LastBox(host).caption, "Comm");
    EXPECT_EQ(LastBox(host).style, MessageBoxStyle::kIconInformation);
    EXPECT_EQ(LastBox(host).text,
              "Servo connected.\r\nCOM port: 5\r\nBaudrate:  19200, 8, O, 1\r\nID: 1");
    SharedContext& ctx = host.Ctx();
    DCB published{};
    std::memcpy(&published, ctx.CommDcb().bytes, sizeof published);
    EXPECT_EQ(std::make_tuple(ctx.Int(kLinkFound).load(), ctx.Int(kComPort).load(),
                              ctx.Int(kOnline).load(), published.BaudRate, published.Parity),
              std::make_tuple(1, kDrivePort, 1, 19200u, ODDPARITY));

    EXPECT_TRUE(EditorOpensAndPortdeskCloses(host));
    const int menu = ctx.Int(kMenuEnable).load(); // no linear tools, the request served
    EXPECT_EQ(menu & 0x3F8, 0x330) << std::hex << menu;
}

// The identity of each model and layout is the identification tests' matter;
// here the decided model reaches the host, with the linear tools' menu.
TEST(PortdeskSearch, AutomaticAddressFindsAW5AtAddressSevenAndPublishesItsIdentity) {
    PortdeskHarness host(Drive(DriveModel::W5, 7, 3));
    ASSERT_TRUE(host.Started());
    host.Ctx().Parms().iModel = 3; // something the search must overwrite
    host.Connect(kDrivePort, kAuto, 3 + 1);
    ASSERT_TRUE(host.WaitForResultBox());
    EXPECT_EQ(LastBox(host).text,
              "Servo connected.\r\nCOM port: 5\r\nBaudrate: 115200, 8, N, 1\r\nID: 7");
    EXPECT_EQ(host.Ctx().Int(kSlaveId).load(), 7);
    const auto requests = host.Tap().Requests();
    EXPECT_EQ(ProbeSequence(requests, [](const WireTap::Request& r) { return r.bytes[0]; }),
              (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(Count(requests, kProbeTo7), 1u) << "the drive answered the first attempt";
    EXPECT_EQ(host.Ctx().Parms().iModel.load(), kModelW5);
    EXPECT_NE(host.Ctx().Int(kMenuEnable).load() & MenuEnableFlags::kLinearTools, 0);
}

TEST(PortdeskSearch, CancelAnsweredNoKeepsSearchingAndYesStopsWithResultFive) {
    drivesim::SimConfig silent = Drive(DriveModel::T5, 1, 3);
    silent.faults.silent = true;
    PortdeskHarness host(silent);
    ASSERT_TRUE(host.Started());
    host.Connect(kDrivePort, kAuto, kAuto); // 2048 combinations: minutes
    auto* progress = host.Control<QProgressBar>("comboProgress");
    EXPECT_EQ(progress->maximum(), 2048);
    EXPECT_TRUE(host.Control("formatProgress")->isVisible());
    EXPECT_FALSE(host.Control("mainButton")->isEnabled());
    ASSERT_TRUE(WaitProcessingEvents("two combinations", [&] { return progress->value() >= 2; }));

    host.PressMain(); // "Connect" again while the search runs: the busy message
    EXPECT_EQ(LastBox(host).text, "Now on processing CommSteps: ");

    host.Boxes().answer = kAnswerNo;
    host.PressCancel();
    EXPECT_EQ(LastBox(host).text, "Stop searching com port?");
    EXPECT_EQ(LastBox(host).style, MessageBoxStyle::kYesNo | MessageBoxStyle::kIconQuestion |
                                       MessageBoxStyle::kDefaultButton2);
    const int reached = progress->value();
    ASSERT_TRUE(WaitProcessingEvents("the search to go on after No",
                                     [&] { return progress->value() > reached + 1; }));

    host.Boxes().answer = kAnswerYes;
    host.PressCancel();
    ASSERT_TRUE(host.WaitForResultBox(10));
    EXPECT_EQ(LastBox(host).text, "Com port search has stopped");
    EXPECT_EQ(LastBox(host).style, MessageBoxStyle::kIconWarning);
    EXPECT_EQ(host.Ctx().Int(kLinkFound).load(), 0);
    EXPECT_TRUE(host.Control("mainButton")->isEnabled());
    EXPECT_FALSE(progress->isVisible());
    host.PressCancel(); // idle again: Cancel now closes the window
    EXPECT_TRUE(WaitProcessingEvents("Portdesk to close", [&] { return host.View() == nullptr; }));
    EXPECT_NE(host.Ctx().Int(kMenuEnable).load() & MenuEnableFlags::kConnect, 0);
}

TEST(PortdeskOffline, OkSetsTheChosenVersionOfflineAndOpensTheEditor) {
    const struct {
        int version; // -1: the list as it opens (Rotary(T8) first)
        int model;
        const char *text, *tag, *table, *offlineText;
    } rows[] = {{-1, kModelT8, "rk 905", "rk", "rk_905", "rk 905"},
                {1, kModelW5, "Linear(W5)", "w5", "WhQ_417", ""}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        PortdeskHarness host(std::nullopt);
        ASSERT_TRUE(host.Started());
        auto* main = host.Control<QPushButton>("mainButton");
        EXPECT_EQ(main->text(), "Connect");
        host.Control<QComboBox>("idList")->setCurrentIndex(9);
        host.Control<QTabBar>("tabs")->setCurrentIndex(1);
        EXPECT_EQ(main->text(), "OK");
        EXPECT_EQ(host.Control<QComboBox>("idList")->currentIndex(), 9) << "On-Line choices stay";
        if (row.version >= 0)
            host.Control<QComboBox>("versionList")->setCurrentIndex(row.version);
        host.PressMain();

        SharedContext& ctx = host.Ctx();
        const DriveIdentity& id = ctx.Identity();
        EXPECT_EQ(std::make_tuple(ctx.Int(kOnline).load(), ctx.Int(kVersionSelect).load(),
                                  ctx.Parms().iModel.load(), id.Get(1), id.Get(2), id.Get(3),
                                  ctx.OfflineIdentity().Get(1)),
                  std::make_tuple(0, row.model, row.model, row.text, row.tag, row.table,
                                  row.offlineText));
        EXPECT_TRUE(EditorOpensAndPortdeskCloses(host));
        EXPECT_EQ(ctx.Int(kMenuEnable).load() & 0x3F0, 0x330);
        EXPECT_TRUE(host.Boxes().boxes.empty());
    }
}

} // namespace
