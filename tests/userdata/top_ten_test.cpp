#include "userdata/top_ten.h"

#include "userdata/short_string.h"
#include "userdata/strings.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

using namespace harmik;

namespace {

TopTenTable defaults() {
    return DefaultTopTen(LoadStr(500));
}

QByteArray bytesOf(const TopTenTable& t) {
    return QByteArray(reinterpret_cast<const char*>(&t), sizeof(t));
}

} // namespace

TEST(TopTenTable, DefaultsAreTenPlacesFrom4000To400On24December1998) {
    const TopTenTable t = defaults();
    for (int i = 0; i < 12; ++i) {
        const TopTenRecord& r = t.records[static_cast<std::size_t>(i)];
        EXPECT_EQ(int(r.score), 4400 - 400 * (i + 1));
        EXPECT_EQ(DaysToDate(r.date), QDate(1998, 12, 24));
        EXPECT_EQ(r.module, 1);
        EXPECT_FALSE(r.name.text().isEmpty());
        EXPECT_LE(r.name.Length, 20);
        EXPECT_FALSE(r.name.text().endsWith(QLatin1Char(' ')));
    }
    EXPECT_EQ(DateToDays(QDate(1899, 12, 31)), 1.0);
}

TEST(TopTenTable, RecordBytesAreTheStoredLayout) {
    TopTenTable t{};
    t.records[0].name.setText(QStringLiteral("Анна"));
    t.records[0].score = 0x01020304;
    t.records[0].date = DateToDays(QDate(1998, 12, 24));
    t.records[0].module = 7;
    const QByteArray b = bytesOf(t);
    ASSERT_EQ(b.size(), 576);
    EXPECT_EQ(b.left(5), QByteArray("\x04\xc0\xed\xed\xe0", 5)); // Windows-1251
    EXPECT_EQ(b.mid(28, 4), QByteArray("\x04\x03\x02\x01", 4));
    double date = 0;
    std::memcpy(&date, b.constData() + 32, 8);
    EXPECT_EQ(date, 36153.0);
    EXPECT_EQ(b[40], 7);
}

TEST(TopTenTable, FileRoundTripAndTolerantReading) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("top10.hkt"));
    TopTenTable t = defaults();
    t.records[2].name.setText(QStringLiteral("Пётр Ильич"));
    t.records[2].score = 3333;
    ASSERT_TRUE(WriteTopTen(t, path, nullptr));
    EXPECT_EQ(QFileInfo(path).size(), 576);

    TopTenTable back = DefaultTopTen(QString());
    ReadTopTen(back, path);
    EXPECT_EQ(bytesOf(back), bytesOf(t));
    EXPECT_EQ(back.records[2].name.text(), QStringLiteral("Пётр Ильич"));

    // A short file overlays what it has; the rest keeps its defaults.
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        TopTenTable other = defaults();
        other.records[0].score = 99999;
        other.records[5].score = 12345;
        f.write(bytesOf(other).left(100));
    }
    TopTenTable partial = defaults();
    ReadTopTen(partial, path);
    EXPECT_EQ(int(partial.records[0].score), 99999);
    EXPECT_EQ(int(partial.records[5].score), 2000);

    TopTenTable missing = defaults();
    ReadTopTen(missing, dir.filePath(QStringLiteral("absent.hkt")));
    EXPECT_EQ(bytesOf(missing), bytesOf(defaults()));
}

TEST(ShortStrings, CodePageAndCapacity) {
    ShortString<25> s;
    s.setText(QStringLiteral("Ёлка № 5 — «тест»"));
    EXPECT_EQ(s.text(), QStringLiteral("Ёлка № 5 — «тест»"));
    s.setText(QStringLiteral("абвгдеёжзийклмнопрстуфхцчшщ"));
    EXPECT_EQ(s.Length, 25);
    EXPECT_EQ(s.text(), QStringLiteral("абвгдеёжзийклмнопрстуфхцч"));
    s.setText(QStringLiteral("日本"));
    EXPECT_EQ(s.text(), QStringLiteral("??"));
    // A corrupt length byte never reads past the capacity.
    s.Length = 200;
    EXPECT_EQ(s.text().size(), 25);
}

TEST(TopTenTable, DamagedPlacesAreReadAsEmptyOnesAndGoodOnesStay) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("top10.hkt"));
    const TopTenTable good = defaults();
    const struct {
        const char* what;
        void (*damage)(TopTenRecord&);
    } cases[] = {
        {"name longer than 25", [](TopTenRecord& r) { r.name.Length = 200; }},
        {"control byte in the name", [](TopTenRecord& r) { r.name.Chars[1] = '\x07'; }},
        {"negative score", [](TopTenRecord& r) { r.score = -5; }},
        {"day zero", [](TopTenRecord& r) { r.date = 0; }},
        {"no number as date", [](TopTenRecord& r) { r.date = std::nan(""); }},
        {"part of a day", [](TopTenRecord& r) { r.date += 0.5; }},
        {"date past 9999", [](TopTenRecord& r) { r.date = 1e9; }},
        {"module 0", [](TopTenRecord& r) { r.module = 0; }},
        {"module 8", [](TopTenRecord& r) { r.module = 8; }},
        {"all zero",
         [](TopTenRecord& r) {
             r = TopTenRecord{};
             r.module = 0;
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TopTenTable damaged = good;
        c.damage(damaged.records[3]);
        c.damage(damaged.records[10]); // the last name typed
        ASSERT_TRUE(WriteTopTen(damaged, path, nullptr));
        TopTenTable read = defaults();
        ReadTopTen(read, path);
        const TopTenRecord& place = read.records[3];
        EXPECT_TRUE(place.name.text().isEmpty());
        EXPECT_EQ(int(place.score), 0);
        EXPECT_FALSE(DaysToDate(place.date).isValid());
        EXPECT_FALSE(IsDamagedName(read.records[10].name));
        for (int i : {0, 1, 2, 4, 5, 6, 7, 8, 9, 11})
            EXPECT_EQ(bytesOf(read).mid(i * 48, 48), bytesOf(good).mid(i * 48, 48)) << i;
    }
}
