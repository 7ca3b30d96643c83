#include "midi/click_voices.h"

#include <algorithm>
#include <cmath>
#include <fluidsynth.h>

namespace harmik {

namespace {

constexpr int kBlock = 64; // FluidSynth's own block: a note-on lands on the first frame of one
constexpr float kSilent = 1e-5f;
constexpr double kMaxTailSeconds = 1.5;
constexpr double kSilentTailSeconds = 0.1;

// FluidSynth renders effects into their own buffers; the click is heard with them mixed in.
void RenderBlock(fluid_synth_t* synth, float* left, float* right) {
    std::fill(left, left + kBlock, 0.0f);
    std::fill(right, right + kBlock, 0.0f);
    float* fx[4] = {left, right, left, right};
    float* dry[2] = {left, right};
    fluid_synth_process(synth, kBlock, 4, fx, 2, dry);
}

} // namespace

ClickVoices::ClickVoices(int sampleRate) : SampleRate_(sampleRate) {}

ClickVoices::~ClickVoices() {
    releaseRenderer();
}

void ClickVoices::releaseRenderer() {
    if (!Renderer_)
        return;
    if (SharedFont_) // the live synthesizer owns it
        fluid_synth_remove_sfont(Renderer_, static_cast<fluid_sfont_t*>(SharedFont_));
    delete_fluid_synth(Renderer_);
    Renderer_ = nullptr;
    SharedFont_ = nullptr;
}

bool ClickVoices::ensureRenderer(fluid_synth_t* synth) {
    fluid_sfont_t* font = fluid_synth_get_sfont(synth, 0);
    if (!font)
        return false;
    if (Renderer_ && SharedFont_ == font)
        return true;
    releaseRenderer();
    Renderer_ = new_fluid_synth(fluid_synth_get_settings(synth));
    if (!Renderer_)
        return false;
    // Lent, not loaded again: the samples the live synthesizer has are used as they are.
    if (fluid_synth_add_sfont(Renderer_, font) == FLUID_FAILED) {
        releaseRenderer();
        return false;
    }
    SharedFont_ = font;
    return true;
}

void ClickVoices::copyChannel(fluid_synth_t* synth, int channel) {
    int fontId = 0, bank = 0, program = 0;
    if (fluid_synth_get_program(synth, channel, &fontId, &bank, &program) == FLUID_OK)
        fluid_synth_program_select(Renderer_, channel,
                                   fluid_sfont_get_id(static_cast<fluid_sfont_t*>(SharedFont_)),
                                   bank, program);
    for (int controller : {7, 10, 11, 91, 93}) {
        int value = 0;
        if (fluid_synth_get_cc(synth, channel, controller, &value) == FLUID_OK)
            fluid_synth_cc(Renderer_, channel, controller, value);
    }
}

void ClickVoices::renderSound(const ClickSound& sound, int holdFrames, WaveSound& out) {
    const int maxFrames = int(kMaxTailSeconds * SampleRate_) + holdFrames;
    const int silentRun = int(kSilentTailSeconds * SampleRate_);
    out.Frames.clear();
    out.Frames.reserve(std::size_t(maxFrames + kBlock) * 2);
    float left[kBlock];
    float right[kBlock];
    fluid_synth_all_sounds_off(Renderer_, -1);
    fluid_synth_noteon(Renderer_, sound.Channel, sound.Note, sound.Velocity);
    int lastAudible = 0;
    for (int at = 0; at < maxFrames; at += kBlock) {
        if (at >= holdFrames && at < holdFrames + kBlock)
            fluid_synth_noteoff(Renderer_, sound.Channel, sound.Note);
        RenderBlock(Renderer_, left, right);
        for (int i = 0; i < kBlock; ++i) {
            out.Frames.push_back(left[i]);
            out.Frames.push_back(right[i]);
            if (std::abs(left[i]) > kSilent || std::abs(right[i]) > kSilent)
                lastAudible = at + i + 1;
        }
        if (at > holdFrames && at - lastAudible > silentRun)
            break;
    }
    out.Frames.resize(std::size_t(lastAudible) * 2);
    out.Frames.shrink_to_fit();
}

bool ClickVoices::prepare(fluid_synth_t* synth, const std::array<ClickSound, kSounds>& sounds,
                          int holdMs) {
    forget();
    reclaimSets();
    const auto free = std::find_if(Sets_.begin(), Sets_.end(),
                                   [](const SoundSet& s) { return s.State.load() == Free; });
    if (free == Sets_.end() || !ensureRenderer(synth))
        return false;
    // The synthesizer's output is proportional to its gain: the sounds are rendered at the
    // renderer's own and scaled to the live one.
    const float gain = fluid_synth_get_gain(synth) / fluid_synth_get_gain(Renderer_);
    const int holdFrames = int(std::int64_t(std::max(holdMs, 0)) * SampleRate_ / 1000);
    for (int i = 0; i < kSounds; ++i) {
        copyChannel(synth, sounds[std::size_t(i)].Channel & 0x0F);
        WaveSound& sound = free->Sounds[std::size_t(i)];
        renderSound(sounds[std::size_t(i)], holdFrames, sound);
        for (float& sample : sound.Frames)
            sample *= gain;
    }
    free->Generation = ++Generation_;
    Current_ = int(free - Sets_.begin());
    ScheduleSet_.store(std::uint32_t(Current_), std::memory_order_relaxed);
    ScheduleGeneration_.store(free->Generation, std::memory_order_relaxed);
    free->State.store(Ready, std::memory_order_release);
    return true;
}

void ClickVoices::forget() {
    if (Current_ >= 0)
        Sets_[std::size_t(Current_)].State.store(Retiring, std::memory_order_release);
    Current_ = -1;
}

void ClickVoices::reclaimSets() {
    for (SoundSet& set : Sets_) {
        if (set.State.load(std::memory_order_acquire) != Done)
            continue;
        for (WaveSound& sound : set.Sounds)
            sound = WaveSound{};
        set.State.store(Free, std::memory_order_release);
    }
}

void ClickVoices::schedule(int sound, std::int64_t frame) {
    const std::uint32_t head = QueueHead_.load(std::memory_order_relaxed);
    if (head - QueueTail_.load(std::memory_order_acquire) >= kQueueSize)
        return; // the audio thread has stopped taking them: nothing would be heard anyway
    Queue_[head % kQueueSize] =
        Scheduled{frame, ScheduleGeneration_.load(std::memory_order_relaxed),
                  std::uint8_t(ScheduleSet_.load(std::memory_order_relaxed)), std::uint8_t(sound)};
    QueueHead_.store(head + 1, std::memory_order_release);
}

void ClickVoices::retireSets() {
    for (std::size_t s = 0; s < Sets_.size(); ++s) {
        if (Sets_[s].State.load(std::memory_order_acquire) != Retiring)
            continue;
        for (Voice& v : Voices_)
            if (v.Set == int(s))
                v = Voice{};
        Sets_[s].State.store(Done, std::memory_order_release);
    }
}

void ClickVoices::startVoice(const Scheduled& event, std::int64_t firstFrame) {
    const SoundSet& set = Sets_[event.Set % Sets_.size()];
    if (set.State.load(std::memory_order_acquire) != Ready || set.Generation != event.Generation ||
        event.Sound >= kSounds)
        return; // a track that has been stopped since
    const WaveSound& sound = set.Sounds[event.Sound];
    if (sound.frameCount() == 0)
        return;
    // A free voice, or else the one that has sounded longest (deep in its tail).
    Voice* voice = &Voices_[0];
    for (Voice& v : Voices_) {
        if (!v.Sound) {
            voice = &v;
            break;
        }
        if (v.Position > voice->Position)
            voice = &v;
    }
    voice->Sound = &sound;
    voice->Set = event.Set;
    voice->Position = 0;
    voice->Offset = int(std::max<std::int64_t>(event.Frame - firstFrame, 0));
}

void ClickVoices::startDueVoices(int frames, std::int64_t firstFrame) {
    const std::uint32_t head = QueueHead_.load(std::memory_order_acquire);
    std::uint32_t tail = QueueTail_.load(std::memory_order_relaxed);
    for (; tail != head; ++tail) {
        const Scheduled& event = Queue_[tail % kQueueSize];
        const SoundSet& set = Sets_[event.Set % Sets_.size()];
        const bool live = set.State.load(std::memory_order_acquire) == Ready &&
                          set.Generation == event.Generation;
        if (live && event.Frame >= firstFrame + frames)
            break; // due in a later block
        if (live)
            startVoice(event, firstFrame);
    }
    QueueTail_.store(tail, std::memory_order_release);
}

void ClickVoices::mix(float* left, float* right, int frames, std::int64_t firstFrame) {
    retireSets();
    startDueVoices(frames, firstFrame);
    for (Voice& v : Voices_) {
        if (!v.Sound)
            continue;
        const float* samples = v.Sound->Frames.data();
        const std::size_t total = v.Sound->frameCount();
        for (int i = v.Offset; i < frames && v.Position < total; ++i, ++v.Position) {
            left[i] += samples[2 * v.Position];
            right[i] += samples[2 * v.Position + 1];
        }
        v.Offset = 0;
        if (v.Position >= total)
            v = Voice{};
    }
}

} // namespace harmik
