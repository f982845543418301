// Fuzzes the reloading of a button's icons against a system that extracts icons, half pairs or none and
// finds the command's program or not, as the input says: afterwards the button has both icons or none,
// every handle is destroyed exactly once unless the button keeps it, and nothing the button shows is
// destroyed while the bar button still shows it.
#include <cstdint>
#include <memory>
#include <set>
#include <string>

#include "base/bounded_text.h"
#include "config/button_icon_rules.h"
#include "fuzz_input.h"

namespace {

class FuzzIcons : public IconSystem {
public:
    explicit FuzzIcons(FuzzInput& input) : input_(input) {}

    std::set<void*> live;
    int faceCleared = 0;
    bool destroyedBeforeClear = false;
    bool programFound = false;
    std::string program;

    // No handle, the "1" that also means none, or a new icon.
    void* NewHandle() {
        switch (input_.Byte() % 3) {
        case 0: return nullptr;
        case 1: return reinterpret_cast<void*>(1);
        default: {
            void* handle = reinterpret_cast<void*>(std::uintptr_t{0x10000} + 16 * next_++);
            live.insert(handle);
            return handle;
        }
        }
    }

    void ClearBarFace(int index) override {
        FUZZ_CHECK(index >= 0);
        ++faceCleared;
    }
    void DestroyIcon(void* icon) override {
        FUZZ_CHECK(live.erase(icon) == 1);
        if (faceCleared == 0) destroyedBeforeClear = true;
    }
    void ExtractIcons(const char* file, int iconNumber, void*& large, void*& small) override {
        FUZZ_CHECK(Terminated(file, kPathSize) && file[0] != '\0' && iconNumber >= 0);
        large = NewHandle();
        small = NewHandle();
    }
    bool FindProgram(const char* command, char (&found)[kPathSize]) override {
        FUZZ_CHECK(Terminated(command, 260));
        program = UpToNul(input_.Value());
        // The system names a program whenever it finds one.
        programFound = input_.Flag() && !program.empty();
        CopyText(found, program);
        return programFound;
    }

private:
    FuzzInput& input_;
    unsigned next_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    FuzzIcons system(input);
    const auto def = std::make_unique<ButtonDef>();
    def->largeIcon = system.NewHandle();
    def->smallIcon = system.NewHandle();
    def->iconNumber = input.Flag() ? input.Int() : input.IntIn(-2, 8);
    const int index = input.IntIn(-2, kButtonCount - 1);
    CopyText(def->iconFile, input.Value());
    CopyText(def->command, input.Value());
    const std::string iconFileBefore(FieldText(def->iconFile));

    ReloadButtonIcons(*def, index, system);

    FUZZ_CHECK(system.faceCleared == (index >= 0 ? 1 : 0));
    if (index >= 0) FUZZ_CHECK(!system.destroyedBeforeClear);
    const bool own = def->iconNumber >= 0;
    if (own) {
        FUZZ_CHECK(IsIcon(def->largeIcon) && IsIcon(def->smallIcon) && def->largeIcon != def->smallIcon);
        FUZZ_CHECK(system.live == (std::set<void*>{def->largeIcon, def->smallIcon}));
        FUZZ_CHECK(def->iconFile[0] != '\0');
        FUZZ_CHECK(ChooseFaceSource(*def) == FaceSource::kOwnIcon);
    } else {
        // A negative number read from the file stays as it is: every reader takes it for none.
        FUZZ_CHECK(def->iconNumber < 0 && def->largeIcon == nullptr && def->smallIcon == nullptr);
        FUZZ_CHECK(system.live.empty());
        FUZZ_CHECK(ChooseFaceSource(*def) == FaceSource::kShellIcon);
    }
    // The icon file changes only to a program that was found.
    if (FieldText(def->iconFile) != iconFileBefore) {
        FUZZ_CHECK(system.programFound);
        FUZZ_CHECK(FieldText(def->iconFile) == std::string_view(system.program).substr(0, kPathSize - 1));
    }
    return 0;
}
