// Portdesk end to end: the real host and plug-in, the port dialog pressed like
// a user would, and a simulated drive on a pseudo-terminal behind a wire tap.
#include "DriveLink.h"
#include "PortdeskHarness.h"

#include <QAbstractItemView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

using drivesim::DriveModel;
using drivesim::IdentityLayout;
using Frame = std::vector<std::uint8_t>;

// The probe (register 0x1090 written with 0) and the identification request.
const Frame kProbeTo1 = {0x01, 0x10, 0x10, 0x90, 0x00, 0x01, 0x02, 0x00, 0x00, 0xAA, 0xC1};
const Frame kProbeTo7 = {0x07, 0x10, 0x10, 0x90, 0x00, 0x01, 0x02, 0x00, 0x00, 0x81, 0x61};
const Frame kIdentifyAt1 = {0x01, 0x11, 0xC0, 0x2C};

// Entries of the On-Line lists: 0 is "Auto Search".
constexpr int kAuto = 0;
int FormatEntry(int format) {
    return format + 1;
}

// The probes' formats in order, one per combination (the attempts of one
// combination share their format).
std::vector<int> ProbeFormats(const std::vector<WireTap::Request>& requests) {
    std::vector<int> formats;
    for (const WireTap::Request& r : requests)
        if (r.bytes.size() > 1 && r.bytes[1] == 0x10 &&
            (formats.empty() || formats.back() != r.format))
            formats.push_back(r.format);
    return formats;
}

std::size_t Count(const std::vector<WireTap::Request>& requests, const Frame& frame) {
    return static_cast<std::size_t>(
        std::count_if(requests.begin(), requests.end(),
                      [&](const WireTap::Request& r) { return r.bytes == frame; }));
}

TEST(PortdeskSearch, AutomaticFormatTriesTheSixteenFormatsInOrderAndFindsOddParityLast) {
    PortdeskHarness host(Drive(DriveModel::T5, 1, 12)); // 19200 O,1
    ASSERT_TRUE(host.Started());
    host.Connect(kDrivePort, 1, kAuto);
    ASSERT_TRUE(host.WaitForResultBox());

    const auto requests = host.Tap().Requests();
    // On a pty even parity shows as none: E,1 probes appear as N,1 of their rate.
    const std::vector<int> expected = {3, 2, 1, 0, 7, 6, 5, 4, 3, 2, 1, 0, 15, 14, 13, 12};
    EXPECT_EQ(ProbeFormats(requests), expected);
    const std::size_t probes = Count(requests, kProbeTo1);
    EXPECT_LE(probes, 2u * 16u) << "two attempts per combination at most";
    EXPECT_GE(probes, 16u);
    EXPECT_EQ(requests.back().bytes, kIdentifyAt1);
    EXPECT_EQ(requests.back().format, 12);

    const RecordingDialogs::Box& box = host.Boxes().boxes.back();
    EXPECT_EQ(box.caption, "Comm");
    EXPECT_EQ(box.style, MessageBoxStyle::kIconInformation);
    EXPECT_EQ(box.text, "Servo connected.\r\nCOM port: 5\r\nBaudrate:  19200, 8, O, 1\r\nID: 1");
    SharedContext& ctx = host.Ctx();
    EXPECT_EQ(ctx.Int(kLinkFound).load(), 1);
    EXPECT_EQ(ctx.Int(kComPort).load(), kDrivePort);
    EXPECT_EQ(ctx.Int(kOnline).load(), 1);
    EXPECT_NE(ctx.ComHandle().load(), 0);
    DCB published{};
    std::memcpy(&published, ctx.CommDcb().bytes, sizeof published);
    EXPECT_EQ(published.BaudRate, 19200u);
    EXPECT_EQ(published.Parity, ODDPARITY);
    EXPECT_EQ(published.ByteSize, 8);

    // The window closes and the parameter editor (its stand-in) opens.
    EXPECT_TRUE(WaitProcessingEvents("the editor window",
                                     [&] { return host.Window("Knobset") != nullptr; }));
    EXPECT_TRUE(WaitProcessingEvents("Portdesk to close", [&] { return host.View() == nullptr; }));
    const int menu = ctx.Int(kMenuEnable).load();
    EXPECT_EQ(menu & 0x330, 0x330) << std::hex << menu;
    EXPECT_EQ(menu & (MenuEnableFlags::kLinearTools | MenuEnableFlags::kOpenEditor), 0);
}

TEST(PortdeskSearch, AutomaticAddressFindsAddressSeven) {
    PortdeskHarness host(Drive(DriveModel::T5, 7, 3));
    ASSERT_TRUE(host.Started());
    host.Connect(kDrivePort, kAuto, FormatEntry(3));
    ASSERT_TRUE(host.WaitForResultBox());
    EXPECT_EQ(host.Ctx().Int(kSlaveId).load(), 7);
    EXPECT_EQ(host.Boxes().boxes.back().text,
              "Servo connected.\r\nCOM port: 5\r\nBaudrate: 115200, 8, N, 1\r\nID: 7");
    const auto requests = host.Tap().Requests();
    std::vector<int> addresses;
    for (const WireTap::Request& r : requests)
        if (r.bytes[1] == 0x10 && (addresses.empty() || addresses.back() != r.bytes[0]))
            addresses.push_back(r.bytes[0]);
    EXPECT_EQ(addresses, (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(Count(requests, kProbeTo7), 1u) << "the drive answered the first attempt";
}

// The identity of each model and layout is the identification tests' matter;
// here it reaches the host: texts, model and the linear tools' menu.
TEST(PortdeskSearch, PublishesTheIdentityAndTheModelOfAW5) {
    PortdeskHarness host(Drive(DriveModel::W5, 1, 3, IdentityLayout::Layout2));
    ASSERT_TRUE(host.Started());
    host.Ctx().Parms().iModel = 3; // something the search must overwrite
    host.Connect(kDrivePort, 1, FormatEntry(3));
    ASSERT_TRUE(host.WaitForResultBox());
    EXPECT_EQ(host.Boxes().boxes.back().style, MessageBoxStyle::kIconInformation);
    DriveIdentity& id = host.Ctx().Identity();
    const char* expected[] = {"W5-750W", "w5-750w", "Whq_417", "vw5a07", nullptr, "7", "1.4.2"};
    for (int field = 1; field <= 7; ++field)
        if (expected[field - 1] != nullptr) {
            EXPECT_EQ(id.Get(field), expected[field - 1]) << field;
        }
    EXPECT_EQ(host.Ctx().Parms().iModel.load(), kModelW5);
    EXPECT_NE(host.Ctx().Int(kMenuEnable).load() & MenuEnableFlags::kLinearTools, 0);
}

TEST(PortdeskSearch, DriveThatIgnoresTheIdentificationGivesResultFourWithThePortPublished) {
    PortdeskHarness host(Drive(DriveModel::T5, 1, 3));
    ASSERT_TRUE(host.Started());
    host.Tap().SwallowFunction(0x11);
    host.Connect(kDrivePort, 1, FormatEntry(3));
    ASSERT_TRUE(host.WaitForResultBox());
    const RecordingDialogs::Box& box = host.Boxes().boxes.back();
    EXPECT_EQ(box.text, "Read version or model name failed.");
    EXPECT_EQ(box.style, MessageBoxStyle::kIconError);
    SharedContext& ctx = host.Ctx();
    EXPECT_EQ(ctx.Int(kLinkFound).load(), 1);
    EXPECT_EQ(ctx.Int(kComPort).load(), kDrivePort);
    // The failed request closed Portdesk's port; the handle published is a
    // live one all the same: a probe through it is answered.
    const HANDLE published = ctx.ComHandle().load();
    ASSERT_GT(published, 0);
    DriveLink other;
    other.modbus.hPort = published;
    other.modbus.SetWaitWriteTime(1);
    other.modbus.SetPreCountQueTimes(200);
    unsigned short zero = 0;
    EXPECT_EQ(other.modbus.WriteMultipleRegisters(0x1090, 1, &zero), 1);
    // Not connected: the window stays, nothing opens.
    EXPECT_NE(host.View(), nullptr);
    EXPECT_EQ(host.Window("Knobset"), nullptr);
}

TEST(PortdeskSearch, NoDriveReportsCommFailureAndNoLink) {
    PortdeskHarness host(std::nullopt);
    ASSERT_TRUE(host.Started());
    host.Connect(kDrivePort, 1, kAuto);
    ASSERT_TRUE(host.WaitForResultBox());
    const RecordingDialogs::Box& box = host.Boxes().boxes.back();
    // The drive's own words, then a line of help in the user's language.
    EXPECT_EQ(box.text,
              "通訊失敗\nNo drive answered. Check the cable, the COM port, the drive's ID "
              "(slave address) and that the drive is powered on.");
    EXPECT_EQ(box.caption, "Comm");
    EXPECT_EQ(box.style, MessageBoxStyle::kIconError);
    EXPECT_EQ(host.Ctx().Int(kLinkFound).load(), 0);
    EXPECT_EQ(host.Ctx().ComHandle().load(), 0);
    // The controls are usable again and the progress bars gone.
    EXPECT_TRUE(host.Control("mainButton")->isEnabled());
    EXPECT_TRUE(host.Control("portList")->isEnabled());
    EXPECT_FALSE(host.Control("comboProgress")->isVisible());
    // Sixteen combinations were counted.
    EXPECT_EQ(host.Control<QProgressBar>("comboProgress")->maximum(), 16);
}

TEST(PortdeskSearch, CancelAnsweredNoKeepsSearchingAndYesStopsWithResultFive) {
    drivesim::SimConfig silent = Drive(DriveModel::T5, 1, 3);
    silent.faults.silent = true;
    PortdeskHarness host(silent);
    ASSERT_TRUE(host.Started());
    host.Connect(kDrivePort, kAuto, kAuto); // 2048 combinations: minutes
    auto* progress = host.Control<QProgressBar>("comboProgress");
    EXPECT_EQ(progress->maximum(), 2048);
    EXPECT_TRUE(progress->isVisible());
    EXPECT_TRUE(host.Control("formatProgress")->isVisible());
    EXPECT_FALSE(host.Control("mainButton")->isEnabled());
    ASSERT_TRUE(WaitProcessingEvents("two combinations", [&] { return progress->value() >= 2; }));

    // "Connect" again while the search runs: the busy message, nothing else.
    host.PressMain();
    ASSERT_FALSE(host.Boxes().boxes.empty());
    EXPECT_EQ(host.Boxes().boxes.back().text, "Now on processing CommSteps: ");
    EXPECT_EQ(host.Boxes().boxes.back().style, MessageBoxStyle::kIconInformation);

    host.Boxes().answer = kAnswerNo;
    host.PressCancel();
    const RecordingDialogs::Box question = host.Boxes().boxes.back();
    EXPECT_EQ(question.text, "Stop searching com port?");
    EXPECT_EQ(question.style, MessageBoxStyle::kYesNo | MessageBoxStyle::kIconQuestion |
                                  MessageBoxStyle::kDefaultButton2);
    const int reached = progress->value();
    ASSERT_TRUE(WaitProcessingEvents("the search to go on after No",
                                     [&] { return progress->value() > reached + 1; }));

    host.Boxes().answer = kAnswerYes;
    host.PressCancel();
    ASSERT_TRUE(host.WaitForResultBox(10));
    EXPECT_EQ(host.Boxes().boxes.back().text, "Com port search has stopped");
    EXPECT_EQ(host.Boxes().boxes.back().style, MessageBoxStyle::kIconWarning);
    EXPECT_LT(progress->value(), 2048);
    EXPECT_EQ(host.Ctx().Int(kLinkFound).load(), 0);
    // Idle again: Cancel now closes the window.
    host.PressCancel();
    EXPECT_TRUE(WaitProcessingEvents("Portdesk to close", [&] { return host.View() == nullptr; }));
    EXPECT_NE(host.Ctx().Int(kMenuEnable).load() & MenuEnableFlags::kConnect, 0);
}

TEST(PortdeskOffline, OkSetsTheChosenVersionOfflineAndOpensTheEditor) {
    PortdeskHarness host(std::nullopt);
    ASSERT_TRUE(host.Started());
    auto* tabs = host.Control<QTabBar>("tabs");
    auto* main = host.Control<QPushButton>("mainButton");
    EXPECT_EQ(main->text(), "Connect");
    host.Control<QComboBox>("idList")->setCurrentIndex(9);
    tabs->setCurrentIndex(1);
    EXPECT_EQ(main->text(), "OK");
    EXPECT_EQ(host.Control<QComboBox>("idList")->currentIndex(), 9) << "On-Line choices stay";
    auto* versions = host.Control<QComboBox>("versionList");
    EXPECT_EQ(versions->currentIndex(), 2) << "Rotary(T8) first";
    versions->setCurrentIndex(1);
    host.PressMain();

    SharedContext& ctx = host.Ctx();
    EXPECT_EQ(ctx.Int(kOnline).load(), 0);
    EXPECT_EQ(ctx.Int(kVersionSelect).load(), 1);
    EXPECT_EQ(ctx.Parms().iModel.load(), kModelW5);
    EXPECT_EQ(ctx.Identity().Get(1), "Linear(W5)");
    EXPECT_EQ(ctx.Identity().Get(2), "w5");
    EXPECT_EQ(ctx.Identity().Get(3), "WhQ_417");
    EXPECT_TRUE(WaitProcessingEvents("the editor window",
                                     [&] { return host.Window("Knobset") != nullptr; }));
    EXPECT_TRUE(WaitProcessingEvents("Portdesk to close", [&] { return host.View() == nullptr; }));
    const int menu = ctx.Int(kMenuEnable).load();
    EXPECT_EQ(menu & 0x3F0, 0x330) << std::hex << menu;
    EXPECT_EQ(host.Boxes().boxes.size(), 0u);
    EXPECT_EQ(host.Ctx().Int(kLinkFound).load(), 0);
}

TEST(PortdeskOffline, RotaryT8SetsBothIdentities) {
    PortdeskHarness host(std::nullopt);
    ASSERT_TRUE(host.Started());
    host.Control<QTabBar>("tabs")->setCurrentIndex(1);
    host.PressMain();
    SharedContext& ctx = host.Ctx();
    EXPECT_EQ(ctx.OfflineIdentity().Get(1), "rk 905");
    EXPECT_EQ(ctx.Identity().Get(1), "rk 905");
    EXPECT_EQ(ctx.Identity().Get(2), "rk");
    EXPECT_EQ(ctx.Identity().Get(3), "rk_905");
    EXPECT_EQ(ctx.Parms().iModel.load(), kModelT8);
}

TEST(PortdeskWindow, ListsTextsAndLanguages) {
    PortdeskHarness host(Drive(DriveModel::T5, 1, 3), 1000);
    ASSERT_TRUE(host.Started());
    QMdiSubWindow* window = host.Window("Setup COM");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->size(), QSize(400, 300));
    auto* ports = host.Control<QComboBox>("portList");
    // "Auto Search", COM 1..256, a port by its path (the entries' texts:
    // test_portdesk_texts.cpp).
    ASSERT_EQ(ports->count(), 258);
    EXPECT_EQ(ports->itemText(0), "Auto Search");
    EXPECT_EQ(ports->itemText(257), "Port by path...");
    EXPECT_EQ(ports->currentIndex(), 0);
    // COM5 leads to the tap's pty: its path is shown beside the number.
    EXPECT_EQ(ports->itemData(kDrivePort, Qt::UserRole + 1).toString().toStdString(),
              host.Tap().PortPath());
    EXPECT_EQ(ports->itemData(kDrivePort, Qt::ToolTipRole).toString().toStdString(),
              host.Tap().PortPath());
    ports->setCurrentIndex(kDrivePort);
    EXPECT_EQ(host.Control<QLabel>("deviceLabel")->text().toStdString(), host.Tap().PortPath());
    EXPECT_TRUE(ports->itemData(200, Qt::UserRole + 1).toString().isEmpty());
    EXPECT_EQ(ports->itemData(200, Qt::ToolTipRole).toString(), "no device");

    auto* formats = host.Control<QComboBox>("formatList");
    EXPECT_EQ(formats->count(), 17);
    auto* ids = host.Control<QComboBox>("idList");
    EXPECT_EQ(ids->count(), 129);
    EXPECT_EQ(ids->currentText(), "ID 1");
    EXPECT_FALSE(host.Control("comboProgress")->isVisible());
    EXPECT_EQ(host.Control<QTabBar>("tabs")->tabText(1), "Off-Line");

    host.Ctx().SetLanguage(kLangHost, 1001); // the Language menu: every module follows
    ASSERT_TRUE(WaitProcessingEvents(
        "Traditional Chinese", [&] { return host.Ctx().LanguageApplied(kLangPortdesk) == 1001; }));
    EXPECT_EQ(host.Control<QPushButton>("mainButton")->text(), "連線");
    EXPECT_EQ(ports->itemText(0), "自動搜尋");
    EXPECT_EQ(window->windowTitle(), "通訊設定");
}

} // namespace
