// The window's controls as one list: where each stands, what it says, what a
// screen reader calls it, and the keys of the Tab order and the option group.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/form1.h"
#include "ui/window_controls.h"

namespace heikosen {
namespace {

class WindowList : public ::testing::Test {
  protected:
    void SetUp() override { form.Form_Load(); }

    // The position of a control in the list, by its element id.
    int at(const std::string& id) const {
        const WindowControls controls = windowControls(form);
        for (std::size_t i = 0; i < controls.size(); ++i) {
            if (elementId(controls[i]) == id) {
                return static_cast<int>(i);
            }
        }
        ADD_FAILURE() << "no control " << id;
        return -1;
    }
    std::string idAt(int position) const {
        const WindowControls controls = windowControls(form);
        return position < 0 ? "none" : elementId(controls.at(static_cast<std::size_t>(position)));
    }
    // Presses a key on the control `id` (empty: none has the focus) and does what
    // the rules say, as a front end does; returns the id of the control that then
    // has the focus.
    std::string press(const std::string& id, ControlKey key, bool modified = false,
                      bool repeat = false) {
        const WindowControls controls = windowControls(form);
        const int focused = id.empty() ? -1 : at(id);
        const KeyOutcome outcome = controlKey(controls, focused, {key, modified, repeat});
        lastHandled = outcome.handled;
        if (outcome.activate >= 0) {
            activateControl(form, controls.at(static_cast<std::size_t>(outcome.activate)));
        }
        return outcome.focus >= 0 ? idAt(outcome.focus) : id;
    }

    Form1 form;
    bool lastHandled = false;
};

TEST_F(WindowList, EveryControlInTabOrderWithItsBoxCaptionRoleAndName) {
    using K = ControlKind;
    using R = AccessibleRole;
    const struct Row {
        const char* id;
        ControlKind kind;
        Bounds rect;
        const char* caption;
        int tab;
        AccessibleRole role;
        const char* name;
    } rows[] = {
        {"Label1", K::Label, {8, 8, 125, 33}, "相似と比", 0, R::Text, "相似と比"},
        {"gamen", K::Canvas, {8, 48, 806, 630}, "", 1, R::Image, "平行線の図"},
        {"Image1_0", K::Picture, {410, 185, 24, 34}, "", 1, R::ToggleButton, "直線ℓの延長"},
        {"Image1_1", K::Picture, {296.666656F, 185, 35, 24}, "", 1, R::ToggleButton, "直線mの延長"},
        {"Command1", K::Command, {808, 8, 73, 33}, "初期画面", 2, R::Button, "初期画面に戻す"},
        {"Command2", K::Command, {824, 640, 57, 33}, "終了", 3, R::Button, "終了"},
        {"Command3", K::Command, {464, 8, 49, 33}, "メモ", 8, R::Button, "メモ（ペンで書き込む）"},
        {"Option1_0", K::Option, {560, 24, 57, 17}, "赤", 9, R::RadioButton, "細字 赤"},
        {"Option1_1", K::Option, {600, 24, 57, 17}, "緑", 10, R::RadioButton, "細字 緑"},
        {"Option1_2", K::Option, {640, 24, 57, 17}, "青", 11, R::RadioButton, "細字 青"},
        {"Option1_3",
         K::Option,
         {680, 24, 81, 17},
         "消しゴム",
         12,
         R::RadioButton,
         "細字 消しゴム"},
        {"Label4_0", K::Label, {528, 10, 24, 12}, "太字", 13, R::Text, "太字"},
        {"Label4_1", K::Label, {528, 27, 24, 12}, "細字", 14, R::Text, "細字"},
        {"Option1_4", K::Option, {560, 8, 57, 17}, "赤", 15, R::RadioButton, "太字 赤"},
        {"Option1_5", K::Option, {600, 8, 57, 17}, "緑", 16, R::RadioButton, "太字 緑"},
        {"Option1_6", K::Option, {640, 8, 57, 17}, "青", 17, R::RadioButton, "太字 青"},
        {"Option1_7", K::Option, {680, 8, 81, 17}, "消しゴム", 18, R::RadioButton, "太字 消しゴム"},
        {"Command4", K::Command, {824, 56, 57, 33}, "方眼", 22, R::Button, "方眼の表示"},
        {"Command5", K::Command, {216, 8, 49, 33}, "直線", 23, R::Button, "直線を引く"},
        {"Check1_0", K::Check, {280, 24, 25, 17}, "1", 24, R::CheckBox, "直線1"},
        {"Check1_1", K::Check, {312, 24, 25, 17}, "2", 25, R::CheckBox, "直線2"},
        {"Check1_2", K::Check, {344, 24, 25, 17}, "3", 26, R::CheckBox, "直線3"},
        {"Check1_3", K::Check, {376, 24, 25, 17}, "4", 27, R::CheckBox, "直線4"},
        {"Check1_4", K::Check, {408, 24, 25, 17}, "5", 28, R::CheckBox, "直線5"},
        {"Option2_0", K::Option, {280, 8, 33, 17}, "赤", 29, R::RadioButton, "直線の色 赤"},
        {"Option2_1", K::Option, {320, 8, 33, 17}, "緑", 30, R::RadioButton, "直線の色 緑"},
        {"Option2_2", K::Option, {360, 8, 33, 17}, "青", 31, R::RadioButton, "直線の色 青"},
        {"Option2_3", K::Option, {400, 8, 33, 17}, "白", 32, R::RadioButton, "直線の色 白"},
        {"Command6", K::Command, {824, 592, 57, 33}, "印刷", 34, R::Button, "印刷"},
    };
    const WindowControls controls = windowControls(form);
    ASSERT_EQ(controls.size(), std::size(rows));
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const WindowControl& c = controls[i];
        const Row& row = rows[i];
        SCOPED_TRACE(row.id);
        EXPECT_EQ(elementId(c), row.id);
        EXPECT_EQ(c.kind, row.kind);
        EXPECT_EQ(c.rect, row.rect);
        EXPECT_EQ(c.caption, row.caption);
        EXPECT_EQ(c.tabIndex, row.tab);
        EXPECT_EQ(c.role, row.role);
        EXPECT_EQ(c.accessibleName, row.name);
        // The option buttons are one group, and nothing else is in it.
        EXPECT_EQ(c.group, row.kind == K::Option ? 0 : -1);
        EXPECT_TRUE(c.visible);
        // Only the canvas says more than its name: the figure in words.
        EXPECT_EQ(c.accessibleDescription,
                  row.kind == K::Canvas ? form.canvasDescription() : std::string());
    }
}

TEST_F(WindowList, FontsColoursAndStateFollowTheForm) {
    const WindowControls before = windowControls(form);
    const WindowControl& title = before.at(static_cast<std::size_t>(at("Label1")));
    EXPECT_EQ(title.font, (FontSpec{"ＭＳ Ｐゴシック", 24, true}));
    EXPECT_EQ(title.fontPixels, 32);
    EXPECT_EQ(title.backColor, 0x008000U);
    EXPECT_EQ(title.foreColor, 0x00FF00U);
    EXPECT_TRUE(title.autoSize);
    EXPECT_EQ(before.at(static_cast<std::size_t>(at("gamen"))).borderWidth, 2);
    const WindowControl& memo = before.at(static_cast<std::size_t>(at("Command3")));
    EXPECT_EQ(memo.font, (FontSpec{"ＭＳ Ｐゴシック", 9, false}));
    EXPECT_EQ(memo.fontPixels, 12);
    // The page has fonts of its own for the two kinds of typeface of the form.
    EXPECT_STREQ(heikosen::typefaceOf(memo.font.Name), "gothic");
    EXPECT_STREQ(heikosen::typefaceOf(form.Label2(0).Font.Name), "mincho");
    const WindowControl& white = before.at(static_cast<std::size_t>(at("Option2_3")));
    EXPECT_EQ(white.value, 1);
    EXPECT_FALSE(white.enabled);
    EXPECT_EQ(white.backColor, 0xC0FFC0U);
    EXPECT_EQ(white.fontPixels, 12);
    // An auto-sized label is as wide as its widest line, one line high per
    // line: a front end measures one line at a time (here a byte a pixel).
    struct Bytes final : TextMeasurer {
        double width(const std::string& text, const TextFont&) const override {
            return text.find('\n') == std::string::npos ? static_cast<double>(text.size()) : -1e6;
        }
    } bytes;
    form.setTextMeasurer(&bytes);
    form.Label1.setCaption("ab\nあいう\n");
    EXPECT_EQ(static_cast<Bounds>(form.Label1), (Bounds{title.rect.Left, title.rect.Top, 9, 96}));
    form.setTextMeasurer(nullptr);

    form.userClickCommand(3);  // メモ: its caption bold, the pens enabled, the thin red one on
    const WindowControls after = windowControls(form);
    EXPECT_TRUE(after.at(static_cast<std::size_t>(at("Command3"))).font.Bold);
    EXPECT_EQ(after.at(static_cast<std::size_t>(at("Option1_0"))).value, 1);
    EXPECT_TRUE(after.at(static_cast<std::size_t>(at("Option1_0"))).enabled);
    EXPECT_EQ(after.at(static_cast<std::size_t>(at("Option2_3"))).value, 0);
    form.markerBox(2).setValue(1);
    EXPECT_EQ(windowControls(form).at(static_cast<std::size_t>(at("Check1_2"))).value, 1);
}

TEST_F(WindowList, EachControlClickedThroughTheListReachesItsHandler) {
    const auto click = [this](const std::string& id) {
        activateControl(form, windowControls(form).at(static_cast<std::size_t>(at(id))));
    };
    click("Command4");
    EXPECT_EQ(form.gridShown, 1);
    click("Command3");
    EXPECT_EQ(form.memoMode, 1);
    click("Option1_7");
    EXPECT_EQ(form.penColor, 15);
    EXPECT_TRUE(form.Shape1.Visible);
    click("Option2_0");  // disabled while the memo is on: nothing happens
    EXPECT_TRUE(form.Option1(7).Value());
    click("Command5");
    EXPECT_EQ(form.lineMode, 1);
    click("Option2_1");
    EXPECT_EQ(form.lineColor, 10);
    click("Check1_4");
    EXPECT_EQ(form.markerBox(4).Value(), 1);
    click("Label1");
    click("gamen");
    EXPECT_EQ(form.lineMode, 1);
    click("Command1");
    EXPECT_EQ(form.lineMode, 0);
    EXPECT_EQ(form.gridShown, 0);
    // The picture of m switches its extension, as a click on it does, and says so.
    click("Image1_1");
    EXPECT_EQ(form.extension2Shown, 1);
    EXPECT_TRUE(form.Line2(2).Visible);
    EXPECT_EQ(windowControls(form).at(static_cast<std::size_t>(at("Image1_1"))).value, 1);
    EXPECT_EQ(windowControls(form).at(static_cast<std::size_t>(at("Image1_0"))).value, 0);
    click("Image1_1");
    EXPECT_EQ(form.extension2Shown, 0);
    click("Command2");
    EXPECT_TRUE(form.endRequested());
}

TEST_F(WindowList, TabWalksTheStopsAndTheOptionGroupIsOneStop) {
    // The options are disabled until a tool is on: Tab passes over them.
    const std::vector<std::string> plain = {"Command1", "Command2", "Command3", "Command4",
                                            "Command5", "Check1_0", "Check1_1", "Check1_2",
                                            "Check1_3", "Check1_4", "Command6", "gamen"};
    std::string focus = "gamen";
    for (const std::string& next : plain) {
        focus = press(focus, ControlKey::Tab);
        EXPECT_TRUE(lastHandled);
        EXPECT_EQ(focus, next);
    }
    EXPECT_EQ(press("gamen", ControlKey::BackTab), "Command6");
    EXPECT_EQ(press("", ControlKey::Tab), "gamen");
    EXPECT_EQ(press("", ControlKey::BackTab), "Command6");
    // Control+Tab is not the controls' key.
    EXPECT_EQ(press("Command1", ControlKey::Tab, true), "Command1");
    EXPECT_FALSE(lastHandled);

    // Memo on: the group is entered at its selected pen, one stop both ways.
    form.userClickCommand(3);
    EXPECT_EQ(press("Command3", ControlKey::Tab), "Option1_0");
    EXPECT_EQ(press("Option1_0", ControlKey::Tab), "Command4");
    EXPECT_EQ(press("Command4", ControlKey::BackTab), "Option1_0");
    form.userClickOption1(6);
    EXPECT_EQ(press("Command3", ControlKey::Tab), "Option1_6");
    EXPECT_EQ(press("Command4", ControlKey::BackTab), "Option1_6");
    // A selected button that cannot take the focus gives the stop to the first that can.
    form.Option1(6).Enabled = false;
    EXPECT_EQ(press("Command3", ControlKey::Tab), "Option1_0");
    form.Option1(0).Visible = false;
    EXPECT_EQ(press("Command3", ControlKey::Tab), "Option1_1");
    // The straight-line tool: "白" selected, the stop among the line colours.
    form.Option1(6).Enabled = true;
    form.Option1(0).Visible = true;
    form.userClickCommand(5);
    EXPECT_EQ(press("Command3", ControlKey::Tab), "Command4");
    EXPECT_EQ(press("Check1_4", ControlKey::Tab), "Option2_3");
    int stops = 0;
    for (const WindowControl& c : windowControls(form)) {
        stops += c.group == 0 && c.tabStop ? 1 : 0;
    }
    EXPECT_EQ(stops, 1);
}

TEST_F(WindowList, ArrowsGoRoundTheEnabledOptionsAndSelectThem) {
    form.userClickCommand(3);  // the pens enabled, the line colours not
    const struct {
        ControlKey key;
        const char* lands;
        std::int16_t penColor;
    } steps[] = {
        {ControlKey::Right, "Option1_1", 10}, {ControlKey::Down, "Option1_2", 9},
        {ControlKey::Up, "Option1_1", 10},    {ControlKey::Left, "Option1_0", 12},
        {ControlKey::Left, "Option1_7", 15},  {ControlKey::Right, "Option1_0", 12},
        {ControlKey::Down, "Option1_1", 10},
    };
    std::string focus = "Option1_0";
    for (const auto& step : steps) {
        focus = press(focus, step.key);
        SCOPED_TRACE(step.lands);
        EXPECT_TRUE(lastHandled);
        EXPECT_EQ(focus, step.lands);
        EXPECT_EQ(form.penColor, step.penColor);
        EXPECT_EQ(form.selectedOptionCount(), 1);
        EXPECT_EQ(windowControls(form).at(static_cast<std::size_t>(at(focus))).value, 1);
    }
    // Shift with an arrow, and an arrow on the canvas, are not the window's; on
    // a button or a check box an arrow is taken and does nothing.
    EXPECT_EQ(press("Option1_1", ControlKey::Right, true), "Option1_1");
    EXPECT_FALSE(lastHandled);
    for (const char* name : {"Command1", "Check1_0"}) {
        EXPECT_EQ(press(name, ControlKey::Down), name);
        EXPECT_TRUE(lastHandled);
    }
    EXPECT_EQ(press("gamen", ControlKey::Left), "gamen");
    EXPECT_FALSE(lastHandled);
    // With one enabled button the arrows stay on it.
    for (int i = 1; i < 8; ++i) {
        form.Option1(i).Enabled = false;
    }
    form.userClickOption1(0);
    EXPECT_EQ(press("Option1_0", ControlKey::Right), "Option1_0");
    EXPECT_TRUE(lastHandled);
    EXPECT_TRUE(form.Option1(0).Value());
}

TEST_F(WindowList, EnterAndSpaceClickButtonsSpaceTheBoxesOncePerPress) {
    press("Command4", ControlKey::Enter);
    EXPECT_TRUE(lastHandled);
    EXPECT_EQ(form.gridShown, 1);
    press("Command4", ControlKey::Enter, false, true);  // the key held: no second click
    EXPECT_TRUE(lastHandled);
    EXPECT_EQ(form.gridShown, 1);
    press("Command4", ControlKey::Space);
    EXPECT_EQ(form.gridShown, 0);
    // With a modifier the key is taken and clicks nothing.
    for (const ControlKey key : {ControlKey::Enter, ControlKey::Space}) {
        press("Command4", key, true);
        EXPECT_TRUE(lastHandled);
        EXPECT_EQ(form.gridShown, 0);
    }
    press("Check1_1", ControlKey::Space, true);
    EXPECT_TRUE(lastHandled);
    EXPECT_EQ(form.markerBox(1).Value(), 0);

    press("Check1_1", ControlKey::Space);
    EXPECT_EQ(form.markerBox(1).Value(), 1);
    press("Check1_1", ControlKey::Space, false, true);
    EXPECT_EQ(form.markerBox(1).Value(), 1);
    press("Check1_1", ControlKey::Enter);  // Enter is not a check box's key
    EXPECT_FALSE(lastHandled);
    EXPECT_EQ(form.markerBox(1).Value(), 1);
    press("Check1_1", ControlKey::Space);
    EXPECT_EQ(form.markerBox(1).Value(), 0);

    form.userClickCommand(3);
    form.userClickOption1(2);
    press("Option1_5", ControlKey::Space);
    EXPECT_TRUE(form.Option1(5).Value());
    // The canvas and the labels keep Enter and Space for themselves.
    press("gamen", ControlKey::Space);
    EXPECT_FALSE(lastHandled);
    press("gamen", ControlKey::Enter);
    EXPECT_FALSE(lastHandled);
    EXPECT_EQ(form.memoMode, 1);
}

TEST_F(WindowList, TheCanvasTakesItsOwnKeysAloneOrWithShift) {
    const WindowControls controls = windowControls(form);
    const int canvas = at("gamen");
    // Control+P is not the canvas's key, nor is P on a button.
    EXPECT_EQ(windowKey(form, controls, canvas, ControlKey::P, false, true, false), KeyOutcome{});
    EXPECT_EQ(windowKey(form, controls, at("Command1"), ControlKey::P, false, false, false),
              KeyOutcome{});
    EXPECT_EQ(form.keyboardHandle(), kHandleNone);
    EXPECT_EQ(windowKey(form, controls, canvas, ControlKey::P, true, false, false),
              (KeyOutcome{true, -1, -1, true}));
    EXPECT_EQ(form.keyboardHandle(), kHandleParallelP);
    // Tab goes on from the canvas as from any control; Escape lets go.
    const KeyOutcome tab = windowKey(form, controls, canvas, ControlKey::Tab, false, false, false);
    EXPECT_TRUE(tab.handled);
    EXPECT_FALSE(tab.canvas);
    EXPECT_TRUE(windowKey(form, controls, canvas, ControlKey::Escape, false, false, false).canvas);
    EXPECT_EQ(form.keyboardHandle(), kHandleNone);
}

}  // namespace
}  // namespace heikosen
