#pragma once
#include <QTimer>
#include <QWidget>

namespace harmik {

// ImageEndeH: two small lamps, the upper one for MIDI input and the lower one for output.
// Lighting one starts TimerAlways (200 ms, one-shot), whose tick puts both out.
class ActivityLamps : public QWidget {
    Q_OBJECT
public:
    explicit ActivityLamps(QWidget* parent);

    static constexpr int kLampMilliseconds = 200;

    void LightInput();
    void LightOutput();
    bool inputLit() const { return inputLit_; }
    bool outputLit() const { return outputLit_; }
    QTimer* TimerAlways() { return &timerAlways_; }
    // Both lamps out at once (the keyboard pictures were redrawn).
    void PutOut() { TimerAlwaysTimer(); }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    void TimerAlwaysTimer();

    bool inputLit_ = false;
    bool outputLit_ = false;
    QTimer timerAlways_;
};

} // namespace harmik
