#include "studystate.h"

#include "clock.h"

#include <QFileInfo>

namespace moji {

QString historyFileName(int playerNo)
{
    return QStringLiteral("Kiroku%1.dat").arg(playerNo);
}

QString recentFileName(int playerNo)
{
    return QStringLiteral("Saikin%1.dat").arg(playerNo);
}

namespace {

QString withSeparator(QString folder)
{
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

} // namespace

StudyState::StudyState(QString programFolder, const Clock& clock)
    : m_dataFolder(withSeparator(std::move(programFolder))), m_recordsFolder(m_dataFolder), m_clock(clock)
{
}

QString StudyState::dataPath(const QString& fileName) const
{
    return m_dataFolder + fileName;
}

QString StudyState::recordPath(const QString& fileName) const
{
    return m_recordsFolder + fileName;
}

StudyState::RecordsFolderKind StudyState::chooseRecordsFolder(const QString& userFolder)
{
    const QFileInfo programFolder(m_dataFolder);
    if (!installed && programFolder.isDir() && programFolder.isWritable()) {
        m_recordsFolder = m_dataFolder;
        return RecordsFolderKind::Program;
    }
    m_recordsFolder = withSeparator(NamedRecordsFolder.isEmpty() ? userFolder : NamedRecordsFolder);
    return NamedRecordsFolder.isEmpty() ? RecordsFolderKind::Own : RecordsFolderKind::Named;
}

void StudyState::OpenHint()
{
    if (openHintHandler)
        openHintHandler();
}

void advanceStep(PlayerRecord& player)
{
    if (player.Level > MaxLevel)
        return;
    if (player.Mode == 1) {
        player.Mode = 2;
    } else {
        player.Level = int16_t(player.Level + 1);
        player.Mode = 1;
    }
}

bool stepCompleted(int level, int stepMode, int kanjiNo, int mode)
{
    const int kanjiLevel = (kanjiNo - FirstKanjiNo) / KanjisPerLevel + 1;
    if (kanjiLevel < level)
        return true;
    return kanjiLevel == level && mode == 1 && stepMode == 2;
}

} // namespace moji
