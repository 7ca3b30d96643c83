#pragma once
// What a listener hears of a queue: the note-ons and releases in the order the playback timer
// sends them (by tick, and within a tick in queue order).
#include "theory/note_queue.h"

#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <vector>

namespace harmik::test {

struct Heard {
    int Tick;
    int Note;
    bool On;
    bool operator==(const Heard&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const Heard& h) {
    return os << (h.On ? "on " : "off ") << h.Note << "@" << h.Tick;
}

inline std::vector<Heard> heard(const NoteQueue& q) {
    std::vector<Heard> out;
    for (int tick = 1; tick <= q.LastTick; ++tick)
        for (int i = 0; i < q.Count; ++i) {
            const NoteEvent& e = q.Events[static_cast<std::size_t>(i)];
            if (e.Tick == tick)
                out.push_back({e.Tick, e.Note, e.Velocity > 0});
        }
    return out;
}

// The queue fits the events the timer plays, every event is played, and every note-on is
// released once at a later tick. A note is struck again only after its release, unless
// `maxSounding` allows a unison of that many.
inline testing::AssertionResult releasesEveryNote(const NoteQueue& q, int maxSounding = 1) {
    if (q.Count > NoteQueue::kPlayable)
        return testing::AssertionFailure() << q.Count << " events, more than the timer plays";
    const std::vector<Heard> events = heard(q);
    if (events.size() != static_cast<std::size_t>(q.Count))
        return testing::AssertionFailure() << "an event lies outside the played ticks";
    std::map<int, std::vector<int>> struckAt;
    for (const Heard& h : events) {
        std::vector<int>& ticks = struckAt[h.Note];
        if (h.On && static_cast<int>(ticks.size()) >= maxSounding)
            return testing::AssertionFailure() << h << " struck while sounding";
        if (!h.On && (ticks.empty() || ticks.front() >= h.Tick))
            return testing::AssertionFailure() << h << " released while silent or at its onset";
        if (h.On)
            ticks.push_back(h.Tick);
        else
            ticks.erase(ticks.begin());
    }
    for (const auto& [note, ticks] : struckAt)
        if (!ticks.empty())
            return testing::AssertionFailure() << "note " << note << " left sounding";
    return testing::AssertionSuccess();
}

} // namespace harmik::test
