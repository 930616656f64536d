// The cursor panel: X cursor 1 and 2 and the X lock in "Horizontal (Time)",
// Y cursor 1 and 2 in "Vertical (Amp.)". The buttons stay pressed.
#pragma once

#include <QWidget>
#include <array>

class QGroupBox;
class QPushButton;
class PluginModule;

namespace tracelens {

class ScopeInput;

class CHzCur : public QWidget {
    Q_OBJECT
public:
    CHzCur(ScopeInput& input, PluginModule& module, QWidget* parent);
    void ApplyLanguage();
    QPushButton* Button(int button) const { return buttons_[static_cast<std::size_t>(button)]; }

signals:
    // A cursor is now selected: the window takes the keyboard focus.
    void CursorSelected();

private:
    void Press(int button);

    ScopeInput& input_;
    PluginModule& module_;
    QGroupBox* horizontal_;
    QGroupBox* vertical_;
    std::array<QPushButton*, 5> buttons_{};
};

} // namespace tracelens
