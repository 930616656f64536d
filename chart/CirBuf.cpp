#include "CirBuf.h"

#include <algorithm>

CCirBuf::CCirBuf(int capacity) {
    ReSize(capacity);
}

void CCirBuf::ReSize(int capacity) {
    size = std::max(capacity, 1);
    lastIndex = size - 1;
    satSize = size;
    items.assign(static_cast<size_t>(size), 0);
    ahead = tail = validLen = 0;
    satAhead = satTail = satValidLen = 0;
}

void CCirBuf::Clear() {
    std::fill(items.begin(), items.end(), 0);
    ahead = tail = validLen = 0;
    satAhead = satTail = satValidLen = 0;
}

int CCirBuf::Wrap(long long index) const {
    long long wrapped = index % size;
    return static_cast<int>(wrapped < 0 ? wrapped + size : wrapped);
}

long CCirBuf::Shown(long stored) const {
    if (maskZero)
        return 0;
    return reverseSign ? -stored : stored;
}

void CCirBuf::Add(const long* value) {
    if (validLen == 0) {
        // Heads may have been moved by SetValidLen; an empty ring starts at 0.
        ahead = tail = 0;
        items[0] = *value;
    } else {
        tail = tail == lastIndex ? 0 : tail + 1;
        items[static_cast<size_t>(tail)] = *value;
        if (tail == ahead)
            ahead = ahead == lastIndex ? 0 : ahead + 1;
    }
    if (validLen < size)
        ++validLen;
}

// The window always ends at the newest sample and holds satValidLen samples.
void CCirBuf::PlaceWindow() {
    satTail = tail;
    satAhead = Wrap(static_cast<long long>(satTail) - satValidLen + 1);
}

void CCirBuf::SatAdd(const long* value) {
    Add(value);
    if (satValidLen < satSize)
        ++satValidLen;
    PlaceWindow();
}

long CCirBuf::Get(int position) const {
    if (position < 0 || position >= validLen)
        return Shown(0);
    return Shown(items[static_cast<size_t>(Wrap(static_cast<long long>(ahead) + position))]);
}

long CCirBuf::SatGet(int position) const {
    if (position < 0 || position >= satValidLen)
        return Shown(0);
    return Shown(items[static_cast<size_t>(Wrap(static_cast<long long>(satAhead) + position))]);
}

long CCirBuf::SatGetStored(int position) const {
    if (position < 0 || position >= satValidLen)
        return 0;
    return items[static_cast<size_t>(Wrap(static_cast<long long>(satAhead) + position))];
}

long CCirBuf::GetStored(int position) const {
    if (position < 0 || position >= validLen)
        return 0;
    return items[static_cast<size_t>(Wrap(static_cast<long long>(ahead) + position))];
}

void CCirBuf::SatReSize(int capacity) {
    satSize = std::clamp(capacity, 0, size);
    // A window longer than its new capacity drops its oldest samples.
    satValidLen = std::min({satValidLen, validLen, satSize});
    if (validLen > 0)
        PlaceWindow();
    // Everything outside the window is erased so that it reads as 0.
    int outside = size - satValidLen;
    int index = Wrap(static_cast<long long>(satTail) + 1);
    for (int i = 0; i < outside; ++i) {
        items[static_cast<size_t>(index)] = 0;
        index = index == lastIndex ? 0 : index + 1;
    }
}

void CCirBuf::SetValidLen(int count) {
    validLen = std::clamp(count, 0, size);
    tail = Wrap(static_cast<long long>(ahead) + validLen - 1);
    satValidLen = std::min(satValidLen, validLen);
}

void CCirBuf::SetSatValidLen(int count) {
    count = std::clamp(count, 0, satSize);
    // The ring keeps its surplus over the window.
    validLen = std::clamp(validLen + count - satValidLen, count, size);
    satValidLen = count;
    satTail = Wrap(static_cast<long long>(satAhead) + satValidLen - 1);
    tail = Wrap(static_cast<long long>(ahead) + validLen - 1);
}
