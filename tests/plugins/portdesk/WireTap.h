// A tap on the serial line between Portdesk and a simulated drive: Portdesk
// opens the tap's pseudo-terminal like a port, the tap passes every request on
// to the drive's pseudo-terminal with the line settings Portdesk set, and
// passes the drive's bytes back as they come (the drive paces them). It keeps
// every request with the serial format it was sent in.
#pragma once

#include "LineTiming.h"
#include "ModbusSlave.h"
#include "PtyPair.h"

#include <atomic>
#include <cstdint>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <string>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

class WireTap {
public:
    struct Request {
        std::vector<std::uint8_t> bytes;
        int format; // serial-format index as a pty shows it (E,1 looks like N,1), -1 unknown
    };

    explicit WireTap(const std::string& drivePath) {
        drive_ = ::open(drivePath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
        if (drive_ < 0)
            throw std::runtime_error("cannot open the drive's pty");
        thread_ = std::thread([this] { Run(); });
    }
    ~WireTap() {
        stop_ = true;
        thread_.join();
        ::close(drive_);
    }

    // The device Portdesk opens.
    const std::string& PortPath() const { return port_.SlavePath(); }

    std::vector<Request> Requests() const {
        std::lock_guard lock(lock_);
        return requests_;
    }

private:
    // The first format the line settings match (E,1 shows as N,1 on a pty).
    static int FormatOf(const termios& t) {
        for (int format = 0; format < 16; ++format)
            if (drivesim::LineMatches(t, wirelay::GetSerialFormat(format)))
                return format;
        return -1;
    }

    // Length of the request at the start of `pending`, 0 while unknown; what
    // is no request we know is passed on as it is.
    static std::size_t RequestLength(const std::vector<std::uint8_t>& pending) {
        const int length = drivesim::RequestLength(pending.data(), pending.size());
        return length < 0 ? pending.size() : static_cast<std::size_t>(length);
    }

    void Forward(const std::vector<std::uint8_t>& frame) {
        const termios line = port_.Settings();
        {
            std::lock_guard lock(lock_);
            requests_.push_back({frame, FormatOf(line)});
        }
        termios t{};
        ::tcgetattr(drive_, &t);
        ::cfmakeraw(&t);
        ::cfsetispeed(&t, ::cfgetospeed(&line));
        ::cfsetospeed(&t, ::cfgetospeed(&line));
        t.c_cflag = (t.c_cflag & ~(CSTOPB | PARENB | PARODD | CSIZE)) |
                    (line.c_cflag & (CSTOPB | PARENB | PARODD)) | CS8;
        ::tcsetattr(drive_, TCSANOW, &t);
        [[maybe_unused]] auto written = ::write(drive_, frame.data(), frame.size());
    }

    void Run() {
        std::vector<std::uint8_t> pending;
        while (!stop_) {
            pollfd fds[2] = {{port_.MasterFd(), POLLIN, 0}, {drive_, POLLIN, 0}};
            if (::poll(fds, 2, 5) <= 0)
                continue;
            std::uint8_t buffer[512];
            if (fds[0].revents & POLLIN) {
                const ssize_t n = ::read(port_.MasterFd(), buffer, sizeof buffer);
                if (n > 0)
                    pending.insert(pending.end(), buffer, buffer + n);
                for (std::size_t length = RequestLength(pending);
                     length != 0 && pending.size() >= length; length = RequestLength(pending)) {
                    Forward({pending.begin(), pending.begin() + static_cast<long>(length)});
                    pending.erase(pending.begin(), pending.begin() + static_cast<long>(length));
                }
            }
            if (fds[1].revents & POLLIN) {
                const ssize_t n = ::read(drive_, buffer, sizeof buffer);
                if (n > 0)
                    port_.Send({buffer, buffer + n});
            }
        }
    }

    PtyPair port_;
    int drive_ = -1;
    mutable std::mutex lock_;
    std::vector<Request> requests_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};
