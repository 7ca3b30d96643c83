#pragma once
#include "app/colour_depth.h"
#include "app/practice_session.h"
#include "input/cursor_table.h"
#include "input/shortcuts.h"
#include "midi/sound_system.h"
#include "theory/item_names.h"
#include "userdata/settings_record.h"
#include "userdata/top_ten.h"

#include <QHash>
#include <QMainWindow>
#include <QTimer>
#include <memory>

class QAction;
class QLabel;

namespace harmik {

class AboutWindow;
class ActivityLamps;
class AnswerPanel;
class ExerciseStaff;
class InstrumentPanel;
class PianoInput;
class PracticeScreen;
class ProgramStart;
class RhythmScreen;
class ScreenLayout;
class SettingsCommands;
class StaffNoteEntry;
class StaffWidget;
class ExerciseOptionsPanel;
class HelpCommands;
class HintTiming;
class MelodyOptionsPanel;
class MenuCommands;
class MidiKeyboard;
class MiniPicture;
class PracticeClockLabel;
class RhythmOptionsPanel;
class ScorePanel;
class SoundControls;
class SoundPanel;
class SpeedMenu;
class TempoFields;
class TipAndFork;
class TransportPanel;
class TutorControl;
class TuningForkPicture;
class UserSound;
class WindowKeys;

// How the main window is made: the display's colour depth (0: ask the screen) and how the
// sound layer reaches its devices.
struct TForm1Setup {
    int bitsPerPixel = 0;
    SoundSystemOptions sound;
};

// The main window: owner of the program's run-time records, and of the order in which the
// program comes up and goes down. Its parts live in their own classes (the practice session
// among them); the window wires them.
class TForm1 : public QMainWindow {
    Q_OBJECT
    friend class ProgramStart; // fills the window's records as the program comes up
public:
    explicit TForm1(const TForm1Setup& setup, QWidget* parent = nullptr);
    explicit TForm1(int bitsPerPixel = 0, QWidget* parent = nullptr);
    ~TForm1() override;

    // The records the window owns.
    SettingsRecord& Settings() { return settings_; }
    TopTenTable& TopTen() { return topTen_; }
    const CursorTable& Cursors() const { return cursors_; }
    const ItemNameList& ItemNames() const { return itemNames_; }
    PracticeSession& Session() { return *session_; }
    const TaskState& Task() const { return session_->Task(); }
    SoundSystem& Sound() { return *sound_; }
    // The user's profile and the tutor.
    TutorControl* Tutor() const { return tutor_; }

    bool HighColourDisplay() const { return highColourDisplay_; }
    const QString& StartDirectory() const { return startDirectory_; }
    int TipIndex() const { return tipIndex_; }
    bool TipsAtStart() const { return tipsAtStart_; }
    void setTipsAtStart(bool on) { tipsAtStart_ = on; }
    void setTipIndex(int index) { tipIndex_ = index; }
    // The tip of the day at start-up, when the settings ask for it; the splash, if still open,
    // stands above it.
    void ShowTipsAtStart(QWidget* splash = nullptr);
    HelpCommands* HelpMenu() const { return helpCommands_; }
    TuningForkPicture* ImageStemGafl() const;
    HintTiming* Hints() const { return hintTiming_; }
    int HelpContext() const { return helpContext_; }

    QAction* menuAction(const QString& name) const;
    SoundPanel* Pan_Valg() const { return panValg_; }
    SoundControls* SoundPanelControls() const { return soundControls_; }
    MiniPicture* ImageMini() const { return imageMini_; }
    ActivityLamps* ImageEndeH() const { return imageEndeH_; }
    QLabel* PanStatus() const { return panStatus_; }
    QLabel* LabCredits() const { return credits_; }
    AnswerPanel* Group_Problem() const { return answerPanel_; }
    TransportPanel* PanelTransport() const { return transport_; }
    ScorePanel* ScoreDisplay() const { return scorePanel_; }
    QWidget* Pan_Ove() const { return panOve_; }
    SpeedMenu* ModuleButtons() const { return speedMenu_; }
    ExerciseOptionsPanel* Options() const { return options_; }
    RhythmOptionsPanel* RhythmOptions() const { return rhythmOptions_; }
    MelodyOptionsPanel* MelodyOptions() const { return melodyOptions_; }
    InstrumentPanel* Pan_Klaver() const { return panKlaver_; }
    QWidget* Pan_Staff() const { return panStaff_; }
    StaffWidget* ImageStaff() const { return imageStaff_; }
    PianoInput* Keys() const { return pianoInput_; }
    StaffNoteEntry* NoteEntry() const { return noteEntry_; }
    PracticeClockLabel* LabTime() const { return labTime_; }
    ExerciseStaff& ExerciseWriter() { return *exerciseStaff_; }
    RhythmScreen* RhythmView() const { return rhythmScreen_; }
    const QColor& WindowColour() const { return windowColour_; }

    // Window caption of a module: " H A R M I K - " and the module's title.
    static QString ModuleCaption(int module);

    // The long part of the hint under the mouse, shown in the status panel.
    void DisplayHint(const QString& longHint);

    // The menu and the commands of its parts.
    MenuCommands& Menu() { return *menu_; }
    SettingsCommands& SettingsMenu() { return *settingsCommands_; }
    MidiKeyboard& midiKeyboard();
    void mVisnoderClick();
    void SpeedMidiIndClick();

    // The pictures of the piano and fretboard, cleared of marks, with the module's range.
    void RedrawInstruments();

    // Module selection: sets the main window up for module m.
    void SelectModule(int m);

    // The transport buttons, handed to the practice session.
    void NyKnapClick();
    void GentagKnapClick();
    void SvarKnapClick();
    void EarStopOve();
    void ShutUpClick();

    // A right press on a play-style button: its cadence is heard.
    void RadioKlassiskMouseDown(int playStyle);

    // The keys of the computer keyboard as the window previews them.
    ShortcutActions FormKeyDown(ShortcutKey key);

    // Hands an answer from any input (sources of AnswerSource) to the practice session.
    void Judge(int value, int source, int recognisedChordType = -1);

    // The inputs learn whether a task runs and whether its answer is shown.
    void syncInputState();
    // The sound layer's copy of the settings brought up to date.
    void syncSoundSettings();
    // The loaded settings on the devices and controls, and the saved module selected.
    void EarSetLoadedSettings();
    // The status panel shown or hidden as the settings say, and the window laid out again.
    void applyStatusBar();
    // The window's place and the tips' state into the settings record.
    void SaveSettings();

    // Lays the window out for the current module and size.
    void EarDoScreen();

    // The confirmation of closing; true when the user says Yes.
    bool FormCloseQuery();
    // Releases the devices and saves the settings and the top-ten table. Returns false when a
    // file could not be written (the user has been told which and why).
    bool FormClose();

    // The window state the settings ask for at the first showing.
    bool startsMaximized() const { return settings_.ExerciseOptions.WinMaximized != 0; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildLayout();
    void buildExercisePanels();
    void connectPanels();
    void openSoundPanel();

    void buildInstrumentsAndStaff(QWidget* central);
    void connectInstruments();

    TForm1Setup setup_;
    SettingsRecord settings_;
    TopTenTable topTen_;
    CursorTable cursors_;
    ItemNameList itemNames_;
    std::unique_ptr<PracticeScreen> practiceScreen_;
    std::unique_ptr<ScreenLayout> screenLayout_;
    std::unique_ptr<ProgramStart> start_;
    std::unique_ptr<SettingsCommands> settingsCommands_;
    std::unique_ptr<SoundSystem> sound_;
    // Declared after the sound system, so that it goes first.
    std::unique_ptr<PracticeSession> session_;

    bool highColourDisplay_ = true;
    QColor windowColour_;
    QString startDirectory_;
    int tipIndex_ = -1;
    bool tipsAtStart_ = true;
    int helpContext_ = 0;
    bool closeConfirmed_ = false;

    MenuCommands* menu_ = nullptr;
    HintTiming* hintTiming_ = nullptr;
    SoundPanel* panValg_ = nullptr;
    MiniPicture* imageMini_ = nullptr;
    ActivityLamps* imageEndeH_ = nullptr;
    QLabel* panStatus_ = nullptr;
    QLabel* credits_ = nullptr;
    QWidget* freeArea_ = nullptr;
    SpeedMenu* speedMenu_ = nullptr;
    QWidget* panOve_ = nullptr;
    ScorePanel* scorePanel_ = nullptr;
    PracticeClockLabel* labTime_ = nullptr;
    TransportPanel* transport_ = nullptr;
    AnswerPanel* answerPanel_ = nullptr;
    ExerciseOptionsPanel* options_ = nullptr;
    TempoFields* tempoFields_ = nullptr;
    SoundControls* soundControls_ = nullptr;
    RhythmOptionsPanel* rhythmOptions_ = nullptr;
    MelodyOptionsPanel* melodyOptions_ = nullptr;
    InstrumentPanel* panKlaver_ = nullptr;
    QWidget* panStaff_ = nullptr;
    StaffWidget* imageStaff_ = nullptr;
    PianoInput* pianoInput_ = nullptr;
    StaffNoteEntry* noteEntry_ = nullptr;
    std::unique_ptr<ExerciseStaff> exerciseStaff_;
    RhythmScreen* rhythmScreen_ = nullptr;
    UserSound* userSound_ = nullptr;
    WindowKeys* keys_ = nullptr;
    TutorControl* tutor_ = nullptr;
    HelpCommands* helpCommands_ = nullptr;
    TipAndFork* tipAndFork_ = nullptr;
};

} // namespace harmik
