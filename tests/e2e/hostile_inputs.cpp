// Hostile inputs for the built program, made from a seed.
#include "e2e/hostile_inputs.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

const char* const kExtremeNumbers[] = {
    "0", "1", "-1", "2", "5", "6", "9", "10", "11", "12", "-3", "200", "255", "256", "300", "-56", "32767",
    "65536", "2147483647", "-2147483648", "2147483648", "4294967295", "-4294967297", "99999999999999999999",
    "-", "+7", "12abc", "0x1F", "1e9", "", "007", "--5", "3.5",
};

const char* const kPlaceholders[] = {
    "%@dpne%", "%@%", "%%", "%", "%TEMP%", "%NOSUCH%", "%@t%", "%@x%", "%@en%", "%PATH%", "%@dp%", "%?Value=1%",
    "%?%", "%@", "%%%", "%COMSPEC%",
};

const char* const kPaths[] = {
    "C:\\does\\not\\exist.exe", "\\\\nosuchserver\\share\\x.exe", "C:\\windows\\system32\\shell32.dll",
    "C:\\windows", "..\\..", "C:", "C:\\windows\\notepad.exe", "Z:\\", "C:\\windows\\system32\\cmd.exe",
    "con", "nul", "C:\\windows\\system32\\moricons.dll",
};

const char* const kOptionNumberKeys[] = {"Rows", "Cols", "Space", "On Top", "Save File Pos", "Display tips",
                                         "X", "Y", "Width", "Height"};
const char* const kOptionTextKeys[] = {"Caption", "Last file", "LastDir", "Filter1", "Filter2", "Filter3"};
const char* const kButtonNumberKeys[] = {"Type", "Show", "Log", "Debug", "Wait", "Use long names", "Use icon",
                                         "Icon number"};
const char* const kButtonTextKeys[] = {"Title", "Command", "Options", "Directory", "Tip", "Icon"};

bool Visible(char c) {
    return c > ' ' && c < 0x7F;
}

}  // namespace

std::string HostileInputs::Bytes(int length, int low, int high) {
    std::string text;
    for (int i = 0; i < length; ++i) {
        char c = static_cast<char>(Between(low, high));
        if (c == '\r' || c == '\n' || c == '\0') c = '_';
        text += c;
    }
    return text;
}

std::string HostileInputs::Number() {
    if (Chance(0.3)) return std::to_string(static_cast<int>(random_()));
    if (Chance(0.2)) return std::to_string(Between(-2, 60));
    return Pick(kExtremeNumbers);
}

std::string HostileInputs::Text() {
    std::string text;
    switch (Between(0, 8)) {
    case 0:
        return "";
    case 1:
        text = Bytes(Between(1, 12), 'a', 'z');
        break;
    case 2:
        text = Bytes(Between(250, 3000), '!', '~');
        break;
    case 3:
        text = Bytes(Between(1, 400), 0x80, 0xFF);
        break;
    case 4:
        text = Bytes(Between(1, 80), 0x01, 0x7F);
        break;
    case 5:
        for (int i = Between(1, 12); i > 0; --i) text += Pick(kPlaceholders);
        break;
    case 6:
        text = "\"" + Bytes(Between(0, 300), ' ', '~') + "\"";
        break;
    case 7:
        text = Pick(kPaths);
        if (Chance(0.3)) text += "\\" + Bytes(Between(200, 600), 'a', 'z');
        break;
    default:
        text = Bytes(Between(1, 30), 'a', 'z') + Pick(kPlaceholders) + Bytes(Between(1, 200), 0x20, 0xFF);
        break;
    }
    if (text.empty()) return text;
    if (!Visible(text.front())) text.insert(text.begin(), 'a');
    if (!Visible(text.back())) text += 'z';
    return text;
}

std::string HostileInputs::OptionsSection() {
    std::string text = "[Options]\r\n";
    for (const char* key : kOptionNumberKeys) {
        if (Chance(0.6)) text += std::string(key) + "=" + Number() + "\r\n";
        if (Chance(0.1)) text += std::string(key) + "=" + Number() + "\r\n";  // a duplicate: the first counts
    }
    for (const char* key : kOptionTextKeys) {
        if (Chance(0.5)) text += std::string(key) + "=" + Text() + "\r\n";
    }
    return text;
}

std::string HostileInputs::ButtonsSection() {
    std::string text = "[Buttons]\r\n";
    for (int n = Between(10, 160); n > 0; --n) {
        const int kind = Between(0, 9);
        std::string index = std::to_string(Between(1, 50));
        if (kind == 0) index = Pick({"0", "51", "100", "-1", "01", ""});
        if (Chance(0.5)) {
            text += std::string(Pick(kButtonNumberKeys)) + index + "=" + Number() + "\r\n";
        } else {
            text += std::string(Pick(kButtonTextKeys)) + index + "=" + Text() + "\r\n";
        }
    }
    return text;
}

std::string HostileInputs::ListSection(const char* keyStem, bool positions, const std::string& mainFile) {
    std::string text;
    for (int n = Between(0, 14); n > 0; --n) {
        text += std::string(keyStem) + std::to_string(Between(-1, 11)) + "=";
        if (positions) {
            text += Chance(0.7) ? Number() + "," + Number() + "," + Number() + "," + Number() : Text();
        } else {
            text += (Chance(0.2) && !mainFile.empty()) ? mainFile : Text();
        }
        text += "\r\n";
    }
    return text;
}

std::string HostileInputs::SettingsFile(const std::string& mainFile) {
    std::vector<std::string> sections;
    if (Chance(0.85)) sections.push_back(OptionsSection());
    if (Chance(0.85)) sections.push_back(ButtonsSection());
    if (Chance(0.6)) sections.push_back("[Files]\r\n" + ListSection("File", false, mainFile));
    if (Chance(0.6)) sections.push_back("[Positions]\r\n" + ListSection("Pos", true, mainFile));
    if (Chance(0.5)) sections.push_back("[Directories]\r\n" + ListSection("Directory", false, mainFile));
    if (Chance(0.4)) sections.push_back("[" + Bytes(Between(1, 20), 'A', 'Z') + "]\r\nkey=" + Text() + "\r\n");
    // Duplicated sections: the profile functions read the first and keep both.
    const std::size_t count = sections.size();
    for (std::size_t i = 0; i < count; ++i) {
        if (Chance(0.2)) sections.push_back(sections[i]);
    }
    std::shuffle(sections.begin(), sections.end(), random_);
    std::string text;
    if (Chance(0.3)) text += "; " + Text() + "\r\nno section=" + Text() + "\r\n";
    for (std::string& section : sections) {
        if (Chance(0.3)) section += Bytes(Between(1, 40), 'a', 'z') + "\r\n";  // a line without "="
        if (Chance(0.2)) section += ";" + Text() + "\r\n";
        if (Chance(0.2)) section += "\r\n\r\n";
        text += section;
    }
    return text;
}

std::string HostileInputs::BigSettingsFile(std::size_t bytes, const std::string& mainFile) {
    std::string text = "[Filler]\r\n";
    char line[96];
    for (int n = 0; text.size() < bytes; ++n) {
        std::snprintf(line, sizeof line, "key%06d=value of some length to fill the file up %d\r\n", n, n);
        text += line;
    }
    return text + SettingsFile(mainFile);
}
