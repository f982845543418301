// Moving a group of windows in one deferred batch, with a fallback when the system refuses it; no windows.h.
#pragma once

#include <cstddef>

// One window's new place and the move's flags (SWP_ values).
struct WindowMove {
    void* window = nullptr;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    unsigned flags = 0;
};

// The system's batch of moves; the Win32 shell implements it with the DeferWindowPos family.
class MoveSystem {
public:
    virtual ~MoveSystem() = default;
    virtual bool BeginBatch(std::size_t count) = 0;
    // False when the system refused the move; the batch is then gone with every move it held.
    virtual bool Defer(const WindowMove& move) = 0;
    virtual void EndBatch() = 0;
    virtual void MoveNow(const WindowMove& move) = 0;
};

// Makes all moves in one batch, so the parent repaints once; when the batch cannot be had or the system
// refuses any move of it, every move is made on its own instead, so no window stays where it was.
void ApplyMoves(const WindowMove* moves, std::size_t count, MoveSystem& system);
