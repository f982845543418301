// A press on a bar button, routed to what its type does, and the runs it starts followed to their end:
// the button looks pressed while they go, and a button that runs others in turn starts each step when the
// step before has ended well.
#pragma once

#include <windows.h>

// Acts on button k's type; k outside 0..49 is ignored. `bar` owns every dialog it opens.
void ActivateButton(HWND bar, int k);
// The configuration dialog opened on button start - 1 (0: the first button), then a new layout.
void ConfigureFromButton(HWND bar, int start);

// A followed run has ended (the bar's kRunEndedMessage): its button is no longer busy with it, and a
// sequence waiting for it goes on or stops.
void OnRunEnded(HWND bar, WPARAM tag, LPARAM exitCode);
// Whether a followed run or a sequence of button k is still going.
bool IsButtonBusy(int k);
// How many sequences of buttons run in turn are still going.
int ActiveSequences();
// Asks whether to stop what is running; Yes ends every sequence and stops every watched run with all the
// programs it started. Nothing when nothing runs.
void AskToStopRuns(HWND bar);
