// The in-place editors of CListCtrlEx: a text box that keeps the text it
// started with (Escape puts it back), and a drop-down list. Both report once,
// on Enter, Escape, a choice or loss of focus, and then destroy themselves.
#pragma once

#include <QComboBox>
#include <QLineEdit>

class CEditEx : public QLineEdit {
    Q_OBJECT
public:
    CEditEx(const QString& text, QWidget* parent);
    const QString& OriginalText() const { return original_; }

signals:
    // The text to keep in the cell (the original one after Escape).
    void Finished(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void Finish(const QString& text);
    QString original_;
    bool finished_ = false;
};

class CComboBoxExt : public QComboBox {
    Q_OBJECT
public:
    // Adds the "$"-separated options (empty pieces skipped) and selects the
    // one equal to `current`, adding `current` when none is.
    CComboBoxExt(const QString& options, const QString& current, QWidget* parent);

signals:
    void Finished(const QString& text);

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    void Finish();
    bool finished_ = false;
};
