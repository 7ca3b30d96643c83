#pragma once
#include <initializer_list>

#include "theory/generator_options.h"

namespace harmik::test {

// Options with the given answer boxes ticked among `boxCount` boxes; the ticked count is taken
// from `firstCounted` on, as the answer panel counts it.
inline GeneratorOptions optionsWithTicked(std::initializer_list<int> boxes, int boxCount,
                                          int firstCounted = 0) {
    GeneratorOptions options;
    options.AnswerBoxCount = boxCount;
    for (int box : boxes)
        options.AnswerChecks[static_cast<std::size_t>(box)] = true;
    for (int box = firstCounted; box < boxCount; ++box)
        if (options.AnswerChecks[static_cast<std::size_t>(box)] &&
            options.AnswerVisible[static_cast<std::size_t>(box)])
            ++options.SelectedCount;
    return options;
}

inline GeneratorOptions optionsWithAllTicked(int boxCount, int firstCounted = 0) {
    GeneratorOptions options;
    options.AnswerBoxCount = boxCount;
    for (int box = 0; box < boxCount; ++box)
        options.AnswerChecks[static_cast<std::size_t>(box)] = true;
    options.SelectedCount = boxCount - firstCounted;
    return options;
}

} // namespace harmik::test
