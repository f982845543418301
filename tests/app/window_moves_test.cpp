// Moving the bar's buttons in one batch, and every one of them when the system refuses the batch.
#include <gtest/gtest.h>

#include <vector>

#include "app/window_moves.h"

namespace {

// Records what the layout asked of the system; refuses the batch or its n-th move when told to.
class RecordingSystem : public MoveSystem {
public:
    bool refuseBatch = false;
    int refuseDefer = -1;  // index of the deferred move the system refuses
    std::vector<void*> deferred;
    std::vector<void*> movedNow;
    bool ended = false;

    bool BeginBatch(std::size_t) override { return !refuseBatch; }
    bool Defer(const WindowMove& move) override {
        if (static_cast<int>(deferred.size()) == refuseDefer) return false;
        deferred.push_back(move.window);
        return true;
    }
    void EndBatch() override { ended = true; }
    void MoveNow(const WindowMove& move) override { movedNow.push_back(move.window); }
};

std::vector<WindowMove> ThreeMoves() {
    std::vector<WindowMove> moves(3);
    for (std::size_t i = 0; i < moves.size(); ++i) moves[i].window = reinterpret_cast<void*>(i + 1);
    return moves;
}

TEST(ApplyMoves, EveryWindowIsMovedWhateverTheSystemRefuses) {
    struct Row {
        const char* name;
        bool refuseBatch;
        int refuseDefer;
        bool batched;
    };
    const Row rows[] = {
        {"batch accepted", false, -1, true},
        {"no batch to be had", true, -1, false},
        {"first move refused", false, 0, false},
        {"last move refused after two were deferred", false, 2, false},
    };
    const std::vector<WindowMove> moves = ThreeMoves();
    const std::vector<void*> all = {moves[0].window, moves[1].window, moves[2].window};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RecordingSystem system;
        system.refuseBatch = row.refuseBatch;
        system.refuseDefer = row.refuseDefer;
        ApplyMoves(moves.data(), moves.size(), system);
        EXPECT_EQ(system.ended, row.batched);
        // A refused batch is gone with the moves it held: each window is moved on its own instead.
        EXPECT_EQ(row.batched ? system.deferred : system.movedNow, all);
        if (row.batched) {
            EXPECT_TRUE(system.movedNow.empty());
        }
    }
}

}  // namespace
