#include "MainMdiArea.h"

#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>

QMdiArea* FindMainMdiArea() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() != kMainFrameObjectName)
            continue;
        if (auto* frame = qobject_cast<QMainWindow*>(widget))
            return qobject_cast<QMdiArea*>(frame->centralWidget());
    }
    return nullptr;
}
