#include "userdata/strings.h"

#include <QFile>
#include <QHash>
#include <QVariant>

namespace harmik {
namespace {

QHash<int, QString> readTable() {
    QHash<int, QString> table;
    QFile file(StringTablePath(InterfaceLanguage()));
    if (!file.open(QIODevice::ReadOnly))
        return table;
    const QString all = QString::fromUtf8(file.readAll());
    for (const QString& line : all.split(QLatin1Char('\n'))) {
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        if (tab <= 0)
            continue;
        bool ok = false;
        const int id = line.left(tab).toInt(&ok);
        if (!ok)
            continue;
        QString text = line.mid(tab + 1);
        if (text.endsWith(QLatin1Char('\r')))
            text.chop(1);
        table.insert(id, UnescapeTableText(text));
    }
    return table;
}

const QHash<int, QString>& table() {
    static const QHash<int, QString> t = readTable();
    return t;
}

// Formats one printf conversion with one argument.
QString formatOne(const QString& conversion, const QVariant& arg) {
    const QChar conv = conversion.back();
    const QByteArray cspec = conversion.toLatin1();
    if (conv == QLatin1Char('s'))
        return arg.toString();
    if (conv == QLatin1Char('d') || conv == QLatin1Char('i'))
        return QString::asprintf(cspec.constData(), arg.toInt());
    if (conv == QLatin1Char('f') || conv == QLatin1Char('g') || conv == QLatin1Char('e'))
        return QString::asprintf(cspec.constData(), arg.toDouble());
    return conversion;
}

} // namespace

QString LanguageOfLocale(const QString& lcAll, const QString& lcMessages, const QString& lang) {
    const QString& locale = !lcAll.isEmpty() ? lcAll : !lcMessages.isEmpty() ? lcMessages : lang;
    QString language = locale.section(QLatin1Char('_'), 0, 0).section(QLatin1Char('.'), 0, 0);
    language = language.section(QLatin1Char('@'), 0, 0);
    if (language.isEmpty() || !QFile::exists(StringTablePath(language)))
        return QStringLiteral("ru");
    return language;
}

QString InterfaceLanguage() {
    const QString chosen = qEnvironmentVariable("HARMIK_LANGUAGE");
    if (!chosen.isEmpty())
        return LanguageOfLocale(chosen, {}, {});
    return LanguageOfLocale(qEnvironmentVariable("LC_ALL"), qEnvironmentVariable("LC_MESSAGES"),
                            qEnvironmentVariable("LANG"));
}

QString StringTablePath(const QString& language) {
    return QStringLiteral(":/strings/%1.tsv").arg(language);
}

QString UnescapeTableText(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\\') && i + 1 < text.size()) {
            const QChar n = text[i + 1];
            if (n == QLatin1Char('t') || n == QLatin1Char('n') || n == QLatin1Char('\\')) {
                out.append(n == QLatin1Char('t')   ? QChar(u'\t')
                           : n == QLatin1Char('n') ? QChar(u'\n')
                                                   : QChar(u'\\'));
                ++i;
                continue;
            }
        }
        out.append(c);
    }
    return out;
}

QString LoadStr(int id) {
    return table().value(id);
}

QString FormatStr(int id, const QVariantList& args) {
    const QString pattern = LoadStr(id);
    QString out;
    int next = 0;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != QLatin1Char('%')) {
            out.append(pattern[i]);
            continue;
        }
        if (i + 1 < pattern.size() && pattern[i + 1] == QLatin1Char('%')) {
            out.append(QLatin1Char('%'));
            ++i;
            continue;
        }
        qsizetype j = i + 1;
        while (j < pattern.size() && QStringLiteral("0123456789.-+ ").contains(pattern[j]))
            ++j;
        if (j >= pattern.size()) {
            out.append(pattern.mid(i));
            break;
        }
        const QString conversion = pattern.mid(i, j - i + 1);
        out.append(next < args.size() ? formatOne(conversion, args[next]) : conversion);
        ++next;
        i = j;
    }
    return out;
}

HintParts SplitHint(const QString& hint) {
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    if (bar < 0)
        return {hint, hint};
    return {hint.left(bar), hint.mid(bar + 1)};
}

} // namespace harmik
