// Bushu1.dat through the component loader, then the part buttons the writing pickers show
// for each group.

#include "answerpanels.h"
#include "fuzzsupport.h"
#include "randomsource.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    fuzz::writeInput(QStringLiteral("Bushu1.dat"), data, size);
    const auto state = fuzz::makeState();
    try {
        if (!state->LoadRadicals())
            fuzz::fail("Bushu1.dat not found", __FILE__, __LINE__);
        moji::RandomSource random;
        moji::AnswerPanels panels(*state, random);
        panels.prepare(2);
        for (int group = 1; group <= 10; ++group) {
            panels.chooseGroup(group);
            // The screen has forty part buttons.
            FUZZ_CHECK(panels.parts().size() <= std::size_t(moji::AnswerPanels::PartButtons));
            panels.back();
        }
    } catch (const moji::DataError&) {
    }
    return 0;
}
