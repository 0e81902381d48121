#pragma once

// The strokes of the pens since the board was last wiped, kept once for every
// front end: the drawing surface beneath the canvas's controls.
//
// Each segment that leaves a mark on the drawing area is kept, up to
// keepLimit() of them, so that a front end can draw the strokes again sharply
// at another resolution. Beyond that many the segments already drawn are
// dropped and, until the next wipe, the front end's picture alone holds them
// (it rescales that picture instead); the store's memory stays below the limit
// times 24 bytes. A front end draws the fresh segments, those kept since it
// last said it drew them, and says so.
//
// A slice of segments is drawn again at once. More than that would hold up the
// window, so a front end shows its old picture rescaled and draws the sharp one
// a slice at a time between events; the segments drawn meanwhile are kept too,
// so the sharp picture is complete once it has every kept one.
//
// A front end that reads segments as one array (the page) is handed them so:
// a slice of a redraw always lies in one of the blocks that the store keeps
// them in, and is read in place; fresh segments that straddle two blocks are
// copied.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "ui/controls.h"

namespace heikosen {

// The board keeps many of these: they stay small.
static_assert(sizeof(StrokeSegment) == 24);

// The canvas pixels a segment may touch: its line with room for its pen and
// for rounding.
struct StrokeReach {
    float left = 0;
    float top = 0;
    float right = 0;
    float bottom = 0;
    // The same as a rectangle.
    ClientRect rect() const {
        return {left, top, double{right} - double{left}, double{bottom} - double{top}};
    }
};
StrokeReach strokeReach(const StrokeSegment& segment);

class StrokeStore : public DrawingSurface {
  public:
    static constexpr std::size_t kMaxKeptSegments = std::size_t{1} << 20;
    // Segments drawn again in one go.
    static constexpr std::size_t kRedrawSlice = 4096;
    // Segments kept in one block, so that keeping one more never moves the
    // ones kept; a whole number of slices, so that a slice lies in one block.
    static constexpr std::size_t kBlock = 2 * kRedrawSlice;

    // The drawing area, in canvas pixels: segments wholly beyond it are left out.
    void setArea(float width, float height);

    void drawSegment(const StrokeSegment& drawn) final;
    void clear() final;

    // True while nothing was drawn since start-up or the last wipe.
    bool blank() const { return kept_ == 0 && keepsAll_; }
    // False once more segments were drawn since the last wipe than are kept.
    bool keepsEveryStroke() const { return keepsAll_; }
    // How many segments are kept at most: kMaxKeptSegments unless changed
    // (tests use a small number).
    void setKeepLimit(std::size_t limit) { keepLimit_ = limit; }

    // The kept segments, in drawing order: every one on the board while
    // keepsEveryStroke(), else only the fresh ones.
    std::size_t keptSegmentCount() const { return kept_; }
    const StrokeSegment& kept(std::size_t index) const {
        return blocks_[index / kBlock][index % kBlock];
    }
    std::vector<StrokeSegment> keptSegments() const;

    // The kept segments from `first` up to `end`, one after another in
    // memory: the store's own where they lie in one block, as a slice of a
    // redraw always does, else a copy, good until the next call. Null when
    // there are none.
    const StrokeSegment* inOnePiece(std::size_t first, std::size_t end);

    // The fresh segments are the kept ones from freshStart() on.
    std::size_t freshStart() const { return drawn_; }
    std::size_t freshCount() const { return kept_ - drawn_; }
    // The fresh segments one after another in memory, as inOnePiece.
    const StrokeSegment* freshInOnePiece() { return inOnePiece(drawn_, kept_); }
    // The front end has drawn the fresh segments.
    void markDrawn();
    // True once after each wipe: the front end clears its picture.
    bool takeWiped();

    // Whether every stroke on the board can be drawn again at once.
    bool redrawsAtOnce() const { return keepsAll_ && kept_ <= kRedrawSlice; }
    // Where the slice of a redraw that has drawn `done` kept segments ends.
    std::size_t redrawSliceEnd(std::size_t done) const;
    // A front end's redraw of its sharp picture, a slice at a time: started
    // (only while every stroke is kept) or given up here, given up too by a
    // wipe and once the kept segments are dropped, and done with the slice
    // that reaches the last kept segment.
    void setRedrawing(bool on);
    bool redrawing() const { return redrawing_; }
    // The kept segments that the redraw draws next, from `first` up to `end`.
    struct Slice {
        std::size_t first = 0;
        std::size_t end = 0;
    };
    Slice nextRedrawSlice();

  protected:
    // A segment was kept (a front end that draws at once draws it here).
    virtual void segmentKept(const StrokeSegment& /*segment*/) {}
    // The board was wiped.
    virtual void wiped() {}

  private:
    std::vector<std::vector<StrokeSegment>> blocks_;
    // The copy that inOnePiece hands out for segments in two blocks.
    std::vector<StrokeSegment> piece_;
    std::size_t kept_ = 0;
    std::size_t drawn_ = 0;
    std::size_t keepLimit_ = kMaxKeptSegments;
    bool keepsAll_ = true;
    bool wiped_ = false;
    bool redrawing_ = false;
    std::size_t redrawn_ = 0;
    float width_ = 0;
    float height_ = 0;
};

}  // namespace heikosen
