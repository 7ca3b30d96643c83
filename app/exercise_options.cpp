#include "app/exercise_options.h"

#include "app/tempo.h"
#include "theory/note_names.h"
#include "userdata/hints.h"
#include "userdata/strings.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace harmik {
namespace {

// Captions and hints of the groups.
constexpr int kGroupKvalitetCaption = 1300, kGroupKvalitetHint = 3013;
constexpr int kRadioOpNedCaption = 1301, kRadioOpNedHint = 3014;
constexpr int kRadioOmfangCaption = 1302, kRadioOmfangHint = 3015;
constexpr int kGroupGrundtoneCaption = 1303, kGroupGrundtoneHint = 3016;
constexpr int kRadioAfspilCaption = 1304, kRadioAfspilHint = 3017;
constexpr int kGroupBeligCaption = 1305, kGroupBeligHint = 3018;
constexpr int kCheckBeligCaption = 1315;
constexpr int kGroupKadenceCaption = 373, kGroupKadenceHint = 3203;
constexpr int kPlayModeItems = 307;  // "Гармон.", "Мелод.", "Педаль"
constexpr int kPlayStyleItems = 374; // "Классич." ... "Нет"
constexpr int kDirectionItems = 303; // up, down, both
constexpr int kRangeItems = 310;     // one, two, three octaves
constexpr int kRandomRootText = 313;
constexpr int kTempoHint = 3059;

constexpr int kRhythmModule = 7;
constexpr int kProgressionModule = 5;
constexpr int kPlayStyleTonicOnly = 2;

// The text of a string-table entry, or the given sign while the table has no such entry.
QString textOrSign(int id, const char* sign) {
    const QString text = LoadStr(id);
    return text.isEmpty() ? QString::fromUtf8(sign) : text;
}

QStringList tableTexts(int firstId, int count) {
    QStringList texts;
    for (int k = 0; k < count; ++k)
        texts << LoadStr(firstId + k);
    return texts;
}

int validOr(int value, int count, int fallback) {
    return value >= 0 && value < count ? value : fallback;
}

void setHint(QWidget* w, int hintId) {
    ApplyHintId(w, hintId);
}

} // namespace

int SnapPlayMode(int playMode, bool pcSpeakerOnly) {
    return pcSpeakerOnly ? 1 : playMode;
}

int SnapPlayStyle(int playStyle, bool pcSpeakerOnly) {
    const bool chordCadence = playStyle == 0 || playStyle == 1 || playStyle == 3 || playStyle == 4;
    return pcSpeakerOnly && chordCadence ? kPlayStyleTonicOnly : playStyle;
}

// ---------------------------------------------------------------------------------------------

RadioGroupBox::RadioGroupBox(const QString& objectName, const QStringList& items, int columns,
                             QWidget* parent)
    : QGroupBox(parent) {
    setObjectName(objectName);
    group_ = new QButtonGroup(this);
    group_->setExclusive(true);
    for (int i = 0; i < items.size(); ++i) {
        auto* b = new QRadioButton(items[i], this);
        group_->addButton(b, i);
        buttons_.push_back(b);
    }
    setColumns(columns);
    connect(group_, &QButtonGroup::idClicked, this, &RadioGroupBox::itemClicked);
}

void RadioGroupBox::setColumns(int columns) {
    columns = std::max(columns, 1);
    if (grid_ && columns == columns_)
        return;
    columns_ = columns;
    delete grid_;
    grid_ = new QGridLayout(this);
    grid_->setContentsMargins(6, 2, 6, 2);
    grid_->setVerticalSpacing(0);
    const int rows = (count() + columns - 1) / columns;
    for (int i = 0; i < count(); ++i)
        grid_->addWidget(buttons_[static_cast<std::size_t>(i)], i % rows, i / rows);
}

int RadioGroupBox::itemIndex() const {
    return group_->checkedId();
}

void RadioGroupBox::setItemIndex(int index) {
    if (QRadioButton* b = item(index))
        b->setChecked(true);
}

QRadioButton* RadioGroupBox::item(int index) const {
    if (index < 0 || index >= count())
        return nullptr;
    return buttons_[static_cast<std::size_t>(index)];
}

// ---------------------------------------------------------------------------------------------

ItemGroupBox::ItemGroupBox(QWidget* parent) : QGroupBox(parent) {
    setObjectName(QStringLiteral("GroupKvalitet"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(8, 2, 8, 2);
    column->setSpacing(0);
    for (int g = 1; g <= kItemGroupCount; ++g) {
        auto* b = new QCheckBox(this);
        b->setObjectName(QStringLiteral("CheckKval%1").arg(g));
        b->hide();
        column->addWidget(b);
        boxes_[static_cast<std::size_t>(g - 1)] = b;
    }
    column->addStretch(1);
    setProperty("Tag", 0);
}

QCheckBox* ItemGroupBox::box(int g) const {
    if (g < 1 || g > kItemGroupCount)
        return nullptr;
    return boxes_[static_cast<std::size_t>(g - 1)];
}

void ItemGroupBox::showGroups(int n, const std::array<QString, kItemGroupCount>& captions) {
    shown_ = std::clamp(n, 0, kItemGroupCount);
    for (int k = 0; k < kItemGroupCount; ++k) {
        QCheckBox* b = boxes_[static_cast<std::size_t>(k)];
        b->setText(captions[static_cast<std::size_t>(k)]);
        b->setChecked(false);
        b->setVisible(k < shown_);
    }
    setProperty("Tag", shown_);
}

// ---------------------------------------------------------------------------------------------

RootGroupBox::RootGroupBox(QWidget* parent) : QGroupBox(parent) {
    setObjectName(QStringLiteral("GroupGrundtone"));
    combo_ = new QComboBox(this);
    combo_->setObjectName(QStringLiteral("ComboGrundtone"));
    for (std::string_view name : NoteNamesFlat)
        combo_->addItem(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    combo_->addItem(textOrSign(kRandomRootText, "?"));
    // The list stands at a third of the group's height, centred.
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(6, 2, 6, 4);
    column->addStretch(1);
    column->addWidget(combo_, 0, Qt::AlignHCenter);
    column->addStretch(2);
}

BeligGroupBox::BeligGroupBox(QWidget* parent) : QGroupBox(parent) {
    setObjectName(QStringLiteral("GroupBelig"));
    check_ = new QCheckBox(LoadStr(kCheckBeligCaption), this);
    check_->setObjectName(QStringLiteral("CheckBelig"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(5, 2, 5, 2);
    column->addStretch(1);
    column->addWidget(check_);
    column->addStretch(1);
}

// ---------------------------------------------------------------------------------------------

ExerciseOptionsPanel::ExerciseOptionsPanel(SettingsRecord& settings, QWidget* parent)
    : QObject(parent), settings_(settings) {
    setObjectName(QStringLiteral("ExerciseOptions"));
    buildGroups(parent);
}

void ExerciseOptionsPanel::buildGroups(QWidget* parent) {
    groupKvalitet_ = new ItemGroupBox(parent);
    groupKvalitet_->setTitle(LoadStr(kGroupKvalitetCaption));
    setHint(groupKvalitet_, kGroupKvalitetHint);
    for (int g = 1; g <= kItemGroupCount; ++g)
        connect(groupKvalitet_->box(g), &QCheckBox::clicked, this,
                [this, g] { CheckKvalClick(g); });

    radioOpNed_ = new RadioGroupBox(QStringLiteral("RadioOpNed"),
                                    {textOrSign(kDirectionItems, "\u2191"),
                                     textOrSign(kDirectionItems + 1, "\u2193"),
                                     textOrSign(kDirectionItems + 2, "\u2195")},
                                    1, parent);
    radioOpNed_->setTitle(LoadStr(kRadioOpNedCaption));
    setHint(radioOpNed_, kRadioOpNedHint);
    connect(radioOpNed_, &RadioGroupBox::itemClicked, this, &ExerciseOptionsPanel::RadioOpNedClick);

    radioOmfang_ =
        new RadioGroupBox(QStringLiteral("RadioOmfang"),
                          {textOrSign(kRangeItems, "1"), textOrSign(kRangeItems + 1, "2"),
                           textOrSign(kRangeItems + 2, "3")},
                          1, parent);
    radioOmfang_->setTitle(LoadStr(kRadioOmfangCaption));
    setHint(radioOmfang_, kRadioOmfangHint);
    connect(radioOmfang_, &RadioGroupBox::itemClicked, this,
            &ExerciseOptionsPanel::RadioOmfangClick);

    groupGrundtone_ = new RootGroupBox(parent);
    groupGrundtone_->setTitle(LoadStr(kGroupGrundtoneCaption));
    setHint(groupGrundtone_, kGroupGrundtoneHint);
    connect(groupGrundtone_->combo(), &QComboBox::activated, this,
            &ExerciseOptionsPanel::ComboGrundtoneChange);

    radioAfspil_ =
        new RadioGroupBox(QStringLiteral("RadioAfspil"), tableTexts(kPlayModeItems, 3), 1, parent);
    radioAfspil_->setTitle(LoadStr(kRadioAfspilCaption));
    setHint(radioAfspil_, kRadioAfspilHint);
    // The window's layout gives the group one row per item.
    radioAfspil_->setProperty("Tag", 3);
    connect(radioAfspil_, &RadioGroupBox::itemClicked, this,
            &ExerciseOptionsPanel::RadioAfspilClick);

    groupBelig_ = new BeligGroupBox(parent);
    groupBelig_->setTitle(LoadStr(kGroupBeligCaption));
    setHint(groupBelig_, kGroupBeligHint);
    connect(groupBelig_->check(), &QCheckBox::clicked, this,
            &ExerciseOptionsPanel::CheckBeligClick);

    groupKadence_ = new RadioGroupBox(QStringLiteral("GroupKadence"),
                                      tableTexts(kPlayStyleItems, 6), 2, parent);
    groupKadence_->setTitle(LoadStr(kGroupKadenceCaption));
    setHint(groupKadence_, kGroupKadenceHint);
    for (int tag = 0; tag < groupKadence_->count(); ++tag) {
        QRadioButton* b = groupKadence_->item(tag);
        b->setObjectName(tag == 0 ? QStringLiteral("RadioKlassisk")
                                  : QStringLiteral("RadioButton%1").arg(tag));
        b->setProperty("Tag", tag);
        b->installEventFilter(this);
    }
    connect(groupKadence_, &RadioGroupBox::itemClicked, this,
            &ExerciseOptionsPanel::RadioKlassiskClick);

    for (QWidget* w :
         std::initializer_list<QWidget*>{groupKvalitet_, radioOpNed_, radioOmfang_, groupGrundtone_,
                                         radioAfspil_, groupBelig_, groupKadence_})
        w->hide();
}

void ExerciseOptionsPanel::applyCursors(const CursorTable& cursors) {
    for (RadioGroupBox* g : {radioOpNed_, radioOmfang_, radioAfspil_})
        for (int i = 0; i < g->count(); ++i)
            g->item(i)->setCursor(cursors.cursor(CursorSmallHand));
}

ModuleScreenSetup ExerciseOptionsPanel::screenSetup(int m) const {
    return DescribeModuleScreen(m, ComboGrundtone()->currentIndex(),
                                settings_.ExerciseOptions.Range);
}

void ExerciseOptionsPanel::applyModule(const ModuleScreenSetup& s) {
    const ModuleTableEntry& e = ModuleEntry(s.module);
    // The group boxes tick on a click; left over from another module they would mean nothing.
    groupKvalitet_->showGroups(e.itemGroupCount, s.itemGroupCaptions);
    groupKvalitet_->setVisible(s.visible.GroupKvalitet);
    radioOpNed_->setVisible(s.visible.RadioOpNed);
    radioOmfang_->setVisible(s.visible.RadioOmfang);
    groupGrundtone_->setVisible(s.visible.GroupGrundtone);
    radioAfspil_->setVisible(s.visible.RadioAfspil);
    groupBelig_->setVisible(s.visible.GroupBelig);
    groupKadence_->setVisible(s.visible.GroupKadence);

    settings_.ExerciseOptions.RootNote = static_cast<std::uint8_t>(s.RootNote);
    randomRoot_ = s.RandomRoot;
}

void ExerciseOptionsPanel::EarFill(int g, bool state) {
    if (g < 1 || g > kItemGroupCount)
        return;
    if (tickBox_)
        for (int i : ItemGroupBoxes(currentModule(), g))
            tickBox_(i, state);
    if (currentModule() != kProgressionModule || !state)
        return;
    for (int other = 1; other <= 3; ++other) {
        QCheckBox* b = CheckKval(other);
        if (other == g || !b->isChecked())
            continue;
        b->setChecked(false);
        EarFill(other, false);
    }
}

void ExerciseOptionsPanel::CheckKvalClick(int g) {
    if (QCheckBox* b = CheckKval(g))
        EarFill(g, b->isChecked());
}

void ExerciseOptionsPanel::RadioOpNedClick(int index) {
    index = validOr(index, 3, 0);
    radioOpNed_->setItemIndex(index);
    settings_.ExerciseOptions.Direction = static_cast<std::uint8_t>(index);
}

void ExerciseOptionsPanel::RadioOmfangClick(int index) {
    index = validOr(index, 3, 0);
    radioOmfang_->setItemIndex(index);
    settings_.ExerciseOptions.Range = static_cast<std::uint8_t>(index);
    emit rangeChanged(index);
}

void ExerciseOptionsPanel::RadioAfspilClick(int index) {
    index = SnapPlayMode(validOr(index, 3, 1), settings_.PcSpeakerOnly != 0);
    radioAfspil_->setItemIndex(index);
    settings_.ExerciseOptions.PlayMode = static_cast<std::uint8_t>(index);
}

void ExerciseOptionsPanel::CheckBeligClick(bool checked) {
    CheckBelig()->setChecked(checked);
    settings_.ExerciseOptions.Belig = checked ? 1 : 0;
}

void ExerciseOptionsPanel::RadioKlassiskClick(int tag) {
    tag = SnapPlayStyle(validOr(tag, 6, 5), settings_.PcSpeakerOnly != 0);
    groupKadence_->setItemIndex(tag);
    settings_.ExerciseOptions.PlayStyle = static_cast<std::uint8_t>(tag);
}

void ExerciseOptionsPanel::ComboGrundtoneChange(int item) {
    item = std::clamp(item, 0, kRandomRootItem);
    ComboGrundtone()->setCurrentIndex(item);
    settings_.ExerciseOptions.RootNote = static_cast<std::uint8_t>(RootNoteForItem(item));
    randomRoot_ = item == kRandomRootItem;
    emit rootNoteChanged(settings_.ExerciseOptions.RootNote, randomRoot_);
}

void ExerciseOptionsPanel::ApplyLoadedSettings() {
    const int rootNote = settings_.ExerciseOptions.RootNote;
    randomRoot_ = rootNote == kRandomRootNote;
    ComboGrundtone()->setCurrentIndex(RootItemForNote(rootNote));
    emit rootNoteChanged(rootNote, randomRoot_);

    const ExerciseOptionsRecord& o = settings_.ExerciseOptions;
    RadioOpNedClick(o.Direction);
    RadioOmfangClick(o.Range);
    RadioAfspilClick(o.PlayMode);
    CheckBeligClick(o.Belig != 0);
    RadioKlassiskClick(o.PlayStyle);
}

void ExerciseOptionsPanel::ApplyPcSpeakerRule() {
    if (!settings_.PcSpeakerOnly)
        return;
    RadioAfspilClick(1);
    RadioKlassiskClick(settings_.ExerciseOptions.PlayStyle);
}

void ExerciseOptionsPanel::SetGermanNaming(bool german) {
    ComboGrundtone()->setItemText(
        11, QString::fromStdString(applyGermanNaming(NoteNamesFlat[11], german)));
}

void ExerciseOptionsPanel::ReselectRootItem() {
    const int item = std::clamp(settings_.ExerciseOptions.RootNote - 60, 0, kRandomRootItem);
    ComboGrundtone()->setCurrentIndex(item);
    randomRoot_ = item == kRandomRootItem;
}

bool ExerciseOptionsPanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        const QVariant tag = watched->property("Tag");
        if (tag.isValid() && watched->parent() == groupKadence_) {
            emit playStylePreviewRequested(tag.toInt());
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------------

TempoSpinButtons::TempoSpinButtons(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Spin_bpm"));
    up_ = new QToolButton(this);
    up_->setText(QStringLiteral("▲"));
    down_ = new QToolButton(this);
    down_->setText(QStringLiteral("▼"));
    for (QToolButton* b : {up_, down_}) {
        QFont small = b->font();
        small.setPointSize(5);
        b->setFont(small);
        b->setFixedSize(18, 12);
        b->setAutoRepeat(true);
    }
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(up_);
    column->addWidget(down_);
    setHint(this, kTempoHint);
    connect(up_, &QToolButton::clicked, this, &TempoSpinButtons::upClicked);
    connect(down_, &QToolButton::clicked, this, &TempoSpinButtons::downClicked);
}

TempoFields::TempoFields(SettingsRecord& settings, QObject* parent)
    : QObject(parent), settings_(settings) {}

void TempoFields::attach(QLineEdit* editTempo, QLineEdit* editTempo2, TempoSpinButtons* spin) {
    editTempo_ = editTempo;
    editTempo2_ = editTempo2;
    const QRegularExpression wholeNumber(QStringLiteral("\\d{0,4}"));
    for (QLineEdit* field : {editTempo_, editTempo2_}) {
        if (!field)
            continue;
        field->setReadOnly(false);
        field->setValidator(new QRegularExpressionValidator(wholeNumber, field));
    }
    if (editTempo_) {
        connect(editTempo_, &QLineEdit::textEdited, this, &TempoFields::EditTempoChange);
        connect(editTempo_, &QLineEdit::editingFinished, this, &TempoFields::EditTempoExit);
    }
    if (editTempo2_)
        connect(editTempo2_, &QLineEdit::editingFinished, this, &TempoFields::EditTempo2Exit);
    if (spin) {
        connect(spin, &TempoSpinButtons::upClicked, this, &TempoFields::Spin_bpmUpClick);
        connect(spin, &TempoSpinButtons::downClicked, this, &TempoFields::Spin_bpmDownClick);
    }
    showTempos();
}

int TempoFields::module() const {
    const int m = settings_.CurrentModule;
    return m >= 1 && m <= 7 ? m : 1;
}

int TempoFields::tempoOf(int m) const {
    return settings_.ExerciseOptions.Tempo[m - 1];
}

void TempoFields::setTempoOf(int m, int tempo) {
    settings_.ExerciseOptions.Tempo[m - 1] = tempo;
}

void TempoFields::showInFields(int tempoField, int tempoField2) {
    if (editTempo_)
        editTempo_->setText(QString::number(tempoField));
    if (editTempo2_)
        editTempo2_->setText(QString::number(tempoField2));
}

void TempoFields::showTempos() {
    showInFields(tempoOf(module()), tempoOf(kRhythmModule));
}

void TempoFields::Spin_bpmUpClick() {
    setTempoOf(module(), TempoStepUp(tempoOf(module()), inRhythm()));
    showTempos();
    emit soundPanelTouched();
}

void TempoFields::Spin_bpmDownClick() {
    setTempoOf(module(), TempoStepDown(tempoOf(module())));
    showTempos();
    emit soundPanelTouched();
}

void TempoFields::EditTempoChange() {
    emit soundPanelTouched();
}

void TempoFields::EditTempoExit() {
    // Text that is no number leaves the tempo as it was; the field shows it again.
    if (editTempo_)
        if (const std::optional<int> typed = TempoFieldNumber(editTempo_->text()))
            setTempoOf(module(), TypedTempo(*typed, inRhythm()));
    showTempos();
    emit soundPanelTouched();
}

void TempoFields::EditTempo2Exit() {
    if (editTempo2_)
        if (const std::optional<int> typed = TempoFieldNumber(editTempo2_->text()))
            setTempoOf(kRhythmModule, TypedRhythmTempo(*typed));
    const int rhythmTempo = tempoOf(kRhythmModule);
    showInFields(rhythmTempo, rhythmTempo);
}

} // namespace harmik
