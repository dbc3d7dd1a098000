#include "fuzzsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

// Read by LeakSanitizer at start: fontconfig keeps its configuration until the process ends
// and never frees it; that is not ours to fix, and everything else is still checked.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

namespace fuzz {

const QString& scratchFolder()
{
    // /dev/shm keeps the many small writes off the disk where it exists.
    static const QString base = QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm")
                                                                                   : QDir::tempPath();
    static QTemporaryDir folder(base + QStringLiteral("/mojimaru-fuzz-XXXXXX"));
    static const QString path = [] {
        if (!folder.isValid()) {
            std::fprintf(stderr, "cannot create a scratch folder: %s\n", qPrintable(folder.errorString()));
            std::abort();
        }
        return folder.path();
    }();
    return path;
}

void writeFixed(const QString& fileName, const QByteArray& bytes)
{
    QFile file(scratchFolder() + QLatin1Char('/') + fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(file.fileName()), qPrintable(file.errorString()));
        std::abort();
    }
}

QString writeInput(const QString& fileName, const uint8_t* data, std::size_t size)
{
    writeFixed(fileName, QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    return scratchFolder() + QLatin1Char('/') + fileName;
}

void removeFile(const QString& fileName)
{
    QFile::remove(scratchFolder() + QLatin1Char('/') + fileName);
}

const moji::Clock& fixedClock()
{
    // 1 April 2024, 10:00.
    static const moji::ManualClock clock(45383.0 + 10.0 / 24.0);
    return clock;
}

std::unique_ptr<moji::StudyState> makeState()
{
    auto state = std::make_unique<moji::StudyState>(scratchFolder(), fixedClock());
    state->settingsPath = scratchFolder() + QStringLiteral("/Mojimaru.ini");
    return state;
}

void fillKanjiTable(moji::StudyState& state)
{
    for (int k = moji::FirstKanjiNo; k < moji::FirstKanjiNo + moji::KanjiCount; ++k) {
        // Lead byte 0x88, trail bytes 0x9F to 0xFC then 0x40 onwards: real kanji codes.
        const int offset = k - moji::FirstKanjiNo;
        const char glyph[2] = {char(0x88 + offset / 0x50), char(0xA0 + offset % 0x50)};
        state.KanjiTable[k].Glyph = moji::SjisString<2>::fromBytes(QByteArrayView(glyph, 2));
        state.KanjiTable[k].StrokeCount = int16_t(1 + offset % 20);
    }
}

void ensureGuiApplication()
{
    if (QGuiApplication::instance())
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "mojimaru-fuzz";
    static char* argv[] = {name, nullptr};
    new QGuiApplication(argc, argv); // lives for the whole process
}

void fail(const char* what, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: expectation failed: %s\n", file, line, what);
    std::abort();
}

} // namespace fuzz
