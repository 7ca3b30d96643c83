#pragma once
#include <QString>
#include <QUrl>
#include <vector>

namespace harmik {

// The help topics by number: every number a menu item, a button or a message box asks for has
// its page in the help collection here, and nowhere else.
namespace HelpTopic {
constexpr int Contents = 1;
constexpr int GettingStarted = 2;
constexpr int Keyboard = 5;
constexpr int Intervals = 11;
constexpr int Scales = 12;
constexpr int Chords = 13;
constexpr int Inversions = 14;
constexpr int Melodies = 15;
constexpr int Rhythm = 16;
constexpr int Progressions = 17;
constexpr int AnswerPanel = 101;
constexpr int SoundDevices = 150;
constexpr int Display = 153;
constexpr int MidiDevicesPage = 200; // + the page of the MIDI settings dialog (0..2)
constexpr int MidiMapper = 210;
constexpr int OtherSettingsPage = 220; // + the page of the other-settings dialog (0..1)
constexpr int Profile = 300;
constexpr int Tutor = 310;
constexpr int ExerciseSets = 320;
constexpr int Results = 330;
constexpr int TipOfTheDay = 340;
} // namespace HelpTopic

struct HelpTopicPage {
    int Topic;
    const char* Page; // file name inside the collection's documentation folder
};

// The table of topics, in the order of the manual.
const std::vector<HelpTopicPage>& HelpTopicTable();

// The page of a topic; a number without a page of its own gives the contents.
QString HelpPageOf(int topic);

// The address of a page in the help collection (qthelp://...).
QUrl HelpPageUrl(const QString& page);
inline QUrl HelpTopicUrl(int topic) {
    return HelpPageUrl(HelpPageOf(topic));
}

// The namespace and folder of the documentation inside the collection.
QString HelpNamespace();

} // namespace harmik
