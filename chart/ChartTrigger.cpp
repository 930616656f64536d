// The capture-side trigger: samples go into the trigger buffer set, the two
// conditions are tested at a fixed window position, and a completed capture
// is handed to the display by swapping the shown and trigger sets.
#include "ChartPlot.h"

#include <algorithm>
#include <utility>

namespace {

enum Combination : int32_t { OnlyFirst = 1, Either = 2, Both = 3, OnlySecond = 4 };

int ClampLong(long value) {
    return static_cast<int>(std::clamp<long>(value, -2147483647L - 1, 2147483647L));
}

} // namespace

void CChartPlot::Trig_Init(TriggerDatas* trigger) {
    if (trigger)
        *trigger = TriggerDatas{OnlyFirst, 0, 0, TrigRising, TrigRising, 0, 0, 1};
}

void CChartPlot::TrigSetup(const TriggerDatas* trigger) {
    if (!trigger)
        return;
    trigger_ = *trigger;
    trigger_.channel1 = ClampChannel(trigger_.channel1);
    trigger_.channel2 = ClampChannel(trigger_.channel2);
    // The test reads the sample before the position too, so the last usable
    // position is one short of the window capacity.
    const int lastPosition = std::max(1, TrigBuf(0).GetSatSize() - 1);
    trigger_.position = std::clamp(trigger_.position, 1, lastPosition);
}

void CChartPlot::TrigSatReSize_CirBuf(int capacity) {
    for (auto& set : bufs_)
        for (auto& buf : set)
            buf->SatReSize(capacity);
}

void CChartPlot::TrigAdd_CirBuf(long a, long b, long c, long d) {
    const long values[kChannels] = {a, b, c, d};
    for (int ch = 0; ch < kChannels; ++ch)
        TrigBuf(ch).SatAdd(&values[ch]);
}

void CChartPlot::Trig_Reset() {
    for (int ch = 0; ch < kChannels; ++ch)
        TrigBuf(ch).Clear();
    trigState = TrigArmed;
}

int CChartPlot::Trig_IsTrigger(const int* previous, const int* current, const int* level,
                               const int* kind) {
    const int p = *previous, c = *current, l = *level;
    const bool rising = p < l && l <= c;
    const bool falling = p > l && l >= c;
    switch (*kind) {
    case TrigRising:
        return rising;
    case TrigFalling:
        return falling;
    case TrigEitherEdge:
        return rising || falling;
    case TrigAtOrAbove:
        return c >= l;
    case TrigAtOrBelow:
        return c <= l;
    default:
        return 0;
    }
}

int CChartPlot::Trig_IsConditionTriggered() {
    // A window shrunk after TrigSetup must not push the position out of reach.
    const int position = std::clamp(trigger_.position, 1, std::max(1, TrigBuf(0).GetSatSize() - 1));
    if (TrigBuf(0).GetSatValidLen() <= position)
        return 0;
    trigState = TrigWaiting;

    auto condition = [&](int channel, int kind, int level) {
        const CCirBuf& buf = TrigBuf(channel);
        const int previous = ClampLong(buf.SatGet(position - 1));
        const int current = ClampLong(buf.SatGet(position));
        return Trig_IsTrigger(&previous, &current, &level, &kind) != 0;
    };
    switch (trigger_.combination) {
    case OnlyFirst:
        return condition(trigger_.channel1, trigger_.edge1, trigger_.level1);
    case Either:
        return condition(trigger_.channel1, trigger_.edge1, trigger_.level1) ||
               condition(trigger_.channel2, trigger_.edge2, trigger_.level2);
    case Both:
        return condition(trigger_.channel1, trigger_.edge1, trigger_.level1) &&
               condition(trigger_.channel2, trigger_.edge2, trigger_.level2);
    case OnlySecond:
        return condition(trigger_.channel2, trigger_.edge2, trigger_.level2);
    default:
        return 0;
    }
}

int CChartPlot::Trig_IsTrigBufFilled() const {
    const CCirBuf& buf = *bufs_[1 - shownSet_][0];
    return buf.GetSatValidLen() >= buf.GetSatSize() ? 1 : 0;
}

int CChartPlot::Trig_CheckTrig_SwpCirBuf() {
    if ((trigState == TrigArmed || trigState == TrigWaiting) && Trig_IsConditionTriggered())
        trigState = TrigTriggered;
    if (trigState == TrigTriggered && Trig_IsTrigBufFilled()) {
        Trig_SwpCirBuf();
        trigState = TrigComplete;
        return 1;
    }
    return 0;
}

void CChartPlot::Trig_SwpCirBuf() {
    shownSet_ = 1 - shownSet_;
}
