#include "ChartPlot.h"

#include <algorithm>

namespace {

struct ChannelDefaults {
    const char* name;
    const char* unit;
    QColor colour;
};

const std::array<ChannelDefaults, CChartPlot::kChannels> kChannelDefaults{{
    {" CH A ", "rpm", QColor(255, 255, 0)},
    {" CH B ", "p", QColor(255, 0, 255)},
    {" CH C ", "rpm", QColor(0, 195, 255)},
    {" CH D ", "mV", QColor(0, 255, 0)},
}};

constexpr int kDefaultAxisLen = 5001;
constexpr float kDefaultUnitPerDiv = 100.0f;
constexpr int kDefaultFontSize = 105; // tenths of a point

} // namespace

CChartPlot::CChartPlot() {
    for (int ch = 0; ch < kChannels; ++ch) {
        ChannelTagDatas& tag = tags_[ch];
        tag.name = QString::fromLatin1(kChannelDefaults[ch].name);
        tag.unit = QString::fromLatin1(kChannelDefaults[ch].unit);
        tag.colour = kChannelDefaults[ch].colour;
        tag.channel = ch + 1;
        captions_[ch] = tag.unit;
    }
    // 500 ms per division and a delay of 2500 ms until the owner sets its own.
    SetXaxisLen(kDefaultAxisLen);
    for (int ch = 0; ch < kChannels; ++ch)
        SetYbyUnitGrid(ch, kDefaultUnitPerDiv, 0.0f, 0, captions_[ch]);
    ZoomSave();
    UpdateFont(nullptr, kDefaultFontSize);
}

CChartPlot::~CChartPlot() = default;

void CChartPlot::SetWndSize(const ChartRect* rect) {
    if (rect)
        wnd_ = *rect;
    Layout();
}

QPoint CChartPlot::MouseInWindow() const {
    return mouse_ - QPoint(wnd_.left, wnd_.top);
}

void CChartPlot::UpdateMouse(const QPoint* point, int wheelDelta) {
    if (point)
        mouse_ = *point;
    wheelDelta_ = wheelDelta;
}

void CChartPlot::ApplyBufferFlags() {
    for (auto& set : bufs_) {
        for (int ch = 0; ch < kChannels; ++ch) {
            set[ch]->MaskZero(!showAll_);
            set[ch]->EnReverseSign(reverse_[ch]);
        }
    }
}

void CChartPlot::EnChannel(int ch, int on) {
    ch = ClampChannel(ch);
    auto first = std::begin(drawOrder_);
    auto firstFour = first + kChannels;
    if (on) {
        // A channel switched on is drawn last, on top of the others.
        if (std::find(first, firstFour, ch) == firstFour) {
            std::copy_backward(first, firstFour, firstFour + 1);
            drawOrder_[0] = static_cast<uint8_t>(ch);
        }
    } else {
        std::replace(first, std::end(drawOrder_), static_cast<uint8_t>(ch), kEmptySlot);
        std::stable_partition(first, std::end(drawOrder_),
                              [](uint8_t slot) { return slot != kEmptySlot; });
    }
    drawOrder_[kChannels] = kEmptySlot;
    show_[ch] = on ? 1 : 0;
}

void CChartPlot::ShowAllChannel(int on) {
    showAll_ = on ? 1 : 0;
    ApplyBufferFlags();
}

void CChartPlot::EnYReverse(int ch, int on) {
    reverse_[ClampChannel(ch)] = on ? 1 : 0;
    ApplyBufferFlags();
}

void CChartPlot::SetChannelUnit(int ch, const QString& unit) {
    tags_[ClampChannel(ch)].unit = unit;
}

void CChartPlot::SetChannelName(int ch, const QString& name) {
    tags_[ClampChannel(ch)].name = name;
}
