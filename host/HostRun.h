// The program's run: options, the application object, the event loop.
//   --app-dir DIR      application folder for data and settings (default: the
//                      working folder; installed: AppFolders.h)
//   --plugin-dir DIR   plug-in folder (default: the program's folder;
//                      installed: <root>/lib/velmora)
//   --screenshot FILE  render the main window to a PNG once started, then quit
//   --about-shot FILE  render the about box to a PNG once started, then quit
//   --menu N           with --screenshot: show top-level menu N dropped down
//   --exit-after MS    quit after MS milliseconds
//   --report-startup   print the time from program start to the first window
//   --connect          press "Connect" in the connection window once it is open
#pragma once

int RunVelmora(int argc, char** argv);
