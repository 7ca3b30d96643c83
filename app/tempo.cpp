#include "app/tempo.h"

namespace harmik {
namespace {

int roundDownToStep(int tempo) {
    if (tempo < 201)
        return tempo - tempo % 2;
    return tempo - tempo % 5;
}

} // namespace

int TempoStepUp(int tempo, bool rhythm) {
    if (tempo < kTempoMax) {
        tempo += 2;
        if (tempo >= 202)
            tempo += 3;
        // A tempo off the usual grid (from an older file) must not step past the top either.
        if (tempo > kTempoMax)
            tempo = kTempoMax;
    }
    if (rhythm && tempo > kRhythmTempoMax)
        tempo = kRhythmTempoMax;
    return tempo;
}

int TempoStepDown(int tempo) {
    if (tempo >= 12)
        tempo -= 2;
    if (tempo >= 203)
        tempo -= 3;
    return tempo;
}

int TypedTempo(int typed, bool rhythm) {
    int tempo = typed < kTempoMin ? kTempoMin : typed;
    tempo = roundDownToStep(tempo);
    if (tempo > kTempoMax)
        tempo = kTempoMax;
    if (rhythm && tempo > kRhythmTempoMax)
        tempo = kRhythmTempoMax;
    return tempo;
}

int TypedRhythmTempo(int typed) {
    if (typed < kTempoMin)
        return kRhythmTempoTooSlow;
    return TypedTempo(typed, true);
}

std::optional<int> TempoFieldNumber(const QString& text) {
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    if (!ok)
        return std::nullopt;
    return n;
}

} // namespace harmik
