// The colours and marks the editor's list and legend share.
#pragma once

#include <QColor>
#include <QString>

namespace knobset {

inline const QColor kRebootColor(255, 236, 161);
inline const QColor kReadOnlyColor(255, 205, 230);
inline const QColor kReservedColor(235, 235, 235);
inline const QColor kReservedText(168, 168, 168);
// Marks the rows whose setup value the drive does not hold.
inline const QString kDiffersMark = QStringLiteral("\u25CF ");

} // namespace knobset
