#include "app/help_commands.h"

#include "app/main_window.h"
#include "help/help_system.h"
#include "help/help_topics.h"
#include "input/answer_panel.h"
#include "userdata/help_request.h"
#include "userdata/hints.h"
#include "userdata/messages.h"
#include "userdata/strings.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QShortcut>
#include <QToolButton>
#include <QUrl>

namespace harmik {
namespace {

constexpr int kHelpButtonHint = 3009;
constexpr int kNoBrowserMessage = 2035;

} // namespace

QString HomepageAddress() {
    return QStringLiteral(HARMIK_HOMEPAGE).trimmed();
}

HelpCommands::HelpCommands(TForm1& window) : QObject(&window), w_(window) {
    help_ = new HelpSystem(&w_, ShippedHelpCollection());
    SetHelpOpener([this](int topic) { help_->ShowTopic(topic); });

    button_ = new QToolButton(w_.centralWidget());
    button_->setObjectName(QStringLiteral("BitBtnHelp"));
    button_->setText(QStringLiteral("?"));
    QFont bold = button_->font();
    bold.setBold(true);
    button_->setFont(bold);
    button_->setFocusPolicy(Qt::NoFocus);
    ApplyHintId(button_, kHelpButtonHint);
    connect(button_, &QToolButton::clicked, this, &HelpCommands::BitBtnHelpClick);

    auto* f1 = new QShortcut(QKeySequence::HelpContents, &w_);
    connect(f1, &QShortcut::activated, this, &HelpCommands::HelpKeyPressed);
    // The answer check boxes share one page.
    w_.Group_Problem()->setProperty("HelpContext", HelpTopic::AnswerPanel);
}

HelpCommands::~HelpCommands() {
    SetHelpOpener({});
}

void HelpCommands::ConnectMenu() {
    const auto item = [this](const char* name) { return w_.menuAction(QString::fromLatin1(name)); };
    connect(item("mIndhold"), &QAction::triggered, this, &HelpCommands::mIndholdClick);
    connect(item("mTastatur"), &QAction::triggered, this,
            [this] { TutorialClick(HelpTopic::Keyboard); });
    connect(item("mHurtiggennemgang"), &QAction::triggered, this,
            [this] { TutorialClick(HelpTopic::GettingStarted); });
    connect(item("mHelpon"), &QAction::triggered, this, &HelpCommands::mHelponClick);
    // Without an address the build has no web page to offer.
    item("mHomepage")->setVisible(!HomepageAddress().isEmpty());
}

void HelpCommands::mIndholdClick() {
    help_->ShowTopic(HelpTopic::Contents);
}

void HelpCommands::TutorialClick(int topic) {
    help_->ShowTopic(topic);
}

void HelpCommands::mHelponClick() {
    help_->ShowIndex(QString());
}

void HelpCommands::BitBtnHelpClick() {
    help_->ShowTopic(w_.HelpContext() > 0 ? w_.HelpContext() : HelpTopic::Contents);
}

void HelpCommands::HelpKeyPressed() {
    const int context = HelpContextOf(QApplication::focusWidget());
    if (context > 0)
        help_->ShowTopic(context);
    else
        BitBtnHelpClick();
}

void HelpCommands::mHomepageClick() {
    const QString address = HomepageAddress();
    if (address.isEmpty())
        return;
    if (!QDesktopServices::openUrl(QUrl(address)))
        ShowMessage(
            &w_, {MessageType::Information, MessageButtons::Ok, LoadStr(kNoBrowserMessage), 0, {}});
}

} // namespace harmik
