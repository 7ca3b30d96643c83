#pragma once
#include <QDialog>

class QPushButton;
class QTimer;

namespace harmik {

// The about window: the program's name, version and credits. At start-up it serves as the
// splash: without its OK button, 104 pixels high, closing itself after seven seconds.
class AboutWindow : public QDialog {
    Q_OBJECT
public:
    explicit AboutWindow(QWidget* parent = nullptr);

    // Turns the window into the start-up splash and starts its closing timer.
    void MakeSplash();

    static constexpr int kSplashHeight = 104;
    static constexpr int kSplashMilliseconds = 7000;

    QPushButton* okButton() const { return okButton_; }
    QTimer* closeTimer() const { return closeTimer_; }

private:
    QPushButton* okButton_ = nullptr;
    QTimer* closeTimer_ = nullptr;
};

} // namespace harmik
