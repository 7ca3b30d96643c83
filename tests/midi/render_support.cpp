#include "render_support.h"

#include "midi/sound_engine.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace harmik::test {

std::vector<float> Render(SoundEngine& engine, double seconds) {
    constexpr int kBlock = 64;
    const auto frames = static_cast<std::size_t>(seconds * engine.sampleRate());
    std::vector<float> left(frames + kBlock, 0.0f);
    std::vector<float> right(kBlock);
    for (std::size_t at = 0; at < frames; at += kBlock) {
        std::fill(right.begin(), right.end(), 0.0f);
        engine.render(left.data() + at, right.data(), kBlock);
    }
    left.resize(frames);
    return left;
}

double Rms(const std::vector<float>& s, std::size_t from, std::size_t to) {
    if (to == 0 || to > s.size())
        to = s.size();
    if (from >= to)
        return 0;
    double sum = 0;
    for (std::size_t i = from; i < to; ++i)
        sum += double(s[i]) * s[i];
    return std::sqrt(sum / double(to - from));
}

float Peak(const std::vector<float>& s) {
    float peak = 0;
    for (float v : s)
        peak = std::max(peak, std::abs(v));
    return peak;
}

double FundamentalHz(const std::vector<float>& s, int sampleRate, std::size_t from,
                     std::size_t length) {
    const std::size_t n = std::min(length, s.size() - from);
    const float* x = s.data() + from;
    auto correlation = [&](std::size_t lag) {
        double sum = 0;
        for (std::size_t i = 0; i + lag < n; ++i)
            sum += double(x[i]) * x[i + lag];
        return sum / double(n - lag);
    };
    const double energy = correlation(0);
    if (energy < 1e-10)
        return 0;
    // Lags for 60..2000 Hz; the first lag whose correlation comes near the best one is the
    // period (later peaks are its multiples).
    const auto minLag = std::size_t(sampleRate / 2000);
    const auto maxLag = std::size_t(sampleRate / 60);
    std::vector<double> r(maxLag + 2);
    double best = 0;
    for (std::size_t lag = minLag; lag <= maxLag + 1; ++lag) {
        r[lag] = correlation(lag);
        best = std::max(best, r[lag]);
    }
    for (std::size_t lag = minLag + 1; lag <= maxLag; ++lag) {
        if (r[lag] >= 0.9 * best && r[lag] >= r[lag - 1] && r[lag] >= r[lag + 1]) {
            const double a = r[lag - 1], b = r[lag], c = r[lag + 1];
            const double denom = a - 2 * b + c;
            const double shift = denom != 0 ? 0.5 * (a - c) / denom : 0;
            return sampleRate / (double(lag) + shift);
        }
    }
    return 0;
}

double SpectralPeakHz(const std::vector<float>& s, int sampleRate, std::size_t from,
                      std::size_t length, double lowHz, double highHz) {
    const std::size_t n = std::min(length, s.size() - from);
    std::vector<double> windowed(n);
    for (std::size_t i = 0; i < n; ++i)
        windowed[i] =
            s[from + i] * (0.5 - 0.5 * std::cos(2 * std::numbers::pi * double(i) / double(n - 1)));
    double bestHz = 0;
    double bestPower = 0;
    for (double hz = lowHz; hz <= highHz; hz += 0.1) {
        // Goertzel: the power of one frequency.
        const double w = 2 * std::numbers::pi * hz / sampleRate;
        const double coeff = 2 * std::cos(w);
        double s1 = 0, s2 = 0;
        for (double x : windowed) {
            const double s0 = x + coeff * s1 - s2;
            s2 = s1;
            s1 = s0;
        }
        const double power = s1 * s1 + s2 * s2 - coeff * s1 * s2;
        if (power > bestPower) {
            bestPower = power;
            bestHz = hz;
        }
    }
    return bestHz;
}

QString TestDataDir() {
    const QString fromEnvironment = qEnvironmentVariable("HARMIK_TEST_DATA_DIR");
    return fromEnvironment.isEmpty() ? QStringLiteral(HARMIK_BUILD_DATA_DIR) : fromEnvironment;
}

QString TestSoundFont() {
    return FindGeneralMidiSoundFont();
}

} // namespace harmik::test
