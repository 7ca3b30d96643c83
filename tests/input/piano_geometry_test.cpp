#include "input/fretboard_geometry.h"
#include "input/piano_geometry.h"

#include <gtest/gtest.h>

using namespace harmik;

namespace {

// A 728 × 132 picture: keys 113 high from y = 19, black keys hit above y = 19 + 66.
constexpr int kW = 728;
constexpr int kH = 132;
constexpr double kLowerY = 120; // below the black keys
constexpr double kUpperY = 30;  // among the black keys

double whiteX(int slot, double fraction) {
    return (slot + fraction) * kW / 28.0;
}
double chromaticX(int slot, double fraction) {
    return (slot + fraction) * kW / 48.0;
}

} // namespace

TEST(PianoGeometry, WhiteKeysIgnoreTheOuterTwentiethBelowTheBlackKeys) {
    // Middle C is white slot 14.
    EXPECT_EQ(pianoNoteAt(whiteX(14, 0.04), kLowerY, kW, kH), 0);
    EXPECT_EQ(pianoNoteAt(whiteX(14, 0.06), kLowerY, kW, kH), 60);
    EXPECT_EQ(pianoNoteAt(whiteX(14, 0.5), kLowerY, kW, kH), 60);
    EXPECT_EQ(pianoNoteAt(whiteX(14, 0.94), kLowerY, kW, kH), 60);
    EXPECT_EQ(pianoNoteAt(whiteX(14, 0.96), kLowerY, kW, kH), 0);
    // Every white slot gives its white key.
    for (int slot = 0; slot < 28; ++slot)
        EXPECT_EQ(pianoNoteAt(whiteX(slot, 0.5), kLowerY, kW, kH), 36 + WhiteKeyNote[slot]) << slot;
}

TEST(PianoGeometry, UpperZoneUsesTheChromaticGridWithATenthGap) {
    // C sharp above middle C is chromatic slot 25.
    EXPECT_EQ(pianoNoteAt(chromaticX(25, 0.5), kUpperY, kW, kH), 61);
    EXPECT_EQ(pianoNoteAt(chromaticX(25, 0.08), kUpperY, kW, kH), 0);
    EXPECT_EQ(pianoNoteAt(chromaticX(25, 0.12), kUpperY, kW, kH), 61);
    EXPECT_EQ(pianoNoteAt(chromaticX(25, 0.92), kUpperY, kW, kH), 0);
    // The upper part of a white key plays that key's semitone.
    EXPECT_EQ(pianoNoteAt(chromaticX(24, 0.5), kUpperY, kW, kH), 60);
    EXPECT_EQ(pianoNoteAt(chromaticX(26, 0.5), kUpperY, kW, kH), 62);
    // The strip above the keys counts as the upper zone.
    EXPECT_EQ(pianoNoteAt(chromaticX(26, 0.5), 0, kW, kH), 62);
    // The zone boundary: 19 + nearest(0.58 × 113) = 85.
    // x = 384 is on middle C's white key but in C sharp's chromatic slot.
    EXPECT_EQ(pianoNoteAt(384, 84, kW, kH), 61);
    EXPECT_EQ(pianoNoteAt(384, 85, kW, kH), 60);
}

TEST(PianoGeometry, RightEndPlays83AndNothingHigher) {
    EXPECT_EQ(pianoNoteAt(whiteX(27, 0.5), kLowerY, kW, kH), 83);
    EXPECT_EQ(pianoNoteAt(chromaticX(47, 0.85), kUpperY, kW, kH), 83);
    EXPECT_EQ(pianoNoteAt(kW, kLowerY, kW, kH), 0);
    EXPECT_EQ(pianoNoteAt(kW + 20, kUpperY, kW, kH), 0);
    int highest = 0;
    int lowest = 128;
    for (int w : {728, 501, 1333}) {
        for (double x = 0; x <= w; x += 0.25) {
            for (double y : {-1.0, 0.0, 30.0, 84.0, 85.0, 131.0}) {
                const int note = pianoNoteAt(x, y, w, kH);
                if (note == 0)
                    continue;
                highest = std::max(highest, note);
                lowest = std::min(lowest, note);
            }
        }
    }
    EXPECT_EQ(highest, 83);
    EXPECT_EQ(lowest, 36);
}

TEST(PianoGeometry, EveryMarkLiesOnItsOwnKey) {
    for (int note = 36; note <= 83; ++note) {
        const QRect r = pianoMarkRect(note, kPianoLogicalWidth);
        EXPECT_EQ(r.size(), QSize(21, 32));
        const QPointF centre = QRectF(r).center();
        EXPECT_EQ(pianoNoteAt(centre.x(), centre.y(), kPianoLogicalWidth, kPianoLogicalHeight),
                  note)
            << note;
        EXPECT_TRUE(pianoExtraMarkRect(note, kPianoLogicalWidth).isEmpty());
    }
    EXPECT_EQ(pianoMarkRect(60, 728), QRect(366, 86, 21, 32));
    EXPECT_EQ(pianoMarkRect(61, 728), QRect(377, 38, 21, 32));
    // A negative note marks the same key and adds the top mark.
    EXPECT_EQ(pianoMarkRect(-61, 728), pianoMarkRect(61, 728));
    EXPECT_EQ(pianoExtraMarkRect(-61, 728), QRect(377, 4, 25, 15));
}

TEST(PianoGeometry, RangeBarsCoverTheKeysOutsideTheRange) {
    EXPECT_TRUE(pianoLowRangeBar(36).isEmpty());
    EXPECT_EQ(pianoLowRangeBar(48), QRect(1, 0, 182, 2));
    EXPECT_TRUE(pianoHighRangeBar(83).isEmpty());
    EXPECT_EQ(pianoHighRangeBar(71), QRect(547, 0, 197, 2));
    EXPECT_EQ(pianoOctaveBar(62), QRect(365, 0, 182, 3));
}

TEST(PianoGeometry, PicturesShareThePanelWhenBothAreShown) {
    InstrumentRects both = instrumentRects(70, 800, 121, true, true);
    EXPECT_EQ(both.Piano, QRect(70, 0, 730, 60));
    EXPECT_EQ(both.Fretboard, QRect(70, 60, 730, 60));
    InstrumentRects piano = instrumentRects(70, 800, 121, true, false);
    EXPECT_EQ(piano.Piano, QRect(70, 0, 730, 121));
    EXPECT_TRUE(piano.Fretboard.isEmpty());
    InstrumentRects guitar = instrumentRects(70, 800, 121, false, true);
    EXPECT_TRUE(guitar.Piano.isEmpty());
    EXPECT_EQ(guitar.Fretboard, QRect(70, 0, 730, 121));
}
