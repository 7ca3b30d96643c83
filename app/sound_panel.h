#pragma once
#include <QFrame>
#include <QTimer>

class QLabel;
class QHBoxLayout;
class QLineEdit;
class QVBoxLayout;

namespace harmik {

// The sound panel Pan_Valg: it opens when the mouse touches the small picture ImageMini and
// hides itself after the mouse has left it alone (Timer1, 500 ms a tick).
class SoundPanel : public QFrame {
    Q_OBJECT
public:
    explicit SoundPanel(QWidget* parent);

    static constexpr int kCountdownStart = 6;
    static constexpr int kTickMilliseconds = 500;

    // Opening from ImageMini: shows the tempo of the current module and starts the countdown.
    void Open(int tempo);
    // The mouse is on the panel or one of its controls: start the countdown again.
    void KeepOpen() { SoundPanelCountdown = kCountdownStart; }
    // The mouse went to the window's free area or a picture: hide at the next tick.
    void LetClose() { SoundPanelCountdown = 0; }

    bool isPanelOpen() const { return panelOpen_; }
    QTimer* Timer1() { return &timer1_; }
    QLineEdit* EditTempo() const { return editTempo_; }
    // Puts the sound controls above the tempo row, and a widget at the tempo row's end.
    void addControls(QWidget* controls);
    void addToTempoRow(QWidget* widget);

    int SoundPanelCountdown = 0;

signals:
    // The panel has just hidden itself (the piano picture below it repaints).
    void closed();

protected:
    bool event(QEvent* e) override;

private:
    void Timer1Timer();

    bool panelOpen_ = false;
    QTimer timer1_;
    QLineEdit* editTempo_ = nullptr;
    QLabel* labTempo_ = nullptr;
    QVBoxLayout* column_ = nullptr;
    QHBoxLayout* tempoRow_ = nullptr;
};

// The small picture that opens the sound panel.
class MiniPicture : public QWidget {
    Q_OBJECT
public:
    explicit MiniPicture(QWidget* parent);
    QSize sizeHint() const override { return {24, 24}; }

signals:
    void touched();

protected:
    void paintEvent(QPaintEvent*) override;
    void enterEvent(QEnterEvent*) override { emit touched(); }
    void mouseMoveEvent(QMouseEvent*) override { emit touched(); }
};

} // namespace harmik
