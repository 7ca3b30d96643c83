#include "app/main_window.h"

#include "app/about_window.h"
#include "app/activity_lamps.h"
#include "app/exercise_options.h"
#include "app/exercise_staff.h"
#include "app/help_commands.h"
#include "app/instrument_panel.h"
#include "app/main_menu.h"
#include "app/melody_options.h"
#include "app/module_buttons.h"
#include "app/practice_screen.h"
#include "app/rhythm_options.h"
#include "app/score_panel.h"
#include "app/screen_layout.h"
#include "app/settings_commands.h"
#include "app/sound_bridge.h"
#include "app/sound_controls.h"
#include "app/sound_panel.h"
#include "app/tip_and_fork.h"
#include "app/top_ten_window.h"
#include "app/transport_panel.h"
#include "app/tutor_control.h"
#include "app/user_sound.h"
#include "app/window_keys.h"
#include "help/help_topics.h"
#include "input/answer_panel.h"
#include "input/midi_keyboard.h"
#include "input/piano_input.h"
#include "input/piano_widget.h"
#include "input/staff_widget.h"
#include "theory/clock.h"
#include "theory/progression_table.h"
#include "userdata/help_request.h"
#include "userdata/hints.h"
#include "userdata/messages.h"
#include "userdata/paths.h"
#include "userdata/strings.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusTipEvent>
#include <QToolButton>
#include <QToolTip>

namespace harmik {
namespace {

constexpr int kModuleTitleBase = 1707;   // + module: "Интервалы" ... "Ритм"
constexpr int kTopTenDefaultNames = 500; // twelve names of 20 characters each
constexpr int kCloseQuestion = 511;
constexpr int kCreditsHint = 3050;
constexpr int kNoMidiOutPianoHint = 3046;
constexpr int kSynthName = 1361;

// Commands that work in this build. The others are shown, disabled, until their parts are in.
const char* const kWorkingCommands[] = {
    "mAfslutHarmik", "mVisTitel", "mOmHarmik",         "mHomepage",    "mTop10",
    "mIntervaller",  "mSkalaer",  "mAkkorder",         "mOmvendinger", "mProgression",
    "mMelodier",     "mRytme",    "mVisnoder",         "mMidiThru",    "mMidiKlaverLyt",
    "mMidi",         "mDiverse",  "mGemovelse",        "mHentovelse",  "mIndhold",
    "mTastatur",     "mHelpon",   "mHurtiggennemgang",
};

const char* const kModuleMenuItems[] = {"mIntervaller", "mSkalaer",  "mAkkorder", "mOmvendinger",
                                        "mProgression", "mMelodier", "mRytme"};

TForm1Setup setupForDepth(int bitsPerPixel) {
    TForm1Setup s;
    s.bitsPerPixel = bitsPerPixel;
    return s;
}

} // namespace

TForm1::TForm1(int bitsPerPixel, QWidget* parent) : TForm1(setupForDepth(bitsPerPixel), parent) {}

TForm1::TForm1(const TForm1Setup& setup, QWidget* parent) : QMainWindow(parent), setup_(setup) {
    setObjectName(QStringLiteral("TForm1"));
    practiceScreen_ = std::make_unique<PracticeScreen>(*this);
    screenLayout_ = std::make_unique<ScreenLayout>(*this);
    settingsCommands_ = std::make_unique<SettingsCommands>(*this);
    session_ = std::make_unique<PracticeSession>(settings_, itemNames_, *practiceScreen_);
    userSound_ = new UserSound(
        settings_, [this] { return sound_.get(); }, this);
    keys_ = new WindowKeys(*this, *userSound_);
    buildLayout();
    // Help is there before the first message of the start-up can offer it.
    helpCommands_ = new HelpCommands(*this);
    FormCreate(setup.bitsPerPixel);
    helpCommands_->ConnectMenu();
    tipAndFork_ = new TipAndFork(*this);
    EarDoScreen();
    qApp->installEventFilter(keys_);
    qApp->installEventFilter(this);
}

TForm1::~TForm1() {
    session_->TimerMidi1()->stop();
    session_->TimerPoint()->stop();
    if (sound_)
        sound_->Shutdown(session_->Queue());
}

QString TForm1::ModuleCaption(int module) {
    return QStringLiteral(" H A R M I K - ") + LoadStr(kModuleTitleBase + module);
}

void TForm1::FormCreate(int bitsPerPixel) {
    // The display check, then the window's own records.
    const ColourDepthDecision decision =
        DecideColourDepth(bitsPerPixel > 0 ? bitsPerPixel : ScreenDepth(this));
    ShowColourDepthMessage(this, decision);
    highColourDisplay_ = decision.HighColourDisplay;
    windowColour_ = decision.windowColour;
    ApplyColourDepthColours(centralWidget(), speedMenu_, decision);

    startDirectory_ = QDir::currentPath();
    cursors_.Load();
    ProgramInit();
}

void TForm1::ProgramInit() {
    // Texts from the string table: item names, menus, captions and hints.
    StringInit();

    // The top-ten table with its defaults; tooltips on a yellow ground.
    topTen_ = DefaultTopTen(LoadStr(kTopTenDefaultNames));
    QPalette tip = QToolTip::palette();
    tip.setColor(QPalette::ToolTipBase, QColor(0xFF, 0xFF, 0x00));
    tip.setColor(QPalette::ToolTipText, Qt::black);
    QToolTip::setPalette(tip);

    // Every default, then the files over them.
    settings_ = DefaultSettings();
    buildExercisePanels();
    LoadSettings(settings_, QString::fromLatin1(kSettingsFileName));
    applyWindowBounds();
    ReadTopTen(topTen_, QString::fromLatin1(kTopTenFileName));
    tutor_->LoadProfileAtStart();

    // The devices, then the loaded settings on the controls and devices.
    startSound();
    EarSetLoadedSettings();
    actions_.value(QStringLiteral("mMidiKlaverLyt"))->setChecked(settings_.MidiListen != 0);
    panKlaver_->SpeedMidiInd()->setChecked(settings_.MidiListen != 0);
    actions_.value(QStringLiteral("mMidiThru"))->setChecked(settings_.MidiThruOn != 0);
    tipIndex_ = settings_.TipIndex;
    tipsAtStart_ = settings_.TipsAtStart != 0;

    hintTiming_ = new HintTiming(this);
    hintTiming_->SetHintDelay(settings_.HintDelay);
    applyStatusBar();
}

void TForm1::StringInit() {
    const std::vector<ProgressionLabelChords> progressions = ProgressionLabelCatalogue();
    itemNames_ = BuildItemNameList([](int id) { return LoadStr(id).toStdString(); }, progressions);

    actions_ = BuildMainMenu(menuBar());
    connectMenu();

    credits_->setText(LoadStr(1741));
    ApplyHintId(credits_, kCreditsHint);
    ApplyHintId(panStatus_, 3042);
    panKlaver_->applyTexts();
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
    auto on = [this](const char* name, void (TForm1::*handler)()) {
        connect(actions_.value(QString::fromLatin1(name)), &QAction::triggered, this, handler);
    };
    on("mAfslutHarmik", &TForm1::Luk1Click);
    on("mVisTitel", &TForm1::mVisTitelClick);
    on("mOmHarmik", &TForm1::mOmHarmikClick);
    on("mHomepage", &TForm1::mHomepageClick);
    on("mTop10", &TForm1::mTop10Click);
    on("mVisnoder", &TForm1::mVisnoderClick);
    on("mMidiThru", &TForm1::mMidiThruClick);
    on("mMidiKlaverLyt", &TForm1::SpeedMidiIndClick);
    on("mMidi", &TForm1::MidiSetupClick);
    on("mDiverse", &TForm1::DiverseTabClick);
    on("mGemovelse", &TForm1::mGemovelseClick);
    on("mHentovelse", &TForm1::mHentovelseClick);
    // The profile and the tutor.
    for (const char* name : {"mSeRetProfil", "mTutor"})
        actions_.value(QString::fromLatin1(name))->setEnabled(true);
    connect(actions_.value(QStringLiteral("mSeRetProfil")), &QAction::triggered, tutor_,
            &TutorControl::Opretnyprofil1Click);
    connect(actions_.value(QStringLiteral("mTutor")), &QAction::triggered, tutor_,
            &TutorControl::mTutorClick);
    for (int m = 1; m <= 7; ++m) {
        connect(actions_.value(QString::fromLatin1(kModuleMenuItems[m - 1])), &QAction::triggered,
                this, [this, m] { speedMenu_->chooseFromMenu(m); });
    }
}

void TForm1::applyWindowBounds() {
    const ExerciseOptionsRecord& o = settings_.ExerciseOptions;
    const QRect stored(o.WinLeft, o.WinTop, o.WinWidth, o.WinHeight);
    const QScreen* screen = QGuiApplication::screenAt(stored.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect fitted = FitWindowOntoScreen(stored, screen ? screen->availableGeometry() : QRect(),
                                             minimumSizeHint());
    move(fitted.topLeft());
    resize(fitted.size());
}

void TForm1::startSound() {
    SoundSystemOptions options = setup_.sound;
    if (options.DataFolders.isEmpty())
        options.DataFolders = ShippedDataFolders();
    options.BuiltInSynthName = LoadStr(kSynthName);
    sound_ = std::make_unique<SoundSystem>(this, options);
    session_->setSound(sound_.get());
    keys_->connectMidiInput();
    syncSoundSettings();

    ShowSoundMessages(this, sound_->EnumerateDevices());
    if (sound_->NoWaveDevice())
        settings_.ExerciseOptions.FeedbackType = 1;
    if (sound_->MidiOutputCount() < 1)
        ApplyHintId(panKlaver_->Image_Klaver(), kNoMidiOutPianoHint);
    syncSoundSettings();
    ShowSoundMessages(this, sound_->OpenDevices());
    sound_->Output().OnOutputActivity = [this] { imageEndeH_->LightOutput(); };
    if (settings_.NoStartMusic == 0)
        sound_->PlayStartMusic();
}

void TForm1::syncSoundSettings() {
    if (sound_)
        sound_->Settings = SoundSettingsFrom(settings_);
}

void TForm1::EarSetLoadedSettings() {
    // Instruments and volumes on the devices.
    const ExerciseOptionsRecord& e = settings_.ExerciseOptions;
    SoundOutput& out = sound_->Output();
    out.ProgramChange(settings_.MidiOutDevice, settings_.OutChannel, e.OutInstrument);
    out.ProgramChange(settings_.MidiThruDevice, settings_.ThruChannel, e.ThruInstrument);
    soundControls_->ApplyLoadedSettings();

    // The option controls, then the saved module.
    options_->ApplyLoadedSettings();
    rhythmOptions_->ApplyLoadedSettings();
    melodyOptions_->ApplyLoadedSettings();
    const int module = settings_.CurrentModule;
    settings_.CurrentModule = 0;
    SelectModule(module);
    speedMenu_->pressDown(module);
    scorePanel_->DoGauge(settings_.ExerciseOptions.ExercisesPerTask);
    melodyOptions_->ComboTonalitetChange();
    options_->SetGermanNaming(settings_.GermanNaming != 0);

    // The staff and the keyboard pictures as the settings left them.
    imageStaff_->setHighColour(highColourDisplay_);
    imageStaff_->setGermanNaming(settings_.GermanNaming != 0);
    exerciseStaff_->setGermanNaming(settings_.GermanNaming != 0);
    panKlaver_->CheckPiano()->setChecked(settings_.ShowPiano != 0);
    panKlaver_->CheckFret()->setChecked(settings_.ShowFretboard != 0);
    EarDoScreen();
    RedrawInstruments();
}

void TForm1::applyStatusBar() {
    panStatus_->setFixedHeight(16 * (settings_.StatusBar ? 1 : 0));
    EarDoScreen();
}

void TForm1::DisplayHint(const QString& longHint) {
    panStatus_->setText(longHint);
}

bool TForm1::event(QEvent* e) {
    if (e->type() == QEvent::StatusTip) {
        DisplayHint(static_cast<QStatusTipEvent*>(e)->tip());
        return true;
    }
    if (e->type() == ClickTrackReportEvent::eventType()) {
        const auto* report = static_cast<ClickTrackReportEvent*>(e);
        session_->ClickTrackReport(report->Bar, report->StartTime);
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
    panValg_->Open(settings_.ExerciseOptions.Tempo[module - 1]);
    EarDoScreen();
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
    helpCommands_->mHomepageClick();
}

void TForm1::ShowTipsAtStart(QWidget* splash) {
    tipAndFork_->ShowTipsAtStart(splash);
}

TuningForkPicture* TForm1::ImageStemGafl() const {
    return tipAndFork_ ? tipAndFork_->ImageStemGafl() : nullptr;
}

void TForm1::mTop10Click() {
    if (session_->running())
        return;
    TFormTop10 window(topTen_, this);
    connect(&window, &TFormTop10::helpRequested, &window,
            [] { OpenHelpTopic(HelpTopic::Results); });
    window.HelpBtn()->show();
    window.exec();
}

void TForm1::NyKnapClick() {
    session_->NyKnapClick();
}

void TForm1::GentagKnapClick() {
    setFocus();
    session_->GentagKnapClick();
}

void TForm1::SvarKnapClick() {
    session_->SvarKnapClick();
}

void TForm1::EarStopOve() {
    session_->EarStopOve();
}

void TForm1::ShutUpClick() {
    session_->ShutUpClick();
    pianoInput_->clearNoteHeld();
}

ShortcutActions TForm1::FormKeyDown(ShortcutKey key) {
    return keys_->FormKeyDown(key);
}

void TForm1::SpeedMidiIndClick() {
    keys_->midiKeyboard().toggleListening();
}

void TForm1::mMidiThruClick() {
    const bool on = keys_->midiKeyboard().toggleThru();
    actions_.value(QStringLiteral("mMidiThru"))->setChecked(on);
    syncSoundSettings();
}

void TForm1::RadioKlassiskMouseDown(int playStyle) {
    session_->PreviewCadence(playStyle);
}

void TForm1::Judge(int value, int source, int recognisedChordType) {
    session_->Judge(value, source, recognisedChordType);
}

void TForm1::MidiSetupClick() {
    settingsCommands_->MidiSetupClick();
}

void TForm1::DiverseTabClick() {
    settingsCommands_->DiverseTabClick();
}

void TForm1::mGemovelseClick() {
    settingsCommands_->mGemovelseClick();
}

void TForm1::mHentovelseClick() {
    settingsCommands_->mHentovelseClick();
}

bool TForm1::SaveExerciseSetTo(const QString& path) {
    return settingsCommands_->SaveExerciseSetTo(path);
}

bool TForm1::LoadExerciseSetFrom(const QString& path) {
    return settingsCommands_->LoadExerciseSetFrom(path);
}

bool TForm1::FormCloseQuery() {
    return ShowMessage(this, {MessageType::Confirmation,
                              MessageButtons::YesNo,
                              LoadStr(kCloseQuestion),
                              0,
                              {}}) == MessageAnswer::Yes;
}

bool TForm1::FormClose() {
    session_->TimerMidi1()->stop();
    session_->TimerPoint()->stop();
    if (sound_)
        sound_->Shutdown(session_->Queue());

    return settingsCommands_->SaveSettingsAndTopTen(QString::fromLatin1(kSettingsFileName));
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
        if (session_->running())
            EarStopOve();
        FormClose();
    }
    e->accept();
}

} // namespace harmik
