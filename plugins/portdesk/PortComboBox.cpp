#include "PortComboBox.h"

#include "PortDevices.h"
#include "PortdeskApp.h"
#include "PortdeskTexts.h"

#include <QAbstractItemView>
#include <QPainter>

PortComboBox::PortComboBox(QWidget* parent) : QComboBox(parent) {
    setItemDelegate(new PortItemDelegate(this));
    setMaxVisibleItems(16);
}

void PortComboBox::Fill(const QString& autoSearchText) {
    clear();
    addItem(autoSearchText);
    for (int port = 1; port <= CPortdeskApp::kPorts; ++port)
        addItem(QString::fromStdString(PortListEntry(port)));
    addItem(QString());
    RefreshDevices();
}

void PortComboBox::SetAutoSearchText(const QString& text) {
    setItemText(0, text);
}

void PortComboBox::SetByPathText(const QString& text) {
    setItemText(ByPathEntry(), text);
}

void PortComboBox::SetDeviceTexts(const std::string& noDevice, const std::string& notPresent) {
    noDevice_ = noDevice;
    notPresent_ = notPresent;
    RefreshDevices();
}

void PortComboBox::RefreshDevices() {
    for (const PortDevice& device : ListPortDevices(CPortdeskApp::kPorts)) {
        const QString path = QString::fromStdString(device.devicePath);
        setItemData(device.port, device.present ? path : QString(), kDeviceRole);
        setItemData(device.port, device.present, kPresentRole);
        setItemData(device.port,
                    QString::fromStdString(PortDeviceTip(device, noDevice_, notPresent_)),
                    Qt::ToolTipRole);
    }
    emit DevicesRefreshed();
}

QString PortComboBox::CurrentDevice() const {
    return currentData(kDeviceRole).toString();
}

void PortComboBox::showPopup() {
    RefreshDevices();
    // Wide enough for the device paths beside the numbers.
    view()->setMinimumWidth(qMax(width(), 240));
    QComboBox::showPopup();
}

void PortItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    QStyledItemDelegate::paint(painter, option, index);
    const QString device = index.data(PortComboBox::kDeviceRole).toString();
    if (device.isEmpty())
        return;
    painter->save();
    const bool selected = (option.state & QStyle::State_Selected) != 0;
    painter->setPen(option.palette.color(QPalette::Disabled,
                                         selected ? QPalette::HighlightedText : QPalette::Text));
    const QRect area = option.rect.adjusted(0, 0, -6, 0);
    painter->drawText(area, Qt::AlignRight | Qt::AlignVCenter,
                      option.fontMetrics.elidedText(device, Qt::ElideLeft, area.width() / 2 + 40));
    painter->restore();
}

QSize PortItemDelegate::sizeHint(const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    const QString device = index.data(PortComboBox::kDeviceRole).toString();
    if (!device.isEmpty())
        size.rwidth() += option.fontMetrics.horizontalAdvance(device) + 24;
    return size;
}
