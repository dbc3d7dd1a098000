#include "programfolder.h"

#include <QDir>
#include <QFileInfo>

namespace moji {

ProgramFolder locateProgramFolder(const QString& executableFolder)
{
    // MOJIMARU_INSTALLED_DATA: the installed data folder relative to the installed executable's.
    const QString installed = QDir::cleanPath(QDir(executableFolder).filePath(QStringLiteral(MOJIMARU_INSTALLED_DATA)));
    if (QFileInfo(installed).isDir())
        return {installed, true};
    return {executableFolder, false};
}

} // namespace moji
