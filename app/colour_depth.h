#pragma once
#include <QColor>

class QWidget;

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

// The colour depth of the screen a widget is on (24 without a screen).
int ScreenDepth(const QWidget* w);
// Tells the user about a poor display (2010, 2011) with help topic 153; nothing otherwise.
void ShowColourDepthMessage(QWidget* parent, const ColourDepthDecision& d);
// The window's area and its module buttons in the colours chosen for the display.
void ApplyColourDepthColours(QWidget* area, QWidget* moduleButtons, const ColourDepthDecision& d);

} // namespace harmik
