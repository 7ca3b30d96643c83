#pragma once
#include <array>
#include <atomic>
#include <cstdint>

namespace harmik {

// One sound of the click track: 0-based MIDI channel, note and velocity.
struct ClickSound {
    std::uint8_t Channel = 9;
    std::uint8_t Note = 0;
    std::uint8_t Velocity = 0;
};

// Step codes of the click track's step table.
enum ClickStepCode : std::uint8_t {
    StepSilent = 0,
    StepClick = 1,
    StepRhythm = 2,
    StepClickAndRhythm = 3,
};

// The rhythm module's click track: the rhythm exercise fills it, the click-track thread plays
// it. The main thread writes it only while the track is stopped, except for the repeat
// command's store of 0 into Step; Step and StartTime are therefore atomic.
struct ClickTrack {
    static constexpr int kStepTableSize = 841; // steps 0..840

    ClickSound Click;           // metronome click
    ClickSound Accent;          // click on the first step of every bar
    ClickSound Rhythm;          // the rhythm's own note
    std::int32_t StepCount = 0; // index of the last step of a pass
    std::array<std::uint8_t, kStepTableSize> Steps{};
    std::atomic<std::int32_t> Step{0};       // the step to be played next
    std::atomic<std::uint32_t> StartTime{0}; // monotonic ms at which step 0 of this pass sounded
    std::uint8_t LoopMode = 0; // 0 repeat from step 0, 1 repeat from the second bar, else once
    std::int32_t Period = 0;   // ms per step
    std::uint8_t StepsPerBar = 1;
};

} // namespace harmik
