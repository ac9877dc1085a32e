#include "viewer/Glyph.h"

#include <QPainter>

namespace viewer {

QImage WithBottomLeftTransparent(const QImage& glyph)
{
    QImage result = glyph.convertToFormat(QImage::Format_ARGB32);
    if (result.isNull()) return result;
    const QRgb transparent = result.pixel(0, result.height() - 1);
    for (int y = 0; y < result.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            if (line[x] == transparent) line[x] = qRgba(0, 0, 0, 0);
        }
    }
    return result;
}

QPixmap GlyphOnWhite(const QImage& image)
{
    QImage bitmap(image.size(), QImage::Format_ARGB32);
    bitmap.fill(Qt::white);
    {
        QPainter painter(&bitmap);
        painter.drawImage(0, 0, image);
    }
    return QPixmap::fromImage(WithBottomLeftTransparent(bitmap));
}

}  // namespace viewer
