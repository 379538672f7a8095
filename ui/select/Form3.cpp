#include "ui/select/Form3.h"

#include "ui/desktop/FileIntake.h"
#include "ui/main/Accessibility.h"
#include "ui/main/Form1.h"
#include "ui/main/TextConversion.h"
#include "ui/main/WindowGeometry.h"
#include "ui/main/WindowKeys.h"
#include "ui/select/QStringPaths.h"

#include <QSignalBlocker>

namespace tagwerk {

Form3::Form3() : FileSelectionWindow("Form3", "Tagwerk: Dateien auswählen...", 9375, 7500) {
    Label5 = Named(new QLabel(this), "Label5");
    Command1 = Named(new QPushButton("Datei zu Liste hinzufügen", this), "Command1");
    Command3 = Named(new QPushButton("Alle Dateien im aktuellen Verzeichnis hinzufügen", this),
                     "Command3");
    Command7 =
        Named(new QPushButton("Alle Dateien zuzüglich Unterverzeichnisse", this), "Command7");
    Command7->setEnabled(false);
    Label1 = Named(new QLabel("Zu öffnende Dateien:", this), "Label1");
    Label10 = Named(new QLabel(this), "Label10");
    List1 = Named(new FileListBox(this), "List1");
    Label6 = Named(new QLabel("Datei:", this), "Label6");
    Label7 = Named(new QLabel(this), "Label7");
    Label8 = Named(new QLabel("Verzeichnis:", this), "Label8");
    Label9 = Named(new QLabel(this), "Label9");
    Command5 = Named(new QPushButton("Ausgewählten Listeneintrag entfernen", this), "Command5");
    Command4 = Named(new QPushButton("Alle Listeneinträge löschen", this), "Command4");
    Command6 = Named(new QPushButton("Dateien öffnen", this), "Command6");
    Command2 = Named(new QPushButton("A&bbrechen", this), "Command2");
    PlaceControls();
    SetToolTips();
    NameBrowserControls();
    NameByLabel(*Label1, *List1);
    SetKeyboardOrder({Drive1, Dir1, File1, Combo1, Command1, Command3, Command7, List1, Command5,
                      Command4, Command6, Command2});

    connect(File1, &FileNameList::fileClicked, this, &Form3::File1_Click);
    connect(File1, &FileNameList::fileDoubleClicked, this, &Form3::Command1_Click);
    connect(Command1, &QPushButton::clicked, this, &Form3::Command1_Click);
    connect(Command3, &QPushButton::clicked, this, &Form3::Command3_Click);
    connect(List1, &FileListBox::Click, this, &Form3::List1_Click);
    connect(List1, &FileListBox::DblClick, this, &Form3::List1_DblClick);
    connect(Command5, &QPushButton::clicked, this, &Form3::Command5_Click);
    connect(Command4, &QPushButton::clicked, this, &Form3::Command4_Click);
    connect(Command6, &QPushButton::clicked, this, &Form3::Command6_Click);
    connect(Command2, &QPushButton::clicked, this, &Form3::Command2_Click);
    EnterPressesFocusedButton(*this);
    AcceptDropsOnList(*List1, [this] { ShowListCount(); });
    EscapeClosesWindow(*this);
    Form_Load();
}

void Form3::PlaceControls() {
    Label4->setGeometry(TwipsRect(0, 0, 855, 255));
    Drive1->setGeometry(TwipsRect(960, 0, 4455, 315));
    Dir1->setGeometry(TwipsRect(0, 360, 3375, 1890));
    File1->setGeometry(TwipsRect(3480, 360, 5895, 1845));
    Label2->setGeometry(TwipsRect(120, 2400, 735, 255));
    Label5->setGeometry(TwipsRect(960, 2400, 4455, 255));
    Label3->setGeometry(TwipsRect(0, 2760, 855, 255));
    Combo1->setGeometry(TwipsRect(960, 2760, 4455, 315));
    Command1->setGeometry(TwipsRect(5640, 2280, 3615, 375));
    Command3->setGeometry(TwipsRect(5640, 2760, 3615, 375));
    Command7->setGeometry(TwipsRect(5640, 3240, 3615, 375));
    Label1->setGeometry(TwipsRect(120, 3600, 1575, 255));
    Label10->setGeometry(TwipsRect(1800, 3600, 5175, 255));
    List1->setGeometry(TwipsRect(120, 3960, 9135, 1815));
    Label6->setGeometry(TwipsRect(600, 5880, 495, 255));
    Label7->setGeometry(TwipsRect(1200, 5880, 8175, 255));
    Label8->setGeometry(TwipsRect(120, 6240, 975, 255));
    Label9->setGeometry(TwipsRect(1200, 6240, 8175, 255));
    Command5->setGeometry(TwipsRect(120, 6600, 3615, 375));
    Command4->setGeometry(TwipsRect(120, 7080, 3615, 375));
    Command6->setGeometry(TwipsRect(3840, 6600, 2655, 855));
    Command2->setGeometry(TwipsRect(6600, 6600, 2655, 855));
}

void Form3::SetToolTips() {
    Drive1->setToolTip("Hier wählen Sie das Laufwerk aus.");
    Dir1->setToolTip("Hier kann das aktuelle Verzeichnis gewählt werden.");
    File1->setToolTip("Liste der Dateien des aktuellen Dateityps im aktuellen Verzeichnis. Ein "
                      "Doppelklick auf eine Datei fügt diese der Liste hinzu.");
    Command1->setToolTip("Fügt die ausgewählte Datei zur Liste hinzu.");
    Command3->setToolTip("Fügt alle Dateien vom ausgewählten Dateityp der Liste hinzu.");
    Command7->setToolTip("Durchsucht diesen Ordner und alle seine Unterverzeichnisse nach Dateien "
                         "vom ausgewählten Dateityp und fügt diese der Liste hinzu.");
    List1->setToolTip("Diese Dateien werden beim Klick auf OK geöffnet. Beim Doppelklick auf eine "
                      "Datei wird diese aus der Liste entfernt.");
    Command5->setToolTip("Entfernt den ausgewählten Eintrag aus der Liste der geöffneten Dateien.");
    Command4->setToolTip("Entfernt alle Einträge in der Liste der zu öffnenden Dateien.");
    Command6->setToolTip("Öffnet die Dateien in der Dateiliste.");
    Command2->setToolTip("Bricht das Öffnen von Dateien ab.");
}

void Form3::Form_Load() {
    LoadBrowser();
    Label5->setText(ShownPath(File1->selectedName()));
    Label7->clear();
    Label9->clear();
    Label10->clear();
}

void Form3::File1_Click() {
    Label5->setText(ShownPath(File1->selectedName()));
}

void Form3::Command1_Click() {
    const QString name = File1->selectedName();
    if (!name.isEmpty())
        List1->AddIfAbsent(JoinPath(File1->directory(), name));
    ShowListCount();
}

void Form3::Command3_Click() {
    const QString directory = File1->directory();
    for (const QString& name : File1->names())
        List1->AddIfAbsent(JoinPath(directory, name));
    ShowListCount();
}

void Form3::List1_Click() {
    const QString entry = List1->selectedEntry();
    if (entry.isEmpty())
        return;
    const PathParts parts = SplitPath(entry);
    Label7->setText(ShownPath(parts.name));
    Label9->setText(ShownPath(parts.directory));
}

void Form3::List1_DblClick() {
    Command5_Click();
}

void Form3::Command5_Click() {
    const int row = List1->selectedRow();
    if (row < 0)
        return;
    {
        // Removing selects the neighbour for a moment; the file-name and
        // directory display keep the removed entry's parts.
        const QSignalBlocker quiet(List1);
        List1->removeEntry(row);
        List1->setCurrentRow(-1);
    }
    ShowListCount();
}

void Form3::Command4_Click() {
    if (List1->count() == 0)
        return;
    List1->clearEntries();
    ShowListCount();
}

void Form3::Command6_Click() {
    ReturnToMainWindow();
    FileListBox* fileList = Form1::instance().List1;
    for (int row = 0; row < List1->count(); ++row)
        fileList->AddIfAbsent(List1->entryAt(row));
    ShowMainFileCount();
}

void Form3::ShowListCount() {
    Label10->setText(CountCaption(List1->count()));
}

} // namespace tagwerk
