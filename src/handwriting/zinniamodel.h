#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QSet>
#include <QString>

#include <optional>

namespace moji::handwriting {

// Zinnia's model cut down to the characters in `kept`, laid out as Zinnia reads a model from
// memory. Zinnia weighs every character of its model for each kanji it reads, and the Japanese
// model holds some 6,400 of them: kept to the 440 kanji of grades 1 to 3, the model takes a
// fifteenth of the memory and reading is that much faster, with the same scores. The model is
// read in pieces, so the whole of it is never in memory at once.
//
// nullopt when `model` (open for reading, from its start) is not a model in the layout this
// reads (Zinnia's version 1): the caller then lets Zinnia open the whole file.
std::optional<QByteArray> narrowedZinniaModel(QIODevice& model, const QSet<QString>& kept);

} // namespace moji::handwriting
