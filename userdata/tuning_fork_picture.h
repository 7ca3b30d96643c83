#pragma once
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

namespace harmik {

// The picture of a tuning fork, drawn by code: a click asks for its sound (clicked), and while
// it sounds its tines swing, less and less, until the sound has died away.
class TuningForkPicture : public QWidget {
    Q_OBJECT
public:
    explicit TuningForkPicture(QWidget* parent = nullptr);

    // Lets the tines swing for `ms` milliseconds (0 stops them).
    void Sound(int ms);
    bool isSounding() const { return frames_.isActive(); }
    // How far the tines stand apart from rest now, in pixels of the 38 x 90 picture.
    double swing() const;

    QSize sizeHint() const override { return {38, 90}; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QTimer frames_;
    QElapsedTimer sounding_;
    int length_ = 0;
};

} // namespace harmik
