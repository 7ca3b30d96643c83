#pragma once
#include <QDialog>
#include <QString>

class QLabel;

namespace harmik {

// What the message of a tutor task says about the task's options, as the option lists show
// them.
struct TutorTaskFacts {
    int Module = 1;
    // Melodies.
    int NoteCount = 0;
    QString KeyText, TonalityText, LeapText;
    // Rhythm.
    int Bars = 1;
    QString MetreText;
    int RhythmMode = 0;
    // The other modules.
    bool DirectionShown = false;
    int Direction = 0;
    int PlayMode = 0;
    bool RandomRoot = false;
};

// The sentence built from the options: "Упражнения исполняются ..." for modules 1 to 5, the
// melody's notes, key and leap, or the rhythm's bars, metre and mode.
QString TutorTaskSentence(const TutorTaskFacts& facts);

// The texts of the message window for a task whose text is `taskText` (title "|" message).
struct TutorMessageTexts {
    QString Title;
    QString Message;
    QString Stats;       // "Уровень %d     Заданий %d"
    QString Repetitions; // "%d повторений"
};
TutorMessageTexts MakeTutorMessage(const QString& taskText, const TutorTaskFacts& facts, int level,
                                   int task, int repetitions);

// TTutorMessage: the borderless white window that introduces a tutor task. Any key, any mouse
// press on it (or a note from the MIDI keyboard, through CloseOk) closes it.
class TTutorMessage : public QDialog {
    Q_OBJECT
public:
    explicit TTutorMessage(const TutorMessageTexts& texts, QWidget* parent = nullptr);

    QLabel* LabTitel() const { return labTitel_; }
    QLabel* LabMessage() const { return labMessage_; }
    QLabel* LabStats() const { return labStats_; }
    QLabel* LabAntal() const { return labAntal_; }
    QLabel* LabTryk() const { return labTryk_; }

    void CloseOk() { accept(); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    // While it shows, every mouse press and key comes to it, wherever it is made.
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QLabel* label(const char* name, const QString& text, int top, int height);

    QLabel* labTitel_ = nullptr;
    QLabel* labMessage_ = nullptr;
    QLabel* labStats_ = nullptr;
    QLabel* labAntal_ = nullptr;
    QLabel* labTryk_ = nullptr;
};

} // namespace harmik
