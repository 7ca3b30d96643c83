#pragma once

#include "theory/exercise_item.h"
#include "theory/generator_options.h"
#include "theory/random.h"

// The generators of the interval, scale, chord and inversion modules. Each draws an item from
// the ticked answer boxes (index -1) or takes the given index, places its root in the module's
// range and fills the exercise item; a new draw also sets the item's points.
namespace harmik {

constexpr int kDrawNewItem = -1;

// What the staff has to do for a generated item; the window carries it out.
struct StaffRequest {
    bool ClearAccidentals = false; // clear the accidental memory before the new item
    bool MakeRoom = false;         // scroll or reset the staff when it is too full to the right
    bool DrawRoot = false;
    int RootToDraw = 0; // negative for a downward interval played harmonically
};

struct GenerateResult {
    StaffRequest Staff;
    bool PointsChanged = false; // show the item's new points
};

// Draws the index of a ticked (and shown) answer box among boxes firstBox..boxCount-1: a
// uniformly chosen one of the ticked boxes, drawn again to avoid repeating `previous` (up to 4
// draws with more than 3 ticked items, up to 2 otherwise).
int PickTickedItem(const GeneratorOptions& options, int previous, int firstBox, int boxCount,
                   Random& random);

GenerateResult GenerateInterval(ExerciseItem& item, const GeneratorOptions& options, Random& random,
                                int index = kDrawNewItem);
GenerateResult GenerateScale(ExerciseItem& item, const GeneratorOptions& options, Random& random,
                             int index = kDrawNewItem);
GenerateResult GenerateChord(ExerciseItem& item, const GeneratorOptions& options, Random& random,
                             int index = kDrawNewItem);
GenerateResult GenerateInversion(ExerciseItem& item, const GeneratorOptions& options,
                                 Random& random, int index = kDrawNewItem);

// The parent major key's tonic of a scale row played from root (rows 21..27: the root itself),
// kept at 36 or above.
int scaleKeyTonic(int row, int root);

} // namespace harmik
