// Player1.jnl, the record of a roster change cut short, through ReadRoster over three pupils
// with histories. Whatever the journal says, a start never crashes, never loses a history (each
// ends up as a pupil's history or as a backup, once), and either finishes the change and removes
// the journal or refuses it naming the journal.

#include "fuzzsupport.h"

#include <QDir>
#include <QFile>

namespace {

QByteArray historyOf(int tag)
{
    moji::HistoryRecord r;
    r.Kind = 1;
    r.Level = 1;
    r.Mode = 1;
    r.When = 46000 + tag;
    r.KanjiNo.fill(int16_t(moji::FirstKanjiNo + tag));
    return r.encode();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const QDir folder(fuzz::scratchFolder());
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden))
        fuzz::removeFile(name);
    QByteArray roster;
    for (int tag = 1; tag <= 3; ++tag) {
        moji::PlayerRecord p;
        p.Level = 1;
        p.Mode = 1;
        p.Game3Level = int16_t(tag);
        roster += p.encode();
        fuzz::writeFixed(moji::historyFileName(tag), historyOf(tag));
    }
    fuzz::writeFixed(QStringLiteral("Player1.dat"), roster);
    fuzz::writeInput(QStringLiteral("Player1.jnl"), data, size);

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
            found[tag] += bytes == historyOf(tag) ? 1 : 0;
    }
    for (int tag = 1; tag <= 3; ++tag)
        FUZZ_CHECK(found[tag] == 1);
    return 0;
}
