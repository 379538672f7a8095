#include "ui/main/WindowKeys.h"

#include <QKeyEvent>
#include <QPushButton>

namespace tagwerk {

namespace {

// Sees the keys that reach the window itself, also those its controls
// pass on, so Escape closes it wherever the focus is.
class EscapeFilter : public QObject {
public:
    explicit EscapeFilter(QWidget& window) : QObject(&window), window_(window) {}

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress ||
            static_cast<QKeyEvent*>(event)->key() != Qt::Key_Escape)
            return false;
        window_.close();
        return true;
    }

private:
    QWidget& window_;
};

} // namespace

void EnterPressesFocusedButton(QWidget& window) {
    for (QPushButton* button : window.findChildren<QPushButton*>())
        button->setAutoDefault(true);
}

void EscapeClosesWindow(QWidget& window) {
    window.installEventFilter(new EscapeFilter(window));
}

} // namespace tagwerk
