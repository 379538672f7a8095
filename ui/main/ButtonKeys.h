#pragma once
#include <QWidget>

namespace tagwerk {

// Lets Enter (and the keypad's Enter) press whichever button of the window
// has the focus, as in a dialog; Qt grants that only to dialogs by itself.
void EnterPressesFocusedButton(QWidget& window);

} // namespace tagwerk
