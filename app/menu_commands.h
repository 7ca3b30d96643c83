#pragma once

#include <QHash>
#include <QObject>
#include <QString>

class QAction;

namespace harmik {

class TForm1;

// The main menu in the running window: the bar built from the string table, every item
// connected to the part that does its command, and the window's own commands (closing, the
// title bar, the about box, the top ten, MIDI thru).
class MenuCommands : public QObject {
    Q_OBJECT
public:
    explicit MenuCommands(TForm1& window);

    // Builds the bar and connects the items; the parts they call must exist.
    void StringInit();
    QAction* action(const QString& name) const { return actions_.value(name); }
    // The switches of the menu as the loaded settings have them.
    void ApplyLoadedSettings();

    void Luk1Click();
    void mVisTitelClick();
    void mOmHarmikClick();
    void mTop10Click();
    void mMidiThruClick();

private:
    template <typename Command> void onItem(const char* name, Command command);

    TForm1& w_;
    QHash<QString, QAction*> actions_;
};

} // namespace harmik
