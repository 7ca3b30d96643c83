#include "app/colour_depth.h"

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

} // namespace harmik
