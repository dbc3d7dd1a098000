#pragma once

// The folders the roster-journal target fuzzes a journal against: three pupils, あ, い and う,
// each with a history of their own, and a change to the second pupil as far as a kill can
// have left it. Shared with the seed writer, which gives each folder the journal that truly
// belongs to it, for the fuzzer to change from there.

#include "records.h"
#include "studystate.h"

#include <QByteArray>
#include <QString>

#include <map>
#include <vector>

namespace fuzz::journal {

inline QString pupilName(int tag)
{
    return QString(QChar(u"あいう"[tag - 1]));
}

inline QByteArray historyOf(int tag)
{
    moji::HistoryRecord r;
    r.Kind = 1;
    r.Level = 1;
    r.Mode = 1;
    r.When = 46000 + tag;
    r.KanjiNo.fill(int16_t(moji::FirstKanjiNo + tag));
    return r.encode();
}

inline QByteArray rosterOf(const std::vector<int>& tags)
{
    QByteArray roster;
    for (const int tag : tags) {
        moji::PlayerRecord p;
        p.Level = 1;
        p.Mode = 1;
        p.Game3Level = int16_t(tag);
        p.Name = moji::SjisString<10>::fromUnicode(pupilName(tag));
        roster += p.encode();
    }
    return roster;
}

// The files of a folder, by name, and the journal step they stand at.
struct Folder {
    int16_t action = 0;
    int16_t step = 0;
    std::map<QString, QByteArray> files;
};

inline std::vector<Folder> folders()
{
    const QString backup = QStringLiteral("Kiroku-い-20251201-120000.bak");
    const auto k = [](int n) { return moji::historyFileName(n); };
    const QString roster = QStringLiteral("Player1.dat");
    const QByteArray all = rosterOf({1, 2, 3});
    return {
        {2, 0, {{roster, all}, {k(1), historyOf(1)}, {k(2), historyOf(2)}, {k(3), historyOf(3)}}},
        {2, 2, {{roster, all}, {k(1), historyOf(1)}, {backup, historyOf(2)}, {k(3), historyOf(3)}}},
        {2, 3, {{roster, all}, {k(1), historyOf(1)}, {backup, historyOf(2)}, {k(2), historyOf(3)}}},
        {2, 3, {{roster, rosterOf({1, 3})}, {k(1), historyOf(1)}, {backup, historyOf(2)}, {k(2), historyOf(3)}}},
        {1, 0, {{roster, all}, {k(1), historyOf(1)}, {k(2), historyOf(2)}, {k(3), historyOf(3)}}},
        {1, 2, {{roster, all}, {k(1), historyOf(1)}, {backup, historyOf(2)}, {k(3), historyOf(3)}}},
    };
}

// The journal a change of pupil 2 writes when it begins, at `step`.
inline moji::RosterJournalRecord journalOf(int16_t action, int16_t step)
{
    moji::RosterJournalRecord j;
    j.Action = action;
    j.PupilNo = 2;
    j.OldCount = 3;
    j.Step = step;
    j.When = 46000.5;
    for (int tag = 1; tag <= 3; ++tag) {
        j.Names[std::size_t(tag - 1)] = moji::SjisString<10>::fromUnicode(pupilName(tag));
        j.Histories[std::size_t(tag - 1)] = moji::RosterJournalRecord::FilePrint::of(historyOf(tag));
    }
    return j;
}

} // namespace fuzz::journal
