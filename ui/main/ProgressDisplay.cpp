#include "ui/main/ProgressDisplay.h"

#include "core/PathText.h"
#include "ui/main/Accessibility.h"
#include "ui/main/Form1.h"

#include <QCoreApplication>
#include <QLabel>
#include <algorithm>
#include <charconv>
#include <initializer_list>
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

// The label from its place to the right edge of the window: any caption that
// fits the window fits the label, which then need not measure the caption at
// every move. (The progress labels are aligned left.)
QRect ReachingRightEdge(const QLabel& label, const QRect& place) {
    QRect room = place;
    room.setRight(std::max(place.right(), label.parentWidget()->width() - 1));
    return room;
}

} // namespace

ProgressDisplay::ProgressDisplay(Form1& form)
    : form_(form), overall_{form.Image1, form.Label13, form.Label13->geometry()},
      perFile_{form.Shape2, form.Label15, form.Label15->geometry()} {}

void ProgressDisplay::Start(Bar& bar) {
    bar.label->setText("0%");
    PlaceFixed(*bar.label, ReachingRightEdge(*bar.label, bar.labelPlace));
    bar.label->show();
    SetWidth(bar.widget, 1);
    bar.lastWidth = 0;
    bar.noted = false;
}

void ProgressDisplay::BeginProgress(bool withFileBar) {
    withFileBar_ = withFileBar;
    throttle_.emplace(form_);
    SetTextsAndFileBarUpdated(false);
    Start(overall_);
    if (withFileBar) {
        Start(perFile_);
        perFile_.widget->show();
    }
}

// A frame shows the display as it stood when the frame came due: for a run of
// small files that is the end of one file rather than the start of the next,
// which follows the long wait for the disk between them.
// The per-file bar moves up to 329 times a file, and handling events (a
// system call even when none wait) and setting the controls at each move
// cost more than the copy of a small file. Between frames its moves are
// therefore only noted; the controls take the noted state before any frame
// is painted and any event handled, so no one sees a difference but a click
// handled within a frame rather than at once.
void ProgressDisplay::Move(Bar& bar, int width, QString text) {
    const bool frameDue = throttle_->frameDue();
    if (frameDue) {
        ShowNoted();
        PaintFrame();
    }
    bar.lastWidth = width;
    bar.notedText = std::move(text);
    bar.noted = true;
    if (frameDue || &bar == &overall_) {
        ShowNoted();
        QCoreApplication::processEvents();
    }
}

void ProgressDisplay::ShowNoted() {
    for (Bar* bar : {&overall_, &perFile_}) {
        if (!bar->noted)
            continue;
        SetWidth(bar->widget, bar->lastWidth);
        bar->label->setText(bar->notedText);
        bar->noted = false;
    }
}

// The per-file bar and both texts change at nearly every move, and noting
// each change for the next repaint cost more than the repaint: their updates
// are off between frames, and each frame turns them on, which repaints them.
void ProgressDisplay::PaintFrame() {
    SetTextsAndFileBarUpdated(true);
    throttle_->paintFrame();
    SetTextsAndFileBarUpdated(false);
    AnnounceBars();
}

// Screen readers hear the bars as they are painted, not at every move.
void ProgressDisplay::AnnounceBars() {
    AnnounceProgress(*overall_.widget);
    if (withFileBar_)
        AnnounceProgress(*perFile_.widget);
}

void ProgressDisplay::SetTextsAndFileBarUpdated(bool updated) {
    for (QWidget* control :
         std::initializer_list<QWidget*>{perFile_.widget, perFile_.label, overall_.label})
        control->setUpdatesEnabled(updated);
}

void ProgressDisplay::EndProgress() {
    ShowNoted();
    overall_.label->hide();
    PlaceFixed(*overall_.label, overall_.labelPlace);
    SetWidth(overall_.widget, kFullWidth);
    if (withFileBar_) {
        perFile_.label->hide();
        PlaceFixed(*perFile_.label, perFile_.labelPlace);
        perFile_.widget->hide();
    }
    SetTextsAndFileBarUpdated(true);
    throttle_.reset();
    AnnounceBars();
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
