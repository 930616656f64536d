#include "StopSignals.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int kStopSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The write end, for the handler (which may run on any thread).
volatile std::sig_atomic_t gWriteEnd = -1;

void OnStopSignal(int signal) {
    const int saved = errno;
    const auto number = static_cast<unsigned char>(signal);
    if (gWriteEnd >= 0)
        (void)::write(gWriteEnd, &number, 1); // async-signal-safe; a full pipe already wakes us
    errno = saved;
}

} // namespace

StopSignals::StopSignals(std::function<void(int signal)> stop) : stop_(std::move(stop)) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, sockets_) != 0)
        return; // the signals keep their default action: the program still ends
    gWriteEnd = sockets_[0];
    notifier_ = std::make_unique<QSocketNotifier>(sockets_[1], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &StopSignals::OnReadable);
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : kStopSignals)
        ::sigaction(signal, &action, nullptr);
}

StopSignals::~StopSignals() {
    for (int signal : kStopSignals)
        std::signal(signal, SIG_DFL);
    gWriteEnd = -1;
    notifier_.reset();
    for (int fd : sockets_)
        if (fd >= 0)
            ::close(fd);
}

void StopSignals::OnReadable() {
    unsigned char number = 0;
    int last = 0;
    while (::read(sockets_[1], &number, 1) == 1)
        last = number;
    if (last != 0 && stop_)
        stop_(last);
}
