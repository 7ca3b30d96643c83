#pragma once
#include <vector>

#include <QWidget>

#include "theory/chord_symbol.h"

namespace harmik {

// The on-screen piano `Image_Klaver`: four octaves, notes 36..83, drawn on a 728 × 124 logical
// picture stretched to the widget. It shows the range bars, the middle-C dot, the key marks,
// the held keys and the melody's octave bar; mouse presses and releases are handed on as
// signals (PianoInput decides what they mean).
class PianoPicture : public QWidget {
    Q_OBJECT
public:
    explicit PianoPicture(QWidget* parent = nullptr);

    void setRange(int lowestNote, int highestNote);
    int lowestNote() const { return lowest_; }
    int highestNote() const { return highest_; }

    // Marks stay until clearMarks (the next redraw of the pictures).
    void addMark(int note);
    void clearMarks();
    const std::vector<int>& marks() const { return marks_; }

    // The blue bar over the octave of a note; a note below 36 removes it.
    void setOctaveBar(int note);
    int octaveBarNote() const { return octaveNote_; }

    void setHeld(const NoteHeldFlags& held);

    QSize sizeHint() const override;

signals:
    void pressed(QPointF pos, Qt::MouseButton button, qint64 timestamp);
    void released(Qt::MouseButton button, Qt::KeyboardModifiers modifiers);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int lowest_ = 36;
    int highest_ = 83;
    int octaveNote_ = 0;
    std::vector<int> marks_;
    NoteHeldFlags held_{};
};

} // namespace harmik
