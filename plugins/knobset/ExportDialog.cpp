#include "ExportDialog.h"

#include "DialogService.h"
#include "KnobsetDialogs.h"
#include "KnobsetStrings.h"
#include "ParmCsv.h"
#include "ValueFile.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <filesystem>

namespace knobset {
namespace MB = MessageBoxStyle;

namespace {
std::string FileName(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}
} // namespace

CExportParm::CExportParm(PluginModule& module, SharedContext& ctx, const std::string& lastPath,
                         const std::string& title, QWidget* parent)
    : QDialog(parent), module_(module), ctx_(ctx), lastPath_(lastPath), title_(title) {
    setObjectName("CExportParm");
    setWindowTitle(Text(kStrButtonFirst + 6)); // "Export"
    pageMode = new QRadioButton(Text(kStrExportPage));
    compareMode = new QRadioButton(Text(kStrCompareFiles));
    QString pageNames[7];
    for (unsigned i = 0; i < 7; ++i)
        pageNames[i] = Text(kStrColumnFirst + i); // the list's column headers
    auto* layout = new QGridLayout(this);
    layout->addWidget(pageMode, 0, 0, 1, 4);
    for (int i = 0; i < 7; ++i) {
        pageColumns[static_cast<std::size_t>(i)] = new QCheckBox(pageNames[i]);
        pageColumns[static_cast<std::size_t>(i)]->setChecked(true);
        layout->addWidget(pageColumns[static_cast<std::size_t>(i)], 1 + i / 4, i % 4);
    }
    modifiedOnly = new QCheckBox(Text(kStrModifiedOnly));
    layout->addWidget(modifiedOnly, 3, 0, 1, 4);
    layout->addWidget(compareMode, 4, 0, 1, 4);
    file1 = new QLineEdit;
    file2 = new QLineEdit;
    int row = 5;
    for (QLineEdit* field : {file1, file2}) {
        field->setReadOnly(true);
        auto* browse = new QPushButton("...");
        connect(browse, &QPushButton::clicked, this, [this, field] { Browse(field); });
        layout->addWidget(new QLabel(Text(row == 5 ? kStrFile1 : kStrFile2)), row, 0);
        layout->addWidget(field, row, 1, 1, 2);
        layout->addWidget(browse, row, 3);
        ++row;
    }
    for (int i = 0; i < 5; ++i) {
        compareColumns[static_cast<std::size_t>(i)] = new QCheckBox(pageNames[i]);
        compareColumns[static_cast<std::size_t>(i)]->setChecked(true);
        layout->addWidget(compareColumns[static_cast<std::size_t>(i)], 7 + i / 4, i % 4);
    }
    auto* ok = new QPushButton(Text(kStrConfirm));
    auto* cancel = new QPushButton(Text(kStrCancel));
    connect(ok, &QPushButton::clicked, this, &CExportParm::Confirm);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    layout->addWidget(ok, 9, 2);
    layout->addWidget(cancel, 9, 3);
    connect(pageMode, &QRadioButton::toggled, this, [this](bool on) { SetMode(on ? 0 : 1); });
    SetMode(ctx_.Parms().exportMode);
}

QString CExportParm::Text(unsigned id) const {
    return QString::fromStdString(module_.Text(id));
}

void CExportParm::SetMode(int mode) {
    ctx_.Parms().exportMode = mode;
    pageMode->setChecked(mode == 0);
    compareMode->setChecked(mode == 1);
    for (QCheckBox* box : pageColumns)
        box->setEnabled(mode == 0);
    modifiedOnly->setEnabled(mode == 0);
    for (QCheckBox* box : compareColumns)
        box->setEnabled(mode == 1);
    file1->setEnabled(mode == 1);
    file2->setEnabled(mode == 1);
}

void CExportParm::SetFiles(const std::string& a, const std::string& b) {
    file1->setText(QString::fromStdString(a));
    file2->setText(QString::fromStdString(b));
}

void CExportParm::Browse(QLineEdit* field) {
    const std::string path = Dialogs().GetOpenFileName(this, title_, lastPath_, kValueDialogFilter);
    if (!path.empty())
        field->setText(QString::fromStdString(path));
}

void CExportParm::Confirm() {
    const bool compare = ctx_.Parms().exportMode == 1;
    const std::string caption = module_.Text(kStrComm);
    if (compare && (file1->text().isEmpty() || file2->text().isEmpty())) {
        Dialogs().MessageBox(this, module_.Text(kStrFileNotSelected), caption,
                             MB::kOk | MB::kIconError);
        return;
    }
    if (compare) {
        std::string caps[2] = {ReadTypeCap(file1->text().toStdString()),
                               ReadTypeCap(file2->text().toStdString())};
        for (std::string& cap : caps) {
            if (cap.empty())
                cap = "rk905";
        }
        const std::string tag = ctx_.Identity().Get(2);
        if (caps[0].substr(0, 2) != tag.substr(0, 2) || caps[1].substr(0, 2) != tag.substr(0, 2)) {
            const std::string text = module_.Text(kStrConnectionSoftware) + Upper(tag) + "\n" +
                                     module_.Text(kStrFile1) + Upper(caps[0]) + "\n" +
                                     module_.Text(kStrFile2) + Upper(caps[1]) + "\n" +
                                     module_.Text(kStrCannotCompare);
            Dialogs().MessageBox(this, text, caption, MB::kOk | MB::kIconError);
            return;
        }
    }
    const std::string path =
        AskPathToWrite(this, module_, title_, lastPath_, ".csv", kCsvDialogFilter, kStrNotCsv);
    if (path.empty())
        return;
    if (compare ? ExportComparison(path) : ExportPage(path))
        accept();
}

bool CExportParm::ExportPage(const std::string& path) {
    int columns = 0;
    for (std::size_t i = 0; i < pageColumns.size(); ++i)
        columns |= pageColumns[i]->isChecked() ? 1 << i : 0;
    const std::string text = PageCsv(ctx_.Parms(), FileName(path), &ctx_.OfflineIdentity(), columns,
                                     modifiedOnly->isChecked());
    return WriteAndReport(path, text);
}

bool CExportParm::ExportComparison(const std::string& path) {
    int columns = 0;
    for (std::size_t i = 0; i < compareColumns.size(); ++i)
        columns |= compareColumns[i]->isChecked() ? 1 << i : 0;
    TableCopy a(ctx_.Parms()), b(ctx_.Parms());
    std::string error;
    const std::string f1 = file1->text().toStdString(), f2 = file2->text().toStdString();
    const int language = ctx_.Language(kLangKnobset);
    if (!LoadValueFile(a.store, f1, a.identity, error, language) ||
        !LoadValueFile(b.store, f2, b.identity, error, language)) {
        Dialogs().MessageBox(this, error, module_.Text(kStrComm), MB::kOk | MB::kIconError);
        return false;
    }
    const std::string text = CompareCsv(a.store, a.identity, FileName(f1), b.store, b.identity,
                                        FileName(f2), FileName(path), columns);
    return WriteAndReport(path, text);
}

bool CExportParm::WriteAndReport(const std::string& path, const std::string& text) {
    std::string error;
    if (!WriteCsv(path, text, error)) {
        Dialogs().MessageBox(this, FillTemplate(module_.Text(kStrCannotCreate), {path}), title_,
                             MB::kOk);
        return false;
    }
    Dialogs().MessageBox(this, FillTemplate(module_.Text(kStrFileSaved), {path}), title_,
                         MB::kOk | MB::kIconInformation);
    return true;
}

} // namespace knobset
