#pragma once
#include <array>

// Everything the exercise generators and players read from the options, in one value:
// the window, the tutor and the tests fill it the same way.
namespace harmik {

enum PlayModeValue : int {
    PlayHarmonic = 0,
    PlayMelodic = 1,
    PlaySustained = 2,
};

enum DirectionValue : int {
    DirectionUp = 0,
    DirectionDown = 1,
    DirectionBoth = 2,
};

constexpr int kAnswerBoxCount = 51;

struct GeneratorOptions {
    // The current module's answer boxes: ticked and shown states, the number of boxes in use
    // and the number of them that are ticked and shown (for inversions from box 7 on).
    std::array<bool, kAnswerBoxCount> AnswerChecks{};
    std::array<bool, kAnswerBoxCount> AnswerVisible = [] {
        std::array<bool, kAnswerBoxCount> all{};
        all.fill(true);
        return all;
    }();
    int AnswerBoxCount = 0;
    int SelectedCount = 0;

    int RootNote = 60;       // fixed root 60..71
    bool RandomRoot = false; // the root list stands on its thirteenth entry
    int LowestNote = 36;     // the current module's range
    int HighestNote = 83;
    int PlayMode = PlayMelodic;
    int Direction = DirectionUp; // intervals
    bool Belig = false;          // chords: include the other voicings
    bool ChordTuning = false;    // chords: sound the lowest note first
    int Velocity = 85;
    int OutChannel = 1; // 1..16
    int Tempo = 100;    // beats per minute of the current module
    int ExercisesPerTask = 20;
    // The cadence before a melody or progression (PlayStyleValue of cadence.h, 0..5).
    int PlayStyle = 5;
    bool PcSpeakerOnly = false; // all sound goes to the PC speaker
};

} // namespace harmik
