#pragma once

#include "audio.h"
#include "helpviewer.h"
#include "messages.h"
#include "recognizer.h"

#include <QStringList>

#include <map>
#include <vector>

namespace testing_support {

// Message boxes that record what they would have shown and answer questions as told.
class RecordingMessages final : public moji::Messages {
public:
    void information(QWidget*, const QString& text) override { shown << text; }
    bool question(QWidget*, const QString& text) override
    {
        shown << text;
        return answerYes;
    }
    void error(QWidget*, const QString& text) override { shown << text; }

    QStringList shown;
    bool answerYes = true;
};

// A player that records what it was asked to do; finish() delivers the end-of-play notice.
class FakePlayer final : public moji::MediaPlayer {
public:
    bool open(const QString& path) override;
    bool play() override;
    void stop() override { playing = false; ++stops; }
    void rewind() override { ++rewinds; }
    void close() override { opened.clear(); playing = false; }
    bool isOpen() const override { return !opened.isEmpty(); }
    void finish()
    {
        playing = false;
        endOfPlay();
    }

    QString opened;
    // Names of files that open but do not play (a device that fails), set by the audio.
    const QStringList* failingPlays = nullptr;
    bool playing = false;
    int plays = 0;
    int stops = 0;
    int rewinds = 0;
};

// Audio that plays nothing but keeps every player it made, for inspection.
class FakeAudio final : public moji::AudioSystem {
public:
    int midiDeviceCount() const override { return midiDevices; }
    std::unique_ptr<moji::MediaPlayer> createPlayer() override;
    // The last player that opened a file with this name, or nullptr.
    FakePlayer* playerFor(const QString& fileName) const;

    int midiDevices = 1;
    // Files whose players open them but fail to play them.
    QStringList failingPlays;
    std::vector<FakePlayer*> players; // owned by whoever asked for them
};

class RecordingHelp final : public moji::HelpViewer {
public:
    void showTopic(int topic) override { topics.push_back(topic); }
    std::vector<int> topics;
};

// A recogniser that reads what it is told: for n strokes the kanji of `readings[n]`, best
// first, and nothing for a count it was not told about. It keeps the strokes it was last
// given, in the 0..255 square, and how often it was asked.
class FakeRecognizer final : public moji::handwriting::Recognizer {
public:
    std::vector<moji::handwriting::Candidate> recognize(const moji::handwriting::Strokes& strokes, int count) override;
    bool prepare() override
    {
        ++prepared;
        return true;
    }
    QString error() const override { return {}; }

    std::map<int, QStringList> readings;
    moji::handwriting::Strokes last;
    int calls = 0;
    int prepared = 0;
};

} // namespace testing_support
