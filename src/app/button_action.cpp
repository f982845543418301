// What a press on a bar button does.
#include "app/button_action.h"

#include "settings/settings_records.h"

ButtonAction ActionForButton(int index, int type) {
    if (index < 0 || index >= kButtonCount) return ButtonAction::kNothing;
    switch (type) {
    case kTypeExecute: return ButtonAction::kRunCommand;
    case kTypeFileSelection: return ButtonAction::kSelectMainFile;
    case kTypeFolderSelection: return ButtonAction::kSelectFolder;
    case kTypeConfiguration: return ButtonAction::kConfigure;
    case kTypeHelpIndex: return ButtonAction::kHelpIndex;
    case kTypeAbout: return ButtonAction::kAbout;
    default: return ButtonAction::kNothing;
    }
}
