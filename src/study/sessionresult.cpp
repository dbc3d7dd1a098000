#include "sessionresult.h"

#include "tf_level_up.h"

namespace moji {

void showSessionResult(Program& program, QWidget* parent, const DialogPlace& place)
{
    TF_Level_Up dialog(program, parent);
    dialog.setPlace(place);
    dialog.exec();
}

} // namespace moji
