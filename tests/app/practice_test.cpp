// A musician practising: ticking items, starting a task, answering through the answer panel
// and the show-answer button, and reaching the results.
#include "app/exercise_options.h"
#include "app/module_buttons.h"
#include "app/score_panel.h"
#include "app/statistics_window.h"
#include "app/top_ten_window.h"
#include "app/transport_panel.h"
#include "input/answer_panel.h"
#include "window_test_support.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include <cstdlib>

using namespace harmik;

namespace {

class PracticeTest : public WindowTest {
protected:
    std::unique_ptr<TForm1> intervalWindow(std::initializer_list<int> ticked, int exercises) {
        auto w = makeWindow();
        w->Settings().ExerciseOptions.ExercisesPerTask = static_cast<std::uint8_t>(exercises);
        for (int i : ticked)
            w->Group_Problem()->setBoxTicked(i, true);
        return w;
    }

    // Closes the results windows as a user would, counting them: the statistics window with
    // OK, the top-ten window by typing nothing new and pressing OK twice (enter, then close).
    void answerResultWindows() {
        auto* watcher = new QTimer(qApp);
        watcher->setInterval(5);
        QObject::connect(watcher, &QTimer::timeout, watcher, [this, watcher] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* stats = qobject_cast<TStatistikForm*>(modal)) {
                ++statisticsShown;
                statisticsHeadline = stats->Headline();
                stats->accept();
            } else if (auto* top = qobject_cast<TFormTop10*>(modal)) {
                ++topTenShown;
                topTenPlace = top->EnteringPlace();
                top->OKBtnClick();
                top->OKBtnClick();
            }
            if (statisticsShown > 5 || topTenShown > 5)
                watcher->deleteLater();
        });
        watcher->start();
        watchers.push_back(watcher);
    }

    void TearDown() override {
        for (QTimer* t : watchers)
            if (t)
                t->stop();
        WindowTest::TearDown();
    }

    // Clicks the answer box of the current exercise's item.
    static void answerRight(TForm1& w) {
        w.Group_Problem()->box(std::abs(w.Item().itemIndex))->click();
    }

    static int wrongBoxFor(TForm1& w, std::initializer_list<int> ticked) {
        for (int i : ticked)
            if (i != std::abs(w.Item().itemIndex))
                return i;
        return -1;
    }

    int statisticsShown = 0;
    int topTenShown = 0;
    int topTenPlace = -1;
    QString statisticsHeadline;
    std::vector<QPointer<QTimer>> watchers;
};

int noteOnsTo(const test::LoopbackMidi& midi, int device) {
    int n = 0;
    for (std::uint32_t m : midi.Sent.shortsTo(device))
        if ((m & 0xF0) == 0x90 && ((m >> 16) & 0x7F) > 0)
            ++n;
    return n;
}

} // namespace

TEST_F(PracticeTest, AWholeIntervalTaskAnsweredRightReachesTheResultsAndTheTopTen) {
    auto w_ = intervalWindow({3, 4, 7}, 4);
    TForm1& w = *w_;
    ClearTopTen(w.TopTen(), QDate::currentDate()); // any score earns place 1
    answerResultWindows();

    w.NyKnapClick();
    ASSERT_EQ(w.Task().running, 1);
    EXPECT_EQ(w.PanelTransport()->NyKnap()->text(), LoadStr(1201));
    EXPECT_FALSE(w.ModuleButtons()->button(3)->isEnabled());
    EXPECT_TRUE(w.ModuleButtons()->button(1)->isEnabled());
    EXPECT_FALSE(w.menuAction("mModuler")->isEnabled());

    // The exercise sounds: ticks of the playback timer send its notes to the exercise output.
    for (int tick = 0; tick < 4; ++tick)
        w.TimerMidi1Timer();
    EXPECT_GT(noteOnsTo(midi, -1), 0);

    int expectedScore = 0;
    for (int exercise = 1; exercise <= 4; ++exercise) {
        ASSERT_EQ(w.Task().running, 1) << exercise;
        const int item = std::abs(w.Item().itemIndex);
        EXPECT_TRUE(item == 3 || item == 4 || item == 7) << item;
        expectedScore += w.Item().points;
        answerRight(w);
    }
    EXPECT_EQ(w.Task().running, 0);
    EXPECT_EQ(w.Score().right, 4);
    EXPECT_EQ(w.Score().wrong, 0);
    EXPECT_EQ(w.Score().score, expectedScore);
    EXPECT_EQ(statisticsShown, 1);
    EXPECT_EQ(statisticsHeadline, LoadStr(1152));
    EXPECT_EQ(topTenShown, 1);
    EXPECT_EQ(topTenPlace, 1);
    EXPECT_EQ(int(w.TopTen().records[0].score), expectedScore);
    EXPECT_EQ(w.PanelTransport()->NyKnap()->text(), LoadStr(1200));
    EXPECT_TRUE(w.menuAction("mModuler")->isEnabled());
    EXPECT_TRUE(w.ModuleButtons()->button(3)->isEnabled());
}

TEST_F(PracticeTest, AWrongAnswerColoursTheExerciseRedAndCostsPoints) {
    auto w_ = intervalWindow({3, 4, 7, 12}, 20);
    TForm1& w = *w_;
    w.NyKnapClick();
    ASSERT_EQ(w.Task().running, 1);
    w.Item().points = 60;
    const int item = std::abs(w.Item().itemIndex);
    w.Group_Problem()->box(wrongBoxFor(w, {3, 4, 7, 12}))->click();

    EXPECT_EQ(w.Pan_Ove()->palette().color(QPalette::Window), QColor(0xFF, 0, 0));
    EXPECT_EQ(w.Score().wrong, 1);
    EXPECT_EQ(w.Item().points, 30); // four ticked: 60 - round(60 / 2)
    EXPECT_EQ(w.Errors()[static_cast<std::size_t>(item)].count, 1);
    EXPECT_EQ(w.Task().exerciseCount, 0); // the exercise stays open
    EXPECT_EQ(std::abs(w.Item().itemIndex), item);

    answerRight(w);
    EXPECT_EQ(w.Pan_Ove()->palette().color(QPalette::Window), QColor(0, 0xFF, 0));
    EXPECT_EQ(w.Score().score, 30);
    EXPECT_EQ(w.Task().exerciseCount, 1);
    w.NyKnapClick();
}

TEST_F(PracticeTest, ShowAnswerCountsTwoWrongAndWaitsForTheSecondPress) {
    auto w_ = intervalWindow({3, 4}, 20);
    TForm1& w = *w_;
    w.NyKnapClick();
    const int item = std::abs(w.Item().itemIndex);
    w.SvarKnapClick();
    EXPECT_TRUE(w.Task().answerShown);
    EXPECT_EQ(w.Score().wrong, 2);
    EXPECT_EQ(w.Score().score, 0);
    EXPECT_EQ(w.Task().exerciseCount, 1);
    EXPECT_EQ(w.Errors()[static_cast<std::size_t>(item)].count, 1);
    EXPECT_EQ(w.PanelTransport()->SvarKnap()->text(), LoadStr(1208));

    // Answers are not taken while the answer is shown.
    answerRight(w);
    EXPECT_EQ(w.Score().right, 0);

    w.SvarKnapClick();
    EXPECT_FALSE(w.Task().answerShown);
    EXPECT_EQ(w.PanelTransport()->SvarKnap()->text(), LoadStr(1203));
    EXPECT_EQ(w.Task().exerciseCount, 1);
    EXPECT_EQ(w.Score().wrong, 2);
    w.NyKnapClick();
}

TEST_F(PracticeTest, RepeatingCostsASixthEachTime) {
    auto w_ = intervalWindow({5}, 20);
    TForm1& w = *w_;
    w.NyKnapClick();
    w.Item().points = 100;
    w.GentagKnapClick();
    EXPECT_EQ(w.Item().points, 83);
    w.GentagKnapClick();
    EXPECT_EQ(w.Item().points, 69);
    EXPECT_TRUE(w.TimerMidi1()->isActive()); // played again
    w.NyKnapClick();
    EXPECT_EQ(w.Task().running, 0);
}

TEST_F(PracticeTest, StartRefusalsLeaveTheScreenAsItWas) {
    auto w_ = makeWindow();
    TForm1& w = *w_;
    w.NyKnapClick();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, QStringLiteral("Выберите вид упражнения"));
    EXPECT_EQ(w.Task().running, 0);
    EXPECT_EQ(w.PanelTransport()->NyKnap()->text(), LoadStr(1200));
    EXPECT_TRUE(w.Options()->RadioOmfang()->isVisibleTo(&w));

    // The melody and rhythm modules answer on panels of their own that this build lacks: it
    // says so instead of starting anything.
    shown.clear();
    w.SelectModule(6);
    w.NyKnapClick();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, LoadStr(2042));
    EXPECT_EQ(w.Task().running, 0);
}

TEST_F(PracticeTest, NoMidiOutputRefusesWith2008AndSpeakerRhythmWith2009) {
    midi.~LoopbackMidi();
    new (&midi) test::LoopbackMidi(0, 0, false);
    auto w_ = makeWindow();
    TForm1& w = *w_;
    w.Group_Problem()->setBoxTicked(3, true);
    w.NyKnapClick();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, LoadStr(2008));
    EXPECT_EQ(shown[0].helpTopic, 150);
    EXPECT_EQ(w.Task().running, 0);

    shown.clear();
    w.Settings().PcSpeakerOnly = 1;
    w.SelectModule(7);
    w.NyKnapClick();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, LoadStr(2009));
}

TEST_F(PracticeTest, ModulesCannotBeChangedDuringATask) {
    auto w_ = intervalWindow({3}, 20);
    TForm1& w = *w_;
    w.NyKnapClick();
    w.menuAction("mAkkorder")->trigger();
    EXPECT_EQ(w.Settings().CurrentModule, 1);
    w.NyKnapClick();
    w.menuAction("mAkkorder")->trigger();
    EXPECT_EQ(w.Settings().CurrentModule, 3);
    EXPECT_EQ(w.windowTitle(), QStringLiteral(" H A R M I K - Аккорды"));
    EXPECT_EQ(w.HelpContext(), 13);
    EXPECT_EQ(w.Group_Problem()->AnswerBoxCount(), 48);
}

TEST_F(PracticeTest, ChordsAndProgressionsPlayAndAreAnsweredOnThePanel) {
    auto w_ = makeWindow();
    TForm1& w = *w_;
    for (int m : {2, 3, 4, 5}) {
        w.SelectModule(m);
        const int first = m == 4 ? 7 : 0;
        w.Group_Problem()->setBoxTicked(first, true);
        w.NyKnapClick();
        ASSERT_EQ(w.Task().running, 1) << m;
        EXPECT_GT(w.Queue().Count, 0) << m;
        const int before = w.Score().right;
        w.Group_Problem()->box(std::abs(w.Item().itemIndex))->click();
        EXPECT_EQ(w.Score().right, before + 1) << m;
        w.NyKnapClick();
        EXPECT_EQ(w.Task().running, 0) << m;
    }
}
