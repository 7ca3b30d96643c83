#include "app/menu_commands.h"

#include "app/about_window.h"
#include "app/help_commands.h"
#include "app/main_menu.h"
#include "app/main_window.h"
#include "app/module_buttons.h"
#include "app/practice_session.h"
#include "app/settings_commands.h"
#include "app/top_ten_window.h"
#include "app/tutor_control.h"
#include "help/help_topics.h"
#include "input/midi_keyboard.h"
#include "userdata/help_request.h"

#include <QAction>
#include <QMenuBar>
#include <QPushButton>

namespace harmik {
namespace {

const char* const kModuleMenuItems[] = {"mIntervaller", "mSkalaer",  "mAkkorder", "mOmvendinger",
                                        "mProgression", "mMelodier", "mRytme"};

} // namespace

MenuCommands::MenuCommands(TForm1& window) : QObject(&window), w_(window) {}

template <typename Command> void MenuCommands::onItem(const char* name, Command command) {
    connect(actions_.value(QString::fromLatin1(name)), &QAction::triggered, this,
            [command] { command(); });
}

void MenuCommands::StringInit() {
    actions_ = BuildMainMenu(w_.menuBar());
    for (const char* name : {"mVisTitel", "mMidiThru", "mMidiKlaverLyt"}) {
        QAction* a = actions_.value(QString::fromLatin1(name));
        a->setCheckable(true);
        a->setChecked(true);
    }
    onItem("mAfslutHarmik", [this] { Luk1Click(); });
    onItem("mVisTitel", [this] { mVisTitelClick(); });
    onItem("mOmHarmik", [this] { mOmHarmikClick(); });
    onItem("mTop10", [this] { mTop10Click(); });
    onItem("mMidiThru", [this] { mMidiThruClick(); });
    onItem("mMidiKlaverLyt", [this] { w_.SpeedMidiIndClick(); });
    onItem("mVisnoder", [this] { w_.mVisnoderClick(); });
    onItem("mMidi", [this] { w_.SettingsMenu().MidiSetupClick(); });
    onItem("mDiverse", [this] { w_.SettingsMenu().DiverseTabClick(); });
    onItem("mGemovelse", [this] { w_.SettingsMenu().mGemovelseClick(); });
    onItem("mHentovelse", [this] { w_.SettingsMenu().mHentovelseClick(); });
    onItem("mSeRetProfil", [this] { w_.Tutor()->Opretnyprofil1Click(); });
    onItem("mTutor", [this] { w_.Tutor()->mTutorClick(); });
    onItem("mHomepage", [this] { w_.HelpMenu()->mHomepageClick(); });
    for (int m = 1; m <= 7; ++m)
        onItem(kModuleMenuItems[m - 1], [this, m] { w_.ModuleButtons()->chooseFromMenu(m); });
}

void MenuCommands::ApplyLoadedSettings() {
    const SettingsRecord& s = w_.Settings();
    actions_.value(QStringLiteral("mMidiKlaverLyt"))->setChecked(s.MidiListen != 0);
    actions_.value(QStringLiteral("mMidiThru"))->setChecked(s.MidiThruOn != 0);
}

void MenuCommands::Luk1Click() {
    w_.close();
}

void MenuCommands::mVisTitelClick() {
    const bool withTitle = actions_.value(QStringLiteral("mVisTitel"))->isChecked();
    const QRect before = w_.geometry();
    const bool visible = w_.isVisible();
    w_.setWindowFlag(Qt::FramelessWindowHint, !withTitle);
    // One pixel more or less, so that the window is laid out again.
    w_.setGeometry(before.x(), before.y(), before.width(), before.height() + (withTitle ? 1 : -1));
    if (visible)
        w_.show();
}

void MenuCommands::mOmHarmikClick() {
    AboutWindow about(&w_);
    about.exec();
}

void MenuCommands::mTop10Click() {
    if (w_.Session().running())
        return;
    TFormTop10 window(w_.TopTen(), &w_);
    connect(&window, &TFormTop10::helpRequested, &window,
            [] { OpenHelpTopic(HelpTopic::Results); });
    window.HelpBtn()->show();
    window.exec();
}

void MenuCommands::mMidiThruClick() {
    const bool on = w_.midiKeyboard().toggleThru();
    actions_.value(QStringLiteral("mMidiThru"))->setChecked(on);
    w_.syncSoundSettings();
}

} // namespace harmik
