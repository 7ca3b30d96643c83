#pragma once
// Whether the notes of a stored voicing sound the chord type its name gives, judged from the
// chord catalogue.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "theory/note_names.h"
#include "theory/theory_tables.h"

namespace harmik::test {

// The notes, measured from `root`, must hold every note of the type's close voicing except the
// root, a perfect fifth and a plain ninth, eleventh or thirteenth (voicings leave those out):
// so the third, the seventh or sixth, an altered fifth and every altered tension the name shows
// (b9, #9, #11, b13). Besides the type's own notes only an added ninth or sixth may sound.
inline testing::AssertionResult soundsChordType(const std::vector<int>& notes, int root, int type) {
    std::set<int> heard;
    for (int note : notes)
        heard.insert(pitchClass(note - root));
    std::set<int> allowed{2, 9};
    for (int offset : chordVoicing(chordVoicingRecord(type, 0)).notes()) {
        const int pc = offset % 12;
        allowed.insert(pc);
        const bool plainTension = offset > 11 && (pc == 2 || pc == 5 || pc == 9);
        if (offset != 0 && offset != 7 && !plainTension && !heard.count(pc))
            return testing::AssertionFailure()
                   << "lacks the note " << pc << " semitones above the root";
    }
    for (int pc : heard)
        if (!allowed.count(pc))
            return testing::AssertionFailure()
                   << "adds the note " << pc << " semitones above the root";
    return testing::AssertionSuccess();
}

} // namespace harmik::test
