// velmora-drive-sim: one simulated servo drive on a pseudo-terminal, until
// SIGTERM or SIGINT.
#include "AppFolders.h"
#include "SerialFormat.h"
#include "SimOptions.h"

#include <csignal>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    using namespace drivesim;
    // The parameter tables beside the program (installed: those of the
    // installation), wherever it is started from; a --data of the command
    // line comes later and wins.
    std::vector<std::string> args{argv + 1, argv + argc};
    const std::string program = velmora::ProgramFolder();
    args.insert(args.begin(), {"--data", velmora::LocateAppFolders(program, program).data});
    const ParsedOptions options = ParseOptions(args);
    if (options.help) {
        std::fputs(UsageText(), stdout);
        return 0;
    }
    if (!options.error.empty()) {
        std::fprintf(stderr, "velmora-drive-sim: %s\n%s", options.error.c_str(), UsageText());
        return 2;
    }
    // Block the stop signals before any thread starts, then wait for them here.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    try {
        DriveSim sim(options.config);
        sim.Start();
        std::printf("%s\n", sim.SlavePath().c_str());
        std::fflush(stdout);
        std::fprintf(stderr, "velmora-drive-sim: %s drive, address %d, %s\n",
                     DriveModelName(options.config.model), options.config.address,
                     wirelay::SerialFormatName(options.config.format));
        int signal = 0;
        sigwait(&stopSignals, &signal);
        sim.Stop();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "velmora-drive-sim: %s\n", e.what());
        return 1;
    }
    return 0;
}
