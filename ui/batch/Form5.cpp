#include "ui/batch/Form5.h"

#include "core/TrailerFile.h"
#include "ui/batch/BatchControls.h"
#include "ui/main/ActionRecording.h"
#include "ui/main/FileErrorText.h"
#include "ui/main/Form1.h"
#include "ui/main/ProgressDisplay.h"
#include "ui/main/TextConversion.h"
#include "ui/main/WindowGeometry.h"
#include "ui/main/WindowKeys.h"
#include "ui/main/frmMessage.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

namespace tagwerk {

Form5::Form5() {
    setObjectName("Form5");
    setWindowTitle("Tagwerk: Entfernen von ID3-Tags");
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFont(LayoutFont());
    setFixedSize(TwipsToPixels(4680), TwipsToPixels(4200));

    Label1 = MakeControl<QLabel>(
        this, "Label1", TwipsRect(120, 120, 4455, 1815), QString(),
        "Hiermit können Sie die ID3-Tags von allen in der Dateiliste enthaltenen Dateien "
        "entfernen. Das Entfernen von ID3-Tags ist mit Tagwerk momentan noch relativ langwierig. "
        "Daher lässt sich als Alternative der ID3-Tag auch nur leeren, anstatt ihn zu entfernen. "
        "Achtung: Einmal entfernte oder geleerte ID3-Tags können nicht auf Knopfdruck wieder "
        "hergestellt werden - sie sind dann unwiederbringlich gelöscht. Wird während dem "
        "Entfernungsvorgang auf Abbruch geklickt, so stoppt das Programm die Bearbeitung.");
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Command1 = MakeControl<QPushButton>(this, "Command1", TwipsRect(120, 2040, 4455, 375),
                                        "Entfernt von allen Dateien der Dateiauswahlliste (soweit "
                                        "vorhanden) den ID3-Tag, also die letzten 128 Bytes.",
                                        "Entferne alle ID3-Tags");
    Command2 = MakeControl<QPushButton>(
        this, "Command2", TwipsRect(120, 2520, 4455, 375),
        "Alternative zur obigen Schaltfläche (wegen höherer Geschwindigkeit). Die ID3-Tags werden "
        "(soweit vorhanden) nicht entfernt, sondern mit Leerzeichen gefüllt.",
        "Leere alle ID3-Tags (soweit vorhanden)");
    Command3 = MakeControl<QPushButton>(
        this, "Command3", TwipsRect(120, 3000, 4455, 1095),
        "Bricht die Aktion ab bzw. stoppt die Verarbeitung der Dateiliste.", "Abbruch");
    setTabOrder(Command1, Command2);
    setTabOrder(Command2, Command3);

    connect(Command1, &QPushButton::clicked, this, &Form5::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form5::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form5::Command3_Click);
    EnterPressesFocusedButton(*this);
    EscapeClosesWindow(*this);
}

namespace {

// The last position of a file's payload of `length` bytes up to which
// neither bar can move, seen from the fractions of the current position:
// within a file both bars only grow, and each moves once its share reaches
// its next whole pixel. The sink, called every 100 bytes, skips its
// arithmetic before then.
std::int64_t QuietThrough(std::int64_t length, int i, int n, double fileFraction,
                          double overallFraction) {
    const double fileShare =
        std::min(ProgressDisplay::BeforeNextMove(fileFraction),
                 ProgressDisplay::BeforeNextMove(overallFraction) * n - (i - 1));
    return static_cast<std::int64_t>(fileShare * static_cast<double>(length));
}

} // namespace

// Both runs: the main window disabled and its editor emptied, then every
// listed file in turn shown as the open file and handed to `work`, which
// says whether it succeeded; a hidden window stops the run after a file.
void Form5::runOverList(ActionKind kind, const QString& done, const FileWork& work) {
    Form1& main = Form1::instance();
    main.setEnabled(false);
    running_ = true;
    Command1->setEnabled(false);
    Command2->setEnabled(false);
    ProgressDisplay progress(main);
    progress.BeginProgress(kind == ActionKind::removalRun);
    UndoJournalWriter journal(kind);
    main.emptyEditor();

    const int n = main.List1->count();
    QHash<QString, QString> failures; // why, by entry
    for (int i = 1; i <= n; ++i) {
        const QString entry = main.List1->entryAt(i - 1);
        main.showAsOpenFile(entry);
        if (const QString failure = work(progress, entry, i, n, journal); !failure.isEmpty())
            failures.insert(entry, failure);
        if (aborted())
            break;
    }

    progress.EndProgress();
    running_ = false;
    main.setEnabled(true);
    Command1->setEnabled(true);
    Command2->setEnabled(true);
    // Forgotten at once, deleted once the click that started the run is done.
    unloadLater();
    main.List1->markFailures(failures);
    // Silence would report the failed files as done.
    QString notice;
    if (!failures.isEmpty())
        notice = "Bei " + SignPlaceText(failures.size()) + " Dateien konnte der ID3-Tag nicht " +
                 done +
                 " werden. Mögliche Ursachen: Die Datei ist nicht mehr vorhanden oder "
                 "schreibgeschützt, der Datenträger ist voll oder schreibgeschützt.";
    FinishAction(journal, notice);
}

void Form5::Command1_Click() {
    runOverList(
        ActionKind::removalRun, "entfernt",
        [this](ProgressDisplay& progress, const QString&, int i, int n,
               UndoJournalWriter& journal) {
            const QString fileText =
                " der Datei " + SignPlaceText(i) + " von " + SignPlaceText(n) + " bearbeitet";
            std::int64_t quietThrough = 0;
            std::int64_t filePercent = -1;
            QString filePercentText;
            const auto show = [&](std::int64_t p, std::int64_t length) {
                const double fileFraction = static_cast<double>(p) / static_cast<double>(length);
                progress.ShowProgress(ProgressBar::perFile, fileFraction, [&] {
                    // Of a large file the percentage changes at every third move.
                    if (const std::int64_t percent = p * 100 / length; percent != filePercent) {
                        filePercent = percent;
                        filePercentText = PercentText(percent) + fileText;
                    }
                    return filePercentText;
                });
                // Stop at once rather than show one more step after "Abbruch".
                if (aborted())
                    return false;
                const double done = fileFraction + i - 1;
                progress.ShowProgress(ProgressBar::overall, done / n, [&] {
                    return PercentText(static_cast<std::int64_t>(done * 100 / n)) + " insgesamt";
                });
                quietThrough = QuietThrough(length, i, n, fileFraction, done / n);
                return !aborted();
            };
            // Until the next move no events are handled, so no "Abbruch" can
            // have come: the run goes on.
            const auto sink = [&](std::int64_t p, std::int64_t length) {
                return p <= quietThrough || show(p, length);
            };
            // The file shown as the open one, by the same two parts.
            const Form1& main = Form1::instance();
            const RemoveResult result = RemoveTagTrailer(
                NativePath(main.Label11->path()), NativePath(main.Label10->path()), sink, &journal);
            return result.outcome == RemoveOutcome::failed ? FileErrorText(result.error)
                                                           : QString();
        });
}

void Form5::Command2_Click() {
    runOverList(
        ActionKind::blankingRun, "geleert",
        [](ProgressDisplay& progress, const QString& entry, int i, int n,
           UndoJournalWriter& journal) {
            const BlankResult result = BlankTagTrailer(NativePath(entry), &journal);
            if (result.outcome == BlankOutcome::blanked) {
                const double fraction = static_cast<double>(i) / n;
                progress.ShowProgress(ProgressBar::overall, fraction, [&] {
                    return PercentText(static_cast<std::int64_t>(fraction * 100)) + " insgesamt";
                });
            }
            return result.outcome == BlankOutcome::error ? FileErrorText(result.error) : QString();
        });
}

// A run stops at its next check, right after the events now handled, and
// only then enables the main window: until then nothing there can start or
// close while the run still holds its files.
void Form5::Command3_Click() {
    if (!running_)
        Form1::instance().setEnabled(true);
    hide();
}

void Form5::showEvent(QShowEvent* event) {
    const Form1& main = Form1::instance();
    const QWidget* client = main.centralWidget();
    const QPoint clientRight = client->mapToGlobal(QPoint(client->width(), 0));
    const QPoint belowTexts = main.Label15->mapToGlobal(QPoint(0, main.Label15->height() + 8));
    QRect place(QPoint(), frameGeometry().size());
    place.moveTopRight(QPoint(clientRight.x(), belowTexts.y()));
    if (const QScreen* screen = main.screen()) {
        const QRect area = screen->availableGeometry();
        place.moveLeft(std::clamp(place.left(), area.left(), area.right() - place.width() + 1));
        place.moveTop(std::clamp(place.top(), area.top(), area.bottom() - place.height() + 1));
    }
    move(place.topLeft());
    QWidget::showEvent(event);
    // A tool window is not given the focus by itself; the disabled main
    // window would keep it, and the keys would reach nothing.
    activateWindow();
}

void Form5::closeEvent(QCloseEvent* event) {
    Command3_Click();
    event->accept();
}

} // namespace tagwerk
