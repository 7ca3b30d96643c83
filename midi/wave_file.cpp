#include "midi/wave_file.h"

#include <QDir>
#include <QFileInfo>
#include <cmath>
#include <numbers>
#include <sndfile.h>

namespace harmik {

namespace {

// Interleaved samples of any channel count to stereo frames at another rate, in one pass
// (linear interpolation; a mono sound goes to both sides).
std::vector<float> StereoAtRate(const std::vector<float>& in, int channels, int fromRate,
                                int toRate) {
    const auto width = std::size_t(channels);
    const std::size_t inFrames = in.size() / width;
    const std::size_t right = channels > 1 ? 1 : 0;
    if (fromRate == toRate || inFrames < 2) {
        std::vector<float> out(inFrames * 2);
        for (std::size_t i = 0; i < inFrames; ++i) {
            out[2 * i] = in[i * width];
            out[2 * i + 1] = in[i * width + right];
        }
        return out;
    }
    const double step = double(fromRate) / toRate;
    const auto outFrames = static_cast<std::size_t>(double(inFrames - 1) / step);
    std::vector<float> out(outFrames * 2);
    for (std::size_t i = 0; i < outFrames; ++i) {
        const double pos = double(i) * step;
        const auto k = static_cast<std::size_t>(pos);
        const auto t = static_cast<float>(pos - double(k));
        const float* a = &in[k * width];
        const float* b = a + width;
        out[2 * i] = a[0] * (1 - t) + b[0] * t;
        out[2 * i + 1] = a[right] * (1 - t) + b[right] * t;
    }
    return out;
}

} // namespace

bool LoadWaveFile(const QString& path, int sampleRate, WaveSound& sound) {
    SF_INFO info{};
    SNDFILE* file = sf_open(QFile::encodeName(path).constData(), SFM_READ, &info);
    if (!file)
        return false;
    std::vector<float> samples(std::size_t(info.frames) * std::size_t(info.channels));
    const sf_count_t got = sf_readf_float(file, samples.data(), info.frames);
    sf_close(file);
    if (got <= 0 || info.channels < 1)
        return false;
    samples.resize(std::size_t(got) * std::size_t(info.channels));
    sound.Frames = StereoAtRate(samples, info.channels, info.samplerate, sampleRate);
    return true;
}

WaveSound DefaultSound(int sampleRate) {
    // Two short falling tones, softly faded.
    WaveSound sound;
    const int frames = sampleRate / 5;
    sound.Frames.resize(std::size_t(frames) * 2);
    for (int i = 0; i < frames; ++i) {
        const double t = double(i) / sampleRate;
        const double f = i < frames / 2 ? 880.0 : 660.0;
        const double envelope = std::exp(-8.0 * std::fmod(t, 0.1)) * 0.3;
        const auto v = static_cast<float>(envelope * std::sin(2 * std::numbers::pi * f * t));
        sound.Frames[2 * std::size_t(i)] = v;
        sound.Frames[2 * std::size_t(i) + 1] = v;
    }
    return sound;
}

QString FindDataFile(const QStringList& folders, const QString& name) {
    for (const QString& folder : folders) {
        const QDir dir(folder);
        if (!dir.exists())
            continue;
        const QString exact = dir.filePath(name);
        if (QFileInfo::exists(exact))
            return exact;
        for (const QString& entry : dir.entryList(QDir::Files))
            if (entry.compare(name, Qt::CaseInsensitive) == 0)
                return dir.filePath(entry);
    }
    return {};
}

} // namespace harmik
