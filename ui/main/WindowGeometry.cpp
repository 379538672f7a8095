#include "ui/main/WindowGeometry.h"

#include <QScreen>
#include <QWidget>

namespace tagwerk {

QFont LayoutFont() {
    QFont font("Liberation Sans");
    font.setPointSizeF(7.5);
    return font;
}

void CenterOnScreen(QWidget& window) {
    const QScreen* screen = window.screen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    window.move(area.center() - QPoint(window.width() / 2, window.height() / 2));
}

} // namespace tagwerk
