// Makes the screenshots listed in the AppStream metadata: the program's own main window,
// drawn offscreen in a fresh user folder, one module per picture with a few answers ticked.
// Usage: harmik_screenshots FOLDER  (the language follows HARMIK_LANGUAGE / the locale)
#include "app/main_window.h"
#include "input/answer_panel.h"
#include "userdata/messages.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: harmik_screenshots FOLDER\n");
        return 2;
    }
    const QString out = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    QDir().mkpath(out);
    QTemporaryDir user;
    QDir::setCurrent(user.path());
    // Start-up messages about missing sound devices are answered at once.
    harmik::SetMessageHook([](const harmik::MessageRequest&) { return harmik::MessageAnswer::Ok; });

    struct Shot {
        int module;
        const char* name;
    };
    const Shot shots[] = {{1, "intervals"}, {3, "chords"}, {6, "melodies"}};
    for (const Shot& shot : shots) {
        harmik::TForm1Setup setup;
        setup.sound.OpenAudio = false;
        setup.sound.SoundFontFolders = {user.path()};
        harmik::TForm1 window(setup);
        window.show();
        window.setWindowState(Qt::WindowNoState);
        window.resize(1024, 768);
        window.SelectModule(shot.module);
        for (int i = 0; i < 4; ++i)
            window.Group_Problem()->setBoxTicked(i, true);
        QApplication::processEvents();
        const QString file = QDir(out).filePath(QString::fromLatin1(shot.name) + ".png");
        if (!window.grab().save(file)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
