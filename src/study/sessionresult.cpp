#include "sessionresult.h"

#include "tf_level_up.h"

namespace moji {

void showSessionResult(Program& program, QWidget* parent)
{
    TF_Level_Up dialog(program, parent);
    dialog.exec();
}

} // namespace moji
