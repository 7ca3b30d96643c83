// Error statistics, the statistics window and the top-ten window.
#include "app/error_statistics.h"
#include "app/statistics_window.h"
#include "app/top_ten_window.h"
#include "userdata/messages.h"
#include "userdata/strings.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <vector>

using namespace harmik;

namespace {

const ItemNameList& names() {
    static const ItemNameList list =
        BuildItemNameList([](int id) { return LoadStr(id).toStdString(); });
    return list;
}

ErrorStatistics statsWithCounts(const std::vector<std::pair<int, int>>& itemCounts) {
    ErrorStatistics s;
    ClearErrorStatistics(s);
    for (const auto& [item, count] : itemCounts)
        for (int i = 0; i < count; ++i)
            AddError(s, item);
    return s;
}

} // namespace

TEST(ErrorStatistics, SortKeepsTheOrderOfEqualCounts) {
    ErrorStatistics s = statsWithCounts({{3, 2}, {7, 5}, {9, 2}, {20, 5}, {50, 1}, {1, 2}});
    AddError(s, 51); // outside the table: not counted, no harm done
    AddError(s, -1);
    SortErrorStatistics(s);
    // Items without errors follow in their own order.
    const std::vector<std::pair<int, int>> expected = {{7, 5}, {20, 5}, {1, 2}, {3, 2},
                                                       {9, 2}, {50, 1}, {0, 0}, {2, 0}};
    std::vector<std::pair<int, int>> sorted;
    for (std::size_t k = 0; k < expected.size(); ++k)
        sorted.emplace_back(s[k].item, s[k].count);
    EXPECT_EQ(sorted, expected);
    EXPECT_EQ(ErrorRowCount(s), 6);
    EXPECT_TRUE(HasErrors(s));
}

TEST(ErrorStatistics, RowTextsNameTheItemOfEachModule) {
    const ItemNameList& n = names();
    EXPECT_EQ(ErrorRowText(ModuleId::Intervals, 5, n), QStringLiteral("Ч.кварта"));
    EXPECT_EQ(ErrorRowText(ModuleId::Intervals, 12, n), QStringLiteral("Октава"));
    EXPECT_EQ(ErrorRowText(ModuleId::Intervals, 14, n), QStringLiteral("Б.секунда (Б.нона)"));
    EXPECT_EQ(ErrorRowText(ModuleId::Intervals, 19, n), QStringLiteral("Ч.квинта (+1 Диапазон)"));
    EXPECT_EQ(ErrorRowText(ModuleId::Intervals, 24, n), QStringLiteral("2 Октавы"));
    EXPECT_EQ(ErrorRowText(ModuleId::Intervals, 31, n), QStringLiteral("Ч.квинта (+2 Октавы)"));
    EXPECT_EQ(ErrorRowText(ModuleId::Inversions, 15, n), QStringLiteral("минор 1. обращ."));
    EXPECT_EQ(ErrorRowText(ModuleId::Inversions, 7, n), QStringLiteral("мажор осн.вид"));
    EXPECT_EQ(ErrorRowText(ModuleId::Chords, 0, n), QString::fromStdString(n.Items[36 + 28]));
    EXPECT_EQ(ErrorRowText(ModuleId::Melodies, 0, n), QStringLiteral("Ошибки в мелодиях:"));
    EXPECT_EQ(ErrorRowText(ModuleId::Rhythm, 0, n), QStringLiteral("Ритм"));
    EXPECT_TRUE(ErrorRowText(ModuleId::Scales, 3, n).size() > 0);
}

TEST(StatisticsWindow, TaskWithoutErrorsSaysSoAndShowsTheScore) {
    ErrorStatistics s = statsWithCounts({});
    SortErrorStatistics(s);
    TStatistikForm w(s, ModuleId::Intervals, 1234, names());
    EXPECT_EQ(w.Headline(), QStringLiteral("Нет ошибок.. Очень хорошо!"));
    EXPECT_TRUE(w.ErrorRows().isEmpty());
    EXPECT_EQ(w.LabRotTop()->text(), QStringLiteral("Результаты"));
    EXPECT_FALSE(w.OKBtn()->isHidden());
    EXPECT_TRUE(w.BitBtn1()->isHidden() && w.BitBtn2()->isHidden() && w.BitBtn3()->isHidden());
    w.show();
    w.OKBtn()->click();
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_FALSE(w.isVisible());
}

TEST(StatisticsWindow, ListsAtMostSevenMostMissedItemsFirst) {
    ErrorStatistics s =
        statsWithCounts({{1, 1}, {2, 9}, {3, 1}, {4, 1}, {5, 3}, {6, 1}, {7, 1}, {8, 1}, {9, 1}});
    SortErrorStatistics(s);
    TStatistikForm w(s, ModuleId::Intervals, 77, names());
    EXPECT_EQ(w.Headline(), QStringLiteral("Ошибки"));
    const QStringList rows = w.ErrorRows();
    ASSERT_EQ(rows.size(), 7);
    EXPECT_EQ(rows[0], QStringLiteral("Б.секунда"));
    EXPECT_EQ(rows[1], QStringLiteral("Ч.кварта"));
    EXPECT_EQ(rows[2], QStringLiteral("М.секунда"));
    EXPECT_EQ(rows[6], QStringLiteral("Ч.квинта"));
}

TEST(StatisticsWindow, TutorRecommendationFollowsTheThresholds) {
    // Percentage equal to the pass mark goes on; one below repeats.
    TutorChoiceView v = MakeTutorChoice({false, 2, 3, 80, 50, 80});
    EXPECT_EQ(v.recommended, ChoiceNext);
    EXPECT_TRUE(v.nextEnabled);
    EXPECT_TRUE(v.backEnabled);
    EXPECT_EQ(v.next, QStringLiteral("     Переходите на следующий уровень!"));
    v = MakeTutorChoice({false, 2, 3, 79, 50, 80});
    EXPECT_EQ(v.recommended, ChoiceRepeat);
    EXPECT_FALSE(v.nextEnabled);
    EXPECT_EQ(v.repeat, QStringLiteral("Повторите упражнение"));
    EXPECT_EQ(v.back, QStringLiteral("Предыдущее задание     "));
    // First task of a level: no way back, so a flunk recommends repeating.
    v = MakeTutorChoice({false, 1, 3, 10, 50, 80});
    EXPECT_FALSE(v.backEnabled);
    EXPECT_EQ(v.recommended, ChoiceRepeat);
    v = MakeTutorChoice({false, 2, 3, 10, 50, 80});
    EXPECT_EQ(v.recommended, ChoiceBack);
    EXPECT_EQ(v.back, QStringLiteral("Выберите более легкое упражнение     "));
    // A level judgement names the levels and sums up.
    v = MakeTutorChoice({true, 4, 3, 10, 50, 80});
    EXPECT_EQ(v.back, QStringLiteral("Тренер рекомендует уровень ниже... (2)     "));
    EXPECT_EQ(v.repeat, QStringLiteral("Этот же уровень 3"));
    EXPECT_EQ(v.next, QStringLiteral("     Продолжить на уровне 4"));
    EXPECT_EQ(v.response,
              QStringLiteral("Для следующего уровня необходимо  80%. У Вас 10% верных ответов."));
    EXPECT_FALSE(MakeTutorChoice({true, 4, 1, 10, 50, 80}).backEnabled);
}

TEST(StatisticsWindow, TutorButtonsSetTheChoiceAndClose) {
    ErrorStatistics s = statsWithCounts({{4, 2}});
    SortErrorStatistics(s);
    TStatistikForm w(s, ModuleId::Intervals, 500, names());
    w.LevelMode = true;
    w.ShowTutorChoice(MakeTutorChoice({true, 4, 3, 90, 50, 80}));
    EXPECT_TRUE(w.OKBtn()->isHidden());
    EXPECT_TRUE(!w.BitBtn3()->isHidden() && w.BitBtn3()->isEnabled());
    EXPECT_FALSE(w.ResponseLabel()->isHidden());
    EXPECT_TRUE(w.ErrorRows().isEmpty()); // the summary stands instead of the errors
    EXPECT_FALSE(w.grab().isNull());
    w.show();
    w.BitBtn3()->click();
    EXPECT_EQ(int(w.Choice), int(ChoiceNext));
    EXPECT_FALSE(w.isVisible());

    // Through the modal call, as the task end uses it.
    const TutorChoiceView view = MakeTutorChoice({false, 3, 1, 10, 50, 80});
    QTimer::singleShot(0, [] {
        auto* open = qobject_cast<TStatistikForm*>(QApplication::activeModalWidget());
        if (!open)
            return;
        EXPECT_TRUE(open->ResponseLabel()->isHidden());
        open->BitBtn1()->click();
    });
    EXPECT_EQ(
        int(ShowStatisticsWindow(s, ModuleId::Intervals, 500, names(), nullptr, false, &view)),
        int(ChoiceBack));
}

namespace {

class TopTenTest : public ::testing::Test {
protected:
    void SetUp() override {
        table = DefaultTopTen(LoadStr(500));
        SetMessageHook([this](const MessageRequest& r) {
            questions.push_back(r);
            return answer;
        });
    }
    void TearDown() override { SetMessageHook({}); }

    // Runs TopTenCheck with `drive` acting on the window once it is open. Returns the place.
    int check(int score, int module, const std::function<void(TFormTop10&)>& drive) {
        // A timer that finds the open window drives it; a score without a place opens none.
        auto driven = std::make_shared<bool>(false);
        auto* timer = new QTimer;
        timer->setSingleShot(true);
        QObject::connect(timer, &QTimer::timeout, [driven, drive] {
            auto* w = qobject_cast<TFormTop10*>(QApplication::activeModalWidget());
            if (!w)
                return;
            *driven = true;
            drive(*w);
            if (w->isVisible()) // never leave a test hanging in exec()
                w->reject();
        });
        timer->start(0);
        const int place = TopTenCheck(table, score, module, nullptr);
        delete timer;
        EXPECT_EQ(*driven, place != 0);
        return place;
    }

    static void typeNameAndFinish(TFormTop10& w, const QString& name) {
        w.EditNavn()->setText(name);
        w.OKBtn()->click(); // enters the name, window stays
        EXPECT_TRUE(w.isVisible());
        w.OKBtn()->click(); // closes
        EXPECT_FALSE(w.isVisible());
    }

    int score(int record) const {
        return table.records[static_cast<std::size_t>(record - 1)].score;
    }
    QString name(int record) const {
        return table.records[static_cast<std::size_t>(record - 1)].name.text();
    }

    TopTenTable table;
    MessageAnswer answer = MessageAnswer::No;
    std::vector<MessageRequest> questions;
};

} // namespace

TEST_F(TopTenTest, EqualScoreDoesNotEnterOneMoreTakesPlaceTen) {
    EXPECT_EQ(TopTenPlace(table, 4001), 1);
    EXPECT_EQ(TopTenPlace(table, 0), 0);
    EXPECT_EQ(check(400, 1, [](TFormTop10&) {}), 0);
    EXPECT_EQ(score(10), 400);

    const QString oldTenth = name(10);
    const int place = check(401, 3, [](TFormTop10& w) {
        EXPECT_EQ(w.EnteringPlace(), 10);
        typeNameAndFinish(w, QStringLiteral("Ученик"));
    });
    EXPECT_EQ(place, 10);
    EXPECT_EQ(name(10), QStringLiteral("Ученик"));
    EXPECT_EQ(score(10), 401);
    EXPECT_EQ(int(table.records[9].module), 3);
    EXPECT_EQ(DaysToDate(table.records[9].date), QDate::currentDate());
    EXPECT_EQ(score(9), 800);
    for (int r = 1; r <= 10; ++r)
        EXPECT_NE(name(r), oldTenth);
}

TEST_F(TopTenTest, EntryAtPlaceThreeShiftsTheRestAndIsOfferedNextTime) {
    std::vector<QString> before;
    for (int r = 1; r <= 10; ++r)
        before.push_back(name(r));
    const int place = check(3500, 2, [&](TFormTop10& w) {
        EXPECT_EQ(w.EditNavn()->text(), name(11)); // the last name typed is offered
        EXPECT_FALSE(w.CancelBtn()->isHidden());
        // While typing, the list is shown as it will be.
        const QVector<TopTenRowText> rows = w.ShownRows();
        EXPECT_EQ(rows[1].name, before[1]);
        EXPECT_EQ(rows[2].score, QStringLiteral("03500"));
        EXPECT_EQ(rows[3].name, before[2]);
        EXPECT_EQ(rows[9].name, before[8]);
        EXPECT_FALSE(w.grab().isNull());
        typeNameAndFinish(w, QStringLiteral("Анна Петрова"));
    });
    ASSERT_EQ(place, 3);
    EXPECT_EQ(name(2), before[1]);
    EXPECT_EQ(name(3), QStringLiteral("Анна Петрова"));
    EXPECT_EQ(score(3), 3500);
    for (int r = 4; r <= 10; ++r)
        EXPECT_EQ(name(r), before[static_cast<std::size_t>(r - 2)]) << r;
    EXPECT_EQ(score(10), 800);

    check(3000, 2, [](TFormTop10& w) {
        EXPECT_EQ(w.EnteringPlace(), 5);
        EXPECT_EQ(w.EditNavn()->text(), QStringLiteral("Анна Петрова"));
        w.CancelBtnClick();
        w.OKBtnClick();
    });
}

TEST_F(TopTenTest, CancelOrEscapeEndTheEntryReturnEntersEscapeElsewhereCloses) {
    TFormTop10 w(table);
    SetTopTenCandidate(table, 5000, 4, QDate(2026, 3, 1));
    w.show();
    w.BeginNameEntry(1);
    w.EditNavn()->setText(QStringLiteral("Никто"));
    w.CancelBtn()->click();
    EXPECT_TRUE(w.EditNavn()->isHidden() && w.CancelBtn()->isHidden());
    w.BeginNameEntry(1);
    QTest::keyClick(w.EditNavn(), Qt::Key_Escape);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.EnteringPlace(), 0);
    EXPECT_EQ(score(1), 4000);
    EXPECT_EQ(w.ShownRows()[0].score, QStringLiteral("04000")); // the list as it was

    w.BeginNameEntry(1);
    w.EditNavn()->setText(QStringLiteral("Клава"));
    QTest::keyClick(w.EditNavn(), Qt::Key_Return); // acts as OK
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(name(1), QStringLiteral("Клава"));
    EXPECT_EQ(score(1), 5000);
    EXPECT_EQ(w.ShownRows()[0].module, QStringLiteral("Обращения"));

    QTest::keyClick(&w, Qt::Key_Escape); // elsewhere Escape is OK, which closes
    EXPECT_FALSE(w.isVisible());
}

TEST_F(TopTenTest, ClearingAsksThenEmptiesTenPlacesAndTheLastName) {
    SetTopTenCandidate(table, 1234, 5, QDate(2026, 1, 2));
    const TopTenRecord candidate = table.records[11];
    TFormTop10 w(table, nullptr, QDate(2026, 12, 6));
    EXPECT_EQ(w.BtnSletTop10()->text(), QStringLiteral("&Обнулить"));

    answer = MessageAnswer::No;
    w.BtnSletTop10()->click();
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0].text, QStringLiteral("Вы хотите повторно установить Top10?"));
    EXPECT_EQ(questions[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(score(1), 4000);

    answer = MessageAnswer::Yes;
    w.BeginNameEntry(2);
    w.BtnSletTop10Click();
    EXPECT_EQ(w.EnteringPlace(), 0);
    for (const TopTenRowText& row : w.ShownRows()) {
        EXPECT_EQ(row.name, QStringLiteral(". . . . . . H A R M I K  . . . . . ."));
        EXPECT_EQ(row.score, QStringLiteral("00000"));
        EXPECT_EQ(row.date, QStringLiteral("06.12.2026"));
        EXPECT_EQ(row.module, QStringLiteral("Интервалы"));
    }
    EXPECT_EQ(name(11), QString());
    EXPECT_EQ(std::memcmp(&table.records[11], &candidate, sizeof candidate), 0);
    EXPECT_FALSE(w.grab().isNull());
}

TEST_F(TopTenTest, DamagedRecordsAreShownWithoutModuleOrDate) {
    table.records[0].module = 0;
    table.records[1].module = 200;
    table.records[2].date = 1e300;
    table.records[3].date = -std::numeric_limits<double>::infinity();
    TFormTop10 w(table);
    const QVector<TopTenRowText> rows = w.ShownRows();
    EXPECT_EQ(rows[0].module, QString());
    EXPECT_EQ(rows[1].module, QString());
    EXPECT_EQ(rows[2].date, QString());
    EXPECT_EQ(rows[3].date, QString());
    EXPECT_EQ(rows[4].date, QStringLiteral("24.12.1998"));
    EXPECT_EQ(rows[4].module, QStringLiteral("Интервалы"));

    // The picture: marble under the text, dark headings, light outer frame.
    const QImage picture = w.FormPaint();
    EXPECT_EQ(picture.size(), w.size());
    EXPECT_EQ(picture.pixelColor(0, 0), QColor(Qt::white));
    EXPECT_EQ(picture.pixelColor(picture.width() - 1, picture.height() - 1), QColor(Qt::gray));
    EXPECT_GT(qGray(picture.pixel(300, 360)), 180);
    w.show();
    EXPECT_FALSE(w.grab().isNull());
}
