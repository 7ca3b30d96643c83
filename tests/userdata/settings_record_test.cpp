#include "userdata/settings_record.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstring>
#include <limits>

using namespace harmik;

namespace {

QByteArray bytesOf(const SettingsRecord& s) {
    return QByteArray(reinterpret_cast<const char*>(&s), sizeof(s));
}

std::int32_t int32At(const QByteArray& b, int offset) {
    std::int32_t v = 0;
    std::memcpy(&v, b.constData() + offset, 4);
    return v;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

class SettingsFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path() const { return dir.filePath(QStringLiteral("init.hkm")); }
};

} // namespace

TEST(SettingsRecordLayout, DefaultsSitAtTheirFileOffsets) {
    const QByteArray b = bytesOf(DefaultSettings());
    ASSERT_EQ(b.size(), 966);
    EXPECT_EQ(b[0], 19);
    EXPECT_EQ(b.mid(1, 19), QByteArray("HARMIK SETUP 1.6 b1"));
    EXPECT_EQ(b.mid(20, 16), QByteArray(16, '\0'));
    EXPECT_EQ(b.mid(36, 357), QByteArray(357, '\0')); // no answer ticked
    // Melody and rhythm options.
    EXPECT_EQ(b.mid(396, 6), QByteArray("\x00\x00\x02\x05\x00\x00", 6));
    EXPECT_EQ(b.mid(432, 6), QByteArray("\x03\x01\x00\x00\x00\x60", 6));
    // Exercise options: the packed block with unaligned geometry fields.
    EXPECT_EQ(b.mid(440, 8), QByteArray("\x00\x3c\xe1\xb4\x55\x01\x04\x01", 8));
    EXPECT_EQ(int32At(b, 448), 100);
    EXPECT_EQ(int32At(b, 464), 120); // progressions
    EXPECT_EQ(int32At(b, 472), 80);  // rhythm
    EXPECT_EQ(b[477], 20);           // exercises per task
    EXPECT_EQ(b[478], 5);            // play style
    EXPECT_EQ(int32At(b, 481), 0);
    EXPECT_EQ(int32At(b, 489), 800);
    EXPECT_EQ(int32At(b, 493), 600);
    EXPECT_EQ(b[497], 1); // maximised
    EXPECT_EQ(b[520], 1);
    EXPECT_EQ(b[521], 1);
    EXPECT_EQ(int32At(b, 524), -1);
    EXPECT_EQ(b[528], 1);
    EXPECT_EQ(b[531], 1);
    EXPECT_EQ(int32At(b, 536), 1);
    EXPECT_EQ(b[540], 10);
    EXPECT_EQ(b.mid(541, 10), QByteArray("harmik.hkp"));
    EXPECT_EQ(int32At(b, 808), 44);
    EXPECT_EQ(int32At(b, 824), 0);
    EXPECT_EQ(int32At(b, 828), 83);
    EXPECT_EQ(int32At(b, 852), 0);
    EXPECT_EQ(int32At(b, 880), 2);
    EXPECT_EQ(int32At(b, 888), 10);
    EXPECT_EQ(int32At(b, 892), 39);
    EXPECT_EQ(int32At(b, 936), 71);
    EXPECT_EQ(int32At(b, 960), 99);
    EXPECT_EQ(b[964], 0);
    EXPECT_EQ(b[965], 1);
}

TEST_F(SettingsFileTest, RoundTripRestoresEveryField) {
    SettingsRecord s = DefaultSettings();
    s.CurrentModule = 6;
    s.AnswerChecks[4][50] = 1;
    s.ExerciseOptions.WinLeft = -7;
    s.ExerciseOptions.WinHeight = 655;
    s.ExerciseOptions.Tempo[6] = 240;
    s.LastProfile.setText(QStringLiteral("/home/анна/профиль.hkp"));
    s.RemoteKey3 = 84;
    ASSERT_TRUE(SaveSettingsFile(s, path(), nullptr));
    EXPECT_EQ(QFileInfo(path()).size(), 966);

    SettingsRecord back = DefaultSettings();
    EXPECT_EQ(LoadSettings(back, path()), SettingsLoadResult::Loaded);
    EXPECT_EQ(bytesOf(back), bytesOf(s));
    EXPECT_EQ(back.LastProfile.text(), QStringLiteral("/home/анна/профиль.hkp"));
}

TEST_F(SettingsFileTest, AnotherVersionTakesOnlyTheHeaderAndStartsInIntervals) {
    SettingsRecord other = DefaultSettings();
    other.CurrentModule = 5;
    other.HintDelay = 7;
    QByteArray bytes = bytesOf(other);
    bytes[19] = '2'; // "HARMIK SETUP 1.6 b2"
    writeFile(path(), bytes);

    SettingsRecord s = DefaultSettings();
    EXPECT_EQ(LoadSettings(s, path()), SettingsLoadResult::WrongHeader);
    EXPECT_EQ(s.CurrentModule, 1);
    EXPECT_EQ(int(s.HintDelay), 1);
    EXPECT_EQ(s.Header.Chars[18], '2'); // the header bytes read stay

    // The next save writes a valid file again.
    ASSERT_TRUE(SaveSettingsFile(s, path(), nullptr));
    SettingsRecord again = DefaultSettings();
    EXPECT_EQ(LoadSettings(again, path()), SettingsLoadResult::Loaded);
}

TEST_F(SettingsFileTest, ShortEmptyAndMissingFilesKeepDefaultsForWhatWasNotRead) {
    SettingsRecord written = DefaultSettings();
    written.CurrentModule = 4;
    written.MelodyOptions.NoteCount = 9;
    written.RemoteKey1 = 60;
    writeFile(path(), bytesOf(written).left(500));

    SettingsRecord s = DefaultSettings();
    EXPECT_EQ(LoadSettings(s, path()), SettingsLoadResult::Unreadable);
    EXPECT_EQ(s.MelodyOptions.NoteCount, 9); // read before the end of the file
    EXPECT_EQ(int(s.RemoteKey1), 97);        // past it: default
    EXPECT_EQ(s.CurrentModule, 1);

    writeFile(path(), QByteArray());
    SettingsRecord e = DefaultSettings();
    EXPECT_EQ(LoadSettings(e, path()), SettingsLoadResult::EmptyFile);
    EXPECT_EQ(bytesOf(e).mid(0, 438), bytesOf(DefaultSettings()).mid(0, 438));
    EXPECT_EQ(e.CurrentModule, 1);

    SettingsRecord m = DefaultSettings();
    EXPECT_EQ(LoadSettings(m, dir.filePath(QStringLiteral("none.hkm"))),
              SettingsLoadResult::Unreadable);
    EXPECT_EQ(m.CurrentModule, 1);

    writeFile(path(), QByteArray("HARM"));
    SettingsRecord tiny = DefaultSettings();
    EXPECT_EQ(LoadSettings(tiny, path()), SettingsLoadResult::Unreadable);
    EXPECT_EQ(tiny.CurrentModule, 1);
}

TEST_F(SettingsFileTest, SaveKeepsHeaderBytesPastTheTwentiethAndReportsFailures) {
    SettingsRecord s = DefaultSettings();
    s.Header.Chars[25] = 'Z';
    ASSERT_TRUE(SaveSettingsFile(s, path(), nullptr));
    QFile f(path());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll()[26], 'Z');

    QString reason;
    EXPECT_FALSE(
        SaveSettingsFile(s, dir.filePath(QStringLiteral("no/such/folder/init.hkm")), &reason));
    EXPECT_FALSE(reason.isEmpty());
}

TEST_F(SettingsFileTest, AFailedSaveLeavesTheOldFileWhole) {
    SettingsRecord s = DefaultSettings();
    s.CurrentModule = 2;
    ASSERT_TRUE(SaveSettingsFile(s, path(), nullptr));
    // A read-only folder refuses the new file; the old one must survive untouched.
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    s.CurrentModule = 3;
    QString reason;
    const bool saved = SaveSettingsFile(s, path(), &reason);
    QFile::setPermissions(dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    SettingsRecord back = DefaultSettings();
    ASSERT_EQ(LoadSettings(back, path()), SettingsLoadResult::Loaded);
    EXPECT_EQ(back.CurrentModule, saved ? 3 : 2); // root may write anyway; never half
}

namespace {

// Every field the program uses, against the range it may have.
void expectEveryValueInRange(const SettingsRecord& s) {
    auto in = [](long long v, long long low, long long high) { return v >= low && v <= high; };
    EXPECT_TRUE(in(s.CurrentModule, 1, 7));
    for (const auto& module : s.AnswerChecks) {
        for (std::uint8_t check : module)
            EXPECT_LE(check, 1);
    }
    const ExerciseOptionsRecord& e = s.ExerciseOptions;
    EXPECT_TRUE(in(e.Range, 0, 2) && in(e.RootNote, 60, 72) && in(e.Velocity, 0, 127));
    EXPECT_TRUE(in(e.OutInstrument, 0, 127) && in(e.ThruInstrument, 0, 127));
    EXPECT_TRUE(in(e.PlayMode, 0, 2) && in(e.Direction, 0, 2) && in(e.PlayStyle, 0, 5));
    EXPECT_TRUE(in(e.ExercisesPerTask, 4, 50) && in(e.FeedbackType, 0, 2) && e.Belig <= 1);
    for (int m = 0; m < 7; ++m)
        EXPECT_TRUE(in(e.Tempo[m], 10, m == 6 ? 300 : 800)) << m;
    EXPECT_TRUE(in(e.WinWidth, 1, kMaxWindowCoordinate) &&
                in(e.WinHeight, 1, kMaxWindowCoordinate));
    EXPECT_TRUE(in(e.WinLeft, -kMaxWindowCoordinate, kMaxWindowCoordinate));
    EXPECT_TRUE(in(e.WinTop, -kMaxWindowCoordinate, kMaxWindowCoordinate));
    const MelodyOptionsRecord& m = s.MelodyOptions;
    EXPECT_TRUE(in(m.Key, 0, 11) && (in(m.Tonality, 0, 6) || m.Tonality == 99));
    EXPECT_TRUE(in(m.Leap, 1, 12) && in(m.NoteCount, 1, 15));
    EXPECT_TRUE(in(s.RhythmOptions.Metre, 0, 7) && in(s.RhythmOptions.Bars, 1, 6));
    EXPECT_TRUE(in(s.RhythmOptions.RhythmMode, 0, 2) &&
                in(s.RhythmOptions.RhythmSensitivity, 89, 99));
    EXPECT_TRUE(in(s.HintDelay, 0, 10) && s.TipIndex >= -1);
    for (int m = 0; m < 6; ++m)
        EXPECT_TRUE(in(s.LowestNote[m], 36, 48) && in(s.HighestNote[m], 71, 83)) << m;
    EXPECT_TRUE(in(s.LowestNote[6], 0, 127) && in(s.HighestNote[6], 0, 127));
    EXPECT_TRUE(in(s.MidiOutDevice, 0, 16) && in(s.MidiThruDevice, 0, 16) &&
                in(s.MidiInDevice, 0, 15) && in(s.WaveOutDevice, 0, 3));
    for (int channel : {s.OutChannel, s.ThruChannel, s.ClickChannel, s.RhythmChannel,
                        s.CorrectChannel, s.WrongChannel})
        EXPECT_TRUE(in(channel, 1, 16));
    for (int drum : {s.ClickSound, s.FirstBeatSound, s.RhythmSound})
        EXPECT_TRUE(in(drum, 27, 88));
    EXPECT_TRUE(in(s.ClickVolume, 0, 97) && in(s.CorrectSound, 10, 114) &&
                in(s.WrongSound, 10, 114) && in(s.CorrectWave, 1, 10) && in(s.WrongWave, 1, 10));
    for (int v : {s.FirstBeatVolume, s.RhythmVolume, s.CorrectVolume, s.WrongVolume, s.RemoteKey1,
                  s.RemoteKey2, s.RemoteKey3})
        EXPECT_TRUE(in(v, 0, 127));
    for (std::uint8_t flag :
         {s.MidiListen, s.MidiThruOn, s.AltRhythmTiming, s.TipsAtStart, s.GermanNaming, s.Solfege,
          s.StatusBar, s.ChordTuning, s.VocalSupport, s.PcSpeakerOnly, s.NoStartMusic, s.OutIsGM,
          s.ThruIsGM, s.ShowFretboard, s.ShowPiano, e.WinMaximized})
        EXPECT_LE(flag, 1);
}

void putInt32(QByteArray& b, int offset, std::int32_t v) {
    std::memcpy(b.data() + offset, &v, 4);
}

} // namespace

TEST_F(SettingsFileTest, DamagedValuesComeIntoTheirRanges) {
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    const struct {
        const char* what;
        int offset;
        std::int32_t stored; // written as 4 bytes at offset, or 1 byte below 440 and for bytes
        int size;
        std::int32_t loaded;
    } cases[] = {
        {"window width zero", 489, 0, 4, 800},
        {"window height negative", 493, -600, 4, 600},
        {"window width huge", 489, kMax, 4, kMaxWindowCoordinate},
        {"window far left", 481, kMin, 4, -kMaxWindowCoordinate},
        {"window far down", 485, kMax, 4, kMaxWindowCoordinate},
        {"hint delay huge", 536, kMax, 4, 10},
        {"hint delay negative", 536, kMin, 4, 0},
        {"lowest note of intervals", 800, kMin, 4, 36},
        {"lowest note of chords too high", 808, 70, 4, 48},
        {"highest note of melodies", 848, kMax, 4, 83},
        {"highest note of scales too low", 832, 12, 4, 71},
        {"rhythm's highest note", 852, -5, 4, 0},
        {"output device", 860, kMin, 4, 0},
        {"input device", 864, kMax, 4, 15},
        {"thru device", 868, 99, 4, 16},
        {"tempo of rhythm", 472, 5000, 4, 300},
        {"tempo of intervals", 448, 0, 4, 10},
        {"output channel", 876, 0, 4, 1},
        {"click volume", 896, 127, 4, 97},
        {"wrong sound", 936, -1, 4, 10},
        {"right-answer wave", 944, 55, 4, 10},
        {"remote key", 960, 300, 4, 127},
        {"module", 438, 200, 1, 1},
        {"exercises per task", 477, 255, 1, 50},
        {"play style", 478, 9, 1, 5},
        {"rhythm sensitivity", 437, 3, 1, 89},
        {"melody key", 396, 12, 1, 0},
        {"tonality", 397, 7, 1, 0},
        {"tonality already on the list", 397, 99, 1, 99},
        {"leap", 398, 0, 1, 1},
        {"melody length", 399, 200, 1, 15},
        {"metre", 432, 8, 1, 3},
        {"bars", 433, 0, 1, 1},
        {"a boolean", 965, 7, 1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QByteArray bytes = bytesOf(DefaultSettings());
        if (c.size == 4)
            putInt32(bytes, c.offset, c.stored);
        else
            bytes[c.offset] = static_cast<char>(c.stored);
        writeFile(path(), bytes);
        SettingsRecord s = DefaultSettings();
        ASSERT_EQ(LoadSettings(s, path()), SettingsLoadResult::Loaded);
        const QByteArray loaded = bytesOf(s);
        EXPECT_EQ(c.size == 4 ? int32At(loaded, c.offset)
                              : static_cast<std::uint8_t>(loaded[c.offset]),
                  c.loaded);
        expectEveryValueInRange(s);
    }
}

TEST_F(SettingsFileTest, ARandomRecordAfterTheHeaderLoadsInRangeAndKeepsWhatIsNotUsed) {
    const QByteArray header = bytesOf(DefaultSettings()).left(20);
    std::uint32_t seed = 2024;
    auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
    for (int run = 0; run < 200; ++run) {
        SCOPED_TRACE(run);
        QByteArray bytes(kSettingsRecordSize, '\0');
        for (char& b : bytes)
            b = static_cast<char>(next() >> 24);
        bytes.replace(0, 20, header);
        writeFile(path(), bytes);
        SettingsRecord s = DefaultSettings();
        ASSERT_EQ(LoadSettings(s, path()), SettingsLoadResult::Loaded);
        expectEveryValueInRange(s);
        const QByteArray loaded = bytesOf(s);
        // Padding, reserved bytes and the unused header bytes stay as they were.
        for (const auto& [offset, size] : std::initializer_list<std::pair<int, int>>{{20, 16},
                                                                                     {393, 3},
                                                                                     {402, 30},
                                                                                     {439, 1},
                                                                                     {498, 22},
                                                                                     {523, 1},
                                                                                     {533, 3},
                                                                                     {798, 2},
                                                                                     {857, 3},
                                                                                     {886, 2}})
            EXPECT_EQ(loaded.mid(offset, size), bytes.mid(offset, size)) << offset;

        // What was loaded survives a save and a load unchanged.
        ASSERT_TRUE(SaveSettingsFile(s, path(), nullptr));
        SettingsRecord again = DefaultSettings();
        ASSERT_EQ(LoadSettings(again, path()), SettingsLoadResult::Loaded);
        ASSERT_EQ(bytesOf(again), loaded);
    }
}

TEST_F(SettingsFileTest, AFileThatCouldNotBeUsedIsKeptBesideTheNewOne) {
    const QString backup = path() + QStringLiteral(".bak");
    QByteArray otherVersion = bytesOf(DefaultSettings());
    otherVersion[19] = '9';
    const QByteArray cases[] = {otherVersion, otherVersion.left(700), QByteArray("HARM")};
    for (const QByteArray& unusable : cases) {
        SCOPED_TRACE(unusable.size());
        QFile::remove(backup);
        writeFile(path(), unusable);
        SettingsRecord s = DefaultSettings();
        EXPECT_NE(LoadSettings(s, path()), SettingsLoadResult::Loaded);
        ASSERT_TRUE(SaveSettingsFile(s, path(), nullptr));
        QFile kept(backup);
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_EQ(kept.readAll(), unusable);
    }
    // A good file and an empty one leave no copy.
    for (const QByteArray& usable : {bytesOf(DefaultSettings()), QByteArray()}) {
        QFile::remove(backup);
        writeFile(path(), usable);
        SettingsRecord s = DefaultSettings();
        LoadSettings(s, path());
        EXPECT_FALSE(QFile::exists(backup));
    }
}

TEST(WindowOnScreen, AStoredWindowIsFittedOntoTheAvailableArea) {
    const QRect screen(0, 0, 1280, 800);
    const QSize minimum(500, 400);
    const struct {
        QRect stored;
        QRect fitted;
    } cases[] = {
        {{100, 50, 800, 600}, {100, 50, 800, 600}},     // on screen: as it was
        {{5000, 5000, 800, 600}, {480, 200, 800, 600}}, // far off: moved in
        {{-90000, -10, 800, 600}, {0, 0, 800, 600}},    // off the left and top
        {{10, 10, 1, 1}, {10, 10, 500, 400}},           // too small: the minimum
        {{0, 0, 99999, 99999}, {0, 0, 1280, 800}},      // too large: the whole area
        {{1200, 700, 800, 600}, {480, 200, 800, 600}},  // partly off
    };
    for (const auto& c : cases) {
        const QRect fitted = FitWindowOntoScreen(c.stored, screen, minimum);
        EXPECT_EQ(fitted, c.fitted) << c.stored.x() << "," << c.stored.y();
        EXPECT_TRUE(screen.contains(fitted));
    }
    // A small screen shrinks even the minimum; the least window size holds otherwise.
    EXPECT_EQ(FitWindowOntoScreen({0, 0, 800, 600}, {0, 0, 300, 200}, minimum),
              QRect(0, 0, 300, 200));
    EXPECT_EQ(FitWindowOntoScreen({0, 0, 10, 10}, screen, {}).size(), kLeastWindowSize);
}
