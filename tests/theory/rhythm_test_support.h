#pragma once
#include <initializer_list>
#include <vector>

#include "theory/rhythm_types.h"

namespace harmik::rhythm_test {

// A rhythm from durations; a negative duration is a rest of that length.
inline Rhythm MakeRhythm(std::initializer_list<int> durations) {
    Rhythm r;
    for (int d : durations) {
        RhythmEvent& e = r.Events[static_cast<std::size_t>(r.Count++)];
        e.Duration = static_cast<std::uint8_t>(d < 0 ? -d : d);
        e.Rest = d < 0;
    }
    return r;
}

inline RhythmItemTicks Ticks(std::initializer_list<RhythmItem> items) {
    RhythmItemTicks t{};
    for (RhythmItem i : items)
        t[static_cast<std::size_t>(i)] = true;
    return t;
}

inline int TotalUnits(const Rhythm& r) {
    int sum = 0;
    for (int i = 0; i < r.Count; ++i)
        sum += r.Events[static_cast<std::size_t>(i)].Duration;
    return sum;
}

// Start of every event in units.
inline std::vector<int> Starts(const Rhythm& r) {
    std::vector<int> starts;
    int p = 0;
    for (int i = 0; i < r.Count; ++i) {
        starts.push_back(p);
        p += r.Events[static_cast<std::size_t>(i)].Duration;
    }
    return starts;
}

inline RhythmOptions Options(int metre, int bars, int mode = RhythmImitate) {
    RhythmOptions o;
    o.Metre = static_cast<std::uint8_t>(metre);
    o.Bars = static_cast<std::uint8_t>(bars);
    o.RhythmMode = static_cast<std::uint8_t>(mode);
    return o;
}

} // namespace harmik::rhythm_test
