#pragma once
#include <QString>
#include <QVariant>

namespace harmik {

// The program's string table: every visible text is fetched by its number. An id the table
// does not hold gives an empty text.
QString LoadStr(int id);

// The language of the interface, fixed at the first text fetched: HARMIK_LANGUAGE when set,
// else the first of LC_ALL, LC_MESSAGES and LANG that is set. A language without a table
// (and the C and POSIX locales) gives Russian.
QString InterfaceLanguage();
QString LanguageOfLocale(const QString& lcAll, const QString& lcMessages, const QString& lang);

// The resource that holds a language's table: ":/strings/<language>.tsv".
QString StringTablePath(const QString& language);

// LoadStr(id) formatted printf-style ("%d", "%s", "%5.5d", ...).
QString FormatStr(int id, const QVariantList& args);

// A hint's two parts: the tooltip text before the first "|" and the status text after it. A
// hint that begins with "|" has no tooltip; a hint without "|" uses its text for both.
struct HintParts {
    QString Short;
    QString Long;
};
HintParts SplitHint(const QString& hint);

// Parses the table's text form: one entry a line, "id<TAB>text", with the escapes \t, \n, \\.
// Exposed for tests of the file itself.
QString UnescapeTableText(const QString& text);

} // namespace harmik
