// The guarded call against the drive simulator whose port is unplugged and
// plugged in again under a new device: the next request fails on the dead
// port, the link reopens COM5 (now the new device) and sends it once more.
#include "DriveLink.h"
#include "TempDir.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace {

namespace fs = std::filesystem;

std::string AppDir() {
    // The tests run in the application folder.
    const char* dir = std::getenv("VELMORA_APP_DIR");
    return fs::absolute(dir != nullptr ? dir : ".").string();
}

// Runs the simulator for one test; stops it by its process id.
class Simulator {
public:
    explicit Simulator(const std::vector<std::string>& args) {
        std::vector<char*> argv;
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        if (::posix_spawn(&pid_, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
            pid_ = -1;
    }
    ~Simulator() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    bool Running() const { return pid_ > 0; }

private:
    pid_t pid_ = -1;
};

template <class Predicate>
bool WaitUntil(Predicate done) {
    for (int i = 0; i < 500 && !done(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return done();
}

std::string Target(const fs::path& link) {
    std::error_code ec;
    return fs::read_symlink(link, ec).string();
}

TEST(DriveLinkOnSimulator, UnpluggedPortIsReopenedAndTheRequestRepeatedOnce) {
    const std::string appDir = AppDir();
    const std::string sim = appDir + "/velmora-drive-sim";
    if (!fs::exists(sim))
        GTEST_SKIP() << "velmora-drive-sim is not built";
    TempDir dir;
    const fs::path link = dir.Path() / "drive";
    dir.Write("Velmora.ini", "[PortMap]\nCOM5=" + link.string() + "\n");
    const fs::path old = fs::current_path();
    fs::current_path(dir.Path());

    Simulator drive({sim, "--model", "t5", "--data", appDir, "--link", link.string(),
                     "--unplug-after", "1", "--replug-after", "50"});
    ASSERT_TRUE(drive.Running());
    ASSERT_TRUE(WaitUntil([&] { return !Target(link).empty(); }));
    const std::string firstDevice = Target(link);

    DriveLink driveLink;
    driveLink.port = 5;
    driveLink.dcb.DCBlength = sizeof(DCB);
    driveLink.dcb.BaudRate = CBR_115200;
    driveLink.dcb.ByteSize = 8;
    ASSERT_EQ(driveLink.modbus._OpenComPort(5, driveLink.dcb, 1), 1);
    unsigned short words[2] = {};
    ASSERT_EQ(driveLink.ReadHoldingRegisters(0, 2, words), 1);

    // The simulator closes its port after that reply and opens a new one.
    ASSERT_TRUE(WaitUntil([&] {
        const std::string now = Target(link);
        return !now.empty() && now != firstDevice && fs::exists(now);
    }));
    EXPECT_EQ(driveLink.ReadHoldingRegisters(0, 2, words), 1);
    EXPECT_EQ(driveLink.linkGood, 1);
    driveLink.modbus.CloseComPort();
    fs::current_path(old);
}

} // namespace
