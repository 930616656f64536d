// Round trip of a 100-register read against the simulator over a pty, next to
// the wire time of the request and reply (8 + 205 bytes) at the format's baud
// rate: the simulator should add only its modelled turnaround of 1 ms.
#include "DriveSim.h"
#include "LineTiming.h"
#include "ModbusCrc.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

using namespace drivesim;

namespace {

std::string DataDir() {
    if (const char* dir = std::getenv("VELMORA_APP_DIR"))
        return dir;
    return (std::filesystem::canonical("/proc/self/exe").parent_path().parent_path() / "app")
        .string();
}

void ReadHundredRegisters(benchmark::State& state) {
    const int format = static_cast<int>(state.range(0));
    SimConfig config;
    config.model = DriveModel::T5;
    config.format = format;
    config.dataDir = DataDir();
    DriveSim sim(config);
    sim.Start();

    const int fd = ::open(sim.SlavePath().c_str(), O_RDWR | O_NOCTTY);
    termios t{};
    ::tcgetattr(fd, &t);
    ::cfmakeraw(&t);
    const speed_t speed = format == 3 ? B115200 : B19200;
    ::cfsetispeed(&t, speed);
    ::cfsetospeed(&t, speed);
    ::tcsetattr(fd, TCSANOW, &t);

    std::uint8_t request[8] = {1, 3, 0x01, 0x00, 0, 100, 0, 0};
    wirelay::AppendModbusCrc(request, sizeof request);
    std::uint8_t reply[205];
    std::vector<double> times;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (::write(fd, request, sizeof request) != sizeof request) {
            state.SkipWithError("write failed");
            break;
        }
        std::size_t got = 0;
        while (got < sizeof reply) {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, 1000) <= 0)
                break;
            const ssize_t n = ::read(fd, reply + got, sizeof reply - got);
            if (n <= 0)
                break;
            got += static_cast<std::size_t>(n);
        }
        if (got != sizeof reply) {
            state.SkipWithError("no reply");
            break;
        }
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
        times.push_back(seconds * 1000);
    }
    // The mean suffers from the other programs on the machine; the median shows the simulator.
    std::sort(times.begin(), times.end());
    if (!times.empty())
        state.counters["median_ms"] = times[times.size() / 2];
    const auto wire = WireTime(8 + 205, wirelay::GetSerialFormat(format));
    state.counters["wire_ms"] = std::chrono::duration<double, std::milli>(wire).count();
    state.counters["wire_plus_turnaround_ms"] =
        std::chrono::duration<double, std::milli>(wire + kTurnaround).count();
    ::close(fd);
}

} // namespace

BENCHMARK(ReadHundredRegisters)
    ->Arg(3)
    ->Arg(0)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(30);

BENCHMARK_MAIN();
