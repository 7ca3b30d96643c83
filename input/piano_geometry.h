#pragma once
#include <array>

#include <QRect>

// The on-screen piano's geometry: where its keys lie, which key a mouse press hits, where the
// range bars and the key marks go. The keyboard is drawn on a 728 × 124 logical picture (four
// octaves of 182, white keys 26 wide) that is stretched to the widget; hit-testing works on the
// widget's own width and height.
namespace harmik {

constexpr int kPianoLowNote = 36;  // the leftmost key
constexpr int kPianoHighNote = 83; // the rightmost key
constexpr int kPianoSemitones = 48;
constexpr int kPianoWhiteKeys = 28;
constexpr int kPianoLogicalWidth = 728;
constexpr int kPianoLogicalHeight = 124;
constexpr int kPianoOctaveWidth = 182;
constexpr int kPianoWhiteKeyWidth = 26;

// White-key slot 0..27 → semitone offset above note 36.
extern const std::array<int, kPianoWhiteKeys> WhiteKeyNote;
// (Pitch class → white key: WhiteKey of theory/note_names.h.)
// Pitch class → index among the seven white keys of an octave (white) or the pitch class
// itself (black).
extern const std::array<int, 12> KeySlot;

// Integer nearest to x, a half going to the even neighbour.
int pianoNearest(double x);

// Height of the keys in a picture of height h; they fill its lower part.
int pianoKeyHeight(int h);
// Height (from the top of the keys) of the zone where black keys are hit.
int pianoBlackZoneHeight(int keyHeight);

// The note of the key under (x, y) in a picture of w × h, or 0 when the press falls in a gap
// between keys (within a tenth of a slot from its edge above, a twentieth below).
int pianoNoteAt(double x, double y, int w, int h);

// The red bars that mark the keys outside the range lowest..highest, in logical coordinates
// of the 728 × 124 picture; an empty rectangle when nothing lies outside on that side.
QRect pianoLowRangeBar(int lowestNote);
QRect pianoHighRangeBar(int highestNote);

// The blue bar over the octave of a melody's first note (logical coordinates).
QRect pianoOctaveBar(int note);

// The key mark of a note in a picture of width w: the 21 × 32 marker's rectangle, at the foot of
// a white key or the lower end of a black one. A negative note names a key as well (its
// absolute value) and gets an extra 25 × 15 mark on the top strip (pianoExtraMarkRect).
QRect pianoMarkRect(int note, int w);
QRect pianoExtraMarkRect(int note, int w);
bool pianoIsWhiteKey(int note);

// Places of the two pictures in the lower panel (panel coordinates; `left` is where the
// pictures start, right of the show/hide check boxes): both panelWidth − 70 wide, the piano on
// top, the fretboard below; each takes the whole height when the other is hidden. A hidden
// picture gets an empty rectangle.
struct InstrumentRects {
    QRect Piano;
    QRect Fretboard;
};
InstrumentRects instrumentRects(int left, int panelWidth, int panelHeight, bool showPiano,
                                bool showFretboard);

// The rule for setting the range with Ctrl: the new limit is stored, then pulled back when it
// leaves no room for the exercises. Returns the string id of the message to show (2030 when
// the lowest note was pulled down to 48, 2031 when the highest was pulled up to 71), else 0.
constexpr int kRangeLowMessage = 2030;
constexpr int kRangeHighMessage = 2031;
constexpr int kLowestNoteCeiling = 48;
constexpr int kHighestNoteFloor = 71;
int applyRangeLimit(bool lowest, int note, int& lowestNote, int& highestNote);

} // namespace harmik
