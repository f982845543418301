// A settings file's content as the profile functions keep it, and what a run lost of it.
#include "e2e/ini_snapshot.h"

#include <algorithm>
#include <cctype>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

std::string Trim(const std::string& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

bool SameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

bool IsWritten(const std::string& section, const IniLine& line, const std::vector<WrittenKey>& written) {
    if (!line.hasValue) return false;
    for (const WrittenKey& entry : written) {
        if (!SameName(section, entry.section)) continue;
        if (entry.key.empty() || (!entry.numbered && SameName(line.key, entry.key))) return true;
        if (!entry.numbered) continue;
        for (int k = 0; k < 10; ++k) {
            if (SameName(line.key, entry.key + std::to_string(k))) return true;
        }
    }
    return false;
}

bool IsWrittenSection(const std::string& name, const std::vector<WrittenKey>& written) {
    return std::any_of(written.begin(), written.end(),
                       [&](const WrittenKey& entry) { return SameName(name, entry.section); });
}

std::string Describe(const IniSection& section, const IniLine& line) {
    std::string text = "[" + section.name + "] " + line.key;
    if (line.hasValue) text += "=" + line.value;
    if (text.size() > 160) text = text.substr(0, 160) + "...";
    return text;
}

// The sections with the written keys taken out; in `after`, a section beyond those `before` has that holds
// written keys alone (the program made it to hold them) is left out whole.
IniSnapshot WithoutWritten(const IniSnapshot& snapshot, const std::vector<WrittenKey>& written,
                           const IniSnapshot* before) {
    IniSnapshot result;
    for (std::size_t s = 0; s < snapshot.size(); ++s) {
        const IniSection& section = snapshot[s];
        if (before && IsWrittenSection(section.name, written)) {
            const auto named = [&](const IniSection& other) { return SameName(other.name, section.name); };
            const auto occurrence = std::count_if(snapshot.begin(), snapshot.begin() + static_cast<long>(s), named);
            const auto held = std::count_if(before->begin(), before->end(), named);
            const auto isWritten = [&](const IniLine& line) { return IsWritten(section.name, line, written); };
            const bool onlyWritten = std::all_of(section.lines.begin(), section.lines.end(), isWritten);
            if (occurrence >= held && onlyWritten) continue;
        }
        IniSection kept{section.name, section.header, {}};
        for (const IniLine& line : section.lines) {
            if (!IsWritten(section.name, line, written)) kept.lines.push_back(line);
        }
        result.push_back(kept);
    }
    return result;
}

}  // namespace

IniSnapshot ParseIni(const std::string& text) {
    IniSnapshot snapshot;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) end = text.size();
        const std::string line = Trim(text.substr(start, end - start));
        start = end + 1;
        if (end < text.size() && text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
        if (line.empty()) continue;
        const std::size_t close = line.rfind(']');
        if (line[0] == '[' && close != std::string::npos && close > 0) {
            snapshot.push_back(IniSection{line.substr(1, close - 1), true, {}});
            continue;
        }
        if (snapshot.empty()) snapshot.push_back(IniSection{"", false, {}});
        IniLine parsed;
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) {
            parsed.key = line;
        } else {
            parsed.key = Trim(line.substr(0, equals));
            parsed.value = Trim(line.substr(equals + 1));
            parsed.hasValue = true;
        }
        snapshot.back().lines.push_back(parsed);
        if (end == text.size()) break;
    }
    return snapshot;
}

std::vector<WrittenKey> SessionWrites() {
    return {{"Files", "File", true},     {"Positions", "Pos", true}, {"Options", "X"},
            {"Options", "Y"},            {"Options", "Width"},       {"Options", "Height"},
            {"Options", "Last file"},    {"Options", "LastDir"}};
}

std::vector<std::string> CompareSettings(const IniSnapshot& before, const IniSnapshot& after,
                                         const std::vector<WrittenKey>& written) {
    const IniSnapshot kept = WithoutWritten(before, written, nullptr);
    const IniSnapshot now = WithoutWritten(after, written, &before);
    std::vector<std::string> differences;
    const std::size_t sections = std::max(kept.size(), now.size());
    for (std::size_t s = 0; s < sections && differences.size() < 10; ++s) {
        if (s >= now.size()) {
            differences.push_back("section lost: [" + kept[s].name + "]");
            continue;
        }
        if (s >= kept.size()) {
            differences.push_back("section added: [" + now[s].name + "]");
            continue;
        }
        if (kept[s].name != now[s].name || kept[s].header != now[s].header) {
            differences.push_back("section [" + kept[s].name + "] became [" + now[s].name + "]");
            continue;
        }
        const std::vector<IniLine>& was = kept[s].lines;
        const std::vector<IniLine>& is = now[s].lines;
        for (std::size_t l = 0; l < std::max(was.size(), is.size()) && differences.size() < 10; ++l) {
            if (l >= is.size()) {
                differences.push_back("lost: " + Describe(kept[s], was[l]));
            } else if (l >= was.size()) {
                differences.push_back("added: " + Describe(now[s], is[l]));
            } else if (was[l].key != is[l].key || was[l].value != is[l].value || was[l].hasValue != is[l].hasValue) {
                differences.push_back("changed: " + Describe(kept[s], was[l]) + " -> " + Describe(now[s], is[l]));
            }
        }
    }
    return differences;
}
