#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "theory/keys.h"

// Geometry of the grand staff picture and the plain rules behind its drawing: steps, pixels,
// ledger lines, the accidental placement grid, seconds, spelling and the eased scroll.
// Coordinates are the picture's logical pixels (120 high); the widget scales them.
namespace harmik {

constexpr int kStaffHeight = 120;

// The staff picture's height in the main window: the picture keeps its proportions and grows
// with the window once it passes 800 × 560, up to two and a half times.
int StaffPictureHeight(int clientWidth, int clientHeight);
constexpr int kStaffTopStep = 28;

// Accidental codes of the staff drawing: 0 double flat, 1 flat, 2 none, 3 sharp, 4 double
// sharp; the natural sign only appears as a displayed symbol.
constexpr int kDoubleFlat = 0;
constexpr int kNoAccidental = 2;
constexpr int kDoubleSharp = 4;
constexpr int kNaturalSign = 5;

// Semitone offset above note 36 of the natural note on each step 0..28.
extern const std::array<int, 29> StaffStepNote;
// The same for any step (negative or above 28), continuing the pattern by octaves.
int staffStepOffset(int step);

// Pixel row of a staff step: clef 0 chooses the staff by the step, 1 forces the treble staff,
// 2 the bass staff.
int Staff_Y(int step, int clef);

extern const std::array<int, 5> TrebleLineSteps; // 16 .. 24
extern const std::array<int, 5> BassLineSteps;   // 12 .. 4

// Column width of each module 1..7 and the text position after a reset from the left edge.
int staffColumnWidth(int module);
int resetStaffTextX(int module);
constexpr int kResetMelodyTextX = 80;

// One ledger line: its step and the clef to place it with.
struct LedgerLine {
    int Step;
    int Clef;
};
std::vector<LedgerLine> ledgerLines(int step, int clef);

// The glyphs drawn left of a note's x: width and how far left of the note they start.
struct GlyphMetrics {
    int Width;
    int Offset;
};
GlyphMetrics accidentalGlyph(int code); // codes 0, 1, 3, 4 and kNaturalSign
constexpr GlyphMetrics kHeadGlyph{12, 6};

// The placement grid left of the notes of one chord: steps -2..35 by 10 columns.
class AccidentalMemory {
public:
    static constexpr int kFirstStep = -2;
    static constexpr int kRows = 38;
    static constexpr int kColumns = 10;

    AccidentalMemory() { NulFortegnMatrix(); }
    // Frees every cell and the column count, before each new chord or item.
    void NulFortegnMatrix();
    // Finds the first free column for an accidental on a step and occupies it; returns it.
    int place(int step, int code);
    int cell(int step, int column) const;
    int AccidentalColumns = 0;

private:
    std::array<std::array<std::uint8_t, kColumns>, kRows> grid_{};
};

// How far right a note head moves when it would collide with the previous one: 9 pixels for
// a second, 11 for a unison, 0 otherwise (also when the previous head was moved already).
int secondShift(int y, int previousY, bool sameStep, bool previousShifted);

// A note written on the staff: step and accidental code 0..4.
struct StaffSpelling {
    int Step;
    int Accidental;
};
// Black keys as the step above with a flat, white keys natural.
StaffSpelling spellFlatSide(int note);
// The accidental code that makes the natural note of a step sound as note (2 = none),
// clamped to 0..4.
int accidentalForStep(int step, int note);
// A note spelled in a key: the step whose accidental is the one the key expects on that
// letter on that staff (signature plus the tonality's raised or lowered steps), else the
// natural, else the sharp side in sharp keys and the flat side otherwise.
StaffSpelling spellInKey(int note, const KeyState& key);
// The symbol written for a note in a key: a natural where the signature alters the letter
// and the note does not, none where the signature already gives the accidental.
int displayedAccidental(const KeyState& key, int step, int accidental);
// Staff 0 treble (step >= 14) or 1 bass, as indexes of KeyState::staffAccidentals.
constexpr int keyStaffIndex(int step) {
    return step >= 14 ? 0 : 1;
}

// The scroll's 15 frames: how far each moves the picture, eased in and out.
constexpr int kScrollFrames = 15;
constexpr int kScrollFrameMs = 20;
std::array<int, kScrollFrames> scrollSteps(int distance);

// The white-key display: the 28 white keys from 36 to 83, the x of each and its clef.
struct WhiteKeyNote {
    int X;
    int Note;
    int Clef;
};
std::vector<WhiteKeyNote> whiteKeyLayout(double staffWidth);

// Half-to-even rounding of the drawing routines.
int staffRound(double x);

} // namespace harmik
