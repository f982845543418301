// Running the command of an "Execute command" button.
#pragma once

// How a run went, as far as the press that started it can tell.
enum class RunOutcome {
    kNotStarted,  // cancelled, or it could not be started
    kEnded,       // waited for: it has ended with exitCode
    kFollowed,    // a watch thread follows it; the bar hears of its end with its serial
    kLetGo,       // started and not followed any further
};

struct RunResult {
    RunOutcome outcome = RunOutcome::kNotStarted;
    unsigned long exitCode = 0;
    unsigned serial = 0;  // of a followed run: 1 to 65535, the high word of its end message's wParam
};

// Expands, composes and starts button `index`'s command, then waits for it, hands it to a watch thread
// or lets it go. Window thread only.
RunResult RunButtonCommand(int index);
