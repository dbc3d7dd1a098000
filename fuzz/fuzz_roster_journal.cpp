// Player1.jnl, the record of a roster change cut short, through ReadRoster over three pupils
// with histories, in one of the folders a kill can leave (the input's first byte chooses it;
// the rest is the journal). Whatever the journal says, a start never crashes, never loses a
// history (each ends up as a pupil's history or as a backup, once), and either refuses the
// journal by name or finishes the change and removes the journal; and a journal that is
// accepted leaves every history with its own pupil.

#include "fuzzsupport.h"
#include "journalfolders.h"

#include <QDir>
#include <QFile>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const QDir folder(fuzz::scratchFolder());
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden))
        fuzz::removeFile(name);
    const auto folders = fuzz::journal::folders();
    for (const auto& [name, bytes] : folders[data[0] % folders.size()].files)
        fuzz::writeFixed(name, bytes);
    fuzz::writeInput(QStringLiteral("Player1.jnl"), data + 1, size - 1);

    const auto state = fuzz::makeState();
    bool finished = true;
    try {
        state->ReadRoster();
    } catch (const moji::DataError& e) {
        FUZZ_CHECK(e.fileName() == QStringLiteral("Player1.jnl"));
        finished = false;
    }
    if (finished) {
        FUZZ_CHECK(!folder.exists(QStringLiteral("Player1.jnl")));
        // Each pupil's history file is their own.
        for (int n = 1; n <= state->PlayerCount; ++n) {
            QFile file(folder.filePath(moji::historyFileName(n)));
            if (!file.open(QIODevice::ReadOnly))
                continue;
            const QString name = state->Roster[n].Name.toUnicode();
            int tag = 1;
            while (tag <= 3 && fuzz::journal::pupilName(tag) != name)
                ++tag;
            FUZZ_CHECK(tag <= 3 && file.readAll() == fuzz::journal::historyOf(tag));
        }
    }
    // Every history is somewhere, and only once.
    int found[4] = {};
    for (const QString& name : folder.entryList(QDir::Files)) {
        if (!name.startsWith(QLatin1String("Kiroku")))
            continue;
        QFile file(folder.filePath(name));
        FUZZ_CHECK(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        for (int tag = 1; tag <= 3; ++tag)
            found[tag] += bytes == fuzz::journal::historyOf(tag) ? 1 : 0;
    }
    for (int tag = 1; tag <= 3; ++tag)
        FUZZ_CHECK(found[tag] == 1);
    return 0;
}
