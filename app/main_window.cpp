#include "app/main_window.h"

#include "app/about_window.h"
#include "app/activity_lamps.h"
#include "app/main_menu.h"
#include "app/sound_panel.h"
#include "theory/module_id.h"
#include "userdata/hints.h"
#include "userdata/messages.h"
#include "userdata/strings.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QStatusTipEvent>
#include <QToolTip>
#include <QUrl>
#include <QVBoxLayout>

namespace harmik {
namespace {

constexpr int kModuleTitleBase = 1707;   // + module: "Интервалы" ... "Ритм"
constexpr int kTopTenDefaultNames = 500; // twelve names of 20 characters each
constexpr int kColourDepthHelpTopic = 153;
constexpr int kNoBrowserMessage = 2035;
constexpr int kCloseQuestion = 511;
constexpr int kFileNotWritten = 2041;
constexpr int kCreditsHint = 3050;
constexpr int kSoundPanelHint = 3051;

// Help topics of the modules, by module number.
constexpr int kModuleHelpTopic[8] = {0, 11, 12, 13, 14, 17, 15, 16};

// Commands that work in this build. The others are shown, disabled, until their parts are in.
const char* const kWorkingCommands[] = {"mAfslutHarmik", "mVisTitel", "mOmHarmik", "mHomepage"};

int screenDepth(const QWidget* w) {
    const QScreen* screen = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->depth() : 24;
}

QColor qcolorOr(const QColor& c, const QColor& fallback) {
    return c.isValid() ? c : fallback;
}

} // namespace

TForm1::TForm1(int bitsPerPixel, QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("TForm1"));
    buildLayout();
    FormCreate(bitsPerPixel);
}

TForm1::~TForm1() = default;

QString TForm1::ModuleCaption(int module) {
    return QStringLiteral(" H A R M I K - ") + LoadStr(kModuleTitleBase + module);
}

void TForm1::buildLayout() {
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("MainArea"));
    setCentralWidget(central);

    freeArea_ = new QWidget(central);
    freeArea_->setObjectName(QStringLiteral("FreeArea"));
    freeArea_->setMouseTracking(true);
    freeArea_->installEventFilter(this);

    credits_ = new QLabel(central);
    credits_->setObjectName(QStringLiteral("LabCredits"));
    credits_->setCursor(Qt::PointingHandCursor);
    credits_->installEventFilter(this);

    imageMini_ = new MiniPicture(central);
    imageEndeH_ = new ActivityLamps(central);

    auto* foot = new QHBoxLayout;
    foot->setContentsMargins(6, 2, 6, 2);
    foot->addWidget(credits_);
    foot->addStretch(1);
    foot->addWidget(imageMini_);
    foot->addWidget(imageEndeH_);

    panStatus_ = new QLabel(central);
    panStatus_->setObjectName(QStringLiteral("PanStatus"));
    panStatus_->setFrameShape(QFrame::Panel);
    panStatus_->setFrameShadow(QFrame::Sunken);
    panStatus_->setIndent(4);

    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(freeArea_, 1);
    column->addLayout(foot);
    column->addWidget(panStatus_);

    panValg_ = new SoundPanel(central);
    connect(imageMini_, &MiniPicture::touched, this, &TForm1::openSoundPanel);
}

void TForm1::FormCreate(int bitsPerPixel) {
    // The display check, then the window's own records.
    const ColourDepthDecision decision =
        DecideColourDepth(bitsPerPixel > 0 ? bitsPerPixel : screenDepth(this));
    if (decision.messageId == 2010)
        ShowMessage(this, {MessageType::Warning,
                           MessageButtons::OkHelp,
                           LoadStr(2010),
                           kColourDepthHelpTopic,
                           {}});
    else if (decision.messageId == 2011)
        ShowMessage(this, {MessageType::Information,
                           MessageButtons::OkHelp,
                           LoadStr(2011),
                           kColourDepthHelpTopic,
                           {}});
    applyColourDepth(decision);

    startDirectory_ = QDir::currentPath();
    cursors_.Load();
    ProgramInit();
}

void TForm1::applyColourDepth(const ColourDepthDecision& d) {
    highColourDisplay_ = d.HighColourDisplay;
    QPalette pal = palette();
    pal.setColor(QPalette::Window, d.windowColour);
    const QColor text = qcolorOr(d.fontColour, QColor(Qt::white));
    pal.setColor(QPalette::WindowText, text);
    centralWidget()->setAutoFillBackground(true);
    centralWidget()->setPalette(pal);
}

void TForm1::ProgramInit() {
    // Texts from the string table: menus, captions and hints.
    StringInit();

    // The sound panel starts closed; the top-ten table with its defaults.
    topTen_ = DefaultTopTen(LoadStr(kTopTenDefaultNames));

    // Tooltips on a yellow ground.
    QPalette tip = QToolTip::palette();
    tip.setColor(QPalette::ToolTipBase, QColor(0xFF, 0xFF, 0x00));
    tip.setColor(QPalette::ToolTipText, Qt::black);
    QToolTip::setPalette(tip);

    // Every default, then the files over them.
    settings_ = DefaultSettings();
    settings_.MidiListen = 1;
    settings_.MidiThruOn = 1;
    LoadSettings(settings_, QString::fromLatin1(kSettingsFileName));
    applyWindowBounds();
    ReadTopTen(topTen_, QString::fromLatin1(kTopTenFileName));

    // The loaded settings on the controls.
    applyLoadedSettings();
    actions_.value(QStringLiteral("mMidiKlaverLyt"))->setChecked(settings_.MidiListen != 0);
    actions_.value(QStringLiteral("mMidiThru"))->setChecked(settings_.MidiThruOn != 0);
    tipIndex_ = settings_.TipIndex;
    tipsAtStart_ = settings_.TipsAtStart != 0;

    hintTiming_ = new HintTiming(this);
    hintTiming_->SetHintDelay(settings_.HintDelay);
    applyStatusBar();
}

void TForm1::StringInit() {
    actions_ = BuildMainMenu(menuBar());
    connectMenu();

    credits_->setText(LoadStr(1741));
    ApplyHintId(credits_, kCreditsHint);
    ApplyHintId(panStatus_, 3042);
    ApplyHintId(imageEndeH_, 3049);
    ApplyHintId(imageMini_, kSoundPanelHint);
}

void TForm1::connectMenu() {
    for (QAction* action : std::as_const(actions_)) {
        if (action->menu() == nullptr)
            action->setEnabled(false);
    }
    for (const char* name : kWorkingCommands)
        actions_.value(QString::fromLatin1(name))->setEnabled(true);

    for (const char* name : {"mVisTitel", "mMidiThru", "mMidiKlaverLyt"}) {
        QAction* a = actions_.value(QString::fromLatin1(name));
        a->setCheckable(true);
        a->setChecked(true);
    }
    connect(actions_.value(QStringLiteral("mAfslutHarmik")), &QAction::triggered, this,
            &TForm1::Luk1Click);
    connect(actions_.value(QStringLiteral("mVisTitel")), &QAction::triggered, this,
            &TForm1::mVisTitelClick);
    connect(actions_.value(QStringLiteral("mOmHarmik")), &QAction::triggered, this,
            &TForm1::mOmHarmikClick);
    connect(actions_.value(QStringLiteral("mHomepage")), &QAction::triggered, this,
            &TForm1::mHomepageClick);
}

void TForm1::applyWindowBounds() {
    const ExerciseOptionsRecord& o = settings_.ExerciseOptions;
    move(o.WinLeft, o.WinTop);
    resize(o.WinWidth, o.WinHeight);
}

void TForm1::applyLoadedSettings() {
    const int module = settings_.CurrentModule;
    setWindowTitle(ModuleCaption(module));
    helpContext_ = kModuleHelpTopic[module];
}

void TForm1::applyStatusBar() {
    panStatus_->setFixedHeight(16 * (settings_.StatusBar ? 1 : 0));
}

void TForm1::DisplayHint(const QString& longHint) {
    panStatus_->setText(longHint);
}

bool TForm1::event(QEvent* e) {
    if (e->type() == QEvent::StatusTip) {
        DisplayHint(static_cast<QStatusTipEvent*>(e)->tip());
        return true;
    }
    return QMainWindow::event(e);
}

bool TForm1::eventFilter(QObject* watched, QEvent* e) {
    if (watched == freeArea_ && e->type() == QEvent::MouseMove)
        panValg_->LetClose();
    if (watched == credits_ && e->type() == QEvent::MouseButtonRelease) {
        mOmHarmikClick();
        return true;
    }
    return QMainWindow::eventFilter(watched, e);
}

void TForm1::openSoundPanel() {
    if (panValg_->isPanelOpen())
        return;
    const int module = settings_.CurrentModule;
    panValg_->adjustSize();
    const QPoint at = imageMini_->mapTo(centralWidget(), QPoint(0, 0));
    panValg_->move(std::max(0, at.x() + imageMini_->width() - panValg_->width()),
                   std::max(0, at.y() - panValg_->height() - 2));
    panValg_->Open(settings_.ExerciseOptions.Tempo[module - 1]);
}

void TForm1::Luk1Click() {
    close();
}

void TForm1::mVisTitelClick() {
    QAction* item = actions_.value(QStringLiteral("mVisTitel"));
    const bool withTitle = item->isChecked();
    const QRect before = geometry();
    const bool visible = isVisible();
    setWindowFlag(Qt::FramelessWindowHint, !withTitle);
    setGeometry(before.x(), before.y(), before.width(), before.height() + (withTitle ? 1 : -1));
    if (visible)
        show();
}

void TForm1::mOmHarmikClick() {
    AboutWindow about(this);
    about.exec();
}

void TForm1::mHomepageClick() {
    if (!QDesktopServices::openUrl(QUrl(QStringLiteral(HARMIK_HOMEPAGE))))
        ShowMessage(
            this,
            {MessageType::Information, MessageButtons::Ok, LoadStr(kNoBrowserMessage), 0, {}});
}

bool TForm1::FormCloseQuery() {
    return ShowMessage(this, {MessageType::Confirmation,
                              MessageButtons::YesNo,
                              LoadStr(kCloseQuestion),
                              0,
                              {}}) == MessageAnswer::Yes;
}

bool TForm1::FormClose() {
    SaveSettings();
    bool ok = true;
    QString reason;
    if (!SaveSettingsFile(settings_, QString::fromLatin1(kSettingsFileName), &reason)) {
        ok = false;
        ShowMessage(
            this,
            {MessageType::Warning,
             MessageButtons::Ok,
             FormatStr(kFileNotWritten,
                       {QDir::current().filePath(QString::fromLatin1(kSettingsFileName)), reason}),
             0,
             {}});
    }
    if (!WriteTopTen(topTen_, QString::fromLatin1(kTopTenFileName), &reason)) {
        ok = false;
        ShowMessage(
            this,
            {MessageType::Warning,
             MessageButtons::Ok,
             FormatStr(kFileNotWritten,
                       {QDir::current().filePath(QString::fromLatin1(kTopTenFileName)), reason}),
             0,
             {}});
    }
    return ok;
}

void TForm1::SaveSettings() {
    settings_.TipIndex = tipIndex_;
    settings_.TipsAtStart = tipsAtStart_ ? 1 : 0;
    ExerciseOptionsRecord& o = settings_.ExerciseOptions;
    const Qt::WindowStates state = windowState();
    const bool normal =
        !(state & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen));
    if (normal) {
        o.WinLeft = x();
        o.WinTop = y();
        o.WinWidth = width();
        o.WinHeight = height();
    }
    o.WinMaximized = (state & Qt::WindowMaximized) ? 1 : 0;
}

void TForm1::closeEvent(QCloseEvent* e) {
    if (!closeConfirmed_) {
        if (!FormCloseQuery()) {
            e->ignore();
            return;
        }
        closeConfirmed_ = true;
        FormClose();
    }
    e->accept();
}

} // namespace harmik
