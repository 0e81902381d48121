#include "ui/form1.h"

#include <cmath>
#include <stdexcept>

#include "ui/canvas_scene.h"

namespace heikosen {

namespace {

const char* const kGothic = "ＭＳ Ｐゴシック";
const char* const kMincho = "ＭＳ Ｐ明朝";

Bounds px(float left, float top, float width, float height) {
    return Bounds{left, top, width, height};
}

LineControl designLine(float x, float y1, float y2, Rgb color, int width) {
    LineControl line;
    line.X1 = x;
    line.Y1 = y1;
    line.X2 = x;
    line.Y2 = y2;
    line.BorderColor = color;
    line.BorderWidth = width;
    return line;
}

void setButton(CommandButton& button, const char* caption, Bounds rect, int tab) {
    button.Caption = caption;
    button.Rect = rect;
    button.TabIndex = tab;
}

// A label of the strip along the top, auto-sized.
void setStripLabel(LabelControl& label, const char* caption, Bounds rect, Rgb back, Rgb fore,
                   const FontSpec& font, int tab) {
    label.setCaption(caption);
    static_cast<Bounds&>(label) = rect;
    label.AutoSize = true;
    label.BackColor = back;
    label.ForeColor = fore;
    label.Font = font;
    label.TabIndex = tab;
}

}  // namespace

Form1::Form1() {
    // The strip along the top.
    setStripLabel(Label1, "相似と比", px(8, 8, 125, 33), kDarkGreen, kBrightGreen,
                  FontSpec{kGothic, 24, true}, 0);
    const char* const rowCaptions[2] = {"太字", "細字"};
    for (int i = 0; i < 2; ++i) {
        setStripLabel(Label4(i), rowCaptions[i], px(528, i == 0 ? 10 : 27, 24, 12), kLightGreen,
                      kBlack, FontSpec{kGothic, 9, false}, 13 + i);
    }

    setButton(Command5, "直線", px(216, 8, 49, 33), 23);
    setButton(Command3, "メモ", px(464, 8, 49, 33), 8);
    setButton(Command1, "初期画面", px(808, 8, 73, 33), 2);
    setButton(Command4, "方眼", px(824, 56, 57, 33), 22);
    setButton(Command6, "印刷", px(824, 592, 57, 33), 34);
    setButton(Command2, "終了", px(824, 640, 57, 33), 3);

    const char* const lineColours[4] = {"赤", "緑", "青", "白"};
    for (int i = 0; i < 4; ++i) {
        OptionButton& option = Option2(i);
        option.Caption = lineColours[i];
        option.Rect = px(280.0F + 40.0F * static_cast<float>(i), 8, 33, 17);
        option.TabIndex = 29 + i;
    }
    for (int i = 0; i < kMarkerCount; ++i) {
        CheckBox& box = markerBox(i);
        box.Caption = std::to_string(i + 1);
        box.Rect = px(280.0F + 32.0F * static_cast<float>(i), 24, 25, 17);
        box.TabIndex = 24 + i;
    }
    const char* const penCaptions[4] = {"赤", "緑", "青", "消しゴム"};
    for (int i = 0; i < 8; ++i) {
        OptionButton& option = Option1(i);
        const int column = i % 4;
        const bool thick = i >= 4;
        option.Caption = penCaptions[column];
        option.Rect = px(560.0F + 40.0F * static_cast<float>(column), thick ? 8.0F : 24.0F,
                         column == 3 ? 81.0F : 57.0F, 17);
        option.TabIndex = thick ? 15 + column : 9 + column;
    }

    // The canvas.
    gamen.Rect = kCanvasBounds;
    gamen.TabIndex = 1;
    gamen.BackColor = kWhite;
    gamen.BorderWidth = 2;

    Label5.AutoSize = true;
    Label5.Left = 24;
    Label5.Top = 16;
    Label5.BackColor = kWhite;
    Label5.ForeColor = kBlack;
    Label5.Font = FontSpec{kGothic, 12, false};

    Shape1.Left = 512;
    Shape1.Top = 344;
    Shape1.Width = 57;
    Shape1.Height = 57;
    Shape1.Shape = 3;
    Shape1.BorderColor = kBlack;
    Shape1.BorderWidth = 1;

    for (int i = 0; i < 3; ++i) {
        Line1(i) = designLine(592.0F + 16.0F * static_cast<float>(i), 352, 424, kBlack, 4);
    }
    for (int i = 3; i < 5; ++i) {
        Line1(i) = designLine(592.0F + 16.0F * static_cast<float>(i - 3), 440, 512, kBlack, 4);
    }
    Line2(0) = designLine(672, 352, 424, kRed, 4);
    Line2(1) = designLine(696, 352, 424, kBlack, 4);
    Line2(2) = designLine(720, 352, 424, kBlack, 4);
    for (int i = 0; i < 6; ++i) {
        Line3(i) = designLine(688.0F + 16.0F * static_cast<float>(i), 440, 512, kBlue, 2);
    }
    for (int i = 0; i < kMarkerCount; ++i) {
        markerLine(i) = designLine(592.0F + 16.0F * static_cast<float>(i), 544, 616, kRed, 4);
    }
    Line5(0) = LineControl{696, 552, 760, 552, kGrey, BorderStyle::Solid, 1, true};
    Line6(0) = LineControl{712, 568, 712, 608, kGrey, BorderStyle::Solid, 1, true};

    const char* const pointCaptions[6] = {"Ａ", "Ｂ", "Ｃ", "Ａ'", "Ｂ'", "Ｃ'"};
    for (int i = 0; i < 6; ++i) {
        LabelControl& label = Label2(i);
        label.AutoSize = true;
        label.BackColor = kWhite;
        label.ForeColor = kBlack;
        label.Font = FontSpec{kMincho, 21.75F, true};
        label.setCaption(pointCaptions[i]);
        label.Height = 29;
    }
    {
        LabelControl& label = Label3(1);
        label.AutoSize = true;
        label.BackColor = kWhite;
        label.ForeColor = kBlack;
        label.Font = FontSpec{kMincho, 21.75F, true};
        label.setCaption("Ｇ");
        label.Height = 29;
    }

    const Letter letters[5] = {Letter::Ell, Letter::M, Letter::P, Letter::Q, Letter::R};
    const float widths[5] = {24, 35, 24, 24, 24};
    const float heights[5] = {34, 24, 34, 31, 27};
    for (int i = 0; i < 5; ++i) {
        ImageControl& image = Image1(i);
        image.Picture = letters[i];
        image.Width = widths[i];
        image.Height = heights[i];
    }

    // One exclusive group of all twelve option buttons; the thin red pen is the
    // option selected when the window is created.
    for (OptionButton& option : Option1) {
        options_.add(option);
    }
    for (OptionButton& option : Option2) {
        options_.add(option);
    }
    options_.preset(Option1(0));

    wireEvents();
    setTextMeasurer(&estimatingMeasurer_);
}

void Form1::wireEvents() {
    for (int i = 0; i < 8; ++i) {
        Option1(i).Click = [this, i] { Option1_Click(i); };
    }
    for (int i = 0; i < 4; ++i) {
        Option2(i).Click = [this, i] { Option2_Click(i); };
    }
    for (int i = 0; i < kMarkerCount; ++i) {
        markerBox(i).Click = [this, i] { Check1_Click(i); };
    }
}

void Form1::setTextMeasurer(const TextMeasurer* measurer) {
    const TextMeasurer* use = measurer != nullptr ? measurer : &estimatingMeasurer_;
    // The title and the row names keep their laid-out size; the labels on the
    // canvas take the size of their captions.
    Label1.setMeasurer(use);
    Label4(0).setMeasurer(use);
    Label4(1).setMeasurer(use);
    for (LabelControl& label : Label2) {
        label.setMeasurer(use);
        label.autoSize();
    }
    Label3(1).setMeasurer(use);
    Label3(1).autoSize();
    Label5.setMeasurer(use);
    Label5.autoSize();
}

CommandButton& Form1::command(int number) {
    CommandButton* const buttons[kCommandCount] = {&Command1, &Command2, &Command3,
                                                   &Command4, &Command5, &Command6};
    if (number < 1 || number > kCommandCount) {
        throw std::out_of_range("command number");
    }
    return *buttons[number - 1];
}

const CommandButton& Form1::command(int number) const {
    return const_cast<Form1*>(this)->command(number);
}

void Form1::userClickCommand(int number) {
    using Click = void (*)(Form1&);
    static constexpr Click kClicks[kCommandCount] = {
        [](Form1& form) { form.Command1_Click(); }, [](Form1& form) { form.Command2_Click(); },
        [](Form1& form) { form.Command3_Click(); }, [](Form1& form) { form.Command4_Click(); },
        [](Form1& form) { form.Command5_Click(); }, [](Form1& form) { form.Command6_Click(); },
    };
    if (number < 1 || number > kCommandCount || !command(number).Enabled) {
        return;
    }
    kClicks[number - 1](*this);
}

void Form1::userClickOption1(int index) {
    if (index < 0 || index > 7 || !Option1(index).Enabled) {
        return;
    }
    Option1(index).setValue(true);
}

void Form1::userClickOption2(int index) {
    if (index < 0 || index > 3 || !Option2(index).Enabled) {
        return;
    }
    Option2(index).setValue(true);
}

void Form1::userClickCheck1(int index) {
    if (index < 0 || index >= kMarkerCount || !markerBox(index).Enabled) {
        return;
    }
    CheckBox& box = markerBox(index);
    box.setValue(box.Value() == 1 ? 0 : 1);
}

CanvasHit Form1::hitTest(float x, float y) const {
    const CanvasScene scene = canvasScene(*this);
    const CanvasItem* item = itemAt(scene, x, y);
    if (item == nullptr) {
        return {};
    }
    switch (item->control.control) {
        case CanvasControl::Label2:
            return {CanvasHit::Kind::Label2, item->control.index};
        case CanvasControl::Label3:
            return {CanvasHit::Kind::Label3, item->control.index};
        case CanvasControl::Label5:
            return {CanvasHit::Kind::Label5, 0};
        case CanvasControl::Image1:
            return {CanvasHit::Kind::Image1, item->control.index};
        default:
            return {};
    }
}

namespace {

bool validButton(int button) {
    return button == kLeftButton || button == kRightButton || button == kMiddleButton;
}

bool finitePoint(float x, float y) {
    return std::isfinite(x) && std::isfinite(y);
}

// The canvas's sunken border lies around its drawing area and is no part of it.
bool inDrawingArea(const PictureBox& canvas, float x, float y) {
    return x >= 0 && y >= 0 && x < canvas.innerWidth() && y < canvas.innerHeight();
}

}  // namespace

void Form1::pointerPress(int button, float x, float y) {
    // A press on the border grabs nothing, draws nothing and captures nothing; a
    // drag that started inside still follows the pointer over it.
    if (!validButton(button) || !finitePoint(x, y) || (heldButtons_ & button) != 0 ||
        !inDrawingArea(gamen, x, y)) {
        return;
    }
    // The pointer takes over from the keyboard.
    letGoOfKeyboardHandle();
    if (heldButtons_ == 0) {
        captureTarget_ = hitTest(x, y);
    }
    heldButtons_ |= button;
    if (captureTarget_.kind == CanvasHit::Kind::Canvas) {
        gamen_MouseDown(button, 0, x, y);
    }
}

void Form1::pointerMove(float x, float y) {
    if (!finitePoint(x, y)) {
        return;
    }
    letGoOfKeyboardHandle();
    const CanvasHit target = heldButtons_ != 0 ? captureTarget_ : hitTest(x, y);
    if (target.kind == CanvasHit::Kind::Canvas) {
        gamen_MouseMove(heldButtons_, 0, x, y);
    }
}

void Form1::pointerRelease(int button, float x, float y) {
    if (!validButton(button) || !finitePoint(x, y) || (heldButtons_ & button) == 0) {
        return;
    }
    heldButtons_ &= ~button;
    if (captureTarget_.kind == CanvasHit::Kind::Canvas) {
        gamen_MouseUp(button, 0, x, y);
        return;
    }
    // A picture is clicked when the left button goes up over the picture it went down on.
    if (captureTarget_.kind == CanvasHit::Kind::Image1 && button == kLeftButton &&
        hitTest(x, y) == captureTarget_) {
        Image1_Click(captureTarget_.index);
    }
}

}  // namespace heikosen
