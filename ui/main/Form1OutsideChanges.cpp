// The main window and changes made to the open file behind the editor's
// back: by another program, or by a run over the whole list. The editor
// never shows, nor writes over, a tag the file no longer has without the
// user knowing.
#include "ui/main/Form1.h"
#include "ui/main/TextConversion.h"
#include "ui/main/frmMessage.h"

#include <QLineEdit>
#include <QPushButton>

namespace tagwerk {

namespace {

const QString kOverwriteQuestion = QStringLiteral(
    "Die Datei „%1“ wurde geändert, seit ihr ID3-Tag geladen wurde, etwa von einem anderen "
    "Programm. Möchten Sie diese Änderung mit Ihren Eingaben überschreiben?");

std::optional<FileStamp> StampOf(const QString& path) {
    const OpenResult opened = OpenForReading(NativePath(path));
    if (opened.error != FileError::none)
        return std::nullopt;
    return opened.stamp;
}

} // namespace

void Form1::reloadOpenFile() {
    applyBlankEditorRule();
    Command2_Click();
}

void Form1::rememberOpenFileStamp(const QString& path) {
    openFileStamp_ = StampOf(path);
}

// A file that is gone is no change to ask about: its save says what failed.
bool Form1::changedSinceLoaded(const QString& path) const {
    if (!openFileStamp_ || path.isEmpty())
        return false;
    const std::optional<FileStamp> now = StampOf(path);
    return now && *now != *openFileStamp_;
}

// Runs once the window is free again, so never in the middle of its own work.
void Form1::noticeOutsideChange() {
    if (!isEnabled() || !isVisible() || !changedSinceLoaded(openFilePath()))
        return;
    applyBlankEditorRule();
    if (EditorState == kUnchanged)
        Command2_Click();
}

bool Form1::mayOverwrite(const QString& path) {
    if (!changedSinceLoaded(path))
        return true;
    const bool wasEnabled = isEnabled();
    const bool overwrite =
        AskQuestion(kOverwriteQuestion.arg(Label10->text())) == QStringLiteral("1");
    setEnabled(wasEnabled);
    return overwrite;
}

bool Form1::keepFocusOffListCommands(QWidget* old, QWidget* now) {
    const bool tagCommand = old == Command1 || old == Command2 || old == Command3;
    if (!tagCommand || old->isEnabled() || !now || now->window() != this)
        return false;
    Text1->setFocus();
    return true;
}

} // namespace tagwerk
