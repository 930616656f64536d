// The velmora-drive-sim program: device path on stdout, link, clean stop on
// SIGTERM, and a clear refusal of broken product data.
#include "SerialClient.h"
#include "SimTestSupport.h"
#include "TempDir.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace {

class Program {
public:
    explicit Program(std::vector<std::string> args) {
        int out[2], err[2];
        if (::pipe(out) != 0 || ::pipe(err) != 0)
            throw std::runtime_error("pipe");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_adddup2(&actions, err[1], 2);
        args.insert(args.begin(), "./velmora-drive-sim");
        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0)
            throw std::runtime_error("spawn");
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        ::close(err[1]);
        out_ = out[0];
        err_ = err[0];
    }
    ~Program() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        ::close(out_);
        ::close(err_);
    }

    std::string Line() {
        std::string line;
        char c;
        while (::read(out_, &c, 1) == 1 && c != '\n')
            line += c;
        return line;
    }
    std::string Errors() {
        std::string text;
        char buffer[512];
        ssize_t n;
        while ((n = ::read(err_, buffer, sizeof buffer)) > 0)
            text.append(buffer, static_cast<std::size_t>(n));
        return text;
    }
    int Stop(int signal) {
        ::kill(pid_, signal);
        return Wait();
    }
    int Wait() {
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t pid_ = -1;
    int out_ = -1, err_ = -1;
};

TEST(SimulatorProgram, ServesUntilSignalledAndRemovesItsLink) {
    TempDir dir;
    const std::string link = dir.File("ttyDrive");
    for (int signal : {SIGTERM, SIGINT}) {
        Program sim({"--model", "w5", "--address", "3", "--format", "4", "--link", link});
        const std::string path = sim.Line();
        EXPECT_EQ(path.rfind("/dev/pts/", 0), 0u) << path;
        EXPECT_EQ(std::filesystem::read_symlink(link), path);
        SerialClient client(link, B19200, 2);
        const auto reply = client.Transact(WithCrc(Hex("03 03 00 08 00 02")), 9);
        EXPECT_EQ(ToHex(reply), ToHex(WithCrc(Hex("03 03 04 00 FA 00 00"))));
        EXPECT_EQ(sim.Stop(signal), 0);
        EXPECT_FALSE(std::filesystem::exists(link));
    }
}

TEST(SimulatorProgram, RefusesBrokenProductDataWithAClearMessage) {
    TempDir dir;
    dir.Write("rk_905.par", "[Pr000]\nAddress=0\nmin=zero\n");
    Program sim({"--model", "t8", "--data", dir.Path().string()});
    EXPECT_EQ(sim.Wait(), 1);
    const std::string errors = sim.Errors();
    EXPECT_NE(errors.find("rk_905.par:3: min is not a 32-bit integer"), std::string::npos)
        << errors;

    Program missing({"--model", "t5", "--data", dir.Path().string()});
    EXPECT_EQ(missing.Wait(), 1);
    EXPECT_NE(missing.Errors().find("hq_417.par: parameter table not found"), std::string::npos);

    Program usage({"--format", "99"});
    EXPECT_EQ(usage.Wait(), 2);
    EXPECT_NE(usage.Errors().find("invalid value for --format"), std::string::npos);
}

} // namespace
