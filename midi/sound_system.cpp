#include "midi/sound_system.h"

#include "midi/midi_errors.h"
#include "midi/system_midi.h"
#include "midi/wave_file.h"
#include "theory/clock.h"

namespace harmik {

namespace {

constexpr int kRestCheckMs = 500;
constexpr std::uint32_t kRestAfterMs = 2000;
constexpr int kForkNote = 69; // the A of 440 Hz
constexpr int kForkNoteMs = 1000;

SoundMessage NoDeviceMessage(int what) {
    return SoundMessage{false, SoundText::NoDevice, what, {}, SoundText::NoDeviceHelp};
}

// A device chosen in the settings that is not among the present ones: named by its kind and
// its number in the settings, the program goes on with it closed.
SoundMessage DeviceGoneMessage(int what, int index) {
    SoundMessage m{false, SoundText::DeviceGone, what, {}, SoundText::NoDeviceHelp};
    m.Number = index;
    return m;
}

SoundMessage DeviceError(const std::exception& e) {
    return SoundMessage{true, 0, 0, QString::fromStdString(e.what()), 0};
}

} // namespace

SoundSystem::SoundSystem(QObject* clickReportReceiver, SoundSystemOptions options)
    : Options_(std::move(options)),
      Engine_(std::make_unique<SoundEngine>(kMixRate, Options_.Audio,
                                            std::move(Options_.PreparedSynth))) {
    SoundFontPath_ = FindGeneralMidiSoundFont(Options_.SoundFontFolders);
    if (Options_.Midi) {
        Midi_ = Options_.Midi;
    } else {
        OwnMidi_ = std::make_unique<SystemMidi>(Engine_.get(), !SoundFontPath_.isEmpty());
        Midi_ = OwnMidi_.get();
    }
    MIDIUD_ = std::make_unique<TMidiOutput>(*Midi_);
    MIDITHRU_ = std::make_unique<TMidiOutput>(*Midi_);
    MIDIUD_->setBuiltInName(Options_.BuiltInSynthName);
    MIDITHRU_->setBuiltInName(Options_.BuiltInSynthName);
    MidiInput1_ = std::make_unique<TMidiInput>(*Midi_);
    Output_ = std::make_unique<SoundOutput>(*MIDIUD_, *MIDITHRU_, Engine_.get(), Settings);
    Output_->setDataFolders(Options_.DataFolders);
    Click_ = std::make_unique<ClickTrackPlayer>(clickReportReceiver);
    QObject::connect(&RestTimer_, &QTimer::timeout, [this] { CheckRest(MonotonicMs()); });
    Engine_->OnOutputWoken = [this] { watchForRest(); };
    MusicDecoded_.setSingleShot(true);
    QObject::connect(&MusicDecoded_, &QTimer::timeout, [this] { playDecodedMusic(); });
    ForkTimer_.setSingleShot(true);
    ForkTimer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ForkTimer_, &QTimer::timeout, [this] { releaseFork(); });
}

SoundSystem::~SoundSystem() {
    NoteQueue empty;
    Shutdown(empty);
}

std::vector<SoundMessage> SoundSystem::EnumerateMidiDevices() {
    std::vector<SoundMessage> messages;
    const int ports = Midi_->outputPortCount();
    OutputCount_ = std::min(ports + (Midi_->builtInSynthAvailable() ? 1 : 0), 16);
    if (OutputCount_ < 1)
        messages.push_back(NoDeviceMessage(SoundText::MidiOut));
    InputCount_ = std::min(Midi_->inputPortCount(), 16);
    if (InputCount_ < 1)
        messages.push_back(NoDeviceMessage(SoundText::MidiIn));
    if (SoundFontPath_.isEmpty())
        messages.push_back(
            SoundMessage{false, SoundText::NoSoundFont, 0, {}, SoundText::NoDeviceHelp});
    surveyAudioOutput(messages);
    // Loaded while the window comes up; the synthesizer is silent until then.
    if (!SoundFontPath_.isEmpty())
        Engine_->loadSoundFontInBackground(SoundFontPath_);
    return messages;
}

void SoundSystem::surveyAudioOutput(std::vector<SoundMessage>& messages) {
    NoWaveDevice_ = !(Options_.OpenAudio && Engine_->openAudioOutput());
    if (NoWaveDevice_) {
        messages.push_back(NoDeviceMessage(SoundText::Wave));
        return;
    }
    // There is an output. The start music comes next and plays on it, which then rests like
    // after any sound; without the music it rests until something is to be heard.
    if (Settings.NoStartMusic)
        Engine_->restIfIdle(MonotonicMs(), 0);
    else
        watchForRest();
}

void SoundSystem::watchForRest() {
    if (!ShutDown_ && !RestTimer_.isActive())
        RestTimer_.start(kRestCheckMs);
}

void SoundSystem::CheckRest(std::uint32_t nowMs) {
    Engine_->restIfIdle(nowMs, kRestAfterMs);
    if (!Engine_->outputOpen())
        RestTimer_.stop(); // nothing wakes the program until the next sound opens it again
}

void SoundSystem::KillClickTrack() {
    Click_->Kill();
    Engine_->keepAwake(false);
}

QStringList SoundSystem::MidiOutList() const {
    QStringList names;
    if (OutputCount_ < 1)
        return names;
    names << Options_.BuiltInSynthName;
    for (int id = 0; id < Midi_->outputPortCount() && names.size() <= 16; ++id)
        names << QString::fromStdString(Midi_->outputName(id));
    return names;
}

QStringList SoundSystem::MidiInList() const {
    QStringList names;
    for (int id = 0; id < InputCount_; ++id)
        names << QString::fromStdString(Midi_->inputName(id));
    return names;
}

void SoundSystem::openOutput(TMidiOutput& out, int index, std::vector<SoundMessage>& messages) {
    if (OutputCount_ < 1)
        return; // already reported as a missing device
    if (index < 0 || index > Midi_->outputPortCount()) {
        messages.push_back(DeviceGoneMessage(SoundText::MidiOut, index));
        return;
    }
    try {
        out.setDeviceID(index - 1);
        out.Open();
    } catch (const EmidioutputError& e) {
        messages.push_back(DeviceError(e)); // the program goes on with the device closed
    }
}

void SoundSystem::OpenMidiOut(int index, std::vector<SoundMessage>& messages) {
    openOutput(*MIDIUD_, index, messages);
}

void SoundSystem::OpenMidiThru(int index, std::vector<SoundMessage>& messages) {
    openOutput(*MIDITHRU_, index, messages);
}

void SoundSystem::OpenMidiIn(int index, std::vector<SoundMessage>& messages) {
    if (InputCount_ < 1)
        return;
    if (index < 0 || index >= InputCount_) {
        messages.push_back(DeviceGoneMessage(SoundText::MidiIn, index));
        return;
    }
    try {
        MidiInput1_->setDeviceID(index);
        MidiInput1_->Open();
        StartMidiIn();
    } catch (const EMidiInputError& e) {
        messages.push_back(DeviceError(e));
    }
}

void SoundSystem::StartMidiIn() {
    MidiInput1_->Start();
}

void SoundSystem::CloseMidiIn() {
    MidiInput1_->Stop();
    MidiInput1_->Close();
}

void SoundSystem::CloseMidiOut() {
    MIDIUD_->Close();
}

void SoundSystem::CloseMidiThru() {
    MIDITHRU_->Close();
}

std::vector<SoundMessage> SoundSystem::OpenDevices() {
    std::vector<SoundMessage> messages;
    OpenMidiOut(Settings.MidiOutDevice, messages);
    OpenMidiIn(Settings.MidiInDevice, messages);
    if (Settings.MidiThruDevice != Settings.MidiOutDevice)
        OpenMidiThru(Settings.MidiThruDevice, messages);
    return messages;
}

void SoundSystem::closeOutputs() {
    KillClickTrack(); // it sends straight to the exercise output
    CloseMidiOut();
    CloseMidiThru();
}

std::vector<SoundMessage> SoundSystem::ReopenDevices() {
    std::vector<SoundMessage> messages;
    closeOutputs();
    OpenMidiOut(Settings.MidiOutDevice, messages);
    if (Settings.MidiThruDevice != Settings.MidiOutDevice)
        OpenMidiThru(Settings.MidiThruDevice, messages);
    CloseMidiIn();
    OpenMidiIn(Settings.MidiInDevice, messages);
    return messages;
}

void SoundSystem::ApplyLoadedSettings() {
    Output_->ProgramChange(Settings.MidiOutDevice, Settings.OutChannel, Settings.OutInstrument);
    Output_->ProgramChange(Settings.MidiThruDevice, Settings.ThruChannel, Settings.ThruInstrument);
    Output_->SetMidiVolume(Settings.MidiVolume);
    Output_->SetWaveVolume(Settings.WaveVolume);
}

bool SoundSystem::StartClickTrack(ClickTrack& track) {
    MidiOutBackend* out = MIDIUD_->backend();
    if (!out)
        return false;
    Engine_->keepAwake(true); // the click-track thread cannot wake the output itself
    if (Click_->Start(track, *out))
        return true;
    Engine_->keepAwake(false);
    return false;
}

void SoundSystem::ShutUpClick(NoteQueue& queue) {
    Output_->StopAll(queue);
    KillClickTrack();
    if (OutputCount_ > 0) {
        MIDIUD_->Reset();
        if (Settings.MidiThruOn && Settings.MidiOutDevice != Settings.MidiThruDevice)
            MIDITHRU_->Reset();
    }
    Engine_->stopWaves();
    Engine_->speakerOff();
}

void SoundSystem::PlayStartMusic() {
    // Without an audio output nobody would hear it, and the decoded sound would stay in its
    // voice for the whole run.
    if (Settings.NoStartMusic || NoWaveDevice_)
        return;
    const QString path = FindDataFile(Options_.DataFolders, QStringLiteral("SPLASH.WAV"));
    if (path.isEmpty())
        return;
    // Decoded on a thread of its own while the window comes up; it starts when the main thread
    // next handles its events. The thread only writes DecodedMusic_, which the main thread
    // reads after joining it; the wake-up goes through the timer's slot.
    if (MusicDecoder_.joinable())
        MusicDecoder_.join();
    MusicDecoder_ = std::thread([this, path, rate = Engine_->sampleRate()] {
        if (LoadWaveFile(path, rate, DecodedMusic_))
            QMetaObject::invokeMethod(&MusicDecoded_, "start", Qt::QueuedConnection);
    });
}

void SoundSystem::playDecodedMusic() {
    if (MusicDecoder_.joinable())
        MusicDecoder_.join();
    if (!ShutDown_)
        Engine_->playWave(std::move(DecodedMusic_));
}

int SoundSystem::PlayTuningFork() {
    WaveSound fork;
    const QString path = FindDataFile(Options_.DataFolders, QStringLiteral("stemgafl.wav"));
    if (!NoWaveDevice_ && !path.isEmpty() && LoadWaveFile(path, Engine_->sampleRate(), fork)) {
        const auto ms = static_cast<int>(fork.frameCount() * 1000 / Engine_->sampleRate());
        Engine_->playWave(std::move(fork));
        return ms;
    }
    if (ForkTimer_.isActive())
        releaseFork();
    ForkDevice_ = Settings.MidiOutDevice;
    ForkChannel_ = Settings.OutChannel;
    Output_->NoteOn(ForkDevice_, ForkChannel_, kForkNote, Settings.Velocity);
    ForkTimer_.start(kForkNoteMs);
    return kForkNoteMs;
}

void SoundSystem::releaseFork() {
    ForkTimer_.stop();
    Output_->NoteOff(ForkDevice_, ForkChannel_, kForkNote);
}

void SoundSystem::Shutdown(NoteQueue& queue) {
    if (ShutDown_)
        return;
    ShutDown_ = true;
    if (MusicDecoder_.joinable())
        MusicDecoder_.join(); // the music it may have handed over is not played
    MusicDecoded_.stop();
    RestTimer_.stop();
    if (ForkTimer_.isActive())
        releaseFork();
    Output_->StopAll(queue);
    KillClickTrack();
    CloseMidiOut();
    CloseMidiIn();
    CloseMidiThru();
    Engine_->closeAudioOutput();
    Engine_->waitForSoundFont();
}

} // namespace harmik
