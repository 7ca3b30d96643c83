#include "app/user_sound.h"

#include "app/sound_bridge.h"
#include "midi/sound_system.h"
#include "userdata/settings_record.h"

#include <QTimer>

namespace harmik {
namespace {

constexpr int kEnteredNoteMs = 50;

} // namespace

UserSound::UserSound(const SettingsRecord& settings, SoundSource sound, QObject* parent)
    : QObject(parent), settings_(settings), sound_(std::move(sound)) {}

void UserSound::playNote(int note, bool on) {
    SoundSystem* sound = sound_();
    if (sound == nullptr)
        return;
    sound->Settings = SoundSettingsFrom(settings_);
    SoundOutput& out = sound->Output();
    if (on)
        out.NoteOn(settings_.MidiThruDevice, settings_.ThruChannel, note,
                   settings_.ExerciseOptions.Velocity);
    else
        out.NoteOff(settings_.MidiThruDevice, settings_.ThruChannel, note);
}

void UserSound::playEnteredNote(int note) {
    playNote(note, true);
    QTimer::singleShot(kEnteredNoteMs, this, [this, note] { playNote(note, false); });
}

void UserSound::padDrum(bool on) {
    SoundSystem* sound = sound_();
    if (sound == nullptr)
        return;
    SoundOutput& out = sound->Output();
    if (on)
        out.NoteOn(settings_.MidiThruDevice, settings_.RhythmChannel, settings_.RhythmSound,
                   settings_.RhythmVolume);
    else
        out.NoteOff(settings_.MidiThruDevice, settings_.RhythmChannel, settings_.RhythmSound);
}

void UserSound::tapDrum(bool on, int velocity) {
    SoundSystem* sound = sound_();
    if (sound == nullptr)
        return;
    SoundOutput& out = sound->Output();
    if (on)
        out.NoteOn(settings_.MidiOutDevice, settings_.RhythmChannel, settings_.RhythmSound,
                   velocity);
    else
        out.NoteOff(settings_.MidiOutDevice, settings_.RhythmChannel, settings_.RhythmSound);
}

} // namespace harmik
