// Mojimaru.ini: the answer-time limits, the developer switch, the records folder a parent may
// name and a parent's switches for the handwriting pad, the answer shown in the review and
// ふくしゅう, the spaced review of learned kanji.
// Start-up reads section Mojimaru3; the settings dialog saves to Mojimaru1 and, so that a
// parent's change survives a restart, to the time keys and the switches of Mojimaru3 as well.

#include "inifile.h"
#include "studystate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <pwd.h>

namespace moji {

namespace {

const QString SettingsFile = QStringLiteral("Mojimaru.ini");
const QString StartSection = QStringLiteral("Mojimaru3");
const QString DialogSection = QStringLiteral("Mojimaru1");
const QString DebugKey = QStringLiteral("Debug");
const QString WriteTimeKey = QStringLiteral("Write_Time");
const QString ReadTimeKey = QStringLiteral("Read_Time");
const QString PopupKey = QStringLiteral("POPMSG");
const QString HandwritingKey = QStringLiteral("Tegaki");
const QString ReviewHelpKey = QStringLiteral("Kotae_Oshie");
const QString SpacedReviewKey = QStringLiteral("Fukushuu");
const QString RecordsFolderKey = QStringLiteral("Records_Folder");
const QString AskedFolderKey = QStringLiteral("Records_Asked");
constexpr int DefaultMinutes = 10;
// Stands for "absent, empty or not a number"; a stored -1 therefore counts as absent too.
constexpr qint64 Missing = -1;

// Reads a time limit, writing the default back when it is missing.
int16_t readMinutes(IniFile& ini, const QString& key, bool& changed)
{
    const qint64 value = ini.readInteger(StartSection, key, Missing);
    if (value == Missing) {
        ini.writeString(StartSection, key, QString::number(DefaultMinutes));
        changed = true;
        return DefaultMinutes;
    }
    requireRange(value, -32768, 32767, SettingsFile, qPrintable(key));
    return int16_t(value);
}

// A switch is on unless it is stored as 0: an absent key is a file written before it existed.
bool readSwitch(const IniFile& ini, const QString& key)
{
    return ini.readInteger(StartSection, key, Missing) != 0;
}

QString switchText(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

// A folder named in the settings, absolute: a path is a file name of the system's, so its
// bytes are read as the system names files (UTF-8); "~/" starts in the home folder and "~name/"
// in that login's, as in a shell, and a relative path starts beside the settings file. A
// "~name" of no login is kept as written, so that the parent is told of the folder they wrote.
// Empty when no folder is named.
QString folderSetting(const IniFile& ini, const QString& key, const QString& settingsPath)
{
    const auto bytes = ini.readBytes(StartSection, key);
    if (!bytes || bytes->trimmed().isEmpty())
        return {};
    QString folder = QFile::decodeName(bytes->trimmed());
    if (folder.startsWith(QLatin1Char('~'))) {
        const qsizetype slash = folder.indexOf(QLatin1Char('/'));
        const QString login = folder.mid(1, slash < 0 ? -1 : slash - 1);
        QString home = QDir::homePath();
        if (!login.isEmpty()) {
            const passwd* entry = ::getpwnam(QFile::encodeName(login).constData());
            if (!entry)
                return QDir::cleanPath(folder);
            home = QFile::decodeName(entry->pw_dir);
        }
        folder = home + (slash < 0 ? QString() : folder.mid(slash));
    }
    return QDir::cleanPath(QFileInfo(settingsPath).absoluteDir().absoluteFilePath(folder));
}

} // namespace

void StudyState::ReadSettings()
{
    IniFile ini(settingsPath, SettingsFile);
    ini.load();
    const qint64 debug = ini.readInteger(StartSection, DebugKey, Missing);
    if (debug != Missing)
        DebugMode = debug == 1;
    bool changed = false;
    const int16_t writeTime = readMinutes(ini, WriteTimeKey, changed);
    const int16_t readTime = readMinutes(ini, ReadTimeKey, changed);
    WriteTimeLimit = writeTime;
    ReadTimeLimit = readTime;
    HandwritingOn = readSwitch(ini, HandwritingKey);
    ReviewHelpOn = readSwitch(ini, ReviewHelpKey);
    SpacedReviewOn = readSwitch(ini, SpacedReviewKey);
    NamedRecordsFolder = folderSetting(ini, RecordsFolderKey, settingsPath);
    AskedRecordsFolder = folderSetting(ini, AskedFolderKey, settingsPath);
    if (changed)
        ini.save();
}

void StudyState::SaveSettings() const
{
    IniFile ini(settingsPath, SettingsFile);
    ini.load();
    ini.writeString(DialogSection, WriteTimeKey, QString::number(WriteTimeLimit));
    ini.writeString(DialogSection, ReadTimeKey, QString::number(ReadTimeLimit));
    ini.writeString(DialogSection, PopupKey, PopupsOn ? QStringLiteral("Y") : QStringLiteral("N"));
    ini.writeString(StartSection, WriteTimeKey, QString::number(WriteTimeLimit));
    ini.writeString(StartSection, ReadTimeKey, QString::number(ReadTimeLimit));
    ini.writeString(StartSection, HandwritingKey, switchText(HandwritingOn));
    ini.writeString(StartSection, ReviewHelpKey, switchText(ReviewHelpOn));
    ini.writeString(StartSection, SpacedReviewKey, switchText(SpacedReviewOn));
    ini.save();
}

void StudyState::SaveAskedRecordsFolder() const
{
    IniFile ini(settingsPath, SettingsFile);
    ini.load();
    ini.writeBytes(StartSection, AskedFolderKey, QFile::encodeName(AskedRecordsFolder));
    ini.save();
}

} // namespace moji
