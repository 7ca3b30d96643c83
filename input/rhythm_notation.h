#pragma once
#include <QColor>

#include "theory/rhythm_types.h"

class QPainter;

// Rhythm notation on a one-line staff, drawn with the painter's pen in the picture's logical
// pixels: heads on the line at each event's StaffX, stems up, flags and beams at three levels
// as the events' beam marks join them, rests, augmentation dots, ties and triplet brackets.
namespace harmik {

// The notes and rests of the rhythm (StaffX already laid out) on the line at `lineY`.
void PaintRhythmNotes(QPainter& p, const Rhythm& rhythm, double lineY, const QColor& ink);

// The time signature of `metre` at x (its left edge), centred on the line; alla breve is the
// cut-time sign.
void PaintTimeSignature(QPainter& p, int metre, double x, double lineY, const QColor& ink);

} // namespace harmik
