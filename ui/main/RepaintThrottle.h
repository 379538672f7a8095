#pragma once
// Lets a window repaint at most once a frame while a long operation changes
// it at every step: the repaint requests in between are held back, and one
// that was held back is made up at the next frame or when the throttle ends,
// so the last state always shows. Window events are still handled as often
// as the operation asks; only the painting is spared.
#include <QElapsedTimer>
#include <QObject>

class QWidget;

namespace tagwerk {

class RepaintThrottle : public QObject {
public:
    explicit RepaintThrottle(QWidget& window);
    ~RepaintThrottle() override;
    RepaintThrottle(const RepaintThrottle&) = delete;
    RepaintThrottle& operator=(const RepaintThrottle&) = delete;

    // Starts a new frame if the last one began at least a screen refresh ago:
    // the window's next repaint then goes through. False while the current
    // frame lasts.
    bool nextFrame();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void releaseHeldRepaint();

    QWidget& window_;
    QElapsedTimer sinceFrame_;
    bool frameOpen_ = true; // the current frame has not been painted yet
    bool repaintHeld_ = false;
};

} // namespace tagwerk
