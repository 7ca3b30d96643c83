#pragma once
// What a listener hears of a queue: the note-ons and releases in the order the playback timer
// sends them (by tick, and within a tick in queue order).
#include "theory/note_queue.h"

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

} // namespace harmik::test
