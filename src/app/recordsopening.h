#pragma once

#include <QString>
#include <QStringList>

#include <memory>

namespace moji {

struct Program;
class RecordsLock;

// What a parent reads about the records folder. Each names the folder or file concerned and,
// where there is something to do, what to check.
QString recordsInUseMessage(const QString& holderHost);
QString takeOverQuestion(const QString& holderHost);
QString folderMissingMessage(const QString& folder, const QString& settingsPath);
QString folderNotWritableMessage(const QString& folder);
QString lockInTheWayMessage(const QString& lockPath);
QString copyPupilsQuestion(const QString& newFolder, const QString& oldFolder, const QStringList& pupils);
QString otherPupilsMessage(const QString& newFolder, const QString& oldFolder, const QStringList& pupils);
QString pupilsCopiedMessage(const QStringList& pupils);

// Opens the records folder for this run, once the settings are read: chooses it, makes it only
// when it is the login's own folder, takes its lock into `lock` (asking the parent about one
// held on another computer), gives back to the family's group what an earlier copy kept to one
// login, and offers once to bring the pupils of the login's own folder into a newly named one.
// False, after telling the parent why, when the program must end. Raises DataError for a file
// that fails on the way.
bool openRecordsFolder(Program& program, const QString& ownFolder, std::unique_ptr<RecordsLock>& lock);

} // namespace moji
