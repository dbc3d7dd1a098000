// Mojimaru1.dat through the dictionary loader, then the writing pickers that list its kanji
// by stroke count and by component.

#include "answerpanels.h"
#include "fuzzsupport.h"
#include "randomsource.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    fuzz::writeInput(QStringLiteral("Mojimaru1.dat"), data, size);
    const auto state = fuzz::makeState();
    try {
        state->LoadKanji();
        moji::RandomSource random;
        moji::AnswerPanels panels(*state, random);
        panels.prepare(2);
        for (int strokes = 1; strokes <= 20; ++strokes) {
            panels.chooseStrokes(strokes);
            for (const int k : panels.kanjiList())
                panels.addKanji(state->KanjiTable[k].Glyph.toUnicode());
            panels.deleteAll();
        }
        for (int group = 1; group <= 10; ++group) {
            panels.chooseGroup(group);
            for (int slot = 1; slot <= moji::AnswerPanels::PartButtons; ++slot) {
                panels.choosePart(slot);
                for (const int k : panels.kanjiList())
                    (void)state->KanjiTable[k].Glyph.toUnicode();
                panels.back();
            }
        }
    } catch (const moji::DataError&) {
    }
    return 0;
}
