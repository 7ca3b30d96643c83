// The tip of the day as the user meets it at start-up: which tip shows, paging round, the
// headings and italics, line breaks, the tips file, and the fork in the window.
#include "userdata/paths.h"
#include "userdata/strings.h"
#include "userdata/tip_of_the_day.h"
#include "userdata/tuning_fork_picture.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest/QTest>
#include <gtest/gtest.h>

using namespace harmik;

namespace {

const QStringList kTips = {QStringLiteral("^Первый совет"), QStringLiteral("?Второй факт"),
                           QStringLiteral("'Третья цитата"), QStringLiteral("#Четвертое")};

// The window as start-up shows it: the stored index, then the next tip.
struct Shown {
    int index;
    QString tip;
};
Shown startWith(const QStringList& tips, int storedIndex) {
    TfTipOfTheDay window(tips, {}, true);
    window.setTipIndex(storedIndex);
    window.GetTip(true);
    return {window.TipIndex(), window.lTip()->text()};
}

TEST(TipOfTheDay, StartShowsTheTipAfterTheStoredOneWrappingAtTheEnd) {
    struct Case {
        int stored;
        int index;
        const char* tip;
    };
    for (const Case& c :
         {Case{-1, 0, "Первый совет"}, Case{0, 1, "Второй факт"}, Case{2, 3, "Четвертое"},
          Case{3, 0, "Первый совет"}, Case{150, 0, "Первый совет"}}) {
        const Shown s = startWith(kTips, c.stored);
        EXPECT_EQ(s.index, c.index) << c.stored;
        EXPECT_EQ(s.tip, QString::fromUtf8(c.tip)) << c.stored;
    }
}

TEST(TipOfTheDay, PreviousAndNextPageRound) {
    TfTipOfTheDay window(kTips, {}, true);
    window.GetTip(true);
    window.bPrevious()->click();
    EXPECT_EQ(window.TipIndex(), 3);
    EXPECT_EQ(window.lTip()->text(), QStringLiteral("Четвертое"));
    window.bNext()->click();
    EXPECT_EQ(window.TipIndex(), 0);
    window.bClose()->click();
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(window.TipIndex(), 0); // the tip shown is kept as the index
}

TEST(TipOfTheDay, HeadingItalicsAndLineBreaksFollowTheLine) {
    struct Case {
        const char* line;
        int heading; // 0: none
        bool italic;
        const char* text;
    };
    for (const Case& c :
         {Case{"^Совет", 1604, false, "Совет"}, Case{"?Факт", 1605, false, "Факт"},
          Case{"#Сообщение", 1607, false, "Сообщение"}, Case{"EЗаметка", 1608, false, "Заметка"},
          Case{"'Цитата%s- Автор", 1606, true, "Цитата\n- Автор"},
          Case{"*Два%sперевода%sстроки", 0, false, "Два\nперевода\nстроки"}}) {
        TfTipOfTheDay window({QString::fromUtf8(c.line)}, {}, true);
        window.GetTip(true);
        EXPECT_EQ(window.lTitle()->text(), c.heading ? LoadStr(c.heading) : QString()) << c.line;
        EXPECT_EQ(window.lTip()->font().italic(), c.italic) << c.line;
        EXPECT_EQ(window.lTip()->text(), QString::fromUtf8(c.text)) << c.line;
    }
    // At most 255 characters of text.
    EXPECT_EQ(FormatTip(QStringLiteral("^") + QString(300, u'я')).Text.size(), 255);
}

TEST(TipOfTheDay, NoTipsDisableThePagingAndKeepTheIndex) {
    QTemporaryDir dir;
    QFile empty(dir.filePath(QStringLiteral("TIPS.HKR")));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    for (const QString& path : {empty.fileName(), dir.filePath(QStringLiteral("missing"))}) {
        TfTipOfTheDay window(ReadTipsFile(path), {}, true);
        window.setTipIndex(7);
        window.GetTip(true);
        EXPECT_FALSE(window.bNext()->isEnabled());
        EXPECT_FALSE(window.bPrevious()->isEnabled());
        EXPECT_TRUE(window.lTip()->text().isEmpty());
        EXPECT_EQ(window.TipIndex(), 7);
    }
}

TEST(TipOfTheDay, TipsFileIsReadInEitherEncoding) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("tips"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    // Windows-1251: "^Ля" and "?До", with CR LF and a blank line.
    file.write("^\xcb\xff\r\n\r\n?\xc4\xee\r\n");
    file.close();
    EXPECT_EQ(ReadTipsFile(path), (QStringList{QStringLiteral("^Ля"), QStringLiteral("?До")}));
}

// The shipped file: enough tips, every one with a known topic code, and each of the five codes.
TEST(TipOfTheDay, ShippedTipsCoverTheFiveTopics) {
    const QStringList tips = ReadTipsFile(FindShippedFile(QStringLiteral("tips.hkr")));
    ASSERT_GE(tips.size(), 100);
    for (const QChar code : {u'^', u'?', u'#', u'\'', u'E'})
        EXPECT_TRUE(std::any_of(tips.begin(), tips.end(), [code](const QString& t) {
            return t.front() == code;
        })) << QString(code).toStdString();
    for (const QString& tip : tips) {
        EXPECT_FALSE(FormatTip(tip).Heading.isEmpty()) << tip.toStdString();
        EXPECT_LE(tip.size(), 256) << tip.toStdString();
    }
}

TEST(TipOfTheDay, ForkSoundsAndSwingsWhileItSounds) {
    int played = 0;
    TfTipOfTheDay window(
        kTips,
        [&played] {
            ++played;
            return 300;
        },
        true);
    window.show();
    QTest::mouseClick(window.ImageStemGafl(), Qt::LeftButton);
    EXPECT_EQ(played, 1);
    EXPECT_TRUE(window.ImageStemGafl()->isSounding());
    QTRY_VERIFY_WITH_TIMEOUT(!window.ImageStemGafl()->isSounding(), 5000);
    EXPECT_EQ(window.ImageStemGafl()->swing(), 0.0);
    // The words beside the fork sound it too.
    QTest::mouseClick(window.findChild<QLabel*>(QStringLiteral("lSyngA")), Qt::LeftButton);
    EXPECT_EQ(played, 2);
}

TEST(TipOfTheDay, OpenSplashMovesAboveTheWindow) {
    QWidget splash;
    splash.setGeometry(0, 600, 300, 104);
    splash.show();
    TfTipOfTheDay window(kTips, {}, true);
    window.setSplash(&splash);
    window.move(100, 400);
    window.show();
    EXPECT_EQ(splash.y(), std::max(10, (window.y() - splash.height()) / 2));
}

} // namespace
