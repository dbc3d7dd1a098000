#pragma once

#include <QImage>

namespace moji::pictures {

// A review sheet of every picture, enlarged, on white and as the program shows it on navy,
// with the card backs and the stars also at their real size.
QImage previewSheet();

} // namespace moji::pictures
