// Renders the sounds the program ships: the answer feedback sounds right1..10 and wrong1..10,
// the tuning fork's A (440 Hz) and the start music. Usage: make_sounds <output folder>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <sndfile.h>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 44100;

struct Tone {
    double Start;  // seconds
    double Length; // seconds
    double Hz;
    double Level;  // peak amplitude
    double Decay;  // 1/s of the exponential fade
    int Harmonics; // 1 = pure sine
};

double MidiHz(int note) {
    return 440.0 * std::pow(2.0, (note - 69) / 12.0);
}

// A plucked or bell-like tone: a few harmonics falling off, a short attack, an exponential fade
// and a short release at the end so that nothing clicks.
void AddTone(std::vector<float>& out, const Tone& t) {
    const auto first = static_cast<std::size_t>(t.Start * kRate);
    const auto count = static_cast<std::size_t>(t.Length * kRate);
    if (out.size() < first + count)
        out.resize(first + count, 0.0f);
    for (std::size_t i = 0; i < count; ++i) {
        const double time = double(i) / kRate;
        const double attack = std::min(1.0, time / 0.005);
        const double release = std::min(1.0, (t.Length - time) / 0.02);
        const double envelope = t.Level * attack * release * std::exp(-t.Decay * time);
        double v = 0;
        for (int h = 1; h <= t.Harmonics; ++h)
            v += std::sin(2 * std::numbers::pi * t.Hz * h * time) / (h * h);
        out[first + i] += static_cast<float>(envelope * v);
    }
}

bool WriteWave(const std::string& path, const std::vector<float>& samples) {
    SF_INFO info{};
    info.samplerate = kRate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file)
        return false;
    sf_write_float(file, samples.data(), sf_count_t(samples.size()));
    sf_close(file);
    return true;
}

// Right answers: short rising figures, each a little different (root and pattern).
std::vector<float> RightSound(int n) {
    static const int kPatterns[5][3] = {{0, 4, 7}, {0, 7, 12}, {0, 4, 12}, {7, 12, 16}, {0, 5, 9}};
    const int root = 72 + (n % 3) * 2;
    const int* steps = kPatterns[(n - 1) % 5];
    const double gap = n <= 5 ? 0.07 : 0.0; // 6..10 sound as a chord
    std::vector<float> out;
    for (int i = 0; i < 3; ++i)
        AddTone(out, {i * gap, 0.45 - i * gap, MidiHz(root + steps[i]), 0.25, 6.0, 3});
    return out;
}

// Wrong answers: low falling seconds and dull clusters.
std::vector<float> WrongSound(int n) {
    const int root = 52 - (n % 4);
    std::vector<float> out;
    if (n <= 5) {
        AddTone(out, {0.0, 0.18, MidiHz(root + 1), 0.35, 8.0, 5});
        AddTone(out, {0.16, 0.3, MidiHz(root), 0.35, 8.0, 5});
    } else {
        AddTone(out, {0.0, 0.35, MidiHz(root), 0.3, 7.0, 6});
        AddTone(out, {0.0, 0.35, MidiHz(root + 1), 0.3, 7.0, 6});
    }
    return out;
}

std::vector<float> TuningFork() {
    std::vector<float> out;
    AddTone(out, {0.0, 3.0, 440.0, 0.5, 0.8, 1});
    return out;
}

// The start music: a bright rising arpeggio settling on a chord.
std::vector<float> StartMusic() {
    std::vector<float> out;
    const int figure[] = {60, 64, 67, 72, 76, 79, 84};
    for (int i = 0; i < 7; ++i)
        AddTone(out, {i * 0.12, 2.2 - i * 0.12, MidiHz(figure[i]), 0.15, 1.8, 4});
    for (int note : {48, 55, 64})
        AddTone(out, {0.84, 1.6, MidiHz(note), 0.12, 1.5, 3});
    return out;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_sounds <output folder>\n");
        return 2;
    }
    const std::string dir = argv[1];
    bool ok = true;
    for (int n = 1; n <= 10; ++n) {
        ok = WriteWave(dir + "/right" + std::to_string(n) + ".wav", RightSound(n)) && ok;
        ok = WriteWave(dir + "/wrong" + std::to_string(n) + ".wav", WrongSound(n)) && ok;
    }
    ok = WriteWave(dir + "/stemgafl.wav", TuningFork()) && ok;
    ok = WriteWave(dir + "/SPLASH.WAV", StartMusic()) && ok;
    return ok ? 0 : 1;
}
