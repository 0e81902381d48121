// Feeds the window sequences of user events decoded from the fuzzer's bytes and
// checks every invariant after every event. A violation prints the events that
// led to it, as C++, and aborts.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/events.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    heikosen::events::Failure failure;
    const std::vector<heikosen::events::Event> events =
        heikosen::events::runBytes(data, size, &failure);
    if (failure.violations.empty()) {
        return 0;
    }
    std::string text = "after event " + std::to_string(failure.index) + ":\n";
    for (const std::string& v : failure.violations) {
        text += "  " + v + "\n";
    }
    text += heikosen::events::toCpp(events);
    std::fputs(text.c_str(), stderr);
    std::abort();
}
