#include "ui/main/ProgressDisplay.h"

#include "core/PathText.h"
#include "ui/main/Form1.h"
#include "ui/main/WindowGeometry.h"

#include <QCoreApplication>
#include <QLabel>
#include <charconv>
#include <iterator>

namespace tagwerk {

namespace {

void SetWidth(QWidget* widget, int width) {
    widget->resize(width, widget->height());
}

// A label of fixed size does not ask its window to lay out again each time
// its caption changes: that request alone would add a posted event to every
// move.
void PlaceFixed(QLabel& label, const QRect& place) {
    label.setFixedSize(place.size());
    label.move(place.topLeft());
}

void FitCaption(QLabel& label, const QRect& place) {
    label.setMinimumSize(0, 0);
    label.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    WidenToCaption(label, place);
    PlaceFixed(label, label.geometry());
}

} // namespace

ProgressDisplay::ProgressDisplay(Form1& form)
    : form_(form), overall_{form.Image1, form.Label13, form.Label13->geometry()},
      perFile_{form.Shape2, form.Label15, form.Label15->geometry()} {}

void ProgressDisplay::Start(Bar& bar) {
    bar.label->setText("0%");
    PlaceFixed(*bar.label, bar.labelPlace);
    bar.label->show();
    SetWidth(bar.widget, 1);
    bar.lastWidth = 0;
}

void ProgressDisplay::BeginProgress(bool withFileBar) {
    withFileBar_ = withFileBar;
    throttle_.emplace(form_);
    Start(overall_);
    if (withFileBar) {
        Start(perFile_);
        perFile_.widget->show();
    }
}

void ProgressDisplay::Move(Bar& bar, int width, const QString& text) {
    SetWidth(bar.widget, width);
    bar.lastWidth = width;
    bar.label->setText(text);
    bar.captionChanged = true;
    if (throttle_->nextFrame())
        FitCaptions();
    QCoreApplication::processEvents();
}

// Measuring a caption takes longer than all else a move does, and only the
// captions of a frame that is painted have to fit.
void ProgressDisplay::FitCaptions() {
    for (Bar* bar : {&overall_, &perFile_}) {
        if (bar->captionChanged)
            FitCaption(*bar->label, bar->labelPlace);
        bar->captionChanged = false;
    }
}

void ProgressDisplay::EndProgress() {
    overall_.label->hide();
    PlaceFixed(*overall_.label, overall_.labelPlace);
    SetWidth(overall_.widget, kFullWidth);
    if (withFileBar_) {
        perFile_.label->hide();
        PlaceFixed(*perFile_.label, perFile_.labelPlace);
        perFile_.widget->hide();
    }
    throttle_.reset();
}

QString SignPlaceText(std::int64_t value) {
    return QString::fromStdString(SignPlaceNumber(value));
}

// The sign place written directly rather than through SignPlaceText and its
// std::string: a removal builds hundreds of percentages a file.
QString PercentText(std::int64_t percent) {
    char text[24] = {' '};
    char* end = std::to_chars(text + 1, std::end(text) - 1, percent).ptr;
    *end++ = '%';
    return QString::fromLatin1(text, end - text);
}

} // namespace tagwerk
