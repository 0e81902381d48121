// "印刷": the name dialog, the name label on the canvas, and what a failed or
// cancelled print leaves behind.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fakes.h"
#include "ui/form1.h"

namespace heikosen {
namespace {

using fakes::leftDrag;
using fakes::rightClick;
using Status = PrintOutcome::Status;

const std::string kPrefix = "名前：";

bool hasNonAscii(const std::string& text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return true;
        }
    }
    return false;
}

class Print : public ::testing::Test {
  protected:
    fakes::LoadedForm w;
    Form1& form = w.form;
    fakes::FakeHost& host = w.host;

    void print(const std::string& name, Status status = Status::Printed) {
        host.answer = name;
        host.outcome = PrintOutcome{status, status == Status::Failed ? "no printer" : ""};
        form.userClickCommand(6);
    }
};

TEST_F(Print, AsksForTheNameAndPutsItOnTheCanvas) {
    print("山田");
    EXPECT_EQ(host.inputCalls, 1);
    EXPECT_EQ(host.lastTitle, "印刷");
    EXPECT_EQ(host.lastPrompt, "名前を入力してください。\n\n名前を入力しないと印刷できません。");
    ASSERT_EQ(host.prints.size(), 1U);
    EXPECT_EQ(host.prints[0].caption, "名前：山田");
    EXPECT_EQ(form.Label5.Caption(), "名前：山田");
    EXPECT_GT(host.prints[0].labelWidth, 0);
    EXPECT_EQ(host.prints[0].labelWidth, form.Label5.Width);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(Print, CancelOrEmptyNamePrintsNothingAndChangesNothing) {
    print("");
    EXPECT_EQ(host.inputCalls, 1);
    EXPECT_TRUE(host.prints.empty());
    EXPECT_EQ(form.Label5.Caption(), "");
    EXPECT_EQ(form.Label5.Width, 0);
    EXPECT_TRUE(host.messages.empty());

    print("A");
    const LabelControl printed = form.Label5;
    print("");
    EXPECT_EQ(host.inputCalls, 3);
    EXPECT_EQ(host.prints.size(), 1U);
    EXPECT_EQ(form.Label5, printed);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(Print, BlanksAreANameAndStayAsEntered) {
    print("   ");
    ASSERT_EQ(host.prints.size(), 1U);
    EXPECT_EQ(form.Label5.Caption(), "名前：   ");
    EXPECT_EQ(host.prints[0].caption, "名前：   ");
    const float blanks = form.Label5.Width;
    print("  ");
    EXPECT_LT(form.Label5.Width, blanks) << "trailing blanks are measured, not trimmed";
}

TEST_F(Print, SecondPrintReplacesTheCaptionAndTheWidthFollows) {
    print("佐藤");
    const float shortWidth = form.Label5.Width;
    print("佐藤花子");
    EXPECT_EQ(form.Label5.Caption(), "名前：佐藤花子");
    EXPECT_GT(form.Label5.Width, shortWidth);
    print("佐");
    EXPECT_EQ(form.Label5.Caption(), "名前：佐");
    EXPECT_LT(form.Label5.Width, shortWidth);
    EXPECT_EQ(host.prints.size(), 3U);
}

TEST_F(Print, FailedPrintRestoresTheLabelAndSaysSo) {
    print("田中");
    const LabelControl before = form.Label5;
    print("鈴木", Status::Failed);
    ASSERT_EQ(host.prints.size(), 2U);
    EXPECT_EQ(host.prints[1].caption, "名前：鈴木") << "the printer was given the new name";
    EXPECT_EQ(form.Label5, before);
    ASSERT_EQ(host.messages.size(), 1U);
    EXPECT_FALSE(host.messages[0].title.empty());
    EXPECT_TRUE(hasNonAscii(host.messages[0].text)) << host.messages[0].text;

    // A failure of the very first print leaves the label empty again.
    fakes::LoadedForm fresh;
    fresh.host.answer = "鈴木";
    fresh.host.outcome = PrintOutcome{Status::Failed, ""};
    fresh.form.userClickCommand(6);
    EXPECT_EQ(fresh.form.Label5.Caption(), "");
    EXPECT_EQ(fresh.form.Label5.Width, 0);
    ASSERT_EQ(fresh.host.messages.size(), 1U);
    EXPECT_TRUE(hasNonAscii(fresh.host.messages[0].text));
}

TEST_F(Print, CancelledPrintDialogRestoresTheLabelQuietly) {
    print("田中");
    const LabelControl before = form.Label5;
    print("鈴木", Status::Cancelled);
    ASSERT_EQ(host.prints.size(), 2U);
    EXPECT_EQ(host.prints[1].caption, "名前：鈴木");
    EXPECT_EQ(form.Label5, before);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(Print, WindowIsPrintedAsItStandsAndKeepsItsState) {
    form.userClickCommand(4);
    form.userClickCommand(3);
    leftDrag(form, {{100, 100}, {150, 110}, {200, 130}});
    const int clears = w.surface.clears();

    print("A");
    ASSERT_EQ(host.prints.size(), 1U);
    EXPECT_EQ(host.prints[0].gridShown, 1);
    EXPECT_EQ(host.prints[0].memoMode, 1);
    EXPECT_EQ(host.prints[0].strokesOnCanvas, 2U);
    EXPECT_EQ(form.gridShown, 1);
    EXPECT_EQ(form.memoMode, 1);

    // The print leaves the strokes on the board; the reset still wipes them.
    EXPECT_EQ(w.surface.clears(), clears);
    EXPECT_EQ(w.surface.segments().size(), 2U);
    rightClick(form, 600, 600);
    EXPECT_EQ(w.surface.clears(), clears + 1);
    EXPECT_TRUE(w.surface.segments().empty());
    EXPECT_EQ(form.Label5.Caption(), "名前：A") << "the reset keeps the name";
}

TEST_F(Print, UnusualNamesAreTakenAsTheyComeAndTheLabelGrows) {
    const std::vector<std::string> names = {
        "a\nb",
        "tab\tbell\a\x01\x1b[31m\x7f",
        std::string("nul\0inside", 10),
        "😀🎉👨‍👩‍👧",
        "שלום مرحبا",
        std::string(100000, 'x'),
        "\xff\xfe\x80\xc3",
        "\xe3\x81",
        "\xf0\x9f",
        "\r\n\r\n",
    };
    const std::string longer = "ＡＢＣＤＥＦ";
    for (const std::string& name : names) {
        SCOPED_TRACE(name.size());
        print(name);
        EXPECT_EQ(form.Label5.Caption(), kPrefix + name);
        ASSERT_FALSE(host.prints.empty());
        EXPECT_EQ(host.prints.back().caption, kPrefix + name);
        const float width = form.Label5.Width;
        EXPECT_GT(width, 0);
        EXPECT_GT(form.Label5.Height, 0);
        print(name + longer);
        EXPECT_GT(form.Label5.Width, width);
    }
    EXPECT_TRUE(host.messages.empty());

    print("ab");
    const float oneLine = form.Label5.Height;
    print("a\nb");
    EXPECT_GT(form.Label5.Height, oneLine);
}

// A host whose dialog answers later goes on with the name itself.
TEST_F(Print, TheNameGivenLaterPrintsWithoutAskingAgain) {
    form.printWithName("");
    EXPECT_TRUE(host.prints.empty());
    EXPECT_EQ(form.Label5.Caption(), "");

    form.printWithName("山田");
    EXPECT_EQ(host.inputCalls, 0);
    ASSERT_EQ(host.prints.size(), 1U);
    EXPECT_EQ(host.prints[0].caption, "名前：山田");
    EXPECT_EQ(form.Label5.Caption(), "名前：山田");
}

TEST(PrintWithoutHost, DoesNothing) {
    Form1 form;
    form.Form_Load();
    form.userClickCommand(6);
    EXPECT_EQ(form.Label5.Caption(), "");
}

}  // namespace
}  // namespace heikosen
