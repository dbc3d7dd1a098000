#pragma once

#include "textcodec.h"

#include <QByteArray>
#include <QByteArrayView>

#include <array>
#include <cstdint>

// Byte-exact codecs of every fixed-size record the program reads or writes. All integers are
// little-endian, Booleans one byte, padding written as zeros and ignored on reading.
// decode() takes exactly Size bytes; it raises RangeError only for what the layout itself
// cannot hold (a string length beyond its field). Checking values against their meaning is
// the job of the loader that uses them.

namespace moji {

// Mojimaru1.dat: one kanji of the dictionary.
struct KanjiRecord {
    static constexpr int Size = 14;
    int16_t KanjiNo = 0;
    uint8_t GlyphLead = 0;
    uint8_t GlyphTrail = 0;
    int16_t StrokeCount = 0;
    int16_t Component1Group = 0;
    int16_t Component1No = 0;
    int16_t Component2Group = 0;
    int16_t Component2No = 0;

    static KanjiRecord decode(QByteArrayView bytes);
    QByteArray encode() const;
};

// Kakijun.dat: one kanji's school stroke order, each stroke's start and end point in a
// 0..255 square, in KanjiNo order for the 440 kanji of grades 1 to 3.
struct StrokeOrderRecord {
    static constexpr int MaxStrokes = 20;
    static constexpr int Size = 4 + 4 * MaxStrokes;
    uint8_t GlyphLead = 0;
    uint8_t GlyphTrail = 0;
    int16_t StrokeCount = 0;
    // x1, y1, x2, y2 of each stroke; unused strokes are zeros.
    std::array<std::array<uint8_t, 4>, MaxStrokes> Strokes{};

    static StrokeOrderRecord decode(QByteArrayView bytes);
    QByteArray encode() const;
};

// Saikin<N>.dat: a question pupil N was asked in one of their last sessions, oldest first.
struct AskedQuestionRecord {
    static constexpr int Size = 4;
    int16_t KanjiNo = 0;
    int16_t QuestionNo = 0;

    static AskedQuestionRecord decode(QByteArrayView bytes);
    QByteArray encode() const;
};

// Player1.jnl: a change to the roster that renames history files, kept until it is complete so
// that one cut short is finished at the next start. Step is the last pupil whose files moved.
// It also holds the roster and the histories as they stood when the change began, and a
// checksum, so that a journal that does not belong to the files in front of it is refused.
struct RosterJournalRecord {
    static constexpr int Size = 256;
    static constexpr int Pupils = 10;
    // What a history file held: its size (-1: there was none) and a fingerprint of its bytes.
    struct FilePrint {
        int32_t Size = -1;
        uint64_t Hash = 0;

        static FilePrint of(QByteArrayView bytes);
        friend bool operator==(const FilePrint&, const FilePrint&) = default;
    };

    int16_t Action = 0; // 1 reset, 2 remove
    int16_t PupilNo = 0;
    int16_t OldCount = 0;
    int16_t Step = 0;
    double When = 0; // names the backup of the pupil's history
    std::array<SjisString<10>, Pupils> Names;
    std::array<FilePrint, Pupils> Histories;

    // encode() ends the record with a checksum of every byte before it. Whether the bytes it was decoded from carried the checksum of the rest, byte for byte.
    bool intact() const { return m_intact; }

    static RosterJournalRecord decode(QByteArrayView bytes);
    QByteArray encode() const;

private:
    bool m_intact = true;
};

// Bushu1.dat: where a component's picture sits in its group's strip.
struct RadicalRecord {
    static constexpr int Size = 8;
    int16_t Group = 0;
    int16_t Reserved = 0;
    int16_t Number = 0;
    int16_t Picture = 0;

    static RadicalRecord decode(QByteArrayView bytes);
    QByteArray encode() const;
};

// Mondai2.dat: record n belongs to KanjiNo 240 + n.
struct QuestionIndexRecord {
    static constexpr int Size = 6;
    int16_t Reserved = 0;
    int16_t FirstQuestion = 0;
    int16_t QuestionCount = 0;

    static QuestionIndexRecord decode(QByteArrayView bytes);
    QByteArray encode() const;
};

// Player1.dat: one registered pupil. Reserved fields are kept as read.
struct PlayerRecord {
    static constexpr int Size = 28;
    int16_t Reserved0 = 0;
    int16_t Level = 0;
    int16_t Game1Level = 0;
    int16_t Reserved6 = 0;
    int16_t Game3Level = 0;
    int16_t Reserved10 = 0;
    int16_t Reserved12 = 0;
    int16_t Mode = 0;
    SjisString<10> Name;

    static PlayerRecord decode(QByteArrayView bytes);
    QByteArray encode() const;
};

// Kiroku<N>.dat: one recorded study session.
struct HistoryRecord {
    static constexpr int Size = 52;
    int16_t Kind = 0; // 1 challenge, 2 practice
    int16_t Level = 0;
    int16_t Mode = 0;
    double When = 0;
    std::array<int16_t, 10> KanjiNo{};
    std::array<bool, 10> Correct{};
    int16_t Reserved = 0;
    bool Counted = false;

    int correctCount() const;

    static HistoryRecord decode(QByteArrayView bytes);
    QByteArray encode() const;
};

// Mondai1.dat: one question sentence in three blank-padded parts.
struct QuestionRecord {
    static constexpr int Size = 64;
    static constexpr int PartBytes = 20;
    int16_t Reserved = 0;
    int16_t TargetPart = 0; // 1 to 3
    // Each part trimmed of leading and trailing blanks and control bytes.
    std::array<QByteArray, 3> Parts;

    static QuestionRecord decode(QByteArrayView bytes);
    // Raises RangeError when a part is longer than its 20-byte field.
    QByteArray encode() const;
};

// Hint.dat: one hint with its context and two texts of five lines.
struct HintRecord {
    static constexpr int Size = 510;
    static constexpr int Level1LineBytes = 40;
    static constexpr int Level2LineBytes = 60;
    int16_t Topic = 0;
    int16_t Section = 0;
    int16_t Mode = 0;
    int16_t Reserved = 0;
    int16_t HintNo = 0;
    // Each line ends at the first NUL byte of its field.
    std::array<QByteArray, 5> Level1;
    std::array<QByteArray, 5> Level2;

    static HintRecord decode(QByteArrayView bytes);
    // Raises RangeError when a line is longer than its field.
    QByteArray encode() const;
};

// Game1.dat and Game13.dat: one row of a game's best-ten table.
struct GameScoreRecord {
    static constexpr int Size = 24;
    int16_t Score = 0;
    SjisString<10> Name;
    double Date = 0;

    static GameScoreRecord decode(QByteArrayView bytes);
    QByteArray encode() const;
};

} // namespace moji
