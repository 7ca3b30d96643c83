#include "app/rhythm_screen.h"

#include "app/main_window.h"
#include "app/module_buttons.h"
#include "app/rhythm_options.h"
#include "input/piano_input.h"
#include "input/rhythm_staff_widget.h"
#include "input/staff_widget.h"
#include "theory/clock.h"
#include "theory/module_id.h"
#include "userdata/strings.h"

#include <QEvent>
#include <QLabel>

#include <bit>

namespace harmik {

namespace {

constexpr int kTapKeysText = 8104; // which keys tap
constexpr int kPassesText = 8105;  // "Проходов: %d"

} // namespace

RhythmScreen::RhythmScreen(TForm1& window, StaffWidget& staff, QWidget* central)
    : QObject(&window), w_(window), staff_(staff) {
    picture_ = new RhythmStaffWidget(&staff);
    picture_->hide();
    staff.installEventFilter(this);
    testLabel_ = new QLabel(central);
    testLabel_->setObjectName(QStringLiteral("TestLabel"));
    testLabel_->hide();
    connect(picture_, &RhythmStaffWidget::tapped, this, &RhythmScreen::tap);
    connect(w_.Keys(), &PianoInput::rhythmTap, this, &RhythmScreen::tap);
    // The mode and verdict label stands over the staff, where it stays while the answer panel
    // is hidden during a rhythm task.
    w_.RhythmOptions()->LabRytmePct()->setParent(central);
    connect(w_.RhythmOptions(), &RhythmOptionsPanel::staffResetRequested, this,
            &RhythmScreen::showIdle);
}

RhythmOptions RhythmScreen::options() const {
    return std::bit_cast<RhythmOptions>(w_.Settings().RhythmOptions);
}

void RhythmScreen::tap(qint64 eventTimestamp) {
    const std::uint32_t now = MonotonicMs();
    w_.Session().RhythmTap(
        w_.Settings().AltRhythmTiming != 0 ? now : clock_.toClock(eventTimestamp, now));
}

void RhythmScreen::showRhythm(const Rhythm& rhythm, const RhythmOptions& options, bool notesShown) {
    picture_->setRhythm(rhythm, options.Metre, notesShown);
    picture_->setPhases(PassPhases(options));
}

void RhythmScreen::showBar(int bar) {
    picture_->setPassBar(bar);
}

void RhythmScreen::showMarks(const std::vector<RhythmMark>& marks) {
    picture_->setMarks(marks);
}

void RhythmScreen::showText(int stringId) {
    if (stringId <= 0)
        return;
    QLabel* label = w_.RhythmOptions()->LabRytmePct();
    label->setText(LoadStr(stringId));
    label->adjustSize();
}

void RhythmScreen::showPasses(int passes) {
    testLabel_->setText(FormatStr(kPassesText, {passes}));
    testLabel_->adjustSize();
}

void RhythmScreen::taskStarted() {
    w_.DisplayHint(LoadStr(kTapKeysText));
    testLabel_->show();
    place();
}

void RhythmScreen::taskStopped() {
    testLabel_->hide();
    w_.RhythmOptions()->ShowModeCaption();
    showIdle();
}

void RhythmScreen::showIdle() {
    if (w_.Session().running())
        return;
    const RhythmOptions o = options();
    picture_->setEmpty(o.Metre, BarsOf(o));
    picture_->setPhases(PassPhases(o));
}

void RhythmScreen::place() {
    const bool rhythm = isModule(w_.Settings().CurrentModule, ModuleId::Rhythm);
    picture_->setGeometry(staff_.rect());
    picture_->setHighColour(staff_.highColour());
    picture_->setVisible(rhythm);
    // The labels stand where the answer panel stood; they show while a rhythm task runs and
    // the panel is hidden.
    const bool running = rhythm && w_.Session().running();
    QLabel* label = w_.RhythmOptions()->LabRytmePct();
    label->setVisible(running);
    testLabel_->setVisible(running);
    if (!running)
        return;
    // Between the module buttons and the staff, from the middle of the window.
    const int menuHeight = w_.ModuleButtons()->sizeHint().height();
    const int top = (menuHeight + w_.Pan_Staff()->y() - 20) / 2;
    const int left = w_.centralWidget()->width() / 2 - 50;
    label->adjustSize();
    label->move(left, top);
    label->raise();
    testLabel_->adjustSize();
    testLabel_->move(left, top + label->height() + 2);
    testLabel_->raise();
}

bool RhythmScreen::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &staff_ && event->type() == QEvent::Resize)
        picture_->setGeometry(staff_.rect());
    return false;
}

} // namespace harmik
