#pragma once
#include <QDialog>
#include <functional>

class QCheckBox;
class QLabel;
class QSlider;
class QTabWidget;

namespace harmik {

struct SettingsRecord;

// The other-settings dialog ("Другие установки"): hint pause, exercises per task and rhythm
// sensitivity on the exercise page, the program's switches on the second. Only OK stores
// into the record; the hint pause alone takes effect while its slider moves. Reopens on the
// page it was closed on.
class TTabDiverse : public QDialog {
    Q_OBJECT
public:
    // `tipsAtStart` is the main window's copy of the tip switch; `hintPausePreview` gets the
    // slider's seconds while it moves.
    TTabDiverse(SettingsRecord& settings, bool tipsAtStart,
                std::function<void(int seconds)> hintPausePreview, QWidget* parent = nullptr);
    ~TTabDiverse() override;

    // The tip switch as the dialog left it, for the main window.
    bool tipsAtStart() const;

    QTabWidget* Pages() const { return pages_; }
    QSlider* Scr_HintPause() const { return hintPause_; }
    QSlider* Scr_AntOpgaver() const { return exercises_; }
    QSlider* ScrRytmeSans() const { return sensitivity_; }
    QLabel* LabHintPause() const { return hintPauseValue_; }
    QLabel* LabAntOpgaver() const { return exercisesValue_; }
    QLabel* LabRytmeSans() const { return sensitivityValue_; }
    QCheckBox* CheckTips() const { return tips_; }
    QCheckBox* CheckNoStartSound() const { return noStartSound_; }
    QCheckBox* CheckGermansk() const { return german_; }
    QCheckBox* CheckSolfege() const { return solfege_; }
    QCheckBox* CheckStatuslinie() const { return statusBar_; }
    QCheckBox* CheckAkkGrundtone() const { return chordTuning_; }
    QCheckBox* CheckTilladSyng() const { return vocalSupport_; }
    QCheckBox* CheckRytmeTiming() const { return rhythmTiming_; }

    void OKBtnClick();

private:
    void Scr_HintPauseChange(int value);

    SettingsRecord& settings_;
    std::function<void(int)> hintPausePreview_;
    QTabWidget* pages_ = nullptr;
    QSlider* hintPause_ = nullptr;
    QSlider* exercises_ = nullptr;
    QSlider* sensitivity_ = nullptr;
    QLabel* hintPauseValue_ = nullptr;
    QLabel* exercisesValue_ = nullptr;
    QLabel* sensitivityValue_ = nullptr;
    QCheckBox* tips_ = nullptr;
    QCheckBox* noStartSound_ = nullptr;
    QCheckBox* german_ = nullptr;
    QCheckBox* solfege_ = nullptr;
    QCheckBox* statusBar_ = nullptr;
    QCheckBox* chordTuning_ = nullptr;
    QCheckBox* vocalSupport_ = nullptr;
    QCheckBox* rhythmTiming_ = nullptr;
};

} // namespace harmik
