// The program's string table (data/strings/ru.tsv, compiled in as a resource) read through
// LoadStr: the texts the program must show word for word, the hint and menu conventions, the
// default top-ten names and the entries that carry escapes or placeholders.
#include <gtest/gtest.h>

#include <QKeySequence>
#include <QString>

#include <string>
#include <vector>

#include "userdata/strings.h"

namespace harmik {
namespace {

struct Entry {
    int Id;
    const char* Text;
};

std::string load(int id) {
    return LoadStr(id).toStdString();
}

void expectTexts(const std::vector<Entry>& entries) {
    for (const Entry& e : entries) {
        SCOPED_TRACE(e.Id);
        EXPECT_EQ(load(e.Id), std::string(e.Text));
    }
}

// The printf conversions of a text in order ("%5.5d" counts as "d"), "%%" skipped.
std::string conversions(const QString& text) {
    std::string out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('%'))
            continue;
        qsizetype j = i + 1;
        while (j < text.size() && QStringLiteral("0123456789.-+ ").contains(text[j]))
            ++j;
        if (j < text.size() && text[j] != QLatin1Char('%'))
            out += text[j].toLatin1();
        i = j;
    }
    return out;
}

// ---------------------------------------------------------------------------------------------
// Look-up itself

TEST(StringTableLookup, IdZeroIsTheMissingTextMarkerAndUnknownIdsAreEmpty) {
    EXPECT_EQ(load(0), "- txt missing -");
    EXPECT_TRUE(LoadStr(7).isEmpty());    // below the first section
    EXPECT_TRUE(LoadStr(5002).isEmpty()); // the drop-down "Файлы" has no shortcut entry
    EXPECT_TRUE(LoadStr(5209).isEmpty()); // beyond the program's own ids
    EXPECT_TRUE(LoadStr(65535).isEmpty());
    EXPECT_TRUE(LoadStr(-1).isEmpty());
    EXPECT_FALSE(LoadStr(5208).isEmpty()); // the last menu status text is there
}

TEST(StringTableLookup, SectionMarkersBeginWithRem) {
    EXPECT_EQ(load(100), "REM *********************** INTERVALNAMES **************************");
    for (int id : {129,  170,  249,  299,  350,  399,  499,  649,  699,  1149, 1299,
                   1349, 1449, 1499, 1549, 1599, 1699, 1998, 2999, 3198, 3499, 5000}) {
        SCOPED_TRACE(id);
        EXPECT_TRUE(LoadStr(id).startsWith(QStringLiteral("REM ")));
    }
}

// ---------------------------------------------------------------------------------------------
// Texts quoted word for word

TEST(StringTableQuoted, MessagesCaptionsNamesAndHints) {
    expectTexts({
        // messages and warnings
        {510, "Только одна программа Harmik может выполняться!"},
        {511, "Закончить работу с Harmik?"},
        {653, "Ошибка (не Harmik документ, или неверная версия). Пропустите и попробуйте "
              "создать новый документ."},
        {657, "Ошибка (это не файл Harmik,или неверная версия). Текущие установки "
              "неправильные."},
        {1110, "Выберите вид упражнения"},
        {1160, "Вы хотите повторно установить Top10?"},
        {2000, "У Вас нет %s устройства!"},
        {2006, "Используйте MIDI-карту и для MIDI ВЫХ.и для MIDI THRU"},
        {2008, "У Вас нет MIDI OUT устройства! Если Вы хотите обойтись без MIDI,выберите "
               "\"PC-динамик\" в MIDI-установках."},
        {2020, "Упр.Тренера не найдены! Файл (%s) удален или поврежден. Создайте новые "
               "пользовательские данные."},
        {2035, "Harmik не может найти Ваш Интернет browser"},
        // menu captions
        {5001, "&Файлы"},
        {5004, "Польз.&Данные"},
        {5019, "В&ыход из Harmik"},
        {5033, "Об&ращения"},
        {5036, "&Последовательности"},
        {5038, "Старт/Стоп&Тренер"},
        {5062, "MIDI/Ф-но&Прослушивание"},
        {5065, "Показать заголовок"},
        {5121, "Harmik в &Интернете.."},
        // name lists
        {101, "Унисон"},
        {113, "Октава"},
        {117, "(Б.децима)"},
        {120, "Диапазон"},
        {141, "Миксолидийский b9,b13"},
        {143, "VII Гарм. минор"},
        {182, "м.маж.j7"},
        {217, "m7(b5) add11"},
        {256, "m7(b5)"},
        {260, "осн.вид"},
        {261, "%d. обращ."},
        {351, "Мажор(Ионийск.)"},
        {377, "Клас.кратко"},
        {470, "Alla breve"},
        // windows, dialogs and buttons
        {600, "Инт&ервалы"},
        {652, "Harmik данные( .HKP)|*.HKP"},
        {656, "Упражнения Harmik (.HKS)|*.HKS"},
        {1152, "Нет ошибок.. Очень хорошо!"},
        {1203, "Показать&!"},
        {1208, "&Дальше.."},
        {1384, "1-я доля::"},
        {1517, "Нем.- Итал.нотация (B = H)"},
        {1540, "Другие установки"},
        {1600, "НАСТРОЙТЕСЬ"},
        {1620, "Harmik Top10"},
        {1700, "Harmik Данные Польз."},
        {1702, "(Ваше имя)"},
        // the tutor
        {3500, "Уровень %d"},
        {3520, "Тренер рекомендует уровень ниже... (%d)"},
        {3540, "Для следующего уровня необходимо  %d%s. У Вас %d%s верных ответов."},
        {3557, "У Вас %d %s из %s. %s!"},
        {3570, "Уровень %d     Заданий %d"},
        {3575, "Щелкните мышкой по этой панели"},
        // hints: tooltip|status text
        {447, "Пред.размер|Размеры 2/2, 3/8, 3/4, 4/4, Пропустить размеры, 5/4, 6/8, 7/8"},
        {1450, "Прослушивание вкл/выкл|Использование вкл/выкл.Вы можете играть на клавиатуре "
               "без Harmik \"прослушивание\"."},
        {3010, "Щелкните на тексте левой кнопкой - удерживайте ее для мульти-выбора.  "
               "Заметка: для воспр. щелкните правой кнопкой."},
        {3036, "Нет входа - используйте клавишу shift|На нотоносце показан такт, ритм и, "
               "возможно, оценка"},
        {3048, "Кнопка паники|Сброс - и тишина - для всех MIDI устройств. Это полезно, если "
               "ноты \"зависли\"."},
        {3102, "Остановка Тренера|Возвр. к обычн.\"свободному\"режиму"},
        {3206, "Квинтой НИЖЕ|Смена ключа по квинтовому кругу влево"},
        // the program's own additions
        {2041, "Не удалось сохранить файл %s: %s"},
        {1361, "Встроенный синтезатор (FluidSynth)"},
    });
    EXPECT_TRUE(LoadStr(2040).contains(QStringLiteral("fluid-soundfont-gm")));
}

TEST(StringTableQuoted, DiminishedScaleNamesCarryTheHalfSign) {
    const QString half(QChar(0x00BD));
    EXPECT_EQ(LoadStr(151), QStringLiteral("Ум.(1-") + half + QStringLiteral(")"));
    EXPECT_EQ(LoadStr(152), QStringLiteral("Ум.(") + half + QStringLiteral("-1)"));
    for (int id = 130; id <= 157; ++id) {
        SCOPED_TRACE(id);
        EXPECT_FALSE(LoadStr(id).contains(QChar(0x0405))); // the code-page accident "Ѕ"
    }
}

// ---------------------------------------------------------------------------------------------
// Hints: short part for the tooltip, long part for the status panel

TEST(StringTableHints, QuotedHintsSplitAtTheirFirstBar) {
    const HintParts fork = SplitHint(LoadStr(3040));
    EXPECT_EQ(fork.Short.toStdString(), "Настройка");
    EXPECT_EQ(fork.Long.toStdString(), "Настройтесь!ЛЯ = 440 герц.");

    const HintParts stop = SplitHint(LoadStr(3101));
    EXPECT_EQ(stop.Short.toStdString(), "Стоп Тренер");
    EXPECT_EQ(stop.Long.toStdString(), "Первое - Вы должны закончить текущее упражнение");

    // The quotation marks inside a long part stay part of it.
    EXPECT_EQ(SplitHint(LoadStr(3048)).Long.toStdString(),
              "Сброс - и тишина - для всех MIDI устройств. Это полезно, если ноты \"зависли\".");
}

TEST(StringTableHints, ThePanelHintIsJoinedFromSelectionAndAdvice) {
    // The answer panel's idle hint is 3008 + "|" + 3010: its tooltip is "Выбор".
    const HintParts panel = SplitHint(LoadStr(3008) + QLatin1Char('|') + LoadStr(3010));
    EXPECT_EQ(panel.Short.toStdString(), "Выбор");
    EXPECT_EQ(panel.Long, LoadStr(3010));
    EXPECT_FALSE(LoadStr(3010).contains(QLatin1Char('|')));
}

TEST(StringTableHints, EveryControlHintHasATooltipAndAStatusText) {
    // Hints of the main window, its melody and rhythm panels and the dialogs.
    const std::vector<int> ids = {
        401,  403,  405,  407,  409,  411,  413,  415,  417,  419,  447,  448,  1365, 1367,
        1369, 1371, 1373, 1387, 1394, 1395, 1440, 1441, 1442, 1443, 1444, 1450, 1451, 1452,
        1453, 1550, 1551, 1552, 1560, 1561, 1562, 1563, 1564, 1565, 1566, 1567, 1615, 1616,
        1617, 1618, 1720, 1721, 1725, 1731, 1733, 1735, 1737, 1738, 3000, 3001, 3002, 3003,
        3004, 3005, 3007, 3009, 3011, 3012, 3013, 3014, 3015, 3016, 3017, 3018, 3020, 3021,
        3022, 3023, 3024, 3025, 3026, 3035, 3036, 3037, 3040, 3042, 3045, 3046, 3047, 3048,
        3049, 3055, 3056, 3057, 3058, 3059, 3060, 3070, 3100, 3101, 3102, 3103, 3106, 3199,
        3200, 3201, 3202, 3203, 3205, 3206, 3210, 3211, 3505, 3576};
    for (int id : ids) {
        SCOPED_TRACE(id);
        const QString hint = LoadStr(id);
        ASSERT_TRUE(hint.contains(QLatin1Char('|')));
        const HintParts parts = SplitHint(hint);
        EXPECT_FALSE(parts.Short.trimmed().isEmpty());
        EXPECT_FALSE(parts.Long.trimmed().isEmpty());
    }
}

// ---------------------------------------------------------------------------------------------
// Menus

struct MenuItem {
    const char* Name;
    int Caption;
    int Shortcut; // 0: no shortcut entry (drop-down, or the layout's Alt+digit)
    int Status;
};

const std::vector<MenuItem>& menuItems() {
    static const std::vector<MenuItem> items = {
        {"mFiler", 5001, 0, 5003},
        {"mSeRetProfil", 5004, 5005, 5006},
        {"mGemovelse", 5013, 5014, 5015},
        {"mHentovelse", 5016, 5017, 5018},
        {"mAfslutHarmik", 5019, 5020, 5021},
        {"mModuler", 5029, 0, 5200},
        {"mIntervaller", 5030, 0, 5201},
        {"mSkalaer", 5031, 0, 5202},
        {"mAkkorder", 5032, 0, 5203},
        {"mOmvendinger", 5033, 0, 5204},
        {"mProgression", 5036, 0, 5208},
        {"mMelodier", 5034, 0, 5205},
        {"mRytme", 5035, 0, 5206},
        {"mTutor", 5038, 5039, 5207},
        {"mPointMenu", 5040, 0, 5042},
        {"mTop10", 5043, 5044, 5045},
        {"mIndstilMenu", 5050, 0, 5052},
        {"mMidi", 5053, 5054, 5055},
        {"mDiverse", 5056, 5057, 5058},
        {"mVisTitel", 5065, 5066, 5067},
        {"mMidiThru", 5059, 5060, 5061},
        {"mMidiKlaverLyt", 5062, 5063, 5064},
        {"mHelp", 5100, 0, 5102},
        {"mIndhold", 5103, 5104, 5105},
        {"mTastatur", 5106, 5107, 5108},
        {"mHelpon", 5109, 5110, 5111},
        {"mHurtiggennemgang", 5112, 5113, 5114},
        {"mVisnoder", 5124, 5125, 5126},
        {"mOmHarmik", 5118, 5119, 5120},
        {"mHomepage", 5121, 5122, 5123},
    };
    return items;
}

TEST(StringTableMenus, EveryItemHasCaptionShortcutAndStatusText) {
    for (const MenuItem& item : menuItems()) {
        SCOPED_TRACE(item.Name);
        const QString caption = LoadStr(item.Caption);
        EXPECT_FALSE(caption.trimmed().isEmpty());
        EXPECT_FALSE(caption.contains(QLatin1Char('|')));
        if (item.Shortcut != 0) {
            EXPECT_FALSE(LoadStr(item.Shortcut).isEmpty());
        }
        const QString status = LoadStr(item.Status);
        ASSERT_TRUE(status.startsWith(QLatin1Char('|')));
        const HintParts parts = SplitHint(status);
        EXPECT_TRUE(parts.Short.isEmpty()); // no tooltip, only the status panel
        EXPECT_FALSE(parts.Long.trimmed().isEmpty());
    }
}

TEST(StringTableMenus, ShortcutTextsConvertToTheirKeys) {
    const struct {
        int Id;
        QKeySequence Keys;
    } cases[] = {
        {5005, QKeySequence(Qt::CTRL | Qt::Key_P)},
        {5014, QKeySequence(Qt::Key_F2)},
        {5017, QKeySequence(Qt::Key_F3)},
        {5020, QKeySequence(Qt::ALT | Qt::Key_F4)},
        {5039, QKeySequence(Qt::CTRL | Qt::Key_E)},
        {5044, QKeySequence(Qt::CTRL | Qt::Key_T)},
        {5054, QKeySequence(Qt::CTRL | Qt::Key_M)},
        {5057, QKeySequence(Qt::CTRL | Qt::Key_O)},
        {5063, QKeySequence(Qt::Key_L)},
        {5125, QKeySequence(Qt::CTRL | Qt::Key_N)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Id);
        const QKeySequence parsed =
            QKeySequence::fromString(LoadStr(c.Id), QKeySequence::PortableText);
        EXPECT_TRUE(parsed == c.Keys) << parsed.toString().toStdString();
    }
}

TEST(StringTableMenus, ItemsWithoutShortcutSayNone) {
    for (int id : {5060, 5066, 5104, 5107, 5110, 5113, 5119, 5122}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(load(id), "(Нет)");
    }
}

// ---------------------------------------------------------------------------------------------
// Entries with a structure of their own

TEST(StringTableStructure, DefaultTopTenNamesAreTwelvePiecesOfTwenty) {
    const QString all = LoadStr(500);
    ASSERT_EQ(all.size(), 240);
    std::vector<QString> names;
    for (int i = 0; i < 12; ++i) {
        SCOPED_TRACE(i);
        const QString piece = all.mid(i * 20, 20);
        const QString name = piece.trimmed();
        EXPECT_FALSE(name.isEmpty());
        EXPECT_LE(name.size(), 20);
        EXPECT_EQ(piece, name.leftJustified(20, QLatin1Char(' '))); // padded at the end only
        for (const QString& earlier : names)
            EXPECT_NE(name, earlier);
        names.push_back(name);
    }
}

TEST(StringTableStructure, EscapedLineBreaksArriveAsLineBreaks) {
    for (int id : {1401, 1715}) {
        SCOPED_TRACE(id);
        const QString text = LoadStr(id);
        EXPECT_TRUE(text.contains(QLatin1Char('\n')));
        EXPECT_FALSE(text.contains(QStringLiteral("\\n")));
        EXPECT_FALSE(text.contains(QLatin1Char('\t')));
    }
}

// The texts quoted word for word above carry their conversions already.
TEST(StringTableStructure, FormatPatternsTakeTheArgumentsTheirCallersPass) {
    const struct {
        int Id;
        const char* Conversions;
    } cases[] = {
        {382, "d"},  {383, "d"},   {1003, "dd"}, {2021, "s"}, {3521, "d"},
        {3522, "d"}, {3525, "d"},  {3526, "d"},  {3527, "d"}, {3555, "dss"},
        {3571, "d"}, {2043, "sd"}, {2044, "ss"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Id);
        EXPECT_EQ(conversions(LoadStr(c.Id)), std::string(c.Conversions));
    }
}

TEST(StringTableStructure, ModuleTitlesAndAnswerPanelCaptionsPerModule) {
    // Title string 1707 + module, answer panel caption, menu caption; the access-key "&"
    // removed they name the same module.
    const struct {
        int Title;
        int Panel;
        int Menu;
    } modules[] = {{1708, 600, 5030}, {1709, 601, 5031}, {1710, 602, 5032},
                   {1711, 607, 5033}, {1713, 603, 5034}, {1714, 604, 5035}};
    for (const auto& m : modules) {
        SCOPED_TRACE(m.Title);
        const QString title = LoadStr(m.Title);
        EXPECT_EQ(QString(LoadStr(m.Panel)).remove(QLatin1Char('&')), title);
        EXPECT_EQ(QString(LoadStr(m.Menu)).remove(QLatin1Char('&')), title);
    }
    EXPECT_EQ(load(1712), "Последоват."); // progressions: the title is shortened
    EXPECT_EQ(QString(LoadStr(605)).remove(QLatin1Char('&')).toStdString(), "Последовательности");
}

} // namespace
} // namespace harmik
