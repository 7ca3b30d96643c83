#pragma once
#include "app/module_table.h"
#include "theory/keys.h"
#include "userdata/settings_record.h"

#include <QObject>
#include <cstdint>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QToolButton;
class QWidget;

namespace harmik {

// Tonality of the record between showing a loaded record and its tonality change: no tonality
// has this number, so the record never claims a tonality whose leap list, key list, label and
// signature have not been built yet; a record saved in between reads back as major.
constexpr std::uint8_t kTonalityNotApplied = 99;

// The entries the option lists show for stored values. Values a list cannot show (a damaged
// or foreign record) fall back to its first entry, or, for the leap and the note count, to
// the nearest entry.
int KeyItemFor(int key);                  // key list, 12 entries
int TonalityItemFor(int tonality);        // tonality list, 7 entries
int LeapItemFor(int leap, int itemCount); // leap list: Leap - 1
int NoteCountItemFor(int noteCount);      // note count list: (NoteCount - 1) div 2, 8 entries

// The melody module's options on the main window: GroupMelodi with the key, tonality, leap and
// note-count lists and the two check boxes, the key label LabelToneart and the two fifth
// buttons BitBtnKvintOp / BitBtnKvintNed. All are children of the given parent and start
// hidden; the group lays out its own contents, the window places the group, the label and the
// buttons. The handlers write MelodyOptions (and the melody tonic in RootNote) at once; a list
// reports a change only when the user makes it.
class MelodyOptionsPanel : public QObject {
    Q_OBJECT
public:
    MelodyOptionsPanel(SettingsRecord& settings, QWidget* parent);

    QGroupBox* GroupMelodi() const { return groupMelodi_; }
    QComboBox* ComboToneart() const { return comboToneart_; }
    QComboBox* ComboTonalitet() const { return comboTonalitet_; }
    QComboBox* ComboSpring() const { return comboSpring_; }
    QComboBox* ComboToner() const { return comboToner_; }
    QCheckBox* CheckPrimaVista() const { return checkPrimaVista_; }
    QCheckBox* CheckVisStartTone() const { return checkVisStartTone_; }
    QLabel* LabelToneart() const { return labelToneart_; }
    QToolButton* BitBtnKvintOp() const { return bitBtnKvintOp_; }
    QToolButton* BitBtnKvintNed() const { return bitBtnKvintNed_; }

    // Signature and step accidentals of the key as last applied (for the staff).
    const KeyState& keyState() const { return keyState_; }

    // Shows the group and the key label for melodies and the fifth buttons for melodies and
    // rhythm, with the module's hints on the buttons. Entering the melody module applies the
    // key of RootNote, so the window calls this after RootNote has been set for the module.
    void applyModule(const ModuleScreenSetup& s);

    // Shows a loaded record in the controls: the key and tonality lists, the leap and note-count
    // lists and the two check boxes. Tonality then reads kTonalityNotApplied until the tonality
    // change runs (the window runs ComboTonalitetChange once the module has been set up).
    void ApplyLoadedSettings();

    // Key list: Key := the entry, the tonic (in RootNote) := 60 + entry, an octave lower from
    // E on; then the tonality change.
    void ComboToneartChange();
    // Tonality list: Tonality := the entry; the leap list, key label and key list are built
    // for it, the key list selects the tonic's pitch class (stored as Key) and the signature
    // is computed. Emits keyChanged.
    void ComboTonalitetChange();
    void ComboSpringChange(); // Leap := entry + 1
    void ComboTonerChange();  // NoteCount := entry x 2 + 1
    void CheckPrimaVistaClick(bool checked);
    void CheckVisStartToneClick(bool checked);
    // Melodies: the key a fifth up or down the circle of fifths. Rhythm: the previous or the
    // next time signature (reported to the rhythm options through a signal).
    void BitBtnKvintOpClick();
    void BitBtnKvintNedClick();

signals:
    // Key, tonality or tonic changed: the window redraws the key area and may follow RootNote
    // with the root list.
    void keyChanged();
    // The fifth buttons in the rhythm module.
    void previousMetreRequested();
    void nextMetreRequested();
    // A right click on the tonality list: the user wants to hear the key.
    void tonalityPreviewRequested();

private:
    void buildGroup(QWidget* parent);
    void buildKeyControls(QWidget* parent);
    void connectHandlers();
    void moveKey(const MelodyKey& key);

    SettingsRecord& settings_;
    KeyState keyState_;

    QGroupBox* groupMelodi_ = nullptr;
    QComboBox* comboToneart_ = nullptr;
    QComboBox* comboTonalitet_ = nullptr;
    QComboBox* comboSpring_ = nullptr;
    QComboBox* comboToner_ = nullptr;
    QCheckBox* checkPrimaVista_ = nullptr;
    QCheckBox* checkVisStartTone_ = nullptr;
    QLabel* labelToneart_ = nullptr;
    QToolButton* bitBtnKvintOp_ = nullptr;
    QToolButton* bitBtnKvintNed_ = nullptr;
};

} // namespace harmik
