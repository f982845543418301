// Fuzzes the bar's small rules: a batch of window moves against a system that refuses at any point (every
// window is moved exactly once either way), the action of a pressed button, and the close question.
#include <vector>

#include "app/button_action.h"
#include "app/close_rule.h"
#include "app/window_moves.h"
#include "fuzz_input.h"
#include "res/resource.h"

namespace {

// Refuses the batch or any deferred move as the input says, and records what was done.
class FuzzMoves : public MoveSystem {
public:
    explicit FuzzMoves(FuzzInput& input) : input_(input) {}

    std::vector<const void*> deferred;
    std::vector<const void*> movedNow;
    int batchesBegun = 0;
    int batchesEnded = 0;
    bool refused = false;

    bool BeginBatch(std::size_t) override {
        ++batchesBegun;
        refused = !input_.Flag();
        return !refused;
    }
    bool Defer(const WindowMove& move) override {
        FUZZ_CHECK(!refused && batchesEnded == 0 && movedNow.empty());
        if (!input_.Flag()) {
            refused = true;
            return false;
        }
        deferred.push_back(move.window);
        return true;
    }
    void EndBatch() override {
        FUZZ_CHECK(!refused);
        ++batchesEnded;
    }
    void MoveNow(const WindowMove& move) override {
        FUZZ_CHECK(refused && batchesEnded == 0);
        movedNow.push_back(move.window);
    }

private:
    FuzzInput& input_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);

    const int index = input.Int();
    const int type = input.Int();
    const ButtonAction action = ActionForButton(index, type);
    FUZZ_CHECK((action == ButtonAction::kNothing) == (index < 0 || index >= 50 || type < 0 || type > 5));

    const long children = input.Int();
    const int question = CloseQuestionId(children);
    FUZZ_CHECK(question == (children <= 0 ? 0 : children == 1 ? IDS_CLOSE_ONE_CHILD : IDS_CLOSE_CHILDREN));

    const std::size_t count = input.Byte() % 64;
    std::vector<WindowMove> moves(count);
    for (std::size_t k = 0; k < count; ++k) moves[k].window = &moves[k];
    FuzzMoves system(input);
    ApplyMoves(moves.data(), count, system);
    FUZZ_CHECK(system.batchesBegun == 1);
    const std::vector<const void*>& done = system.refused ? system.movedNow : system.deferred;
    FUZZ_CHECK(system.batchesEnded == (system.refused ? 0 : 1));
    FUZZ_CHECK(done.size() == count);
    for (std::size_t k = 0; k < count; ++k) FUZZ_CHECK(done[k] == &moves[k]);
    return 0;
}
