#include "userdata/help_request.h"

#include <QVariant>
#include <QWidget>

namespace harmik {
namespace {

HelpOpener& openerSlot() {
    static HelpOpener opener;
    return opener;
}

} // namespace

HelpOpener SetHelpOpener(HelpOpener opener) {
    HelpOpener previous = std::move(openerSlot());
    openerSlot() = std::move(opener);
    return previous;
}

void OpenHelpTopic(int topic) {
    if (openerSlot())
        openerSlot()(topic);
}

int HelpContextOf(const QWidget* widget) {
    for (const QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
        const int context = w->property("HelpContext").toInt();
        if (context > 0)
            return context;
    }
    return 0;
}

} // namespace harmik
