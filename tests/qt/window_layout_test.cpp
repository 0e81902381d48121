// The window's controls: where they stand, what they say, the keyboard order,
// the title and the size of the client area.

#include <QAccessible>
#include <QCheckBox>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QTest>
#include <vector>

#include "ui/window_controls.h"
#include "window_fixture.h"

namespace heikosen::qt::testing {
namespace {

struct Expected {
    QWidget* widget;
    QRect rect;
    QString caption;
};

QString captionOf(QWidget* widget) {
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        return button->text();
    }
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        return label->text();
    }
    return {};
}

using WindowLayout = WindowTest;

TEST_F(WindowLayout, EveryControlStandsAtItsRectangleWithItsCaption) {
    MainWindow& w = window();
    const std::vector<Expected> table = {
        {w.label1(), {8, 8, 125, 33}, "相似と比"},    {w.command(5), {216, 8, 49, 33}, "直線"},
        {w.option2(0), {280, 8, 33, 17}, "赤"},       {w.option2(1), {320, 8, 33, 17}, "緑"},
        {w.option2(2), {360, 8, 33, 17}, "青"},       {w.option2(3), {400, 8, 33, 17}, "白"},
        {w.check1(0), {280, 24, 25, 17}, "1"},        {w.check1(1), {312, 24, 25, 17}, "2"},
        {w.check1(2), {344, 24, 25, 17}, "3"},        {w.check1(3), {376, 24, 25, 17}, "4"},
        {w.check1(4), {408, 24, 25, 17}, "5"},        {w.command(3), {464, 8, 49, 33}, "メモ"},
        {w.label4(0), {528, 10, 24, 12}, "太字"},     {w.label4(1), {528, 27, 24, 12}, "細字"},
        {w.option1(4), {560, 8, 57, 17}, "赤"},       {w.option1(5), {600, 8, 57, 17}, "緑"},
        {w.option1(6), {640, 8, 57, 17}, "青"},       {w.option1(7), {680, 8, 81, 17}, "消しゴム"},
        {w.option1(0), {560, 24, 57, 17}, "赤"},      {w.option1(1), {600, 24, 57, 17}, "緑"},
        {w.option1(2), {640, 24, 57, 17}, "青"},      {w.option1(3), {680, 24, 81, 17}, "消しゴム"},
        {w.command(1), {808, 8, 73, 33}, "初期画面"}, {w.canvas(), {8, 48, 806, 630}, ""},
        {w.command(4), {824, 56, 57, 33}, "方眼"},    {w.command(6), {824, 592, 57, 33}, "印刷"},
        {w.command(2), {824, 640, 57, 33}, "終了"},
    };
    for (const Expected& e : table) {
        SCOPED_TRACE(e.caption.toStdString());
        ASSERT_NE(e.widget, nullptr);
        EXPECT_EQ(e.widget->parentWidget(), &w);
        EXPECT_EQ(e.widget->geometry(), e.rect);
        EXPECT_EQ(captionOf(e.widget), e.caption);
        EXPECT_TRUE(e.widget->isVisible());
    }
    EXPECT_EQ(w.canvas()->drawingArea(), QRect(2, 2, 802, 626));
    // The indicators are 13 px square, as on the page.
    for (const auto& [choice, element] :
         {std::pair<QWidget*, QStyle::SubElement>{w.option1(0), QStyle::SE_RadioButtonIndicator},
          {w.check1(0), QStyle::SE_CheckBoxIndicator}}) {
        QStyleOptionButton option;
        option.initFrom(choice);
        EXPECT_EQ(choice->style()->subElementRect(element, &option, choice).size(), QSize(13, 13));
    }
}

TEST_F(WindowLayout, TitleAndClientAreaOpeningAtTheLaidOutSize) {
    EXPECT_EQ(window().windowTitle(), QString("平行線と線分の比 (by Tomiraku)"));
    EXPECT_EQ(window().size(), QSize(891, 687));
    // It can be made larger without bound, and smaller down to half.
    EXPECT_EQ(window().minimumSize(), QSize(446, 344));
    EXPECT_EQ(window().maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
}

TEST_F(WindowLayout, TabOrderFollowsTheTabColumn) {
    MainWindow& w = window();
    // gamen 1, 初期画面 2, 終了 3, メモ 8, thin pens 9-12, thick pens 15-18,
    // 方眼 22, 直線 23, boxes 24-28, line colours 29-32, 印刷 34.
    const std::vector<QWidget*> expected = {
        w.canvas(),   w.command(1), w.command(2), w.command(3), w.option1(0), w.option1(1),
        w.option1(2), w.option1(3), w.option1(4), w.option1(5), w.option1(6), w.option1(7),
        w.command(4), w.command(5), w.check1(0),  w.check1(1),  w.check1(2),  w.check1(3),
        w.check1(4),  w.option2(0), w.option2(1), w.option2(2), w.option2(3), w.command(6),
    };
    // The option buttons keep their places in the chain, though only one of them
    // at a time is a stop of the Tab key.
    std::vector<QWidget*> chain;
    QWidget* at = w.canvas();
    do {
        if (at->focusPolicy() != Qt::NoFocus && at->window() == &w) {
            chain.push_back(at);
        }
        at = at->nextInFocusChain();
    } while (at != w.canvas() && chain.size() < 100);
    EXPECT_EQ(chain, expected);
}

TEST_F(WindowLayout, TabKeyWalksTheEnabledControlsInOrder) {
    window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    window().canvas()->setFocus(Qt::TabFocusReason);
    // The pen and line colour options are disabled until their tool is on.
    const std::vector<QWidget*> expected = {
        window().command(1), window().command(2), window().command(3), window().command(4),
        window().command(5), window().check1(0),  window().check1(1),  window().check1(2),
        window().check1(3),  window().check1(4),  window().command(6), window().canvas(),
    };
    for (QWidget* next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next);
    }
}

TEST_F(WindowLayout, KeysClickTheButtonsAndWalkTheOptionGroup) {
    MainWindow& w = window();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    auto key = [](Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), k, modifiers);
    };

    // Enter, on the keypad too, and Space click the command button with the focus.
    w.command(4)->setFocus(Qt::TabFocusReason);
    key(Qt::Key_Return);
    EXPECT_EQ(form().gridShown, 1);
    key(Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(form().gridShown, 0);
    key(Qt::Key_Space);
    EXPECT_EQ(form().gridShown, 1);

    // Memo on: Tab from "メモ" enters the option group at its selected pen, the
    // thin red one.
    w.command(3)->setFocus(Qt::TabFocusReason);
    key(Qt::Key_Return);
    ASSERT_EQ(form().memoMode, 1);
    key(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), w.option1(0));

    // The arrows go to the next enabled button round the group and select it,
    // which runs its Click; the line colours are disabled and passed over.
    const struct {
        Qt::Key key;
        int option;
        std::int16_t penColor;
        bool eraserShown;
    } steps[] = {
        {Qt::Key_Right, 1, 10, false}, {Qt::Key_Down, 2, 9, false}, {Qt::Key_Up, 1, 10, false},
        {Qt::Key_Left, 0, 12, false},  {Qt::Key_Left, 7, 15, true}, {Qt::Key_Right, 0, 12, false},
        {Qt::Key_Down, 1, 10, false},
    };
    for (const auto& step : steps) {
        key(step.key);
        SCOPED_TRACE(step.option);
        EXPECT_EQ(QApplication::focusWidget(), w.option1(step.option));
        EXPECT_TRUE(w.option1(step.option)->isChecked());
        EXPECT_TRUE(form().Option1(step.option).Value());
        EXPECT_EQ(form().selectedOptionCount(), 1);
        EXPECT_EQ(form().penColor, step.penColor);
        EXPECT_EQ(form().Shape1.Visible, step.eraserShown);
    }
    // The group is one stop of the Tab key, both ways; on a button the arrows
    // move nothing.
    key(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), w.command(4));
    for (const Qt::Key arrow : {Qt::Key_Right, Qt::Key_Down, Qt::Key_Left}) {
        key(arrow);
        EXPECT_EQ(QApplication::focusWidget(), w.command(4));
    }
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), w.option1(1));
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), w.command(3));

    // A marker line, and Space on its check box takes it away again.
    key(Qt::Key_Return);  // memo off
    click(w.command(5));  // 直線
    drag({100, 100}, {300, 200});
    ASSERT_EQ(form().Check1(0).Value(), 1);
    w.check1(0)->setFocus(Qt::TabFocusReason);
    // With Ctrl, which switches the input method on many machines, it clicks nothing.
    key(Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(form().Check1(0).Value(), 1);
    EXPECT_TRUE(w.check1(0)->isChecked());
    key(Qt::Key_Space);
    EXPECT_EQ(form().Check1(0).Value(), 0);
    EXPECT_FALSE(w.check1(0)->isChecked());
    EXPECT_EQ(form().Line4(0).X1, 1000.0F);
}

TEST_F(WindowLayout, ScreenReadersHearEveryControlByItsRoleAndName) {
    const auto roleOf = [](AccessibleRole role) {
        switch (role) {
            case AccessibleRole::Text:
                return QAccessible::StaticText;
            case AccessibleRole::Button:
                return QAccessible::Button;
            case AccessibleRole::RadioButton:
                return QAccessible::RadioButton;
            case AccessibleRole::CheckBox:
                return QAccessible::CheckBox;
            case AccessibleRole::Image:
                return QAccessible::Graphic;
            case AccessibleRole::ToggleButton:
                return QAccessible::Button;
        }
        return QAccessible::NoRole;
    };
    int radios = 0;
    for (const WindowControl& control : windowControls(form())) {
        const QString id = QString::fromStdString(elementId(control));
        SCOPED_TRACE(id.toStdString());
        QWidget* widget = window().widget(control.name, control.index);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->objectName(), id);
        QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(widget);
        ASSERT_NE(reader, nullptr);
        EXPECT_EQ(reader->role(), roleOf(control.role));
        EXPECT_EQ(reader->text(QAccessible::Name), QString::fromStdString(control.accessibleName));
        radios += reader->role() == QAccessible::RadioButton ? 1 : 0;
    }
    EXPECT_EQ(radios, 12);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(window().option1(4))->text(QAccessible::Name),
              QString("太字 赤"));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(window().check1(4))->text(QAccessible::Name),
              QString("直線5"));
    // The selection a reader hears is the form's: one checked radio button.
    click(window().command(3));
    click(window().option1(6));
    for (int i = 0; i < 8; ++i) {
        const QAccessible::State state =
            QAccessible::queryAccessibleInterface(window().option1(i))->state();
        EXPECT_EQ(static_cast<bool>(state.checked), i == 6) << i;
    }
    EXPECT_FALSE(QAccessible::queryAccessibleInterface(window().option2(3))->state().checked);
    // The picture of ℓ is a toggle button: pressed, it shows the extension.
    QAccessibleInterface* ell =
        QAccessible::queryAccessibleInterface(window().widget(WindowControlName::Image1, 0));
    EXPECT_TRUE(ell->state().checkable);
    EXPECT_FALSE(ell->state().checked);
    ell->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(form().extension1Shown, 1);
    EXPECT_TRUE(ell->state().checked);
}

TEST_F(WindowLayout, FontsAndColoursOfTheTitleAndTheStrip) {
    const QFont title = window().label1()->font();
    EXPECT_EQ(title.pixelSize(), 32);
    EXPECT_TRUE(title.bold());
    EXPECT_EQ(QFontInfo(title).family(), QString("IPAPGothic"));
    EXPECT_EQ(window().command(1)->font().pixelSize(), 12);
    EXPECT_EQ(QFontInfo(window().command(1)->font()).family(), QString("IPAPGothic"));

    const QImage image = rendered();
    // The title: bright green letters on dark green, whatever the letters' shapes.
    int dark = 0;
    int bright = 0;
    for (int y = 8; y < 41; ++y) {
        for (int x = 8; x < 133; ++x) {
            const QRgb p = image.pixel(x, y);
            dark += sameColour(p, 0x008000) ? 1 : 0;
            bright += sameColour(p, 0x00FF00) ? 1 : 0;
        }
    }
    EXPECT_GT(dark, 125 * 33 / 3);
    EXPECT_GT(bright, 125 * 33 / 20);
    EXPECT_TRUE(sameColour(image.pixel(132, 40), 0x008000));
    EXPECT_TRUE(sameColour(image.pixel(133, 40), 0xC0FFC0));

    // The window, and the ground of the option buttons and check boxes, is light green.
    for (QPoint p : {QPoint(450, 30), QPoint(850, 300), QPoint(150, 20), QPoint(4, 684)}) {
        EXPECT_TRUE(sameColour(image.pixel(p), 0xC0FFC0)) << p.x() << "," << p.y();
    }
    EXPECT_TRUE(sameColour(image.pixel(432, 9), 0xC0FFC0));   // right end of "白"
    EXPECT_TRUE(sameColour(image.pixel(304, 40), 0xC0FFC0));  // foot of box "1"
    EXPECT_TRUE(sameColour(image.pixel(760, 40), 0xC0FFC0));  // foot of "消しゴム"
}

TEST_F(WindowLayout, LabelsOnTheCanvasTakeTheSizeOfTheirCaptions) {
    // The point labels are 29 px high, their widths follow the letters.
    for (const LabelControl& label : form().Label2) {
        EXPECT_EQ(label.Height, 29) << label.Caption();
        EXPECT_GE(label.Width, 18) << label.Caption();
        EXPECT_LE(label.Width, 36) << label.Caption();
    }
    EXPECT_GT(form().Label2(4).Width, form().Label2(1).Width);  // "Ｂ'" is wider than "Ｂ"
    // The name label is empty, one line of 12 pt (16 px) high, and grows with its caption.
    EXPECT_EQ(form().Label5.Width, 0);
    EXPECT_EQ(form().Label5.Height, 16);
    form().Label5.setCaption("名前：");
    const float shortWidth = form().Label5.Width;
    EXPECT_GE(shortWidth, 40);
    form().Label5.setCaption("名前：山田 太郎");
    EXPECT_GT(form().Label5.Width, shortWidth + 50);
    EXPECT_EQ(form().Label5.Height, 16);
}

TEST_F(WindowLayout, ToolButtonsAndOptionsFollowTheForm) {
    MainWindow& w = window();
    // After start-up: "白" selected, every colour option disabled, nothing bold.
    EXPECT_TRUE(w.option2(3)->isChecked());
    EXPECT_FALSE(w.option1(0)->isChecked());
    for (int i = 0; i < 8; ++i) {
        EXPECT_FALSE(w.option1(i)->isEnabled());
    }
    for (int i = 0; i < 4; ++i) {
        EXPECT_FALSE(w.option2(i)->isEnabled());
    }
    EXPECT_FALSE(w.command(3)->font().bold());

    click(w.command(3));  // メモ
    EXPECT_TRUE(w.command(3)->font().bold());
    EXPECT_TRUE(w.option1(0)->isChecked());
    EXPECT_FALSE(w.option2(3)->isChecked());
    for (int i = 0; i < 8; ++i) {
        EXPECT_TRUE(w.option1(i)->isEnabled());
    }

    // A click on another pen moves the one selection; a click on the selected
    // one keeps it selected.
    click(w.option1(5));
    EXPECT_TRUE(w.option1(5)->isChecked());
    EXPECT_FALSE(w.option1(0)->isChecked());
    EXPECT_EQ(form().penColor, 10);
    click(w.option1(5));
    EXPECT_TRUE(w.option1(5)->isChecked());

    click(w.command(5));  // 直線 takes over from the memo
    EXPECT_TRUE(w.command(5)->font().bold());
    EXPECT_FALSE(w.command(3)->font().bold());
    EXPECT_TRUE(w.option2(3)->isChecked());
    EXPECT_FALSE(w.option1(5)->isChecked());
    EXPECT_FALSE(w.option1(5)->isEnabled());
    EXPECT_TRUE(w.option2(0)->isEnabled());

    // A right press on the canvas resets: every tool off, the buttons plain.
    hover(500, 400);
    press(500, 400, Qt::RightButton);
    release(500, 400, Qt::RightButton);
    settle();
    EXPECT_FALSE(w.command(5)->font().bold());
    EXPECT_FALSE(w.option2(0)->isEnabled());
    EXPECT_EQ(form().lineMode, 0);
}

TEST_F(WindowLayout, CheckBoxClickedByHandStaysCheckedAndIsUsedUp) {
    click(window().check1(0));
    EXPECT_TRUE(window().check1(0)->isChecked());
    EXPECT_EQ(form().Check1(0).Value(), 1);
    click(window().command(5));
    EXPECT_EQ(form().lineSlot, 2);  // box "1" counts as used
    click(window().check1(0));
    EXPECT_FALSE(window().check1(0)->isChecked());
    EXPECT_EQ(form().Check1(0).Value(), 0);
}

}  // namespace
}  // namespace heikosen::qt::testing
