#include "app/tab_order.h"

#include "input/answer_panel.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace harmik {
namespace {

// Tops closer than this stand in one row.
constexpr int kRowTolerance = 8;

bool takesTab(const QWidget* w) {
    return (w->focusPolicy() & Qt::TabFocus) != 0 && w->focusProxy() == nullptr;
}

// The child widgets of `parent` that are shown, in reading order: rows from the top, each row
// from the left.
std::vector<QWidget*> inReadingOrder(QWidget* parent) {
    std::vector<QWidget*> children;
    for (QObject* o : parent->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (w != nullptr && !w->isWindow() && !w->isHidden())
            children.push_back(w);
    }
    if (qobject_cast<AnswerPanel*>(parent) != nullptr)
        return children; // created in item order
    std::stable_sort(children.begin(), children.end(),
                     [](QWidget* a, QWidget* b) { return a->y() < b->y(); });
    auto rowStart = children.begin();
    while (rowStart != children.end()) {
        const int top = (*rowStart)->y();
        auto rowEnd = std::find_if(rowStart, children.end(),
                                   [top](QWidget* w) { return w->y() >= top + kRowTolerance; });
        std::stable_sort(rowStart, rowEnd, [](QWidget* a, QWidget* b) { return a->x() < b->x(); });
        rowStart = rowEnd;
    }
    return children;
}

void collectTabChain(QWidget* parent, std::vector<QWidget*>& chain) {
    for (QWidget* w : inReadingOrder(parent)) {
        if (takesTab(w))
            chain.push_back(w); // a spin box or combo box handles its own parts
        else if (qobject_cast<QAbstractSpinBox*>(w) == nullptr &&
                 qobject_cast<QComboBox*>(w) == nullptr)
            collectTabChain(w, chain);
    }
}

} // namespace

void OrderTabsByScreen(QWidget* window) {
    std::vector<QWidget*> chain;
    collectTabChain(window, chain);
    for (std::size_t i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}

} // namespace harmik
