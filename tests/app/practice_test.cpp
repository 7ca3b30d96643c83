// A musician practising: ticking items, starting a task, answering through the answer panel
// and the show-answer button, and reaching the results.
#include "app/exercise_options.h"
#include "app/instrument_panel.h"
#include "app/module_buttons.h"
#include "app/rhythm_options.h"
#include "app/rhythm_screen.h"
#include "app/rhythm_session.h"
#include "app/score_panel.h"
#include "app/sound_bridge.h"
#include "app/statistics_window.h"
#include "app/top_ten_window.h"
#include "app/transport_panel.h"
#include "input/answer_panel.h"
#include "input/piano_widget.h"
#include "input/rhythm_staff_widget.h"
#include "midi/click_track_player.h"
#include "theory/clock.h"
#include "window_test_support.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <QKeyEvent>
#include <QMouseEvent>

#include <cstdlib>
#include <map>

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

// The rhythm module: a pass of the click track is tapped on the keys, the drum pad and the
// picture, each tap stamped by its input event, and judged when the track reports its end.
class RhythmTaskTest : public PracticeTest {
protected:
    static constexpr int kTempo = 10;       // 250 ms a unit: the real track ends no pass here
    static constexpr int kQuarterMs = 6000; // 24 units
    static constexpr int kCountInMs = 4 * kQuarterMs;

    std::unique_ptr<TForm1> rhythmWindow(int mode, std::initializer_list<int> ticked,
                                         int exercises = 2) {
        auto w = makeWindow();
        w->Settings().ExerciseOptions.ExercisesPerTask = static_cast<std::uint8_t>(exercises);
        w->Settings().ExerciseOptions.Tempo[6] = kTempo;
        w->Settings().RhythmOptions = {3, 1, 0, 0, static_cast<std::uint8_t>(mode), 96};
        w->SelectModule(7);
        for (int i : ticked)
            w->Group_Problem()->setBoxTicked(i, true);
        return w;
    }

    // The times of the struck notes of the rhythm in a pass that started at `start` (reading
    // mode: the user's bar follows the count-in).
    static std::vector<std::uint32_t> noteTimes(TForm1& w, std::uint32_t start, int delay) {
        std::vector<std::uint32_t> times;
        const Rhythm& r = w.Session().RhythmTask().CurrentRhythm();
        int p = 0;
        for (int i = 0; i < r.Count; ++i) {
            const RhythmEvent& e = r.Events[static_cast<std::size_t>(i)];
            if (IsStruck(e))
                times.push_back(start + kCountInMs + p * 250 + delay);
            p += e.Duration;
        }
        return times;
    }

    // A pass that began long enough ago for all its taps to lie in the past.
    static std::uint32_t passStart() { return MonotonicMs() - 70000; }

    static void endPass(TForm1& w, std::uint32_t start) {
        ClickTrackReportEvent report(0, start);
        QCoreApplication::sendEvent(&w, &report);
    }

    static void spaceTap(TForm1& w, std::uint32_t t) {
        QKeyEvent down(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier);
        down.setTimestamp(t);
        QCoreApplication::sendEvent(w.PanelTransport()->NyKnap(), &down);
        QKeyEvent up(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier);
        up.setTimestamp(t + 50);
        QCoreApplication::sendEvent(w.PanelTransport()->NyKnap(), &up);
    }

    static void pressAt(QWidget* target, std::uint32_t t) {
        const QPointF at(target->width() / 2.0, target->height() * 0.9);
        QMouseEvent press(QEvent::MouseButtonPress, at, target->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        press.setTimestamp(t);
        QCoreApplication::sendEvent(target, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, target->mapToGlobal(at), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        release.setTimestamp(t + 50);
        QCoreApplication::sendEvent(target, &release);
    }

    static QString verdict(TForm1& w) { return w.RhythmOptions()->LabRytmePct()->text(); }
};

TEST_F(RhythmTaskTest, TappedPassesAreJudgedMarkedScoredAndEndInTheResults) {
    auto w_ = rhythmWindow(RhythmRead, {2}); // quarters only: four to the bar
    TForm1& w = *w_;
    ClearTopTen(w.TopTen(), QDate::currentDate());
    answerResultWindows();
    w.NyKnapClick();
    ASSERT_EQ(w.Task().running, 1);
    ASSERT_TRUE(w.Sound().ClickTrackPlayback().running());
    EXPECT_EQ(verdict(w), LoadStr(408));
    EXPECT_EQ(w.PanStatus()->text(), LoadStr(8104));
    EXPECT_TRUE(w.RhythmView()->ImageRytme()->notesShown());

    // Exact taps on the Space bar: "Да!" and the full points with the keyboard's bonus.
    const int points = w.Session().Item().points;
    std::uint32_t start = passStart();
    for (std::uint32_t t : noteTimes(w, start, 0))
        spaceTap(w, t);
    endPass(w, start);
    EXPECT_EQ(verdict(w), LoadStr(460));
    EXPECT_EQ(w.Session().Score().score, points + points / 4);
    EXPECT_EQ(w.Task().exerciseCount, 1);

    // One note missed and one tap between two notes, on the picture: the accuracy falls by
    // two shares of four, the pass is wrong and marked where its notes stand.
    start = passStart();
    std::vector<std::uint32_t> taps = noteTimes(w, start, 0);
    const std::uint32_t between = (taps[1] + taps[2]) / 2;
    taps.erase(taps.begin() + 3);
    taps.push_back(between);
    for (std::uint32_t t : taps)
        pressAt(w.RhythmView()->ImageRytme(), t);
    endPass(w, start);
    const RhythmEvaluation& judged = w.Session().RhythmTask().LastEvaluation();
    EXPECT_EQ(judged.Value, 50);
    EXPECT_EQ(verdict(w), LoadStr(463));
    EXPECT_EQ(w.Session().Score().wrong, 1);
    EXPECT_EQ(w.RhythmView()->TestLabel()->text(), FormatStr(8105, {1}));
    const Rhythm& shown = w.RhythmView()->ImageRytme()->rhythm();
    const std::vector<RhythmMark>& marks = w.RhythmView()->ImageRytme()->marks();
    ASSERT_EQ(marks.size(), 2u);
    EXPECT_EQ(marks[0].Type, RhythmMark::Kind::ExtraTap);
    EXPECT_EQ(marks[0].X, (shown.Events[1].StaffX + shown.Events[2].StaffX) / 2.0);
    EXPECT_EQ(marks[1].Type, RhythmMark::Kind::MissedNote);
    EXPECT_EQ(marks[1].X, shown.Events[3].StaffX - 3);
    EXPECT_EQ(marks[1].Width, 6);

    // 40 ms late throughout on the drum pad: the constant delay is forgiven; the task ends.
    start = passStart();
    for (std::uint32_t t : noteTimes(w, start, 40))
        pressAt(w.Pan_Klaver()->Image_Klaver(), t);
    endPass(w, start);
    EXPECT_EQ(w.Session().RhythmTask().LastEvaluation().Value, 100);
    EXPECT_EQ(w.Task().running, 0);
    EXPECT_EQ(statisticsShown, 1);
    EXPECT_EQ(topTenShown, 1);
    EXPECT_FALSE(w.Sound().ClickTrackPlayback().running());
}

TEST_F(RhythmTaskTest, OddMetresAskForShortValuesAndReadingAndListeningAlwaysGoesOn) {
    struct Case {
        int metre, box, refusal;
    };
    for (const Case c : {Case{2, 1, 451}, Case{5, 0, 451}, Case{1, 2, 450}, Case{7, 1, 450},
                         Case{1, 3, 0}, Case{2, 2, 0}, Case{3, 1, 0}}) {
        auto w = rhythmWindow(RhythmReadListen, {c.box});
        w->Settings().RhythmOptions.Metre = static_cast<std::uint8_t>(c.metre);
        w->NyKnapClick();
        if (c.refusal != 0) {
            ASSERT_EQ(shown.size(), 1u) << "metre " << c.metre;
            EXPECT_EQ(shown[0].text, LoadStr(c.refusal));
            EXPECT_EQ(w->Task().running, 0);
            shown.clear();
            continue;
        }
        ASSERT_EQ(w->Task().running, 1) << "metre " << c.metre;
        QPushButton* svar = w->PanelTransport()->SvarKnap();
        EXPECT_EQ(svar->text(), LoadStr(1208));
        w->SvarKnapClick();
        EXPECT_FALSE(w->Task().answerShown);
        EXPECT_EQ(w->Task().exerciseCount, 1);
        EXPECT_EQ(svar->text(), LoadStr(1208));
        w->NyKnapClick();
    }
}

TEST_F(RhythmTaskTest, APassOfTheClickTrackIsJudgedAndAStopInTheNextSilencesIt) {
    auto w_ = rhythmWindow(RhythmRead, {3});
    TForm1& w = *w_;
    w.Settings().ExerciseOptions.Tempo[6] = 250; // 20 ms a step: a pass of two bars in 1.9 s
    w.Settings().MidiOutDevice = 1;              // the loopback port, to hear what is sent
    w.syncSoundSettings();
    ShowSoundMessages(&w, w.Sound().ReopenDevices());
    w.NyKnapClick();
    ASSERT_TRUE(w.Sound().ClickTrackPlayback().running());

    // A key of the MIDI keyboard taps at the time its note arrived from the driver.
    w.Settings().MidiListen = 1;
    const std::uint32_t sent = MonotonicMs();
    ASSERT_TRUE(midi.feed({0x90, 60, 100}));
    const std::uint32_t fed = MonotonicMs();
    QTRY_COMPARE_WITH_TIMEOUT(w.Session().RhythmTask().Taps().size(), std::size_t{1}, 1000);
    EXPECT_GE(w.Session().RhythmTask().Taps()[0], sent);
    EXPECT_LE(w.Session().RhythmTask().Taps()[0], fed);

    // A lone tap in the count-in: the track's own report of the pass's end brings the verdict.
    const std::uint32_t deadline = MonotonicMs() + 10000;
    while (w.Session().Score().wrong == 0 && MonotonicMs() < deadline)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_EQ(w.Session().Score().wrong, 1);
    EXPECT_EQ(verdict(w), LoadStr(464));
    EXPECT_GE(w.RhythmView()->ImageRytme()->passBar(), 1);

    // The loop goes on; stopped in its count-in, every note it sent is off again.
    w.NyKnapClick();
    EXPECT_FALSE(w.Sound().ClickTrackPlayback().running());
    std::map<std::uint32_t, int> on;
    for (std::uint32_t m : midi.Sent.shortsTo(0)) {
        if ((m & 0xF0) != 0x90)
            continue;
        on[m & 0xFFFF] = (m >> 16) & 0x7F;
    }
    ASSERT_FALSE(on.empty());
    for (const auto& [note, velocity] : on)
        EXPECT_EQ(velocity, 0) << std::hex << note;
}
