// Millisecond ticks and a time-out object measured on them.
#pragma once

#include <cstdint>

// Milliseconds since an arbitrary start, wrapping modulo 2^32 (about 49.7
// days) like the platform tick counter; monotonic, unaffected by clock changes.
std::uint32_t GetTickCount();

// Replaces the tick source (null restores the system's); lets tests walk the
// counter across its wrap.
using TickSource = std::uint32_t (*)();
void SetTickSource(TickSource source);

class CTimeOut {
public:
    CTimeOut() = default;
    explicit CTimeOut(std::uint32_t limitMs) : limit_(limitMs) {}
    ~CTimeOut() = default;
    CTimeOut(const CTimeOut&) = default;
    CTimeOut& operator=(const CTimeOut&) = default;

    void SetTime(std::uint32_t limitMs) { limit_ = limitMs; }
    void Reset();
    // 1 when more than the limit has passed since the last Reset, else 0.
    int IsTimeOut();

private:
    std::uint32_t start_ = 0;
    std::uint32_t last_ = 0;
    std::uint32_t limit_ = 0;
};
