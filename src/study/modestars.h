#pragma once

#include <algorithm>

namespace moji {

// How much of star i (1 to 10) of the mode menu's reading and writing rows is lit, in pixels of
// its 32-pixel width: 32 lit, 0 unlit, anything between a star filling from the left with the
// points gathered at the pupil's current step.
struct StarFill {
    int reading = 0;
    int writing = 0;
};

constexpr int StarPixels = 32;

inline StarFill studyStarFill(int star, int level, int mode, int levelPoints, int levelStep)
{
    const int p = std::clamp(levelPoints * StarPixels / levelStep, 0, StarPixels);
    if (star < level)
        return {StarPixels, StarPixels};
    if (star > level)
        return {0, 0};
    if (mode == 1)
        return {p, 0};
    return {StarPixels, p};
}

} // namespace moji
