#include "appfixture.h"

#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>

using namespace testing_support;

AppFixture::AppFixture()
    : state(dir.path(), clock), program(state, clock, random, audio, help, messages)
{
    state.settingsPath = dir.filePath(QStringLiteral("config/Mojimaru.ini"));

    QImage buttons(8 * 48, 48, QImage::Format_RGB32);
    buttons.fill(Qt::white);
    QPainter p(&buttons);
    for (int k = 0; k < 8; ++k)
        p.fillRect(k * 48 + 8, 8, 32, 32, QColor::fromHsv(k * 40, 200, 200));
    p.end();
    buttons.save(dir.filePath(QStringLiteral("ButtonX.bmp")), "BMP");

    for (int n = 1; n <= 10; ++n)
        write(QStringLiteral("Pop%1.wmf").arg(n), metafile());
    write(QStringLiteral("Bushu1.dat"), Bytes().i16(1).i16(0).i16(1).i16(1));
    write(QStringLiteral("Mojimaru1.dat"), kanjiDictionary());
    write(QStringLiteral("Mondai2.dat"), QByteArray());
    for (const char* sound : {"Maru.wav", "Batsu.wav", "Menu.mid"})
        write(QString::fromLatin1(sound), "sound");
}

AppFixture::~AppFixture()
{
    mainMenu.reset();
}

void AppFixture::write(const QString& name, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(dir.filePath(name)).absolutePath());
    writeFile(dir.filePath(name), bytes);
}

void AppFixture::remove(const QString& name)
{
    QFile::remove(dir.filePath(name));
}

void AppFixture::writeRoster(int count, int level)
{
    Bytes roster;
    for (int i = 0; i < count; ++i)
        roster.i16(0).i16(level).i16(0).i16(0).i16(0).i16(0).i16(0).i16(1).u8(2).raw(hex("82a0")).zeros(9);
    write(QStringLiteral("Player1.dat"), roster);
}

bool AppFixture::start(const moji::ScreenInfo& screen)
{
    mainMenu = std::make_unique<moji::TF_Main>(program, screen);
    return mainMenu->FormCreate();
}

QByteArray AppFixture::kanjiDictionary(int leaveOut)
{
    // Every kanji of grades 1 to 3 drawn as 悪, with the stroke counts taking turns.
    Bytes kanji;
    for (int k = 1; k <= 440; ++k) {
        if (k != leaveOut)
            kanji.i16(k).u8(0x88).u8(0xab).i16(1 + k % 20).i16(0).i16(0).i16(0).i16(0);
    }
    return kanji;
}

QByteArray AppFixture::metafile()
{
    // Placeable header (box 0,0-100,100), standard header declaring 19 words (itself, the
    // rectangle and the end), one black rectangle, end.
    Bytes m;
    m.i16(0xCDD7).i16(0x9AC6).i16(0).i16(0).i16(0).i16(100).i16(100).i16(96).i16(0).i16(0);
    m.i16(0xCDD7 ^ 0x9AC6 ^ 100 ^ 100 ^ 96);
    m.i16(1).i16(9).i16(0x0300).i16(19).i16(0).i16(0).i16(7).i16(0).i16(0);
    m.i16(7).i16(0).i16(0x041B).i16(80).i16(80).i16(20).i16(20);
    m.i16(3).i16(0).i16(0);
    return m;
}
