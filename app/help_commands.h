#pragma once
#include <QObject>

class QToolButton;

namespace harmik {

class HelpSystem;
class TForm1;

// The main window's help: the help menu's topics and index, the help button beside the clock
// (the current module's page), F1 (the page of the control in use, else the module's), the
// web-page item, and the opener that Help buttons of message boxes and dialogs reach.
class HelpCommands : public QObject {
    Q_OBJECT
public:
    // Made with the window's widgets, before its start-up messages; ConnectMenu once the
    // menu is built.
    explicit HelpCommands(TForm1& window);
    ~HelpCommands() override;
    void ConnectMenu();

    // mIndhold: the contents; mTastatur and mHurtiggennemgang: the topic the item carries.
    void mIndholdClick();
    void TutorialClick(int topic);
    // mHelpon: the keyword index, searched by the beginning of a word.
    void mHelponClick();
    void BitBtnHelpClick();
    // F1: the help context of the focused control, or the module's.
    void HelpKeyPressed();
    void mHomepageClick();

    QToolButton* BitBtnHelp() const { return button_; }
    HelpSystem& Help() { return *help_; }

private:
    TForm1& w_;
    HelpSystem* help_ = nullptr;
    QToolButton* button_ = nullptr;
};

// The web-page address the build was configured with; empty when none.
QString HomepageAddress();

} // namespace harmik
