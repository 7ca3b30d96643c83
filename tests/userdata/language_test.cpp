// The interface languages: the language chosen from the locale variables, and the English
// table matched entry by entry against the Russian one (ids, printf conversions, hint parts,
// menu accelerators, line breaks, texts without a Russian word).
#include <gtest/gtest.h>

#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QString>

#include "userdata/strings.h"

namespace harmik {
namespace {

QMap<int, QString> readTable(const QString& language) {
    QMap<int, QString> table;
    QFile file(StringTablePath(language));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << language.toStdString();
    for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        if (tab > 0)
            table.insert(line.left(tab).toInt(), UnescapeTableText(line.mid(tab + 1)));
    }
    return table;
}

// What must agree between two translations of one entry.
struct Shape {
    QStringList conversions;
    qsizetype hintBars = 0;
    qsizetype accelerators = 0;
    qsizetype lineBreaks = 0;
    bool operator==(const Shape&) const = default;
};

Shape shapeOf(const QString& text) {
    static const QRegularExpression conversion(QStringLiteral("%[-+ 0-9.]*[a-z%]"));
    Shape s;
    for (const auto& m : conversion.globalMatch(text)) {
        if (m.captured() != QLatin1String("%%"))
            s.conversions << m.captured().right(1);
    }
    s.hintBars = text.count(QLatin1Char('|'));
    s.accelerators = text.count(QLatin1Char('&')) - 2 * text.count(QLatin1String("&&"));
    s.lineBreaks = text.count(QLatin1Char('\n'));
    return s;
}

TEST(Language, EnglishTableMatchesTheRussianOneEntryByEntry) {
    const QMap<int, QString> ru = readTable(QStringLiteral("ru"));
    const QMap<int, QString> en = readTable(QStringLiteral("en"));
    ASSERT_GT(ru.size(), 500);
    EXPECT_EQ(ru.keys(), en.keys());
    for (auto it = ru.cbegin(); it != ru.cend(); ++it) {
        const QString english = en.value(it.key());
        SCOPED_TRACE(QStringLiteral("%1: %2 / %3").arg(it.key()).arg(*it, english).toStdString());
        EXPECT_TRUE(shapeOf(*it) == shapeOf(english));
        EXPECT_EQ(it->isEmpty(), english.isEmpty());
        // Shortcut keys, chord symbols and other texts without a Russian word stay as they are.
        bool latin = true;
        for (const QChar c : *it)
            latin = latin && c.unicode() < 0x80;
        if (latin) {
            EXPECT_EQ(*it, english);
        }
    }
    // The default top-ten names are twelve fields of 20 characters.
    EXPECT_EQ(en.value(500).size(), ru.value(500).size());
}

TEST(Language, ChosenFromTheLocaleVariablesAndRussianWithoutATable) {
    struct Case {
        const char* lcAll;
        const char* lcMessages;
        const char* lang;
        const char* language;
    };
    const Case cases[] = {
        {"", "", "en_US.UTF-8", "en"},
        {"", "", "en_GB", "en"},
        {"", "", "en", "en"},
        {"", "en_AU.UTF-8", "ru_RU.UTF-8", "en"},
        {"en_US.UTF-8", "ru_RU.UTF-8", "ru_RU.UTF-8", "en"},
        {"C", "", "en_US.UTF-8", "ru"},
        {"", "", "ru_RU.UTF-8", "ru"},
        {"", "", "C.UTF-8", "ru"},
        {"", "", "C", "ru"},
        {"", "", "POSIX", "ru"},
        {"", "", "de_DE.UTF-8", "ru"},
        {"", "", "eng", "ru"},
        {"", "", "", "ru"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.lcAll) + "/" + c.lcMessages + "/" + c.lang);
        EXPECT_EQ(LanguageOfLocale(QString::fromLatin1(c.lcAll), QString::fromLatin1(c.lcMessages),
                                   QString::fromLatin1(c.lang))
                      .toStdString(),
                  c.language);
    }
}

} // namespace
} // namespace harmik
