// The exercise task: start with its checks, each exercise generated and played, repeat, the
// show-answer button, stop and panic; the judge of every answer with its score, feedback and
// the end of the task.
#include "app/practice_session.h"

#include "app/rhythm_session.h"
#include "app/sound_bridge.h"
#include "input/answer_layout.h"
#include "midi/sound_system.h"
#include "theory/cadence.h"
#include "theory/clock.h"
#include "theory/exercise_players.h"
#include "theory/keys.h"
#include "theory/module_id.h"
#include "theory/progression.h"
#include "theory/progression_table.h"
#include "theory/theory_tables.h"
#include "userdata/settings_record.h"
#include "userdata/strings.h"

#include <algorithm>
#include <bit>
#include <cstdlib>

namespace harmik {
namespace {

constexpr int kStartHelpTopic = 150;
constexpr const char* kRhythmScrollStep = "Tag"; // TimerMidi1's step in the rhythm module

MessageRequest refusalMessage(int id) {
    switch (id) {
    case 2008:
        return {MessageType::Warning, MessageButtons::OkHelp, LoadStr(id), kStartHelpTopic, {}};
    case 2009:
        return {MessageType::Information, MessageButtons::OkHelp, LoadStr(id), kStartHelpTopic, {}};
    default:
        return {MessageType::Information, MessageButtons::Ok, LoadStr(id), 0, {}};
    }
}

constexpr int kMelodies = moduleNumber(ModuleId::Melodies);
constexpr int kSoundingNoteMs = 100; // the right-answer note of a chord chosen from the menu

// The modules whose items have an example heard and written with a right click.
bool hasItemPreview(int module) {
    return module >= moduleNumber(ModuleId::Intervals) &&
           module <= moduleNumber(ModuleId::Progressions);
}

} // namespace

PracticeSession::PracticeSession(SettingsRecord& settings, const ItemNameList& names,
                                 PracticeView& view, QObject* parent, Clock now)
    : QObject(parent), settings_(settings), names_(names), view_(view), now_(std::move(now)),
      rhythm_(std::make_unique<RhythmSession>(settings, view)) {
    ClearErrorStatistics(errors_);
    timerMidi1_.setTimerType(Qt::PreciseTimer);
    connect(&timerMidi1_, &QTimer::timeout, this, &PracticeSession::TimerMidi1Timer);
    connect(&timerPoint_, &QTimer::timeout, this, &PracticeSession::TimerPointTimer);
}

PracticeSession::~PracticeSession() {
    timerMidi1_.stop();
    timerPoint_.stop();
}

void PracticeSession::setSound(SoundSystem* sound) {
    sound_ = sound;
    rhythm_->setSound(sound);
}

std::uint32_t PracticeSession::now() const {
    return now_ ? now_() : MonotonicMs();
}

int PracticeSession::tempoOfCurrentModule() const {
    const int m = settings_.CurrentModule;
    return isValidModule(m) ? settings_.ExerciseOptions.Tempo[m - 1] : 100;
}

GeneratorOptions PracticeSession::generatorOptions() const {
    GeneratorOptions o;
    const AnswerChoice choice = view_.answerChoice();
    o.AnswerChecks = choice.ticked;
    o.AnswerVisible = choice.visible;
    o.AnswerBoxCount = choice.boxCount;
    o.SelectedCount = choice.selectedCount;
    const ExerciseOptionsRecord& e = settings_.ExerciseOptions;
    o.RandomRoot = e.RootNote == kRandomRootNote;
    o.RootNote = o.RandomRoot ? 60 : e.RootNote;
    const int m = isValidModule(settings_.CurrentModule) ? settings_.CurrentModule : 1;
    o.LowestNote = settings_.LowestNote[m - 1];
    o.HighestNote = settings_.HighestNote[m - 1];
    o.PlayMode = e.PlayMode;
    o.Direction = e.Direction;
    o.Belig = e.Belig != 0;
    o.ChordTuning = settings_.ChordTuning != 0;
    o.Velocity = e.Velocity;
    o.OutChannel = settings_.OutChannel;
    o.Tempo = tempoOfCurrentModule();
    o.ExercisesPerTask = task_.running != 0 ? task_.exercisesPerTask : e.ExercisesPerTask;
    o.PlayStyle = e.PlayStyle;
    o.PcSpeakerOnly = settings_.PcSpeakerOnly != 0;
    if (m == kMelodies) {
        // The melody's tonic is the key's, whatever the other modules' root.
        o.RandomRoot = false;
        o.RootNote = melodyTonicFromKey(settings_.MelodyOptions.Key);
    }
    return o;
}

bool PracticeSession::readingMode() const {
    return settings_.CurrentModule == kMelodies && settings_.MelodyOptions.PrimaVista != 0;
}

// The stored melody options are the generator's, byte for byte.
MelodyOptions PracticeSession::melodyOptions() const {
    static_assert(sizeof(MelodyOptions) == sizeof(MelodyOptionsRecord));
    return std::bit_cast<MelodyOptions>(settings_.MelodyOptions);
}

CadenceKey PracticeSession::cadenceKey(const GeneratorOptions& options) const {
    if (settings_.CurrentModule == kMelodies)
        return melodyCadenceKey(settings_.MelodyOptions.Tonality, options);
    const int item = std::clamp(item_.itemIndex, 0, kAnswerBoxCount - 1);
    return progressionCadenceKey(item, item_.root, options);
}

// A note on the exercise output that ends by itself.
void PracticeSession::soundNoteForABeat(int channel, int note, int velocity, int ms) {
    if (!sound_)
        return;
    syncSoundSettings();
    const int device = settings_.MidiOutDevice;
    sound_->Output().NoteOn(device, channel, note, velocity);
    QTimer::singleShot(ms, this, [this, device, channel, note] {
        if (sound_)
            sound_->Output().NoteOff(device, channel, note);
    });
}

void PracticeSession::syncSoundSettings() {
    if (sound_)
        sound_->Settings = SoundSettingsFrom(settings_);
}

void PracticeSession::stopSound() {
    timerMidi1_.stop();
    if (sound_)
        sound_->Output().StopAll(noteQueue_);
}

void PracticeSession::NyKnapClick() {
    if (task_.running != 0)
        EarStopOve();
    else
        startTask();
}

// The checks before a task: a refusal shows its message and leaves everything as it was.
bool PracticeSession::refuseStart(int module) {
    StartCheckInput check;
    check.module = module;
    check.haveMidiOutput = sound_ != nullptr && sound_->MidiOutputCount() > 0;
    check.pcSpeakerOnly = settings_.PcSpeakerOnly != 0;
    check.primaVista = settings_.MelodyOptions.PrimaVista != 0;
    const AnswerChoice choice = view_.answerChoice();
    check.selectedCount = choice.selectedCount;
    for (int box = 0; box <= 8; ++box)
        check.rhythmValueTicked = check.rhythmValueTicked || choice.ticked[box];
    if (isModule(module, ModuleId::Rhythm))
        FillRhythmStartCheck(check, settings_.RhythmOptions.Metre, choice);
    if (const int refusal = StartRefusal(check)) {
        view_.showMessage(refusalMessage(refusal));
        return true;
    }
    return false;
}

// Progressions ask only progressions of the length of the first ticked one.
void PracticeSession::keepFirstProgressionGroup(const AnswerChoice& choice) {
    int first = -1;
    for (int i = 0; i < choice.boxCount && first < 0; ++i)
        if (choice.ticked[static_cast<std::size_t>(i)])
            first = i;
    for (int i = 0; i < choice.boxCount; ++i)
        if (choice.ticked[static_cast<std::size_t>(i)] &&
            progressionGroupOf(i) != progressionGroupOf(first))
            view_.untickAnswerBox(i);
}

void PracticeSession::startTask() {
    const int m = settings_.CurrentModule;
    if (refuseStart(m))
        return;

    task_.exercisesPerTask = settings_.ExerciseOptions.ExercisesPerTask;
    if (tutor_ && tutor_->tutorActive())
        task_.exercisesPerTask = static_cast<std::uint8_t>(tutor_->tutorTaskStarting());
    task_.exerciseCount = 0;
    task_.answerShown = false;
    ClearErrorStatistics(errors_);
    progress_.reset();
    StartClockSegment(score_, now());
    random_.seed(now());
    if (isModule(m, ModuleId::Progressions))
        keepFirstProgressionGroup(view_.answerChoice());
    view_.taskStarting(m);

    generateAndPlay();
    ResetTaskScore(score_);
    task_.running = 1;
    view_.taskStarted(m, task_.exercisesPerTask);
    startPointTimer();
}

void PracticeSession::generateAndPlay() {
    const GeneratorOptions options = generatorOptions();
    const int m = settings_.CurrentModule;
    GenerateResult generated;
    view_.redrawInstruments();
    switch (m) {
    case 1:
        generated = GenerateInterval(item_, options, random_);
        break;
    case 2:
        generated = GenerateScale(item_, options, random_);
        break;
    case 3:
        generated = GenerateChord(item_, options, random_);
        break;
    case 4:
        generated = GenerateInversion(item_, options, random_);
        break;
    case 7:
        rhythm_->NewExercise(item_, view_.answerChoice(), task_.exercisesPerTask, random_,
                             task_.running == 0);
        view_.showPoints(item_.points);
        return;
    case kMelodies: {
        const MelodyGenerateResult melody =
            GenerateMelody(item_, options, melodyOptions(), random_);
        view_.beginMelody(item_, melody, readingMode());
        view_.showPoints(item_.points);
        playCurrentItem(false);
        return;
    }
    case 5: {
        ProgressionGenerateResult progression =
            GenerateProgression(item_, options, random_, names_);
        generated = progression.Result;
        view_.setProgressionLabels(std::move(progression.ChordLabels));
        progressionChords_.clear();
        const std::vector<ProgressionLabelChords> catalogue = ProgressionLabelCatalogue();
        if (item_.itemIndex >= 0 && item_.itemIndex < static_cast<int>(catalogue.size()))
            for (const ProgressionChordLabel& c :
                 catalogue[static_cast<std::size_t>(item_.itemIndex)])
                progressionChords_.push_back({c.RootOffset, c.ChordType});
        break;
    }
    default:
        return;
    }
    view_.beginItem(m, item_, generated.Staff);
    view_.showPoints(item_.points);
    playCurrentItem(false);
}

void PracticeSession::playCurrentItem(bool repeat) {
    const GeneratorOptions options = generatorOptions();
    stopSound();
    int tickMs = tickIntervalMs(options.Tempo);
    switch (settings_.CurrentModule) {
    case 1:
        tickMs = PlayInterval(noteQueue_, item_.root, item_.itemIndex, options);
        break;
    case 2:
        tickMs = PlayScale(noteQueue_, item_.root, item_.itemIndex, options);
        break;
    case 3:
        tickMs = PlayChord(noteQueue_, item_.root,
                           chordVoicingRecord(item_.itemIndex, item_.voicing), options);
        break;
    case 4:
        tickMs = PlayInversion(noteQueue_, item_.root, item_.itemIndex, options);
        break;
    case 5:
        tickMs = PlayProgression(noteQueue_, item_, item_.root, item_.itemIndex, repeat, options,
                                 random_)
                     .TickIntervalMs;
        break;
    case kMelodies: {
        if (readingMode())
            return; // the melody is read from the staff
        // The cadence first; a repeat plays the melody alone.
        const int start =
            repeat
                ? 1
                : PlayCadence(noteQueue_, kStoredPlayStyle, cadenceKey(options), options).StartTick;
        tickMs = PlayMelody(noteQueue_, item_, start, options);
        break;
    }
    case 7:
        if (repeat)
            rhythm_->Repeat();
        return;
    default:
        return;
    }
    startPlayback(tickMs);
}

void PracticeSession::startPlayback(int tickMs) {
    syncSoundSettings();
    timerMidi1_.setInterval(std::max(1, tickMs));
    timerMidi1_.start();
}

void PracticeSession::TimerMidi1Timer() {
    if (isModule(settings_.CurrentModule, ModuleId::Rhythm)) {
        // In the rhythm module the timer only scrolls the rhythm picture by its step.
        view_.scrollRhythm(timerMidi1_.property(kRhythmScrollStep).toDouble());
        return;
    }
    if (!sound_) {
        timerMidi1_.stop();
        return;
    }
    const QueueTickResult r = sound_->Output().TimerMidi1Timer(noteQueue_);
    if (r.FirstTick)
        view_.colourExercise(ExerciseColour::Window);
    if (r.Stop)
        timerMidi1_.stop();
}

void PracticeSession::startPointTimer() {
    const int m = settings_.CurrentModule;
    timerPoint_.setInterval(PointTimerInterval(m, tempoOfCurrentModule(),
                                               settings_.ExerciseOptions.PlayStyle,
                                               settings_.MelodyOptions.NoteCount));
    if (!isModule(m, ModuleId::Rhythm))
        timerPoint_.start();
}

void PracticeSession::TimerPointTimer() {
    ApplyPointDecay(item_);
    view_.showPoints(item_.points);
}

void PracticeSession::GentagKnapClick() {
    if (task_.running == 0 || readingMode())
        return;
    playCurrentItem(true);
    ApplyRepeatCost(item_);
    view_.showPoints(item_.points);
}

void PracticeSession::SvarKnapClick() {
    if (task_.running != 0)
        Judge(0, SourceShowAnswer);
}

void PracticeSession::TimeCalc() {
    AddClockSegment(score_, now());
    view_.showClock();
}

void PracticeSession::EarStopOve() {
    TimeCalc();
    task_.answerShown = false;
    stopSound();
    rhythm_->Kill();
    task_.running = 0;
    view_.colourExercise(ExerciseColour::Window);
    timerPoint_.stop();
    view_.taskStopped(settings_.CurrentModule);
}

void PracticeSession::ShutUpClick() {
    rhythm_->Kill();
    if (isModule(settings_.CurrentModule, ModuleId::Rhythm))
        timerMidi1_.stop(); // the rhythm scroll ends with the rhythm
    if (sound_)
        sound_->ShutUpClick(noteQueue_);
}

JudgeItemView PracticeSession::judgeView() const {
    JudgeItemView v;
    v.module = settings_.CurrentModule;
    v.item = item_;
    v.notes = ItemNotes(v.module, item_);
    v.progression = progressionChords_;
    v.rhythmSensitivity = settings_.RhythmOptions.RhythmSensitivity;
    return v;
}

void PracticeSession::Judge(int value, int source, int recognisedChordType) {
    if (task_.running == 0 || (task_.answerShown && source != SourceShowAnswer))
        return;
    if (!task_.answerShown)
        view_.showClock();
    view_.colourExercise(ExerciseColour::Window);

    const VerdictResult v =
        DecideVerdict(judgeView(), value, source, progress_, recognisedChordType);
    switch (v.verdict) {
    case Verdict::Ignored:
        return;
    case Verdict::Partial:
        drawEnteredAnswer(v.enteredIndex, source);
        return;
    case Verdict::Wrong:
        wrongAnswer(value);
        return;
    case Verdict::Correct:
        if (source != SourceShowAnswer && source != SourceAnswerPanel)
            drawEnteredAnswer(v.enteredIndex, source);
        settleExercise(source, v.halvePoints);
        return;
    }
}

void PracticeSession::drawEnteredAnswer(int enteredIndex, int source) {
    if (enteredIndex < 1)
        return;
    const int m = settings_.CurrentModule;
    if (m == kMelodies) {
        const bool revealed = source == SourceStaffClick;
        view_.melodyNoteAnswered(item_, enteredIndex, revealed);
        if (revealed)
            soundNoteForABeat(
                settings_.OutChannel, item_.melodyNotes[static_cast<std::size_t>(enteredIndex)],
                settings_.ExerciseOptions.Velocity, tickIntervalMs(tempoOfCurrentModule()));
        return;
    }
    if (isModule(m, ModuleId::Progressions)) {
        if (source == SourceChordMenu)
            soundNoteForABeat(settings_.CorrectChannel, settings_.CorrectSound,
                              settings_.CorrectVolume, kSoundingNoteMs);
        view_.drawProgressionChord(item_, enteredIndex - 1);
        const auto chord = static_cast<std::size_t>(enteredIndex - 1);
        if (chord < progressionChords_.size())
            view_.MarkKey(item_.root + progressionChords_[chord].rootOffset);
        return;
    }
    view_.drawEnteredNote(m, item_, enteredIndex);
}

void PracticeSession::wrongAnswer(int value) {
    const int m = settings_.CurrentModule;
    syncSoundSettings();
    if (sound_)
        sound_->Output().PlayAnswerFeedback(false);
    view_.colourExercise(ExerciseColour::Wrong);
    if (m == kMelodies)
        view_.melodyNoteMissed(progress_.noteCounter);
    ++score_.wrong;
    view_.showCounters(task_.exercisesPerTask, false);
    item_.points = PointsAfterWrongAnswer(m, item_.points, value,
                                          view_.answerChoice().selectedCount, item_.melodyNotes[0]);
    view_.showPoints(item_.points);
    AddError(errors_, WrongAnswerStatisticsEntry(m, item_.itemIndex));
    if (isModule(m, ModuleId::Rhythm))
        rhythm_->RedrawAfterWrong();
}

void PracticeSession::settleExercise(int source, bool halvePoints) {
    const int m = settings_.CurrentModule;
    timerPoint_.stop();
    view_.colourExercise(ExerciseColour::Right);
    if (!task_.answerShown) {
        const bool shown = source == SourceShowAnswer;
        const bool sung = m == kMelodies && source == SourceStaffClick;
        if (shown) {
            score_.wrong += 2;
            AddError(errors_, ShownAnswerStatisticsEntry(m, item_.itemIndex));
        } else if (sung) {
            // Sung and checked by the user: the points fall as for a wrong note, nothing
            // is scored.
            item_.points = PointsAfterWrongAnswer(m, item_.points, 0, 0, item_.melodyNotes[0]);
            view_.showPoints(item_.points);
        } else {
            if (halvePoints)
                item_.points /= 2;
            ++score_.right;
            score_.score += item_.points + SourceBonus(m, source, item_.points);
        }
        view_.showCounters(task_.exercisesPerTask, !shown && !sung);
        view_.showAnswer(m, item_, progress_);
        if (shown && isModule(m, ModuleId::Rhythm))
            rhythm_->ShowAnswer();
        if (shown && readingMode()) {
            // Read from the staff: the shown answer is heard.
            stopSound();
            startPlayback(PlayMelody(noteQueue_, item_, 1, generatorOptions()));
        }
        ++task_.exerciseCount;
        view_.showProgress(task_.exerciseCount, task_.exercisesPerTask);
    }
    progress_.reset();
    if (source != SourceShowAnswer) {
        syncSoundSettings();
        if (sound_)
            sound_->Output().PlayAnswerFeedback(true);
    } else if (!task_.answerShown && !everyPressGoesOn()) {
        // The first press shows the answer; the second goes on.
        task_.answerShown = true;
        TimeCalc();
        view_.answerShownChanged(true);
        return;
    } else {
        StartClockSegment(score_, now());
        task_.answerShown = false;
        if (isModule(m, ModuleId::Rhythm))
            rhythm_->AnswerClosed();
        if (!everyPressGoesOn())
            view_.answerShownChanged(false);
    }
    stopSound();
    nextExerciseOrEnd();
}

// Reading and listening to a rhythm, the show-answer button always goes on to the next one.
bool PracticeSession::everyPressGoesOn() const {
    return isModule(settings_.CurrentModule, ModuleId::Rhythm) &&
           settings_.RhythmOptions.RhythmMode == RhythmReadListen;
}

void PracticeSession::ClickTrackReport(int bar, std::uint32_t startTime) {
    const bool judging = task_.running != 0 && !task_.answerShown &&
                         isModule(settings_.CurrentModule, ModuleId::Rhythm);
    const std::optional<int> accuracy = rhythm_->Report(bar, startTime, judging);
    if (bar > 0 && rhythm_->running())
        startRhythmScroll(bar);
    if (!accuracy)
        return;
    Judge(*accuracy, SourceMidiKeyboard);
    if (task_.running != 0)
        rhythm_->ShowMarksOfLastPass(); // only while the judged rhythm is still the exercise
}

// Through a bar of the rhythm, heard or played, the picture follows it in small steps.
void PracticeSession::startRhythmScroll(int bar) {
    timerMidi1_.stop();
    const RhythmScrollStep step = rhythm_->ScrollStepOfBar(bar);
    if (step.IntervalMs <= 0)
        return;
    timerMidi1_.setProperty(kRhythmScrollStep, step.Pixels);
    timerMidi1_.setInterval(step.IntervalMs);
    timerMidi1_.start();
}

void PracticeSession::RhythmTap(std::uint32_t clockMs) {
    if (task_.running != 0)
        rhythm_->Tap(clockMs);
}

void PracticeSession::nextExerciseOrEnd() {
    if (task_.exerciseCount >= task_.exercisesPerTask) {
        endTask();
        return;
    }
    generateAndPlay();
    startPointTimer();
}

void PracticeSession::endTask() {
    const int m = settings_.CurrentModule;
    EarStopOve();
    AddTaskToLevelTotals(score_);
    SortErrorStatistics(errors_);
    if (tutor_ && tutor_->tutorActive()) {
        tutor_->tutorTaskEnded(errors_, m, score_.score);
        return;
    }
    view_.showResults(errors_, m, score_.score);
}

void PracticeSession::PreviewCadence(int kind) {
    const int m = settings_.CurrentModule;
    if (task_.running != 0 || (m != kMelodies && !isModule(m, ModuleId::Progressions)))
        return;
    const GeneratorOptions options = generatorOptions();
    stopSound();
    startPlayback(PlayCadence(noteQueue_, kind, cadenceKey(options), options).TickIntervalMs);
}

void PracticeSession::PreviewTonality() {
    if (task_.running != 0 || settings_.CurrentModule != kMelodies)
        return;
    const GeneratorOptions options = generatorOptions();
    stopSound();
    const int start =
        PlayCadence(noteQueue_, kStoredPlayStyle, cadenceKey(options), options).StartTick;
    startPlayback(PlayTonalityScale(noteQueue_, options.RootNote, settings_.MelodyOptions.Tonality,
                                    start, options));
}

void PracticeSession::PreviewItem(int index) {
    const int m = settings_.CurrentModule;
    if (task_.running != 0 || !hasItemPreview(m))
        return;
    const GeneratorOptions options = generatorOptions();
    ExerciseItem example = item_;
    GenerateResult generated;
    stopSound();
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
            GenerateProgression(example, options, random_, names_, index);
        generated = progression.Result;
        view_.setProgressionLabels(std::move(progression.ChordLabels));
        tickMs = PlayProgression(noteQueue_, example, example.root, example.itemIndex, false,
                                 options, random_)
                     .TickIntervalMs;
        break;
    }
    default:
        return;
    }
    if (generated.Staff.DrawRoot)
        generated.Staff.RootToDraw = generated.Staff.RootToDraw < 0 ? -example.root : example.root;
    view_.redrawInstruments();
    view_.showExample(m, example, generated.Staff);
    startPlayback(tickMs);
}

} // namespace harmik
