#include "ui/stroke_store.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace heikosen {

StrokeReach strokeReach(const StrokeSegment& segment) {
    const float room = static_cast<float>(std::max(1, segment.width) + 2);
    return {std::min(segment.x1, segment.x2) - room, std::min(segment.y1, segment.y2) - room,
            std::max(segment.x1, segment.x2) + room, std::max(segment.y1, segment.y2) + room};
}

void StrokeStore::setArea(float width, float height) {
    width_ = width;
    height_ = height;
}

void StrokeStore::drawSegment(const StrokeSegment& drawn) {
    // A pen draws at least one pixel wide, whatever its width says.
    StrokeSegment segment = drawn;
    segment.width = std::max(1, drawn.width);
    if (!std::isfinite(segment.x1) || !std::isfinite(segment.y1) || !std::isfinite(segment.x2) ||
        !std::isfinite(segment.y2)) {
        return;
    }
    // A segment wholly off the drawing area leaves no mark.
    const StrokeReach reach = strokeReach(segment);
    if (!(reach.right > 0 && reach.left < width_ && reach.bottom > 0 && reach.top < height_)) {
        return;
    }
    if (keepsAll_ && kept_ >= keepLimit_) {
        // From here on the front end's picture alone holds the strokes drawn,
        // until the next wipe; only the fresh ones stay.
        std::vector<StrokeSegment> fresh;
        fresh.reserve(kept_ - drawn_);
        for (std::size_t i = drawn_; i < kept_; ++i) {
            fresh.push_back(kept(i));
        }
        blocks_.clear();
        blocks_.shrink_to_fit();
        kept_ = 0;
        drawn_ = 0;
        keepsAll_ = false;
        setRedrawing(false);
        for (const StrokeSegment& s : fresh) {
            if (blocks_.empty() || blocks_.back().size() == kBlock) {
                blocks_.emplace_back().reserve(kBlock);
            }
            blocks_.back().push_back(s);
            ++kept_;
        }
    }
    if (blocks_.size() * kBlock <= kept_) {
        blocks_.emplace_back().reserve(kBlock);
    }
    blocks_[kept_ / kBlock].push_back(segment);
    ++kept_;
    segmentKept(segment);
}

void StrokeStore::clear() {
    // The first block stays for the strokes to come.
    blocks_.resize(std::min<std::size_t>(blocks_.size(), 1));
    if (!blocks_.empty()) {
        blocks_.front().clear();
    }
    kept_ = 0;
    drawn_ = 0;
    keepsAll_ = true;
    wiped_ = true;
    setRedrawing(false);
    wiped();
}

void StrokeStore::markDrawn() {
    if (keepsAll_) {
        drawn_ = kept_;
        return;
    }
    for (std::vector<StrokeSegment>& block : blocks_) {
        block.clear();
    }
    blocks_.resize(std::min<std::size_t>(blocks_.size(), 1));
    kept_ = 0;
    drawn_ = 0;
}

bool StrokeStore::takeWiped() {
    return std::exchange(wiped_, false);
}

std::size_t StrokeStore::redrawSliceEnd(std::size_t done) const {
    return std::min(kept_, done + kRedrawSlice);
}

void StrokeStore::setRedrawing(bool on) {
    redrawing_ = on && keepsAll_;
    redrawn_ = 0;
}

StrokeStore::Slice StrokeStore::nextRedrawSlice() {
    if (!redrawing_) {
        return {};
    }
    const Slice slice{redrawn_, redrawSliceEnd(redrawn_)};
    redrawn_ = slice.end;
    // Segments drawn meanwhile are kept too, so the sharp picture is complete
    // once it has every kept one.
    redrawing_ = redrawn_ < kept_;
    return slice;
}

const StrokeSegment* StrokeStore::inOnePiece(std::size_t first, std::size_t end) {
    end = std::min(end, kept_);
    if (first >= end) {
        return nullptr;
    }
    if (first / kBlock == (end - 1) / kBlock) {
        return &kept(first);
    }
    piece_.clear();
    for (std::size_t i = first; i < end; ++i) {
        piece_.push_back(kept(i));
    }
    return piece_.data();
}

std::vector<StrokeSegment> StrokeStore::keptSegments() const {
    std::vector<StrokeSegment> all;
    all.reserve(kept_);
    for (const std::vector<StrokeSegment>& block : blocks_) {
        all.insert(all.end(), block.begin(), block.end());
    }
    return all;
}

}  // namespace heikosen
