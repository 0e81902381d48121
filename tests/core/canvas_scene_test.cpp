// The rectangles of the canvas that must be drawn again after a control changed.

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "support/fakes.h"
#include "ui/canvas_scene.h"
#include "ui/form1.h"

namespace heikosen {
namespace {

struct Change {
    std::string name;
    ControlId control;
    std::function<void(Form1&)> apply;
};

std::ostream& operator<<(std::ostream& out, const Change& change) {
    return out << change.name;
}

std::optional<PixelRect> coveredBy(const CanvasScene& scene, const ControlId& control,
                                   const PixelRect& area) {
    for (const CanvasItem& item : scene) {
        if (item.control == control) {
            return itemBounds(item).intersected(area);
        }
    }
    return std::nullopt;
}

bool inside(const PixelRect& rect, int x, int y) {
    return x >= rect.left && x < rect.left + rect.width && y >= rect.top &&
           y < rect.top + rect.height;
}

bool inAny(const std::vector<PixelRect>& rects, int x, int y) {
    for (const PixelRect& rect : rects) {
        if (inside(rect, x, y)) {
            return true;
        }
    }
    return false;
}

class SceneChange : public ::testing::TestWithParam<Change> {};

// The rectangles cover every pixel the control covered and covers now, and
// nothing else: the rest of the canvas is not drawn again.
TEST_P(SceneChange, RepaintsWhereTheControlWasAndIsAndNowhereElse) {
    fakes::LoadedForm w;
    const PixelRect area{0, 0, 802, 626};
    const CanvasScene before = canvasScene(w.form);
    ASSERT_TRUE(changedRects(before, canvasScene(w.form), area).empty());

    GetParam().apply(w.form);
    const CanvasScene after = canvasScene(w.form);
    const std::vector<PixelRect> rects = changedRects(before, after, area);
    ASSERT_FALSE(rects.empty());

    std::vector<PixelRect> expected;
    for (const CanvasScene* scene : {&before, &after}) {
        if (const auto bounds = coveredBy(*scene, GetParam().control, area)) {
            expected.push_back(*bounds);
        }
    }
    ASSERT_FALSE(expected.empty());
    for (const PixelRect& rect : expected) {
        for (int y = rect.top; y < rect.top + rect.height; ++y) {
            for (int x = rect.left; x < rect.left + rect.width; ++x) {
                ASSERT_TRUE(inAny(rects, x, y)) << "(" << x << ", " << y << ") not repainted";
            }
        }
    }
    for (const PixelRect& rect : rects) {
        for (int y = rect.top; y < rect.top + rect.height; ++y) {
            for (int x = rect.left; x < rect.left + rect.width; ++x) {
                ASSERT_TRUE(inAny(expected, x, y)) << "(" << x << ", " << y << ") repainted";
            }
        }
    }
}

using C = CanvasControl;

INSTANTIATE_TEST_SUITE_P(
    EachControl, SceneChange,
    ::testing::Values(
        Change{"parallel p moves",
               {C::Line1, 0},
               [](Form1& f) {
                   f.Line1(0).Y1 += 40;
                   f.Line1(0).Y2 += 40;
               }},
        Change{"l turns red", {C::Line1, 3}, [](Form1& f) { f.Line1(3).BorderColor = kRed; }},
        Change{"q grows wider", {C::Line1, 1}, [](Form1& f) { f.Line1(1).BorderWidth = 8; }},
        Change{"an arrow mark dotted",
               {C::Line3, 2},
               [](Form1& f) { f.Line3(2).Style = BorderStyle::Dot; }},
        Change{"extension of m shown", {C::Line2, 2}, [](Form1& f) { f.Line2(2).Visible = true; }},
        Change{"m hidden", {C::Line1, 4}, [](Form1& f) { f.Line1(4).Visible = false; }},
        Change{"marker line drawn",
               {C::Line4, 0},
               [](Form1& f) {
                   f.Line4(0) = LineControl{100, 100, 300, 200, kBlue};
               }},
        Change{"horizontal grid line shown",
               {C::Line5, 4},
               [](Form1& f) { f.Line5(4).Visible = true; }},
        Change{
            "vertical grid line shown", {C::Line6, 7}, [](Form1& f) { f.Line6(7).Visible = true; }},
        Change{"letter m moves", {C::Image1, 1}, [](Form1& f) { f.Image1(1).Left += 30; }},
        Change{"label B renamed", {C::Label2, 1}, [](Form1& f) { f.Label2(1).setCaption("Ｘ"); }},
        Change{"label A red", {C::Label2, 0}, [](Form1& f) { f.Label2(0).ForeColor = kRed; }},
        Change{
            "label C' not bold", {C::Label2, 5}, [](Form1& f) { f.Label2(5).Font.Bold = false; }},
        Change{"label G brought in", {C::Label3, 1}, [](Form1& f) { f.Label3(1).Top = 200; }},
        Change{"name label", {C::Label5, 0}, [](Form1& f) { f.Label5.setCaption("名前：たろう"); }},
        Change{"eraser outline shown", {C::Shape1, 0}, [](Form1& f) { f.Shape1.Visible = true; }}),
    [](const ::testing::TestParamInfo<Change>& info) {
        std::string name;
        for (char c : info.param.name) {
            name += (c == ' ' || c == '\'') ? '_' : c;
        }
        return name;
    });

}  // namespace
}  // namespace heikosen
