#pragma once
#include <QObject>
#include <functional>

namespace harmik {

class SoundSystem;
struct SettingsRecord;

// The user's own sounds: the notes of the on-screen piano, the guitar and the staff's note
// entry on the thru output, and the rhythm drum of the drum pad and of a tap.
class UserSound : public QObject {
    Q_OBJECT
public:
    using SoundSource = std::function<SoundSystem*()>;
    UserSound(const SettingsRecord& settings, SoundSource sound, QObject* parent = nullptr);

    // A note of the user's own sound (thru device and channel).
    void playNote(int note, bool on);
    // A written note, sounded briefly.
    void playEnteredNote(int note);
    // The drum pad of the piano: the rhythm sound on the thru device.
    void padDrum(bool on);
    // A rhythm tap from the computer or MIDI keyboard: the rhythm sound on the exercise output.
    void tapDrum(bool on, int velocity);

private:
    const SettingsRecord& settings_;
    SoundSource sound_;
};

} // namespace harmik
