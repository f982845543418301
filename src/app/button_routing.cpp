// A press on a bar button, routed to what its type does, and the runs it starts followed to their end.
#include "app/button_routing.h"

#include <string_view>

#include "app/about_box.h"
#include "app/bar_frame.h"
#include "app/bar_rules.h"
#include "base/bounded_text.h"
#include "base/handles.h"
#include "base/help.h"
#include "base/messages.h"
#include "config/config_dialog.h"
#include "exec/launch.h"
#include "exec/watched_runs.h"
#include "res/resource.h"
#include "settings/main_file.h"
#include "settings/selection.h"
#include "settings/settings_records.h"

namespace {

// Sequences that may go at once; a press on a further one only beeps.
constexpr int kMostSequences = 8;

// The buttons one "Run buttons in turn" press runs, one after the other.
struct Sequence {
    bool active = false;
    unsigned generation = 0;  // changes when the sequence ends: a step that returns late finds it gone
    int button = 0;
    char steps[sizeof ButtonDef::options] = "";  // the titles as they were at the press
    int next = 0;                                 // the step to start next
    unsigned waitingFor = 0;                      // serial of the followed run of the step; 0 for none
};

// What the bar follows on its window's thread.
struct FollowedRuns {
    int busy[kButtonCount] = {};  // followed runs and sequences of each button still going
    Sequence sequences[kMostSequences];
};
FollowedRuns g_followed;

void ShowBusy(HWND bar, int k) {
    SendDlgItemMessageA(bar, IDC_BAR_FIRST + k, BM_SETSTATE, g_followed.busy[k] > 0 ? TRUE : FALSE, 0);
}

void ChangeBusy(HWND bar, int k, int change) {
    if (k < 0 || k >= kButtonCount) return;
    g_followed.busy[k] += change;
    if (g_followed.busy[k] < 0) g_followed.busy[k] = 0;
    ShowBusy(bar, k);
}

// Runs button k's command as a press does; a followed run keeps the button busy until it ends.
RunResult RunCommandOf(HWND bar, int k) {
    const RunResult result = RunButtonCommand(k);
    if (result.outcome == RunOutcome::kFollowed) ChangeBusy(bar, k, +1);
    return result;
}

void EndSequence(HWND bar, Sequence& sequence) {
    if (!sequence.active) return;
    sequence.active = false;
    ++sequence.generation;
    ChangeBusy(bar, sequence.button, -1);
}

// The button step `title` of the sequence of button `owner` names; false, after telling the user, when
// there is none the sequence may run.
bool FindStep(HWND bar, int owner, std::string_view title, int& k) {
    const StepCheck check = FindStepButton(g_settings.buttons, title, k);
    if (check == StepCheck::kFound) return true;
    char step[sizeof ButtonDef::options];
    CopyText(step, title);
    char message[kResTextSize + sizeof step + sizeof ButtonDef::title];
    FormatText(message, ResStr(check == StepCheck::kNoButton ? IDS_NO_STEP_BUTTON : IDS_NESTED_STEP).text,
               g_settings.buttons[owner].title, step);
    MessageBoxA(bar, message, ResStr(IDS_ERROR_CAPTION).text, MB_OK | MB_ICONEXCLAMATION);
    return false;
}

// Starts the sequence's steps from its next one, until a step is followed (its end brings the sequence
// back here), fails, or the last has been started. Dialogs a step opens may end the sequence meanwhile.
void ContinueSequence(HWND bar, Sequence& sequence) {
    const unsigned generation = sequence.generation;
    std::string_view title;
    while (sequence.generation == generation && StepTitle(FieldText(sequence.steps), sequence.next, title)) {
        ++sequence.next;
        int k = 0;
        if (!FindStep(bar, sequence.button, title, k)) break;
        if (g_settings.buttons[k].type != kTypeExecute) {
            ActivateButton(bar, k);
            continue;
        }
        const RunResult result = RunCommandOf(bar, k);
        if (sequence.generation != generation) return;
        if (result.outcome == RunOutcome::kFollowed) {
            sequence.waitingFor = result.serial;
            return;
        }
        if (result.outcome == RunOutcome::kNotStarted) break;
        if (result.outcome == RunOutcome::kEnded && result.exitCode != 0) break;
    }
    if (sequence.generation == generation) EndSequence(bar, sequence);
}

// Every title is looked up before the first step starts, so that a wrong one stops nothing halfway.
void StartSequence(HWND bar, int k) {
    const std::string_view steps = FieldText(g_settings.buttons[k].options);
    std::string_view title;
    int step = 0;
    for (int n = 0; StepTitle(steps, n, title); ++n) {
        if (!FindStep(bar, k, title, step)) return;
    }
    for (Sequence& sequence : g_followed.sequences) {
        if (sequence.active) continue;
        sequence.active = true;
        sequence.button = k;
        CopyText(sequence.steps, steps);
        sequence.next = 0;
        sequence.waitingFor = 0;
        ChangeBusy(bar, k, +1);
        ContinueSequence(bar, sequence);
        return;
    }
    MessageBeep(MB_ICONEXCLAMATION);
}

}  // namespace

void ConfigureFromButton(HWND bar, int start) {
    RunConfigurationDialog(bar, start);
    LayoutButtons();
}

void ActivateButton(HWND bar, int k) {
    if (k < 0 || k >= kButtonCount) return;
    char value[kPathSize];
    switch (g_settings.buttons[k].type) {
    case kTypeExecute:
        RunCommandOf(bar, k);
        break;
    case kTypeFileSelection:
        CopyText(value, FieldText(g_paths.mainFile));
        if (RunSelectionDialog(bar, SelectionMode::kMainFile, value)) SetMainFile(bar, FieldText(value));
        break;
    case kTypeFolderSelection:
        CopyText(value, FieldText(g_paths.defaultFolder));
        if (RunSelectionDialog(bar, SelectionMode::kFolder, value)) TakeDefaultFolder(FieldText(value));
        break;
    case kTypeConfiguration:
        ConfigureFromButton(bar, 0);
        break;
    case kTypeHelpIndex:
        ShowHelpIndex();
        break;
    case kTypeAbout:
        RunAboutDialog(bar);
        break;
    case kTypeRunInTurn:
        StartSequence(bar, k);
        break;
    case kTypeStopRuns:
        AskToStopRuns(bar);
        break;
    default:  // an invisible button, or a type the settings file should not hold
        break;
    }
    // The click let the button up; a button still busy looks pressed again.
    ShowBusy(bar, k);
}

void OnRunEnded(HWND bar, WPARAM tag, LPARAM exitCode) {
    const unsigned serial = HIWORD(tag);
    ChangeBusy(bar, LOWORD(tag), -1);
    for (Sequence& sequence : g_followed.sequences) {
        if (!sequence.active || sequence.waitingFor != serial) continue;
        sequence.waitingFor = 0;
        if (static_cast<DWORD>(exitCode) == 0) {
            ContinueSequence(bar, sequence);
        } else {
            EndSequence(bar, sequence);
        }
        return;
    }
}

bool IsButtonBusy(int k) {
    return k >= 0 && k < kButtonCount && g_followed.busy[k] > 0;
}

int ActiveSequences() {
    int active = 0;
    for (const Sequence& sequence : g_followed.sequences) active += sequence.active ? 1 : 0;
    return active;
}

void AskToStopRuns(HWND bar) {
    const int running = RunningWatchedRuns();
    const int sequences = ActiveSequences();
    if (running == 0 && sequences == 0) return;
    char question[kResTextSize];
    FormatText(question, ResStr(IDS_STOP_QUESTION).text, running > sequences ? running : sequences);
    if (MessageBoxA(bar, question, ResStr(IDS_PROGRAM_NAME).text,
                    MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2 | MB_SETFOREGROUND) != IDYES) {
        return;
    }
    for (Sequence& sequence : g_followed.sequences) EndSequence(bar, sequence);
    StopWatchedRuns();
}
