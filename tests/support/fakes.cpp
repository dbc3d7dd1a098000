#include "fakes.h"

#include <QFileInfo>

namespace testing_support {

bool FakePlayer::open(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return false;
    opened = path;
    return true;
}

bool FakePlayer::play()
{
    if (opened.isEmpty() || (failingPlays && failingPlays->contains(QFileInfo(opened).fileName())))
        return false;
    playing = true;
    ++plays;
    return true;
}

std::unique_ptr<moji::MediaPlayer> FakeAudio::createPlayer()
{
    auto player = std::make_unique<FakePlayer>();
    player->failingPlays = &failingPlays;
    players.push_back(player.get());
    QObject::connect(player.get(), &QObject::destroyed, [this, p = player.get()] { std::erase(players, p); });
    return player;
}

FakePlayer* FakeAudio::playerFor(const QString& fileName) const
{
    for (auto it = players.rbegin(); it != players.rend(); ++it) {
        if (QFileInfo((*it)->opened).fileName() == fileName)
            return *it;
    }
    return nullptr;
}

std::vector<moji::handwriting::Candidate> FakeRecognizer::recognize(const moji::handwriting::Strokes& strokes, int count)
{
    last = strokes;
    ++calls;
    std::vector<moji::handwriting::Candidate> found;
    const auto reading = readings.find(int(strokes.size()));
    if (reading == readings.end())
        return found;
    for (const QString& kanji : reading->second) {
        if (int(found.size()) < count)
            found.push_back({kanji, 1.0 / double(found.size() + 1)});
    }
    return found;
}

} // namespace testing_support
