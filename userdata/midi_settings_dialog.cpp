#include "userdata/midi_settings_dialog.h"

#include "theory/note_names.h"
#include "userdata/dialog_parts.h"
#include "userdata/hints.h"
#include "userdata/messages.h"
#include "userdata/settings_record.h"
#include "userdata/strings.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace harmik {
namespace {

constexpr int kCaption = 1362;
constexpr int kSoundsPage = 1363;
constexpr int kDevicePage = 1364;
constexpr int kRemotePage = 1431;
constexpr int kOutCaption = 1356;
constexpr int kInCaption = 1358;
constexpr int kThruCaption = 1360;
constexpr int kDeviceCaption = 1364;
constexpr int kDeviceHint = 1365;
constexpr int kChannelCaption = 1366;
constexpr int kOutChannelHint = 1367;
constexpr int kThruChannelHint = 1369;
constexpr int kWaveLabel = 1393;
constexpr int kSoundHint = 1440;
constexpr int kVolumeHint = 1441;
constexpr int kTestHint = 1442;
constexpr int kDrumChannelHint = 1443;
constexpr int kMapperMessage = 2006;
constexpr int kMapperHelp = 210;
constexpr int kPageHelpBase = 200;

constexpr int kSliderTestMs = 200; // a moved slider's sound
constexpr int kButtonTestMs = 300; // a test button's sound

// The page the dialog was closed on, while the program runs.
int lastPage = 0;

QLabel* caption(QWidget* parent, int id) {
    return new QLabel(LoadStr(id), parent);
}

QSpinBox* channelSpin(QWidget* parent, int hintId) {
    auto* s = new QSpinBox(parent);
    s->setRange(1, 16);
    ApplyHintId(s, hintId);
    return s;
}

QToolButton* testButton(QWidget* parent) {
    auto* b = new QToolButton(parent);
    b->setIcon(parent->style()->standardIcon(QStyle::SP_MediaPlay));
    ApplyHintId(b, kTestHint);
    return b;
}

QComboBox* deviceList(QWidget* parent, const QStringList& names) {
    auto* c = new QComboBox(parent);
    c->addItems(names);
    c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    ApplyHintId(c, kDeviceHint);
    return c;
}

QLabel* explanation(QWidget* parent, int id) {
    auto* l = caption(parent, id);
    l->setWordWrap(true);
    return l;
}

std::uint8_t flag(const QCheckBox* box) {
    return box->isChecked() ? 1 : 0;
}

} // namespace

QString RemoteKeyName(int key) {
    const std::string_view name = NoteNamesFlat[std::size_t(key % 12)];
    QString s = QString::fromUtf8(name.data(), qsizetype(name.size())) + QLatin1Char(' ');
    const int octave = key / 12 - 5;
    if (key >= 72)
        s += QLatin1Char('+') + QString::number(octave);
    else if (key < 60)
        s += QString::number(octave);
    return s;
}

TIndstillinger::TIndstillinger(SettingsRecord& settings, MidiSettingsSound sound, QWidget* parent)
    : QDialog(parent), settings_(settings), sound_(std::move(sound)) {
    setObjectName(QStringLiteral("Indstillinger"));
    setWindowTitle(LoadStr(kCaption));
    pages_ = new QTabWidget(this);
    pages_->addTab(buildDevicePage(), LoadStr(kDevicePage));
    pages_->addTab(buildSoundPage(), LoadStr(kSoundsPage));
    pages_->addTab(buildRemotePage(), LoadStr(kRemotePage));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_);
    AddOkCancel(
        this, layout, [this] { OKBtnClick(); }, true);

    fillFromSettings();
    guard_ = false;
    pages_->setCurrentIndex(lastPage);
    setProperty("HelpContext", helpContext());
    connect(pages_, &QTabWidget::currentChanged, this,
            [this] { setProperty("HelpContext", helpContext()); });
}

TIndstillinger::~TIndstillinger() {
    lastPage = pages_->currentIndex();
}

// An output's group: its device, channel, GM box and one more check box beside them.
QGroupBox* TIndstillinger::outputGroup(QWidget* page, int captionId, int channelHintId,
                                       QComboBox*& device, QSpinBox*& channel, QCheckBox*& gm,
                                       QCheckBox*& other, int otherCaptionId, int otherHintId) {
    auto* group = new QGroupBox(LoadStr(captionId), page);
    auto* grid = new QGridLayout(group);
    device = deviceList(group, sound_.outputs);
    channel = channelSpin(group, channelHintId);
    gm = MakeCheck(group, 1372, 1373);
    other = MakeCheck(group, otherCaptionId, otherHintId);
    grid->addWidget(caption(group, kDeviceCaption), 0, 0);
    grid->addWidget(device, 0, 1, 1, 3);
    grid->addWidget(caption(group, kChannelCaption), 1, 0);
    grid->addWidget(channel, 1, 1);
    grid->addWidget(gm, 1, 2);
    grid->addWidget(other, 1, 3);
    return group;
}

QWidget* TIndstillinger::buildDevicePage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);

    layout->addWidget(outputGroup(page, kOutCaption, kOutChannelHint, comboOut_, spinOut_,
                                  checkGMOut_, checkSpeaker_, 1375, 1444));

    auto* in = new QGroupBox(LoadStr(kInCaption), page);
    auto* inGrid = new QGridLayout(in);
    comboIn_ = deviceList(in, sound_.inputs);
    inGrid->addWidget(caption(in, kDeviceCaption), 0, 0);
    inGrid->addWidget(comboIn_, 0, 1, 1, 3);
    layout->addWidget(in);

    layout->addWidget(outputGroup(page, kThruCaption, kThruChannelHint, comboThru_, spinThru_,
                                  checkGMThru_, checkThru_, 1370, 1371));

    for (int id : {1400, 1401, 1402})
        layout->addWidget(explanation(page, id));
    layout->addStretch(1);

    connect(checkSpeaker_, &QCheckBox::toggled, this, [this] { CheckPCspeakerClick(); });
    connect(comboOut_, &QComboBox::activated, this,
            [this] { chooseOutput(comboOut_, comboThru_); });
    connect(comboThru_, &QComboBox::activated, this,
            [this] { chooseOutput(comboThru_, comboOut_); });
    connect(checkGMOut_, &QCheckBox::toggled, this, [this] {
        for (int i = 0; i < SoundRowCount; ++i)
            soundRowChanged(SoundRowIndex(i), false);
    });
    return page;
}

QWidget* TIndstillinger::buildSoundPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);

    // One row: caption, channel, sound, volume, test; `grid` of the row's panel.
    auto addRow = [this](QWidget* parent, QGridLayout* grid, int r, SoundRowIndex i, int captionId,
                         int lowest, int highest, int loudest) {
        SoundRow& row = rows_[std::size_t(i)];
        row.feedback = i == Correct || i == Wrong;
        grid->addWidget(caption(parent, captionId), r, 0);
        if (i != FirstBeat) {
            row.channel = channelSpin(parent, kDrumChannelHint);
            grid->addWidget(row.channel, r, 1);
        }
        row.sound = MakeSlider(parent, lowest, highest, kSoundHint);
        row.soundLabel = MakeValueLabel(parent, QStringLiteral("Long Low Whistle"));
        row.volume = MakeSlider(parent, 0, loudest, kVolumeHint);
        row.volumeLabel = MakeValueLabel(parent, QStringLiteral("127"));
        row.test = testButton(parent);
        grid->addWidget(row.sound, r, 2);
        grid->addWidget(row.soundLabel, r, 3);
        grid->addWidget(row.volume, r, 4);
        grid->addWidget(row.volumeLabel, r, 5);
        grid->addWidget(row.test, r, 6);
        connect(row.sound, &QSlider::valueChanged, this, [this, i] { soundRowChanged(i, true); });
        connect(row.volume, &QSlider::valueChanged, this, [this, i] { soundRowChanged(i, true); });
        connect(row.test, &QToolButton::clicked, this, [this, i] { playRow(i, kButtonTestMs); });
    };

    auto* clicks = new QWidget(page);
    auto* clickGrid = new QGridLayout(clicks);
    clickGrid->addWidget(caption(clicks, 1374), 0, 1);
    clickGrid->addWidget(caption(clicks, 1376), 0, 2);
    clickGrid->addWidget(caption(clicks, 1378), 0, 4);
    addRow(clicks, clickGrid, 1, Click, 1380, 27, 88, 97);
    addRow(clicks, clickGrid, 2, FirstBeat, 1384, 27, 88, 127);
    addRow(clicks, clickGrid, 3, Rhythm, 1382, 27, 88, 127);
    layout->addWidget(clicks);

    auto* respons = new QGroupBox(LoadStr(1386), page);
    ApplyHintId(respons, 1387);
    auto* responsRow = new QHBoxLayout(respons);
    radioRespons_ = new QButtonGroup(this);
    int item = 0;
    for (int id : {1388, 1390, 1392}) {
        auto* radio = new QRadioButton(LoadStr(id), respons);
        radioRespons_->addButton(radio, item++);
        responsRow->addWidget(radio);
    }
    layout->addWidget(respons);
    connect(radioRespons_, &QButtonGroup::idClicked, this, &TIndstillinger::RadioResponsClick);

    panDigi_ = new QWidget(page);
    auto* digiGrid = new QGridLayout(panDigi_);
    auto addWave = [this](QGridLayout* grid, int r, int captionId, int hintId, QSlider*& slider,
                          QLabel*& label, QToolButton*& test, bool correct) {
        grid->addWidget(caption(panDigi_, captionId), r, 0);
        slider = MakeSlider(panDigi_, 1, 10, hintId);
        label = MakeValueLabel(panDigi_, LoadStr(kWaveLabel) + QStringLiteral("10"));
        test = testButton(panDigi_);
        grid->addWidget(slider, r, 1);
        grid->addWidget(label, r, 2);
        grid->addWidget(test, r, 3);
        connect(slider, &QSlider::valueChanged, this, [this, correct] { waveChanged(correct); });
        connect(test, &QToolButton::clicked, this, [this, correct] {
            const int n = (correct ? waveCorrect_ : waveWrong_)->value();
            if (sound_.playWave)
                sound_.playWave((correct ? QStringLiteral("right") : QStringLiteral("wrong")) +
                                QString::number(n) + QStringLiteral(".wav"));
        });
    };
    addWave(digiGrid, 0, 1426, 1394, waveCorrect_, waveCorrectLabel_, waveCorrectTest_, true);
    addWave(digiGrid, 1, 1427, 1395, waveWrong_, waveWrongLabel_, waveWrongTest_, false);
    layout->addWidget(panDigi_);

    panMidi_ = new QWidget(page);
    auto* midiGrid = new QGridLayout(panMidi_);
    addRow(panMidi_, midiGrid, 0, Correct, 1426, 10, 114, 127);
    addRow(panMidi_, midiGrid, 1, Wrong, 1427, 10, 114, 127);
    layout->addWidget(panMidi_);
    layout->addStretch(1);
    return page;
}

QWidget* TIndstillinger::buildRemotePage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(caption(page, 1438));
    remoteGrid_ = new QGridLayout;
    remoteGrid_->addWidget(caption(page, 1431), 0, 1);
    remoteGrid_->addWidget(caption(page, 1430), 0, 3);
    pointer_ = new QLabel(QStringLiteral("\u25BA"), page);
    for (int i = 0; i < 3; ++i) {
        QLabel* function = caption(page, 1432 + i);
        ApplyHintId(function, 1450 + i);
        function->installEventFilter(this);
        remoteFunction_[std::size_t(i)] = function;
        QSlider* slider = MakeSlider(page, 0, 127, 1453);
        remote_[std::size_t(i)] = slider;
        remoteName_[std::size_t(i)] = MakeValueLabel(page, QStringLiteral("C# +5"));
        remoteGrid_->addWidget(function, i + 1, 1);
        remoteGrid_->addWidget(slider, i + 1, 2);
        remoteGrid_->addWidget(remoteName_[std::size_t(i)], i + 1, 3);
        connect(slider, &QSlider::valueChanged, this, [this, i] { remoteKeyChanged(i); });
    }
    remoteGrid_->addWidget(pointer_, 1, 0);
    layout->addLayout(remoteGrid_);
    layout->addStretch(1);
    return page;
}

void TIndstillinger::fillFromSettings() {
    const SettingsRecord& s = settings_;
    // A device that has gone since the settings were saved shows as the first entry.
    auto select = [](QComboBox* list, int index) {
        if (list->count() > 0)
            list->setCurrentIndex(index >= 0 && index < list->count() ? index : 0);
    };
    select(comboOut_, s.MidiOutDevice);
    select(comboThru_, s.MidiThruDevice);
    select(comboIn_, s.MidiInDevice);
    spinOut_->setValue(s.OutChannel);
    checkGMOut_->setChecked(s.OutIsGM != 0);
    checkSpeaker_->setChecked(s.PcSpeakerOnly != 0);
    CheckPCspeakerClick();
    spinThru_->setValue(s.ThruChannel);
    checkGMThru_->setChecked(s.ThruIsGM != 0);
    checkThru_->setChecked(s.MidiThruOn != 0);

    struct Fields {
        std::int32_t channel, sound, volume;
    };
    const std::array<Fields, SoundRowCount> fields{{
        {s.ClickChannel, s.ClickSound, s.ClickVolume},
        {s.ClickChannel, s.FirstBeatSound, s.FirstBeatVolume},
        {s.RhythmChannel, s.RhythmSound, s.RhythmVolume},
        {s.CorrectChannel, s.CorrectSound, s.CorrectVolume},
        {s.WrongChannel, s.WrongSound, s.WrongVolume},
    }};
    for (int i = 0; i < SoundRowCount; ++i) {
        SoundRow& row = rows_[std::size_t(i)];
        if (row.channel)
            row.channel->setValue(fields[std::size_t(i)].channel);
        row.sound->setValue(fields[std::size_t(i)].sound);
        row.volume->setValue(fields[std::size_t(i)].volume);
        soundRowChanged(SoundRowIndex(i), false);
    }
    waveCorrect_->setValue(s.CorrectWave);
    waveWrong_->setValue(s.WrongWave);
    waveChanged(true);
    waveChanged(false);
    const std::array<std::int32_t, 3> keys{s.RemoteKey1, s.RemoteKey2, s.RemoteKey3};
    for (int i = 0; i < 3; ++i) {
        remote_[std::size_t(i)]->setValue(keys[std::size_t(i)]);
        remoteKeyChanged(i);
    }
    const int feedback = std::min<int>(s.ExerciseOptions.FeedbackType, 2);
    radioRespons_->button(feedback)->setChecked(true);
    RadioResponsClick(feedback);
}

int TIndstillinger::helpContext() const {
    return kPageHelpBase + pages_->currentIndex();
}

bool TIndstillinger::remoteKeyPageShown() const {
    return pages_->currentIndex() == kRemoteKeyPage;
}

void TIndstillinger::moveFocusedRemoteKey(int note) {
    QSlider* target = remote_[0];
    for (QSlider* s : {remote_[1], remote_[2]})
        if (s->hasFocus())
            target = s;
    target->setValue(note);
}

void TIndstillinger::CheckPCspeakerClick() {
    const bool enabled = !checkSpeaker_->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{comboOut_, spinOut_, checkGMOut_, comboThru_,
                                                      spinThru_, checkGMThru_, checkThru_})
        w->setEnabled(enabled);
    for (int i = 0; i < SoundRowCount; ++i)
        soundRowChanged(SoundRowIndex(i), false);
}

// The built-in synthesizer stands where the MIDI mapper stood: it serves both outputs or
// neither.
void TIndstillinger::chooseOutput(QComboBox* chosen, QComboBox* other) {
    if (chosen->currentIndex() == 0)
        other->setCurrentIndex(0);
}

void TIndstillinger::RadioResponsClick(int item) {
    panDigi_->setVisible(item == 0);
    panMidi_->setVisible(item == 1);
}

bool TIndstillinger::isGeneralMidi() const {
    return checkGMOut_->isChecked() && !checkSpeaker_->isChecked();
}

void TIndstillinger::soundRowChanged(SoundRowIndex i, bool play) {
    SoundRow& row = rows_[std::size_t(i)];
    if (row.sound == nullptr)
        return; // still being built
    const int key = row.sound->value();
    const bool named = isGeneralMidi() && (!row.feedback || (key >= 27 && key <= 88));
    const QString drum = named && sound_.drumName ? sound_.drumName(key) : QString();
    row.soundLabel->setText(drum.isEmpty() ? QString::number(key) : drum);
    row.volumeLabel->setText(QString::number(row.volume->value()));
    if (play && !guard_)
        playRow(i, kSliderTestMs);
}

void TIndstillinger::playRow(SoundRowIndex i, int ms) {
    const SoundRow& row = rows_[std::size_t(i)];
    const QSpinBox* channel = row.channel ? row.channel : rows_[Click].channel;
    if (sound_.testNote)
        sound_.testNote(channel->value(), row.sound->value(), row.volume->value(), ms);
}

void TIndstillinger::waveChanged(bool correct) {
    QSlider* slider = correct ? waveCorrect_ : waveWrong_;
    QLabel* label = correct ? waveCorrectLabel_ : waveWrongLabel_;
    label->setText(LoadStr(kWaveLabel) + QString::number(slider->value()));
}

void TIndstillinger::remoteKeyChanged(int i) {
    remoteName_[std::size_t(i)]->setText(RemoteKeyName(remote_[std::size_t(i)]->value()));
    remoteGrid_->removeWidget(pointer_);
    remoteGrid_->addWidget(pointer_, i + 1, 0);
    pointerRow_ = i;
}

bool TIndstillinger::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        for (int i = 0; i < 3; ++i)
            if (watched == remoteFunction_[std::size_t(i)]) {
                remote_[std::size_t(i)]->setFocus(Qt::MouseFocusReason);
                return true;
            }
    }
    return QDialog::eventFilter(watched, event);
}

void TIndstillinger::OKBtnClick() {
    const bool devices = !sound_.outputs.isEmpty();
    if (devices && (comboOut_->currentIndex() == 0) != (comboThru_->currentIndex() == 0)) {
        ShowMessage(this, {MessageType::Information,
                           MessageButtons::OkHelp,
                           LoadStr(kMapperMessage),
                           kMapperHelp,
                           {}});
        return;
    }
    SettingsRecord& s = settings_;
    if (devices) {
        s.MidiOutDevice = comboOut_->currentIndex();
        s.MidiThruDevice = comboThru_->currentIndex();
    }
    if (!sound_.inputs.isEmpty())
        s.MidiInDevice = comboIn_->currentIndex();
    s.OutIsGM = flag(checkGMOut_);
    s.PcSpeakerOnly = flag(checkSpeaker_);
    s.ThruIsGM = flag(checkGMThru_);
    s.OutChannel = spinOut_->value();
    s.ThruChannel = spinThru_->value();
    s.MidiThruOn = flag(checkThru_);

    auto take = [this](SoundRowIndex i, std::int32_t* channel, std::int32_t& sound,
                       std::int32_t& volume) {
        const SoundRow& row = rows_[std::size_t(i)];
        if (channel)
            *channel = row.channel->value();
        sound = row.sound->value();
        volume = row.volume->value();
    };
    take(Click, &s.ClickChannel, s.ClickSound, s.ClickVolume);
    take(FirstBeat, nullptr, s.FirstBeatSound, s.FirstBeatVolume);
    take(Rhythm, &s.RhythmChannel, s.RhythmSound, s.RhythmVolume);
    take(Correct, &s.CorrectChannel, s.CorrectSound, s.CorrectVolume);
    take(Wrong, &s.WrongChannel, s.WrongSound, s.WrongVolume);
    s.CorrectWave = waveCorrect_->value();
    s.WrongWave = waveWrong_->value();
    s.RemoteKey1 = remote_[0]->value();
    s.RemoteKey2 = remote_[1]->value();
    s.RemoteKey3 = remote_[2]->value();
    s.ExerciseOptions.FeedbackType = std::uint8_t(std::max(0, radioRespons_->checkedId()));
    accept();
}

} // namespace harmik
