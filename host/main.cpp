// Velmora: the program. The working folder at start-up is the application
// folder (settings, language tables, pictures); the plug-ins lie beside the
// program.
#include "HostRun.h"

int main(int argc, char** argv) {
    return RunVelmora(argc, argv);
}
