#pragma once
#include <QFrame>

class QCheckBox;
class QToolButton;

namespace harmik {

class ActivityLamps;
class FretboardPicture;
class MiniPicture;
class PianoPicture;

// The lower panel `Pan_Klaver`: the piano and the guitar fretboard side by side with a strip
// on the right for the sound-panel picture, the listening button, the MIDI lamps and the two
// check boxes that show or hide the pictures.
class InstrumentPanel : public QFrame {
    Q_OBJECT
public:
    explicit InstrumentPanel(QWidget* parent);

    PianoPicture* Image_Klaver() const { return piano_; }
    FretboardPicture* Image_guitar() const { return guitar_; }
    QCheckBox* CheckPiano() const { return checkPiano_; }
    QCheckBox* CheckFret() const { return checkFret_; }
    QToolButton* SpeedMidiInd() const { return speedMidiInd_; }
    MiniPicture* ImageMini() const { return imageMini_; }
    ActivityLamps* ImageEndeH() const { return imageEndeH_; }

    // Captions and hints from the string table.
    void applyTexts();
    // Places the pictures and the strip for the panel's current size.
    void placeContents(bool showPiano, bool showFretboard);

    // Width of the strip right of the pictures.
    static constexpr int kStripWidth = 70;

private:
    PianoPicture* piano_;
    FretboardPicture* guitar_;
    QCheckBox* checkPiano_;
    QCheckBox* checkFret_;
    QToolButton* speedMidiInd_;
    MiniPicture* imageMini_;
    ActivityLamps* imageEndeH_;
};

} // namespace harmik
