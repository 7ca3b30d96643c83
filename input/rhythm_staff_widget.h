#pragma once
#include <vector>

#include <QWidget>

#include "input/rhythm_layout.h"
#include "theory/rhythm_types.h"

class QPainter;

namespace harmik {

// The rhythm module's picture on the staff: a one-line staff with the time signature, the
// rhythm in notation (heads, stems, flags, beams at three levels, rests, dots, ties, triplet
// brackets, bar lines), the phase header of the click track's pass with a marker on the bar
// now playing, and the marks of a judged pass. The picture is 120 logical pixels high, scaled
// to the widget's height, and scrolls sideways when the rhythm is wider than the widget. A
// press on it is a tap.
class RhythmStaffWidget : public QWidget {
    Q_OBJECT
public:
    explicit RhythmStaffWidget(QWidget* parent = nullptr);

    // The rhythm and its time signature; the notes are drawn only when `notesShown` (the
    // listening mode keeps them hidden until the answer is shown). Clears marks and scroll.
    void setRhythm(const Rhythm& rhythm, int metre, bool notesShown);
    // An empty staff of `bars` bars (no task runs).
    void setEmpty(int metre, int bars);
    void setNotesShown(bool shown);
    // The bars of one pass and their phases; the marker stands on `bar` (1.., 0: none).
    void setPhases(std::vector<RhythmPhase> phases);
    void setPassBar(int bar);
    // Moves the picture on by `pixels` (logical) while it is wider than the widget: the
    // rhythm scroll that follows the bar being played.
    void scrollBy(double pixels);
    void setMarks(std::vector<RhythmMark> marks);
    void setHighColour(bool on);

    const Rhythm& rhythm() const { return rhythm_; }
    const std::vector<RhythmMark>& marks() const { return marks_; }
    int passBar() const { return passBar_; }
    bool notesShown() const { return notesShown_; }
    double scrollX() const { return scrollX_; }
    // Width of the picture in logical pixels.
    double logicalWidth() const;

    // Paints the picture at the widget's size onto `p` (also used to render it offscreen).
    void paintPicture(QPainter& p) const;

signals:
    // A mouse press on the picture; `timestamp` is the event's own time.
    void tapped(qint64 timestamp);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void paintHeader(QPainter& p, double width) const;
    void paintMusic(QPainter& p) const;
    void paintTimeSignature(QPainter& p) const;
    void paintMarks(QPainter& p) const;
    void scrollToBar(int rhythmBar);

    Rhythm rhythm_;
    int metre_ = 3;
    int bars_ = 1;
    bool notesShown_ = false;
    bool highColour_ = true;
    std::vector<RhythmPhase> phases_;
    int passBar_ = 0;
    std::vector<RhythmMark> marks_;
    double scrollX_ = 0;
};

} // namespace harmik
