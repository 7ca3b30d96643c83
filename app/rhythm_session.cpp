// The rhythm exercise of a running task: generated, drawn, played on the click track, tapped,
// and judged at the end of every pass.
#include "app/rhythm_session.h"

#include "app/practice_session.h"
#include "input/rhythm_layout.h"
#include "midi/sound_system.h"
#include "theory/clock.h"
#include "theory/rhythm_click.h"
#include "theory/rhythm_generator.h"
#include "userdata/settings_record.h"

#include <QCoreApplication>

#include <algorithm>
#include <bit>

namespace harmik {

namespace {

constexpr int kRhythmModule = 7;
constexpr int kShownListening = 444;  // "Как показано здесь.."
constexpr int kPlayedReading = 445;   // "Играем ритм.."
constexpr std::uint8_t kPlayOnce = 2; // loop mode: no repeat

// The boxes of the values a metre with an odd upper number needs.
constexpr std::array<int, 3> kEighthMetreValues{ItemEighth, ItemSixteenth, ItemSixteenthTriplets};
constexpr std::array<int, 5> kQuarterMetreValues{ItemQuarter, ItemEighth, ItemSixteenth,
                                                 ItemEighthTriplets, ItemSixteenthTriplets};

} // namespace

void FillRhythmStartCheck(StartCheckInput& check, int metre, const AnswerChoice& choice) {
    const TimeSignature& ts = TimeSignatureOf(metre);
    check.metreUpper = ts.Beats;
    check.metreInEighths = ts.Note == 8;
    auto ticked = [&choice](int box) { return choice.ticked[static_cast<std::size_t>(box)]; };
    check.rhythmShortValueTicked =
        check.metreInEighths
            ? std::any_of(kEighthMetreValues.begin(), kEighthMetreValues.end(), ticked)
            : std::any_of(kQuarterMetreValues.begin(), kQuarterMetreValues.end(), ticked);
}

RhythmSession::RhythmSession(SettingsRecord& settings, PracticeView& view)
    : settings_(settings), view_(view) {}

RhythmSession::~RhythmSession() {
    Kill();
}

RhythmOptions RhythmSession::options() const {
    static_assert(sizeof(RhythmOptions) == sizeof(RhythmOptionsRecord));
    RhythmOptions o = std::bit_cast<RhythmOptions>(settings_.RhythmOptions);
    o.Bars = static_cast<std::uint8_t>(BarsOf(o));
    o.Metre = static_cast<std::uint8_t>(std::clamp<int>(o.Metre, 0, kMetreCount - 1));
    if (o.RhythmMode > RhythmReadListen)
        o.RhythmMode = RhythmImitate;
    return o;
}

int RhythmSession::tempo() const {
    return settings_.ExerciseOptions.Tempo[kRhythmModule - 1];
}

void RhythmSession::NewExercise(ExerciseItem& item, const AnswerChoice& choice,
                                int exercisesPerTask, Random& random, bool firstOfTask) {
    RhythmRequest request;
    request.Options = options();
    request.ExercisesPerTask = exercisesPerTask;
    for (int i = 0; i < kRhythmItemCount; ++i)
        request.Ticked[static_cast<std::size_t>(i)] = choice.ticked[static_cast<std::size_t>(i)];
    const RhythmExercise exercise = GenerateRhythm(request, random);
    rhythm_ = exercise.rhythm;
    LayOutRhythm(rhythm_, request.Options.Metre);
    item.points = exercise.points;
    item.pointStep = 0;
    ++serial_;
    passes_ = 0;
    view_.showRhythmPasses(passes_);
    showRhythm(request.Options.RhythmMode != RhythmImitate);
    PlayRhythm(LoopFlagForNewExercise(request.Options), request.Options);
    // Later exercises leave the verdict of the last pass in view.
    if (firstOfTask)
        view_.showRhythmText(RhythmModeCaptionId(request.Options.RhythmMode));
}

void RhythmSession::showRhythm(bool notesShown) {
    view_.showRhythm(rhythm_, options(), notesShown);
}

// Fills the click track for the rhythm and starts it; the pass's taps start empty.
void RhythmSession::PlayRhythm(std::uint8_t loopMode, const RhythmOptions& o) {
    Kill();
    ClickGrid grid{};
    FillClickGrid(grid, rhythm_, o.Metre, o.RhythmMode);
    RhythmSoundSettings sounds;
    sounds.ClickChannel = settings_.ClickChannel;
    sounds.ClickSound = settings_.ClickSound;
    sounds.ClickVolume = settings_.ClickVolume;
    sounds.FirstBeatSound = settings_.FirstBeatSound;
    sounds.FirstBeatVolume = settings_.FirstBeatVolume;
    sounds.RhythmChannel = settings_.RhythmChannel;
    sounds.RhythmSound = settings_.RhythmSound;
    sounds.RhythmVolume = settings_.RhythmVolume;
    FillClickTrack(track_, grid, o, sounds, tempo(), loopMode);
    tapCount_ = 0;
    running_ = sound_ != nullptr && sound_->StartClickTrack(track_);
}

void RhythmSession::Repeat() {
    if (!sound_ || rhythm_.Count == 0)
        return;
    if (!running_) {
        // Silenced by the panic button: the rhythm is played again from its count-in.
        const RhythmOptions o = options();
        PlayRhythm(LoopFlagForNewExercise(o), o);
        return;
    }
    tapCount_ = 0;
    sound_->RestartClickTrack();
}

void RhythmSession::Kill() {
    if (!sound_ || !running_) {
        running_ = false;
        return;
    }
    sound_->KillClickTrack();
    // Reports of the killed track still on their way to the window are not this rhythm's.
    QCoreApplication::removePostedEvents(nullptr, ClickTrackReportEvent::eventType());
    running_ = false;
    silence();
}

// The track leaves the sounds of its last step on; they end here, on their own channels.
void RhythmSession::silence() {
    SoundOutput& out = sound_->Output();
    const int device = settings_.MidiOutDevice;
    for (const ClickSound& s : {track_.Click, track_.Accent, track_.Rhythm})
        out.NoteOff(device, s.Channel + 1, s.Note);
}

void RhythmSession::Tap(std::uint32_t clockMs) {
    if (running_ && tapCount_ < kMaxTaps)
        taps_[static_cast<std::size_t>(tapCount_++)] = clockMs;
}

std::optional<int> RhythmSession::Report(int bar, std::uint32_t startTime, bool judging) {
    if (!running_)
        return std::nullopt;
    if (bar > 0) {
        view_.showRhythmBar(bar);
        return std::nullopt;
    }
    if (!judging) {
        tapCount_ = 0;
        return std::nullopt;
    }
    RhythmPass pass;
    pass.Options = options();
    pass.Tempo = tempo();
    pass.StartTime = startTime;
    pass.Taps = std::span<const std::uint32_t>(taps_.data(), static_cast<std::size_t>(tapCount_));
    evaluation_ = EvaluateRhythm(rhythm_, pass);
    evaluatedSerial_ = serial_;
    tapCount_ = 0;
    view_.showRhythmText(evaluation_.VerdictId);
    view_.showRhythmPasses(++passes_);
    return evaluation_.Value;
}

void RhythmSession::ShowMarksOfLastPass() {
    if (evaluatedSerial_ != serial_ || options().RhythmMode == RhythmImitate)
        return;
    view_.showRhythmMarks(RhythmMarksFor(rhythm_, evaluation_, 24 * UnitMs(tempo())));
}

RhythmScrollStep RhythmSession::ScrollStepOfBar(int bar) const {
    constexpr int kStepsPerBeat = 8;
    const RhythmOptions o = options();
    const std::vector<RhythmPhase> phases = PassPhases(o);
    if (bar < 1 || bar > static_cast<int>(phases.size()))
        return {};
    const RhythmPhase phase = phases[static_cast<std::size_t>(bar - 1)];
    if (phase != RhythmPhase::Listen && phase != RhythmPhase::Play)
        return {};
    const TimeSignature& ts = TimeSignatureOf(o.Metre);
    const int beatMs = 24 * UnitMs(tempo()) * 4 / ts.Note;
    const double barPixels = RhythmBarLineX(1, o.Metre) - RhythmBarLineX(0, o.Metre);
    return {std::max(1, beatMs / kStepsPerBeat), barPixels / (ts.Beats * kStepsPerBeat)};
}

void RhythmSession::RedrawAfterWrong() {
    showRhythm(options().RhythmMode != RhythmImitate);
}

void RhythmSession::ShowAnswer() {
    const RhythmOptions o = options();
    switch (o.RhythmMode) {
    case RhythmImitate:
        view_.showRhythmText(kShownListening);
        Kill();
        showRhythm(true);
        break;
    case RhythmRead: {
        Kill();
        view_.showRhythmText(kPlayedReading);
        RhythmOptions heard = o;
        heard.RhythmMode = RhythmReadListen;
        PlayRhythm(kPlayOnce, heard);
        view_.showRhythm(rhythm_, heard, true);
        break;
    }
    default:
        Repeat();
        break;
    }
}

void RhythmSession::AnswerClosed() {
    view_.showRhythmText(RhythmModeCaptionId(options().RhythmMode));
}

} // namespace harmik
