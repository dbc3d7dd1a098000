// Writes the seed corpora of the fuzz targets: small valid files made with the program's own
// record writers, and, when a program folder is given, its compiled data files and pictures.
//
//   fuzz_seeds <corpus folder> [<program folder>]
//
// Seeds are named "seed-*" inside <corpus folder>/<target>/ and rewritten on every run; what
// the fuzzer adds to the corpus is left alone.

#include "daynumber.h"
#include "hintcontext.h"
#include "journalfolders.h"
#include "records.h"
#include "studystate.h"

#include <QByteArray>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QString>
#include <QtEndian>

#include <cstdio>
#include <initializer_list>
#include <utility>

using namespace moji;

namespace {

QString g_root;

void put(const char* target, const QString& name, const QByteArray& bytes)
{
    const QString folder = g_root + QLatin1Char('/') + QLatin1String(target);
    QDir().mkpath(folder);
    QFile file(folder + QStringLiteral("/seed-") + name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
        std::exit(1);
    }
}

QByteArray sjis(const QString& text)
{
    return cp932::encodeLossy(text);
}

void kanjiSeeds()
{
    // A dictionary must hold every kanji of grades 1 to 3 to be valid.
    QByteArray file;
    for (int i = 0; i < 440; ++i) {
        KanjiRecord r;
        r.KanjiNo = int16_t(1 + i);
        r.GlyphLead = uint8_t(0x88 + i / 90);
        r.GlyphTrail = uint8_t(0x9F + i % 90);
        r.StrokeCount = int16_t(1 + i % 20);
        r.Component1Group = int16_t(1 + i % 8);
        r.Component1No = int16_t(1 + i % 5);
        r.Component2Group = int16_t(i % 3 == 0 ? 0 : 1 + i % 4);
        r.Component2No = int16_t(i % 3 == 0 ? 0 : 2 + i % 7);
        file += r.encode();
    }
    put("fuzz_kanji", QStringLiteral("grades1to3"), file);
}

void radicalSeeds()
{
    QByteArray file;
    for (int group = 1; group <= 8; ++group) {
        for (int n = 1; n <= 6; ++n)
            file += RadicalRecord{int16_t(group), 0, int16_t(n), int16_t(32 * (n - 1))}.encode();
    }
    put("fuzz_radicals", QStringLiteral("groups"), file);
}

void questionSeeds()
{
    // The index: each kanji two questions of a 40-question bank.
    QByteArray index;
    for (int k = 0; k < KanjiCount; ++k)
        index += QuestionIndexRecord{0, int16_t(1 + (k % 20) * 2), 2}.encode();
    put("fuzz_question_index", QStringLiteral("all"), index);
    put("fuzz_question_index", QStringLiteral("level1"), index.first(20 * QuestionIndexRecord::Size));

    QByteArray bank;
    const QString sentences[][3] = {
        {QStringLiteral("あさ"), QStringLiteral("はやく"), QStringLiteral("おきる。")},
        {QStringLiteral("こうえんで"), QStringLiteral("あそぶ"), QString()},
        {QString(), QStringLiteral("かわ"), QStringLiteral("のながれ。")},
    };
    for (int q = 0; q < 12; ++q) {
        QuestionRecord r;
        r.TargetPart = int16_t(1 + q % 3);
        const auto& s = sentences[q % 3];
        r.Parts = {sjis(s[0]), sjis(s[1]), sjis(s[2])};
        bank += r.encode();
    }
    put("fuzz_questions", QStringLiteral("bank"), bank);
}

void hintSeeds()
{
    QByteArray file;
    int n = 0;
    for (const HintContext& c : UsedHintContexts) {
        // Two hints for the first context, so that paging has somewhere to go.
        for (int copy = 0; copy < (n == 0 ? 2 : 1); ++copy) {
            HintRecord r;
            r.Topic = int16_t(c.topic);
            r.Section = int16_t(c.section);
            r.Mode = int16_t(c.mode);
            r.HintNo = int16_t(++n);
            r.Level1[0] = sjis(QStringLiteral("どうするのかな？"));
            r.Level2[0] = sjis(QStringLiteral("ボタンをおしてみよう。"));
            r.Level2[1] = sjis(QStringLiteral("もういちど"));
            file += r.encode();
        }
    }
    put("fuzz_hints", QStringLiteral("contexts"), file);
}

void rosterSeeds()
{
    QByteArray file;
    const QString names[] = {QStringLiteral("たろう"), QStringLiteral("はなこ"), QStringLiteral("ABCDEFGHIJ")};
    for (int i = 0; i < 3; ++i) {
        PlayerRecord r;
        r.Level = int16_t(1 + i * 4);
        r.Mode = int16_t(1 + i % 2);
        r.Game1Level = int16_t(i);
        r.Game3Level = 1;
        r.Name = SjisString<10>::fromUnicode(names[i]);
        file += r.encode();
    }
    put("fuzz_roster", QStringLiteral("three"), file);
    // A full roster: ten pupils, the most the program keeps.
    QByteArray full;
    for (int i = 0; i < MaxPlayers; ++i) {
        PlayerRecord r;
        r.Level = int16_t(1 + i);
        r.Mode = int16_t(2 - i % 2);
        r.Name = SjisString<10>::fromUnicode(QStringLiteral("せいと%1").arg(i + 1));
        full += r.encode();
    }
    put("fuzz_roster", QStringLiteral("ten"), full);
    // Roster changes of the second of three pupils, each with the folder it was cut short in
    // (the first byte) and the journal that belongs to that folder.
    const auto folders = fuzz::journal::folders();
    for (std::size_t f = 0; f < folders.size(); ++f) {
        const QByteArray journal = fuzz::journal::journalOf(folders[f].action, folders[f].step).encode();
        put("fuzz_roster_journal", QStringLiteral("folder%1").arg(f), QByteArray(1, char(f)) + journal);
    }
}

HistoryRecord session(int kind, int level, int mode, double when, int correct, bool counted)
{
    HistoryRecord r;
    r.Kind = int16_t(kind);
    r.Level = int16_t(level);
    r.Mode = int16_t(mode);
    r.When = when;
    for (int i = 0; i < 10; ++i) {
        r.KanjiNo[std::size_t(i)] = int16_t(firstKanjiOfLevel(level) + 2 * i);
        r.Correct[std::size_t(i)] = i < correct;
    }
    r.Counted = counted;
    return r;
}

void historySeeds()
{
    QByteArray file;
    double when = daynumber::fromDate(QDate(2024, 4, 8)) + 0.6;
    // Four counted challenges finish level 1 reading, then writing begins; practice between.
    for (int i = 0; i < 4; ++i, when += 1)
        file += session(1, 1, 1, when, 10, true).encode();
    file += session(2, 1, 2, when, 6, false).encode();
    for (int i = 0; i < 16; ++i, when += 0.5)
        file += session(1 + i % 2, 1 + i / 8, 2, when, 7 + i % 4, i % 3 != 0).encode();
    put("fuzz_history", QStringLiteral("pages"), file);
    // An append cut short by a power failure.
    put("fuzz_history", QStringLiteral("torn"), file.first(3 * HistoryRecord::Size + 20));
}

void scoreSeeds()
{
    for (const int game : {0, 1}) {
        QByteArray file(1, char(40 + game)); // the game and the new result
        const double day = daynumber::fromDate(QDate(2024, 3, 1));
        for (int i = 0; i < 10; ++i) {
            GameScoreRecord r;
            r.Score = int16_t(200 - 15 * i);
            r.Name = SjisString<10>::fromUnicode(i % 2 ? QStringLiteral("じろう") : QStringLiteral("さくら"));
            r.Date = day - 40 * i;
            file += r.encode();
        }
        put("fuzz_scores", QStringLiteral("full%1").arg(game), file);
        put("fuzz_scores", QStringLiteral("short%1").arg(game), file.first(1 + 3 * GameScoreRecord::Size));
    }
}

void settingsSeeds()
{
    put("fuzz_settings", QStringLiteral("dialog"),
        "[Mojimaru3]\r\nDebug=0\r\nWrite_Time=10\r\nRead_Time=5\r\n\r\n[Mojimaru1]\r\nWrite_Time=10\r\n"
        "Read_Time=5\r\nPOPMSG=Y\r\n");
    put("fuzz_settings", QStringLiteral("hand"), "; edited by hand\n[ mojimaru3 ]\nread_time = \"12\"\nDebug=1\n[Other]\nx=1\n");
}

// Windows metafile records: size in 16-bit words (the 3-word head included), function,
// parameter words.
class Wmf {
public:
    Wmf& word(int w)
    {
        const quint16 le = qToLittleEndian(quint16(w));
        m_bytes.append(reinterpret_cast<const char*>(&le), 2);
        return *this;
    }
    Wmf& record(int function, std::initializer_list<int> params)
    {
        const int words = 3 + int(params.size());
        word(words & 0xFFFF).word(words >> 16).word(function);
        for (const int p : params)
            word(p);
        return *this;
    }
    Wmf& text(int function, const QByteArray& text, std::initializer_list<int> before, std::initializer_list<int> after)
    {
        QByteArray padded = text;
        if (padded.size() % 2)
            padded.append('\0');
        const int words = 3 + int(before.size() + padded.size() / 2 + after.size());
        word(words & 0xFFFF).word(words >> 16).word(function);
        for (const int p : before)
            word(p);
        m_bytes += padded;
        for (const int p : after)
            word(p);
        return *this;
    }
    QByteArray bytes() const { return m_bytes; }
    // Sets the standard header's size (in words, from the header at `headerAt` to the end).
    void declareSize(int headerAt)
    {
        const auto words = qToLittleEndian(quint32((m_bytes.size() - headerAt) / 2));
        m_bytes.replace(headerAt + 6, 4, reinterpret_cast<const char*>(&words), 4);
    }

private:
    QByteArray m_bytes;
};

QByteArray metafile(bool placeable)
{
    Wmf m;
    if (placeable) {
        const int head[] = {0xCDD7, 0x9AC6, 0, 0, 0, 200, 200, 96, 0, 0};
        int sum = 0;
        for (const int w : head) {
            m.word(w);
            sum ^= w;
        }
        m.word(sum);
    }
    m.word(1).word(9).word(0x0300).word(0).word(0).word(8).word(0).word(0).word(0);
    m.record(0x020B, {0, 0}).record(0x020C, {200, 200});
    m.record(0x001E, {});                                   // SaveDC
    m.record(0x02FA, {0, 3, 0, 0x00FF, 0});                 // solid pen, width 3, red
    m.record(0x012D, {0});
    m.record(0x02FC, {0, 0xCC00, 0x0000, 0});               // solid brush, green
    m.record(0x012D, {1});
    m.record(0x0324, {3, 10, 10, 90, 10, 50, 80});          // polygon
    m.record(0x0325, {3, 10, 100, 60, 150, 110, 100});      // polyline
    m.record(0x0538, {2, 3, 3, 0, 0, 20, 0, 10, 20, 30, 30, 50, 30, 40, 50}); // polypolygon
    m.record(0x0418, {190, 190, 120, 120});                 // ellipse
    m.record(0x041B, {60, 190, 10, 130});                   // rectangle
    m.record(0x061C, {20, 20, 110, 90, 70, 20});            // round rectangle
    m.record(0x02FC, {2, 0x0000, 0x00FF, 3});               // hatched brush
    m.record(0x012D, {2});
    m.record(0x0817, {100, 150, 150, 100, 190, 190, 110, 110}); // arc
    m.record(0x081A, {100, 150, 150, 100, 190, 190, 110, 110}); // pie
    m.record(0x0830, {150, 100, 100, 150, 190, 190, 110, 110}); // chord
    m.record(0x0214, {5, 5}).record(0x0213, {195, 195});    // move to, line to
    m.record(0x0127, {0xFFFF});                             // RestoreDC
    m.record(0x0106, {2}).record(0x0102, {1}).record(0x012E, {6 | 24});
    m.record(0x0201, {0xFFFF, 0x00FF}).record(0x0209, {0x0000, 0x0080});
    QByteArray face = sjis(QStringLiteral("ＭＳ ゴシック"));
    face.append('\0');
    m.text(0x02FB, face, {-24, 0, 0, 0, 700, 1, 0, 0, 0}, {}); // font, bold italic
    m.record(0x012D, {3});
    m.text(0x0521, sjis(QStringLiteral("よくできました")), {14}, {100, 30}); // TextOut y, x
    m.record(0x01F0, {3});                                  // DeleteObject
    m.record(0x02FA, {5, 0, 0, 0, 0}).record(0x012D, {3});  // null pen in the freed slot
    m.record(0x0000, {});
    m.declareSize(placeable ? 22 : 0);
    return m.bytes();
}

void metafileSeeds()
{
    put("fuzz_metafile", QStringLiteral("placeable"), metafile(true));
    put("fuzz_metafile", QStringLiteral("window"), metafile(false));
}

// The compiled files of a built program folder; the question bank is cut to its first
// records, which are those the fuzz target reads.
void programSeeds(const QString& folder)
{
    struct Source {
        const char* target;
        const char* file;
        int maxBytes;
    };
    const Source sources[] = {
        {"fuzz_kanji", "Mojimaru1.dat", 0},   {"fuzz_radicals", "Bushu1.dat", 0},
        {"fuzz_question_index", "Mondai2.dat", 0}, {"fuzz_questions", "Mondai1.dat", 32 * QuestionRecord::Size},
        {"fuzz_hints", "Hint.dat", 0}, {"fuzz_stroke_order", "Kakijun.dat", 0},
    };
    for (const Source& s : sources) {
        QFile file(folder + QLatin1Char('/') + QLatin1String(s.file));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        QByteArray bytes = file.readAll();
        if (s.maxBytes > 0 && bytes.size() > s.maxBytes)
            bytes.truncate(s.maxBytes);
        put(s.target, QLatin1String(s.file), bytes);
    }
    for (const auto& [pattern, target] : {std::pair{"*.wmf", "fuzz_metafile"}, std::pair{"*.bmp", "fuzz_bitmap"}}) {
        const QStringList pictures = QDir(folder).entryList({QLatin1String(pattern)}, QDir::Files);
        for (const QString& name : pictures) {
            QFile file(folder + QLatin1Char('/') + name);
            if (file.open(QIODevice::ReadOnly))
                put(target, name, file.readAll());
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s <corpus folder> [<program folder>]\n", argv[0]);
        return 2;
    }
    g_root = QString::fromLocal8Bit(argv[1]);
    kanjiSeeds();
    radicalSeeds();
    questionSeeds();
    hintSeeds();
    rosterSeeds();
    historySeeds();
    scoreSeeds();
    settingsSeeds();
    metafileSeeds();
    if (argc == 3)
        programSeeds(QString::fromLocal8Bit(argv[2]));
    return 0;
}
