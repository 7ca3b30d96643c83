#include "app/activity_lamps.h"
#include "app/colour_depth.h"
#include "app/main_menu.h"
#include "app/main_window.h"
#include "app/sound_panel.h"
#include "userdata/messages.h"
#include "userdata/strings.h"
#include "window_test_support.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QStatusTipEvent>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace harmik;

namespace {

using MainWindowTest = WindowTest;

QByteArray fileBytes(const QString& name) {
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST_F(MainWindowTest, FirstStartWithoutFilesUsesEveryDefault) {
    auto w_ = makeWindow(24);
    TForm1& w = *w_;
    for (const MessageRequest& r : startupMessages)
        EXPECT_TRUE(isSoundDeviceMessage(r)) << r.text.toStdString();
    EXPECT_EQ(w.windowTitle(), QStringLiteral(" H A R M I K - Интервалы"));
    EXPECT_EQ(w.Settings().CurrentModule, 1);
    EXPECT_EQ(int(w.Settings().ExerciseOptions.ExercisesPerTask), 20);
    EXPECT_TRUE(w.startsMaximized());
    EXPECT_EQ(w.size(), QSize(800, 600));
    EXPECT_EQ(w.HelpContext(), 11);
    EXPECT_EQ(int(w.TopTen().records[0].score), 4000);
    EXPECT_EQ(w.TipIndex(), -1);
    EXPECT_TRUE(w.HighColourDisplay());
    EXPECT_EQ(w.StartDirectory(), QDir::currentPath());
    EXPECT_EQ(w.Cursors().size(), 11);
    EXPECT_EQ(w.PanStatus()->height(), 16);
}

TEST_F(MainWindowTest, SavedSettingsComeBackOnTheNextStart) {
    {
        auto w_ = makeWindow(24);
        TForm1& w = *w_;
        answers = {MessageAnswer::Yes};
        w.Settings().CurrentModule = 7;
        w.Settings().StatusBar = 0;
        w.Settings().ExerciseOptions.WinMaximized = 0;
        w.show();
        w.setWindowState(Qt::WindowNoState);
        w.setGeometry(30, 40, 700, 500);
        w.TopTen().records[0].score = 5000;
        EXPECT_TRUE(w.close());
    }
    ASSERT_EQ(fileBytes(QStringLiteral("init.hkm")).size(), 966);
    ASSERT_EQ(fileBytes(QStringLiteral("top10.hkt")).size(), 576);

    auto again_ = makeWindow(24);
    TForm1& again = *again_;
    EXPECT_EQ(again.windowTitle(), QStringLiteral(" H A R M I K - Ритм"));
    EXPECT_EQ(again.HelpContext(), 16);
    EXPECT_EQ(again.size(), QSize(700, 500));
    EXPECT_FALSE(again.startsMaximized());
    EXPECT_EQ(again.PanStatus()->height(), 0);
    EXPECT_EQ(int(again.TopTen().records[0].score), 5000);
}

TEST_F(MainWindowTest, ClosingAsksAndNoChangesNothing) {
    auto w_ = makeWindow(24);
    TForm1& w = *w_;
    w.show();
    answers = {MessageAnswer::No};
    EXPECT_FALSE(w.close());
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, QStringLiteral("Закончить работу с Harmik?"));
    EXPECT_EQ(shown[0].type, MessageType::Confirmation);
    EXPECT_EQ(shown[0].buttons, MessageButtons::YesNo);
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(QFile::exists(QStringLiteral("init.hkm")));
    EXPECT_FALSE(QFile::exists(QStringLiteral("top10.hkt")));

    answers = {MessageAnswer::Yes};
    EXPECT_TRUE(w.close());
    EXPECT_TRUE(QFile::exists(QStringLiteral("init.hkm")));
    EXPECT_TRUE(QFile::exists(QStringLiteral("top10.hkt")));
}

TEST_F(MainWindowTest, ClosingWhileMaximisedKeepsTheLastNormalGeometry) {
    auto w_ = makeWindow(24);
    TForm1& w = *w_;
    w.Settings().ExerciseOptions.WinWidth = 640;
    w.showMaximized();
    answers = {MessageAnswer::Yes};
    ASSERT_TRUE(w.close());
    SettingsRecord s = DefaultSettings();
    ASSERT_EQ(LoadSettings(s, QStringLiteral("init.hkm")), SettingsLoadResult::Loaded);
    EXPECT_EQ(int(s.ExerciseOptions.WinWidth), 640);
    EXPECT_EQ(int(s.ExerciseOptions.WinMaximized), 1);
}

TEST_F(MainWindowTest, AFileThatCannotBeWrittenIsNamedWithTheReason) {
    auto w_ = makeWindow(24);
    TForm1& w = *w_;
    // A folder in the way of the settings file makes it unwritable, whoever runs the test.
    ASSERT_TRUE(QDir().mkdir(QStringLiteral("init.hkm")));
    answers = {MessageAnswer::Yes};
    EXPECT_TRUE(w.close());
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].type, MessageType::Warning);
    EXPECT_TRUE(shown[1].text.contains(QStringLiteral("init.hkm")));
    EXPECT_GT(shown[1].text.size(), LoadStr(2041).size());
    EXPECT_EQ(fileBytes(QStringLiteral("top10.hkt")).size(), 576); // the other file is saved
}

TEST_F(MainWindowTest, LowColourDisplaysAreToldAndGetTheirColours) {
    auto w_ = makeWindow(8);
    TForm1& w = *w_;
    ASSERT_GE(startupMessages.size(), 1u);
    EXPECT_EQ(startupMessages[0].text, LoadStr(2011));
    EXPECT_EQ(startupMessages[0].type, MessageType::Information);
    EXPECT_EQ(startupMessages[0].helpTopic, 153);
    EXPECT_FALSE(w.HighColourDisplay());
}

TEST(ColourDepth, DecisionByBitsPerPixel) {
    const ColourDepthDecision four = DecideColourDepth(4);
    EXPECT_EQ(four.messageId, 2010);
    EXPECT_FALSE(four.HighColourDisplay);
    EXPECT_EQ(four.windowColour, QColor(0, 0x80, 0));
    EXPECT_EQ(four.fontColour, QColor(0xC0, 0xC0, 0xC0));

    for (int bits : {8, 14}) {
        const ColourDepthDecision d = DecideColourDepth(bits);
        EXPECT_EQ(d.messageId, 2011) << bits;
        EXPECT_FALSE(d.HighColourDisplay);
        EXPECT_EQ(d.windowColour, QColor(0x3F, 0x68, 0x91));
        EXPECT_EQ(d.speedMenuColour, QColor(0xFF, 0xFF, 0));
        EXPECT_EQ(d.gaugeBackground, d.windowColour);
    }
    for (int bits : {15, 16, 24, 32}) {
        const ColourDepthDecision d = DecideColourDepth(bits);
        EXPECT_EQ(d.messageId, 0) << bits;
        EXPECT_TRUE(d.HighColourDisplay);
        EXPECT_FALSE(d.fontColour.isValid());
    }
}

TEST_F(MainWindowTest, MenuBarCaptionsShortcutsAndChecks) {
    auto w_ = makeWindow(24);
    TForm1& w = *w_;
    const QList<QAction*> bar = w.menuBar()->actions();
    ASSERT_EQ(bar.size(), 5);
    EXPECT_EQ(bar[0]->text(), QStringLiteral("&Файлы"));
    EXPECT_EQ(bar[4]->text(), QStringLiteral("&Справка"));

    EXPECT_EQ(w.menuAction(QStringLiteral("mSeRetProfil"))->shortcut(),
              QKeySequence(QStringLiteral("Ctrl+P")));
    EXPECT_EQ(w.menuAction(QStringLiteral("mAfslutHarmik"))->shortcut(),
              QKeySequence(QStringLiteral("Alt+F4")));
    EXPECT_EQ(w.menuAction(QStringLiteral("mMidiKlaverLyt"))->shortcut(),
              QKeySequence(QStringLiteral("L")));
    // "(Нет)" gives no shortcut; items without a shortcut text keep the layout's.
    EXPECT_TRUE(w.menuAction(QStringLiteral("mVisTitel"))->shortcut().isEmpty());
    EXPECT_TRUE(w.menuAction(QStringLiteral("mOmHarmik"))->shortcut().isEmpty());
    EXPECT_EQ(w.menuAction(QStringLiteral("mRytme"))->shortcut(),
              QKeySequence(QStringLiteral("Alt+7")));
    EXPECT_TRUE(ShortcutFromText(QStringLiteral("(Нет)")).isEmpty());
    EXPECT_EQ(ShortcutFromText(QStringLiteral("F2")), QKeySequence(Qt::Key_F2));

    for (const char* name : {"mVisTitel", "mMidiThru", "mMidiKlaverLyt"}) {
        QAction* a = w.menuAction(QString::fromLatin1(name));
        EXPECT_TRUE(a->isCheckable() && a->isChecked()) << name;
    }
    EXPECT_EQ(w.menuAction(QStringLiteral("mTop10"))->statusTip(), SplitHint(LoadStr(5045)).Long);
    EXPECT_FALSE(w.menuAction(QStringLiteral("mTop10"))->statusTip().startsWith(u'|'));

    // Every item has a caption; commands whose windows are not in this build are disabled,
    // not dead.
    int items = 0;
    for (const MenuItemDef& def : MainMenuItems()) {
        if (def.captionId == 0 || def.dropDown)
            continue;
        ++items;
        QAction* a = w.menuAction(QString::fromLatin1(def.name));
        ASSERT_NE(a, nullptr) << def.name;
        EXPECT_FALSE(a->text().isEmpty()) << def.name;
    }
    EXPECT_EQ(items, 25);
    EXPECT_TRUE(w.menuAction(QStringLiteral("mAfslutHarmik"))->isEnabled());
    EXPECT_TRUE(w.menuAction(QStringLiteral("mVisTitel"))->isEnabled());
}

TEST_F(MainWindowTest, TitleBarSwitchTwiceRestoresTheHeight) {
    auto w_ = makeWindow(24);
    TForm1& w = *w_;
    w.showNormal();
    w.resize(700, 500);
    const int height = w.height();
    QAction* item = w.menuAction(QStringLiteral("mVisTitel"));
    item->trigger();
    EXPECT_FALSE(item->isChecked());
    EXPECT_TRUE(w.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(w.height(), height - 1);
    item->trigger();
    EXPECT_TRUE(item->isChecked());
    EXPECT_FALSE(w.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(w.height(), height);
    EXPECT_TRUE(w.isVisible());
}

TEST_F(MainWindowTest, HintsGoToTheStatusPanel) {
    auto w_ = makeWindow(24);
    TForm1& w = *w_;
    QStatusTipEvent tip(QStringLiteral("Длинная подсказка"));
    QApplication::sendEvent(&w, &tip);
    EXPECT_EQ(w.PanStatus()->text(), QStringLiteral("Длинная подсказка"));
    EXPECT_EQ(SplitHint(QStringLiteral("|только статус")).Short, QString());
    EXPECT_EQ(SplitHint(QStringLiteral("|только статус")).Long, QStringLiteral("только статус"));
    EXPECT_EQ(SplitHint(QStringLiteral("кратко|длинно|ещё")).Long, QStringLiteral("длинно|ещё"));
    EXPECT_EQ(SplitHint(QStringLiteral("одно")).Short, QStringLiteral("одно"));
}

TEST_F(MainWindowTest, HintDelaySetsTheTooltipPauseAndTenTurnsTooltipsOff) {
    auto tooltipShownOver = [](QWidget* widget) {
        QToolTip::hideText();
        QHelpEvent help(QEvent::ToolTip, QPoint(1, 1), widget->mapToGlobal(QPoint(1, 1)));
        QApplication::sendEvent(widget, &help);
        return QToolTip::isVisible();
    };
    {
        auto w_ = makeWindow(24);
        TForm1& w = *w_;
        w.show();
        EXPECT_EQ(QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 1000);
        EXPECT_TRUE(tooltipShownOver(w.ImageEndeH()));
    }
    SettingsRecord s = DefaultSettings();
    s.HintDelay = 10;
    ASSERT_TRUE(SaveSettingsFile(s, QStringLiteral("init.hkm"), nullptr));
    auto w_ = makeWindow(24);
    TForm1& w = *w_;
    w.show();
    EXPECT_FALSE(tooltipShownOver(w.ImageEndeH()));
    QToolTip::hideText();
}

TEST_F(MainWindowTest, SoundPanelHidesOnTheSeventhTickOrAtOnceOffThePanel) {
    auto w_ = makeWindow(24);
    TForm1& w = *w_;
    w.show();
    SoundPanel* panel = w.Pan_Valg();
    emit w.ImageMini()->touched();
    ASSERT_TRUE(panel->isPanelOpen());
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->EditTempo()->text(), QStringLiteral("100"));
    EXPECT_EQ(panel->Timer1()->interval(), 500);

    // Left alone: six ticks count down, the seventh hides it.
    for (int tick = 1; tick <= 6; ++tick) {
        QMetaObject::invokeMethod(panel->Timer1(), "timeout", Qt::DirectConnection);
        EXPECT_TRUE(panel->isVisible()) << tick;
    }
    QSignalSpy closed(panel, &SoundPanel::closed);
    QMetaObject::invokeMethod(panel->Timer1(), "timeout", Qt::DirectConnection);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_FALSE(panel->Timer1()->isActive());
    EXPECT_EQ(closed.count(), 1);

    // Moving onto the free area of the window hides it at the next tick.
    emit w.ImageMini()->touched();
    QMetaObject::invokeMethod(panel->Timer1(), "timeout", Qt::DirectConnection);
    QWidget* freeArea = w.centralWidget();
    ASSERT_NE(freeArea, nullptr);
    QTest::mouseMove(freeArea, QPoint(5, 5));
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), freeArea->mapToGlobal(QPointF(5, 5)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(freeArea, &move);
    QMetaObject::invokeMethod(panel->Timer1(), "timeout", Qt::DirectConnection);
    EXPECT_FALSE(panel->isVisible());
}

TEST_F(MainWindowTest, ActivityLampsGoOutTogetherAfterOneShot) {
    auto w_ = makeWindow(24);
    TForm1& w = *w_;
    ActivityLamps* lamps = w.ImageEndeH();
    EXPECT_FALSE(lamps->TimerAlways()->isActive());
    lamps->LightOutput();
    lamps->LightInput();
    EXPECT_TRUE(lamps->inputLit() && lamps->outputLit());
    EXPECT_TRUE(lamps->TimerAlways()->isSingleShot());
    EXPECT_EQ(lamps->TimerAlways()->interval(), 200);
    QMetaObject::invokeMethod(lamps->TimerAlways(), "timeout", Qt::DirectConnection);
    EXPECT_FALSE(lamps->inputLit() || lamps->outputLit());
}
