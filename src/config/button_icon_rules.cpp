// The buttons' icon rules: loading a ButtonDef's own icons with their fallbacks, and the face's source.
#include "config/button_icon_rules.h"

#include "base/bounded_text.h"

namespace {

void Release(void*& icon, IconSystem& system) {
    if (IsIcon(icon)) system.DestroyIcon(icon);
    icon = nullptr;
}

// Both icons, or neither: a half-extracted pair is released at once rather than kept unused.
bool Extract(ButtonDef& def, IconSystem& system) {
    void* large = nullptr;
    void* small = nullptr;
    system.ExtractIcons(def.iconFile, def.iconNumber, large, small);
    if (IsIcon(large) && IsIcon(small)) {
        def.largeIcon = large;
        def.smallIcon = small;
        return true;
    }
    Release(large, system);
    Release(small, system);
    return false;
}

}  // namespace

bool IsIcon(const void* handle) {
    return handle != nullptr && handle != reinterpret_cast<const void*>(1);
}

void ReloadButtonIcons(ButtonDef& def, int index, IconSystem& system) {
    if (index >= 0) system.ClearBarFace(index);
    Release(def.largeIcon, system);
    Release(def.smallIcon, system);
    if (def.iconFile[0] == '\0') def.iconNumber = -1;
    if (def.iconNumber < 0) return;
    if (Extract(def, system)) return;

    char program[kPathSize] = "";
    // Only a program that was found replaces the icon file: an empty answer would erase the user's
    // file name at the next save.
    if (system.FindProgram(def.command, program)) {
        CopyText(def.iconFile, FieldText(program));
        def.iconNumber = 0;
        if (Extract(def, system)) return;
    }
    def.iconNumber = -1;
}

FaceSource ChooseFaceSource(const ButtonDef& def) {
    const bool own = def.iconNumber >= 0 && def.iconFile[0] != '\0' && IsIcon(def.largeIcon) && IsIcon(def.smallIcon);
    return own ? FaceSource::kOwnIcon : FaceSource::kShellIcon;
}
