// velmora-cli params: batch commissioning with the parameter editor's core.
//   params read --out FILE.tw          read every parameter into a value file
//   params write FILE.tw [--eeprom]    transfer a value file, optionally save
//                                      it in EEPROM, read back and compare
//   params export FILE.csv             read every parameter into a CSV page
//   params diff A.tw B.tw --out FILE.csv   compare two value files (no drive)
// Product data, link timing and the language come from the application
// folder (--app-dir, default the folder of velmora-cli), as for the program;
// --language ENG|CHT|CHS names the language of the parameter names (and the
// code page of value-file texts that are not UTF-8) instead of iLanguage of
// its Velmora.ini.
#pragma once

#include "CliOptions.h"

#include <ostream>
#include <string>
#include <vector>

class CModbus;

namespace velmora::cli {

struct ParamsOptions {
    std::string action; // read, write, export, diff
    std::vector<std::string> files;
    std::string out;
    std::string appDir;      // empty: the folder RunCli is given
    std::string settingsIni; // empty: Velmora.ini of appDir
    std::string language;    // ENG, CHT, CHS; empty: iLanguage of Velmora.ini
    bool eeprom = false;
};

// Parses the words after "params"; false with `error` set on a bad line.
bool ParseParamsOptions(const std::vector<std::string>& words, ParamsOptions& params,
                        std::string& error);
// The Velmora.ini whose link timing, language and port map apply.
std::string SettingsIniOf(const ParamsOptions& params);
// True when the action talks to a drive (all but diff).
bool ParamsNeedDrive(const ParamsOptions& params);

// Runs the action on `link` (an open port; unused by diff).
int ExecuteParams(CModbus& link, const CliOptions& options, const ParamsOptions& params,
                  std::ostream& out, std::ostream& err);

} // namespace velmora::cli
