#pragma once
#include "app/module_table.h"
#include "input/cursor_table.h"
#include "userdata/settings_record.h"

#include <QGroupBox>
#include <QObject>
#include <QStringList>
#include <array>
#include <functional>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QLineEdit;
class QRadioButton;
class QToolButton;

namespace harmik {

// The speaker sounds one note at a time: playback is then melodic whatever was chosen.
int SnapPlayMode(int playMode, bool pcSpeakerOnly);
// ... and a chord cadence (play styles 0, 1, 3, 4) becomes the tonic alone (2).
int SnapPlayStyle(int playStyle, bool pcSpeakerOnly);

// A group of radio buttons of which one is selected, numbered from 0 in the order of the
// items. Only a click of the user reports itemClicked; setItemIndex selects silently.
class RadioGroupBox : public QGroupBox {
    Q_OBJECT
public:
    RadioGroupBox(const QString& objectName, const QStringList& items, int columns,
                  QWidget* parent);

    int itemIndex() const;
    void setItemIndex(int index);
    // Lays the items out again in the given number of columns, filled top to bottom.
    void setColumns(int columns);
    int columns() const { return columns_; }
    int count() const { return static_cast<int>(buttons_.size()); }
    QRadioButton* item(int index) const;

signals:
    void itemClicked(int index);

private:
    QButtonGroup* group_ = nullptr;
    QGridLayout* grid_ = nullptr;
    std::vector<QRadioButton*> buttons_;
    int columns_ = 1;
};

// GroupKvalitet: the item-group boxes CheckKval1 .. CheckKval5. The window's layout places
// the boxes inside the group (the group's "Tag" property holds the number shown).
class ItemGroupBox : public QGroupBox {
    Q_OBJECT
public:
    explicit ItemGroupBox(QWidget* parent);
    QCheckBox* box(int g) const; // g = 1..5
    // Captions of the first n boxes; the other boxes hide. All boxes are cleared.
    void showGroups(int n, const std::array<QString, kItemGroupCount>& captions);
    int shownGroups() const { return shown_; }

private:
    std::array<QCheckBox*, kItemGroupCount> boxes_{};
    int shown_ = 0;
};

// GroupGrundtone with its root list ComboGrundtone: C .. B (H under German notation) and the
// random root.
class RootGroupBox : public QGroupBox {
    Q_OBJECT
public:
    explicit RootGroupBox(QWidget* parent);
    QComboBox* combo() const { return combo_; }

private:
    QComboBox* combo_ = nullptr;
};

// GroupBelig with its check box CheckBelig.
class BeligGroupBox : public QGroupBox {
    Q_OBJECT
public:
    explicit BeligGroupBox(QWidget* parent);
    QCheckBox* check() const { return check_; }

private:
    QCheckBox* check_ = nullptr;
};

// The option groups of the main window beside the answer panel. Each group is a child of the
// given parent, placed by the window's layout; the groups lay out their own contents. The
// handlers write the options into the settings record at once.
class ExerciseOptionsPanel : public QObject {
    Q_OBJECT
public:
    // Sets answer box `index` ticked or not (the answer panel remembers the tick per module).
    using TickBox = std::function<void(int index, bool ticked)>;

    ExerciseOptionsPanel(SettingsRecord& settings, QWidget* parent);

    void setTickBox(TickBox tickBox) { tickBox_ = std::move(tickBox); }

    ItemGroupBox* GroupKvalitet() const { return groupKvalitet_; }
    QCheckBox* CheckKval(int g) const { return groupKvalitet_->box(g); }
    RadioGroupBox* RadioOpNed() const { return radioOpNed_; }
    RadioGroupBox* RadioOmfang() const { return radioOmfang_; }
    RootGroupBox* GroupGrundtone() const { return groupGrundtone_; }
    QComboBox* ComboGrundtone() const { return groupGrundtone_->combo(); }
    RadioGroupBox* RadioAfspil() const { return radioAfspil_; }
    BeligGroupBox* GroupBelig() const { return groupBelig_; }
    QCheckBox* CheckBelig() const { return groupBelig_->check(); }
    RadioGroupBox* GroupKadence() const { return groupKadence_; }
    // The play-style button with the given tag: 0 RadioKlassisk, 1..5 RadioButton1..5.
    QRadioButton* PlayStyleButton(int tag) const { return groupKadence_->item(tag); }

    // The screen of module m as the option controls stand now.
    ModuleScreenSetup screenSetup(int m) const;
    // Shows this panel's groups for the module with their captions, clears the item-group
    // boxes and sets RootNote from the root list (the window sets CurrentModule).
    void applyModule(const ModuleScreenSetup& s);
    void applyModule(int m) { applyModule(screenSetup(m)); }

    // Ticks (state true) or clears every answer box of item group g (1..5) of the current
    // module. In chord progressions a ticked group clears the other two group boxes, and with
    // them their progressions, so that one length is chosen at a time.
    void EarFill(int g, bool state);

    // Handlers of the controls; each runs when the user changes the control.
    void CheckKvalClick(int g);
    void RadioOpNedClick(int index);
    void RadioOmfangClick(int index);
    void RadioAfspilClick(int index);
    void CheckBeligClick(bool checked);
    void RadioKlassiskClick(int tag);
    void ComboGrundtoneChange(int item);

    // Shows a loaded record in the controls: the root list, direction, range, playback,
    // voicings and play style (the handlers run, so the speaker rules hold).
    void ApplyLoadedSettings();
    // After the speaker has been switched on: melodic playback, no chord cadence.
    void ApplyPcSpeakerRule();
    // Names the root list's B "H" under German notation.
    void SetGermanNaming(bool german);
    // Selects the root list's entry for RootNote (60 and above; lower notes give C).
    void ReselectRootItem();

    bool randomRoot() const { return randomRoot_; }

    // Mouse cursors of the radio items (the small hand).
    void applyCursors(const CursorTable& cursors);

signals:
    // The interval range changed (0..2 = one to three octaves): the answer boxes follow it.
    void rangeChanged(int range);
    // RootNote or the random-root flag changed through the root list.
    void rootNoteChanged(int rootNote, bool randomRoot);
    // Right press on a play-style button: play that cadence as a preview.
    void playStylePreviewRequested(int tag);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildGroups(QWidget* parent);
    int currentModule() const { return settings_.CurrentModule; }

    SettingsRecord& settings_;
    TickBox tickBox_;
    bool randomRoot_ = false;

    ItemGroupBox* groupKvalitet_ = nullptr;
    RadioGroupBox* radioOpNed_ = nullptr;
    RadioGroupBox* radioOmfang_ = nullptr;
    RootGroupBox* groupGrundtone_ = nullptr;
    RadioGroupBox* radioAfspil_ = nullptr;
    BeligGroupBox* groupBelig_ = nullptr;
    RadioGroupBox* groupKadence_ = nullptr;
};

// The spin buttons Spin_bpm beside a tempo field: an up and a down arrow.
class TempoSpinButtons : public QWidget {
    Q_OBJECT
public:
    explicit TempoSpinButtons(QWidget* parent);
    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }

signals:
    void upClicked();
    void downClicked();

private:
    QToolButton* up_ = nullptr;
    QToolButton* down_ = nullptr;
};

// The tempo of the modules in the two tempo fields: EditTempo on the sound panel (the current
// module's tempo) and EditTempo2 on the rhythm panel (the rhythm module's tempo).
class TempoFields : public QObject {
    Q_OBJECT
public:
    TempoFields(SettingsRecord& settings, QObject* parent = nullptr);

    // Takes over the fields (either may be null) and the spin buttons: makes the fields
    // editable for whole numbers and connects their handlers.
    void attach(QLineEdit* editTempo, QLineEdit* editTempo2, TempoSpinButtons* spin = nullptr);

    void Spin_bpmUpClick();
    void Spin_bpmDownClick();
    void EditTempoChange();
    void EditTempoExit();
    void EditTempo2Exit();

    // Writes the tempos into the fields: EditTempo the current module's, EditTempo2 the
    // rhythm module's.
    void showTempos();

signals:
    // The user works with the sound panel's tempo controls: its countdown starts again.
    void soundPanelTouched();

private:
    int module() const;
    bool inRhythm() const { return module() == 7; }
    int tempoOf(int m) const;
    void setTempoOf(int m, int tempo);
    void showInFields(int tempoField, int tempoField2);

    SettingsRecord& settings_;
    QLineEdit* editTempo_ = nullptr;
    QLineEdit* editTempo2_ = nullptr;
};

} // namespace harmik
