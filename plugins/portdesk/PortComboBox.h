// The port list: "COM k" entries whose popup shows, beside each number, the
// device it leads to when that device is present, and refreshes that every
// time it opens (an adapter plugged in meanwhile shows up).
#pragma once

#include <QComboBox>
#include <QStyledItemDelegate>
#include <string>

class PortComboBox : public QComboBox {
    Q_OBJECT
public:
    // Roles of the port entries.
    static constexpr int kDeviceRole = Qt::UserRole + 1;  // device path when present
    static constexpr int kPresentRole = Qt::UserRole + 2; // bool

    explicit PortComboBox(QWidget* parent = nullptr);

    // Entry 0 is the automatic search; entries 1..256 the ports; the last
    // entry lets the user pick a device by its path.
    void Fill(const QString& autoSearchText);
    int ByPathEntry() const { return count() - 1; }
    void SetByPathText(const QString& text);
    void SetAutoSearchText(const QString& text);
    // The tooltip texts of a number without a device ("no device") and of a
    // device that is not there ("%s (not present)"), in the user's language.
    void SetDeviceTexts(const std::string& noDevice, const std::string& notPresent);
    // Re-reads which devices exist.
    void RefreshDevices();
    // The device of the current entry ("" for automatic or none present).
    QString CurrentDevice() const;

    void showPopup() override;

signals:
    void DevicesRefreshed();

private:
    std::string noDevice_;
    std::string notPresent_;
};

// Paints the device path right-aligned and greyed beside the entry text.
class PortItemDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
