#include "input/fretboard_geometry.h"

#include "input/piano_geometry.h"

namespace harmik {

const std::array<int, kGuitarStrings> GuitarOpenNote = {52, 57, 62, 67, 71, 76};

std::vector<int> fretWireThousandths(int w) {
    int frets = 11;
    int spacing = 104;
    int shrink = 4;
    if (w > 950) {
        frets = 19;
        spacing = 68;
        shrink = 2;
    } else if (w > 800) {
        frets = 15;
        spacing = 84;
        shrink = 3;
    }
    std::vector<int> q;
    q.reserve(static_cast<std::size_t>(frets) + 1);
    int sum = 0;
    q.push_back(0);
    for (int f = 0; f < frets; ++f) {
        sum += spacing;
        spacing -= shrink;
        q.push_back(sum);
    }
    return q;
}

std::vector<int> fretWirePositions(int w) {
    std::vector<int> x;
    for (int q : fretWireThousandths(w))
        x.push_back(pianoNearest(static_cast<double>(q) * w / 1000.0) + kFirstWireX);
    return x;
}

int stringLineY(int s, int h) {
    return pianoNearest((33.0 * s + 15.0) * h / 200.0);
}

int guitarStringAt(int y, int h) {
    if (h <= 0)
        return 0;
    return kGuitarStrings - (kGuitarStrings * y) / h;
}

FretPress fretboardPressAt(int x, int y, int h, const std::vector<int>& fretX) {
    FretPress press;
    const int string = guitarStringAt(y, h);
    if (string < 1 || string > kGuitarStrings)
        return press;
    for (std::size_t f = 0; f < fretX.size(); ++f) {
        if (fretX[f] >= x) {
            press.Fret = static_cast<int>(f);
            press.String = string;
            press.Note = GuitarOpenNote[static_cast<std::size_t>(string - 1)] + press.Fret;
            return press;
        }
    }
    return press;
}

FretPress fretboardPlaceOf(int note) {
    FretPress place;
    place.Note = note;
    if (note < GuitarOpenNote[0] || note > 100)
        return place;
    // Each string takes the notes up to the next string's open note; the top one the rest.
    int string = kGuitarStrings;
    while (note < GuitarOpenNote[static_cast<std::size_t>(string - 1)])
        --string;
    place.String = string;
    place.Fret = note - GuitarOpenNote[static_cast<std::size_t>(string - 1)];
    return place;
}

bool fretboardDotCentre(int fret, int string, int h, const std::vector<int>& fretX, int& x,
                        int& y) {
    if (fret < 0 || static_cast<std::size_t>(fret) >= fretX.size() || string < 1 ||
        string > kGuitarStrings)
        return false;
    x = fretX[static_cast<std::size_t>(fret)] - 13;
    y = h * ((kGuitarStrings - string) * 33 + 17) / 200;
    return true;
}

std::vector<FretDot> fretboardPositionDots(int w, int h) {
    const std::vector<int> q = fretWireThousandths(w);
    std::vector<FretDot> dots;
    auto between = [&](std::size_t f) { return static_cast<double>(q[f] + q[f + 1]) * w / 2000.0; };
    for (std::size_t f : {2u, 4u, 6u, 8u, 14u, 16u, 18u}) {
        if (f + 1 < q.size())
            dots.push_back({pianoNearest(between(f)) + 57, h / 2});
    }
    if (12 < q.size()) {
        const int x = pianoNearest(between(11)) + 60;
        dots.push_back({x, h * 66 / 200});
        dots.push_back({x, h * 132 / 200});
    }
    return dots;
}

} // namespace harmik
