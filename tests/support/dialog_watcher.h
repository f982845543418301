// Answers the dialogs and message boxes a test brings up, from a thread of its own, as a user would.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

// Presses button `id` of a dialog or message box (posted, so the caller never waits on the dialog).
void PressButton(HWND dialog, int id);

// Answers the next message box of this process titled "Brisolt" (never `bar` itself, which may bear the
// same title) with `answer`, and returns its text; "<no question>" when none came.
std::string AnswerQuestion(HWND bar, int answer);

// Watches for visible top-level dialogs (class "#32770") of one process whose title is one of `titles`.
// Each one found has its title and message text recorded and is then answered: a button is pressed, or
// a callback runs against it on the watcher's thread. The watcher waits for an answered dialog to go
// before it looks for the next one, and goes on until it is stopped or `timeoutMs` have passed since it
// started. Stopping, and so the destructor, waits a bounded time for the thread and never hangs.
// Any dialog with a watched title counts: the bar is a dialog too, titled "Brisolt" while it has no main
// file, so a test watching for a "Brisolt" message box gives its bar a main file.
class DialogWatcher {
public:
    using Answer = std::function<void(HWND)>;
    static constexpr DWORD kTimeoutMs = 30000;

    // processId 0 stands for this process.
    DialogWatcher(std::vector<std::string> titles, int button, DWORD timeoutMs = kTimeoutMs, DWORD processId = 0);
    DialogWatcher(std::vector<std::string> titles, Answer answer, DWORD timeoutMs = kTimeoutMs,
                  DWORD processId = 0);
    ~DialogWatcher();
    DialogWatcher(const DialogWatcher&) = delete;
    DialogWatcher& operator=(const DialogWatcher&) = delete;

    // Waits until `count` dialogs have been answered and have gone; true when they have.
    bool Wait(DWORD milliseconds, int count = 1) const;
    // Ends the watch: no dialog is answered after it returns.
    void Stop();

    // How many dialogs were answered, and what the one at `index` (in order of appearance) showed.
    int answered() const;
    std::string title(int index = 0) const;
    std::string text(int index = 0) const;  // a message box's message; empty for other dialogs
    std::wstring wideText(int index = 0) const;  // the same with letters the code page lacks

    struct Shared;

private:
    std::shared_ptr<Shared> shared_;
};
