#include "userdata/settings_record.h"

#include "theory/keys.h"
#include "theory/rhythm_types.h"
#include "userdata/file_io.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstring>
#include <limits>

namespace harmik {
namespace {

constexpr int kHeaderBytes = 36;

ShortString<35> currentHeader() {
    ShortString<35> h;
    h.setText(QString::fromLatin1(kSettingsHeaderText));
    return h;
}

char* recordBytes(SettingsRecord& s) {
    return reinterpret_cast<char*>(&s);
}

// Reads up to n bytes into dst; returns how many were read.
qint64 readInto(QFile& file, char* dst, qint64 n) {
    qint64 total = 0;
    while (total < n) {
        const qint64 got = file.read(dst + total, n - total);
        if (got <= 0)
            break;
        total += got;
    }
    return total;
}

// The melody options' lists: twelve keys, a leap list of at most twelve entries, 1 to 15 notes.
// A tonality of 99 says the stored one was already put on the list.
constexpr int kKeysInList = 12;
constexpr int kMostLeapItems = 12;
constexpr int kMostMelodyNotes = 15;
constexpr std::uint8_t kTonalityNotChosen = 99;

// Fields of the packed record may lie at any address: they are read and written by value only.
template <typename T> T clamped(T value, int low, int high) {
    return static_cast<T>(std::clamp(static_cast<int>(value), low, high));
}

// An item index outside its list goes back to its default.
template <typename T> T itemOr(T value, int count, T fallback) {
    return static_cast<int>(value) >= 0 && static_cast<int>(value) < count ? value : fallback;
}

void boolean(std::uint8_t& field) {
    field = field != 0 ? 1 : 0;
}

// Keeps a copy of a settings file that could not be used, before the next save replaces it.
void keepUnusableFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = file.readAll();
    if (!bytes.isEmpty())
        WriteFileWhole(path + QStringLiteral(".bak"), bytes, nullptr);
}

} // namespace

SettingsRecord DefaultSettings() {
    SettingsRecord s;
    s.Header = currentHeader();
    s.LastProfile.setText(QStringLiteral("harmik.hkp"));
    return s;
}

bool HasCurrentHeader(const SettingsRecord& s) {
    const ShortString<35> expected = currentHeader();
    return std::memcmp(&s.Header, &expected, 1 + expected.Length) == 0;
}

SettingsLoadResult LoadSettings(SettingsRecord& s, const QString& path) {
    SettingsLoadResult result = SettingsLoadResult::Loaded;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result = SettingsLoadResult::Unreadable;
    } else if (file.size() == 0) {
        result = SettingsLoadResult::EmptyFile;
    } else if (readInto(file, recordBytes(s), kHeaderBytes) < kHeaderBytes) {
        result = SettingsLoadResult::Unreadable;
    } else if (!HasCurrentHeader(s)) {
        result = SettingsLoadResult::WrongHeader;
    } else {
        file.seek(0);
        if (readInto(file, recordBytes(s), kSettingsRecordSize) < kSettingsRecordSize)
            result = SettingsLoadResult::Unreadable;
    }
    file.close();
    if (result != SettingsLoadResult::Loaded)
        s.CurrentModule = 1;
    if ((result == SettingsLoadResult::WrongHeader || result == SettingsLoadResult::Unreadable) &&
        QFileInfo(path).size() > 0)
        keepUnusableFile(path);
    FitSettingsToRanges(s);
    return result;
}

void FitSettingsToRanges(SettingsRecord& s) {
    const SettingsRecord d = DefaultSettings();
    s.CurrentModule = clamped(itemOr(s.CurrentModule, 8, d.CurrentModule), 1, 7);
    for (auto& module : s.AnswerChecks) {
        for (std::uint8_t& check : module)
            boolean(check);
    }
    MelodyOptionsRecord& m = s.MelodyOptions;
    m.Key = itemOr(m.Key, kKeysInList, d.MelodyOptions.Key);
    if (m.Tonality != kTonalityNotChosen)
        m.Tonality = itemOr(m.Tonality, kTonalityCount, d.MelodyOptions.Tonality);
    m.Leap = clamped(m.Leap, 1, kMostLeapItems);
    m.NoteCount = clamped(m.NoteCount, 1, kMostMelodyNotes);
    boolean(m.PrimaVista);
    boolean(m.ShowStartNote);

    RhythmOptionsRecord& r = s.RhythmOptions;
    r.Metre = itemOr(r.Metre, kMetreCount, d.RhythmOptions.Metre);
    r.Bars = clamped(r.Bars, kMinBars, kMaxBars);
    boolean(r.ShortLoop);
    boolean(r.InterBar);
    r.RhythmMode = itemOr(r.RhythmMode, 3, d.RhythmOptions.RhythmMode);
    r.RhythmSensitivity = clamped(r.RhythmSensitivity, 89, 99);

    ExerciseOptionsRecord& e = s.ExerciseOptions;
    const ExerciseOptionsRecord& de = d.ExerciseOptions;
    e.Range = itemOr(e.Range, 3, de.Range);
    e.RootNote = clamped(e.RootNote, 60, 72);
    e.Velocity = clamped(e.Velocity, 0, 127);
    e.OutInstrument = clamped(e.OutInstrument, 0, 127);
    e.ThruInstrument = clamped(e.ThruInstrument, 0, 127);
    e.PlayMode = itemOr(e.PlayMode, 3, de.PlayMode);
    for (int m = 0; m < 7; ++m)
        e.Tempo[m] = clamped(e.Tempo[m], 10, m == 6 ? 300 : 800);
    e.Direction = itemOr(e.Direction, 3, de.Direction);
    e.ExercisesPerTask = clamped(e.ExercisesPerTask, 4, 50);
    e.PlayStyle = itemOr(e.PlayStyle, 6, de.PlayStyle);
    boolean(e.Belig);
    e.FeedbackType = itemOr(e.FeedbackType, 3, de.FeedbackType);
    // The window is fitted onto the screen when it is shown; here the numbers only become
    // ones that can be added and drawn without overflowing.
    e.WinLeft = clamped(e.WinLeft, -kMaxWindowCoordinate, kMaxWindowCoordinate);
    e.WinTop = clamped(e.WinTop, -kMaxWindowCoordinate, kMaxWindowCoordinate);
    if (e.WinWidth <= 0 || e.WinHeight <= 0) {
        e.WinWidth = de.WinWidth;
        e.WinHeight = de.WinHeight;
    }
    e.WinWidth = clamped(e.WinWidth, 1, kMaxWindowCoordinate);
    e.WinHeight = clamped(e.WinHeight, 1, kMaxWindowCoordinate);
    boolean(e.WinMaximized);

    for (std::uint8_t* flag :
         {&s.MidiListen, &s.MidiThruOn, &s.AltRhythmTiming, &s.TipsAtStart, &s.GermanNaming,
          &s.Solfege, &s.StatusBar, &s.ChordTuning, &s.VocalSupport, &s.PcSpeakerOnly,
          &s.NoStartMusic, &s.OutIsGM, &s.ThruIsGM, &s.ShowFretboard, &s.ShowPiano})
        boolean(*flag);
    s.TipIndex = clamped(s.TipIndex, -1, std::numeric_limits<std::int32_t>::max() - 1);
    s.HintDelay = clamped(s.HintDelay, 0, 10);

    // Ranges are set on the on-screen piano (36..83): the lowest note no higher than 48, the
    // highest no lower than 71. The rhythm module keeps any MIDI note.
    for (int m = 0; m < 6; ++m) {
        s.LowestNote[m] = clamped(s.LowestNote[m], 36, 48);
        s.HighestNote[m] = clamped(s.HighestNote[m], 71, 83);
    }
    s.LowestNote[6] = clamped(s.LowestNote[6], 0, 127);
    s.HighestNote[6] = clamped(s.HighestNote[6], 0, 127);

    // Device numbers are checked against the devices present when they are opened; here they
    // only come into the lists' largest sizes (the MIDI mapper and 16 outputs, 16 inputs, the
    // first four wave outputs).
    s.MidiOutDevice = clamped(s.MidiOutDevice, 0, 16);
    s.MidiThruDevice = clamped(s.MidiThruDevice, 0, 16);
    s.MidiInDevice = clamped(s.MidiInDevice, 0, 15);
    s.WaveOutDevice = clamped(s.WaveOutDevice, 0, 3);

    s.OutChannel = clamped(s.OutChannel, 1, 16);
    s.ThruChannel = clamped(s.ThruChannel, 1, 16);
    s.ClickChannel = clamped(s.ClickChannel, 1, 16);
    s.RhythmChannel = clamped(s.RhythmChannel, 1, 16);
    s.CorrectChannel = clamped(s.CorrectChannel, 1, 16);
    s.WrongChannel = clamped(s.WrongChannel, 1, 16);
    s.ClickSound = clamped(s.ClickSound, 27, 88);
    s.FirstBeatSound = clamped(s.FirstBeatSound, 27, 88);
    s.RhythmSound = clamped(s.RhythmSound, 27, 88);
    s.ClickVolume = clamped(s.ClickVolume, 0, 97);
    s.FirstBeatVolume = clamped(s.FirstBeatVolume, 0, 127);
    s.RhythmVolume = clamped(s.RhythmVolume, 0, 127);
    s.CorrectVolume = clamped(s.CorrectVolume, 0, 127);
    s.WrongVolume = clamped(s.WrongVolume, 0, 127);
    s.CorrectSound = clamped(s.CorrectSound, 10, 114);
    s.WrongSound = clamped(s.WrongSound, 10, 114);
    s.CorrectWave = clamped(s.CorrectWave, 1, 10);
    s.WrongWave = clamped(s.WrongWave, 1, 10);
    s.RemoteKey1 = clamped(s.RemoteKey1, 0, 127);
    s.RemoteKey2 = clamped(s.RemoteKey2, 0, 127);
    s.RemoteKey3 = clamped(s.RemoteKey3, 0, 127);
}

QRect FitWindowOntoScreen(const QRect& stored, const QRect& available, const QSize& minimum) {
    if (!available.isValid())
        return stored;
    const QSize least = minimum.expandedTo(kLeastWindowSize).boundedTo(available.size());
    const QSize size = stored.size().expandedTo(least).boundedTo(available.size());
    const int left =
        std::clamp(stored.left(), available.left(), available.right() - size.width() + 1);
    const int top =
        std::clamp(stored.top(), available.top(), available.bottom() - size.height() + 1);
    return {QPoint(left, top), size};
}

bool SaveSettingsFile(SettingsRecord& s, const QString& path, QString* error) {
    // Only the header's first 20 bytes are written over; the rest stays as it was.
    const ShortString<35> header = currentHeader();
    s.Header.Length = header.Length;
    std::copy_n(header.Chars.begin(), header.Length, s.Header.Chars.begin());
    const QByteArray bytes(reinterpret_cast<const char*>(&s), kSettingsRecordSize);
    return WriteFileWhole(path, bytes, error);
}

} // namespace harmik
