#include "canvas_records.h"

#include <algorithm>
#include <cstring>

namespace heikosen::web {

namespace {

std::int32_t wordOf(float value) {
    std::int32_t word = 0;
    std::memcpy(&word, &value, sizeof word);
    return word;
}

void putBox(std::int32_t* record, std::size_t at, const PixelRect& box) {
    record[at] = box.left;
    record[at + 1] = box.top;
    record[at + 2] = box.width;
    record[at + 3] = box.height;
}

}  // namespace

void putFloats(std::int32_t* record, std::size_t at, std::initializer_list<float> values) {
    for (const float value : values) {
        record[at++] = wordOf(value);
    }
}

void putText(std::int32_t* record, std::size_t at, std::string_view text) {
    record[at] = addressOf(text.data());
    record[at + 1] = static_cast<std::int32_t>(text.size());
}

std::int32_t addressOf(const void* pointer) {
    return static_cast<std::int32_t>(reinterpret_cast<std::uintptr_t>(pointer));
}

void pack(const CanvasItem& item, std::int32_t* record) {
    std::fill(record, record + kRecordWords, 0);
    record[kControl] = static_cast<std::int32_t>(item.control.control);
    record[kIndex] = item.control.index;
    if (const auto* line = std::get_if<SegmentItem>(&item.shape)) {
        record[kKind] = kSegmentItem;
        record[kColor] = static_cast<std::int32_t>(line->color);
        record[kWidth] = line->width;
        record[kStyle] = line->cap == LineCap::Round ? 1 : 0;
        putFloats(record, kGeometry, {line->x1, line->y1, line->x2, line->y2});
        putFloats(record, kShift, {line->shiftX, line->shiftY});
        putFloats(record, kDash, {line->dashOn, line->dashOff});
    } else if (const auto* label = std::get_if<TextItem>(&item.shape)) {
        record[kKind] = kTextItem;
        record[kColor] = static_cast<std::int32_t>(label->foreColor);
        record[kWidth] = static_cast<std::int32_t>(label->backColor);
        record[kStyle] = label->font.bold ? 1 : 0;
        putBox(record, kGeometry, label->box);
        putText(record, kCaption, label->caption);
        putText(record, kFont, typefaceOf(label->font.family));
        record[kFont + 2] = label->font.pixelSize;
        record[kOpaque] = label->opaque ? 1 : 0;
        record[kLineHeight] = label->lineHeight;
    } else if (const auto* picture = std::get_if<PictureItem>(&item.shape)) {
        record[kKind] = kPictureItem;
        record[kStyle] = static_cast<std::int32_t>(picture->letter);
        putBox(record, kGeometry, picture->box);
    } else {
        const auto& circle = std::get<CircleItem>(item.shape);
        record[kKind] = kCircleItem;
        record[kColor] = static_cast<std::int32_t>(circle.color);
        record[kWidth] = circle.width;
        putFloats(record, kGeometry, {circle.centreX, circle.centreY, circle.radius, circle.shift});
    }
}

}  // namespace heikosen::web
