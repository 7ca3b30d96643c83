#pragma once
#include <array>
#include <string>

#include "theory/item_names.h"

namespace harmik {

// One flag per MIDI note, set while the note is held on an instrument or a MIDI keyboard.
using NoteHeldFlags = std::array<bool, 128>;

// Names what the held notes form: the bass note's name followed by an interval name (two
// pitch classes or two notes) or a chord symbol such as "m7", "dim7" or "7(b9)". Empty when no
// note in 1..127 is held. Interval names and octave words come from `names`.
std::string BuildChordSymbol(const NoteHeldFlags& held, const ItemNameList& names,
                             bool germanNaming);

} // namespace harmik
