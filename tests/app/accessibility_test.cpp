// What a user of a screen reader or of the keyboard alone meets in the main window.
#include "input/answer_panel.h"
#include "userdata/midi_settings_dialog.h"
#include "userdata/other_settings_dialog.h"
#include "window_test_support.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>

namespace harmik {
namespace {

class AccessibilityTest : public WindowTest {};

bool operable(const QWidget* w) {
    if (!w->isVisibleTo(w->window()) || !w->isEnabled() || qobject_cast<const QLabel*>(w))
        return false;
    // A spin box's editor and a tab page's frame are named by the control they belong to.
    if (qobject_cast<const QAbstractSpinBox*>(w->parentWidget()) ||
        qobject_cast<const QTabWidget*>(w))
        return false;
    return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QAbstractSlider*>(w) ||
           qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QComboBox*>(w) ||
           qobject_cast<const QLineEdit*>(w) || (w->focusPolicy() & Qt::TabFocus) ||
           w->testAttribute(Qt::WA_Hover) || !w->toolTip().isEmpty();
}

QString accessibleName(QWidget* w) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    return a ? a->text(QAccessible::Name).trimmed() : QString();
}

// The operable controls of `window` that a screen reader could not name.
QString unnamedControls(QWidget* window) {
    QStringList unnamed;
    for (QWidget* c : window->findChildren<QWidget*>()) {
        if (c->window() == window && operable(c) && accessibleName(c).isEmpty())
            unnamed << QStringLiteral("%1 (%2)").arg(c->objectName(), c->metaObject()->className());
    }
    return unnamed.join(QStringLiteral(", "));
}

// Every page of a settings dialog in turn.
QString unnamedOnEveryPage(QDialog& dialog) {
    QString unnamed;
    dialog.show();
    for (QTabWidget* tabs : dialog.findChildren<QTabWidget*>())
        for (int page = 0; page < tabs->count(); ++page) {
            tabs->setCurrentIndex(page);
            unnamed += unnamedControls(&dialog);
        }
    return unnamed;
}

TEST_F(AccessibilityTest, EveryOperableControlHasAName) {
    auto w = makeWindow();
    w->show();
    for (int module = 1; module <= 7; ++module) {
        w->SelectModule(module);
        EXPECT_EQ(unnamedControls(w.get()).toStdString(), "") << "module " << module;
    }
    TIndstillinger midiSettings(w->Settings(), {});
    EXPECT_EQ(unnamedOnEveryPage(midiSettings).toStdString(), "");
    TTabDiverse otherSettings(w->Settings(), true, {});
    EXPECT_EQ(unnamedOnEveryPage(otherSettings).toStdString(), "");
}

// The controls that Tab reaches from the first module button, in the order it reaches them.
std::vector<QWidget*> tabChain(QWidget* start) {
    std::vector<QWidget*> chain{start};
    for (QWidget* c = start->nextInFocusChain(); c != start; c = c->nextInFocusChain())
        if ((c->focusPolicy() & Qt::TabFocus) && c->isVisible() && c->isEnabled())
            chain.push_back(c);
    return chain;
}

// Tab goes through the window's panels from the top left down, and through the answer boxes
// in item order.
TEST_F(AccessibilityTest, TabWalksTheWindowFromTheTopLeft) {
    auto w = makeWindow();
    w->show();
    for (int module = 1; module <= 7; ++module) {
        w->SelectModule(module);
        QWidget* central = w->centralWidget();
        const auto panelOf = [central](QWidget* c) {
            while (c->parentWidget() != central)
                c = c->parentWidget();
            return c;
        };
        int lastPanelTop = -1;
        int lastBox = -1;
        for (QWidget* c : tabChain(w->findChild<QWidget*>(QStringLiteral("SpeedInterval")))) {
            const int top = panelOf(c)->y();
            EXPECT_GE(top, lastPanelTop - 8)
                << "module " << module << ": " << c->objectName().toStdString();
            lastPanelTop = std::max(lastPanelTop, top);
            if (auto* box = qobject_cast<AnswerBox*>(c)) {
                EXPECT_GT(box->index(), lastBox) << "module " << module;
                lastBox = box->index();
            }
        }
    }
}

// Return starts the task and puts the focus on the first answer box; Tab walks the ticked
// boxes in item order and Space answers with the one in focus.
TEST_F(AccessibilityTest, AnIntervalTaskCanBeAnsweredWithTheKeyboardAlone) {
    auto w = makeWindow();
    w->Settings().ExerciseOptions.ExercisesPerTask = 3;
    const std::vector<int> ticked{3, 4, 7};
    for (int i : ticked)
        w->Group_Problem()->setBoxTicked(i, true);
    w->show();
    QApplication::setActiveWindow(w.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));

    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : w.get(),
                    Qt::Key_Return);
    ASSERT_TRUE(w->Session().running());
    const int right = std::abs(w->Session().Item().itemIndex);
    for (int tabs = 0; tabs < 3 && QApplication::focusWidget() != w->Group_Problem()->box(right);
         ++tabs)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), w->Group_Problem()->box(right));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_EQ(w->Session().Score().right, 1);
    EXPECT_EQ(w->Session().Score().wrong, 0);
}

} // namespace
} // namespace harmik
