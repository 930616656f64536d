#include "PtyPort.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <system_error>
#include <termios.h>
#include <unistd.h>

namespace drivesim {
namespace {

[[noreturn]] void Throw(const char* what) {
    throw std::system_error(errno, std::generic_category(), what);
}

void PointLink(const std::string& linkPath, const std::string& target) {
    // Never replace anything but a link: the path may be a typo for a file.
    struct stat existing {};
    if (::lstat(linkPath.c_str(), &existing) == 0 && !S_ISLNK(existing.st_mode)) {
        errno = EEXIST;
        Throw(("cannot place the link: " + linkPath + " exists and is not a symlink").c_str());
    }
    // Build the new link beside the old one and rename it over, so the path
    // never dangles while a program looks for the drive.
    const std::string temp = linkPath + ".new";
    ::unlink(temp.c_str());
    if (::symlink(target.c_str(), temp.c_str()) != 0)
        Throw("cannot create the link");
    if (::rename(temp.c_str(), linkPath.c_str()) != 0) {
        const int saved = errno;
        ::unlink(temp.c_str());
        errno = saved;
        Throw("cannot place the link");
    }
}

} // namespace

void PtyPort::Open(const std::string& linkPath) {
    Close();
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0)
        Throw("posix_openpt");
    if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
        Close();
        Throw("grantpt/unlockpt");
    }
    char name[PATH_MAX];
    if (::ptsname_r(master_, name, sizeof name) != 0) {
        Close();
        Throw("ptsname");
    }
    slavePath_ = name;
    holder_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (holder_ < 0) {
        Close();
        Throw("open pty slave");
    }
    // Raw bytes, no echo; 9600 baud is none of the drive's formats, so a
    // program that never sets the line up gets no answer, as on a real line.
    termios t{};
    ::tcgetattr(holder_, &t);
    ::cfmakeraw(&t);
    ::cfsetispeed(&t, B9600);
    ::cfsetospeed(&t, B9600);
    ::tcsetattr(holder_, TCSANOW, &t);
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    if (!linkPath.empty()) {
        try {
            PointLink(linkPath, slavePath_);
        } catch (...) {
            Close();
            throw;
        }
        linkPath_ = linkPath;
    }
}

void PtyPort::WaitUntilRead(int timeoutMs) const {
    // Written bytes reach the slave's queue a moment later, so the queue must
    // be seen empty a few times in a row.
    int emptySeen = 0;
    for (int waited = 0; holder_ >= 0 && waited < timeoutMs && emptySeen < 5; ++waited) {
        int pending = 0;
        if (::ioctl(holder_, FIONREAD, &pending) != 0)
            return;
        emptySeen = pending == 0 ? emptySeen + 1 : 0;
        ::usleep(1000);
    }
}

void PtyPort::Close() {
    if (!linkPath_.empty()) {
        char target[PATH_MAX];
        const ssize_t n = ::readlink(linkPath_.c_str(), target, sizeof target - 1);
        if (n > 0 && std::string(target, static_cast<std::size_t>(n)) == slavePath_)
            ::unlink(linkPath_.c_str());
        linkPath_.clear();
    }
    if (holder_ >= 0)
        ::close(holder_);
    if (master_ >= 0)
        ::close(master_);
    holder_ = master_ = -1;
}

} // namespace drivesim
