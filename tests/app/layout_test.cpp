// The main window reads cleanly at every size: in every module, with and without the guitar,
// idle and during a task, no text is cut, no control covers another and every radio item and
// check box is at least a line high. ctest runs this file a second time at device pixel
// ratio 2 (QT_SCALE_FACTOR=2).
#include "app/exercise_options.h"
#include "app/instrument_panel.h"
#include "input/answer_panel.h"
#include "window_test_support.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTextDocument>

#include <sstream>
#include <string>
#include <tuple>

namespace harmik {
namespace {

// Decorations drawn over their neighbours on purpose (the scale brackets) are no controls.
bool isDecoration(const QWidget* w) {
    return qobject_cast<const PanelBevel*>(w) != nullptr;
}

QString shownText(QString text) {
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return text;
}

std::string describe(const QWidget* w) {
    std::ostringstream os;
    os << w->metaObject()->className() << " '" << w->objectName().toStdString() << "'";
    if (const auto* b = qobject_cast<const QAbstractButton*>(w))
        os << " \"" << b->text().toStdString() << "\"";
    else if (const auto* l = qobject_cast<const QLabel*>(w))
        os << " \"" << l->text().left(30).toStdString() << "\"";
    else if (const auto* g = qobject_cast<const QGroupBox*>(w))
        os << " [" << g->title().toStdString() << "]";
    const QRect r = w->geometry();
    os << " at " << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
    return os.str();
}

// The room a text needs in a widget, or an empty size when the widget shows no text of its own.
QSize textNeed(const QWidget* w) {
    const QFontMetrics fm(w->font());
    if (const auto* l = qobject_cast<const QLabel*>(w)) {
        if (l->text().isEmpty() || l->wordWrap() || Qt::mightBeRichText(l->text()))
            return {};
        const QRect r = fm.boundingRect(QRect(0, 0, 10000, 10000), int(l->alignment()), l->text());
        return {r.width() + 2 * l->indent() * (l->indent() > 0) + 2 * l->margin(),
                r.height() + 2 * l->margin()};
    }
    if (const auto* b = qobject_cast<const QAbstractButton*>(w)) {
        const QString text = shownText(b->text()).trimmed();
        const bool indicator =
            qobject_cast<const QCheckBox*>(w) || qobject_cast<const QRadioButton*>(w);
        if (text.isEmpty())
            return indicator ? QSize(0, fm.height()) : QSize();
        int width = fm.horizontalAdvance(text);
        if (indicator) {
            const QStyle* s = w->style();
            const bool check = qobject_cast<const QCheckBox*>(w) != nullptr;
            width += s->pixelMetric(check ? QStyle::PM_IndicatorWidth
                                          : QStyle::PM_ExclusiveIndicatorWidth,
                                    nullptr, w) +
                     s->pixelMetric(check ? QStyle::PM_CheckBoxLabelSpacing
                                          : QStyle::PM_RadioButtonLabelSpacing,
                                    nullptr, w);
        }
        return {width, fm.height()};
    }
    if (const auto* g = qobject_cast<const QGroupBox*>(w)) {
        const QString title = shownText(g->title());
        if (title.isEmpty())
            return {};
        return {fm.horizontalAdvance(title) + 8, fm.height()};
    }
    if (const auto* c = qobject_cast<const QComboBox*>(w))
        return {fm.horizontalAdvance(c->currentText()), fm.height()};
    if (const auto* e = qobject_cast<const QLineEdit*>(w))
        return {fm.horizontalAdvance(e->text()), fm.height()};
    return {};
}

// Intersections of up to two pixels are frames that touch, as groups standing side by side do.
bool overlaps(const QRect& a, const QRect& b) {
    const QRect i = a.intersected(b);
    return i.width() > 2 && i.height() > 2;
}

void checkTree(const QWidget* parent, std::vector<std::string>& faults) {
    std::vector<const QWidget*> shown;
    for (const QObject* o : parent->children()) {
        const auto* w = qobject_cast<const QWidget*>(o);
        if (!w || w->isWindow() || !w->isVisible() || w->width() <= 0 || w->height() <= 0)
            continue;
        shown.push_back(w);
    }
    const QRect room = parent->rect();
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const QWidget* w = shown[i];
        if (!room.contains(w->geometry()) && !isDecoration(w))
            faults.push_back("outside its parent: " + describe(w) + " in " + describe(parent));
        const QSize need = textNeed(w);
        if (need.isValid() && (need.width() > w->width() || need.height() > w->height()))
            faults.push_back("text cut: " + describe(w) + " needs " + std::to_string(need.width()) +
                             "x" + std::to_string(need.height()));
        for (std::size_t j = i + 1; j < shown.size(); ++j)
            if (!isDecoration(w) && !isDecoration(shown[j]) &&
                overlaps(w->geometry(), shown[j]->geometry()))
                faults.push_back("overlap: " + describe(w) + " and " + describe(shown[j]));
        checkTree(w, faults);
    }
}

using LayoutCase = std::tuple<int, QSize>; // module, window size

class LayoutTest : public WindowTest, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(LayoutTest, EveryTextFitsAndNoControlCoversAnother) {
    const auto [module, size] = GetParam();
    for (const bool guitar : {false, true}) {
        for (const bool running : {false, true}) {
            // The rhythm module starts no task here.
            if (running && module >= 7)
                continue;
            auto w = makeWindow();
            w->Settings().ShowFretboard = 0;
            w->show();
            w->setWindowState(Qt::WindowNoState);
            w->resize(size);
            w->SelectModule(module);
            if (guitar)
                w->Pan_Klaver()->CheckFret()->click();
            if (running) {
                for (int i = 0; i < 4; ++i)
                    w->Group_Problem()->setBoxTicked(i, true);
                w->NyKnapClick();
                ASSERT_TRUE(w->Task().running);
            }
            // With HARMIK_SCREENSHOTS set to a folder, each case is saved there to be looked at.
            const QString shots = qEnvironmentVariable("HARMIK_SCREENSHOTS");
            if (!shots.isEmpty())
                w->grab().save(QStringLiteral("%1/m%2_%3x%4%5%6.png")
                                   .arg(shots)
                                   .arg(module)
                                   .arg(size.width())
                                   .arg(size.height())
                                   .arg(guitar ? "_guitar" : "")
                                   .arg(running ? "_task" : ""));
            std::vector<std::string> faults;
            checkTree(w->centralWidget(), faults);
            std::string all;
            for (const std::string& f : faults)
                all += "\n  " + f;
            EXPECT_TRUE(faults.empty())
                << "module " << module << ", " << size.width() << "x" << size.height()
                << (guitar ? ", guitar" : "") << (running ? ", task running" : ", idle") << all;
            if (running)
                w->EarStopOve();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(WindowSizes, LayoutTest,
                         ::testing::Combine(::testing::Range(1, 8),
                                            ::testing::Values(QSize(800, 600), QSize(1024, 768),
                                                              QSize(1280, 1024),
                                                              QSize(1920, 1200))),
                         [](const ::testing::TestParamInfo<LayoutCase>& info) {
                             const QSize s = std::get<1>(info.param);
                             return "module" + std::to_string(std::get<0>(info.param)) + "_" +
                                    std::to_string(s.width()) + "x" + std::to_string(s.height());
                         });

} // namespace
} // namespace harmik
