#include "help/help_topics.h"

namespace harmik {

const std::vector<HelpTopicPage>& HelpTopicTable() {
    static const std::vector<HelpTopicPage> table = {
        {HelpTopic::Contents, "index.html"},
        {HelpTopic::GettingStarted, "getting-started.html"},
        {HelpTopic::Keyboard, "keyboard.html"},
        {HelpTopic::Intervals, "intervals.html"},
        {HelpTopic::Scales, "scales.html"},
        {HelpTopic::Chords, "chords.html"},
        {HelpTopic::Inversions, "inversions.html"},
        {HelpTopic::Melodies, "melodies.html"},
        {HelpTopic::Rhythm, "rhythm.html"},
        {HelpTopic::Progressions, "progressions.html"},
        {HelpTopic::AnswerPanel, "answering.html"},
        {HelpTopic::SoundDevices, "sound-devices.html"},
        {HelpTopic::Display, "display.html"},
        {HelpTopic::MidiDevicesPage, "midi-devices.html"},
        {HelpTopic::MidiDevicesPage + 1, "midi-sounds.html"},
        {HelpTopic::MidiDevicesPage + 2, "midi-remote.html"},
        {HelpTopic::MidiMapper, "midi-mapper.html"},
        {HelpTopic::OtherSettingsPage, "other-exercises.html"},
        {HelpTopic::OtherSettingsPage + 1, "other-program.html"},
        {HelpTopic::Profile, "profile.html"},
        {HelpTopic::Tutor, "tutor.html"},
        {HelpTopic::ExerciseSets, "exercise-sets.html"},
        {HelpTopic::Results, "results.html"},
        {HelpTopic::TipOfTheDay, "tip-of-the-day.html"},
    };
    return table;
}

QString HelpPageOf(int topic) {
    for (const HelpTopicPage& entry : HelpTopicTable()) {
        if (entry.Topic == topic)
            return QString::fromLatin1(entry.Page);
    }
    return QString::fromLatin1(HelpTopicTable().front().Page);
}

QString HelpNamespace() {
    return QStringLiteral("org.example.harmik");
}

QUrl HelpPageUrl(const QString& page) {
    return QUrl(QStringLiteral("qthelp://%1/doc/%2").arg(HelpNamespace(), page));
}

} // namespace harmik
