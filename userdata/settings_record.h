#pragma once
#include "userdata/short_string.h"

#include <QRect>
#include <QString>
#include <bit>
#include <cstddef>
#include <cstdint>

namespace harmik {

static_assert(std::endian::native == std::endian::little,
              "stored records are little-endian and written as raw bytes");

#pragma pack(push, 1)

struct MelodyOptionsRecord {
    std::uint8_t Key = 0;
    std::uint8_t Tonality = 0;
    std::uint8_t Leap = 2;
    std::uint8_t NoteCount = 5;
    std::uint8_t PrimaVista = 0;
    std::uint8_t ShowStartNote = 0;
    std::uint8_t Reserved[30] = {};
};

struct RhythmOptionsRecord {
    std::uint8_t Metre = 3;
    std::uint8_t Bars = 1;
    std::uint8_t ShortLoop = 0;
    std::uint8_t InterBar = 0;
    std::uint8_t RhythmMode = 0;
    std::uint8_t RhythmSensitivity = 96;
};

struct ExerciseOptionsRecord {
    std::uint8_t Range = 0;
    std::uint8_t RootNote = 60;
    std::uint8_t MidiVolume = 225;
    std::uint8_t WaveVolume = 180;
    std::uint8_t Velocity = 85;
    std::uint8_t OutInstrument = 1;
    std::uint8_t ThruInstrument = 4;
    std::uint8_t PlayMode = 1;
    std::int32_t Tempo[7] = {100, 100, 100, 100, 120, 100, 80}; // index module - 1
    std::uint8_t Direction = 0;
    std::uint8_t ExercisesPerTask = 20;
    std::uint8_t PlayStyle = 5;
    std::uint8_t Belig = 0;
    std::uint8_t FeedbackType = 0;
    std::int32_t WinLeft = 0;
    std::int32_t WinTop = 0;
    std::int32_t WinWidth = 800;
    std::int32_t WinHeight = 600;
    std::uint8_t WinMaximized = 1;
    std::uint8_t Reserved[22] = {};
};

// All persistent preferences, written byte for byte to init.hkm. Defaults are the member
// initialisers; every other byte is zero.
struct SettingsRecord {
    ShortString<35> Header;
    std::uint8_t AnswerChecks[7][51] = {}; // [module - 1][item]
    std::uint8_t Padding393[3] = {};
    MelodyOptionsRecord MelodyOptions;
    RhythmOptionsRecord RhythmOptions;
    std::uint8_t CurrentModule = 0;
    std::uint8_t Padding439 = 0;
    ExerciseOptionsRecord ExerciseOptions;
    std::uint8_t MidiListen = 1;
    std::uint8_t MidiThruOn = 1;
    std::uint8_t AltRhythmTiming = 0;
    std::uint8_t Padding523 = 0;
    std::int32_t TipIndex = -1;
    std::uint8_t TipsAtStart = 1;
    std::uint8_t GermanNaming = 0;
    std::uint8_t Solfege = 0;
    std::uint8_t StatusBar = 1;
    std::uint8_t ChordTuning = 0;
    std::uint8_t Padding533[3] = {};
    std::int32_t HintDelay = 1;
    ShortString<255> LastProfile;
    std::uint8_t VocalSupport = 0;
    std::uint8_t PcSpeakerOnly = 0;
    std::uint8_t Padding798[2] = {};
    std::int32_t LowestNote[7] = {36, 36, 44, 44, 48, 36, 0};
    std::int32_t HighestNote[7] = {83, 83, 83, 83, 83, 83, 0};
    std::uint8_t NoStartMusic = 0;
    std::uint8_t Padding857[3] = {};
    std::int32_t MidiOutDevice = 0;
    std::int32_t MidiInDevice = 0;
    std::int32_t MidiThruDevice = 0;
    std::int32_t WaveOutDevice = 0;
    std::int32_t OutChannel = 1;
    std::int32_t ThruChannel = 2;
    std::uint8_t OutIsGM = 1;
    std::uint8_t ThruIsGM = 1;
    std::uint8_t Padding886[2] = {};
    std::int32_t ClickChannel = 10;
    std::int32_t ClickSound = 39;
    std::int32_t ClickVolume = 80;
    std::int32_t FirstBeatSound = 37;
    std::int32_t FirstBeatVolume = 80;
    std::int32_t RhythmChannel = 10;
    std::int32_t RhythmSound = 38;
    std::int32_t RhythmVolume = 90;
    std::int32_t CorrectChannel = 10;
    std::int32_t CorrectSound = 56;
    std::int32_t CorrectVolume = 80;
    std::int32_t WrongChannel = 10;
    std::int32_t WrongSound = 71;
    std::int32_t WrongVolume = 90;
    std::int32_t CorrectWave = 1;
    std::int32_t WrongWave = 1;
    std::int32_t RemoteKey1 = 97;
    std::int32_t RemoteKey2 = 98;
    std::int32_t RemoteKey3 = 99;
    std::uint8_t ShowFretboard = 0;
    std::uint8_t ShowPiano = 1;
};

#pragma pack(pop)

static_assert(sizeof(MelodyOptionsRecord) == 36);
static_assert(sizeof(RhythmOptionsRecord) == 6);
static_assert(sizeof(ExerciseOptionsRecord) == 80);
static_assert(offsetof(ExerciseOptionsRecord, Tempo) == 8);
static_assert(offsetof(ExerciseOptionsRecord, Direction) == 36);
static_assert(offsetof(ExerciseOptionsRecord, FeedbackType) == 40);
static_assert(offsetof(ExerciseOptionsRecord, WinLeft) == 41);
static_assert(offsetof(ExerciseOptionsRecord, WinHeight) == 53);
static_assert(offsetof(ExerciseOptionsRecord, WinMaximized) == 57);
static_assert(sizeof(SettingsRecord) == 966);
static_assert(offsetof(SettingsRecord, AnswerChecks) == 36);
static_assert(offsetof(SettingsRecord, MelodyOptions) == 396);
static_assert(offsetof(SettingsRecord, RhythmOptions) == 432);
static_assert(offsetof(SettingsRecord, CurrentModule) == 438);
static_assert(offsetof(SettingsRecord, ExerciseOptions) == 440);
static_assert(offsetof(SettingsRecord, MidiListen) == 520);
static_assert(offsetof(SettingsRecord, TipIndex) == 524);
static_assert(offsetof(SettingsRecord, TipsAtStart) == 528);
static_assert(offsetof(SettingsRecord, ChordTuning) == 532);
static_assert(offsetof(SettingsRecord, HintDelay) == 536);
static_assert(offsetof(SettingsRecord, LastProfile) == 540);
static_assert(offsetof(SettingsRecord, VocalSupport) == 796);
static_assert(offsetof(SettingsRecord, LowestNote) == 800);
static_assert(offsetof(SettingsRecord, HighestNote) == 828);
static_assert(offsetof(SettingsRecord, NoStartMusic) == 856);
static_assert(offsetof(SettingsRecord, MidiOutDevice) == 860);
static_assert(offsetof(SettingsRecord, OutChannel) == 876);
static_assert(offsetof(SettingsRecord, OutIsGM) == 884);
static_assert(offsetof(SettingsRecord, ClickChannel) == 888);
static_assert(offsetof(SettingsRecord, CorrectWave) == 944);
static_assert(offsetof(SettingsRecord, RemoteKey1) == 952);
static_assert(offsetof(SettingsRecord, ShowFretboard) == 964);
static_assert(offsetof(SettingsRecord, ShowPiano) == 965);

constexpr int kSettingsRecordSize = 966;
constexpr const char* kSettingsHeaderText = "HARMIK SETUP 1.6 b1";
constexpr const char* kSettingsFileName = "init.hkm";

// A record with every default, including the header and the last profile name.
SettingsRecord DefaultSettings();

// The settings file's 20 header bytes: length byte 19 and the text.
bool HasCurrentHeader(const SettingsRecord& s);

enum class SettingsLoadResult {
    Loaded,      // a whole record with the right header was read
    WrongHeader, // another file kind or version: only the header bytes were taken
    EmptyFile,   // nothing to read
    Unreadable,  // missing, short or unreadable file: what was read stays
};

// Overlays the record with the file, byte for byte. On anything but a whole, current file the
// record keeps its defaults for what was not read and CurrentModule becomes 1. Every value then
// comes into its range (FitSettingsToRanges). A file that is there but could not be used (another
// kind or version, short, unreadable) is first copied beside itself as <name>.bak, so that the
// next save does not lose it.
SettingsLoadResult LoadSettings(SettingsRecord& s, const QString& path);

// Brings every field the program uses into its range: booleans to 0 or 1, list items outside
// their list to the default, numbers to the nearest end of their range, a window size of zero
// or less to the default size. Padding, reserved bytes and the header's unused bytes stay.
void FitSettingsToRanges(SettingsRecord& s);

// The largest window coordinate or size taken from a file.
constexpr int kMaxWindowCoordinate = 100000;

// The stored normal-state window rectangle moved and sized to lie wholly on the available
// screen area, no smaller than minimum and kLeastWindowSize (unless the screen is) nor larger
// than the area.
inline const QSize kLeastWindowSize{320, 240};
QRect FitWindowOntoScreen(const QRect& stored, const QRect& available, const QSize& minimum);

// Writes the current header into the record and the whole record to the file, atomically.
// Returns false and the system's reason when the file cannot be written.
bool SaveSettingsFile(SettingsRecord& s, const QString& path, QString* error);

} // namespace harmik
