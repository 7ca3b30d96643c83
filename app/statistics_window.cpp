#include "app/statistics_window.h"

#include "app/score_state.h"
#include "userdata/strings.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <algorithm>

namespace harmik {
namespace {

constexpr int kStrTitle = 1150;
constexpr int kStrErrors = 1151;
constexpr int kStrNoErrors = 1152;
constexpr int kStrScore = 1622;
constexpr int kStrLevelSummary = 3540;

// Tutor texts: task judgement, then level judgement.
constexpr int kStrTaskBackRecommended = 3510;
constexpr int kStrTaskRepeatRecommended = 3511;
constexpr int kStrTaskNextRecommended = 3512;
constexpr int kStrTaskBack = 3515;
constexpr int kStrTaskRepeat = 3516;
constexpr int kStrTaskNext = 3517;
constexpr int kLevelTextOffset = 10; // 3520.. are the level forms of 3510..

constexpr int kWindowWidth = 340;
constexpr int kButtonTop = 214;
constexpr int kButtonHeight = 26;
constexpr int kRowTop = 60;
constexpr int kRowStep = 18;
constexpr int kRowTextX = 65;
constexpr int kRowCountX = 255;

const QColor kMaroon(128, 0, 0);
const QColor kGreen(0, 128, 0);

QString choiceText(int taskId, bool levelMode, int level) {
    if (!levelMode)
        return LoadStr(taskId);
    return FormatStr(taskId + kLevelTextOffset, {level});
}

void drawTextAt(QPainter& p, int x, int y, const QString& text) {
    p.drawText(QRect(x, y, 1000, 100), Qt::AlignLeft | Qt::AlignTop, text);
}

} // namespace

RotatedTitle::RotatedTitle(QWidget* parent) : QWidget(parent) {}

void RotatedTitle::setText(const QString& text) {
    text_ = text;
    update();
}

void RotatedTitle::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QFont f = font();
    f.setPixelSize(std::max(12, width() * 2 / 3));
    f.setBold(true);
    p.setFont(f);
    p.setPen(kMaroon);
    p.translate(0, height());
    p.rotate(-90);
    p.drawText(QRect(0, 0, height(), width()), Qt::AlignCenter, text_);
}

TutorChoiceView MakeTutorChoice(const TutorJudgementInput& in) {
    const bool canGoBack = (!in.levelMode && in.task > 1) || (in.levelMode && in.level > 1);
    int back = kStrTaskBack;
    int repeat = kStrTaskRepeat;
    int next = kStrTaskNext;
    TutorChoiceView view;
    view.backEnabled = canGoBack;
    if (in.percentage < in.flunkPercent && canGoBack) {
        back = kStrTaskBackRecommended;
        view.recommended = ChoiceBack;
    } else if (in.percentage < in.passPercent) {
        repeat = kStrTaskRepeatRecommended;
        view.recommended = ChoiceRepeat;
    } else {
        next = kStrTaskNextRecommended;
        view.recommended = ChoiceNext;
        view.nextEnabled = true;
    }
    const QString blanks(5, QLatin1Char(' '));
    view.back = choiceText(back, in.levelMode, in.level - 1) + blanks;
    view.repeat = choiceText(repeat, in.levelMode, in.level);
    view.next = blanks + choiceText(next, in.levelMode, in.level + 1);
    if (in.levelMode)
        view.response = FormatStr(kStrLevelSummary, {in.passPercent, QStringLiteral("%"),
                                                     in.percentage, QStringLiteral("%")});
    return view;
}

TStatistikForm::TStatistikForm(const ErrorStatistics& sorted, ModuleId module, int score,
                               const ItemNameList& names, QWidget* parent)
    : QDialog(parent), stats_(sorted), score_(score) {
    setObjectName(QStringLiteral("TStatistikForm"));
    setWindowTitle(LoadStr(kStrTitle));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);

    const int rowCount = ErrorRowCount(stats_);
    for (int k = 0; k < rowCount; ++k) {
        const ErrorEntry& e = stats_[static_cast<std::size_t>(k)];
        rows_ << ErrorRowText(module, e.item, names);
        counts_ << QString::asprintf("%3d", e.count);
    }

    labRotTop_ = new RotatedTitle(this);
    labRotTop_->setObjectName(QStringLiteral("LabRotTop"));
    labRotTop_->setText(LoadStr(kStrTitle));

    response_ = new QLabel(this);
    response_->setObjectName(QStringLiteral("ResponseLabel"));
    response_->setWordWrap(true);
    response_->setGeometry(kRowTextX, kRowTop, kWindowWidth - kRowTextX - 10, 100);
    response_->hide();

    okBtn_ = new QPushButton(LoadStr(550), this); // "&OK"
    okBtn_->setObjectName(QStringLiteral("OKBtn"));
    okBtn_->setDefault(true);
    connect(okBtn_, &QPushButton::clicked, this, &QDialog::accept);

    auto makeChoiceButton = [this](const char* name, void (TStatistikForm::*handler)()) {
        auto* b = new QPushButton(this);
        b->setObjectName(QString::fromLatin1(name));
        b->hide();
        connect(b, &QPushButton::clicked, this, handler);
        return b;
    };
    bitBtn1_ = makeChoiceButton("BitBtn1", &TStatistikForm::BitBtn1Click);
    bitBtn2_ = makeChoiceButton("BitBtn2", &TStatistikForm::BitBtn2Click);
    bitBtn3_ = makeChoiceButton("BitBtn3", &TStatistikForm::BitBtn3Click);
    placeButtons(false);
}

void TStatistikForm::placeButtons(bool tutor) {
    if (!tutor) {
        setFixedSize(kWindowWidth, kButtonTop + kButtonHeight + 14);
        okBtn_->setGeometry((kWindowWidth - 90) / 2, kButtonTop, 90, kButtonHeight);
    } else {
        const int width = kWindowWidth - 60;
        QPushButton* buttons[] = {bitBtn1_, bitBtn2_, bitBtn3_};
        for (int i = 0; i < 3; ++i)
            buttons[i]->setGeometry(50, kButtonTop + i * (kButtonHeight + 6), width, kButtonHeight);
        setFixedSize(kWindowWidth, kButtonTop + 3 * (kButtonHeight + 6) + 8);
    }
    labRotTop_->setGeometry(4, 4, 36, height() - 8);
}

void TStatistikForm::ShowTutorChoice(const TutorChoiceView& view) {
    okBtn_->hide();
    bitBtn1_->setText(view.back);
    bitBtn2_->setText(view.repeat);
    bitBtn3_->setText(view.next);
    bitBtn1_->setEnabled(view.backEnabled);
    bitBtn2_->setEnabled(true);
    bitBtn3_->setEnabled(view.nextEnabled);
    for (QPushButton* b : {bitBtn1_, bitBtn2_, bitBtn3_})
        b->show();
    QPushButton* focused = view.recommended == ChoiceBack   ? bitBtn1_
                           : view.recommended == ChoiceNext ? bitBtn3_
                                                            : bitBtn2_;
    focused->setDefault(true);
    focused->setFocus();
    response_->setText(view.response);
    response_->setVisible(LevelMode);
    placeButtons(true);
    update();
}

void TStatistikForm::choose(TutorChoice choice) {
    Choice = choice;
    accept();
}

void TStatistikForm::BitBtn1Click() {
    choose(ChoiceBack);
}

void TStatistikForm::BitBtn2Click() {
    choose(ChoiceRepeat);
}

void TStatistikForm::BitBtn3Click() {
    choose(ChoiceNext);
}

QString TStatistikForm::Headline() const {
    if (LevelMode)
        return {};
    return HasErrors(stats_) ? LoadStr(kStrErrors) : LoadStr(kStrNoErrors);
}

QStringList TStatistikForm::ErrorRows() const {
    return LevelMode ? QStringList() : rows_;
}

void TStatistikForm::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    QPainter p(this);
    if (!LevelMode) {
        QFont headline = font();
        p.setPen(kMaroon);
        if (HasErrors(stats_)) {
            headline.setPointSize(10);
            p.setFont(headline);
            drawTextAt(p, 240, 38, LoadStr(kStrErrors));
        } else {
            headline.setPointSize(16);
            p.setFont(headline);
            p.setPen(kGreen);
            drawTextAt(p, 60, 80, LoadStr(kStrNoErrors));
        }
        QFont rowFont = font();
        rowFont.setPixelSize(13);
        p.setFont(rowFont);
        p.setPen(kMaroon);
        for (int k = 0; k < rows_.size(); ++k) {
            const int y = kRowTop + kRowStep * k;
            drawTextAt(p, kRowTextX, y, rows_[k]);
            drawTextAt(p, kRowCountX, y, counts_[k]);
        }
    }
    QFont scoreFont = font();
    scoreFont.setPixelSize(13);
    scoreFont.setBold(true);
    p.setFont(scoreFont);
    p.setPen(kGreen);
    drawTextAt(p, 65, 186, LoadStr(kStrScore));
    drawTextAt(p, 239, 186, ScoreText(score_));
}

std::uint8_t ShowStatisticsWindow(const ErrorStatistics& sorted, ModuleId module, int score,
                                  const ItemNameList& names, QWidget* parent, bool levelMode,
                                  const TutorChoiceView* tutor) {
    TStatistikForm window(sorted, module, score, names, parent);
    window.LevelMode = levelMode;
    if (tutor)
        window.ShowTutorChoice(*tutor);
    window.exec();
    return window.Choice;
}

} // namespace harmik
