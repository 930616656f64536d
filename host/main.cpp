// Velmora: the program. Run from a build, the working folder at start-up is
// the application folder (settings, language tables, pictures) and the
// plug-ins lie beside the program; installed, AppFolders.h says where.
#include "HostRun.h"

int main(int argc, char** argv) {
    return RunVelmora(argc, argv);
}
