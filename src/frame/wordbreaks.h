#pragma once

#include <QString>

class QFontMetrics;
class QLabel;

namespace moji {

// The program's kana texts are written with a space between words, as children's books are.
// Qt would break a Japanese line between any two characters ("さいてんしてよ／いですか"); these
// keep every word whole, so that a line breaks only at a space, after a full stop or comma,
// and before an opening bracket. Words are held together by invisible word joiners, which
// every Qt text widget honours.
QString keepWordsWhole(const QString& text);

// The text with its word joiners taken out again: what a person reads.
QString withoutWordJoiners(const QString& text);

// For a box whose lines may be at most `lineWidth` pixels wide in the font measured by
// `metrics`: every word kept whole, and a folder, file or computer name that makes its word
// too wide for a line shortened in the middle with "…", keeping its start, its end and the
// kana around it ("/home/…/Player1.datでエラーがおこりました。").
QString boxLines(const QString& text, const QFontMetrics& metrics, int lineWidth);

// Sets a word-wrapped label's text with its words kept whole and too-wide words shortened to
// the label's width.
void setWrappedText(QLabel* label, const QString& text);

} // namespace moji
