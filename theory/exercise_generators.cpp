#include "theory/exercise_generators.h"

#include <algorithm>
#include <cstdlib>

#include "theory/exercise_points.h"
#include "theory/note_names.h"
#include "theory/theory_tables.h"

namespace harmik {

namespace {

bool isTickedAndShown(const GeneratorOptions& options, int box) {
    const auto i = static_cast<std::size_t>(box);
    return options.AnswerChecks[i] && options.AnswerVisible[i];
}

// The k-th ticked and shown box (k from 1); the last ticked box when there are fewer than k,
// firstBox when there is none.
int kthTickedBox(const GeneratorOptions& options, int k, int firstBox, int boxCount) {
    int found = firstBox;
    int count = 0;
    const int end = std::min(boxCount, kAnswerBoxCount);
    for (int box = std::max(0, firstBox); box < end; ++box) {
        if (!isTickedAndShown(options, box))
            continue;
        found = box;
        if (++count == k)
            break;
    }
    return found;
}

int pickOrTake(const ExerciseItem& item, const GeneratorOptions& options, Random& random, int index,
               int firstBox, int boxCount) {
    if (index == kDrawNewItem)
        return PickTickedItem(options, item.itemIndex, firstBox, boxCount, random);
    // A given index may be any box of the module, such as an inversion row label, whose
    // record holds the chord's root position.
    return std::clamp(index, 0, boxCount - 1);
}

bool isHarmonic(const GeneratorOptions& options) {
    return options.PlayMode == PlayHarmonic;
}

// The whole octaves (at least one) by which a note `excess` semitones past a limit is moved:
// 12 + 12 x (excess div 12).
int octavesFor(int excess) {
    return 12 + 12 * (excess / 12);
}

StaffRequest staffForRoot(int rootToDraw) {
    StaffRequest staff;
    staff.ClearAccidentals = true;
    staff.MakeRoom = true;
    staff.DrawRoot = true;
    staff.RootToDraw = rootToDraw;
    return staff;
}

int signedIntervalSize(int size, const GeneratorOptions& options, Random& random) {
    if (options.Direction == DirectionDown)
        return -size;
    if (options.Direction == DirectionBoth && random.random(2) == 1)
        return -size;
    return size;
}

int intervalRoot(int s, const GeneratorOptions& options, Random& random) {
    const int lower = options.LowestNote;
    const int upper = options.HighestNote;
    int root = options.RootNote;
    if (options.RandomRoot)
        root = s >= 0 ? lower + random.random(upper - lower + 1 - s)
                      : (lower - s) + random.random(upper - lower + 1 + s);
    if (root + s > upper)
        root -= octavesFor(root + s - upper - 1);
    if (root + s < lower)
        root += octavesFor(lower - (root + s) - 1);
    if (root > 83)
        root = pitchClass(root) + 72;
    if (root < 36)
        root = pitchClass(root) + 36;
    return root;
}

int intervalPoints(int s, const GeneratorOptions& options) {
    const int d = IntervalDifficulty[static_cast<std::size_t>(std::abs(s) % 12)] +
                  std::abs(s + 1) / 12 + (s < 0 ? 1 : 0);
    const int base = 5 * d + (isHarmonic(options) ? 3 : 0) + (options.RandomRoot ? 15 : 0);
    return itemPoints(options.SelectedCount, base, 1.5, options.ExercisesPerTask);
}

void setPoints(ExerciseItem& item, int points, int stepDivisor) {
    item.points = points;
    item.pointStep = points / stepDivisor;
}

// Root placement shared by chords and inversions: keep the notes below the upper limit and
// above the lower one, then within 36..82.
int clampChordRoot(int root, int span, int lower, int upper) {
    if (root + span >= upper)
        root -= octavesFor(root + span - upper);
    if (root < lower)
        root += octavesFor(lower - root);
    if (root + span > 82)
        root -= octavesFor(root + span - 83);
    if (root < 36)
        root += octavesFor(36 - root);
    return root;
}

// The inversions measure the raises from the top note.
int clampInversionRoot(int root, int span, int lower, int upper) {
    if (root + span >= upper)
        root -= octavesFor(root + span - upper);
    if (root < lower)
        root += octavesFor(lower - root - span);
    if (root + span > 82)
        root -= octavesFor(root + span - 83);
    if (root < 36)
        root += octavesFor(36 - root - span);
    return root;
}

} // namespace

int PickTickedItem(const GeneratorOptions& options, int previous, int firstBox, int boxCount,
                   Random& random) {
    const int ticked = options.SelectedCount;
    int candidate = firstBox;
    for (int attempt = 1; attempt <= 4; ++attempt) {
        const int k = random.random(ticked) + 1;
        candidate = kthTickedBox(options, k, firstBox, boxCount);
        if (candidate != previous)
            break;
        if (ticked <= 3 && attempt > 1)
            break;
    }
    return candidate;
}

GenerateResult GenerateInterval(ExerciseItem& item, const GeneratorOptions& options, Random& random,
                                int index) {
    const int size = pickOrTake(item, options, random, index, 0, kIntervalItemCount);
    const int s = signedIntervalSize(size, options, random);
    const int root = intervalRoot(s, options, random);

    item.itemIndex = s;
    item.root = root;
    item.keyTonic = root;
    item.clef = intervalClef(std::min(root, root + s), std::max(root, root + s));

    GenerateResult result;
    if (index == kDrawNewItem) {
        setPoints(item, intervalPoints(s, options), 5);
        result.PointsChanged = true;
    }
    const bool drawNegated = s < 0 && isHarmonic(options);
    result.Staff = staffForRoot(drawNegated ? -root : root);
    return result;
}

int scaleKeyTonic(int row, int root) {
    const int r = std::clamp(row, 0, kScaleCount - 1);
    int tonic = root;
    if (r < kHarmonicMinorFirstRow)
        tonic = root - ScaleTable[kMajorModesFirstRow].Offsets[static_cast<std::size_t>(r)];
    else if (r < kMelodicMinorFirstRow)
        tonic = root -
                ScaleTable[kHarmonicMinorFirstRow]
                    .Offsets[static_cast<std::size_t>(r - kHarmonicMinorFirstRow)] -
                9;
    else if (r < kOtherScalesFirstRow)
        tonic = root -
                ScaleTable[kMelodicMinorFirstRow]
                    .Offsets[static_cast<std::size_t>(r - kMelodicMinorFirstRow)] -
                9;
    if (tonic < 36)
        tonic += 12 * (3 - tonic / 12);
    return tonic;
}

GenerateResult GenerateScale(ExerciseItem& item, const GeneratorOptions& options, Random& random,
                             int index) {
    const int row = pickOrTake(item, options, random, index, 0, kScaleCount);
    const int lower = options.LowestNote;
    const int upper = options.HighestNote;
    const int root =
        options.RandomRoot ? lower + random.random(upper - lower - 11) : options.RootNote;

    item.itemIndex = row;
    item.root = root;
    item.keyTonic = scaleKeyTonic(row, root);
    item.clef = scaleClef(root, root + 12);

    GenerateResult result;
    if (index == kDrawNewItem) {
        const int base = 5 * ScaleTable[static_cast<std::size_t>(row)].Difficulty + 5 +
                         (isHarmonic(options) ? 5 : 0) + (options.RandomRoot ? 10 : 0);
        setPoints(item, itemPoints(options.SelectedCount, base, 2.0, options.ExercisesPerTask), 5);
        result.PointsChanged = true;
    }
    result.Staff = staffForRoot(root);
    return result;
}

GenerateResult GenerateChord(ExerciseItem& item, const GeneratorOptions& options, Random& random,
                             int index) {
    const int type = pickOrTake(item, options, random, index, 0, kChordTypeCount);
    const int voicing = options.Belig ? random.random(ChordTypeIndex[type].Count) : 0;
    const ChordVoicing& chord =
        ChordVoicingTable[static_cast<std::size_t>(chordVoicingRecord(type, voicing))];
    const int span = chord.span();
    const int lower = options.LowestNote;
    const int upper = options.HighestNote;

    int root = options.RootNote;
    if (options.RandomRoot) {
        const int r = upper - lower - span;
        root = r >= 1 ? lower + random.random(r) : 40 + random.random(43 - span);
    }
    root = clampChordRoot(root, span, lower, upper);

    item.itemIndex = type;
    item.voicing = voicing;
    item.root = root;
    item.keyTonic = root;
    item.clef = scaleClef(root, root + span);

    GenerateResult result;
    if (index == kDrawNewItem) {
        const int base = 5 * chord.Difficulty + 5 + (isHarmonic(options) ? 5 : 0) + 3 * voicing +
                         (options.RandomRoot ? 15 : 0);
        setPoints(item, itemPoints(options.SelectedCount, base, 1.5, options.ExercisesPerTask), 5);
        result.PointsChanged = true;
    }
    result.Staff = staffForRoot(root);
    return result;
}

GenerateResult GenerateInversion(ExerciseItem& item, const GeneratorOptions& options,
                                 Random& random, int index) {
    const int record =
        pickOrTake(item, options, random, index, kFirstInversionItem, kInversionRecordCount);
    const InversionRecord& chord = InversionTable[static_cast<std::size_t>(record)];
    const int span = chord.span();
    const int lower = options.LowestNote;
    const int upper = options.HighestNote;

    int root = options.RandomRoot ? lower + random.random(upper - lower - span) : options.RootNote;
    root = clampInversionRoot(root, span, lower, upper);

    item.itemIndex = record;
    item.root = root;
    item.keyTonic = root;
    item.clef = scaleClef(root + chord.Offsets[0], root + span);

    GenerateResult result;
    if (index == kDrawNewItem) {
        const int base = 5 * chord.Difficulty + 5 + (isHarmonic(options) ? 3 : 0) +
                         (options.RandomRoot ? 20 : 0);
        setPoints(item, itemPoints(options.SelectedCount, base, 1.5, options.ExercisesPerTask), 8);
        result.PointsChanged = true;
    }
    result.Staff = staffForRoot(root);
    return result;
}

} // namespace harmik
