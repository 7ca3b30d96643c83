#include "input/fretboard_geometry.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace harmik;

TEST(FretboardGeometry, FretCountAndWiresFollowTheWidth) {
    const std::vector<int> narrow = fretWirePositions(700);
    ASSERT_EQ(narrow.size(), 12u);
    EXPECT_EQ(narrow[0], 60);
    EXPECT_EQ(narrow[1], 133);                    // nearest(104 × 0.7) + 60
    EXPECT_EQ(narrow[2], 203);                    // nearest(204 × 0.7) + 60
    EXPECT_EQ(narrow[11], 60 + 924 * 7 / 10 + 1); // q = 11 × 104 − 4 × 55 = 924 → 646.8
    EXPECT_EQ(fretWirePositions(800).size(), 12u);
    EXPECT_EQ(fretWirePositions(801).size(), 16u);
    EXPECT_EQ(fretWirePositions(951).size(), 20u);
    EXPECT_EQ(fretWirePositions(1000)[1], 128);
    for (int w : {400, 801, 951, 1600}) {
        const std::vector<int> x = fretWirePositions(w);
        EXPECT_TRUE(std::is_sorted(x.begin(), x.end()));
        EXPECT_LT(x.back(), w + 60);
    }
}

TEST(FretboardGeometry, TopRowIsTheHighStringAndBottomRowTheLow) {
    const std::vector<int> fretX = fretWirePositions(700);
    for (int h : {60, 120, 133}) {
        EXPECT_EQ(guitarStringAt(0, h), 6);
        EXPECT_EQ(guitarStringAt(h - 1, h), 1);
        EXPECT_EQ(fretboardPressAt(10, 0, h, fretX).Note, 76);
        EXPECT_EQ(fretboardPressAt(10, h - 1, h, fretX).Note, 52);
        // Every drawn string line is hit as its own string.
        for (int s = 0; s < 6; ++s)
            EXPECT_EQ(guitarStringAt(stringLineY(s, h), h), 6 - s) << h << " " << s;
    }
}

TEST(FretboardGeometry, PressFindsTheFirstWireAtOrRightOfTheMouse) {
    const std::vector<int> fretX = fretWirePositions(700);
    const int h = 120;
    EXPECT_EQ(fretboardPressAt(fretX[3], h - 1, h, fretX).Note, 55);
    EXPECT_EQ(fretboardPressAt(fretX[3] + 1, h - 1, h, fretX).Note, 56);
    EXPECT_EQ(fretboardPressAt(fretX[3] + 1, h - 1, h, fretX).Fret, 4);
    EXPECT_EQ(fretboardPressAt(fretX.back(), 0, h, fretX).Note, 87);
    EXPECT_EQ(fretboardPressAt(fretX.back() + 1, 0, h, fretX).Note, 0);
}

TEST(FretboardGeometry, NotesFindTheirStringForMarks) {
    struct Case {
        int note, string, fret;
    };
    for (Case c : {Case{52, 1, 0}, Case{56, 1, 4}, Case{57, 2, 0}, Case{66, 3, 4}, Case{70, 4, 3},
                   Case{71, 5, 0}, Case{75, 5, 4}, Case{76, 6, 0}, Case{100, 6, 24}, Case{51, 0, 0},
                   Case{101, 0, 0}}) {
        const FretPress place = fretboardPlaceOf(c.note);
        EXPECT_EQ(place.String, c.string) << c.note;
        if (c.string) {
            EXPECT_EQ(place.Fret, c.fret) << c.note;
        }
    }
    const std::vector<int> fretX = fretWirePositions(700);
    int x = 0;
    int y = 0;
    ASSERT_TRUE(fretboardDotCentre(0, 6, 120, fretX, x, y));
    EXPECT_EQ(x, 47);
    EXPECT_EQ(y, 10); // 120 × 17 div 200
    ASSERT_TRUE(fretboardDotCentre(2, 1, 120, fretX, x, y));
    EXPECT_EQ(x, 190);
    EXPECT_EQ(y, 120 * 182 / 200);
    EXPECT_FALSE(fretboardDotCentre(12, 1, 120, fretX, x, y));
}
