// A user's whole session with the built program, driven from outside: the program starts, lays its bar
// out, the configuration dialog is opened and cancelled, and the bar is closed from its system menu.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

struct SessionReport {
    bool started = false;                 // a laid-out bar came up
    std::string layoutProblem;            // what was wrong with the bar's buttons; empty when nothing
    bool configurationCancelled = false;  // the configuration dialog came up and went on Cancel
    std::optional<DWORD> exitCode;        // nullopt: the program did not end and was killed
    std::vector<std::string> messages;    // the message boxes that came up (answered with OK), in order
    std::string caption;                  // the bar's caption once it was laid out
};

// Runs one session of Brisolt.exe started with `arguments`. The layout is checked against the settings
// in `settingsCopy`, read through the profile functions as the program reads them (a copy of the file as
// it was before the session; empty for the defaults). Value queries of a caption are answered with OK.
SessionReport RunSession(const std::string& arguments, const std::string& settingsCopy);

class BrisoltProcess;

// The bar, not a query or message box that came up before it; null when none came in time.
HWND WaitForBar(BrisoltProcess& brisolt);
// Opens the configuration dialog from the bar's system menu and presses `button` in it; true when the
// dialog came and went.
bool AnswerConfiguration(BrisoltProcess& brisolt, int button);

// What is wrong with the buttons of `bar` for the grid in `settings`: a button shown outside the
// rows x cols grid, a shown invisible button, one outside the client area or on top of another, or, when
// the cells have room, a grid cell left empty. Empty when nothing is.
std::string LayoutProblem(HWND bar, const std::string& settings);
