#include "app/main_menu.h"

#include "userdata/strings.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace harmik {

const std::vector<MenuItemDef>& MainMenuItems() {
    static const std::vector<MenuItemDef> items = {
        {"mFiler", 5001, 0, nullptr, 5003, true},
        {"mSeRetProfil", 5004, 5005, nullptr, 5006, false},
        {"N4", 0, 0, nullptr, 0, false},
        {"mGemovelse", 5013, 5014, nullptr, 5015, false},
        {"mHentovelse", 5016, 5017, nullptr, 5018, false},
        {"N1", 0, 0, nullptr, 0, false},
        {"mAfslutHarmik", 5019, 5020, nullptr, 5021, false},
        {"mModuler", 5029, 0, nullptr, 5200, true},
        {"mIntervaller", 5030, 0, "Alt+1", 5201, false},
        {"mSkalaer", 5031, 0, "Alt+2", 5202, false},
        {"mAkkorder", 5032, 0, "Alt+3", 5203, false},
        {"mOmvendinger", 5033, 0, "Alt+4", 5204, false},
        {"mProgression", 5036, 0, "Alt+5", 5208, false},
        {"mMelodier", 5034, 0, "Alt+6", 5205, false},
        {"mRytme", 5035, 0, "Alt+7", 5206, false},
        {"N2", 0, 0, nullptr, 0, false},
        {"mTutor", 5038, 5039, nullptr, 5207, false},
        {"mPointMenu", 5040, 0, nullptr, 5042, true},
        {"mTop10", 5043, 5044, nullptr, 5045, false},
        {"mIndstilMenu", 5050, 0, nullptr, 5052, true},
        {"mMidi", 5053, 5054, nullptr, 5055, false},
        {"mDiverse", 5056, 5057, nullptr, 5058, false},
        {"N5", 0, 0, nullptr, 0, false},
        {"mVisTitel", 5065, 5066, nullptr, 5067, false},
        {"mMidiThru", 5059, 5060, nullptr, 5061, false},
        {"mMidiKlaverLyt", 5062, 5063, nullptr, 5064, false},
        {"mHelp", 5100, 0, nullptr, 5102, true},
        {"mIndhold", 5103, 5104, nullptr, 5105, false},
        {"mTastatur", 5106, 5107, nullptr, 5108, false},
        {"mHelpon", 5109, 5110, nullptr, 5111, false},
        {"mHurtiggennemgang", 5112, 5113, nullptr, 5114, false},
        {"N3", 0, 0, nullptr, 0, false},
        {"mVisnoder", 5124, 5125, nullptr, 5126, false},
        {"N6", 0, 0, nullptr, 0, false},
        {"mOmHarmik", 5118, 5119, nullptr, 5120, false},
        {"mHomepage", 5121, 5122, nullptr, 5123, false},
    };
    return items;
}

QKeySequence ShortcutFromText(const QString& text) {
    const QKeySequence seq = QKeySequence::fromString(text, QKeySequence::PortableText);
    if (seq.isEmpty())
        return {};
    for (int i = 0; i < seq.count(); ++i) {
        if (seq[i].key() == Qt::Key_unknown)
            return {};
    }
    return seq;
}

QHash<QString, QAction*> BuildMainMenu(QMenuBar* menuBar) {
    QHash<QString, QAction*> actions;
    QMenu* current = nullptr;
    for (const MenuItemDef& def : MainMenuItems()) {
        const QString name = QString::fromLatin1(def.name);
        if (def.dropDown) {
            current = menuBar->addMenu(LoadStr(def.captionId));
            current->setObjectName(name);
            QAction* action = current->menuAction();
            action->setObjectName(name);
            action->setStatusTip(SplitHint(LoadStr(def.hintId)).Long);
            actions.insert(name, action);
            continue;
        }
        if (current == nullptr)
            continue;
        if (def.captionId == 0) {
            current->addSeparator()->setObjectName(name);
            continue;
        }
        auto* action = new QAction(LoadStr(def.captionId), menuBar->parent());
        action->setObjectName(name);
        action->setStatusTip(SplitHint(LoadStr(def.hintId)).Long);
        if (def.shortcutId != 0)
            action->setShortcut(ShortcutFromText(LoadStr(def.shortcutId)));
        else if (def.layoutShortcut != nullptr)
            action->setShortcut(QKeySequence(QString::fromLatin1(def.layoutShortcut)));
        current->addAction(action);
        actions.insert(name, action);
    }
    return actions;
}

} // namespace harmik
