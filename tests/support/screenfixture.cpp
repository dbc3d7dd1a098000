#include "screenfixture.h"

#include "wordbreaks.h"

#include <QFile>
#include <QLabel>

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

namespace testing_support {

ModalCloser::ModalCloser()
{
    m_timer.setInterval(5);
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            QString seen = QString::fromLatin1(modal->metaObject()->className()) + QLatin1Char(':') + modal->windowTitle();
            for (const QLabel* label : modal->findChildren<QLabel*>())
                seen += QLatin1Char('|') + moji::withoutWordJoiners(label->text());
            closed << seen;
            if (m_handler && m_handledClass == QLatin1String(modal->metaObject()->className())) {
                const auto handler = std::move(m_handler);
                m_handler = nullptr;
                handler(modal);
                return;
            }
            modal->close();
        }
    });
    m_timer.start();
}

void ModalCloser::handleNext(const char* className, std::function<void(QWidget*)> handler)
{
    m_handledClass = QLatin1String(className);
    m_handler = std::move(handler);
}

} // namespace testing_support
