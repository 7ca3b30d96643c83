#include "tutor/tutor_message.h"

#include "userdata/hints.h"
#include "userdata/strings.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QTimer>
#include <algorithm>

namespace harmik {
namespace {

constexpr int kMelodies = 6;
constexpr int kRhythm = 7;

constexpr int kStrMelody = 3555;
constexpr int kStrRhythm = 3557;
constexpr int kStrBar = 3558;
constexpr int kStrBars = 3559;
constexpr int kStrPlayed = 3550;
constexpr int kStrFirstDirection = 3551; // up, down, both
constexpr int kStrFirstPlayMode = 3560;  // harmonic, melodic, with pedal
constexpr int kStrRandomRoot = 3565;
constexpr int kStrOneKey = 3566;
constexpr int kStrStats = 3570;
constexpr int kStrRepetitions = 3571;
constexpr int kStrPrompt = 3575;
constexpr int kHintWindow = 3576;
constexpr int kMaxMessageLength = 255;

constexpr int kWidth = 326;
constexpr int kMargin = 10;
constexpr int kTitleTop = 4;
constexpr int kMessageTop = 26;

int rhythmModeCaption(int mode) {
    return mode == 1 ? 408 : (mode == 2 ? 410 : 406);
}

} // namespace

QString TutorTaskSentence(const TutorTaskFacts& f) {
    if (f.Module == kMelodies)
        return FormatStr(kStrMelody,
                         {f.NoteCount, f.KeyText + QLatin1Char(' ') + f.TonalityText, f.LeapText});
    if (f.Module == kRhythm)
        return FormatStr(kStrRhythm, {f.Bars, LoadStr(f.Bars == 1 ? kStrBar : kStrBars),
                                      f.MetreText, LoadStr(rhythmModeCaption(f.RhythmMode))});
    QString s = LoadStr(kStrPlayed) + QLatin1Char(' ');
    if (f.DirectionShown)
        s += LoadStr(kStrFirstDirection + std::clamp(f.Direction, 0, 2)) + QLatin1Char(' ');
    s += LoadStr(kStrFirstPlayMode + std::clamp(f.PlayMode, 0, 2));
    s += QLatin1Char(' ') + LoadStr(f.RandomRoot ? kStrRandomRoot : kStrOneKey);
    return s;
}

TutorMessageTexts MakeTutorMessage(const QString& taskText, const TutorTaskFacts& facts, int level,
                                   int task, int repetitions) {
    TutorMessageTexts t;
    const qsizetype bar = taskText.indexOf(QLatin1Char('|'));
    t.Title = bar < 0 ? taskText : taskText.left(bar);
    const QString message = bar < 0 ? QString() : taskText.mid(bar + 1).left(kMaxMessageLength);
    t.Message = message + QLatin1Char(' ') + TutorTaskSentence(facts);
    t.Stats = FormatStr(kStrStats, {level, task});
    t.Repetitions = FormatStr(kStrRepetitions, {repetitions});
    return t;
}

TTutorMessage::TTutorMessage(const TutorMessageTexts& texts, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("TTutorMessage"));
    setModal(true);
    ApplyHintId(this, kHintWindow);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);

    const int messageHeight = static_cast<int>(texts.Message.size()) / 2 + 20;
    const int clientHeight = messageHeight + 90;
    setFixedSize(kWidth, clientHeight);

    labTitel_ = label("LabTitel", texts.Title, kTitleTop, 22);
    QFont bold = labTitel_->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    labTitel_->setFont(bold);
    labMessage_ = label("LabMessage", texts.Message, kMessageTop, messageHeight);
    labStats_ = label("LabStats", texts.Stats, kMessageTop + messageHeight, 18);
    labTryk_ = new QLabel(LoadStr(kStrPrompt), this);
    labTryk_->setObjectName(QStringLiteral("LabTryk"));
    labTryk_->setAlignment(Qt::AlignCenter);
    QPalette prompt = labTryk_->palette();
    prompt.setColor(QPalette::WindowText, QColor(0, 0, 128));
    labTryk_->setPalette(prompt);
    labTryk_->adjustSize();
    labTryk_->setGeometry(0, clientHeight - labTryk_->height() - 4, kWidth, labTryk_->height());
    labAntal_ = label("LabAntal", texts.Repetitions, clientHeight - 45, 18);
    for (QLabel* l : {labTitel_, labMessage_, labStats_, labAntal_, labTryk_})
        l->setAttribute(Qt::WA_TransparentForMouseEvents);
}

QLabel* TTutorMessage::label(const char* name, const QString& text, int top, int height) {
    auto* l = new QLabel(text, this);
    l->setObjectName(QString::fromLatin1(name));
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    l->setGeometry(kMargin, top, kWidth - 2 * kMargin, height);
    return l;
}

void TTutorMessage::keyPressEvent(QKeyEvent*) {
    accept();
}

void TTutorMessage::mousePressEvent(QMouseEvent*) {
    accept();
}

void TTutorMessage::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The window system takes a grab only once the window is on the screen.
    QTimer::singleShot(50, this, [this] {
        if (!isVisible())
            return;
        activateWindow();
        grabMouse();
        grabKeyboard();
    });
}

void TTutorMessage::hideEvent(QHideEvent* event) {
    releaseKeyboard();
    releaseMouse();
    QDialog::hideEvent(event);
}

void TTutorMessage::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    // A quiet paper grain under the texts, then the raised frame.
    p.setPen(QColor(244, 244, 250));
    for (int y = 3; y < height(); y += 6)
        for (int x = (y / 6) % 2 * 3 + 1; x < width(); x += 6)
            p.drawPoint(x, y);
    p.setPen(Qt::white);
    p.drawLine(0, 0, width() - 1, 0);
    p.drawLine(0, 0, 0, height() - 1);
    p.setPen(QColor(128, 128, 128));
    p.drawLine(0, height() - 1, width() - 1, height() - 1);
    p.drawLine(width() - 1, 0, width() - 1, height() - 1);
}

} // namespace harmik
