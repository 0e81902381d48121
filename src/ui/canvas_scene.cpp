#include "ui/canvas_scene.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "ui/form1.h"

namespace heikosen {

namespace {

// A key beyond every control's.
constexpr long long kPastTheEnd = std::numeric_limits<long long>::max();
// Beyond this many changed controls one repaint of the whole canvas is cheaper.
constexpr int kMaxChangedControls = 24;

// How the controls lie on each other, lowest first. Within an array the higher
// index lies above the lower.
constexpr CanvasControl kStacking[] = {
    CanvasControl::Line5,  CanvasControl::Line6,  CanvasControl::Line3,  CanvasControl::Line1,
    CanvasControl::Line2,  CanvasControl::Line4,  CanvasControl::Image1, CanvasControl::Label2,
    CanvasControl::Label3, CanvasControl::Label5, CanvasControl::Shape1,
};

int layerOf(CanvasControl control) {
    const auto* found = std::find(std::begin(kStacking), std::end(kStacking), control);
    return static_cast<int>(found - std::begin(kStacking));
}

// Where a control lies in the stacking order, as one number.
long long stackingKey(const ControlId& id) {
    return static_cast<long long>(layerOf(id.control)) * 1'000'000 + id.index;
}

// Puts `item` in the next slot of the scene, reusing the slot's storage.
void put(CanvasScene& scene, std::size_t& used, CanvasItem item) {
    if (used < scene.size()) {
        scene[used] = std::move(item);
    } else {
        scene.push_back(std::move(item));
    }
    ++used;
}

// Cuts the segment (x1, y1)-(x2, y2) to the box from (left, top) to (right,
// bottom) (Liang-Barsky), moving its ends only where it leaves the box.
// Returns false when nothing of it lies inside.
bool clipSegment(SegmentItem& s, double left, double top, double right, double bottom) {
    const double x = s.x1;
    const double y = s.y1;
    const double dx = static_cast<double>(s.x2) - x;
    const double dy = static_cast<double>(s.y2) - y;
    double t0 = 0.0;
    double t1 = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x - left, right - x, y - top, bottom - y};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) {
                return false;
            }
            continue;
        }
        const double r = q[i] / p[i];
        if (p[i] < 0.0) {
            t0 = std::max(t0, r);
        } else {
            t1 = std::min(t1, r);
        }
        if (t0 > t1) {
            return false;
        }
    }
    if (t1 < 1.0) {
        s.x2 = static_cast<float>(x + t1 * dx);
        s.y2 = static_cast<float>(y + t1 * dy);
    }
    if (t0 > 0.0) {
        s.x1 = static_cast<float>(x + t0 * dx);
        s.y1 = static_cast<float>(y + t0 * dy);
    }
    return true;
}

// The drawing area, which lines are cut to.
struct Area {
    float width = 0;
    float height = 0;
};

void addLine(CanvasScene& scene, std::size_t& used, const Area& area, CanvasControl control,
             int index, const LineControl& line) {
    if (!line.Visible || !std::isfinite(line.X1) || !std::isfinite(line.Y1) ||
        !std::isfinite(line.X2) || !std::isfinite(line.Y2)) {
        return;
    }
    SegmentItem item;
    item.x1 = line.X1;
    item.y1 = line.Y1;
    item.x2 = line.X2;
    item.y2 = line.Y2;
    item.color = line.BorderColor;
    item.width = std::max(1, line.BorderWidth);
    // Only the part near the drawing area is drawn; its ends, beyond the
    // margin, stay out of sight.
    const double margin = item.width + 2;
    if (!clipSegment(item, -margin, -margin, area.width + margin, area.height + margin)) {
        return;
    }
    if (item.width == 1) {
        // Across a mostly level line the pen moves down, across a steep one right.
        const bool level = std::fabs(item.x2 - item.x1) >= std::fabs(item.y2 - item.y1);
        (level ? item.shiftY : item.shiftX) = 0.5F;
    } else {
        // A wide line ends round, like a stroke of a pen.
        item.cap = LineCap::Round;
    }
    if (line.Style == BorderStyle::Dot) {
        // One pen width on, two off.
        item.dashOn = static_cast<float>(item.width);
        item.dashOff = static_cast<float>(2 * item.width);
    }
    put(scene, used, CanvasItem{{control, index}, item});
}

void addLabel(CanvasScene& scene, std::size_t& used, CanvasControl control, int index,
              const LabelControl& label) {
    if (!label.Visible) {
        return;
    }
    if (used == scene.size()) {
        scene.emplace_back();
    }
    CanvasItem& slot = scene[used++];
    slot.control = {control, index};
    // Filled in place: a label's strings keep their storage from scene to scene.
    TextItem* item = std::get_if<TextItem>(&slot.shape);
    if (item == nullptr) {
        item = &slot.shape.emplace<TextItem>();
    }
    item->hitBox = label;
    item->box = pixelBox(item->hitBox);
    item->caption = label.Caption();
    item->font.family = label.Font.Name;
    item->font.pixelSize = pixelSizeForPoints(label.Font.Size);
    item->font.bold = label.Font.Bold;
    item->lineHeight = item->font.pixelSize;
    item->foreColor = label.ForeColor;
    item->backColor = label.BackColor;
    item->opaque = true;
}

void addPicture(CanvasScene& scene, std::size_t& used, int index, const ImageControl& image) {
    if (!image.Visible) {
        return;
    }
    const Bounds box{image.Left, image.Top, image.Width, image.Height};
    const PictureItem item{image.Picture, letterFile(image.Picture), pixelBox(box), box};
    put(scene, used, CanvasItem{{CanvasControl::Image1, index}, item});
}

void addCircle(CanvasScene& scene, std::size_t& used, const ShapeControl& shape) {
    if (!shape.Visible) {
        return;
    }
    CircleItem item;
    item.box = pixelBox(shape);
    item.color = shape.BorderColor;
    item.width = std::max(1, shape.BorderWidth);
    // The largest circle that fits the box, centred in it: its pen runs along
    // the edge of a square of `diameter` pixels, which a one-pixel pen covers
    // exactly.
    const int diameter = std::min(item.box.width, item.box.height);
    const int left = item.box.left + (item.box.width - diameter) / 2;
    const int top = item.box.top + (item.box.height - diameter) / 2;
    item.radius = static_cast<float>(diameter - 1) / 2.0F;
    item.centreX = static_cast<float>(left) + item.radius;
    item.centreY = static_cast<float>(top) + item.radius;
    item.shift = item.width == 1 ? 0.5F : 0.0F;
    put(scene, used, CanvasItem{{CanvasControl::Shape1, 0}, item});
}

template <typename Lines>
void addLines(CanvasScene& scene, std::size_t& used, const Area& area, CanvasControl control,
              const Lines& lines) {
    int index = 0;
    for (const LineControl& line : lines) {
        addLine(scene, used, area, control, index++, line);
    }
}

bool inside(const Bounds& box, float x, float y) {
    return x >= box.Left && x < box.Left + box.Width && y >= box.Top && y < box.Top + box.Height;
}

// A coordinate as a whole pixel. One dragged far off the canvas is held at a
// distance that still fits an int; it is out of sight either way.
int wholePixel(double value) {
    const double limited = std::clamp(value, -1.0e7, 1.0e7);
    return static_cast<int>(std::lround(std::isfinite(limited) ? limited : 0.0));
}

double limited(double value) {
    return std::isfinite(value) ? std::clamp(value, -1.0e7, 1.0e7) : 0.0;
}

PixelRect grown(const PixelRect& rect, int margin) {
    return {rect.left - margin, rect.top - margin, rect.width + 2 * margin,
            rect.height + 2 * margin};
}

// Adds what an item covers within `area`; returns whether it covers anything.
bool addCovered(std::vector<PixelRect>& rects, const CanvasItem& item, const PixelRect& area) {
    const PixelRect covered = itemBounds(item).intersected(area);
    if (covered.empty()) {
        return false;
    }
    rects.push_back(covered);
    return true;
}

}  // namespace

PixelRect pixelBox(const Bounds& box) {
    return {wholePixel(box.Left), wholePixel(box.Top), std::max(0, wholePixel(box.Width)),
            std::max(0, wholePixel(box.Height))};
}

void buildCanvasScene(const Form1& form, CanvasScene& scene) {
    std::size_t used = 0;
    const Area area{form.gamen.innerWidth(), form.gamen.innerHeight()};
    addLines(scene, used, area, CanvasControl::Line5, form.Line5);
    addLines(scene, used, area, CanvasControl::Line6, form.Line6);
    addLines(scene, used, area, CanvasControl::Line3, form.Line3);
    addLines(scene, used, area, CanvasControl::Line1, form.Line1);
    addLines(scene, used, area, CanvasControl::Line2, form.Line2);
    addLines(scene, used, area, CanvasControl::Line4, form.Line4);
    for (int i = 0; i < decltype(form.Image1)::size(); ++i) {
        addPicture(scene, used, i, form.Image1(i));
    }
    for (int i = 0; i < decltype(form.Label2)::size(); ++i) {
        addLabel(scene, used, CanvasControl::Label2, i, form.Label2(i));
    }
    addLabel(scene, used, CanvasControl::Label3, 1, form.Label3(1));
    addLabel(scene, used, CanvasControl::Label5, 0, form.Label5);
    addCircle(scene, used, form.Shape1);
    scene.resize(used);
}

CanvasScene canvasScene(const Form1& form) {
    CanvasScene scene;
    buildCanvasScene(form, scene);
    return scene;
}

const CanvasItem* itemAt(const CanvasScene& scene, float x, float y) {
    for (auto item = scene.rbegin(); item != scene.rend(); ++item) {
        if (const auto* label = std::get_if<TextItem>(&item->shape)) {
            if (inside(label->hitBox, x, y)) {
                return &*item;
            }
        } else if (const auto* picture = std::get_if<PictureItem>(&item->shape)) {
            if (inside(picture->hitBox, x, y)) {
                return &*item;
            }
        }
    }
    return nullptr;
}

bool touchesAny(const CanvasItem& item, const std::vector<PixelRect>& rects) {
    const PixelRect bounds = itemBounds(item);
    return std::any_of(rects.begin(), rects.end(), [&bounds](const PixelRect& rect) {
        return !bounds.intersected(rect).empty();
    });
}

std::vector<PixelRect> deviceReach(std::vector<PixelRect> rects, double deviceScale) {
    // Beyond any sensible scale, everything is within reach.
    constexpr double kEverywhere = 1 << 20;
    const double room = deviceScale > 0 ? std::ceil(1 / deviceScale - 1e-9) : kEverywhere;
    for (PixelRect& rect : rects) {
        rect = grown(rect, static_cast<int>(std::clamp(room, 1.0, kEverywhere)));
    }
    return rects;
}

template <>
PixelRect PixelRect::intersected(const PixelRect& other) const {
    const long long l = std::max(left, other.left);
    const long long t = std::max(top, other.top);
    const long long r = std::min(static_cast<long long>(left) + width,
                                 static_cast<long long>(other.left) + other.width);
    const long long b = std::min(static_cast<long long>(top) + height,
                                 static_cast<long long>(other.top) + other.height);
    if (r <= l || b <= t) {
        return {};
    }
    return {static_cast<int>(l), static_cast<int>(t), static_cast<int>(r - l),
            static_cast<int>(b - t)};
}

PixelRect itemBounds(const CanvasItem& item) {
    if (const auto* line = std::get_if<SegmentItem>(&item.shape)) {
        const double margin = std::max(1, line->width) + 2;
        const double left = std::floor(limited(std::min(line->x1, line->x2)) - margin);
        const double top = std::floor(limited(std::min(line->y1, line->y2)) - margin);
        const double right = std::ceil(limited(std::max(line->x1, line->x2)) + margin);
        const double bottom = std::ceil(limited(std::max(line->y1, line->y2)) + margin);
        return {static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                static_cast<int>(bottom - top)};
    }
    if (const auto* label = std::get_if<TextItem>(&item.shape)) {
        return grown(label->box, 1);
    }
    if (const auto* picture = std::get_if<PictureItem>(&item.shape)) {
        return grown(picture->box, 1);
    }
    const auto& circle = std::get<CircleItem>(item.shape);
    return grown(circle.box, circle.width + 2);
}

std::vector<PixelRect> changedRects(const CanvasScene& before, const CanvasScene& after,
                                    const PixelRect& area) {
    std::vector<PixelRect> rects;
    int changed = 0;
    // Both lists follow the stacking order: walk them side by side, matching
    // items by the control they show.
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < before.size() || j < after.size()) {
        const long long was = i < before.size() ? stackingKey(before[i].control) : kPastTheEnd;
        const long long is = j < after.size() ? stackingKey(after[j].control) : kPastTheEnd;
        bool added = false;
        if (was == is) {
            if (!(before[i].shape == after[j].shape)) {
                added = addCovered(rects, before[i], area);
                added = addCovered(rects, after[j], area) || added;
            }
            ++i;
            ++j;
        } else if (was < is) {
            added = addCovered(rects, before[i++], area);
        } else {
            added = addCovered(rects, after[j++], area);
        }
        changed += added ? 1 : 0;
        if (changed > kMaxChangedControls) {
            return {area};
        }
    }
    return rects;
}

const CanvasScene& DrawnScene::build(const Form1& form) {
    buildCanvasScene(form, built_);
    return built_;
}

const std::vector<PixelRect>& DrawnScene::refresh(const Form1& form, const PixelRect& area,
                                                  bool everything) {
    buildCanvasScene(form, built_);
    if (everything) {
        changed_.assign(1, area);
    } else {
        changed_ = changedRects(drawn_, built_, area);
    }
    std::swap(drawn_, built_);
    return changed_;
}

std::vector<std::uint32_t> shrinkGrey(const std::uint8_t* pixels, std::ptrdiff_t stride, int width,
                                      int height, int toWidth, int toHeight) {
    if (toWidth <= 0 || toHeight <= 0 || width % toWidth != 0 || height % toHeight != 0 ||
        width / toWidth != height / toHeight) {
        return {};
    }
    const int factor = width / toWidth;
    const int area = factor * factor;
    std::vector<std::uint32_t> shrunk(static_cast<std::size_t>(toWidth) *
                                      static_cast<std::size_t>(toHeight));
    std::vector<int> sums(static_cast<std::size_t>(toWidth));
    for (int y = 0; y < toHeight; ++y) {
        std::fill(sums.begin(), sums.end(), 0);
        for (int dy = 0; dy < factor; ++dy) {
            const std::uint8_t* row =
                pixels + (static_cast<std::ptrdiff_t>(y) * factor + dy) * stride;
            for (int x = 0; x < toWidth; ++x) {
                const std::uint8_t* block = row + static_cast<std::ptrdiff_t>(x) * factor;
                int sum = 0;
                for (int dx = 0; dx < factor; ++dx) {
                    sum += block[dx];
                }
                sums[static_cast<std::size_t>(x)] += sum;
            }
        }
        std::uint32_t* out = shrunk.data() + static_cast<std::size_t>(y) * toWidth;
        for (int x = 0; x < toWidth; ++x) {
            const auto grey =
                static_cast<std::uint32_t>((sums[static_cast<std::size_t>(x)] + area / 2) / area);
            out[x] = 0xFF000000U | (grey << 16U) | (grey << 8U) | grey;
        }
    }
    return shrunk;
}

}  // namespace heikosen
