#include "ui/main/ProgressLabel.h"

#include <QPainter>
#include <QStyle>

namespace tagwerk {

ProgressLabel::ProgressLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setTextFormat(Qt::PlainText);
}

void ProgressLabel::paintEvent(QPaintEvent*) {
    QPalette normal = palette();
    normal.setCurrentColorGroup(QPalette::Active);
    QPainter painter(this);
    style()->drawItemText(&painter, contentsRect(), alignment(), normal, true, text(),
                          foregroundRole());
}

} // namespace tagwerk
