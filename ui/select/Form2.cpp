#include "ui/select/Form2.h"

#include "ui/main/Accessibility.h"
#include "ui/main/Form1.h"
#include "ui/main/TextConversion.h"
#include "ui/main/WindowGeometry.h"
#include "ui/main/WindowKeys.h"
#include "ui/select/QStringPaths.h"

namespace tagwerk {

Form2::Form2() : FileSelectionWindow("Form2", "Tagwerk: Datei auswählen...", 6270, 5145) {
    Text1 = Named(new QLineEdit(this), "Text1");
    Command1 = Named(new QPushButton("Datei öffnen", this), "Command1");
    Command2 = Named(new QPushButton("Abbrechen", this), "Command2");

    Label4->setGeometry(TwipsRect(120, 120, 855, 255));
    Drive1->setGeometry(TwipsRect(1080, 120, 5055, 315));
    Dir1->setGeometry(TwipsRect(120, 480, 2415, 3015));
    File1->setGeometry(TwipsRect(2640, 480, 3495, 3015));
    Label2->setGeometry(TwipsRect(120, 3600, 1455, 255));
    Text1->setGeometry(TwipsRect(1680, 3600, 4455, 285));
    Label3->setGeometry(TwipsRect(120, 3960, 1455, 255));
    Combo1->setGeometry(TwipsRect(1680, 3960, 4455, 315));
    Command1->setGeometry(TwipsRect(1080, 4440, 2295, 495));
    Command2->setGeometry(TwipsRect(3720, 4440, 2295, 495));

    Drive1->setToolTip("Mit diesem Kombinationsfeld wählen Sie einen Datenträger aus.");
    Dir1->setToolTip("Wählen Sie hier das Unterverzeichnis aus, in der sich die zu öffnende Datei "
                     "befindet.");
    File1->setToolTip("Hier wählen Sie eine Datei aus.");
    Command1->setToolTip("Fügt die ausgewählte Datei zur Dateiliste im Hauptfenster hinzu.");
    Command2->setToolTip("Bricht die Handlung ab.");

    NameBrowserControls();
    NameByLabel(*Label2, *Text1);
    SetKeyboardOrder({Drive1, File1, Dir1, Command1, Command2, Text1, Combo1});

    connect(File1, &FileNameList::fileClicked, this, &Form2::File1_Click);
    connect(File1, &FileNameList::fileDoubleClicked, this, &Form2::File1_DblClick);
    connect(Command1, &QPushButton::clicked, this, &Form2::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form2::Command2_Click);
    EnterPressesFocusedButton(*this);
    EscapeClosesWindow(*this);
    Form_Load();
}

void Form2::Form_Load() {
    LoadBrowser();
}

void Form2::File1_Click() {
    Text1->setText(ShownPath(File1->selectedName()));
}

void Form2::File1_DblClick() {
    File1_Click();
    Command1_Click();
}

void Form2::Command1_Click() {
    ReturnToMainWindow();
    const QString name = File1->selectedName();
    if (name.isEmpty())
        return;
    Form1::instance().List1->AddIfAbsent(JoinPath(File1->directory(), name));
    ShowMainFileCount();
}

} // namespace tagwerk
