// The tutor on the main window as a musician meets it: switched on, each task introduced by its
// message, judged against its marks, and the level reached kept in the profile file.
#include "app/module_buttons.h"
#include "app/statistics_window.h"
#include "app/top_ten_window.h"
#include "app/tutor_control.h"
#include "input/answer_panel.h"
#include "tutor/tutor_message.h"
#include "userdata/profile_record.h"
#include "userdata/tutor_index.h"
#include "window_test_support.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSet>
#include <QTimer>
#include <QToolButton>

#include <cstdlib>
#include <deque>

using namespace harmik;

namespace {

// A level file line in the tutor's columns: intervals 4 and 7 from C, played melodically.
QString taskLine(int level, int reps, int flunk, int pass, const QString& title) {
    QString items(36, QLatin1Char('_'));
    items[4] = items[7] = QLatin1Char('X');
    return QStringLiteral("%1 %2").arg(level, 2).arg(items) + QString(15, QLatin1Char(' ')) +
           QStringLiteral("%1 %2  %3  0 0  0 1 %4|Listen well")
               .arg(reps, 2)
               .arg(flunk, 3)
               .arg(pass, 3)
               .arg(title);
}

QString header(int level, int tasks) {
    return QStringLiteral("%1").arg(level, 2) + QString(52, QLatin1Char(' ')) +
           QStringLiteral("%1").arg(tasks, 2);
}

QString levelEnd(int flunk, int pass) {
    return QStringLiteral("   **") + QString(52, QLatin1Char(' ')) +
           QStringLiteral("%1  %2").arg(flunk, 3).arg(pass, 3);
}

void writeText(const QString& path, const QStringList& lines) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(lines.join(QLatin1Char('\n')).toUtf8() + '\n');
}

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct Judgement {
    bool levelMode = false;
    int recommended = -1; // the button made the default: 0 back, 1 repeat, 2 next
    bool nextEnabled = false;
};

class TutorTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        writeText(QStringLiteral("TESTTUTR.TUT"),
                  {QStringLiteral("Test tutor"), QStringLiteral("2"), QStringLiteral("99"),
                   QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1"),
                   QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("Two levels")});
        writeText(QStringLiteral("TESTTUTR.lv1"),
                  {header(1, 2), taskLine(1, 4, 60, 80, QStringLiteral("First")),
                   taskLine(1, 4, 70, 81, QStringLiteral("Second")), levelEnd(50, 80), header(2, 1),
                   taskLine(2, 4, 50, 80, QStringLiteral("Top")), levelEnd(50, 80)});
        ProfileRecord p = DefaultProfile();
        p.TutorName.setText(QStringLiteral("TESTTUTR"));
        p.TutorTitle.setText(QStringLiteral("Test tutor"));
        p.MaxLevel = {2, 99, 1, 1, 1, 1, 1};
        QString error;
        ASSERT_TRUE(WriteProfileFile(p, QStringLiteral("harmik.hkp"), &error));
    }

    void TearDown() override {
        if (watcher)
            watcher->stop();
        WindowTest::TearDown();
    }

    // Works the modal windows as the user would: reads and closes the tutor's messages,
    // answers the results windows with the queued choices, and leaves the top ten.
    void watchWindows() {
        watcher = new QTimer(qApp);
        watcher->setInterval(5);
        QObject::connect(watcher, &QTimer::timeout, watcher, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* message = qobject_cast<TTutorMessage*>(modal)) {
                if (closeMessagesByMidi) {
                    // A note on the MIDI keyboard closes it (once the input reaches it).
                    if (!midiFedTo.contains(message))
                        midi.feed({0x90, 60, 100});
                    midiFedTo.insert(message);
                    return;
                }
                titles.push_back(message->LabTitel()->text());
                messages.push_back(message->LabMessage()->text());
                message->CloseOk();
            } else if (auto* stats = qobject_cast<TStatistikForm*>(modal)) {
                Judgement j;
                j.levelMode = stats->LevelMode;
                QPushButton* buttons[] = {stats->BitBtn1(), stats->BitBtn2(), stats->BitBtn3()};
                for (int i = 0; i < 3; ++i)
                    if (buttons[i]->isDefault())
                        j.recommended = i;
                j.nextEnabled = stats->BitBtn3()->isEnabled();
                judgements.push_back(j);
                const int choice = choices.empty() ? ChoiceRepeat : choices.front();
                if (!choices.empty())
                    choices.pop_front();
                buttons[choice]->click();
            } else if (auto* top = qobject_cast<TFormTop10*>(modal)) {
                top->OKBtnClick();
                top->OKBtnClick();
            }
        });
        watcher->start();
    }

    // One task of four exercises with `wrong` wrong answers in its first exercise.
    static void answerTask(TForm1& w, int wrong) {
        for (int exercise = 0; exercise < 4; ++exercise) {
            const int right = std::abs(w.Session().Item().itemIndex);
            for (int k = 0; k < wrong && exercise == 0; ++k)
                w.Group_Problem()->box(right == 4 ? 7 : 4)->click();
            w.Group_Problem()->box(right)->click();
        }
    }

    QPointer<QTimer> watcher;
    bool closeMessagesByMidi = false;
    QSet<QObject*> midiFedTo;
    std::vector<QString> titles;
    std::vector<QString> messages;
    std::vector<Judgement> judgements;
    std::deque<int> choices;
};

} // namespace

TEST_F(TutorTest, TasksAreJudgedOnTheirMarksAndALevelChangeRewritesTheProfile) {
    auto w_ = makeWindow();
    TForm1& w = *w_;
    TutorControl& tutor = *w.Tutor();
    ASSERT_EQ(tutor.Profile().TutorName.text(), QStringLiteral("TESTTUTR"));
    watchWindows();
    const QByteArray profileAtStart = fileBytes(QStringLiteral("harmik.hkp"));

    tutor.SpeedTutor()->click();
    ASSERT_TRUE(tutor.tutorActive());
    ASSERT_EQ(w.Task().running, 1);
    EXPECT_EQ(titles.back(), QStringLiteral("First"));
    EXPECT_EQ(messages.back(), QStringLiteral("Listen well ") + LoadStr(3550) + QLatin1Char(' ') +
                                   LoadStr(3551) + QLatin1Char(' ') + LoadStr(3561) +
                                   QLatin1Char(' ') + LoadStr(3566));
    EXPECT_EQ(w.Task().exercisesPerTask, 4);
    EXPECT_EQ(tutor.LabNiveau()->text(), FormatStr(3500, {1}));
    EXPECT_EQ(tutor.LabTutSet()->text(), FormatStr(1003, {1, 2}));
    EXPECT_TRUE(w.Group_Problem()->boxTicked(4));
    EXPECT_FALSE(w.Group_Problem()->box(3)->isEnabled());
    EXPECT_FALSE(w.menuAction("mSeRetProfil")->isEnabled());

    struct Step {
        int wrong;
        int choice;
        std::vector<Judgement> expected; // task, then level
        const char* next;                // title of the task that follows
    };
    const Step steps[] = {
        // 80 % is the pass mark of the first task: go on.
        {1, ChoiceNext, {{false, ChoiceNext, true}}, "Second"},
        // 80 % is one below the second task's 81: repeat.
        {1, ChoiceRepeat, {{false, ChoiceRepeat, false}}, "Second"},
        // 66 % is below its flunk mark 70, and a task comes before it: go back.
        {2, ChoiceRepeat, {{false, ChoiceBack, false}}, "Second"},
        // Passed: the level end judges 16 right of 20 against the level's 80 %.
        {0, ChoiceNext, {{false, ChoiceNext, true}, {true, ChoiceNext, true}}, "Top"},
    };
    for (const Step& step : steps) {
        judgements.clear();
        choices.assign(step.expected.size(), step.choice);
        answerTask(w, step.wrong);
        ASSERT_EQ(judgements.size(), step.expected.size());
        for (std::size_t i = 0; i < judgements.size(); ++i) {
            EXPECT_EQ(judgements[i].levelMode, step.expected[i].levelMode);
            EXPECT_EQ(judgements[i].recommended, step.expected[i].recommended);
            EXPECT_EQ(judgements[i].nextEnabled, step.expected[i].nextEnabled);
        }
        EXPECT_EQ(titles.back(), QString::fromLatin1(step.next));
        if (std::string(step.next) != "Top") {
            EXPECT_EQ(fileBytes(QStringLiteral("harmik.hkp")), profileAtStart)
                << "only a level change writes the profile";
        }
    }
    ProfileRecord saved = DefaultProfile();
    ASSERT_EQ(ReadProfileFile(QStringLiteral("harmik.hkp"), saved), ProfileReadResult::Loaded);
    EXPECT_EQ(saved.Level[0], 2);
    EXPECT_EQ(tutor.LabNiveau()->text(), FormatStr(3500, {2}));

    // Going on from the last level keeps the user there and says so.
    shown.clear();
    choices.assign(2, ChoiceNext);
    answerTask(w, 0);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, FormatStr(8300, {2}));
    EXPECT_EQ(titles.back(), QStringLiteral("Top"));
    EXPECT_EQ(tutor.State().Level, 2);

    // Escape stops the task and the tutor.
    w.FormKeyDown({KeyCode::Escape, false});
    EXPECT_EQ(w.Task().running, 0);
    EXPECT_FALSE(tutor.tutorActive());
    EXPECT_FALSE(tutor.SpeedTutor()->isChecked());
    EXPECT_TRUE(w.Group_Problem()->box(3)->isEnabled());
    EXPECT_TRUE(w.ModuleButtons()->button(2)->isEnabled());
    EXPECT_TRUE(w.menuAction("mSeRetProfil")->isEnabled());
}

TEST_F(TutorTest, AModuleWithoutLevelsOrWithoutItsLevelFileKeepsTheTutorOff) {
    auto w_ = makeWindow();
    TForm1& w = *w_;
    struct Case {
        int module;
        QString message;
    };
    const Case cases[] = {
        {2, FormatStr(2021, {QStringLiteral("Test tutor")})},
        {3, FormatStr(2020, {QStringLiteral("TESTTUTR.lv3")})},
    };
    for (const Case& c : cases) {
        w.SelectModule(c.module);
        shown.clear();
        w.Tutor()->SpeedTutor()->click();
        ASSERT_EQ(shown.size(), 1u) << c.module;
        EXPECT_EQ(shown[0].text, c.message);
        EXPECT_FALSE(w.Tutor()->tutorActive());
        EXPECT_FALSE(w.Tutor()->SpeedTutor()->isChecked());
        EXPECT_EQ(w.Task().running, 0);
    }
}

TEST_F(TutorTest, AProfileThatCannotBeWrittenIsReportedAndTheLevelStaysInMemory) {
    auto w_ = makeWindow();
    TForm1& w = *w_;
    w.Settings().LastProfile.setText(QStringLiteral("missing/harmik.hkp"));
    watchWindows();
    w.Tutor()->SpeedTutor()->click();
    choices.assign({ChoiceNext, ChoiceNext, ChoiceNext});
    answerTask(w, 0);
    shown.clear();
    answerTask(w, 0);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(shown[0].text.startsWith(LoadStr(2041).left(10)));
    EXPECT_TRUE(shown[0].text.contains(QStringLiteral("missing/harmik.hkp")));
    EXPECT_EQ(w.Tutor()->Profile().Level[0], 2);
    EXPECT_EQ(titles.back(), QStringLiteral("Top"));
    w.Tutor()->mTutorClick();
    EXPECT_FALSE(w.Tutor()->tutorActive());
}

TEST_F(TutorTest, TheShippedCourseStartsInEveryModuleWithAnswerBoxes) {
    QFile::remove(QStringLiteral("harmik.hkp"));
    auto w_ = makeWindow();
    TForm1& w = *w_;
    ASSERT_EQ(w.Tutor()->Profile().TutorName.text(), QString::fromLatin1(kShippedTutorName));
    watchWindows();
    for (int m = 1; m <= 5; ++m) {
        w.SelectModule(m);
        midi.Sent.clear();
        w.Tutor()->SpeedTutor()->click();
        ASSERT_EQ(w.Task().running, 1) << "module " << m;
        const QStringList& lines = w.Tutor()->LevelLines();
        const auto place = FindLevel(lines, 1);
        ASSERT_TRUE(place);
        const auto task = ReadTask(lines, *place, 1, m);
        ASSERT_TRUE(task);
        EXPECT_EQ(titles.back(), task->Text.section(QLatin1Char('|'), 0, 0));
        EXPECT_EQ(w.Task().exercisesPerTask, task->Repetitions);
        for (int k = 0; k < w.Group_Problem()->AnswerBoxCount(); ++k)
            EXPECT_EQ(w.Group_Problem()->boxTicked(k), task->Items[std::size_t(k)])
                << "module " << m << " box " << k;
        for (int tick = 0; tick < 8 && w.Session().TimerMidi1()->isActive(); ++tick)
            w.Session().TimerMidi1Timer();
        int noteOns = 0;
        for (std::uint32_t msg : midi.Sent.shortsTo(-1))
            noteOns += (msg & 0xF0) == 0x90 && ((msg >> 16) & 0x7F) > 0;
        EXPECT_GT(noteOns, 0) << "module " << m << " plays";
        w.Tutor()->SpeedTutor()->click();
        EXPECT_EQ(w.Task().running, 0);
        EXPECT_FALSE(w.Tutor()->tutorActive());
    }

    // Melodies: the key, tonality, leap and notes come from the task, and the message says so;
    // this time a note on the MIDI keyboard closes the message.
    w.SelectModule(6);
    closeMessagesByMidi = true;
    w.Tutor()->SpeedTutor()->click();
    ASSERT_EQ(w.Task().running, 1);
    EXPECT_EQ(midiFedTo.size(), 1u);
    const auto place = FindLevel(w.Tutor()->LevelLines(), 1);
    ASSERT_TRUE(place);
    const auto task = ReadTask(w.Tutor()->LevelLines(), *place, 1, 6);
    ASSERT_TRUE(task);
    const MelodyOptionsRecord& o = w.Settings().MelodyOptions;
    EXPECT_EQ(int(o.Key), task->Key);
    EXPECT_EQ(int(o.Tonality), task->Tonality);
    EXPECT_EQ(int(o.Leap), task->Leap);
    EXPECT_EQ(int(o.NoteCount), task->NoteCount);
    EXPECT_EQ(w.Session().Item().melodyNotes[0], task->NoteCount);
    w.Tutor()->mTutorClick();
    EXPECT_FALSE(w.Tutor()->tutorActive());
}
