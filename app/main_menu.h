#pragma once
#include <QHash>
#include <QKeySequence>
#include <QString>
#include <vector>

class QAction;
class QMenuBar;
class QObject;

namespace harmik {

// One entry of the main menu: the component name, the string ids of its caption, shortcut and
// status text, and the shortcut of the window layout that stays when no shortcut id is given.
struct MenuItemDef {
    const char* name;
    int captionId;  // 0 for a separator
    int shortcutId; // 0: keep the layout shortcut
    const char* layoutShortcut;
    int hintId;
    bool dropDown; // a drop-down of the bar; the items after it belong to it
};

// The menu bar in the order of the bar and of each drop-down.
const std::vector<MenuItemDef>& MainMenuItems();

// The shortcut a shortcut text stands for. A text the conversion does not understand (for
// example "(Нет)", which Qt turns into an unknown key, not an empty sequence) gives none.
QKeySequence ShortcutFromText(const QString& text);

// Builds the bar into menuBar: captions, shortcuts and status texts from the string table.
// Returns every item's action by component name (drop-downs by their own names too).
QHash<QString, QAction*> BuildMainMenu(QMenuBar* menuBar);

} // namespace harmik
