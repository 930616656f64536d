// The drive's end of a pseudo-terminal: the master end it reads and writes, a
// slave fd it holds open (so a program closing and reopening the port never
// finds the pty gone), and an optional symlink to the slave path.
#pragma once

#include <string>

namespace drivesim {

class PtyPort {
public:
    PtyPort() = default;
    ~PtyPort() { Close(); }
    PtyPort(const PtyPort&) = delete;
    PtyPort& operator=(const PtyPort&) = delete;

    // Opens a new pty and, when `linkPath` is not empty, points the link at
    // its slave path (replacing whatever was there). Throws std::system_error.
    void Open(const std::string& linkPath);
    // Closes both ends and removes the link if it still points at this pty:
    // to the program on the other side the drive was unplugged.
    void Close();

    // Waits up to `timeoutMs` until the program on the other side has read
    // everything sent to it, so closing the port next loses no reply.
    void WaitUntilRead(int timeoutMs) const;

    bool IsOpen() const { return master_ >= 0; }
    int MasterFd() const { return master_; }
    const std::string& SlavePath() const { return slavePath_; }

private:
    int master_ = -1;
    int holder_ = -1;
    std::string slavePath_;
    std::string linkPath_;
};

} // namespace drivesim
