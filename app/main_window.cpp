#include "app/main_window.h"

#include "app/activity_lamps.h"
#include "app/exercise_staff.h"
#include "app/help_commands.h"
#include "app/instrument_panel.h"
#include "app/menu_commands.h"
#include "app/practice_screen.h"
#include "app/program_start.h"
#include "app/screen_layout.h"
#include "app/settings_commands.h"
#include "app/sound_bridge.h"
#include "app/sound_panel.h"
#include "app/tip_and_fork.h"
#include "app/transport_panel.h"
#include "app/user_sound.h"
#include "app/window_keys.h"
#include "input/midi_keyboard.h"
#include "input/piano_input.h"
#include "theory/clock.h"
#include "userdata/messages.h"
#include "userdata/paths.h"
#include "userdata/strings.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QStatusTipEvent>

namespace harmik {
namespace {

constexpr int kModuleTitleBase = 1707; // + module: "Интервалы" ... "Ритм"
constexpr int kCloseQuestion = 511;

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
    menu_ = new MenuCommands(*this);
    start_ = std::make_unique<ProgramStart>(*this);
    start_->FormCreate(setup.bitsPerPixel);
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

void TForm1::syncSoundSettings() {
    if (sound_)
        sound_->Settings = SoundSettingsFrom(settings_);
}

void TForm1::EarSetLoadedSettings() {
    start_->EarSetLoadedSettings();
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
        menu_->mOmHarmikClick();
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

void TForm1::ShowTipsAtStart(QWidget* splash) {
    tipAndFork_->ShowTipsAtStart(splash);
}

TuningForkPicture* TForm1::ImageStemGafl() const {
    return tipAndFork_ ? tipAndFork_->ImageStemGafl() : nullptr;
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

QAction* TForm1::menuAction(const QString& name) const {
    return menu_->action(name);
}

MidiKeyboard& TForm1::midiKeyboard() {
    return keys_->midiKeyboard();
}

void TForm1::SpeedMidiIndClick() {
    keys_->midiKeyboard().toggleListening();
}

void TForm1::RadioKlassiskMouseDown(int playStyle) {
    session_->PreviewCadence(playStyle);
}

void TForm1::Judge(int value, int source, int recognisedChordType) {
    session_->Judge(value, source, recognisedChordType);
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
