#pragma once
// Lets a window repaint at most once a frame while a long operation changes
// it at every step. The window's own repaint requests are held back; the
// operation paints a frame when one is due, and a request still held back
// when the throttle ends is made up then, so the last state always shows.
// Window events are still handled as often as the operation asks; only the
// painting is spared.
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

    // Whether a screen refresh has passed since the last frame was painted.
    bool frameDue() const;
    // Paints what changed since the last frame, at once.
    void paintFrame();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& window_;
    QElapsedTimer sinceFrame_;
    bool painting_ = false;
    bool repaintHeld_ = false;
};

} // namespace tagwerk
