#include "ui/main/frmSplash.h"

#include "ui/main/PictureBox.h"
#include "ui/main/WindowGeometry.h"

#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>

namespace tagwerk {

namespace {

// A label of the frame in Arial (or the face the system substitutes for it,
// of the same metrics); it keeps its clicks, so they do not close the window.
QLabel* MakeLabel(QWidget* frame, const char* name, const QString& text, const QRect& place,
                  qreal points, bool bold) {
    auto* label = new QLabel(text, frame);
    label->setObjectName(name);
    label->setGeometry(place);
    QFont font("Arial");
    font.setPointSizeF(points);
    font.setBold(bold);
    label->setFont(font);
    label->setAttribute(Qt::WA_NoMousePropagation);
    return label;
}

} // namespace

frmSplash::frmSplash()
    : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName("frmSplash");
    setAccessibleName("Über Tagwerk"); // it has no title to be named by
    setFixedSize(TwipsToPixels(7380), TwipsToPixels(4245));
    setFocusPolicy(Qt::StrongFocus); // the window itself takes the keys

    // Positions inside the frame are relative to it.
    Frame1 = new QFrame(this);
    Frame1->setObjectName("Frame1");
    Frame1->setGeometry(TwipsRect(150, 60, 7080, 4050));
    Frame1->setFrameStyle(QFrame::Box | QFrame::Sunken);

    Image1 = new PictureBox(":/pictures/about-logo.png", Frame1);
    Image1->setObjectName("Image1");
    Image1->setGeometry(TwipsRect(240, 600, 2310, 1725));
    connect(Image1, &PictureBox::clicked, this, &QWidget::close);
    Image2 = new PictureBox(":/pictures/about-small.png", Frame1);
    Image2->setObjectName("Image2");
    Image2->setGeometry(TwipsRect(3120, 1440, 480, 480));
    Image2->setAttribute(Qt::WA_NoMousePropagation);

    lblProductName = MakeLabel(Frame1, "lblProductName", "Tagwerk",
                               TwipsRect(3960, 1440, 1920, 615), 26.25, true);
    lblPlatform = MakeLabel(Frame1, "lblPlatform", "Version 1.0 Beta",
                            TwipsRect(4395, 2340, 2460, 360), 15.75, true);
    lblPlatform->setAlignment(Qt::AlignRight | Qt::AlignTop);
    lblVersion =
        MakeLabel(Frame1, "lblVersion", "Juli 2000", TwipsRect(5850, 2700, 1005, 285), 12, true);
    lblVersion->setAlignment(Qt::AlignRight | Qt::AlignTop);
    // In this face some captions are a few pixels wider than their places.
    for (QLabel* label : {lblProductName, lblPlatform, lblVersion})
        WidenToCaption(*label, label->geometry());
    lblWarning = MakeLabel(Frame1, "lblWarning",
                           "Verbesserungsvorschläge und Hinweise auf Fehler nehme ich gerne an.",
                           TwipsRect(150, 3660, 6855, 195), 8.25, false);
    CenterOnScreen(*this);
}

void frmSplash::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

// Only the left button closes, as on the main window's logo.
void frmSplash::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        close();
}

// Keys that produce a character (letters, digits, space, Enter, Escape,
// Backspace) close the window; arrows, function keys and Shift do not.
void frmSplash::keyPressEvent(QKeyEvent* event) {
    if (!event->text().isEmpty())
        close();
    else
        QWidget::keyPressEvent(event);
}

void frmSplash::closeEvent(QCloseEvent* event) {
    event->accept();
    unloadLater();
}

} // namespace tagwerk
