#include "practicelevels.h"

#include "studystate.h"

namespace moji {

QString levelGlyphs(const StudyState& state, int level)
{
    requireRange(level, 1, MaxLevel, QString(), "practice level");
    QString glyphs;
    for (int k = firstKanjiOfLevel(level); k <= lastKanjiOfLevel(level); ++k)
        glyphs += state.KanjiTable[k].Glyph.toUnicode();
    return glyphs;
}

void choosePracticeLevel(StudyState& state, int level, int mode)
{
    requireRange(level, 1, MaxLevel, QString(), "practice level");
    requireRange(mode, 1, 2, QString(), "study mode");
    state.CurrentLevel = int16_t(level);
    state.StudyMode = int16_t(mode);
    state.RedoRound = false;
}

} // namespace moji
