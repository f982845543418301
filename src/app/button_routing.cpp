// A press on a bar button, routed to what its type does.
#include "app/button_routing.h"

#include "app/about_box.h"
#include "app/bar_frame.h"
#include "base/bounded_text.h"
#include "base/help.h"
#include "config/config_dialog.h"
#include "exec/launch.h"
#include "settings/main_file.h"
#include "settings/selection.h"
#include "settings/settings_records.h"

void ConfigureFromButton(HWND bar, int start) {
    RunConfigurationDialog(bar, start);
    LayoutButtons();
}

void ActivateButton(HWND bar, int k) {
    if (k < 0 || k >= kButtonCount) return;
    char value[kPathSize];
    switch (g_settings.buttons[k].type) {
    case kTypeExecute:
        RunButtonCommand(k);
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
    default:  // an invisible button, or a type the settings file should not hold
        break;
    }
}
