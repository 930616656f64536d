#include "ParamsCommand.h"

#include "CliCommands.h"
#include "ParmCsv.h"
#include "ParmJobs.h"
#include "ParmLoader.h"
#include "ParmTable.h"
#include "ProductFiles.h"
#include "Profile.h"
#include "ValueFile.h"

#include <filesystem>
#include <memory>

namespace velmora::cli {
namespace {

using Table = knobset::OwnedTable;

int ModelOfTag(const std::string& tag) {
    if (tag.find("t5") != std::string::npos)
        return kModelT5;
    if (tag.find("w5") != std::string::npos)
        return kModelW5;
    if (tag.find("rk") != std::string::npos)
        return kModelT8;
    return -1;
}

std::string FileName(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

// The language id of --language, else of iLanguage in Velmora.ini; English
// when neither names one.
int LanguageOf(const ParamsOptions& p) {
    for (int id : {kLanguageEnglish, kLanguageTraditional, kLanguageSimplified})
        if (p.language == LanguageCode(id))
            return id;
    const std::string ini = SettingsIniOf(p);
    const int configured =
        static_cast<int>(GetPrivateProfileIntA("ComPortSetup", "iLanguage", 0, ini.c_str()));
    return LanguageCode(configured) != nullptr ? configured : kLanguageEnglish;
}

// Loads the table and gives its parameters the names of the user's language.
bool LoadTable(Table& t, int model, const ParamsOptions& p, const std::string& tableId,
               const std::string& tag, std::ostream& err) {
    t.store.iModel = model;
    const knobset::LoadResult r = knobset::LoadParmTable(t.store, model, p.appDir, tableId, tag);
    if (r.status == knobset::LoadResult::kMissingFile)
        err << "velmora-cli: missing product data for table " << tableId << ": " << r.path << "\n";
    else if (!r.ok())
        err << "velmora-cli: " << r.error << "\n";
    if (!r.ok())
        return false;
    std::string error;
    const std::string names = knobset::LanguageDescriptionPath(p.appDir, model, LanguageOf(p));
    if (!knobset::ReloadNames(t.store, model, names, error)) {
        err << "velmora-cli: " << error << "\n";
        return false;
    }
    return true;
}

// Link timing of the program's transfers, from its Velmora.ini.
void ApplyIniTiming(CModbus& link, const std::string& ini) {
    link.SetWaitWriteTime(
        GetPrivateProfileIntA("ComPortSetup", "iSetWaitWriteTime", 1, ini.c_str()));
    link.SetPreCountQueTimes(
        GetPrivateProfileIntA("ComPortSetup", "iSetPreCountQueTimes", 400, ini.c_str()));
    link.writeDelay = GetPrivateProfileIntA("ComPortSetup", "dwPreWaitTime_ms", 0, ini.c_str());
}

// Identifies the drive and loads its table; 0 or an exit status.
int Connect(knobset::RegisterLink& link, Table& t, const ParamsOptions& p, std::ostream& err) {
    knobset::ParmJobs probe(t.store, t.identity);
    if (probe.IdentityCheck(link) != knobset::kResultSuccess) {
        err << "velmora-cli: the drive does not answer (Report Slave ID failed)\n";
        return kExitRequestFailed;
    }
    const std::string tag = t.identity.Get(2);
    const int model = ModelOfTag(tag);
    if (model < 0) {
        err << "velmora-cli: drive model \"" << t.identity.Get(1) << "\" has no parameter table\n";
        return kExitDataError;
    }
    const std::string tableId = model == kModelT8 ? "rk_905" : t.identity.Get(3);
    return LoadTable(t, model, p, tableId, tag, err) ? 0 : kExitDataError;
}

int ReadAll(knobset::RegisterLink& link, Table& t, std::ostream& err) {
    knobset::ParmJobs jobs(t.store, t.identity);
    if (jobs.Run(knobset::kReadAll, link) != knobset::kResultSuccess) {
        err << "velmora-cli: reading the parameters failed\n";
        return kExitRequestFailed;
    }
    return 0;
}

int Write(knobset::RegisterLink& link, Table& t, const ParamsOptions& p, std::ostream& out,
          std::ostream& err) {
    const std::string typeCap = knobset::ReadTypeCap(p.files[0]);
    const int model = t.store.iModel.load();
    if (!knobset::TypeCapMatchesModel(typeCap, model)) {
        err << "velmora-cli: " << p.files[0] << " is for a " << knobset::Upper(typeCap)
            << " drive, the drive is a " << knobset::Upper(t.identity.Get(2)) << "\n";
        return kExitDataError;
    }
    DriveIdentity fileIdentity;
    std::string error;
    if (!knobset::LoadValueFile(t.store, p.files[0], fileIdentity, error, LanguageOf(p))) {
        err << "velmora-cli: " << error << "\n";
        return kExitDataError;
    }
    knobset::ParmJobs jobs(t.store, t.identity);
    if (jobs.Run(knobset::kTransAll, link) != knobset::kResultSuccess) {
        err << "velmora-cli: transferring the parameters failed\n";
        return kExitRequestFailed;
    }
    out << "transferred " << jobs.progressCount.load() << " parameters\n";
    if (p.eeprom) {
        if (jobs.Run(knobset::kWriteEeprom, link) != knobset::kResultSuccess) {
            err << "velmora-cli: saving to EEPROM failed\n";
            return kExitRequestFailed;
        }
        out << "saved to EEPROM\n";
    }
    // Read back into a copy and report every parameter the drive holds differently.
    knobset::TableCopy back(t.store);
    knobset::ParmJobs reader(back.store, back.identity);
    if (reader.ReadAll(link) != knobset::kResultSuccess) {
        err << "velmora-cli: reading back failed\n";
        return kExitRequestFailed;
    }
    int differing = 0;
    for (const ParmRecord& wanted : t.records) {
        const ParmRecord* held = knobset::FindRecord(back.store, wanted.number);
        if (held != nullptr && held->setupValue != wanted.setupValue) {
            out << knobset::ListNumberText(wanted, model) << " " << wanted.name << ": wrote "
                << wanted.setupValue << ", drive holds " << held->setupValue << "\n";
            ++differing;
        }
    }
    if (differing > 0) {
        err << "velmora-cli: " << differing << " parameter(s) differ after the transfer\n";
        return kExitMismatch;
    }
    out << "read back: every parameter matches\n";
    return kExitOk;
}

int Diff(const ParamsOptions& p, std::ostream& out, std::ostream& err) {
    std::string caps[2];
    for (int i = 0; i < 2; ++i) {
        if (!knobset::FileExists(p.files[i])) {
            err << "velmora-cli: cannot read " << p.files[i] << "\n";
            return kExitDataError;
        }
        caps[i] = knobset::ReadTypeCap(p.files[i]);
        if (caps[i].empty())
            caps[i] = "rk905";
    }
    if (caps[0].substr(0, 2) != caps[1].substr(0, 2)) {
        err << "velmora-cli: the files are for different drive models (" << knobset::Upper(caps[0])
            << ", " << knobset::Upper(caps[1]) << ") and cannot be compared\n";
        return kExitDataError;
    }
    const int model = ModelOfTag(caps[0]);
    if (model < 0) {
        err << "velmora-cli: unknown drive model " << knobset::Upper(caps[0]) << "\n";
        return kExitDataError;
    }
    Table t;
    if (!LoadTable(t, model, p, knobset::DefaultTableId(model), knobset::ModelTag(model), err))
        return kExitDataError;
    knobset::TableCopy a(t.store), b(t.store);
    std::string error;
    if (!knobset::LoadValueFile(a.store, p.files[0], a.identity, error, LanguageOf(p)) ||
        !knobset::LoadValueFile(b.store, p.files[1], b.identity, error, LanguageOf(p))) {
        err << "velmora-cli: " << error << "\n";
        return kExitDataError;
    }
    const std::string text =
        knobset::CompareCsv(a.store, a.identity, FileName(p.files[0]), b.store, b.identity,
                            FileName(p.files[1]), FileName(p.out), knobset::Column::kAllCompare);
    if (!knobset::WriteCsv(p.out, text, error)) {
        err << "velmora-cli: " << error << "\n";
        return kExitDataError;
    }
    out << "File: [" << p.out << "] saved.\n";
    return kExitOk;
}

} // namespace

std::string SettingsIniOf(const ParamsOptions& params) {
    return params.settingsIni.empty() ? params.appDir + "/Velmora.ini" : params.settingsIni;
}

bool ParseParamsOptions(const std::vector<std::string>& words, ParamsOptions& p,
                        std::string& error) {
    p = ParamsOptions{};
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i];
        if (w == "--out" || w == "--app-dir") {
            if (i + 1 >= words.size() || words[i + 1].empty()) {
                error = w + " needs a path";
                return false;
            }
            (w == "--out" ? p.out : p.appDir) = words[++i];
        } else if (w == "--language") {
            const bool known =
                i + 1 < words.size() &&
                (words[i + 1] == "ENG" || words[i + 1] == "CHT" || words[i + 1] == "CHS");
            if (!known) {
                error = "--language needs ENG, CHT or CHS";
                return false;
            }
            p.language = words[++i];
        } else if (w == "--eeprom") {
            p.eeprom = true;
        } else if (w.rfind("--", 0) == 0) {
            error = "unknown option " + w + " for params";
            return false;
        } else if (p.action.empty()) {
            p.action = w;
        } else {
            p.files.push_back(w);
        }
    }
    struct Shape {
        const char* action;
        std::size_t files;
        bool needsOut;
    };
    static const Shape kShapes[] = {
        {"read", 0, true}, {"write", 1, false}, {"export", 1, false}, {"diff", 2, true}};
    for (const Shape& s : kShapes) {
        if (p.action != s.action)
            continue;
        if (p.files.size() != s.files || (s.needsOut && p.out.empty())) {
            error = "usage: params " + p.action +
                    (p.action == "read"     ? " --out FILE.tw"
                     : p.action == "write"  ? " FILE.tw [--eeprom]"
                     : p.action == "export" ? " FILE.csv"
                                            : " A.tw B.tw --out FILE.csv");
            return false;
        }
        if (p.eeprom && p.action != "write") {
            error = "--eeprom goes with params write only";
            return false;
        }
        if (p.action == "export")
            p.out = p.files[0];
        return true;
    }
    error = p.action.empty() ? "params needs an action: read, write, export or diff"
                             : "unknown params action " + p.action;
    return false;
}

bool ParamsNeedDrive(const ParamsOptions& params) {
    return params.action != "diff";
}

int ExecuteParams(CModbus& master, const CliOptions& options, const ParamsOptions& p,
                  std::ostream& out, std::ostream& err) {
    if (p.action == "diff")
        return Diff(p, out, err);
    master.SetSlaveAddress(static_cast<std::uint8_t>(options.address));
    master.SetRetryTimes(static_cast<unsigned>(options.retries));
    ApplyIniTiming(master, SettingsIniOf(p));
    knobset::ModbusRegisterLink link(master);
    Table t;
    if (const int status = Connect(link, t, p, err))
        return status;
    if (p.action == "write")
        return Write(link, t, p, out, err);
    if (const int status = ReadAll(link, t, err))
        return status;
    std::string error;
    if (p.action == "read") {
        if (!knobset::SaveValueFile(t.store, p.out, t.identity, error, LanguageOf(p))) {
            err << "velmora-cli: " << error << "\n";
            return kExitDataError;
        }
        out << "read " << t.records.size() << " parameters into " << p.out << "\n";
        return kExitOk;
    }
    const std::string text =
        knobset::PageCsv(t.store, FileName(p.out), &t.identity, knobset::Column::kAllPage, false);
    if (!knobset::WriteCsv(p.out, text, error)) {
        err << "velmora-cli: " << error << "\n";
        return kExitDataError;
    }
    out << "File: [" << p.out << "] saved.\n";
    return kExitOk;
}

} // namespace velmora::cli
