// Fuzzes the names of the temporary folder and its logs against a file system whose answers come from the
// input: a name handed out does not exist and fits a path buffer, and the logs to delete all exist.
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "exec/log_names.h"
#include "fuzz_input.h"

namespace {

// Says whether a name exists from the input's bits; once they run out nothing more exists (the native
// tests cover a search that runs to its last number). Checks on the way that the k-th name asked is the
// k-th name of the sequence, and keeps only what the checks after the call need.
class FuzzFiles {
public:
    using NameFunction = std::function<std::string(unsigned)>;

    FuzzFiles(FuzzInput& input, NameFunction expected)
        : input_(input), expected_(std::move(expected)) {}

    unsigned asked = 0;
    std::string lastName;
    bool lastExists = false;
    bool earlierAllExisted = true;  // every name before the last one existed
    bool keepExisting = false;
    std::vector<std::string> existing;  // with keepExisting

    ExistsFunction Function() {
        return [this](const std::string& name) {
            ++asked;
            FUZZ_CHECK(name == expected_(asked));
            if (bitsLeft_ == 0 && !input_.Empty()) {
                bits_ = input_.Byte();
                bitsLeft_ = 8;
            }
            bool exists = false;
            if (bitsLeft_ > 0) {
                exists = (bits_ & 1) != 0;
                bits_ >>= 1;
                --bitsLeft_;
            }
            if (asked > 1 && !lastExists) earlierAllExisted = false;
            lastName = name;
            lastExists = exists;
            if (exists && keepExisting) existing.push_back(name);
            return exists;
        };
    }

private:
    FuzzInput& input_;
    NameFunction expected_;
    unsigned bits_ = 0;
    int bitsLeft_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const std::string tempPath = input.Value();
    const std::string folder = input.Value();
    const unsigned highest = input.Byte();

    {
        // Numbers 1, 2, 3, ... are tried in turn; the first that does not exist is the answer.
        FuzzFiles files(input, [&](unsigned n) { return tempPath + "Brisolt" + std::to_string(n); });
        const std::string name = TempFolderName(tempPath, files.Function());
        FUZZ_CHECK(files.earlierAllExisted && files.lastName.size() <= kLongestName);
        if (!name.empty()) {
            FUZZ_CHECK(name == files.lastName && !files.lastExists);
        } else {
            FUZZ_CHECK(files.asked == 0 || files.lastExists);
            FUZZ_CHECK(files.asked == kLastNumber ||
                       tempPath.size() + 7 + std::to_string(files.asked + 1).size() > kLongestName);
        }
    }
    {
        FuzzFiles files(input, [&](unsigned n) { return LogFileName(folder, n); });
        const FreeLogFile log = FirstFreeLogFile(folder, files.Function());
        FUZZ_CHECK(files.earlierAllExisted && files.lastName.size() <= kLongestName);
        if (log.number == 0) {
            FUZZ_CHECK(log.name.empty() && (files.asked == 0 || files.lastExists));
            FUZZ_CHECK(files.asked == kLastNumber || LogFileName(folder, files.asked + 1).size() > kLongestName);
        } else {
            FUZZ_CHECK(log.number == files.asked && log.name == files.lastName && !files.lastExists);
            FUZZ_CHECK(log.name == LogFileName(folder, log.number));
        }
    }
    {
        // The folder of the logs is a path; every name up to the highest number is asked about, and the
        // ones that exist are returned in order.
        const std::string shortFolder = folder.substr(0, kLongestName);
        FuzzFiles files(input, [&](unsigned n) { return LogFileName(shortFolder, n); });
        files.keepExisting = true;
        const std::vector<std::string> names = LogFilesToDelete(shortFolder, highest, files.Function());
        FUZZ_CHECK(files.asked == std::min(highest, kLastNumber));
        FUZZ_CHECK(names == files.existing);
    }
    return 0;
}
