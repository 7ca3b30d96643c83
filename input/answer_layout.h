#pragma once
#include <array>
#include <ostream>
#include <string>
#include <vector>

#include "theory/random.h"

// The answer panel's arithmetic, as plain functions that the panel widget, the main
// window's layout and the tests call: the geometry of the panel and its boxes for a window
// size, the option groups placed beside it, the rhythm symbol pairing and the preview root.
namespace harmik {

struct ItemNameList;

constexpr int kAnswerBoxTotal = 51;

// Nearest integer with halves to the even neighbour; trunc drops the fraction.
int Nearest(double x);
int Trunc(double x);

// Per-module layout constants (module numbers 1..7; 0 outside modules 1..5).
int RowsPerColumn(int module);
constexpr std::array<int, 5> ProgressionColumnStart{0, 10, 27, 49, 57};
// The module's longest item name in characters as the item-name list keeps it; 8 for
// inversions, 14 for progressions, 0 for melodies and rhythm.
int LongestItemName(int module, const ItemNameList& names);

// A rectangle in the coordinates of the widget's parent (for the boxes: of the panel).
struct PanelRect {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;

    int right() const { return Left + Width; }
    int bottom() const { return Top + Height; }
    friend bool operator==(const PanelRect&, const PanelRect&) = default;
};
std::ostream& operator<<(std::ostream& os, const PanelRect& r);

// What EarDoProblemGroup reads of the main window.
struct PanelLayoutInput {
    int ClientWidth = 800; // the main window's client area
    int ClientHeight = 600;
    int WindowWidth = 800; // the main window's outer width (progression font rule: > 820)
    int StaffHeight = 0;   // Pan_Staff
    int PianoHeight = 0;   // Pan_Klaver
    int MenuHeight = 0;    // SpeedMenu
    int OveWidth = 0;      // Pan_Ove
    int StatusBar = 1;     // 0 or 1
    int Module = 1;
    int AnswerBoxCount = 0;
    int LongestItemName = 0;
    int KvalitetTag = 0;      // GroupKvalitet's Tag: its number of group boxes
    int AfspilTag = 3;        // RadioAfspil's Tag: its number of items
    bool OpNedEnabled = true; // RadioOpNed enabled (height H div 7) or not (height 0)
    // Pixel height of the column labels' font (the main window's font; 11 for the platform's
    // 8-point default). The inversion labels stand this much above box 0.
    int LabelFontHeight = 11;
};

struct BoxLayout {
    PanelRect Rect;           // in the panel
    bool CaptionLeft = false; // caption left of the box (intervals 0..11)
    std::string FontFamily;   // "Arial" or "Times"
    int FontSize = 0;         // points
};

// The option groups that EarDoProblemGroup places beside the panel.
// Group rectangles are in the main window's client area; the rectangles of controls inside a
// group are in that group.
struct OptionGroupLayout {
    PanelRect GroupKvalitet;
    std::vector<PanelRect> KvalitetBoxes; // CheckKval1.. stacked inside (KvalitetTag of them)
    int KvalitetFontSize = 0;
    PanelRect RadioAfspil;
    PanelRect GroupGrundtone;
    PanelRect ComboGrundtone; // inside GroupGrundtone
    PanelRect RadioOmfang;
    PanelRect RadioOpNed;
    PanelRect GroupBelig;
    PanelRect CheckBelig;   // inside GroupBelig
    PanelRect GroupKadence; // progressions
};

struct PanelLayout {
    int Module = 0;
    // The step-2 quantities (0 in the rhythm module).
    int H = 0;
    int Rows = 0;
    int Cols = 0;
    int ColW = 0;
    int Pitch = 0;
    int StepThreeWidth = 0; // panel width of step 3, before the module's step-5 change

    PanelRect Panel;              // Group_Problem in the client area
    int PanelFontSize = 0;        // the group's own font size (rhythm 10; 0 = leave as it is)
    std::vector<BoxLayout> Boxes; // one per box in use (rhythm: 12)

    // Column labels LabOktav1..4: the x (in the panel) their centre sits on and their top;
    // LabelCount of them are placed (intervals 2, inversions 4, others 0).
    int LabelCount = 0;
    std::array<int, 4> LabelCentreX{};
    int LabelTop = 0;

    // Bevel2..Bevel6 (index 0..4): inversion line (Bevel2) or the scale brackets.
    std::array<PanelRect, 5> Bevels{};
    std::array<bool, 5> BevelShown{};

    // Rhythm: PanRytme's top (−1 elsewhere) and whether the rhythm pictures (ImageRytmeValg,
    // LabRytmeTrioler, LabRytmePct, PanRytme) are shown; they are hidden in modules 1..5.
    int PanRytmeTop = -1;
    bool RhythmPicturesShown = false;

    OptionGroupLayout Options; // modules 1..5 only
};

// The height a font of `points` takes in pixels at 96 dots per inch (the platform's MulDiv).
int FontPixelHeight(int points);

// EarDoProblemGroup's arithmetic for modules 1..5 and the rhythm module's fixed layout
// (with EarDoScreen's step 6 size and centring for rhythm). taskRunning only decides whether
// the rhythm pictures are shown.
PanelLayout ComputePanelLayout(const PanelLayoutInput& in, bool taskRunning = false);

// An option group beside the panel as the layout gives it and as its contents need it.
struct OptionGroupNeed {
    PanelRect Formula; // the layout's rectangle
    int MinWidth = 0;  // what its title and items need
    int MinHeight = 0;
    bool AtTop = false; // stands at the panel's top (GroupKvalitet), the others stack from below
};

// Places the option groups in the area right of the panel (left..right, top..bottom): one
// column as the layout gives it, each group at least as high as it needs, stacked upwards from
// the bottom in the given order, the top group at the top. When one column is too low, the
// groups go into two or three columns of equal width side by side. Empty when they do not fit.
std::vector<PanelRect> FitOptionGroups(const std::vector<OptionGroupNeed>& groups, int left,
                                       int top, int bottom, int right);

// Rhythm symbols: box `index` (0..8) stands for symbol j, together with partner box k; the
// symbol shows selected when box j or box k is ticked.
struct RhythmSymbolPair {
    int Symbol = 0;
    int Partner = 0;
};
RhythmSymbolPair RhythmSymbolOf(int index);

// The symbol strip of ImageRnoder: five (x, width) pairs; row 0 unselected, row 37 selected,
// 36 high; a symbol is copied to x = 24 × symbol, y = 0 of ImageRytmeValg.
struct RhythmSymbolBlit {
    int SourceX = 0;
    int SourceY = 0;
    int Width = 0;
    int Height = 36;
    int DestX = 0;
    int DestY = 0;
};
constexpr std::array<std::array<int, 2>, 5> RhythmSymbolStrip{
    {{0, 15}, {15, 11}, {26, 11}, {38, 21}, {60, 21}}};
RhythmSymbolBlit RhythmSymbolCopy(int symbol, bool selected);

// The root of the right-click preview: with the random root (RootNote 72) chords draw
// Random(12) + 50, the other modules Random(12) + 56; otherwise RootNote, and a chord whose
// highest offset (of the type's voicing `voicing`, 0 = close root position) would pass 83
// is lowered by 12.
int PreviewRoot(int module, int itemIndex, int rootNote, Random& random, int voicing = 0);

} // namespace harmik
