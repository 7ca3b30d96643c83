#pragma once
#include "input/event_clock.h"
#include "input/rhythm_layout.h"
#include "theory/rhythm_types.h"

#include <QObject>
#include <QtGlobal>
#include <vector>

class QLabel;
class QWidget;

namespace harmik {

class RhythmStaffWidget;
class StaffWidget;
class TForm1;

// The rhythm module on the main window: the rhythm picture over the staff, the mode and
// verdict label LabRytmePct over the staff and the pass counter TestLabel beside it, and the
// taps of the computer keyboard, the drum pad and the picture, each timed when it happened.
class RhythmScreen : public QObject {
    Q_OBJECT
public:
    RhythmScreen(TForm1& window, StaffWidget& staff, QWidget* central);

    RhythmStaffWidget* ImageRytme() const { return picture_; }
    QLabel* TestLabel() const { return testLabel_; }

    // A tap of an input event stamped `eventTimestamp` (ms of the window system): taken at
    // that time on the program's clock, or when the alternative timing is on, at the clock's
    // reading now.
    void tap(qint64 eventTimestamp);

    // What the practice session shows.
    void showRhythm(const Rhythm& rhythm, const RhythmOptions& options, bool notesShown);
    void showBar(int bar);
    void showMarks(const std::vector<RhythmMark>& marks);
    void showText(int stringId);
    void showPasses(int passes);
    // The task starts or stops in the rhythm module: the keys that tap are named in the status
    // panel; a stopped task leaves the empty staff of the options.
    void taskStarted();
    void taskStopped();
    // The empty staff of the options (no task runs).
    void showIdle();

    // The picture over the staff and the labels over it, shown in the rhythm module only.
    void place();

private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    RhythmOptions options() const;

    TForm1& w_;
    StaffWidget& staff_;
    RhythmStaffWidget* picture_ = nullptr;
    QLabel* testLabel_ = nullptr;
    EventClock clock_;
};

} // namespace harmik
