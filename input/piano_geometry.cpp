#include "input/piano_geometry.h"

#include "theory/note_names.h"

#include <algorithm>
#include <cmath>

namespace harmik {

const std::array<int, kPianoWhiteKeys> WhiteKeyNote = {0,  2,  4,  5,  7,  9,  11, 12, 14, 16,
                                                       17, 19, 21, 23, 24, 26, 28, 29, 31, 33,
                                                       35, 36, 38, 40, 41, 43, 45, 47};
const std::array<int, 12> KeySlot = {0, 1, 1, 3, 2, 3, 6, 4, 8, 5, 10, 6};

int pianoNearest(double x) {
    return static_cast<int>(std::nearbyint(x)); // default rounding: half to even
}

int pianoKeyHeight(int h) {
    return pianoNearest(h * 113.0 / 132.0);
}

int pianoBlackZoneHeight(int keyHeight) {
    return pianoNearest(0.58 * keyHeight);
}

int pianoNoteAt(double x, double y, int w, int h) {
    if (w <= 0 || h <= 0 || x < 0)
        return 0;
    const int keyHeight = pianoKeyHeight(h);
    const double yKeys = y - (h - keyHeight);
    int offset = 0;
    if (yKeys < pianoBlackZoneHeight(keyHeight)) {
        const double p = x / w * kPianoSemitones;
        const int slot = static_cast<int>(p);
        const double f = p - slot;
        if (f < 0.1 || f > 0.9)
            return 0;
        offset = slot;
    } else {
        const double p = x / w * kPianoWhiteKeys;
        const int slot = static_cast<int>(p);
        const double f = p - slot;
        if (f < 0.05 || f > 0.95 || slot >= kPianoWhiteKeys)
            return 0;
        offset = WhiteKeyNote[static_cast<std::size_t>(slot)];
    }
    if (offset >= kPianoSemitones)
        return 0;
    return offset + kPianoLowNote;
}

QRect pianoLowRangeBar(int lowestNote) {
    const int width = (lowestNote - kPianoLowNote) * kPianoOctaveWidth / 12;
    return width > 0 ? QRect(1, 0, width, 2) : QRect();
}

QRect pianoHighRangeBar(int highestNote) {
    const int left = (highestNote + 1 - kPianoLowNote) * kPianoOctaveWidth / 12 + 1;
    const int width = (kPianoHighNote - highestNote + 1) * kPianoOctaveWidth / 12;
    // A range reaching the top key leaves a bar of one key's width to the right of the
    // keyboard, outside the picture: nothing to draw.
    if (width <= 0 || left >= kPianoLogicalWidth)
        return QRect();
    return QRect(left, 0, width, 2);
}

QRect pianoOctaveBar(int note) {
    const int octave = (note - kPianoLowNote) / 12;
    return QRect(octave * kPianoOctaveWidth + 1, 0, kPianoOctaveWidth, 3);
}

bool pianoIsWhiteKey(int note) {
    const int n = std::abs(note);
    return WhiteKey[static_cast<std::size_t>(n % 12)];
}

QRect pianoMarkRect(int note, int w) {
    const int n = std::abs(note);
    const int pc = n % 12;
    const int slot = KeySlot[static_cast<std::size_t>(pc)];
    if (pianoIsWhiteKey(n)) {
        const int x = pianoNearest((7.0 * (n / 12) - 21 + slot) / 28.0 * w) + 2;
        return QRect(x, 86, 21, 32);
    }
    const int x = pianoNearest((12.0 * (n / 12) - 36 + slot) / 48.0 * w) - 2;
    return QRect(x, 38, 21, 32);
}

QRect pianoExtraMarkRect(int note, int w) {
    if (note >= 0)
        return QRect();
    return QRect(pianoMarkRect(note, w).left(), 4, 25, 15);
}

InstrumentRects instrumentRects(int left, int panelWidth, int panelHeight, bool showPiano,
                                bool showFretboard) {
    InstrumentRects rects;
    const int width = std::max(0, panelWidth - 70);
    const int half = panelHeight / 2;
    if (showPiano)
        rects.Piano = QRect(left, 0, width, showFretboard ? half : panelHeight);
    if (showFretboard)
        rects.Fretboard =
            showPiano ? QRect(left, half, width, half) : QRect(left, 0, width, panelHeight);
    return rects;
}

int applyRangeLimit(bool lowest, int note, int& lowestNote, int& highestNote) {
    if (lowest) {
        lowestNote = note;
        if (lowestNote > kLowestNoteCeiling) {
            lowestNote = kLowestNoteCeiling;
            return kRangeLowMessage;
        }
        return 0;
    }
    highestNote = note;
    if (highestNote < kHighestNoteFloor) {
        highestNote = kHighestNoteFloor;
        return kRangeHighMessage;
    }
    return 0;
}

} // namespace harmik
