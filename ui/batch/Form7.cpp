#include "ui/batch/Form7.h"

#include "core/GenreTable.h"
#include "ui/batch/BatchControls.h"
#include "ui/main/Accessibility.h"
#include "ui/main/FileErrorText.h"
#include "ui/main/Form1.h"
#include "ui/main/TextConversion.h"
#include "ui/main/WindowGeometry.h"
#include "ui/main/WindowKeys.h"

#include <QAbstractTableModel>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <QWindow>
#include <optional>
#include <vector>

namespace tagwerk {

namespace {

// The file, then the six fields under the captions of the main window.
constexpr int kColumns = 1 + static_cast<int>(std::size(kFieldCaptions));
const int kWidths[] = {190, 130, 110, 110, 40, 100, 130};

QString Failure(const QString& reason) {
    return "Fehler: " + reason;
}

QStringList Values(const TagRecord& record) {
    const std::optional<std::string_view> genre = GenreNameFromCode(record.genre);
    return {FromCp1252(record.title),
            FromCp1252(record.artist),
            FromCp1252(record.album),
            FromCp1252(record.year),
            genre ? FromCp1252(*genre) : QString::number(record.genre),
            FromCp1252(record.comment)};
}

// One file of the list: its six values, or else what happens to it.
struct Row {
    QStringList values;
    QString message;
};

Row RowOf(const FileDecision& decision, const PreviewTexts& texts) {
    switch (OutcomeOf(decision)) {
    case FileOutcome::written:
        return {Values(*decision.record), {}};
    case FileOutcome::leftAlone:
        return {{}, texts.leftAlone};
    case FileOutcome::noValues:
        return {{}, texts.noValues};
    case FileOutcome::failed:
        break;
    }
    return {{}, Failure(TagFromNameFailureText(decision.result))};
}

// The rows are worked out the first time a view asks for them and kept.
class PreviewModel : public QAbstractTableModel {
public:
    PreviewModel(QStringList entries, EntryDecision decide, PreviewTexts texts, QObject* parent)
        : QAbstractTableModel(parent), entries_(std::move(entries)), decide_(std::move(decide)),
          texts_(std::move(texts)), rows_(static_cast<std::size_t>(entries_.size())) {}

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(entries_.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : kColumns;
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
            return {};
        if (index.column() == 0) {
            const QString shown = ShownPath(entries_[index.row()]);
            return role == Qt::ToolTipRole ? shown : shown.mid(shown.lastIndexOf('/') + 1);
        }
        const Row& worked = row(index.row());
        if (!worked.message.isEmpty())
            return index.column() == 1 ? worked.message : QVariant();
        return role == Qt::DisplayRole ? worked.values[index.column() - 1] : QVariant();
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
            return QString(section == 0 ? "Datei" : kFieldCaptions[section - 1]);
        return QAbstractTableModel::headerData(section, orientation, role);
    }

    const Row& row(int number) const {
        std::optional<Row>& row = rows_[static_cast<std::size_t>(number)];
        if (!row)
            row = RowOf(decide_(entries_[number]), texts_);
        return *row;
    }

private:
    const QStringList entries_;
    const EntryDecision decide_;
    const PreviewTexts texts_;
    mutable std::vector<std::optional<Row>> rows_;
};

// Works out the rows coming into sight before they are drawn, so that a
// message spans the six value columns from its first showing.
class PreviewTable : public QTableView {
public:
    using QTableView::QTableView;

protected:
    void paintEvent(QPaintEvent* event) override {
        if (const auto* rows = dynamic_cast<const PreviewModel*>(model())) {
            const int first = rowAt(0);
            int last = rowAt(viewport()->height() - 1);
            if (last < 0)
                last = rows->rowCount() - 1;
            for (int row = first; row >= 0 && row <= last; ++row)
                if (!rows->row(row).message.isEmpty() && columnSpan(row, 1) == 1)
                    setSpan(row, 1, 1, kColumns - 1);
        }
        QTableView::paintEvent(event);
    }
};

} // namespace

Form7::Form7() {
    setObjectName("Form7");
    setWindowIcon(QIcon(":/pictures/tagwerk.png"));
    setFont(LayoutFont());
    resize(900, 460);

    Label1 = MakeControl<QLabel>(this, "Label1", QRect(), QString(),
                                 "&Was der Auftrag mit jeder Datei der Dateiliste tun würde "
                                 "(geschrieben wird erst mit „Starten“):");
    List1 = MakeControl<PreviewTable>(
        this, "List1", QRect(),
        "Zeigt zu jeder Datei der Dateiliste im Hauptfenster die Werte des ID3-Tags, den der "
        "Auftrag schreiben würde, oder warum er die Datei unverändert lässt oder an ihr "
        "scheitern würde.");
    NameByLabel(*Label1, *List1);
    List1->setSelectionBehavior(QAbstractItemView::SelectRows);
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    List1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    List1->setWordWrap(false);
    List1->setTabKeyNavigation(false);
    // Rows of one line, all alike: none is measured, however long the list.
    List1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    List1->verticalHeader()->setDefaultSectionSize(List1->fontMetrics().height() + 6);
    List1->horizontalHeader()->setStretchLastSection(true);
    Command1 = MakeControl<QPushButton>(
        this, "Command1", QRect(),
        "Führt den Auftrag für alle Dateien der Dateiliste so aus, wie die Vorschau ihn zeigt.",
        "&Starten");
    Command2 = MakeControl<QPushButton>(
        this, "Command2", QRect(), "Schließt die Vorschau, ohne etwas zu schreiben.", "S&chließen");

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* button : {Command1, Command2}) {
        button->setFixedSize(TwipsToPixels(2415), TwipsToPixels(495));
        buttons->addWidget(button);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(List1);
    layout->addLayout(buttons);
    setTabOrder(List1, Command1);
    setTabOrder(Command1, Command2);

    connect(Command1, &QPushButton::clicked, this, &Form7::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form7::Command2_Click);
    EnterPressesFocusedButton(*this);
    EscapeClosesWindow(*this);
}

void Form7::Open(QWidget& owner, const PreviewTexts& texts, EntryDecision decide,
                 std::function<void()> start) {
    unload();
    Form7& window = instance();
    window.setWindowTitle(texts.title);
    window.start_ = std::move(start);
    const FileListBox& list = *Form1::instance().List1;
    QStringList entries;
    entries.reserve(list.count());
    for (int row = 0; row < list.count(); ++row)
        entries << list.entryAt(row);
    window.List1->setModel(
        new PreviewModel(std::move(entries), std::move(decide), texts, window.List1));
    for (int column = 0; column < kColumns; ++column)
        window.List1->setColumnWidth(column, kWidths[column]);

    // Transient for the batch window and modal to it: its values stay as the
    // preview shows them until the preview closes.
    window.winId();
    window.windowHandle()->setTransientParent(owner.window()->windowHandle());
    window.setWindowModality(Qt::WindowModal);
    CenterOnScreen(window);
    window.show();
    window.raise();
    window.activateWindow();
    window.List1->setFocus();
}

// The batch window is left as it is, so its run gets the values the preview was made with.
void Form7::Command1_Click() {
    const std::function<void()> start = std::move(start_);
    unloadLater();
    start();
}

void Form7::Command2_Click() {
    unloadLater();
}

void Form7::closeEvent(QCloseEvent* event) {
    event->accept();
    Command2_Click();
}

} // namespace tagwerk
