#include "app/colour_depth.h"

#include "userdata/messages.h"
#include "userdata/strings.h"

#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QWidget>

namespace harmik {

QColor LayoutWindowColour() {
    return QColor(0x3F, 0x68, 0x91);
}

ColourDepthDecision DecideColourDepth(int bitsPerPixel) {
    ColourDepthDecision d;
    if (bitsPerPixel >= 15) {
        d.windowColour = LayoutWindowColour();
        return d;
    }
    d.HighColourDisplay = false;
    if (bitsPerPixel < 8) {
        d.messageId = 2010;
        d.windowColour = QColor(0x00, 0x80, 0x00); // green
    } else {
        d.messageId = 2011;
        d.windowColour = LayoutWindowColour(); // the nearest colour the palette offers
    }
    d.fontColour = QColor(0xC0, 0xC0, 0xC0);      // silver
    d.speedMenuColour = QColor(0xFF, 0xFF, 0x00); // yellow
    d.gaugeBackground = d.windowColour;
    d.gaugeForeground = d.fontColour;
    return d;
}

int ScreenDepth(const QWidget* w) {
    const QScreen* screen = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->depth() : 24;
}

void ShowColourDepthMessage(QWidget* parent, const ColourDepthDecision& d) {
    constexpr int kColourDepthHelpTopic = 153;
    if (d.messageId == 2010)
        ShowMessage(parent, {MessageType::Warning,
                             MessageButtons::OkHelp,
                             LoadStr(2010),
                             kColourDepthHelpTopic,
                             {}});
    else if (d.messageId == 2011)
        ShowMessage(parent, {MessageType::Information,
                             MessageButtons::OkHelp,
                             LoadStr(2011),
                             kColourDepthHelpTopic,
                             {}});
}

void ApplyColourDepthColours(QWidget* area, QWidget* moduleButtons, const ColourDepthDecision& d) {
    QPalette pal = area->palette();
    pal.setColor(QPalette::Window, d.windowColour);
    pal.setColor(QPalette::WindowText, d.fontColour.isValid() ? d.fontColour : QColor(Qt::white));
    // Buttons keep dark marks (arrows, captions) on their light faces.
    pal.setColor(QPalette::ButtonText, Qt::black);
    area->setAutoFillBackground(true);
    area->setPalette(pal);
    if (d.speedMenuColour.isValid()) {
        QPalette menuPal = moduleButtons->palette();
        menuPal.setColor(QPalette::Window, d.speedMenuColour);
        moduleButtons->setAutoFillBackground(true);
        moduleButtons->setPalette(menuPal);
    }
}

} // namespace harmik
