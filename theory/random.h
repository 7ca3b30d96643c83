#pragma once
#include <cstdint>
#include <random>

namespace harmik {

// The program's one uniform integer source: random(n) gives 0..n-1. A task seeds it from the
// clock when it starts; tests seed it with a fixed number so that draws repeat.
class Random {
public:
    Random() : engine_(1u) {}
    explicit Random(std::uint32_t seed) : engine_(seed) {}

    void seed(std::uint32_t s) { engine_.seed(s); }

    // 0..n-1; 0 for n <= 1.
    int random(int n) {
        if (n <= 1)
            return 0;
        const std::uint64_t x = engine_();
        return static_cast<int>((x * static_cast<std::uint64_t>(n)) >> 32);
    }

private:
    std::mt19937 engine_;
};

} // namespace harmik
