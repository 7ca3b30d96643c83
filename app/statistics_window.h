#pragma once
#include "app/error_statistics.h"

#include <QDialog>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <cstdint>

class QLabel;
class QPushButton;

namespace harmik {

// A window title written upwards along the left edge of a results window.
class RotatedTitle : public QWidget {
    Q_OBJECT
public:
    explicit RotatedTitle(QWidget* parent = nullptr);
    void setText(const QString& text);
    QString text() const { return text_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QString text_;
};

// The tutor's choice after a task or a level, as the results window offers it.
enum TutorChoice : std::uint8_t { ChoiceBack = 0, ChoiceRepeat = 1, ChoiceNext = 2 };

struct TutorJudgementInput {
    bool levelMode = false;
    int task = 1;
    int level = 1;
    int percentage = 100; // of the task, or of the level in level mode
    int flunkPercent = 0;
    int passPercent = 0;
};

struct TutorChoiceView {
    QString back;   // caption of BitBtn1
    QString repeat; // caption of BitBtn2
    QString next;   // caption of BitBtn3
    bool backEnabled = false;
    bool nextEnabled = false;
    TutorChoice recommended = ChoiceRepeat; // the button that gets the focus
    QString response;                       // the level summary (level mode only)
};

// The tutor's recommendation and the captions of its three buttons.
TutorChoiceView MakeTutorChoice(const TutorJudgementInput& in);

// TStatistikForm: the results of a task, the items most often missed and the score; with the
// tutor also its three choice buttons, and in level mode the level summary instead of the
// errors. Created for one modal showing.
class TStatistikForm : public QDialog {
    Q_OBJECT
public:
    // `sorted` is the task's error statistics after SortErrorStatistics.
    TStatistikForm(const ErrorStatistics& sorted, ModuleId module, int score,
                   const ItemNameList& names, QWidget* parent = nullptr);

    // Set by the caller before showing: false judges a task, true judges a tutor level.
    bool LevelMode = false;
    // Set by the tutor buttons: 0 back, 1 repeat, 2 next. Repeat unless a button says else.
    std::uint8_t Choice = ChoiceRepeat;

    // Offers the tutor's three buttons instead of OK (and the level summary in level mode).
    void ShowTutorChoice(const TutorChoiceView& view);

    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();

    // What the window paints: the headline (1151, 1152 or none in level mode) and the rows.
    QString Headline() const;
    QStringList ErrorRows() const;

    QPushButton* OKBtn() const { return okBtn_; }
    QPushButton* BitBtn1() const { return bitBtn1_; }
    QPushButton* BitBtn2() const { return bitBtn2_; }
    QPushButton* BitBtn3() const { return bitBtn3_; }
    RotatedTitle* LabRotTop() const { return labRotTop_; }
    QLabel* ResponseLabel() const { return response_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    void choose(TutorChoice choice);
    void placeButtons(bool tutor);

    ErrorStatistics stats_;
    int score_ = 0;
    QStringList rows_;
    QStringList counts_;
    RotatedTitle* labRotTop_ = nullptr;
    QLabel* response_ = nullptr;
    QPushButton* okBtn_ = nullptr;
    QPushButton* bitBtn1_ = nullptr;
    QPushButton* bitBtn2_ = nullptr;
    QPushButton* bitBtn3_ = nullptr;
};

// Shows the results window modally and returns the choice made (repeat without the tutor).
// With `tutor` the window offers the tutor's buttons; `levelMode` judges a level.
std::uint8_t ShowStatisticsWindow(const ErrorStatistics& sorted, ModuleId module, int score,
                                  const ItemNameList& names, QWidget* parent,
                                  bool levelMode = false, const TutorChoiceView* tutor = nullptr);

} // namespace harmik
