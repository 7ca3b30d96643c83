#include "theory/progression_voicing.h"

#include <algorithm>
#include <cstdlib>

#include "theory/exercise_points.h"
#include "theory/note_names.h"

namespace harmik {

namespace {

// The one progression whose three-voice chords are filled up to four voices.
constexpr int kDoubledRootItem = 21;

ProgressionChordVoices buildFixedChord(const ProgressionVoicing& voicing, int root) {
    ProgressionChordVoices chord;
    chord.Bass = root - 12 + voicing.Bass;
    chord.VoiceCount = 4;
    for (int v = 1; v <= 4; ++v)
        chord.Voices[static_cast<std::size_t>(v)].Note =
            root - 12 + voicing.Upper[static_cast<std::size_t>(v - 1)];
    return chord;
}

ProgressionChordVoices buildCatalogueChord(const ProgressionChord& entry, int root) {
    const ChordVoicing& voicing = chordVoicing(chordVoicingRecord(entry.ChordType, 0));
    ProgressionChordVoices chord;
    chord.Bass = root + entry.RootOffset;
    chord.VoiceCount = std::min<int>(voicing.Count, kProgressionVoiceSlots - 1);
    for (int v = 1; v < kProgressionVoiceSlots; ++v) {
        const int offset =
            v <= chord.VoiceCount ? voicing.Offsets[static_cast<std::size_t>(v - 1)] : 0;
        chord.Voices[static_cast<std::size_t>(v)].Note = chord.Bass + offset;
    }
    return chord;
}

ProgressionVoice& voice(ProgressionChordVoices& chord, int slot) {
    return chord.Voices[static_cast<std::size_t>(slot)];
}

// Pitch-class distance of two notes, 0..6.
int pitchClassDistance(int a, int b) {
    const int d = std::abs(pitchClass(a) - pitchClass(b));
    return d > 6 ? 12 - d : d;
}

// The step from `to`'s pitch class to `from`'s, folded to -6..6; a tritone up is taken
// downwards and a tritone down upwards.
int pitchClassStep(int from, int to) {
    int d = pitchClass(from) - pitchClass(to);
    if (d > 6)
        d -= 12;
    if (d < -6)
        d += 12;
    if (d == 6)
        return -6;
    if (d == -6)
        return 6;
    return d;
}

// Voices sharing a pitch class with a following voice take its note, lowest voice first, each
// taking the first free following voice of its pitch class. Returns which following voices
// were taken.
std::array<bool, kProgressionVoiceSlots> holdCommonTones(ProgressionChordVoices& chord,
                                                         const ProgressionChordVoices& next) {
    std::array<bool, kProgressionVoiceSlots> taken{};
    const int n = chord.VoiceCount;
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j) {
            const int target = next.note(j);
            if (taken[static_cast<std::size_t>(j)] ||
                pitchClass(target) != pitchClass(chord.note(i)))
                continue;
            voice(chord, i) = {target, true};
            taken[static_cast<std::size_t>(j)] = true;
            break;
        }
    return taken;
}

// The unplaced voice nearest in pitch class to `target` (the later one on equal distance);
// 0 when every voice is placed.
int nearestFreeVoice(const ProgressionChordVoices& chord, int target) {
    int best = 0;
    int bestDistance = 7;
    for (int i = 1; i <= chord.VoiceCount; ++i) {
        if (chord.Voices[static_cast<std::size_t>(i)].Assigned)
            continue;
        const int distance = pitchClassDistance(chord.note(i), target);
        if (distance <= bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

void leadTowards(ProgressionChordVoices& chord, const ProgressionChordVoices& next) {
    const std::array<bool, kProgressionVoiceSlots> taken = holdCommonTones(chord, next);
    for (int j = 1; j <= chord.VoiceCount; ++j) {
        if (taken[static_cast<std::size_t>(j)])
            continue;
        const int target = next.note(j);
        const int i = nearestFreeVoice(chord, target);
        if (i == 0)
            continue;
        voice(chord, i) = {target + pitchClassStep(chord.note(i), target), true};
    }
}

bool crowdsAnotherVoice(const ProgressionChordVoices& chord, int slot, int note) {
    for (int k = 1; k <= chord.VoiceCount; ++k)
        if (k != slot && std::abs(chord.note(k) - note) <= 1)
            return true;
    return false;
}

// Voices an octave or more above the root drop an octave where there is room for them.
void lowerHighVoices(ProgressionChordVoices& chord, int root) {
    for (int i = 1; i <= chord.VoiceCount; ++i) {
        const int lowered = chord.note(i) - 12;
        if (chord.note(i) >= root + 12 && !crowdsAnotherVoice(chord, i, lowered))
            voice(chord, i).Note = lowered;
    }
}

void sortVoices(ProgressionChordVoices& chord) {
    std::sort(chord.Voices.begin() + 1, chord.Voices.begin() + 1 + chord.VoiceCount,
              [](const ProgressionVoice& a, const ProgressionVoice& b) { return a.Note < b.Note; });
}

ProgressionChordVoices buildChord(int item, const ProgressionChord& entry, int root) {
    if (isFixedVoicingType(entry.ChordType))
        return buildFixedChord(fixedVoicing(entry.ChordType), root);
    ProgressionChordVoices chord = buildCatalogueChord(entry, root);
    if (item == kDoubledRootItem && chord.VoiceCount == 3) {
        chord.VoiceCount = 4;
        voice(chord, 4).Note = chord.note(1) + 12;
    }
    return chord;
}

// Slot 0 gets the bass: fixed voicings keep theirs, catalogue chords sound it an octave down.
void placeBassSlot(ProgressionChordVoices& chord, const ProgressionChord& entry) {
    voice(chord, 0).Note = isFixedVoicingType(entry.ChordType) ? chord.Bass : chord.Bass - 12;
}

void noteExtremes(VoicedProgression& voiced) {
    voiced.TopVoice = voiced.Chords[0].note(1);
    voiced.LowestBass = voiced.HighestBass = voiced.Chords[0].note(0);
    for (int k = 0; k < voiced.ChordCount; ++k) {
        const ProgressionChordVoices& chord = voiced.Chords[static_cast<std::size_t>(k)];
        for (int v = 1; v <= chord.VoiceCount; ++v)
            voiced.TopVoice = std::max(voiced.TopVoice, chord.note(v));
        voiced.LowestBass = std::min(voiced.LowestBass, chord.note(0));
        voiced.HighestBass = std::max(voiced.HighestBass, chord.note(0));
    }
}

// Whole octaves (at least one) for a note `excess` semitones past a limit.
int octavesFor(int excess) {
    return 12 + 12 * (excess / 12);
}

int randomLowestBass(int span, const GeneratorOptions& options, Random& random) {
    const int r = options.HighestNote - options.LowestNote - span - 8;
    if (r > 11)
        return options.LowestNote + 8 + random.random(r);
    return 40 + random.random(43 - span);
}

int fitLowestBass(int b, int span, int bassRise, const GeneratorOptions& options) {
    const int lower = options.LowestNote;
    const int upper = options.HighestNote;
    if (b > 53)
        b -= 12;
    if (b + span > upper - 1)
        b -= octavesFor(b + span - upper);
    if (b < lower)
        b += octavesFor(lower - b);
    if (b + span > 82)
        b -= octavesFor(b + span - 83);
    if (b + bassRise > 62)
        b -= 12;
    if (b < 36)
        b += octavesFor(36 - b);
    return b;
}

} // namespace

VoicedProgression voiceProgression(int item, int root) {
    const ProgressionRecord& record = progressionRecord(item);
    VoicedProgression voiced;
    voiced.ChordCount = record.ChordCount;
    for (int k = record.ChordCount - 1; k >= 0; --k) {
        const auto slot = static_cast<std::size_t>(k);
        ProgressionChordVoices& chord = voiced.Chords[slot];
        chord = buildChord(item, record.Chords[slot], root);
        if (record.VoiceLeading == 0)
            continue;
        const bool last = k == record.ChordCount - 1;
        if (!last)
            leadTowards(chord, voiced.Chords[slot + 1]);
        lowerHighVoices(chord, root);
        if (!last && chord.Bass > voiced.Chords[slot + 1].Bass + 7)
            chord.Bass -= 12;
        sortVoices(chord);
    }
    for (int k = 0; k < record.ChordCount; ++k)
        placeBassSlot(voiced.Chords[static_cast<std::size_t>(k)],
                      record.Chords[static_cast<std::size_t>(k)]);
    noteExtremes(voiced);
    return voiced;
}

ProgressionPlacement placeProgression(const VoicedProgression& voiced, int root,
                                      const GeneratorOptions& options, Random& random) {
    const int span = voiced.TopVoice - voiced.LowestBass;
    const int offset = root - voiced.LowestBass;
    int b = options.RandomRoot ? randomLowestBass(span, options, random) : voiced.LowestBass;
    b = fitLowestBass(b, span, voiced.HighestBass - voiced.LowestBass, options);
    return {b, b + offset, scaleClef(b, b + span)};
}

} // namespace harmik
