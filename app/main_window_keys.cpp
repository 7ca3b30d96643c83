// The MIDI keyboard and the computer keyboard on the main window: answers, remote keys, thru,
// listening, and the start, stop and panic shortcuts.
#include "app/activity_lamps.h"
#include "app/instrument_panel.h"
#include "app/main_window.h"
#include "app/statistics_window.h"
#include "app/top_ten_window.h"
#include "input/midi_keyboard.h"
#include "input/piano_input.h"
#include "input/shortcuts.h"
#include "theory/clock.h"
#include "theory/module_id.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QToolButton>

namespace harmik {

MidiKeyboard& TForm1::midiKeyboard() {
    if (midiKeyboard_)
        return *midiKeyboard_;
    MidiKeyboardHooks h;
    h.activeWindow = [] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr)
            return MidiActiveWindow::MainWindow;
        if (qobject_cast<TStatistikForm*>(modal) != nullptr)
            return MidiActiveWindow::Statistics;
        if (qobject_cast<TFormTop10*>(modal) != nullptr)
            return MidiActiveWindow::TopTen;
        return MidiActiveWindow::Other;
    };
    h.taskRunning = [this] { return session_->running(); };
    h.exerciseAnswered = [this] { return session_->Task().answerShown; };
    h.rhythmModule = [this] { return isModule(settings_.CurrentModule, ModuleId::Rhythm); };
    h.judge = [this](int note, int source) { Judge(note, source); };
    h.start = [this] { NyKnapClick(); };
    h.repeat = [this] { GentagKnapClick(); };
    h.formKeyDown = [this](int key, bool shift) { FormKeyDown({key, shift}); };
    h.listeningChanged = [this](bool on) {
        panKlaver_->SpeedMidiInd()->setChecked(on);
        actions_.value(QStringLiteral("mMidiKlaverLyt"))->setChecked(on);
    };
    h.noteHeldChanged = [this](int note, bool held) { pianoInput_->setNoteHeld(note, held); };
    h.lightInputLamp = [this] { imageEndeH_->LightInput(); };
    h.rhythmNote = [this](int velocity) {
        sound_->Output().NoteOn(settings_.MidiOutDevice, settings_.RhythmChannel,
                                settings_.RhythmSound, velocity);
    };
    h.echo = [this](const TMyMidiEvent& event, bool throughMidiOut) {
        TMidiOutput& out = throughMidiOut ? sound_->MIDIUD() : sound_->MIDITHRU();
        if (out.isOpen())
            out.PutMidiEvent(event);
    };
    h.closeStatisticsOk = [] {
        if (auto* stats = qobject_cast<TStatistikForm*>(QApplication::activeModalWidget()))
            stats->accept();
    };
    h.closeTopTenOk = [] {
        if (auto* top = qobject_cast<TFormTop10*>(QApplication::activeModalWidget()))
            top->OKBtnClick();
    };
    midiKeyboard_ = std::make_unique<MidiKeyboard>(settings_, std::move(h));
    return *midiKeyboard_;
}

void TForm1::connectMidiInput() {
    TMidiInput& input = sound_->MidiInput1();
    input.OnMidiInput = [this] { midiKeyboard().drainInput(sound_->MidiInput1(), MonotonicMs()); };
    input.OnOverflow = [this] { midiKeyboard().overflow(this); };
}

void TForm1::SpeedMidiIndClick() {
    midiKeyboard().toggleListening();
}

void TForm1::mMidiThruClick() {
    const bool on = midiKeyboard().toggleThru();
    actions_.value(QStringLiteral("mMidiThru"))->setChecked(on);
    syncSoundSettings();
}

ShortcutActions TForm1::FormKeyDown(ShortcutKey key) {
    ShortcutState state;
    state.RhythmModule = isModule(settings_.CurrentModule, ModuleId::Rhythm);
    state.TaskRunning = session_->running();
    const ShortcutActions a = FormKeyDownActions(key, state);
    if (a.RhythmTap) {
        // The tap itself belongs to the rhythm exercise; the key sounds the rhythm's drum.
        sound_->Output().NoteOn(settings_.MidiOutDevice, settings_.RhythmChannel,
                                settings_.RhythmSound, settings_.RhythmVolume);
        return a;
    }
    if (a.Start || a.Stop)
        NyKnapClick();
    if (a.Panic)
        ShutUpClick();
    return a;
}

void TForm1::FormKeyUp() {
    if (FormKeyUpSendsRhythmOff(isModule(settings_.CurrentModule, ModuleId::Rhythm),
                                session_->running()))
        sound_->Output().NoteOff(settings_.MidiOutDevice, settings_.RhythmChannel,
                                 settings_.RhythmSound);
}

// The window sees its keys before its controls do (an application-wide filter limited to
// this window while no dialog is open).
bool TForm1::previewKey(QObject* watched, QEvent* e) {
    if (e->type() != QEvent::KeyPress && e->type() != QEvent::KeyRelease)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != this ||
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
    // Start and stop take the key; everything else reaches the focused control too.
    const ShortcutActions a = FormKeyDown(k);
    return a.Start || a.Stop;
}

} // namespace harmik
