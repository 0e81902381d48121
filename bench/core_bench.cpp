// What the form itself spends on one mouse move: dragging each handle of the
// figure, and one segment of a pen stroke with nothing to draw on. The floors are
// an empty loop iteration and a call of a function that does nothing.

#include <benchmark/benchmark.h>

#include "ui/form1.h"

namespace {

using heikosen::Form1;
using heikosen::kLeftButton;

// Where each handle can be taken in the initial figure, and which way it is
// dragged: the parallels move up and down, the rest sideways.
struct Grip {
    int handle;
    float x;
    float y;
    bool vertical;
};

constexpr Grip kGrips[] = {
    {1, 20, 275, true},     // parallel p, left of the figure
    {2, 20, 350, true},     // parallel q
    {5, 400, 125, false},   // upper end of l
    {6, 250, 125, false},   // upper end of m
    {10, 325, 350, false},  // the copy of m, where it crosses q
};

const Grip* gripFor(int handle) {
    for (const Grip& grip : kGrips) {
        if (grip.handle == handle) {
            return &grip;
        }
    }
    return nullptr;
}

// One move while a handle is held. The pointer steps 3 px away and back, so the
// figure swings about where it started however many moves are made.
void BM_DragMove(benchmark::State& state) {
    const Grip* grip = gripFor(static_cast<int>(state.range(0)));
    if (grip == nullptr) {
        state.SkipWithError("no such handle");
        return;
    }
    Form1 form;
    form.Form_Load();
    form.gamen_MouseMove(0, 0, grip->x, grip->y);
    form.gamen_MouseDown(kLeftButton, 0, grip->x, grip->y);
    if (form.grabbedHandle != grip->handle) {
        state.SkipWithError("the handle was not grabbed");
        return;
    }
    float step = 3;
    for (auto _ : state) {
        const float x = grip->vertical ? grip->x : grip->x + step;
        const float y = grip->vertical ? grip->y + step : grip->y;
        form.gamen_MouseMove(kLeftButton, 0, x, y);
        step = 3 - step;
        benchmark::ClobberMemory();
    }
    if (form.grabbedHandle != grip->handle) {
        state.SkipWithError("the handle was let go during the drag");
    }
}
BENCHMARK(BM_DragMove)->Arg(1)->Arg(2)->Arg(5)->Arg(6)->Arg(10);

// One segment of a pen stroke: memo mode on, the pen down, no drawing surface.
void BM_PenSegment(benchmark::State& state) {
    Form1 form;
    form.Form_Load();
    form.Command3_Click();
    form.gamen_MouseMove(0, 0, 100, 100);
    form.gamen_MouseDown(kLeftButton, 0, 100, 100);
    if (form.memoMode != 1 || form.penDown != 1 || form.gamen.surface() != nullptr) {
        state.SkipWithError("the pen is not down");
        return;
    }
    const auto before = form.gamen.segmentCount();
    float step = 5;
    for (auto _ : state) {
        form.gamen_MouseMove(kLeftButton, 0, 100 + step, 100 + step);
        step = 5 - step;
        benchmark::ClobberMemory();
    }
    if (form.gamen.segmentCount() - before != static_cast<std::uint64_t>(state.iterations())) {
        state.SkipWithError("a move drew no segment");
    }
}
BENCHMARK(BM_PenSegment);

// --- Floors ---

void BM_EmptyLoop(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_EmptyLoop);

[[gnu::noinline]] void doNothing(Form1& /*form*/, float x, float y) {
    benchmark::DoNotOptimize(x);
    benchmark::DoNotOptimize(y);
}

// A call with the arguments of a move, through a pointer the compiler cannot see
// through, as the window's call of the form's handler is.
void BM_TrivialCall(benchmark::State& state) {
    Form1 form;
    void (*volatile call)(Form1&, float, float) = &doNothing;
    float step = 3;
    for (auto _ : state) {
        call(form, 100 + step, 100);
        step = 3 - step;
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_TrivialCall);

}  // namespace

BENCHMARK_MAIN();
