#pragma once
#include <QString>
#include <functional>

class QBoxLayout;
class QCheckBox;
class QDialog;
class QLabel;
class QSlider;
class QWidget;

namespace harmik {

// Small pieces the settings dialogs share: controls with their captions and hints from the
// string table, and the dialogs' OK and Cancel row.

// A horizontal slider over min..max with the hint `hintId` (0: none).
QSlider* MakeSlider(QWidget* parent, int min, int max, int hintId);

// A check box captioned `captionId` with the hint `hintId`.
QCheckBox* MakeCheck(QWidget* parent, int captionId, int hintId);

// A label that shows a slider's value, wide enough for `widest`.
QLabel* MakeValueLabel(QWidget* parent, const QString& widest);

// OK (the default button) and Cancel at the foot of the dialog: OK runs `okClicked`, which
// accepts the dialog or keeps it open; Cancel rejects it. With `withHelp` a Help button (and
// F1) opens the dialog's help context as it is when pressed (HelpContextOf).
void AddOkCancel(QDialog* dialog, QBoxLayout* layout, std::function<void()> okClicked,
                 bool withHelp = false);

} // namespace harmik
