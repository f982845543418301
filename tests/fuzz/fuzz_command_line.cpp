// Fuzzes the command-line scan (arguments, the /i and /d options into small fields), the extension split
// and the file-name replacement, each buffer exactly as large as its room so a write past it shows.
#include <cctype>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "exec/run_rules.h"
#include "fuzz_input.h"

namespace {

std::vector<char> CString(std::string_view text) {
    std::vector<char> buffer(text.begin(), text.end());
    buffer.push_back('\0');
    return buffer;
}

// The arguments point into the text, the cursor never leaves it, and the scan writes nothing but NULs.
void CheckArguments(std::string_view line) {
    std::vector<char> text = CString(line);
    const std::vector<char> original = text;
    const std::size_t length = std::strlen(original.data());
    char* const begin = text.data();
    ArgumentScanner scanner;
    std::size_t count = 0;
    for (char* argument = NextArgument(scanner, begin); argument; argument = NextArgument(scanner, nullptr)) {
        FUZZ_CHECK(argument >= begin && argument < begin + length);
        FUZZ_CHECK(scanner.cursor > argument && scanner.cursor <= begin + length);
        const bool quoted = argument > begin && original[argument - begin - 1] == '"';
        if (!quoted) {
            FUZZ_CHECK(!std::isspace(static_cast<unsigned char>(*argument)));
            FUZZ_CHECK(std::strchr(argument, ' ') == nullptr);
        }
        FUZZ_CHECK(++count <= length);
    }
    FUZZ_CHECK(NextArgument(scanner, nullptr) == nullptr);
    for (std::size_t i = 0; i < text.size(); ++i) FUZZ_CHECK(text[i] == original[i] || text[i] == '\0');
}

// The whole scan into the 260-byte fields, and the options' values into fields of a few bytes.
void CheckScan(std::string_view line, std::size_t room) {
    std::vector<char> text = CString(line);
    const std::string_view whole = UpToNul(line);
    StartupArguments arguments;
    ScanCommandLine(text.data(), arguments);
    for (const char* field : {arguments.settingsFile, arguments.defaultFolder, arguments.mainFile}) {
        FUZZ_CHECK(Terminated(field, sizeof arguments.mainFile));
        FUZZ_CHECK(whole.find(CText(field, sizeof arguments.mainFile)) != std::string_view::npos);
    }

    text = CString(line);
    const std::unique_ptr<char[]> settings(new char[room]());
    const std::unique_ptr<char[]> folder(new char[room]());
    ArgumentScanner scanner;
    for (char* argument = NextArgument(scanner, text.data()); argument; argument = NextArgument(scanner, nullptr)) {
        char* const before = scanner.cursor;
        const bool wasFilled = settings[0] != '\0';
        if (TakeOptionValue(scanner, settings.get(), room, argument, "/i", "-i")) {
            FUZZ_CHECK(!wasFilled);
            FUZZ_CHECK(Terminated(settings.get(), room));
            continue;
        }
        // A refused option consumes nothing, whatever the reason.
        FUZZ_CHECK(scanner.cursor == before);
        if (TakeOptionValue(scanner, folder.get(), room, argument, "/d", "-d")) {
            FUZZ_CHECK(Terminated(folder.get(), room));
        } else {
            FUZZ_CHECK(scanner.cursor == before);
        }
    }
}

// Base and extension put together give the path back whenever both fit; base may be the path itself.
void CheckSplit(std::string_view path, std::size_t baseRoom, std::size_t extensionRoom, bool inPlace) {
    const std::vector<char> original = CString(path);
    const std::string_view text(original.data(), std::strlen(original.data()));
    std::vector<char> pathBuffer = original;
    const std::unique_ptr<char[]> base(new char[baseRoom]);
    const std::unique_ptr<char[]> extension(new char[extensionRoom]);
    char* const baseOut = inPlace ? pathBuffer.data() : base.get();
    const std::size_t baseOutRoom = inPlace ? pathBuffer.size() : baseRoom;
    SplitExtension(pathBuffer.data(), baseOut, baseOutRoom, extension.get(), extensionRoom);

    FUZZ_CHECK(Terminated(baseOut, baseOutRoom) && Terminated(extension.get(), extensionRoom));
    const std::string_view baseText = CText(baseOut, baseOutRoom);
    const std::string_view extensionText = CText(extension.get(), extensionRoom);
    FUZZ_CHECK(text.substr(0, baseText.size()) == baseText);
    if (!extensionText.empty()) {
        FUZZ_CHECK(extensionText.front() == '.' && extensionText.find('\\') == std::string_view::npos);
    }
    const std::size_t dot = text.rfind('.');
    const std::size_t slash = text.rfind('\\');
    const bool hasExtension = dot != std::string_view::npos && (slash == std::string_view::npos || dot > slash);
    const std::size_t baseLength = hasExtension ? dot : text.size();
    if (baseLength < baseOutRoom && text.size() - baseLength < extensionRoom) {
        FUZZ_CHECK(std::string(baseText) + std::string(extensionText) == text);
        FUZZ_CHECK(baseText.size() == baseLength);
    }
}

// The part up to the last backslash stays, the name follows it, all inside the room even when the path
// came without its NUL.
void CheckReplace(std::string_view path, std::size_t room, std::string_view name) {
    const std::unique_ptr<char[]> buffer(new char[room]);
    const std::size_t filled = std::min(path.size(), room);
    std::memcpy(buffer.get(), path.data(), filled);
    if (filled < room) buffer[filled] = '\0';
    const std::string original(CText(buffer.get(), room));

    ReplaceFileName(buffer.get(), room, name);
    FUZZ_CHECK(Terminated(buffer.get(), room));
    const std::string_view result = CText(buffer.get(), room);
    const std::size_t slash = original.rfind('\\');
    const std::size_t keep = std::min(slash == std::string::npos ? 0 : slash + 1, room - 1);
    FUZZ_CHECK(result.substr(0, keep) == std::string_view(original).substr(0, keep));
    const std::string_view added = result.substr(keep);
    FUZZ_CHECK(UpToNul(name).substr(0, added.size()) == added);
    if (keep + UpToNul(name).size() < room) FUZZ_CHECK(added == UpToNul(name));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const std::size_t smallRoom = 1 + input.Byte() % 24;
    const std::size_t baseRoom = 1 + input.Byte();
    const std::size_t extensionRoom = 1 + input.Byte() % 16;
    const bool inPlace = input.Flag();
    const std::string name = input.Value();
    const std::string line(input.Rest());

    CheckArguments(line);
    CheckScan(line, smallRoom);
    CheckSplit(line, baseRoom, extensionRoom, inPlace);
    CheckReplace(line, baseRoom, name);
    return 0;
}
