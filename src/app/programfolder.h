#pragma once

#include <QString>

namespace moji {

// The folder of the program's read-only data (dictionaries, questions, hints, pictures,
// sounds, help) and whether it is an installed one.
struct ProgramFolder {
    QString path;
    bool installed = false;
};

// Where the data of the executable in `executableFolder` lies: where `cmake --install` put it
// beside the executable's own folder (share/mojimaru beside bin), or else beside the
// executable itself, as in the build's program folder or a copy of it.
ProgramFolder locateProgramFolder(const QString& executableFolder);

} // namespace moji
