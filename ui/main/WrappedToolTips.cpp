#include "ui/main/WrappedToolTips.h"

#include <QApplication>
#include <QHelpEvent>
#include <QTextDocument>
#include <QToolTip>
#include <QWidget>

namespace tagwerk {

namespace {

// About as many characters a line as make a paragraph easy to read.
constexpr int kLineCharacters = 60;

// The text broken at blanks into lines no wider than `width` pixels; a
// single word wider than that keeps a line of its own.
QString BrokenIntoLines(const QString& text, const QFontMetrics& metrics, int width) {
    QStringList lines;
    QString line;
    for (const QString& word : text.split(' ')) {
        const QString longer = line.isEmpty() ? word : line + ' ' + word;
        if (!line.isEmpty() && metrics.horizontalAdvance(longer) > width) {
            lines << line;
            line = word;
        } else {
            line = longer;
        }
    }
    lines << line;
    return lines.join('\n');
}

// Shows a control's plain tooltip that is too long for one line as lines
// of a readable width. They go as rich text with non-breaking blanks, which
// the tooltip shows line by line, neither running them together nor
// breaking them again. Other tooltips, and controls without one, are left
// to Qt as before.
class ToolTipWrapper : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ToolTip || !watched->isWidgetType())
            return false;
        auto* control = static_cast<QWidget*>(watched);
        const QString text = control->toolTip();
        if (text.isEmpty() || Qt::mightBeRichText(text))
            return false;
        const QFontMetrics metrics(QToolTip::font());
        const QString lines =
            BrokenIntoLines(text, metrics, kLineCharacters * metrics.averageCharWidth());
        if (!lines.contains('\n'))
            return false;
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(),
                           Qt::convertFromPlainText(lines, Qt::WhiteSpacePre), control, QRect(),
                           control->toolTipDuration());
        return true;
    }
};

} // namespace

void WrapToolTips(QApplication& application) {
    application.installEventFilter(new ToolTipWrapper(&application));
}

} // namespace tagwerk
