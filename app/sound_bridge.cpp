#include "app/sound_bridge.h"

#include "userdata/messages.h"
#include "userdata/strings.h"

namespace harmik {

SoundSettings SoundSettingsFrom(const SettingsRecord& s) {
    SoundSettings o;
    o.MidiOutDevice = s.MidiOutDevice;
    o.MidiInDevice = s.MidiInDevice;
    o.MidiThruDevice = s.MidiThruDevice;
    o.WaveOutDevice = s.WaveOutDevice;
    o.OutChannel = s.OutChannel;
    o.ThruChannel = s.ThruChannel;
    o.OutIsGM = s.OutIsGM != 0;
    o.ThruIsGM = s.ThruIsGM != 0;
    o.PcSpeakerOnly = s.PcSpeakerOnly != 0;
    o.MidiThruOn = s.MidiThruOn != 0;
    o.NoStartMusic = s.NoStartMusic != 0;
    o.ClickChannel = s.ClickChannel;
    o.ClickSound = s.ClickSound;
    o.ClickVolume = s.ClickVolume;
    o.FirstBeatSound = s.FirstBeatSound;
    o.FirstBeatVolume = s.FirstBeatVolume;
    o.RhythmChannel = s.RhythmChannel;
    o.RhythmSound = s.RhythmSound;
    o.RhythmVolume = s.RhythmVolume;
    o.CorrectChannel = s.CorrectChannel;
    o.CorrectSound = s.CorrectSound;
    o.CorrectVolume = s.CorrectVolume;
    o.WrongChannel = s.WrongChannel;
    o.WrongSound = s.WrongSound;
    o.WrongVolume = s.WrongVolume;
    o.CorrectWave = s.CorrectWave;
    o.WrongWave = s.WrongWave;
    const ExerciseOptionsRecord& e = s.ExerciseOptions;
    o.MidiVolume = e.MidiVolume;
    o.WaveVolume = e.WaveVolume;
    o.Velocity = e.Velocity;
    o.OutInstrument = e.OutInstrument;
    o.ThruInstrument = e.ThruInstrument;
    o.FeedbackType = e.FeedbackType;
    o.CurrentModule = s.CurrentModule;
    for (std::size_t i = 0; i < o.Tempo.size(); ++i)
        o.Tempo[i] = e.Tempo[i];
    return o;
}

void ShowSoundMessages(QWidget* parent, const std::vector<SoundMessage>& messages) {
    for (const SoundMessage& m : messages) {
        MessageRequest r;
        if (m.StringId == 0) {
            r.type = MessageType::Error;
            r.text = m.Text;
        } else {
            r.type = m.IsError ? MessageType::Error : MessageType::Warning;
            r.buttons = MessageButtons::OkHelp;
            r.helpTopic = m.HelpContext;
            QVariantList args;
            if (m.ArgStringId != 0)
                args << LoadStr(m.ArgStringId);
            if (m.Number >= 0)
                args << m.Number;
            r.text = FormatStr(m.StringId, args);
        }
        ShowMessage(parent, r);
    }
}

} // namespace harmik
