#pragma once
#include <array>
#include <vector>

// The guitar fretboard's geometry, in the pixels of the picture itself (it has no native size):
// fret wires placed in thousandths of the width, six strings evenly spread over the height.
namespace harmik {

constexpr int kGuitarStrings = 6;
// Open notes of strings 1 (lowest, drawn at the bottom) to 6 (highest, at the top).
extern const std::array<int, kGuitarStrings> GuitarOpenNote;

constexpr int kNutX = 59;
constexpr int kFirstWireX = 60;

// x of every fret wire for a picture w wide: 11 frets, 15 when w > 800, 19 when w > 950.
// Wire 0 lies at x = 60, just right of the nut.
std::vector<int> fretWirePositions(int w);
// q_f of every wire: its distance from wire 0 in thousandths of the width.
std::vector<int> fretWireThousandths(int w);

// y of string line s = 0..5, counted from the top, in a picture h high.
int stringLineY(int s, int h);
// String number 6 (top row) .. 1 (bottom row) under the row y of a picture h high.
int guitarStringAt(int y, int h);

// A press on the fretboard: the fret (0 = open string, left of wire 0) and string under it and
// the note they give. Note 0 when the press lies right of the last wire.
struct FretPress {
    int Note = 0;
    int Fret = 0;
    int String = 0;
};
FretPress fretboardPressAt(int x, int y, int h, const std::vector<int>& fretX);

// Where a note lies when no string is given: its string (1..6) and fret, or string 0 when the
// note lies below the lowest open string or above 100.
FretPress fretboardPlaceOf(int note);

// Centre of the dot marking (fret, string) in a picture h high; false when the fret has no wire.
bool fretboardDotCentre(int fret, int string, int h, const std::vector<int>& fretX, int& x, int& y);

// Position dots between wire f and f + 1 (7 × 7 each): left x and middle y of each dot.
struct FretDot {
    int X = 0;
    int Y = 0;
};
std::vector<FretDot> fretboardPositionDots(int w, int h);

} // namespace harmik
