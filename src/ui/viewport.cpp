#include "ui/viewport.h"

#include <algorithm>
#include <cmath>

namespace heikosen {

namespace {

// A position on the grid: the nearest whole grid pixel.
double nearest(double value, double ratio) {
    return std::round(value * ratio) / ratio;
}

// Rounds up, but not for the last bit of a product that should be whole.
double wholeAbove(double value, double ratio) {
    return std::ceil(value * ratio - 1e-9) / ratio;
}

// The grid a front end places on: whole pixels when it gives no sensible ratio.
double gridOf(double ratio) {
    return std::isfinite(ratio) && ratio > 0 ? ratio : 1.0;
}

}  // namespace

int scaledPixels(int pixels, double scale) {
    if (scale == 1.0) {
        return pixels;
    }
    return std::max(1, static_cast<int>(std::lround(pixels * scale)));
}

TextFont scaledFont(const FontSpec& font, double scale) {
    TextFont scaled = textFont(font);
    if (scaled.pixelSize > 0) {
        scaled.pixelSize = scaledPixels(scaled.pixelSize, scale);
    }
    return scaled;
}

PixelRect wholePixels(const ClientRect& exact) {
    const auto round = [](double v) { return static_cast<int>(std::floor(v + 0.5)); };
    const int left = round(exact.left);
    const int top = round(exact.top);
    return {left, top, std::max(1, round(exact.right()) - left),
            std::max(1, round(exact.bottom()) - top)};
}

Viewport Viewport::fit(double clientWidth, double clientHeight, double pixelRatio) {
    const double width = std::isfinite(clientWidth) ? std::max(1.0, clientWidth) : 1.0;
    const double height = std::isfinite(clientHeight) ? std::max(1.0, clientHeight) : 1.0;
    Viewport view;
    view.pixelRatio = gridOf(pixelRatio);
    view.scale = std::min(width / kClientWidth, height / kClientHeight);
    // The spare room is shared on both sides; whole pixels keep the layout's
    // pixel grid on the screen's. No room at all is no room, not the last bit
    // of a product below it, which would cut the form's first column off.
    const auto half = [&view](double spare) {
        return std::floor(spare / 2 * view.pixelRatio + 1e-9) / view.pixelRatio;
    };
    view.left = half(width - kClientWidth * view.scale);
    view.top = half(height - kClientHeight * view.scale);
    return view;
}

ClientRect Viewport::place(const Bounds& bounds) const {
    return place(bounds.Left, bounds.Top, bounds.Width, bounds.Height);
}

ClientRect Viewport::place(double x, double y, double width, double height) const {
    const double x1 = nearest(left + x * scale, pixelRatio);
    const double y1 = nearest(top + y * scale, pixelRatio);
    const double x2 = nearest(left + (x + width) * scale, pixelRatio);
    const double y2 = nearest(top + (y + height) * scale, pixelRatio);
    return {x1, y1, x2 - x1, y2 - y1};
}

ClientRect Viewport::form() const {
    return place(0, 0, kClientWidth, kClientHeight);
}

ClientRect Viewport::canvasBox(const PictureBox& canvas) const {
    const ClientRect placed = place(canvas.Rect);
    const CanvasMapping mapping(canvas, scale, pixelRatio);
    return {placed.left, placed.top, mapping.boxWidth(), mapping.boxHeight()};
}

ClientPoint Viewport::canvasFromClient(ClientPoint client, const PictureBox& canvas) const {
    const ClientRect box = canvasBox(canvas);
    return CanvasMapping(canvas, scale, pixelRatio)
        .canvasFromBox({client.x - box.left, client.y - box.top});
}

CanvasMapping::CanvasMapping(const PictureBox& canvas, double scale, double pixelRatio)
    : scale_(scale),
      ratio_(gridOf(pixelRatio)),
      border_(canvas.BorderWidth),
      layout_{0, 0, static_cast<int>(std::lround(canvas.Rect.Width)),
              static_cast<int>(std::lround(canvas.Rect.Height))},
      drawingWidth_(canvas.innerWidth()),
      drawingHeight_(canvas.innerHeight()) {}

PixelRect CanvasMapping::drawingArea() const {
    return {border_, border_, static_cast<int>(std::lround(drawingWidth_)),
            static_cast<int>(std::lround(drawingHeight_))};
}

double CanvasMapping::boxWidth() const {
    return wholeAbove(layout_.width * scale_, ratio_);
}

double CanvasMapping::boxHeight() const {
    return wholeAbove(layout_.height * scale_, ratio_);
}

ClientPoint CanvasMapping::boxFromCanvas(ClientPoint canvasPoint) const {
    return {(canvasPoint.x + border_) * scale_, (canvasPoint.y + border_) * scale_};
}

ClientPoint CanvasMapping::canvasFromBox(ClientPoint boxPoint) const {
    return {boxPoint.x / scale_ - border_, boxPoint.y / scale_ - border_};
}

ClientRect CanvasMapping::boxRectFromCanvas(const ClientRect& canvasRect) const {
    // Outward to whole pixels of the grid: every pixel the rectangle touches.
    const double shift = border_ * scale_;
    const double left = scale_ * canvasRect.left + shift;
    const double top = scale_ * canvasRect.top + shift;
    const double x1 = std::floor(left * ratio_) / ratio_;
    const double y1 = std::floor(top * ratio_) / ratio_;
    const double x2 = std::ceil((left + scale_ * canvasRect.width) * ratio_) / ratio_;
    const double y2 = std::ceil((top + scale_ * canvasRect.height) * ratio_) / ratio_;
    return {x1, y1, x2 - x1, y2 - y1};
}

ClientRect CanvasMapping::canvasRectFromBox(const ClientRect& boxRect) const {
    const ClientPoint corner = canvasFromBox({boxRect.left, boxRect.top});
    const ClientPoint far = canvasFromBox({boxRect.right(), boxRect.bottom()});
    return {corner.x, corner.y, far.x - corner.x, far.y - corner.y};
}

PixelRect CanvasMapping::canvasPixelsFromBox(const PixelRect& boxRect) const {
    const ClientRect shown = canvasRectFromBox(exactRect(boxRect));
    const int left = static_cast<int>(std::floor(shown.left));
    const int top = static_cast<int>(std::floor(shown.top));
    const PixelRect touched{left, top, static_cast<int>(std::ceil(shown.right())) - left,
                            static_cast<int>(std::ceil(shown.bottom())) - top};
    const PixelRect area = drawingArea();
    return touched.intersected({0, 0, area.width, area.height});
}

ClientRect CanvasMapping::drawingAreaInBox() const {
    return boxRectFromCanvas({0, 0, drawingWidth_, drawingHeight_});
}

std::vector<CanvasMapping::FrameFill> CanvasMapping::frame(bool focusRing) const {
    const FrameColors& c = kFrameColors;
    std::vector<FrameFill> fills;
    if (border_ <= 0) {
        return fills;
    }
    // Above and to the left in the first colour, below and to the right in the
    // second.
    const auto edge = [&fills](const PixelRect& r, Rgb upper, Rgb lower) {
        const int right = r.left + r.width - 1;
        const int bottom = r.top + r.height - 1;
        fills.push_back({{r.left, r.top, r.width, 1}, upper});
        fills.push_back({{r.left, r.top, 1, r.height}, upper});
        fills.push_back({{r.left, bottom, r.width, 1}, lower});
        fills.push_back({{right, r.top + 1, 1, r.height - 1}, lower});
    };
    const PixelRect& outer = layout_;
    edge(outer, c.shadow, c.highlight);
    if (border_ > 1) {
        edge({outer.left + 1, outer.top + 1, outer.width - 2, outer.height - 2}, c.darkShadow,
             c.light);
    }
    if (focusRing) {
        const int b = border_;
        fills.push_back({{outer.left, outer.top, outer.width, b}, c.focusRing});
        fills.push_back({{outer.left, outer.top + outer.height - b, outer.width, b}, c.focusRing});
        fills.push_back({{outer.left, outer.top, b, outer.height}, c.focusRing});
        fills.push_back({{outer.left + outer.width - b, outer.top, b, outer.height}, c.focusRing});
    }
    return fills;
}

std::vector<PixelRect> CanvasMapping::groundBeside(double boxWidth, double boxHeight) const {
    const int width = static_cast<int>(std::lround(boxWidth));
    const int height = static_cast<int>(std::lround(boxHeight));
    const int right = static_cast<int>(std::floor(layout_.width * scale_));
    const int bottom = static_cast<int>(std::floor(layout_.height * scale_));
    std::vector<PixelRect> ground;
    if (right < width) {
        ground.push_back({right, 0, width - right, height});
    }
    if (bottom < height) {
        ground.push_back({0, bottom, width, height - bottom});
    }
    return ground;
}

StrokeRaster StrokeRaster::at(double scale, ClientPoint origin) {
    return {scale, origin.x - std::floor(origin.x), origin.y - std::floor(origin.y)};
}

PixelRect StrokeRaster::pixels(double width, double height) const {
    return {0, 0, static_cast<int>(std::ceil(width * scale + phaseX)),
            static_cast<int>(std::ceil(height * scale + phaseY))};
}

PixelRect StrokeRaster::pixelsUnder(const ClientRect& canvasRect) const {
    const double left = canvasRect.left * scale + phaseX;
    const double top = canvasRect.top * scale + phaseY;
    const int x1 = static_cast<int>(std::floor(left));
    const int y1 = static_cast<int>(std::floor(top));
    const int x2 = static_cast<int>(std::ceil(left + canvasRect.width * scale));
    const int y2 = static_cast<int>(std::ceil(top + canvasRect.height * scale));
    return {x1, y1, x2 - x1, y2 - y1};
}

ClientRect StrokeRaster::canvasOver(const PixelRect& pixels) const {
    return {(pixels.left - phaseX) / scale, (pixels.top - phaseY) / scale, pixels.width / scale,
            pixels.height / scale};
}

bool StrokeRaster::atScale(double deviceScale) const {
    return std::fabs(deviceScale - scale) <= 1e-6 * scale;
}

ClientRect StrokeRaster::stretchedFrom(const StrokeRaster& before, double width,
                                       double height) const {
    const double ratio = scale / before.scale;
    return {phaseX - before.phaseX * ratio, phaseY - before.phaseY * ratio, width * ratio,
            height * ratio};
}

StrokeRaster CanvasMapping::strokeRaster(double deviceRatio, ClientPoint boxCorner) const {
    // The picture's pixels lie on the screen's: as many per canvas pixel as the
    // screen has device pixels, from the device pixel in which the canvas's
    // origin falls.
    const ClientPoint corner = boxFromCanvas({0, 0});
    return StrokeRaster::at(scale_ * deviceRatio, {(boxCorner.x + corner.x) * deviceRatio,
                                                   (boxCorner.y + corner.y) * deviceRatio});
}

namespace {

// The drawing area's corner in the form's own pixels.
ClientPoint drawingCorner(const PictureBox& canvas) {
    return {canvas.Rect.Left + canvas.BorderWidth, canvas.Rect.Top + canvas.BorderWidth};
}

}  // namespace

PageFit PageFit::fit(double width, double height, double pixelRatio, const PictureBox& canvas) {
    width = std::isfinite(width) ? std::max(1.0, width) : 1.0;
    height = std::isfinite(height) ? std::max(1.0, height) : 1.0;
    const double ratio = gridOf(pixelRatio);
    const double fitted = std::min(width / kClientWidth, height / kClientHeight);
    PageFit page;
    page.scale = std::max(kLeastPageScale, fitted);
    page.scrolls = page.scale > fitted;
    // The spare room shared on both sides, then moved by less than a device
    // pixel, half up, to put the drawing area's corner on one.
    const auto snapped = [&](double spare, double corner) {
        const double offset = std::max(0.0, spare / 2);
        return std::floor((offset + corner * page.scale) * ratio + 0.5) / ratio -
               corner * page.scale;
    };
    const ClientPoint corner = drawingCorner(canvas);
    page.left = snapped(width - kClientWidth * page.scale, corner.x);
    page.top = snapped(height - kClientHeight * page.scale, corner.y);
    return page;
}

ClientPoint PageFit::canvasFromPage(ClientPoint page, const PictureBox& canvas) const {
    const ClientPoint corner = drawingCorner(canvas);
    return {(page.x - left) / scale - corner.x, (page.y - top) / scale - corner.y};
}

}  // namespace heikosen
