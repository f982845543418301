// Moving a group of windows in one deferred batch.
#include "app/window_moves.h"

void ApplyMoves(const WindowMove* moves, std::size_t count, MoveSystem& system) {
    bool batched = system.BeginBatch(count);
    for (std::size_t i = 0; batched && i < count; ++i) batched = system.Defer(moves[i]);
    if (batched) {
        system.EndBatch();
        return;
    }
    for (std::size_t i = 0; i < count; ++i) system.MoveNow(moves[i]);
}
