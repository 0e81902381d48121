// Start-up of whole programs under the X server named by DISPLAY. Each program
// is launched with HEIKOSEN_REPORT_FIRST_FRAME=1 and reports on stderr, with a
// CLOCK_MONOTONIC time stamp, when its first frame is on screen; the time from
// the launch to that stamp is one run. The programs take turns, so that a
// disturbance of the machine falls on all of them alike.
//
//   startup_bench --runs=N --memory-runs=M --out=FILE NAME=PROGRAM ...
//
// Timed runs also set HEIKOSEN_EXIT_AFTER_FIRST_FRAME=1. Memory runs leave the
// program running, read VmRSS from /proc/<pid>/status a moment after the first
// frame, and then end it. The medians go to FILE as JSON, with the CPU time that
// a timed run used from its start to its end, for reading the times on a busy
// machine.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "timing.h"

extern char** environ;

namespace {

struct Program {
    std::string name;
    std::string path;
    std::vector<double> milliseconds;
    std::vector<double> cpuMilliseconds;  // user and system time of a timed run
    std::vector<double> residentKb;
};

using heikosen::bench::median;
using heikosen::bench::monotonicNs;

double residentKb(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::strtod(line.c_str() + 6, nullptr);
        }
    }
    return -1;
}

struct Launch {
    pid_t pid = -1;
    int stderrFd = -1;
    long long startNs = 0;
};

std::optional<Launch> launch(const std::string& path, bool exitAfterFirstFrame) {
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        if (std::strncmp(*e, "HEIKOSEN_", 9) != 0) {
            env.emplace_back(*e);
        }
    }
    env.emplace_back("HEIKOSEN_REPORT_FIRST_FRAME=1");
    if (exitAfterFirstFrame) {
        env.emplace_back("HEIKOSEN_EXIT_AFTER_FIRST_FRAME=1");
    }
    std::vector<char*> envp;
    for (std::string& s : env) {
        envp.push_back(s.data());
    }
    envp.push_back(nullptr);

    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        return std::nullopt;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDERR_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    std::string program = path;
    char* argv[] = {program.data(), nullptr};
    Launch result;
    result.startNs = monotonicNs();
    const int error = posix_spawn(&result.pid, path.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (error != 0) {
        close(fds[0]);
        std::fprintf(stderr, "cannot start %s: %s\n", path.c_str(), std::strerror(error));
        return std::nullopt;
    }
    result.stderrFd = fds[0];
    return result;
}

// Reads the program's stderr until it reports its first frame; returns the
// monotonic stamp of the report. Other output is passed on.
std::optional<long long> waitForFirstFrame(const Launch& run, int timeoutMs) {
    std::string pending;
    const long long deadline = monotonicNs() + static_cast<long long>(timeoutMs) * 1000000LL;
    char buffer[4096];
    while (monotonicNs() < deadline) {
        pollfd pfd{run.stderrFd, POLLIN, 0};
        const int left = static_cast<int>((deadline - monotonicNs()) / 1000000LL) + 1;
        if (poll(&pfd, 1, left) <= 0) {
            continue;
        }
        const ssize_t n = read(run.stderrFd, buffer, sizeof buffer);
        if (n <= 0) {
            break;  // the program ended without a frame
        }
        pending.append(buffer, static_cast<std::size_t>(n));
        std::size_t end;
        while ((end = pending.find('\n')) != std::string::npos) {
            const std::string line = pending.substr(0, end);
            pending.erase(0, end + 1);
            const auto at = line.find("(monotonic ");
            if (line.rfind("first frame:", 0) == 0 && at != std::string::npos) {
                return std::strtoll(line.c_str() + at + 11, nullptr, 10);
            }
            std::fprintf(stderr, "  | %s\n", line.c_str());
        }
    }
    return std::nullopt;
}

double milliseconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3;
}

// Waits for the program to end (ending it first when asked to, or when it has
// not ended on its own after a few seconds). Returns the CPU time it used, in
// milliseconds.
double finish(Launch& run, bool terminate) {
    if (terminate) {
        kill(run.pid, SIGTERM);
    }
    int status = 0;
    rusage usage{};
    for (int i = 0; i < 500; ++i) {
        if (wait4(run.pid, &status, WNOHANG, &usage) == run.pid) {
            close(run.stderrFd);
            return milliseconds(usage.ru_utime) + milliseconds(usage.ru_stime);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(run.pid, SIGKILL);
    wait4(run.pid, &status, 0, &usage);
    close(run.stderrFd);
    return -1;
}

bool timedRun(Program& program) {
    std::optional<Launch> run = launch(program.path, true);
    if (!run) {
        return false;
    }
    const std::optional<long long> frame = waitForFirstFrame(*run, 20000);
    const double cpu = finish(*run, !frame.has_value());
    if (!frame) {
        std::fprintf(stderr, "%s showed no frame\n", program.name.c_str());
        return false;
    }
    program.milliseconds.push_back(static_cast<double>(*frame - run->startNs) / 1e6);
    if (cpu >= 0) {
        program.cpuMilliseconds.push_back(cpu);
    }
    return true;
}

bool memoryRun(Program& program) {
    std::optional<Launch> run = launch(program.path, false);
    if (!run) {
        return false;
    }
    const std::optional<long long> frame = waitForFirstFrame(*run, 20000);
    if (frame) {
        // What is resident once the window stands, after it has settled.
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        program.residentKb.push_back(residentKb(run->pid));
    }
    finish(*run, true);
    return frame.has_value();
}

}  // namespace

int main(int argc, char* argv[]) {
    int runs = 11;
    int memoryRuns = 3;
    std::string out;
    std::vector<Program> programs;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--runs=", 0) == 0) {
            runs = std::atoi(arg.c_str() + 7);
        } else if (arg.rfind("--memory-runs=", 0) == 0) {
            memoryRuns = std::atoi(arg.c_str() + 14);
        } else if (arg.rfind("--out=", 0) == 0) {
            out = arg.substr(6);
        } else if (const auto eq = arg.find('='); eq != std::string::npos && eq > 0) {
            programs.push_back({arg.substr(0, eq), arg.substr(eq + 1), {}, {}, {}});
        } else {
            std::fprintf(stderr, "usage: %s --runs=N --memory-runs=M --out=FILE NAME=PROGRAM...\n",
                         argv[0]);
            return 2;
        }
    }
    if (programs.empty() || out.empty() || runs < 1 || std::getenv("DISPLAY") == nullptr) {
        std::fprintf(stderr, "needs programs, --out and an X server in DISPLAY\n");
        return 2;
    }

    // One launch of each first, not counted: it fills the file and font caches.
    for (Program& program : programs) {
        if (!timedRun(program)) {
            return 1;
        }
        program.milliseconds.clear();
        program.cpuMilliseconds.clear();
    }
    for (int r = 0; r < runs; ++r) {
        for (Program& program : programs) {
            if (!timedRun(program)) {
                return 1;
            }
        }
    }
    for (int r = 0; r < memoryRuns; ++r) {
        for (Program& program : programs) {
            if (!memoryRun(program)) {
                return 1;
            }
        }
    }

    std::ostringstream json;
    json << "{\n  \"programs\": [\n";
    for (std::size_t p = 0; p < programs.size(); ++p) {
        const Program& program = programs[p];
        json << "    {\"name\": \"" << program.name
             << "\", \"median_ms\": " << median(program.milliseconds)
             << ", \"median_cpu_ms\": " << median(program.cpuMilliseconds)
             << ", \"median_rss_kb\": " << median(program.residentKb) << ", \"ms\": [";
        for (std::size_t i = 0; i < program.milliseconds.size(); ++i) {
            json << (i ? ", " : "") << program.milliseconds[i];
        }
        json << "], \"rss_kb\": [";
        for (std::size_t i = 0; i < program.residentKb.size(); ++i) {
            json << (i ? ", " : "") << program.residentKb[i];
        }
        json << "]}" << (p + 1 < programs.size() ? "," : "") << "\n";
        std::fprintf(stderr, "%-10s start-up median %.1f ms over %zu runs, resident %.0f kB\n",
                     program.name.c_str(), median(program.milliseconds),
                     program.milliseconds.size(), median(program.residentKb));
    }
    json << "  ]\n}\n";
    std::ofstream file(out);
    file << json.str();
    return file ? 0 : 1;
}
