// A pseudo-terminal for tests: the test holds the master end and plays the far
// end of a serial line; the code under test opens the slave path like a port.
#pragma once

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <string>
#include <termios.h>
#include <unistd.h>
#include <vector>

// Reads `fd` until `count` bytes arrived or `timeoutMs` passed (with `quiet`:
// passed without a byte); returns them.
inline std::vector<std::uint8_t> ReadFor(int fd, std::size_t count, int timeoutMs,
                                         bool quiet = false) {
    std::vector<std::uint8_t> bytes;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (bytes.size() < count) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd p{fd, POLLIN, 0};
        if (left.count() <= 0)
            break;
        if (::poll(&p, 1, static_cast<int>(left.count())) <= 0)
            continue;
        std::uint8_t buf[512];
        const ssize_t n = ::read(fd, buf, std::min(sizeof buf, count - bytes.size()));
        if (n <= 0)
            break;
        bytes.insert(bytes.end(), buf, buf + n);
        if (quiet)
            deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    }
    return bytes;
}

class PtyPair {
public:
    PtyPair() {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0)
            throw std::runtime_error("no pseudo-terminal");
        slavePath_ = ::ptsname(master_);
        // Holding a slave end keeps the master readable while the code under
        // test has the port closed.
        holder_ = ::open(slavePath_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        termios raw{};
        ::tcgetattr(holder_, &raw);
        ::cfmakeraw(&raw);
        ::tcsetattr(holder_, TCSANOW, &raw);
    }
    ~PtyPair() {
        CloseMaster();
        if (holder_ >= 0)
            ::close(holder_);
    }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    const std::string& SlavePath() const { return slavePath_; }
    int MasterFd() const { return master_; }

    // Closing the master makes the slave end fail like an unplugged adapter.
    void CloseMaster() {
        if (master_ >= 0)
            ::close(master_);
        master_ = -1;
    }

    void Send(const std::vector<std::uint8_t>& bytes) const {
        std::size_t done = 0;
        while (done < bytes.size()) {
            ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                throw std::runtime_error("pty write failed");
            done += static_cast<std::size_t>(n);
        }
    }

    // Reads until `count` bytes arrived or `timeoutMs` passed; returns them.
    std::vector<std::uint8_t> Receive(std::size_t count, int timeoutMs) const {
        return ReadFor(master_, count, timeoutMs);
    }

    // The line settings the code under test put on its end.
    termios Settings() const {
        termios t{};
        ::tcgetattr(master_, &t);
        return t;
    }

private:
    int master_ = -1;
    int holder_ = -1;
    std::string slavePath_;
};
