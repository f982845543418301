// Answers the dialogs and message boxes a test brings up, from a thread of its own.
#include "support/dialog_watcher.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>

#include "support/find_window.h"
#include "support/wait.h"
#include "support/window_text.h"

namespace {
// How long an answered dialog may take to go, and how long Stop waits for the watcher's thread.
constexpr DWORD kGoneMs = 10000;
constexpr DWORD kStopMs = 15000;
}  // namespace

// What the watcher's thread and the test share; the thread keeps it alive even when it outlives the
// watcher after a callback that would not return.
struct DialogWatcher::Shared {
    std::vector<std::string> titles;
    Answer answer;
    DWORD timeoutMs = 0;
    DWORD processId = 0;
    std::atomic<bool> stop{false};
    std::atomic<bool> finished{false};
    std::thread thread;
    mutable std::mutex mutex;
    struct Seen {
        std::string title;
        std::string text;
        std::wstring wideText;
    };
    std::vector<Seen> seen;  // every answered dialog
    std::atomic<int> answered{0};

    HWND Find(HWND skip) const {
        return FindTopLevel([&](HWND window) {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            return window != skip && process == processId && ClassOf(window) == "#32770" &&
                   std::find(titles.begin(), titles.end(), WindowTitle(window)) != titles.end();
        });
    }

    void Run() {
        const DWORD start = GetTickCount();
        HWND last = nullptr;  // an answered dialog that would not go is not answered twice
        while (!stop && GetTickCount() - start <= timeoutMs) {
            if (last && !IsWindow(last)) last = nullptr;
            HWND dialog = Find(last);
            if (!dialog) {
                Sleep(20);
                continue;
            }
            {
                std::lock_guard<std::mutex> lock(mutex);
                seen.push_back({WindowTitle(dialog), MessageBoxText(dialog), WideMessageBoxText(dialog)});
            }
            answer(dialog);
            WaitFor([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, kGoneMs);
            last = dialog;
            ++answered;
        }
        finished = true;
    }
};

void PressButton(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

DialogWatcher::DialogWatcher(std::vector<std::string> titles, int button, DWORD timeoutMs, DWORD processId)
    : DialogWatcher(std::move(titles), [button](HWND dialog) { PressButton(dialog, button); }, timeoutMs,
                    processId) {}

DialogWatcher::DialogWatcher(std::vector<std::string> titles, Answer answer, DWORD timeoutMs, DWORD processId)
    : shared_(std::make_shared<Shared>()) {
    shared_->titles = std::move(titles);
    shared_->answer = std::move(answer);
    shared_->timeoutMs = timeoutMs;
    shared_->processId = processId != 0 ? processId : GetCurrentProcessId();
    shared_->thread = std::thread([shared = shared_] { shared->Run(); });
}

DialogWatcher::~DialogWatcher() { Stop(); }

bool DialogWatcher::Wait(DWORD milliseconds, int count) const {
    return WaitFor([&] { return shared_->answered >= count; }, milliseconds);
}

void DialogWatcher::Stop() {
    shared_->stop = true;
    if (!shared_->thread.joinable()) return;
    if (WaitFor([&] { return shared_->finished.load(); }, kStopMs)) {
        shared_->thread.join();
    } else {
        shared_->thread.detach();  // never hang the suite on a callback that would not return
    }
}

int DialogWatcher::answered() const { return shared_->answered; }

namespace {

// The dialog answered `index`-th, if there was one; the caller holds the lock.
const DialogWatcher::Shared::Seen* SeenAt(const DialogWatcher::Shared& shared, int index) {
    return index >= 0 && index < static_cast<int>(shared.seen.size()) ? &shared.seen[index] : nullptr;
}

}  // namespace

std::string DialogWatcher::title(int index) const {
    std::lock_guard<std::mutex> lock(shared_->mutex);
    const auto* seen = SeenAt(*shared_, index);
    return seen ? seen->title : std::string();
}

std::string DialogWatcher::text(int index) const {
    std::lock_guard<std::mutex> lock(shared_->mutex);
    const auto* seen = SeenAt(*shared_, index);
    return seen ? seen->text : std::string();
}

std::wstring DialogWatcher::wideText(int index) const {
    std::lock_guard<std::mutex> lock(shared_->mutex);
    const auto* seen = SeenAt(*shared_, index);
    return seen ? seen->wideText : std::wstring();
}

std::string AnswerQuestion(HWND bar, int answer) {
    HWND box = nullptr;
    WaitFor([&] { return (box = FindOwnWindow("Brisolt", bar)) != nullptr; }, DialogWatcher::kTimeoutMs);
    if (!box) return "<no question>";
    const std::string text = MessageBoxText(box);
    PostMessageA(box, WM_COMMAND, answer, 0);
    WaitFor([&] { return !IsWindow(box); }, DialogWatcher::kTimeoutMs);
    return text;
}
