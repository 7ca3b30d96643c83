#include "input/staff_widget.h"

#include <QImage>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace harmik;

namespace {

using Kind = StaffItem::Kind;

std::vector<StaffItem> itemsOf(const StaffWidget& w, Kind kind) {
    std::vector<StaffItem> out;
    for (const StaffItem& it : w.items())
        if (it.Type == kind)
            out.push_back(it);
    return out;
}

class StaffWidgetTest : public ::testing::Test {
protected:
    void SetUp() override {
        staff.resize(800, 120);
        staff.ResetStaff(1, 0);
    }
    StaffWidget staff;
};

TEST_F(StaffWidgetTest, WhiteKeyDisplayWritesFourteenNotesOnEachStaff) {
    staff.setModule(6);
    staff.mVisnoderClick();
    const auto heads = itemsOf(staff, Kind::Head);
    ASSERT_EQ(heads.size(), 28u);
    const auto layout = whiteKeyLayout(800 - 34);
    // C to B on the bass staff, middle C to B on the treble, evenly spread.
    for (std::size_t i = 0; i < heads.size(); ++i) {
        EXPECT_EQ(heads[i].X, layout[i].X) << i;
        EXPECT_EQ(heads[i].Left, 0) << i; // one note per column: nothing shifts
        EXPECT_EQ(heads[i].Y, Staff_Y(heads[i].Step, heads[i].Clef)) << i;
        EXPECT_EQ(heads[i].Clef, i < 14 ? 2 : 1) << i;
        EXPECT_EQ(layout[i].Note < 60, i < 14) << i;
        if (i > 0) {
            EXPECT_NEAR(heads[i].X - heads[i - 1].X, (800 - 34) / 28.0, 1.0) << i;
        }
    }
    EXPECT_EQ(layout[14].Note, 60);
    EXPECT_EQ(layout.back().Note, 83);
    EXPECT_EQ(whiteKeyLayout(800).front().X, 48); // 800 / 28 / 2 + 34
    EXPECT_EQ(whiteKeyLayout(800).back().X, 820);
    EXPECT_LE(heads.back().X + 6, 800); // the top B is inside the picture
    EXPECT_EQ(heads.back().Step, 27);
    EXPECT_TRUE(itemsOf(staff, Kind::Accidental).empty());
    EXPECT_EQ(staff.StaffTextX, 40);
    EXPECT_EQ(staff.module(), 6);

    // Scaled to a wider picture the notes spread over the logical width.
    StaffWidget wide;
    wide.resize(1600, 240);
    wide.mVisnoderClick();
    EXPECT_EQ(itemsOf(wide, Kind::Head).front().X, 48);
}

TEST_F(StaffWidgetTest, DHarmonicMinorSignatureAndRaisedSeventh) {
    staff.setKey(SetupKeySignature(62, 3));
    staff.ResetStaff(6, 0);
    const auto sig = staff.signatureGlyphs();
    ASSERT_EQ(sig.size(), 2u); // one flat on each staff
    EXPECT_EQ(sig[0].X, 37);
    EXPECT_EQ(sig[0].Y, Staff_Y(20, 1) - 12); // B on the treble's middle line
    EXPECT_EQ(sig[1].Y, Staff_Y(6, 2) - 12);
    EXPECT_EQ(sig[0].Code, 1);
    EXPECT_EQ(staff.MelodyTextX, 80);

    staff.DrawNoteNamed(100, 73, 0, 0); // C sharp: written with its sharp
    staff.DrawNoteNamed(130, 70, 0, 1); // B flat: the signature says it
    staff.DrawNoteNamed(160, 47, 0, 1); // B natural in the bass: a natural sign
    EXPECT_EQ(staff.LastNoteName, QStringLiteral("C#"));
    const auto acc = itemsOf(staff, Kind::Accidental);
    ASSERT_EQ(acc.size(), 2u);
    EXPECT_EQ(acc[0].Code, 3);
    EXPECT_EQ(acc[0].Step, 21);
    EXPECT_EQ(acc[0].X + acc[0].Left, 100 - 14);
    EXPECT_EQ(acc[1].Code, kNaturalSign);
    EXPECT_EQ(acc[1].X, 160);

    // An accidental holds for its step until the bar line.
    staff.DrawNoteNamed(190, 72, 0, 1); // C natural after the C sharp
    EXPECT_EQ(itemsOf(staff, Kind::Accidental).back().Code, kNaturalSign);
    EXPECT_EQ(staff.keyState()->staffAccidentals[0][0], 2);
    staff.DrawNoteNamed(220, 72, 0, 1); // and again: nothing more to write
    EXPECT_EQ(itemsOf(staff, Kind::Accidental).size(), 3u);
    staff.ShowBar(240, false);
    staff.DrawNoteNamed(260, 73, 0, 1); // a new bar: the sharp again
    EXPECT_EQ(itemsOf(staff, Kind::Accidental).back().Code, 3);
    EXPECT_EQ(itemsOf(staff, Kind::Accidental).size(), 4u);

    // The signature stays while the module writes on; other modules write none.
    staff.setModule(3);
    EXPECT_EQ(staff.signatureGlyphs().size(), 2u);
    staff.setKey(SetupKeySignature(55, 0)); // G major, after a reset in the melody module
    staff.ResetStaff(6, 0);
    ASSERT_EQ(staff.signatureGlyphs().size(), 2u);
    EXPECT_EQ(staff.signatureGlyphs()[0].Code, 3);
    EXPECT_EQ(staff.signatureGlyphs()[0].Y, Staff_Y(24, 1) - 12); // F on the top line
    staff.ResetStaff(1, 0);
    EXPECT_TRUE(staff.signatureGlyphs().empty());
}

TEST_F(StaffWidgetTest, SecondsShiftRightAndAccidentalsStepLeft) {
    staff.ResetStaff(3, 0);
    staff.NulFortegnMatrix();
    staff.DrawNote(100, 14, 2, 60, 0, 0); // the root, named
    staff.DrawNote(100, 15, 3, 63, 0, 2); // D sharp, a second above C
    staff.DrawNote(100, 16, 3, 65, 0, 3); // E sharp: the D moved, this one stays
    const auto heads = itemsOf(staff, Kind::Head);
    ASSERT_EQ(heads.size(), 3u);
    EXPECT_EQ(heads[0].Left, 0);
    EXPECT_EQ(heads[1].Left, 9);
    EXPECT_EQ(heads[2].Left, 0);
    EXPECT_FALSE(staff.PreviousShifted);
    const auto acc = itemsOf(staff, Kind::Accidental);
    ASSERT_EQ(acc.size(), 2u);
    EXPECT_EQ(acc[0].Left, -14);
    EXPECT_EQ(acc[1].Left, -14 - 8); // two columns further left
    // The middle C's ledger line moves with nothing; the shifted head has none.
    EXPECT_EQ(itemsOf(staff, Kind::Ledger).size(), 1u);

    // A unison in the interval module moves 11 pixels.
    staff.ResetStaff(1, 0);
    staff.DrawNote(80, 20, 2, 71, 0, 0);
    staff.DrawNote(80, 20, 1, 70, 0, 1);
    EXPECT_EQ(itemsOf(staff, Kind::Head).back().Left, 11);
    // Melody notes never shift.
    staff.ResetStaff(6, 0);
    staff.DrawNote(80, 20, 2, 71, 0, 0);
    staff.DrawNote(80, 21, 2, 72, 0, 1);
    EXPECT_EQ(itemsOf(staff, Kind::Head).back().Left, 0);
}

TEST_F(StaffWidgetTest, NamesAtTheTextPosition) {
    staff.StaffTextX = 120;
    staff.setGermanNaming(true);
    staff.DrawNote(120, 20, 2, 71, 0, 0);
    auto texts = itemsOf(staff, Kind::Text);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].Text, QStringLiteral("H"));
    EXPECT_EQ(texts[0].X, 115);
    EXPECT_EQ(texts[0].Y, -2);
    staff.DrawNote(120, 22, 2, 74, 0, 1); // chord notes are not named
    EXPECT_EQ(itemsOf(staff, Kind::Text).size(), 1u);

    // The inversion module writes only the name; progressions only the note.
    staff.ResetStaff(4, 0);
    staff.DrawNote(100, 15, 1, 61, 0, 99);
    EXPECT_EQ(itemsOf(staff, Kind::Text).size(), 1u);
    EXPECT_TRUE(itemsOf(staff, Kind::Head).empty());
    staff.ResetStaff(5, 0);
    EXPECT_FALSE(staff.clefsShown());
    staff.DrawNote(100, 15, 1, 61, 0, 0);
    EXPECT_TRUE(itemsOf(staff, Kind::Text).empty());
    EXPECT_EQ(itemsOf(staff, Kind::Head).size(), 1u);
}

TEST_F(StaffWidgetTest, ScaleAfterItsRoot) {
    staff.ResetStaff(2, 0);
    QSignalSpy marks(&staff, &StaffWidget::scaleNoteMarked);
    const int x0 = staff.StaffTextX;
    staff.DrawNote(x0, 15, 2, 62, 0, 0); // D major from D
    staff.ShowScale(62, 0);
    const auto heads = itemsOf(staff, Kind::Head);
    ASSERT_EQ(heads.size(), 8u);
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(heads[k].Step, 15 + k);
        EXPECT_EQ(heads[k].X, x0 + 30 * k);
    }
    const auto acc = itemsOf(staff, Kind::Accidental);
    ASSERT_EQ(acc.size(), 2u); // F sharp and C sharp, both in the first column
    EXPECT_EQ(acc[0].Step, 17);
    EXPECT_EQ(acc[1].Step, 21);
    EXPECT_EQ(acc[1].Left, -14);
    EXPECT_EQ(itemsOf(staff, Kind::OctaveBracket).size(), 2u);
    EXPECT_EQ(marks.count(), 7);
}

TEST_F(StaffWidgetTest, ResetBarsAndScroll) {
    staff.DrawNote(100, 16, 2, 64, 0, 0);
    staff.ShowBar(140, true);
    staff.DrawNote(300, 16, 2, 64, 0, 0);
    staff.ResetStaff(1, 200);
    EXPECT_EQ(itemsOf(staff, Kind::Head).size(), 1u);
    EXPECT_EQ(itemsOf(staff, Kind::Bar).at(0).Code, 1);

    staff.DrawNote(400, 16, 2, 64, 0, 0);
    staff.StaffTextX = 500;
    staff.DoScroll(120, 110);
    EXPECT_EQ(staff.StaffTextX, 390);
    staff.DrawNote(390, 18, 2, 67, 0, 0); // written during the scroll
    EXPECT_TRUE(itemsOf(staff, Kind::Head).back().Hidden);
    int frames = 0;
    while (staff.scrolling()) {
        staff.ScrollFrame();
        ++frames;
    }
    EXPECT_EQ(frames, kScrollFrames);
    const auto heads = itemsOf(staff, Kind::Head);
    ASSERT_EQ(heads.size(), 3u); // the note at 100 stays left of 120; the bar slid off
    EXPECT_EQ(heads[0].X, 100);
    EXPECT_EQ(heads[1].X, 290);
    EXPECT_EQ(heads[2].X, 390); // written in place, not moved
    EXPECT_TRUE(itemsOf(staff, Kind::Bar).empty());
    const auto texts = itemsOf(staff, Kind::Text);
    ASSERT_EQ(texts.size(), 4u); // names at the text position, left of the scrolled part
    EXPECT_EQ(texts.back().X, 385);
    EXPECT_FALSE(staff.items().back().Hidden);
}

int lightness(const QImage& img, int x, int y) {
    return QColor(img.pixel(x, y)).lightness();
}

TEST_F(StaffWidgetTest, PaintedLinesHeadsAndLowColour) {
    staff.DrawNote(400, 18, 2, 67, 0, 1); // G on the treble's second line
    QImage img = staff.grab().toImage();
    for (int y : {26, 32, 38, 50, 75, 99})
        EXPECT_LT(lightness(img, 600, y), 170) << y;
    EXPECT_GT(lightness(img, 600, 53), 200);
    EXPECT_GT(lightness(img, 600, 62), 200);
    EXPECT_LT(lightness(img, 400, 44), 60); // the head is ink
    EXPECT_LT(lightness(img, 400, 41), 60);

    staff.setHighColour(false);
    img = staff.grab().toImage();
    EXPECT_LT(lightness(img, 600, 50), 40);
    EXPECT_EQ(img.pixel(600, 53), QColor(Qt::white).rgb());

    // Twice the size: the same picture, lines on the doubled rows.
    staff.resize(1600, 240);
    img = staff.grab().toImage();
    EXPECT_LT(lightness(img, 1200, 100), 40);
    EXPECT_LT(lightness(img, 1200, 101), 40);
    EXPECT_GT(lightness(img, 1200, 106), 200);
    EXPECT_LT(lightness(img, 800, 88), 60);

    // On a high-density screen the vector picture fills the device pixels.
    staff.resize(800, 120);
    QImage dense(1600, 240, QImage::Format_ARGB32);
    dense.setDevicePixelRatio(2.0);
    dense.fill(Qt::transparent);
    staff.render(&dense);
    EXPECT_LT(lightness(dense, 1200, 100), 40);
    EXPECT_LT(lightness(dense, 1200, 101), 40);
    EXPECT_GT(lightness(dense, 1200, 103), 200);
}

} // namespace
