#pragma once
#include <QCursor>
#include <QHash>

namespace harmik {

// The program's own mouse cursors, by slot number. Controls refer to a slot; the table is
// filled once when the main window is created.
enum CursorSlot {
    CursorHand = 1,
    CursorSmallHand = 2,
    CursorTuningFork = 3,
    CursorTom = 4,
    CursorPen = 5,
    CursorNoPen = 6,
    CursorDrum = 7,
    CursorDrag = 8,
    CursorQuarterNote = 11,
    CursorEighthNote = 12,
    CursorQuarterRest = 16,
};

class CursorTable {
public:
    // Draws the eleven cursors (in the order quarter note, eighth note, quarter rest, hand,
    // small hand, tuning fork, tom, pen, no pen, drum, drag).
    void Load();
    // The cursor of a slot; the arrow for a slot that holds none.
    QCursor cursor(int slot) const;
    int size() const { return static_cast<int>(cursors_.size()); }

private:
    QHash<int, QCursor> cursors_;
};

} // namespace harmik
