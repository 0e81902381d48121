// The canvas on screen, on Qt's offscreen platform: one full repaint at the
// device pixel ratio given on the command line (--dpr=1 or --dpr=2), against
// filling the same area with white; a full repaint of a board inked all over,
// against a plain copy of an image of the canvas's size; and one pen segment as the window handles
// it (the form, the stroke layer, the repaint of the pixels it touched) after 0,
// 10,000 and 100,000 earlier segments; and a move of p while it is dragged,
// on an empty board and on an inked one.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWindow>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "ui/qt/main_window.h"

namespace {

using heikosen::qt::CanvasWidget;
using heikosen::qt::MainWindow;

MainWindow* gWindow = nullptr;

// Counts the canvas's paint events and the pixels they covered, so that a
// benchmark can tell that it measured real repaints.
class PaintCounter final : public QObject {
  public:
    int paints = 0;
    qint64 pixels = 0;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
            for (const QRect& r : static_cast<QPaintEvent*>(event)->region()) {
                pixels += static_cast<qint64>(r.width()) * r.height();
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

PaintCounter* gCounter = nullptr;

CanvasWidget& canvas() {
    return *gWindow->canvas();
}

qreal ratio() {
    return canvas().devicePixelRatioF();
}

// An image like the window's backing store, of the canvas's size at its ratio.
QImage canvasImage() {
    const qreal dpr = ratio();
    QImage image(QSize(qRound(canvas().width() * dpr), qRound(canvas().height() * dpr)),
                 QImage::Format_RGB32);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::black);
    return image;
}

// True when the image shows the figure: enough dark pixels for its lines.
bool showsFigure(const QImage& image) {
    qint64 dark = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(line[x]) < 64) {
                ++dark;
            }
        }
    }
    return dark > 2000;
}

// Lets the window repaint what the last events changed.
void repaintNow() {
    QCoreApplication::sendPostedEvents();
}

void BM_FullRepaint(benchmark::State& state) {
    QImage image = canvasImage();
    canvas().render(&image);
    if (!showsFigure(image)) {
        state.SkipWithError("the rendered canvas does not show the figure");
        return;
    }
    for (auto _ : state) {
        canvas().render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}

// Writes over the whole board: blue strokes of the pen's 3 px, 2 px apart, so
// that no pixel of the drawing area stays white.
void inkBoard(heikosen::Form1& form) {
    const heikosen::PictureBox& board = form.gamen;
    for (float y = 0; y <= board.innerHeight(); y += 2) {
        form.gamen.Line(0, y, board.innerWidth(), y, heikosen::QBColor(9));
    }
    repaintNow();
}

// The same with the whole board written over: every pixel of the strokes must
// be copied, none can simply be filled.
void BM_FullRepaintInked(benchmark::State& state) {
    heikosen::Form1& form = gWindow->form();
    inkBoard(form);
    QImage image = canvasImage();
    for (auto _ : state) {
        canvas().render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    form.gamen.Cls();
    repaintNow();
}

// The floor of the inked board: a repaint that shows strokes everywhere must
// read every pixel of them and write every pixel of the window, so the least it
// can cost is one copy of an image of the canvas's size, the same pixels.
void BM_PlainCopy(benchmark::State& state) {
    heikosen::Form1& form = gWindow->form();
    inkBoard(form);
    QImage source = canvasImage();
    canvas().render(&source);
    form.gamen.Cls();
    repaintNow();
    QImage target = canvasImage();
    const auto bytes = static_cast<std::size_t>(source.sizeInBytes());
    if (static_cast<std::size_t>(target.sizeInBytes()) != bytes) {
        state.SkipWithError("the images differ in size");
        return;
    }
    for (auto _ : state) {
        std::memcpy(target.bits(), source.constBits(), bytes);
        benchmark::DoNotOptimize(target.constBits());
        benchmark::ClobberMemory();
    }
    if (target != source) {
        state.SkipWithError("the copy differs from its source");
    }
}

void BM_WhiteFill(benchmark::State& state) {
    QImage image = canvasImage();
    const QRect area(QPoint(0, 0), canvas().size());
    for (auto _ : state) {
        QPainter painter(&image);
        painter.fillRect(area, Qt::white);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}

// --- Pen segments ---

void sendMouse(QEvent::Type type, QPointF canvasPoint, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
    // The drawing area starts inside the canvas's 2 px border.
    const QPointF local = canvasPoint + QPointF(2, 2);
    QMouseEvent event(type, local, canvas().mapToGlobal(local), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(&canvas(), &event);
}

// A pupil's scribble over the whole canvas: a Lissajous curve in steps of a few
// pixels, so that earlier segments cover the board with ink.
QPointF scribblePoint(int i) {
    const double t = i * 0.004;
    return {401 + 380 * std::sin(3 * t), 313 + 300 * std::sin(4 * t + 0.5)};
}

// The measured segments run round a small circle, the same for every case.
constexpr int kCirclePoints = 48;
QPointF circlePoint(int i) {
    const double a = 2 * std::numbers::pi * (i % kCirclePoints) / kCirclePoints;
    return {400 + 40 * std::cos(a), 300 + 40 * std::sin(a)};
}

void BM_PenSegmentOnScreen(benchmark::State& state) {
    const int earlier = static_cast<int>(state.range(0));
    heikosen::Form1& form = gWindow->form();
    // A fresh board, memo mode with the thin red pen, the pen down.
    form.userClickCommand(1);
    form.userClickCommand(3);
    repaintNow();
    sendMouse(QEvent::MouseMove, scribblePoint(0), Qt::NoButton, Qt::NoButton);
    sendMouse(QEvent::MouseButtonPress, scribblePoint(0), Qt::LeftButton, Qt::LeftButton);
    if (form.memoMode != 1 || form.penDown != 1) {
        state.SkipWithError("the pen is not down");
        return;
    }
    for (int i = 1; i <= earlier; ++i) {
        const QPointF p = scribblePoint(i);
        form.pointerMove(static_cast<float>(p.x()), static_cast<float>(p.y()));
        if (i % 256 == 0) {
            repaintNow();
        }
    }
    sendMouse(QEvent::MouseMove, circlePoint(0), Qt::LeftButton, Qt::LeftButton);
    repaintNow();
    if (form.gamen.segmentsSinceCls() != static_cast<std::uint64_t>(earlier) + 1) {
        state.SkipWithError("the earlier segments were not drawn");
        return;
    }

    const int paintsBefore = gCounter->paints;
    const qint64 pixelsBefore = gCounter->pixels;
    int i = 1;
    for (auto _ : state) {
        sendMouse(QEvent::MouseMove, circlePoint(i++), Qt::LeftButton, Qt::LeftButton);
        repaintNow();
    }
    const int paints = gCounter->paints - paintsBefore;
    const qint64 pixels = gCounter->pixels - pixelsBefore;
    sendMouse(QEvent::MouseButtonRelease, circlePoint(i), Qt::LeftButton, Qt::NoButton);
    form.userClickCommand(1);
    repaintNow();
    if (paints < state.iterations()) {
        state.SkipWithError("a segment was not repainted");
        return;
    }
    state.counters["px_per_paint"] = static_cast<double>(pixels) / std::max(1, paints);
}

// --- Dragging ---

// The parallel p held at its left end and moved up and down by 3 px,
// as the drag under Xvfb does, on an empty board or (range 1) one inked all
// over: the form, the scene and the repaint of the rectangles that changed.
void BM_DragP(benchmark::State& state) {
    heikosen::Form1& form = gWindow->form();
    if (state.range(0) != 0) {
        inkBoard(form);
    }
    const QPointF grip(20, 275);
    sendMouse(QEvent::MouseMove, grip, Qt::NoButton, Qt::NoButton);
    sendMouse(QEvent::MouseButtonPress, grip, Qt::LeftButton, Qt::LeftButton);
    repaintNow();
    const int paintsBefore = gCounter->paints;
    const qint64 pixelsBefore = gCounter->pixels;
    int i = 0;
    for (auto _ : state) {
        const QPointF at = grip + QPointF(0, (++i % 2) * 3);
        sendMouse(QEvent::MouseMove, at, Qt::LeftButton, Qt::LeftButton);
        repaintNow();
    }
    const int paints = gCounter->paints - paintsBefore;
    const qint64 pixels = gCounter->pixels - pixelsBefore;
    sendMouse(QEvent::MouseButtonRelease, grip, Qt::LeftButton, Qt::NoButton);
    form.userClickCommand(1);
    repaintNow();
    if (paints < state.iterations()) {
        state.SkipWithError("p did not move with the pointer");
        return;
    }
    state.counters["px_per_paint"] = static_cast<double>(pixels) / std::max(1, paints);
}

// --- Floors ---

bool parseRatio(int& argc, char** argv, int& dpr) {
    dpr = 1;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--dpr=", 6) == 0) {
            dpr = std::atoi(argv[i] + 6);
            if (dpr < 1 || dpr > 4) {
                return false;
            }
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    argv[argc] = nullptr;
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    int dpr = 1;
    if (!parseRatio(argc, argv, dpr)) {
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (dpr != 1) {
        qputenv("QT_SCALE_FACTOR", QByteArray::number(dpr));
    }
    benchmark::Initialize(&argc, argv);
    QApplication app(argc, argv);

    auto window = std::make_unique<MainWindow>();
    gWindow = window.get();
    PaintCounter counter;
    gCounter = &counter;
    canvas().installEventFilter(&counter);
    window->show();
    for (int i = 0; i < 100 && !(window->windowHandle() && window->windowHandle()->isExposed());
         ++i) {
        QCoreApplication::processEvents();
    }
    repaintNow();

    const std::string suffix = "/dpr:" + std::to_string(dpr);
    benchmark::RegisterBenchmark(("FullRepaint" + suffix).c_str(), BM_FullRepaint);
    benchmark::RegisterBenchmark(("FullRepaintInked" + suffix).c_str(), BM_FullRepaintInked);
    benchmark::RegisterBenchmark(("WhiteFill" + suffix).c_str(), BM_WhiteFill);
    benchmark::RegisterBenchmark(("PlainCopy" + suffix).c_str(), BM_PlainCopy);
    for (int earlier : {0, 10000, 100000}) {
        benchmark::RegisterBenchmark(("PenSegmentOnScreen" + suffix).c_str(), BM_PenSegmentOnScreen)
            ->Arg(earlier)
            ->Iterations(3000)
            ->Repetitions(3);
    }
    benchmark::RegisterBenchmark(("DragP" + suffix).c_str(), BM_DragP)->Arg(0)->Arg(1);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    canvas().removeEventFilter(&counter);
    return 0;
}
