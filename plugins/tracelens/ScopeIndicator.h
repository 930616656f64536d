// The status and trigger indicators beside the run buttons: a text on a
// face with an edge, in one of three colour sets.
#pragma once

#include <QLabel>

namespace tracelens {

class ScopeIndicator : public QLabel {
    Q_OBJECT
public:
    enum Look { Idle, Active, Alarm };
    explicit ScopeIndicator(QWidget* parent);
    void Show(const QString& text, Look look);
    Look CurrentLook() const { return look_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Look look_ = Idle;
};

} // namespace tracelens
