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

} // namespace testing_support
