// Looks at a window the way a user does: every visible button, label, check
// box, radio button and tab shows its whole text, lies inside its window and
// covers none of its siblings.
#pragma once

#include <QAbstractButton>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QTabBar>
#include <QTableView>
#include <string>
#include <vector>

namespace layoutcheck {

inline std::string Name(const QWidget* w) {
    QString text;
    if (auto* b = qobject_cast<const QAbstractButton*>(w))
        text = b->text();
    else if (auto* l = qobject_cast<const QLabel*>(w))
        text = l->text();
    return std::string(w->metaObject()->className()) + " '" + text.toStdString() + "' (" +
           w->objectName().toStdString() + ")";
}

// Parts of compound widgets (a line edit's clear button, a list's viewport)
// belong to their owner, which places them itself.
inline bool IsPartOfAnother(const QWidget* w, const QWidget* top) {
    for (const QWidget* p = w->parentWidget(); p != nullptr && p != top; p = p->parentWidget()) {
        if (p->inherits("QAbstractScrollArea") || p->inherits("QLineEdit") ||
            p->inherits("QComboBox") || p->inherits("QAbstractSpinBox") || p->inherits("QTabBar"))
            return true;
    }
    return false;
}

inline bool IsTextControl(const QWidget* w) {
    const QString kind = w->metaObject()->className();
    return kind == "QPushButton" || kind == "QCheckBox" || kind == "QRadioButton" ||
           kind == "QLabel" || kind == "QTabBar";
}

// Where its text would be cut: narrower than its size hint (tabs: each tab).
inline void CheckText(const QWidget* w, std::vector<std::string>& faults) {
    if (auto* label = qobject_cast<const QLabel*>(w)) {
        if (label->wordWrap() || (label->text().isEmpty() && label->pixmap().isNull()))
            return;
    }
    if (auto* tabs = qobject_cast<const QTabBar*>(w)) {
        for (int i = 0; i < tabs->count(); ++i) {
            const QRect tab = tabs->tabRect(i);
            const int text = tabs->fontMetrics().horizontalAdvance(tabs->tabText(i));
            if (!tabs->rect().contains(tab) || tab.width() < text + 8)
                faults.push_back("tab '" + tabs->tabText(i).toStdString() + "' is cut");
        }
        return;
    }
    if (w->width() < w->sizeHint().width() || w->height() < w->minimumSizeHint().height())
        faults.push_back(Name(w) + " is " + std::to_string(w->width()) + " wide, needs " +
                         std::to_string(w->sizeHint().width()));
}

// A list that never scrolls must show every item.
inline void CheckListShowsAll(const QListWidget* list, std::vector<std::string>& faults) {
    if (list->verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff)
        return;
    for (int i = 0; i < list->count(); ++i) {
        if (!list->viewport()->rect().contains(list->visualItemRect(list->item(i))))
            faults.push_back("list item '" + list->item(i)->text().toStdString() + "' is cut");
    }
}

// A table shows all its columns without scrolling sideways.
inline void CheckColumnsFit(const QTableView* table, std::vector<std::string>& faults) {
    if (table->horizontalHeader()->length() > table->viewport()->width())
        faults.push_back(std::string(table->metaObject()->className()) + " (" +
                         table->objectName().toStdString() + ") needs scrolling sideways");
}

// Every fault of `view` (the widget of a tool window) and its controls.
inline std::vector<std::string> Faults(const QWidget* view) {
    std::vector<std::string> faults;
    const QRect window = view->rect();
    for (const QWidget* w : view->findChildren<QWidget*>()) {
        if (!w->isVisible() || IsPartOfAnother(w, view))
            continue;
        const QRect inView(w->mapTo(view, QPoint(0, 0)), w->size());
        if (!window.contains(inView) || !w->parentWidget()->rect().contains(w->geometry()))
            faults.push_back(Name(w) + " lies outside its window");
        if (IsTextControl(w))
            CheckText(w, faults);
        if (auto* list = qobject_cast<const QListWidget*>(w))
            CheckListShowsAll(list, faults);
        if (auto* table = qobject_cast<const QTableView*>(w))
            CheckColumnsFit(table, faults);
        for (const QObject* other : w->parentWidget()->children()) {
            auto* sibling = qobject_cast<const QWidget*>(other);
            if (sibling == nullptr || sibling <= w || !sibling->isVisible() || sibling->isWindow())
                continue;
            if (w->geometry().intersects(sibling->geometry()))
                faults.push_back(Name(w) + " overlaps " + Name(sibling));
        }
    }
    return faults;
}

} // namespace layoutcheck
