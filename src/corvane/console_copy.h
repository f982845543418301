// The log wrapper's copy of the command's output to its own standard output (a console, when the run is
// captured): queued by the thread that drains the pipe into the log, and written by a thread of its own,
// so that a slow or stuck console never holds the log or the command up.
#pragma once

#include <windows.h>

#include <cstddef>

// Writes all of data to target; false when a write failed or wrote nothing.
bool WriteAll(HANDLE target, const char* data, std::size_t size);

// Starts the copy to `out` (null: none) and its writer thread; the copy shares `lock` with the log. False
// when there is no copy: no output of our own, or no thread for it.
bool StartConsoleCopy(HANDLE out, CRITICAL_SECTION& lock);
// Queues a copy of data, with the lock held: waits while the console moves, drops what a stuck one
// cannot take. Nothing when there is no copy.
void QueueConsoleCopy(const char* data, std::size_t size);
// With the lock held: true while the draining thread waits for the console to make room, not for the pipe.
bool ConsoleCopyWaitsForRoom();
// Lets the writer finish the queued copy while it keeps moving; a stuck console is left behind.
void EndConsoleCopy();
