#include "ui/main/RepaintThrottle.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace tagwerk {

namespace {

constexpr qint64 kFrameMs = 16; // a screen refreshing 60 times a second

} // namespace

RepaintThrottle::RepaintThrottle(QWidget& window) : window_(window) {
    window_.installEventFilter(this);
}

RepaintThrottle::~RepaintThrottle() {
    window_.removeEventFilter(this);
    releaseHeldRepaint();
}

bool RepaintThrottle::nextFrame() {
    if (sinceFrame_.isValid() && !sinceFrame_.hasExpired(kFrameMs - 1))
        return false;
    sinceFrame_.start();
    frameOpen_ = true;
    releaseHeldRepaint();
    return true;
}

// The window asks for a repaint once and asks again only after one has
// happened, so a request that was held back has to be posted anew.
void RepaintThrottle::releaseHeldRepaint() {
    if (!repaintHeld_)
        return;
    repaintHeld_ = false;
    QCoreApplication::postEvent(&window_, new QEvent(QEvent::UpdateRequest), Qt::LowEventPriority);
}

bool RepaintThrottle::eventFilter(QObject*, QEvent* event) {
    if (event->type() != QEvent::UpdateRequest)
        return false;
    if (frameOpen_) {
        frameOpen_ = false;
        return false;
    }
    repaintHeld_ = true;
    return true;
}

} // namespace tagwerk
