#include "ui/main/WindowGeometry.h"

#include <QScreen>
#include <QWidget>

namespace tagwerk {

void CenterOnScreen(QWidget& window) {
    const QScreen* screen = window.screen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    window.move(area.center() - QPoint(window.width() / 2, window.height() / 2));
}

} // namespace tagwerk
