#pragma once
// A progress text of the main window. It is drawn in the colours of enabled
// text also while the window is disabled, as it is during every long
// operation, which would otherwise grey it out and make it hard to read.
#include <QLabel>

namespace tagwerk {

class ProgressLabel : public QLabel {
    Q_OBJECT
public:
    ProgressLabel(const QString& text, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace tagwerk
