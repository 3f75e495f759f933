#include "ui/Fonts.h"

#include <QFontMetricsF>
#include <QStringList>
#include <algorithm>
#include <cmath>

namespace zelvo {

namespace {

QString genericFamily(FontFace face) {
    switch (face) {
        case FontFace::M:
            return QStringLiteral("serif");
        case FontFace::F:
            return QStringLiteral("monospace");
        case FontFace::G:
        default:
            return QStringLiteral("sans-serif");
    }
}

QFont::StyleHint styleHint(FontFace face) {
    switch (face) {
        case FontFace::M:
            return QFont::Serif;
        case FontFace::F:
            return QFont::TypeWriter;
        case FontFace::G:
        default:
            return QFont::SansSerif;
    }
}

}  // namespace

QString namedFamily(FontFace face) {
    switch (face) {
        case FontFace::M:
            return QStringLiteral("ＭＳ Ｐ明朝");
        case FontFace::F:
            return QStringLiteral("ＭＳ ゴシック");
        case FontFace::G:
        default:
            return QStringLiteral("ＭＳ Ｐゴシック");
    }
}

QString substituteFamily(FontFace face) {
    switch (face) {
        case FontFace::M:
            return QStringLiteral("IPAPMincho");
        case FontFace::F:
            return QStringLiteral("IPAGothic");
        case FontFace::G:
        default:
            return QStringLiteral("IPAPGothic");
    }
}

QStringList windowsJapaneseFamilies() {
    return {QStringLiteral("Yu Gothic UI"), QStringLiteral("Meiryo"), QStringLiteral("MS UI Gothic")};
}

QFont makeFont(FontFace face, int height, bool bold, bool italic) {
    QFont font;
    QStringList families{namedFamily(face), substituteFamily(face)};
    families += windowsJapaneseFamilies();
    families += genericFamily(face);
    font.setFamilies(families);
    font.setStyleHint(styleHint(face));
    font.setFixedPitch(face == FontFace::F);
    font.setStyleStrategy(QFont::NoFontMerging);
    font.setBold(bold);
    font.setItalic(italic);
    if (height < 0) {
        font.setPixelSize(-height);
    } else if (height > 0) {
        // A cell height: find the character height whose ascent + descent comes to it, measured
        // on the face that actually resolves.
        font.setPixelSize(height);
        const qreal cell = QFontMetricsF(font).ascent() + QFontMetricsF(font).descent();
        if (cell > 0)
            font.setPixelSize(std::max(1, int(std::lround(height * height / cell))));
    }
    return font;
}

QFont withFallback(QFont font) {
    font.setStyleStrategy(QFont::PreferDefault);
    return font;
}

}  // namespace zelvo
