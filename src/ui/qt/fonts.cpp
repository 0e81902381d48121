#include "ui/qt/fonts.h"

#include <QFontMetricsF>
#include <QString>

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

QFont toQFont(const TextFont& font) {
    registerFontSubstitutions();
    // Ask for the installed family by its own name: a family that the font
    // database does not know sends every lookup through a search of fallback
    // fonts first, which was a fifth of the work of starting the program.
    QFont qfont(QFont::substitute(QString::fromStdString(font.family)));
    qfont.setPixelSize(font.pixelSize);
    qfont.setBold(font.bold);
    return qfont;
}

QFont toQFont(const FontSpec& font) {
    return toQFont(textFont(font));
}

double QtTextMeasurer::width(const std::string& text, const TextFont& font) const {
    return QFontMetricsF(toQFont(font)).size(0, QString::fromStdString(text)).width();
}

}  // namespace heikosen::qt
