#pragma once
#include <QColor>

namespace harmik {

// What the main window does for the display's colour depth at creation: which message it
// shows (0 none, 2010 below 8 bits, 2011 from 8 to 14 bits) and which colours it adapts.
struct ColourDepthDecision {
    int messageId = 0;
    bool HighColourDisplay = true;
    QColor windowColour;    // main window background
    QColor fontColour;      // invalid: keep the palette's
    QColor speedMenuColour; // module button panel; invalid: keep the layout's
    QColor gaugeBackground;
    QColor gaugeForeground;
};

// The layout colour of the main window.
QColor LayoutWindowColour();

ColourDepthDecision DecideColourDepth(int bitsPerPixel);

} // namespace harmik
