#include "ui/main/frmMessage.h"

#include "ui/main/Accessibility.h"
#include "ui/main/Form1.h"
#include "ui/main/WindowGeometry.h"
#include "ui/main/WindowKeys.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QLabel>
#include <QPushButton>
#include <QWindow>

namespace tagwerk {

namespace {

const QString kPending = QStringLiteral("0");
const QString kYes = QStringLiteral("1");
const QString kNo = QStringLiteral("2");

QPushButton* MakeButton(QWidget* window, const char* name, const QString& caption,
                        const QRect& geometry) {
    auto* button = new QPushButton(caption, window);
    button->setObjectName(name);
    button->setGeometry(geometry);
    return button;
}

} // namespace

// A dialog, so that the window manager keeps it with the window it belongs
// to and offers no way to minimise it on its own.
frmMessage::frmMessage()
    : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint) {
    setObjectName("frmMessage");
    setWindowTitle("Tagwerk: Meldung...");
    setFont(LayoutFont());
    setFixedSize(TwipsToPixels(4680), TwipsToPixels(2685));

    Label1 = new QLabel(this);
    Label1->setObjectName("Label1");
    Label1->setGeometry(TwipsRect(120, 120, 4335, 1695));
    Label1->setTextFormat(Qt::PlainText); // file names are shown as they are
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Command1 = MakeButton(this, "Command1", "OK", TwipsRect(1800, 2040, 2415, 495));
    Command2 = MakeButton(this, "Command2", "Nein", TwipsRect(600, 2040, 1095, 495));
    Command2->setVisible(false);
    setTabOrder(Command1, Command2);
    connect(Command1, &QPushButton::clicked, this, &frmMessage::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmMessage::Command2_Click);
    EnterPressesFocusedButton(*this);
    EscapeClosesWindow(*this);
    CenterOnScreen(*this);
    PresentAsMessage(*this, *Label1, *Command2);
}

void frmMessage::showMessage(const QString& text) {
    Label1->setText(text);
    belongTo(Owner());
    show();
    raise();
    activateWindow();
    Command1->setFocus();
    AnnounceMessage(*this);
}

// The main window, or while it is hidden the window of ours the user works in.
QWidget* frmMessage::Owner() {
    if (Form1::exists() && Form1::instance().isVisible())
        return &Form1::instance();
    QWidget* active = QApplication::activeWindow();
    return active && active->objectName() != "frmMessage" ? active : nullptr;
}

// Transient for its owner and modal to it: it stays in front of the owner,
// which takes no input while a message waits in front of it.
void frmMessage::belongTo(QWidget* owner) {
    if (!owner || owner->window() == this)
        return;
    winId();
    owner->winId();
    const bool shown = isVisible();
    if (shown && windowHandle()->transientParent() == owner->windowHandle())
        return;
    if (shown)
        hide(); // modality and the owner are taken on when the window maps
    windowHandle()->setTransientParent(owner->windowHandle());
    setWindowModality(Qt::WindowModal);
}

namespace {

// Writes the answer slot, if the main window is still there.
void Answer(const QString& answer) {
    if (Form1::exists())
        Form1::instance().Label16->setText(answer);
}

bool QuestionPending() {
    return Form1::exists() && Form1::instance().Label16->text() == kPending;
}

} // namespace

void frmMessage::Command1_Click() {
    Answer(kYes);
    close();
}

void frmMessage::Command2_Click() {
    Answer(kNo);
    close();
}

// A waiting question is answered only by "OK" or "Nein": closing it any
// other way would throw away what the question protects.
void frmMessage::closeEvent(QCloseEvent* event) {
    if (QuestionPending()) {
        event->ignore();
        return;
    }
    event->accept();
    unloadLater();
}

QString AskQuestion(const QString& text) {
    Form1& form = Form1::instance();
    frmMessage& message = frmMessage::instance();
    message.Command2->setVisible(true);
    form.setEnabled(false);
    form.Label16->setText(kPending);
    message.showMessage(text);

    // Waits in an event loop of its own (idle, no polling) until a button,
    // or closing the window, writes the answer into the slot.
    QEventLoop wait;
    QObject::connect(form.Label16, &AnswerSlot::answerChanged, &wait, [&wait](const QString& c) {
        if (c != kPending)
            wait.quit();
    });
    wait.exec();
    // The loop also ends when the program quits; an unanswered question is "Nein".
    return form.Label16->text() == kYes ? kYes : kNo;
}

void ShowNotice(const QString& text) {
    frmMessage::instance().showMessage(text);
}

} // namespace tagwerk
