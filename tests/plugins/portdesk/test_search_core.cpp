// The search without the window: CommLoop on a shared context filled like the
// host fills it, against pseudo-terminals whose far end the test plays or
// whose open is refused.
#include "../FilledContext.h"
#include "CommApi.h"
#include "CommHooks.h"
#include "DialogService.h"
#include "DriveSearch.h"
#include "FarEnd.h"
#include "PortMapFolder.h"
#include "PortdeskActions.h"
#include "PortdeskCommLoop.h"
#include "PortdeskTexts.h"
#include "SerialFormat.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <tuple>

namespace {

const Bytes kProbe = Hex("01 10 10 90 00 01 02 00 00 AA C1");
const Bytes kProbeEcho = WithCrc({0x01, 0x10, 0x10, 0x90, 0x00, 0x01}); // the write echoed

// Portdesk's search without the window: its application object on a shared
// context filled as the host fills it, and CommLoop run once for a request.
class SearchCore : public testing::Test {
protected:
    SearchCore() { app.link.AttachContext(&ctx); }
    ~SearchCore() override { app.link.modbus.CloseComPort(); }

    // The list selections (0 = "Auto Search"), then "Connect".
    void Search(int port, int id, int format) {
        app.iPortSel = port;
        app.iIdSel = id;
        app.iFormatSel = format;
        app.iCommResult = kResultStarted;
        app.iCommStep = kStepSearchRequested;
        RunCommLoop(app, ctx);
    }
    // The box the window shows for the finished search, from the built-in texts.
    std::optional<SearchNotice> Notice() {
        ModuleHandle module = &kPortdeskStrings;
        return TakeFinishedSearch(app, ctx, CStringResource(&module));
    }

    // Quick polls, so that a search over nobody ends soon.
    static HostConfig QuickPolls() {
        HostConfig config;
        config.waitWriteTime = 1;
        config.preCountQueTimes = 50;
        return config;
    }
    FilledContext host{QuickPolls(), "."};
    SharedContext& ctx = host.Ctx();
    CPortdeskApp app;
};

// A drive that answers the probe but not the identification: the port is
// published all the same, and the handle is a live one.
TEST_F(SearchCore, AutomaticPortSkipsPortsThatDoNotOpenAndAFailedIdentificationKeepsThePort) {
    PtyPair drive;
    PortMapFolder folder({{9, drive.SlavePath()}}, true);
    std::optional<FarEnd> far;
    far.emplace(drive, kProbe.size(), [](std::size_t, const Bytes& request) {
        return request == kProbe ? kProbeEcho : Bytes{};
    });
    Search(0, 1, 4); // every port, address 1, 115200 N,1
    EXPECT_EQ(app.iCommResult.load(), kResultIdentificationFailed) << "no identification answer";
    EXPECT_EQ(ctx.Int(kComPort).load(), 9);
    EXPECT_EQ(ctx.Int(kLinkFound).load(), 1);
    EXPECT_EQ(std::count(app.portFlags.begin() + 1, app.portFlags.begin() + 10, 0), 8);
    EXPECT_EQ(app.portFlags[9], 1) << "only COM9 opened";
    EXPECT_EQ(app.link.searching, 0);
    const auto notice = Notice();
    ASSERT_TRUE(notice.has_value());
    EXPECT_EQ(notice->text, "Read version or model name failed.");
    EXPECT_EQ(notice->style, MessageBoxStyle::kIconError);
    // Portdesk closed its own port after the failure; the one published
    // still reaches the drive's line.
    far.reset();
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(ctx.ComHandle().load(), kProbe.data(), static_cast<DWORD>(kProbe.size()),
                          &written, nullptr));
    EXPECT_EQ(drive.Receive(kProbe.size(), 2000), kProbe);
}

TEST_F(SearchCore, NothingFoundReleasesThePortAndRestoresTheLinkSettings) {
    PtyPair silent;
    PortMapFolder folder({{5, silent.SlavePath()}}, true);
    const LinkWaitSettings before = LinkWaitSettings::From(app.link.modbus);
    Search(5, 1, 0);
    EXPECT_EQ(app.iCommResult.load(), kResultNotFound);
    EXPECT_EQ(ctx.Int(kLinkFound).load(), 0);
    EXPECT_EQ(ctx.ComHandle().load(), 0);
    EXPECT_EQ(app.link.searching, 0);
    const auto notice = Notice(); // the drive's own words, then a line of help
    ASSERT_TRUE(notice.has_value());
    EXPECT_EQ(notice->text, "通訊失敗\nNo drive answered. Check the cable, the COM port, the "
                            "drive's ID (slave address) and that the drive is powered on.");
    EXPECT_EQ(notice->style, MessageBoxStyle::kIconError);
    const LinkWaitSettings after = LinkWaitSettings::From(app.link.modbus);
    EXPECT_EQ(std::tie(after.retryTimes, after.waitWriteTime, after.preCountQueTimes),
              std::tie(before.retryTimes, before.waitWriteTime, before.preCountQueTimes));
    // The port is free for anybody else.
    CUARTComm other;
    EXPECT_EQ(other._OpenComPort(5, wirelay::MakeSerialDcb(3), 1), 1);
    other.CloseComPort();
}

TEST_F(SearchCore, PortThatDisappearsIsNotTriedAgain) {
    PtyPair drive;
    TempDir links;
    const std::string link = links.File("adapter");
    std::filesystem::create_symlink(drive.SlavePath(), link);
    PortMapFolder folder({{5, link}}, true);
    // The adapter is pulled while the first probe is on the line.
    FarEnd far(drive, kProbe.size(), [&](std::size_t, const Bytes&) {
        std::filesystem::remove(link);
        return Bytes{};
    });
    Search(5, 1, 0); // sixteen formats on COM5
    EXPECT_EQ(app.iCommResult.load(), kResultNotFound);
    EXPECT_EQ(app.portFlags[5], 0);
    const std::vector<Bytes> requests = far.Requests();
    ASSERT_FALSE(requests.empty());
    EXPECT_LE(requests.size(), 2u) << "only the first format's attempts reached the line";
    int count = 0;
    int format = 0;
    ASSERT_TRUE(app.TryReadProgress(count, format));
    EXPECT_EQ(count, 16) << "every combination is counted, tried or not";
}

TEST_F(SearchCore, ClosingTheProgramEndsTheSearchAsCancelled) {
    PtyPair silent;
    PortMapFolder folder({{5, silent.SlavePath()}}, true);
    ctx.Int(kCloseRequest) = 1;
    Search(0, 0, 0);
    EXPECT_EQ(app.iCommResult.load(), kResultCancelled);
    EXPECT_EQ(app.iCommStep.load(), kStepSearchFinished);
    int count = 0;
    int format = 0;
    ASSERT_TRUE(app.TryReadProgress(count, format));
    EXPECT_EQ(count, 1);
    EXPECT_EQ(format, 1);
}

// A user outside the group that owns the serial devices: the search opens no
// port because each is refused, and the message says so with the command that
// fixes it. The refusal is injected at the open seam, since root (who may run
// the tests) is never refused.
class PortPermission : public SearchCore {
protected:
    PortPermission() {
        wirelay::SetOpenFunction([this](const char* path, int flags) {
            if (path == refused) {
                errno = EACCES;
                return -1;
            }
            return ::open(path, flags);
        });
    }
    ~PortPermission() override { wirelay::SetOpenFunction(nullptr); }

    std::string refused;
};

TEST_F(PortPermission, OnlyASearchThatOpenedNoPortForLackOfPermissionBlamesIt) {
    // Alone, the refused device is to blame; beside one that opens, it is not.
    for (const bool secondPort : {false, true}) {
        SCOPED_TRACE(secondPort ? "one refused, another opens" : "the only device refused");
        const bool blamesPermission = !secondPort;
        PtyPair first, second;
        std::map<int, std::string> ports{{5, first.SlavePath()}};
        if (secondPort)
            ports[6] = second.SlavePath();
        PortMapFolder folder(ports, true);
        refused = first.SlavePath();
        Search(0, 1, 4); // every COM number, address 1, 115200 N,1
        EXPECT_EQ(app.iCommResult.load(), kResultNotFound);
        EXPECT_EQ(app.permissionDenied, blamesPermission ? first.SlavePath() : "");
        // The message names the refused device (the fix: PortdeskTexts), or the usual help.
        const auto notice = Notice();
        ASSERT_TRUE(notice.has_value());
        EXPECT_EQ(notice->text.find(first.SlavePath()) != std::string::npos, blamesPermission);
        EXPECT_EQ(notice->text.find("No drive answered") == std::string::npos, blamesPermission);
    }
}

} // namespace
