// The programs a run started, found among the system's processes through their parents.
#include "exec/process_tree.h"

namespace {

bool Listed(const unsigned long* ids, std::size_t count, unsigned long id) {
    for (std::size_t i = 0; i < count; ++i) {
        if (ids[i] == id) return true;
    }
    return false;
}

}  // namespace

std::size_t FindDescendants(const ProcessEntry* entries, std::size_t count, unsigned long rootId,
                            unsigned long long rootCreated, unsigned long* out, std::size_t room) {
    std::size_t found = 0;
    // Each process found is a parent in its turn: `next` walks the list as it grows.
    for (std::size_t next = 0; next <= found; ++next) {
        const unsigned long parent = next == 0 ? rootId : out[next - 1];
        unsigned long long parentCreated = rootCreated;
        for (std::size_t i = 0; next > 0 && i < count; ++i) {
            if (entries[i].id == parent) parentCreated = entries[i].created;
        }
        for (std::size_t i = 0; i < count && found < room; ++i) {
            const ProcessEntry& entry = entries[i];
            if (entry.parentId != parent || entry.id == rootId || entry.created == 0) continue;
            if (entry.created < parentCreated || Listed(out, found, entry.id)) continue;
            out[found++] = entry.id;
        }
    }
    return found;
}
