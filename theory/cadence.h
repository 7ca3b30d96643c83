#pragma once
#include <array>
#include <cstdint>

#include "theory/generator_options.h"
#include "theory/note_queue.h"

// The cadence that sets the key before a melody or a progression, and the play styles that
// choose it.
namespace harmik {

// The play styles of the cadence buttons (PlayStyle of the settings).
enum PlayStyleValue : int {
    CadenceClassical = 0,      // "Классич.": I, IV, I six-four, V7, I
    CadenceJazz = 1,           // "Джаз": voiced I, VI, II, V, I
    CadenceTonicOnly = 2,      // "Осн.": the tonic in two octaves
    CadenceClassicalShort = 3, // "Клас.кратко": V7, I
    CadenceJazzShort = 4,      // "Джаз кратко": V, I
    CadenceNone = 5,           // "Нет"
};
constexpr int kPlayStyleCount = 6;
// PlayCadence with this kind uses the stored PlayStyle.
constexpr int kStoredPlayStyle = -1;
// Caption of a play-style button: strings 374..379.
constexpr int playStyleCaptionId(int style) {
    return 374 + style;
}

// The style a click on a play-style button stores: the speaker sounds one note at a time, so
// with all sound on the PC speaker every chord cadence becomes the tonic-only one.
int chosenPlayStyle(int clickedStyle, bool pcSpeakerOnly);

// One cadence chord: note count (4 or 5) and offsets above the tonic two octaves down.
struct CadenceChord {
    std::uint8_t Count;
    std::array<std::uint8_t, 5> Offsets;
};
static_assert(sizeof(CadenceChord) == 6);

constexpr int kCadenceChordCount = 5;
// Rows: 0 classical major, 1 jazz major, 2 classical minor, 3 jazz minor.
extern const std::array<std::array<CadenceChord, kCadenceChordCount>, 4> CadenceTable;

// The key a cadence establishes: major or minor, and a note of the tonic's pitch class.
struct CadenceKey {
    bool Minor = false;
    int TonicNote = 60;
};

// The melody module's key: minor for the minor-type tonalities, tonic RootNote.
CadenceKey melodyCadenceKey(int tonality, const GeneratorOptions& options);

// Whether a progression resolves to a minor tonic: its tonic chord is the last chord whose root
// offset is 0, and the cadence is minor when that chord (or the type its fixed voicing is named
// as) has a minor third. A progression without a chord on the tonic counts as major.
bool progressionCadenceIsMinor(int item);

// The progression module's key: the item's tonic harmony, tonic RootNote, or with random root
// the item's placed root.
CadenceKey progressionCadenceKey(int item, int itemRoot, const GeneratorOptions& options);

struct CadencePlayback {
    int StartTick = 1;      // the tick after which the melody or progression may start
    int TickIntervalMs = 0; // one tick per beat of the module's tempo
};

// The row of CadenceTable a chord cadence kind plays in a key: 2 for minor, 0 for major, plus
// 1 for the jazz kinds (1 and 4).
int cadenceTableRow(int kind, bool minor);

// The cadence's tonic t from the key: (TonicNote mod 12) + 60, an octave lower from 67 on for
// the classical rows (and tonic-only) and from 70 on for jazz major; jazz minor stays.
int cadenceTonic(int row, const CadenceKey& key);

// Queues cadence `kind` (0..5, or kStoredPlayStyle for options.PlayStyle) from tick 1 on
// OutChannel with Velocity. As with every player, the caller has stopped the timer and run
// StopAll. Kinds outside 0..5 play nothing.
CadencePlayback PlayCadence(NoteQueue& queue, int kind, const CadenceKey& key,
                            const GeneratorOptions& options);

} // namespace harmik
