#pragma once

// The canvas items as the page's painter reads them: one record of 32-bit
// words per item, and the header that a refresh hands out. The page reads
// where each word lies from the module (recordLayout), so that the two sides
// cannot drift apart.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "ui/canvas_scene.h"

namespace heikosen::web {

enum ItemKind : std::int32_t { kSegmentItem, kTextItem, kPictureItem, kCircleItem };

enum Word : std::size_t {
    kKind,                     // ItemKind
    kControl,                  // CanvasControl
    kIndex,                    // index in its control array
    kColor,                    // segment, text, circle: 0xRRGGBB
    kWidth,                    // segment and circle: pen width; text: back colour
    kStyle,                    // segment: 1 for round ends; picture: Letter; text: bold
    kGeometry,                 // segment: x1, y1, x2, y2; circle: centre x, y, radius and
                               // shift, as floats; text and picture: box in whole pixels
    kCaption = kGeometry + 4,  // text: caption's address and length in bytes
    kFont = kCaption + 2,      // text: typeface's address and length, size in px
    kOpaque = kFont + 3,       // text: fills its box first
    kLineHeight,               // text: the height of each line of its caption
    kShift,                    // segment: the pen's shift across, x and y, as floats
    kDash = kShift + 2,        // segment: on and off lengths as floats, 0 off for solid
    kRecordWords = kDash + 2,
};

// What the page reads after an event. The rectangles and the canvases' size are
// in device pixels at the refresh's scale, which the page's canvases hold.
enum Header : std::size_t {
    kRectCount,
    kRects,  // address of left, top, width, height per rectangle
    kItemCount,
    kItems,  // address of the items
    kWiped,  // the board was wiped: clear the strokes before drawing the fresh ones
    kFreshCount,
    kFresh,       // address of the fresh segments (StrokeSegment)
    kPixelWidth,  // the canvases' size
    kPixelHeight,
    kHeaderWords,
};

// Writes the item into kRecordWords words; its strings stay where they are.
void pack(const CanvasItem& item, std::int32_t* record);

std::int32_t addressOf(const void* pointer);

// Floats into the words from `at` on; a text's address and length in bytes
// into the two words at `at`.
void putFloats(std::int32_t* record, std::size_t at, std::initializer_list<float> values);
void putText(std::int32_t* record, std::size_t at, std::string_view text);

}  // namespace heikosen::web
