// A press on a bar button, routed to what its type does.
#include "app/button_routing.h"

#include "app/button_action.h"
#include "app/caption.h"
#include "app/layout_buttons.h"
#include "base/help.h"
#include "config/config_dialog.h"
#include "exec/launch.h"
#include "settings/about_box.h"
#include "settings/selection_dialog.h"
#include "settings/settings_records.h"

void ConfigureFromButton(HWND bar, int start) {
    RunConfigurationDialog(bar, start);
    LayoutButtons();
}

void ActivateButton(HWND bar, int k) {
    const int type = (k >= 0 && k < kButtonCount) ? g_settings.buttons[k].type : -1;
    switch (ActionForButton(k, type)) {
    case ButtonAction::kRunCommand: RunButtonCommand(k); break;
    case ButtonAction::kSelectMainFile:
        if (RunSelectionDialog(bar, SelectionMode::kMainFile)) UpdateCaption(bar);
        break;
    case ButtonAction::kSelectFolder: RunSelectionDialog(bar, SelectionMode::kFolder); break;
    case ButtonAction::kConfigure: ConfigureFromButton(bar, 0); break;
    case ButtonAction::kHelpIndex: ShowHelpIndex(); break;
    case ButtonAction::kAbout: RunAboutDialog(bar); break;
    case ButtonAction::kNothing: break;
    }
}
