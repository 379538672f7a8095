#pragma once
// Keys that act on a whole window, as users of dialogs expect them.
#include <QWidget>

namespace tagwerk {

// Lets Enter (and the keypad's Enter) press whichever button of the window
// has the focus, as in a dialog; Qt grants that only to dialogs by itself.
void EnterPressesFocusedButton(QWidget& window);

// Lets Escape close the window, as its close box does.
void EscapeClosesWindow(QWidget& window);

} // namespace tagwerk
