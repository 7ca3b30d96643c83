#pragma once
#include "midi/wave_file.h"
#include "theory/click_track.h"

#include <array>
#include <atomic>
#include <cstdint>

struct _fluid_synth_t;

namespace harmik {

// The click track's sounds, played at exact sample frames.
//
// FluidSynth starts a voice only at the start of one of its 64-frame blocks, and its
// sequencer dispatches at the same granularity, so neither a note-on between two render
// calls nor its sequencer can place a sound on its frame. The three sounds of a track
// (click, accent, the rhythm's note, each held for one step as the click track holds them)
// are therefore rendered through the synthesizer when the track starts, with the programs,
// controllers and gain its channels have then, and the audio callback mixes each one in
// from the frame it was scheduled for.
//
// Threads: prepare and forget on the main thread, schedule on the click-track thread (one
// producer), mix on the audio thread. Nothing after prepare allocates or locks.
class ClickVoices {
public:
    static constexpr int kSounds = 3; // 0 the click, 1 the accent, 2 the rhythm's note
    static constexpr int kVoices = 32;
    static constexpr std::uint32_t kQueueSize = 256;

    explicit ClickVoices(int sampleRate);
    ~ClickVoices();
    ClickVoices(const ClickVoices&) = delete;
    ClickVoices& operator=(const ClickVoices&) = delete;

    // Renders the sounds through a synthesizer that shares synth's SoundFont. False when no
    // sound set is free (the audio thread has not yet let go of the earlier ones).
    bool prepare(_fluid_synth_t* synth, const std::array<ClickSound, kSounds>& sounds, int holdMs);
    // The prepared sounds stop, including those already sounding.
    void forget();
    // Before the synthesizer whose SoundFont the renderer shares is deleted.
    void releaseRenderer();

    void schedule(int sound, std::int64_t frame);
    // Adds the voices sounding in frames [firstFrame, firstFrame + frames).
    void mix(float* left, float* right, int frames, std::int64_t firstFrame);

private:
    enum SetState : int { Free, Ready, Retiring, Done };
    struct SoundSet {
        std::atomic<int> State{Free};
        std::uint32_t Generation = 0;
        std::array<WaveSound, kSounds> Sounds;
    };
    struct Scheduled {
        std::int64_t Frame;
        std::uint32_t Generation;
        std::uint8_t Set;
        std::uint8_t Sound;
    };
    struct Voice { // audio thread only
        const WaveSound* Sound = nullptr;
        int Set = -1;
        std::size_t Position = 0;
        int Offset = 0; // frames of the current block before it starts
    };

    bool ensureRenderer(_fluid_synth_t* synth);
    void copyChannel(_fluid_synth_t* synth, int channel);
    void renderSound(const ClickSound& sound, int holdFrames, WaveSound& out);
    void reclaimSets();
    void retireSets();
    void startDueVoices(int frames, std::int64_t firstFrame);
    void startVoice(const Scheduled& event, std::int64_t firstFrame);

    int SampleRate_;
    _fluid_synth_t* Renderer_ = nullptr;
    void* SharedFont_ = nullptr; // the live synthesizer's SoundFont, lent to the renderer
    std::array<SoundSet, 3> Sets_;
    int Current_ = -1;             // main thread: the set the running track uses
    std::uint32_t Generation_ = 0; // main thread
    std::atomic<std::uint32_t> ScheduleSet_{0};
    std::atomic<std::uint32_t> ScheduleGeneration_{0};
    std::array<Scheduled, kQueueSize> Queue_{};
    std::atomic<std::uint32_t> QueueHead_{0}; // click-track thread
    std::atomic<std::uint32_t> QueueTail_{0}; // audio thread
    std::array<Voice, kVoices> Voices_;
};

} // namespace harmik
