#include "screenfixture.h"

#include <QFile>

namespace testing_support {

ScreenFixture::ScreenFixture() : state(dir.path(), clock), program(state, clock, random, audio, help, messages)
{
    state.settingsPath = dir.filePath(QStringLiteral("Mojimaru.ini"));
    state.LayoutKind = 2;
    state.LayoutScale = 1.0;
    program.navigator = &navigator;
}

void ScreenFixture::useBuiltFile(const QString& name)
{
    QFile::copy(QStringLiteral(MOJIMARU_PROGRAM_DIR "/") + name, dir.filePath(name));
}

void ScreenFixture::addPupils(int count, int level, int mode)
{
    static const QString names = QStringLiteral("あいうえおかきくけこ");
    for (int i = 0; i < count; ++i) {
        ++state.PlayerCount;
        moji::PlayerRecord& p = state.Roster[state.PlayerCount];
        p.Name = moji::SjisString<10>::fromUnicode(names.mid(i % 10, 1).repeated(3));
        p.Level = int16_t(level);
        p.Mode = int16_t(mode);
    }
}

void ScreenFixture::loadDictionary()
{
    for (const char* name : {"Mojimaru1.dat", "Bushu1.dat", "Mondai1.dat", "Mondai2.dat", "BuhinX.bmp"})
        useBuiltFile(QString::fromLatin1(name));
    state.LoadRadicals();
    state.LoadKanji();
    state.LoadQuestionIndex();
}

} // namespace testing_support
