// The staff, the on-screen piano and guitar, and what the main window does with them: their
// place in the window, the user's own notes, the range, listening and thru.
#include "app/activity_lamps.h"
#include "app/exercise_staff.h"
#include "app/instrument_panel.h"
#include "app/main_window.h"
#include "app/melody_options.h"
#include "app/rhythm_screen.h"
#include "app/sound_panel.h"
#include "app/user_sound.h"
#include "input/fretboard_widget.h"
#include "input/note_entry.h"
#include "input/piano_input.h"
#include "input/piano_widget.h"
#include "input/staff_widget.h"
#include "theory/module_id.h"

#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QToolButton>

namespace harmik {
void TForm1::buildInstrumentsAndStaff(QWidget* central) {
    panKlaver_ = new InstrumentPanel(central);
    imageMini_ = panKlaver_->ImageMini();
    imageEndeH_ = panKlaver_->ImageEndeH();

    auto* staffPanel = new QFrame(central);
    staffPanel->setObjectName(QStringLiteral("Pan_Staff"));
    panStaff_ = staffPanel;
    imageStaff_ = new StaffWidget(staffPanel);
    imageStaff_->setObjectName(QStringLiteral("ImageStaff"));

    noteEntry_ = new StaffNoteEntry(imageStaff_, central, &cursors_, this);
    pianoInput_ = new PianoInput(settings_, itemNames_, panKlaver_->Image_Klaver(),
                                 panKlaver_->Image_guitar(), &cursors_, this);
    exerciseStaff_ = std::make_unique<ExerciseStaff>(
        *imageStaff_, itemNames_, [this](int note) { pianoInput_->MarkKey(note); });
    rhythmScreen_ = new RhythmScreen(*this, *imageStaff_, central);
}

void TForm1::connectInstruments() {
    // The pictures' presses and releases reach pianoInput_ through its own connections.
    connect(pianoInput_, &PianoInput::noteOn, userSound_,
            [this](int note) { userSound_->playNote(note, true); });
    connect(pianoInput_, &PianoInput::noteOff, userSound_,
            [this](int note) { userSound_->playNote(note, false); });
    connect(pianoInput_, &PianoInput::drumOn, userSound_, [this] { userSound_->padDrum(true); });
    connect(pianoInput_, &PianoInput::drumOff, userSound_, [this] { userSound_->padDrum(false); });
    connect(pianoInput_, &PianoInput::statusText, panStatus_, &QLabel::setText);
    connect(pianoInput_, &PianoInput::layoutRequested, this, &TForm1::EarDoScreen);
    connect(pianoInput_, &PianoInput::answer, this, [this](int value, int source) {
        Judge(value, source, source == kSourceChordMenu ? pianoInput_->chosenChordType() : -1);
    });
    connect(panKlaver_->CheckPiano(), &QCheckBox::clicked, pianoInput_,
            &PianoInput::CheckPianoClick);
    connect(panKlaver_->CheckFret(), &QCheckBox::clicked, pianoInput_, &PianoInput::CheckFretClick);
    connect(panKlaver_->SpeedMidiInd(), &QToolButton::clicked, this, &TForm1::SpeedMidiIndClick);
    connect(noteEntry_, &StaffNoteEntry::playNote, userSound_, &UserSound::playEnteredNote);
    connect(noteEntry_, &StaffNoteEntry::answer, this,
            [this](int value, int source) { Judge(value, source); });
    connect(noteEntry_, &StaffNoteEntry::activity, panValg_, &SoundPanel::LetClose);
    connect(melodyOptions_, &MelodyOptionsPanel::keyChanged, this, [this] {
        if (isModule(settings_.CurrentModule, ModuleId::Melodies) && !session_->running()) {
            imageStaff_->setKey(melodyOptions_->keyState());
            exerciseStaff_->ResetForTask(moduleNumber(ModuleId::Melodies));
        }
        syncInputState();
    });
    connect(imageStaff_, &StaffWidget::scaleNoteMarked, pianoInput_,
            [this](int note) { pianoInput_->MarkKey(note); });
}

void TForm1::RedrawInstruments() {
    pianoInput_->redrawInstruments();
    imageEndeH_->PutOut();
}

void TForm1::syncInputState() {
    const bool running = session_->running();
    const bool shown = session_->Task().answerShown;
    pianoInput_->setTaskState(running, shown);
    noteEntry_->setModule(settings_.CurrentModule);
    noteEntry_->setTaskState(running, shown);
    const MelodyOptionsRecord& melody = settings_.MelodyOptions;
    noteEntry_->setSightReading(melody.PrimaVista != 0);
    noteEntry_->setVocalSupport(settings_.VocalSupport != 0);
    noteEntry_->setMelodyTonality(melody.Tonality);
    noteEntry_->setMelodyRoot(60 + melody.Key);
    noteEntry_->setGermanNaming(settings_.GermanNaming != 0);
    noteEntry_->setSolfege(settings_.Solfege != 0);
    noteEntry_->setHighColour(highColourDisplay_);
}

void TForm1::mVisnoderClick() {
    imageStaff_->mVisnoderClick();
}

} // namespace harmik
