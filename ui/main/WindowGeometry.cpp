#include "ui/main/WindowGeometry.h"

#include <QLabel>
#include <QScreen>
#include <QWidget>

namespace tagwerk {

QFont LayoutFont() {
    QFont font("Liberation Sans");
    font.setPointSizeF(7.5);
    return font;
}

void WidenToCaption(QLabel& label, const QRect& place) {
    QRect grown = place;
    if (const int missing = label.sizeHint().width() - place.width(); missing > 0) {
        if (label.alignment() & Qt::AlignRight)
            grown.setLeft(place.left() - missing);
        else
            grown.setRight(place.right() + missing);
    }
    label.setGeometry(grown);
}

void CenterOnScreen(QWidget& window) {
    const QScreen* screen = window.screen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    window.move(area.center() - QPoint(window.width() / 2, window.height() / 2));
}

} // namespace tagwerk
