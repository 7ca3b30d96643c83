#pragma once
#include "theory/click_track.h"

#include <QEvent>
#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>

class QObject;

namespace harmik {

class ClickScheduler;
class MidiOutBackend;
class ThreadWaker;

// A report of the click track to the main window: the start of a bar (Bar = 1, 2, ...) or the
// end of a pass (Bar = 0, StartTime = when step 0 of the pass sounded).
class ClickTrackReportEvent : public QEvent {
public:
    static QEvent::Type eventType();
    ClickTrackReportEvent(std::int32_t bar, std::uint32_t startTime)
        : QEvent(eventType()), Bar(bar), StartTime(startTime) {}

    std::int32_t Bar;
    std::uint32_t StartTime;
};

struct SoundSettings;

// Puts the metronome, first-beat and rhythm sounds of the settings into the track (channels
// 0-based, as the track sends them).
void SetClickTrackSounds(ClickTrack& track, const SoundSettings& settings);

// Where the tick sends its reports; called on the click-track thread, must not allocate.
class ClickReportSink {
public:
    virtual ~ClickReportSink() = default;
    virtual void postClickReport(std::int32_t bar, std::uint32_t startTime) = 0;
};

// What the tick remembers between two ticks: the step it sounded last, which the next tick
// silences whatever Step has become since (a wrap, a restart).
struct ClickTickState {
    std::int32_t LastPlayedStep = -1;
};

// Where a tick's sounds go: which is 0 for the click, 1 the accent, 2 the rhythm's note.
class ClickSounds {
public:
    virtual ~ClickSounds() = default;
    virtual void sound(int which, const ClickSound& sound, bool on) = 0;
};

// The tick's sounds handed to an output that places them on their samples: each starts at
// Frame and is held for one step (the scheduler's prepared sounds carry their release).
class SampleClickSounds : public ClickSounds {
public:
    explicit SampleClickSounds(ClickScheduler& scheduler) : Scheduler_(scheduler) {}
    void sound(int which, const ClickSound& sound, bool on) override;
    std::int64_t Frame = 0;

private:
    ClickScheduler& Scheduler_;
};

// One step of the click track: silence the step sounded last, sound step Step (accent on the
// first step of every bar), report bars and the end of a pass, loop by LoopMode. A track that
// does not loop reports its end once and then sends nothing until it is restarted. nowMs is
// when the step is heard, on the monotonic clock.
void ClickTrackTick(ClickTrack& track, ClickTickState& state, ClickSounds& out,
                    ClickReportSink& reports, std::uint32_t nowMs);
// The same, sent to a MIDI output at once.
void ClickTrackTick(ClickTrack& track, ClickTickState& state, MidiOutBackend& out,
                    ClickReportSink& reports, std::uint32_t nowMs);

// Plays a click track on its own thread, which wakes on absolute monotonic deadlines every
// Period ms. An output with a ClickScheduler (the built-in synthesizer) gets each step kLeadMs
// ahead with its exact frame; the step is heard on that frame, and the step's time given to
// the tick (StartTime) is that frame's time on the monotonic clock, a whole millisecond by
// construction: the track's first step is put on a whole millisecond, and the steps follow at
// Period ms = Period * rate / 1000 frames. Any other output gets the step when the thread
// wakes. Reports reach the receiver as ClickTrackReportEvent on the main thread (with the
// scheduled path, about kLeadMs before the step is heard).
class ClickTrackPlayer : private ClickReportSink {
public:
    explicit ClickTrackPlayer(QObject* receiver);
    ~ClickTrackPlayer() override;
    ClickTrackPlayer(const ClickTrackPlayer&) = delete;
    ClickTrackPlayer& operator=(const ClickTrackPlayer&) = delete;

    // Kills a running track first. The track and the output must stay until Kill.
    bool Start(ClickTrack& track, MidiOutBackend& out);
    void Restart(); // the repeat command: play from step 0
    void Kill();
    bool running() const { return Thread_.joinable(); }
    bool realTimePriority() const { return RealTime_; }
    bool sampleExact() const { return Scheduler_ != nullptr; }

    // The time ahead of the audio thread at which a step is handed to a ClickScheduler: the
    // output's buffering and the click-track thread's worst wake-up lateness.
    static constexpr std::int32_t kLeadMs = 30;

private:
    struct Report {
        std::int32_t Bar;
        std::uint32_t StartTime;
    };
    static constexpr std::uint32_t kReportRingSize = 64;

    void postClickReport(std::int32_t bar, std::uint32_t startTime) override;
    void deliverReports();
    void run();
    void tick();
    bool armTimer(std::int64_t firstNs, std::int32_t periodMs);
    std::int64_t placeOnSamples(std::int64_t nowNs); // the first step's whole ms

    QObject* Receiver_;
    ClickTrack* Track_ = nullptr;
    MidiOutBackend* Out_ = nullptr;
    ClickScheduler* Scheduler_ = nullptr; // null: the thread-timed path
    std::int64_t Tick_ = 0;               // click-track thread: ticks since Start
    std::int64_t FirstFrame_ = 0;         // the frame of tick 0 (scheduled path)
    std::uint32_t FirstMs_ = 0;           // when tick 0 is heard (scheduled path)
    int SampleRate_ = 0;
    ClickTickState State_;
    int TimerFd_ = -1;
    int StopFd_ = -1;
    bool RealTime_ = false;
    std::thread Thread_;
    std::array<Report, kReportRingSize> Reports_{};
    std::atomic<std::uint32_t> ReportHead_{0}; // written by the click-track thread
    std::atomic<std::uint32_t> ReportTail_{0}; // written by the main thread
    std::unique_ptr<ThreadWaker> Waker_;
};

} // namespace harmik
