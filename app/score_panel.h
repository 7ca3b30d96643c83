#pragma once
#include "app/score_state.h"

#include <QColor>
#include <QLabel>
#include <QWidget>
#include <cstdint>
#include <functional>

namespace harmik {

// Background colour of a band of the control gauge.
QColor BandColour(GaugeBand band);

// GaugeRigtige: the control gauge, 0..100, drawn on the colour of its band.
class ControlGauge : public QWidget {
    Q_OBJECT
public:
    explicit ControlGauge(QWidget* parent = nullptr);

    void setPosition(int percentage);
    int position() const { return position_; }
    void setBackgroundColour(const QColor& colour);
    QColor backgroundColour() const { return background_; }

    QSize sizeHint() const override { return {100, 18}; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    int position_ = 0;
    QColor background_ = Qt::green;
};

// The task's counters, score and control gauge: GaugeRigtige, LabRigtige, LabForkerte and
// Lab_Score side by side, and the hidden PointLabel with the exercise's available points.
class ScorePanel : public QWidget {
    Q_OBJECT
public:
    ScorePanel(ScoreState& score, QWidget* parent = nullptr);

    // Recomputes the control percentage and redraws the gauge and both counters. Without the
    // tutor pass nullptr; with it, the current tutor task's thresholds.
    void DoGauge(int exercisesPerTask, const TutorGaugeBands* tutorBands = nullptr);
    // Lab_Score := the score as "%5.5d".
    void ShowScore();
    // PointLabel := the exercise's points.
    void ShowPoints(int points);
    // Counters, gauge and score shown (at the start of a task).
    void ShowAll(int exercisesPerTask, const TutorGaugeBands* tutorBands = nullptr);

    ControlGauge* GaugeRigtige() const { return gauge_; }
    QLabel* LabRigtige() const { return labRight_; }
    QLabel* LabForkerte() const { return labWrong_; }
    QLabel* Lab_Score() const { return labScore_; }
    QLabel* PointLabel() const { return pointLabel_; }

    // Sets the hints from the string table (also after a change of table).
    void ApplyHints();

private:
    ScoreState& score_;
    ControlGauge* gauge_ = nullptr;
    QLabel* labRight_ = nullptr;
    QLabel* labWrong_ = nullptr;
    QLabel* labScore_ = nullptr;
    QLabel* pointLabel_ = nullptr;
};

// LabTime: the practice clock, "h:nn" with "h:nn:ss" in its hint. A double click asks whether
// to reset it. The clock reading is injectable for tests.
class PracticeClockLabel : public QLabel {
    Q_OBJECT
public:
    using Clock = std::function<std::uint32_t()>;
    explicit PracticeClockLabel(ScoreState& score, QWidget* parent = nullptr, Clock now = {});

    // Shows the practice time including the running stretch.
    void TimeShow();
    // Asks 512 and resets the clock on Yes.
    void LabTimeDblClick();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    std::uint32_t now() const;

    ScoreState& score_;
    Clock now_;
};

} // namespace harmik
