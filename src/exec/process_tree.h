// The programs a run started, found among the system's processes through their parents; no windows.h.
#pragma once

#include <cstddef>

// One process as the system lists it. `created` is its start time, 0 when it could not be asked.
struct ProcessEntry {
    unsigned long id = 0;
    unsigned long parentId = 0;
    unsigned long long created = 0;
};

// Writes the ids of the processes that `rootId` started, and those they started, into `out` (room
// entries), parents before their children; returns how many. A process started before the one its
// parent id names is not its child: it took over the id of a parent that has ended. A process whose
// start time is unknown is left out with everything below it.
std::size_t FindDescendants(const ProcessEntry* entries, std::size_t count, unsigned long rootId,
                            unsigned long long rootCreated, unsigned long* out, std::size_t room);
