#pragma once
// The message window: every question and notice of the program shows here,
// a text with "OK" and, for questions, "Nein". The answer travels back
// through Form1's answer slot Label16. Each button click destroys the window.
#include "ui/main/WindowSingleton.h"

#include <QString>
#include <QWidget>

class QLabel;
class QPushButton;

namespace tagwerk {

class frmMessage : public QWidget, public WindowSingleton<frmMessage> {
    Q_OBJECT
public:
    QLabel* Label1 = nullptr;        // the message text
    QPushButton* Command1 = nullptr; // "OK"
    QPushButton* Command2 = nullptr; // "Nein", shown only for questions

    // Shows the window in front with the text and the focus on "OK".
    void showMessage(const QString& text);

protected:
    // The close box and Escape close a notice; a waiting question stays.
    void closeEvent(QCloseEvent* event) override;

private:
    friend class WindowSingleton<frmMessage>;
    frmMessage();
    static QWidget* Owner();
    void belongTo(QWidget* owner);
    void Command1_Click();
    void Command2_Click();
};

// Shows the question with "OK" and "Nein", disables Form1 and waits, while
// window events go on, until it is answered: "1" for "OK", "2" for "Nein".
// The caller enables Form1 again.
QString AskQuestion(const QString& text);

// Shows the notice with "OK" and returns at once.
void ShowNotice(const QString& text);

} // namespace tagwerk
