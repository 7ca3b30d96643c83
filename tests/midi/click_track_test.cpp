// The click track: the steps it sounds and silences, its reports, looping, restart and kill.
#include "loopback_support.h"

#include "midi/click_track_player.h"
#include "midi/midi_event.h"
#include "midi/sound_settings.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <atomic>
#include <gtest/gtest.h>

namespace harmik::test {
namespace {

struct Report {
    std::int32_t Bar;
    std::uint32_t StartTime;
    bool operator==(const Report&) const = default;
};

class RecordingReports : public ClickReportSink {
public:
    void postClickReport(std::int32_t bar, std::uint32_t startTime) override {
        Reports.push_back({bar, startTime});
    }
    std::vector<Report> Reports;
};

class ShortLog : public MidiOutBackend {
public:
    void sendShort(std::uint32_t m) override { Messages.push_back(m); }
    void sendLong(const std::uint8_t*, std::size_t) override {}
    void reset() override {}
    void setVolume(std::uint16_t, std::uint16_t) override {}
    std::vector<std::uint32_t> take() { return std::exchange(Messages, {}); }
    std::vector<std::uint32_t> Messages;
};

// 2 bars of 4 steps, clicks on every step, a rhythm note on steps 0, 2 and 5.
void FillTwoBars(ClickTrack& t, std::uint8_t loopMode) {
    t.Click = {9, 42, 80};
    t.Accent = {9, 37, 100};
    t.Rhythm = {9, 38, 90};
    t.StepsPerBar = 4;
    t.StepCount = 7;
    t.Period = 10;
    t.LoopMode = loopMode;
    for (int s = 0; s <= 7; ++s)
        t.Steps[std::size_t(s)] = StepClick;
    for (int s : {0, 2, 5})
        t.Steps[std::size_t(s)] = StepClickAndRhythm;
    t.Step = 0;
}

constexpr std::uint32_t On(std::uint8_t note, std::uint8_t velocity) {
    return PackShortMessage(0x99, note, velocity);
}
constexpr std::uint32_t Off(std::uint8_t note) {
    return PackShortMessage(0x99, note, 0);
}

class ClickTicks : public ::testing::Test {
protected:
    // Runs one tick at the given time and returns what it sent.
    std::vector<std::uint32_t> tick(std::uint32_t now) {
        ClickTrackTick(track, state, out, reports, now);
        return out.take();
    }

    ClickTrack track;
    ClickTickState state;
    ShortLog out;
    RecordingReports reports;
};

TEST_F(ClickTicks, StepsAccentsAndBarReports) {
    FillTwoBars(track, 2);
    EXPECT_EQ(tick(1000), (std::vector<std::uint32_t>{On(37, 100), On(38, 90)})); // accent
    EXPECT_EQ(track.StartTime.load(), 1000u);
    EXPECT_EQ(tick(1010), (std::vector<std::uint32_t>{Off(37), Off(38), On(42, 80)}));
    EXPECT_EQ(tick(1020), (std::vector<std::uint32_t>{Off(42), On(42, 80), On(38, 90)}));
    tick(1030);
    EXPECT_EQ(tick(1040), (std::vector<std::uint32_t>{Off(42), On(37, 100)})); // bar 2
    EXPECT_EQ(reports.Reports, (std::vector<Report>{{1, 0}, {2, 0}}));
}

TEST_F(ClickTicks, SoundsComeFromTheSettingsOnZeroBasedChannels) {
    FillTwoBars(track, 0);
    SoundSettings settings; // click 39 at 80 and first beat 37 at 80 on channel 10
    settings.RhythmChannel = 16;
    SetClickTrackSounds(track, settings);
    EXPECT_EQ(tick(0), (std::vector<std::uint32_t>{On(37, 80), PackShortMessage(0x9F, 38, 90)}));
    EXPECT_EQ(tick(10),
              (std::vector<std::uint32_t>{Off(37), PackShortMessage(0x9F, 38, 0), On(39, 80)}));
}

TEST_F(ClickTicks, LoopModeZeroRepeatsFromStepZero) {
    FillTwoBars(track, 0);
    for (std::uint32_t t = 0; t < 8; ++t)
        tick(2000 + 10 * t);
    EXPECT_EQ(reports.Reports.back(), (Report{0, 2000})) << "end of pass with its start time";
    EXPECT_EQ(track.Step.load(), 0);
    // The wrap releases the last step played before sounding step 0 again.
    EXPECT_EQ(tick(2080), (std::vector<std::uint32_t>{Off(42), On(37, 100), On(38, 90)}));
    EXPECT_EQ(track.StartTime.load(), 2080u);
}

TEST_F(ClickTicks, LoopModeOneRepeatsFromTheSecondBar) {
    FillTwoBars(track, 1);
    for (std::uint32_t t = 0; t < 8; ++t)
        tick(3000 + 10 * t);
    EXPECT_EQ(track.Step.load(), 4) << "after the last step comes step StepsPerBar";
    EXPECT_EQ(track.StartTime.load(), 3070u - 3 * 10);
    reports.Reports.clear();
    // Step 4 sounds its accent, reported as bar 2; step 3 (never played in this pass) is not
    // "released", the last step played (7) is.
    EXPECT_EQ(tick(3080), (std::vector<std::uint32_t>{Off(42), On(37, 100)}));
    EXPECT_EQ(reports.Reports, (std::vector<Report>{{2, 0}}));
}

TEST_F(ClickTicks, WithoutLoopTheEndIsReportedOnceAndThenItIsSilent) {
    FillTwoBars(track, 7);
    for (std::uint32_t t = 0; t < 8; ++t)
        tick(4000 + 10 * t);
    ASSERT_EQ(reports.Reports.back(), (Report{0, 4000}));
    const auto reportsAtEnd = reports.Reports.size();
    EXPECT_EQ(tick(4080), std::vector<std::uint32_t>{Off(42)}) << "the last step is released";
    // A thousand more ticks: nothing sent, nothing reported, the step table never overrun.
    for (int t = 0; t < 1000; ++t)
        EXPECT_TRUE(tick(4090 + 10 * std::uint32_t(t)).empty());
    EXPECT_EQ(reports.Reports.size(), reportsAtEnd);

    track.Step = 0; // the repeat command
    EXPECT_EQ(tick(20000), (std::vector<std::uint32_t>{On(37, 100), On(38, 90)}));
}

TEST_F(ClickTicks, RestartReleasesTheStepPlayedLast) {
    FillTwoBars(track, 0);
    tick(0);
    tick(10);
    tick(20); // step 2: click and rhythm note
    track.Step = 0;
    EXPECT_EQ(tick(30), (std::vector<std::uint32_t>{Off(42), Off(38), On(37, 100), On(38, 90)}));
    EXPECT_EQ(reports.Reports.back(), (Report{1, 0}));
}

TEST_F(ClickTicks, LastStepOfAFullTableStaysInside) {
    FillTwoBars(track, 2);
    track.StepCount = 5000; // more than the table holds: the pass ends at its last entry
    track.Step = ClickTrack::kStepTableSize - 1;
    tick(0);
    EXPECT_EQ(reports.Reports.back().Bar, 0);
    tick(10);
    EXPECT_TRUE(tick(20).empty());
}

class ReportReceiver : public QObject {
public:
    bool event(QEvent* e) override {
        if (e->type() != ClickTrackReportEvent::eventType())
            return QObject::event(e);
        const auto* r = static_cast<ClickTrackReportEvent*>(e);
        Reports.push_back({r->Bar, r->StartTime});
        return true;
    }
    std::vector<Report> Reports;
};

// Waits for the reports to reach the main thread, as the program's event loop would.
bool WaitForReports(ReportReceiver& receiver, std::size_t count) {
    QElapsedTimer clock;
    clock.start();
    while (receiver.Reports.size() < count && clock.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    return receiver.Reports.size() >= count;
}

TEST(ClickTrackThread, PlaysOnItsOwnThreadAndReportsAsEvents) {
    ReportReceiver receiver;
    ClickTrackPlayer player(&receiver);
    LoopbackMidi ports(1, 0);
    auto out = ports.openOutput(0);
    ClickTrack track;
    FillTwoBars(track, 0);
    track.Period = 5;
    ASSERT_TRUE(player.Start(track, *out));
    ASSERT_TRUE(WaitForReports(receiver, 6)); // bar 1, bar 2, end, bar 1, bar 2, end
    EXPECT_EQ(receiver.Reports[0], (Report{1, 0}));
    EXPECT_EQ(receiver.Reports[1], (Report{2, 0}));
    EXPECT_EQ(receiver.Reports[2].Bar, 0);
    EXPECT_EQ(receiver.Reports[5].Bar, 0);
    EXPECT_GT(receiver.Reports[5].StartTime, receiver.Reports[2].StartTime)
        << "each pass reports when its own step 0 sounded";

    player.Kill();
    const auto sentAtKill = ports.Sent.all().size();
    receiver.Reports.clear();
    QCoreApplication::processEvents();
    EXPECT_TRUE(receiver.Reports.empty()) << "a killed track reports nothing more";
    EXPECT_EQ(ports.Sent.all().size(), sentAtKill);
    EXPECT_FALSE(player.running());
}

TEST(ClickTrackThread, RestartPlaysFromStepZeroWhileRunning) {
    ReportReceiver receiver;
    ClickTrackPlayer player(&receiver);
    LoopbackMidi ports(1, 0);
    auto out = ports.openOutput(0);
    ClickTrack track;
    FillTwoBars(track, 5); // no loop: ends after one pass
    track.Period = 3;
    ASSERT_TRUE(player.Start(track, *out));
    ASSERT_TRUE(WaitForReports(receiver, 3));
    EXPECT_EQ(receiver.Reports[2].Bar, 0);
    player.Restart();
    ASSERT_TRUE(WaitForReports(receiver, 6));
    EXPECT_EQ(receiver.Reports[3], (Report{1, 0}));
    EXPECT_EQ(receiver.Reports[5].Bar, 0);
    // Starting again kills the old track first.
    ASSERT_TRUE(player.Start(track, *out));
    player.Kill();
}

// An output with a sample clock that runs with the monotonic clock at 48 kHz, keeping what
// the click track hands it.
class SampleClockOutput : public MidiOutBackend, public ClickScheduler {
public:
    void sendShort(std::uint32_t) override { Sent.fetch_add(1); }
    void sendLong(const std::uint8_t*, std::size_t) override {}
    void reset() override {}
    void setVolume(std::uint16_t, std::uint16_t) override {}
    ClickScheduler* clickScheduler() override { return this; }
    bool prepareClickSounds(const std::array<ClickSound, 3>&, int) override { return true; }
    void forgetClickSounds() override {}
    int clickSampleRate() const override { return 48000; }
    std::int64_t framePlayedAt(std::int64_t ns) const override { return ns * 48 / 1000000; }
    void scheduleClickSound(int sound, std::int64_t frame) override {
        const int n = Count.load();
        if (n < int(Events.size()))
            Events[std::size_t(n)] = {sound, frame};
        Count.store(n + 1);
        Count.notify_all();
    }
    std::array<std::pair<int, std::int64_t>, 64> Events{};
    std::atomic<int> Count{0};
    std::atomic<int> Sent{0};
};

TEST(ClickTrackThread, OnTheSynthesizerEachStepGetsItsFrameAndStartTimeIsThatFramesTime) {
    ClickTrackPlayer player(nullptr);
    SampleClockOutput out;
    ClickTrack track;
    FillTwoBars(track, 2); // one pass: 8 clicks and 3 rhythm notes
    track.Period = 5;
    ASSERT_TRUE(player.Start(track, out));
    EXPECT_TRUE(player.sampleExact());
    for (int n = out.Count.load(); n < 11; n = out.Count.load())
        out.Count.wait(n);
    player.Kill();
    EXPECT_EQ(out.Sent.load(), 0) << "nothing sent at the thread's own time";
    const std::int64_t first = out.Events[0].second;
    EXPECT_EQ(out.Events[0].first, 1) << "the accent on step 0";
    EXPECT_NEAR(double(first), double(track.StartTime.load()) * 48, 1.0)
        << "StartTime is the time of step 0's frame";
    std::vector<std::int64_t> steps;
    for (int i = 0; i < 11; ++i)
        if (out.Events[std::size_t(i)].first != 2)
            steps.push_back(out.Events[std::size_t(i)].second - first);
    EXPECT_EQ(steps, (std::vector<std::int64_t>{0, 240, 480, 720, 960, 1200, 1440, 1680}))
        << "one step period of frames apart";
}

} // namespace
} // namespace harmik::test
