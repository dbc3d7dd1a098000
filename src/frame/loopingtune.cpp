#include "loopingtune.h"

#include "messages.h"
#include "program.h"
#include "studystate.h"

namespace moji {

LoopingTune::LoopingTune(Program& program, QString fileName, QWidget* screen,
                         std::function<void(const QString& message)> report)
    : m_program(program), m_fileName(std::move(fileName)), m_screen(screen), m_report(std::move(report))
{
}

bool LoopingTune::open()
{
    if (m_program.state.MidiDeviceCount == 0)
        return true;
    if (!m_player) {
        m_player = m_program.audio.createPlayer();
        connect(m_player.get(), &MediaPlayer::finished, this, [this] {
            if (!m_playing)
                return;
            m_player->setNotify(true);
            if (!m_player->play())
                failed(); // the player is kept: this runs inside its own notice
        });
    }
    if (m_player->open(m_program.state.dataPath(m_fileName)))
        return true;
    failed();
    return false;
}

void LoopingTune::start()
{
    if (!isOpen())
        return;
    m_player->stop();
    m_player->rewind();
    m_player->setNotify(true);
    m_playing = true;
    if (!m_player->play())
        failed();
}

void LoopingTune::stop()
{
    m_playing = false;
    if (!m_player)
        return;
    m_player->setNotify(false);
    m_player->stop();
}

void LoopingTune::close()
{
    stop();
    if (m_player)
        m_player->close();
}

void LoopingTune::release()
{
    close();
    m_player.reset();
}

void LoopingTune::failed()
{
    stop();
    const QString message = mediaErrorMessage(m_fileName);
    if (m_report)
        m_report(message);
    else
        m_program.messages.error(m_screen, message);
}

} // namespace moji
