// Makes the pictures of the program for the manual and for the software centres' screenshots:
// its own main window in each module and the tip of the day, drawn offscreen in a fresh user
// folder, so that the pictures always show the program as it is.
// Usage: harmik_pictures FOLDER [WIDTHxHEIGHT]   (the window's size, 960x660 by default)
#include "app/main_window.h"
#include "input/answer_panel.h"
#include "userdata/messages.h"
#include "userdata/paths.h"
#include "userdata/tip_of_the_day.h"

#include <QApplication>
#include <QDir>
#include <QSize>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdio>

namespace {

bool save(QWidget& widget, const QString& folder, const char* name) {
    const QString file = QDir(folder).filePath(QString::fromLatin1(name));
    if (widget.grab().save(file))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
    return false;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QSize size(960, 660);
    if (argc == 3) {
        const QStringList wh = QString::fromLatin1(argv[2]).split(QLatin1Char('x'));
        if (wh.size() == 2)
            size = QSize(wh[0].toInt(), wh[1].toInt());
    }
    if ((argc != 2 && argc != 3) || size.isEmpty()) {
        std::fprintf(stderr, "usage: harmik_pictures FOLDER [WIDTHxHEIGHT]\n");
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
        const char* file;
    };
    const Shot shots[] = {{1, "intervals.png"},  {2, "scales.png"},       {3, "chords.png"},
                          {4, "inversions.png"}, {5, "progressions.png"}, {6, "melodies.png"},
                          {7, "rhythm.png"}};
    harmik::TForm1Setup setup;
    setup.sound.OpenAudio = false;
    setup.sound.SoundFontFolders = {user.path()};
    harmik::TForm1 window(setup);
    window.show();
    window.setWindowState(Qt::WindowNoState);
    window.resize(size);
    for (const Shot& shot : shots) {
        window.SelectModule(shot.module);
        for (int i = 0; i < 4; ++i)
            window.Group_Problem()->setBoxTicked(i, true);
        QApplication::processEvents();
        if (!save(window, out, shot.file))
            return 1;
    }

    harmik::TfTipOfTheDay tip(
        harmik::ReadTipsFile(harmik::FindShippedFile(QString::fromLatin1(harmik::kTipsFileName))),
        {}, true);
    tip.GetTip(true);
    tip.show();
    QApplication::processEvents();
    return save(tip, out, "tip-of-the-day.png") ? 0 : 1;
}
