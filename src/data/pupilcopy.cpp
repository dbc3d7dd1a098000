#include "pupilcopy.h"

#include "errors.h"
#include "filestore.h"
#include "records.h"
#include "studystate.h"

#include <QDir>

namespace moji::pupilcopy {

namespace {
const QString RosterFile = QStringLiteral("Player1.dat");
}

QStringList pupilsIn(const QString& folder)
{
    const QString path = QDir(folder).filePath(RosterFile);
    if (!filestore::exists(path))
        return {};
    QStringList names;
    try {
        const auto records = filestore::readRecords<PlayerRecord>(path, RosterFile);
        if (records.size() > std::size_t(MaxPlayers))
            return {};
        for (const PlayerRecord& r : records)
            names << r.Name.toUnicode().trimmed();
    } catch (const DataError&) {
        return {};
    }
    return names;
}

void copyPupils(const QString& from, const QString& to)
{
    const QDir source(from);
    const QDir target(to);
    const auto copy = [&](const QString& name) {
        filestore::writeAtomically(target.filePath(name), name, filestore::readAll(source.filePath(name), name));
    };
    QStringList numbered{QStringLiteral("Player1.jnl")};
    for (int n = 1; n <= MaxPlayers; ++n)
        numbered << historyFileName(n) << recentFileName(n);
    for (const QString& name : numbered) {
        if (filestore::exists(source.filePath(name)))
            copy(name);
    }
    const QStringList kept{QStringLiteral("Game*.dat"), QStringLiteral("Kiroku-*.bak")};
    for (const QString& name : source.entryList(kept, QDir::Files)) {
        if (!filestore::occupied(target.filePath(name)))
            copy(name);
    }
    copy(RosterFile);
}

} // namespace moji::pupilcopy
