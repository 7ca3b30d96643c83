#pragma once
#include "theory/rhythm_types.h"
#include "userdata/settings_record.h"

#include <QFrame>
#include <QPoint>
#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace harmik {

class TempoSpinButtons;

// The rhythm options as the controls show them; plain rules without widgets.

// The stored options brought into their ranges: a metre of the list of 8, 1..6 bars and one
// of the three modes. A damaged file gives the nearest metre and number of bars and the
// listening mode, never an index past a table.
RhythmOptionsRecord NormalisedRhythmOptions(const RhythmOptionsRecord& stored);

// The time-signature list ComboTaktart: "2/2", "3/8", "3/4", "4/4", alla breve (from the
// string table), "5/4", "6/8", "7/8".
QStringList TimeSignatureNames();

// Whether the loop and empty-bar boxes can be used: not in reading mode, where the user's turn
// follows the count-in directly and nothing repeats by itself.
constexpr bool LoopBoxesUsable(int mode) {
    return mode != RhythmRead;
}

// Symbol j (0..4: whole .. sixteenth) of the symbol picture shows selected when its plain box
// j or its triplet box j + 4 is ticked (box 0, the whole, has no triplet partner).
bool RhythmSymbolSelected(int symbol, const std::uint8_t* rhythmTicks);

constexpr int kRhythmSymbolCount = 5;

// Places on the rhythm module's answer panel (345 × 184, the boxes 0..4 at left 24 × i + 65,
// top 56, the triplet boxes at top 74): the symbol picture just over the boxes, its symbols
// centred on them, and the triplet label at the start of the triplet row.
inline constexpr QPoint kImageRytmeValgPos{66, 19};
inline constexpr QPoint kLabRytmeTriolerPos{8, 74};
inline constexpr int kPanRytmeLeft = 5;

// ImageRytmeValg: the five note values whole, half, quarter, eighth and sixteenth above their
// answer boxes, each drawn unselected (grey) or selected (black on a light ground) at the
// places of the symbol strip.
class RhythmSymbolPicture : public QWidget {
    Q_OBJECT
public:
    explicit RhythmSymbolPicture(QWidget* parent);

    bool isSelected(int symbol) const;
    QSize sizeHint() const override;

public slots:
    // Matches the answer panel's rhythmSymbolChanged.
    void showSymbol(int symbol, bool selected);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::array<bool, kRhythmSymbolCount> selected_{};
};

// PanRytme: the rhythm module's options on the answer panel — the mode, the time signature,
// the number of bars, the empty bar and the loop, and the rhythm tempo field EditTempo2 in
// Pan_Bpm2 (whose handlers the window's tempo fields attach). Beside it, as siblings under the
// same parent, it creates the symbol picture ImageRytmeValg, the triplet row's label
// LabRytmeTrioler and the mode and verdict label LabRytmePct; the window places all of them.
// Every handler writes RhythmOptions of the settings record at once.
class RhythmOptionsPanel : public QFrame {
    Q_OBJECT
public:
    RhythmOptionsPanel(SettingsRecord& settings, QWidget* parent);

    QRadioButton* RadioRytmeLyt() const { return modeButtons_[0]; }
    QRadioButton* RadioRytmeSe() const { return modeButtons_[1]; }
    QRadioButton* RadioRytmeSeLyt() const { return modeButtons_[2]; }
    QRadioButton* ModeButton(int mode) const;
    QLabel* LabTaktart() const { return labTaktart_; }
    QComboBox* ComboTaktart() const { return comboTaktart_; }
    QCheckBox* CheckMellemtakt() const { return checkMellemtakt_; }
    QLabel* LabTakter() const { return labTakter_; }
    QLabel* LabVisTakter() const { return labVisTakter_; }
    TempoSpinButtons* SpinTakter() const { return spinTakter_; }
    QCheckBox* CheckKortLoop() const { return checkKortLoop_; }
    QFrame* Pan_Bpm2() const { return panBpm2_; }
    QLineEdit* EditTempo2() const { return editTempo2_; }
    RhythmSymbolPicture* ImageRytmeValg() const { return imageRytmeValg_; }
    QLabel* LabRytmeTrioler() const { return labRytmeTrioler_; }
    QLabel* LabRytmePct() const { return labRytmePct_; }

    // Shows the loaded record: the time signature (its change handler runs), the bars, the
    // empty bar, the loop and the mode, with the boxes greyed in reading mode; the symbol
    // picture follows the remembered ticks of the rhythm boxes.
    void ApplyLoadedSettings();
    // Sets the five symbols from the remembered ticks (on entering the module).
    void RefreshSymbols();

    // Handlers of the controls; each runs when the user changes the control.
    void ComboTaktartChange(int index);
    void SpinTakterUpClick();
    void SpinTakterDownClick();
    void RadioRytmeLytClick();
    void RadioRytmeSeClick();
    void RadioRytmeSeLytClick();
    void CheckMellemtaktClick();
    void CheckKortLoopClick();

    // The metre buttons of the rhythm module (BitBtnKvintOp, BitBtnKvintNed): the previous or
    // the next time signature, stopping at the ends of the list; the time signature is
    // applied again in any case.
    void PreviousMetreClick();
    void NextMetreClick();

    // Places the options, the symbol picture and the triplet label on the rhythm module's
    // answer panel (their common parent): the options at (5, panRytmeTop) in their size hint,
    // the symbols over the boxes 0..4, the label before the triplet row.
    void PlaceOnAnswerPanel(int panRytmeTop);
    // Shows or hides the options and the pictures together (shown in the rhythm module while
    // no task runs).
    void ShowRhythmPictures(bool shown);

    // The tutor fixes the exercise: every control but the loop box and the tempo field is
    // disabled while it is active.
    void setTutorActive(bool active);
    // LabRytmePct: the mode's caption ("Слушаем", "Чтение", "Выполнить").
    void ShowModeCaption();

    // The time signature now chosen and its bar length in units.
    const TimeSignature& timeSignature() const { return TimeSignatureOf(metre()); }
    int barLength() const { return BarLength(timeSignature()); }

    QSize sizeHint() const override;

signals:
    // The time signature, the bars or the mode changed: the staff is set up for the rhythm
    // again.
    void staffResetRequested();

private:
    void buildControls();
    void selectMode(int mode);
    void applyMode();
    void applyEnabling();
    void showBars();
    int metre() const { return settings_.RhythmOptions.Metre; }
    int mode() const { return settings_.RhythmOptions.RhythmMode; }

    SettingsRecord& settings_;
    bool tutorActive_ = false;

    std::array<QRadioButton*, 3> modeButtons_{};
    QLabel* labTaktart_ = nullptr;
    QComboBox* comboTaktart_ = nullptr;
    QCheckBox* checkMellemtakt_ = nullptr;
    QLabel* labTakter_ = nullptr;
    QLabel* labVisTakter_ = nullptr;
    TempoSpinButtons* spinTakter_ = nullptr;
    QCheckBox* checkKortLoop_ = nullptr;
    QFrame* panBpm2_ = nullptr;
    QLabel* labTempo2_ = nullptr;
    QLineEdit* editTempo2_ = nullptr;
    QPointer<RhythmSymbolPicture> imageRytmeValg_;
    QPointer<QLabel> labRytmeTrioler_;
    QPointer<QLabel> labRytmePct_;
};

} // namespace harmik
