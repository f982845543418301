// Fuzzes the placeholder language: any template and main file, a host whose environment values, short
// names and query answers come from the input (empty, huge, or a press on Cancel), and every capacity
// from 0 up, the output buffer exactly as large as its capacity.
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "exec/expansion.h"
#include "fuzz_input.h"

namespace {

enum class Call { kEnvironment, kShortPath, kQuery };

struct Answer {
    Call call;
    std::string asked;  // the name, the path, or the query's name and "=" initial
    bool result;
    std::string value;
};

// Answers each call with the next line of the input: "-..." answers false (with junk in the value), a
// query's "!..." is a press on Cancel; past the input's end variables are empty and queries answered "".
// Every call and its answer is recorded, so a second run can be given the same answers.
class FuzzHost : public ExpansionHost {
public:
    // With replay, gives those answers in order, and calls beyond them find nothing set.
    FuzzHost(FuzzInput* input, const std::vector<Answer>* replay, std::string_view templ, std::string_view displayName)
        : input_(input), replay_(replay), templ_(templ), displayName_(displayName) {}

    std::vector<Answer> log;
    bool cancelled = false;
    std::size_t callsAfterCancel = 0;

    std::size_t Environment(std::string_view name, char* value, std::size_t room) override {
        CheckInTemplate(name);
        FUZZ_CHECK(name.find('%') == std::string_view::npos && !name.empty());
        std::string answer;
        if (!Respond(Call::kEnvironment, std::string(name), answer)) return 0;
        if (answer.size() < room) std::memcpy(value, answer.c_str(), answer.size() + 1);
        return answer.size();
    }
    bool ShortPath(std::string_view path, char* shortPath, std::size_t room) override {
        FUZZ_CHECK(!path.empty());
        std::string answer;
        return Respond(Call::kShortPath, std::string(path), answer) && text::CopyInto(shortPath, room, answer);
    }
    bool Query(std::string_view name, std::string_view initial, char* answer, std::size_t room) override {
        CheckInTemplate(name);
        CheckInTemplate(initial);
        FUZZ_CHECK(name.find('=') == std::string_view::npos);
        std::string given;
        if (!Respond(Call::kQuery, std::string(name) + "=" + std::string(initial), given)) {
            cancelled = true;
            return false;
        }
        text::CopyInto(answer, room, given);
        return true;
    }
    std::string_view DisplayName() override { return displayName_; }

private:
    void CheckInTemplate(std::string_view part) const {
        FUZZ_CHECK(Within(part, templ_));
    }

    bool Respond(Call call, std::string asked, std::string& value) {
        if (cancelled) ++callsAfterCancel;
        Answer answer{call, std::move(asked), true, ""};
        if (replay_) {
            const std::size_t k = log.size();
            if (k < replay_->size()) {
                // The same template and answers ask the same questions in the same order.
                FUZZ_CHECK((*replay_)[k].call == call && (*replay_)[k].asked == answer.asked);
                answer = (*replay_)[k];
            }
        } else {
            const std::string_view line = input_->Line();
            const char first = line.empty() ? '\0' : line.front();
            const bool refused = first == '-' || (call == Call::kQuery && first == '!');
            answer.result = !refused;
            // The system's answers are C strings: no NUL inside.
            answer.value = UpToNul(FuzzInput::Expand(refused ? line.substr(1) : line));
        }
        log.push_back(answer);
        value = answer.value;
        return answer.result;
    }

    FuzzInput* input_;
    const std::vector<Answer>* replay_;
    std::string_view templ_;
    std::string_view displayName_;
};

struct Expanded {
    int status = -1;
    std::string text;
};

// The template comes back unchanged and a finished output is terminated inside its capacity.
Expanded RunExpansion(const char* templ, bool longNames, std::string_view mainFile, std::size_t capacity,
                      FuzzHost& host) {
    const std::string before = templ ? templ : "";
    const std::unique_ptr<char[]> out(new char[capacity]);
    Expanded result;
    result.status = ExpandTemplate(templ, longNames ? LongNames::kYes : LongNames::kNo, mainFile, out.get(), capacity, host);
    FUZZ_CHECK(result.status == 0 || result.status == 1);
    FUZZ_CHECK((result.status == 0) == host.cancelled);
    FUZZ_CHECK(host.callsAfterCancel == 0);
    FUZZ_CHECK(before == (templ ? templ : ""));
    if (capacity > 0) {
        FUZZ_CHECK(Terminated(out.get(), capacity));
        result.text = CText(out.get(), capacity);
    }
    return result;
}

// The parts of a path put together give it back whenever no part was cut.
void CheckPathParts(std::string_view path) {
    const PathParts parts = SplitPathParts(path);
    for (const std::string_view part : {parts.drive, parts.folder, parts.name, parts.extension}) {
        FUZZ_CHECK(part.size() <= 255);
        FUZZ_CHECK(Within(part, path));
    }
    const std::string whole = std::string(parts.drive) + std::string(parts.folder) + std::string(parts.name) +
                              std::string(parts.extension);
    const bool cut = whole.size() != path.size();
    if (!cut) {
        FUZZ_CHECK(whole == path);
        FUZZ_CHECK(FieldText(MainFileText("dpne", path).text) == path);
    }
    FUZZ_CHECK(FieldText(MainFileText("", path).text) == text::Part(path, 0, kMainFileTextSize - 1));
    FUZZ_CHECK(FieldText(MainFileText("dpne", path).text).size() <= path.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    // Small capacities most often: 0..191 as given, then in steps of 64 up to 4224.
    const unsigned selector = input.Byte();
    const std::size_t capacity = selector < 192 ? selector : 192 + (selector - 192) * 64;
    const std::uint8_t flags = input.Byte();
    const bool longNames = (flags & 1) != 0;
    const bool nullTemplate = (flags & 0x3E) == 0x3E;
    const std::string templ = input.Value();
    const std::string mainFile(UpToNul(input.Value()));
    const std::string displayName(UpToNul(input.Value()));
    CheckPathParts(mainFile);

    // A first run with room for everything the answers can give records them.
    constexpr std::size_t kLargeCapacity = 1 << 16;
    const char* const templText = nullTemplate ? nullptr : templ.c_str();
    FuzzHost first(&input, nullptr, templ, displayName);
    const Expanded large = RunExpansion(templText, longNames, mainFile, kLargeCapacity, first);

    // With the same answers, any capacity gives the same text once it leaves a byte spare past it.
    FuzzHost second(nullptr, &first.log, templ, displayName);
    const Expanded small = RunExpansion(templText, longNames, mainFile, capacity, second);
    FUZZ_CHECK(capacity == 0 || small.text.size() < capacity);
    if (small.status == 0) FUZZ_CHECK(large.status == 0);
    if (large.status == 1 && capacity >= large.text.size() + 2) {
        FUZZ_CHECK(small.status == 1 && small.text == large.text);
    }
    // A template without placeholders is copied, cut to the capacity.
    if (templText && templ.find('%') == std::string::npos && capacity > 0) {
        FUZZ_CHECK(small.text == UpToNul(templ).substr(0, capacity - 1));
    }
    return 0;
}
