#pragma once

#include "questionsource.h"

namespace moji::content {

// The word a question asks, as its sentence writes it: the asked kanji with the kanji written
// next to it, its okurigana for a reading that has one, and the kana a "｜" marks as part of
// it (a partner whose kanji is learned later: びょう院).
struct TargetWord {
    QString lead; // the word's text before the asked kanji
    QString tail; // its text after the asked kanji
    bool inflects = false;
    QChar ending; // the last kana of its okurigana, which inflects

    struct Form {
        QString text;
        bool withKanji = false; // written with the kanji, or with the reading in its place
        QString written;        // the word with the kanji, as the question writes it
        bool whole = false;     // found only as a whole word, between marks and particles
    };
    // The word with the kanji, and with the target's reading in the kanji's place, each
    // followed by the kana that follow it in the sentence until it is three characters long
    // (a shorter text is too often a part of some other word: the いた of 見ていた is no 板).
    // A word that inflects is also written as it inflects otherwise (悪く: 悪い, 悪かった;
    // 飲んだ: 飲んで). A word of two characters that a mark or a kanji follows (有る。) is
    // looked for as a whole word.
    std::vector<Form> forms(const QuestionSource& q) const;
};

TargetWord targetWord(const QuestionSource& q, const SchoolReadings& readings);

// The kanji of a level are asked together, and each sentence writes the other kanji of its
// level in kana: a reading question gives its answer away when another sentence of the level
// shows its word in kana, and a writing question when another shows it with the kanji. Each
// such pair is named by both lines.
void checkGiveAways(const std::vector<QuestionSource>& questions, const SchoolReadings& readings, Problems& problems);

} // namespace moji::content
