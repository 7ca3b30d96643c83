#pragma once
#include <array>
#include <cstdint>

// Data of the rhythm module: time signatures, the stored rhythm options, the rhythm's events
// and the playback grid. Time is counted in units, 24 to a quarter note.
namespace harmik {

constexpr int kUnitsPerQuarter = 24;

// One row of the time-signature list: beats, beat note and the beat unit in units (the unit
// that steers where longer values may start and how notes are merged and beamed).
struct TimeSignature {
    std::uint8_t Beats;
    std::uint8_t Note;
    std::uint8_t Unit;
};

constexpr int kMetreCount = 8;

// Indexed by the entry of the time-signature list: 2/2, 3/8, 3/4, 4/4, alla breve, 5/4, 6/8,
// 7/8. Alla breve has the bar of 2/2 but beats in quarters.
inline constexpr std::array<TimeSignature, kMetreCount> TimeSignatureTable{{
    {2, 2, 48},
    {3, 8, 36},
    {3, 4, 24},
    {4, 4, 24},
    {2, 2, 24},
    {5, 4, 24},
    {6, 8, 36},
    {7, 8, 84},
}};

constexpr int kMetreSixEight = 6;

// The row of a metre index; an index outside the list (a damaged settings file) takes the
// nearest row instead of reading past the table.
constexpr const TimeSignature& TimeSignatureOf(int metre) {
    const int i = metre < 0 ? 0 : (metre >= kMetreCount ? kMetreCount - 1 : metre);
    return TimeSignatureTable[static_cast<std::size_t>(i)];
}

// Bar length in units: beats x 96 div beat note.
constexpr int BarLength(const TimeSignature& ts) {
    return ts.Beats * 96 / ts.Note;
}

// Playback steps (2 units each) of one bar.
constexpr int StepsPerBarOf(const TimeSignature& ts) {
    return ts.Beats * 48 / ts.Note;
}

enum RhythmMode : std::uint8_t {
    RhythmImitate = 0,    // the program plays the rhythm, the user repeats it
    RhythmRead = 1,       // the rhythm is only shown
    RhythmReadListen = 2, // shown and played
};

// The caption of a mode ("Слушаем", "Чтение", "Выполнить"), also shown over the staff while
// an exercise runs.
constexpr std::int32_t RhythmModeCaptionId(int mode) {
    return mode == RhythmRead ? 408 : (mode == RhythmReadListen ? 410 : 406);
}

constexpr int kMinBars = 1;
constexpr int kMaxBars = 6;

// The rhythm options exactly as stored in the settings record (6 bytes).
struct RhythmOptions {
    std::uint8_t Metre = 3;
    std::uint8_t Bars = 1;
    std::uint8_t ShortLoop = 0;
    std::uint8_t InterBar = 0;
    std::uint8_t RhythmMode = 0;
    std::uint8_t RhythmSensitivity = 96; // 89..99
};
static_assert(sizeof(RhythmOptions) == 6);

// Bars limited to 1..6, so that a damaged settings file cannot overfill the tables.
constexpr int BarsOf(const RhythmOptions& o) {
    return o.Bars < kMinBars ? kMinBars : (o.Bars > kMaxBars ? kMaxBars : o.Bars);
}

// The bars spinner: one more up to 6, one fewer down to 1.
constexpr int BarsAfterSpinUp(int bars) {
    return bars < kMaxBars ? bars + 1 : kMaxBars;
}
constexpr int BarsAfterSpinDown(int bars) {
    return bars > kMinBars ? bars - 1 : kMinBars;
}

// The twelve answer boxes of the rhythm module.
enum RhythmItem : int {
    ItemWhole = 0,
    ItemHalf = 1,
    ItemQuarter = 2,
    ItemEighth = 3,
    ItemSixteenth = 4,
    ItemHalfTriplets = 5, // three halves in the time of a whole (a bar)
    ItemQuarterTriplets = 6,
    ItemEighthTriplets = 7,
    ItemSixteenthTriplets = 8,
    ItemRests = 9,
    ItemDots = 10,
    ItemTies = 11,
};
constexpr int kRhythmItemCount = 12;
using RhythmItemTicks = std::array<bool, kRhythmItemCount>;

// Beam levels of an event: eighth, sixteenth and thirty-second.
enum BeamLevel : int { BeamEighth = 0, BeamSixteenth = 1, BeamThirtySecond = 2 };

// How the stems are joined at one beam level.
enum BeamMark : std::uint8_t {
    BeamNone = 0,
    BeamBoth = 1,     // joined on both sides
    BeamNext = 2,     // joined to the next note only
    BeamPrevious = 3, // joined to the previous note only
    BeamFlag = 4,     // not joined: a flag of its own
};

struct RhythmEvent {
    std::uint8_t Duration = 0; // units
    std::uint8_t Rest = 0;
    std::uint8_t Tie = 0; // continues the previous note
    std::array<std::uint8_t, 3> Beam{};
    std::int32_t StaffX = 0; // horizontal staff position, written by the staff drawing
};

struct Rhythm {
    static constexpr int kMaxEvents = 361;
    std::array<RhythmEvent, kMaxEvents> Events{};
    std::int32_t Count = 0;
};

// A sounding event is played and tapped: neither a rest nor tied to the previous note.
constexpr bool IsStruck(const RhythmEvent& e) {
    return e.Rest == 0 && e.Tie == 0;
}

// The playback grid: one cell per 2 units, marks as in the click track's step table.
constexpr int kClickGridCells = 841;
using ClickGrid = std::array<std::uint8_t, kClickGridCells>;

} // namespace harmik
