#include "input/answer_layout.h"

#include <algorithm>
#include <cmath>

#include "theory/item_names.h"
#include "theory/theory_tables.h"

namespace harmik {

namespace {

constexpr int kModuleIntervals = 1;
constexpr int kModuleScales = 2;
constexpr int kModuleChords = 3;
constexpr int kModuleInversions = 4;
constexpr int kModuleProgressions = 5;
constexpr int kModuleRhythm = 7;

constexpr int kRhythmPanelWidth = 345;
constexpr int kRhythmPanelHeight = 184;
constexpr int kRhythmBoxCount = 12;
constexpr int kRandomRootNote = 72;

BoxLayout rhythmBox(int i) {
    BoxLayout box;
    box.FontFamily = "Arial";
    box.Rect.Height = 17;
    box.Rect.Width = 16;
    if (i <= 4) {
        box.Rect.Left = 24 * i + 65;
        box.Rect.Top = 56;
        box.FontSize = 6;
    } else if (i <= 8) {
        box.Rect.Left = 24 * (i - 4) + 65;
        box.Rect.Top = 74;
        box.FontSize = 6;
    } else {
        box.Rect.Left = 220;
        box.Rect.Width = 120;
        box.Rect.Top = 18 * (i - 9) + 39;
        box.FontSize = 9;
    }
    return box;
}

// The rhythm module: fixed boxes in a 345 × 184 panel centred right of Pan_Ove between
// SpeedMenu and Pan_Staff (EarDoScreen step 6).
PanelLayout rhythmLayout(const PanelLayoutInput& in, bool taskRunning) {
    PanelLayout layout;
    layout.Module = kModuleRhythm;
    const int pianoTop = in.ClientHeight - in.PianoHeight - 16 * in.StatusBar;
    const int staffTop = pianoTop - in.StaffHeight;
    layout.Panel.Width = kRhythmPanelWidth;
    layout.Panel.Height = kRhythmPanelHeight;
    layout.Panel.Left = in.OveWidth + (in.ClientWidth - in.OveWidth - kRhythmPanelWidth) / 2;
    layout.Panel.Top = in.MenuHeight + (staffTop - in.MenuHeight - kRhythmPanelHeight) / 2;
    layout.PanelFontSize = 10;
    for (int i = 0; i < kRhythmBoxCount; ++i)
        layout.Boxes.push_back(rhythmBox(i));
    layout.PanRytmeTop = layout.Boxes[11].Rect.Top + 18;
    layout.RhythmPicturesShown = !taskRunning;
    return layout;
}

int boxLeftAndWidth(const PanelLayoutInput& in, int i, int col, int colW, int groupWidth, int cols,
                    int& width, bool& captionLeft) {
    const int unit = in.ClientWidth / 75;
    switch (in.Module) {
    case kModuleIntervals:
        if (i <= 11) {
            captionLeft = true;
            return 15;
        }
        if (i > 23)
            width = Nearest(width / 1.3);
        return Nearest(colW / 1.6) * col + colW + 5;
    case kModuleInversions:
        if (i > 27)
            width = 20;
        if (i <= 6)
            return 15;
        return Nearest(colW / 2.0 + 15 + col * colW);
    case kModuleProgressions: {
        const int c = std::clamp(col, 0, static_cast<int>(ProgressionColumnStart.size()) - 2);
        width = unit * (ProgressionColumnStart[static_cast<std::size_t>(c) + 1] -
                        ProgressionColumnStart[static_cast<std::size_t>(c)]);
        return unit * ProgressionColumnStart[static_cast<std::size_t>(c)] + 15;
    }
    default: // scales and chords
        if (in.Module == kModuleChords && (i == 45 || i == 46))
            width = Trunc(static_cast<double>(groupWidth) / cols * 1.1);
        return col * (colW + 20) + 15;
    }
}

void placeOptionGroups(const PanelLayoutInput& in, PanelLayout& layout) {
    OptionGroupLayout& o = layout.Options;
    const int H = layout.H;
    const int left = layout.Panel.Left + layout.Panel.Width - 2;
    const int width = in.ClientWidth / 4;

    o.GroupKvalitet = {left, layout.Panel.Top, in.ClientWidth / 5, (H / 14) * (in.KvalitetTag + 1)};
    const int step = H / 14;
    for (int k = 0; k < in.KvalitetTag; ++k)
        o.KvalitetBoxes.push_back({8, step / 2 + k * step, o.GroupKvalitet.Width - 16, step});
    o.KvalitetFontSize = std::max(11, std::min(Nearest(static_cast<double>(o.GroupKvalitet.Height) /
                                                       std::max(1, layout.Rows) * 0.8),
                                               o.GroupKvalitet.Width / 10));

    const int afspilHeight = (H / 16) * in.AfspilTag;
    o.RadioAfspil = {left, layout.Panel.bottom() - afspilHeight, width, afspilHeight};
    const int grundHeight = H / 6;
    o.GroupGrundtone = {left, o.RadioAfspil.Top - grundHeight, width, grundHeight};
    o.ComboGrundtone = {(width - width / 2) / 2, grundHeight / 3, width / 2, 0};
    o.RadioOmfang = {left, o.GroupGrundtone.Top - H / 7, width, H / 7};
    const int opNedHeight = in.OpNedEnabled ? H / 7 : 0;
    o.RadioOpNed = {left, o.RadioOmfang.Top - opNedHeight, width, opNedHeight};
    o.GroupBelig = {left, o.GroupGrundtone.Top - H / 7, width, H / 7};
    o.CheckBelig = {5, Nearest(o.GroupBelig.Height / 2.3), width - 10,
                    Nearest(0.4 * o.GroupBelig.Height)};
    o.GroupKadence = {left, o.GroupGrundtone.Top - H / 4, width, H / 4};
}

} // namespace

int Nearest(double x) {
    return static_cast<int>(std::nearbyint(x));
}

int Trunc(double x) {
    return static_cast<int>(std::trunc(x));
}

int RowsPerColumn(int module) {
    static constexpr std::array<int, 5> rows{12, 14, 12, 7, 16};
    return module >= 1 && module <= 5 ? rows[static_cast<std::size_t>(module - 1)] : 0;
}

int LongestItemName(int module, const ItemNameList& names) {
    switch (module) {
    case kModuleIntervals:
        return names.LongestInterval;
    case kModuleScales:
        return names.LongestScale;
    case kModuleChords:
        return names.LongestChord;
    case kModuleInversions:
        return 8;
    case kModuleProgressions:
        return 14;
    default:
        return 0;
    }
}

std::ostream& operator<<(std::ostream& os, const PanelRect& r) {
    return os << "(" << r.Left << ", " << r.Top << ", " << r.Width << " x " << r.Height << ")";
}

int FontPixelHeight(int points) {
    // MulDiv(points, 96, 72): rounded, halves away from zero.
    return (points * 96 + 36) / 72;
}

PanelLayout ComputePanelLayout(const PanelLayoutInput& in, bool taskRunning) {
    if (in.Module == kModuleRhythm)
        return rhythmLayout(in, taskRunning);
    PanelLayout layout;
    layout.Module = in.Module;
    if (in.Module < kModuleIntervals || in.Module > kModuleProgressions)
        return layout;

    // Step 1.
    const int H =
        in.ClientHeight - in.StaffHeight - in.PianoHeight - 16 * in.StatusBar - in.MenuHeight;
    layout.H = H;
    layout.Panel = {in.OveWidth + 3, in.MenuHeight, 0, H};

    // Step 2.
    const int rows = RowsPerColumn(in.Module);
    const int cols = (in.AnswerBoxCount - 1) / rows + 1;
    const int colW = (in.ClientWidth / 75) * in.LongestItemName;
    const int pitch = H / (rows + 1);
    layout.Rows = rows;
    layout.Cols = cols;
    layout.ColW = colW;
    layout.Pitch = pitch;

    // Step 3.
    const int groupWidth = 20 * cols + 30 + cols * colW;
    const int W = groupWidth - 30;
    layout.StepThreeWidth = groupWidth;
    layout.Panel.Width = groupWidth;

    // Step 4.
    const double longest = std::max(1, in.LongestItemName);
    const int fontByHeight = H / (rows + 4);
    const double textRoom = groupWidth - 15 - 20 * cols;
    BoxLayout font;
    if (in.Module == kModuleProgressions && in.WindowWidth > 820) {
        font.FontFamily = "Times";
        font.FontSize =
            std::max(12, std::min(fontByHeight, Trunc(textRoom / longest * 1.4 / cols)));
    } else {
        font.FontFamily = "Arial";
        font.FontSize =
            std::max(11, std::min(fontByHeight, Trunc(textRoom / longest * 1.8 / cols)));
    }
    for (int i = 0; i < in.AnswerBoxCount; ++i) {
        const int col = i / rows;
        const int row = i % rows;
        BoxLayout box = font;
        int width = Trunc(static_cast<double>(W) / cols * 0.875);
        box.Rect.Left = boxLeftAndWidth(in, i, col, colW, groupWidth, cols, width, box.CaptionLeft);
        box.Rect.Width = width;
        box.Rect.Top = row * pitch + pitch;
        box.Rect.Height = H / 16;
        layout.Boxes.push_back(box);
    }

    // Step 5.
    const auto boxLeft = [&](int i) {
        return i < static_cast<int>(layout.Boxes.size())
                   ? layout.Boxes[static_cast<std::size_t>(i)].Rect.Left
                   : 0;
    };
    switch (in.Module) {
    case kModuleIntervals:
        layout.LabelCount = 2;
        layout.LabelCentreX = {boxLeft(12) + 6, boxLeft(24) + 6, 0, 0};
        layout.LabelTop = 0;
        layout.Panel.Width = groupWidth - colW / 2 + 15;
        break;
    case kModuleInversions: {
        layout.LabelCount = 4;
        layout.LabelCentreX = {boxLeft(7) + 6, boxLeft(14) + 6, boxLeft(21) + 6, boxLeft(28) + 6};
        const PanelRect first = layout.Boxes.empty() ? PanelRect{} : layout.Boxes[0].Rect;
        layout.LabelTop = first.Top - in.LabelFontHeight;
        layout.Panel.Width = cols * colW + 30 - colW / 4 + 15;
        layout.Bevels[0] = {first.Width + 20, first.Top, 1, H - 30};
        layout.BevelShown[0] = true;
        break;
    }
    case kModuleChords:
    case kModuleProgressions:
        layout.Panel.Width += colW / 9;
        break;
    case kModuleScales: {
        const int firstTop = (pitch - 4) + pitch / 2;
        const int secondTop = Trunc(7.5 * pitch) + pitch - 4;
        const int tall = Trunc(6.4 * pitch);
        layout.Bevels[0] = {8, firstTop, 14, tall};
        layout.Bevels[1] = {8, secondTop, 14, tall};
        layout.Bevels[2] = {colW + 28, firstTop, 14, tall};
        layout.Bevels[3] = {colW + 28, secondTop, 14, Trunc(3.4 * pitch)};
        layout.Bevels[4] = {colW + 28, Trunc(11.5 * pitch) + pitch - 4, 14, Trunc(2.4 * pitch)};
        layout.BevelShown.fill(true);
        break;
    }
    default:
        break;
    }

    // Step 6: the rhythm pictures are hidden in modules 1..5.
    layout.RhythmPicturesShown = false;

    placeOptionGroups(in, layout);
    return layout;
}

std::vector<PanelRect> FitOptionGroups(const std::vector<OptionGroupNeed>& groups, int left,
                                       int top, int bottom, int right) {
    const int roomWidth = right - left;
    const int roomHeight = bottom - top;
    if (groups.empty())
        return {};
    int formulaWidth = 0;
    for (const OptionGroupNeed& g : groups)
        formulaWidth = std::max(formulaWidth, g.Formula.Width);
    for (int columns = 1; columns <= 3; ++columns) {
        const int width = std::min(formulaWidth, roomWidth / columns);
        std::vector<PanelRect> rects(groups.size());
        std::vector<int> used(static_cast<std::size_t>(columns), 0); // stacked from the bottom
        std::vector<int> topUsed(static_cast<std::size_t>(columns), 0);
        bool fits = true;
        int column = 0;
        for (std::size_t i = 0; i < groups.size() && fits; ++i) {
            const OptionGroupNeed& g = groups[i];
            const int w =
                columns == 1 ? std::min(std::max(g.Formula.Width, g.MinWidth), roomWidth) : width;
            const int h = std::max(g.Formula.Height, g.MinHeight);
            if (g.MinWidth > w) {
                fits = false;
                break;
            }
            // The top group goes into the last column that has room for it.
            while (column < columns) {
                const auto c = static_cast<std::size_t>(column);
                if (used[c] + topUsed[c] + h <= roomHeight)
                    break;
                ++column;
            }
            if (column >= columns) {
                fits = false;
                break;
            }
            const auto c = static_cast<std::size_t>(column);
            const int x = left + column * width;
            if (g.AtTop) {
                rects[i] = {x, top + topUsed[c], w, h};
                topUsed[c] += h;
            } else {
                used[c] += h;
                rects[i] = {x, bottom - used[c], w, h};
            }
        }
        if (fits)
            return rects;
    }
    return {};
}

RhythmSymbolPair RhythmSymbolOf(int index) {
    RhythmSymbolPair pair;
    pair.Symbol = index > 4 ? index - 4 : index;
    pair.Partner = index >= 1 && index <= 4 ? index + 4 : index;
    return pair;
}

RhythmSymbolBlit RhythmSymbolCopy(int symbol, bool selected) {
    const int s = std::clamp(symbol, 0, static_cast<int>(RhythmSymbolStrip.size()) - 1);
    RhythmSymbolBlit blit;
    blit.SourceX = RhythmSymbolStrip[static_cast<std::size_t>(s)][0];
    blit.Width = RhythmSymbolStrip[static_cast<std::size_t>(s)][1];
    blit.SourceY = selected ? 37 : 0;
    blit.DestX = 24 * s;
    return blit;
}

int PreviewRoot(int module, int itemIndex, int rootNote, Random& random, int voicing) {
    if (rootNote == kRandomRootNote)
        return random.random(12) + (module == kModuleChords ? 50 : 56);
    int root = rootNote;
    if (module == kModuleChords) {
        const int span = chordVoicing(chordVoicingRecord(itemIndex, voicing)).span();
        if (root + span > 83)
            root -= 12;
    }
    return root;
}

} // namespace harmik
