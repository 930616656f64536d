// Small helpers the scope's panels share: a text of the module's table as a
// QString, and a combo box refilled without announcing a choice.
#pragma once

#include "PluginModule.h"

#include <QComboBox>
#include <QSignalBlocker>
#include <QString>
#include <QStringList>

namespace tracelens {

inline QString Text(const PluginModule& module, unsigned id) {
    return QString::fromStdString(module.Text(id));
}

// Puts `items` into `box` and selects `current` (-1 none), silently.
inline void Refill(QComboBox* box, const QStringList& items, int current) {
    const QSignalBlocker quiet(box);
    box->clear();
    box->addItems(items);
    box->setCurrentIndex(current < box->count() ? current : -1);
}

} // namespace tracelens
