// The rectangles of the canvas that must be drawn again after a control changed.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/fakes.h"
#include "ui/canvas_scene.h"
#include "ui/form1.h"
#include "ui/stroke_store.h"

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
    // A front end's refresh: all of the area when asked for everything, then
    // nothing until the control changes, then what changed.
    DrawnScene drawn;
    EXPECT_EQ(drawn.refresh(w.form, area, true), std::vector<PixelRect>{area});
    EXPECT_TRUE(drawn.refresh(w.form, area).empty());

    GetParam().apply(w.form);
    const CanvasScene after = canvasScene(w.form);
    const std::vector<PixelRect> rects = changedRects(before, after, area);
    ASSERT_FALSE(rects.empty());
    EXPECT_EQ(drawn.scene(), before);
    EXPECT_EQ(drawn.build(w.form), after);
    EXPECT_EQ(drawn.scene(), before);
    EXPECT_EQ(drawn.refresh(w.form, area), rects);
    EXPECT_EQ(drawn.scene(), after);
    EXPECT_TRUE(drawn.refresh(w.form, area).empty());

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
    // The control is among the items drawn again there, wherever it shows.
    std::vector<const CanvasItem*> redrawn;
    drawn.forEachTouching(rects, [&redrawn](const CanvasItem& item) { redrawn.push_back(&item); });
    for (const CanvasItem& item : drawn.scene()) {
        if (item.control == GetParam().control && !itemBounds(item).intersected(area).empty()) {
            EXPECT_TRUE(touchesAny(item, rects));
            EXPECT_NE(std::find(redrawn.begin(), redrawn.end(), &item), redrawn.end());
        }
    }
    // Those of the drawn scene that touch the rectangles, lowest first.
    std::vector<const CanvasItem*> touching;
    for (const CanvasItem& item : drawn.scene()) {
        if (touchesAny(item, rects)) {
            touching.push_back(&item);
        }
    }
    EXPECT_EQ(redrawn, touching);
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

template <typename Item>
const Item& itemOf(const CanvasScene& scene, const ControlId& control) {
    for (const CanvasItem& item : scene) {
        if (item.control == control) {
            return std::get<Item>(item.shape);
        }
    }
    throw std::runtime_error("the control is not on the canvas");
}

// A thin line covers the pixels right of and below its points, a wide one ends
// round, a dotted one goes one pen width on and two off.
TEST(ResolvedScene, LinesSayWhereTheirPenLies) {
    fakes::LoadedForm w;
    w.form.Line4(0) = LineControl{100, 100, 300, 160, kBlue};
    w.form.Line4(1) = LineControl{100, 100, 130, 300, kBlue};
    w.form.Line4(2) = LineControl{100, 100, 300, 100, kBlue, BorderStyle::Dot, 4};
    const CanvasScene scene = canvasScene(w.form);
    const auto& level = itemOf<SegmentItem>(scene, {C::Line4, 0});
    EXPECT_EQ(level.shiftX, 0.0F);
    EXPECT_EQ(level.shiftY, 0.5F);
    EXPECT_EQ(level.cap, LineCap::Flat);
    EXPECT_EQ(level.dashOff, 0.0F);
    const auto& steep = itemOf<SegmentItem>(scene, {C::Line4, 1});
    EXPECT_EQ(steep.shiftX, 0.5F);
    EXPECT_EQ(steep.shiftY, 0.0F);
    const auto& dotted = itemOf<SegmentItem>(scene, {C::Line4, 2});
    EXPECT_EQ(dotted.cap, LineCap::Round);
    EXPECT_EQ(dotted.shiftY, 0.0F);
    EXPECT_EQ(dotted.dashOn, 4.0F);
    EXPECT_EQ(dotted.dashOff, 8.0F);
}

// A line reaching far off the canvas is cut where it leaves the drawing area
// with room for its pen; one wholly beyond it is not drawn, and its old place
// is repainted.
TEST(ResolvedScene, LinesAreCutToTheDrawingArea) {
    fakes::LoadedForm w;
    w.form.Line4(0) = LineControl{-1.0e6F, 100, 400, 100, kBlue, BorderStyle::Solid, 2};
    const CanvasScene before = canvasScene(w.form);
    const auto& cut = itemOf<SegmentItem>(before, {C::Line4, 0});
    EXPECT_FLOAT_EQ(cut.x1, -4.0F);
    EXPECT_EQ(cut.x2, 400.0F);
    EXPECT_EQ(cut.y1, 100.0F);
    w.form.Line4(0).X2 = -1000;
    const CanvasScene after = canvasScene(w.form);
    EXPECT_EQ(after.size() + 1, before.size());
    const PixelRect area{0, 0, 802, 626};
    const std::vector<PixelRect> rects = changedRects(before, after, area);
    ASSERT_EQ(rects.size(), 1U);
    EXPECT_EQ(rects[0], (PixelRect{0, 96, 404, 8}));
}

// The eraser outline: the largest circle that fits its box, its pen along the
// edge of the square it fits in, at both widths of the eraser.
TEST(ResolvedScene, TheEraserCircleFitsItsBox) {
    fakes::LoadedForm w;
    for (const int pen : {3, 7}) {
        w.form.userClickCommand(3);
        w.form.userClickOption1(pen);
        w.form.pointerMove(200.25F, 300);
        const CanvasScene scene = canvasScene(w.form);
        const auto& circle = itemOf<CircleItem>(scene, {C::Shape1, 0});
        const float diameter = pen == 3 ? 15.0F : 25.0F;
        EXPECT_EQ(circle.box.width, static_cast<int>(diameter));
        EXPECT_EQ(circle.box.height, 57);
        EXPECT_EQ(circle.radius, (diameter - 1) / 2);
        EXPECT_EQ(circle.centreX, static_cast<float>(circle.box.left) + circle.radius);
        EXPECT_EQ(circle.centreY,
                  static_cast<float>(circle.box.top + (57 - static_cast<int>(diameter)) / 2) +
                      circle.radius);
        EXPECT_EQ(circle.shift, 0.5F);
        w.form.userClickCommand(3);
    }
}

// A label is drawn in its font's size in pixels, one line that high per line
// of its caption, and its picture names its file.
TEST(ResolvedScene, TextsAndPicturesCarryWhatTheyAreDrawnWith) {
    fakes::LoadedForm w;
    w.form.Label2(0).Font.Size = 14;
    const CanvasScene scene = canvasScene(w.form);
    const auto& text = itemOf<TextItem>(scene, {C::Label2, 0});
    EXPECT_EQ(text.font.pixelSize, 19);
    EXPECT_EQ(text.lineHeight, 19);
    EXPECT_EQ(text.font.family, w.form.Label2(0).Font.Name);
    EXPECT_STREQ(itemOf<PictureItem>(scene, {C::Image1, 1}).file,
                 letterFile(w.form.Image1(1).Picture));
}

// A device pixel on a rectangle's edge shows canvas pixels beyond it: one at
// least, more where a device pixel covers more.
TEST(ResolvedScene, DevicePixelsReachBeyondTheRectangles) {
    const std::vector<PixelRect> rects{{10, 20, 5, 4}};
    EXPECT_EQ(deviceReach(rects, 1), (std::vector<PixelRect>{{9, 19, 7, 6}}));
    EXPECT_EQ(deviceReach(rects, 2.5), (std::vector<PixelRect>{{9, 19, 7, 6}}));
    EXPECT_EQ(deviceReach(rects, 0.5), (std::vector<PixelRect>{{8, 18, 9, 8}}));
    EXPECT_EQ(deviceReach(rects, 0.4).front().left, 7);
}

// One store of pen segments: what leaves no mark is not kept; beyond the limit
// the segments already drawn go and the fresh ones stay until drawn.
TEST(StrokeStore, KeepsWhatMarksTheBoardUpToItsLimit) {
    StrokeStore store;
    store.setArea(802, 626);
    store.setKeepLimit(3);
    store.drawSegment({-50, 10, -5, 20, kRed, 3});  // its pen reaches the edge: no mark
    store.drawSegment({-50, 10, -4, 20, kRed, 3});
    store.drawSegment({10, 10, std::nanf(""), 20, kRed, 3});
    store.drawSegment({900, 10, 805, 20, kRed, 1});
    EXPECT_EQ(store.keptSegmentCount(), 1U);
    EXPECT_FALSE(store.blank());
    store.markDrawn();
    store.drawSegment({1, 1, 2, 2, kRed, 3});
    store.drawSegment({2, 2, 3, 3, kRed, 3});
    EXPECT_TRUE(store.keepsEveryStroke());
    store.drawSegment({3, 3, 4, 4, kRed, 3});
    EXPECT_FALSE(store.keepsEveryStroke());
    ASSERT_EQ(store.keptSegmentCount(), 3U);
    EXPECT_EQ(store.freshStart(), 0U);
    EXPECT_EQ(store.kept(0).x1, 1.0F);
    EXPECT_EQ(store.kept(2).x1, 3.0F);
    EXPECT_FALSE(store.redrawsAtOnce());
    store.markDrawn();
    EXPECT_EQ(store.keptSegmentCount(), 0U);
    EXPECT_FALSE(store.blank());
    store.clear();
    EXPECT_TRUE(store.takeWiped());
    EXPECT_FALSE(store.takeWiped());
    EXPECT_TRUE(store.blank());
    EXPECT_TRUE(store.keepsEveryStroke());
    // A pen draws at least one pixel wide.
    store.drawSegment({1, 1, 2, 2, kRed, 0});
    EXPECT_EQ(store.kept(0).width, 1);
}

TEST(StrokeStore, RedrawsInSlices) {
    StrokeStore store;
    store.setArea(802, 626);
    const std::size_t count = StrokeStore::kRedrawSlice + 10;
    for (std::size_t i = 0; i < count; ++i) {
        const auto x = static_cast<float>(i % 800);
        store.drawSegment({x, 5, x + 1, 6, kBlue, 1});
        EXPECT_EQ(store.redrawsAtOnce(), i + 1 <= StrokeStore::kRedrawSlice);
    }
    EXPECT_EQ(store.redrawSliceEnd(0), StrokeStore::kRedrawSlice);
    EXPECT_EQ(store.redrawSliceEnd(StrokeStore::kRedrawSlice), count);
    EXPECT_EQ(store.keptSegments().size(), count);
    EXPECT_EQ(store.keptSegments().back(), store.kept(count - 1));
    // A redraw goes a slice at a time, the segments drawn meanwhile with it,
    // and is done with the slice that reaches the last kept one.
    store.setRedrawing(true);
    const StrokeStore::Slice first = store.nextRedrawSlice();
    EXPECT_EQ(first.first, 0U);
    EXPECT_EQ(first.end, StrokeStore::kRedrawSlice);
    store.drawSegment({1, 5, 2, 6, kBlue, 1});
    EXPECT_TRUE(store.redrawing());
    const StrokeStore::Slice last = store.nextRedrawSlice();
    EXPECT_EQ(last.first, StrokeStore::kRedrawSlice);
    EXPECT_EQ(last.end, count + 1);
    EXPECT_FALSE(store.redrawing());
    // A wipe gives a redraw up.
    store.setRedrawing(true);
    store.clear();
    EXPECT_FALSE(store.redrawing());
}

// Segments handed out as one array: a slice of a redraw in place, fresh ones
// that straddle two of the store's blocks copied, nothing beyond those kept.
TEST(StrokeStore, HandsOutSegmentsInOnePiece) {
    StrokeStore store;
    store.setArea(802, 626);
    const auto segment = [](std::size_t i) {
        const auto x = static_cast<float>(i % 800);
        const auto y = static_cast<float>(i / 800);
        return StrokeSegment{x, y, x + 1, y + 1, kBlue, 1};
    };
    const std::size_t drawn = StrokeStore::kBlock - 5;
    const std::size_t count = StrokeStore::kBlock + 10;
    for (std::size_t i = 0; i < count; ++i) {
        store.drawSegment(segment(i));
        if (i + 1 == drawn) {
            store.markDrawn();
        }
    }
    ASSERT_EQ(store.keptSegmentCount(), count);
    for (std::size_t first = 0; first < count; first = store.redrawSliceEnd(first)) {
        EXPECT_EQ(store.inOnePiece(first, store.redrawSliceEnd(first)), &store.kept(first));
    }
    ASSERT_EQ(store.freshCount(), count - drawn);
    const StrokeSegment* fresh = store.freshInOnePiece();
    ASSERT_NE(fresh, nullptr);
    for (std::size_t i = 0; i < store.freshCount(); ++i) {
        EXPECT_EQ(fresh[i], segment(drawn + i)) << i;
    }
    EXPECT_EQ(store.inOnePiece(count, count + 5), nullptr);
    EXPECT_EQ(store.inOnePiece(5, 3), nullptr);
    const StrokeSegment* tail = store.inOnePiece(count - 2, count + 5);
    ASSERT_NE(tail, nullptr);
    EXPECT_EQ(tail[1], segment(count - 1));
    store.markDrawn();
    EXPECT_EQ(store.freshCount(), 0U);
    EXPECT_EQ(store.freshInOnePiece(), nullptr);
}

}  // namespace
}  // namespace heikosen
