// Ends the program in order on SIGTERM, SIGINT and SIGHUP (logout, Ctrl-C in
// the terminal, a service manager): the handler only writes the signal number
// into a socket pair, and the UI thread, woken by a socket notifier, runs the
// same close as File > Exit, so the settings are written back and the port is
// released.
#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <functional>
#include <memory>

class StopSignals final : public QObject {
public:
    // `stop` runs on the UI thread with the signal number. Installs the
    // handlers; the destructor restores the default actions.
    explicit StopSignals(std::function<void(int signal)> stop);
    ~StopSignals() override;
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

private:
    void OnReadable();

    std::function<void(int)> stop_;
    int sockets_[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> notifier_;
};
