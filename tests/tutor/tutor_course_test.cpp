// The course that ships with the program, read as the tutor reads it: every level of every
// module is whole and every task asks something the module can play. Also the guard against
// damaged level files.
#include "app/task_state.h"
#include "theory/random.h"
#include "theory/rhythm_generator.h"
#include "tutor/tutor_message.h"
#include "tutor/tutor_state.h"
#include "userdata/strings.h"
#include "userdata/tutor_index.h"

#include <QFile>
#include <gtest/gtest.h>

#include <set>

using namespace harmik;

namespace {

constexpr int kItemCount[7] = {36, 28, 48, 35, 48, 0, 12};

QStringList levelLines(int module) {
    QStringList lines;
    EXPECT_TRUE(LoadLevelFile(QString::fromLatin1(kShippedTutorName), module, lines)) << module;
    return lines;
}

std::set<int> asked(const TutorTask& t, int module) {
    std::set<int> items;
    for (int k = 0; k < kItemCount[module - 1]; ++k)
        if (t.Items[static_cast<std::size_t>(k)])
            items.insert(k);
    return items;
}

// What a task of a module with answer boxes may ask: boxes the module shows with the task's
// options, and for progressions one length of progression only.
void checkAnswerTask(const TutorTask& t, int module, const std::string& where) {
    const std::set<int> items = asked(t, module);
    ASSERT_FALSE(items.empty()) << where;
    EXPECT_TRUE(t.Direction >= 0 && t.Direction <= 2) << where;
    EXPECT_TRUE(t.Range >= 0 && t.Range <= 2) << where;
    EXPECT_TRUE(t.Root >= 0 && t.Root <= 12) << where;
    EXPECT_TRUE(t.PlayMode >= 0 && t.PlayMode <= 2) << where;
    if (module == 1) {
        const int highest = t.Range == 0 ? 12 : (t.Range == 1 ? 24 : 35);
        EXPECT_LE(*items.rbegin(), highest) << where << ": a box the range hides";
    }
    if (module == 4) {
        EXPECT_GE(*items.begin(), 7) << where << ": the row switches are not items";
        for (int hidden : {28, 29, 30})
            EXPECT_EQ(items.count(hidden), 0u) << where << ": triads have no third inversion";
    }
    if (module == 5) {
        const auto group = [](int i) { return i < 24 ? 0 : (i < 36 ? 1 : 2); };
        EXPECT_EQ(group(*items.begin()), group(*items.rbegin())) << where;
    }
}

void checkMelodyTask(const TutorTask& t, const std::string& where) {
    EXPECT_TRUE(t.Key >= 0 && t.Key <= 11) << where;
    EXPECT_TRUE(t.Tonality >= 0 && t.Tonality <= 6) << where;
    const int leaps = (t.Tonality == 4 || t.Tonality == 5) ? 5 : 7;
    EXPECT_TRUE(t.Leap >= 1 && t.Leap <= leaps) << where;
    EXPECT_TRUE(t.NoteCount >= 1 && t.NoteCount <= 15 && t.NoteCount % 2 == 1)
        << where << ": the note-count list offers odd counts";
}

void checkRhythmTask(const TutorTask& t, const std::string& where) {
    const std::set<int> items = asked(t, 7);
    ASSERT_TRUE(!items.empty() && *items.begin() <= 8) << where << ": no note value";
    EXPECT_TRUE(t.Direction >= 0 && t.Direction <= 2) << where;
    EXPECT_TRUE(t.Range >= 0 && t.Range <= 7) << where;
    EXPECT_TRUE(t.Root >= 1 && t.Root <= 6) << where;

    RhythmRequest request;
    request.Options.Metre = static_cast<std::uint8_t>(t.Range);
    request.Options.Bars = static_cast<std::uint8_t>(t.Root);
    request.Options.RhythmMode = static_cast<std::uint8_t>(t.Direction);
    for (int k : items)
        request.Ticked[static_cast<std::size_t>(k)] = true;
    request.ExercisesPerTask = t.Repetitions;

    // The start of the task accepts the values for the metre...
    const TimeSignature& ts = TimeSignatureOf(t.Range);
    StartCheckInput check;
    check.module = 7;
    check.selectedCount = static_cast<int>(items.size());
    check.rhythmValueTicked = true;
    check.metreUpper = ts.Beats;
    check.metreInEighths = ts.Note == 8;
    const std::set<int> shortValues =
        check.metreInEighths ? std::set<int>{3, 4, 8} : std::set<int>{2, 3, 4, 7, 8};
    for (int k : items)
        check.rhythmShortValueTicked = check.rhythmShortValueTicked || shortValues.count(k) > 0;
    EXPECT_EQ(StartRefusal(check), 0) << where;
    // ... and the generator always fills its bars with them.
    for (std::uint32_t seed = 1; seed <= 300; ++seed) {
        Random random(seed);
        const RhythmExercise e = GenerateRhythm(request, random);
        ASSERT_TRUE(e.fault.empty()) << where << " seed " << seed;
    }
}

} // namespace

TEST(ShippedCourse, EveryLevelOfEveryModuleIsWholeAndPlayable) {
    const QString indexPath =
        FindTutorFile(QString::fromLatin1(kShippedTutorName) + QStringLiteral(".TUT"));
    ASSERT_FALSE(indexPath.isEmpty()) << "the course is not among the shipped data";
    const TutorIndexRead index = ReadTutorIndex(indexPath);
    ASSERT_TRUE(index.Ok) << index.Error.toStdString();
    EXPECT_EQ(index.Name, QString::fromLatin1(kShippedTutorName));
    EXPECT_LE(index.Index.Title.size(), 25);
    EXPECT_LE(index.Index.Info.size(), 255);
    EXPECT_FALSE(index.Index.Info.isEmpty());

    for (int m = 1; m <= 7; ++m) {
        const QStringList lines = levelLines(m);
        const int levels = index.Index.MaxLevel[static_cast<std::size_t>(m - 1)];
        EXPECT_GE(levels, 8) << "module " << m;
        EXPECT_FALSE(FindLevel(lines, levels + 1)) << "module " << m << " has more levels";
        for (int level = 1; level <= levels; ++level) {
            const std::optional<LevelPlace> place = FindLevel(lines, level);
            const std::string at =
                "module " + std::to_string(m) + " level " + std::to_string(level);
            ASSERT_TRUE(place) << at;
            EXPECT_TRUE(place->TasksInLevel >= 3 && place->TasksInLevel <= 6) << at;
            EXPECT_LT(place->FlunkPercent, place->PassPercent) << at;
            for (int task = 1; task <= place->TasksInLevel; ++task) {
                const std::string where = at + " task " + std::to_string(task);
                const std::optional<TutorTask> t = ReadTask(lines, *place, task, m);
                ASSERT_TRUE(t) << where;
                EXPECT_TRUE(t->Repetitions >= 4 && t->Repetitions <= 30) << where;
                EXPECT_TRUE(t->FlunkPercent < t->PassPercent && t->PassPercent <= 100) << where;
                EXPECT_TRUE(t->Text.contains(QLatin1Char('|'))) << where;
                if (m == 6)
                    checkMelodyTask(*t, where);
                else if (m == 7)
                    checkRhythmTask(*t, where);
                else
                    checkAnswerTask(*t, m, where);
            }
        }
    }
}

TEST(LevelFile, ALevelThatIsNotThereWholeIsDamaged) {
    const QString header =
        QStringLiteral(" 1") + QString(52, QLatin1Char(' ')) + QStringLiteral(" 2");
    const QString task = QStringLiteral(" 1 X") + QString(50, QLatin1Char('_')) +
                         QStringLiteral("10  50   80  0 0 12 1 Title|Text");
    const QString end =
        QStringLiteral("   **") + QString(52, QLatin1Char(' ')) + QStringLiteral(" 60   80");
    struct Case {
        const char* what;
        QStringList lines;
        int level;
        bool whole;
    };
    const Case cases[] = {
        {"whole", {header, task, task, end}, 1, true},
        {"no header for the level", {header, task, task, end}, 2, false},
        {"fewer tasks than the header says", {header, task, end}, 1, false},
        {"no level end", {header, task, task}, 1, false},
        {"the file ends early", {header, task}, 1, false},
    };
    for (const Case& c : cases) {
        const std::optional<LevelPlace> place = FindLevel(c.lines, c.level);
        EXPECT_EQ(place.has_value(), c.whole) << c.what;
        if (place) {
            EXPECT_EQ(place->TasksInLevel, 2);
            EXPECT_EQ(place->PassPercent, 80);
            const std::optional<TutorTask> t = ReadTask(c.lines, *place, 2, 1);
            ASSERT_TRUE(t);
            EXPECT_TRUE(t->Items[0]);
            EXPECT_FALSE(t->Items[1]);
            EXPECT_EQ(t->Root, 12);
            EXPECT_EQ(t->Text, QStringLiteral("Title|Text"));
            EXPECT_FALSE(ReadTask(c.lines, *place, 3, 1)) << "past the level's last task";
        }
    }
}

TEST(TutorMessage, TheSentenceTellsHowTheTaskIsPlayed) {
    TutorTaskFacts intervals;
    intervals.Module = 1;
    intervals.DirectionShown = true;
    intervals.Direction = 2;
    intervals.PlayMode = 0;
    intervals.RandomRoot = true;
    TutorTaskFacts chords = intervals;
    chords.Module = 3;
    chords.DirectionShown = false;
    chords.PlayMode = 2;
    chords.RandomRoot = false;
    TutorTaskFacts melody;
    melody.Module = 6;
    melody.NoteCount = 7;
    melody.KeyText = QStringLiteral("D");
    melody.TonalityText = QStringLiteral("minor");
    melody.LeapText = QStringLiteral("fifth");
    TutorTaskFacts rhythm;
    rhythm.Module = 7;
    rhythm.Bars = 1;
    rhythm.MetreText = QStringLiteral("7/8");
    rhythm.RhythmMode = 1;
    const QString blank(QLatin1Char(' '));
    const std::pair<TutorTaskFacts, QString> cases[] = {
        {intervals,
         LoadStr(3550) + blank + LoadStr(3553) + blank + LoadStr(3560) + blank + LoadStr(3565)},
        {chords, LoadStr(3550) + blank + LoadStr(3562) + blank + LoadStr(3566)},
        {melody, FormatStr(3555, {7, QStringLiteral("D minor"), QStringLiteral("fifth")})},
        {rhythm, FormatStr(3557, {1, LoadStr(3558), QStringLiteral("7/8"), LoadStr(408)})},
    };
    for (const auto& [facts, sentence] : cases)
        EXPECT_EQ(TutorTaskSentence(facts), sentence) << facts.Module;

    const TutorMessageTexts texts =
        MakeTutorMessage(QStringLiteral("Title|Message"), chords, 3, 2, 12);
    EXPECT_EQ(texts.Title, QStringLiteral("Title"));
    EXPECT_TRUE(texts.Message.startsWith(QStringLiteral("Message ") + LoadStr(3550)));
    EXPECT_EQ(texts.Stats, FormatStr(3570, {3, 2}));
    EXPECT_EQ(texts.Repetitions, FormatStr(3571, {12}));
    TTutorMessage window(texts);
    EXPECT_EQ(window.width(), 326);
    EXPECT_EQ(window.height(), int(texts.Message.size()) / 2 + 20 + 90);
}
