#include "HzUtil.h"

#include "AtomicFile.h"
#include "DialogService.h"
#include "ScopeCsv.h"
#include "TextTemplate.h"
#include "TracelensApp.h"
#include "TracelensStrings.h"
#include "UtilityInfo.h"

#include <QBuffer>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <sstream>

namespace tracelens {

namespace {

namespace MB = MessageBoxStyle;
constexpr int kTickMs = 50;
constexpr int kClearDone = 2;
constexpr int kClearFailed = 3;

// A name without a suffix gets the default one.
std::string WithSuffix(const std::string& path, const char* suffix) {
    if (path.empty() || !QFileInfo(QString::fromStdString(path)).suffix().isEmpty())
        return path;
    return path + "." + suffix;
}

QGroupBox* Group(QWidget* parent, QLayout* layout) {
    auto* group = new QGroupBox(parent);
    group->setLayout(layout);
    return group;
}

} // namespace

CHzUtil::CHzUtil(CTracelensApp& app, PluginModule& module, QWidget* parent)
    : QWidget(parent), app_(app), module_(module) {
    save_ = new QPushButton(this);
    open_ = new QPushButton(this);
    auto* waveRow = new QHBoxLayout;
    waveRow->addWidget(save_);
    waveRow->addWidget(open_);
    waveGroup_ = Group(this, waveRow);

    clearChoice_ = new QComboBox(this);
    clear_ = new QPushButton(this);
    auto* clearRow = new QHBoxLayout;
    clearRow->addWidget(clearChoice_, 1);
    clearRow->addWidget(clear_);
    clearGroup_ = Group(this, clearRow);

    png_ = new QPushButton(this);
    csv_ = new QPushButton(this);
    auto* exportRow = new QHBoxLayout;
    exportRow->addWidget(png_);
    exportRow->addWidget(csv_);
    exportGroup_ = Group(this, exportRow);

    info_ = new QListWidget(this);
    info_->setWordWrap(true);
    auto* infoBox = new QVBoxLayout;
    infoBox->addWidget(info_);
    infoGroup_ = Group(this, infoBox);

    auto* column = new QVBoxLayout(this);
    column->addWidget(waveGroup_);
    column->addWidget(clearGroup_);
    column->addWidget(exportGroup_);
    column->addWidget(infoGroup_, 1);

    connect(save_, &QPushButton::clicked, this, &CHzUtil::SaveWave);
    connect(open_, &QPushButton::clicked, this, &CHzUtil::OpenWave);
    connect(clear_, &QPushButton::clicked, this, &CHzUtil::Clear);
    connect(png_, &QPushButton::clicked, this, &CHzUtil::ExportPng);
    connect(csv_, &QPushButton::clicked, this, &CHzUtil::ExportCsv);
    connect(&timer_, &QTimer::timeout, this, &CHzUtil::OnTick);
    timer_.start(kTickMs);
    ApplyLanguage();
    OnTick();
}

void CHzUtil::ApplyLanguage() {
    const auto q = [this](unsigned id) { return QString::fromStdString(Text(id)); };
    waveGroup_->setTitle(q(kStrWaveGroup));
    clearGroup_->setTitle(q(kStrClearGroup));
    exportGroup_->setTitle(q(kStrExportGroup));
    infoGroup_->setTitle(q(kStrInfoGroup));
    save_->setText(q(kStrSaveWave));
    open_->setText(q(kStrOpenWave));
    clear_->setText(q(kStrClear));
    png_->setText(q(kStrExportPng));
    csv_->setText(q(kStrExportCsv));
    const int chosen = std::max(0, clearChoice_->currentIndex());
    clearChoice_->clear();
    clearChoice_->addItems({q(kStrClearEncoder), q(kStrClearPosition)});
    clearChoice_->setCurrentIndex(chosen);

    std::array<std::string, kScopeMessages> messages;
    for (int m = kMsgCannotCreate; m < kScopeMessages; ++m)
        messages[static_cast<std::size_t>(m)] = Text(kStrCannotCreate + m - kMsgCannotCreate);
    app_.SetMessageTexts(messages);

    info_->clear();
    SharedContext* ctx = module_.Context();
    if (ctx == nullptr)
        return;
    const int language = ctx->Language(module_.Traits().languageOwner);
    for (const std::string& line : LoadUtilityInfo(UtilityInfoPath(ctx->AppDir(), language)))
        info_->addItem(QString::fromStdString(line));
}

void CHzUtil::OnTick() {
    const bool stopped = app_.WorkingRequest().word[ScopeRequest::kRunMode] == kModeStop;
    for (QPushButton* button : {save_, open_, clear_})
        button->setEnabled(stopped);

    const ClearCommand answer = app_.TakeClearResult();
    if (answer.result == kClearDone)
        Dialogs().MessageBox(this, Text(kStrClearComplete), Text(kStrMessage),
                             MB::kOk | MB::kIconInformation);
    else if (answer.result == kClearFailed)
        Dialogs().MessageBox(this, Text(kStrClearFailed), Text(kStrMessage),
                             MB::kOk | MB::kIconError);
    if (!csvPath_.empty())
        WriteCsv();
}

void CHzUtil::SaveWave() {
    const std::string path = WithSuffix(
        Dialogs().GetSaveFileName(this, Text(kStrSaveWave), lastWave_, Text(kStrWaveFilter)),
        "tcs");
    if (path.empty())
        return;
    lastWave_ = path;
    app_.RequestWaveSave(path);
}

void CHzUtil::OpenWave() {
    const std::string path =
        Dialogs().GetOpenFileName(this, Text(kStrOpenWave), lastWave_, Text(kStrWaveFilter));
    if (path.empty())
        return;
    lastWave_ = path;
    app_.RequestWaveLoad(path);
}

// A second press while a command is pending does nothing.
void CHzUtil::Clear() {
    app_.RequestClear(clearChoice_->currentIndex() == 1 ? 2 : 1);
}

void CHzUtil::ExportPng() {
    QImage picture;
    if (!app_.CopyPicture(picture)) {
        ShowMessage(Text(kStrNoPicture), MB::kIconError);
        return;
    }
    const std::string path = WithSuffix(
        Dialogs().GetSaveFileName(this, Text(kStrExportPng), lastExport_, Text(kStrPngFilter)),
        "png");
    if (path.empty())
        return;
    lastExport_ = path;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    WriteExport(path, std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

// The cycle owns the samples: the panel asks for a copy and writes the file
// once the copy has come (OnTick).
void CHzUtil::ExportCsv() {
    const std::string path = WithSuffix(
        Dialogs().GetSaveFileName(this, Text(kStrExportCsv), lastExport_, Text(kStrCsvFilter)),
        "csv");
    if (path.empty())
        return;
    lastExport_ = path;
    csvPath_ = path;
    app_.RequestRecordedCopy();
}

void CHzUtil::WriteCsv() {
    RecordedCopy copy;
    if (!app_.TakeRecordedCopy(copy))
        return;
    // The traces on screen: channels with a signal, shown, and not the
    // hidden half of a 32-bit pair.
    const ChannelTable& channels = app_.MasterChannels();
    const ScopeTiming& timing = app_.MasterTiming();
    std::vector<CsvColumn> columns;
    for (int ch = 0; ch < kChannels; ++ch) {
        const bool pairHalf = ch % 2 == 1 && channels[static_cast<std::size_t>(ch - 1)].wide;
        const ScopeChannel& channel = channels[static_cast<std::size_t>(ch)];
        if (timing.signal[ch] >= 0 && channel.enabled != 0 && !pairHalf)
            columns.push_back({channel.caption, ch});
    }
    std::ostringstream csv;
    WriteScopeCsv(csv, columns, copy.rows, copy.msPerSample, copy.highSample);
    const std::string path = csvPath_;
    csvPath_.clear();
    WriteExport(path, csv.str());
}

void CHzUtil::WriteExport(const std::string& path, const std::string& contents) {
    if (toolbelt::WriteFileAtomically(path, contents))
        ShowMessage(FillTemplate(Text(kStrFileSaved), {path}), MB::kIconInformation);
    else
        ShowMessage(FillTemplate(Text(kStrCannotCreate), {path}), MB::kIconError);
}

void CHzUtil::ShowMessage(const std::string& text, unsigned icon) {
    Dialogs().MessageBox(this, text, Text(kStrTitle), MB::kOk | icon);
}

} // namespace tracelens
