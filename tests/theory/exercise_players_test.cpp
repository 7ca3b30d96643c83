#include <gtest/gtest.h>

#include <vector>

#include "heard_support.h"
#include "theory/exercise_players.h"
#include "theory/theory_tables.h"

namespace harmik {
namespace {

using test::Heard;
using test::heard;

GeneratorOptions withMode(int playMode) {
    GeneratorOptions options;
    options.PlayMode = playMode;
    options.OutChannel = 3;
    options.Velocity = 90;
    options.Tempo = 120;
    return options;
}

TEST(Players, IntervalLayouts) {
    NoteQueue q;
    PlayInterval(q, 60, 7, withMode(PlayHarmonic));
    EXPECT_EQ(heard(q),
              (std::vector<Heard>{{1, 60, true}, {1, 67, true}, {4, 60, false}, {4, 67, false}}));
    q = NoteQueue{};
    PlayInterval(q, 60, 7, withMode(PlayMelodic));
    EXPECT_EQ(heard(q),
              (std::vector<Heard>{{1, 60, true}, {2, 60, false}, {2, 67, true}, {3, 67, false}}));
    q = NoteQueue{};
    PlayInterval(q, 60, -5, withMode(PlaySustained));
    EXPECT_EQ(heard(q),
              (std::vector<Heard>{{1, 60, true}, {2, 55, true}, {5, 60, false}, {5, 55, false}}))
        << "a downward interval plays its second note below the first";
}

TEST(Players, AnEightNoteScaleEndsAtTickNineMelodicallyAndElevenSustained) {
    NoteQueue q;
    PlayScale(q, 62, 0, withMode(PlayMelodic));
    EXPECT_EQ(q.Count, 16);
    EXPECT_EQ(q.LastTick, 9);
    const std::vector<Heard> melodic = heard(q);
    EXPECT_EQ(melodic.front(), (Heard{1, 62, true}));
    EXPECT_EQ(melodic.back(), (Heard{9, 74, false}));
    // Where one note ends and the next begins, the release comes first.
    EXPECT_EQ(melodic[1], (Heard{2, 62, false}));
    EXPECT_EQ(melodic[2], (Heard{2, 64, true}));

    q = NoteQueue{};
    PlayScale(q, 62, 0, withMode(PlaySustained));
    EXPECT_EQ(q.LastTick, 11);
    const std::vector<Heard> sustained = heard(q);
    for (int k = 1; k <= 8; ++k)
        EXPECT_EQ(sustained[static_cast<std::size_t>(k - 1)].Tick, k);
    for (std::size_t i = 8; i < 16; ++i)
        EXPECT_EQ(sustained[i], (Heard{11, sustained[i - 8].Note, false}));

    q = NoteQueue{};
    PlayScale(q, 62, 24, withMode(PlayHarmonic)); // chromatic: 13 notes at once
    EXPECT_EQ(q.Count, 26);
    EXPECT_EQ(q.LastTick, 4);
}

TEST(Players, ChordTuningSoundsTheLowestNoteFirst) {
    GeneratorOptions options = withMode(PlayHarmonic);
    options.ChordTuning = true;
    NoteQueue q;
    PlayChord(q, 48, chordVoicingRecord(6, 0), options); // C E G B
    EXPECT_EQ(heard(q), (std::vector<Heard>{{1, 48, true},
                                            {2, 48, false},
                                            {2, 48, true},
                                            {2, 52, true},
                                            {2, 55, true},
                                            {2, 59, true},
                                            {5, 48, false},
                                            {5, 52, false},
                                            {5, 55, false},
                                            {5, 59, false}}));
    // The tuning note belongs to harmonic playback only.
    q = NoteQueue{};
    options.PlayMode = PlayMelodic;
    PlayChord(q, 48, chordVoicingRecord(6, 0), options);
    EXPECT_EQ(q.LastTick, 5);
    EXPECT_EQ(heard(q).front(), (Heard{1, 48, true}));
    EXPECT_EQ(heard(q)[1], (Heard{2, 48, false}));
}

TEST(Players, InversionsPlayAboveTheRootAndChordsInTheirVoicing) {
    NoteQueue q;
    PlayInversion(q, 60, 7 * 3 + 4, withMode(PlayHarmonic)); // dominant seventh, 2nd inversion
    std::vector<int> notes;
    for (const Heard& h : heard(q))
        if (h.On)
            notes.push_back(h.Note);
    EXPECT_EQ(notes, (std::vector<int>{67, 70, 72, 76}));

    q = NoteQueue{};
    PlayChord(q, 40, chordVoicingRecord(45, 1), withMode(PlaySustained));
    EXPECT_EQ(q.LastTick, 6 + 3);
    EXPECT_EQ(heard(q)[5], (Heard{6, 70, true}));
}

TEST(Players, TickIntervalIsOneBeat) {
    NoteQueue q;
    EXPECT_EQ(PlayInterval(q, 60, 4, withMode(PlayMelodic)), 500);
    EXPECT_EQ(tickIntervalMs(100), 600);
    EXPECT_EQ(tickIntervalMs(7), 8571);
    EXPECT_EQ(tickIntervalMs(0), 60000) << "a zero tempo must not divide by zero";
}

// Every note-on is released once, on the option's channel (a harmonic unison strikes its note
// twice).
void expectPairedEvents(const NoteQueue& q, const GeneratorOptions& options) {
    EXPECT_TRUE(test::releasesEveryNote(q, 2));
    for (int i = 0; i < q.Count; ++i) {
        const NoteEvent& e = q.Events[static_cast<std::size_t>(i)];
        EXPECT_EQ(e.Channel, options.OutChannel);
        EXPECT_TRUE(e.Velocity == 0 || e.Velocity == options.Velocity);
    }
}

TEST(Players, EveryItemInEveryModeReleasesWhatItStrikes) {
    for (int mode : {PlayHarmonic, PlayMelodic, PlaySustained})
        for (bool tuning : {false, true}) {
            GeneratorOptions options = withMode(mode);
            options.ChordTuning = tuning;
            SCOPED_TRACE(testing::Message() << "mode " << mode << " tuning " << tuning);
            for (int size = 0; size < 36; ++size)
                for (int sign : {1, -1}) {
                    NoteQueue q;
                    PlayInterval(q, 60, sign * size, options);
                    expectPairedEvents(q, options);
                }
            for (int row = 0; row < kScaleCount; ++row) {
                NoteQueue q;
                PlayScale(q, 48, row, options);
                expectPairedEvents(q, options);
            }
            for (int record = 0; record < kChordVoicingCount; ++record) {
                NoteQueue q;
                PlayChord(q, 40, record, options);
                expectPairedEvents(q, options);
            }
            for (int record = kFirstInversionItem; record < kInversionRecordCount; ++record) {
                if (!isAskableInversion(record))
                    continue;
                NoteQueue q;
                PlayInversion(q, 50, record, options);
                expectPairedEvents(q, options);
            }
        }
}

TEST(Players, NotesOutsideTheMidiRangeAreLeftOutWhole) {
    NoteQueue q;
    GeneratorOptions options = withMode(PlaySustained);
    PlayScale(q, 120, 0, options); // 120..132
    for (const Heard& h : heard(q))
        EXPECT_LE(h.Note, 127);
    EXPECT_EQ(q.Count, 2 * 5); // 120, 122, 124, 125, 127
    expectPairedEvents(q, options);
}

} // namespace
} // namespace harmik
