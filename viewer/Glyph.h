#pragma once

#include <QImage>
#include <QPixmap>

namespace viewer {

// A glyph's transparent colour is its bottom-left pixel: every pixel of that colour is cleared.
QImage WithBottomLeftTransparent(const QImage& glyph);

// The reveal button's glyph: the image drawn onto a fresh white bitmap of the image's size, so
// that the white parts of a flag, like its masked edge columns, show the button face.
QPixmap GlyphOnWhite(const QImage& image);

}  // namespace viewer
