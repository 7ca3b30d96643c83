#include "userdata/hints.h"

#include "userdata/strings.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QToolTip>
#include <QWidget>

#include <algorithm>

namespace harmik {

void ApplyHint(QWidget* widget, const QString& hint) {
    const HintParts parts = SplitHint(hint);
    widget->setToolTip(parts.Short);
    widget->setStatusTip(parts.Long);
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
    auto* style = new HintStyle;
    QApplication::setStyle(style); // the application owns it
    style_ = style;
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
