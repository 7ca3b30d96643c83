// Practising without a window: the session on loopback MIDI devices, shown through a view that
// records what it is asked to show.
#include "app/practice_session.h"
#include "app/rhythm_session.h"
#include "loopback_support.h"
#include "midi/sound_system.h"
#include "theory/item_names.h"
#include "theory/progression_table.h"
#include "userdata/settings_record.h"
#include "userdata/strings.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

using namespace harmik;

namespace {

class RecordingView : public PracticeView {
public:
    RecordingView() {
        choice.visible.fill(true);
        choice.boxCount = 36; // intervals
    }

    AnswerChoice choice;
    std::vector<MessageRequest> messages;
    std::vector<ExerciseColour> colours;
    std::vector<int> pointsShown;
    std::vector<int> keysMarked;
    std::vector<int> progressionChordsDrawn;
    int starts = 0, stops = 0, answersOnStaff = 0, itemsBegun = 0, results = 0;
    int lastProgress = -1;
    bool answerShown = false;
    bool melodyWritten = false;
    std::string melodyMarks;
    int lastMelodyNote = 0;
    ErrorStatistics resultErrors{};
    int resultScore = -1;

    void tick(int box) {
        choice.ticked[static_cast<std::size_t>(box)] = true;
        choice.selectedCount = 0;
        for (bool t : choice.ticked)
            choice.selectedCount += t ? 1 : 0;
    }

    AnswerChoice answerChoice() const override { return choice; }
    void untickAnswerBox(int index) override {
        choice.ticked[static_cast<std::size_t>(index)] = false;
        --choice.selectedCount;
    }
    MessageAnswer showMessage(const MessageRequest& r) override {
        messages.push_back(r);
        return MessageAnswer::Ok;
    }
    void taskStarting(int) override { ++starts; }
    void taskStarted(int, int) override {}
    void taskStopped(int) override { ++stops; }
    void answerShownChanged(bool shown) override { answerShown = shown; }
    void colourExercise(ExerciseColour c) override { colours.push_back(c); }
    void showPoints(int p) override { pointsShown.push_back(p); }
    void showCounters(int, bool) override {}
    void showProgress(int count, int) override { lastProgress = count; }
    void showClock() override {}
    void redrawInstruments() override {}
    void MarkKey(int note) override { keysMarked.push_back(note); }
    void setProgressionLabels(std::vector<std::string>) override {}
    void beginItem(int, const ExerciseItem&, const StaffRequest&) override { ++itemsBegun; }
    void drawEnteredNote(int, const ExerciseItem&, int) override {}
    void drawProgressionChord(const ExerciseItem&, int chord) override {
        progressionChordsDrawn.push_back(chord);
    }
    void showAnswer(int, const ExerciseItem&, const AnswerProgress&) override { ++answersOnStaff; }
    void showExample(int, const ExerciseItem&, const StaffRequest&) override {}
    void beginMelody(const ExerciseItem&, const MelodyGenerateResult&, bool reading) override {
        ++itemsBegun;
        melodyWritten = reading;
    }
    void melodyNoteAnswered(const ExerciseItem&, int counter, bool revealed) override {
        melodyMarks.push_back(revealed ? 'b' : 'g');
        lastMelodyNote = counter;
    }
    void melodyNoteMissed(int) override { melodyMarks.push_back('r'); }
    void showResults(const ErrorStatistics& sorted, int, int score) override {
        ++results;
        resultErrors = sorted;
        resultScore = score;
    }
};

class PracticeSessionTest : public ::testing::Test {
protected:
    explicit PracticeSessionTest(int midiOutputs = 1, bool builtIn = true)
        : midi(midiOutputs, 0, builtIn) {}

    void SetUp() override {
        settings = DefaultSettings();
        settings.CurrentModule = 1;
        settings.ExerciseOptions.ExercisesPerTask = 4;
        settings.ExerciseOptions.FeedbackType = 2;
        names = BuildItemNameList([](int id) { return LoadStr(id).toStdString(); },
                                  ProgressionLabelCatalogue());
        SoundSystemOptions o;
        o.OpenAudio = false;
        o.Midi = &midi;
        o.SoundFontFolders = {dir.path()};
        sound = std::make_unique<SoundSystem>(nullptr, o);
        sound->EnumerateMidiDevices();
        sound->OpenDevices();
        session = std::make_unique<PracticeSession>(settings, names, view, nullptr,
                                                    [this] { return clock; });
        session->setSound(sound.get());
    }

    // The notes the exercise output has been sent since the last call.
    int noteOnsSent() {
        int n = 0;
        for (std::uint32_t m : midi.Sent.shortsTo(-1))
            if ((m & 0xF0) == 0x90 && ((m >> 16) & 0x7F) > 0)
                ++n;
        midi.Sent.clear();
        return n;
    }

    void playExercise() {
        for (int tick = 0; tick < 8 && session->TimerMidi1()->isActive(); ++tick)
            session->TimerMidi1Timer();
    }

    int item() { return std::abs(session->Item().itemIndex); }

    QTemporaryDir dir;
    test::LoopbackMidi midi;
    SettingsRecord settings;
    ItemNameList names;
    RecordingView view;
    std::unique_ptr<SoundSystem> sound;
    std::unique_ptr<PracticeSession> session;
    std::uint32_t clock = 1000;
};

TEST_F(PracticeSessionTest, AWholeIntervalTaskIsPlayedJudgedScoredAndEndsInTheResults) {
    for (int box : {3, 4, 7})
        view.tick(box);
    session->NyKnapClick();
    ASSERT_TRUE(session->running());
    std::vector<int> items;
    int expectedScore = 0;
    for (int exercise = 1; exercise <= 4; ++exercise) {
        ASSERT_TRUE(session->running()) << exercise;
        playExercise();
        EXPECT_EQ(noteOnsSent(), 2) << "both notes of the interval sound";
        items.push_back(item());
        EXPECT_TRUE(item() == 3 || item() == 4 || item() == 7) << item();
        expectedScore += session->Item().points;
        session->Judge(item(), SourceAnswerPanel);
        if (exercise < 4) {
            EXPECT_EQ(view.colours.back(), ExerciseColour::Right);
        }
    }
    EXPECT_FALSE(session->running());
    EXPECT_EQ(session->Score().right, 4);
    EXPECT_EQ(session->Score().wrong, 0);
    EXPECT_EQ(session->Score().score, expectedScore);
    EXPECT_EQ(session->Score().LevelRight, 4);
    EXPECT_EQ(view.answersOnStaff, 4);
    EXPECT_EQ(view.results, 1);
    EXPECT_EQ(view.resultScore, expectedScore);
    EXPECT_EQ(view.stops, 1);

    // The random source is seeded from the clock at the start: the same start time gives the
    // same exercises.
    std::vector<int> again;
    session->NyKnapClick();
    for (int exercise = 0; exercise < 4; ++exercise) {
        again.push_back(item());
        session->Judge(item(), SourceAnswerPanel);
    }
    EXPECT_EQ(again, items);
}

TEST_F(PracticeSessionTest, AnExerciseStaysOpenThroughWrongAnswersRepeatsAndTheShownAnswer) {
    settings.ExerciseOptions.ExercisesPerTask = 20;
    for (int box : {3, 4, 7, 12})
        view.tick(box);
    session->NyKnapClick();
    const int open = item();
    const int wrongBox = open == 3 ? 4 : 3;

    // A wrong answer costs points (four ticked: p - round(p / 2)) and counts against the item.
    session->Item().points = 60;
    session->Judge(wrongBox, SourceAnswerPanel);
    EXPECT_EQ(view.colours.back(), ExerciseColour::Wrong);
    EXPECT_EQ(session->Score().wrong, 1);
    EXPECT_EQ(session->Item().points, 30);
    EXPECT_EQ(session->Errors()[static_cast<std::size_t>(open)].count, 1);
    EXPECT_EQ(session->Task().exerciseCount, 0);
    EXPECT_EQ(item(), open);

    // A repeat plays the exercise again and costs a sixth each time.
    noteOnsSent();
    session->Item().points = 100;
    session->GentagKnapClick();
    playExercise();
    EXPECT_EQ(noteOnsSent(), 2);
    EXPECT_EQ(session->Item().points, 83);
    session->GentagKnapClick();
    EXPECT_EQ(session->Item().points, 69);
    EXPECT_EQ(view.pointsShown.back(), 69);

    // The first show-answer press settles the exercise as two wrong answers and scores nothing;
    // the time spent looking at the answer is no practice time.
    clock += 3 * 60'000;
    session->SvarKnapClick();
    EXPECT_EQ(session->Score().practiceTime, 3 * 60'000);
    EXPECT_TRUE(session->Task().answerShown);
    EXPECT_TRUE(view.answerShown);
    EXPECT_EQ(session->Score().wrong, 3);
    EXPECT_EQ(session->Score().score, 0);
    EXPECT_EQ(session->Task().exerciseCount, 1);
    EXPECT_EQ(view.lastProgress, 1);
    EXPECT_EQ(session->Errors()[static_cast<std::size_t>(open)].count, 2);
    // Answers are not taken while it is shown; the second press opens the next exercise.
    const int begun = view.itemsBegun;
    session->Judge(open, SourceAnswerPanel);
    EXPECT_EQ(session->Score().right, 0);
    clock += 10 * 60'000;
    session->SvarKnapClick();
    EXPECT_FALSE(session->Task().answerShown);
    EXPECT_FALSE(view.answerShown);
    EXPECT_EQ(view.itemsBegun, begun + 1);
    EXPECT_EQ(session->Task().exerciseCount, 1);

    clock += 2 * 60'000;
    session->NyKnapClick();
    EXPECT_FALSE(session->running());
    EXPECT_EQ(session->Score().practiceTime, 5 * 60'000);
    EXPECT_EQ(view.results, 0); // a stopped task shows no results
}

TEST_F(PracticeSessionTest, AProgressionIsAnsweredChordByChordOnTheKeyboard) {
    settings.CurrentModule = 5;
    view.choice.boxCount = 48;
    view.tick(0);  // two chords
    view.tick(30); // three chords: dropped at the start, as the first ticked box is shorter
    session->NyKnapClick();
    ASSERT_TRUE(session->running());
    EXPECT_FALSE(view.choice.ticked[30]);
    const std::vector<ExpectedChord>& chords = session->ProgressionChords();
    ASSERT_EQ(chords.size(), 2u);
    const int root = session->Item().root;

    session->Judge(48 + (root + chords[0].rootOffset) % 12, SourceMidiKeyboard);
    EXPECT_EQ(session->Task().exerciseCount, 0); // one chord of two
    EXPECT_EQ(view.progressionChordsDrawn, std::vector<int>{0});
    ASSERT_EQ(view.keysMarked.size(), 1u);
    EXPECT_EQ(view.keysMarked[0], root + chords[0].rootOffset);

    session->Judge(48 + (root + chords[1].rootOffset + 1) % 12, SourceMidiKeyboard);
    EXPECT_EQ(session->Score().wrong, 1);
    session->Judge(60 + (root + chords[1].rootOffset) % 12, SourceMidiKeyboard);
    EXPECT_EQ(session->Task().exerciseCount, 1);
    EXPECT_EQ(session->Score().right, 1);
    EXPECT_EQ(view.progressionChordsDrawn, (std::vector<int>{0, 1}));
    session->NyKnapClick();
}

TEST_F(PracticeSessionTest, RefusedStartsSayWhyAndChangeNothing) {
    struct Case {
        int module;
        bool ticked;
        bool speakerOnly;
        int message;
        int helpTopic;
        int metre = 3;
    };
    const Case cases[] = {
        {1, false, false, 1110, 0},  // nothing ticked
        {7, true, true, 2009, 150},  // rhythm on the PC speaker
        {7, true, false, 451, 0, 2}, // 3/4 with only whole notes
        {7, true, false, 450, 0, 1}, // 3/8 with only whole notes
        {7, true, false, 0, 0, 3},   // 4/4 with whole notes: the task starts
    };
    for (const Case& c : cases) {
        settings.CurrentModule = static_cast<std::uint8_t>(c.module);
        settings.PcSpeakerOnly = c.speakerOnly ? 1 : 0;
        settings.RhythmOptions.Metre = static_cast<std::uint8_t>(c.metre);
        view.choice.ticked = {};
        view.choice.selectedCount = 0;
        if (c.ticked)
            view.tick(0);
        view.messages.clear();
        session->NyKnapClick();
        if (c.message == 0) {
            EXPECT_TRUE(session->running());
            EXPECT_TRUE(view.messages.empty());
            EXPECT_GT(session->RhythmTask().CurrentRhythm().Count, 0);
            session->NyKnapClick();
            continue;
        }
        EXPECT_FALSE(session->running()) << c.message;
        EXPECT_EQ(view.starts, 0) << c.message;
        ASSERT_EQ(view.messages.size(), 1u) << c.message;
        EXPECT_EQ(view.messages[0].text, LoadStr(c.message));
        EXPECT_EQ(view.messages[0].helpTopic, c.helpTopic) << c.message;
    }
}

// The notes the exercise output was sent, tick by tick of the playback timer, until it stops.
std::vector<std::vector<int>> playedByTick(PracticeSession& session, test::LoopbackMidi& midi) {
    std::vector<std::vector<int>> ticks;
    for (int tick = 0; tick < 64 && session.TimerMidi1()->isActive(); ++tick) {
        midi.Sent.clear();
        session.TimerMidi1Timer();
        std::vector<int> notes;
        for (std::uint32_t m : midi.Sent.shortsTo(-1))
            if ((m & 0xF0) == 0x90 && ((m >> 16) & 0x7F) > 0)
                notes.push_back(static_cast<int>((m >> 8) & 0x7F));
        ticks.push_back(notes);
    }
    return ticks;
}

TEST_F(PracticeSessionTest, AMelodyIsHeardAfterItsCadenceAndAnsweredNoteByNote) {
    settings.CurrentModule = 6;
    settings.ExerciseOptions.ExercisesPerTask = 2;
    settings.ExerciseOptions.PlayStyle = 0; // the long classical cadence
    settings.MelodyOptions.NoteCount = 3;
    session->NyKnapClick();
    ASSERT_TRUE(session->running());
    EXPECT_FALSE(view.melodyWritten);
    ExerciseItem item = session->Item();
    ASSERT_EQ(item.melodyNotes[0], 3);

    // Five cadence chords, then the melody's notes one beat each.
    const std::vector<std::vector<int>> ticks = playedByTick(*session, midi);
    std::vector<int> melody;
    int chords = 0;
    for (const std::vector<int>& notes : ticks) {
        if (notes.size() >= 4)
            ++chords;
        else if (notes.size() == 1)
            melody.push_back(notes[0]);
    }
    EXPECT_EQ(chords, 5);
    EXPECT_EQ(melody,
              (std::vector<int>{item.melodyNotes[1], item.melodyNotes[2], item.melodyNotes[3]}));

    // Right, wrong, right, and the last note revealed by a staff click: sung, not scored.
    const int points = session->Item().points;
    session->Judge(item.melodyNotes[1], SourcePiano);
    session->Judge(item.melodyNotes[2] + 1, SourceMidiKeyboard);
    EXPECT_EQ(session->Score().wrong, 1);
    const int afterWrong = session->Item().points;
    EXPECT_EQ(afterWrong, points - (points + 1) / 3); // p - round(p / 3)
    session->Judge(item.melodyNotes[2], SourceStaffNote);
    EXPECT_EQ(session->Task().exerciseCount, 0);
    session->Judge(0, SourceStaffClick);
    EXPECT_EQ(view.melodyMarks, "grgb");
    EXPECT_EQ(session->Task().exerciseCount, 1);
    EXPECT_EQ(session->Score().right, 0);
    EXPECT_EQ(session->Score().score, 0);

    // The next melody: the shown answer writes it and waits; a repeat plays the melody alone.
    item = session->Item();
    noteOnsSent();
    session->GentagKnapClick();
    playExercise();
    EXPECT_EQ(noteOnsSent(), 3);
    session->SvarKnapClick();
    EXPECT_EQ(view.answersOnStaff, 2);
    session->SvarKnapClick();
    EXPECT_FALSE(session->running());
    EXPECT_EQ(view.results, 1);
}

TEST_F(PracticeSessionTest, AMelodyReadFromTheStaffIsNotPlayedUntilItsAnswerIsShown) {
    settings.CurrentModule = 6;
    settings.MelodyOptions.PrimaVista = 1;
    settings.MelodyOptions.NoteCount = 5;
    session->NyKnapClick();
    ASSERT_TRUE(session->running());
    EXPECT_TRUE(view.melodyWritten);
    EXPECT_FALSE(session->TimerMidi1()->isActive());
    const int points = session->Item().points;
    session->GentagKnapClick(); // nothing to repeat, and no cost
    EXPECT_EQ(session->Item().points, points);
    EXPECT_FALSE(session->TimerMidi1()->isActive());

    session->SvarKnapClick();
    EXPECT_EQ(noteOnsSent(), 0);
    playExercise();
    EXPECT_EQ(noteOnsSent(), 5); // the shown answer is heard
    session->NyKnapClick();
}

TEST_F(PracticeSessionTest, TheCadencesAndTheTonalityAreHeardBeforeATask) {
    settings.CurrentModule = 6;
    settings.ExerciseOptions.PlayStyle = 5; // no cadence before the melodies
    settings.MelodyOptions.Tonality = 0;    // major
    struct Case {
        const char* what;
        std::function<void()> preview;
        int chords, notes;
    };
    const Case cases[] = {
        {"long classical cadence", [&] { session->PreviewCadence(0); }, 5, 0},
        {"tonic only", [&] { session->PreviewCadence(2); }, 0, 2},
        {"major scale up and down", [&] { session->PreviewTonality(); }, 0, 15},
    };
    for (const Case& c : cases) {
        c.preview();
        int chords = 0, notes = 0;
        for (const std::vector<int>& tick : playedByTick(*session, midi)) {
            chords += tick.size() >= 4 ? 1 : 0;
            notes += tick.size() < 4 ? static_cast<int>(tick.size()) : 0;
        }
        EXPECT_EQ(chords, c.chords) << c.what;
        EXPECT_EQ(notes, c.notes) << c.what;
    }
    settings.MelodyOptions.NoteCount = 1;
    session->NyKnapClick();
    session->TimerMidi1()->stop();
    session->PreviewTonality(); // not during a task
    EXPECT_FALSE(session->TimerMidi1()->isActive());
    session->NyKnapClick();
}

class NoMidiOutputSessionTest : public PracticeSessionTest {
protected:
    NoMidiOutputSessionTest() : PracticeSessionTest(0, false) {}
};

TEST_F(NoMidiOutputSessionTest, WithoutAnOutputOnlyAMelodyReadFromTheStaffStarts) {
    view.tick(3);
    session->NyKnapClick();
    EXPECT_FALSE(session->running());
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].text, LoadStr(2008));
    EXPECT_EQ(view.messages[0].type, MessageType::Warning);
    EXPECT_EQ(view.messages[0].helpTopic, 150);

    settings.CurrentModule = 6;
    settings.MelodyOptions.PrimaVista = 1;
    session->NyKnapClick();
    EXPECT_TRUE(session->running());
}

} // namespace
