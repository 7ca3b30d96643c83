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

// One step of the click track: silence the step sounded last, sound step Step (accent on the
// first step of every bar), report bars and the end of a pass, loop by LoopMode. A track that
// does not loop reports its end once and then sends nothing until it is restarted.
void ClickTrackTick(ClickTrack& track, ClickTickState& state, MidiOutBackend& out,
                    ClickReportSink& reports, std::uint32_t nowMs);

// Plays a click track on its own thread, which wakes on absolute monotonic deadlines every
// Period ms and sends straight to the output. Reports reach the receiver as
// ClickTrackReportEvent on the main thread.
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

private:
    struct Report {
        std::int32_t Bar;
        std::uint32_t StartTime;
    };
    static constexpr std::uint32_t kReportRingSize = 64;

    void postClickReport(std::int32_t bar, std::uint32_t startTime) override;
    void deliverReports();
    void run();
    bool armTimer(std::int32_t periodMs);

    QObject* Receiver_;
    ClickTrack* Track_ = nullptr;
    MidiOutBackend* Out_ = nullptr;
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
