#include "InPlaceEditors.h"

#include <QKeyEvent>

CEditEx::CEditEx(const QString& text, QWidget* parent) : QLineEdit(parent), original_(text) {
    setObjectName("CEditEx");
    setMaxLength(255);
    setText(text.left(255));
    selectAll();
}

void CEditEx::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Finish(text());
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        setText(original_);
        Finish(original_);
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void CEditEx::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    Finish(text());
}

void CEditEx::Finish(const QString& value) {
    if (finished_)
        return;
    finished_ = true;
    hide();
    emit Finished(value);
    deleteLater();
}

CComboBoxExt::CComboBoxExt(const QString& options, const QString& current, QWidget* parent)
    : QComboBox(parent) {
    setObjectName("CComboBoxExt");
    for (const QString& piece : options.split('$', Qt::SkipEmptyParts))
        addItem(piece);
    int at = findText(current);
    if (at < 0) {
        addItem(current);
        at = count() - 1;
    }
    setCurrentIndex(at);
    connect(this, &QComboBox::currentIndexChanged, this, [this] { Finish(); });
}

void CComboBoxExt::focusOutEvent(QFocusEvent* event) {
    QComboBox::focusOutEvent(event);
    // The pop-up list takes the focus while it is open: that is no end.
    if (event->reason() != Qt::PopupFocusReason)
        Finish();
}

void CComboBoxExt::Finish() {
    if (finished_)
        return;
    finished_ = true;
    hide();
    emit Finished(currentText());
    deleteLater();
}
