#pragma once
// The three font faces of the window. Each request names the Japanese system face first, then the
// IPA face of the same kind (Debian's fonts-ipafont, drawn to the same widths), then the Japanese
// faces that Windows has in every language, then a generic family: a machine with the named faces
// uses them, and a Windows without the Japanese supplemental fonts still draws Japanese, not boxes.

#include <QFont>
#include <QString>
#include <QStringList>

namespace zelvo {

enum class FontFace {
    G,  // "ＭＳ Ｐゴシック": proportional Gothic
    M,  // "ＭＳ Ｐ明朝": proportional Mincho
    F,  // "ＭＳ ゴシック": fixed-pitch Gothic
};

// The face the form names, e.g. "ＭＳ Ｐゴシック".
QString namedFamily(FontFace face);
// The IPA face that stands in for it, e.g. "IPAPGothic".
QString substituteFamily(FontFace face);
// Japanese faces of every Windows, whatever its language: "Yu Gothic UI", "Meiryo", "MS UI Gothic".
QStringList windowsJapaneseFamilies();

// A font of `face` with the form's height rule: a negative height -h is a character height of h
// pixels; a positive height h is a cell height (ascent + descent) of h pixels. A height of 0 keeps
// the toolkit's default size.
// The font draws only from the face it resolves to: the window's own texts are all in it, and
// looking up fallback faces for every font would cost a good part of the start-up time.
QFont makeFont(FontFace face, int height, bool bold = false, bool italic = false);

// The same font, drawing what its face lacks from other faces: for boxes that show text from the
// machine or the user (a volume label or an owner's name may hold any character).
QFont withFallback(QFont font);

}  // namespace zelvo
