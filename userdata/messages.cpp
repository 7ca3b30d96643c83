#include "userdata/messages.h"

#include "userdata/help_request.h"
#include "userdata/strings.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>

namespace harmik {
namespace {

// The one piece of process-wide state here: the answering hook that tests install.
MessageHook& hookSlot() {
    static MessageHook hook;
    return hook;
}

QMessageBox::Icon iconFor(MessageType type) {
    switch (type) {
    case MessageType::Warning:
        return QMessageBox::Warning;
    case MessageType::Information:
        return QMessageBox::Information;
    case MessageType::Confirmation:
        return QMessageBox::Question;
    case MessageType::Error:
        return QMessageBox::Critical;
    case MessageType::Plain:
        break;
    }
    return QMessageBox::NoIcon;
}

// Button captions come from the string table; "&" marks the access key.
constexpr int kOkCaption = 550;
constexpr int kYesCaption = 553;
constexpr int kNoCaption = 554;
constexpr int kHelpCaption = 552;

QString captionOr(int id, const char* fallback) {
    const QString s = LoadStr(id);
    return s.isEmpty() ? QString::fromLatin1(fallback) : s;
}

} // namespace

QString ApplicationTitle() {
    return QStringLiteral(" H A R M I K");
}

MessageHook SetMessageHook(MessageHook hook) {
    MessageHook previous = std::move(hookSlot());
    hookSlot() = std::move(hook);
    return previous;
}

namespace {

// The Help button closes the box; the topic opens after it.
MessageAnswer answerAndHelp(MessageAnswer answer, const MessageRequest& request) {
    if (answer != MessageAnswer::Help)
        return answer;
    OpenHelpTopic(request.helpTopic);
    return MessageAnswer::Ok;
}

} // namespace

MessageAnswer ShowMessage(QWidget* parent, const MessageRequest& request) {
    if (hookSlot())
        return answerAndHelp(hookSlot()(request), request);

    QMessageBox box(parent);
    box.setIcon(iconFor(request.type));
    box.setWindowTitle(request.title.isEmpty() ? ApplicationTitle() : request.title);
    box.setText(request.text);
    if (request.buttons == MessageButtons::YesNo) {
        QPushButton* yes = box.addButton(captionOr(kYesCaption, "&Yes"), QMessageBox::YesRole);
        QPushButton* no = box.addButton(captionOr(kNoCaption, "&No"), QMessageBox::NoRole);
        box.setDefaultButton(yes);
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == yes ? MessageAnswer::Yes : MessageAnswer::No;
    }
    QPushButton* ok = box.addButton(captionOr(kOkCaption, "&OK"), QMessageBox::AcceptRole);
    QPushButton* help = nullptr;
    if (request.buttons == MessageButtons::OkHelp && request.helpTopic > 0) {
        help = box.addButton(captionOr(kHelpCaption, "&Help"), QMessageBox::HelpRole);
        auto* f1 = new QShortcut(QKeySequence::HelpContents, &box);
        QObject::connect(f1, &QShortcut::activated, help, &QPushButton::click);
    }
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
    const bool helpPressed = help != nullptr && box.clickedButton() == help;
    return answerAndHelp(helpPressed ? MessageAnswer::Help : MessageAnswer::Ok, request);
}

} // namespace harmik
