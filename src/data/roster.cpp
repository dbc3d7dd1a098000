#include "filestore.h"
#include "studystate.h"

#include <algorithm>

namespace moji {

namespace {
const QString RosterFile = QStringLiteral("Player1.dat");
}

RosterSummary StudyState::ReadRoster()
{
    const RosterSummary summary = ReadRosterFile();
    return FinishInterruptedRosterChange() ? ReadRosterFile() : summary;
}

RosterSummary StudyState::ReadRosterFile()
{
    RosterSummary summary;
    decltype(Roster) roster;
    const QString path = recordPath(RosterFile);
    if (filestore::exists(path)) {
        const auto records = filestore::readRecords<PlayerRecord>(path, RosterFile);
        if (records.size() > std::size_t(MaxPlayers))
            throw RangeError(RosterFile, QStringLiteral("more than %1 pupils").arg(MaxPlayers));
        for (const PlayerRecord& r : records) {
            requireRange(r.Level, 1, MaxLevel + 1, RosterFile, "level");
            requireRange(r.Mode, 1, 2, RosterFile, "mode");
            ++summary.playerCount;
            roster[summary.playerCount] = r;
            summary.highestLevel = std::max<int>(summary.highestLevel, r.Level);
        }
    }
    Roster = roster;
    PlayerCount = int16_t(summary.playerCount);
    return summary;
}

int StudyState::RegisterPupil(const SjisString<10>& name)
{
    requireRange(PlayerCount + 1, 1, MaxPlayers, RosterFile, "PlayerCount");
    PlayerRecord pupil;
    pupil.Name = name;
    pupil.Level = 1;
    pupil.Mode = 1;
    ++PlayerCount;
    Roster[PlayerCount] = pupil;
    try {
        WriteRoster();
    } catch (const DataError&) {
        // A pupil the roster on disk does not hold is not kept: their history would be filed
        // under a number the next registration gives to someone else.
        Roster[PlayerCount] = PlayerRecord();
        --PlayerCount;
        throw;
    }
    return PlayerCount;
}

void StudyState::WriteRoster() const
{
    requireRange(PlayerCount, 0, MaxPlayers, RosterFile, "PlayerCount");
    QByteArray bytes;
    bytes.reserve(PlayerCount * PlayerRecord::Size);
    for (int i = 1; i <= PlayerCount; ++i)
        bytes += Roster[i].encode();
    filestore::writeAtomically(recordPath(RosterFile), RosterFile, bytes);
}

} // namespace moji
