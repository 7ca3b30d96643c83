#include "input/event_clock.h"

namespace harmik {

namespace {

constexpr std::uint32_t kSameClockWindowMs = 60000;
// A window system that reads a coarser clock may stamp a hair ahead of ours.
constexpr std::uint32_t kAheadToleranceMs = 50;

} // namespace

std::uint32_t EventClock::toClock(qint64 eventMs, std::uint32_t nowMs) {
    if (eventMs <= 0)
        return nowMs;
    const auto stamp = static_cast<std::uint32_t>(eventMs);
    if (nowMs - stamp < kSameClockWindowMs || stamp - nowMs <= kAheadToleranceMs)
        return stamp;
    const std::int64_t offset = static_cast<std::int64_t>(nowMs) - eventMs;
    if (!haveOffset_ || offset < offset_) {
        offset_ = offset;
        haveOffset_ = true;
    }
    return static_cast<std::uint32_t>(eventMs + offset_);
}

} // namespace harmik
