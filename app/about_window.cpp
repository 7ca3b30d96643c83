#include "app/about_window.h"

#include "userdata/strings.h"

#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace harmik {
namespace {

constexpr int kAboutCaption = 1742;
constexpr int kVersionPattern = 1740;
constexpr int kCredits = 1741;

} // namespace

AboutWindow::AboutWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(LoadStr(kAboutCaption));

    auto* name = new QLabel(QStringLiteral("H A R M I K"), this);
    QFont big = name->font();
    big.setPointSize(18);
    big.setBold(true);
    name->setFont(big);
    name->setAlignment(Qt::AlignCenter);

    auto* version = new QLabel(FormatStr(kVersionPattern, {QStringLiteral(HARMIK_VERSION)}), this);
    version->setAlignment(Qt::AlignCenter);
    auto* credits = new QLabel(LoadStr(kCredits), this);
    credits->setAlignment(Qt::AlignCenter);
    credits->setObjectName(QStringLiteral("LabCredits"));

    okButton_ = new QPushButton(LoadStr(550), this);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);

    okButton_->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(okButton_);
    buttons->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 10, 16, 12);
    layout->setSpacing(4);
    layout->addWidget(name);
    layout->addWidget(version);
    layout->addWidget(credits);
    layout->addSpacing(10);
    layout->addLayout(buttons);

    closeTimer_ = new QTimer(this);
    closeTimer_->setSingleShot(true);
    connect(closeTimer_, &QTimer::timeout, this, &QDialog::close);
}

void AboutWindow::MakeSplash() {
    okButton_->hide();
    setWindowFlag(Qt::SplashScreen, true);
    setAttribute(Qt::WA_DeleteOnClose, true);
    setFixedSize(std::max(360, sizeHint().width()), kSplashHeight);
    closeTimer_->start(kSplashMilliseconds);
}

} // namespace harmik
