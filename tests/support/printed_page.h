#pragma once

// Reads a printed PDF back: its page count and size from pdfinfo, and the page as
// pixels from pdftoppm, with the printed window found on it so that a point of
// the window's client area can be looked up on the page.

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QString>
#include <QTemporaryDir>
#include <QTransform>
#include <optional>

namespace heikosen::testing {

inline constexpr int kPrintedClientWidth = 891;
inline constexpr int kPrintedClientHeight = 687;

struct PrintedPage {
    int pages = 0;
    double pageWidthPt = 0;
    double pageHeightPt = 0;
    QImage image;         // the first page, rendered
    QRect window;         // where the window's client area lies on `image`
    QString problem;      // why reading failed, empty when all went well
    bool turned = false;  // the page was printed turned a quarter, as on portrait paper

    // The page pixel that shows client pixel (x, y) of the window.
    QRgb clientPixel(double x, double y) const {
        const int px = window.left() + static_cast<int>(x * window.width() / kPrintedClientWidth);
        const int py = window.top() + static_cast<int>(y * window.height() / kPrintedClientHeight);
        return image.pixel(px, py);
    }
    // Whether any page pixel within `radius` page pixels of client pixel (x, y)
    // satisfies `wanted`.
    template <typename Wanted>
    bool anyNear(double x, double y, int radius, Wanted wanted) const {
        const int cx = window.left() + static_cast<int>(x * window.width() / kPrintedClientWidth);
        const int cy = window.top() + static_cast<int>(y * window.height() / kPrintedClientHeight);
        for (int dy = -radius; dy <= radius; ++dy) {
            for (int dx = -radius; dx <= radius; ++dx) {
                const int px = cx + dx;
                const int py = cy + dy;
                if (image.valid(px, py) && wanted(image.pixel(px, py))) {
                    return true;
                }
            }
        }
        return false;
    }
};

inline QString runTool(const QString& program, const QStringList& arguments, bool* ok) {
    QProcess process;
    process.start(program, arguments);
    *ok = process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit &&
          process.exitCode() == 0;
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The printed window is the non-white area of the page: the light green
// background reaches every edge of it.
inline QRect nonWhiteArea(const QImage& image) {
    int left = image.width();
    int right = -1;
    int top = image.height();
    int bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = line[x];
            if (qRed(p) < 245 || qGreen(p) < 245 || qBlue(p) < 245) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    if (right < left || bottom < top) {
        return {};
    }
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

inline PrintedPage readPrintedPage(const QString& pdfPath, int dpi = 150) {
    PrintedPage page;
    bool ok = false;
    const QString info = runTool("pdfinfo", {pdfPath}, &ok);
    if (!ok) {
        page.problem = "pdfinfo could not read " + pdfPath;
        return page;
    }
    const QRegularExpression pagesRe("^Pages:\\s+(\\d+)", QRegularExpression::MultilineOption);
    const QRegularExpression sizeRe("^Page size:\\s+([0-9.]+) x ([0-9.]+) pts",
                                    QRegularExpression::MultilineOption);
    if (const auto m = pagesRe.match(info); m.hasMatch()) {
        page.pages = m.captured(1).toInt();
    }
    if (const auto m = sizeRe.match(info); m.hasMatch()) {
        page.pageWidthPt = m.captured(1).toDouble();
        page.pageHeightPt = m.captured(2).toDouble();
    }
    QTemporaryDir dir;
    const QString prefix = QDir(dir.path()).filePath("page");
    runTool(
        "pdftoppm",
        {"-png", "-r", QString::number(dpi), "-f", "1", "-l", "1", "-singlefile", pdfPath, prefix},
        &ok);
    if (!ok) {
        page.problem = "pdftoppm could not render " + pdfPath;
        return page;
    }
    page.image = QImage(prefix + ".png").convertToFormat(QImage::Format_RGB32);
    if (page.image.isNull()) {
        page.problem = "no rendered page";
        return page;
    }
    page.window = nonWhiteArea(page.image);
    if (page.window.isEmpty()) {
        page.problem = "the page is blank";
        return page;
    }
    // A printer lays a landscape page on portrait paper by turning it a quarter:
    // turn it back so that the window stands upright, its dark green title at the
    // top left.
    if (page.window.height() > page.window.width()) {
        for (const int angle : {90, 270}) {
            const QImage upright = page.image.transformed(QTransform().rotate(angle));
            const QRect area = nonWhiteArea(upright);
            const QRgb title = upright.pixel(area.left() + area.width() * 15 / 891,
                                             area.top() + area.height() * 15 / 687);
            if (qGreen(title) > qRed(title) + 60 && qGreen(title) > qBlue(title) + 60) {
                page.image = upright;
                page.window = area;
                page.turned = true;
                break;
            }
        }
    }
    return page;
}

inline bool isDark(QRgb p) {
    return qGray(p) < 100;
}
inline bool isReddish(QRgb p) {
    return qRed(p) > 170 && qGreen(p) < 110 && qBlue(p) < 110;
}

}  // namespace heikosen::testing
