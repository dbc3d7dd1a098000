#include "records.h"

#include "errors.h"

#include <QCryptographicHash>
#include <QtEndian>

#include <algorithm>
#include <climits>
#include <cstring>

namespace moji {

namespace {

// Sequential little-endian access to one record's bytes.
class Reader {
public:
    Reader(QByteArrayView bytes, int size, const char* what) : m_bytes(bytes)
    {
        if (bytes.size() != size)
            throw RangeError(QStringLiteral("%1 record needs %2 bytes, got %3")
                                 .arg(QLatin1String(what)).arg(size).arg(bytes.size()));
    }
    int16_t i16() { return qFromLittleEndian<int16_t>(take(2)); }
    int32_t i32() { return qFromLittleEndian<int32_t>(take(4)); }
    uint64_t u64() { return qFromLittleEndian<uint64_t>(take(8)); }
    uint8_t u8() { return static_cast<uint8_t>(*take(1)); }
    bool boolean() { return *take(1) != 0; }
    double f64() { return qFromLittleEndian<double>(take(8)); }
    QByteArrayView bytes(int n) { return QByteArrayView(take(n), n); }
    void skip(int n) { take(n); }

    template <int Max>
    SjisString<Max> shortString(const char* field)
    {
        const int length = u8();
        const QByteArrayView text = bytes(Max);
        if (length > Max)
            throw RangeError(QStringLiteral("%1 length %2 exceeds %3").arg(QLatin1String(field)).arg(length).arg(Max));
        return SjisString<Max>::asStored(text.first(length));
    }

private:
    const char* take(int n)
    {
        const char* p = m_bytes.data() + m_pos;
        m_pos += n;
        return p;
    }
    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
};

class Writer {
public:
    explicit Writer(int size) { m_bytes.reserve(size); }
    void i16(int16_t v) { append(qToLittleEndian(v)); }
    void i32(int32_t v) { append(qToLittleEndian(v)); }
    void u64(uint64_t v) { append(qToLittleEndian(v)); }
    void u8(uint8_t v) { m_bytes.append(char(v)); }
    void boolean(bool v) { m_bytes.append(char(v ? 1 : 0)); }
    void f64(double v) { append(qToLittleEndian(v)); }
    void zeros(int n) { m_bytes.append(n, '\0'); }
    void padded(QByteArrayView text, int width, char pad, const char* field)
    {
        if (text.size() > width)
            throw RangeError(QStringLiteral("%1 of %2 bytes exceeds %3").arg(QLatin1String(field)).arg(text.size()).arg(width));
        m_bytes.append(text.data(), text.size());
        m_bytes.append(width - text.size(), pad);
    }
    template <int Max>
    void shortString(const SjisString<Max>& s)
    {
        u8(uint8_t(s.size()));
        padded(s.bytes(), Max, '\0', "string");
    }
    QByteArray take() { return std::move(m_bytes); }

private:
    template <typename T>
    void append(T v)
    {
        char raw[sizeof(T)];
        std::memcpy(raw, &v, sizeof(T));
        m_bytes.append(raw, sizeof(T));
    }
    QByteArray m_bytes;
};

QByteArray untilNul(QByteArrayView field)
{
    const qsizetype nul = field.indexOf('\0');
    return (nul < 0 ? field : field.first(nul)).toByteArray();
}

} // namespace

AskedQuestionRecord AskedQuestionRecord::decode(QByteArrayView bytes)
{
    Reader in(bytes, Size, "asked question");
    AskedQuestionRecord r;
    r.KanjiNo = in.i16();
    r.QuestionNo = in.i16();
    return r;
}

QByteArray AskedQuestionRecord::encode() const
{
    Writer out(Size);
    out.i16(KanjiNo);
    out.i16(QuestionNo);
    return out.take();
}

namespace {
// The first eight bytes of the SHA-256 of `bytes`: a fingerprint no edit of a file keeps.
uint64_t fingerprint(QByteArrayView bytes)
{
    return qFromLittleEndian<uint64_t>(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).constData());
}
constexpr int JournalBody = RosterJournalRecord::Size - 8;
} // namespace

RosterJournalRecord::FilePrint RosterJournalRecord::FilePrint::of(QByteArrayView bytes)
{
    return {int32_t(std::min<qsizetype>(bytes.size(), INT32_MAX)), fingerprint(bytes)};
}

RosterJournalRecord RosterJournalRecord::decode(QByteArrayView bytes)
{
    Reader in(bytes, Size, "roster change");
    RosterJournalRecord r;
    r.Action = in.i16();
    r.PupilNo = in.i16();
    r.OldCount = in.i16();
    r.Step = in.i16();
    r.When = in.f64();
    for (SjisString<10>& name : r.Names)
        name = in.shortString<10>("name");
    for (FilePrint& print : r.Histories) {
        print.Size = in.i32();
        print.Hash = in.u64();
    }
    in.skip(JournalBody - 16 - Pupils * 23);
    r.m_intact = in.u64() == fingerprint(bytes.first(JournalBody));
    return r;
}

QByteArray RosterJournalRecord::encode() const
{
    Writer out(Size);
    out.i16(Action);
    out.i16(PupilNo);
    out.i16(OldCount);
    out.i16(Step);
    out.f64(When);
    for (const SjisString<10>& name : Names)
        out.shortString(name);
    for (const FilePrint& print : Histories) {
        out.i32(print.Size);
        out.u64(print.Hash);
    }
    out.zeros(JournalBody - 16 - Pupils * 23);
    QByteArray bytes = out.take();
    Writer checksum(8);
    checksum.u64(fingerprint(bytes));
    return bytes + checksum.take();
}

StrokeOrderRecord StrokeOrderRecord::decode(QByteArrayView bytes)
{
    Reader in(bytes, Size, "stroke order");
    StrokeOrderRecord r;
    r.GlyphLead = in.u8();
    r.GlyphTrail = in.u8();
    r.StrokeCount = in.i16();
    for (auto& stroke : r.Strokes) {
        for (uint8_t& v : stroke)
            v = in.u8();
    }
    return r;
}

QByteArray StrokeOrderRecord::encode() const
{
    Writer out(Size);
    out.u8(GlyphLead);
    out.u8(GlyphTrail);
    out.i16(StrokeCount);
    for (const auto& stroke : Strokes) {
        for (const uint8_t v : stroke)
            out.u8(v);
    }
    return out.take();
}

KanjiRecord KanjiRecord::decode(QByteArrayView bytes)
{
    Reader in(bytes, Size, "kanji");
    KanjiRecord r;
    r.KanjiNo = in.i16();
    r.GlyphLead = in.u8();
    r.GlyphTrail = in.u8();
    r.StrokeCount = in.i16();
    r.Component1Group = in.i16();
    r.Component1No = in.i16();
    r.Component2Group = in.i16();
    r.Component2No = in.i16();
    return r;
}

QByteArray KanjiRecord::encode() const
{
    Writer out(Size);
    out.i16(KanjiNo);
    out.u8(GlyphLead);
    out.u8(GlyphTrail);
    out.i16(StrokeCount);
    out.i16(Component1Group);
    out.i16(Component1No);
    out.i16(Component2Group);
    out.i16(Component2No);
    return out.take();
}

RadicalRecord RadicalRecord::decode(QByteArrayView bytes)
{
    Reader in(bytes, Size, "radical");
    RadicalRecord r;
    r.Group = in.i16();
    r.Reserved = in.i16();
    r.Number = in.i16();
    r.Picture = in.i16();
    return r;
}

QByteArray RadicalRecord::encode() const
{
    Writer out(Size);
    out.i16(Group);
    out.i16(Reserved);
    out.i16(Number);
    out.i16(Picture);
    return out.take();
}

QuestionIndexRecord QuestionIndexRecord::decode(QByteArrayView bytes)
{
    Reader in(bytes, Size, "question index");
    QuestionIndexRecord r;
    r.Reserved = in.i16();
    r.FirstQuestion = in.i16();
    r.QuestionCount = in.i16();
    return r;
}

QByteArray QuestionIndexRecord::encode() const
{
    Writer out(Size);
    out.i16(Reserved);
    out.i16(FirstQuestion);
    out.i16(QuestionCount);
    return out.take();
}

PlayerRecord PlayerRecord::decode(QByteArrayView bytes)
{
    Reader in(bytes, Size, "player");
    PlayerRecord r;
    r.Reserved0 = in.i16();
    r.Level = in.i16();
    r.Game1Level = in.i16();
    r.Reserved6 = in.i16();
    r.Game3Level = in.i16();
    r.Reserved10 = in.i16();
    r.Reserved12 = in.i16();
    r.Mode = in.i16();
    r.Name = in.shortString<10>("player name");
    return r;
}

QByteArray PlayerRecord::encode() const
{
    Writer out(Size);
    out.i16(Reserved0);
    out.i16(Level);
    out.i16(Game1Level);
    out.i16(Reserved6);
    out.i16(Game3Level);
    out.i16(Reserved10);
    out.i16(Reserved12);
    out.i16(Mode);
    out.shortString(Name);
    out.zeros(1);
    return out.take();
}

int HistoryRecord::correctCount() const
{
    int n = 0;
    for (const bool c : Correct)
        n += c ? 1 : 0;
    return n;
}

HistoryRecord HistoryRecord::decode(QByteArrayView bytes)
{
    Reader in(bytes, Size, "history");
    HistoryRecord r;
    r.Kind = in.i16();
    r.Level = in.i16();
    r.Mode = in.i16();
    in.skip(2);
    r.When = in.f64();
    for (auto& k : r.KanjiNo)
        k = in.i16();
    for (auto& c : r.Correct)
        c = in.boolean();
    r.Reserved = in.i16();
    r.Counted = in.boolean();
    return r;
}

QByteArray HistoryRecord::encode() const
{
    Writer out(Size);
    out.i16(Kind);
    out.i16(Level);
    out.i16(Mode);
    out.zeros(2);
    out.f64(When);
    for (const auto k : KanjiNo)
        out.i16(k);
    for (const auto c : Correct)
        out.boolean(c);
    out.i16(Reserved);
    out.boolean(Counted);
    out.zeros(3);
    return out.take();
}

QuestionRecord QuestionRecord::decode(QByteArrayView bytes)
{
    Reader in(bytes, Size, "question");
    QuestionRecord r;
    r.Reserved = in.i16();
    r.TargetPart = in.i16();
    for (auto& part : r.Parts)
        part = cp932::trim(in.bytes(PartBytes));
    return r;
}

QByteArray QuestionRecord::encode() const
{
    Writer out(Size);
    out.i16(Reserved);
    out.i16(TargetPart);
    for (const auto& part : Parts)
        out.padded(part, PartBytes, ' ', "question part");
    return out.take();
}

HintRecord HintRecord::decode(QByteArrayView bytes)
{
    Reader in(bytes, Size, "hint");
    HintRecord r;
    r.Topic = in.i16();
    r.Section = in.i16();
    r.Mode = in.i16();
    r.Reserved = in.i16();
    r.HintNo = in.i16();
    for (auto& line : r.Level1)
        line = untilNul(in.bytes(Level1LineBytes));
    for (auto& line : r.Level2)
        line = untilNul(in.bytes(Level2LineBytes));
    return r;
}

QByteArray HintRecord::encode() const
{
    Writer out(Size);
    out.i16(Topic);
    out.i16(Section);
    out.i16(Mode);
    out.i16(Reserved);
    out.i16(HintNo);
    for (const auto& line : Level1)
        out.padded(line, Level1LineBytes, '\0', "hint line");
    for (const auto& line : Level2)
        out.padded(line, Level2LineBytes, '\0', "hint line");
    return out.take();
}

GameScoreRecord GameScoreRecord::decode(QByteArrayView bytes)
{
    Reader in(bytes, Size, "game score");
    GameScoreRecord r;
    r.Score = in.i16();
    r.Name = in.shortString<10>("score name");
    in.skip(3);
    r.Date = in.f64();
    return r;
}

QByteArray GameScoreRecord::encode() const
{
    Writer out(Size);
    out.i16(Score);
    out.shortString(Name);
    out.zeros(3);
    out.f64(Date);
    return out.take();
}

} // namespace moji
