// Loading the three read-only dictionary files into the study state. Each loader fills fresh
// tables and installs them only when the whole file was valid, so a rejected file never
// leaves half a table behind.

#include "filestore.h"
#include "studystate.h"

#include <memory>

namespace moji {

namespace {

const QString RadicalFile = QStringLiteral("Bushu1.dat");
const QString KanjiFile = QStringLiteral("Mojimaru1.dat");
const QString QuestionIndexFile = QStringLiteral("Mondai2.dat");

constexpr int MaxQuestionIndexRecords = LastKanjiSlot - FirstKanjiNo + 1;
// The dictionary holds every kanji of grades 1 to 3: the pickers list the earlier grades'
// kanji too, and a missing one would show as a blank.
constexpr int DictionaryKanji = 440;

void checkGlyph(const KanjiRecord& r)
{
    if (!cp932::isLeadByte(r.GlyphLead) || !cp932::isTrailByte(r.GlyphTrail))
        throw RangeError(KanjiFile, QStringLiteral("kanji %1 has no double-byte glyph").arg(r.KanjiNo));
}

// Adds kanji n to the next free slot of a list of fixed capacity.
template <typename List>
void appendTo(List& list, int16_t& used, int n, const char* what)
{
    if (used >= List::Last)
        throw RangeError(KanjiFile, QStringLiteral("more than %1 kanji in one %2 list").arg(List::Last).arg(QLatin1String(what)));
    ++used;
    list[used] = int16_t(n);
}

} // namespace

bool StudyState::LoadRadicals()
{
    RadicalPictures.fill({});
    const QString path = dataPath(RadicalFile);
    if (!filestore::exists(path))
        return false;
    auto pictures = std::make_unique<decltype(RadicalPictures)>();
    for (const RadicalRecord& r : filestore::readRecords<RadicalRecord>(path, RadicalFile)) {
        requireRange(r.Group, 1, 10, RadicalFile, "component group");
        requireRange(r.Number, 1, 50, RadicalFile, "component number");
        requireRange(r.Picture, 0, 32767, RadicalFile, "picture position");
        (*pictures)[r.Group][r.Number] = r.Picture;
    }
    RadicalPictures = *pictures;
    return true;
}

void StudyState::LoadKanji()
{
    const auto records = filestore::readRecords<KanjiRecord>(dataPath(KanjiFile), KanjiFile);

    auto table = std::make_unique<decltype(KanjiTable)>();
    auto byStrokes = std::make_unique<decltype(KanjiByStrokes)>();
    auto byComponent = std::make_unique<decltype(KanjiByComponent)>();
    CheckedArray<int16_t, 1, 20> strokeUsed;
    CheckedArray<CheckedArray<int16_t, 1, 50>, 1, 10> componentUsed;

    for (const KanjiRecord& r : records) {
        requireRange(r.KanjiNo, 1, 1024, KanjiFile, "KanjiNo");
        requireRange(r.StrokeCount, 1, 20, KanjiFile, "stroke count");
        checkGlyph(r);
        // A group of 0 or less means "no component"; its number is then not looked at.
        if (r.Component1Group >= 1) {
            requireRange(r.Component1Group, 1, 10, KanjiFile, "component 1 group");
            requireRange(r.Component1No, 1, 50, KanjiFile, "component 1 number");
        }
        if (r.Component2Group >= 1) {
            requireRange(r.Component2Group, 1, 10, KanjiFile, "component 2 group");
            requireRange(r.Component2No, 1, 50, KanjiFile, "component 2 number");
        }

        KanjiEntry& entry = (*table)[r.KanjiNo];
        const char glyph[2] = {char(r.GlyphLead), char(r.GlyphTrail)};
        entry.Glyph = SjisString<2>::fromBytes(QByteArrayView(glyph, 2));
        entry.StrokeCount = r.StrokeCount;
        entry.Component1Group = r.Component1Group;
        entry.Component1No = r.Component1No;
        entry.Component2Group = r.Component2Group;
        entry.Component2No = r.Component2No;

        appendTo((*byStrokes)[r.StrokeCount], strokeUsed[r.StrokeCount], r.KanjiNo, "stroke count");
        if (r.Component1Group >= 1)
            appendTo((*byComponent)[r.Component1Group][r.Component1No],
                     componentUsed[r.Component1Group][r.Component1No], r.KanjiNo, "component");
        if (r.Component2Group >= 1)
            appendTo((*byComponent)[r.Component2Group][r.Component2No],
                     componentUsed[r.Component2Group][r.Component2No], r.KanjiNo, "component");
    }

    for (int n = 1; n <= DictionaryKanji; ++n) {
        if ((*table)[n].Glyph.isEmpty())
            throw RangeError(KanjiFile, QStringLiteral("kanji %1 is missing").arg(n));
    }

    KanjiTable = *table;
    KanjiByStrokes = *byStrokes;
    KanjiByComponent = *byComponent;
}

void StudyState::LoadQuestionIndex()
{
    const auto records = filestore::readRecords<QuestionIndexRecord>(dataPath(QuestionIndexFile), QuestionIndexFile);
    if (records.size() > std::size_t(MaxQuestionIndexRecords))
        throw RangeError(QuestionIndexFile, QStringLiteral("more than %1 records").arg(MaxQuestionIndexRecords));

    decltype(QuestionIndex) index;
    int kanjiNo = FirstKanjiNo - 1;
    for (const QuestionIndexRecord& r : records) {
        // A kanji's questions must lie inside the question bank's addressable records.
        requireRange(r.QuestionCount, 0, 32767, QuestionIndexFile, "question count");
        if (r.QuestionCount > 0) {
            requireRange(r.FirstQuestion, 1, 32767, QuestionIndexFile, "first question");
            requireRange(int(r.FirstQuestion) + r.QuestionCount - 1, 1, 32767, QuestionIndexFile, "last question");
        }
        ++kanjiNo;
        index[kanjiNo] = r;
    }
    QuestionIndex = index;
}

QuestionRecord StudyState::ReadQuestion(int kanjiNo, int questionNo) const
{
    static const QString BankFile = QStringLiteral("Mondai1.dat");
    const QuestionIndexRecord& index = QuestionIndex[kanjiNo];
    const QuestionRecord record = filestore::readRecordAt<QuestionRecord>(dataPath(BankFile), BankFile,
                                                                          qint64(index.FirstQuestion) - 1 + questionNo - 1);
    requireRange(record.TargetPart, 1, 3, BankFile, "target part");
    return record;
}

} // namespace moji
