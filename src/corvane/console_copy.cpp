// The log wrapper's copy of the command's output to its own standard output.
#include "corvane/console_copy.h"

namespace {

// Room for the copy when our stdout is slower than the pipe.
constexpr std::size_t kQueueBytes = 1 << 20;
// The largest single write, so that a slow console still moves.
constexpr std::size_t kLargestWrite = 65536;

// A console that completes no write for this long is stuck (a user selecting text in it): its copy
// is dropped until it takes output again, so that neither the log nor the command waits for it.
constexpr DWORD kStallMs = 1000;

// The copy's state, under the lock it shares with the log.
struct ConsoleCopy {
    CRITICAL_SECTION* lock = nullptr;
    HANDLE out = nullptr;       // our own stdout; null when there is none or it broke
    HANDLE writer = nullptr;    // the thread that writes the queue
    CONDITION_VARIABLE queued = CONDITION_VARIABLE_INIT;  // bytes queued, or the end
    CONDITION_VARIABLE room = CONDITION_VARIABLE_INIT;    // a write completed
    std::size_t start = 0;
    std::size_t size = 0;
    unsigned long writes = 0;   // completed writes: a slow console moves, a stuck one does not
    bool stalled = false;       // copies are dropped until the next write completes
    bool ended = false;         // nothing more is queued
    bool drainWaits = false;    // the draining thread waits for room, not for the pipe
};
ConsoleCopy g_copy;

// The ring, in a record without initialisers so that it takes no room in the program file.
struct Queue {
    char bytes[kQueueBytes];
};
Queue g_queue;

DWORD WINAPI WriteQueue(LPVOID) {
    ConsoleCopy& copy = g_copy;
    EnterCriticalSection(copy.lock);
    for (;;) {
        while (copy.size == 0 && !copy.ended) SleepConditionVariableCS(&copy.queued, copy.lock, INFINITE);
        if (copy.size == 0) break;
        std::size_t piece = kQueueBytes - copy.start;
        if (piece > copy.size) piece = copy.size;
        if (piece > kLargestWrite) piece = kLargestWrite;
        LeaveCriticalSection(copy.lock);
        const bool written = WriteAll(copy.out, g_queue.bytes + copy.start, piece);
        EnterCriticalSection(copy.lock);
        copy.start = (copy.start + piece) % kQueueBytes;
        copy.size -= piece;
        ++copy.writes;
        copy.stalled = false;
        if (!written) {
            copy.out = nullptr;
            copy.size = 0;
        }
        WakeConditionVariable(&copy.room);
        if (!written) break;
    }
    LeaveCriticalSection(copy.lock);
    return 0;
}

}  // namespace

bool WriteAll(HANDLE target, const char* data, std::size_t size) {
    while (size > 0) {
        const DWORD chunk = size > 0x10000000 ? 0x10000000 : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(target, data, chunk, &written, nullptr) || written == 0) return false;
        data += written;
        size -= written;
    }
    return true;
}

bool StartConsoleCopy(HANDLE out, CRITICAL_SECTION& lock) {
    g_copy.lock = &lock;
    g_copy.out = out == INVALID_HANDLE_VALUE ? nullptr : out;
    if (g_copy.out != nullptr) g_copy.writer = CreateThread(nullptr, 0, WriteQueue, nullptr, 0, nullptr);
    if (g_copy.writer == nullptr) g_copy.out = nullptr;  // no writer: the log alone
    return g_copy.out != nullptr;
}

void QueueConsoleCopy(const char* data, std::size_t size) {
    ConsoleCopy& copy = g_copy;
    while (size > 0 && copy.out != nullptr && !copy.stalled) {
        if (copy.size == kQueueBytes) {
            const unsigned long writes = copy.writes;
            copy.drainWaits = true;
            const BOOL woken = SleepConditionVariableCS(&copy.room, copy.lock, kStallMs);
            copy.drainWaits = false;
            if (!woken && copy.writes == writes) copy.stalled = true;
            continue;
        }
        const std::size_t end = (copy.start + copy.size) % kQueueBytes;
        std::size_t piece = kQueueBytes - copy.size;
        if (piece > kQueueBytes - end) piece = kQueueBytes - end;
        if (piece > size) piece = size;
        CopyMemory(g_queue.bytes + end, data, piece);
        copy.size += piece;
        data += piece;
        size -= piece;
        WakeConditionVariable(&copy.queued);
    }
}

bool ConsoleCopyWaitsForRoom() {
    return g_copy.drainWaits;
}

void EndConsoleCopy() {
    ConsoleCopy& copy = g_copy;
    if (copy.writer == nullptr) return;
    EnterCriticalSection(copy.lock);
    copy.ended = true;
    WakeConditionVariable(&copy.queued);
    for (;;) {
        const unsigned long writes = copy.writes;
        if (copy.stalled) break;
        LeaveCriticalSection(copy.lock);
        const DWORD waited = WaitForSingleObject(copy.writer, kStallMs);
        EnterCriticalSection(copy.lock);
        if (waited != WAIT_TIMEOUT || copy.writes == writes) break;
    }
    LeaveCriticalSection(copy.lock);
}
