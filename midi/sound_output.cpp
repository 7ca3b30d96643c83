#include "midi/sound_output.h"

#include "midi/midi_output.h"
#include "midi/sound_engine.h"
#include "midi/sound_tables.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace harmik {

namespace {
constexpr int kMaxQueueTicks = 500;
constexpr int kFeedbackNoteOffNote = 21;
} // namespace

SoundOutput::SoundOutput(TMidiOutput& midiud, TMidiOutput& midithru, SoundEngine* mixer,
                         const SoundSettings& settings)
    : MIDIUD_(midiud), MIDITHRU_(midithru), Mixer_(mixer), Settings_(settings) {}

TMidiOutput& SoundOutput::Route(int device) {
    if (device == Settings_.MidiThruDevice && Settings_.MidiOutDevice != Settings_.MidiThruDevice)
        return MIDITHRU_;
    return MIDIUD_;
}

std::uint8_t SoundOutput::StatusFor(std::uint8_t base, int channel) {
    return static_cast<std::uint8_t>((base + channel - 1) & 0xFF);
}

void SoundOutput::sendShort(int device, std::uint8_t status, std::uint8_t data1,
                            std::uint8_t data2) {
    TMidiOutput& out = Route(device);
    if (out.isOpen())
        out.PutShort(status, data1, data2);
}

void SoundOutput::NoteOn(int device, int channel, int note, int velocity) {
    if (Settings_.PcSpeakerOnly) {
        if (velocity >= 1)
            SpeakerTone(note);
        else
            SpeakerOff();
    } else {
        sendShort(device, StatusFor(0x90, channel), std::uint8_t(note), std::uint8_t(velocity));
    }
    if (velocity >= 1 && OnOutputActivity)
        OnOutputActivity();
}

void SoundOutput::NoteOff(int device, int channel, int note) {
    if (Settings_.PcSpeakerOnly)
        SpeakerOff();
    else
        sendShort(device, StatusFor(0x90, channel), std::uint8_t(note), 0);
}

void SoundOutput::ProgramChange(int device, int channel, std::uint8_t program) {
    sendShort(device, StatusFor(0xC0, channel), program, 0);
}

void SoundOutput::SetMidiVolume(std::uint8_t level) {
    if (MIDIUD_.isOpen())
        MIDIUD_.SetVolume(std::uint16_t(level * 255), std::uint16_t(level * 255));
}

void SoundOutput::SetWaveVolume(std::uint8_t level) {
    if (Mixer_)
        Mixer_->setWaveVolume(level / 255.0);
}

void SoundOutput::StopAll(NoteQueue& queue) {
    const int n = std::min(queue.Count, NoteQueue::kPlayable);
    for (int i = 0; i < n; ++i) {
        const NoteEvent& e = queue.Events[std::size_t(i)];
        if (e.Velocity == 0)
            NoteOff(Settings_.MidiOutDevice, e.Channel, e.Note);
    }
    ClearQueue(queue);
}

QueueTickResult SoundOutput::TimerMidi1Timer(NoteQueue& queue) {
    QueueTickResult result;
    if (Settings_.FeedbackType == 1)
        NoteOff(Settings_.MidiOutDevice, Settings_.OutChannel, kFeedbackNoteOffNote);
    ++queue.CurrentTick;
    result.FirstTick = queue.CurrentTick == 1;
    const int n = std::min(queue.Count, NoteQueue::kPlayable);
    for (int i = 0; i < n; ++i) {
        const NoteEvent& e = queue.Events[std::size_t(i)];
        if (e.Tick == queue.CurrentTick)
            NoteOn(Settings_.MidiOutDevice, e.Channel, e.Note, e.Velocity);
    }
    if (queue.CurrentTick == queue.LastTick || queue.CurrentTick >= kMaxQueueTicks) {
        queue.Count = 0;
        queue.LastTick = 0;
        result.Stop = true;
    }
    return result;
}

void SoundOutput::Delay(int ms) {
    if (ms > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

bool SoundOutput::PlayWaveFile(const QString& name, bool defaultSoundIfMissing) {
    if (!Mixer_)
        return false;
    WaveSound sound;
    const QString path = FindDataFile(DataFolders_, name);
    if (!path.isEmpty() && LoadWaveFile(path, Mixer_->sampleRate(), sound)) {
        Mixer_->playWave(std::move(sound));
        return true;
    }
    if (defaultSoundIfMissing)
        Mixer_->playWave(DefaultSound(Mixer_->sampleRate()));
    return false;
}

void SoundOutput::PlayAnswerFeedback(bool correct) {
    switch (Settings_.FeedbackType) {
    case 0:
        PlayWaveFile(correct ? QStringLiteral("right%1.wav").arg(Settings_.CorrectWave)
                             : QStringLiteral("wrong%1.wav").arg(Settings_.WrongWave),
                     true);
        break;
    case 1: {
        const int channel = correct ? Settings_.CorrectChannel : Settings_.WrongChannel;
        const int note = correct ? Settings_.CorrectSound : Settings_.WrongSound;
        NoteOn(Settings_.MidiOutDevice, channel, note,
               correct ? Settings_.CorrectVolume : Settings_.WrongVolume);
        Delay(correct ? 100 : 150);
        NoteOff(Settings_.MidiOutDevice, channel, note);
        break;
    }
    default:
        break;
    }
}

void SoundOutput::SpeakerTone(int note) {
    const int hz = SpeakerFrequencyOf(note);
    if (Mixer_ && hz > 0)
        Mixer_->speakerTone(hz, BeatMs(Settings_));
}

void SoundOutput::SpeakerOff() {
    if (Mixer_)
        Mixer_->speakerOff();
}

} // namespace harmik
