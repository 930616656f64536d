// velmora-cli: argument parsing, the commands on an in-memory drive, the
// port refusals, and the program's own exit codes.
#include "ChildProcess.h"
#include "CliRun.h"
#include "CommHooks.h"
#include "HexFrames.h"
#include "MemoryPort.h"
#include "PtyPair.h"
#include "SerialFormat.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <sstream>

using namespace velmora::cli;

namespace {

// Each line with the error it must give ("" = accepted). What an accepted
// line means shows in the frames the commands send, below.
TEST(CliOptions, CommandLinesAreCheckedAndExplained) {
    const std::pair<const char*, const char*> cases[] = {
        {"--port 1 read-coils 0 2000", ""},
        {"--port 1 --format 9 read-regs 0 125", ""},
        {"--help", ""},
        {"--help --no-such-option", ""},
        {"ident", "--port N or --device PATH"},
        {"--port 1 --device /dev/x ident", "--port N or --device PATH"},
        {"--port 0 ident", "--port needs a number from 1 to 64"},
        {"--port 1 --format 16 ident", "--format needs"},
        {"--port 1 --address 248 ident", "--address needs"},
        {"--port 1 --retries", "--retries needs"},
        {"--port 1 --device", "--device needs a path"},
        {"--port 1 --speed 9600 ident", "unknown option --speed"},
        {"--port 1", "no command given"},
        {"--port 1 dance", "unknown command dance"},
        {"--port 1 ident 5", "wrong number of arguments"},
        {"--port 1 read-regs 0", "wrong number of arguments"},
        {"--port 1 read-regs 0 126", "invalid register count"},
        {"--port 1 read-regs 0 0", "invalid register count"},
        {"--port 1 read-regs 65536 1", "invalid address"},
        {"--port 1 read-coils 0 2001", "invalid coil count"},
        {"--port 1 write-regs 0 65536", "invalid register value"},
        {"--port 1 write-regs 0 12abc", "invalid register value"},
        {"--port 1 write-coils 0 2", "invalid coil value"},
    };
    for (const auto& [line, message] : cases) {
        CliOptions o;
        std::string error;
        EXPECT_EQ(ParseCliOptions(Split(line), o, error), *message == '\0')
            << line << ": " << error;
        EXPECT_NE(error.find(message), std::string::npos) << line << ": " << error;
        EXPECT_EQ(o.help, std::string(line).find("--help") != std::string::npos) << line;
    }
    std::vector<std::string> tooMany = Split("--port 1 write-regs 0");
    tooMany.insert(tooMany.end(), 124, "1");
    CliOptions o;
    std::string error;
    EXPECT_FALSE(ParseCliOptions(tooMany, o, error));
}

// A drive in memory that answers each request with the bytes a test chooses.
class CliOnMemoryPort : public ::testing::Test {
protected:
    void SetUp() override {
        wirelay::SetSleepFunction([](unsigned) {});
        link.hPort = port.Handle();
        link.SetPreCountQueTimes(3);
        port.SetResponder([this](const std::uint8_t* b, std::size_t n) {
            requests.emplace_back(b, b + n);
            if (!replies.empty()) {
                port.Feed(replies.front());
                replies.erase(replies.begin());
            }
        });
    }
    void TearDown() override { wirelay::SetSleepFunction(nullptr); }

    int Run(const char* line) {
        CliOptions o;
        std::string error;
        EXPECT_TRUE(ParseCliOptions(Split(line), o, error)) << error;
        out.str("");
        err.str("");
        return ExecuteCommand(link, o, out, err);
    }

    wirelay::MemoryPort port;
    CModbus link;
    std::vector<Bytes> requests;
    std::vector<Bytes> replies;
    std::ostringstream out, err;
};

TEST_F(CliOnMemoryPort, ReadsPrintOneValuePerLine) {
    replies = {WithCrc({0x05, 0x03, 0x04, 0x12, 0x34, 0xFF, 0xFF})};
    EXPECT_EQ(Run("--port 1 --address 5 read-regs 0x1090 2"), kExitOk);
    EXPECT_EQ(out.str(), "4660\n65535\n");
    EXPECT_EQ(requests.at(0), WithCrc({0x05, 0x03, 0x10, 0x90, 0x00, 0x02}));

    replies = {WithCrc({0x01, 0x01, 0x02, 0x05, 0x02})};
    EXPECT_EQ(Run("--port 1 read-coils 38 10"), kExitOk);
    EXPECT_EQ(out.str(), "1\n0\n1\n0\n0\n0\n0\n0\n0\n1\n");
}

TEST_F(CliOnMemoryPort, WritesSendTheValues) {
    replies = {WithCrc({0x01, 0x10, 0x10, 0x90, 0x00, 0x02})};
    EXPECT_EQ(Run("--port 1 write-regs 0x1090 1 -2"), kExitOk);
    EXPECT_EQ(requests.at(0),
              WithCrc({0x01, 0x10, 0x10, 0x90, 0x00, 0x02, 0x04, 0x00, 0x01, 0xFF, 0xFE}));

    replies = {WithCrc({0x01, 0x0F, 0x00, 0x26, 0x00, 0x09})};
    EXPECT_EQ(Run("--port 1 write-coils 38 1 0 1 1 0 0 0 0 1"), kExitOk);
    EXPECT_EQ(requests.at(1), WithCrc({0x01, 0x0F, 0x00, 0x26, 0x00, 0x09, 0x02, 0x0D, 0x01}));
    EXPECT_EQ(out.str(), "");
}

TEST_F(CliOnMemoryPort, IdentShowsIdRunIndicatorAndData) {
    replies = {WithCrc({0x01, 0x11, 0x07, 0xB4, 0xFF, 'T', '5', 0x00, 'v', 0x01})};
    EXPECT_EQ(Run("--port 1 ident"), kExitOk);
    EXPECT_EQ(out.str(), "slave id: 0xB4\n"
                         "run indicator: 0xFF (on)\n"
                         "data: 54 35 00 76 01\n"
                         "text: T5.v.\n");
}

TEST_F(CliOnMemoryPort, FailuresSayWhatWentWrong) {
    struct Case {
        const char* line;
        const char* reply; // hex, a CRC appended; "" = silence, "bad crc" = a damaged one
        std::size_t attempts;
        const char* message;
    };
    Bytes badCrc = WithCrc({0x01, 0x03, 0x02, 0x00, 0x01});
    badCrc.back() ^= 1;
    const Case cases[] = {
        {"--retries 2 read-regs 0 1", "", 2, "read-regs failed: no reply from slave 1"},
        {"--retries 1 read-regs 0 1", "bad crc", 1, "has a bad CRC"},
        {"--retries 1 read-regs 0 1", "01 83 02", 1, "refused the request with exception code 2"},
        {"--retries 1 write-coils 0 1", "01 10 00 00 00 01", 1,
         "invalid reply from slave 1 (8 bytes"},
        {"--retries 1 write-coils 0 1", "01 8F 03", 1,
         "write-coils failed: slave 1 refused the request with exception code 3"},
        {"--retries 1 read-regs 0 1", "02 03 02 00 01", 1,
         "reply came from slave 2, not from slave 1"},
    };
    for (const Case& c : cases) {
        const std::string line = std::string("--port 1 ") + c.line, reply = c.reply;
        requests.clear();
        replies.clear();
        if (!reply.empty())
            replies.push_back(reply == "bad crc" ? badCrc : WithCrc(Hex(reply)));
        EXPECT_EQ(Run(line.c_str()), kExitRequestFailed) << line;
        EXPECT_EQ(requests.size(), c.attempts) << line;
        EXPECT_NE(err.str().find(c.message), std::string::npos) << line << ": " << err.str();
    }
}

TEST_F(CliOnMemoryPort, LogPrintsDrainedPackets) {
    port.SetResponder([this](const std::uint8_t*, std::size_t) { port.Feed({0x01, 0x83}); });
    EXPECT_EQ(Run("--port 1 --retries 2 --log read-regs 0 1"), kExitRequestFailed);
    EXPECT_EQ(out.str(), "RReg: 01 83 \nRReg: 01 83 \n");
}

// A port refused for lack of permission is told from one that is missing or
// taken, with the fix named. The refusal is injected at the open seam, since
// root (who may run the tests) is never refused.
TEST(CliPermission, ARefusedPortNamesTheDialoutFix) {
    struct Case {
        const char* what;
        int refusal; // 0: open normally
        bool blamesPermission;
    };
    const Case cases[] = {
        {"refused", EACCES, true},
        {"refused by a security module", EPERM, true},
        {"held by another program", EWOULDBLOCK, false},
    };
    PtyPair device;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        wirelay::SetOpenFunction([&](const char*, int) {
            errno = c.refusal;
            return -1;
        });
        const CliOutcome outcome = RunCliLine({"--device", device.SlavePath()}, "ident");
        wirelay::SetOpenFunction(nullptr);
        EXPECT_EQ(outcome.status, velmora::cli::kExitPortUnavailable);
        EXPECT_EQ(outcome.err.find("sudo usermod -aG dialout $USER") != std::string::npos,
                  c.blamesPermission)
            << outcome.err;
    }
}

// --- the program itself ----------------------------------------------------

CliOutcome RunProgram(const std::string& arguments) {
    const char* app = std::getenv("VELMORA_APP_DIR");
    Program cli(std::string(app ? app : ".") + "/velmora-cli", Split(arguments));
    std::string out = cli.Output(), err = cli.Errors();
    return {cli.Wait(), out, err};
}

TEST(CliProgram, PortsThatCannotBeOpenedAndUsageErrors) {
    CliOutcome missing = RunProgram("--device /dev/velmora-missing ident");
    EXPECT_EQ(missing.status, 3);
    EXPECT_NE(missing.err.find("cannot open /dev/velmora-missing"), std::string::npos);

    CliOutcome usage = RunProgram("--port 1 read-regs");
    EXPECT_EQ(usage.status, 2);
    EXPECT_NE(usage.err.find("usage: velmora-cli"), std::string::npos);

    PtyPair pty;
    CModbus holder;
    ASSERT_EQ(holder._OpenDevicePort(pty.SlavePath().c_str(), wirelay::MakeSerialDcb(0), 1), 1);
    CliOutcome busy = RunProgram("--device " + pty.SlavePath() + " ident");
    EXPECT_EQ(busy.status, 3);
    holder.CloseComPort();
}

} // namespace
