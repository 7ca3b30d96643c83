#pragma once
#include "userdata/top_ten.h"

#include <QDate>
#include <QDialog>
#include <QImage>
#include <QString>
#include <QVector>
#include <functional>

class QLineEdit;
class QPushButton;

namespace harmik {

class RotatedTitle;

constexpr int kTopTenPlaces = 10;
constexpr int kLastNameRecord = 11; // keeps the last name typed
constexpr int kCandidateRecord = 12;

// The place 1..10 a task score earns, 0 for none. Only a score above a place's score displaces
// it: an equal score leaves the older entry in front.
int TopTenPlace(const TopTenTable& table, int score);

// Record 12 := the task's score, the date and the module.
void SetTopTenCandidate(TopTenTable& table, int score, int module, const QDate& today);

// The record (1..12) shown in row 1..10 while a name is being entered for `place` (0: none):
// the list as it will be, with the candidate in its place and the rows below moved down.
int TopTenRowRecord(int row, int place);

// Enters the candidate at `place` under `name`: places place..9 move down (place 10 falls
// out); record 11 keeps the name for next time.
void EnterTopTenName(TopTenTable& table, int place, const QString& name, const QDate& today);

// Records 1 to 11 become empty with score 0, the date and module 1; record 12 stays.
void ClearTopTen(TopTenTable& table, const QDate& today);

// One row of the list as the window shows it.
struct TopTenRowText {
    QString name; // the placeholder when the record has no name
    QString score;
    QString date;
    QString module;
};
TopTenRowText TopTenRowTexts(const TopTenRecord& record);

// The marble picture tiled behind the list, drawn by code.
QImage MarblePicture(int size = 96);

// TFormTop10: the top-ten list, also where a name is typed for a place just earned. Works on
// the table in place; created for one modal showing.
class TFormTop10 : public QDialog {
    Q_OBJECT
public:
    explicit TFormTop10(TopTenTable& table, QWidget* parent = nullptr,
                        QDate today = QDate::currentDate());

    // Opens the name entry for `place`, offering the last name typed.
    void BeginNameEntry(int place);
    // The place a name is being entered for, 0 when none.
    int EnteringPlace() const;

    void FormCreate();
    void OKBtnClick();
    void CancelBtnClick();
    void BtnSletTop10Click();

    // The ten rows as they are drawn now.
    QVector<TopTenRowText> ShownRows() const;
    // The whole picture of the window's canvas.
    QImage FormPaint() const;

    QLineEdit* EditNavn() const { return editNavn_; }
    QPushButton* OKBtn() const { return okBtn_; }
    QPushButton* CancelBtn() const { return cancelBtn_; }
    QPushButton* BtnSletTop10() const { return btnSlet_; }
    QPushButton* HelpBtn() const { return helpBtn_; }
    RotatedTitle* RotLabTop10() const { return rotLab_; }

signals:
    void helpRequested();

protected:
    void paintEvent(QPaintEvent*) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void endNameEntry();

    TopTenTable& table_;
    QDate today_;
    int place_ = 0;
    QImage marble_;
    QLineEdit* editNavn_ = nullptr;
    QPushButton* okBtn_ = nullptr;
    QPushButton* cancelBtn_ = nullptr;
    QPushButton* btnSlet_ = nullptr;
    QPushButton* helpBtn_ = nullptr;
    RotatedTitle* rotLab_ = nullptr;
};

// The end of a task: when the score earns a place, the candidate goes to record 12 and the
// top-ten window asks for a name. Returns the place earned (0: none, nothing shown).
int TopTenCheck(TopTenTable& table, int score, int module, QWidget* parent,
                const std::function<void()>& help = {});

} // namespace harmik
