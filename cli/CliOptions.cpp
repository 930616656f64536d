#include "CliOptions.h"

#include "Modbus.h"
#include "PortMap.h"
#include "SerialFormat.h"

#include <cerrno>
#include <cstdlib>

namespace velmora::cli {
namespace {

// Decimal, or hexadecimal after "0x"; the whole text must be the number.
bool ParseNumber(const std::string& text, long low, long high, long& value) {
    if (text.empty())
        return false;
    char* end = nullptr;
    errno = 0;
    const long parsed = std::strtol(text.c_str(), &end, 0);
    if (errno != 0 || *end != '\0' || parsed < low || parsed > high)
        return false;
    value = parsed;
    return true;
}

struct CommandShape {
    const char* name;
    std::size_t minArgs;
    std::size_t maxArgs;
};

constexpr CommandShape kCommands[] = {
    {"ident", 0, 0},
    {"read-regs", 2, 2},
    {"write-regs", 2, 1 + CModbus::kMaxWriteRegisters},
    {"read-coils", 2, 2},
    {"write-coils", 2, 1 + CModbus::kMaxWriteCoils},
    {"params", 1, 8},
    {"scope", 1, 40},
};

// Range of argument `index` of a command: the start address, a count, a
// register value or a coil bit.
bool CheckArgument(const std::string& command, std::size_t index, const std::string& text,
                   unsigned& value, std::string& error) {
    long low = 0, high = 0xFFFF;
    const char* what = "address";
    if (index > 0) {
        if (command == "read-regs") {
            low = 1, high = CModbus::kMaxReadRegisters, what = "register count";
        } else if (command == "read-coils") {
            low = 1, high = CModbus::kMaxReadCoils, what = "coil count";
        } else if (command == "write-coils") {
            high = 1, what = "coil value (0 or 1)";
        } else {
            low = -32768, what = "register value (-32768..65535)";
        }
    }
    long parsed;
    if (!ParseNumber(text, low, high, parsed)) {
        error = "invalid " + std::string(what) + ": \"" + text + "\"";
        return false;
    }
    value = static_cast<unsigned>(parsed) & 0xFFFFu;
    return true;
}

} // namespace

const char* CliUsage() {
    return "usage: velmora-cli [--port N | --device PATH] [--format 0..15] [--address N]\n"
           "                   [--retries N] [--log] COMMAND [ARGS...]\n"
           "       velmora-cli --help\n"
           "commands:\n"
           "  ident                      report slave id\n"
           "  read-regs ADDR COUNT       read holding registers (COUNT 1..125)\n"
           "  write-regs ADDR VALUE...   write registers (1..123 values)\n"
           "  read-coils ADDR COUNT      read coils (COUNT 1..2000)\n"
           "  write-coils ADDR BIT...    write coils (1..1968 bits, 0 or 1)\n"
           "  params read --out FILE.tw  read every parameter into a value file\n"
           "  params write FILE.tw [--eeprom]  transfer a value file, read back, compare\n"
           "  params export FILE.csv     read every parameter into a CSV page\n"
           "  params diff A.tw B.tw --out FILE.csv  compare two value files (no port)\n"
           "  (params take --app-dir DIR: product data and Velmora.ini, default the\n"
           "   program's folder, installed: /usr/share/velmora and the user's\n"
           "   ~/.config/velmora/Velmora.ini; --language ENG|CHT|CHS: language of the names)\n"
           "  scope --signal S [--signal S ...] (--stream SECONDS | --block) [--time-base MS]\n"
           "        [--trigger N:rise|fall|either|above|below:LEVEL] [--delay SAMPLES]\n"
           "        [--timeout SECONDS] [--out FILE.csv] [--app-dir DIR] [--language ENG|CHT|CHS]\n"
           "                             record up to four signals (code or name, S:32 for a\n"
           "                             32-bit one) into CSV: time in ms, one column each\n"
           "formats: index & 3 = 19200/38400/57600/115200 baud,\n"
           "         (index >> 2) & 3 = N,8,1 / N,8,2 / E,8,1 / O,8,1 (default 3)\n";
}

bool ParseCliOptions(const std::vector<std::string>& arguments, CliOptions& options,
                     std::string& error) {
    options = CliOptions{};
    std::size_t i = 0;
    auto value = [&](const std::string& flag, long low, long high, int& into) {
        long parsed;
        if (i + 1 >= arguments.size() || !ParseNumber(arguments[i + 1], low, high, parsed)) {
            error = flag + " needs a number from " + std::to_string(low) + " to " +
                    std::to_string(high);
            return false;
        }
        into = static_cast<int>(parsed);
        ++i;
        return true;
    };
    for (; i < arguments.size() && arguments[i].rfind("--", 0) == 0; ++i) {
        const std::string& flag = arguments[i];
        bool ok = true;
        if (flag == "--port") {
            ok = value(flag, 1, wirelay::kHighestComPort, options.port);
        } else if (flag == "--device") {
            ok = i + 1 < arguments.size() && !arguments[i + 1].empty();
            if (ok)
                options.device = arguments[++i];
            else
                error = "--device needs a path";
        } else if (flag == "--format") {
            ok = value(flag, 0, wirelay::kSerialFormatCount - 1, options.format);
        } else if (flag == "--address") {
            ok = value(flag, 1, 247, options.address);
        } else if (flag == "--retries") {
            ok = value(flag, 1, 100, options.retries);
        } else if (flag == "--log") {
            options.log = true;
        } else if (flag == "--help") {
            options.help = true;
            return true;
        } else {
            error = "unknown option " + flag;
            ok = false;
        }
        if (!ok)
            return false;
    }
    // Comparing value files needs no drive.
    const bool portless =
        i + 1 < arguments.size() && arguments[i] == "params" && arguments[i + 1] == "diff";
    if ((options.port == 0) == options.device.empty() && !(portless && options.port == 0)) {
        error = "give either --port N or --device PATH";
        return false;
    }
    if (i == arguments.size()) {
        error = "no command given";
        return false;
    }
    options.command = arguments[i++];
    const CommandShape* shape = nullptr;
    for (const CommandShape& c : kCommands) {
        if (options.command == c.name)
            shape = &c;
    }
    if (shape == nullptr) {
        error = "unknown command " + options.command;
        return false;
    }
    const std::size_t count = arguments.size() - i;
    if (count < shape->minArgs || count > shape->maxArgs) {
        error = "wrong number of arguments for " + options.command;
        return false;
    }
    if (options.command == "params" || options.command == "scope") {
        options.words.assign(arguments.begin() + static_cast<long>(i), arguments.end());
        return true;
    }
    for (std::size_t k = 0; k < count; ++k) {
        unsigned parsed;
        if (!CheckArgument(options.command, k, arguments[i + k], parsed, error))
            return false;
        options.args.push_back(parsed);
    }
    return true;
}

} // namespace velmora::cli
