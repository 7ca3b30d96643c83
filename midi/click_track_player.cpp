#include "midi/click_track_player.h"

#include "midi/midi_backend.h"
#include "midi/midi_event.h"
#include "midi/sound_settings.h"
#include "midi/thread_waker.h"
#include "theory/clock.h"

#include <QCoreApplication>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <ctime>
#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <sys/timerfd.h>
#include <unistd.h>

namespace harmik {

namespace {

constexpr int kClickThreadPriority = 50;
constexpr std::uint64_t kMaxCatchUp = 64;

int StepsPerBarOf(const ClickTrack& track) {
    return track.StepsPerBar > 0 ? track.StepsPerBar : 1;
}

// Sounds (or silences, with on = false) the sounds of one step.
void SoundStep(const ClickTrack& track, ClickSounds& out, std::int32_t step, bool on) {
    const std::uint8_t code = track.Steps[std::size_t(step)];
    const bool accent = step % StepsPerBarOf(track) == 0;
    if (code == StepClick || code == StepClickAndRhythm)
        out.sound(accent ? 1 : 0, accent ? track.Accent : track.Click, on);
    if (code == StepRhythm || code == StepClickAndRhythm)
        out.sound(2, track.Rhythm, on);
}

class MidiClickSounds : public ClickSounds {
public:
    explicit MidiClickSounds(MidiOutBackend& out) : Out_(out) {}
    void sound(int, const ClickSound& sound, bool on) override {
        Out_.sendShort(PackShortMessage(std::uint8_t(0x90 + (sound.Channel & 0x0F)), sound.Note,
                                        on ? sound.Velocity : 0));
    }

private:
    MidiOutBackend& Out_;
};

std::int64_t SteadyNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The last step a pass may reach: StepCount, within the step table.
std::int32_t LastStepOf(const ClickTrack& track) {
    return std::min<std::int32_t>(track.StepCount, ClickTrack::kStepTableSize - 1);
}

timespec ToTimespec(std::int64_t ns) {
    return timespec{static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
}

} // namespace

void SetClickTrackSounds(ClickTrack& track, const SoundSettings& settings) {
    auto sound = [](std::int32_t channel, std::int32_t note, std::int32_t velocity) {
        return ClickSound{std::uint8_t((channel - 1) & 0x0F), std::uint8_t(note & 0x7F),
                          std::uint8_t(velocity & 0x7F)};
    };
    track.Click = sound(settings.ClickChannel, settings.ClickSound, settings.ClickVolume);
    track.Accent = sound(settings.ClickChannel, settings.FirstBeatSound, settings.FirstBeatVolume);
    track.Rhythm = sound(settings.RhythmChannel, settings.RhythmSound, settings.RhythmVolume);
}

QEvent::Type ClickTrackReportEvent::eventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void SampleClickSounds::sound(int which, const ClickSound&, bool on) {
    // The prepared sound holds its note for one step and then releases it.
    if (on)
        Scheduler_.scheduleClickSound(which, Frame);
}

void ClickTrackTick(ClickTrack& track, ClickTickState& state, MidiOutBackend& out,
                    ClickReportSink& reports, std::uint32_t nowMs) {
    MidiClickSounds sounds(out);
    ClickTrackTick(track, state, sounds, reports, nowMs);
}

void ClickTrackTick(ClickTrack& track, ClickTickState& state, ClickSounds& out,
                    ClickReportSink& reports, std::uint32_t nowMs) {
    if (state.LastPlayedStep >= 0) {
        SoundStep(track, out, state.LastPlayedStep, false);
        state.LastPlayedStep = -1;
    }
    std::int32_t step = track.Step.load(std::memory_order_acquire);
    if (step < 0 || step > LastStepOf(track))
        return; // a pass without repeat has ended: silent until restarted
    SoundStep(track, out, step, true);
    state.LastPlayedStep = step;
    if (step == 0)
        track.StartTime.store(nowMs, std::memory_order_relaxed);

    const int stepsPerBar = StepsPerBarOf(track);
    std::int32_t next = step;
    if (step >= LastStepOf(track)) {
        reports.postClickReport(0, track.StartTime.load(std::memory_order_relaxed));
        if (track.LoopMode == 0) {
            next = -1;
        } else if (track.LoopMode == 1) {
            next = stepsPerBar - 1;
            track.StartTime.store(nowMs - std::uint32_t((stepsPerBar - 1) * track.Period),
                                  std::memory_order_relaxed);
        }
    } else if (step % stepsPerBar == 0) {
        reports.postClickReport(step / stepsPerBar + 1, 0);
    }
    // A restart stored while this tick ran wins over the step computed here.
    track.Step.compare_exchange_strong(step, next + 1, std::memory_order_acq_rel);
}

ClickTrackPlayer::ClickTrackPlayer(QObject* receiver) : Receiver_(receiver) {
    Waker_ = std::make_unique<ThreadWaker>([this] { deliverReports(); });
    TimerFd_ = timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC);
    StopFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
}

ClickTrackPlayer::~ClickTrackPlayer() {
    Kill();
    if (TimerFd_ >= 0)
        close(TimerFd_);
    if (StopFd_ >= 0)
        close(StopFd_);
}

bool ClickTrackPlayer::armTimer(std::int64_t firstNs, std::int32_t periodMs) {
    const std::int64_t periodNs = std::int64_t(periodMs) * 1000000;
    itimerspec deadlines{};
    deadlines.it_value = ToTimespec(firstNs);
    deadlines.it_interval = ToTimespec(periodNs);
    return timerfd_settime(TimerFd_, TFD_TIMER_ABSTIME, &deadlines, nullptr) == 0;
}

bool ClickTrackPlayer::Start(ClickTrack& track, MidiOutBackend& out) {
    Kill();
    if (TimerFd_ < 0 || StopFd_ < 0 || track.Period <= 0)
        return false;
    Track_ = &track;
    Out_ = &out;
    State_ = ClickTickState{};
    Tick_ = 0;
    Scheduler_ = out.clickScheduler();
    if (Scheduler_ &&
        !Scheduler_->prepareClickSounds({track.Click, track.Accent, track.Rhythm}, track.Period))
        Scheduler_ = nullptr;
    const std::int64_t nowNs = SteadyNs();
    const std::int64_t periodNs = std::int64_t(track.Period) * 1000000;
    std::int64_t firstNs = nowNs + periodNs;
    if (Scheduler_)
        firstNs = placeOnSamples(nowNs) * 1000000 - std::int64_t(kLeadMs) * 1000000 + periodNs;
    if (!armTimer(firstNs, track.Period)) {
        Kill();
        return false;
    }
    Thread_ = std::thread([this] { run(); });
    sched_param param{};
    param.sched_priority = kClickThreadPriority;
    RealTime_ = pthread_setschedparam(Thread_.native_handle(), SCHED_FIFO, &param) == 0;
    return true;
}

std::int64_t ClickTrackPlayer::placeOnSamples(std::int64_t nowNs) {
    SampleRate_ = Scheduler_->clickSampleRate();
    const std::int64_t firstMs = (nowNs + std::int64_t(kLeadMs) * 1000000 + 999999) / 1000000;
    FirstMs_ = std::uint32_t(firstMs); // the monotonic ms clock wraps the same way
    FirstFrame_ =
        Scheduler_->framePlayedAt(nowNs) + (firstMs * 1000000 - nowNs) * SampleRate_ / 1000000000;
    return firstMs;
}

void ClickTrackPlayer::tick() {
    ++Tick_;
    if (!Scheduler_) {
        ClickTrackTick(*Track_, State_, *Out_, *this, MonotonicMs());
        return;
    }
    SampleClickSounds sounds(*Scheduler_);
    const std::int64_t elapsedMs = Tick_ * Track_->Period;
    sounds.Frame = FirstFrame_ + elapsedMs * SampleRate_ / 1000;
    ClickTrackTick(*Track_, State_, sounds, *this, FirstMs_ + std::uint32_t(elapsedMs));
}

void ClickTrackPlayer::Restart() {
    if (Track_)
        Track_->Step.store(0, std::memory_order_release);
}

void ClickTrackPlayer::Kill() {
    if (Thread_.joinable()) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = write(StopFd_, &one, sizeof one);
        Thread_.join();
        std::uint64_t drained = 0;
        [[maybe_unused]] const ssize_t got = read(StopFd_, &drained, sizeof drained);
    }
    if (Scheduler_)
        Scheduler_->forgetClickSounds();
    Scheduler_ = nullptr;
    const itimerspec off{};
    timerfd_settime(TimerFd_, 0, &off, nullptr);
    // Reports of the killed track are no longer of interest.
    ReportTail_.store(ReportHead_.load(std::memory_order_acquire), std::memory_order_release);
    Track_ = nullptr;
    Out_ = nullptr;
}

void ClickTrackPlayer::run() {
    pollfd fds[2] = {{TimerFd_, POLLIN, 0}, {StopFd_, POLLIN, 0}};
    for (;;) {
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (fds[1].revents != 0)
            return;
        if (fds[0].revents & POLLIN) {
            std::uint64_t expirations = 0;
            if (read(TimerFd_, &expirations, sizeof expirations) <= 0)
                continue;
            // After a stall, the missed steps are played at once, so that every later step
            // keeps its place in time (the rhythm is judged against StartTime).
            const std::uint64_t played = std::min<std::uint64_t>(expirations, kMaxCatchUp);
            Tick_ += std::int64_t(expirations - played);
            for (std::uint64_t i = 0; i < played; ++i)
                tick();
        }
    }
}

void ClickTrackPlayer::postClickReport(std::int32_t bar, std::uint32_t startTime) {
    const std::uint32_t head = ReportHead_.load(std::memory_order_relaxed);
    if (head - ReportTail_.load(std::memory_order_acquire) >= kReportRingSize)
        return; // the main thread is far behind; the report is lost
    Reports_[head % kReportRingSize] = Report{bar, startTime};
    ReportHead_.store(head + 1, std::memory_order_release);
    Waker_->notify();
}

void ClickTrackPlayer::deliverReports() {
    const std::uint32_t head = ReportHead_.load(std::memory_order_acquire);
    for (std::uint32_t tail = ReportTail_.load(std::memory_order_relaxed); tail != head; ++tail) {
        const Report r = Reports_[tail % kReportRingSize];
        ReportTail_.store(tail + 1, std::memory_order_release);
        if (Receiver_)
            QCoreApplication::postEvent(Receiver_, new ClickTrackReportEvent(r.Bar, r.StartTime));
    }
}

} // namespace harmik
