#include "theory/exercise_points.h"

#include <algorithm>
#include <cmath>

#include "theory/exercise_item.h"

namespace harmik {

double roundHalfEven(double x) {
    const double lower = std::floor(x);
    const double fraction = x - lower;
    if (fraction > 0.5)
        return lower + 1.0;
    if (fraction < 0.5)
        return lower;
    return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}

int itemPoints(int ticked, int base, double factor, int exercisesPerTask) {
    const double spread = std::sqrt(static_cast<double>(std::max(0, ticked - 1)));
    const int raw = static_cast<int>(roundHalfEven(spread * base * factor));
    return raw * 22 / std::max(1, exercisesPerTask + 2);
}

int clefForRange(int low, int high, int lowBoth, int highBoth) {
    int clef = (low + high) / 2 < 60 ? ClefBass : ClefTreble;
    if (low < lowBoth)
        clef = ClefBass;
    if (high > highBoth)
        clef = ClefTreble;
    if (low < lowBoth && high > highBoth)
        clef = ClefBoth;
    return clef;
}

int intervalClef(int low, int high) {
    return clefForRange(low, high, 55, 65);
}
int scaleClef(int low, int high) {
    return clefForRange(low, high, 54, 65);
}

} // namespace harmik
