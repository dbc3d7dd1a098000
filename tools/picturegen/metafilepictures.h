#pragma once

#include "canvas.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <functional>
#include <vector>

namespace moji::pictures {

// Every metafile picture is drawn on a 100-unit square.
constexpr qreal DesignSize = 100;

// A picture shipped as a Windows metafile.
struct MetafilePicture {
    QString fileName;
    int units;                           // logical units across the file (1440 to the inch)
    std::function<void(Canvas&)> draw;   // paints the whole square, white where transparent
};

// Pop1.wmf … Pop10.wmf, the card backs and notice pictures (shown 48 or 70 pixels wide),
// then Present1.wmf … Present3.wmf, the rewards on the result screen (about 200 pixels).
std::vector<MetafilePicture> metafilePictures();

QByteArray toMetafile(const MetafilePicture& picture);
// The picture stretched onto a white square of `pixels`, antialiased, as the program shows it.
QImage toImage(const MetafilePicture& picture, int pixels);

} // namespace moji::pictures
