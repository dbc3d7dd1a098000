#include "studystate.h"

#include "clock.h"

#include <QDir>

namespace moji {

QString historyFileName(int playerNo)
{
    return QStringLiteral("Kiroku%1.dat").arg(playerNo);
}

QString recentFileName(int playerNo)
{
    return QStringLiteral("Saikin%1.dat").arg(playerNo);
}

StudyState::StudyState(QString programFolder, const Clock& clock)
    : m_programFolder(std::move(programFolder)), m_clock(clock)
{
    if (!m_programFolder.isEmpty() && !m_programFolder.endsWith(QLatin1Char('/')))
        m_programFolder += QLatin1Char('/');
}

QString StudyState::pathOf(const QString& fileName) const
{
    return m_programFolder + fileName;
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

} // namespace moji
