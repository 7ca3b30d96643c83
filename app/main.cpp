// Harmik: ear training for musicians.
#include "app/about_window.h"
#include "app/main_window.h"
#include "userdata/messages.h"
#include "userdata/paths.h"
#include "userdata/strings.h"

#include <QApplication>
#include <QDir>
#include <QLockFile>
#include <QPointer>

namespace {

constexpr int kOnlyOneInstance = 510;

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("harmik"));
    QApplication::setApplicationVersion(QStringLiteral(HARMIK_VERSION));

    // Files the program reads and writes by bare name live in the user's folder.
    QString reason;
    harmik::EnterUserDataFolder(&reason);

    QLockFile instanceLock(QDir(harmik::RuntimeFolder()).filePath(QStringLiteral("harmik.lock")));
    instanceLock.setStaleLockTime(0);
    if (!instanceLock.tryLock(0)) {
        harmik::ShowMessage(nullptr, {harmik::MessageType::Plain,
                                      harmik::MessageButtons::Ok,
                                      harmik::LoadStr(kOnlyOneInstance),
                                      0,
                                      {}});
        return 1;
    }

    // The splash closes and frees itself after a few seconds, possibly while start-up still
    // waits on a message, so it is only reached through a guarded pointer.
    QPointer<harmik::AboutWindow> splash = new harmik::AboutWindow;
    splash->MakeSplash();
    splash->show();
    splash->repaint();

    harmik::TForm1 window;
    if (window.startsMaximized())
        window.showMaximized();
    else
        window.show();
    if (splash)
        splash->raise();

    return app.exec();
}
