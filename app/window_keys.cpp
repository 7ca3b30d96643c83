#include "app/window_keys.h"

#include "app/activity_lamps.h"
#include "app/instrument_panel.h"
#include "app/main_window.h"
#include "app/rhythm_screen.h"
#include "app/rhythm_session.h"
#include "app/statistics_window.h"
#include "app/top_ten_window.h"
#include "app/tutor_control.h"
#include "app/user_sound.h"
#include "input/midi_keyboard.h"
#include "input/piano_input.h"
#include "theory/clock.h"
#include "theory/module_id.h"
#include "tutor/tutor_message.h"
#include "userdata/midi_settings_dialog.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QToolButton>

namespace harmik {

WindowKeys::WindowKeys(TForm1& window, UserSound& userSound)
    : QObject(&window), w_(window), userSound_(userSound) {}

WindowKeys::~WindowKeys() = default;

MidiKeyboard& WindowKeys::midiKeyboard() {
    if (midiKeyboard_)
        return *midiKeyboard_;
    MidiKeyboardHooks h;
    h.activeWindow = [] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr)
            return MidiActiveWindow::MainWindow;
        if (qobject_cast<TTutorMessage*>(modal) != nullptr)
            return MidiActiveWindow::TutorMessage;
        if (qobject_cast<TStatistikForm*>(modal) != nullptr)
            return MidiActiveWindow::Statistics;
        if (qobject_cast<TFormTop10*>(modal) != nullptr)
            return MidiActiveWindow::TopTen;
        if (auto* midi = qobject_cast<TIndstillinger*>(modal); midi && midi->remoteKeyPageShown())
            return MidiActiveWindow::MidiSettingsRemotePage;
        return MidiActiveWindow::Other;
    };
    h.taskRunning = [this] { return w_.Session().running(); };
    h.tutorActive = [this] { return w_.Tutor()->tutorActive(); };
    h.closeTutorMessageOk = [] {
        if (auto* message = qobject_cast<TTutorMessage*>(QApplication::activeModalWidget()))
            message->CloseOk();
    };
    h.clickStatisticsFocusedControl = [] {
        if (auto* button = qobject_cast<QAbstractButton*>(QApplication::focusWidget()))
            button->click();
    };
    h.exerciseAnswered = [this] { return w_.Session().Task().answerShown; };
    h.rhythmModule = [this] { return isModule(w_.Settings().CurrentModule, ModuleId::Rhythm); };
    h.rhythmRunning = [this] { return w_.Session().RhythmTask().running(); };
    h.rhythmTap = [this](qint64 clockMs) {
        w_.Session().RhythmTap(static_cast<std::uint32_t>(clockMs));
    };
    h.judge = [this](int note, int source) { w_.Judge(note, source); };
    h.start = [this] { w_.NyKnapClick(); };
    h.repeat = [this] { w_.GentagKnapClick(); };
    h.formKeyDown = [this](int key, bool shift) { FormKeyDown({key, shift}); };
    h.listeningChanged = [this](bool on) {
        w_.Pan_Klaver()->SpeedMidiInd()->setChecked(on);
        w_.menuAction(QStringLiteral("mMidiKlaverLyt"))->setChecked(on);
    };
    h.noteHeldChanged = [this](int note, bool held) { w_.Keys()->setNoteHeld(note, held); };
    h.lightInputLamp = [this] { w_.ImageEndeH()->LightInput(); };
    h.rhythmNote = [this](int velocity) { userSound_.tapDrum(true, velocity); };
    h.echo = [this](const TMyMidiEvent& event, bool throughMidiOut) {
        TMidiOutput& out = throughMidiOut ? w_.Sound().MIDIUD() : w_.Sound().MIDITHRU();
        if (out.isOpen())
            out.PutMidiEvent(event);
    };
    h.closeStatisticsOk = [] {
        if (auto* stats = qobject_cast<TStatistikForm*>(QApplication::activeModalWidget()))
            stats->accept();
    };
    h.moveRemoteKeySlider = [](int note) {
        if (auto* midi = qobject_cast<TIndstillinger*>(QApplication::activeModalWidget()))
            midi->moveFocusedRemoteKey(note);
    };
    h.closeTopTenOk = [] {
        if (auto* top = qobject_cast<TFormTop10*>(QApplication::activeModalWidget()))
            top->OKBtnClick();
    };
    midiKeyboard_ = std::make_unique<MidiKeyboard>(w_.Settings(), std::move(h));
    return *midiKeyboard_;
}

void WindowKeys::connectMidiInput() {
    TMidiInput& input = w_.Sound().MidiInput1();
    input.OnMidiInput = [this] { MidiInput1MidiInput(); };
    input.OnOverflow = [this] { MIDIInput1OnOverflow(); };
}

void WindowKeys::MidiInput1MidiInput() {
    midiKeyboard().drainInput(w_.Sound().MidiInput1(), MonotonicMs());
}

void WindowKeys::MIDIInput1OnOverflow() {
    midiKeyboard().overflow(&w_);
}

ShortcutActions WindowKeys::FormKeyDown(ShortcutKey key, qint64 timestamp) {
    ShortcutState state;
    state.RhythmModule = isModule(w_.Settings().CurrentModule, ModuleId::Rhythm);
    state.TaskRunning = w_.Session().running();
    state.TutorActive = w_.Tutor()->tutorActive();
    const ShortcutActions a = FormKeyDownActions(key, state);
    if (a.RhythmTap) {
        // Timed first, then the key sounds the rhythm's drum.
        w_.RhythmView()->tap(timestamp);
        userSound_.tapDrum(true, w_.Settings().RhythmVolume);
        return a;
    }
    if (a.Start || a.Stop)
        w_.NyKnapClick();
    if (a.TutorMenu)
        w_.Tutor()->mTutorClick();
    if (a.Panic)
        w_.ShutUpClick();
    return a;
}

void WindowKeys::FormKeyUp() {
    if (FormKeyUpSendsRhythmOff(isModule(w_.Settings().CurrentModule, ModuleId::Rhythm),
                                w_.Session().running()))
        userSound_.tapDrum(false, 0);
}

// An application-wide filter limited to the main window while no dialog is open.
bool WindowKeys::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() != QEvent::KeyPress && e->type() != QEvent::KeyRelease)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != &w_ ||
        QApplication::activeModalWidget() != nullptr)
        return false;
    auto* key = static_cast<QKeyEvent*>(e);
    if (e->type() == QEvent::KeyRelease) {
        if (!key->isAutoRepeat())
            FormKeyUp();
        return false;
    }
    if (key->isAutoRepeat())
        return false;
    const ShortcutKey k = ShortcutKeyOf(*key);
    if (k.Code == KeyCode::None && !k.ShiftOnly)
        return false;
    // Start, stop, the tutor's key and a tap take the key; everything else reaches the focused
    // control too.
    const ShortcutActions a = FormKeyDown(k, static_cast<qint64>(key->timestamp()));
    return a.Start || a.Stop || a.TutorMenu || a.RhythmTap;
}

} // namespace harmik
