#pragma once
#include <cstdint>

namespace harmik {

// The running task: whether one runs, whether the current exercise was settled by the
// show-answer button, how many exercises are settled and how many the task has.
struct TaskState {
    std::int32_t running = 0;
    bool answerShown = false;
    std::int32_t exerciseCount = 0;
    std::uint8_t exercisesPerTask = 20;
};

// What the start of a task checks before anything changes.
struct StartCheckInput {
    int module = 1;
    bool haveMidiOutput = true;
    bool pcSpeakerOnly = false;
    bool primaVista = false; // melodies read from the staff
    int selectedCount = 0;
    bool rhythmValueTicked = false;      // rhythm: one of the boxes 0..8
    int metreUpper = 4;                  // rhythm: the upper number of the time signature
    bool metreInEighths = false;         // rhythm: the metre counts eighths
    bool rhythmShortValueTicked = false; // eighths: 3, 4 or 8; quarters: 2, 3, 4, 7 or 8
};

// The message that refuses the start (0: the task may start).
int StartRefusal(const StartCheckInput& in);

// Points timer interval of a module, in milliseconds.
int PointTimerInterval(int module, int tempo, int playStyle, int noteCount);

} // namespace harmik
