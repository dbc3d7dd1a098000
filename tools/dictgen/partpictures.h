#pragma once

#include "dictionarysource.h"

#include <QImage>

namespace moji::content {

constexpr int PartSize = 48;
constexpr int GroupPictureSize = 40;

// Draws parts and group buttons from the installed CJK fonts. Needs a QGuiApplication.
class PartPainter {
public:
    PartPainter();

    // False when no installed font has the part's render character.
    bool canRender(const Part& part) const;
    // The 48 x 48 picture of one part: black on white, drawn where it sits in the square.
    QImage partPicture(const Part& part) const;
    // Every part's picture side by side: picture k at x = 48 * (k - 1).
    QImage strip(const std::vector<Part>& parts) const;
    // The picture of group button g (1 to 8): a square with the group's region marked.
    QImage groupPicture(int group) const;
    // A review sheet: every group with its parts' pictures, names and kanji.
    QImage contactSheet(const DictionarySource& source) const;

private:
    QString m_family;
};

} // namespace moji::content
