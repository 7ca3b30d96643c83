#pragma once
#include <cstdint>

#include "theory/click_track.h"
#include "theory/rhythm_types.h"

// What the rhythm exercise hands to the click track: the playback grid of clicks and rhythm
// notes, and the filled click-track record of one pass.
namespace harmik {

// Milliseconds per unit at a tempo in beats per minute, as played: round(60000 / tempo / 24),
// at least 1 so that a damaged tempo cannot stop the clock.
std::int32_t UnitMs(int tempo);

// Beats of one pass: the count-in bar, the program's rhythm, the empty bar if wanted, and the
// user's turn; reading mode has only the count-in and the user's turn.
int PassBeats(const RhythmOptions& options);

// Clears the grid, clicks every beat, and (unless reading) marks the program's notes after
// the count-in bar.
void FillClickGrid(ClickGrid& grid, const Rhythm& rhythm, int metre, int rhythmMode);

// The sound choices of the settings that the click track plays (channels 1..16).
struct RhythmSoundSettings {
    std::int32_t ClickChannel = 10;
    std::int32_t ClickSound = 39;
    std::int32_t ClickVolume = 80;
    std::int32_t FirstBeatSound = 37;
    std::int32_t FirstBeatVolume = 80;
    std::int32_t RhythmChannel = 10;
    std::int32_t RhythmSound = 38;
    std::int32_t RhythmVolume = 90;
};

// The loop flag a new exercise starts the track with: the short loop when the rhythm is
// played, never in reading mode.
constexpr std::uint8_t LoopFlagForNewExercise(const RhythmOptions& options) {
    return options.RhythmMode == RhythmRead ? 0 : (options.ShortLoop ? 1 : 0);
}

// Fills the click-track record for one rhythm start: step count, steps per bar, the three
// sounds, the step table from the grid, loop mode, period, and Step 0. The caller has stopped
// the previous track and starts the new one with Period afterwards.
void FillClickTrack(ClickTrack& track, const ClickGrid& grid, const RhythmOptions& options,
                    const RhythmSoundSettings& sounds, int tempo, std::uint8_t loopMode);

} // namespace harmik
