#include "app/about_window.h"

#include "userdata/strings.h"

#include <QFont>
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

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 6, 12, 6);
    layout->setSpacing(2);
    layout->addWidget(name);
    layout->addWidget(version);
    layout->addWidget(credits);
    layout->addWidget(okButton_, 0, Qt::AlignHCenter);

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
