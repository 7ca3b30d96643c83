#include "app/melody_options.h"

#include "userdata/hints.h"
#include "userdata/strings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QStringList>
#include <QToolButton>
#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

namespace harmik {
namespace {

constexpr int kRhythmModule = 7;

constexpr int kKeyCount = 12;
constexpr int kNoteCountItems = 8; // 1, 3, 5 .. 15 notes

// Captions and hints.
constexpr int kGroupMelodiCaption = 603;
constexpr int kLabelToneartValgCaption = 369;
constexpr int kLabelTonalitetCaption = 370;
constexpr int kLabelSpringCaption = 371;
constexpr int kLabelMelodiLenCaption = 372;
constexpr int kCheckPrimaVistaCaption = 380, kCheckPrimaVistaHint = 3210;
constexpr int kCheckVisStartToneCaption = 381, kCheckVisStartToneHint = 3211;
constexpr int kComboToneartHint = 3199;
constexpr int kComboTonalitetHint = 3200;
constexpr int kComboSpringHint = 3201;
constexpr int kComboTonerHint = 3202;
constexpr int kFifthUpHint = 3205, kFifthDownHint = 3206;
constexpr int kFirstTonalityName = 351; // 351..357

int validOr(int value, int count, int fallback) {
    return value >= 0 && value < count ? value : fallback;
}

std::string lookupString(int id) {
    return LoadStr(id).toStdString();
}

QStringList toQStringList(const std::vector<std::string>& entries) {
    QStringList list;
    for (const std::string& e : entries)
        list << QString::fromStdString(e);
    return list;
}

// Replaces the entries of a list and selects one of them. Programmatic changes of a list do not
// count as the user's choice (the handlers listen to activated only).
void refill(QComboBox* combo, const QStringList& entries, int selected) {
    combo->clear();
    combo->addItems(entries);
    combo->setCurrentIndex(selected);
}

QLabel* captionLabel(int captionId, const char* objectName, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(LoadStr(captionId), parent);
    label->setObjectName(QString::fromLatin1(objectName));
    label->setBuddy(buddy);
    return label;
}

QComboBox* optionList(const char* objectName, int hintId, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(objectName));
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    ApplyHintId(combo, hintId);
    return combo;
}

QToolButton* fifthButton(const char* objectName, Qt::ArrowType arrow, int hintId, QWidget* parent) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(objectName));
    // A drawn arrow vanishes on some styles' small buttons; a text arrow always shows.
    b->setText(arrow == Qt::RightArrow ? QStringLiteral("▶") : QStringLiteral("◀"));
    b->setFixedSize(24, 22);
    ApplyHintId(b, hintId);
    return b;
}

} // namespace

int KeyItemFor(int key) {
    return validOr(key, kKeyCount, 0);
}

int TonalityItemFor(int tonality) {
    return validOr(tonality, kTonalityCount, 0);
}

int LeapItemFor(int leap, int itemCount) {
    return std::clamp(leap, 1, std::max(itemCount, 1)) - 1;
}

int NoteCountItemFor(int noteCount) {
    return std::clamp(comboIndexFromNoteCount(std::max(noteCount, 1)), 0, kNoteCountItems - 1);
}

// ---------------------------------------------------------------------------------------------

MelodyOptionsPanel::MelodyOptionsPanel(SettingsRecord& settings, QWidget* parent)
    : QObject(parent), settings_(settings) {
    setObjectName(QStringLiteral("MelodyOptions"));
    buildGroup(parent);
    buildKeyControls(parent);
    connectHandlers();

    // The lists need entries before a record can be shown in them; the tonality fills the leap
    // and key lists. The record itself is left alone until the window applies it.
    comboTonalitet_->setCurrentIndex(TonalityItemFor(settings_.MelodyOptions.Tonality));
    const TonalitySetup setup =
        tonalityChange(settings_.ExerciseOptions.RootNote, comboTonalitet_->currentIndex(),
                       settings_.GermanNaming != 0, lookupString);
    refill(comboSpring_, toQStringList(setup.LeapEntries),
           LeapItemFor(settings_.MelodyOptions.Leap, static_cast<int>(setup.LeapEntries.size())));
    refill(comboToneart_, toQStringList(setup.KeyEntries), KeyItemFor(settings_.MelodyOptions.Key));
    comboToner_->setCurrentIndex(NoteCountItemFor(settings_.MelodyOptions.NoteCount));
    labelToneart_->setText(QString::fromStdString(setup.Label));
    keyState_ = setup.Key;
}

void MelodyOptionsPanel::buildGroup(QWidget* parent) {
    groupMelodi_ = new QGroupBox(LoadStr(kGroupMelodiCaption), parent);
    groupMelodi_->setObjectName(QStringLiteral("GroupMelodi"));

    comboToneart_ = optionList("ComboToneart", kComboToneartHint, groupMelodi_);
    comboTonalitet_ = optionList("ComboTonalitet", kComboTonalitetHint, groupMelodi_);
    comboTonalitet_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(comboTonalitet_, &QWidget::customContextMenuRequested, this,
            &MelodyOptionsPanel::tonalityPreviewRequested);
    for (int t = 0; t < kTonalityCount; ++t)
        comboTonalitet_->addItem(LoadStr(kFirstTonalityName + t));
    comboSpring_ = optionList("ComboSpring", kComboSpringHint, groupMelodi_);
    comboToner_ = optionList("ComboToner", kComboTonerHint, groupMelodi_);
    for (int item = 0; item < kNoteCountItems; ++item)
        comboToner_->addItem(QString::number(noteCountFromComboIndex(item)));

    checkPrimaVista_ = new QCheckBox(LoadStr(kCheckPrimaVistaCaption), groupMelodi_);
    checkPrimaVista_->setObjectName(QStringLiteral("CheckPrimaVista"));
    ApplyHintId(checkPrimaVista_, kCheckPrimaVistaHint);
    checkVisStartTone_ = new QCheckBox(LoadStr(kCheckVisStartToneCaption), groupMelodi_);
    checkVisStartTone_->setObjectName(QStringLiteral("CheckVisStartTone"));
    ApplyHintId(checkVisStartTone_, kCheckVisStartToneHint);

    // Two pairs of caption and list per row, the check boxes below.
    auto* grid = new QGridLayout(groupMelodi_);
    grid->setContentsMargins(6, 2, 6, 4);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(2);
    grid->addWidget(
        captionLabel(kLabelToneartValgCaption, "LabelToneartValg", comboToneart_, groupMelodi_), 0,
        0);
    grid->addWidget(comboToneart_, 0, 1);
    grid->addWidget(
        captionLabel(kLabelTonalitetCaption, "LabelTonalitet", comboTonalitet_, groupMelodi_), 0,
        2);
    grid->addWidget(comboTonalitet_, 0, 3);
    grid->addWidget(captionLabel(kLabelSpringCaption, "LabelSpring", comboSpring_, groupMelodi_), 1,
                    0);
    grid->addWidget(comboSpring_, 1, 1);
    grid->addWidget(
        captionLabel(kLabelMelodiLenCaption, "LabelMelodiLen", comboToner_, groupMelodi_), 1, 2);
    grid->addWidget(comboToner_, 1, 3);
    grid->addWidget(checkPrimaVista_, 2, 0, 1, 2);
    grid->addWidget(checkVisStartTone_, 2, 2, 1, 2);
    groupMelodi_->hide();
}

void MelodyOptionsPanel::buildKeyControls(QWidget* parent) {
    labelToneart_ = new QLabel(parent);
    labelToneart_->setObjectName(QStringLiteral("LabelToneart"));
    QFont font = labelToneart_->font();
    font.setBold(true);
    labelToneart_->setFont(font);

    // Up the circle of fifths is to the right, down to the left.
    bitBtnKvintOp_ = fifthButton("BitBtnKvintOp", Qt::RightArrow, kFifthUpHint, parent);
    bitBtnKvintNed_ = fifthButton("BitBtnKvintNed", Qt::LeftArrow, kFifthDownHint, parent);
    for (QWidget* w :
         std::initializer_list<QWidget*>{labelToneart_, bitBtnKvintOp_, bitBtnKvintNed_})
        w->hide();
}

void MelodyOptionsPanel::connectHandlers() {
    connect(comboToneart_, &QComboBox::activated, this, [this] { ComboToneartChange(); });
    connect(comboTonalitet_, &QComboBox::activated, this, [this] { ComboTonalitetChange(); });
    connect(comboSpring_, &QComboBox::activated, this, [this] { ComboSpringChange(); });
    connect(comboToner_, &QComboBox::activated, this, [this] { ComboTonerChange(); });
    connect(checkPrimaVista_, &QCheckBox::toggled, this, &MelodyOptionsPanel::CheckPrimaVistaClick);
    connect(checkVisStartTone_, &QCheckBox::toggled, this,
            &MelodyOptionsPanel::CheckVisStartToneClick);
    connect(bitBtnKvintOp_, &QToolButton::clicked, this, [this] { BitBtnKvintOpClick(); });
    connect(bitBtnKvintNed_, &QToolButton::clicked, this, [this] { BitBtnKvintNedClick(); });
}

void MelodyOptionsPanel::applyModule(const ModuleScreenSetup& s) {
    const bool melodies = s.visible.GroupMelodi;
    groupMelodi_->setVisible(melodies);
    labelToneart_->setVisible(melodies);
    if (s.kvintUpHintId != 0)
        ApplyHintId(bitBtnKvintOp_, s.kvintUpHintId);
    if (s.kvintDownHintId != 0)
        ApplyHintId(bitBtnKvintNed_, s.kvintDownHintId);
    bitBtnKvintOp_->setVisible(s.visible.BitBtnKvint);
    bitBtnKvintNed_->setVisible(s.visible.BitBtnKvint);
    if (melodies)
        ComboTonalitetChange();
}

void MelodyOptionsPanel::ApplyLoadedSettings() {
    MelodyOptionsRecord& o = settings_.MelodyOptions;
    comboToneart_->setCurrentIndex(KeyItemFor(o.Key));
    comboTonalitet_->setCurrentIndex(TonalityItemFor(o.Tonality));
    o.Tonality = kTonalityNotApplied;
    comboSpring_->setCurrentIndex(LeapItemFor(o.Leap, comboSpring_->count()));
    comboToner_->setCurrentIndex(NoteCountItemFor(o.NoteCount));
    checkPrimaVista_->setChecked(o.PrimaVista != 0);
    checkVisStartTone_->setChecked(o.ShowStartNote != 0);
}

void MelodyOptionsPanel::ComboToneartChange() {
    const int key = KeyItemFor(comboToneart_->currentIndex());
    settings_.MelodyOptions.Key = static_cast<std::uint8_t>(key);
    settings_.ExerciseOptions.RootNote = static_cast<std::uint8_t>(melodyTonicFromKey(key));
    ComboTonalitetChange();
}

void MelodyOptionsPanel::ComboTonalitetChange() {
    MelodyOptionsRecord& o = settings_.MelodyOptions;
    const int tonality = TonalityItemFor(comboTonalitet_->currentIndex());
    o.Tonality = static_cast<std::uint8_t>(tonality);
    const TonalitySetup setup = tonalityChange(settings_.ExerciseOptions.RootNote, tonality,
                                               settings_.GermanNaming != 0, lookupString);

    // The pentatonic lists count five steps, the others seven intervals: a leap the new list
    // does not have becomes its nearest entry, so that the list shows what the melody uses.
    const int leapItem = LeapItemFor(o.Leap, static_cast<int>(setup.LeapEntries.size()));
    o.Leap = static_cast<std::uint8_t>(leapItem + 1);
    refill(comboSpring_, toQStringList(setup.LeapEntries), leapItem);

    labelToneart_->setText(QString::fromStdString(setup.Label));
    refill(comboToneart_, toQStringList(setup.KeyEntries), setup.SelectedKey);
    o.Key = static_cast<std::uint8_t>(setup.SelectedKey);
    keyState_ = setup.Key;
    emit keyChanged();
}

void MelodyOptionsPanel::ComboSpringChange() {
    const int item = LeapItemFor(comboSpring_->currentIndex() + 1, comboSpring_->count());
    settings_.MelodyOptions.Leap = static_cast<std::uint8_t>(item + 1);
}

void MelodyOptionsPanel::ComboTonerChange() {
    const int item = std::clamp(comboToner_->currentIndex(), 0, kNoteCountItems - 1);
    settings_.MelodyOptions.NoteCount = static_cast<std::uint8_t>(noteCountFromComboIndex(item));
}

void MelodyOptionsPanel::CheckPrimaVistaClick(bool checked) {
    settings_.MelodyOptions.PrimaVista = checked ? 1 : 0;
}

void MelodyOptionsPanel::CheckVisStartToneClick(bool checked) {
    settings_.MelodyOptions.ShowStartNote = checked ? 1 : 0;
}

void MelodyOptionsPanel::BitBtnKvintOpClick() {
    if (settings_.CurrentModule == kRhythmModule) {
        emit previousMetreRequested();
        return;
    }
    moveKey(fifthUp({settings_.MelodyOptions.Key, settings_.ExerciseOptions.RootNote}));
}

void MelodyOptionsPanel::BitBtnKvintNedClick() {
    if (settings_.CurrentModule == kRhythmModule) {
        emit nextMetreRequested();
        return;
    }
    moveKey(fifthDown({settings_.MelodyOptions.Key, settings_.ExerciseOptions.RootNote}));
}

void MelodyOptionsPanel::moveKey(const MelodyKey& key) {
    settings_.MelodyOptions.Key = static_cast<std::uint8_t>(key.Key);
    settings_.ExerciseOptions.RootNote = static_cast<std::uint8_t>(key.Tonic);
    ComboTonalitetChange();
}

} // namespace harmik
