#include "CliCommands.h"

#include "CommApi.h"
#include "ParamsCommand.h"
#ifdef VELMORA_CLI_SCOPE
#include "ScopeCommand.h"
#endif
#include "PortMap.h"
#include "ReplyTap.h"
#include "SerialFormat.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

namespace velmora::cli {
namespace {

constexpr unsigned kReadCoils = 0x01;
constexpr unsigned kReadRegisters = 0x03;
constexpr unsigned kWriteCoils = 0x0F;
constexpr unsigned kWriteRegisters = 0x10;
constexpr unsigned kReportSlaveId = 0x11;

std::string HexByte(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "%02X", value & 0xFF);
    return text;
}

int Ident(CModbus& link, const ReplyTap& tap, std::ostream& out) {
    char data[256] = {};
    unsigned char capacity = 255;
    unsigned char id = 0, run = 0;
    if (!link.ReportSlaveID(data, &capacity, &id, &run))
        return 0;
    // The request reports no length (the data may hold zero bytes): take it
    // from the byte count of the accepted reply.
    const std::size_t length = tap.Received().at(2) - 2u;
    out << "slave id: 0x" << HexByte(id) << "\n";
    out << "run indicator: 0x" << HexByte(run) << (run == 0xFF ? " (on)" : " (off)") << "\n";
    std::string hex, text;
    for (std::size_t i = 0; i < length; ++i) {
        const auto c = static_cast<unsigned char>(data[i]);
        hex += (i ? " " : "") + HexByte(c);
        text += std::isprint(c) ? static_cast<char>(c) : '.';
    }
    out << "data: " << hex << "\n";
    out << "text: " << text << "\n";
    return 1;
}

} // namespace

int ExecuteCommand(CModbus& link, const CliOptions& options, std::ostream& out, std::ostream& err) {
    ReplyTap tap(link.hPort);
    const HANDLE port = link.hPort;
    link.hPort = tap.Handle();
    link.SetSlaveAddress(static_cast<std::uint8_t>(options.address));
    link.SetRetryTimes(static_cast<unsigned>(options.retries));
    link.monitorEnable = 1;

    const std::vector<unsigned>& a = options.args;
    const auto start = static_cast<unsigned short>(a.empty() ? 0 : a[0]);
    const auto count = static_cast<unsigned short>(a.size() > 1 ? a[1] : 0);
    unsigned function = 0;
    int ok = 0;
    if (options.command == "ident") {
        function = kReportSlaveId;
        ok = Ident(link, tap, out);
    } else if (options.command == "read-regs") {
        function = kReadRegisters;
        std::vector<unsigned short> words(count);
        ok = link.ReadHoldingRegisters(start, count, words.data());
        for (std::size_t i = 0; ok && i < words.size(); ++i)
            out << words[i] << "\n";
    } else if (options.command == "write-regs") {
        function = kWriteRegisters;
        std::vector<unsigned short> words(a.begin() + 1, a.end());
        ok = link.WriteMultipleRegisters(start, static_cast<unsigned short>(words.size()),
                                         words.data());
    } else if (options.command == "read-coils") {
        function = kReadCoils;
        std::vector<unsigned char> bits((count + 7) / 8);
        ok = link.ReadCoils(start, count, bits.data());
        for (unsigned i = 0; ok && i < count; ++i)
            out << ((bits[i / 8] >> (i % 8)) & 1) << "\n";
    } else if (options.command == "write-coils") {
        function = kWriteCoils;
        const std::size_t n = a.size() - 1;
        std::vector<unsigned char> bits((n + 7) / 8);
        for (std::size_t i = 0; i < n; ++i)
            bits[i / 8] |= static_cast<unsigned char>(a[i + 1] << (i % 8));
        ok = link.WriteMultipleCoils(start, static_cast<unsigned short>(n), bits.data());
    }
    if (!ok) {
        // An exception reply to a write is shorter than the echo awaited and
        // is still waiting: take it in, so that the failure names it.
        std::uint8_t rest[256];
        const long waiting = tap.InQueue();
        if (waiting > 0)
            tap.Read(rest, std::min<std::size_t>(static_cast<std::size_t>(waiting), sizeof rest));
    }
    link.hPort = port;

    if (options.log) {
        std::string line;
        while (link.MonitorGetPacket(line))
            out << line << "\n";
    }
    if (!ok) {
        err << "velmora-cli: " << options.command
            << " failed: " << DescribeFailedReply(tap.Received(), options.address, function)
            << "\n";
        return kExitRequestFailed;
    }
    return kExitOk;
}

int RunCli(const CliOptions& options, std::ostream& out, std::ostream& err,
           const std::string& appDir, const std::string& settingsIni) {
    ParamsOptions params;
    params.appDir = appDir;
    params.settingsIni = settingsIni;
#ifdef VELMORA_CLI_SCOPE
    ScopeOptions scope;
    if (options.command == "scope") {
        std::string error;
        if (!ParseScopeOptions(options.words, scope, error)) {
            err << "velmora-cli: " << error << "\n";
            return kExitUsage;
        }
        if (scope.appDir.empty())
            scope.appDir = appDir;
    }
#else
    if (options.command == "scope") {
        err << "velmora-cli: scope: this build has no scope engine\n";
        return kExitUsage;
    }
#endif
    if (options.command == "params") {
        std::string error;
        if (!ParseParamsOptions(options.words, params, error)) {
            err << "velmora-cli: " << error << "\n";
            return kExitUsage;
        }
        if (params.appDir.empty())
            params.appDir = appDir;
        else
            params.settingsIni.clear(); // --app-dir: its own Velmora.ini
        if (!ParamsNeedDrive(params)) {
            CModbus unused;
            return ExecuteParams(unused, options, params, out, err);
        }
    }
    wirelay::SetPortMapFile(SettingsIniOf(params));
    CModbus link;
    const DCB dcb = wirelay::MakeSerialDcb(options.format);
    std::string name = options.device;
    int opened;
    if (!options.device.empty()) {
        opened = link._OpenDevicePort(options.device.c_str(), dcb, 1);
    } else {
        const wirelay::ComPortInfo info = wirelay::ResolveComPort(options.port);
        name = "COM" + std::to_string(options.port) + " (" + info.devicePath + ")";
        opened = link._OpenComPort(options.port, dcb, 1);
    }
    if (!opened) {
        if (LastOpenRefusedPermission())
            err << "velmora-cli: cannot open " << name
                << ": permission denied; add your user to the group dialout with\n"
                   "    sudo usermod -aG dialout $USER\n"
                   "then log out and log in again\n";
        else
            err << "velmora-cli: cannot open " << name
                << ": the port does not exist or another program uses it\n";
        return kExitPortUnavailable;
    }
    link.SetWaitWriteTime(kCliWaitWriteMs);
    link.SetPreCountQueTimes(kCliPolls);
    link.SetRetryInterval(kCliRetryIntervalMs);
    int status;
#ifdef VELMORA_CLI_SCOPE
    if (options.command == "scope")
        status = ExecuteScope(link.hPort, options.port, dcb, options, scope, out, err);
    else
#endif
        status = options.command == "params" ? ExecuteParams(link, options, params, out, err)
                                             : ExecuteCommand(link, options, out, err);
    link.CloseComPort();
    return status;
}

} // namespace velmora::cli
