#include "UARTComm.h"

#include "CommApi.h"
#include "CommHooks.h"
#include "PortMap.h"

#include <algorithm>
#include <cstdio>
#include <thread>

namespace {

std::string Format(const char* pattern, const std::string& path) {
    char text[512];
    std::snprintf(text, sizeof text, pattern, path.c_str());
    return text;
}

} // namespace

int CUARTComm::_OpenComPort(int port, const DCB& dcb, int silent) {
    const wirelay::ComPortInfo info = wirelay::ResolveComPort(port);
    return OpenPath(info.devicePath.c_str(), wirelay::ComPortName(port).c_str(), dcb, silent);
}

int CUARTComm::_OpenDevicePort(const char* devicePath, const DCB& dcb, int silent) {
    return OpenPath(devicePath, devicePath != nullptr ? devicePath : "", dcb, silent);
}

int CUARTComm::OpenPath(const char* devicePath, const char* displayName, const DCB& dcb,
                        int silent) {
    if (hPort != 0 && hPort != INVALID_HANDLE_VALUE) {
        if (!silent)
            wirelay::ShowMessageBox(Format("COM port %s already open?", displayName));
        return 0;
    }
    hPort = OpenCommDevice(devicePath);
    if (hPort == INVALID_HANDLE_VALUE) {
        if (!silent)
            wirelay::ShowMessageBox(Format("Connot open Com port:%s, the port used by other "
                                           "program? or port number not exist?",
                                           displayName));
        return 0;
    }
    DCB settings{};
    GetCommState(hPort, &settings);
    settings.BaudRate = dcb.BaudRate;
    settings.ByteSize = dcb.ByteSize;
    settings.Parity = dcb.Parity;
    settings.StopBits = dcb.StopBits;
    SetCommState(hPort, &settings); // a refusal is not reported, as before

    DWORD errors = 0;
    ClearCommError(hPort, &errors, &comStat);
    PurgeComm(hPort, PURGE_RXCLEAR);
    return 1;
}

int CUARTComm::CloseComPort() {
    const int result = CloseHandle(hPort);
    hPort = 0;
    return result;
}

int CUARTComm::UWrite(unsigned char* buffer, unsigned count) {
    if (writeDelay != 0)
        wirelay::SleepMs(writeDelay);
    DWORD done = 0;
    return WriteFile(hPort, buffer, count, &done, nullptr);
}

int CUARTComm::URead(unsigned char* buffer, unsigned count) {
    DWORD done = 0;
    return ReadFile(hPort, buffer, count, &done, nullptr) && done == count ? 1 : 0;
}

bool CUARTComm::QueryInQue(unsigned long& count) {
    COMSTAT status{};
    DWORD errors = 0;
    if (!ClearCommError(hPort, &errors, &status)) {
        count = 0;
        return false;
    }
    count = status.cbInQue;
    return true;
}

bool CUARTComm::AwaitInputStep(unsigned long awaited, std::chrono::microseconds left) {
    unsigned long count = 0;
    if (!QueryInQue(count) || count >= awaited)
        return true;
    constexpr std::chrono::microseconds kSlice{100};
    if (count == 0)
        WaitCommInput(hPort, static_cast<DWORD>(left.count()));
    else
        std::this_thread::sleep_for(std::min(left, kSlice));
    return false;
}

unsigned long CUARTComm::PreCountInQue() {
    unsigned long count = 0;
    QueryInQue(count);
    return count;
}
