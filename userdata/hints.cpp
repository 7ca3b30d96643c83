#include "userdata/hints.h"

#include "userdata/strings.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QToolTip>
#include <QWidget>

#include <algorithm>

namespace harmik {

namespace {

// A control that shows no text of its own (a picture button, a slider, a drawing) is named
// after its hint's short part, for screen readers; the long part describes every control.
bool showsOwnText(const QWidget* widget) {
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        return !button->text().trimmed().isEmpty();
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return !label->text().trimmed().isEmpty();
    return false;
}

void ApplyAccessibleHint(QWidget* widget, const HintParts& parts) {
    widget->setAccessibleDescription(parts.Long.isEmpty() ? parts.Short : parts.Long);
    if (!showsOwnText(widget))
        widget->setAccessibleName(parts.Short);
}

} // namespace

void ApplyHint(QWidget* widget, const QString& hint) {
    const HintParts parts = SplitHint(hint);
    widget->setToolTip(parts.Short);
    widget->setStatusTip(parts.Long);
    ApplyAccessibleHint(widget, parts);
}

void ApplyHint(QAction* action, const QString& hint) {
    const HintParts parts = SplitHint(hint);
    action->setToolTip(parts.Short);
    action->setStatusTip(parts.Long);
}

void ApplyHintId(QWidget* widget, int hintId) {
    ApplyHint(widget, LoadStr(hintId));
}

int HintStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                         QStyleHintReturn* returnData) const {
    if (hint == QStyle::SH_ToolTip_WakeUpDelay)
        return pauseMs;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

HintTiming::HintTiming(QObject* parent) : QObject(parent) {
    // The program sets the style before its first window (setting it later polishes every
    // widget again); otherwise it is set here.
    style_ = dynamic_cast<HintStyle*>(QApplication::style());
    if (!style_) {
        auto* style = new HintStyle;
        QApplication::setStyle(style); // the application owns it
        style_ = style;
    }
    qApp->installEventFilter(this);
}

void HintTiming::SetHintDelay(int seconds) {
    hintsShown_ = seconds < 10;
    if (auto* style = dynamic_cast<HintStyle*>(style_.data()))
        style->pauseMs = std::clamp(seconds, 0, 10) * 1000;
    if (!hintsShown_)
        QToolTip::hideText();
}

int HintTiming::pauseMilliseconds() const {
    return QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay);
}

bool HintTiming::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTip && !hintsShown_)
        return true;
    return QObject::eventFilter(watched, event);
}

} // namespace harmik
