#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace moji {

// Windows bitmaps (.bmp), checked whole before they are decoded: Qt's reader fills what a
// file cut short lacks with black, so a damaged button or part picture would otherwise be
// drawn without a word.

// The picture, or a null image when the bytes are not one whole bitmap: a wrong signature, a
// declared file size other than the real one, a header or pixel data running past the end,
// or a layout Qt cannot decode.
QImage parseBitmap(const QByteArray& bytes);

// The picture in a file. Raises FileError naming `displayName` when the file cannot be read
// or is not one whole bitmap.
QImage readBitmap(const QString& path, const QString& displayName);

} // namespace moji
