#include "startuploader.h"

#include "bitmap.h"
#include "errors.h"
#include "metafile.h"
#include "program.h"
#include "recordsopening.h"
#include "studystate.h"

#include <QImage>
#include <QStandardPaths>

namespace moji {

QString StartupLoader::dataPath(const QString& name) const
{
    return m_program.state.dataPath(name);
}

void StartupLoader::loadHeaderPictures()
{
    begin(QStringLiteral("\\ButtonX.bmp"));
    QImage strip = readBitmap(dataPath(QStringLiteral("ButtonX.bmp")), m_currentFile);
    if (strip.width() < 8 * 48 || strip.height() < 48)
        throw FileError(m_currentFile, QStringLiteral("not a picture strip of eight 48 x 48 cells"));
    strip = strip.convertToFormat(QImage::Format_RGB32);
    for (int k = 0; k < 8; ++k)
        m_program.headerImages[std::size_t(k)] = whiteTransparent(strip.copy(k * 48, 0, 48, 48));
}

void StartupLoader::loadSettings()
{
    begin(QStringLiteral("Mojimaru.ini"));
    m_program.state.ReadSettings();
    m_program.state.PopupsOn = false;
}

bool StartupLoader::openRecords(std::unique_ptr<RecordsLock>& lock)
{
    // Every failure there names its own file, the lock with its whole path.
    begin(QStringLiteral("Mojimaru.lock"));
    return openRecordsFolder(m_program, QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                                             + QStringLiteral("/mojimaru"),
                             lock);
}

bool StartupLoader::loadDictionaries()
{
    begin(QStringLiteral("Bushu1.dat"));
    const bool radicals = m_program.state.LoadRadicals();
    begin(QStringLiteral("Mojimaru1.dat"));
    m_program.state.LoadKanji();
    return radicals;
}

void StartupLoader::loadRoster()
{
    StudyState& state = m_program.state;
    begin(QStringLiteral("Player1.dat"));
    const RosterSummary roster = state.ReadRoster();
    m_program.highestLevel = roster.highestLevel;
    if (roster.playerCount > 0) {
        // Each history file is named in a failure by the rebuild itself.
        begin(historyFileName(1));
        state.RebuildLevelsFromHistory();
    }
}

void StartupLoader::loadQuestionIndex()
{
    begin(QStringLiteral("Mondai2.dat"));
    m_program.state.LoadQuestionIndex();
}

void StartupLoader::loadNoticePictures(int side)
{
    std::array<std::optional<Metafile>, 10> pictures;
    for (int n = 1; n <= 10; ++n) {
        const QString name = QStringLiteral("Pop%1.wmf").arg(n);
        begin(name);
        pictures[std::size_t(n - 1)] = Metafile::read(dataPath(name), name);
    }
    m_program.setNoticePictures(std::move(pictures), side);
}

QStringList StartupLoader::openAnswerSounds()
{
    QStringList errors;
    auto open = [&](std::unique_ptr<MediaPlayer>& player, const QString& name) {
        player = m_program.audio.createPlayer();
        if (!player->open(dataPath(name)))
            errors << mediaErrorMessage(name);
    };
    open(m_program.maruPlayer, QStringLiteral("Maru.wav"));
    open(m_program.batsuPlayer, QStringLiteral("Batsu.wav"));
    return errors;
}

} // namespace moji
