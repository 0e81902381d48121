// What the window shows: the initial figure, the reset and the quit command.

#include <QCheckBox>
#include <QPushButton>
#include <QTimer>

#include "ui/qt/scene_painter.h"
#include "window_fixture.h"

namespace heikosen::qt::testing {
namespace {

using WindowPixels = WindowTest;

// Points on the parallels away from the transversals, labels and arrow marks.
constexpr int kParallelSampleX[] = {100, 200, 450, 550, 620, 700};

void expectInitialFigure(const QImage& image) {
    for (int y : {275, 350, 500}) {
        for (int x : kParallelSampleX) {
            EXPECT_TRUE(sameColour(canvasPixel(image, x, y), kBlack))
                << "parallel at " << x << "," << y;
        }
        // 4 px wide: two rows above and one below the line's y are black too,
        // and the rows beyond are white.
        EXPECT_TRUE(sameColour(canvasPixel(image, 450, y - 2), kBlack));
        EXPECT_TRUE(sameColour(canvasPixel(image, 450, y + 1), kBlack));
        EXPECT_TRUE(sameColour(canvasPixel(image, 450, y - 4), kWhite));
        EXPECT_TRUE(sameColour(canvasPixel(image, 450, y + 3), kWhite));
        // The parallels end at x = 750.
        EXPECT_TRUE(sameColour(canvasPixel(image, 760, y), kWhite));
    }
    // Transversals: l from (400,125) to (100,575), m from (250,125) to (400,575).
    EXPECT_TRUE(sameColour(canvasPixel(image, 350, 200), kBlack));
    EXPECT_TRUE(sameColour(canvasPixel(image, 275, 200), kBlack));
    EXPECT_TRUE(sameColour(canvasPixel(image, 125, 537), kBlack));
    // Their extensions are hidden: white above the upper ends.
    EXPECT_TRUE(sameColour(canvasPixel(image, 433, 75), kWhite));
    EXPECT_TRUE(sameColour(canvasPixel(image, 233, 75), kWhite));
    // White canvas elsewhere.
    for (QPoint p : {QPoint(700, 50), QPoint(200, 600), QPoint(790, 610), QPoint(500, 150),
                     QPoint(0, 0), QPoint(801, 625), QPoint(600, 420)}) {
        EXPECT_TRUE(sameColour(canvasPixel(image, p.x(), p.y()), kWhite)) << p.x() << "," << p.y();
    }
    // Blue arrow marks at x 660..680 on each parallel.
    for (int y : {275, 350, 500}) {
        EXPECT_TRUE(
            anyCanvasPixelNear(image, 670, y - 5, 1, [](QRgb p) { return sameColour(p, kBlue); }))
            << "arrow on " << y;
        EXPECT_TRUE(
            anyCanvasPixelNear(image, 670, y + 5, 1, [](QRgb p) { return sameColour(p, kBlue); }));
    }
}

TEST_F(WindowPixels, InitialFigureFrameAndBackground) {
    const QImage image = rendered();
    ASSERT_EQ(image.size(), QSize(891, 687));
    expectInitialFigure(image);

    // The sunken frame of the canvas: dark grey outside, near black inside at
    // the top left; white outside, light grey inside at the bottom right.
    EXPECT_TRUE(sameColour(image.pixel(8, 48), 0x808080));
    EXPECT_TRUE(sameColour(image.pixel(400, 48), 0x808080));
    EXPECT_TRUE(sameColour(image.pixel(9, 300), 0x404040));
    EXPECT_TRUE(sameColour(image.pixel(813, 677), 0xFFFFFF));
    EXPECT_TRUE(sameColour(image.pixel(812, 300), 0xC0C0C0));
    EXPECT_TRUE(sameColour(image.pixel(400, 676), 0xC0C0C0));
    // Light green beside the canvas.
    EXPECT_TRUE(sameColour(image.pixel(7, 300), kLightGreen));
    EXPECT_TRUE(sameColour(image.pixel(814, 300), kLightGreen));
    EXPECT_TRUE(sameColour(image.pixel(400, 47), kLightGreen));

    // The letter picture p stands above the left end of p: dark ink on white.
    int ink = 0;
    for (int y = 239; y < 273; ++y) {
        for (int x = 50; x < 74; ++x) {
            ink += qGray(canvasPixel(image, x, y)) < 96 ? 1 : 0;
        }
    }
    EXPECT_GT(ink, 20);
    // The label "Ａ" is opaque: its white ground hides nothing here, and its
    // letter is dark.
    int letter = 0;
    for (int y = 244; y < 273; ++y) {
        for (int x = 321; x < 345; ++x) {
            letter += qGray(canvasPixel(image, x, y)) < 96 ? 1 : 0;
        }
    }
    EXPECT_GT(letter, 20);
}

// The letters are read by libpng, not by Qt's reader: the same greys, pixel for
// pixel. What is not a PNG reads as nothing.
TEST(LetterFiles, ReadAsQtReadsThem) {
    for (const Letter letter : kLetters) {
        const QString path = QStringLiteral(":/letters/") + QString::fromLatin1(letterFile(letter));
        const QImage read = readGreyPng(path);
        ASSERT_FALSE(read.isNull()) << letterFile(letter);
        EXPECT_EQ(read, QImage(path).convertToFormat(QImage::Format_Grayscale8))
            << letterFile(letter);
    }
    EXPECT_TRUE(readGreyPng(QStringLiteral(":/icon/heikosen.svg")).isNull());
    EXPECT_TRUE(readGreyPng(QStringLiteral(":/letters/none.png")).isNull());
}

TEST_F(WindowPixels, ScreenShowsWhatTheWindowRenders) {
    const QImage screen = onScreen();
    ASSERT_EQ(screen.size(), QSize(891, 687));
    const QRect canvasRect(8, 48, 806, 630);
    EXPECT_EQ(screen.copy(canvasRect), rendered().copy(canvasRect));
    expectInitialFigure(screen);
}

TEST_F(WindowPixels, InitialScreenButtonRestoresTheFigure) {
    const QRect canvasRect(8, 48, 806, 630);
    const QImage before = onScreen().copy(canvasRect);

    drag({10, 275}, {10, 240});    // p up
    drag({400, 125}, {460, 125});  // l turned
    drag({325, 350}, {380, 350});  // the copy of m slid off m
    click(window().command(4));    // 方眼
    click(window().command(3));    // メモ
    drag({100, 560}, {300, 600});  // a stroke
    click(window().command(5));    // 直線
    drag({600, 100}, {700, 200});  // a marker line
    ASSERT_NE(onScreen().copy(canvasRect), before);

    click(window().command(1));  // 初期画面
    EXPECT_EQ(onScreen().copy(canvasRect), before);
    EXPECT_EQ(form().fig.parallelPY, 275);
    EXPECT_EQ(form().gridShown, 0);
    EXPECT_FALSE(window().command(4)->font().bold());
    EXPECT_FALSE(window().command(5)->font().bold());
    EXPECT_FALSE(window().check1(0)->isChecked());

    // Twice gives the same as once.
    click(window().command(1));
    EXPECT_EQ(onScreen().copy(canvasRect), before);
}

// A name with a line break in it puts two lines on the canvas: the second
// stands the label's line height below the first, as the page draws it, not
// at the font's own line spacing.
TEST_F(WindowPixels, ALabelsSecondLineStandsItsLineHeightBelow) {
    form().Label5.setCaption("Ａ\nＡ");
    window().syncFromForm();
    settle();
    const QImage image = rendered();
    // The rows of the label's box with ink, below its top at form y 16.
    std::vector<int> tops;
    bool inked = false;
    for (int y = 16; y < 60; ++y) {
        bool ink = false;
        for (int x = 24; x < 44; ++x) {
            ink = ink || qGray(canvasPixel(image, x, y)) < 96;
        }
        if (ink && !inked) {
            tops.push_back(y);
        }
        inked = ink;
    }
    ASSERT_EQ(tops.size(), 2U);
    EXPECT_EQ(tops[1] - tops[0], 16);  // 12 points
}

TEST_F(WindowPixels, QuitButtonEndsTheProgram) {
    // The event loop runs until the program ends; should "終了" fail to end it,
    // the loop is stopped after a while with another code.
    QTimer::singleShot(0, &window(), [this] { click(window().command(2)); });
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(7); });
    guard.start(5000);
    const int code = QApplication::exec();
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(form().endRequested());
    EXPECT_FALSE(window().isVisible());
}

TEST_F(WindowPixels, QuitWorksInEveryMode) {
    click(window().command(4));
    click(window().command(3));
    hover(200, 200);
    press(200, 200);  // a stroke in progress
    moveHeld(220, 210);
    release(220, 210);
    click(window().command(2));
    EXPECT_TRUE(form().endRequested());
    EXPECT_FALSE(window().isVisible());
}

}  // namespace
}  // namespace heikosen::qt::testing
