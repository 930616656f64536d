// A plain master end for the simulator tests: opens a device path like a
// serial port, sets the line up, sends requests and times the replies.
#pragma once

#include "PtyPair.h"

#include <chrono>
#include <cstdint>
#include <fcntl.h>
#include <stdexcept>
#include <string>
#include <termios.h>
#include <unistd.h>
#include <vector>

class SerialClient {
public:
    SerialClient(const std::string& path, speed_t speed, int stopBits = 1) {
        fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (fd_ < 0)
            throw std::runtime_error("cannot open " + path);
        termios t{};
        ::tcgetattr(fd_, &t);
        ::cfmakeraw(&t);
        ::cfsetispeed(&t, speed);
        ::cfsetospeed(&t, speed);
        t.c_cflag |= CLOCAL | CREAD;
        if (stopBits == 2)
            t.c_cflag |= CSTOPB;
        ::tcsetattr(fd_, TCSANOW, &t);
        ::tcflush(fd_, TCIOFLUSH);
    }
    ~SerialClient() { ::close(fd_); }
    SerialClient(const SerialClient&) = delete;
    SerialClient& operator=(const SerialClient&) = delete;

    int Fd() const { return fd_; }

    // Sends a request and collects reply bytes until `expected` came or
    // `timeoutMs` passed; `elapsedMs` gets the time from the write to the last byte.
    std::vector<std::uint8_t> Transact(const std::vector<std::uint8_t>& request,
                                       std::size_t expected, int timeoutMs = 1000,
                                       double* elapsedMs = nullptr) {
        using Clock = std::chrono::steady_clock;
        const auto start = Clock::now();
        if (::write(fd_, request.data(), request.size()) != static_cast<ssize_t>(request.size()))
            throw std::runtime_error("write failed");
        std::vector<std::uint8_t> bytes = ReadFor(fd_, expected, timeoutMs);
        if (elapsedMs)
            *elapsedMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        return bytes;
    }

private:
    int fd_ = -1;
};
