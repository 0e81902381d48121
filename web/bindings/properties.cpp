#include "properties.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "ui/window_controls.h"

namespace heikosen::web {

namespace {

void writeBounds(JsonWriter& out, const Bounds& rect) {
    out.field("Left", rect.Left);
    out.field("Top", rect.Top);
    out.field("Width", rect.Width);
    out.field("Height", rect.Height);
}

void writeFont(JsonWriter& out, const FontSpec& font) {
    out.key("Font");
    out.beginObject();
    out.field("Name", font.Name);
    out.field("Size", font.Size);
    out.field("Bold", font.Bold);
    out.field("px", pixelSizeForPoints(font.Size));
    out.endObject();
}

void writeLine(JsonWriter& out, const LineControl& line) {
    out.beginObject();
    out.field("X1", line.X1);
    out.field("Y1", line.Y1);
    out.field("X2", line.X2);
    out.field("Y2", line.Y2);
    out.field("BorderColor", line.BorderColor);
    out.field("BorderStyle", static_cast<int>(line.Style));
    out.field("BorderWidth", line.BorderWidth);
    out.field("Visible", line.Visible);
    out.endObject();
}

void writeLabel(JsonWriter& out, const LabelControl& label) {
    out.beginObject();
    writeBounds(out, Bounds{label.Left, label.Top, label.Width, label.Height});
    out.field("Caption", label.Caption());
    out.field("Visible", label.Visible);
    out.field("AutoSize", label.AutoSize);
    out.field("BackColor", label.BackColor);
    out.field("ForeColor", label.ForeColor);
    writeFont(out, label.Font);
    out.field("TabIndex", label.TabIndex);
    out.endObject();
}

void writeImage(JsonWriter& out, const ImageControl& image) {
    out.beginObject();
    writeBounds(out, Bounds{image.Left, image.Top, image.Width, image.Height});
    out.field("Visible", image.Visible);
    out.field("Picture", letterName(image.Picture));
    out.endObject();
}

void writeShape(JsonWriter& out, const ShapeControl& shape) {
    out.beginObject();
    writeBounds(out, Bounds{shape.Left, shape.Top, shape.Width, shape.Height});
    out.field("Shape", shape.Shape);
    out.field("BorderColor", shape.BorderColor);
    out.field("BorderWidth", shape.BorderWidth);
    out.field("Visible", shape.Visible);
    out.endObject();
}

void writeCommand(JsonWriter& out, const CommandButton& button) {
    out.beginObject();
    out.field("Caption", button.Caption);
    writeBounds(out, button.Rect);
    out.field("TabIndex", button.TabIndex);
    out.field("FontBold", button.FontBold);
    out.field("Enabled", button.Enabled);
    out.field("Visible", button.Visible);
    out.endObject();
}

// An option button or a check box: both carry a Value beside the usual properties.
template <typename Box>
void writeValued(JsonWriter& out, const Box& box) {
    out.beginObject();
    out.field("Caption", box.Caption);
    writeBounds(out, box.Rect);
    out.field("TabIndex", box.TabIndex);
    out.field("Value", box.Value());
    out.field("Enabled", box.Enabled);
    out.field("Visible", box.Visible);
    out.endObject();
}

void writeCanvas(JsonWriter& out, const PictureBox& gamen) {
    out.beginObject();
    writeBounds(out, gamen.Rect);
    out.field("TabIndex", gamen.TabIndex);
    out.field("BorderWidth", gamen.BorderWidth);
    out.field("BackColor", gamen.BackColor);
    out.field("ForeColor", gamen.ForeColor);
    out.field("DrawWidth", gamen.DrawWidth);
    out.field("FontSize", gamen.FontSize);
    out.field("ScaleMode", gamen.ScaleMode);
    out.field("ScaleWidth", gamen.innerWidth());
    out.field("ScaleHeight", gamen.innerHeight());
    out.endObject();
}

template <typename Array>
bool inRange(int index) {
    return index >= Array::kLow && index <= Array::kHigh;
}

const char* kindName(ControlKind kind) {
    switch (kind) {
        case ControlKind::Label:
            return "label";
        case ControlKind::Command:
            return "command";
        case ControlKind::Option:
            return "option";
        case ControlKind::Check:
            return "check";
        case ControlKind::Canvas:
            return "canvas";
    }
    return "";
}

const char* roleName(AccessibleRole role) {
    switch (role) {
        case AccessibleRole::Text:
            return "text";
        case AccessibleRole::Button:
            return "button";
        case AccessibleRole::RadioButton:
            return "radio";
        case AccessibleRole::CheckBox:
            return "checkbox";
        case AccessibleRole::Image:
            return "img";
    }
    return "";
}

// One entry of the window's list as the page lays it out, keeps it up to date
// and gives it to a screen reader.
void writeListed(JsonWriter& out, const WindowControl& c) {
    out.beginObject();
    out.field("kind", kindName(c.kind));
    out.field("id", elementId(c));
    out.field("role", roleName(c.role));
    out.field("name", c.accessibleName);
    out.field("description", c.accessibleDescription);
    out.field("tabStop", c.tabStop);
    out.field("group", c.group);
    out.key("props");
    out.beginObject();
    writeBounds(out, c.rect);
    out.field("Caption", c.caption);
    out.field("Visible", c.visible);
    out.field("Enabled", c.enabled);
    out.field("AutoSize", c.autoSize);
    out.field("BorderWidth", c.borderWidth);
    out.field("Value", c.value);
    out.field("BackColor", c.backColor);
    out.field("ForeColor", c.foreColor);
    out.key("Font");
    out.beginObject();
    out.field("Name", c.font.Name);
    out.field("Bold", c.font.Bold);
    out.field("px", c.fontPixels);
    out.endObject();
    out.endObject();
    out.endObject();
}

}  // namespace

std::string letterName(Letter letter) {
    const std::string file = letterFile(letter);
    return file.substr(0, file.rfind('.'));
}

const char* controlName(CanvasControl control) {
    switch (control) {
        case CanvasControl::Line1:
            return "Line1";
        case CanvasControl::Line2:
            return "Line2";
        case CanvasControl::Line3:
            return "Line3";
        case CanvasControl::Line4:
            return "Line4";
        case CanvasControl::Line5:
            return "Line5";
        case CanvasControl::Line6:
            return "Line6";
        case CanvasControl::Image1:
            return "Image1";
        case CanvasControl::Label2:
            return "Label2";
        case CanvasControl::Label3:
            return "Label3";
        case CanvasControl::Label5:
            return "Label5";
        case CanvasControl::Shape1:
            return "Shape1";
    }
    return "";
}

void writeWindow(JsonWriter& out, const Form1& form) {
    out.beginObject();
    out.field("Caption", form.Caption);
    out.field("Width", kClientWidth);
    out.field("Height", kClientHeight);
    out.field("BackColor", form.BackColor);
    out.key("letters");
    out.beginArray();
    for (const Letter letter : {Letter::Ell, Letter::M, Letter::P, Letter::Q, Letter::R}) {
        out.value(letterName(letter));
    }
    out.endArray();
    out.field("groupName", kOptionGroupName);
    // The figure in words, read out when it changes, and the canvas's keys.
    out.field("canvasWords", form.canvasWords());
    out.field("canvasKeys", Form1::canvasKeyHint());
    out.key("controls");
    out.beginArray();
    for (const WindowControl& c : windowControls(form)) {
        writeListed(out, c);
    }
    out.endArray();
    out.endObject();
}

void writeControl(JsonWriter& out, const Form1& form, std::string_view name, int index) {
    const auto lines = [&](const auto& array) {
        if (inRange<std::decay_t<decltype(array)>>(index)) {
            writeLine(out, array(index));
        } else {
            out.null();
        }
    };
    const auto grown = [&](const LineArray& array) {
        if (index >= 0 && index < array.count()) {
            writeLine(out, array(index));
        } else {
            out.null();
        }
    };
    const auto labels = [&](const auto& array) {
        if (inRange<std::decay_t<decltype(array)>>(index)) {
            writeLabel(out, array(index));
        } else {
            out.null();
        }
    };
    if (name == "Line1") {
        lines(form.Line1);
    } else if (name == "Line2") {
        lines(form.Line2);
    } else if (name == "Line3") {
        lines(form.Line3);
    } else if (name == "Line4") {
        lines(form.Line4);
    } else if (name == "Line5") {
        grown(form.Line5);
    } else if (name == "Line6") {
        grown(form.Line6);
    } else if (name == "Label1") {
        writeLabel(out, form.Label1);
    } else if (name == "Label2") {
        labels(form.Label2);
    } else if (name == "Label3") {
        labels(form.Label3);
    } else if (name == "Label4") {
        labels(form.Label4);
    } else if (name == "Label5") {
        writeLabel(out, form.Label5);
    } else if (name == "Image1" && inRange<decltype(form.Image1)>(index)) {
        writeImage(out, form.Image1(index));
    } else if (name == "Shape1") {
        writeShape(out, form.Shape1);
    } else if (name == "gamen") {
        writeCanvas(out, form.gamen);
    } else if (name == "Option1" && inRange<decltype(form.Option1)>(index)) {
        writeValued(out, form.Option1(index));
    } else if (name == "Option2" && inRange<decltype(form.Option2)>(index)) {
        writeValued(out, form.Option2(index));
    } else if (name == "Check1" && inRange<decltype(form.Check1)>(index)) {
        writeValued(out, form.Check1(index));
    } else if (name.size() == 8 && name.substr(0, 7) == "Command" && name[7] >= '1' &&
               name[7] < '1' + Form1::kCommandCount) {
        writeCommand(out, form.command(name[7] - '0'));
    } else {
        out.null();
    }
}

void writeVariables(JsonWriter& out, const Form1& form) {
    const FigureState& f = form.fig;
    out.beginObject();
    out.field("grabbedHandle", static_cast<int>(form.grabbedHandle));
    out.field("lastX", form.lastX);
    out.field("lastY", form.lastY);
    out.field("memoMode", static_cast<int>(form.memoMode));
    out.field("penDown", static_cast<int>(form.penDown));
    out.field("penColor", static_cast<int>(form.penColor));
    out.field("lineMode", static_cast<int>(form.lineMode));
    out.field("lineDrawing", static_cast<int>(form.lineDrawing));
    out.field("lineSlot", static_cast<int>(form.lineSlot));
    out.field("lineColor", static_cast<int>(form.lineColor));
    out.field("gridShown", static_cast<int>(form.gridShown));
    out.field("extension1Shown", static_cast<int>(form.extension1Shown));
    out.field("extension2Shown", static_cast<int>(form.extension2Shown));
    out.field("heldButtons", form.heldButtons());
    out.field("endRequested", form.endRequested());
    out.field("parallelPY", f.parallelPY);
    out.field("parallelQY", f.parallelQY);
    out.field("parallelRY", f.parallelRY);
    out.field("transLX1", f.transLX1);
    out.field("transLY1", f.transLY1);
    out.field("transLX2", f.transLX2);
    out.field("transLY2", f.transLY2);
    out.field("transMX1", f.transMX1);
    out.field("transMY1", f.transMY1);
    out.field("transMX2", f.transMX2);
    out.field("transMY2", f.transMY2);
    out.field("copyMX1", f.copyMX1);
    out.field("copyMY1", f.copyMY1);
    out.field("copyMX2", f.copyMX2);
    out.field("copyMY2", static_cast<int>(f.copyMY2));
    out.field("pointAX", f.pointAX);
    out.field("pointAPrimeX", f.pointAPrimeX);
    out.field("pointBX", f.pointBX);
    out.field("pointBPrimeX", f.pointBPrimeX);
    out.field("pointCX", f.pointCX);
    out.field("pointCPrimeX", f.pointCPrimeX);
    out.field("copyMGrabX", static_cast<int>(f.copyMGrabX));
    out.endObject();
}

void writeScene(JsonWriter& out, const CanvasScene& scene) {
    out.beginArray();
    for (const CanvasItem& item : scene) {
        out.beginObject();
        out.field("control", controlName(item.control.control));
        out.field("index", item.control.index);
        if (const auto* line = std::get_if<SegmentItem>(&item.shape)) {
            out.field("kind", "line");
            out.field("x1", line->x1);
            out.field("y1", line->y1);
            out.field("x2", line->x2);
            out.field("y2", line->y2);
            out.field("color", line->color);
            out.field("width", line->width);
            out.field("style", line->dashOff > 0 ? "dot" : "solid");
        } else if (const auto* label = std::get_if<TextItem>(&item.shape)) {
            out.field("kind", "label");
            out.field("left", label->box.left);
            out.field("top", label->box.top);
            out.field("width", label->box.width);
            out.field("height", label->box.height);
            out.field("caption", label->caption);
            out.key("font");
            out.beginObject();
            out.field("name", label->font.family);
            out.field("px", label->font.pixelSize);
            out.field("bold", label->font.bold);
            out.endObject();
            out.field("foreColor", label->foreColor);
            out.field("backColor", label->backColor);
            out.field("opaque", label->opaque);
        } else if (const auto* picture = std::get_if<PictureItem>(&item.shape)) {
            out.field("kind", "picture");
            out.field("letter", letterName(picture->letter));
            out.field("left", picture->box.left);
            out.field("top", picture->box.top);
            out.field("width", picture->box.width);
            out.field("height", picture->box.height);
        } else {
            const auto& circle = std::get<CircleItem>(item.shape);
            out.field("kind", "ellipse");
            out.field("left", circle.box.left);
            out.field("top", circle.box.top);
            out.field("width", circle.box.width);
            out.field("height", circle.box.height);
            out.field("color", circle.color);
            out.field("penWidth", circle.width);
        }
        out.endObject();
    }
    out.endArray();
}

}  // namespace heikosen::web
