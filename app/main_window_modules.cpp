// Module selection and the right-click preview of an answer item.
#include "app/exercise_options.h"
#include "app/exercise_staff.h"
#include "app/main_window.h"
#include "app/melody_options.h"
#include "app/module_buttons.h"
#include "app/module_table.h"
#include "app/rhythm_options.h"
#include "app/sound_panel.h"
#include "input/answer_layout.h"
#include "input/answer_panel.h"
#include "input/staff_widget.h"
#include "theory/exercise_generators.h"
#include "theory/exercise_players.h"
#include "theory/progression.h"
#include "theory/theory_tables.h"
#include "userdata/hints.h"

#include <QLabel>

namespace harmik {

void TForm1::SelectModule(int m) {
    if (!isValidModule(m) || m == settings_.CurrentModule || task_.running != 0)
        return;
    const ModuleScreenSetup setup = options_->screenSetup(m);
    setWindowTitle(setup.caption);
    helpContext_ = setup.helpContext;
    options_->applyModule(setup);
    melodyOptions_->applyModule(setup);
    settings_.CurrentModule = static_cast<std::uint8_t>(m);
    syncSoundSettings();
    tempoFields_->showTempos();
    speedMenu_->pressDown(m);

    if (m == 7)
        rhythmOptions_->RefreshSymbols();
    if (setup.hasAnswerPanel) {
        answerPanel_->PlaceChecks(setup.answerCaption, setup.answerBoxCount);
        if (m == 1)
            answerPanel_->ApplyIntervalRange(settings_.ExerciseOptions.Range);
    } else {
        answerPanel_->hide();
    }

    // The staff and the keyboards for the module.
    imageStaff_->setCursor(cursors_.cursor(setup.staffCursor));
    ApplyHintId(imageStaff_, setup.staffHintId);
    imageStaff_->setFont(panStaff_->font());
    imageStaff_->setKey(m == 6 ? std::optional<KeyState>(melodyOptions_->keyState())
                               : std::nullopt);
    exerciseStaff_->ResetForTask(m);
    syncInputState();
    EarDoScreen();
    RedrawInstruments();
}

void TForm1::previewItem(int index) {
    const int m = settings_.CurrentModule;
    if (task_.running != 0 || m < 1 || m > 5)
        return;
    GeneratorOptions options = generatorOptions();
    ExerciseItem example = item_;
    GenerateResult generated;
    timerMidi1_.stop();
    sound_->Output().StopAll(noteQueue_);
    const int rootNote = options.RandomRoot ? kRandomRootNote : options.RootNote;
    auto root = [&](int voicing) { return PreviewRoot(m, index, rootNote, random_, voicing); };
    int tickMs = 0;
    switch (m) {
    case 1:
        generated = GenerateInterval(example, options, random_, index);
        example.root = root(0);
        tickMs = PlayInterval(noteQueue_, example.root, example.itemIndex, options);
        break;
    case 2:
        generated = GenerateScale(example, options, random_, index);
        example.root = root(0);
        example.keyTonic = scaleKeyTonic(example.itemIndex, example.root);
        tickMs = PlayScale(noteQueue_, example.root, example.itemIndex, options);
        break;
    case 3:
        generated = GenerateChord(example, options, random_, index);
        example.root = root(example.voicing);
        tickMs = PlayChord(noteQueue_, example.root,
                           chordVoicingRecord(example.itemIndex, example.voicing), options);
        break;
    case 4:
        generated = GenerateInversion(example, options, random_, index);
        example.root = root(0);
        tickMs = PlayInversion(noteQueue_, example.root, example.itemIndex, options);
        break;
    case 5: {
        ProgressionGenerateResult progression =
            GenerateProgression(example, options, random_, itemNames_, index);
        generated = progression.Result;
        exerciseStaff_->SetProgressionLabels(std::move(progression.ChordLabels));
        tickMs = PlayProgression(noteQueue_, example, example.root, example.itemIndex, false,
                                 options, random_)
                     .TickIntervalMs;
        break;
    }
    default:
        return;
    }
    if (generated.Staff.DrawRoot && generated.Staff.RootToDraw < 0)
        generated.Staff.RootToDraw = -example.root;
    else if (generated.Staff.DrawRoot)
        generated.Staff.RootToDraw = example.root;
    RedrawInstruments();
    exerciseStaff_->ShowExample(m, example, generated.Staff);
    startPlayback(tickMs);
}

} // namespace harmik
