#include "userdata/profile_dialog.h"

#include "userdata/hints.h"
#include "userdata/messages.h"
#include "userdata/strings.h"
#include "userdata/tutor_index.h"

#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

namespace harmik {
namespace {

constexpr int kCaption = 1700;
constexpr int kNameLabel = 1701;
constexpr int kDefaultName = 1702;
constexpr int kLevelColumn = 1703;
constexpr int kFirstModuleTitle = 1708;
constexpr int kBottomText = 1715;
constexpr int kTutorLabel = 1717;
constexpr int kNameHint = 1720;
constexpr int kLevelHint = 1721;
constexpr int kTutorHint = 1725;
constexpr int kNewCaption = 1730;
constexpr int kNewHint = 1731;
constexpr int kLoadCaption = 1732;
constexpr int kLoadHint = 1733;
constexpr int kSaveCaption = 1734;
constexpr int kSaveHint = 1735;
constexpr int kChangeCaption = 1736;
constexpr int kChangeHint = 1737;
constexpr int kInfoHint = 1738;
constexpr int kSaveTitle = 650;
constexpr int kLoadTitle = 651;
constexpr int kProfileFilter = 652;
constexpr int kNotAProfile = 653;
constexpr int kTutorTitle = 660;
constexpr int kTutorFilter = 661;
constexpr int kTutorDamaged = 2020;
constexpr int kFileNotWritten = 2041;
constexpr int kFileNotRead = 8301;
constexpr int kOkCaption = 550;
constexpr int kCancelCaption = 551;

constexpr int kNameLength = 25;
constexpr int kTitleLength = 25;
constexpr int kInfoLength = 255;
constexpr int kPathLength = 255;

const char* const kSliderNames[7] = {"ScrollInterval",  "ScrollSkala",       "ScrollAkkord",
                                     "ScrollOmvending", "ScrollProgression", "ScrollMelodi",
                                     "ScrollRytme"};

QString filterOf(int id, const QString& fallback) {
    const QString table = LoadStr(id);
    const qsizetype bar = table.indexOf(QLatin1Char('|'));
    const QString name = bar < 0 ? table : table.left(bar);
    const QString pattern = bar < 0 ? fallback : table.mid(bar + 1);
    return name + QStringLiteral(" (") + pattern + QLatin1Char(' ') + pattern.toLower() +
           QLatin1Char(')');
}

void tell(QWidget* parent, MessageType type, const QString& text) {
    ShowMessage(parent, {type, MessageButtons::Ok, text, 0, {}});
}

QString askFile(QWidget* parent, int titleId, const QString& filter, const QString& suffix,
                const QString& initial, bool save) {
    QFileDialog dialog(parent, LoadStr(titleId), initial, filter);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

std::uint8_t levelByte(int value) {
    return static_cast<std::uint8_t>(std::clamp(value, 1, 255));
}

} // namespace

QString ProfileFileFilter() {
    return filterOf(kProfileFilter, QStringLiteral("*.HKP"));
}

QString TutorFileFilter() {
    return filterOf(kTutorFilter, QStringLiteral("*.TUT"));
}

TProfilDialog::TProfilDialog(ProfileContext context, QWidget* parent)
    : QDialog(parent), ctx_(context), edit_(context.Profile) {
    setObjectName(QStringLiteral("TProfilDialog"));
    setWindowTitle(LoadStr(kCaption));
    build();
    currentPath_ = ctx_.LastProfile.text();
    showProfile(ctx_.Profile);
    btnGem_->setEnabled(ctx_.ProfileModified);
    cancelBtn_->setEnabled(ctx_.ProfileModified);
    Refresh();
}

void TProfilDialog::build() {
    auto* column = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    column->addLayout(grid);

    grid->addWidget(new QLabel(LoadStr(kNameLabel), this), 0, 0);
    editNavn_ = new QLineEdit(this);
    editNavn_->setObjectName(QStringLiteral("EditNavn"));
    editNavn_->setMaxLength(kNameLength);
    ApplyHintId(editNavn_, kNameHint);
    grid->addWidget(editNavn_, 0, 1, 1, 3);
    connect(editNavn_, &QLineEdit::textEdited, this, [this] { Compare(); });

    grid->addWidget(new QLabel(LoadStr(kTutorLabel), this), 1, 0);
    editTutSet_ = new QLineEdit(this);
    editTutSet_->setObjectName(QStringLiteral("EditTutSet"));
    editTutSet_->setReadOnly(true);
    // Wide enough for a whole title.
    editTutSet_->setMinimumWidth(
        editTutSet_->fontMetrics().horizontalAdvance(QString(kTitleLength, QLatin1Char('n'))));
    ApplyHintId(editTutSet_, kTutorHint);
    grid->addWidget(editTutSet_, 1, 1);
    bitBtnSkift_ = new QToolButton(this);
    bitBtnSkift_->setObjectName(QStringLiteral("BitBtnSkift"));
    bitBtnSkift_->setText(LoadStr(kChangeCaption));
    ApplyHintId(bitBtnSkift_, kChangeHint);
    grid->addWidget(bitBtnSkift_, 1, 2);
    bitBtnBeskriv_ = new QToolButton(this);
    bitBtnBeskriv_->setObjectName(QStringLiteral("BitBtnBeskriv"));
    bitBtnBeskriv_->setText(QStringLiteral("?"));
    ApplyHintId(bitBtnBeskriv_, kInfoHint);
    grid->addWidget(bitBtnBeskriv_, 1, 3);
    connect(bitBtnSkift_, &QToolButton::clicked, this, &TProfilDialog::BitBtnSkiftClick);
    connect(bitBtnBeskriv_, &QToolButton::clicked, this, &TProfilDialog::BitBtnBeskrivClick);

    grid->addWidget(new QLabel(LoadStr(kLevelColumn), this), 2, 1);
    for (int m = 1; m <= 7; ++m) {
        const auto i = static_cast<std::size_t>(m - 1);
        grid->addWidget(new QLabel(LoadStr(kFirstModuleTitle + m - 1), this), 2 + m, 0);
        auto* slider = new QSlider(Qt::Horizontal, this);
        slider->setObjectName(QString::fromLatin1(kSliderNames[i]));
        slider->setMinimum(1);
        slider->setPageStep(1);
        ApplyHintId(slider, kLevelHint);
        grid->addWidget(slider, 2 + m, 1);
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("LabNiv%1").arg(m));
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("99 / 99")));
        grid->addWidget(label, 2 + m, 2, 1, 2);
        sliders_[i] = slider;
        levelLabels_[i] = label;
        connect(slider, &QSlider::valueChanged, this, [this] { Refresh(); });
    }

    auto* bottom = new QLabel(LoadStr(kBottomText), this);
    bottom->setObjectName(QStringLiteral("LabelBottom"));
    bottom->setWordWrap(true);
    column->addWidget(bottom);

    auto* files = new QHBoxLayout;
    auto button = [this, files](const char* name, int caption, int hint) {
        auto* b = new QPushButton(LoadStr(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        ApplyHintId(b, hint);
        files->addWidget(b);
        return b;
    };
    btnNy_ = button("BtnNy", kNewCaption, kNewHint);
    btnHent_ = button("BtnHent", kLoadCaption, kLoadHint);
    btnGem_ = button("BtnGem", kSaveCaption, kSaveHint);
    column->addLayout(files);
    connect(btnNy_, &QPushButton::clicked, this, &TProfilDialog::BtnNyClick);
    connect(btnHent_, &QPushButton::clicked, this, &TProfilDialog::BtnHentClick);
    connect(btnGem_, &QPushButton::clicked, this, &TProfilDialog::BtnGemClick);

    auto* row = new QHBoxLayout;
    row->addStretch(1);
    okBtn_ = new QPushButton(LoadStr(kOkCaption), this);
    okBtn_->setObjectName(QStringLiteral("OKBtn"));
    okBtn_->setDefault(true);
    cancelBtn_ = new QPushButton(LoadStr(kCancelCaption), this);
    cancelBtn_->setObjectName(QStringLiteral("CancelBtn"));
    row->addWidget(okBtn_);
    row->addWidget(cancelBtn_);
    column->addLayout(row);
    connect(okBtn_, &QPushButton::clicked, this, &TProfilDialog::OKBtnClick);
    connect(cancelBtn_, &QPushButton::clicked, this, &QDialog::reject);
}

void TProfilDialog::setSlider(int m, int max, int position) {
    QSlider* s = LevelSlider(m);
    const QSignalBlocker quiet(s);
    s->setMaximum(std::max(1, max));
    s->setValue(position);
    s->setEnabled(max < kNoTutorLevels);
}

void TProfilDialog::showProfile(const ProfileRecord& p) {
    editNavn_->setText(p.UserName.text());
    editTutSet_->setText(p.TutorTitle.text());
    tutorInfoText_ = p.TutorInfo.text();
    tutorNameEdit_ = p.TutorName.text();
    for (int m = 1; m <= 7; ++m) {
        const auto i = static_cast<std::size_t>(m - 1);
        setSlider(m, p.MaxLevel[i], p.Level[i]);
    }
}

void TProfilDialog::Refresh() {
    for (int m = 1; m <= 7; ++m) {
        const QSlider* s = LevelSlider(m);
        LabNiv(m)->setText(s->maximum() >= kNoTutorLevels
                               ? QStringLiteral("-")
                               : QStringLiteral("%1 / %2").arg(s->value()).arg(s->maximum()));
    }
    bitBtnBeskriv_->setEnabled(!tutorInfoText_.isEmpty());
    Compare();
}

void TProfilDialog::Compare() {
    edit_.UserName.setText(editNavn_->text().left(kNameLength));
    edit_.TutorTitle.setText(editTutSet_->text().left(kTitleLength));
    edit_.TutorName.setText(tutorNameEdit_);
    edit_.TutorInfo.setText(tutorInfoText_.left(kInfoLength));
    for (int m = 1; m <= 7; ++m) {
        const auto i = static_cast<std::size_t>(m - 1);
        edit_.Level[i] = levelByte(LevelSlider(m)->value());
        edit_.MaxLevel[i] = levelByte(LevelSlider(m)->maximum());
    }
    ctx_.ProfileModified = !SameProfileContent(edit_, ctx_.Profile);
    btnGem_->setEnabled(ctx_.ProfileModified);
    cancelBtn_->setEnabled(ctx_.ProfileModified);
}

void TProfilDialog::BtnNyClick() {
    editNavn_->setText(LoadStr(kDefaultName));
    tutorNameEdit_.clear();
    editTutSet_->clear();
    tutorInfoText_.clear();
    for (int m = 1; m <= 7; ++m)
        setSlider(m, 1, 1);
    // A new profile follows the course that ships with the program.
    const QString shipped =
        FindTutorFile(QString::fromLatin1(kShippedTutorName) + QStringLiteral(".TUT"));
    if (!shipped.isEmpty()) {
        const TutorIndexRead read = ReadTutorIndex(shipped);
        if (read.Ok)
            UpdateMax(read);
    }
    Refresh();
}

void TProfilDialog::UpdateMax(const TutorIndexRead& read) {
    editTutSet_->setText(read.Index.Title.left(kTitleLength));
    for (int m = 1; m <= 7; ++m) {
        const int max = read.Index.MaxLevel[static_cast<std::size_t>(m - 1)];
        setSlider(m, max, std::min(LevelSlider(m)->value(), max));
    }
    tutorInfoText_ = read.Index.Info.left(kInfoLength);
    tutorNameEdit_ = read.Name;
}

void TProfilDialog::BitBtnSkiftClick() {
    const QString path = askFile(this, kTutorTitle, TutorFileFilter(), QStringLiteral("TUT"),
                                 QDir::currentPath(), false);
    if (!path.isEmpty())
        ChangeTutorTo(path);
}

bool TProfilDialog::ChangeTutorTo(const QString& path) {
    const TutorIndexRead read = ReadTutorIndex(path);
    if (!read.Ok) {
        tell(this, MessageType::Error, FormatStr(kTutorDamaged, {read.FileName}));
        return false;
    }
    UpdateMax(read);
    Refresh();
    return true;
}

void TProfilDialog::BitBtnBeskrivClick() {
    tell(this, MessageType::Information, tutorInfoText_);
}

void TProfilDialog::BtnGemClick() {
    const QString path =
        askFile(this, kSaveTitle, ProfileFileFilter(), QStringLiteral("HKP"), currentPath_, true);
    if (!path.isEmpty())
        SaveTo(path);
}

bool TProfilDialog::SaveTo(const QString& path) {
    QString error;
    if (!WriteProfileFile(edit_, path, &error)) {
        tell(this, MessageType::Warning,
             FormatStr(kFileNotWritten, {QDir::current().absoluteFilePath(path), error}));
        return false;
    }
    ctx_.ProfileModified = false;
    btnGem_->setEnabled(false);
    currentPath_ = path;
    ctx_.Profile = edit_;
    ctx_.LastProfile.setText(path.left(kPathLength));
    return true;
}

void TProfilDialog::BtnHentClick() {
    const QString path = askFile(this, kLoadTitle, ProfileFileFilter(), QStringLiteral("HKP"),
                                 QDir::currentPath(), false);
    if (!path.isEmpty())
        LoadFrom(path);
}

bool TProfilDialog::LoadFrom(const QString& path) {
    ProfileRecord read = edit_;
    switch (ReadProfileFile(path, read)) {
    case ProfileReadResult::WrongHeader:
        tell(this, MessageType::Error, LoadStr(kNotAProfile));
        return false;
    case ProfileReadResult::Unreadable:
        tell(this, MessageType::Error,
             FormatStr(kFileNotRead, {QDir::current().absoluteFilePath(path)}));
        return false;
    case ProfileReadResult::Loaded:
        break;
    }
    edit_ = read;
    ctx_.Profile = read;
    showProfile(read);
    // The tutor's own index gives the maxima and the information as they stand now.
    if (read.TutorName.Length > 0) {
        const QString indexName = read.TutorName.text() + QStringLiteral(".TUT");
        const QString index = FindTutorFile(indexName);
        const TutorIndexRead tutor = index.isEmpty() ? TutorIndexRead{} : ReadTutorIndex(index);
        if (tutor.Ok)
            UpdateMax(tutor);
        else
            tell(this, MessageType::Error, FormatStr(kTutorDamaged, {indexName}));
    }
    for (int m = 1; m <= 7; ++m)
        setSlider(m, LevelSlider(m)->maximum(), read.Level[static_cast<std::size_t>(m - 1)]);
    editTutSet_->setText(read.TutorTitle.text());
    Refresh();
    ctx_.ProfileModified = false;
    btnGem_->setEnabled(false);
    currentPath_ = path;
    ctx_.Profile = edit_;
    ctx_.LastProfile.setText(path.left(kPathLength));
    return true;
}

void TProfilDialog::OKBtnClick() {
    ctx_.Profile = edit_;
    ctx_.LastProfile.setText(currentPath_.left(kPathLength));
    accept();
}

} // namespace harmik
