#include "ui/select/FileSelectionWindow.h"

#include "core/PathText.h"
#include "ui/main/Accessibility.h"
#include "ui/main/Form1.h"
#include "ui/main/TextConversion.h"
#include "ui/main/WindowGeometry.h"
#include "ui/main/frmMessage.h"
#include "ui/select/DirectoryListing.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QIcon>
#include <iterator>

namespace tagwerk {

FileSelectionWindow::FileSelectionWindow(const QString& name, const QString& title, int widthTwips,
                                         int heightTwips)
    : QWidget(nullptr, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint) {
    setObjectName(name);
    setWindowTitle(title);
    setWindowIcon(QIcon(":/pictures/tagwerk.png"));
    setFont(LayoutFont());
    setFixedSize(TwipsToPixels(widthTwips), TwipsToPixels(heightTwips));
    CenterOnScreen(*this);

    const QString start = QDir::currentPath();
    Label4 = Named(new QLabel("Laufwerk:", this), "Label4");
    Drive1 = Named(new DriveSelector(start, this), "Drive1");
    Dir1 = Named(new DirectoryList(this), "Dir1");
    File1 = Named(new FileNameList(this), "File1");
    Label2 = Named(new QLabel("Datei:", this), "Label2");
    Label3 = Named(new QLabel("Dateityp:", this), "Label3");
    Combo1 = Named(new QComboBox(this), "Combo1");
    Combo1->addItems({"MP3-Dateien (*.MP3)", "Alle Dateien (*.*)"});
    Combo1->setToolTip("Wählen Sie hier den Typ der anzuzeigenden Dateien aus. Bitte belassen Sie "
                       "den Wert zweifelsfalls auf *.MP3. Es können zwar auch andere Dateien "
                       "geöffnet werden, das führt aber zu Beschädigungen.");
    Dir1->setPath(Drive1->volume().rootPath, start);
}

// The directory and file lists have no label of their own.
void FileSelectionWindow::NameBrowserControls() {
    NameByLabel(*Label4, *Drive1);
    NameByLabel(*Label3, *Combo1);
    NameWithoutLabel(*Dir1, "Verzeichnisse");
    NameWithoutLabel(*File1, "Dateien");
}

void FileSelectionWindow::LoadBrowser() {
    File1->setDirectory(Dir1->path());
    Combo1->setCurrentIndex(0);
    File1->setPattern("*.mp3");
    LastDrive = Drive1->volume().rootPath;
    connect(Combo1, &QComboBox::currentIndexChanged, this, &FileSelectionWindow::Combo1_Click);
    connect(Dir1, &DirectoryList::pathChanged, this, &FileSelectionWindow::Dir1_Change);
    connect(Drive1, &DriveSelector::driveChanged, this, &FileSelectionWindow::Drive1_Change);
}

void FileSelectionWindow::Combo1_Click() {
    File1->setPattern(Combo1->currentIndex() == 0 ? "*.mp3" : "*.*");
}

void FileSelectionWindow::Dir1_Change() {
    Drive1->setCurrentDirectory(Dir1->path());
    File1->setDirectory(Dir1->path());
    // Otherwise an unreadable directory would look like an empty one.
    if (!IsListable(Dir1->path()))
        ShowNotice("Auf das Verzeichnis " + ShownPath(Dir1->path()) +
                   " kann nicht zugegriffen werden.");
}

void FileSelectionWindow::Drive1_Change() {
    if (ApplyDrive()) {
        LastDrive = Drive1->volume().rootPath;
        return;
    }
    ShowNotice("Auf das Laufwerk " + Drive1->currentText() + " kann nicht zugegriffen werden.");
    QApplication::beep();
    // Back to the last good drive; if that one has gone too, the directory
    // list keeps showing what it showed, and no second notice follows.
    Drive1->setDrive(LastDrive);
    if (ApplyDrive())
        LastDrive = Drive1->volume().rootPath;
}

bool FileSelectionWindow::ApplyDrive() {
    if (!Drive1->isReadable())
        return false;
    Dir1->setPath(Drive1->volume().rootPath, Drive1->currentDirectory());
    return true;
}

void FileSelectionWindow::Command2_Click() {
    ReturnToMainWindow();
}

void FileSelectionWindow::ReturnToMainWindow() {
    // The main window shows first, so that there is never no window at all.
    Form1::instance().show();
    hide();
}

void FileSelectionWindow::SetKeyboardOrder(std::initializer_list<QWidget*> order) {
    for (auto next = std::next(order.begin()); next != order.end(); ++next)
        setTabOrder(*std::prev(next), *next);
}

QString FileSelectionWindow::CountCaption(qsizetype count) {
    return QString::fromStdString(FileCountCaption(count));
}

void FileSelectionWindow::ShowMainFileCount() {
    Form1& main = Form1::instance();
    main.Label12->setText(CountCaption(main.List1->count()));
}

void FileSelectionWindow::closeEvent(QCloseEvent* event) {
    if (isVisible())
        Command2_Click();
    event->accept();
}

void FileSelectionWindow::showEvent(QShowEvent* event) {
    if (shown_ && IsDirectory(Dir1->path())) {
        Dir1->refresh();
        File1->refresh();
    } else if (shown_) {
        // The directory was removed meanwhile: its nearest parent instead.
        Dir1->setPath(Dir1->root(), Dir1->path());
    }
    shown_ = true;
    QWidget::showEvent(event);
}

} // namespace tagwerk
