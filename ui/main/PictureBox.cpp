#include "ui/main/PictureBox.h"

#include <QMouseEvent>
#include <QPainter>

namespace tagwerk {

PictureBox::PictureBox(const QString& resource, QWidget* parent) : QLabel(parent) {
    setPixmap(QPixmap(resource));
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        event->accept();
    else
        QLabel::mousePressEvent(event);
}

// A click is a press and a release of the left button over the picture.
void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    else
        QLabel::mouseReleaseEvent(event);
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter(this).drawPixmap(0, 0, pixmap());
}

} // namespace tagwerk
