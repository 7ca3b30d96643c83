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
        w.Group_Problem()->box(std::abs(w.Session().Item().itemIndex))->click();
    }

    static int wrongBoxFor(TForm1& w, std::initializer_list<int> ticked) {
        for (int i : ticked)
            if (i != std::abs(w.Session().Item().itemIndex))
                return i;
        return -1;
    }

    int statisticsShown = 0;
    int topTenShown = 0;
    int topTenPlace = -1;
    QString statisticsHeadline;
    std::vector<QPointer<QTimer>> watchers;
};

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

    for (int exercise = 1; exercise <= 4; ++exercise)
        answerRight(w);
    const int expectedScore = w.Session().Score().score;
    EXPECT_EQ(w.ScoreDisplay()->Lab_Score()->text(), ScoreText(expectedScore));
    EXPECT_EQ(w.Task().running, 0);
    EXPECT_EQ(statisticsShown, 1);
    EXPECT_EQ(statisticsHeadline, LoadStr(1152));
    EXPECT_EQ(topTenShown, 1);
    EXPECT_EQ(topTenPlace, 1);
    EXPECT_EQ(int(w.TopTen().records[0].score), expectedScore);
    EXPECT_EQ(w.PanelTransport()->NyKnap()->text(), LoadStr(1200));
    EXPECT_TRUE(w.menuAction("mModuler")->isEnabled());
    EXPECT_TRUE(w.ModuleButtons()->button(3)->isEnabled());
}

TEST_F(PracticeTest, TheExercisePanelAndTheTransportShowVerdictsAndTheShownAnswer) {
    auto w_ = intervalWindow({3, 4}, 20);
    TForm1& w = *w_;
    w.NyKnapClick();
    w.Group_Problem()->box(wrongBoxFor(w, {3, 4}))->click();
    EXPECT_EQ(w.Pan_Ove()->palette().color(QPalette::Window), QColor(0xFF, 0, 0));
    EXPECT_EQ(w.ScoreDisplay()->LabForkerte()->text(), QStringLiteral("Ошибки: 1"));
    answerRight(w);
    EXPECT_EQ(w.Pan_Ove()->palette().color(QPalette::Window), QColor(0, 0xFF, 0));

    w.SvarKnapClick();
    EXPECT_EQ(w.PanelTransport()->SvarKnap()->text(), LoadStr(1208));
    answerRight(w); // not taken while the answer is shown
    EXPECT_EQ(w.Session().Score().right, 1);
    w.SvarKnapClick();
    EXPECT_EQ(w.PanelTransport()->SvarKnap()->text(), LoadStr(1203));
    w.NyKnapClick();
    EXPECT_TRUE(w.Options()->RadioOmfang()->isVisibleTo(&w));
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
        EXPECT_GT(w.Session().Queue().Count, 0) << m;
        const int before = w.Session().Score().right;
        w.Group_Problem()->box(std::abs(w.Session().Item().itemIndex))->click();
        EXPECT_EQ(w.Session().Score().right, before + 1) << m;
        w.NyKnapClick();
        EXPECT_EQ(w.Task().running, 0) << m;
    }
}
