#include "HzCur.h"

#include "PanelText.h"
#include "ScopeInput.h"
#include "TracelensStrings.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace tracelens {

CHzCur::CHzCur(ScopeInput& input, PluginModule& module, QWidget* parent)
    : QWidget(parent), input_(input), module_(module) {
    horizontal_ = new QGroupBox(this);
    vertical_ = new QGroupBox(this);
    auto* xRow = new QHBoxLayout(horizontal_);
    auto* yRow = new QHBoxLayout(vertical_);
    for (int b = 0; b < kCursorButtons; ++b) {
        QGroupBox* group = b <= kCurLockX ? horizontal_ : vertical_;
        auto* button = new QPushButton(group);
        button->setCheckable(true);
        (b <= kCurLockX ? xRow : yRow)->addWidget(button);
        buttons_[static_cast<std::size_t>(b)] = button;
        connect(button, &QPushButton::clicked, this, [this, b] { Press(b); });
    }
    yRow->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(horizontal_);
    layout->addWidget(vertical_);
    layout->addStretch(1);
    ApplyLanguage();
}

void CHzCur::Press(int button) {
    input_.PressCursorButton(button);
    for (int b = 0; b < kCursorButtons; ++b)
        buttons_[static_cast<std::size_t>(b)]->setChecked(input_.CursorButtonDown(b));
    if (input_.CursorSelected())
        emit CursorSelected();
}

void CHzCur::ApplyLanguage() {
    horizontal_->setTitle(Text(module_, kStrHorizontal));
    vertical_->setTitle(Text(module_, kStrVerticalAmp));
    const unsigned ids[] = {kStrCursorX1, kStrCursorX2, kStrCursorLock, kStrCursorY1, kStrCursorY2};
    for (int b = 0; b < kCursorButtons; ++b)
        buttons_[static_cast<std::size_t>(b)]->setText(Text(module_, ids[b]));
}

} // namespace tracelens
