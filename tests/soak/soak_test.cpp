// A long classroom lesson on the real window: drags of every handle, hundreds of
// thousands of pen segments, marker lines, grid toggles and resets. The process's
// memory must stay flat once the stroke layer has its full size.

#include <QApplication>
#include <QTest>
#include <cstdio>
#include <fstream>
#include <string>

#include "ui/qt/application.h"
#include "ui/qt/fonts.h"
#include "ui/qt/main_window.h"

namespace {

using heikosen::Form1;

long residentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}

class Lesson {
  public:
    explicit Lesson(heikosen::qt::MainWindow& window) : window_(window), form_(window.form()) {}

    void settle() {
        QCoreApplication::processEvents();
        window_.syncFromForm();
    }

    void drag(float x0, float y0, float x1, float y1, int steps) {
        form_.pointerMove(x0, y0);
        form_.pointerPress(heikosen::kLeftButton, x0, y0);
        for (int i = 1; i <= steps; ++i) {
            const float t = static_cast<float>(i) / static_cast<float>(steps);
            form_.pointerMove(x0 + (x1 - x0) * t, y0 + (y1 - y0) * t);
        }
        form_.pointerRelease(heikosen::kLeftButton, x1, y1);
        settle();
    }

    // Moves every handle of the figure a little and back.
    void dragTheFigure() {
        drag(20, 275, 20, 245, 10);
        drag(20, 245, 20, 275, 10);
        drag(20, 350, 20, 380, 10);
        drag(20, 380, 20, 350, 10);
        drag(form_.fig.transLX1, 125, form_.fig.transLX1 + 40, 125, 10);
        drag(form_.fig.transLX1, 125, form_.fig.transLX1 - 40, 125, 10);
        drag(form_.fig.transMX1, 125, form_.fig.transMX1 - 30, 125, 10);
        drag(form_.fig.copyMGrabX, form_.fig.parallelQY, form_.fig.copyMGrabX + 60,
             form_.fig.parallelQY, 10);
    }

    // Writes `segments` pen segments in memo mode, sweeping the whole canvas.
    void write(long segments) {
        if (form_.memoMode == 0) {
            form_.userClickCommand(3);
        }
        form_.userClickOption1(static_cast<int>(pen_++ % 8));
        long drawn = 0;
        while (drawn < segments) {
            const float y = static_cast<float>(8 + (row_++ * 7) % 610);
            form_.pointerMove(4, y);
            form_.pointerPress(heikosen::kLeftButton, 4, y);
            for (int i = 1; i <= 200 && drawn < segments; ++i, ++drawn) {
                form_.pointerMove(4.0F + 3.9F * static_cast<float>(i),
                                  y + static_cast<float>((i * 13) % 9) - 4.0F);
            }
            form_.pointerRelease(heikosen::kLeftButton, 790, y);
            if (row_ % 5 == 0) {
                settle();
            }
        }
        settle();
    }

    void layFiveLines() {
        form_.userClickCommand(5);
        for (int i = 0; i < 5 && form_.lineMode == 1; ++i) {
            const float y = 60.0F + 100.0F * static_cast<float>(i);
            form_.userClickOption2(i % 4);
            drag(100, y, 700, y + 40, 12);
        }
        for (int i = 0; i < 5; ++i) {
            form_.userClickCheck1(i);
        }
        settle();
    }

  private:
    heikosen::qt::MainWindow& window_;
    Form1& form_;
    long pen_ = 0;
    long row_ = 0;
};

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    heikosen::qt::initResources();
    const long totalSegments = argc > 1 ? std::stol(argv[1]) : 600000;

    heikosen::qt::MainWindow window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "the window was not shown\n");
        return 1;
    }
    Lesson lesson(window);
    const long startKb = residentKilobytes();

    // Warm-up: one of everything, so that every cache and the stroke layer exist.
    const long warmUpSegments = 20000;
    lesson.dragTheFigure();
    lesson.write(warmUpSegments);
    lesson.layFiveLines();
    window.form().userClickCommand(4);
    window.form().userClickCommand(4);
    window.form().userClickCommand(1);
    lesson.settle();
    const long warmKb = residentKilobytes();

    long segments = warmUpSegments;
    long peakKb = warmKb;
    int rounds = 0;
    while (segments < totalSegments) {
        const long chunk = std::min(25000L, totalSegments - segments);
        lesson.dragTheFigure();
        lesson.write(chunk);
        segments += chunk;
        lesson.layFiveLines();
        window.form().userClickCommand(4);
        lesson.dragTheFigure();
        window.form().userClickCommand(4);
        if (++rounds % 3 == 0) {
            window.form().userClickCommand(1);  // "初期画面" wipes the board
        }
        lesson.settle();
        peakKb = std::max(peakKb, residentKilobytes());
    }
    const long endKb = residentKilobytes();
    std::printf(
        "soak: %ld pen segments in %d rounds; resident memory %ld kB at start, %ld kB "
        "after warm-up, %ld kB peak, %ld kB at end\n",
        segments, rounds, startKb, warmKb, peakKb, endKb);

    // Flat: after the warm-up the lesson may not keep taking memory.
    const long allowedGrowthKb = 4 * 1024;
    if (peakKb - warmKb > allowedGrowthKb) {
        std::fprintf(stderr, "FAIL: memory grew by %ld kB after the warm-up\n", peakKb - warmKb);
        return 1;
    }
    return 0;
}
