#pragma once

#include "audio.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QWidget;

namespace moji {

struct Program;

// A screen's background tune: opened from the program folder when there is a synthesiser,
// played from its start and replayed each time it ends, until stopped. A tune that does not
// open or play is reported once by its file name and the screen goes on in silence.
class LoopingTune final : public QObject {
public:
    // `report` shows a failure's message; by default a message box over `screen`.
    LoopingTune(Program& program, QString fileName, QWidget* screen,
                std::function<void(const QString& message)> report = {});

    // Opens (or reopens) the tune when the program has a synthesiser. False when it has one
    // and the tune did not open (reported); true otherwise.
    bool open();
    // From the start, looping; nothing without an open tune.
    void start();
    // Silent, the tune kept open for a later start.
    void stop();
    // Silent and closed; open() brings it back.
    void close();
    // Closed and its player freed as well.
    void release();

    bool playing() const { return m_playing; }
    bool isOpen() const { return m_player && m_player->isOpen(); }

private:
    void failed();

    Program& m_program;
    QString m_fileName;
    QWidget* m_screen;
    std::function<void(const QString&)> m_report;
    std::unique_ptr<MediaPlayer> m_player;
    bool m_playing = false;
};

} // namespace moji
