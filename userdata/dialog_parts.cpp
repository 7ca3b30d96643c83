#include "userdata/dialog_parts.h"

#include "userdata/help_request.h"
#include "userdata/hints.h"
#include "userdata/strings.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QSlider>

namespace harmik {
namespace {

constexpr int kOkCaption = 550;
constexpr int kCancelCaption = 551;
constexpr int kHelpCaption = 552;

} // namespace

QSlider* MakeSlider(QWidget* parent, int min, int max, int hintId) {
    auto* s = new QSlider(Qt::Horizontal, parent);
    s->setRange(min, max);
    s->setPageStep(1);
    s->setMinimumWidth(140);
    if (hintId != 0)
        ApplyHintId(s, hintId);
    return s;
}

QCheckBox* MakeCheck(QWidget* parent, int captionId, int hintId) {
    auto* c = new QCheckBox(LoadStr(captionId), parent);
    if (hintId != 0)
        ApplyHintId(c, hintId);
    return c;
}

QLabel* MakeValueLabel(QWidget* parent, const QString& widest) {
    auto* l = new QLabel(parent);
    l->setMinimumWidth(l->fontMetrics().horizontalAdvance(widest) + 4);
    return l;
}

void AddOkCancel(QDialog* dialog, QBoxLayout* layout, std::function<void()> okClicked,
                 bool withHelp) {
    auto* ok = new QPushButton(LoadStr(kOkCaption), dialog);
    ok->setObjectName(QStringLiteral("OKBtn"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(LoadStr(kCancelCaption), dialog);
    cancel->setObjectName(QStringLiteral("CancelBtn"));
    QObject::connect(ok, &QPushButton::clicked, dialog, std::move(okClicked));
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(ok);
    row->addWidget(cancel);
    if (withHelp) {
        auto* help = new QPushButton(LoadStr(kHelpCaption), dialog);
        help->setObjectName(QStringLiteral("HelpBtn"));
        help->setAutoDefault(false);
        auto* f1 = new QShortcut(QKeySequence::HelpContents, dialog);
        QObject::connect(f1, &QShortcut::activated, help, &QPushButton::click);
        QObject::connect(help, &QPushButton::clicked, dialog,
                         [dialog] { OpenHelpTopic(HelpContextOf(dialog)); });
        row->addWidget(help);
    }
    layout->addLayout(row);
}

} // namespace harmik
