// The form's controls, variables and canvas items as objects of the page, for
// the page's tests to read.

#include "form_readers.h"

#include <emscripten/em_js.h>

#include <string>
#include <type_traits>

#include "members.h"
#include "window_records.h"

EM_JS(emscripten::EM_VAL, parseJson, (const char* text, int length),
      { return Emval.toHandle(JSON.parse(UTF8ToString(text, length))); });

namespace heikosen::web {

using emscripten::val;

namespace {

Members fontValue(const FontSpec& font) {
    return Members()("Name", font.Name)("Size", font.Size)("Bold", font.Bold)(
        "px", pixelSizeForPoints(font.Size));
}

val lineValue(const LineControl& line) {
    return Members()("X1", line.X1)("Y1", line.Y1)("X2", line.X2)("Y2", line.Y2)(
        "BorderColor", line.BorderColor)("BorderStyle", line.Style)(
        "BorderWidth", line.BorderWidth)("Visible", line.Visible);
}

val labelValue(const LabelControl& label) {
    return Members().bounds(Bounds{label.Left, label.Top, label.Width, label.Height})(
        "Caption", label.Caption())("Visible", label.Visible)("AutoSize", label.AutoSize)(
        "BackColor", label.BackColor)("ForeColor", label.ForeColor)("Font", fontValue(label.Font))(
        "TabIndex", label.TabIndex);
}

val imageValue(const ImageControl& image) {
    return Members().bounds(Bounds{image.Left, image.Top, image.Width, image.Height})(
        "Visible", image.Visible)("Picture", letterName(image.Picture));
}

val shapeValue(const ShapeControl& shape) {
    return Members().bounds(Bounds{shape.Left, shape.Top, shape.Width, shape.Height})(
        "Shape", shape.Shape)("BorderColor", shape.BorderColor)("BorderWidth", shape.BorderWidth)(
        "Visible", shape.Visible);
}

// A command button, an option button or a check box.
template <typename Button>
val buttonValue(const Button& button) {
    Members members;
    members("Caption", button.Caption)
        .bounds(button.Rect)("TabIndex", button.TabIndex)("Enabled", button.Enabled)(
            "Visible", button.Visible);
    if constexpr (std::is_same_v<Button, CommandButton>) {
        members("FontBold", button.FontBold);
    } else {
        members("Value", button.Value());
    }
    return members;
}

val canvasValue(const PictureBox& gamen) {
    return Members().bounds(gamen.Rect)("TabIndex", gamen.TabIndex)(
        "BorderWidth", gamen.BorderWidth)("BackColor", gamen.BackColor)(
        "ForeColor", gamen.ForeColor)("DrawWidth", gamen.DrawWidth)("FontSize", gamen.FontSize)(
        "ScaleMode", gamen.ScaleMode)("ScaleWidth", gamen.innerWidth())("ScaleHeight",
                                                                        gamen.innerHeight());
}

// The element `index` of a control array, or null for an index it has not got.
template <typename Array, typename Show>
val element(const Array& array, int index, Show show) {
    bool held = false;
    if constexpr (std::is_same_v<Array, LineArray>) {
        held = index >= 0 && index < array.count();
    } else {
        held = index >= Array::kLow && index <= Array::kHigh;
    }
    return held ? show(array(index)) : val::null();
}

// A single control, as element 0 of itself.
template <typename Control, typename Show>
val single(const Control& control, int index, Show show) {
    return index == 0 ? show(control) : val::null();
}

const char* controlName(CanvasControl control) {
    // In the order of CanvasControl.
    static constexpr const char* kNames[] = {"Line1",  "Line2",  "Line3",  "Line4",
                                             "Line5",  "Line6",  "Image1", "Label2",
                                             "Label3", "Label5", "Shape1"};
    return nameIn(kNames, control);
}

}  // namespace

val controlValue(const Form1& form, const std::string& name, int index) {
    using Reader = val (*)(const Form1&, int);
    static constexpr std::pair<const char*, Reader> kReaders[] = {
        {"Line1", [](const Form1& f, int i) { return element(f.Line1, i, lineValue); }},
        {"Line2", [](const Form1& f, int i) { return element(f.Line2, i, lineValue); }},
        {"Line3", [](const Form1& f, int i) { return element(f.Line3, i, lineValue); }},
        {"Line4", [](const Form1& f, int i) { return element(f.Line4, i, lineValue); }},
        {"Line5", [](const Form1& f, int i) { return element(f.Line5, i, lineValue); }},
        {"Line6", [](const Form1& f, int i) { return element(f.Line6, i, lineValue); }},
        {"Label1", [](const Form1& f, int i) { return single(f.Label1, i, labelValue); }},
        {"Label2", [](const Form1& f, int i) { return element(f.Label2, i, labelValue); }},
        {"Label3", [](const Form1& f, int i) { return element(f.Label3, i, labelValue); }},
        {"Label4", [](const Form1& f, int i) { return element(f.Label4, i, labelValue); }},
        {"Label5", [](const Form1& f, int i) { return single(f.Label5, i, labelValue); }},
        {"Image1", [](const Form1& f, int i) { return element(f.Image1, i, imageValue); }},
        {"Shape1", [](const Form1& f, int i) { return single(f.Shape1, i, shapeValue); }},
        {"gamen", [](const Form1& f, int i) { return single(f.gamen, i, canvasValue); }},
        {"Option1",
         [](const Form1& f, int i) { return element(f.Option1, i, buttonValue<OptionButton>); }},
        {"Option2",
         [](const Form1& f, int i) { return element(f.Option2, i, buttonValue<OptionButton>); }},
        {"Check1",
         [](const Form1& f, int i) { return element(f.Check1, i, buttonValue<CheckBox>); }},
    };
    for (const auto& [control, read] : kReaders) {
        if (name == control) {
            return read(form, index);
        }
    }
    if (name.size() == 8 && name.compare(0, 7, "Command") == 0 && name[7] >= '1' &&
        name[7] < '1' + Form1::kCommandCount) {
        return single(form.command(name[7] - '0'), index, buttonValue<CommandButton>);
    }
    return val::null();
}

val variablesValue(const Form1& form) {
    const FigureState& f = form.fig;
    return Members()("grabbedHandle", form.grabbedHandle)("lastX", form.lastX)("lastY", form.lastY)(
        "memoMode", form.memoMode)("penDown", form.penDown)("penColor", form.penColor)(
        "lineMode", form.lineMode)("lineDrawing", form.lineDrawing)("lineSlot", form.lineSlot)(
        "lineColor", form.lineColor)("gridShown", form.gridShown)(
        "extension1Shown", form.extension1Shown)("extension2Shown", form.extension2Shown)(
        "heldButtons", form.heldButtons())("endRequested", form.endRequested())(
        "parallelPY", f.parallelPY)("parallelQY", f.parallelQY)("parallelRY", f.parallelRY)(
        "transLX1", f.transLX1)("transLY1", f.transLY1)("transLX2", f.transLX2)(
        "transLY2", f.transLY2)("transMX1", f.transMX1)("transMY1", f.transMY1)(
        "transMX2", f.transMX2)("transMY2", f.transMY2)("copyMX1", f.copyMX1)("copyMY1", f.copyMY1)(
        "copyMX2", f.copyMX2)("copyMY2", f.copyMY2)("pointAX", f.pointAX)(
        "pointAPrimeX", f.pointAPrimeX)("pointBX", f.pointBX)("pointBPrimeX", f.pointBPrimeX)(
        "pointCX", f.pointCX)("pointCPrimeX", f.pointCPrimeX)("copyMGrabX", f.copyMGrabX);
}

val sceneValue(const CanvasScene& scene) {
    val items = val::array();
    for (const CanvasItem& item : scene) {
        Members m;
        m("control", controlName(item.control.control))("index", item.control.index);
        const auto box = [&m](const PixelRect& r) {
            m("left", r.left)("top", r.top)("width", r.width)("height", r.height);
        };
        if (const auto* line = std::get_if<SegmentItem>(&item.shape)) {
            m("kind", "line")("x1", line->x1)("y1", line->y1)("x2", line->x2)("y2", line->y2)(
                "color", line->color)("width", line->width)("style",
                                                            line->dashOff > 0 ? "dot" : "solid");
        } else if (const auto* label = std::get_if<TextItem>(&item.shape)) {
            m("kind", "label")("caption", label->caption)(
                "font", Members()("name", label->font.family)("px", label->font.pixelSize)(
                            "bold", label->font.bold))("foreColor", label->foreColor)(
                "backColor", label->backColor)("opaque", label->opaque);
            box(label->box);
        } else if (const auto* picture = std::get_if<PictureItem>(&item.shape)) {
            m("kind", "picture")("letter", letterName(picture->letter));
            box(picture->box);
        } else {
            const auto& circle = std::get<CircleItem>(item.shape);
            m("kind", "ellipse")("color", circle.color)("penWidth", circle.width);
            box(circle.box);
        }
        items.call<void>("push", m.value());
    }
    return items;
}

}  // namespace heikosen::web
