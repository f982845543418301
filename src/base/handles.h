// The process's own handles, shared by every layer (the program instance, the button bar window and the
// help file beside the program), and the owning wrapper that closes or destroys a system handle once.
#pragma once

#include <windows.h>

#include <cstddef>
#include <utility>

constexpr std::size_t kHelpFileSize = 260;

struct AppHandles {
    HINSTANCE appInstance = nullptr;
    HWND mainWindow = nullptr;  // the button bar; owner of the program's message boxes, null until it opens
    char helpFile[kHelpFileSize] = "";  // the program's own path with ".chm"
};

extern AppHandles g_app;

// A handle that `Release` gives back to the system; moves, never copies.
template <typename Handle, BOOL(WINAPI* Release)(Handle)>
class Owned {
public:
    Owned() = default;
    explicit Owned(Handle handle) : handle_(handle) {}
    ~Owned() { Reset(); }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned(Owned&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) {
            Reset();
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    // Gives up ownership without releasing.
    Handle release() { return std::exchange(handle_, nullptr); }
    void Reset(Handle handle = nullptr) {
        if (handle_ != nullptr) Release(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = nullptr;
};

using OwnedHandle = Owned<HANDLE, CloseHandle>;
using OwnedIcon = Owned<HICON, DestroyIcon>;
