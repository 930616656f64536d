// CommApi.h over POSIX terminals, with in-memory devices (SerialDevice.h)
// served through the same calls.
#include "CommApi.h"

#include "CommHooks.h"
#include "LineSettings.h"
#include "SerialDevice.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <linux/serial.h>
#include <map>
#include <mutex>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <time.h>
#include <unistd.h>

using wirelay::FindSerialDevice;
using wirelay::SerialDevice;

namespace {

// Why the calling thread's last OpenCommDevice failed (errno; 0 after success).
thread_local int gLastOpenError = 0;

constexpr long kMaxReadWaitMs = 1000;
constexpr long kDefaultWriteWaitMs = 1000;

// Time-outs and (for in-memory devices) line settings, per handle.
struct HandleState {
    COMMTIMEOUTS timeouts{MAXDWORD, 0, 0, 0, 0};
    DCB dcb{};
};

std::mutex gStateLock;
std::map<HANDLE, HandleState> gStates;

HandleState StateOf(HANDLE port) {
    std::lock_guard lock(gStateLock);
    auto it = gStates.find(port);
    return it == gStates.end() ? HandleState{} : it->second;
}

template <typename Change>
void ChangeState(HANDLE port, Change change) {
    std::lock_guard lock(gStateLock);
    change(gStates[port]);
}

// The descriptors this library opened, each with the handle it was handed
// out as. Linux gives a closed descriptor's number to the next open file at
// once, so a handle kept by a plug-in after someone closed the port could
// otherwise name a value file or a socket. A handle carries the serial number
// of its opening above the descriptor: it is honoured only while that very
// opening is still open, and any other handle is refused without touching
// the descriptor it may name.
std::mutex gOpenLock;
std::map<int, HANDLE> gOpenPorts;
std::uint32_t gOpenings = 0;

constexpr int kFdBits = 32;

HANDLE RegisterOpened(int fd) {
    std::lock_guard lock(gOpenLock);
    gOpenings = (gOpenings % 0x7FFFFFFFu) + 1; // keeps every handle positive
    const HANDLE handle = static_cast<HANDLE>(gOpenings) << kFdBits | fd;
    gOpenPorts[fd] = handle;
    return handle;
}

// The descriptor of a handle this library opened and has not closed, or -1.
int FdOf(HANDLE port) {
    if (port <= 0)
        return -1;
    const auto fd = static_cast<int>(port & 0x7FFFFFFF);
    std::lock_guard lock(gOpenLock);
    const auto it = gOpenPorts.find(fd);
    return it != gOpenPorts.end() && it->second == port ? fd : -1;
}

// Forgets the handle; its descriptor if it was open, else -1.
int Unregister(HANDLE port) {
    const int fd = FdOf(port);
    if (fd < 0)
        return -1;
    std::lock_guard lock(gOpenLock);
    gOpenPorts.erase(fd);
    return fd;
}

bool IsOpen(HANDLE port) {
    return FindSerialDevice(port) != nullptr || FdOf(port) >= 0;
}

long MsLeft(std::chrono::steady_clock::time_point deadline) {
    using namespace std::chrono;
    return std::max<long>(0, duration_cast<milliseconds>(deadline - steady_clock::now()).count());
}

// Waits until the fd is ready for `events` or the time runs out; false on
// time-out or when the device hung up or failed.
bool WaitReady(int fd, short events, long ms) {
    pollfd p{fd, events, 0};
    int n;
    do {
        n = ::poll(&p, 1, static_cast<int>(ms));
    } while (n < 0 && errno == EINTR);
    if (n <= 0)
        return false;
    return (p.revents & events) != 0 && !(p.revents & (POLLERR | POLLNVAL)) &&
           !((p.revents & POLLHUP) && !(p.revents & POLLIN));
}

long InQueueOfFd(int fd) {
    int waiting = 0;
    // A hung-up terminal (unplugged adapter, closed pty master) fails with EIO.
    if (::ioctl(fd, FIONREAD, &waiting) != 0)
        return -1;
    return waiting;
}

// Requests immediate delivery from drivers that buffer received bytes (FTDI
// adapters hold them up to 16 ms otherwise). Not every driver offers it.
void RequestLowLatency(int fd) {
    serial_struct serial{};
    if (::ioctl(fd, TIOCGSERIAL, &serial) == 0) {
        serial.flags |= ASYNC_LOW_LATENCY;
        (void)::ioctl(fd, TIOCSSERIAL, &serial);
    }
}

long ReadWaitMs(const COMMTIMEOUTS& t, DWORD count) {
    const std::uint64_t total =
        std::uint64_t(t.ReadTotalTimeoutMultiplier) * count + t.ReadTotalTimeoutConstant;
    return static_cast<long>(std::min<std::uint64_t>(total, kMaxReadWaitMs));
}

long WriteWaitMs(const COMMTIMEOUTS& t, DWORD count) {
    const std::uint64_t total =
        std::uint64_t(t.WriteTotalTimeoutMultiplier) * count + t.WriteTotalTimeoutConstant;
    if (total == 0)
        return kDefaultWriteWaitMs + static_cast<long>(count);
    return static_cast<long>(std::min<std::uint64_t>(total, 60000));
}

} // namespace

HANDLE OpenCommDevice(const char* devicePath) {
    gLastOpenError = ENOENT;
    if (devicePath == nullptr || *devicePath == '\0')
        return INVALID_HANDLE_VALUE;
    int fd = wirelay::OpenDeviceFile(devicePath, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        gLastOpenError = errno;
        return INVALID_HANDLE_VALUE;
    }
    if (fd < 3) {
        // 0 means "closed" to every holder of a handle; keep clear of it.
        const int moved = ::fcntl(fd, F_DUPFD_CLOEXEC, 3);
        gLastOpenError = errno;
        ::close(fd);
        if (moved < 0)
            return INVALID_HANDLE_VALUE;
        fd = moved;
    }
    termios t{};
    // Exclusive like a Windows port: the lock keeps out programs that honour
    // it (and root, whom TIOCEXCL does not stop), TIOCEXCL the others.
    if (::tcgetattr(fd, &t) != 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0 ||
        ::ioctl(fd, TIOCEXCL) != 0) {
        gLastOpenError = errno;
        ::close(fd);
        return INVALID_HANDLE_VALUE;
    }
    wirelay::MakeRawLine(t);
    ::tcsetattr(fd, TCSANOW, &t);
    RequestLowLatency(fd);
    gLastOpenError = 0;
    return RegisterOpened(fd);
}

int LastOpenError() {
    return gLastOpenError;
}

bool LastOpenRefusedPermission() {
    return gLastOpenError == EACCES || gLastOpenError == EPERM;
}

BOOL CloseHandle(HANDLE port) {
    if (port < -1) {
        wirelay::DetachSerialDevice(port);
    } else {
        const int fd = Unregister(port);
        if (fd < 0)
            return 0; // not ours, or closed already: its number may be another file's now
        ::ioctl(fd, TIOCNXCL);
        if (::close(fd) != 0)
            return 0;
    }
    std::lock_guard lock(gStateLock);
    gStates.erase(port);
    return 1;
}

BOOL GetCommState(HANDLE port, DCB* dcb) {
    if (dcb == nullptr)
        return 0;
    if (port < -1) {
        if (FindSerialDevice(port) == nullptr)
            return 0;
        *dcb = StateOf(port).dcb;
        dcb->DCBlength = sizeof(DCB);
        return 1;
    }
    termios t{};
    const int fd = FdOf(port);
    if (fd < 0 || ::tcgetattr(fd, &t) != 0)
        return 0;
    *dcb = DCB{};
    wirelay::TermiosToDcb(t, *dcb);
    return 1;
}

BOOL SetCommState(HANDLE port, const DCB* dcb) {
    if (dcb == nullptr)
        return 0;
    if (port < -1) {
        if (FindSerialDevice(port) == nullptr)
            return 0;
        ChangeState(port, [&](HandleState& s) { s.dcb = *dcb; });
        return 1;
    }
    termios t{};
    const int fd = FdOf(port);
    if (fd < 0 || ::tcgetattr(fd, &t) != 0)
        return 0;
    wirelay::MakeRawLine(t);
    if (!wirelay::DcbToTermios(*dcb, t))
        return 0;
    return ::tcsetattr(fd, TCSANOW, &t) == 0 ? 1 : 0;
}

BOOL GetCommConfig(HANDLE port, COMMCONFIG* config, DWORD* size) {
    if (config == nullptr || size == nullptr || *size < sizeof(COMMCONFIG))
        return 0;
    COMMCONFIG filled{};
    if (!GetCommState(port, &filled.dcb))
        return 0;
    filled.dwSize = sizeof(COMMCONFIG);
    filled.wVersion = 1;
    *config = filled;
    *size = sizeof(COMMCONFIG);
    return 1;
}

BOOL SetCommTimeouts(HANDLE port, const COMMTIMEOUTS* timeouts) {
    if (timeouts == nullptr || !IsOpen(port))
        return 0;
    ChangeState(port, [&](HandleState& s) { s.timeouts = *timeouts; });
    return 1;
}

BOOL GetCommTimeouts(HANDLE port, COMMTIMEOUTS* timeouts) {
    if (timeouts == nullptr || !IsOpen(port))
        return 0;
    *timeouts = StateOf(port).timeouts;
    return 1;
}

BOOL PurgeComm(HANDLE port, DWORD flags) {
    const bool rx = flags & PURGE_RXCLEAR;
    const bool tx = flags & PURGE_TXCLEAR;
    if (SerialDevice* device = FindSerialDevice(port)) {
        device->Purge(rx, tx);
        return 1;
    }
    const int fd = FdOf(port);
    if (fd < 0)
        return 0;
    if (!rx && !tx)
        return 1;
    return ::tcflush(fd, rx && tx ? TCIOFLUSH : (rx ? TCIFLUSH : TCOFLUSH)) == 0 ? 1 : 0;
}

BOOL WaitCommInput(HANDLE port, DWORD microseconds) {
    const int fd = FindSerialDevice(port) == nullptr ? FdOf(port) : -1;
    const timespec timeout{static_cast<time_t>(microseconds / 1000000),
                           static_cast<long>(microseconds % 1000000) * 1000};
    if (fd < 0) {
        ::nanosleep(&timeout, nullptr);
        return 0;
    }
    pollfd p{fd, POLLIN, 0};
    return ::ppoll(&p, 1, &timeout, nullptr) > 0 && (p.revents & POLLIN) ? 1 : 0;
}

BOOL ClearCommError(HANDLE port, DWORD* errors, COMSTAT* status) {
    long waiting = -1;
    long outgoing = 0;
    if (SerialDevice* device = FindSerialDevice(port)) {
        waiting = device->InQueue();
    } else if (const int fd = FdOf(port); fd >= 0) {
        waiting = InQueueOfFd(fd);
        int queued = 0;
        if (waiting >= 0 && ::ioctl(fd, TIOCOUTQ, &queued) == 0)
            outgoing = queued;
    }
    if (waiting < 0)
        return 0;
    if (errors != nullptr)
        *errors = 0;
    if (status != nullptr) {
        *status = COMSTAT{};
        status->cbInQue = static_cast<DWORD>(waiting);
        status->cbOutQue = static_cast<DWORD>(outgoing);
    }
    return 1;
}

BOOL ReadFile(HANDLE port, void* buffer, DWORD count, DWORD* done, void* /*overlapped*/) {
    DWORD got = 0;
    if (done != nullptr)
        *done = 0;
    if (buffer == nullptr && count > 0)
        return 0;
    auto* bytes = static_cast<std::uint8_t*>(buffer);
    if (SerialDevice* device = FindSerialDevice(port)) {
        const long n = count == 0 ? 0 : device->Read(bytes, count);
        if (n < 0)
            return 0;
        if (done != nullptr)
            *done = static_cast<DWORD>(n);
        return 1;
    }
    const int fd = FdOf(port);
    if (fd < 0)
        return 0;
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::milliseconds(ReadWaitMs(StateOf(port).timeouts, count));
    while (got < count) {
        const ssize_t n = ::read(fd, bytes + got, count - got);
        if (n > 0) {
            got += static_cast<DWORD>(n);
            continue;
        }
        if (n == 0 || (errno != EAGAIN && errno != EINTR))
            return 0; // end of file: the device went away
        const long left = MsLeft(deadline);
        if (left == 0 || !WaitReady(fd, POLLIN, left))
            break;
    }
    if (done != nullptr)
        *done = got;
    return 1;
}

BOOL WriteFile(HANDLE port, const void* buffer, DWORD count, DWORD* done, void* /*overlapped*/) {
    DWORD sent = 0;
    if (done != nullptr)
        *done = 0;
    if (buffer == nullptr && count > 0)
        return 0;
    const auto* bytes = static_cast<const std::uint8_t*>(buffer);
    if (SerialDevice* device = FindSerialDevice(port)) {
        const long n = device->Write(bytes, count);
        if (n < 0)
            return 0;
        if (done != nullptr)
            *done = static_cast<DWORD>(n);
        return static_cast<DWORD>(n) == count ? 1 : 0;
    }
    const int fd = FdOf(port);
    if (fd < 0)
        return 0;
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::milliseconds(WriteWaitMs(StateOf(port).timeouts, count));
    while (sent < count) {
        const ssize_t n = ::write(fd, bytes + sent, count - sent);
        if (n > 0) {
            sent += static_cast<DWORD>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            break;
        const long left = MsLeft(deadline);
        if (left == 0 || !WaitReady(fd, POLLOUT, left))
            break;
    }
    if (done != nullptr)
        *done = sent;
    return sent == count ? 1 : 0;
}
