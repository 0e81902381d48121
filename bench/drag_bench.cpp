// Dragging on the desktop, end to end, under the X server named by DISPLAY:
// from a pointer move sent with the XTest extension to the first pixels of the
// window that change (the first DamageNotify of the Damage extension).
//
//   drag_bench --program=PATH --floor=PATH --out=FILE [--rounds=N] [--moves=M]
//
// Three windows stand side by side: the program on a fresh board ("empty"), the
// program on a board inked all over ("inked") and the floor, a bare Qt widget of
// the same size whose one line follows the drag. Each round holds p (or the
// floor's line) and moves it up and down by 3 px, one move at a time, M times
// in each window in turn, the order turning round every round; the first round
// is not counted. The board is inked as a pupil would: the memo button, the
// thick red pen, and strokes written across the whole drawing area row by row,
// every 5 px under a pen 6 px wide; then memo mode off again, which leaves the
// strokes. A board whose drawing area is not covered with ink is an error.
// The medians of the latencies go to FILE as JSON.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
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

// The window's layout, in client pixels.
constexpr int kClientWidth = 891;
constexpr int kClientHeight = 687;
// The canvas stands at (8, 48) with a border of 2 px: its drawing area, where
// canvas pixel (0, 0) is, starts at (10, 50) and is 802 × 626.
constexpr int kAreaX = 10;
constexpr int kAreaY = 50;
constexpr int kAreaWidth = 802;
constexpr int kAreaHeight = 626;
// Where p is taken: near its left end, on the parallel at canvas y 275.
constexpr int kGripX = kAreaX + 20;
constexpr int kGripY = kAreaY + 275;
// The memo button and the thick red pen, at the middle of their boxes.
constexpr int kMemoX = 464 + 24;
constexpr int kMemoY = 8 + 16;
constexpr int kThickRedX = 560 + 8;
constexpr int kThickRedY = 8 + 8;
// How far apart the windows stand on the screen.
constexpr int kSlotWidth = 900;

using heikosen::bench::median;
using heikosen::bench::monotonicNs;

void sleepMs(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

struct Target {
    std::string name;
    std::string path;
    pid_t pid = -1;
    Window window = 0;
    Damage damage = 0;
    int rootX = 0;  // where the client area's origin is on the screen
    int rootY = 0;
    std::vector<double> microseconds;  // every counted move
    std::vector<double> runMedians;    // the median of each counted run
};

class Driver {
  public:
    explicit Driver(Display* display) : dpy_(display), root_(DefaultRootWindow(display)) {}

    bool extensionsPresent() {
        int event = 0;
        int error = 0;
        int major = 0;
        int minor = 0;
        if (!XTestQueryExtension(dpy_, &event, &error, &major, &minor)) {
            std::fprintf(stderr, "the X server has no XTest extension\n");
            return false;
        }
        if (!XDamageQueryExtension(dpy_, &damageEvent_, &error)) {
            std::fprintf(stderr, "the X server has no Damage extension\n");
            return false;
        }
        return true;
    }

    bool start(Target& target, int slot) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        std::string program = target.path;
        char* argv[] = {program.data(), nullptr};
        const int error =
            posix_spawn(&target.pid, target.path.c_str(), &actions, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&actions);
        if (error != 0) {
            std::fprintf(stderr, "cannot start %s\n", target.path.c_str());
            target.pid = -1;
            return false;
        }
        const long long deadline = monotonicNs() + 20'000'000'000LL;
        while (target.window == 0 && monotonicNs() < deadline) {
            target.window = windowOf(target.pid);
            if (target.window == 0) {
                sleepMs(20);
            }
        }
        if (target.window == 0) {
            std::fprintf(stderr, "%s showed no window\n", target.name.c_str());
            return false;
        }
        XMoveWindow(dpy_, target.window, slot * kSlotWidth, 0);
        target.damage = XDamageCreate(dpy_, target.window, XDamageReportNonEmpty);
        XSync(dpy_, False);
        waitForQuiet(target, 300);
        Window child = 0;
        XTranslateCoordinates(dpy_, target.window, root_, 0, 0, &target.rootX, &target.rootY,
                              &child);
        return true;
    }

    void stop(Target& target) {
        if (target.damage != 0) {
            XDamageDestroy(dpy_, target.damage);
            XSync(dpy_, False);
        }
        if (target.pid > 0) {
            kill(target.pid, SIGTERM);
            int status = 0;
            waitpid(target.pid, &status, 0);
        }
    }

    // Moves the pointer to a client point of the window and waits for the
    // first change of its pixels; returns the time between, in microseconds,
    // or nothing when the window did not change within two seconds.
    std::optional<double> moveAndTime(Target& target, int x, int y) {
        clearDamage(target);
        const long long sent = monotonicNs();
        XTestFakeMotionEvent(dpy_, DefaultScreen(dpy_), target.rootX + x, target.rootY + y,
                             CurrentTime);
        XFlush(dpy_);
        if (!waitForDamage(target, sent + 2'000'000'000LL)) {
            return std::nullopt;
        }
        return static_cast<double>(monotonicNs() - sent) / 1e3;
    }

    void moveTo(Target& target, int x, int y) {
        XTestFakeMotionEvent(dpy_, DefaultScreen(dpy_), target.rootX + x, target.rootY + y,
                             CurrentTime);
        XSync(dpy_, False);
    }

    void button(bool press) {
        XTestFakeButtonEvent(dpy_, 1, press ? True : False, CurrentTime);
        XSync(dpy_, False);
    }

    void click(Target& target, int x, int y) {
        moveTo(target, x, y);
        waitForQuiet(target, 50);
        button(true);
        waitForQuiet(target, 50);
        button(false);
        waitForQuiet(target, 100);
    }

    // True when a move of the pointer over the window, no button held, changes
    // its pixels. The floor does nothing on such a move: if it changed, the
    // server would be drawing the pointer into the window, and every time here
    // would be the pointer's.
    bool pointerDrawn(Target& target) {
        moveTo(target, kGripX, kGripY);
        waitForQuiet(target, 50);
        clearDamage(target);
        moveTo(target, kGripX + 200, kGripY + 100);
        return waitForDamage(target, monotonicNs() + 200'000'000LL);
    }

    // Waits until the window has not changed for `quietMs`.
    void waitForQuiet(Target& target, int quietMs) {
        const long long giveUp = monotonicNs() + 10'000'000'000LL;
        do {
            clearDamage(target);
        } while (waitForDamage(target, monotonicNs() + quietMs * 1'000'000LL) &&
                 monotonicNs() < giveUp);
    }

    // The share of the drawing area's pixels that are pure white.
    double whiteShare(const Target& target) {
        XImage* image = XGetImage(dpy_, target.window, kAreaX, kAreaY, kAreaWidth, kAreaHeight,
                                  AllPlanes, ZPixmap);
        if (image == nullptr) {
            return 1;
        }
        long white = 0;
        for (int y = 0; y < kAreaHeight; ++y) {
            for (int x = 0; x < kAreaWidth; ++x) {
                if ((XGetPixel(image, x, y) & 0xFFFFFF) == 0xFFFFFF) {
                    ++white;
                }
            }
        }
        XDestroyImage(image);
        return static_cast<double>(white) / (kAreaWidth * kAreaHeight);
    }

  private:
    // The viewable top-level window of the window's size that process `pid` made.
    Window windowOf(pid_t pid) {
        const Atom wmPid = XInternAtom(dpy_, "_NET_WM_PID", False);
        Window rootReturn = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned count = 0;
        Window found = 0;
        if (!XQueryTree(dpy_, root_, &rootReturn, &parent, &children, &count)) {
            return 0;
        }
        for (unsigned i = 0; i < count && found == 0; ++i) {
            XWindowAttributes attributes{};
            if (!XGetWindowAttributes(dpy_, children[i], &attributes) ||
                attributes.map_state != IsViewable || attributes.width != kClientWidth ||
                attributes.height != kClientHeight) {
                continue;
            }
            Atom type = 0;
            int format = 0;
            unsigned long items = 0;
            unsigned long after = 0;
            unsigned char* data = nullptr;
            if (XGetWindowProperty(dpy_, children[i], wmPid, 0, 1, False, XA_CARDINAL, &type,
                                   &format, &items, &after, &data) == Success &&
                data != nullptr) {
                if (format == 32 && items == 1 &&
                    static_cast<pid_t>(*reinterpret_cast<unsigned long*>(data)) == pid) {
                    found = children[i];
                }
                XFree(data);
            }
        }
        if (children != nullptr) {
            XFree(children);
        }
        return found;
    }

    // Forgets what has changed so far, and the notices of it still queued.
    void clearDamage(Target& target) {
        XDamageSubtract(dpy_, target.damage, None, None);
        XSync(dpy_, False);
        while (XPending(dpy_) > 0) {
            XEvent event;
            XNextEvent(dpy_, &event);
        }
    }

    bool waitForDamage(const Target& target, long long deadlineNs) {
        for (;;) {
            while (XPending(dpy_) > 0) {
                XEvent event;
                XNextEvent(dpy_, &event);
                const auto* notify = reinterpret_cast<XDamageNotifyEvent*>(&event);
                if (event.type == damageEvent_ + XDamageNotify && notify->damage == target.damage) {
                    return true;
                }
            }
            const long long left = deadlineNs - monotonicNs();
            if (left <= 0) {
                return false;
            }
            pollfd pfd{ConnectionNumber(dpy_), POLLIN, 0};
            poll(&pfd, 1, static_cast<int>(left / 1'000'000LL) + 1);
        }
    }

    Display* dpy_;
    Window root_;
    int damageEvent_ = 0;
};

// Covers the program's drawing area with ink: memo mode on, the thick red pen,
// rows 5 px apart written across the area and back, memo mode off.
bool inkBoard(Driver& driver, Target& target) {
    driver.click(target, kMemoX, kMemoY);
    driver.click(target, kThickRedX, kThickRedY);
    int x = kAreaX;
    driver.moveTo(target, x, kAreaY);
    driver.waitForQuiet(target, 50);
    driver.button(true);
    driver.waitForQuiet(target, 50);
    for (int y = kAreaY; y < kAreaY + kAreaHeight; y += 5) {
        if (y != kAreaY && !driver.moveAndTime(target, x, y)) {
            return false;
        }
        x = x == kAreaX ? kAreaX + kAreaWidth - 1 : kAreaX;
        if (!driver.moveAndTime(target, x, y)) {
            return false;
        }
    }
    driver.button(false);
    driver.waitForQuiet(target, 100);
    driver.click(target, kMemoX, kMemoY);
    const double white = driver.whiteShare(target);
    std::fprintf(stderr, "inked board: %.1f%% of the drawing area left white\n", white * 100);
    // What stays white are the backgrounds of the figure's letters.
    return white < 0.05;
}

// One run: takes p, moves it `moves` times by 3 px up and down, lets it go.
bool dragRun(Driver& driver, Target& target, int moves, bool counted) {
    driver.moveTo(target, kGripX, kGripY);
    driver.waitForQuiet(target, 50);
    driver.button(true);
    driver.waitForQuiet(target, 100);
    std::vector<double> run;
    int y = kGripY;
    int step = 3;
    for (int i = 0; i < moves; ++i) {
        if (std::abs(y + step - kGripY) > 30) {
            step = -step;
        }
        y += step;
        const std::optional<double> us = driver.moveAndTime(target, kGripX, y);
        if (!us) {
            std::fprintf(stderr, "%s: a move while dragging changed no pixels\n",
                         target.name.c_str());
            driver.button(false);
            return false;
        }
        run.push_back(*us);
        // The window settles before the next move, as between a hand's moves.
        driver.waitForQuiet(target, 4);
    }
    driver.moveTo(target, kGripX, kGripY);
    driver.button(false);
    driver.waitForQuiet(target, 100);
    if (counted) {
        target.microseconds.insert(target.microseconds.end(), run.begin(), run.end());
        target.runMedians.push_back(median(run));
    }
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    std::string program;
    std::string floor;
    std::string out;
    int rounds = 5;
    int moves = 100;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--program=", 0) == 0) {
            program = arg.substr(10);
        } else if (arg.rfind("--floor=", 0) == 0) {
            floor = arg.substr(8);
        } else if (arg.rfind("--out=", 0) == 0) {
            out = arg.substr(6);
        } else if (arg.rfind("--rounds=", 0) == 0) {
            rounds = std::atoi(arg.c_str() + 9);
        } else if (arg.rfind("--moves=", 0) == 0) {
            moves = std::atoi(arg.c_str() + 8);
        } else {
            std::fprintf(stderr, "unknown argument %s\n", arg.c_str());
            return 2;
        }
    }
    if (program.empty() || floor.empty() || out.empty() || rounds < 1 || moves < 2) {
        std::fprintf(stderr,
                     "usage: %s --program=PATH --floor=PATH --out=FILE [--rounds=N] [--moves=M]\n",
                     argv[0]);
        return 2;
    }
    Display* dpy = XOpenDisplay(nullptr);
    if (dpy == nullptr) {
        std::fprintf(stderr, "cannot open the X display\n");
        return 2;
    }
    Driver driver(dpy);
    if (!driver.extensionsPresent()) {
        return 2;
    }

    std::vector<Target> targets(3);
    targets[0].name = "empty";
    targets[0].path = program;
    targets[1].name = "inked";
    targets[1].path = program;
    targets[2].name = "floor";
    targets[2].path = floor;
    bool ok = true;
    for (std::size_t i = 0; i < targets.size() && ok; ++i) {
        ok = driver.start(targets[i], static_cast<int>(i));
    }
    if (ok && driver.pointerDrawn(targets[2])) {
        std::fprintf(stderr, "the pointer changes the pixels of the window it moves over\n");
        ok = false;
    }
    if (ok && !inkBoard(driver, targets[1])) {
        std::fprintf(stderr, "the board could not be inked all over\n");
        ok = false;
    }
    for (int r = 0; r <= rounds && ok; ++r) {
        for (std::size_t k = 0; k < targets.size() && ok; ++k) {
            Target& target = targets[(k + static_cast<std::size_t>(r)) % targets.size()];
            ok = dragRun(driver, target, moves, r > 0);
        }
    }
    for (Target& target : targets) {
        driver.stop(target);
    }
    XCloseDisplay(dpy);
    if (!ok) {
        return 1;
    }

    std::ostringstream json;
    json << "{\n  \"rounds\": " << rounds << ",\n  \"moves\": " << moves << ",\n  \"targets\": [\n";
    for (std::size_t t = 0; t < targets.size(); ++t) {
        const Target& target = targets[t];
        json << "    {\"name\": \"" << target.name
             << "\", \"median_us\": " << median(target.microseconds)
             << ", \"count\": " << target.microseconds.size() << ", \"run_medians_us\": [";
        for (std::size_t i = 0; i < target.runMedians.size(); ++i) {
            json << (i ? ", " : "") << target.runMedians[i];
        }
        json << "]}" << (t + 1 < targets.size() ? "," : "") << "\n";
        std::fprintf(stderr, "%-6s move to first changed pixels: median %.0f µs over %zu moves\n",
                     target.name.c_str(), median(target.microseconds), target.microseconds.size());
    }
    json << "  ]\n}\n";
    std::ofstream file(out);
    file << json.str();
    return file ? 0 : 1;
}
