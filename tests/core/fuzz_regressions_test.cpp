// Replays every input kept in fuzz/regressions (inputs on which the fuzzer once
// found a fault) and fuzz/corpus (the fuzzer's seeds) through the same decoder
// as the fuzzer, with every invariant checked after every event.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/events.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs every file of the folder; returns how many there were.
int replayFolder(const fs::path& folder) {
    int files = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        if (!entry.is_regular_file() || entry.path().extension() == ".md") {
            continue;
        }
        ++files;
        const std::vector<std::uint8_t> bytes = readBytes(entry.path());
        heikosen::events::Failure failure;
        const std::vector<heikosen::events::Event> events =
            heikosen::events::runBytes(bytes.data(), bytes.size(), &failure);
        std::string text;
        for (const std::string& v : failure.violations) {
            text += "  " + v + "\n";
        }
        EXPECT_TRUE(failure.violations.empty())
            << entry.path().filename() << ", after event " << failure.index << ":\n"
            << text << heikosen::events::toCpp(events);
    }
    return files;
}

TEST(FuzzRegressions, EveryKeptInputRunsClean) {
    const fs::path fuzzDir = HEIKOSEN_FUZZ_DIR;
    ASSERT_TRUE(fs::is_directory(fuzzDir / "regressions"));
    replayFolder(fuzzDir / "regressions");
    EXPECT_GT(replayFolder(fuzzDir / "corpus"), 0);
}

}  // namespace
