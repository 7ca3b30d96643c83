// The program's help as a user reaches it: the help menu, the help button and F1, the Help
// buttons of message boxes and dialogs, each opening its page; a missing collection; and a
// page in the collection for every topic the program asks for.
#include "app/help_commands.h"
#include "app/main_menu.h"
#include "app/module_table.h"
#include "help/help_system.h"
#include "help/help_topics.h"
#include "help/help_window.h"
#include "input/answer_panel.h"
#include "userdata/midi_settings_dialog.h"
#include "userdata/other_settings_dialog.h"
#include "window_test_support.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QHelpEngineCore>
#include <QHelpIndexWidget>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest/QTest>

namespace harmik {
namespace {

class HelpTest : public WindowTest {
protected:
    QUrl shownPage(TForm1& w) {
        HelpWindow* help = w.HelpMenu()->Help().Window();
        return help != nullptr && help->isVisible() ? help->currentPage() : QUrl();
    }
};

TEST_F(HelpTest, MenuItemsButtonAndF1OpenTheirPages) {
    auto w = makeWindow();
    w->show();
    struct Case {
        const char* item;
        int topic;
    };
    for (const Case& c :
         {Case{"mIndhold", HelpTopic::Contents}, Case{"mTastatur", HelpTopic::Keyboard},
          Case{"mHurtiggennemgang", HelpTopic::GettingStarted}}) {
        QAction* item = w->menuAction(QString::fromLatin1(c.item));
        ASSERT_TRUE(item->isEnabled() && item->isVisible()) << c.item;
        item->trigger();
        EXPECT_EQ(shownPage(*w), HelpTopicUrl(c.topic)) << c.item;
    }

    // The help button shows the page of the module in use, following every change of module.
    const int modulePages[] = {0, 11, 12, 13, 14, 17, 15, 16};
    for (int m : {3, 7, 1, 5, 6, 2, 4}) {
        w->SelectModule(m);
        w->HelpMenu()->BitBtnHelp()->click();
        EXPECT_EQ(shownPage(*w), HelpTopicUrl(modulePages[m])) << "module " << m;
    }

    // F1 on an answer box gives the answer panel's page; elsewhere the module's.
    QApplication::setActiveWindow(w.get());
    auto* box = w->Group_Problem()->findChild<QCheckBox*>();
    ASSERT_NE(box, nullptr);
    box->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), box);
    QTest::keyClick(box, Qt::Key_F1);
    EXPECT_EQ(shownPage(*w), HelpTopicUrl(HelpTopic::AnswerPanel));
    QApplication::setActiveWindow(w.get());
    w->setFocus();
    w->HelpMenu()->HelpKeyPressed();
    EXPECT_EQ(shownPage(*w), HelpTopicUrl(HelpTopic::Inversions)); // the last module chosen
    EXPECT_TRUE(shown.empty());
}

TEST_F(HelpTest, IndexFindsKeywordsByTheirBeginning) {
    auto w = makeWindow();
    w->menuAction(QStringLiteral("mHelpon"))->trigger();
    HelpWindow* help = w->HelpMenu()->Help().Window();
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->Tabs()->currentIndex(), 1);
    EXPECT_TRUE(help->IndexField()->text().isEmpty());
    // The index is read in the background; then typing the beginning of a word narrows it.
    QAbstractItemModel* index = help->findChild<QHelpIndexWidget*>()->model();
    QTRY_VERIFY_WITH_TIMEOUT(index->rowCount() > 50, 10000);
    help->IndexField()->setText(QStringLiteral("Септ"));
    QTRY_COMPARE_WITH_TIMEOUT(index->rowCount(), 1, 10000);
    EXPECT_EQ(index->index(0, 0).data().toString(), QStringLiteral("Септаккорды"));
    help->IndexField()->setText(QStringLiteral("Обращ"));
    QTRY_COMPARE_WITH_TIMEOUT(index->rowCount(), 1, 10000);
    emit help->IndexField()->returnPressed();
    EXPECT_EQ(help->currentPage(), HelpTopicUrl(HelpTopic::Inversions));
}

TEST_F(HelpTest, HelpButtonsOfMessagesAndDialogsOpenTheirTopics) {
    // The colour-depth message of the start-up already offers its page.
    answers = {MessageAnswer::Help};
    auto w = makeWindow(8);
    EXPECT_EQ(shownPage(*w), HelpTopicUrl(HelpTopic::Display));
    // A message box with OK and Help: the Help button opens its topic.
    for (const int topic : {HelpTopic::SoundDevices, HelpTopic::MidiMapper}) {
        answers = {MessageAnswer::Help};
        EXPECT_EQ(
            ShowMessage(
                w.get(),
                {MessageType::Warning, MessageButtons::OkHelp, QStringLiteral("?"), topic, {}}),
            MessageAnswer::Ok);
        EXPECT_EQ(shownPage(*w), HelpTopicUrl(topic)) << topic;
    }
    // The settings dialogs: Help opens the page shown.
    SettingsRecord s = DefaultSettings();
    for (int page = 0; page < 3; ++page) {
        TIndstillinger midi(s, {}, w.get());
        midi.Pages()->setCurrentIndex(page);
        midi.findChild<QPushButton*>(QStringLiteral("HelpBtn"))->click();
        EXPECT_EQ(shownPage(*w), HelpTopicUrl(HelpTopic::MidiDevicesPage + page)) << page;
    }
    // Over a running dialog the help is modal, so that it can be read; put away, it is
    // modeless again.
    {
        TTabDiverse modal(s, true, {}, w.get());
        modal.setModal(true);
        modal.show();
        modal.findChild<QPushButton*>(QStringLiteral("HelpBtn"))->click();
        HelpWindow* help = w->HelpMenu()->Help().Window();
        EXPECT_TRUE(help->isVisible() && help->windowModality() == Qt::ApplicationModal);
        help->close();
        EXPECT_EQ(help->windowModality(), Qt::NonModal);
    }
    for (int page = 0; page < 2; ++page) {
        TTabDiverse other(s, true, {}, w.get());
        other.Pages()->setCurrentIndex(page);
        other.findChild<QPushButton*>(QStringLiteral("HelpBtn"))->click();
        EXPECT_EQ(shownPage(*w), HelpTopicUrl(HelpTopic::OtherSettingsPage + page)) << page;
    }
}

TEST_F(HelpTest, MissingCollectionIsReported) {
    QTemporaryDir empty;
    HelpSystem help(nullptr, empty.filePath(QStringLiteral("harmik.qhc")));
    EXPECT_FALSE(help.ShowTopic(HelpTopic::Intervals));
    EXPECT_FALSE(help.ShowIndex(QString()));
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].type, MessageType::Error);
    EXPECT_TRUE(shown[0].text.contains(empty.filePath(QStringLiteral("harmik.qhc"))));
    EXPECT_EQ(help.Window(), nullptr);
}

// Every topic number the program asks for has its own entry in the table, and every page of the
// table is in the shipped collection.
TEST(HelpTopics, EveryTopicInUseHasAPageInTheCollection) {
    std::vector<int> used = {HelpTopic::Contents,
                             HelpTopic::GettingStarted,
                             HelpTopic::Keyboard,
                             HelpTopic::AnswerPanel,
                             150 /* devices, start checks */,
                             153 /* colour depth */,
                             210 /* MIDI mapper */,
                             HelpTopic::Results};
    for (int m = 1; m <= 7; ++m)
        used.push_back(ModuleEntry(m).helpTopic);
    for (int page = 0; page < 3; ++page)
        used.push_back(200 + page);
    for (int page = 0; page < 2; ++page)
        used.push_back(220 + page);
    for (int topic : used) {
        const bool inTable =
            std::any_of(HelpTopicTable().begin(), HelpTopicTable().end(),
                        [topic](const HelpTopicPage& e) { return e.Topic == topic; });
        EXPECT_TRUE(inTable) << topic;
    }

    const QString collection = ShippedHelpCollection();
    ASSERT_FALSE(collection.isEmpty());
    // Read from a copy, as the program does: the collection names its documentation beside it.
    QTemporaryDir copy;
    for (const char* name : {"harmik.qhc", "harmik.qch"})
        ASSERT_TRUE(QFile::copy(QFileInfo(collection).dir().filePath(QString::fromLatin1(name)),
                                copy.filePath(QString::fromLatin1(name))));
    QHelpEngineCore engine(copy.filePath(QStringLiteral("harmik.qhc")));
    ASSERT_TRUE(engine.setupData());
    for (const HelpTopicPage& entry : HelpTopicTable()) {
        const QByteArray page = engine.fileData(HelpTopicUrl(entry.Topic));
        EXPECT_TRUE(page.contains("<h1>")) << entry.Topic << " " << entry.Page;
        // The pictures a page shows are in the collection too.
        static const QRegularExpression picture(QStringLiteral("<img src=\"([^\"]+)\""));
        for (const auto& m : picture.globalMatch(QString::fromUtf8(page))) {
            const QImage image =
                QImage::fromData(engine.fileData(HelpPageUrl(m.captured(1))), "PNG");
            EXPECT_GT(image.width(), 300) << entry.Page << " " << m.captured(1).toStdString();
        }
    }
}

// No menu item waits for code: each is enabled; the web page is offered only when the build
// has its address.
TEST_F(HelpTest, EveryMenuItemWorks) {
    auto w = makeWindow();
    for (const MenuItemDef& def : MainMenuItems()) {
        const QString name = QString::fromLatin1(def.name);
        if (def.captionId == 0)
            continue; // separators
        QAction* item = w->menuAction(name);
        EXPECT_TRUE(item->isEnabled() || !item->isVisible()) << def.name;
    }
    EXPECT_EQ(w->menuAction(QStringLiteral("mHomepage"))->isVisible(),
              !HomepageAddress().isEmpty());
}

} // namespace
} // namespace harmik
