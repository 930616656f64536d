// The drawing step of the cycle: mouse, wheel, cursor and zoom input from the
// request, the chart drawn into the first off-screen image, the changed
// settings applied, and the picture handed to the window under its lock.
#include "CaptureMath.h"
#include "TracelensApp.h"

#include <QPainter>
#include <algorithm>

namespace tracelens {

namespace {
constexpr int kLeftButton = 1;
constexpr int kRightButton = 2;
constexpr int kControlKey = 8;
constexpr int kLastAxisSample = 3000;
} // namespace

void CTracelensApp::Draw() {
    std::array<std::int32_t, ScopeRequest::kWords>& w = request_.word;
    w[ScopeRequest::kRedraw] = 0;
    CChartPlot& chart = *chart_;
    const QPoint mouse(w[ScopeRequest::kMouseX], w[ScopeRequest::kMouseY]);
    chart.UpdateMouse(&mouse, w[ScopeRequest::kWheel]);
    const int keys = w[ScopeRequest::kKeys];
    chart.fineStep = (keys & kControlKey) != 0 ? 1 : 0;
    chart.curLockX = w[ScopeRequest::kCursorLockX];
    if (w[ScopeRequest::kCursorX] != lastCursorX_) {
        lastCursorX_ = w[ScopeRequest::kCursorX];
        chart.curSelX = lastCursorX_;
    }
    if (w[ScopeRequest::kCursorY] != lastCursorY_) {
        lastCursorY_ = w[ScopeRequest::kCursorY];
        chart.curSelY = lastCursorY_;
    }
    const bool left = (keys & kLeftButton) != 0;
    const bool right = (keys & kRightButton) != 0;
    const bool zoomTool = w[ScopeRequest::kDropZoomX] != 0 || w[ScopeRequest::kDropZoomY] != 0;
    if (w[ScopeRequest::kWheel] == 0) {
        if (!left && !right) {
            chart.followMouse = 0;
            if (chart.dropZoomActive != 0 && chart.ZoomDropEnd(&zoomStart_, &zoomEnd_) != 0) {
                ++status_.counter[ScopeStatus::kZoomCounter];
                status_.zoomed = 1;
            }
        } else {
            chart.followMouse = 0;
            if (w[ScopeRequest::kCursorX] != 0) {
                chart.followMouse = 1;
                if (left)
                    chart.curSelX = w[ScopeRequest::kCursorX];
                else if (w[ScopeRequest::kCursorX] == 1 && !zoomTool)
                    chart.curSelX = 2;
                else
                    chart.followMouse = 0;
            }
            if (w[ScopeRequest::kCursorY] != 0) {
                chart.followMouse = 1;
                chart.curSelY =
                    left ? w[ScopeRequest::kCursorY]
                         : (w[ScopeRequest::kCursorY] == 1 ? 2 : w[ScopeRequest::kCursorY]);
            }
            if (zoomTool && left) {
                if (!zoomSaved_) {
                    chart.ZoomSave();
                    zoomSaved_ = true;
                }
                chart.followMouse = 0;
                chart.ZoomDropStart();
            } else {
                chart.dropZoomActive = 0;
            }
        }
    } else {
        if (w[ScopeRequest::kCursorX] == 2)
            chart.curSelX = 2;
        if (w[ScopeRequest::kCursorY] == 2)
            chart.curSelY = 2;
        w[ScopeRequest::kWheel] = 0;
    }
    if (w[ScopeRequest::kRestore] != 0 || w[ScopeRequest::kRestoreButton] != 0) {
        w[ScopeRequest::kRestore] = w[ScopeRequest::kRestoreButton] = 0;
        ++status_.counter[ScopeStatus::kZoomCounter];
        status_.zoomed = 0;
        if (zoomSaved_) {
            chart.ZoomRestore();
            zoomSaved_ = false;
        }
    }
    zoomStart_ = std::max(zoomStart_, 0);
    zoomEnd_ = std::min(zoomEnd_, kLastAxisSample);

    chart.dropZoomX = w[ScopeRequest::kDropZoomX];
    chart.dropZoomY = w[ScopeRequest::kDropZoomY];
    chart.debugWord = debug_;
    const ChartRect rect{w[ScopeRequest::kRectLeft], w[ScopeRequest::kRectLeft + 1],
                         w[ScopeRequest::kRectLeft + 2], w[ScopeRequest::kRectLeft + 3]};
    if (rect.Width() <= 0 || rect.Height() <= 0) {
        ApplyChangedSettings();
        return;
    }
    chart.SetWndSize(&rect);
    if (drawing_.width() < rect.right || drawing_.height() < rect.bottom)
        drawing_ = QImage(rect.right, rect.bottom, QImage::Format_RGB32);
    {
        QPainter painter(&drawing_);
        chart.PlotAll(&painter);
        ReadCursors();
        ApplyChangedSettings();
        if (debug_ != 0) {
            const ScopeTiming& shown = timings_[published_];
            const ScopeTiming& now = timings_[current_];
            painter.setPen(Qt::white);
            painter.drawText(rect.left + 20, rect.top + 20,
                             QString::asprintf("%d,%d,%d:%d[%d:%d]%d,%d;%d,%d", shown.timeBase,
                                               now.timeBase, startTimeBase_, firstFrameShown_,
                                               captureState_.load(), captureStep_, status_.status,
                                               status_.triggered, blockLength_,
                                               chart.TrigBuf(0).GetSatValidLen()));
            painter.drawText(rect.left + 20, rect.top + 40,
                             QString::asprintf("%x,%d,%d,[%u", pendingWrites_, failedSteps_,
                                               link.lastInQue, link.plotPreCountQueTimes));
        }
    }
    HandPictureOver(rect);
}

void CTracelensApp::ReadCursors() {
    const CChartPlot& chart = *chart_;
    CursorReadout& readout = status_.cursors;
    readout.kind = chart.Tag(0).cursorKind;
    const ScopeTiming& timing = timings_[current_];
    const double msPerSample =
        timing.highSample != 0 ? HighSampleTiming(timing.timeBase).divider * 0.1 : 1.0;
    readout.deltaMs = (chart.CursorX(2) - chart.CursorX(1)) * msPerSample;
    for (int ch = 0; ch < kChannels; ++ch)
        readout.deltaY[static_cast<std::size_t>(ch)] = chart.Tag(ch).value2 - chart.Tag(ch).value1;
}

void CTracelensApp::HandPictureOver(const ChartRect& rect) {
    std::unique_lock lock(pictureLock_, std::try_to_lock);
    if (!lock)
        return; // the window is copying: this frame is skipped
    picture_ = drawing_.copy(rect.left, rect.top, rect.Width(), rect.Height());
    newPicture_ = true;
}

} // namespace tracelens
