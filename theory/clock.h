#pragma once
#include <chrono>
#include <cstdint>

namespace harmik {

// The program's one monotonic millisecond clock: click track, rhythm taps and the practice
// clock all read it, so their times can be compared.
inline std::uint32_t MonotonicMs() {
    using namespace std::chrono;
    return static_cast<std::uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

} // namespace harmik
