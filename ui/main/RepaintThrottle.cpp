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

// The window asks for a repaint once and asks again only after one has
// happened, so a request that was held back has to be made anew.
RepaintThrottle::~RepaintThrottle() {
    window_.removeEventFilter(this);
    if (repaintHeld_)
        QCoreApplication::postEvent(&window_, new QEvent(QEvent::UpdateRequest),
                                    Qt::LowEventPriority);
}

bool RepaintThrottle::frameDue() const {
    return !sinceFrame_.isValid() || sinceFrame_.elapsed() >= kFrameMs;
}

void RepaintThrottle::paintFrame() {
    sinceFrame_.start();
    repaintHeld_ = false;
    painting_ = true;
    QEvent request(QEvent::UpdateRequest);
    QCoreApplication::sendEvent(&window_, &request);
    painting_ = false;
}

bool RepaintThrottle::eventFilter(QObject*, QEvent* event) {
    if (event->type() != QEvent::UpdateRequest || painting_)
        return false;
    repaintHeld_ = true;
    return true;
}

} // namespace tagwerk
