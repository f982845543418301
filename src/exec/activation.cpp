// A press on a bar button.
#include "exec/activation.h"

#include "app/app_state.h"
#include "app/layout_buttons.h"
#include "config/config_dialog.h"
#include "exec/activation_rule.h"
#include "exec/launch.h"
#include "settings/about_box.h"
#include "settings/help.h"
#include "settings/selection_dialog.h"

void ConfigureFromButton(int start) {
    g_app.startButton = start;
    RunConfigurationDialog();
    LayoutButtons();
}

void ActivateButton(int k) {
    const int type = (k >= 0 && k < kButtonCount) ? g_settings.buttons[k].type : -1;
    switch (ActionForButton(k, type)) {
    case ButtonAction::kRunCommand: RunButtonCommand(k); break;
    case ButtonAction::kSelectMainFile: RunSelectionDialog(false); break;
    case ButtonAction::kSelectFolder: RunSelectionDialog(true); break;
    case ButtonAction::kConfigure: ConfigureFromButton(0); break;
    case ButtonAction::kHelpIndex: ShowHelpIndex(); break;
    case ButtonAction::kAbout: RunAboutDialog(); break;
    case ButtonAction::kNothing: break;
    }
}
