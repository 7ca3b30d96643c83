#pragma once
#include "midi/wave_file.h"

#include <QString>
#include <QStringList>
#include <array>
#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

struct _fluid_hashtable_t;
struct _fluid_synth_t;
struct _fluid_audio_driver_t;

namespace harmik {

// The built-in synthesizer and the program's one mixer: a FluidSynth synthesizer with a
// General MIDI SoundFont, the WAV voices (feedback sounds, start music, tuning fork) and the
// PC-speaker square wave, mixed in one audio callback. Without an audio output the same mix
// can be rendered offline.
class SoundEngine {
public:
    static constexpr int kWaveVoices = 4;

    explicit SoundEngine(int sampleRate = 48000);
    ~SoundEngine();
    SoundEngine(const SoundEngine&) = delete;
    SoundEngine& operator=(const SoundEngine&) = delete;

    int sampleRate() const { return SampleRate_; }

    // Audio output (main thread). Tries the sound servers and ALSA in turn.
    bool openAudioOutput();
    void closeAudioOutput();
    bool hasAudioOutput() const { return Driver_ != nullptr || Resting_; }
    bool resting() const { return Resting_; }

    // The output rests (is closed, so that neither the program nor the sound server keeps
    // working) once nothing has sounded for idleMs; main thread. Anything that starts a sound
    // on the main thread wakes it again; keepAwake holds it open (the click track, which
    // sends from its own thread, needs that).
    void restIfIdle(std::uint32_t nowMs, std::uint32_t idleMs);
    void keepAwake(bool on);
    QString audioDriverName() const { return DriverName_; }
    double bufferedMs() const; // what the output buffers, by its configuration

    // SoundFont. The background load lets the window come up while the samples are read.
    bool loadSoundFont(const QString& path);
    void loadSoundFontInBackground(const QString& path);
    bool waitForSoundFont(); // true when a SoundFont is loaded
    bool soundFontLoaded() const { return SoundFontLoaded_.load(std::memory_order_acquire); }

    // MIDI into the synthesizer; any thread, never allocates.
    void midiShort(std::uint32_t message);
    void midiSysex(const std::uint8_t* data, std::size_t length);
    void setSynthVolume(double level); // 0..1 of the full gain
    // Panic: every voice stops at once (the reverb's short tail rings out).
    void allSoundsOff();

    // Mixer voices (main thread).
    void playWave(WaveSound sound);
    void stopWaves();
    void setWaveVolume(double level); // 0..1
    void speakerTone(int hz, int ms);
    void speakerOff();
    bool anythingSounding() const;

    // Adds one block of the mix to the two (zeroed) buffers: synthesizer, WAV voices and
    // speaker. Called by the audio callback, or by tests and tools to render offline.
    void render(float* left, float* right, int frames);

    _fluid_synth_t* synth() const { return Synth_; }

private:
    enum VoiceState : int { Free, Playing, StopRequested, Done };
    struct WaveVoice {
        std::atomic<int> State{Free};
        WaveSound Sound;        // written by the main thread only while Free or Done
        std::size_t Position{}; // audio thread only
    };
    struct SpeakerVoice { // audio thread only
        std::uint32_t Generation = 0;
        std::int64_t FramesLeft = 0;
        double Phase = 0;
        double Step = 0;
    };

    static int audioCallback(void* data, int len, int nfx, float* fx[], int nout, float* out[]);
    void mixWaves(float* left, float* right, int frames);
    void mixSpeaker(float* left, float* right, int frames);
    void markIfAudible(const float* left, int frames);
    void reclaimFinishedVoices();
    void postSpeakerRequest(int hz, std::int64_t frames);
    void keepProgramUntilLoaded(int channel, int program);
    void wakeOnMainThread();
    void noteSounding();
    void applyKeptPrograms();

    int SampleRate_;
    double BaseGain_;
    _fluid_hashtable_t* Settings_ = nullptr;
    _fluid_synth_t* Synth_ = nullptr;
    _fluid_audio_driver_t* Driver_ = nullptr;
    QString DriverName_;
    bool Resting_ = false;
    bool KeptAwake_ = false;
    std::thread::id MainThread_;
    std::atomic<std::uint32_t> LastSoundMs_{0};
    std::thread Loader_;
    std::atomic<bool> SoundFontLoaded_{false};
    // Program changes that came while the SoundFont was loading (program + 1, 0 for none):
    // the loader holds the synthesizer meanwhile, so they wait here instead.
    std::array<std::atomic<int>, 16> KeptPrograms_{};
    std::atomic<float> KeptGain_{-1.0f};

    std::array<WaveVoice, kWaveVoices> Waves_;
    std::atomic<float> WaveGain_{1.0f};
    std::atomic<std::uint64_t> SpeakerRequest_{0}; // generation << 48 | hz << 32 | frames
    std::uint32_t SpeakerGeneration_ = 0;          // main thread
    SpeakerVoice Speaker_;
};

// The General MIDI SoundFont the built-in synthesizer uses: FluidR3_GM first, then the
// system's default-GM link, then TimGM6mb, in the given folders (default: the standard
// sf2 and sf3 folders). Empty when there is none.
QString FindGeneralMidiSoundFont(const QStringList& folders = {});

} // namespace harmik
