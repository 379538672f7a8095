#include "ui/main/ButtonKeys.h"

#include <QPushButton>

namespace tagwerk {

void EnterPressesFocusedButton(QWidget& window) {
    for (QPushButton* button : window.findChildren<QPushButton*>())
        button->setAutoDefault(true);
}

} // namespace tagwerk
