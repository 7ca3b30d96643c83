#pragma once
#include <functional>

class QWidget;

namespace harmik {

// How the parts of the program ask for a help topic without knowing the help viewer: the
// program installs the opener once at start-up; Help buttons and F1 call OpenHelpTopic.
using HelpOpener = std::function<void(int topic)>;

// Installs the opener (an empty function removes it) and returns the previous one.
HelpOpener SetHelpOpener(HelpOpener opener);

// Opens the topic; does nothing while no opener is installed.
void OpenHelpTopic(int topic);

// The help context of a control: its "HelpContext" property (a number above 0), or else that
// of the nearest parent that has one; 0 when none has.
int HelpContextOf(const QWidget* widget);

} // namespace harmik
