#include "DriveSim.h"

#include "LineTiming.h"
#include "ModbusSlave.h"

#include <cerrno>
#include <poll.h>
#include <sys/eventfd.h>
#include <system_error>
#include <unistd.h>

namespace drivesim {
namespace {

constexpr auto kIdlePoll = std::chrono::milliseconds(100);

ParameterTable LoadTable(const SimConfig& config) {
    return ParameterTable::Load(config.model, config.dataDir);
}

} // namespace

DriveSim::DriveSim(SimConfig config)
    : config_(std::move(config)), format_(wirelay::GetSerialFormat(config_.format)),
      state_(LoadTable(config_), config_.layout, config_.statePath), faults_(config_.faults) {}

DriveSim::~DriveSim() {
    Stop();
}

void DriveSim::Start() {
    if (thread_.joinable())
        return;
    wakeFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wakeFd_ < 0)
        throw std::system_error(errno, std::generic_category(), "eventfd");
    {
        std::lock_guard lock(mutex_);
        port_.Open(config_.linkPath);
        slavePath_ = port_.SlavePath();
    }
    stopping_ = false;
    thread_ = std::thread(&DriveSim::Run, this);
}

void DriveSim::Stop() {
    if (thread_.joinable()) {
        stopping_ = true;
        Wake();
        thread_.join();
    }
    std::lock_guard lock(mutex_);
    port_.Close();
    if (wakeFd_ >= 0)
        ::close(wakeFd_);
    wakeFd_ = -1;
}

std::string DriveSim::SlavePath() const {
    std::lock_guard lock(mutex_);
    return slavePath_;
}

void DriveSim::SetFaults(const FaultSettings& faults) {
    std::lock_guard lock(mutex_);
    faults_ = faults;
}

FaultSettings DriveSim::Faults() const {
    std::lock_guard lock(mutex_);
    return faults_;
}

void DriveSim::Unplug() {
    RequestPlug(PlugRequest::Unplug);
}
void DriveSim::Replug() {
    RequestPlug(PlugRequest::Replug);
}

void DriveSim::RequestPlug(PlugRequest request) {
    if (!thread_.joinable()) {
        ApplyPlug(request);
        return;
    }
    std::unique_lock lock(mutex_);
    plugRequest_ = request;
    lock.unlock();
    Wake();
    lock.lock();
    plugDone_.wait(lock, [this] { return plugRequest_ == PlugRequest::None; });
}

void DriveSim::ApplyPlug(PlugRequest request) {
    std::lock_guard lock(mutex_);
    if (request == PlugRequest::Unplug) {
        port_.Close();
    } else if (request == PlugRequest::Replug) {
        port_.Open(config_.linkPath);
        slavePath_ = port_.SlavePath();
        replugAt_.reset();
    }
    assembler_.Clear();
}

void DriveSim::Wake() {
    const std::uint64_t one = 1;
    if (wakeFd_ >= 0) [[maybe_unused]]
        auto ignored = ::write(wakeFd_, &one, sizeof one);
}

void DriveSim::Run() {
    const auto silence = FrameSilence(format_);
    while (!stopping_) {
        auto now = Clock::now();
        auto wakeAt = now + kIdlePoll;
        if (auto deadline = assembler_.SilenceDeadline(silence))
            wakeAt = std::min(wakeAt, *deadline);
        if (replugAt_)
            wakeAt = std::min(wakeAt, *replugAt_);
        const int timeoutMs = static_cast<int>(
            std::chrono::ceil<std::chrono::milliseconds>(std::max(wakeAt - now, Clock::duration(0)))
                .count());

        pollfd fds[2] = {{wakeFd_, POLLIN, 0}, {port_.MasterFd(), POLLIN, 0}};
        const nfds_t count = port_.IsOpen() ? 2 : 1;
        ::poll(fds, count, timeoutMs);
        if (fds[0].revents & POLLIN) {
            std::uint64_t value;
            [[maybe_unused]] auto ignored = ::read(wakeFd_, &value, sizeof value);
            std::unique_lock lock(mutex_);
            const PlugRequest request = plugRequest_;
            lock.unlock();
            if (request != PlugRequest::None) {
                try {
                    ApplyPlug(request);
                } catch (const std::system_error&) {
                    // No pty to be had: the drive stays unplugged.
                }
                lock.lock();
                plugRequest_ = PlugRequest::None;
                plugDone_.notify_all();
            }
        }
        if (count == 2 && port_.IsOpen() && (fds[1].revents & POLLIN)) {
            std::uint8_t buffer[512];
            const ssize_t n = ::read(port_.MasterFd(), buffer, sizeof buffer);
            if (n > 0)
                assembler_.Add(buffer, static_cast<std::size_t>(n), Clock::now());
        }
        now = Clock::now();
        while (auto frame = assembler_.Take(now, silence)) {
            Serve(*frame);
            now = Clock::now();
        }
        if (replugAt_ && Clock::now() >= *replugAt_) {
            try {
                ApplyPlug(PlugRequest::Replug);
            } catch (const std::system_error&) {
                replugAt_ = Clock::now() + std::chrono::seconds(1);
            }
        }
    }
}

void DriveSim::Serve(const RequestFrame& frame) {
    if (!port_.IsOpen())
        return;
    termios line{};
    if (::tcgetattr(port_.MasterFd(), &line) != 0 || !LineMatches(line, format_))
        return; // on a real line the bytes would be garbage to the drive
    const FaultSettings faults = Faults();
    if (faults.silent || ServeService(frame))
        return;
    std::optional<std::vector<std::uint8_t>> reply;
    const std::uint8_t* bytes = frame.bytes.data();
    const std::size_t size = frame.bytes.size();
    if (faults.exceptionAddress >= 0 &&
        RequestTouches(bytes, size, config_.address,
                       static_cast<std::uint16_t>(faults.exceptionAddress))) {
        reply = ExceptionReply(bytes[0], bytes[1], faults.exceptionCode);
    } else {
        std::lock_guard lock(stateMutex_);
        reply = HandleRequest(state_, config_.address, bytes, size);
    }
    if (!reply)
        return;
    const ReplyPlan plan = PlanReply(faults, ++replyCount_);
    if (plan.corrupt)
        reply->back() ^= 0xFF;
    if (plan.stray)
        reply->insert(reply->begin(), faults.strayBytes.begin(), faults.strayBytes.end());
    // A real drive starts its reply only after the request has crossed the
    // wire and it has turned round.
    const auto due = frame.arrival + WireTime(size, format_) + kTurnaround +
                     std::chrono::milliseconds(faults.lateMs);
    if (plan.send)
        SendPaced(*reply, due);
    if (plan.unplugAfter) {
        port_.WaitUntilRead(200);
        ApplyPlug(PlugRequest::Unplug);
        if (faults.replugAfterMs != 0)
            replugAt_ = Clock::now() + std::chrono::milliseconds(faults.replugAfterMs);
    }
}

void DriveSim::SendPaced(const std::vector<std::uint8_t>& bytes, Clock::time_point due) {
    const auto perByte = WireTime(1, format_);
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        // Every byte whose last bit has crossed the wire by now goes out.
        const auto now = Clock::now();
        std::size_t ready = 0;
        if (now >= due)
            ready = std::min(bytes.size(), static_cast<std::size_t>((now - due) / perByte));
        if (ready > sent) {
            const ssize_t n = ::write(port_.MasterFd(), bytes.data() + sent, ready - sent);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return; // nobody reads the line and its buffer is full
            sent += static_cast<std::size_t>(n);
            repliesSent_ += sent == bytes.size();
            continue;
        }
        std::this_thread::sleep_until(due + perByte * static_cast<long>(sent + 1));
    }
}

} // namespace drivesim
