#include "app/first_frame_report.h"

#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace heikosen::app {

namespace {

// Time from the start of the process, from the kernel's record of it.
double millisecondsSinceProcessStart() {
    std::ifstream stat("/proc/self/stat");
    const std::string content((std::istreambuf_iterator<char>(stat)),
                              std::istreambuf_iterator<char>());
    const auto close = content.rfind(')');
    if (close == std::string::npos || close + 2 >= content.size()) {
        return -1;
    }
    // After the command name come the fields from 3 on; the start is field 22.
    std::istringstream fields(content.substr(close + 2));
    std::string field;
    for (int i = 3; i <= 22 && fields >> field; ++i) {
    }
    const double startTicks = std::strtod(field.c_str(), nullptr);
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const double nowMs =
        static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
    return nowMs - startTicks * 1e3 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

}  // namespace

void printFirstFrameReport() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::fprintf(stderr, "first frame: %.1f ms after start (monotonic %lld ns)\n",
                 millisecondsSinceProcessStart(),
                 static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
    std::fflush(stderr);
}

}  // namespace heikosen::app
