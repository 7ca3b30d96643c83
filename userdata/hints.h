#pragma once
#include <QObject>
#include <QPointer>
#include <QProxyStyle>
#include <QString>

class QWidget;
class QAction;

namespace harmik {

// Gives a control its hint: the short part as tooltip, the long part as status text (which
// the main window shows in its status panel).
void ApplyHint(QWidget* widget, const QString& hint);
void ApplyHint(QAction* action, const QString& hint);
void ApplyHintId(QWidget* widget, int hintId);

// The application's style with the hint pause as its tooltip delay.
class HintStyle : public QProxyStyle {
public:
    HintStyle() = default;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override;
    int pauseMs = 1000;
};

// The application's hint pause: tooltips appear after HintDelay seconds and not at all when
// HintDelay is 10 or more. Installed once on the application.
class HintTiming : public QObject {
    Q_OBJECT
public:
    explicit HintTiming(QObject* parent = nullptr);

    void SetHintDelay(int seconds);
    bool hintsShown() const { return hintsShown_; }
    int pauseMilliseconds() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool hintsShown_ = true;
    QPointer<QStyle> style_;
};

} // namespace harmik
