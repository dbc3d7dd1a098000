#include "recordsopening.h"

#include "errors.h"
#include "program.h"
#include "pupilcopy.h"
#include "recordslock.h"
#include "sharedfolder.h"
#include "studystate.h"
#include "textcodec.h"

#include <QDir>
#include <QFileInfo>

namespace moji {

namespace {

QString shown(const QString& folder)
{
    return QDir::toNativeSeparators(QDir::cleanPath(folder));
}

QString pupilList(const QStringList& pupils)
{
    return QStringLiteral("%1にん（%2）").arg(fullWidthNumber(int(pupils.size())), pupils.join(QStringLiteral("、")));
}

// Every file the program writes in a records folder.
const QStringList RecordFiles{QStringLiteral("Player1.dat"), QStringLiteral("Player1.jnl"), QStringLiteral("Kiroku*.dat"),
                              QStringLiteral("Saikin*.dat"), QStringLiteral("Game*.dat"), QStringLiteral("Kiroku-*.bak")};

// The lock, or the reason the parent is given for ending.
bool takeLock(Program& program, RecordsLock& lock)
{
    Messages& messages = program.messages;
    RecordsLock::Outcome outcome = lock.acquire();
    if (outcome == RecordsLock::Outcome::HeldElsewhere) {
        // A copy on another computer cannot be seen from here: it may have crashed, or the
        // computer may be gone. Only a parent who has made sure of that takes the records over.
        messages.information(nullptr, recordsInUseMessage(lock.holderHost()));
        // The system may have asked the program to end while the box was open.
        if (program.ending || !messages.question(nullptr, takeOverQuestion(lock.holderHost())) || program.ending)
            return false;
        outcome = lock.takeOver();
    }
    const QString folder = program.state.recordsFolder();
    switch (outcome) {
    case RecordsLock::Outcome::Acquired: return true;
    case RecordsLock::Outcome::HeldHere:
    case RecordsLock::Outcome::HeldElsewhere: messages.information(nullptr, recordsInUseMessage(lock.holderHost())); return false;
    case RecordsLock::Outcome::FolderNotWritable: messages.error(nullptr, folderNotWritableMessage(folder)); return false;
    case RecordsLock::Outcome::InTheWay: messages.error(nullptr, lockInTheWayMessage(lock.path())); return false;
    case RecordsLock::Outcome::Failed: break;
    }
    throw FileError(lock.path(), lock.errorText());
}

// Once per named folder: the pupils of the login's own folder, which the parent has just left
// for a named one, are offered to be copied across when the new folder has none, and otherwise
// the parent is told where they stay. Nothing in the own folder is moved or changed.
void offerOwnPupils(Program& program, const QString& ownFolder)
{
    StudyState& state = program.state;
    const QString named = QDir::cleanPath(state.recordsFolder());
    if (state.AskedRecordsFolder == named || QFileInfo(ownFolder).canonicalFilePath() == QFileInfo(named).canonicalFilePath())
        return;
    const QStringList own = pupilcopy::pupilsIn(ownFolder);
    if (own.isEmpty())
        return;
    if (pupilcopy::pupilsIn(named).isEmpty() && !QFileInfo::exists(QDir(named).filePath(QStringLiteral("Player1.jnl")))) {
        const bool copy = program.messages.question(nullptr, copyPupilsQuestion(named, ownFolder, own));
        if (program.ending)
            return; // ended from outside while the parent was being asked: nothing is done
        if (copy) {
            pupilcopy::copyPupils(ownFolder, named);
            program.messages.information(nullptr, pupilsCopiedMessage(own));
        }
    } else {
        program.messages.information(nullptr, otherPupilsMessage(named, ownFolder, own));
    }
    if (program.ending)
        return;
    state.AskedRecordsFolder = named;
    state.SaveAskedRecordsFolder();
}

} // namespace

QString recordsInUseMessage(const QString& holderHost)
{
    const QString who = holderHost.isEmpty() ? QStringLiteral("ほかの　もじまるが")
                                             : QStringLiteral("ほかの　コンピューター（%1）の　もじまるが").arg(holderHost);
    return who + QStringLiteral("　きろくを　つかっています。\nそちらを　おわりに　してから、　もういちど　はじめて　ください。");
}

QString takeOverQuestion(const QString& holderHost)
{
    return QStringLiteral("おうちの　かたへ：　%1で　もじまるが　うごいて　いない　ことを　たしかめて　ください。\n"
                          "%1が　とまって　いる、　なまえが　かわった、　もう　ない　ときは、　"
                          "「はい」で　この　コンピューターが　きろくを　つかいます。\n"
                          "%1で　うごいて　いる　ときに　「はい」に　すると、　きろくが　きえる　ことが　あります。")
        .arg(holderHost);
}

QString folderMissingMessage(const QString& folder, const QString& settingsPath)
{
    return QStringLiteral("きろくの　フォルダー「%1」が　みつかりません。\n"
                          "おうちの　かたへ：　%2の　Records_Folder=の　フォルダーの　なまえと、　"
                          "ネットワークの　フォルダーなら　つながって　いるかを　たしかめて　ください。")
        .arg(shown(folder), shown(settingsPath));
}

QString folderNotWritableMessage(const QString& folder)
{
    return QStringLiteral("きろくの　フォルダー「%1」に　かきこめません。\n"
                          "おうちの　かたへ：　この　ログインが　フォルダーの　グループに　はいって　いるか、　"
                          "グループが　かきこめる　フォルダーか（chmod 2775）を　たしかめて　ください。")
        .arg(shown(folder));
}

QString lockInTheWayMessage(const QString& lockPath)
{
    return QStringLiteral("きろくの　しるし「%1」が　よめません。\n"
                          "おうちの　かたへ：　どの　コンピューターでも　もじまるが　うごいて　いない　ことを　"
                          "たしかめてから、　これを　けして　ください。")
        .arg(shown(lockPath));
}

QString copyPupilsQuestion(const QString& newFolder, const QString& oldFolder, const QStringList& pupils)
{
    return QStringLiteral("おうちの　かたへ：　きろくの　フォルダーが「%1」に　なりました。\n"
                          "まえの　フォルダー「%2」の　%3を　コピーしますか？\n"
                          "まえの　フォルダーの　きろくは　そのまま　のこります。　この　しつもんは　１かいだけです。")
        .arg(shown(newFolder), shown(oldFolder), pupilList(pupils));
}

QString otherPupilsMessage(const QString& newFolder, const QString& oldFolder, const QStringList& pupils)
{
    return QStringLiteral("おうちの　かたへ：　きろくの　フォルダーは「%1」です。\n"
                          "まえの　フォルダー「%2」にも　%3の　きろくが　のこって　います。")
        .arg(shown(newFolder), shown(oldFolder), pupilList(pupils));
}

QString pupilsCopiedMessage(const QStringList& pupils)
{
    return QStringLiteral("%1を　コピーしました。").arg(pupilList(pupils));
}

bool openRecordsFolder(Program& program, const QString& ownFolder, std::unique_ptr<RecordsLock>& lock)
{
    StudyState& state = program.state;
    const StudyState::RecordsFolderKind kind = state.chooseRecordsFolder(ownFolder);
    const QString folder = QDir::cleanPath(state.recordsFolder());
    // Only the login's own folder is made. A named folder that is not there is a typing
    // mistake or a network share not yet mounted: made here, it would start the family with
    // no pupils, and a share mounted later would hide what was written.
    if (kind == StudyState::RecordsFolderKind::Own && !QDir().mkpath(folder)) {
        program.messages.error(nullptr, folderNotWritableMessage(folder));
        return false;
    }
    if (!QFileInfo(folder).isDir()) {
        program.messages.error(nullptr, folderMissingMessage(folder, state.settingsPath));
        return false;
    }
    lock = std::make_unique<RecordsLock>(folder);
    if (!takeLock(program, *lock)) {
        lock.reset();
        return false;
    }
    sharedfolder::repairSharing(folder, RecordFiles);
    if (kind == StudyState::RecordsFolderKind::Named)
        offerOwnPupils(program, ownFolder);
    return true;
}

} // namespace moji
