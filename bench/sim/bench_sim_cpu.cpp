// Processor time of velmora-drive-sim: idle, and streaming its servo loop's
// signals at 115200 baud (one 0xC6 frame per millisecond). The stream carries
// the frame number, so frames lost or spoilt on the way are counted too.
#include "../BenchAppDir.h"
#include "ModbusCrc.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

constexpr auto kMeasure = std::chrono::seconds(10);

// The simulator as a program of its own, with the device path it prints.
class SimProcess {
public:
    explicit SimProcess(std::vector<std::string> extra) {
        const std::string dir = AppDir();
        std::vector<std::string> args = {dir + "/velmora-drive-sim", "--data", dir};
        args.insert(args.end(), extra.begin(), extra.end());
        int out[2];
        if (::pipe(out) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        char c;
        while (::read(out[0], &c, 1) == 1 && c != '\n')
            device_ += c;
        ::close(out[0]);
    }
    ~SimProcess() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    const std::string& Device() const { return device_; }

    // User plus system time so far, in seconds.
    double CpuSeconds() const {
        std::ifstream stat("/proc/" + std::to_string(pid_) + "/stat");
        std::string text((std::istreambuf_iterator<char>(stat)), {});
        const auto close = text.rfind(')');
        if (close == std::string::npos)
            return 0;
        std::vector<std::string> fields;
        std::string field;
        for (char c : text.substr(close + 2)) {
            if (c == ' ') {
                fields.push_back(field);
                field.clear();
            } else {
                field += c;
            }
        }
        // Fields 14 and 15 of the file (utime, stime) follow the state at index 0.
        return (std::stod(fields.at(11)) + std::stod(fields.at(12))) /
               static_cast<double>(::sysconf(_SC_CLK_TCK));
    }

private:
    pid_t pid_ = -1;
    std::string device_;
};

void Report(benchmark::State& state, const SimProcess& sim, double cpuBefore,
            std::chrono::steady_clock::time_point start) {
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(wall);
    state.counters["cpu_percent"] = 100 * (sim.CpuSeconds() - cpuBefore) / wall;
}

void IdleSimulator(benchmark::State& state) {
    SimProcess sim({"--model", "t5"});
    if (sim.Device().empty()) {
        state.SkipWithError("the simulator did not start");
        return;
    }
    for (auto _ : state) {
        const double before = sim.CpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        std::this_thread::sleep_for(kMeasure);
        Report(state, sim, before, start);
    }
}

void WriteRegister(int fd, std::uint16_t address, std::uint16_t value) {
    std::uint8_t request[11] = {
        1, 0x10, static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address), 0,
        1, 2,    static_cast<std::uint8_t>(value >> 8),   static_cast<std::uint8_t>(value)};
    wirelay::AppendModbusCrc(request, sizeof request);
    [[maybe_unused]] auto written = ::write(fd, request, sizeof request);
    std::this_thread::sleep_for(std::chrono::milliseconds(20)); // the reply is read with the stream
}

// Streams speed, torque, bus voltage and the frame number while the demo
// move runs, reading every byte as a scope would.
void StreamingSimulator(benchmark::State& state) {
    SimProcess sim({"--model", "t5", "--motion", "demo"});
    const int fd = ::open(sim.Device().c_str(), O_RDWR | O_NOCTTY);
    if (fd < 0) {
        state.SkipWithError("the simulator did not start");
        return;
    }
    termios t{};
    ::tcgetattr(fd, &t);
    ::cfmakeraw(&t);
    ::cfsetispeed(&t, B115200);
    ::cfsetospeed(&t, B115200);
    ::tcsetattr(fd, TCSANOW, &t);
    const std::uint16_t codes[] = {1, 4, 6, 90};
    for (std::uint16_t slot = 0; slot < 4; ++slot)
        WriteRegister(fd, static_cast<std::uint16_t>(0xA2 + slot), codes[slot]);
    WriteRegister(fd, 0x90, 1);
    for (auto _ : state) {
        ::tcflush(fd, TCIFLUSH);
        const double before = sim.CpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        std::vector<std::uint8_t> bytes;
        while (std::chrono::steady_clock::now() - start < kMeasure) {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, 100) <= 0)
                continue;
            std::uint8_t buffer[4096];
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n > 0)
                bytes.insert(bytes.end(), buffer, buffer + n);
        }
        Report(state, sim, before, start);
        // Count good frames and, from their numbers, the frames that went missing.
        double good = 0, missing = 0;
        int last = -1;
        for (std::size_t at = 0; at + 10 <= bytes.size();) {
            unsigned sum = 0;
            for (int i = 0; i < 9; ++i)
                sum += bytes[at + i];
            if (bytes[at] != 0xC6 || (sum & 0xFF) != bytes[at + 9]) {
                ++at; // resynchronise on the next header
                continue;
            }
            const int number = bytes[at + 7] << 8 | bytes[at + 8];
            if (last >= 0)
                missing += static_cast<std::uint16_t>(number - last - 1);
            last = number;
            ++good;
            at += 10;
        }
        const double seconds = std::chrono::duration<double>(kMeasure).count();
        state.counters["frames_per_s"] = good / seconds;
        state.counters["received_percent"] = good + missing > 0 ? 100 * good / (good + missing) : 0;
    }
    WriteRegister(fd, 0x90, 0);
    ::close(fd);
}

} // namespace

BENCHMARK(IdleSimulator)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(StreamingSimulator)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);

BENCHMARK_MAIN();
