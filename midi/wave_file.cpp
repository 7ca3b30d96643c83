#include "midi/wave_file.h"

#include <QDir>
#include <QFileInfo>
#include <cmath>
#include <numbers>
#include <sndfile.h>

namespace harmik {

namespace {

std::vector<float> ToStereo(const std::vector<float>& samples, int channels) {
    const std::size_t frames = samples.size() / std::size_t(channels);
    std::vector<float> stereo(frames * 2);
    for (std::size_t i = 0; i < frames; ++i) {
        const float* frame = &samples[i * std::size_t(channels)];
        stereo[2 * i] = frame[0];
        stereo[2 * i + 1] = channels > 1 ? frame[1] : frame[0];
    }
    return stereo;
}

std::vector<float> ResampleStereo(const std::vector<float>& in, int fromRate, int toRate) {
    if (fromRate == toRate || in.size() < 4)
        return in;
    const std::size_t inFrames = in.size() / 2;
    const double step = double(fromRate) / toRate;
    const auto outFrames = static_cast<std::size_t>(double(inFrames - 1) / step);
    std::vector<float> out(outFrames * 2);
    for (std::size_t i = 0; i < outFrames; ++i) {
        const double pos = double(i) * step;
        const auto k = static_cast<std::size_t>(pos);
        const auto t = static_cast<float>(pos - double(k));
        for (int c = 0; c < 2; ++c)
            out[2 * i + c] = in[2 * k + c] * (1 - t) + in[2 * (k + 1) + c] * t;
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
    sound.Frames = ResampleStereo(ToStereo(samples, info.channels), info.samplerate, sampleRate);
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
