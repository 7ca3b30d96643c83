// The rhythm picture as a musician reads it: a fixed rhythm rendered at 1x and 2x and compared
// with the reference pictures kept beside this test (drawn with the DejaVu fonts of the test
// set-up). HARMIK_WRITE_REFERENCE=1 writes the references anew.
#include "input/rhythm_layout.h"
#include "input/rhythm_staff_widget.h"
#include "theory/rhythm_generator.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <cstdlib>

namespace harmik {
namespace {

// Two bars of 4/4: a dotted quarter and an eighth, four beamed sixteenths, a quarter rest;
// an eighth triplet, a quarter tied to a quarter, two beamed eighths.
Rhythm FixedRhythm() {
    Rhythm r;
    for (int d : {36, 12, 6, 6, 6, 6, -24, 8, 8, 8, 24, 24, 12, 12}) {
        RhythmEvent& e = r.Events[static_cast<std::size_t>(r.Count++)];
        e.Duration = static_cast<std::uint8_t>(std::abs(d));
        e.Rest = d < 0;
    }
    r.Events[11].Tie = 1;
    SetBeamMarks(r, TimeSignatureOf(3));
    return r;
}

constexpr int kWidth = 700;

QImage Render(double pixelRatio) {
    RhythmStaffWidget picture;
    picture.resize(kWidth, 120);
    RhythmOptions options;
    options.Metre = 3;
    options.Bars = 2;
    options.RhythmMode = RhythmRead;
    picture.setRhythm(FixedRhythm(), options.Metre, true);
    picture.setPhases(PassPhases(options));
    picture.setPassBar(2);
    QImage image(QSize(kWidth, 120) * pixelRatio, QImage::Format_RGB32);
    image.setDevicePixelRatio(pixelRatio);
    QPainter p(&image);
    picture.paintPicture(p);
    return image;
}

QString ReferencePath(int pixelRatio) {
    return QDir(QStringLiteral(HARMIK_INPUT_TEST_DIR))
        .filePath(QStringLiteral("data/rhythm_picture_%1x.png").arg(pixelRatio));
}

// Share of pixels whose colour differs by more than a faint shade of antialiasing.
double DifferingShare(const QImage& a, const QImage& b) {
    int differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            if (std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                    std::abs(qBlue(p) - qBlue(q)) >
                96)
                ++differing;
        }
    return double(differing) / (a.width() * a.height());
}

TEST(RhythmPicture, AFixedRhythmLooksAsItsReferenceAtOneAndTwoTimesThePixels) {
    for (int ratio : {1, 2}) {
        const QImage rendered = Render(ratio);
        if (std::getenv("HARMIK_WRITE_REFERENCE") != nullptr) {
            ASSERT_TRUE(rendered.save(ReferencePath(ratio)));
        }
        QImage reference(ReferencePath(ratio));
        ASSERT_FALSE(reference.isNull()) << ReferencePath(ratio).toStdString();
        reference = reference.convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(reference.size(), rendered.size()) << ratio << "x";
        EXPECT_LT(DifferingShare(rendered, reference), 0.005) << ratio << "x";
    }
}

TEST(RhythmPicture, MarksStandAtTheirNotesSizedByTheirDeviation) {
    Rhythm r = FixedRhythm();
    LayOutRhythm(r, 3);
    RhythmEvaluation e;
    const int q = 504;
    e.Steps[0] = {true, 0, 0, -60};     // late by 60 ms: a dark bar 60 / 504 x 50 high
    e.Steps[18] = {true, 0, 1, 20};     // early by 20 ms: within a sixteenth of a quarter
    e.Steps[20] = {true, 0, -1, 32000}; // a tap without a note
    e.Steps[21] = {true, 0, 2, 40};     // early by 40 ms: a light bar
    const std::vector<RhythmMark> marks = RhythmMarksFor(r, e, q);
    ASSERT_GE(marks.size(), 3u);
    EXPECT_EQ(marks[0].Type, RhythmMark::Kind::Deviation);
    EXPECT_EQ(marks[0].X, r.Events[0].StaffX - 2);
    EXPECT_EQ(marks[0].Width, 5);
    EXPECT_DOUBLE_EQ(marks[0].Height, 60.0 / q * 50);
    EXPECT_FALSE(marks[0].Early);
    EXPECT_EQ(marks[1].Type, RhythmMark::Kind::ExtraTap);
    EXPECT_EQ(marks[1].X, (r.Events[1].StaffX + r.Events[2].StaffX) / 2.0);
    EXPECT_EQ(marks[1].Width, 2);
    EXPECT_EQ(marks[1].Height, 20);
    EXPECT_TRUE(marks[2].Early);
    // Every other sounding note went untapped: a 6 x 6 mark at its x - 3.
    int missed = 0;
    for (const RhythmMark& m : marks)
        if (m.Type == RhythmMark::Kind::MissedNote) {
            ++missed;
            EXPECT_EQ(m.Width, 6);
            EXPECT_EQ(m.Height, 6);
        }
    int struck = 0;
    for (int i = 0; i < r.Count; ++i)
        struck += IsStruck(r.Events[static_cast<std::size_t>(i)]);
    EXPECT_EQ(missed, struck - 3);
}

// Six bars of 4/4 do not fit a picture 600 pixels wide: each bar of the rhythm, heard or
// played, comes into view when its report arrives, and the scroll between reports stops at
// the end of the rhythm.
TEST(RhythmPicture, ALongRhythmScrollsWithTheBarsOfThePass) {
    RhythmStaffWidget picture;
    picture.resize(600, 120);
    RhythmOptions options;
    options.Metre = 3;
    options.Bars = 6;
    Rhythm r;
    for (int i = 0; i < 24; ++i)
        r.Events[static_cast<std::size_t>(r.Count++)].Duration = 24;
    picture.setRhythm(r, options.Metre, true);
    picture.setPhases(PassPhases(options)); // count-in, six to hear, six to play

    picture.setPassBar(1);
    EXPECT_EQ(picture.scrollX(), 0);
    picture.setPassBar(4); // the third bar heard
    EXPECT_EQ(picture.scrollX(), RhythmBarLineX(2, 3) - 40);
    picture.scrollBy(36);
    EXPECT_EQ(picture.scrollX(), RhythmBarLineX(2, 3) - 4);
    picture.setPassBar(8); // the first bar played
    EXPECT_EQ(picture.scrollX(), 0);
    picture.scrollBy(1e6);
    EXPECT_EQ(picture.scrollX(), RhythmWidth(6, 3) - 600);
}

} // namespace
} // namespace harmik
