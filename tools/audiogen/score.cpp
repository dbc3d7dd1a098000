#include "score.h"

#include "pitch.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <optional>

namespace moji::audio {

using content::Problems;
using content::Row;

namespace {

struct Named {
    const char* name;
    int value;
};

// The General MIDI programs our tunes may use (numbers from 0), by a name a reviewer reads.
constexpr Named Instruments[] = {
    {"piano", 0},          {"bright_piano", 1},       {"electric_piano", 4}, {"harpsichord", 6},
    {"celesta", 8},        {"glockenspiel", 9},       {"music_box", 10},     {"vibraphone", 11},
    {"marimba", 12},       {"xylophone", 13},         {"tubular_bells", 14}, {"accordion", 21},
    {"harmonica", 22},     {"nylon_guitar", 24},      {"steel_guitar", 25},  {"acoustic_bass", 32},
    {"finger_bass", 33},   {"pick_bass", 34},         {"fretless_bass", 35}, {"violin", 40},
    {"cello", 42},         {"contrabass", 43},        {"pizzicato_strings", 45},
    {"harp", 46},          {"strings", 48},           {"slow_strings", 49},  {"choir", 52},
    {"trumpet", 56},       {"trombone", 57},          {"tuba", 58},          {"muted_trumpet", 59},
    {"french_horn", 60},   {"brass", 61},             {"alto_sax", 65},      {"oboe", 68},
    {"bassoon", 70},       {"clarinet", 71},          {"piccolo", 72},       {"flute", 73},
    {"recorder", 74},      {"pan_flute", 75},         {"whistle", 78},       {"ocarina", 79},
    {"square_lead", 80},   {"warm_pad", 89},          {"kalimba", 108},      {"steel_drums", 114},
};

// General MIDI percussion keys (channel 10).
constexpr Named Drums[] = {
    {"kick", 36},      {"kick2", 35},         {"stick", 37},     {"snare", 38},    {"clap", 39},
    {"snare2", 40},    {"floortom", 41},      {"hat", 42},       {"pedalhat", 44}, {"lowtom", 45},
    {"openhat", 46},   {"midtom", 47},        {"hitom", 50},     {"crash", 49},    {"ride", 51},
    {"ridebell", 53},  {"tambourine", 54},    {"splash", 55},    {"cowbell", 56},  {"hibongo", 60},
    {"lobongo", 61},   {"hiconga", 63},       {"loconga", 64},   {"cabasa", 69},   {"maracas", 70},
    {"claves", 75},    {"hiblock", 76},       {"loblock", 77},   {"mutetriangle", 80},
    {"triangle", 81},
};

template <std::size_t N>
std::optional<int> lookUp(const Named (&table)[N], const QString& name)
{
    for (const Named& n : table) {
        if (name == QLatin1String(n.name))
            return n.value;
    }
    return std::nullopt;
}

template <std::size_t N>
QString names(const Named (&table)[N])
{
    QStringList list;
    for (const Named& n : table)
        list << QLatin1String(n.name);
    return list.join(QStringLiteral(", "));
}

std::optional<int> intIn(const QString& text, int low, int high)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < low || v > high)
        return std::nullopt;
    return v;
}

// A length in beats of the time signature, for messages: "3.5".
QString beats(int ticks, int beatUnit)
{
    return QString::number(double(ticks) * beatUnit / (4.0 * Score::Division), 'g', 4);
}

struct Tie {
    int key;
    std::size_t note; // index in the part's notes
};

// Where each part has got to while its lines are read.
struct PartCursor {
    int barStart = 0;
    std::vector<Tie> ties; // notes waiting for their continuation
    QString tieWhere;
    bool unreadable = false; // the bar holds a note that could not be read, so its length is unknown
};

class ScoreReader {
public:
    ScoreReader(const QString& fileName, Problems& problems)
        : m_file(fileName), m_problems(problems), m_problemsBefore(problems.list().size())
    {
        m_score.title = QFileInfo(fileName).completeBaseName();
    }

    void line(const Row& row);
    Score finish();

private:
    void directive(const QStringList& words, const QString& rest, const QString& where);
    void declarePart(const QStringList& words, const QString& where);
    void musicLine(const QString& head, const QString& body, const QString& where);
    void token(const QString& token, Part& part, PartCursor& cursor, int& lastLength, bool firstOfLine,
               const QString& where);
    void closeBar(Part& part, PartCursor& cursor, const QString& where);
    void note(const QStringList& pitches, int length, bool tie, int velocity, Part& part, PartCursor& cursor,
              const QString& where);
    void problem(const QString& where, const QString& what) { m_problems.add(where, what); }

    QString m_file;
    Problems& m_problems;
    qsizetype m_problemsBefore;
    Score m_score;
    std::vector<PartCursor> m_cursors;
    bool m_tempoSeen = false;
    bool m_timeSeen = false;
    bool m_musicSeen = false;
};

void ScoreReader::line(const Row& row)
{
    QString text = row.fields.join(QLatin1Char('\t'));
    static const QRegularExpression comment(QStringLiteral("(^|\\s)#.*$"));
    text.remove(comment);
    text = text.trimmed();
    if (text.isEmpty())
        return;
    const QStringList words = text.split(QRegularExpression(QStringLiteral("\\s+")));
    const QString& first = words[0];
    if (first == QLatin1String("title") || first == QLatin1String("tempo") || first == QLatin1String("time")
        || first == QLatin1String("part")) {
        directive(words, text.mid(first.size()).trimmed(), row.where());
        return;
    }
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    if (colon < 0) {
        problem(row.where(), QStringLiteral("expected title, tempo, time, part or \"<part>: <notes>\""));
        return;
    }
    musicLine(text.left(colon), text.mid(colon + 1), row.where());
}

void ScoreReader::directive(const QStringList& words, const QString& rest, const QString& where)
{
    const QString& word = words[0];
    if (word == QLatin1String("title")) {
        if (!rest.isEmpty())
            m_score.title = rest;
        return;
    }
    if (word == QLatin1String("part")) {
        declarePart(words, where);
        return;
    }
    if (m_musicSeen) {
        problem(where, QStringLiteral("%1 must come before the first part line").arg(word));
        return;
    }
    if (word == QLatin1String("tempo")) {
        const auto tempo = words.size() == 2 ? intIn(words[1], 20, 300) : std::nullopt;
        if (!tempo)
            problem(where, QStringLiteral("expected \"tempo <quarter notes per minute, 20 to 300>\""));
        else if (m_tempoSeen)
            problem(where, QStringLiteral("the tempo is given twice"));
        else
            m_score.tempo = *tempo;
        m_tempoSeen = true;
        return;
    }
    // time n/d
    const QStringList nd = words.size() == 2 ? words[1].split(QLatin1Char('/')) : QStringList();
    const auto n = nd.size() == 2 ? intIn(nd[0], 1, 12) : std::nullopt;
    const auto d = nd.size() == 2 ? intIn(nd[1], 2, 8) : std::nullopt;
    if (!n || !d || (*d != 2 && *d != 4 && *d != 8))
        problem(where, QStringLiteral("expected \"time <beats>/<2, 4 or 8>\", such as \"time 3/4\""));
    else if (m_timeSeen)
        problem(where, QStringLiteral("the time signature is given twice"));
    else {
        m_score.beatsPerBar = *n;
        m_score.beatUnit = *d;
    }
    m_timeSeen = true;
}

void ScoreReader::declarePart(const QStringList& words, const QString& where)
{
    if (words.size() < 3 || words.size() % 2 == 0) {
        problem(where, QStringLiteral("expected \"part <name> <instrument> [volume|pan|reverb|velocity <0-127>]...\""));
        return;
    }
    Part part;
    part.name = words[1];
    static const QRegularExpression plainName(QStringLiteral("^[A-Za-z][A-Za-z0-9_]*$"));
    if (!plainName.match(part.name).hasMatch()) {
        problem(where, QStringLiteral("a part name is a word of letters, digits and '_', not \"%1\"").arg(part.name));
        return;
    }
    for (const Part& p : m_score.parts) {
        if (p.name == part.name) {
            problem(where, QStringLiteral("part \"%1\" is declared twice").arg(part.name));
            return;
        }
    }
    if (words[2] == QLatin1String("drums")) {
        part.drums = true;
        part.channel = 9;
        if (std::any_of(m_score.parts.begin(), m_score.parts.end(), [](const Part& p) { return p.drums; })) {
            problem(where, QStringLiteral("only one drums part fits on the percussion channel"));
            return;
        }
    } else if (const auto program = lookUp(Instruments, words[2])) {
        part.program = *program;
        const auto melodic = std::count_if(m_score.parts.begin(), m_score.parts.end(), [](const Part& p) { return !p.drums; });
        part.channel = int(melodic) < 9 ? int(melodic) : int(melodic) + 1;
        if (part.channel > 15) {
            problem(where, QStringLiteral("more than 15 instrument parts"));
            return;
        }
    } else {
        problem(where, QStringLiteral("unknown instrument \"%1\"; known: drums, %2").arg(words[2], names(Instruments)));
        return;
    }
    for (qsizetype i = 3; i + 1 < words.size(); i += 2) {
        const QString& key = words[i];
        int* field = key == QLatin1String("volume")     ? &part.volume
                     : key == QLatin1String("pan")      ? &part.pan
                     : key == QLatin1String("reverb")   ? &part.reverb
                     : key == QLatin1String("velocity") ? &part.velocity
                                                        : nullptr;
        const int lowest = field == &part.velocity ? 1 : 0; // a note-on of velocity 0 is a note-off
        const auto value = intIn(words[i + 1], lowest, 127);
        if (!field)
            problem(where, QStringLiteral("unknown part setting \"%1\"; known: volume, pan, reverb, velocity").arg(key));
        else if (!value)
            problem(where, QStringLiteral("%1 must be a number from %2 to 127").arg(key).arg(lowest));
        else
            *field = *value;
    }
    m_score.parts.push_back(part);
    m_cursors.emplace_back();
}

void ScoreReader::musicLine(const QString& head, const QString& body, const QString& where)
{
    m_musicSeen = true;
    const QStringList words = head.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    std::size_t index = m_score.parts.size();
    for (std::size_t i = 0; !words.isEmpty() && i < m_score.parts.size(); ++i) {
        if (m_score.parts[i].name == words[0])
            index = i;
    }
    if (index == m_score.parts.size()) {
        problem(where, QStringLiteral("unknown part \"%1\"; declare it first with \"part\"").arg(words.value(0)));
        return;
    }
    Part& part = m_score.parts[index];
    PartCursor& cursor = m_cursors[index];
    int times = 1;
    for (qsizetype i = 1; i < words.size(); ++i) {
        const QString& w = words[i];
        const auto number = intIn(w.mid(1), 1, 999);
        if (w.startsWith(QLatin1Char('x')) && number && *number <= 64) {
            times = *number;
        } else if (w.startsWith(QLatin1Char('@')) && number) {
            const int bar = part.ticks / m_score.barTicks() + 1;
            if (bar != *number)
                problem(where, QStringLiteral("this line of \"%1\" starts at bar %2, not bar %3").arg(part.name).arg(bar).arg(*number));
        } else {
            problem(where, QStringLiteral("expected \"x<times>\" or \"@<bar>\" before ':', not \"%1\"").arg(w));
        }
    }
    QString spaced = body;
    spaced.replace(QLatin1Char('|'), QStringLiteral(" | "));
    const QStringList tokens = spaced.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    if (tokens.isEmpty()) {
        problem(where, QStringLiteral("no notes after ':'"));
        return;
    }
    int lastLength = 0;
    for (int t = 0; t < times; ++t) {
        const qsizetype before = m_problems.list().size();
        for (qsizetype i = 0; i < tokens.size(); ++i)
            token(tokens[i], part, cursor, lastLength, i == 0, where);
        if (part.ticks != cursor.barStart) {
            problem(where, QStringLiteral("end the line with '|'"));
            closeBar(part, cursor, where);
        }
        if (m_problems.list().size() != before)
            break; // one report per mistake, not one per repetition
    }
}

void ScoreReader::closeBar(Part& part, PartCursor& cursor, const QString& where)
{
    const int length = part.ticks - cursor.barStart;
    if (length != m_score.barTicks() && !cursor.unreadable) {
        const int bar = cursor.barStart / m_score.barTicks() + 1;
        problem(where, QStringLiteral("bar %1 of \"%2\" lasts %3 beats, not %4")
                           .arg(bar)
                           .arg(part.name, beats(length, m_score.beatUnit))
                           .arg(m_score.beatsPerBar));
    }
    part.ticks = cursor.barStart + m_score.barTicks(); // go on checking the next bars
    cursor.barStart = part.ticks;
    cursor.unreadable = false;
}

void ScoreReader::token(const QString& token, Part& part, PartCursor& cursor, int& lastLength, bool firstOfLine,
                        const QString& where)
{
    if (token == QLatin1String("|")) {
        if (part.ticks == cursor.barStart) {
            if (!firstOfLine)
                problem(where, QStringLiteral("an empty bar: write a rest such as r/1"));
            return;
        }
        closeBar(part, cursor, where);
        return;
    }
    static const QRegularExpression form(QStringLiteral("^([^/~!?]+)(?:/(\\d+)([.t]?))?(~?)([!?]?)$"));
    const QRegularExpressionMatch m = form.match(token);
    if (!m.hasMatch()) {
        cursor.unreadable = true;
        problem(where, QStringLiteral("cannot read \"%1\"; a note is written like C5/4, F#4/8., C4+E4+G4/2~ or r/4").arg(token));
        return;
    }
    int length = lastLength;
    if (!m.captured(2).isEmpty()) {
        const auto n = intIn(m.captured(2), 1, 32);
        if (!n || (*n & (*n - 1)) != 0) {
            cursor.unreadable = true;
            problem(where, QStringLiteral("\"%1\": the length after '/' must be 1, 2, 4, 8, 16 or 32").arg(token));
            return;
        }
        length = 4 * Score::Division / *n;
        if (m.captured(3) == QLatin1String("."))
            length = length * 3 / 2;
        else if (m.captured(3) == QLatin1String("t"))
            length = length * 2 / 3;
    } else if (length == 0) {
        cursor.unreadable = true;
        problem(where, QStringLiteral("\"%1\": the first note of a line needs a length, such as /4").arg(token));
        return;
    }
    lastLength = length;

    int velocity = part.velocity;
    if (m.captured(5) == QLatin1String("!"))
        velocity = std::min(127, velocity + 20);
    else if (m.captured(5) == QLatin1String("?"))
        velocity = std::max(1, velocity - 25);
    note(m.captured(1).split(QLatin1Char('+')), length, !m.captured(4).isEmpty(), velocity, part, cursor, where);
}

void ScoreReader::note(const QStringList& pitches, int length, bool tie, int velocity, Part& part, PartCursor& cursor,
                       const QString& where)
{
    std::vector<int> keys;
    const bool rest = pitches.size() == 1 && pitches[0] == QLatin1String("r");
    for (const QString& p : rest ? QStringList() : pitches) {
        const auto key = part.drums ? lookUp(Drums, p) : parsePitch(p);
        if (!key) {
            if (part.drums)
                problem(where, QStringLiteral("unknown drum \"%1\"; known: %2").arg(p, names(Drums)));
            else
                problem(where, QStringLiteral("\"%1\" is not a pitch such as C4, F#3 or Bb5, nor r for a rest").arg(p));
            continue;
        }
        if (std::find(keys.begin(), keys.end(), *key) != keys.end())
            problem(where, QStringLiteral("\"%1\" appears twice in one chord").arg(p));
        else
            keys.push_back(*key);
    }
    if (tie && rest)
        problem(where, QStringLiteral("a rest cannot be tied"));

    std::vector<Tie> ties;
    for (const int key : keys) {
        const auto held = std::find_if(cursor.ties.begin(), cursor.ties.end(), [key](const Tie& t) { return t.key == key; });
        std::size_t index = 0;
        if (held != cursor.ties.end()) {
            index = held->note;
            part.notes[index].length += length;
            cursor.ties.erase(held);
        } else {
            index = part.notes.size();
            part.notes.push_back(Note{part.ticks, length, key, velocity});
        }
        if (tie)
            ties.push_back(Tie{key, index});
    }
    if (!cursor.ties.empty())
        problem(cursor.tieWhere, QStringLiteral("a tie in \"%1\" is not followed by the same pitch").arg(part.name));
    cursor.ties = std::move(ties);
    cursor.tieWhere = where;
    part.ticks += length;
}

Score ScoreReader::finish()
{
    if (!m_tempoSeen)
        problem(m_file, QStringLiteral("no tempo given"));
    if (!m_timeSeen)
        problem(m_file, QStringLiteral("no time signature given"));
    if (m_score.parts.empty()) {
        problem(m_file, QStringLiteral("no parts"));
        return m_score;
    }
    const int end = m_score.ticks();
    if (end == 0) {
        problem(m_file, QStringLiteral("no bars"));
        return m_score;
    }
    int firstStart = end;
    int lastEnd = 0;
    for (std::size_t i = 0; i < m_score.parts.size(); ++i) {
        const Part& part = m_score.parts[i];
        if (!m_cursors[i].ties.empty())
            problem(m_cursors[i].tieWhere, QStringLiteral("a tie in \"%1\" is not followed by the same pitch").arg(part.name));
        if (part.ticks != end) {
            const int bars = part.ticks / m_score.barTicks();
            problem(m_file, QStringLiteral("\"%1\" has %2 bar%3 where the tune has %4")
                                .arg(part.name)
                                .arg(bars)
                                .arg(bars == 1 ? QString() : QStringLiteral("s"))
                                .arg(end / m_score.barTicks()));
        }
        for (const Note& n : part.notes) {
            firstStart = std::min(firstStart, n.start);
            lastEnd = std::max(lastEnd, n.start + n.length);
        }
    }
    // The program replays the tune as soon as it ends, so silence at either end is a gap.
    // Checked only on an otherwise sound score, where it cannot be a mere echo of a mistake.
    if (m_problems.list().size() != m_problemsBefore)
        return m_score;
    if (firstStart != 0)
        problem(m_file, QStringLiteral("the tune must start with a note on its first beat, since it loops"));
    if (lastEnd != end)
        problem(m_file, QStringLiteral("the tune falls silent before the end of its last bar; since it loops, "
                                       "let a note sound up to the final bar line"));
    return m_score;
}

} // namespace

int Score::ticks() const
{
    int end = 0;
    for (const Part& p : parts)
        end = std::max(end, p.ticks);
    return end;
}

Score readScore(const QString& path, Problems& problems)
{
    ScoreReader reader(QFileInfo(path).fileName(), problems);
    for (const Row& row : content::readTable(path, false))
        reader.line(row);
    return reader.finish();
}

} // namespace moji::audio
