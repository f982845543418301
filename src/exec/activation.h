// A press on a bar button.
#pragma once

// Acts on button k's type; k outside 0..49 is ignored.
void ActivateButton(int k);
// The configuration dialog opened on button start - 1 (0: the first button), then a new layout.
void ConfigureFromButton(int start);
