#pragma once

// Stand-ins for the desktop services of the window, for tests of the core: a
// drawing surface that remembers the strokes it was given and a host whose
// dialog, printer and message box follow a script.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "ui/controls.h"
#include "ui/form1.h"
#include "ui/form_host.h"

namespace heikosen::fakes {

// One segment as the canvas handed it to the surface.
using Segment = StrokeSegment;

// Keeps the segments drawn since the last clear (the first kKept of them) and
// counts segments and clears.
class RecordingSurface final : public DrawingSurface {
  public:
    static constexpr std::size_t kKept = 10000;

    void drawSegment(const StrokeSegment& segment) override {
        ++drawn_;
        ++drawnSinceClear_;
        if (segments_.size() < kKept) {
            segments_.push_back(segment);
        }
    }
    void clear() override {
        ++clears_;
        drawnSinceClear_ = 0;
        segments_.clear();
    }

    // Segments on the board now, in drawing order.
    const std::vector<Segment>& segments() const { return segments_; }
    std::uint64_t drawnSinceClear() const { return drawnSinceClear_; }
    std::uint64_t drawnTotal() const { return drawn_; }
    int clears() const { return clears_; }

  private:
    std::vector<Segment> segments_;
    std::uint64_t drawn_ = 0;
    std::uint64_t drawnSinceClear_ = 0;
    int clears_ = 0;
};

// What the printer was shown when printForm ran.
struct PrintSnapshot {
    std::string caption;  // Label5
    float labelWidth = 0;
    float labelHeight = 0;
    std::int16_t gridShown = 0;
    std::int16_t memoMode = 0;
    std::int16_t lineMode = 0;
    std::uint64_t strokesOnCanvas = 0;  // segments drawn since the canvas was last wiped
};

struct ShownMessage {
    std::string title;
    std::string text;
};

// A host whose input dialog answers with `answer` and whose printer reports
// `outcome`; every call is recorded.
class FakeHost final : public FormHost {
  public:
    std::string answer;
    PrintOutcome outcome{PrintOutcome::Status::Printed, {}};

    int endCalls = 0;
    int inputCalls = 0;
    std::string lastPrompt;
    std::string lastTitle;
    std::vector<PrintSnapshot> prints;
    std::vector<ShownMessage> messages;

    void endProgram() override { ++endCalls; }

    std::string inputBox(const std::string& prompt, const std::string& title) override {
        ++inputCalls;
        lastPrompt = prompt;
        lastTitle = title;
        return answer;
    }

    PrintOutcome printForm(const Form1& form) override {
        PrintSnapshot shot;
        shot.caption = form.Label5.Caption();
        shot.labelWidth = form.Label5.Width;
        shot.labelHeight = form.Label5.Height;
        shot.gridShown = form.gridShown;
        shot.memoMode = form.memoMode;
        shot.lineMode = form.lineMode;
        shot.strokesOnCanvas = form.gamen.segmentsSinceCls();
        prints.push_back(std::move(shot));
        return outcome;
    }

    void showMessage(const std::string& title, const std::string& text) override {
        messages.push_back(ShownMessage{title, text});
    }
};

// --- Gestures on the canvas, as the window reports them ---

// Left press at the first point, moves through the others, release at the last.
inline void leftDrag(Form1& form, std::initializer_list<std::pair<float, float>> points) {
    const auto* first = points.begin();
    form.pointerPress(kLeftButton, first->first, first->second);
    for (const auto* p = first + 1; p != points.end(); ++p) {
        form.pointerMove(p->first, p->second);
    }
    const auto* last = points.end() - 1;
    form.pointerRelease(kLeftButton, last->first, last->second);
}

inline void leftClick(Form1& form, float x, float y) {
    form.pointerPress(kLeftButton, x, y);
    form.pointerRelease(kLeftButton, x, y);
}

inline void rightClick(Form1& form, float x, float y) {
    form.pointerPress(kRightButton, x, y);
    form.pointerRelease(kRightButton, x, y);
}

// A started window with the recording surface and the fake host attached.
struct LoadedForm {
    Form1 form;
    RecordingSurface surface;
    FakeHost host;

    LoadedForm() {
        form.gamen.setSurface(&surface);
        form.setHost(&host);
        form.Form_Load();
    }
};

}  // namespace heikosen::fakes
