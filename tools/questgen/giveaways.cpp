#include "giveaways.h"

#include <algorithm>
#include <map>

namespace moji::content {

namespace {

constexpr int MinFormLength = 3;
constexpr int MinWholeWordLength = 2;

// The same word with its other common ending: 飲んだ and 飲んで, 取った and 取って.
QString otherEnding(const QString& form)
{
    static const QString past = QStringLiteral("ただ");
    static const QString linking = QStringLiteral("てで");
    const QChar last = form.back();
    if (const qsizetype i = past.indexOf(last); i >= 0)
        return form.chopped(1) + linking[i];
    if (const qsizetype i = linking.indexOf(last); i >= 0)
        return form.chopped(1) + past[i];
    return {};
}

} // namespace

TargetWord targetWord(const QuestionSource& q, const SchoolReadings& readings)
{
    TargetWord word;
    qsizetype start = q.before.size();
    if (q.wordStart >= 0)
        start = q.wordStart;
    else
        while (start > 0 && isIdeograph(q.before[start - 1]))
            --start;
    word.lead = q.before.mid(start);

    qsizetype end = 0;
    while (end < q.after.size() && isIdeograph(q.after[end]))
        ++end;
    // A word with okurigana ends before the kana that inflects (集め|た, 悪|い), which the
    // forms then add as the sentence writes them.
    for (const SchoolReading* r : readings.drilledBy(q.kanji, q.target, q.after)) {
        if (end > 0 || r->okurigana().isEmpty())
            continue;
        word.inflects = true;
        word.ending = r->okurigana().back();
        const qsizetype kept = r->okurigana().size() - 1;
        while (end < kept && end < q.after.size() && isHiragana(q.after[end]))
            ++end;
    }
    if (q.wordEnd >= 0)
        end = q.wordEnd;
    word.tail = q.after.left(end);
    return word;
}

std::vector<TargetWord::Form> TargetWord::forms(const QuestionSource& q) const
{
    std::vector<Form> out;
    for (const QString& asked : {q.kanji, q.target}) {
        const QString word = lead + asked + tail;
        // The kana that follow the word in the question, as many as a three-character form needs.
        qsizetype end = tail.size();
        while (word.size() + (end - tail.size()) < MinFormLength && end < q.after.size() && isHiragana(q.after[end]))
            ++end;
        const QString following = q.after.mid(tail.size(), end - tail.size());
        // A shorter word that the sentence ends or follows with a mark or a kanji (有る。) is
        // looked for only as a whole word; padded with a particle (血を止めた) it is not one.
        const bool whole = word.size() + following.size() < MinFormLength;
        if (whole && (word.size() + following.size() < MinWholeWordLength || following.size() > (inflects ? 1 : 0)))
            continue;
        const Form form{word + following, asked == q.kanji, lead + q.kanji + tail + following, whole};
        out.push_back(form);
        if (!inflects || following.isEmpty() || whole)
            continue;
        // Elsewhere the word may inflect otherwise: 悪く against わるい, 飲んだ against のんで.
        if (following.size() == 1 && inflectedStarts(ending).contains(following[0])) {
            for (const QChar other : inflectedStarts(ending)) {
                if (other != following[0])
                    out.push_back({word + other, form.withKanji, form.written, false});
            }
        } else if (const QString other = otherEnding(form.text); !other.isEmpty()) {
            out.push_back({other, form.withKanji, form.written, false});
        }
    }
    return out;
}

namespace {

// Whether a word in kana found at `at` starts a word there: at the start, after a katakana or
// a mark, after a particle, or after the okurigana of a kanji (受け|とった). Kana right after
// a kanji belong to that kanji (助か|った, 詩|しゅう), and the もった of つもった is no 持った.
bool startsWord(const QString& text, qsizetype at)
{
    static const QString particles = QStringLiteral("をにがはでのへともやて");
    if (at == 0)
        return true;
    const QChar before = text[at - 1];
    if (isIdeograph(before))
        return false;
    if (!isHiragana(before) || particles.contains(before))
        return true;
    return at >= 2 && isIdeograph(text[at - 2]);
}

// Whether another question of the level shows a form of the word where it would help: a
// session asks all its questions one way, so a reading question is helped by the kana of
// the others' sentences as read (each with its own kanji), and a writing question by the
// kanji of the others' sentences as written (each with its reading in red).
bool shows(const QuestionSource& other, const TargetWord::Form& form)
{
    if (form.withKanji)
        return (other.before + other.target + other.after).contains(form.text);
    const QString sentence = other.sentence();
    for (qsizetype at = sentence.indexOf(form.text); at >= 0; at = sentence.indexOf(form.text, at + 1)) {
        const qsizetype next = at + form.text.size();
        if (form.whole && next < sentence.size() && isHiragana(sentence[next]))
            continue;
        if (!isHiragana(form.text[0]) || startsWord(sentence, at))
            return true;
    }
    return false;
}

} // namespace

void checkGiveAways(const std::vector<QuestionSource>& questions, const SchoolReadings& readings, Problems& problems)
{
    std::map<int, std::vector<const QuestionSource*>> byLevel;
    for (const QuestionSource& q : questions)
        byLevel[q.level].push_back(&q);
    for (const QuestionSource& q : questions) {
        const TargetWord word = targetWord(q, readings);
        const auto forms = word.forms(q);
        for (const QuestionSource* other : byLevel[q.level]) {
            if (other->kanji == q.kanji)
                continue;
            const auto shown = std::find_if(forms.begin(), forms.end(), [&](const TargetWord::Form& f) { return shows(*other, f); });
            if (shown != forms.end())
                problems.add(q.where, QStringLiteral("%1 is shown as %2 in %3, which asks %4: %5")
                                          .arg(shown->written, shown->text, other->where, other->kanji, other->sentence()));
        }
    }
}

} // namespace moji::content
