// What happens after the button bar has closed.
#include "app/shutdown.h"

#include "exec/logs.h"
#include "res/resource.h"
#include "settings/main_file.h"
#include "settings/settings_file.h"

void SaveOnExit() {
    FinishShellRecent();
    WriteOptionString(IDS_KEY_LAST_FILE, g_paths.mainFile);
    if (g_paths.mainFile[0] != '\0') WriteOptionString(IDS_KEY_LAST_DIR, g_paths.defaultFolder);
    DeleteLogFiles();
}
