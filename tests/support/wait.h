// Waiting with a bound in the Windows tests.
#pragma once

#include <windows.h>

#include <functional>

// Lets this thread's windows handle the messages waiting for them.
void PumpMessages();

// Polls the condition until it holds or `milliseconds` have passed; true when it held. This thread's own
// windows keep answering meanwhile, as the program's message loop would let them.
bool WaitFor(const std::function<bool()>& condition, DWORD milliseconds);
