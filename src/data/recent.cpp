#include "checked.h"
#include "errors.h"
#include "filestore.h"
#include "studystate.h"

namespace moji {

std::vector<AskedQuestionRecord> StudyState::ReadRecentQuestions(int playerNo) const
{
    requireRange(playerNo, 1, MaxPlayers, QString(), "PlayerNo");
    const QString name = recentFileName(playerNo);
    const QString path = recordPath(name);
    if (!filestore::exists(path))
        return {};
    std::vector<AskedQuestionRecord> records;
    try {
        records = filestore::readRecords<AskedQuestionRecord>(path, name);
    } catch (const DataError&) {
        return {}; // a preference, not a record: it is written anew with the next session
    }
    std::erase_if(records, [](const AskedQuestionRecord& r) {
        return r.KanjiNo < FirstKanjiNo || r.KanjiNo >= LastKanjiSlot || r.QuestionNo < 1;
    });
    return records;
}

void StudyState::RememberAskedQuestions(int playerNo, const std::vector<AskedQuestionRecord>& session)
{
    std::vector<AskedQuestionRecord> kept = ReadRecentQuestions(playerNo);
    kept.insert(kept.end(), session.begin(), session.end());
    const std::size_t most = std::size_t(RecentSessions * 10);
    if (kept.size() > most)
        kept.erase(kept.begin(), kept.end() - std::ptrdiff_t(most));
    QByteArray bytes;
    for (const AskedQuestionRecord& r : kept)
        bytes += r.encode();
    const QString name = recentFileName(playerNo);
    filestore::writeAtomically(recordPath(name), name, bytes);
}

} // namespace moji
