#include "userdata/tip_of_the_day.h"

#include "userdata/hints.h"
#include "userdata/short_string.h"
#include "userdata/strings.h"
#include "userdata/tuning_fork_picture.h"

#include <QCheckBox>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QStringDecoder>
#include <QVBoxLayout>

namespace harmik {
namespace {

constexpr int kCaptionTune = 1600;  // "НАСТРОЙТЕСЬ"
constexpr int kCaptionTip = 1601;   // "ЗАМЕТКА ДНЯ"
constexpr int kSingA = 1602;        // "Спойте ЛЯ..."
constexpr int kClickTheFork = 1603; // "щелкните по камертону"
constexpr int kPrevious = 1610;
constexpr int kNext = 1611;
constexpr int kShowAtStart = 1612;
constexpr int kClose = 1613;
constexpr int kPreviousHint = 1615;
constexpr int kNextHint = 1616;
constexpr int kTipHint = 1617;
constexpr int kShowAtStartHint = 1618;
constexpr int kForkHint = 3040;
constexpr int kLongestTip = 255;
constexpr int kLineBreaks = 5;

int headingOf(QChar code) {
    switch (code.unicode()) {
    case 'E':
        return 1608; // "Заметка дня Harmik.."
    case '^':
        return 1604; // "Совет дня"
    case '?':
        return 1605; // "Знаете ли Вы, что.."
    case '#':
        return 1607; // "Сегодняшнее сообщение.."
    case '\'':
        return 1606; // "Цитата дня.."
    default:
        return 0;
    }
}

QString decodeTips(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        text = FromCp1251(bytes.constData(), static_cast<int>(bytes.size()));
    return text;
}

} // namespace

QStringList ReadTipsFile(const QString& path) {
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return {};
    QStringList tips;
    for (QString line : decodeTips(file.readAll()).split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (!line.trimmed().isEmpty())
            tips << line;
    }
    return tips;
}

TipShown FormatTip(const QString& line) {
    TipShown shown;
    if (line.isEmpty())
        return shown;
    const QChar code = line.front();
    const int heading = headingOf(code);
    if (heading != 0)
        shown.Heading = LoadStr(heading);
    shown.Italic = code == QLatin1Char('\'');
    QString text = line.mid(1, kLongestTip);
    for (int i = 0; i < kLineBreaks; ++i) {
        const qsizetype at = text.indexOf(QLatin1String("%s"));
        if (at < 0)
            break;
        text.replace(at, 2, QLatin1Char('\n'));
    }
    shown.Text = text;
    return shown;
}

int StepTipIndex(int index, int count, bool forward) {
    if (count <= 0)
        return -1;
    const int next = index + (forward ? 1 : -1);
    if (next < 0)
        return count - 1;
    if (next >= count)
        return 0;
    return next;
}

TfTipOfTheDay::TfTipOfTheDay(QStringList tips, std::function<int()> fork, bool highColourDisplay,
                             QWidget* parent)
    : QDialog(parent), tips_(std::move(tips)), forkSound_(std::move(fork)) {
    setObjectName(QStringLiteral("TfTipOfTheDay"));
    setWindowTitle(LoadStr(kCaptionTune) + QStringLiteral(" / ") + LoadStr(kCaptionTip));

    title_ = new QLabel(this);
    title_->setObjectName(QStringLiteral("lTitle"));
    QFont bold = title_->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.3);
    title_->setFont(bold);
    tip_ = new QLabel(this);
    tip_->setObjectName(QStringLiteral("lTip"));
    tip_->setWordWrap(true);
    tip_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    tip_->setMinimumSize(340, 150);
    tip_->setTextFormat(Qt::PlainText);
    ApplyHintId(tip_, kTipHint);

    showTips_ = new QCheckBox(LoadStr(kShowAtStart), this);
    showTips_->setObjectName(QStringLiteral("cbShowTips"));
    ApplyHintId(showTips_, kShowAtStartHint);
    previous_ = new QPushButton(LoadStr(kPrevious), this);
    previous_->setObjectName(QStringLiteral("bPrevious"));
    ApplyHintId(previous_, kPreviousHint);
    next_ = new QPushButton(LoadStr(kNext), this);
    next_->setObjectName(QStringLiteral("bNext"));
    ApplyHintId(next_, kNextHint);
    close_ = new QPushButton(LoadStr(kClose), this);
    close_->setObjectName(QStringLiteral("bClose"));
    close_->setDefault(true);
    connect(previous_, &QPushButton::clicked, this, [this] { GetTip(false); });
    connect(next_, &QPushButton::clicked, this, [this] { GetTip(true); });
    connect(close_, &QPushButton::clicked, this, &QDialog::accept);
    previous_->setEnabled(!tips_.isEmpty());
    next_->setEnabled(!tips_.isEmpty());

    auto* tipColumn = new QVBoxLayout;
    tipColumn->addWidget(title_);
    tipColumn->addWidget(tip_, 1);
    auto* top = new QHBoxLayout;
    top->addWidget(buildForkPanel(highColourDisplay));
    top->addLayout(tipColumn, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(showTips_);
    buttons->addStretch(1);
    buttons->addWidget(previous_);
    buttons->addWidget(next_);
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);
}

// The fork with its two lines of text; a click on any of them sounds it.
QWidget* TfTipOfTheDay::buildForkPanel(bool highColourDisplay) {
    panelA_ = new QWidget(this);
    panelA_->setObjectName(QStringLiteral("PanelA"));
    panelA_->setAutoFillBackground(true);
    if (!highColourDisplay) {
        QPalette white = panelA_->palette();
        white.setColor(QPalette::Window, Qt::white);
        panelA_->setPalette(white);
    }
    ApplyHintId(panelA_, kForkHint);
    auto* sing = new QLabel(LoadStr(kSingA), panelA_);
    sing->setObjectName(QStringLiteral("lSyngA"));
    fork_ = new TuningForkPicture(panelA_);
    fork_->setFixedSize(76, 180);
    auto* click = new QLabel(LoadStr(kClickTheFork), panelA_);
    click->setObjectName(QStringLiteral("ltrykpaastem"));
    click->setWordWrap(true);
    auto* column = new QVBoxLayout(panelA_);
    column->addWidget(sing, 0, Qt::AlignHCenter);
    column->addWidget(fork_, 1, Qt::AlignHCenter);
    column->addWidget(click, 0, Qt::AlignHCenter);
    connect(fork_, &TuningForkPicture::clicked, this, &TfTipOfTheDay::ImageStemGaflClick);
    for (QWidget* w : {static_cast<QWidget*>(panelA_), static_cast<QWidget*>(sing),
                       static_cast<QWidget*>(click)}) {
        w->setCursor(Qt::PointingHandCursor);
        w->installEventFilter(this);
    }
    return panelA_;
}

bool TfTipOfTheDay::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        ImageStemGaflClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TfTipOfTheDay::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    if (splash_ && splash_->isVisible()) {
        splash_->move(splash_->x(), std::max(10, (y() - splash_->height()) / 2));
        splash_->raise();
    }
}

void TfTipOfTheDay::ImageStemGaflClick() {
    fork_->Sound(forkSound_ ? forkSound_() : 0);
}

void TfTipOfTheDay::GetTip(bool forward) {
    if (tips_.isEmpty())
        return;
    index_ = StepTipIndex(index_, static_cast<int>(tips_.size()), forward);
    const TipShown shown = FormatTip(tips_.at(index_));
    title_->setText(shown.Heading);
    QFont font = tip_->font();
    font.setItalic(shown.Italic);
    tip_->setFont(font);
    tip_->setText(shown.Text);
}

} // namespace harmik
