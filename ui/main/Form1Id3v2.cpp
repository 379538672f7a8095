// The main window and the ID3v2 tag at the start of the open file: most
// players show that tag rather than the trailer, so the window says when the
// file has one and offers to take its values over into the editor fields.
// The Extras menu opens the window that does so for every listed file.
#include "core/GenreTable.h"
#include "ui/batch/Form6.h"
#include "ui/main/Form1.h"
#include "ui/main/TextConversion.h"
#include "ui/main/WindowGeometry.h"

#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <functional>

namespace tagwerk {

namespace {

// Calls `changed` whenever the program shows or hides the watched widget.
class VisibilityWatcher : public QObject {
public:
    VisibilityWatcher(QWidget& watched, std::function<void()> changed)
        : QObject(&watched), changed_(std::move(changed)) {
        watched.installEventFilter(this);
    }

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent)
            changed_();
        return false;
    }

private:
    std::function<void()> changed_;
};

} // namespace

// Label17 and Command6 stand in the free place right of the logo, where the
// progress texts stand during a long operation.
void Form1::createId3v2Controls(QWidget* client) {
    Label17 = new QLabel(client);
    Label17->setObjectName("Label17");
    Label17->setGeometry(TwipsRect(5400, 120, 3735, 855));
    Label17->setWordWrap(true);
    Label17->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label17->setVisible(false);
    Command6 = new QPushButton("Aus ID3v2-Tag &übernehmen", client);
    Command6->setObjectName("Command6");
    Command6->setGeometry(TwipsRect(5400, 1080, 3735, 375));
    Command6->setToolTip("Übernimmt Titel, Künstler, Album, Jahr, Kommentar und Musikrichtung aus "
                         "dem ID3v2-Tag der geöffneten Datei in die Felder. Gespeichert wird wie "
                         "gewohnt mit „ID3-Tag speichern“.");
    Command6->setVisible(false);
    setTabOrder(Command5, Command6);
    connect(Command6, &QPushButton::clicked, this, &Form1::Command6_Click);
    new VisibilityWatcher(*Label13, [this] { refreshId3v2Notice(); });

    ID3v2Name =
        menuBar()->findChild<QMenu*>("Extras")->addAction("ID3v1-Tags aus &ID3v2-Tags erzeugen...");
    ID3v2Name->setObjectName("ID3v2Name");
    connect(ID3v2Name, &QAction::triggered, this, [this] {
        setEnabled(false);
        Form6::instance().show();
    });
}

void Form1::refreshId3v2Notice() {
    const QString path = openFilePath();
    id3v2_.reset();
    // A long operation shows files as open one after the other; only the
    // one open when it ends is read.
    if (Label13->isHidden() && !path.isEmpty())
        id3v2_ = ReadId3v2Tag(NativePath(path));
    if (id3v2_)
        Label17->setText(QStringLiteral("Diese Datei hat auch einen ID3v2.%1-Tag. Viele Player "
                                        "zeigen ihn statt des ID3v1-Tags.")
                             .arg(id3v2_->majorVersion));
    Label17->setVisible(id3v2_.has_value());
    Command6->setVisible(id3v2_.has_value());
}

void Form1::Command6_Click() {
    if (!id3v2_)
        return;
    const TagRecord& record = id3v2_->record;
    Text1->setText(FromCp1252(record.title));
    Text2->setText(FromCp1252(record.artist));
    Text3->setText(FromCp1252(record.album));
    Text4->setText(FromCp1252(record.year));
    Text5->setText(FromCp1252(record.comment));
    const std::string_view genre = GenreNameFromCode(record.genre).value_or(kNoGenreName);
    Combo1->setCurrentIndex(
        Combo1->findText(FromCp1252(genre), Qt::MatchExactly | Qt::MatchCaseSensitive));
    // Also when every value was there already: the user asked to save them.
    Field_Change();
}

} // namespace tagwerk
