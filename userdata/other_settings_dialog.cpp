#include "userdata/other_settings_dialog.h"

#include "userdata/dialog_parts.h"
#include "userdata/hints.h"
#include "userdata/settings_record.h"
#include "userdata/strings.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace harmik {
namespace {

constexpr int kCaption = 1540;
constexpr int kExercisePage = 1501;
constexpr int kProgramPage = 1500;
constexpr int kHintPauseCaption = 1505;
constexpr int kExercisesCaption = 1506;
constexpr int kHintsOff = 1507;
constexpr int kSensitivityCaption = 1508;
constexpr int kHintPauseHint = 1550;
constexpr int kExercisesHint = 1551;
constexpr int kSensitivityHint = 1552;
constexpr int kPageHelpBase = 220; // + the page shown

constexpr int kHintPauseOff = 10;
constexpr int kSensitivityBase = 89; // shown to the user as value - 89: 0..10, 10 exact

// The page the dialog was closed on, while the program runs.
int lastPage = 0;

void addSliderRow(QGridLayout* grid, int row, QWidget* parent, int captionId, QSlider* slider,
                  QLabel* value) {
    auto* caption = new QLabel(LoadStr(captionId), parent);
    caption->setBuddy(slider);
    grid->addWidget(caption, row, 0);
    grid->addWidget(slider, row, 1);
    grid->addWidget(value, row, 2);
}

std::uint8_t flag(const QCheckBox* box) {
    return box->isChecked() ? 1 : 0;
}

} // namespace

TTabDiverse::TTabDiverse(SettingsRecord& settings, bool tipsAtStart,
                         std::function<void(int)> hintPausePreview, QWidget* parent)
    : QDialog(parent), settings_(settings), hintPausePreview_(std::move(hintPausePreview)) {
    setObjectName(QStringLiteral("TabDiverse"));
    setWindowTitle(LoadStr(kCaption));
    pages_ = new QTabWidget(this);

    auto* exercisePage = new QWidget(pages_);
    auto* exerciseGrid = new QGridLayout(exercisePage);
    exercises_ = MakeSlider(exercisePage, 4, 50, kExercisesHint);
    exercisesValue_ = MakeValueLabel(exercisePage, QStringLiteral("50"));
    addSliderRow(exerciseGrid, 0, exercisePage, kExercisesCaption, exercises_, exercisesValue_);
    sensitivity_ =
        MakeSlider(exercisePage, kSensitivityBase, kSensitivityBase + 10, kSensitivityHint);
    sensitivityValue_ = MakeValueLabel(exercisePage, QStringLiteral("10"));
    addSliderRow(exerciseGrid, 1, exercisePage, kSensitivityCaption, sensitivity_,
                 sensitivityValue_);
    chordTuning_ = MakeCheck(exercisePage, 1520, 1565);
    vocalSupport_ = MakeCheck(exercisePage, 1521, 1566);
    solfege_ = MakeCheck(exercisePage, 1518, 1563);
    rhythmTiming_ = MakeCheck(exercisePage, 1522, 1567);
    int row = 2;
    for (QCheckBox* box : {chordTuning_, vocalSupport_, solfege_, rhythmTiming_})
        exerciseGrid->addWidget(box, row++, 0, 1, 3);
    exerciseGrid->setRowStretch(row, 1);
    pages_->addTab(exercisePage, LoadStr(kExercisePage));

    auto* programPage = new QWidget(pages_);
    auto* programGrid = new QGridLayout(programPage);
    hintPause_ = MakeSlider(programPage, 0, kHintPauseOff, kHintPauseHint);
    hintPauseValue_ = MakeValueLabel(programPage, LoadStr(kHintsOff));
    addSliderRow(programGrid, 0, programPage, kHintPauseCaption, hintPause_, hintPauseValue_);
    tips_ = MakeCheck(programPage, 1515, 1560);
    noStartSound_ = MakeCheck(programPage, 1516, 1561);
    german_ = MakeCheck(programPage, 1517, 1562);
    statusBar_ = MakeCheck(programPage, 1519, 1564);
    row = 1;
    for (QCheckBox* box : {tips_, noStartSound_, german_, statusBar_})
        programGrid->addWidget(box, row++, 0, 1, 3);
    programGrid->setRowStretch(row, 1);
    pages_->addTab(programPage, LoadStr(kProgramPage));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_);
    AddOkCancel(
        this, layout, [this] { OKBtnClick(); }, true);

    // The controls from the record; the labels follow their sliders.
    connect(exercises_, &QSlider::valueChanged, this,
            [this](int v) { exercisesValue_->setText(QString::number(v)); });
    connect(sensitivity_, &QSlider::valueChanged, this,
            [this](int v) { sensitivityValue_->setText(QString::number(v - kSensitivityBase)); });
    hintPause_->setValue(std::clamp(int(settings_.HintDelay), 0, kHintPauseOff));
    exercises_->setValue(settings_.ExerciseOptions.ExercisesPerTask);
    sensitivity_->setValue(settings_.RhythmOptions.RhythmSensitivity);
    exercisesValue_->setText(QString::number(exercises_->value()));
    sensitivityValue_->setText(QString::number(sensitivity_->value() - kSensitivityBase));
    hintPauseValue_->setText(hintPause_->value() == kHintPauseOff
                                 ? LoadStr(kHintsOff)
                                 : QString::number(hintPause_->value()));
    connect(hintPause_, &QSlider::valueChanged, this, &TTabDiverse::Scr_HintPauseChange);
    tips_->setChecked(tipsAtStart);
    rhythmTiming_->setChecked(settings_.AltRhythmTiming != 0);
    noStartSound_->setChecked(settings_.NoStartMusic != 0);
    german_->setChecked(settings_.GermanNaming != 0);
    solfege_->setChecked(settings_.Solfege != 0);
    statusBar_->setChecked(settings_.StatusBar != 0);
    chordTuning_->setChecked(settings_.ChordTuning != 0);
    vocalSupport_->setChecked(settings_.VocalSupport != 0);
    pages_->setCurrentIndex(lastPage);
    // Help and F1 open the page shown.
    const auto helpForPage = [this] {
        setProperty("HelpContext", kPageHelpBase + pages_->currentIndex());
    };
    helpForPage();
    connect(pages_, &QTabWidget::currentChanged, this, helpForPage);
}

TTabDiverse::~TTabDiverse() {
    lastPage = pages_->currentIndex();
}

bool TTabDiverse::tipsAtStart() const {
    return tips_->isChecked();
}

void TTabDiverse::Scr_HintPauseChange(int value) {
    hintPauseValue_->setText(value == kHintPauseOff ? LoadStr(kHintsOff) : QString::number(value));
    if (hintPausePreview_)
        hintPausePreview_(value);
}

void TTabDiverse::OKBtnClick() {
    SettingsRecord& s = settings_;
    s.HintDelay = hintPause_->value();
    s.ExerciseOptions.ExercisesPerTask = std::uint8_t(exercises_->value());
    s.RhythmOptions.RhythmSensitivity = std::uint8_t(sensitivity_->value());
    s.AltRhythmTiming = flag(rhythmTiming_);
    s.GermanNaming = flag(german_);
    s.Solfege = flag(solfege_);
    s.StatusBar = flag(statusBar_);
    s.ChordTuning = flag(chordTuning_);
    s.VocalSupport = flag(vocalSupport_);
    // Start-up reads this switch and leaves the music out; no file is renamed for it.
    s.NoStartMusic = flag(noStartSound_);
    accept();
}

} // namespace harmik
