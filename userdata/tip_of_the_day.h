#pragma once
#include <QDialog>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>

class QCheckBox;
class QLabel;
class QPushButton;

namespace harmik {

class TuningForkPicture;

// The tips file: one tip a line, its first character the topic code, the rest the text (at
// most 255 characters; each "%s" is a line break). UTF-8, or the program's single-byte code
// page (Windows-1251) for a file that is not UTF-8. Blank lines are passed over; a missing or
// unreadable file gives no tips.
inline constexpr const char* kTipsFileName = "TIPS.HKR";
QStringList ReadTipsFile(const QString& path);

// One tip as the window shows it.
struct TipShown {
    QString Heading; // from the topic code; empty for an unknown code
    QString Text;    // line breaks in place of "%s"
    bool Italic = false;
};
TipShown FormatTip(const QString& line);

// The index after moving one tip forward or back among `count`, wrapping at both ends.
int StepTipIndex(int index, int count, bool forward);

// The tip-of-the-day window: the tuning fork on the left (a click sounds it: `fork` plays the
// A and returns for how long, in ms), one tip on the right, previous and next, the
// show-at-start box and Close.
class TfTipOfTheDay : public QDialog {
    Q_OBJECT
public:
    TfTipOfTheDay(QStringList tips, std::function<int()> fork, bool highColourDisplay,
                  QWidget* parent = nullptr);

    int TipIndex() const { return index_; }
    void setTipIndex(int index) { index_ = index; }
    // Moves to the next (forward) or previous tip and shows it.
    void GetTip(bool forward);
    // Sounds the fork and lets its picture swing.
    void ImageStemGaflClick();
    // The start-up splash, still open when the window first shows: it moves above the window.
    void setSplash(QWidget* splash) { splash_ = splash; }

    QLabel* lTitle() const { return title_; }
    QLabel* lTip() const { return tip_; }
    QCheckBox* cbShowTips() const { return showTips_; }
    QPushButton* bNext() const { return next_; }
    QPushButton* bPrevious() const { return previous_; }
    QPushButton* bClose() const { return close_; }
    QWidget* PanelA() const { return panelA_; }
    TuningForkPicture* ImageStemGafl() const { return fork_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildForkPanel(bool highColourDisplay);

    QStringList tips_;
    std::function<int()> forkSound_;
    QPointer<QWidget> splash_;
    bool shown_ = false;
    int index_ = -1;
    QWidget* panelA_ = nullptr;
    TuningForkPicture* fork_ = nullptr;
    QLabel* title_ = nullptr;
    QLabel* tip_ = nullptr;
    QCheckBox* showTips_ = nullptr;
    QPushButton* previous_ = nullptr;
    QPushButton* next_ = nullptr;
    QPushButton* close_ = nullptr;
};

} // namespace harmik
