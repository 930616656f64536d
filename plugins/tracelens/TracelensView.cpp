#include "TracelensView.h"

#include "TracelensApp.h"
#include "TracelensStrings.h"

#include <QPainter>

namespace tracelens {

namespace {
constexpr int kPublishMs = 47;
constexpr int kStatusHeight = 24;
} // namespace

CTracelensView::CTracelensView(PluginModule& module, CTracelensApp& app)
    : CDLLView(module), app_(app) {
    ++app_.WorkingRequest().word[ScopeRequest::kGeneration];
    connect(&publishTimer_, &QTimer::timeout, this, &CTracelensView::OnPublishTick);
    publishTimer_.start(kPublishMs);
    OnLanguageChanged();
}

CTracelensView::~CTracelensView() {
    app_.StopForClose();
}

void CTracelensView::OnLanguageChanged() {
    if (QWidget* frame = parentWidget())
        frame->setWindowTitle(QString::fromStdString(Module().Text(kStrTitle)));
    update();
}

void CTracelensView::OnPublishTick() {
    ScopeRequest& request = app_.WorkingRequest();
    request.word[ScopeRequest::kRectLeft] = 0;
    request.word[ScopeRequest::kRectLeft + 1] = 0;
    request.word[ScopeRequest::kRectLeft + 2] = width();
    request.word[ScopeRequest::kRectLeft + 3] = std::max(1, height() - kStatusHeight);
    request.word[ScopeRequest::kRedraw] = 1;
    if (app_.PublishRequest())
        Context().RingCommThread();
    if (app_.TakePicture(picture_))
        update();
}

QString CTracelensView::StatusText() const {
    const ScopeStatus& status = app_.WindowStatus();
    unsigned id = status.status == kStatusRetry ? kStrRetry : kStrReady;
    if (status.lineTooSlow != 0)
        id = kStrLineTooSlow;
    return QString::fromStdString(Module().Text(id));
}

void CTracelensView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    painter.drawImage(0, 0, picture_);
    const QRect line(4, height() - kStatusHeight, width() - 8, kStatusHeight);
    painter.setPen(Qt::white);
    painter.drawText(line, Qt::AlignVCenter | Qt::AlignLeft, StatusText());
}

} // namespace tracelens
