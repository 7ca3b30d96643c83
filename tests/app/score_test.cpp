// Score, counters, control gauge, points decay and the practice clock.
#include "app/score_panel.h"
#include "app/score_state.h"
#include "userdata/messages.h"

#include <QLabel>
#include <gtest/gtest.h>

#include <vector>

using namespace harmik;

TEST(ControlGauge, BandsOfATwentyExerciseTask) {
    struct Case {
        int wrong;
        int percentage;
        GaugeBand band;
    };
    const Case cases[] = {{0, 100, GaugeBand::Green},
                          {4, 83, GaugeBand::Green},
                          {5, 80, GaugeBand::Yellow},
                          {20, 50, GaugeBand::Yellow},
                          {21, 48, GaugeBand::Red}};
    for (const Case& c : cases) {
        ScoreState s;
        s.wrong = c.wrong;
        EXPECT_EQ(UpdateControlPercentage(s, 20, nullptr), c.band) << c.wrong;
        EXPECT_EQ(int(s.controlPercentage), c.percentage) << c.wrong;
    }
    // No exercises and no answers: the guard keeps the gauge full.
    EXPECT_EQ(ControlPercentage(0, 0), 100);
}

TEST(ControlGauge, TutorThresholdsReplaceTheFixedBands) {
    const TutorGaugeBands bands{70, 90};
    EXPECT_EQ(ControlBand(68, bands), GaugeBand::Red);
    EXPECT_EQ(ControlBand(69, bands), GaugeBand::Yellow);
    EXPECT_EQ(ControlBand(89, bands), GaugeBand::Yellow);
    EXPECT_EQ(ControlBand(90, bands), GaugeBand::Green);
}

TEST(ScorePanel, ShowsCountersScoreAndBandColour) {
    ScoreState s;
    ScorePanel panel(s);
    s.right = 16;
    s.wrong = 21;
    s.score = 427;
    panel.DoGauge(20);
    panel.ShowScore();
    EXPECT_EQ(panel.GaugeRigtige()->position(), 48);
    EXPECT_EQ(panel.GaugeRigtige()->backgroundColour(), QColor(255, 0, 0));
    EXPECT_EQ(panel.LabRigtige()->text(), QStringLiteral("Правильно: 16"));
    EXPECT_EQ(panel.Lab_Score()->text(), QStringLiteral("00427"));
    EXPECT_TRUE(panel.PointLabel()->isHidden());

    ResetTaskScore(s); // a new task
    panel.ShowAll(20);
    EXPECT_EQ(panel.GaugeRigtige()->position(), 100);
    EXPECT_EQ(panel.GaugeRigtige()->backgroundColour(), QColor(0, 255, 0));
    EXPECT_EQ(panel.Lab_Score()->text(), QStringLiteral("00000"));
    EXPECT_EQ(panel.LabRigtige()->text(), QStringLiteral("Правильно: 0"));
    EXPECT_FALSE(panel.grab().isNull());
}

TEST(Score, TextIsFiveDigitsAlsoWhenNegative) {
    EXPECT_EQ(ScoreText(0), QStringLiteral("00000"));
    EXPECT_EQ(ScoreText(4000), QStringLiteral("04000"));
    EXPECT_EQ(ScoreText(123456), QStringLiteral("123456"));
    EXPECT_EQ(ScoreText(-42), QStringLiteral("-00042"));
}

TEST(Points, DecayStopsAboveTheStep) {
    ExerciseItem item;
    item.points = 12;
    item.pointStep = 2;
    std::vector<int> seen;
    for (int tick = 0; tick < 6; ++tick) {
        ApplyPointDecay(item);
        seen.push_back(item.points);
    }
    EXPECT_EQ(seen, (std::vector<int>{10, 8, 6, 4, 2, 2}));
    // Without a step the points stay as they are.
    EXPECT_EQ(DecayedPoints(7, 0), 7);
}

TEST(Points, RepeatCostRoundsHalvesToEven) {
    // 3 / 1.2 = 2.5 and 9 / 1.2 = 7.5: halves go to the even neighbour.
    EXPECT_EQ(RepeatedPoints(3), 2);
    EXPECT_EQ(RepeatedPoints(9), 8);
    EXPECT_EQ(RepeatedPoints(-3), -2);
    EXPECT_EQ(RoundHalfEven(-5, 2), -2);
    EXPECT_EQ(RoundHalfEven(-7, 2), -4);
    EXPECT_EQ(RoundHalfEven(7, 3), 2);
}

TEST(Score, LevelTotalsAndTheirPercentage) {
    ScoreState s;
    EXPECT_EQ(LevelPercentage(s), 100);
    s.right = 18;
    s.wrong = 4;
    AddTaskToLevelTotals(s);
    AddTaskToLevelTotals(s);
    EXPECT_EQ(s.LevelRight, 36);
    EXPECT_EQ(s.LevelWrong, 8);
    EXPECT_EQ(LevelPercentage(s), 81);
    ClearLevelTotals(s);
    EXPECT_EQ(LevelPercentage(s), 100);
}

namespace {

class PracticeClockTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetMessageHook([this](const MessageRequest& r) {
            questions.push_back(r);
            return answer;
        });
    }
    void TearDown() override { SetMessageHook({}); }

    PracticeClockLabel::Clock clock() {
        return [this] { return now; };
    }

    static constexpr std::uint32_t kMinute = 60'000;
    ScoreState s;
    std::uint32_t now = 1'000'000;
    MessageAnswer answer = MessageAnswer::No;
    std::vector<MessageRequest> questions;
};

} // namespace

TEST_F(PracticeClockTest, ShowsHoursMinutesAndSecondsInTheHint) {
    PracticeClockLabel lab(s, nullptr, clock());
    StartClockSegment(s, now);
    now += 62 * kMinute + 5'000;
    lab.TimeShow();
    EXPECT_EQ(lab.text(), QStringLiteral("1:02"));
    EXPECT_EQ(lab.toolTip(), QStringLiteral("1:02:05 - Время занятий"));
    EXPECT_EQ(lab.statusTip(), QStringLiteral("Двойной щелчок - обнулить часы"));
    // Showing does not add: the stretch still runs from the task start.
    EXPECT_EQ(s.practiceTime, 0);
}

TEST_F(PracticeClockTest, ResetAsksFirstAndDeclineChangesNothing) {
    PracticeClockLabel lab(s, nullptr, clock());
    StartClockSegment(s, now);
    now += 7 * kMinute;
    lab.TimeShow();
    const ScoreState before = s;

    answer = MessageAnswer::No;
    lab.LabTimeDblClick();
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0].text, QStringLiteral("Обнулить часы?"));
    EXPECT_EQ(questions[0].type, MessageType::Confirmation);
    EXPECT_EQ(questions[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(questions[0].helpTopic, 0);
    EXPECT_EQ(s.practiceTime, before.practiceTime);
    EXPECT_EQ(s.segmentStart, before.segmentStart);
    EXPECT_EQ(lab.text(), QStringLiteral("0:07"));

    answer = MessageAnswer::Yes;
    lab.LabTimeDblClick();
    EXPECT_EQ(lab.text(), QStringLiteral("0:00"));
    now += kMinute;
    lab.TimeShow();
    EXPECT_EQ(lab.text(), QStringLiteral("0:01"));
}

TEST_F(PracticeClockTest, SurvivesAWrapOfTheMillisecondClock) {
    now = 0xFFFFFFFFu - 30'000;
    PracticeClockLabel lab(s, nullptr, clock());
    StartClockSegment(s, now);
    now += 90'000; // wraps
    AddClockSegment(s, now);
    EXPECT_EQ(s.practiceTime, 90'000);
}
