#pragma once

#include <QString>
#include <QStringList>

// The pupils of one records folder brought into another, for a parent who moves a login's
// records to a folder the family shares.
namespace moji::pupilcopy {

// The names of the pupils on the roster of `folder`, in order; empty when it has none, or a
// roster this program would refuse.
QStringList pupilsIn(const QString& folder);

// Copies the records of every pupil of `from` into `to`, a folder without a roster: the
// histories, recent questions and a roster change's journal replace any of those names found
// there (they would otherwise be filed under the copied pupils), the game tables and the kept
// backups are copied only where `to` has none, and the roster comes last, so that a copy cut
// short leaves no roster and is offered again. `from` is only read. Raises FileError naming the
// file that failed.
void copyPupils(const QString& from, const QString& to);

} // namespace moji::pupilcopy
