#pragma once
// A picture drawn from its top left corner at its own size: narrowing the
// box shows only the left part of the bitmap. Reports a click of the left
// mouse button.
#include <QLabel>

namespace tagwerk {

class PictureBox : public QLabel {
    Q_OBJECT
public:
    PictureBox(const QString& resource, QWidget* parent);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // Drawn as it is also while the window is disabled: during a long
    // operation the logo is the progress bar and must not turn grey.
    void paintEvent(QPaintEvent* event) override;
};

} // namespace tagwerk
