#pragma once
#include <QObject>

#include <functional>

class QLabel;
class QMenu;
class QPushButton;
class QSlider;
class QWidget;

namespace harmik {

class SoundOutput;
struct SettingsRecord;

// The sound panel's controls: MIDI volume, wave volume and velocity sliders with their labels,
// and the two instrument buttons with the General MIDI instrument menu.
class SoundControls : public QObject {
    Q_OBJECT
public:
    // The panel's widgets are created inside `panel`; `output` reaches the sound layer.
    SoundControls(SettingsRecord& settings, std::function<SoundOutput*()> output, QWidget* panel);

    QSlider* Scr_VolValg() const { return volValg_; }
    QSlider* Scr_VolWave() const { return volWave_; }
    QSlider* Scr_AnslagValg() const { return anslagValg_; }
    QLabel* Lab_VolValg() const { return labVolValg_; }
    QLabel* Lab_VolWave() const { return labVolWave_; }
    QLabel* Lab_AnslagValg() const { return labAnslagValg_; }
    QPushButton* BtnThruSound() const { return btnThruSound_; }
    QPushButton* BtnEarSound() const { return btnEarSound_; }
    QMenu* PopupInstrument() const { return popupInstrument_; }
    QWidget* box() const { return box_; }

    // Handlers of the sliders (they store the value, send it to the devices and relabel).
    void Scr_VolValgChange(int position);
    void Scr_VolWaveChange(int position);
    void Scr_AnslagValgChange(int position);
    void BtnThruSoundClick();
    void BtnEarSoundClick();
    // An instrument chosen from the menu for the button that opened it.
    void Paino1Click(int program);

    // Shows the stored values (start-up and after loading settings), sending them as the
    // slider handlers do.
    void ApplyLoadedSettings();
    // Caption of an instrument button: the instrument's name on a General MIDI device,
    // otherwise the program number.
    static QString InstrumentCaption(int program, bool generalMidi);

signals:
    // The user works with the panel: its countdown starts again.
    void touched();

private:
    void buildInstrumentMenu();
    void showInstrumentCaptions();

    SettingsRecord& settings_;
    std::function<SoundOutput*()> output_;
    QWidget* box_ = nullptr;
    QSlider* volValg_ = nullptr;
    QSlider* volWave_ = nullptr;
    QSlider* anslagValg_ = nullptr;
    QLabel* labVolValg_ = nullptr;
    QLabel* labVolWave_ = nullptr;
    QLabel* labAnslagValg_ = nullptr;
    QPushButton* btnThruSound_ = nullptr;
    QPushButton* btnEarSound_ = nullptr;
    QMenu* popupInstrument_ = nullptr;
    int popupOwner_ = 0; // 0 the user's sound, 1 the exercise sound
};

} // namespace harmik
