// Module selection.
#include "app/exercise_options.h"
#include "app/exercise_staff.h"
#include "app/main_window.h"
#include "app/melody_options.h"
#include "app/module_buttons.h"
#include "app/module_table.h"
#include "app/rhythm_options.h"
#include "app/sound_panel.h"
#include "input/answer_panel.h"
#include "input/staff_widget.h"
#include "userdata/hints.h"

#include <QLabel>

namespace harmik {

void TForm1::SelectModule(int m) {
    if (!isValidModule(m) || m == settings_.CurrentModule || session_->running())
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

} // namespace harmik
