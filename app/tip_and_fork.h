#pragma once
#include <QObject>

namespace harmik {

class TForm1;
class TuningForkPicture;

// The main window's tuning fork (ImageStemGafl, right of the staff) and the tip of the day
// shown at start-up, whose window carries a fork too. Both forks sound the same way.
class TipAndFork : public QObject {
    Q_OBJECT
public:
    explicit TipAndFork(TForm1& window);

    TuningForkPicture* ImageStemGafl() const { return fork_; }
    void ImageStemGaflClick();

    // The tip of the day, when the settings ask for it at start: the next tip after the one
    // shown last; the index and the show-at-start choice go back into the window's tip state.
    void ShowTipsAtStart(QWidget* splash);

private:
    int soundFork();

    TForm1& w_;
    TuningForkPicture* fork_ = nullptr;
};

} // namespace harmik
