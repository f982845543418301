// The built help file through the program's own help call under Wine: it opens, and every topic the
// dialogs and the close question ask for resolves. Wine shows no page text (no HTML engine here), so
// what is checked is the help window that HTML Help returns for a context id it found.
#include <windows.h>

#include <htmlhelp.h>

#include <gtest/gtest.h>

#include <string>

#include "base/help.h"
#include "res/resource.h"

namespace {

// Brisolt.chm is built into the folder of the programs, which is where this test runs from too.
std::string BuiltHelpFile() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string file(path);
    return file.substr(0, file.find_last_of('\\') + 1) + "Brisolt.chm";
}

TEST(HelpCall, EveryDialogTopicOpensAndAnUnknownIdDoesNot) {
    const std::string file = BuiltHelpFile();
    ASSERT_NE(GetFileAttributesA(file.c_str()), INVALID_FILE_ATTRIBUTES) << file << " was not built";

    const DWORD topics[] = {IDH_CONFIGURATION, IDH_SELECTION,   IDH_EDIT_COMMAND, IDH_QUERY,
                            IDH_ICON_PICKER,   IDH_CLOSE_QUESTION, IDC_HELP_BUTTON};
    for (DWORD topic : topics) {
        HWND window = CallHtmlHelp(nullptr, file.c_str(), HH_HELP_CONTEXT, topic);
        EXPECT_TRUE(window != nullptr && IsWindow(window)) << "context id " << topic;
    }
    EXPECT_EQ(CallHtmlHelp(nullptr, file.c_str(), HH_HELP_CONTEXT, 4242), nullptr);
    EXPECT_NE(CallHtmlHelp(nullptr, file.c_str(), HH_DISPLAY_TOPIC, 0), nullptr);

    CallHtmlHelp(nullptr, nullptr, HH_CLOSE_ALL, 0);
}

}  // namespace
