// CExportParm: a CSV of the current page, or the differences of two value
// files; the mode survives in ParmStore::exportMode.
#pragma once

#include "PluginModule.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace knobset {

class CExportParm : public QDialog {
    Q_OBJECT
public:
    // `title` names the editor in the file dialogs and message boxes.
    CExportParm(PluginModule& module, SharedContext& ctx, const std::string& lastPath,
                const std::string& title, QWidget* parent);
    void SetMode(int mode);
    void SetFiles(const std::string& file1, const std::string& file2);

    QRadioButton* pageMode;
    QRadioButton* compareMode;
    std::array<QCheckBox*, 7> pageColumns{};
    QCheckBox* modifiedOnly;
    std::array<QCheckBox*, 5> compareColumns{};
    QLineEdit* file1;
    QLineEdit* file2;

private:
    void Browse(QLineEdit* field);
    void Confirm();
    bool ExportPage(const std::string& path);
    bool ExportComparison(const std::string& path);
    bool WriteAndReport(const std::string& path, const std::string& text);
    QString Text(unsigned id) const;
    PluginModule& module_;
    SharedContext& ctx_;
    std::string lastPath_;
    std::string title_;
};

} // namespace knobset
