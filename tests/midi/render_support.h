#pragma once
// Offline rendering of the mixer and what a listener would hear in it.
#include <QString>
#include <vector>

namespace harmik {
class SoundEngine;
}

namespace harmik::test {

// Renders seconds of the mix (left channel) in 64-frame blocks, as the audio callback would.
std::vector<float> Render(SoundEngine& engine, double seconds);

double Rms(const std::vector<float>& s, std::size_t from = 0, std::size_t to = 0);
float Peak(const std::vector<float>& s);

// Fundamental frequency by autocorrelation over the given part, in Hz (0 when silent).
double FundamentalHz(const std::vector<float>& s, int sampleRate, std::size_t from,
                     std::size_t length);

// The strongest spectral peak between lowHz and highHz (Hann window), in Hz.
double SpectralPeakHz(const std::vector<float>& s, int sampleRate, std::size_t from,
                      std::size_t length, double lowHz, double highHz);

// The folder with the sounds the build rendered.
QString TestDataDir();

// A SoundFont for the tests: the one the program would pick (empty when none is installed).
QString TestSoundFont();

} // namespace harmik::test
