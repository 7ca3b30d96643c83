#pragma once
#include "userdata/settings_record.h"

#include <QFrame>
#include <array>

class QButtonGroup;
class QToolButton;

namespace harmik {

// The module buttons SpeedInterval ... SpeedRytme on the panel SpeedMenu: one of them stays
// pressed, the one of the current module. Choosing another module only asks for it
// (moduleChosen); the window sets the module up.
class SpeedMenu : public QFrame {
    Q_OBJECT
public:
    SpeedMenu(SettingsRecord& settings, QWidget* parent = nullptr);

    // The tool button of module m (1..7).
    QToolButton* button(int m) const;

    // The buttons' handlers: ask for the module unless it is already the current one. The
    // window switches synchronously; afterwards the current module's button is the one down.
    void SpeedIntervalClick() { SpeedButtonClick(1); }
    void SpeedSkalaClick() { SpeedButtonClick(2); }
    void SpeedAkkordClick() { SpeedButtonClick(3); }
    void SpeedOmvendingClick() { SpeedButtonClick(4); }
    void SpeedProgressClick() { SpeedButtonClick(5); }
    void SpeedMelodiClick() { SpeedButtonClick(6); }
    void SpeedRytmeClick() { SpeedButtonClick(7); }
    void SpeedButtonClick(int m);

    // A module's menu item (Alt+1 ... Alt+7): only while the module's button is enabled, runs
    // the button's handler and presses the button down.
    void chooseFromMenu(int m);

    // Shows module m's button pressed (the others up) without asking for anything.
    void pressDown(int m);

    // During a task the six buttons other than the current module's are disabled; after it
    // all seven are enabled again.
    void setTaskRunning(bool running);

signals:
    void moduleChosen(int m);

private:
    SettingsRecord& settings_;
    QButtonGroup* group_ = nullptr;
    std::array<QToolButton*, 7> buttons_{};
};

// The picture of a module's button, drawn at the given size.
QPixmap ModuleButtonPicture(int m, int size);

} // namespace harmik
