#include "input/staff_geometry.h"

#include <algorithm>
#include <cmath>

#include "theory/note_names.h"

namespace harmik {

namespace {

constexpr std::array<int, 7> kLetterOffsets = {0, 2, 4, 5, 7, 9, 11};
constexpr std::array<int, 8> kColumnWidths = {0, 80, 300, 80, 110, 0, 300, 20};
constexpr std::array<int, kScrollFrames> kScrollWeights = {1,  2, 4, 8, 12, 16, 19, 16,
                                                           12, 8, 5, 3, 2,  1,  1};

int floorDiv(int a, int b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

std::array<int, 29> makeStepNotes() {
    std::array<int, 29> t{};
    for (int s = 0; s < 29; ++s)
        t[static_cast<std::size_t>(s)] = staffStepOffset(s);
    return t;
}

} // namespace

int staffStepOffset(int step) {
    const int octave = floorDiv(step, 7);
    return 12 * octave + kLetterOffsets[static_cast<std::size_t>(step - 7 * octave)];
}

const std::array<int, 29> StaffStepNote = makeStepNotes();
const std::array<int, 5> TrebleLineSteps = {16, 18, 20, 22, 24};
const std::array<int, 5> BassLineSteps = {12, 10, 8, 6, 4};

int Staff_Y(int step, int clef) {
    if (step < 14)
        return clef == 1 ? 98 - 3 * step : 111 - 3 * step;
    return clef == 2 ? 111 - 3 * step : 98 - 3 * step;
}

int StaffPictureHeight(int clientWidth, int clientHeight) {
    const double scale = std::clamp(std::min(clientHeight / 560.0, clientWidth / 800.0), 1.0, 2.5);
    return static_cast<int>(std::lround(kStaffHeight * scale));
}

int staffColumnWidth(int module) {
    return isValidModule(module) ? kColumnWidths[static_cast<std::size_t>(module)] : 0;
}

int resetStaffTextX(int module) {
    return 40 + staffColumnWidth(module) / 2;
}

std::vector<LedgerLine> ledgerLines(int step, int clef) {
    std::vector<LedgerLine> lines;
    const int y = Staff_Y(step, clef);
    if (step <= 2)
        lines.push_back({2, clef});
    if (step <= 0)
        lines.push_back({0, clef});
    if (y >= Staff_Y(14, 1) && y <= Staff_Y(13, 2)) {
        // Only the staff that the note stands on gets the lines towards middle C.
        const bool onTreble = clef == 1 || (clef == 0 && step >= 14);
        if (onTreble && step <= 14)
            for (int s : {10, 12, 14})
                if (s >= step)
                    lines.push_back({s, 1});
        if (!onTreble && step >= 14)
            for (int s : {14, 16, 18})
                if (s <= step)
                    lines.push_back({s, 2});
    }
    if (step >= 26)
        lines.push_back({26, clef});
    if (step >= 28)
        lines.push_back({28, clef});
    return lines;
}

GlyphMetrics accidentalGlyph(int code) {
    switch (code) {
    case 0:
        return {11, 19};
    case 1:
        return {6, 14};
    case 3:
        return {6, 14};
    case 4:
        return {9, 17};
    default:
        return {5, 14};
    }
}

void AccidentalMemory::NulFortegnMatrix() {
    for (auto& row : grid_)
        row.fill(kNoAccidental);
    AccidentalColumns = 0;
}

int AccidentalMemory::cell(int step, int column) const {
    const int row = step - kFirstStep;
    if (row < 0 || row >= kRows || column < 0 || column >= kColumns)
        return kNoAccidental;
    return grid_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

int AccidentalMemory::place(int step, int code) {
    const bool twoWide = code == 0 || code == 4;
    int column = 8;
    for (int c = 0; c <= 8; ++c) {
        if (cell(step, c) == kNoAccidental && (!twoWide || cell(step, c + 1) == kNoAccidental)) {
            column = c;
            break;
        }
    }
    const int last = std::min(column + (twoWide ? 2 : 1), kColumns - 1);
    for (int s = step - 3; s <= step + 4; ++s) {
        const int row = s - kFirstStep;
        if (row < 0 || row >= kRows)
            continue;
        for (int c = column; c <= last; ++c)
            grid_[static_cast<std::size_t>(row)][static_cast<std::size_t>(c)] =
                static_cast<std::uint8_t>(code);
    }
    AccidentalColumns = std::max(AccidentalColumns, column + 1);
    return column;
}

int secondShift(int y, int previousY, bool sameStep, bool previousShifted) {
    if (previousShifted || std::abs(y - previousY) >= 6)
        return 0;
    return sameStep ? 11 : 9;
}

int accidentalForStep(int step, int note) {
    return std::clamp(note - 36 - staffStepOffset(step) + 2, 0, 4);
}

StaffSpelling spellFlatSide(int note) {
    return {flatSideStep(note), WhiteKey[static_cast<std::size_t>(pitchClass(note))] ? 2 : 1};
}

StaffSpelling spellInKey(int note, const KeyState& key) {
    const int candidates[2] = {sharpSideStep(note), flatSideStep(note)};
    for (int step : candidates) {
        const auto letter = static_cast<std::size_t>(floorDiv(step, 7) * -7 + step);
        const int staff = keyStaffIndex(step);
        const int expected = key.staffAccidentals[static_cast<std::size_t>(staff)][letter] +
                             key.stepAccidentals[letter] - 2;
        if (accidentalForStep(step, note) == expected)
            return {step, expected};
    }
    if (WhiteKey[static_cast<std::size_t>(pitchClass(note))])
        return {flatSideStep(note), 2};
    const int fifths = FifthsPosition[static_cast<std::size_t>(pitchClass(key.signatureKey))];
    const int step = fifths > 0 ? candidates[0] : candidates[1];
    return {step, accidentalForStep(step, note)};
}

int displayedAccidental(const KeyState& key, int step, int accidental) {
    const auto letter = static_cast<std::size_t>(step - 7 * floorDiv(step, 7));
    const int inForce = key.staffAccidentals[static_cast<std::size_t>(keyStaffIndex(step))][letter];
    if (inForce != kNoAccidental && accidental == kNoAccidental)
        return kNaturalSign;
    if ((inForce == 3 && accidental == 3) || (inForce == 1 && accidental == 1))
        return kNoAccidental;
    return accidental;
}

int staffRound(double x) {
    return static_cast<int>(std::nearbyint(x));
}

std::array<int, kScrollFrames> scrollSteps(int distance) {
    std::array<int, kScrollFrames> s{};
    for (std::size_t i = 0; i < s.size(); ++i)
        s[i] = staffRound(distance / 110.0 * kScrollWeights[i]);
    return s;
}

std::vector<WhiteKeyNote> whiteKeyLayout(double staffWidth) {
    std::vector<WhiteKeyNote> notes;
    const double step = staffWidth / 28.0;
    int clef = 2;
    int k = 0;
    for (int n = 0; n < 48; ++n) {
        if (n == 24)
            clef = 1;
        if (!WhiteKey[static_cast<std::size_t>(n % 12)])
            continue;
        notes.push_back({staffRound(step / 2 + 34 + k * step), 36 + n, clef});
        ++k;
    }
    return notes;
}

} // namespace harmik
