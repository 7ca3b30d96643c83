#pragma once
#include <QString>
#include <QStringList>
#include <vector>

namespace harmik {

// A decoded sound ready for the mixer: interleaved stereo frames at the mixer's rate.
struct WaveSound {
    std::vector<float> Frames;
    std::size_t frameCount() const { return Frames.size() / 2; }
};

// Reads a WAV (or any file libsndfile knows) and converts it to stereo at the given rate.
// Returns false when the file cannot be read.
bool LoadWaveFile(const QString& path, int sampleRate, WaveSound& sound);

// The short sound played when a feedback file is missing (the system's default sound).
WaveSound DefaultSound(int sampleRate);

// Finds a shipped data file by name, without regard to letter case, in the folders in order
// (the user's data folder first, then the installed one). Empty when none has it.
QString FindDataFile(const QStringList& folders, const QString& name);

} // namespace harmik
