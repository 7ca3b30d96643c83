#include "app/practice_screen.h"

#include "app/exercise_options.h"
#include "app/exercise_staff.h"
#include "app/instrument_panel.h"
#include "app/main_window.h"
#include "app/melody_options.h"
#include "app/module_buttons.h"
#include "app/module_table.h"
#include "app/rhythm_screen.h"
#include "app/score_panel.h"
#include "app/statistics_window.h"
#include "app/top_ten_window.h"
#include "app/transport_panel.h"
#include "app/tutor_control.h"
#include "help/help_topics.h"
#include "input/answer_panel.h"
#include "input/piano_input.h"
#include "input/piano_widget.h"
#include "input/rhythm_staff_widget.h"
#include "input/staff_widget.h"
#include "theory/module_id.h"
#include "userdata/help_request.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QToolButton>

namespace harmik {
namespace {

const QColor kWrongColour(0xFF, 0x00, 0x00);
const QColor kRightColour(0x00, 0xFF, 0x00);

} // namespace

AnswerChoice PracticeScreen::answerChoice() const {
    const AnswerPanel* panel = w_.Group_Problem();
    AnswerChoice c;
    for (int i = 0; i < kAnswerBoxCount; ++i) {
        c.ticked[static_cast<std::size_t>(i)] = panel->boxTicked(i);
        c.visible[static_cast<std::size_t>(i)] = !panel->box(i)->isHidden();
    }
    c.boxCount = panel->AnswerBoxCount();
    c.selectedCount = panel->SelectedCount();
    return c;
}

void PracticeScreen::untickAnswerBox(int index) {
    w_.Group_Problem()->setBoxTicked(index, false);
}

MessageAnswer PracticeScreen::showMessage(const MessageRequest& request) {
    return ShowMessage(&w_, request);
}

void PracticeScreen::enableMenusAndModules(bool idle) {
    w_.ModuleButtons()->setTaskRunning(!idle);
    for (const char* menu : {"mPointMenu", "mIndstilMenu", "mModuler"})
        w_.menuAction(QString::fromLatin1(menu))->setEnabled(idle);
}

void PracticeScreen::taskStarting(int module) {
    if (isModule(module, ModuleId::Melodies) && w_.Settings().MelodyOptions.PrimaVista != 0)
        w_.ImageStaff()->setCursor(w_.Cursors().cursor(CursorNoPen));
    w_.PanelTransport()->ShowRunning(false);
    enableMenusAndModules(false);
    w_.ExerciseWriter().ResetForTask(module);
    w_.Group_Problem()->setTaskRunning(true);
    w_.Group_Problem()->setAnswerShown(false);
}

void PracticeScreen::taskStarted(int module, int exercisesPerTask) {
    w_.Group_Problem()->enableForTask();

    // The option groups hide while the task runs.
    ExerciseOptionsPanel* options = w_.Options();
    options->GroupKvalitet()->hide();
    options->RadioOpNed()->hide();
    options->RadioOmfang()->hide();
    options->GroupBelig()->hide();
    options->GroupGrundtone()->hide();
    options->GroupKadence()->setVisible(isModule(module, ModuleId::Progressions) ||
                                        isModule(module, ModuleId::Melodies));
    MelodyOptionsPanel* melody = w_.MelodyOptions();
    melody->GroupMelodi()->hide();
    melody->BitBtnKvintOp()->hide();
    melody->BitBtnKvintNed()->hide();

    w_.ScoreDisplay()->ShowAll(exercisesPerTask, w_.Tutor()->GaugeBands());
    w_.Tutor()->TaskStarted();
    w_.PanelTransport()->ShowProgress(0, exercisesPerTask);
    if (isModule(module, ModuleId::Rhythm)) {
        // Read and listen: the show-answer button always goes on to the next rhythm.
        if (w_.Settings().RhythmOptions.RhythmMode == RhythmReadListen)
            w_.PanelTransport()->ShowAnswerButtonNext();
        w_.RhythmView()->taskStarted();
    }
    w_.syncInputState();
    w_.Group_Problem()->focusFirstBox();
    w_.EarDoScreen(); // the transport panel grew its progress row
}

void PracticeScreen::taskStopped(int module) {
    w_.PanelTransport()->AniBusy()->Stop();
    w_.PanelTransport()->ShowIdle();
    AnswerPanel* panel = w_.Group_Problem();
    panel->setTaskRunning(false);
    panel->setAnswerShown(false);
    panel->restoreAfterTask(w_.Tutor()->tutorActive());
    w_.syncInputState();
    w_.ExerciseWriter().ResetForTask(module);
    w_.ImageStaff()->setCursor(w_.Cursors().cursor(w_.Options()->screenSetup(module).staffCursor));
    showIdleOptionGroups(module);
    enableMenusAndModules(true);
    w_.Tutor()->TaskStopped();
    if (isModule(module, ModuleId::Rhythm))
        w_.RhythmView()->taskStopped();
    w_.EarDoScreen();
}

void PracticeScreen::showIdleOptionGroups(int module) {
    const OptionGroupVisibility v = IdleOptionGroups(module);
    ExerciseOptionsPanel* options = w_.Options();
    options->GroupKvalitet()->setVisible(v.GroupKvalitet);
    options->RadioOpNed()->setVisible(v.RadioOpNed);
    options->RadioOmfang()->setVisible(v.RadioOmfang);
    options->GroupGrundtone()->setVisible(v.GroupGrundtone);
    options->RadioAfspil()->setVisible(v.RadioAfspil);
    options->GroupBelig()->setVisible(v.GroupBelig);
    options->GroupKadence()->setVisible(v.GroupKadence);
    MelodyOptionsPanel* melody = w_.MelodyOptions();
    melody->GroupMelodi()->setVisible(v.GroupMelodi);
    melody->BitBtnKvintOp()->setVisible(v.BitBtnKvint);
    melody->BitBtnKvintNed()->setVisible(v.BitBtnKvint);
}

void PracticeScreen::answerShownChanged(bool shown) {
    w_.Group_Problem()->setAnswerShown(shown);
    w_.syncInputState();
    if (shown)
        w_.PanelTransport()->ShowAnswerButtonNext();
    else
        w_.PanelTransport()->ShowAnswerButtonOpen();
}

void PracticeScreen::colourExercise(ExerciseColour colour) {
    QWidget* panel = w_.Pan_Ove();
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Window, colour == ExerciseColour::Wrong   ? kWrongColour
                                   : colour == ExerciseColour::Right ? kRightColour
                                                                     : w_.WindowColour());
    panel->setPalette(pal);
    panel->update();
}

void PracticeScreen::showPoints(int points) {
    w_.ScoreDisplay()->ShowPoints(points);
}

void PracticeScreen::showCounters(int exercisesPerTask, bool scoreChanged) {
    if (scoreChanged)
        w_.ScoreDisplay()->ShowScore();
    w_.ScoreDisplay()->DoGauge(exercisesPerTask, w_.Tutor()->GaugeBands());
}

void PracticeScreen::showProgress(int exerciseCount, int exercisesPerTask) {
    w_.PanelTransport()->ShowProgress(exerciseCount, exercisesPerTask);
}

void PracticeScreen::showClock() {
    w_.LabTime()->TimeShow();
}

void PracticeScreen::redrawInstruments() {
    w_.RedrawInstruments();
}

void PracticeScreen::MarkKey(int note) {
    w_.Keys()->MarkKey(note);
}

void PracticeScreen::setProgressionLabels(std::vector<std::string> labels) {
    w_.ExerciseWriter().SetProgressionLabels(std::move(labels));
}

void PracticeScreen::beginItem(int module, const ExerciseItem& item, const StaffRequest& request) {
    w_.ExerciseWriter().BeginItem(module, item, request);
}

void PracticeScreen::drawEnteredNote(int module, const ExerciseItem& item, int index) {
    w_.ExerciseWriter().DrawEnteredNote(module, item, index);
}

void PracticeScreen::drawProgressionChord(const ExerciseItem& item, int chord) {
    w_.ExerciseWriter().DrawProgressionChord(item, chord);
}

void PracticeScreen::showAnswer(int module, const ExerciseItem& item,
                                const AnswerProgress& progress) {
    w_.ExerciseWriter().ShowAnswer(module, item, progress);
}

void PracticeScreen::showExample(int module, const ExerciseItem& item,
                                 const StaffRequest& request) {
    w_.ExerciseWriter().ShowExample(module, item, request);
}

void PracticeScreen::beginMelody(const ExerciseItem& item, const MelodyGenerateResult& generated,
                                 bool reading) {
    w_.ImageStaff()->setKey(generated.Key);
    w_.ExerciseWriter().BeginMelody(item, reading);
    w_.Pan_Klaver()->Image_Klaver()->setOctaveBar(item.melodyNotes[1]);
    if (generated.MarkStartNote)
        w_.Keys()->MarkKey(generated.StartNote);
}

void PracticeScreen::melodyNoteAnswered(const ExerciseItem& item, int counter, bool revealed) {
    w_.ExerciseWriter().DrawMelodyNote(item, counter, revealed);
}

void PracticeScreen::melodyNoteMissed(int counter) {
    w_.ExerciseWriter().MarkMelodyMiss(counter);
}

void PracticeScreen::showResults(const ErrorStatistics& sorted, int module, int score) {
    ShowStatisticsWindow(sorted, static_cast<ModuleId>(module), score, w_.ItemNames(), &w_);
    TopTenCheck(w_.TopTen(), score, module, &w_, [] { OpenHelpTopic(HelpTopic::Results); });
}

void PracticeScreen::showRhythm(const Rhythm& rhythm, const RhythmOptions& options,
                                bool notesShown) {
    w_.RhythmView()->showRhythm(rhythm, options, notesShown);
}

void PracticeScreen::showRhythmBar(int bar) {
    w_.RhythmView()->showBar(bar);
}

void PracticeScreen::showRhythmMarks(const std::vector<RhythmMark>& marks) {
    w_.RhythmView()->showMarks(marks);
}

void PracticeScreen::showRhythmText(int stringId) {
    w_.RhythmView()->showText(stringId);
}

void PracticeScreen::showRhythmPasses(int passes) {
    w_.RhythmView()->showPasses(passes);
}

void PracticeScreen::scrollRhythm(double pixels) {
    w_.RhythmView()->ImageRytme()->scrollBy(pixels);
}

} // namespace harmik
