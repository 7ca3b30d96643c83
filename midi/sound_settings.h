#pragma once
#include <array>
#include <cstdint>

namespace harmik {

// The sound layer's view of the settings: the program copies these fields from its settings
// record (same names, same defaults) whenever they change.
struct SoundSettings {
    std::int32_t MidiOutDevice = 0;
    std::int32_t MidiInDevice = 0;
    std::int32_t MidiThruDevice = 0;
    std::int32_t WaveOutDevice = 0;
    std::int32_t OutChannel = 1;
    std::int32_t ThruChannel = 2;
    bool OutIsGM = true;
    bool ThruIsGM = true;
    bool PcSpeakerOnly = false;
    bool MidiThruOn = true;
    bool NoStartMusic = false;
    std::int32_t ClickChannel = 10;
    std::int32_t ClickSound = 39;
    std::int32_t ClickVolume = 80;
    std::int32_t FirstBeatSound = 37;
    std::int32_t FirstBeatVolume = 80;
    std::int32_t RhythmChannel = 10;
    std::int32_t RhythmSound = 38;
    std::int32_t RhythmVolume = 90;
    std::int32_t CorrectChannel = 10;
    std::int32_t CorrectSound = 56;
    std::int32_t CorrectVolume = 80;
    std::int32_t WrongChannel = 10;
    std::int32_t WrongSound = 71;
    std::int32_t WrongVolume = 90;
    std::int32_t CorrectWave = 1;
    std::int32_t WrongWave = 1;
    std::uint8_t MidiVolume = 225;
    std::uint8_t WaveVolume = 180;
    std::uint8_t Velocity = 85;
    std::uint8_t OutInstrument = 1;
    std::uint8_t ThruInstrument = 4;
    std::uint8_t FeedbackType = 0; // 0 WAV sounds, 1 MIDI sounds, 2 visual only
    std::uint8_t CurrentModule = 1;
    std::array<std::int32_t, 7> Tempo{100, 100, 100, 100, 120, 100, 80};
};

// One beat of the current module's tempo in milliseconds.
inline int BeatMs(const SoundSettings& s) {
    const int module = s.CurrentModule >= 1 && s.CurrentModule <= 7 ? s.CurrentModule : 1;
    const int tempo = s.Tempo[std::size_t(module - 1)];
    return tempo > 0 ? 60000 / tempo : 600;
}

} // namespace harmik
