#pragma once
#include <QFrame>
#include <QTimer>

class QLabel;
class QProgressBar;
class QPushButton;
class QToolButton;

namespace harmik {

// The busy animation beside the start button: still while idle, turning while a task runs.
class BusyAnimation : public QWidget {
    Q_OBJECT
public:
    explicit BusyAnimation(QWidget* parent);
    void Start(int speed);
    void Stop();
    bool isRunning() const { return timer_.isActive(); }
    QSize sizeHint() const override { return {28, 28}; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QTimer timer_;
    int phase_ = 0;
};

// The transport panel: start/stop, repeat, show answer / next, the progress text and gauge,
// and the panic button.
class TransportPanel : public QFrame {
    Q_OBJECT
public:
    explicit TransportPanel(QWidget* parent);

    QPushButton* NyKnap() const { return nyKnap_; }
    QPushButton* GentagKnap() const { return gentagKnap_; }
    QPushButton* SvarKnap() const { return svarKnap_; }
    QToolButton* ShutUp() const { return shutUp_; }
    BusyAnimation* AniBusy() const { return aniBusy_; }
    QLabel* Lab_Ove() const { return labOve_; }
    QProgressBar* GaugeProgress() const { return gaugeProgress_; }

    // The idle and running faces of the panel.
    void ShowIdle();
    void ShowRunning(bool answerButtonSaysNext);
    // The show-answer button before and after the answer is shown.
    void ShowAnswerButtonOpen();
    void ShowAnswerButtonNext();
    void ShowProgress(int count, int total);

signals:
    void startStopClicked();

protected:
    void mouseReleaseEvent(QMouseEvent*) override { emit startStopClicked(); }

private:
    QPushButton* nyKnap_ = nullptr;
    QPushButton* gentagKnap_ = nullptr;
    QPushButton* svarKnap_ = nullptr;
    QToolButton* shutUp_ = nullptr;
    BusyAnimation* aniBusy_ = nullptr;
    QLabel* labOve_ = nullptr;
    QProgressBar* gaugeProgress_ = nullptr;
};

} // namespace harmik
