#pragma once

#include "strokes.h"

#include <QString>

#include <optional>

namespace moji::handwriting {

// Strokes written as text, as the command-line tool reads them and the tests store them: one
// stroke per line, its points "x,y" in order, separated by blanks, in the 0..255 writing square.
// Blank lines and lines starting with '#' are skipped.
//
// The strokes, or nullopt with `error` saying which line is wrong and why.
std::optional<Strokes> parseStrokes(const QString& text, QString& error);

// The same text for `strokes`, one line per stroke.
QString strokesToText(const Strokes& strokes);

} // namespace moji::handwriting
