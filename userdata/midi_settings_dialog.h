#pragma once
#include <QDialog>
#include <QStringList>
#include <array>
#include <functional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QGridLayout;
class QLabel;
class QSlider;
class QSpinBox;
class QTabWidget;
class QToolButton;
class QWidget;

namespace harmik {

struct SettingsRecord;

// What the MIDI settings dialog needs from the sound layer.
struct MidiSettingsSound {
    QStringList outputs; // output device list; entry 0 is the built-in synthesizer (id -1)
    QStringList inputs;
    std::function<QString(int note)> drumName; // empty outside the drum notes
    // Sounds a note on the exercise output for `ms` milliseconds.
    std::function<void(int channel, int note, int velocity, int ms)> testNote;
    std::function<void(const QString& file)> playWave; // a feedback sound, asynchronously
};

// Name of a remote key as the dialog shows it: "C +2" for 84, "C " for 60, "C -1" for 48.
QString RemoteKeyName(int key);

// The MIDI and sound settings dialog ("MIDI установки"): devices and channels, the click,
// rhythm and feedback sounds, and the three remote-control keys of the MIDI keyboard. OK stores
// every field (or, with the built-in synthesizer chosen for only one of the outputs, says 2006
// and stays open); Cancel stores nothing. Reopens on the page it was closed on.
class TIndstillinger : public QDialog {
    Q_OBJECT
public:
    TIndstillinger(SettingsRecord& settings, MidiSettingsSound sound, QWidget* parent = nullptr);
    ~TIndstillinger() override;

    static constexpr int kRemoteKeyPage = 2;
    // Help context of the shown page: 200 + page.
    int helpContext() const;
    bool remoteKeyPageShown() const;
    // A note from the MIDI keyboard on the remote-key page: the focused key slider takes it
    // (the first one when none has the focus).
    void moveFocusedRemoteKey(int note);

    void OKBtnClick();

    // One row of the sounds page: channel, sound and volume with their labels, test button.
    struct SoundRow {
        QSpinBox* channel = nullptr; // null for the first beat, which has the click's channel
        QSlider* sound = nullptr;
        QLabel* soundLabel = nullptr;
        QSlider* volume = nullptr;
        QLabel* volumeLabel = nullptr;
        QToolButton* test = nullptr;
        bool feedback = false; // the right and wrong answer sounds name only drum notes
    };
    enum SoundRowIndex { Click, FirstBeat, Rhythm, Correct, Wrong, SoundRowCount };

    QTabWidget* Pages() const { return pages_; }
    QComboBox* ComboMidiOut() const { return comboOut_; }
    QComboBox* ComboMidiIn() const { return comboIn_; }
    QComboBox* ComboMidiThru() const { return comboThru_; }
    QSpinBox* SpinKanalOut() const { return spinOut_; }
    QSpinBox* SpinKanalThru() const { return spinThru_; }
    QCheckBox* CheckGMud() const { return checkGMOut_; }
    QCheckBox* CheckGMthru() const { return checkGMThru_; }
    QCheckBox* CheckPCspeaker() const { return checkSpeaker_; }
    QCheckBox* CheckThru() const { return checkThru_; }
    const SoundRow& soundRow(SoundRowIndex i) const { return rows_[std::size_t(i)]; }
    QButtonGroup* RadioRespons() const { return radioRespons_; }
    QWidget* PanDigiLyde() const { return panDigi_; }
    QWidget* PanLyde() const { return panMidi_; }
    QSlider* ScrKorrektLydDigi() const { return waveCorrect_; }
    QSlider* ScrFejlLydDigi() const { return waveWrong_; }
    QLabel* LabKorrektLydDigi() const { return waveCorrectLabel_; }
    QLabel* LabFejlLydDigi() const { return waveWrongLabel_; }
    QToolButton* waveTestButton(bool correct) const {
        return correct ? waveCorrectTest_ : waveWrongTest_;
    }
    QSlider* Scr_Remote(int i) const { return remote_[std::size_t(i)]; }
    QLabel* remoteKeyLabel(int i) const { return remoteName_[std::size_t(i)]; }
    QLabel* remoteFunctionLabel(int i) const { return remoteFunction_[std::size_t(i)]; }
    QLabel* LabPege() const { return pointer_; }
    int pointerRow() const { return pointerRow_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildDevicePage();
    QGroupBox* outputGroup(QWidget* page, int captionId, int channelHintId, QComboBox*& device,
                           QSpinBox*& channel, QCheckBox*& gm, QCheckBox*& other,
                           int otherCaptionId, int otherHintId);
    QWidget* buildSoundPage();
    QWidget* buildRemotePage();
    void fillFromSettings();
    void CheckPCspeakerClick();
    void chooseOutput(QComboBox* chosen, QComboBox* other);
    void RadioResponsClick(int item);
    void soundRowChanged(SoundRowIndex i, bool play);
    void playRow(SoundRowIndex i, int ms);
    void waveChanged(bool correct);
    void remoteKeyChanged(int i);
    bool isGeneralMidi() const;

    SettingsRecord& settings_;
    MidiSettingsSound sound_;
    bool guard_ = true; // no test sounds while the controls are being set
    QTabWidget* pages_ = nullptr;
    QComboBox* comboOut_ = nullptr;
    QComboBox* comboIn_ = nullptr;
    QComboBox* comboThru_ = nullptr;
    QSpinBox* spinOut_ = nullptr;
    QSpinBox* spinThru_ = nullptr;
    QCheckBox* checkGMOut_ = nullptr;
    QCheckBox* checkGMThru_ = nullptr;
    QCheckBox* checkSpeaker_ = nullptr;
    QCheckBox* checkThru_ = nullptr;
    std::array<SoundRow, SoundRowCount> rows_;
    QButtonGroup* radioRespons_ = nullptr;
    QWidget* panDigi_ = nullptr;
    QWidget* panMidi_ = nullptr;
    QSlider* waveCorrect_ = nullptr;
    QSlider* waveWrong_ = nullptr;
    QLabel* waveCorrectLabel_ = nullptr;
    QLabel* waveWrongLabel_ = nullptr;
    QToolButton* waveCorrectTest_ = nullptr;
    QToolButton* waveWrongTest_ = nullptr;
    std::array<QSlider*, 3> remote_{};
    std::array<QLabel*, 3> remoteName_{};
    std::array<QLabel*, 3> remoteFunction_{};
    QGridLayout* remoteGrid_ = nullptr;
    QLabel* pointer_ = nullptr;
    int pointerRow_ = 0;
};

} // namespace harmik
