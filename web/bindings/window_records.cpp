#include "window_records.h"

#include "canvas_records.h"
#include "ui/viewport.h"

namespace heikosen::web {

using emscripten::val;

std::string letterName(Letter letter) {
    const std::string file = letterFile(letter);
    return file.substr(0, file.rfind('.'));
}

val windowFacts(const Form1& form) {
    val letters = val::array();
    for (const Letter letter : kLetters) {
        letters.call<void>("push", letterName(letter));
    }
    const CanvasMapping::FrameColors& frame = CanvasMapping::kFrameColors;
    return Fields()("Width", kClientWidth)("Height", kClientHeight)("BackColor", form.BackColor)(
               "letters", letters)("groupName", std::string(kOptionGroupName))(
               "indicatorGap", kIndicatorCaptionGap)("indicatorSize", kIndicatorSize)(
               "frame", Fields()("shadow", frame.shadow)("highlight", frame.highlight)(
                            "darkShadow", frame.darkShadow)("light", frame.light)("focusRing",
                                                                                  frame.focusRing)
                            .object)("canvasKeys", std::string(Form1::canvasKeyHint()))
        .object;
}

const std::int32_t* WindowRecords::refresh(const Form1& form) {
    controls_ = windowControls(form);
    canvasWords_ = form.canvasWords();
    ids_.clear();
    // Room for every id first, so that no id's text moves once it is handed out.
    ids_.reserve(controls_.size());
    records_.assign(controls_.size() * kControlWords, 0);
    std::int32_t* record = records_.data();
    for (const WindowControl& c : controls_) {
        ids_.push_back(elementId(c));
        putText(record, kId, ids_.back());
        record[kControlKind] = static_cast<std::int32_t>(c.kind);
        record[kGroup] = c.group;
        record[kTabStop] = c.tabStop ? 1 : 0;
        putFloats(record, kBox, {c.rect.Left, c.rect.Top, c.rect.Width, c.rect.Height});
        putText(record, kText, c.caption);
        putText(record, kName, c.accessibleName);
        putText(record, kTypeface, typefaceOf(c.font.Name));
        record[kFontPixels] = c.fontPixels;
        record[kBold] = c.font.Bold ? 1 : 0;
        record[kVisible] = c.visible ? 1 : 0;
        record[kEnabled] = c.enabled ? 1 : 0;
        record[kAutoSize] = c.autoSize ? 1 : 0;
        record[kValue] = c.value;
        record[kBackColor] = static_cast<std::int32_t>(c.backColor);
        record[kForeColor] = static_cast<std::int32_t>(c.foreColor);
        record += kControlWords;
    }
    header_[kControlCount] = static_cast<std::int32_t>(controls_.size());
    header_[kControls] = addressOf(records_.data());
    putText(header_, kWindowCaption, form.Caption);
    putText(header_, kCanvasWords, canvasWords_);
    return header_;
}

}  // namespace heikosen::web
