#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "theory/rhythm_evaluator.h"
#include "theory/rhythm_types.h"

// Where the rhythm picture puts things: the x of every event (in the picture's logical pixels,
// 120 high like the staff), the note value each duration is written as, the bars of one pass
// of the click track with their phases, and the marks of a judged pass.
namespace harmik {

inline constexpr double kRhythmUnitWidth = 3.0; // pixels per unit (a quarter is 72 pixels)
inline constexpr int kRhythmFirstX = 56;        // the first note, after the time signature
inline constexpr int kRhythmBarGap = 16;        // extra room around every bar line
inline constexpr int kRhythmLineY = 72;         // the one-line staff
inline constexpr int kRhythmMarkTop = 88;       // the marks of a judged pass hang from here

// A duration as it is written: the note value (0 whole, 1 half, 2 quarter, 3 eighth,
// 4 sixteenth, 5 thirty-second), its augmentation dots, whether it is one of a triplet, and
// whether it needs a tied quarter after it (the full bar of 5/4).
struct WrittenValue {
    int Value = 2;
    int Dots = 0;
    bool Triplet = false;
    bool TiedQuarter = false;
};
WrittenValue WrittenValueOf(int duration);

// Writes every event's StaffX: each note at its place in time, with room around bar lines.
void LayOutRhythm(Rhythm& rhythm, int metre);
// The x of the bar line before bar `bar` (0-based; `bar` = number of bars: the closing line).
double RhythmBarLineX(int bar, int metre);
// The picture's width for a rhythm of `bars` bars.
double RhythmWidth(int bars, int metre);

// The bars of one pass of the click track, as the phase header shows them.
enum class RhythmPhase : std::uint8_t { CountIn, Listen, Pause, Play };
std::vector<RhythmPhase> PassPhases(const RhythmOptions& options);

// A mark of a judged pass, in logical pixels of the rhythm picture (x and width; the heights
// hang from kRhythmMarkTop).
struct RhythmMark {
    enum class Kind : std::uint8_t { Deviation, ExtraTap, MissedNote };
    Kind Type = Kind::Deviation;
    double X = 0;
    double Width = 0;
    double Height = 0;
    bool Early = false; // deviation marks: the tap came before the note (light grey)
};

// The marks of a pass: a bar 5 wide and |dev| / Q x 50 high at each note tapped off by more
// than Q / 16 (left edge at its x - 2), a 2 x 20 mark between the last matched note and the
// next for each tap without a note, and a 6 x 6 mark at each sounding note left untapped (its
// x - 3). Q is the quarter note in milliseconds; the rhythm carries the StaffX of its events.
std::vector<RhythmMark> RhythmMarksFor(const Rhythm& rhythm, const RhythmEvaluation& evaluation,
                                       int quarterMs);

} // namespace harmik
