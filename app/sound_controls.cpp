#include "app/sound_controls.h"

#include "midi/sound_output.h"
#include "midi/sound_tables.h"
#include "userdata/hints.h"
#include "userdata/settings_record.h"
#include "userdata/strings.h"

#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSlider>

namespace harmik {
namespace {

constexpr int kVolumeCaption = 1120;   // "Громкость"
constexpr int kVelocityCaption = 1121; // "Скорость"
constexpr int kWaveCaption = 1122;     // "Поддержка"
constexpr int kInstrumentLabel = 1320;
constexpr int kYourInstrumentLabel = 1321;
constexpr int kVolumeHint = 3055;
constexpr int kVelocityHint = 3056;
constexpr int kThruSoundHint = 3057;
constexpr int kEarSoundHint = 3058;
constexpr int kWaveHint = 3060;

QSlider* slider(const char* name, int maximum, QWidget* parent) {
    // A slider with a handle the style draws, as the user expects of a volume control.
    auto* s = new QSlider(Qt::Horizontal, parent);
    s->setObjectName(QString::fromLatin1(name));
    s->setRange(0, maximum);
    s->setPageStep(maximum / 8);
    s->setMinimumWidth(120);
    return s;
}

QLabel* label(const char* name, QWidget* parent) {
    auto* l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

QString sliderText(int captionId, int value) {
    return LoadStr(captionId) + QStringLiteral(" : ") + QString::number(value);
}

} // namespace

SoundControls::SoundControls(SettingsRecord& settings, std::function<SoundOutput*()> output,
                             QWidget* panel)
    : QObject(panel), settings_(settings), output_(std::move(output)) {
    box_ = new QWidget(panel);
    volValg_ = slider("Scr_VolValg", 255, box_);
    volWave_ = slider("Scr_VolWave", 255, box_);
    anslagValg_ = slider("Scr_AnslagValg", 127, box_);
    labVolValg_ = label("Lab_VolValg", box_);
    labVolWave_ = label("Lab_VolWave", box_);
    labAnslagValg_ = label("Lab_AnslagValg", box_);
    ApplyHintId(volValg_, kVolumeHint);
    ApplyHintId(volWave_, kWaveHint);
    ApplyHintId(anslagValg_, kVelocityHint);

    // "Инструмент" heads the exercise sound, "Ваш инструмент" the user's own.
    auto* thruLabel = new QLabel(LoadStr(kInstrumentLabel), box_);
    thruLabel->setObjectName(QStringLiteral("Lab_InstrValg"));
    auto* earLabel = new QLabel(LoadStr(kYourInstrumentLabel), box_);
    earLabel->setObjectName(QStringLiteral("Lab_InstrValg2"));
    btnThruSound_ = new QPushButton(box_);
    btnThruSound_->setObjectName(QStringLiteral("BtnThruSound"));
    ApplyHintId(btnThruSound_, kThruSoundHint);
    btnEarSound_ = new QPushButton(box_);
    btnEarSound_->setObjectName(QStringLiteral("BtnEarSound"));
    ApplyHintId(btnEarSound_, kEarSoundHint);

    auto* grid = new QGridLayout(box_);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(labVolValg_, 0, 0);
    grid->addWidget(volValg_, 0, 1);
    grid->addWidget(labVolWave_, 1, 0);
    grid->addWidget(volWave_, 1, 1);
    grid->addWidget(labAnslagValg_, 2, 0);
    grid->addWidget(anslagValg_, 2, 1);
    grid->addWidget(thruLabel, 3, 0);
    grid->addWidget(btnEarSound_, 3, 1);
    grid->addWidget(earLabel, 4, 0);
    grid->addWidget(btnThruSound_, 4, 1);

    buildInstrumentMenu();
    connect(volValg_, &QSlider::valueChanged, this, &SoundControls::Scr_VolValgChange);
    connect(volWave_, &QSlider::valueChanged, this, &SoundControls::Scr_VolWaveChange);
    connect(anslagValg_, &QSlider::valueChanged, this, &SoundControls::Scr_AnslagValgChange);
    connect(btnThruSound_, &QPushButton::clicked, this, &SoundControls::BtnThruSoundClick);
    connect(btnEarSound_, &QPushButton::clicked, this, &SoundControls::BtnEarSoundClick);
}

void SoundControls::buildInstrumentMenu() {
    popupInstrument_ = new QMenu(box_);
    popupInstrument_->setObjectName(QStringLiteral("PopupInstrument"));
    for (std::size_t g = 0; g < InstrumentFamilies.size(); ++g) {
        QMenu* family = popupInstrument_->addMenu(QString::fromUtf8(
            InstrumentFamilies[g].data(), static_cast<qsizetype>(InstrumentFamilies[g].size())));
        for (int p = static_cast<int>(8 * g); p < static_cast<int>(8 * g + 8); ++p) {
            QAction* item = family->addAction(InstrumentCaption(p, true));
            item->setData(p);
            connect(item, &QAction::triggered, this, [this, p] { Paino1Click(p); });
        }
    }
}

QString SoundControls::InstrumentCaption(int program, bool generalMidi) {
    if (!generalMidi || program < 0 || program >= static_cast<int>(InstrumentNames.size()))
        return QString::number(program);
    const std::string_view name = InstrumentNames[static_cast<std::size_t>(program)];
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

void SoundControls::Scr_VolValgChange(int position) {
    settings_.ExerciseOptions.MidiVolume = static_cast<std::uint8_t>(position);
    if (SoundOutput* out = output_())
        out->SetMidiVolume(static_cast<std::uint8_t>(position));
    labVolValg_->setText(sliderText(kVolumeCaption, position));
    emit touched();
}

void SoundControls::Scr_VolWaveChange(int position) {
    settings_.ExerciseOptions.WaveVolume = static_cast<std::uint8_t>(position);
    if (SoundOutput* out = output_())
        out->SetWaveVolume(static_cast<std::uint8_t>(position));
    labVolWave_->setText(sliderText(kWaveCaption, position));
    emit touched();
}

void SoundControls::Scr_AnslagValgChange(int position) {
    settings_.ExerciseOptions.Velocity = static_cast<std::uint8_t>(position);
    labAnslagValg_->setText(sliderText(kVelocityCaption, position));
    emit touched();
}

void SoundControls::BtnThruSoundClick() {
    popupOwner_ = 0;
    emit touched();
    popupInstrument_->popup(btnThruSound_->mapToGlobal(QPoint(0, btnThruSound_->height())));
}

void SoundControls::BtnEarSoundClick() {
    popupOwner_ = 1;
    emit touched();
    popupInstrument_->popup(btnEarSound_->mapToGlobal(QPoint(0, btnEarSound_->height())));
}

void SoundControls::Paino1Click(int program) {
    const auto p = static_cast<std::uint8_t>(program);
    SoundOutput* out = output_();
    if (popupOwner_ == 1) {
        settings_.ExerciseOptions.OutInstrument = p;
        if (out)
            out->ProgramChange(settings_.MidiOutDevice, settings_.OutChannel, p);
    } else {
        settings_.ExerciseOptions.ThruInstrument = p;
        if (out)
            out->ProgramChange(settings_.MidiThruDevice, settings_.ThruChannel, p);
    }
    popupOwner_ = 0;
    showInstrumentCaptions();
}

void SoundControls::showInstrumentCaptions() {
    btnEarSound_->setText(
        InstrumentCaption(settings_.ExerciseOptions.OutInstrument, settings_.OutIsGM != 0));
    btnThruSound_->setText(
        InstrumentCaption(settings_.ExerciseOptions.ThruInstrument, settings_.ThruIsGM != 0));
}

void SoundControls::ApplyLoadedSettings() {
    const ExerciseOptionsRecord& e = settings_.ExerciseOptions;
    const int midi = e.MidiVolume;
    const int wave = e.WaveVolume;
    const int velocity = e.Velocity;
    volValg_->setValue(midi);
    volWave_->setValue(wave);
    anslagValg_->setValue(velocity);
    // The handlers run even when a slider already stood at its value.
    Scr_VolValgChange(midi);
    Scr_VolWaveChange(wave);
    Scr_AnslagValgChange(velocity);
    showInstrumentCaptions();
}

} // namespace harmik
