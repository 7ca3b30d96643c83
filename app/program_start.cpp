#include "app/program_start.h"

#include "app/about_window.h"
#include "app/activity_lamps.h"
#include "app/exercise_options.h"
#include "app/exercise_staff.h"
#include "app/help_commands.h"
#include "app/instrument_panel.h"
#include "app/main_window.h"
#include "app/melody_options.h"
#include "app/menu_commands.h"
#include "app/module_buttons.h"
#include "app/practice_screen.h"
#include "app/rhythm_options.h"
#include "app/score_panel.h"
#include "app/screen_layout.h"
#include "app/settings_commands.h"
#include "app/sound_bridge.h"
#include "app/sound_controls.h"
#include "app/sound_panel.h"
#include "app/tip_and_fork.h"
#include "app/top_ten_window.h"
#include "app/transport_panel.h"
#include "app/tutor_control.h"
#include "app/user_sound.h"
#include "app/window_keys.h"
#include "help/help_topics.h"
#include "input/answer_panel.h"
#include "input/midi_keyboard.h"
#include "input/piano_input.h"
#include "input/piano_widget.h"
#include "input/staff_widget.h"
#include "theory/clock.h"
#include "theory/progression_table.h"
#include "userdata/help_request.h"
#include "userdata/hints.h"
#include "userdata/messages.h"
#include "userdata/paths.h"
#include "userdata/strings.h"
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusTipEvent>
#include <QToolButton>
#include <QToolTip>

namespace harmik {
namespace {

constexpr int kTopTenDefaultNames = 500; // twelve names of 20 characters each
constexpr int kCreditsHint = 3050;
constexpr int kNoMidiOutPianoHint = 3046;
constexpr int kSynthName = 1361;

} // namespace

void ProgramStart::FormCreate(int bitsPerPixel) {
    // The display check, then the window's own records.
    const ColourDepthDecision decision =
        DecideColourDepth(bitsPerPixel > 0 ? bitsPerPixel : ScreenDepth(&w_));
    ShowColourDepthMessage(&w_, decision);
    w_.highColourDisplay_ = decision.HighColourDisplay;
    w_.windowColour_ = decision.windowColour;
    ApplyColourDepthColours(w_.centralWidget(), w_.speedMenu_, decision);

    w_.startDirectory_ = QDir::currentPath();
    w_.cursors_.Load();
    ProgramInit();
}

void ProgramStart::ProgramInit() {
    // Texts from the string table: item names, menus, captions and hints.
    StringInit();

    // The top-ten table with its defaults; tooltips on a yellow ground.
    w_.topTen_ = DefaultTopTen(LoadStr(kTopTenDefaultNames));
    QPalette tip = QToolTip::palette();
    tip.setColor(QPalette::ToolTipBase, QColor(0xFF, 0xFF, 0x00));
    tip.setColor(QPalette::ToolTipText, Qt::black);
    QToolTip::setPalette(tip);

    // Every default, then the files over them.
    w_.settings_ = DefaultSettings();
    w_.buildExercisePanels();
    LoadSettings(w_.settings_, QString::fromLatin1(kSettingsFileName));
    applyWindowBounds();
    ReadTopTen(w_.topTen_, QString::fromLatin1(kTopTenFileName));
    w_.tutor_->LoadProfileAtStart();

    // The devices, then the loaded settings on the controls and devices.
    startSound();
    EarSetLoadedSettings();
    w_.menu_->ApplyLoadedSettings();
    w_.panKlaver_->SpeedMidiInd()->setChecked(w_.settings_.MidiListen != 0);
    w_.tipIndex_ = w_.settings_.TipIndex;
    w_.tipsAtStart_ = w_.settings_.TipsAtStart != 0;

    w_.hintTiming_ = new HintTiming(&w_);
    w_.hintTiming_->SetHintDelay(w_.settings_.HintDelay);
    w_.applyStatusBar();
}

void ProgramStart::StringInit() {
    const std::vector<ProgressionLabelChords> progressions = ProgressionLabelCatalogue();
    w_.itemNames_ =
        BuildItemNameList([](int id) { return LoadStr(id).toStdString(); }, progressions);

    w_.menu_->StringInit();

    w_.credits_->setText(LoadStr(1741));
    ApplyHintId(w_.credits_, kCreditsHint);
    ApplyHintId(w_.panStatus_, 3042);
    w_.panKlaver_->applyTexts();
}

void ProgramStart::applyWindowBounds() {
    const ExerciseOptionsRecord& o = w_.settings_.ExerciseOptions;
    const QRect stored(o.WinLeft, o.WinTop, o.WinWidth, o.WinHeight);
    const QScreen* screen = QGuiApplication::screenAt(stored.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect fitted = FitWindowOntoScreen(stored, screen ? screen->availableGeometry() : QRect(),
                                             w_.minimumSizeHint());
    w_.move(fitted.topLeft());
    w_.resize(fitted.size());
}

void ProgramStart::startSound() {
    SoundSystemOptions options = w_.setup_.sound;
    w_.setup_.sound.PreparedSynth.reset(); // the sound system's alone
    if (options.DataFolders.isEmpty())
        options.DataFolders = ShippedDataFolders();
    options.BuiltInSynthName = LoadStr(kSynthName);
    w_.sound_ = std::make_unique<SoundSystem>(&w_, options);
    w_.session_->setSound(w_.sound_.get());
    w_.keys_->connectMidiInput();
    w_.syncSoundSettings();

    ShowSoundMessages(&w_, w_.sound_->EnumerateMidiDevices());
    if (w_.sound_->NoWaveDevice())
        w_.settings_.ExerciseOptions.FeedbackType = 1;
    if (w_.sound_->MidiOutputCount() < 1)
        ApplyHintId(w_.panKlaver_->Image_Klaver(), kNoMidiOutPianoHint);
    w_.syncSoundSettings();
    ShowSoundMessages(&w_, w_.sound_->OpenDevices());
    w_.sound_->Output().OnOutputActivity = [w = &w_] { w->imageEndeH_->LightOutput(); };
    if (w_.settings_.NoStartMusic == 0)
        w_.sound_->PlayStartMusic();
}

void ProgramStart::EarSetLoadedSettings() {
    // Instruments and volumes on the devices.
    const ExerciseOptionsRecord& e = w_.settings_.ExerciseOptions;
    SoundOutput& out = w_.sound_->Output();
    out.ProgramChange(w_.settings_.MidiOutDevice, w_.settings_.OutChannel, e.OutInstrument);
    out.ProgramChange(w_.settings_.MidiThruDevice, w_.settings_.ThruChannel, e.ThruInstrument);
    w_.soundControls_->ApplyLoadedSettings();

    // The option controls, then the saved module.
    w_.options_->ApplyLoadedSettings();
    w_.rhythmOptions_->ApplyLoadedSettings();
    w_.melodyOptions_->ApplyLoadedSettings();
    const int module = w_.settings_.CurrentModule;
    w_.settings_.CurrentModule = 0;
    w_.SelectModule(module);
    w_.speedMenu_->pressDown(module);
    w_.scorePanel_->DoGauge(w_.settings_.ExerciseOptions.ExercisesPerTask);
    w_.melodyOptions_->ComboTonalitetChange();
    w_.options_->SetGermanNaming(w_.settings_.GermanNaming != 0);

    // The staff and the keyboard pictures as the settings left them.
    w_.imageStaff_->setHighColour(w_.highColourDisplay_);
    w_.imageStaff_->setGermanNaming(w_.settings_.GermanNaming != 0);
    w_.exerciseStaff_->setGermanNaming(w_.settings_.GermanNaming != 0);
    w_.panKlaver_->CheckPiano()->setChecked(w_.settings_.ShowPiano != 0);
    w_.panKlaver_->CheckFret()->setChecked(w_.settings_.ShowFretboard != 0);
    w_.EarDoScreen();
    w_.RedrawInstruments();
}

} // namespace harmik
