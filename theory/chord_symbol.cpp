#include "theory/chord_symbol.h"

#include "theory/note_names.h"

namespace harmik {

namespace {

// What the held notes above the bass contribute, by pitch class relative to the bass.
struct HeldChord {
    int Bass = -1;
    int SecondLowest = -1;
    int HeldCount = 0;
    int ClassCount = 0;
    std::array<bool, 12> Present{}; // classes 1..11 above the bass
};

HeldChord collectHeldChord(const NoteHeldFlags& held) {
    HeldChord chord;
    for (int note = 1; note < 128; ++note) {
        if (!held[static_cast<std::size_t>(note)])
            continue;
        ++chord.HeldCount;
        if (chord.Bass < 0) {
            chord.Bass = note;
            chord.ClassCount = 1;
            continue;
        }
        if (chord.SecondLowest < 0)
            chord.SecondLowest = note;
        const int cls = (note - chord.Bass) % 12;
        if (cls != 0 && !chord.Present[static_cast<std::size_t>(cls)]) {
            chord.Present[static_cast<std::size_t>(cls)] = true;
            ++chord.ClassCount;
        }
    }
    return chord;
}

std::string bassName(const HeldChord& chord, bool germanNaming) {
    const std::string flat = flatNoteName(chord.Bass, germanNaming);
    const std::string sharp = sharpNoteName(chord.Bass, germanNaming);
    if (chord.ClassCount < 3 && flat != sharp)
        return flat + "/" + sharp;
    return flat;
}

std::string intervalSuffix(const HeldChord& chord, const ItemNameList& names) {
    const int d = chord.SecondLowest - chord.Bass;
    std::string text;
    if (d % 12 != 0)
        text += " +" + names.intervalName(d % 12);
    const int octaves = d / 12;
    if (octaves == 1)
        text += " (+1 " + names.RangeWord + ")";
    else if (octaves > 1)
        text += " (+" + std::to_string(octaves) + " " + names.OctavesWord + ")";
    return text;
}

// The symbols decided by the pitch classes alone; "" when none applies.
std::string fixedSymbol(const HeldChord& chord) {
    const auto& p = chord.Present;
    if (chord.ClassCount == 3) {
        if (p[3] && p[6])
            return "dim";
        if (p[4] && p[8])
            return "aug";
        if (p[2] && p[7])
            return "sus2";
        if (p[5] && p[7])
            return "sus4";
    }
    if (chord.ClassCount == 4 && p[3] && p[6] && p[9])
        return "dim7";
    return "";
}

std::string qualityAndExtension(const HeldChord& chord) {
    const auto& p = chord.Present;
    std::string text;
    if (p[3] && !p[4])
        text += "m";
    if (p[5] && !p[3] && !p[4])
        text += "sus";
    if (p[11])
        text += "maj";

    const bool seventh = (p[11] && !p[9] && !p[2]) || (p[10] && !p[9] && !p[2] && !p[11]);
    const bool sixth = p[9] && !p[10] && !p[11] && !p[8] && !p[2];
    const bool sixNine = p[9] && p[2] && !p[10] && !p[11];
    const bool ninth = p[2] && (p[10] || p[11]);
    const bool addNine = p[2] && !p[10] && !p[11] && !p[5] && !p[9];
    const bool eleventh = p[5] && (p[3] || p[4]);
    const bool thirteenth = p[9] && (p[10] || p[11]);

    if (sixth && !sixNine)
        text += "6";
    if (sixNine)
        text += "6/9";
    if (seventh && !ninth && !eleventh && !thirteenth)
        text += "7";
    if (addNine)
        text += "add9";
    if (ninth && !eleventh && !thirteenth)
        text += "9";
    if (eleventh && !thirteenth)
        text += "11";
    if (thirteenth)
        text += "13";
    return text;
}

std::string alterations(const HeldChord& chord) {
    const auto& p = chord.Present;
    std::string text;
    if (p[6] && !p[7])
        text += "b5";
    if (p[8])
        text += ",#5";
    if (p[3] && p[4])
        text += ",#9";
    if (p[6] && p[7])
        text += ",#11";
    if (p[1])
        text += ",b9";
    if (text.empty())
        return text;
    if (text.front() == ',')
        text.erase(0, 1);
    return "(" + text + ")";
}

} // namespace

std::string BuildChordSymbol(const NoteHeldFlags& held, const ItemNameList& names,
                             bool germanNaming) {
    const HeldChord chord = collectHeldChord(held);
    if (chord.Bass < 0)
        return "";
    std::string symbol = bassName(chord, germanNaming);
    if (chord.ClassCount == 2 || chord.HeldCount == 2)
        return symbol + intervalSuffix(chord, names);
    if (chord.ClassCount < 3)
        return symbol;
    const std::string fixed = fixedSymbol(chord);
    if (!fixed.empty())
        return symbol + fixed;
    return symbol + qualityAndExtension(chord) + alterations(chord);
}

} // namespace harmik
