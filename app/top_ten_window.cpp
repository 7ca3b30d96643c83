#include "app/top_ten_window.h"

#include "app/score_state.h"
#include "app/statistics_window.h"
#include "theory/module_id.h"
#include "userdata/messages.h"
#include "userdata/strings.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <cmath>

namespace harmik {
namespace {

constexpr int kStrClearQuestion = 1160;
constexpr int kStrTitle = 1620;
constexpr int kStrName = 1621;
constexpr int kStrScore = 1622;
constexpr int kStrDate = 1623;
constexpr int kStrModule = 1624;
constexpr int kStrClear = 1625;
constexpr int kStrOk = 550;
constexpr int kStrCancel = 551;
constexpr int kStrHelp = 552;
constexpr int kStrFirstModuleTitle = 1707; // + module number

constexpr int kWindowWidth = 562;
constexpr int kWindowHeight = 384;
constexpr int kNameX = 49;
constexpr int kScoreX = 299;
constexpr int kDateX = 367;
constexpr int kModuleX = 447;
constexpr int kHeadingY = 17;
constexpr int kRowStep = 28;
constexpr int kRowOffset = 11;
constexpr int kButtonTop = 342;
// Dates outside this many days of 1899-12-30 come only from a damaged file.
constexpr double kLargestDay = 2.9e6;

const QColor kMaroon(128, 0, 0);
const char* const kEmptyName = ". . . . . . H A R M I K  . . . . . .";

TopTenRecord& record(TopTenTable& t, int number) {
    return t.records[static_cast<std::size_t>(number - 1)];
}

const TopTenRecord& record(const TopTenTable& t, int number) {
    return t.records[static_cast<std::size_t>(number - 1)];
}

int rowTop(int row) {
    return kRowStep * row + kRowOffset;
}

void drawTextAt(QPainter& p, int x, int y, const QString& text) {
    p.drawText(QRect(x, y, kWindowWidth, kRowStep), Qt::AlignLeft | Qt::AlignTop, text);
}

QFont pixelFont(const QFont& base, int pixels) {
    QFont f = base;
    f.setPixelSize(pixels);
    return f;
}

} // namespace

int TopTenPlace(const TopTenTable& table, int score) {
    for (int p = 1; p <= kTopTenPlaces; ++p) {
        const int placeScore = record(table, p).score;
        if (placeScore < score)
            return p;
    }
    return 0;
}

void SetTopTenCandidate(TopTenTable& table, int score, int module, const QDate& today) {
    TopTenRecord& c = record(table, kCandidateRecord);
    c.score = score;
    c.date = DateToDays(today);
    c.module = static_cast<std::uint8_t>(module);
}

int TopTenRowRecord(int row, int place) {
    if (place <= 0 || row < place)
        return row;
    return row == place ? kCandidateRecord : row - 1;
}

void EnterTopTenName(TopTenTable& table, int place, const QString& name, const QDate& today) {
    if (place < 1 || place > kTopTenPlaces)
        return;
    for (int r = kTopTenPlaces; r > place; --r)
        record(table, r) = record(table, r - 1);
    TopTenRecord entry = record(table, kCandidateRecord);
    entry.name.setText(name.left(kTopTenNameLength));
    entry.date = DateToDays(today);
    record(table, place) = entry;
    record(table, kLastNameRecord).name.setText(name.left(kTopTenNameLength));
}

void ClearTopTen(TopTenTable& table, const QDate& today) {
    for (int r = 1; r <= kLastNameRecord; ++r) {
        TopTenRecord& rec = record(table, r);
        rec.name.setText(QString());
        rec.score = 0;
        rec.date = DateToDays(today);
        rec.module = 1;
    }
}

TopTenRowText TopTenRowTexts(const TopTenRecord& rec) {
    TopTenRowText row;
    const QString name = rec.name.text();
    row.name = name.isEmpty() ? QString::fromLatin1(kEmptyName) : name;
    row.score = ScoreText(rec.score);
    const double days = rec.date;
    if (std::isfinite(days) && std::fabs(days) < kLargestDay)
        row.date = DaysToDate(days).toString(QStringLiteral("dd.MM.yyyy"));
    const int module = rec.module;
    if (isValidModule(module))
        row.module = LoadStr(kStrFirstModuleTitle + module);
    return row;
}

QImage MarblePicture(int size) {
    // Light stone with soft grey veins: a sine pattern bent by a few layers of smooth waves.
    QImage image(size, size, QImage::Format_RGB32);
    const double k = 2 * M_PI / size;
    for (int y = 0; y < size; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size; ++x) {
            const double turbulence = 0.9 * std::sin(k * (2 * x + y)) +
                                      0.5 * std::sin(k * (3 * y - x) + 1.3) +
                                      0.25 * std::sin(k * (5 * x + 4 * y) + 0.7);
            const double vein = std::fabs(std::sin(k * (x + 2 * y) + 2.2 * turbulence));
            const int shade = 200 + static_cast<int>(50 * std::pow(vein, 0.35));
            line[x] = qRgb(shade, shade, std::min(255, shade + 4));
        }
    }
    return image;
}

TFormTop10::TFormTop10(TopTenTable& table, QWidget* parent, QDate today)
    : QDialog(parent), table_(table), today_(today), marble_(MarblePicture()) {
    setObjectName(QStringLiteral("TFormTop10"));
    setWindowTitle(LoadStr(kStrTitle));
    setFixedSize(kWindowWidth, kWindowHeight);

    rotLab_ = new RotatedTitle(this);
    rotLab_->setObjectName(QStringLiteral("RotLabTop10"));
    rotLab_->setGeometry(4, 31, 32, 298);

    editNavn_ = new QLineEdit(this);
    editNavn_->setObjectName(QStringLiteral("EditNavn"));
    editNavn_->setMaxLength(kTopTenNameLength);
    editNavn_->installEventFilter(this);
    editNavn_->hide();

    auto makeButton = [this](const char* name, const QString& caption, int x) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        b->setGeometry(x, kButtonTop, 90, 28);
        return b;
    };
    okBtn_ = makeButton("OKBtn", LoadStr(kStrOk), kNameX);
    // Return closes the list as OK does.
    okBtn_->setDefault(true);
    cancelBtn_ = makeButton("CancelBtn", LoadStr(kStrCancel), kNameX + 100);
    btnSlet_ = makeButton("BtnSletTop10", QString(), 320);
    helpBtn_ = makeButton("HelpBtn", LoadStr(kStrHelp), 432);
    cancelBtn_->hide();
    // Shown only where a help topic can be opened.
    helpBtn_->hide();
    connect(okBtn_, &QPushButton::clicked, this, &TFormTop10::OKBtnClick);
    connect(cancelBtn_, &QPushButton::clicked, this, &TFormTop10::CancelBtnClick);
    connect(btnSlet_, &QPushButton::clicked, this, &TFormTop10::BtnSletTop10Click);
    connect(helpBtn_, &QPushButton::clicked, this, &TFormTop10::helpRequested);
    FormCreate();
}

void TFormTop10::FormCreate() {
    btnSlet_->setText(LoadStr(kStrClear));
    rotLab_->setText(LoadStr(kStrTitle));
}

void TFormTop10::BeginNameEntry(int place) {
    if (place < 1 || place > kTopTenPlaces)
        return;
    place_ = place;
    editNavn_->setText(record(table_, kLastNameRecord).name.text());
    editNavn_->setGeometry(kNameX - 3, rowTop(place) - 3, kScoreX - kNameX - 8, 24);
    editNavn_->selectAll();
    editNavn_->show();
    cancelBtn_->show();
    editNavn_->setFocus();
    update();
}

int TFormTop10::EnteringPlace() const {
    return editNavn_->isHidden() ? 0 : place_;
}

void TFormTop10::endNameEntry() {
    editNavn_->hide();
    cancelBtn_->hide();
    place_ = 0;
    update();
}

void TFormTop10::OKBtnClick() {
    const int place = EnteringPlace();
    if (place == 0) {
        accept();
        return;
    }
    EnterTopTenName(table_, place, editNavn_->text(), today_);
    endNameEntry();
}

void TFormTop10::CancelBtnClick() {
    endNameEntry();
}

void TFormTop10::BtnSletTop10Click() {
    MessageRequest question;
    question.type = MessageType::Confirmation;
    question.buttons = MessageButtons::YesNo;
    question.text = LoadStr(kStrClearQuestion);
    if (ShowMessage(this, question) != MessageAnswer::Yes)
        return;
    endNameEntry();
    ClearTopTen(table_, today_);
    update();
}

QVector<TopTenRowText> TFormTop10::ShownRows() const {
    QVector<TopTenRowText> rows;
    const int place = EnteringPlace();
    for (int r = 1; r <= kTopTenPlaces; ++r)
        rows.push_back(TopTenRowTexts(record(table_, TopTenRowRecord(r, place))));
    return rows;
}

QImage TFormTop10::FormPaint() const {
    QImage picture(kWindowWidth, kWindowHeight, QImage::Format_RGB32);
    QPainter p(&picture);
    p.drawTiledPixmap(picture.rect(), QPixmap::fromImage(marble_));

    // Text is laid on the stone with a bitwise AND, so the veins show through light strokes.
    p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    const QFont small = pixelFont(font(), 13);
    const QFont large = pixelFont(font(), 16);
    p.setFont(small);
    p.setPen(Qt::black);
    drawTextAt(p, kNameX, kHeadingY, LoadStr(kStrName));
    drawTextAt(p, kScoreX, kHeadingY, LoadStr(kStrScore));
    drawTextAt(p, kDateX, kHeadingY, LoadStr(kStrDate));
    drawTextAt(p, kModuleX, kHeadingY, LoadStr(kStrModule));

    const QVector<TopTenRowText> rows = ShownRows();
    const int place = EnteringPlace();
    for (int r = 1; r <= kTopTenPlaces; ++r) {
        const TopTenRowText& row = rows[r - 1];
        const int y = rowTop(r);
        p.setFont(large);
        p.setPen(kMaroon);
        if (r != place) // the name editor stands there
            drawTextAt(p, kNameX, y, row.name);
        drawTextAt(p, kScoreX, y, row.score);
        p.setFont(small);
        p.setPen(Qt::black);
        drawTextAt(p, kDateX, y, row.date);
        drawTextAt(p, kModuleX, y, row.module);
    }

    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    // Light frame around the window.
    const int right = kWindowWidth - 1;
    const int bottom = kWindowHeight - 1;
    p.setPen(Qt::white);
    p.drawLine(0, 0, right, 0);
    p.drawLine(0, 0, 0, bottom);
    p.setPen(Qt::gray);
    p.drawLine(right, 0, right, bottom);
    p.drawLine(0, bottom, right, bottom);
    // Sunken box around the list.
    const QRect box(QPoint(39, 31), QPoint(522, 329));
    p.setPen(Qt::gray);
    p.drawLine(box.topLeft(), box.topRight());
    p.drawLine(box.topLeft(), box.bottomLeft());
    p.setPen(Qt::white);
    p.drawLine(box.bottomLeft(), box.bottomRight());
    p.drawLine(box.topRight(), box.bottomRight());
    return picture;
}

void TFormTop10::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, FormPaint());
}

void TFormTop10::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        OKBtnClick();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TFormTop10::eventFilter(QObject* watched, QEvent* event) {
    if (watched == editNavn_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            OKBtnClick();
            return true;
        }
        if (key == Qt::Key_Escape) {
            CancelBtnClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

int TopTenCheck(TopTenTable& table, int score, int module, QWidget* parent,
                const std::function<void()>& help) {
    const int place = TopTenPlace(table, score);
    if (place == 0)
        return 0;
    const QDate today = QDate::currentDate();
    SetTopTenCandidate(table, score, module, today);
    TFormTop10 window(table, parent, today);
    if (help) {
        QObject::connect(&window, &TFormTop10::helpRequested, &window, help);
        window.HelpBtn()->show();
    }
    window.BeginNameEntry(place);
    window.exec();
    return place;
}

} // namespace harmik
