#pragma once
#include <QtGlobal>
#include <cstdint>

// Brings the time stamp of an input event (a key, a mouse press) onto the program's monotonic
// millisecond clock, so that a rhythm tap is timed when it happened and not when the main
// thread got round to it.
namespace harmik {

class EventClock {
public:
    // The clock time of an event stamped `eventMs` that is handled at `nowMs`. The window
    // system stamps events on the same monotonic clock as the program (X11 and Wayland do):
    // such a stamp, under a minute old (or a few ms ahead), is taken as it is. A stamp of
    // another clock is moved by the smallest offset seen between the two clocks (the event
    // delivered with the least delay); an event without a stamp is taken as now.
    std::uint32_t toClock(qint64 eventMs, std::uint32_t nowMs);

private:
    bool haveOffset_ = false;
    std::int64_t offset_ = 0; // clock minus stamp
};

} // namespace harmik
