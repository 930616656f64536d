#include "PortdeskView.h"

#include "DialogService.h"
#include "PortComboBox.h"
#include "PortDevices.h"
#include "PortdeskActions.h"
#include "PortdeskTexts.h"
#include "SerialFormat.h"

#include <QComboBox>
#include <QEvent>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>

namespace {

namespace S = PortdeskString;

// Pages sit inside the tab control, clear of the tabs.
constexpr int kPageInsetTop = 48;
constexpr int kPageInsetBottom = 8;
constexpr int kPageInsetSide = 10;
constexpr int kButtonWidth = 84;
constexpr int kButtonHeight = 26;
constexpr int kMargin = 6;
// Long lists open as a scrolling list of a few entries, not as a menu as tall
// as the screen.
constexpr const char* kScrollingPopup = "QComboBox { combobox-popup: 0; }";

QLineEdit* NumberField(QWidget* parent, const char* name) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setReadOnly(true);
    field->setAlignment(Qt::AlignRight);
    field->setFixedWidth(44);
    return field;
}

} // namespace

CPortdeskView::CPortdeskView(PluginModule& module, CPortdeskApp& app)
    : CDLLView(module), app_(app), tabFrame_(new QFrame(this)), tabs_(new QTabBar(tabFrame_)),
      mainButton_(new QPushButton(this)), cancelButton_(new QPushButton(this)) {
    setObjectName("PortdeskView");
    tabFrame_->setFrameShape(QFrame::StyledPanel);
    tabs_->setObjectName("tabs");
    tabs_->setStyleSheet("QTabBar::tab { width: 70px; height: 30px; }");
    tabs_->addTab(QString());
    tabs_->addTab(QString());
    tabs_->move(kPageInsetSide, 8);
    for (QWidget*& page : pages_)
        page = new QWidget(tabFrame_);
    BuildOnlinePage();
    BuildOfflinePage();
    mainButton_->setObjectName("mainButton");
    cancelButton_->setObjectName("cancelButton");
    mainButton_->setDefault(true);
    connect(tabs_, &QTabBar::currentChanged, this, &CPortdeskView::ShowPage);
    connect(mainButton_, &QPushButton::clicked, this, &CPortdeskView::OnMainButton);
    connect(cancelButton_, &QPushButton::clicked, this, &CPortdeskView::OnCancel);

    // Initial update: page 0, both buttons enabled, the texts of the language
    // in force (the window timer then notices later changes).
    ShowPage(0);
    SetSearchControlsEnabled(true);
    Module().Strings().ReadTableFile(
        LanguageTablePath(Context().AppDir(), Module().Traits().name,
                          Context().Language(Module().Traits().languageOwner))
            .c_str());
    ApplyTexts();
    mainButton_->setFocus();
}

CPortdeskView::~CPortdeskView() = default;

void CPortdeskView::BuildOnlinePage() {
    SharedContext& ctx = Context();
    auto* pageLayout = new QVBoxLayout(pages_[0]);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    onlineFrame_ = new QGroupBox(pages_[0]);
    pageLayout->addWidget(onlineFrame_);
    auto* grid = new QGridLayout(onlineFrame_);
    grid->setContentsMargins(8, 6, 8, 6);
    grid->setVerticalSpacing(3);

    portLabel_ = new QLabel(onlineFrame_);
    portList_ = new PortComboBox(onlineFrame_);
    portList_->setObjectName("portList");
    portList_->setStyleSheet(kScrollingPopup);
    portList_->Fill(QString());
    portField_ = NumberField(onlineFrame_, "portField");
    portField_->setText(QString::number(ctx.Int(kComPort).load()));
    deviceLabel_ = new QLabel(onlineFrame_);
    deviceLabel_->setObjectName("deviceLabel");
    deviceLabel_->setStyleSheet("color: palette(mid);");

    formatLabel_ = new QLabel(onlineFrame_);
    formatList_ = new QComboBox(onlineFrame_);
    formatList_->setObjectName("formatList");
    formatList_->addItem(QString());
    for (int format = 0; format < wirelay::kSerialFormatCount; ++format)
        formatList_->addItem(QString::fromStdString(FormatListEntry(format)));
    // The entries line up in columns.
    formatList_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

    idLabel_ = new QLabel(onlineFrame_);
    idList_ = new QComboBox(onlineFrame_);
    idList_->setObjectName("idList");
    idList_->setStyleSheet(kScrollingPopup);
    idList_->addItem(QString());
    for (int address = 1; address <= CPortdeskApp::kAddresses; ++address)
        idList_->addItem(QString::fromStdString(IdListEntry(address)));
    idList_->setCurrentIndex(1);
    idField_ = NumberField(onlineFrame_, "idField");
    idField_->setText(QString::number(ctx.Int(kSlaveId).load()));

    comboProgress_ = new QProgressBar(onlineFrame_);
    comboProgress_->setObjectName("comboProgress");
    comboProgress_->setRange(0, 100);
    comboProgress_->setValue(100);
    comboProgress_->setFixedHeight(12);
    comboProgress_->setTextVisible(false);
    formatProgress_ = new QProgressBar(onlineFrame_);
    formatProgress_->setObjectName("formatProgress");
    formatProgress_->setRange(0, 16);
    formatProgress_->setValue(16);
    formatProgress_->setFixedHeight(12);
    formatProgress_->setTextVisible(false);
    // Hidden bars keep their room, so the page does not jump when they show.
    for (QProgressBar* bar : {comboProgress_, formatProgress_}) {
        QSizePolicy policy = bar->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        bar->setSizePolicy(policy);
        bar->hide();
    }

    grid->addWidget(portLabel_, 0, 0);
    grid->addWidget(portList_, 0, 1);
    grid->addWidget(portField_, 0, 2);
    grid->addWidget(deviceLabel_, 1, 1, 1, 2);
    grid->addWidget(formatLabel_, 2, 0);
    grid->addWidget(formatList_, 2, 1, 1, 2);
    grid->addWidget(idLabel_, 3, 0);
    grid->addWidget(idList_, 3, 1);
    grid->addWidget(idField_, 3, 2);
    grid->addWidget(comboProgress_, 4, 0, 1, 3);
    grid->addWidget(formatProgress_, 5, 0, 1, 3);
    grid->setRowStretch(6, 1); // rows stay compact at the top of the frame
    grid->setColumnStretch(1, 1);

    connect(portList_, &QComboBox::currentIndexChanged, this, &CPortdeskView::ShowCurrentDevice);
    connect(portList_, &QComboBox::currentIndexChanged, this, [this](int entry) {
        if (entry != portList_->ByPathEntry())
            chosenPort_ = entry;
    });
    connect(portList_, &QComboBox::activated, this, [this](int entry) {
        if (entry == portList_->ByPathEntry())
            ChoosePortByPath();
    });
    connect(portList_, &PortComboBox::DevicesRefreshed, this, &CPortdeskView::ShowCurrentDevice);
    ShowCurrentDevice();
}

void CPortdeskView::BuildOfflinePage() {
    auto* pageLayout = new QVBoxLayout(pages_[1]);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    offlineFrame_ = new QGroupBox(pages_[1]);
    pageLayout->addWidget(offlineFrame_);
    auto* layout = new QVBoxLayout(offlineFrame_);
    versionLabel_ = new QLabel(offlineFrame_);
    versionList_ = new QComboBox(offlineFrame_);
    versionList_->setObjectName("versionList");
    for (const char* name : kVersionNames)
        versionList_->addItem(name);
    versionList_->setCurrentIndex(2);
    layout->addWidget(versionLabel_);
    layout->addWidget(versionList_);
    layout->addStretch(1);
}

void CPortdeskView::resizeEvent(QResizeEvent* event) {
    CDLLView::resizeEvent(event);
    const int buttonsTop = height() - kMargin - kButtonHeight;
    tabFrame_->setGeometry(kMargin, kMargin, width() - 2 * kMargin, buttonsTop - 2 * kMargin);
    for (QWidget* page : pages_)
        page->setGeometry(kPageInsetSide, kPageInsetTop, tabFrame_->width() - 2 * kPageInsetSide,
                          tabFrame_->height() - kPageInsetTop - kPageInsetBottom);
    cancelButton_->setGeometry(width() - kMargin - kButtonWidth, buttonsTop, kButtonWidth,
                               kButtonHeight);
    mainButton_->setGeometry(cancelButton_->x() - kMargin - kButtonWidth, buttonsTop, kButtonWidth,
                             kButtonHeight);
}

void CPortdeskView::ApplyTexts() {
    const PluginModule& m = Module();
    auto text = [&m](unsigned id) { return QString::fromStdString(m.Text(id)); };
    ApplyTitle();
    tabs_->setTabText(0, text(S::kTabOnline));
    tabs_->setTabText(1, text(S::kTabOffline));
    mainButton_->setText(text(tabs_->currentIndex() == 0 ? S::kButtonConnect : S::kButtonOk));
    cancelButton_->setText(text(S::kButtonCancel));
    onlineFrame_->setTitle(text(S::kFrameOnline));
    portLabel_->setText(text(S::kLabelPort));
    formatLabel_->setText(text(S::kLabelFormat));
    idLabel_->setText(text(S::kLabelId));
    offlineFrame_->setTitle(text(S::kFrameOffline));
    versionLabel_->setText(text(S::kLabelVersion));
    portList_->SetAutoSearchText(text(S::kAutoSearch));
    portList_->SetDeviceTexts(m.Text(S::kNoDevice), m.Text(S::kNotPresent));
    portList_->SetByPathText(text(S::kByPathEntry));
    formatList_->setItemText(0, text(S::kAutoSearch));
    idList_->setItemText(0, text(S::kAutoSearch));
}

void CPortdeskView::ApplyTitle() {
    const QString title = QString::fromStdString(Module().Text(S::kTitle));
    setWindowTitle(title);
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
        frame->setWindowTitle(title);
}

bool CPortdeskView::event(QEvent* event) {
    // The child frame takes the view after its construction: give it the title then.
    if (event->type() == QEvent::ParentChange)
        ApplyTitle();
    return CDLLView::event(event);
}

void CPortdeskView::OnLanguageChanged() {
    ApplyTexts();
}

void CPortdeskView::ShowPage(int page) {
    pages_[page == 0 ? 1 : 0]->hide();
    pages_[page]->show();
    mainButton_->setText(
        QString::fromStdString(Module().Text(page == 0 ? S::kButtonConnect : S::kButtonOk)));
}

void CPortdeskView::ShowCurrentDevice() {
    if (portList_->currentIndex() == 0) {
        deviceLabel_->clear();
        return;
    }
    const QString device = portList_->CurrentDevice();
    deviceLabel_->setText(device.isEmpty() ? portList_->currentData(Qt::ToolTipRole).toString()
                                           : device);
}

// The user picks a serial device by its path (or types one); it gets a COM
// number through [PortMap] and becomes the current entry.
void CPortdeskView::ChoosePortByPath() {
    QStringList paths;
    for (const std::string& path : SerialDevicePaths())
        paths << QString::fromStdString(path);
    bool ok = false;
    const QString path = QInputDialog::getItem(
        this, windowTitle(), QString::fromStdString(Module().Text(S::kByPathLabel)), paths, 0, true,
        &ok);
    const int port = ok ? MapPortToPath(path.trimmed().toStdString(), CPortdeskApp::kPorts) : 0;
    if (port > 0)
        chosenPort_ = port;
    portList_->RefreshDevices();
    portList_->setCurrentIndex(chosenPort_);
}

void CPortdeskView::SetSearchControlsEnabled(bool enabled) {
    for (QWidget* w : {static_cast<QWidget*>(portList_), static_cast<QWidget*>(formatList_),
                       static_cast<QWidget*>(idList_), static_cast<QWidget*>(mainButton_)})
        w->setEnabled(enabled);
    cancelButton_->setEnabled(true);
}

int CPortdeskView::Message(const std::string& text, unsigned style) {
    return Dialogs().MessageBox(this, text, Module().Text(S::kCaption), style);
}

void CPortdeskView::OnMainButton() {
    if (tabs_->currentIndex() == 0)
        OnConnect();
    else
        OnOfflineOk();
}

void CPortdeskView::OnConnect() {
    const SearchStart start =
        StartSearch(app_, Context(), Module().Strings(), portList_->currentIndex(),
                    idList_->currentIndex(), formatList_->currentIndex());
    if (start.busy) {
        Message(start.busyMessage, MessageBoxStyle::kIconInformation);
        return;
    }
    SetSearchControlsEnabled(false);
    comboProgress_->setRange(0, start.progressRange);
    comboProgress_->setValue(0);
    comboProgress_->show();
    if (start.showFormatProgress)
        formatProgress_->show();
}

void CPortdeskView::OnOfflineOk() {
    ApplyOffline(Context(), versionList_->currentIndex());
    CloseOwnWindow();
}

void CPortdeskView::OnCancel() {
    if (SearchPending(app_)) {
        if (Message(Module().Text(S::kAskStopSearch),
                    MessageBoxStyle::kYesNo | MessageBoxStyle::kIconQuestion |
                        MessageBoxStyle::kDefaultButton2) == kAnswerYes)
            app_.SetCancel(1);
        return;
    }
    CloseOwnWindow(); // the view's destruction applies the close rule of "&Connect"
}

void CPortdeskView::OnTimerTick() {
    int count = 0;
    int format = 0;
    if (app_.iCommStep.load() == kStepSearchRequested && app_.TryReadProgress(count, format)) {
        comboProgress_->setValue(count);
        formatProgress_->setValue(format);
    }
    ShowSearchResult();
}

void CPortdeskView::ShowSearchResult() {
    const std::optional<SearchNotice> notice =
        TakeFinishedSearch(app_, Context(), Module().Strings());
    if (!notice)
        return;
    int count = 0;
    int format = 0;
    if (app_.TryReadProgress(count, format)) {
        comboProgress_->setValue(count);
        formatProgress_->setValue(format);
    }
    SetSearchControlsEnabled(true);
    portField_->setText(QString::number(Context().Int(kComPort).load()));
    idField_->setText(QString::number(Context().Int(kSlaveId).load()));
    if (!notice->text.empty())
        Message(notice->text, notice->style);
    if (notice->result == kResultIdentified) {
        ApplyConnected(Context());
        CloseOwnWindow();
        RequestParameterEditor(Context());
    }
    comboProgress_->hide();
    formatProgress_->hide();
    app_.iCommResult = kResultNone;
}

void CPortdeskView::CloseOwnWindow() {
    QWidget* target = parentWidget() != nullptr ? parentWidget() : this;
    QMetaObject::invokeMethod(target, &QWidget::close, Qt::QueuedConnection);
}
