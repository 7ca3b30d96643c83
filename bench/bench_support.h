#pragma once
// MIDI devices for the benchmarks: one output that only counts what it is sent (and may note
// when each note starts).
#include "app/main_window.h"
#include "midi/midi_backend.h"
#include "userdata/messages.h"

#include <QApplication>
#include <QDir>
#include <QString>

#include <benchmark/benchmark.h>

#include <array>
#include <atomic>
#include <chrono>
#include <memory>
#include <string>

namespace harmik::bench {

// When notes start on an output: filled from the thread that sends, read after it stopped.
struct OnsetLog {
    std::array<std::chrono::steady_clock::time_point, 1024> At{};
    std::atomic<int> Count{0};
    void note(std::uint32_t message) {
        const bool noteOn = (message & 0xF0) == 0x90 && ((message >> 16) & 0x7F) > 0;
        const int n = Count.load(std::memory_order_relaxed);
        if (noteOn && n < static_cast<int>(At.size())) {
            At[static_cast<std::size_t>(n)] = std::chrono::steady_clock::now();
            Count.store(n + 1, std::memory_order_release);
        }
    }
};

// An output that only counts what it is sent.
class CountingOutput : public MidiOutBackend {
public:
    CountingOutput(std::atomic<long>& sent, OnsetLog* onsets) : sent_(sent), onsets_(onsets) {}
    void sendShort(std::uint32_t message) override {
        sent_.fetch_add(1, std::memory_order_relaxed);
        if (onsets_ != nullptr)
            onsets_->note(message);
    }
    void sendLong(const std::uint8_t*, std::size_t) override {}
    void reset() override {}
    void setVolume(std::uint16_t, std::uint16_t) override {}

private:
    std::atomic<long>& sent_;
    OnsetLog* onsets_;
};

// An input port the benchmark plays into from its own thread, as a driver would.
class FeedablePort : public MidiInPort {
public:
    explicit FeedablePort(std::atomic<MidiInSink*>& sink, MidiInSink& me) : sink_(sink) {
        sink_.store(&me);
    }
    ~FeedablePort() override { sink_.store(nullptr); }

private:
    std::atomic<MidiInSink*>& sink_;
};

class CountingMidi : public MidiSystem {
public:
    explicit CountingMidi(bool withInput = false) : withInput_(withInput) {}
    int outputPortCount() override { return 0; }
    bool builtInSynthAvailable() override { return true; }
    std::string outputName(int) override { return "counting output"; }
    std::unique_ptr<MidiOutBackend> openOutput(int) override {
        return std::make_unique<CountingOutput>(sent, onsets);
    }
    int inputPortCount() override { return withInput_ ? 1 : 0; }
    std::string inputName(int) override { return "keyboard"; }
    std::unique_ptr<MidiInPort> openInput(int, MidiInSink& sink) override {
        return std::make_unique<FeedablePort>(input, sink);
    }
    // Plays bytes into the open input; false when it is closed.
    bool feed(const std::uint8_t* bytes, std::size_t length) {
        MidiInSink* sink = input.load();
        if (sink == nullptr)
            return false;
        sink->MidiDriverCallback(bytes, length);
        return true;
    }
    std::atomic<long> sent{0};
    OnsetLog* onsets = nullptr; // set before the window opens its devices
    std::atomic<MidiInSink*> input{nullptr};

private:
    bool withInput_;
};

// A main window set-up on these devices, without an audio output, working in `folder`, with
// every message answered at once.
inline TForm1Setup QuietWindowSetup(CountingMidi& midi, const QString& folder) {
    QDir::setCurrent(folder);
    SetMessageHook([](const MessageRequest&) { return MessageAnswer::No; });
    TForm1Setup setup;
    setup.bitsPerPixel = 24;
    setup.sound.OpenAudio = false;
    setup.sound.Midi = &midi;
    setup.sound.SoundFontFolders = {folder};
    return setup;
}

// The main of a benchmark program that needs the window system: the offscreen platform.
inline int RunBenchmarksWithWidgets(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace harmik::bench
