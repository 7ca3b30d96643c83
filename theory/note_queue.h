#pragma once
#include <array>
#include <cstdint>

namespace harmik {

// One queued MIDI event of an exercise player. Ticks count from 1; velocity 0 releases the note.
struct NoteEvent {
    std::int32_t Tick = 0;
    std::uint8_t Channel = 1; // 1..16
    std::uint8_t Note = 0;
    std::uint8_t Velocity = 0;
};

// The playback queue that the players fill and the playback timer plays tick by tick. Events
// stay in the order they were queued. Room for 201 entries; only the first 200 are ever
// played or released, and players queue at most 200 per item.
struct NoteQueue {
    static constexpr int kCapacity = 201;
    static constexpr int kPlayable = 200;

    std::array<NoteEvent, kCapacity> Events{};
    std::int32_t Count = 0;
    std::int32_t CurrentTick = 0;
    std::int32_t LastTick = 0;
};

// Appends an event at position Count and keeps LastTick the largest tick queued. A full queue
// (201 entries) ignores further events instead of writing past its end.
inline void QueueNote(NoteQueue& q, std::int32_t tick, std::uint8_t channel, std::uint8_t note,
                      std::uint8_t velocity) {
    if (q.Count < 0 || q.Count >= NoteQueue::kCapacity)
        return;
    q.Events[static_cast<std::size_t>(q.Count)] = NoteEvent{tick, channel, note, velocity};
    ++q.Count;
    if (tick > q.LastTick)
        q.LastTick = tick;
}

// Empties the queue without sounding anything (the sound layer's StopAll releases the queued
// note-offs first and then calls this).
inline void ClearQueue(NoteQueue& q) {
    q.Count = 0;
    q.LastTick = 0;
    q.CurrentTick = 0;
}

} // namespace harmik
