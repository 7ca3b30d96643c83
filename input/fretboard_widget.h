#pragma once
#include <vector>

#include <QWidget>

#include "input/fretboard_geometry.h"

namespace harmik {

// The guitar fretboard `Image_guitar`: six strings over 11, 15 or 19 frets depending on its
// width. It keeps the fret wires' x positions as last laid out (FretX) for hit-testing, draws
// the dots of marked notes, and hands its mouse presses and releases on as signals.
class FretboardPicture : public QWidget {
    Q_OBJECT
public:
    explicit FretboardPicture(QWidget* parent = nullptr);

    const std::vector<int>& fretX() const { return fretX_; }

    // A dot at (fret, string); string 0 places the note on its own string. Notes that have no
    // place on the fretboard get no dot. Dots stay until clearMarks.
    void addMark(int note, int fret, int string);
    void clearMarks();
    const std::vector<FretPress>& marks() const { return marks_; }

    QSize sizeHint() const override;

signals:
    void pressed(QPoint pos, Qt::MouseButton button, qint64 timestamp);
    void released(Qt::MouseButton button, Qt::KeyboardModifiers modifiers);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    std::vector<int> fretX_;
    std::vector<FretPress> marks_;
};

} // namespace harmik
