#include "SimOptions.h"

#include "SerialFormat.h"

#include <charconv>
#include <functional>
#include <map>

namespace drivesim {
namespace {

bool ParseNumber(const std::string& text, long long lo, long long hi, long long& out) {
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return !text.empty() && ec == std::errc() && ptr == text.data() + text.size() && out >= lo &&
           out <= hi;
}

bool ParseHexBytes(const std::string& text, std::vector<std::uint8_t>& out) {
    out.clear();
    if (text.empty() || text.size() % 2 != 0)
        return false;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        unsigned value = 0;
        auto [ptr, ec] = std::from_chars(text.data() + i, text.data() + i + 2, value, 16);
        if (ec != std::errc() || ptr != text.data() + i + 2)
            return false;
        out.push_back(static_cast<std::uint8_t>(value));
    }
    return true;
}

// A 16-bit mask, decimal or with a 0x prefix hexadecimal.
bool ParseMask(const std::string& text, std::uint16_t& out) {
    const bool hex = text.rfind("0x", 0) == 0 || text.rfind("0X", 0) == 0;
    const std::string digits = hex ? text.substr(2) : text;
    unsigned value = 0;
    auto [ptr, ec] =
        std::from_chars(digits.data(), digits.data() + digits.size(), value, hex ? 16 : 10);
    if (digits.empty() || ec != std::errc() || ptr != digits.data() + digits.size() ||
        value > 0xFFFF)
        return false;
    out = static_cast<std::uint16_t>(value);
    return true;
}

} // namespace

const char* UsageText() {
    return "usage: velmora-drive-sim [options]\n"
           "Serves one simulated servo drive on a pseudo-terminal and prints its device path.\n"
           "  --model t5|w5|t8       drive family (default t5)\n"
           "  --address N            Modbus slave address 1..247 (default 1)\n"
           "  --format N             serial format 0..15 (default 3: 115200 N,1)\n"
           "  --layout 2|5           identification layout (5: T8 only; default 2)\n"
           "  --data DIR             folder of the parameter tables (default: the program's;\n"
           "                         installed: /usr/share/velmora)\n"
           "  --state FILE           the drive's EEPROM, kept across restarts\n"
           "  --link PATH            keep a symlink to the device at PATH\n"
           "  --service              also answer the drive service frames\n"
           "  --motion standstill|demo  quiet standstill (default), or servo on and a\n"
           "                         move out and back, over and over\n"
           "  --load-inertia-ratio PCT  true load to motor inertia ratio of the machine,\n"
           "                         whatever Pr.004 says (0..10000, default 250)\n"
           "  --inputs MASK          input pins held on, bit 0 = DI1 (0x prefix for hex)\n"
           "  --alarm CODE           raise this alarm at start (1..255; writing 0 clears it);\n"
           "                         no servo on while it is raised\n"
           "  --gear NUM/DEN         T8 gear ratio registers 75 = NUM, 70 = DEN (1..32767)\n"
           "faults:\n"
           "  --drop-every N         leave every Nth reply unsent\n"
           "  --corrupt-every N      spoil the CRC of every Nth reply\n"
           "  --corrupt-frame-every N  spoil the checksum of every Nth sample frame\n"
           "  --stray-every N        send stray bytes before every Nth reply\n"
           "  --stray-bytes HEX      the stray bytes (default 55AA)\n"
           "  --late MS              answer MS milliseconds late\n"
           "  --silent               answer nothing, send no sample frames\n"
           "  --exception-at A[:C]   exception C (default 4) for requests touching register/coil "
           "A\n"
           "  --unplug-after N       close the port after the Nth reply\n"
           "  --replug-after MS      ... and open a new one MS milliseconds later\n";
}

ParsedOptions ParseOptions(const std::vector<std::string>& args) {
    ParsedOptions result;
    SimConfig& c = result.config;
    FaultSettings& f = c.faults;
    auto number = [&](long long lo, long long hi, auto set) {
        return [lo, hi, set](const std::string& v) {
            long long n = 0;
            if (!ParseNumber(v, lo, hi, n))
                return false;
            set(n);
            return true;
        };
    };
    const std::map<std::string, std::function<bool(const std::string&)>> valued = {
        {"--model",
         [&](const std::string& v) {
             auto m = ParseDriveModel(v);
             if (m)
                 c.model = *m;
             return m.has_value();
         }},
        {"--address",
         number(1, 247, [&](long long n) { c.address = static_cast<std::uint8_t>(n); })},
        {"--format", number(0, wirelay::kSerialFormatCount - 1,
                            [&](long long n) { c.format = static_cast<int>(n); })},
        {"--layout",
         [&](const std::string& v) {
             c.layout = v == "5" ? IdentityLayout::Layout5 : IdentityLayout::Layout2;
             return v == "2" || v == "5";
         }},
        {"--data",
         [&](const std::string& v) {
             c.dataDir = v;
             return !v.empty();
         }},
        {"--state",
         [&](const std::string& v) {
             c.statePath = v;
             return !v.empty();
         }},
        {"--link",
         [&](const std::string& v) {
             c.linkPath = v;
             return !v.empty();
         }},
        {"--motion",
         [&](const std::string& v) {
             c.motion = v == "demo" ? MotionMode::Demo : MotionMode::Standstill;
             return v == "demo" || v == "standstill";
         }},
        {"--load-inertia-ratio",
         number(0, 10000, [&](long long n) { c.loadInertiaRatio = static_cast<double>(n); })},
        {"--inputs", [&](const std::string& v) { return ParseMask(v, c.inputPins); }},
        {"--alarm", number(1, 255, [&](long long n) { c.alarm = static_cast<std::uint16_t>(n); })},
        {"--gear",
         [&](const std::string& v) {
             const auto slash = v.find('/');
             return slash != std::string::npos &&
                    number(1, 32767, [&](long long n) { c.gearNum = static_cast<int>(n); })(
                        v.substr(0, slash)) &&
                    number(1, 32767, [&](long long n) { c.gearDen = static_cast<int>(n); })(
                        v.substr(slash + 1));
         }},
        {"--drop-every",
         number(1, 1 << 30, [&](long long n) { f.dropEvery = static_cast<unsigned>(n); })},
        {"--corrupt-frame-every",
         number(1, 1 << 30, [&](long long n) { f.corruptFrameEvery = static_cast<unsigned>(n); })},
        {"--corrupt-every",
         number(1, 1 << 30, [&](long long n) { f.corruptEvery = static_cast<unsigned>(n); })},
        {"--stray-every",
         number(1, 1 << 30, [&](long long n) { f.strayEvery = static_cast<unsigned>(n); })},
        {"--stray-bytes", [&](const std::string& v) { return ParseHexBytes(v, f.strayBytes); }},
        {"--late", number(0, 60000, [&](long long n) { f.lateMs = static_cast<unsigned>(n); })},
        {"--unplug-after",
         number(1, 1 << 30, [&](long long n) { f.unplugAfter = static_cast<unsigned>(n); })},
        {"--replug-after",
         number(1, 600000, [&](long long n) { f.replugAfterMs = static_cast<unsigned>(n); })},
        {"--exception-at",
         [&](const std::string& v) {
             const auto colon = v.find(':');
             long long a = 0, code = 4;
             if (!ParseNumber(v.substr(0, colon), 0, 65535, a) ||
                 (colon != std::string::npos && !ParseNumber(v.substr(colon + 1), 1, 255, code)))
                 return false;
             f.exceptionAddress = static_cast<int>(a);
             f.exceptionCode = static_cast<std::uint8_t>(code);
             return true;
         }},
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            result.help = true;
        } else if (arg == "--silent") {
            f.silent = true;
        } else if (arg == "--service") {
            c.service = true;
        } else if (auto it = valued.find(arg); it != valued.end()) {
            if (i + 1 >= args.size()) {
                result.error = arg + " needs a value";
                return result;
            }
            if (!it->second(args[++i])) {
                result.error = "invalid value for " + arg + ": " + args[i];
                return result;
            }
        } else {
            result.error = "unknown option: " + arg;
            return result;
        }
    }
    if (c.layout == IdentityLayout::Layout5 && c.model != DriveModel::T8)
        result.error = "--layout 5 identifies a T8 drive; use it with --model t8";
    return result;
}

} // namespace drivesim
