#pragma once

class QWidget;

namespace moji {

// Shows a top-level window of the program in front of the others, given the focus, and never
// minimised: shown anew, brought back from the task bar, or raised where it stands.
// `fullScreen` keeps a full screen full screen; otherwise the window keeps its size.
void showInFront(QWidget* window, bool fullScreen);

} // namespace moji
