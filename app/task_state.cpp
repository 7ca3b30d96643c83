#include "app/task_state.h"

namespace harmik {

int StartRefusal(const StartCheckInput& in) {
    constexpr int kMelodies = 6;
    constexpr int kRhythm = 7;
    if (!in.haveMidiOutput && !in.pcSpeakerOnly && !(in.module == kMelodies && in.primaVista))
        return 2008;
    if (in.pcSpeakerOnly && in.module == kRhythm)
        return 2009;
    if (in.module != kMelodies &&
        (in.selectedCount == 0 || (in.module == kRhythm && !in.rhythmValueTicked)))
        return 1110;
    if (in.module == kRhythm && in.metreUpper % 2 == 1 && !in.rhythmShortValueTicked)
        return in.metreInEighths ? 450 : 451;
    return 0;
}

int PointTimerInterval(int module, int tempo, int playStyle, int noteCount) {
    const int beat = 60000 / (tempo > 0 ? tempo : 100);
    switch (module) {
    case 2:
        return beat * 10;
    case 6:
        if (playStyle == 2 || playStyle >= 5)
            return (beat + 1200) * noteCount;
        return (beat + 1200) * noteCount + 6 * beat;
    default:
        return 5000;
    }
}

} // namespace harmik
