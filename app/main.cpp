// Harmik: ear training for musicians.
#include "app/about_window.h"
#include "app/main_window.h"
#include "midi/sound_engine.h"
#include "midi/system_midi.h"
#include "userdata/file_io.h"
#include "userdata/hints.h"
#include "userdata/messages.h"
#include "userdata/paths.h"
#include "userdata/settings_record.h"
#include "userdata/strings.h"
#include "userdata/top_ten.h"

#include <QApplication>
#include <QDir>
#include <QLockFile>
#include <QPixmapCache>
#include <QPointer>
#include <QTemporaryDir>

#include <memory>
#include <thread>

namespace {

constexpr int kOnlyOneInstance = 510;
constexpr int kNoDataFolder = 2044;

void warn(const QString& text) {
    harmik::ShowMessage(nullptr,
                        {harmik::MessageType::Warning, harmik::MessageButtons::Ok, text, 0, {}});
}

} // namespace

int main(int argc, char** argv) {
    harmik::SkipBusLaunchThatCannotWork(); // before any other thread reads the environment
    // The sound system's configuration is read, and the synthesizer made, while the toolkit
    // comes up: done before the first window makes Qt connect to the session bus, which without
    // a bus forks to start one, so that nothing else is under way then.
    std::shared_ptr<harmik::SynthCore> synth;
    std::thread warmUp([&synth] {
        harmik::WarmUpSoundLibraries();
        synth = std::make_shared<harmik::SynthCore>(harmik::kMixRate);
    });
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("harmik"));
    QApplication::setApplicationVersion(QStringLiteral(HARMIK_VERSION));
    // The style's pixmap cache ages its entries on a timer that wakes the program half a minute
    // after every new entry. Painting the window without it costs well under a millisecond more
    // (main_window_bench), and the program then truly sleeps at rest.
    QPixmapCache::setCacheLimit(0);
    // The style with the tooltip pause (HintTiming), before any widget.
    QApplication::setStyle(new harmik::HintStyle);
    // Done by now on an idle machine; waited for all the same, so that none of it runs while
    // the first window (a message or the splash) makes Qt connect to the session bus.
    warmUp.join();

    // Files the program reads and writes by bare name live in the user's folder. When it cannot
    // be made the program says so and works in an empty folder of its own that goes when it
    // ends: defaults, and never the files of the folder it was started from.
    QString reason;
    std::unique_ptr<QTemporaryDir> standIn;
    const bool inDataFolder = harmik::EnterUserDataFolder(&reason);
    if (!inDataFolder) {
        standIn = std::make_unique<QTemporaryDir>();
        if (!standIn->isValid() || !QDir::setCurrent(standIn->path()))
            QDir::setCurrent(QDir::rootPath()); // read-only to a user: nothing is written
    }

    std::unique_ptr<QLockFile> instanceLock;
    if (harmik::TakeInstanceLock(instanceLock) == harmik::InstanceLockResult::OtherCopyRuns) {
        harmik::ShowMessage(nullptr, {harmik::MessageType::Plain,
                                      harmik::MessageButtons::Ok,
                                      harmik::LoadStr(kOnlyOneInstance),
                                      0,
                                      {}});
        return 1;
    }
    if (!inDataFolder)
        warn(harmik::FormatStr(kNoDataFolder, {harmik::UserDataFolder(), reason}));
    // What a save cut short left behind; only this copy runs now.
    harmik::RemoveInterruptedWrites(
        QDir::currentPath(),
        {QString::fromLatin1(harmik::kSettingsFileName),
         QString::fromLatin1(harmik::kTopTenFileName),
         QString::fromLatin1(harmik::kSettingsFileName) + QStringLiteral(".bak")});

    // The splash closes and frees itself after a few seconds, possibly while start-up still
    // waits on a message, so it is only reached through a guarded pointer.
    QPointer<harmik::AboutWindow> splash = new harmik::AboutWindow;
    splash->MakeSplash();
    splash->show();
    splash->repaint();

    harmik::TForm1 window([&synth] {
        harmik::TForm1Setup setup;
        setup.sound.PreparedSynth = std::move(synth);
        return setup;
    }());
    // The tip of the day comes before the main window shows.
    window.ShowTipsAtStart(splash);
    if (window.startsMaximized())
        window.showMaximized();
    else
        window.show();
    if (splash)
        splash->raise();

    return app.exec();
}
