#pragma once
// Records what the progress display shows each time a long operation lets
// window events through: a zero timer fires once per such pass, so the
// records are exactly the updates the user can see. And what a control
// repaints meanwhile.
#include "ui/main/Form1.h"

#include <QFrame>
#include <QList>
#include <QPaintEvent>
#include <QTimer>

namespace tagwerk::test {

struct ProgressState {
    int width = 0; // of the logo, the overall bar
    QString text;  // Label13
    int fileWidth = 0;
    QString fileText; // Label15
};

class ProgressRecorder {
public:
    explicit ProgressRecorder(const Form1& form) {
        QObject::connect(&timer_, &QTimer::timeout, [this, &form] {
            states_.append({form.Image1->width(), form.Label13->text(), form.Shape2->width(),
                            form.Label15->text()});
        });
        timer_.start(0);
    }
    // Call before the test lets events through itself.
    const QList<ProgressState>& stop() {
        timer_.stop();
        return states_;
    }

private:
    QTimer timer_;
    QList<ProgressState> states_;
};

// The rectangles a control repaints, in its own coordinates.
class PaintRecorder : public QObject {
public:
    explicit PaintRecorder(QWidget& control) { control.installEventFilter(this); }
    QList<QRect> painted;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            painted.append(static_cast<QPaintEvent*>(event)->rect());
        return false;
    }
};

} // namespace tagwerk::test
