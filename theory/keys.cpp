#include "theory/keys.h"

#include <algorithm>

#include "theory/note_names.h"
#include "theory/theory_tables.h"

namespace harmik {

const std::array<int, 12> FifthsPosition = {0, -5, 2, -3, 4, -1, -6, 1, -4, 3, -2, 5};
const std::array<std::int32_t, 13> KeySignatureSteps = {21, 18, 22, 19, 23, 20, 0,
                                                        24, 21, 25, 22, 19, 23};
const char TonalityScaleRows[] = "00,05,14,07,25,26,24";

namespace {

constexpr int kAeolianRow = 5;
constexpr int kHarmonicMinorRow = 7;
constexpr int kMelodicMinorRow = 14;

constexpr int kStringMajor = 171;
constexpr int kStringMinor = 172;
constexpr int kStringFirstInterval = 360; // "Секунда" .. "Октава"
constexpr int kStringOneStep = 382;       // "%d ст."
constexpr int kStringSteps = 383;

constexpr std::array<int, 12> kFlatSidePattern = {0, 1, 1, 2, 2, 3, 4, 4, 5, 5, 6, 6};
constexpr std::array<int, 12> kSharpSidePattern = {0, 0, 1, 1, 2, 3, 3, 4, 4, 5, 5, 6};

int floorDiv(int a, int b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

int letterOfStep(int step) {
    return ((step % 7) + 7) % 7;
}

int stepFromPattern(int note, const std::array<int, 12>& pattern) {
    const int offset = note - 36;
    return 7 * floorDiv(offset, 12) + pattern[static_cast<std::size_t>(pitchClass(offset))];
}

void writeSignature(KeyState& state) {
    const int f = FifthsPosition[static_cast<std::size_t>(state.signatureKey)];
    for (auto& staff : state.staffAccidentals) {
        staff.fill(kNaturalCode);
        for (int k = 1; k <= std::abs(f); ++k) {
            if (f > 0)
                staff[static_cast<std::size_t>(KeySignatureSteps[6 + k] % 7)] = kSharpCode;
            else
                staff[static_cast<std::size_t>(KeySignatureSteps[6 - k] % 7)] = kFlatCode;
        }
    }
}

// Minor tonalities whose steps differ from the natural minor of the signature: harmonic minor
// raises its seventh, melodic minor its sixth and seventh.
void writeTonalitySteps(KeyState& state, int tonic, int tonality) {
    state.stepAccidentals.fill(kNaturalCode);
    const int row = tonalityScaleRow(tonality);
    if (row != kAeolianRow && row != kHarmonicMinorRow && row != kMelodicMinorRow)
        return;
    const int f = FifthsPosition[static_cast<std::size_t>(state.signatureKey)];
    // A key without signature (A minor) takes its tonic's step like any other: both step maps
    // agree on a white key.
    const int s = f > 0 ? sharpSideStep(tonic) : flatSideStep(tonic);
    const ScaleRecord& scale = ScaleTable[static_cast<std::size_t>(row)];
    const ScaleRecord& aeolian = ScaleTable[kAeolianRow];
    for (int k = 1; k <= scale.Count; ++k) {
        const auto pos = static_cast<std::size_t>(k - 1);
        auto& step = state.stepAccidentals[static_cast<std::size_t>(letterOfStep(s + k - 1))];
        if (scale.Offsets[pos] > aeolian.Offsets[pos])
            ++step;
        else if (scale.Offsets[pos] < aeolian.Offsets[pos])
            --step;
    }
}

} // namespace

int tonalityScaleRow(int tonality) {
    const int t = std::clamp(tonality, 0, kTonalityCount - 1);
    const char* digits = TonalityScaleRows + 3 * t;
    return (digits[0] - '0') * 10 + (digits[1] - '0');
}

bool isMinorTonality(int tonality) {
    return tonality == 1 || tonality == 2 || tonality == 3 || tonality == 5;
}

int signatureKeyOf(int tonic, int tonality) {
    return isMinorTonality(tonality) ? pitchClass(tonic + 3) : pitchClass(tonic);
}

KeyState SetupKeySignature(int tonic, int tonality) {
    KeyState state;
    state.signatureKey = signatureKeyOf(tonic, tonality);
    writeSignature(state);
    writeTonalitySteps(state, tonic, tonality);
    return state;
}

int flatSideStep(int note) {
    return stepFromPattern(note, kFlatSidePattern);
}
int sharpSideStep(int note) {
    return stepFromPattern(note, kSharpSidePattern);
}

int rootNoteFromComboIndex(int index) {
    return 60 + std::clamp(index, 0, 12);
}

int melodyTonicFromKey(int key) {
    const int tonic = 60 + pitchClass(key);
    return tonic >= 64 ? tonic - 12 : tonic;
}

MelodyKey fifthUp(MelodyKey key) {
    key.Key = pitchClass(key.Key + 7);
    key.Tonic += 7;
    if (key.Tonic >= 64)
        key.Tonic -= 12;
    return key;
}

MelodyKey fifthDown(MelodyKey key) {
    key.Key = pitchClass(key.Key + 5);
    key.Tonic -= 7;
    if (key.Tonic < 54)
        key.Tonic += 12;
    return key;
}

int previousTimeSignature(int index) {
    return index > 0 ? index - 1 : index;
}
int nextTimeSignature(int index) {
    return index < kTimeSignatureCount - 1 ? index + 1 : index;
}

std::vector<std::string> SetupComboToneart(int tonality, bool germanNaming) {
    std::vector<std::string> entries;
    for (int pc = 0; pc < 12; ++pc)
        entries.push_back(isMinorTonality(tonality) ? keyNoteName(pc, germanNaming)
                                                    : flatNoteName(pc, germanNaming));
    return entries;
}

std::string keyLabel(int tonic, int tonality, bool germanNaming, const StringLookup& lookup) {
    if (isMinorTonality(tonality))
        return keyNoteName(tonic, germanNaming) + " " + lookup(kStringMinor);
    return flatNoteName(tonic, germanNaming) + " " + lookup(kStringMajor);
}

std::vector<std::string> leapListEntries(int tonality, const StringLookup& lookup) {
    std::vector<std::string> entries;
    if (tonality == 4 || tonality == 5) {
        entries.push_back(formatNumber(lookup(kStringOneStep), 1));
        for (int steps = 2; steps <= 5; ++steps)
            entries.push_back(formatNumber(lookup(kStringSteps), steps));
        return entries;
    }
    for (int i = 0; i < 7; ++i)
        entries.push_back(lookup(kStringFirstInterval + i));
    return entries;
}

TonalitySetup tonalityChange(int tonic, int tonality, bool germanNaming,
                             const StringLookup& lookup) {
    TonalitySetup setup;
    setup.Key = SetupKeySignature(tonic, tonality);
    setup.Label = keyLabel(tonic, tonality, germanNaming, lookup);
    setup.KeyEntries = SetupComboToneart(tonality, germanNaming);
    setup.SelectedKey = pitchClass(tonic);
    setup.LeapEntries = leapListEntries(tonality, lookup);
    return setup;
}

} // namespace harmik
