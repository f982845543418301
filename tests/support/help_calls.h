// The program's help calls, recorded in place of HTML Help: which command each dialog sends and for what.
#pragma once

#include <windows.h>

#include <vector>

struct HelpCall {
    HWND caller = nullptr;
    UINT command = 0;
    DWORD_PTR data = 0;  // a topic, or the control-to-topic map
};

// Records every help call while it lives; one at a time per process.
class HelpRecorder {
public:
    HelpRecorder();
    ~HelpRecorder();
    HelpRecorder(const HelpRecorder&) = delete;
    HelpRecorder& operator=(const HelpRecorder&) = delete;

    std::vector<HelpCall> calls() const;
    void Clear();
};

// The topic that a control-to-topic map (pairs ending with 0, 0) gives control `id`; 0 when it has none.
DWORD MappedTopic(DWORD_PTR map, int id);
