#pragma once
#include <QString>
#include <functional>

class QWidget;

namespace harmik {

// The application's title, used for message boxes and the task bar.
QString ApplicationTitle();

// Every message box of the program goes through ShowMessage.
enum class MessageType { Plain, Warning, Information, Confirmation, Error };
enum class MessageButtons { Ok, OkHelp, YesNo };
// Help: the Help button of an OK-and-Help box, which closes the box and opens its topic.
enum class MessageAnswer { Ok, Yes, No, Help };

struct MessageRequest {
    MessageType type = MessageType::Plain;
    MessageButtons buttons = MessageButtons::Ok;
    QString text;
    int helpTopic = 0; // 0: none
    QString title;     // empty: the application's title
};

// Shows the message modally and returns the button pressed (Escape answers No to a
// question). While a hook is installed the hook answers instead of a real box, which is how
// tests drive the program's questions. An OK-and-Help box with a help topic carries a Help
// button: it opens the topic (OpenHelpTopic) and answers Ok.
MessageAnswer ShowMessage(QWidget* parent, const MessageRequest& request);

using MessageHook = std::function<MessageAnswer(const MessageRequest&)>;
// Installs the hook (an empty function removes it) and returns the previous one.
MessageHook SetMessageHook(MessageHook hook);

} // namespace harmik
