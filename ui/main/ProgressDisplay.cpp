#include "ui/main/ProgressDisplay.h"

#include "core/PathText.h"
#include "ui/main/Form1.h"
#include "ui/main/WindowGeometry.h"

#include <QCoreApplication>
#include <QLabel>

namespace tagwerk {

namespace {

void SetWidth(QWidget* widget, int width) {
    widget->resize(width, widget->height());
}

} // namespace

ProgressDisplay::ProgressDisplay(Form1& form)
    : overall_{form.Image1, form.Label13, form.Label13->geometry()},
      perFile_{form.Shape2, form.Label15, form.Label15->geometry()} {}

void ProgressDisplay::Start(Bar& bar) {
    bar.label->setText("0%");
    bar.label->setGeometry(bar.labelPlace);
    bar.label->show();
    SetWidth(bar.widget, 1);
    bar.lastWidth = 0;
}

void ProgressDisplay::BeginProgress(bool withFileBar) {
    withFileBar_ = withFileBar;
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
    WidenToCaption(*bar.label, bar.labelPlace);
    QCoreApplication::processEvents();
}

void ProgressDisplay::EndProgress() {
    overall_.label->hide();
    overall_.label->setGeometry(overall_.labelPlace);
    SetWidth(overall_.widget, kFullWidth);
    if (withFileBar_) {
        perFile_.label->hide();
        perFile_.label->setGeometry(perFile_.labelPlace);
        perFile_.widget->hide();
    }
}

QString SignPlaceText(std::int64_t value) {
    return QString::fromStdString(SignPlaceNumber(value));
}

QString PercentText(std::int64_t percent) {
    return SignPlaceText(percent) + "%";
}

} // namespace tagwerk
