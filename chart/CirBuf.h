// One scope channel's samples: a ring of fixed capacity that keeps the newest
// values, with a smaller "saturated" window inside it that always ends at the
// newest sample. The chart draws and triggers on the window, so a capture can
// change its length without reallocating the ring.
#pragma once

#include <vector>

class CCirBuf {
public:
    explicit CCirBuf(int capacity);

    void ReSize(int capacity);
    void Clear();

    void Add(const long* value);
    long Get(int position) const;
    void SatAdd(const long* value);
    long SatGet(int position) const;
    // The stored value, ignoring the mask and sign flags.
    long GetStored(int position) const;
    // The same inside the saturated window.
    long SatGetStored(int position) const;

    void SatReSize(int capacity);
    void SetValidLen(int count);
    void SetSatValidLen(int count);

    void MaskZero(int on) { maskZero = on; }
    void EnReverseSign(int on) { reverseSign = on; }

    int GetSize() const { return size; }
    int GetAhead() const { return ahead; }
    int GetTail() const { return tail; }
    int GetValidLen() const { return validLen; }
    int GetSatSize() const { return satSize; }
    int GetSatAhead() const { return satAhead; }
    int GetSatTail() const { return satTail; }
    int GetSatValidLen() const { return satValidLen; }

    // Points of the last trace drawn from this buffer, written by the chart.
    int plotPoints = 0;

private:
    int Wrap(long long index) const;
    long Shown(long stored) const;
    void PlaceWindow();

    int size = 0;
    int lastIndex = -1;
    int ahead = 0;
    int tail = 0;
    int validLen = 0;
    int reverseSign = 0;
    int maskZero = 0;
    int satSize = 0;
    int satAhead = 0;
    int satTail = 0;
    int satValidLen = 0;
    std::vector<long> items;
};
