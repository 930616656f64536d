// Where the suite reads its data and where it writes what it writes.
//
// Run from a build folder (or any folder holding the program with its data),
// everything lies in one folder, as the program has always expected. An
// installed program (<root>/bin/velmora beside <root>/share/velmora) reads its
// language tables, product data and pictures from <root>/share/velmora, loads
// its plug-ins from <root>/lib/velmora and writes Velmora.ini, tick files, the
// key store and last-used file names under the user's settings folder
// ($XDG_CONFIG_HOME/velmora, else ~/.config/velmora). File formats are the same
// either way.
//
// Plug-ins read data through the shared context's application folder and name
// every file they write with SettingsFile().
#pragma once

#include <string>

namespace velmora {

struct AppFolders {
    std::string data;     // read-only: language tables, product data, Image/, shipped defaults
    std::string settings; // written: Velmora.ini, tick files, last-used file names
    std::string plugins;  // the plug-in files
    bool installed = false;
};

// The folder of the running program ("." when it cannot be told).
std::string ProgramFolder();

// The folders of a program lying in `programFolder`: the installation's when
// it is installed, else `localFolder` for data and settings and the program's
// folder for the plug-ins.
AppFolders LocateAppFolders(const std::string& programFolder, const std::string& localFolder);

// $XDG_CONFIG_HOME/velmora when that is an absolute path, else
// $HOME/.config/velmora (else /tmp/velmora). The key store lives here always.
std::string UserSettingsFolder();

// The folder every write goes to: the user's settings folder for an installed
// program, else the working folder ("."), unless SetSettingsFolder named one.
std::string SettingsFolder();
// The program sets this once at start-up (its --app-dir), before any thread
// starts; an empty path goes back to the default.
void SetSettingsFolder(const std::string& folder);

// The path of a file to write, `name` under SettingsFolder(). When that file
// does not exist yet and the installation ships a default of the same name,
// the folder is created and the default copied there first.
std::string SettingsFile(const std::string& name);

// The path of a settings file to read without writing anything: the user's
// copy when it exists, else the shipped default under `dataFolder`.
std::string ReadableSettingsFile(const std::string& name, const std::string& dataFolder);

} // namespace velmora
