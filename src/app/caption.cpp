// The button bar's caption.
#include "app/caption.h"

#include "base/bounded_text.h"
#include "base/res_strings.h"
#include "exec/expand_command.h"
#include "res/resource.h"
#include "settings/main_file.h"
#include "settings/settings_records.h"

namespace {
// Room of the caption: a path, a separator and the program's name, or an expanded pattern.
constexpr std::size_t kCaptionSize = 520;
}  // namespace

void UpdateCaption(HWND bar) {
    char caption[kCaptionSize];
    CopyText(caption, FieldText(g_paths.mainFile));
    if (g_paths.mainFile[0] != '\0') AppendText(caption, " - ");
    bool expanded = false;
    if (g_settings.options.caption[0] != '\0') {
        char pattern[sizeof g_settings.options.caption];
        CopyText(pattern, FieldText(g_settings.options.caption));
        char result[kCaptionSize];
        // A cancelled query leaves the usual caption rather than a half-expanded pattern.
        if (ExpandPlaceholders(pattern, 1, result, sizeof result)) {
            CopyText(caption, FieldText(result));
            expanded = true;
        }
    }
    if (!expanded) AppendText(caption, ResStr(IDS_PROGRAM_NAME).text);
    if (bar) SetWindowTextA(bar, caption);
}

void AnnounceMainFile(HWND bar) {
    MainFileChanged();
    UpdateCaption(bar);
}
