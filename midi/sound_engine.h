#pragma once
#include "midi/soundfont_subset.h"
#include "midi/wave_file.h"
#include "theory/click_track.h"

#include <QString>
#include <QStringList>
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct _fluid_hashtable_t;
struct _fluid_synth_t;
struct _fluid_audio_driver_t;

namespace harmik {

class ClickVoices;

// The device the mix is played on. The engine opens it through an opener (by default the
// sound servers and ALSA through FluidSynth's drivers, which call render on their thread);
// tests open a stand-in and render offline themselves.
class AudioDevice {
public:
    virtual ~AudioDevice() = default;
    virtual QString name() const = 0;
};
class SoundEngine;
using AudioDeviceOpener = std::function<std::unique_ptr<AudioDevice>(SoundEngine&)>;

// FluidSynth's settings and synthesizer as the built-in synthesizer wants them, without a
// SoundFont. Making them takes some milliseconds (FluidSynth also sets up its DLS loader), so
// the program makes them on its warm-up thread while the window comes up.
constexpr int kMixRate = 48000; // the rate the program mixes and plays at

struct SynthCore {
    explicit SynthCore(int sampleRate);
    ~SynthCore();
    SynthCore(const SynthCore&) = delete;
    SynthCore& operator=(const SynthCore&) = delete;

    int SampleRate;
    _fluid_hashtable_t* Settings = nullptr;
    _fluid_synth_t* Synth = nullptr;
};

// The built-in synthesizer and the program's one mixer: a FluidSynth synthesizer with a
// General MIDI SoundFont, the WAV voices (feedback sounds, start music, tuning fork) and the
// PC-speaker square wave, mixed in one audio callback. Without an audio output the same mix
// can be rendered offline.
class SoundEngine {
public:
    static constexpr int kWaveVoices = 4;

    // `prepared`, when given for the same rate, is taken over instead of making a new one.
    explicit SoundEngine(int sampleRate = kMixRate, AudioDeviceOpener opener = {},
                         std::shared_ptr<SynthCore> prepared = {});
    ~SoundEngine();
    SoundEngine(const SoundEngine&) = delete;
    SoundEngine& operator=(const SoundEngine&) = delete;

    int sampleRate() const { return SampleRate_; }

    // Audio output (main thread). Tries the sound servers and ALSA in turn.
    bool openAudioOutput();
    void closeAudioOutput();
    bool hasAudioOutput() const { return Device_ != nullptr || Resting_; }
    bool outputOpen() const { return Device_ != nullptr; }
    // Called on the main thread whenever a sound opens the rested output again.
    std::function<void()> OnOutputWoken;
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

    // The click track's sounds on their samples (see ClickScheduler): prepare and forget on
    // the main thread, schedule on the click-track thread. Frames count what render produced.
    bool prepareClickSounds(const std::array<ClickSound, 3>& sounds, int holdMs);
    void forgetClickSounds();
    void scheduleClickSound(int sound, std::int64_t frame);
    std::int64_t framePlayedAt(std::int64_t monotonicNs) const;
    std::int64_t renderedFrames() const { return RenderedFrames_.load(std::memory_order_acquire); }
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
    _fluid_hashtable_t* settings() const { return Settings_; }

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

    void noteBlockStart();
    void mixWaves(float* left, float* right, int frames);
    void mixSpeaker(float* left, float* right, int frames);
    void markIfAudible(const float* left, int frames);
    void reclaimFinishedVoices();
    void postSpeakerRequest(int hz, std::int64_t frames);
    void keepProgramUntilLoaded(int channel, int program);
    void wakeOnMainThread();
    void noteSounding();
    void applyKeptPrograms();
    std::vector<SoundFontPreset> presetsNeeded(const std::array<int, 16>& programs) const;
    bool loadPresets(std::vector<SoundFontPreset> presets);
    void swapSoundFont(std::vector<SoundFontPreset> presets, std::array<int, 16>& programs);
    void readyChannel(int channel);                            // main thread
    void readInstrumentInBackground(int channel, int program); // main thread
    void finishReadingInstruments();                           // main thread
    bool anyProgramKept() const;

    int SampleRate_;
    double BaseGain_;
    AudioDeviceOpener Opener_;
    std::shared_ptr<SynthCore> Core_;
    _fluid_hashtable_t* Settings_ = nullptr; // Core_'s
    _fluid_synth_t* Synth_ = nullptr;
    std::unique_ptr<AudioDevice> Device_;
    QString DriverName_;
    bool Resting_ = false;
    bool KeptAwake_ = false;
    std::thread::id MainThread_;
    std::atomic<std::uint32_t> LastSoundMs_{0};
    std::thread Loader_;
    std::atomic<bool> SoundFontLoaded_{false};
    // The SoundFont is loaded with only the presets its channels need (see soundfont_subset.h);
    // a program that needs others brings in a new cut of it. Whoever selects presets holds
    // FontMutex_: the loader, the instrument reader, or the main thread.
    std::mutex FontMutex_;
    std::string FontPath_;
    std::vector<SoundFontPreset> FontPresets_;   // all the file has; empty: it is loaded whole
    std::vector<SoundFontPreset> LoadedPresets_; // those of the cut loaded
    int FontId_ = -1;
    // Program changes that came while the SoundFont was loading (program + 1, 0 for none):
    // the loader holds the synthesizer meanwhile, so they wait here instead.
    std::array<std::atomic<int>, 16> KeptPrograms_{};
    std::atomic<float> KeptGain_{-1.0f};
    std::array<std::atomic<bool>, 16> ChannelReady_{}; // the channel has its instrument
    // Reads the samples of instruments chosen on the main thread once the SoundFont is in.
    std::thread InstrumentReader_;
    std::atomic<bool> ReadingInstruments_{false};

    std::array<WaveVoice, kWaveVoices> Waves_;
    std::atomic<float> WaveGain_{1.0f};
    std::atomic<std::uint64_t> SpeakerRequest_{0}; // generation << 48 | hz << 32 | frames
    std::uint32_t SpeakerGeneration_ = 0;          // main thread
    SpeakerVoice Speaker_;

    std::unique_ptr<ClickVoices> Clicks_;
    // Where the audio thread is, in one value: the steady clock time (ns) at which frame 0
    // would have been rendered, by the block it began last; and when that block began (to
    // tell a stopped output).
    std::atomic<std::int64_t> RenderedFrames_{0};
    std::atomic<std::int64_t> FrameZeroNs_{0};
    std::atomic<std::int64_t> BlockNs_{0};
};

// FluidSynth's audio drivers: PulseAudio, PipeWire, then ALSA (null when none opens).
std::unique_ptr<AudioDevice> OpenFluidAudioDevice(SoundEngine& engine);

// The General MIDI SoundFont the built-in synthesizer uses: FluidR3_GM first, then the
// system's default-GM link, then TimGM6mb, in the given folders (default: the standard
// sf2 and sf3 folders). Empty when there is none.
QString FindGeneralMidiSoundFont(const QStringList& folders = {});

} // namespace harmik
