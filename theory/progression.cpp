#include "theory/progression.h"

#include <algorithm>

#include "theory/cadence.h"
#include "theory/exercise_points.h"
#include "theory/keys.h"
#include "theory/note_names.h"

namespace harmik {

namespace {

bool isHarmonic(const GeneratorOptions& options) {
    return options.PlayMode == PlayHarmonic;
}

int progressionPoints(int item, const GeneratorOptions& options) {
    const int base = 5 * progressionRecord(item).Difficulty + 5 + (isHarmonic(options) ? 5 : 0) +
                     (options.RandomRoot ? 15 : 0);
    return itemPoints(options.SelectedCount, base, 2.0, options.ExercisesPerTask);
}

struct Sound {
    std::uint8_t Channel;
    std::uint8_t Velocity;
};

Sound soundOf(const GeneratorOptions& options) {
    return {static_cast<std::uint8_t>(std::clamp(options.OutChannel, 1, 16)),
            static_cast<std::uint8_t>(std::clamp(options.Velocity, 1, 127))};
}

bool isMidiNote(int note) {
    return note >= 0 && note <= 127;
}

void noteOn(NoteQueue& queue, int tick, int note, const Sound& sound) {
    if (isMidiNote(note))
        QueueNote(queue, tick, sound.Channel, static_cast<std::uint8_t>(note), sound.Velocity);
}

void noteOff(NoteQueue& queue, int tick, int note, const Sound& sound) {
    if (isMidiNote(note))
        QueueNote(queue, tick, sound.Channel, static_cast<std::uint8_t>(note), 0);
}

void transpose(VoicedProgression& voiced, int by) {
    for (int k = 0; k < voiced.ChordCount; ++k) {
        ProgressionChordVoices& chord = voiced.Chords[static_cast<std::size_t>(k)];
        for (int v = 0; v <= chord.VoiceCount; ++v)
            chord.Voices[static_cast<std::size_t>(v)].Note += by;
    }
}

// Queues one chord starting after tick s; returns the ticks it takes.
int queueChord(NoteQueue& queue, const ProgressionChordVoices& chord, int s, bool last,
               int playMode, const Sound& sound) {
    const int c = chord.VoiceCount;
    switch (playMode) {
    case PlayHarmonic:
        for (int j = 0; j <= c; ++j)
            noteOn(queue, s + 1, chord.note(j), sound);
        for (int j = 0; j <= c; ++j)
            noteOff(queue, last ? s + 7 : s + 6, chord.note(j), sound);
        return 6;
    case PlaySustained:
        for (int j = 0; j <= c; ++j)
            noteOn(queue, s + 2 * j + 1, chord.note(j), sound);
        for (int j = 0; j <= c; ++j)
            noteOff(queue, j == c ? s + 2 * c + 4 : s + 2 * c + 3, chord.note(j), sound);
        return 2 * c + 3;
    default: // melodic
        for (int j = 0; j <= c; ++j) {
            noteOn(queue, s + 2 * j + 1, chord.note(j), sound);
            noteOff(queue, s + 2 * j + 3, chord.note(j), sound);
        }
        return 2 * c + 3;
    }
}

std::string chordQuality(int namedType, const StringLookup& lookup) {
    if (namedType == 1)
        return "m";
    if (namedType > 1)
        return lookup(string_id::FirstChordName + namedType);
    return "";
}

bool holdsParenthesisAfterFirst(const std::string& text) {
    return text.size() > 1 && text.find('(', 1) != std::string::npos;
}

} // namespace

std::vector<std::string> progressionChordLabels(const std::string& caption) {
    std::vector<std::string> labels;
    std::size_t from = 0;
    while (true) {
        const std::size_t dash = caption.find('-', from);
        std::string piece =
            caption.substr(from, dash == std::string::npos ? std::string::npos : dash - from);
        if (from > 0 && !piece.empty())
            piece.erase(0, 1); // the blank after the dash
        if (dash != std::string::npos && !piece.empty())
            piece.pop_back(); // the blank before the dash
        labels.push_back(piece);
        if (dash == std::string::npos)
            return labels;
        from = dash + 1;
    }
}

ProgressionGenerateResult GenerateProgression(ExerciseItem& exercise,
                                              const GeneratorOptions& options, Random& random,
                                              const ItemNameList& names, int index) {
    const int item = index == kDrawNewItem ? PickTickedItem(options, exercise.itemIndex, 0,
                                                            kProgressionItemCount, random)
                                           : std::clamp(index, 0, kProgressionItemCount - 1);
    exercise.itemIndex = item;
    exercise.voicing = 0;
    exercise.root = options.RandomRoot ? kRandomRootNote : options.RootNote;
    exercise.keyTonic = exercise.root;

    ProgressionGenerateResult result;
    if (index == kDrawNewItem) {
        exercise.points = progressionPoints(item, options);
        exercise.pointStep = exercise.points / 5;
        result.Result.PointsChanged = true;
    }
    result.Result.Staff.MakeRoom = true;
    result.ChordLabels = progressionChordLabels(names.name(ModuleId::Progressions, item));
    return result;
}

ProgressionPlayback PlayProgression(NoteQueue& queue, ExerciseItem& exercise, int root, int item,
                                    bool withoutCadence, const GeneratorOptions& options,
                                    Random& random) {
    exercise.root = root;
    exercise.keyTonic = root;
    ProgressionPlayback playback;
    playback.Played = voiceProgression(item, root);

    if (!withoutCadence) {
        const ProgressionPlacement placement =
            placeProgression(playback.Played, root, options, random);
        exercise.root = placement.Root;
        exercise.clef = placement.Clef;
    }
    transpose(playback.Played, exercise.root - exercise.keyTonic);
    playback.SignatureKey = pitchClass(exercise.keyTonic);

    int s = 1;
    if (!withoutCadence) {
        const CadencePlayback cadence = PlayCadence(
            queue, kStoredPlayStyle, progressionCadenceKey(item, exercise.root, options), options);
        if (cadence.StartTick > 1)
            s = cadence.StartTick + 2;
    }
    playback.FirstChordTick = s + 1;

    const Sound sound = soundOf(options);
    const VoicedProgression& played = playback.Played;
    for (int k = 0; k < played.ChordCount; ++k)
        s += queueChord(queue, played.Chords[static_cast<std::size_t>(k)], s,
                        k == played.ChordCount - 1, options.PlayMode, sound);
    playback.TickIntervalMs = 30000 / std::max(1, options.Tempo);
    return playback;
}

std::string ProgressionChordName(int item, int chord, int key, bool germanNaming,
                                 const StringLookup& lookup) {
    const ProgressionRecord& record = progressionRecord(item);
    const ProgressionChord& entry =
        record.Chords[static_cast<std::size_t>(std::clamp(chord, 0, record.ChordCount - 1))];
    return flatNoteName(entry.RootOffset + key, germanNaming) +
           chordQuality(namedChordType(entry.ChordType), lookup);
}

std::vector<std::string> BuildProgressionHints(int key, bool germanNaming,
                                               const StringLookup& lookup) {
    std::string tail = "|";
    tail += lookup(kProgressionHintTextId);
    std::vector<std::string> hints;
    hints.reserve(kProgressionItemCount);
    for (int item = 0; item < kProgressionItemCount; ++item) {
        std::string hint;
        for (int k = 0; k < progressionRecord(item).ChordCount; ++k) {
            if (k > 0)
                hint += " - ";
            hint += ProgressionChordName(item, k, key, germanNaming, lookup);
        }
        hints.push_back(hint + tail);
    }
    return hints;
}

void keepFirstTickedProgressionGroup(GeneratorOptions& options) {
    int group = -1;
    options.SelectedCount = 0;
    for (int item = 0; item < kProgressionItemCount; ++item) {
        bool& ticked = options.AnswerChecks[static_cast<std::size_t>(item)];
        if (!ticked)
            continue;
        if (group < 0)
            group = progressionGroupOf(item);
        if (progressionGroupOf(item) != group)
            ticked = false;
        else if (options.AnswerVisible[static_cast<std::size_t>(item)])
            ++options.SelectedCount;
    }
}

int progressionLabelAdvance(const std::string& chordName, const std::string& label) {
    const int advance = std::max(11 * utf8Length(chordName), 7 * utf8Length(label)) + 10;
    return holdsParenthesisAfterFirst(chordName) ? advance - 11 : advance;
}

} // namespace harmik
