#include "ui/qt/fonts.h"

#include <QFontMetricsF>
#include <QString>
#include <algorithm>
#include <cmath>

namespace heikosen::qt {

namespace {

const char* const kDesignGothic = "ＭＳ Ｐゴシック";
const char* const kDesignMincho = "ＭＳ Ｐ明朝";
const char* const kGothic = "IPAPGothic";
const char* const kMincho = "IPAPMincho";

}  // namespace

void registerFontSubstitutions() {
    static bool done = false;
    if (done) {
        return;
    }
    done = true;
    QFont::insertSubstitution(QString::fromUtf8(kDesignGothic), QString::fromUtf8(kGothic));
    QFont::insertSubstitution(QString::fromUtf8(kDesignMincho), QString::fromUtf8(kMincho));
}

QFont toQFont(const FontSpec& font) {
    registerFontSubstitutions();
    // Ask for the installed family by its own name: a family that the font
    // database does not know sends every lookup through a search of fallback
    // fonts first, which was a fifth of the work of starting the program.
    QFont qfont(QFont::substitute(QString::fromStdString(font.Name)));
    qfont.setPixelSize(pixelSizeForPoints(font.Size));
    qfont.setBold(font.Bold);
    return qfont;
}

TextMeasurer::Size QtTextMeasurer::measure(const std::string& text, const FontSpec& font) const {
    const QFont qfont = toQFont(font);
    const QString caption = QString::fromStdString(text);
    // A line of a label is as high as its font's size in pixels (the cell of the
    // designed fonts); an empty caption still takes one line.
    const int lines = static_cast<int>(caption.count(QLatin1Char('\n'))) + 1;
    const float height = static_cast<float>(qfont.pixelSize() * lines);
    if (caption.isEmpty()) {
        return {0.0F, height};
    }
    const QFontMetricsF metrics(qfont);
    const qreal width = metrics.size(0, caption).width();
    return {static_cast<float>(std::ceil(width - 0.01)), height};
}

}  // namespace heikosen::qt
