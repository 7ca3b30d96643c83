#include "midi/sound_engine.h"

#include "midi/click_voices.h"
#include "midi/midi_event.h"
#include "midi/system_midi.h"
#include "theory/clock.h"

#include <QFileInfo>
#include <algorithm>
#include <chrono>
#include <fluidsynth.h>
#include <malloc.h>

namespace harmik {

namespace {

// FluidSynth's default gain (0.2) leaves a single note far below full scale; this one gives a
// note at the default velocity a good level while a full chord stays clear of clipping.
constexpr double kSynthGain = 1.5;
constexpr float kSpeakerAmplitude = 0.15f;
constexpr int kPeriodSize = 256;
constexpr int kPolyphony = 64;
constexpr int kPeriods = 2;

void SilentLog(int, const char*, void*) {}

// Beyond this since the last block began the audio thread is taken to have stopped (a rested
// or newly opened output): it goes on from the frame it reached.
constexpr std::int64_t kStalledBlockNs = 50'000'000;

std::int64_t SteadyNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

class FluidAudioDevice : public AudioDevice {
public:
    FluidAudioDevice(fluid_audio_driver_t* driver, QString name)
        : Driver_(driver), Name_(std::move(name)) {}
    ~FluidAudioDevice() override { delete_fluid_audio_driver(Driver_); }
    QString name() const override { return Name_; }

private:
    fluid_audio_driver_t* Driver_;
    QString Name_;
};

int AudioCallback(void* data, int len, int, float*[], int nout, float* out[]) {
    if (nout >= 2)
        static_cast<SoundEngine*>(data)->render(out[0], out[1], len);
    return FLUID_OK;
}

void SilenceFluidLog() {
    for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
        fluid_set_log_function(level, SilentLog, nullptr);
}

} // namespace

QString FindGeneralMidiSoundFont(const QStringList& folders) {
    const QStringList places =
        folders.isEmpty()
            ? QStringList{"/usr/share/sounds/sf2", "/usr/share/sounds/sf3", "/usr/share/soundfonts"}
            : folders;
    for (const char* name :
         {"FluidR3_GM.sf2", "FluidR3_GM.sf3", "default-GM.sf2", "default-GM.sf3", "TimGM6mb.sf2"}) {
        for (const QString& folder : places) {
            const QFileInfo file(folder + '/' + name);
            if (file.exists() && file.isReadable())
                return file.absoluteFilePath();
        }
    }
    return {};
}

std::unique_ptr<AudioDevice> OpenFluidAudioDevice(SoundEngine& engine) {
    // JACK is left out: without a running server its client blocks or crashes.
    for (const char* name : {"pulseaudio", "pipewire", "alsa"}) {
        if (fluid_settings_setstr(engine.settings(), "audio.driver", name) != FLUID_OK)
            continue;
        if (fluid_audio_driver_t* driver =
                new_fluid_audio_driver2(engine.settings(), AudioCallback, &engine))
            return std::make_unique<FluidAudioDevice>(driver, QString::fromLatin1(name));
    }
    return nullptr;
}

SynthCore::SynthCore(int sampleRate) : SampleRate(sampleRate) {
    SilenceFluidLog();
    SilenceSoundLibraryLogs(); // the ALSA driver's failed opens
    Settings = new_fluid_settings();
    fluid_settings_setnum(Settings, "synth.sample-rate", sampleRate);
    fluid_settings_setnum(Settings, "synth.gain", kSynthGain);
    fluid_settings_setint(Settings, "synth.cpu-cores", 1);
    // Every voice costs memory from the start. 64 hold 32 stereo notes with their release:
    // a cadence's chords, the echo of the user's playing and the feedback note together
    // (the click track is rendered apart); beyond that the quietest releasing voice yields.
    fluid_settings_setint(Settings, "synth.polyphony", kPolyphony);
    fluid_settings_setint(Settings, "synth.dynamic-sample-loading", 1);
    fluid_settings_setint(Settings, "synth.chorus.active", 0);
    fluid_settings_setint(Settings, "audio.period-size", kPeriodSize);
    fluid_settings_setint(Settings, "audio.periods", kPeriods);
    fluid_settings_setint(Settings, "audio.realtime-prio", 60);
    Synth = new_fluid_synth(Settings);
    AddSoundFontSubsetLoader(Synth);
}

SynthCore::~SynthCore() {
    delete_fluid_synth(Synth);
    delete_fluid_settings(Settings);
}

SoundEngine::SoundEngine(int sampleRate, AudioDeviceOpener opener,
                         std::shared_ptr<SynthCore> prepared)
    : SampleRate_(sampleRate), BaseGain_(kSynthGain),
      Opener_(opener ? std::move(opener) : AudioDeviceOpener(OpenFluidAudioDevice)),
      Core_(prepared && prepared->SampleRate == sampleRate
                ? std::move(prepared)
                : std::make_shared<SynthCore>(sampleRate)),
      Settings_(Core_->Settings), Synth_(Core_->Synth), MainThread_(std::this_thread::get_id()),
      Clicks_(std::make_unique<ClickVoices>(sampleRate)) {}

SoundEngine::~SoundEngine() {
    closeAudioOutput();
    if (Loader_.joinable())
        Loader_.join();
    if (InstrumentReader_.joinable())
        InstrumentReader_.join();
    Clicks_->releaseRenderer(); // it borrows the synthesizer's SoundFont
    Core_.reset();
}

bool SoundEngine::openAudioOutput() {
    if (Device_)
        return true;
    Device_ = Opener_(*this);
    if (!Device_)
        return false;
    DriverName_ = Device_->name();
    Resting_ = false;
    noteSounding();
    return true;
}

void SoundEngine::closeAudioOutput() {
    Device_.reset();
    Resting_ = false;
}

void SoundEngine::noteSounding() {
    LastSoundMs_.store(MonotonicMs(), std::memory_order_relaxed);
}

void SoundEngine::restIfIdle(std::uint32_t nowMs, std::uint32_t idleMs) {
    if (!Device_ || KeptAwake_ || nowMs - LastSoundMs_.load(std::memory_order_relaxed) < idleMs)
        return;
    Device_.reset();
    Resting_ = true;
    // Resting, the program gives back what it no longer uses: a played sound (the start music
    // holds some 2 MB) and what the allocator keeps free.
    reclaimFinishedVoices();
    malloc_trim(0);
}

void SoundEngine::keepAwake(bool on) {
    KeptAwake_ = on;
    if (on)
        wakeOnMainThread();
}

void SoundEngine::wakeOnMainThread() {
    noteSounding();
    // Only the main thread owns the output; a sound from another thread cannot wake it.
    if (std::this_thread::get_id() == MainThread_ && Resting_ && openAudioOutput() && OnOutputWoken)
        OnOutputWoken();
}

double SoundEngine::bufferedMs() const {
    return Device_ ? 1000.0 * kPeriodSize * kPeriods / SampleRate_ : 0.0;
}

bool SoundEngine::loadSoundFont(const QString& path) {
    // No channel gets an instrument yet: each one's samples are read when it is first given
    // an instrument or a note (the drum kit alone would hold some 11 MB of FluidR3_GM).
    bool loaded = false;
    {
        std::lock_guard lock(FontMutex_);
        FontPath_ = QFile::encodeName(path).toStdString();
        FontPresets_ = ListSoundFontPresets(FontPath_);
        std::array<int, 16> programs{};
        for (int channel = 0; channel < 16; ++channel)
            programs[std::size_t(channel)] = KeptPrograms_[std::size_t(channel)].load();
        loaded = loadPresets(presetsNeeded(programs));
    }
    if (loaded) {
        SoundFontLoaded_.store(true);
        applyKeptPrograms();
    }
    // Parsing the SoundFont's tables leaves memory free in the allocator that it would keep
    // for the rest of the run: given back to the system.
    malloc_trim(0);
    return loaded;
}

std::vector<SoundFontPreset> SoundEngine::presetsNeeded(const std::array<int, 16>& programs) const {
    std::vector<SoundFontPreset> presets;
    auto add = [&](const std::vector<SoundFontPreset>& more) {
        for (const SoundFontPreset& preset : more)
            if (std::find(presets.begin(), presets.end(), preset) == presets.end())
                presets.push_back(preset);
    };
    // Every channel starts on bank 0's first preset, the drum channel on the drum bank's: a
    // reset or a channel's first note never lacks them.
    add(PresetsForProgram(FontPresets_, 0, 0));
    add(PresetsForProgram(FontPresets_, 128, 0));
    for (int channel = 0; channel < 16; ++channel) {
        int font = 0, bank = 0, program = 0;
        fluid_synth_get_program(Synth_, channel, &font, &bank, &program);
        if (programs[std::size_t(channel)] > 0)
            program = programs[std::size_t(channel)] - 1;
        else if (!fluid_synth_get_channel_preset(Synth_, channel))
            continue;
        add(PresetsForProgram(FontPresets_, bank, program));
    }
    return presets;
}

bool SoundEngine::loadPresets(std::vector<SoundFontPreset> presets) {
    if (!FontPresets_.empty()) {
        const std::string name = SoundFontSubsetName(FontPath_, presets);
        if (const int id = fluid_synth_sfload(Synth_, name.c_str(), 0); id != FLUID_FAILED) {
            FontId_ = id;
            LoadedPresets_ = std::move(presets);
            return true;
        }
        FontPresets_.clear(); // a SoundFont whose cut FluidSynth refuses is read whole
    }
    const int id = fluid_synth_sfload(Synth_, FontPath_.c_str(), 0);
    if (id == FLUID_FAILED)
        return false;
    FontId_ = id;
    return true;
}

void SoundEngine::swapSoundFont(std::vector<SoundFontPreset> presets,
                                std::array<int, 16>& programs) {
    const int old = FontId_;
    if (!loadPresets(std::move(presets)))
        return;                 // the programs fall back within the presets there are
    Clicks_->releaseRenderer(); // it borrows the old SoundFont
    // Every channel with an instrument moves to the new SoundFont, with its new program or
    // the one it has, before the old one goes; the others stay without until they are used.
    for (int channel = 0; channel < 16; ++channel) {
        int& kept = programs[std::size_t(channel)];
        if (kept > 0) {
            fluid_synth_program_change(Synth_, channel, kept - 1);
            ChannelReady_[std::size_t(channel)].store(true);
            kept = 0;
        } else if (fluid_synth_get_channel_preset(Synth_, channel)) {
            int font = 0, bank = 0, program = 0;
            fluid_synth_get_program(Synth_, channel, &font, &bank, &program);
            fluid_synth_program_change(Synth_, channel, program);
        }
    }
    fluid_synth_sfunload(Synth_, old, 0);
    malloc_trim(0);
}

void SoundEngine::keepProgramUntilLoaded(int channel, int program) {
    KeptPrograms_[std::size_t(channel)].store(program + 1);
    if (SoundFontLoaded_.load()) // the loader finished meanwhile and may have missed it
        applyKeptPrograms();
}

void SoundEngine::applyKeptPrograms() {
    std::lock_guard lock(FontMutex_);
    if (const float gain = KeptGain_.exchange(-1.0f); gain >= 0)
        fluid_synth_set_gain(Synth_, gain);
    std::array<int, 16> programs{};
    bool any = false;
    for (int channel = 0; channel < 16; ++channel) {
        programs[std::size_t(channel)] = KeptPrograms_[std::size_t(channel)].exchange(0);
        any = any || programs[std::size_t(channel)] > 0;
    }
    if (!any)
        return;
    if (!FontPresets_.empty()) {
        std::vector<SoundFontPreset> needed = presetsNeeded(programs);
        const bool loaded = std::all_of(needed.begin(), needed.end(), [&](const auto& preset) {
            return std::find(LoadedPresets_.begin(), LoadedPresets_.end(), preset) !=
                   LoadedPresets_.end();
        });
        if (!loaded)
            swapSoundFont(std::move(needed), programs);
    }
    for (int channel = 0; channel < 16; ++channel) {
        if (const int kept = programs[std::size_t(channel)]; kept > 0) {
            fluid_synth_program_change(Synth_, channel, kept - 1);
            ChannelReady_[std::size_t(channel)].store(true);
        }
    }
}

void SoundEngine::readInstrumentInBackground(int channel, int program) {
    KeptPrograms_[std::size_t(channel)].store(program + 1);
    if (ReadingInstruments_.exchange(true))
        return; // the reader at work takes this one too
    if (InstrumentReader_.joinable())
        InstrumentReader_.join(); // it has left its loop and is ending
    InstrumentReader_ = std::thread([this] {
        for (;;) {
            applyKeptPrograms();
            ReadingInstruments_.store(false);
            // A choice kept after the last look is read here, unless the main thread has
            // meanwhile started a reader of its own for it.
            if (!anyProgramKept() || ReadingInstruments_.exchange(true))
                return;
        }
    });
}

bool SoundEngine::anyProgramKept() const {
    for (const std::atomic<int>& kept : KeptPrograms_)
        if (kept.load() > 0)
            return true;
    return false;
}

void SoundEngine::finishReadingInstruments() {
    // The reader leaves no choice behind: one kept after its last look is taken by a reader
    // started for it, or by its own next round.
    if (InstrumentReader_.joinable())
        InstrumentReader_.join();
}

void SoundEngine::readyChannel(int channel) {
    std::atomic<bool>& ready = ChannelReady_[std::size_t(channel & 0x0F)];
    if (ready.load() || !SoundFontLoaded_.load())
        return;
    std::lock_guard lock(FontMutex_);
    // The channel's own program (the drum kit on channel 10), read from the SoundFont now.
    int font = 0, bank = 0, program = 0;
    fluid_synth_get_program(Synth_, channel & 0x0F, &font, &bank, &program);
    fluid_synth_program_change(Synth_, channel & 0x0F, program);
    ready.store(true);
}

void SoundEngine::loadSoundFontInBackground(const QString& path) {
    if (Loader_.joinable())
        Loader_.join();
    Loader_ = std::thread([this, path] { loadSoundFont(path); });
}

bool SoundEngine::waitForSoundFont() {
    if (Loader_.joinable())
        Loader_.join();
    return soundFontLoaded();
}

void SoundEngine::midiShort(std::uint32_t message) {
    const std::uint8_t status = StatusOf(message);
    const int channel = status & 0x0F;
    const int d1 = Data1Of(message) & 0x7F;
    const int d2 = Data2Of(message) & 0x7F;
    if (!SoundFontLoaded_.load()) {
        // Nothing can sound yet, and the synthesizer is busy loading: the choice of instrument
        // is kept, and a note the user plays (on the main thread) waits for the load rather
        // than being lost; the click track's thread never waits.
        if ((status & 0xF0) == 0xC0) {
            keepProgramUntilLoaded(channel, d1);
            return;
        }
        const bool played = (status & 0xF0) == 0x90 && d2 > 0;
        if (!played || std::this_thread::get_id() != MainThread_ || !waitForSoundFont())
            return;
    }
    if (std::this_thread::get_id() == MainThread_) {
        // A new instrument's samples are read from the SoundFont, which can take a tenth of a
        // second: on a thread of their own, so that the window does not wait. The next
        // message from the main thread waits for them instead, so that a note sounds with
        // the instrument chosen before it.
        if ((status & 0xF0) == 0xC0) {
            readInstrumentInBackground(channel, d1);
            return;
        }
        finishReadingInstruments();
    }
    if ((status & 0xF0) == 0x90 && d2 > 0) {
        if (std::this_thread::get_id() == MainThread_)
            readyChannel(channel);
        wakeOnMainThread();
    }
    switch (status & 0xF0) {
    case 0x80:
        fluid_synth_noteoff(Synth_, channel, d1);
        break;
    case 0x90:
        if (d2 == 0)
            fluid_synth_noteoff(Synth_, channel, d1);
        else
            fluid_synth_noteon(Synth_, channel, d1, d2);
        break;
    case 0xA0:
        fluid_synth_key_pressure(Synth_, channel, d1, d2);
        break;
    case 0xB0:
        fluid_synth_cc(Synth_, channel, d1, d2);
        break;
    case 0xC0:
        fluid_synth_program_change(Synth_, channel, d1);
        ChannelReady_[std::size_t(channel)].store(true);
        break;
    case 0xD0:
        fluid_synth_channel_pressure(Synth_, channel, d1);
        break;
    case 0xE0:
        fluid_synth_pitch_bend(Synth_, channel, d1 | d2 << 7);
        break;
    default:
        break;
    }
}

void SoundEngine::midiSysex(const std::uint8_t* data, std::size_t length) {
    if (!SoundFontLoaded_.load())
        return;
    if (std::this_thread::get_id() == MainThread_)
        finishReadingInstruments(); // a reset comes after the instruments chosen before it
    // FluidSynth takes the block without its framing bytes.
    if (length >= 2 && data[0] == 0xF0 && data[length - 1] == 0xF7)
        fluid_synth_sysex(Synth_, reinterpret_cast<const char*>(data + 1), int(length - 2), nullptr,
                          nullptr, nullptr, 0);
}

void SoundEngine::allSoundsOff() {
    fluid_synth_all_sounds_off(Synth_, -1);
}

void SoundEngine::setSynthVolume(double level) {
    const auto gain = static_cast<float>(BaseGain_ * std::clamp(level, 0.0, 1.0));
    if (SoundFontLoaded_.load()) {
        fluid_synth_set_gain(Synth_, gain);
        return;
    }
    KeptGain_.store(gain);
    if (SoundFontLoaded_.load())
        applyKeptPrograms();
}

void SoundEngine::reclaimFinishedVoices() {
    for (WaveVoice& v : Waves_) {
        if (v.State.load(std::memory_order_acquire) == Done) {
            v.Sound = WaveSound{};
            v.State.store(Free, std::memory_order_release);
        }
    }
}

void SoundEngine::playWave(WaveSound sound) {
    wakeOnMainThread();
    reclaimFinishedVoices();
    for (WaveVoice& v : Waves_) {
        if (v.State.load(std::memory_order_acquire) != Free)
            continue;
        v.Sound = std::move(sound);
        v.Position = 0;
        v.State.store(Playing, std::memory_order_release);
        return;
    }
}

void SoundEngine::stopWaves() {
    for (WaveVoice& v : Waves_) {
        int playing = Playing;
        v.State.compare_exchange_strong(playing, StopRequested, std::memory_order_acq_rel);
    }
}

void SoundEngine::setWaveVolume(double level) {
    WaveGain_.store(static_cast<float>(std::clamp(level, 0.0, 1.0)), std::memory_order_relaxed);
}

void SoundEngine::postSpeakerRequest(int hz, std::int64_t frames) {
    SpeakerGeneration_ = (SpeakerGeneration_ + 1) & 0xFFFF;
    const std::uint64_t request = std::uint64_t(SpeakerGeneration_) << 48 |
                                  std::uint64_t(hz & 0xFFFF) << 32 |
                                  std::uint64_t(frames & 0xFFFFFFFF);
    SpeakerRequest_.store(request, std::memory_order_release);
}

void SoundEngine::speakerTone(int hz, int ms) {
    wakeOnMainThread();
    postSpeakerRequest(hz, std::int64_t(ms) * SampleRate_ / 1000);
}

void SoundEngine::speakerOff() {
    postSpeakerRequest(0, 0);
}

bool SoundEngine::anythingSounding() const {
    for (const WaveVoice& v : Waves_)
        if (v.State.load(std::memory_order_acquire) == Playing)
            return true;
    return SoundFontLoaded_.load() && fluid_synth_get_active_voice_count(Synth_) > 0;
}

bool SoundEngine::prepareClickSounds(const std::array<ClickSound, 3>& sounds, int holdMs) {
    finishReadingInstruments();
    for (const ClickSound& sound : sounds)
        readyChannel(sound.Channel);
    if (!SoundFontLoaded_.load())
        return false;
    std::lock_guard lock(FontMutex_); // the loader may still be bringing in an instrument
    return Clicks_->prepare(Synth_, sounds, holdMs);
}

void SoundEngine::forgetClickSounds() {
    Clicks_->forget();
}

void SoundEngine::scheduleClickSound(int sound, std::int64_t frame) {
    Clicks_->schedule(sound, frame);
}

void SoundEngine::noteBlockStart() {
    constexpr std::int64_t kSecond = 1'000'000'000;
    const std::int64_t frame = RenderedFrames_.load(std::memory_order_relaxed);
    const std::int64_t now = SteadyNs();
    const std::int64_t sinceFrameZero =
        frame / SampleRate_ * kSecond + frame % SampleRate_ * kSecond / SampleRate_;
    FrameZeroNs_.store(now - sinceFrameZero, std::memory_order_relaxed);
    BlockNs_.store(now, std::memory_order_relaxed);
}

std::int64_t SoundEngine::framePlayedAt(std::int64_t monotonicNs) const {
    constexpr std::int64_t kSecond = 1'000'000'000;
    const std::int64_t block = BlockNs_.load(std::memory_order_relaxed);
    const std::int64_t elapsed = monotonicNs - block;
    if (block == 0 || elapsed < 0 || elapsed > kStalledBlockNs)
        return renderedFrames();
    const std::int64_t sinceFrameZero = monotonicNs - FrameZeroNs_.load(std::memory_order_relaxed);
    return sinceFrameZero / kSecond * SampleRate_ +
           sinceFrameZero % kSecond * SampleRate_ / kSecond;
}

void SoundEngine::render(float* left, float* right, int frames) {
    noteBlockStart();
    float* fx[4] = {left, right, left, right}; // reverb and chorus mixed into the dry signal
    float* dry[2] = {left, right};
    fluid_synth_process(Synth_, frames, 4, fx, 2, dry);
    mixWaves(left, right, frames);
    mixSpeaker(left, right, frames);
    Clicks_->mix(left, right, frames, RenderedFrames_.load(std::memory_order_relaxed));
    markIfAudible(left, frames);
    RenderedFrames_.fetch_add(frames, std::memory_order_release);
}

void SoundEngine::markIfAudible(const float* left, int frames) {
    constexpr float kAudible = 1e-4f;
    for (int i = 0; i < frames; ++i) {
        if (left[i] > kAudible || left[i] < -kAudible) {
            noteSounding();
            return;
        }
    }
}

void SoundEngine::mixWaves(float* left, float* right, int frames) {
    const float gain = WaveGain_.load(std::memory_order_relaxed);
    for (WaveVoice& v : Waves_) {
        const int state = v.State.load(std::memory_order_acquire);
        if (state == StopRequested) {
            v.State.store(Done, std::memory_order_release);
            continue;
        }
        if (state != Playing)
            continue;
        const std::size_t total = v.Sound.frameCount();
        const float* samples = v.Sound.Frames.data();
        int i = 0;
        for (; i < frames && v.Position < total; ++i, ++v.Position) {
            left[i] += gain * samples[2 * v.Position];
            right[i] += gain * samples[2 * v.Position + 1];
        }
        if (v.Position >= total)
            v.State.store(Done, std::memory_order_release);
    }
}

void SoundEngine::mixSpeaker(float* left, float* right, int frames) {
    const std::uint64_t request = SpeakerRequest_.load(std::memory_order_acquire);
    const auto generation = static_cast<std::uint32_t>(request >> 48);
    if (generation != Speaker_.Generation) {
        Speaker_.Generation = generation;
        const int hz = static_cast<int>((request >> 32) & 0xFFFF);
        Speaker_.FramesLeft = hz > 0 ? static_cast<std::int64_t>(request & 0xFFFFFFFF) : 0;
        Speaker_.Step = double(hz) / SampleRate_;
        Speaker_.Phase = 0;
    }
    for (int i = 0; i < frames && Speaker_.FramesLeft > 0; ++i, --Speaker_.FramesLeft) {
        const float v = Speaker_.Phase < 0.5 ? kSpeakerAmplitude : -kSpeakerAmplitude;
        left[i] += v;
        right[i] += v;
        Speaker_.Phase += Speaker_.Step;
        if (Speaker_.Phase >= 1.0)
            Speaker_.Phase -= 1.0;
    }
}

} // namespace harmik
