// Running the command of an "Execute command" button.
#pragma once

// Expands, composes and starts button `index`'s command, then waits for it, hands it to a watch thread
// or lets it go. Window thread only.
void RunButtonCommand(int index);
