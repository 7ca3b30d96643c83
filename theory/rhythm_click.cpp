#include "theory/rhythm_click.h"

#include <algorithm>
#include <cmath>

namespace harmik {

namespace {

static_assert(kClickGridCells == ClickTrack::kStepTableSize);

std::uint8_t MidiByte(std::int32_t value) {
    return static_cast<std::uint8_t>(std::clamp<std::int32_t>(value, 0, 127));
}

// Channels are stored 0-based in the record.
ClickSound MakeSound(std::int32_t channel, std::int32_t note, std::int32_t velocity) {
    ClickSound sound;
    sound.Channel = static_cast<std::uint8_t>(std::clamp<std::int32_t>(channel, 1, 16) - 1);
    sound.Note = MidiByte(note);
    sound.Velocity = MidiByte(velocity);
    return sound;
}

} // namespace

std::int32_t UnitMs(int tempo) {
    const double u = std::nearbyint(60000.0 / std::max(tempo, 1) / 24);
    return std::max<std::int32_t>(1, static_cast<std::int32_t>(u));
}

int PassBeats(const RhythmOptions& options) {
    const TimeSignature& ts = TimeSignatureOf(options.Metre);
    const int barBeats = BarsOf(options) * ts.Beats;
    if (options.RhythmMode == RhythmRead)
        return ts.Beats + barBeats;
    return ts.Beats + barBeats + barBeats + (options.InterBar ? ts.Beats : 0);
}

void FillClickGrid(ClickGrid& grid, const Rhythm& rhythm, int metre, int rhythmMode) {
    const TimeSignature& ts = TimeSignatureOf(metre);
    const int cellsPerBeat = 48 / ts.Note;
    for (int cell = 0; cell < kClickGridCells; ++cell)
        grid[static_cast<std::size_t>(cell)] = cell % cellsPerBeat == 0 ? StepClick : StepSilent;
    if (rhythmMode == RhythmRead)
        return;
    int p = BarLength(ts); // after the count-in bar
    for (int i = 0; i < rhythm.Count; ++i) {
        const RhythmEvent& e = rhythm.Events[static_cast<std::size_t>(i)];
        const int cell = p / 2;
        if (IsStruck(e) && cell < kClickGridCells)
            grid[static_cast<std::size_t>(cell)] |= StepRhythm;
        p += e.Duration;
    }
}

void FillClickTrack(ClickTrack& track, const ClickGrid& grid, const RhythmOptions& options,
                    const RhythmSoundSettings& sounds, int tempo, std::uint8_t loopMode) {
    const TimeSignature& ts = TimeSignatureOf(options.Metre);
    const int lastStep = PassBeats(options) * 48 / ts.Note - 1;
    track.StepCount = std::min(lastStep, ClickTrack::kStepTableSize - 1);
    track.StepsPerBar = static_cast<std::uint8_t>(StepsPerBarOf(ts));
    track.Click = MakeSound(sounds.ClickChannel, sounds.ClickSound, sounds.ClickVolume);
    track.Accent = MakeSound(sounds.ClickChannel, sounds.FirstBeatSound, sounds.FirstBeatVolume);
    track.Rhythm = MakeSound(sounds.RhythmChannel, sounds.RhythmSound, sounds.RhythmVolume);
    std::copy(grid.begin(), grid.end(), track.Steps.begin());
    track.LoopMode = loopMode;
    track.Step.store(0);
    track.Period = 2 * UnitMs(tempo);
}

} // namespace harmik
