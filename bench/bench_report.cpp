// Prints one table of the benchmark results: each measurement, its floor from
// the same run, the ratio, the budget and whether it was kept. Exits with 1 when
// a budget was missed.
//
//   bench_report --core=FILE --canvas=FILE [--canvas=FILE ...] --startup=FILE
//                [--drag=FILE] [--web=FILE]
//
// The core and canvas files are Google Benchmark JSON; the times used are CPU
// times, the median of the repetitions where there are several. The start-up
// and drag files are written by bench/startup_bench and bench/drag_bench, the
// web file by web/bench/bench.mjs.

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

// Median CPU times in nanoseconds, by run name.
using Times = std::map<std::string, double>;

double toNs(double value, const QString& unit) {
    if (unit == QLatin1String("us")) {
        return value * 1e3;
    }
    if (unit == QLatin1String("ms")) {
        return value * 1e6;
    }
    if (unit == QLatin1String("s")) {
        return value * 1e9;
    }
    return value;
}

std::optional<QJsonDocument> readJson(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return std::nullopt;
    }
    QJsonParseError error{};
    QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(error.errorString()));
        return std::nullopt;
    }
    return doc;
}

bool readBenchmarks(const QString& path, Times& times) {
    const std::optional<QJsonDocument> doc = readJson(path);
    if (!doc) {
        return false;
    }
    Times single;
    for (const QJsonValue& value : doc->object().value(QLatin1String("benchmarks")).toArray()) {
        const QJsonObject b = value.toObject();
        if (b.contains(QLatin1String("error_occurred")) &&
            b.value(QLatin1String("error_occurred")).toBool()) {
            std::fprintf(stderr, "%s failed: %s\n",
                         qPrintable(b.value(QLatin1String("name")).toString()),
                         qPrintable(b.value(QLatin1String("error_message")).toString()));
            return false;
        }
        const std::string run = b.value(QLatin1String("run_name")).toString().toStdString();
        const double ns = toNs(b.value(QLatin1String("cpu_time")).toDouble(),
                               b.value(QLatin1String("time_unit")).toString());
        const QString type = b.value(QLatin1String("run_type")).toString();
        if (type == QLatin1String("aggregate")) {
            if (b.value(QLatin1String("aggregate_name")).toString() == QLatin1String("median")) {
                times[run] = ns;
            }
        } else {
            single[run] = ns;
        }
    }
    for (const auto& [run, ns] : single) {
        times.emplace(run, ns);  // only where there is no median
    }
    return true;
}

// The time of the first run whose name starts with `prefix`.
std::optional<double> find(const Times& times, const std::string& prefix) {
    for (const auto& [run, ns] : times) {
        if (run.rfind(prefix, 0) == 0) {
            return ns;
        }
    }
    return std::nullopt;
}

std::string formatTime(double ns) {
    char text[64];
    if (ns < 1e3) {
        std::snprintf(text, sizeof text, "%.1f ns", ns);
    } else if (ns < 1e6) {
        std::snprintf(text, sizeof text, "%.2f µs", ns / 1e3);
    } else if (ns < 1e9) {
        std::snprintf(text, sizeof text, "%.2f ms", ns / 1e6);
    } else {
        std::snprintf(text, sizeof text, "%.2f s", ns / 1e9);
    }
    return text;
}

std::string formatKb(double kb) {
    char text[64];
    std::snprintf(text, sizeof text, "%.1f MB", kb / 1024.0);
    return text;
}

struct Row {
    std::string measurement;
    std::string value;
    std::string floor;
    std::string floorValue;
    double ratio = 0;
    std::string budget;
    std::optional<bool> kept;  // no budget: nothing to keep
};

class Table {
  public:
    void add(Row row) { rows_.push_back(std::move(row)); }
    void missing(const std::string& what) {
        std::fprintf(stderr, "no result for %s\n", what.c_str());
        complete_ = false;
    }

    // Prints the table in Markdown; returns true when every budget was kept.
    bool print() const {
        std::printf("| Measurement | Time | Floor | Floor time | Ratio | Budget | Result |\n");
        std::printf("|---|---:|---|---:|---:|---|---|\n");
        bool allKept = complete_;
        for (const Row& row : rows_) {
            std::printf("| %s | %s | %s | %s | %.2f× | %s | %s |\n", row.measurement.c_str(),
                        row.value.c_str(), row.floor.c_str(), row.floorValue.c_str(), row.ratio,
                        row.budget.c_str(), !row.kept ? "—" : (*row.kept ? "PASS" : "MISS"));
            if (row.kept && !*row.kept) {
                allKept = false;
            }
        }
        return allKept;
    }

  private:
    std::vector<Row> rows_;
    bool complete_ = true;
};

void coreRows(const Times& core, Table& table) {
    const std::optional<double> call = find(core, "BM_TrivialCall");
    const std::optional<double> loop = find(core, "BM_EmptyLoop");
    if (!call || !loop) {
        table.missing("the floors of the core");
        return;
    }
    constexpr double kMoveBudgetNs = 2000;
    auto moveRow = [&](const std::string& name, std::optional<double> ns) {
        if (!ns) {
            table.missing(name);
            return;
        }
        table.add({name, formatTime(*ns), "trivial call", formatTime(*call), *ns / *call, "< 2 µs",
                   *ns < kMoveBudgetNs});
    };
    for (int handle : {1, 2, 5, 6, 10}) {
        moveRow("Core: move dragging handle " + std::to_string(handle),
                find(core, "BM_DragMove/" + std::to_string(handle)));
    }
    moveRow("Core: pen segment (no surface)", find(core, "BM_PenSegment"));
    table.add({"Floor: trivial call", formatTime(*call), "empty loop iteration", formatTime(*loop),
               *call / *loop, "—", std::nullopt});
}

void canvasRows(const Times& canvas, Table& table) {
    for (int dpr : {1, 2}) {
        const std::string suffix = "/dpr:" + std::to_string(dpr);
        const std::optional<double> repaint = find(canvas, "FullRepaint" + suffix);
        const std::optional<double> fill = find(canvas, "WhiteFill" + suffix);
        if (!repaint && !fill) {
            continue;  // this ratio was not run
        }
        if (!repaint || !fill) {
            table.missing("full repaint at " + std::to_string(dpr) + "x");
            continue;
        }
        const double ratio = *repaint / *fill;
        const bool absolute = dpr == 1;
        table.add({"Canvas: full repaint at " + std::to_string(dpr) + "x", formatTime(*repaint),
                   "white fill " + std::to_string(dpr) + "x", formatTime(*fill), ratio,
                   absolute ? "≤ 3×, < 1 ms" : "≤ 3×",
                   ratio <= 3.0 && (!absolute || *repaint < 1e6)});

        // A board written over everywhere must show every pixel of its strokes:
        // its floor is a plain copy of an image of the canvas's size.
        const std::optional<double> inked = find(canvas, "FullRepaintInked" + suffix);
        const std::optional<double> copy = find(canvas, "PlainCopy" + suffix);
        if (inked && copy) {
            table.add({"Canvas: full repaint at " + std::to_string(dpr) + "x, board all inked",
                       formatTime(*inked), "plain copy " + std::to_string(dpr) + "x",
                       formatTime(*copy), *inked / *copy, "≤ 2×", *inked / *copy <= 2.0});
        } else {
            table.missing("full repaint of an inked board at " + std::to_string(dpr) + "x");
        }

        // A move of p on an inked board against the same on an empty one: the
        // strokes copied under the rectangles that changed.
        const std::optional<double> dragEmpty = find(canvas, "DragP" + suffix + "/0");
        const std::optional<double> dragInked = find(canvas, "DragP" + suffix + "/1");
        if (dragEmpty && dragInked) {
            table.add({"Canvas: move dragging p at " + std::to_string(dpr) + "x, board all inked",
                       formatTime(*dragInked), "the same, empty board", formatTime(*dragEmpty),
                       *dragInked / *dragEmpty, "—", std::nullopt});
        }

        const std::string segment = "PenSegmentOnScreen" + suffix + "/";
        const std::optional<double> none = find(canvas, segment + "0/");
        if (!none) {
            continue;
        }
        table.add({"Pen segment on screen " + std::to_string(dpr) + "x, after 0", formatTime(*none),
                   "—", "—", 1.0, "—", std::nullopt});
        for (int earlier : {10000, 100000}) {
            const std::optional<double> after =
                find(canvas, segment + std::to_string(earlier) + "/");
            if (!after) {
                table.missing("pen segment after " + std::to_string(earlier));
                continue;
            }
            const bool budgeted = earlier == 100000;
            table.add({"Pen segment on screen " + std::to_string(dpr) + "x, after " +
                           std::to_string(earlier),
                       formatTime(*after), "segment after 0", formatTime(*none), *after / *none,
                       budgeted ? "≤ 1.2×" : "—",
                       budgeted ? std::optional<bool>(*after / *none <= 1.2) : std::nullopt});
        }
    }
}

void startupRows(const QString& path, Table& table) {
    const std::optional<QJsonDocument> doc = readJson(path);
    if (!doc) {
        table.missing("start-up");
        return;
    }
    std::map<QString, QJsonObject> programs;
    for (const QJsonValue& value : doc->object().value(QLatin1String("programs")).toArray()) {
        const QJsonObject p = value.toObject();
        programs[p.value(QLatin1String("name")).toString()] = p;
    }
    const auto app = programs.find(QStringLiteral("heikosen"));
    const auto floor = programs.find(QStringLiteral("floor"));
    if (app == programs.end() || floor == programs.end()) {
        table.missing("start-up of heikosen and the floor window");
        return;
    }
    auto number = [](const QJsonObject& p, const char* key) {
        return p.value(QLatin1String(key)).toDouble();
    };
    const double ms = number(app->second, "median_ms");
    const double floorMs = number(floor->second, "median_ms");
    const int runs = static_cast<int>(app->second.value(QLatin1String("ms")).toArray().size());
    table.add({"Start-up to first frame (median of " + std::to_string(runs) + ")",
               formatTime(ms * 1e6), "floor window", formatTime(floorMs * 1e6), ms / floorMs,
               "≤ 1.25×", ms / floorMs <= 1.25});
    const double cpu = number(app->second, "median_cpu_ms");
    const double floorCpu = number(floor->second, "median_cpu_ms");
    if (cpu > 0 && floorCpu > 0) {
        table.add({"Start-up, CPU time of the process (median)", formatTime(cpu * 1e6),
                   "floor window", formatTime(floorCpu * 1e6), cpu / floorCpu, "—", std::nullopt});
    }
    const double kb = number(app->second, "median_rss_kb");
    const double floorKb = number(floor->second, "median_rss_kb");
    table.add({"Resident memory once shown", formatKb(kb), "floor window", formatKb(floorKb),
               kb / floorKb, "≤ 1.3×", kb / floorKb <= 1.3});
}

// Dragging p on the desktop, from the pointer move to the first changed pixels
// of the window, against the bare widget whose line follows the same drag.
void dragRows(const QString& path, Table& table) {
    const std::optional<QJsonDocument> doc = readJson(path);
    if (!doc) {
        table.missing("dragging on the desktop");
        return;
    }
    std::map<QString, QJsonObject> targets;
    for (const QJsonValue& value : doc->object().value(QLatin1String("targets")).toArray()) {
        const QJsonObject t = value.toObject();
        targets[t.value(QLatin1String("name")).toString()] = t;
    }
    const auto floor = targets.find(QStringLiteral("floor"));
    if (floor == targets.end()) {
        table.missing("dragging the bare widget's line");
        return;
    }
    const double floorUs = floor->second.value(QLatin1String("median_us")).toDouble();
    for (const auto& [name, board] :
         {std::pair{"empty", "empty board"}, std::pair{"inked", "board all inked"}}) {
        const auto target = targets.find(QLatin1String(name));
        if (target == targets.end() || floorUs <= 0) {
            table.missing(std::string("dragging p on the ") + board);
            continue;
        }
        const double us = target->second.value(QLatin1String("median_us")).toDouble();
        const int moves = target->second.value(QLatin1String("count")).toInt();
        table.add({std::string("Desktop: drag p, move to first changed pixels, ") + board +
                       " (median of " + std::to_string(moves) + ")",
                   formatTime(us * 1e3), "bare widget's line", formatTime(floorUs * 1e3),
                   us / floorUs, "≤ 1.25×", us / floorUs <= 1.25});
    }
}

void webRows(const QString& path, Table& table) {
    const std::optional<QJsonDocument> doc = readJson(path);
    if (!doc) {
        table.missing("the site in the browser");
        return;
    }
    const QJsonObject web = doc->object();
    auto number = [](const QJsonObject& o, const char* key) {
        return o.value(QLatin1String(key)).toDouble();
    };
    auto object = [&](const char* key) { return web.value(QLatin1String(key)).toObject(); };
    auto kb = [](double bytes) {
        char text[64];
        std::snprintf(text, sizeof text, "%.1f KB", bytes / 1024.0);
        return std::string(text);
    };

    const double size = number(object("size"), "gzip");
    const double floorSize = number(object("floor_size"), "gzip");
    if (size <= 0 || floorSize <= 0) {
        table.missing("the size of the site");
    } else {
        constexpr double kSizeBudget = 150 * 1024;
        table.add({"Web: site, gzip (wasm, JS, HTML, CSS)", kb(size), "page without its program",
                   kb(floorSize), size / floorSize, "≤ 150 KB", size <= kSizeBudget});
    }

    const QJsonObject startup = object("startup");
    const double ms = number(startup, "app_median_ms");
    const double floorMs = number(startup, "floor_median_ms");
    if (ms <= 0 || floorMs <= 0) {
        table.missing("the start-up of the site");
    } else {
        const int runs = static_cast<int>(number(startup, "runs"));
        table.add({"Web: start-up to first frame (median of " + std::to_string(runs) + ")",
                   formatTime(ms * 1e6), "page without its program", formatTime(floorMs * 1e6),
                   ms / floorMs, "≤ 1.15×", ms / floorMs <= 1.15});
        // From when on a press on the figure is handled and drawn at once: the
        // program runs and has drawn the canvas.
        const double readyMs = number(startup, "app_ready_median_ms");
        if (readyMs > 0) {
            table.add({"Web: start-up until the program answers the pointer (median)",
                       formatTime(readyMs * 1e6), "page without its program",
                       formatTime(floorMs * 1e6), readyMs / floorMs, "≤ 2×",
                       readyMs / floorMs <= 2.0});
        } else {
            table.missing("the time until the site answers the pointer");
        }
        // What the page pays before its program can start: its code and
        // modules loaded and the module instantiated, nothing started.
        const double codeMs = number(startup, "code_loaded_median_ms");
        if (codeMs > 0) {
            table.add({"Web: start-up until the program's code is loaded, nothing started (median)",
                       formatTime(codeMs * 1e6), "page without its program",
                       formatTime(floorMs * 1e6), codeMs / floorMs, "—", std::nullopt});
        } else {
            table.missing("the time until the site's code is loaded");
        }
    }

    // The moves of a drag of p, as the browser runs and with its CPU throttled
    // 4× as on a slow school machine: the main thread's time per move and its
    // longest task, each against the floor page drawing one segment per move.
    struct Drag {
        const char* key;
        const char* floorKey;
        const char* prefix;
        double moveBudgetMs;
        double taskBudgetMs;
        double throttling;
    };
    const double freeMoveMs = number(object("move"), "median_ms");
    for (const Drag& drag :
         {Drag{"move", "floor_move", "Web", 1.0, 16.0, 1},
          Drag{"slow_move", "slow_floor_move", "Web, CPU throttled 4×", 4.0, 50.0, 4}}) {
        const QJsonObject move = object(drag.key);
        const QJsonObject floorMove = object(drag.floorKey);
        const double moveMs = number(move, "median_ms");
        const double floorMoveMs = number(floorMove, "median_ms");
        const int moves = static_cast<int>(number(move, "moves"));
        if (moves <= 0 || floorMoveMs <= 0) {
            table.missing(std::string("the pointer moves on the site: ") + drag.prefix);
            continue;
        }
        // Chromium throttles by stalling the page's thread at intervals, which
        // a busy machine can upset: a drag that the throttle slowed by less
        // than half its rate was no slow machine, and the rows would pass
        // having measured nothing. The drag's own moves say so: the floor
        // page's, under a quarter of a millisecond, often fall between the
        // stalls, so that their median can read unthrottled while the drag's
        // reads four times its own.
        if (drag.throttling > 1 && moveMs < freeMoveMs * drag.throttling / 2) {
            char what[160];
            std::snprintf(what, sizeof what,
                          "%s: the throttle did not hold (a move %.0f µs "
                          "against %.0f µs unthrottled)",
                          drag.prefix, moveMs * 1e3, freeMoveMs * 1e3);
            table.missing(what);
            continue;
        }
        char budget[32];
        std::snprintf(budget, sizeof budget, "≤ %g ms", drag.moveBudgetMs);
        table.add({std::string(drag.prefix) + ": move dragging p, main thread (median of " +
                       std::to_string(moves) + ")",
                   formatTime(moveMs * 1e6), "floor page move", formatTime(floorMoveMs * 1e6),
                   moveMs / floorMoveMs, budget, moveMs <= drag.moveBudgetMs});
        const double longest = number(move, "longest_task_ms");
        const double floorLongest = number(floorMove, "longest_task_ms");
        std::snprintf(budget, sizeof budget, "≤ %g ms", drag.taskBudgetMs);
        table.add({std::string(drag.prefix) + ": longest main-thread task in " +
                       std::to_string(moves) + " moves (thread time)",
                   formatTime(longest * 1e6), "floor page", formatTime(floorLongest * 1e6),
                   floorLongest > 0 ? longest / floorLongest : 0, budget,
                   longest <= drag.taskBudgetMs});
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    Times core;
    Times canvas;
    QString startup;
    QString drag;
    QString web;
    bool ok = true;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg.startsWith(QLatin1String("--core="))) {
            ok = readBenchmarks(arg.mid(7), core) && ok;
        } else if (arg.startsWith(QLatin1String("--canvas="))) {
            ok = readBenchmarks(arg.mid(9), canvas) && ok;
        } else if (arg.startsWith(QLatin1String("--startup="))) {
            startup = arg.mid(10);
        } else if (arg.startsWith(QLatin1String("--drag="))) {
            drag = arg.mid(7);
        } else if (arg.startsWith(QLatin1String("--web="))) {
            web = arg.mid(6);
        } else {
            std::fprintf(stderr, "unknown argument %s\n", argv[i]);
            return 2;
        }
    }
    Table table;
    coreRows(core, table);
    canvasRows(canvas, table);
    if (!startup.isEmpty()) {
        startupRows(startup, table);
    }
    if (!drag.isEmpty()) {
        dragRows(drag, table);
    }
    if (!web.isEmpty()) {
        webRows(web, table);
    }
    const bool kept = table.print();
    return ok && kept ? 0 : 1;
}
