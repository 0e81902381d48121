// The printed page read back from a PDF file: the window on one landscape page,
// scaled to fit and centred, with the name, the figure and the strokes where they
// are on screen.

#include <QPrinter>
#include <QTemporaryDir>

#include "support/printed_page.h"
#include "window_fixture.h"

namespace heikosen::qt::testing {
namespace {

using heikosen::testing::isDark;
using heikosen::testing::isReddish;
using heikosen::testing::PrintedPage;
using heikosen::testing::readPrintedPage;

class PrintedPageTest : public WindowTest {
  protected:
    // A red stroke along canvas y = 100 from x = 100 to 300, drawn in memo mode.
    void drawRedStroke() {
        click(window().command(3));
        drag({100, 100}, {300, 100}, 8);
        click(window().command(3));
    }

    PrintedPage printToPdf() {
        const QString path = dir_.filePath("page.pdf");
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        EXPECT_EQ(window().host().printOn(printer).status, PrintOutcome::Status::Printed);
        return readPrintedPage(path);
    }

  private:
    QTemporaryDir dir_;
};

TEST_F(PrintedPageTest, OneLandscapePageHoldsTheWholeWindowCentred) {
    const PrintedPage page = printToPdf();
    ASSERT_TRUE(page.problem.isEmpty()) << page.problem.toStdString();
    EXPECT_EQ(page.pages, 1);
    EXPECT_GT(page.pageWidthPt, page.pageHeightPt);

    // The window keeps its proportions and is as large as the page allows.
    const double aspect = static_cast<double>(page.window.width()) / page.window.height();
    EXPECT_NEAR(aspect, 891.0 / 687.0, 0.02);
    const int widthSpare = page.image.width() - page.window.width();
    const int heightSpare = page.image.height() - page.window.height();
    EXPECT_LT(std::min(widthSpare, heightSpare), page.image.width() / 8);
    EXPECT_NEAR(page.window.left(), page.image.width() - 1 - page.window.right(), 4);
    EXPECT_NEAR(page.window.top(), page.image.height() - 1 - page.window.bottom(), 4);

    // The light green window background at its corner.
    const QRgb corner = page.clientPixel(870, 300);
    EXPECT_NEAR(qRed(corner), 0xC0, 12);
    EXPECT_GT(qGreen(corner), 240);
    EXPECT_NEAR(qBlue(corner), 0xC0, 12);
}

TEST_F(PrintedPageTest, NameParallelsAndStrokesAreWhereTheScreenShowsThem) {
    drawRedStroke();
    form().Label5.setCaption("名前：山田 花子");
    window().syncFromForm();

    const PrintedPage page = printToPdf();
    ASSERT_TRUE(page.problem.isEmpty()) << page.problem.toStdString();

    // The parallels at canvas y 275, 350 and 500, i.e. client y 325, 400 and 550.
    for (const int y : {325, 400, 550}) {
        for (const int x : {150, 450, 700}) {
            EXPECT_TRUE(page.anyNear(x, y, 2, isDark)) << "parallel at client " << x << "," << y;
        }
    }
    // White canvas between p and q away from the transversals.
    EXPECT_FALSE(page.anyNear(600, 360, 3, isDark));
    // The stroke at canvas y 100.
    for (const int x : {120, 200, 280}) {
        EXPECT_TRUE(page.anyNear(10 + x, 150, 3, isReddish)) << "stroke at canvas x " << x;
    }
    EXPECT_FALSE(page.anyNear(210, 200, 3, isReddish));
    // The name label at canvas (24, 16): dark letters in the first 60 px of it.
    int dark = 0;
    for (int y = 66; y < 82; ++y) {
        for (int x = 34; x < 94; ++x) {
            dark += isDark(page.clientPixel(x, y)) ? 1 : 0;
        }
    }
    EXPECT_GT(dark, 10);
}

}  // namespace
}  // namespace heikosen::qt::testing
