#include "program.h"

namespace moji {

QPixmap Program::headerImage(int tag) const
{
    if (tag < 1 || tag > int(headerImages.size()))
        return {};
    return headerImages[std::size_t(tag - 1)];
}

void Program::playAnswerSound(bool correct)
{
    MediaPlayer* stop = correct ? batsuPlayer.get() : maruPlayer.get();
    MediaPlayer* play = correct ? maruPlayer.get() : batsuPlayer.get();
    if (stop)
        stop->stop();
    if (play) {
        play->rewind();
        play->play();
    }
}

} // namespace moji
