#pragma once
// The main window: the editor fields of the open file's tag, the file list,
// the tag commands and the menus that open every other window. Other windows
// hand their results back by writing into its public controls.
#include "core/FileIo.h"
#include "id3v2/Id3v2Reading.h"
#include "ui/main/AnswerSlot.h"
#include "ui/main/FileListBox.h"
#include "ui/main/PictureBox.h"
#include "ui/main/ShownPaths.h"
#include "ui/main/WindowSingleton.h"

#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <optional>

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QLineEdit;
class QPushButton;

namespace tagwerk {

class Form1 : public QMainWindow, public WindowSingleton<Form1> {
    Q_OBJECT
public:
    static constexpr int kModified = 0;
    static constexpr int kUnchanged = 1;
    // Whether the editor fields hold changes not yet written to the open
    // file. It starts without a value, which every comparison takes as 0.
    int EditorState = kModified;

    // Editor fields: title, artist, album, year, comment, genre.
    QLineEdit* Text1 = nullptr;
    QLineEdit* Text2 = nullptr;
    QLineEdit* Text3 = nullptr;
    QLineEdit* Text4 = nullptr;
    QLineEdit* Text5 = nullptr;
    QComboBox* Combo1 = nullptr;
    QCheckBox* Check1 = nullptr; // save or discard without asking

    QPushButton* Command1 = nullptr; // save the tag
    QPushButton* Command2 = nullptr; // load the tag
    QPushButton* Command3 = nullptr; // remove the tag
    QPushButton* Command4 = nullptr; // empty the list
    QPushButton* Command5 = nullptr; // remove the selected entry
    QPushButton* Command6 = nullptr; // take the values of the open file's ID3v2 tag

    PathLabel* Label10 = nullptr; // the open file's name
    PathLabel* Label11 = nullptr; // the open file's directory, with its closing separator

    QLabel* Label12 = nullptr; // the file list's entry count
    QLabel* Label13 = nullptr; // overall progress of a long operation
    QLabel* Label15 = nullptr; // progress within the current file
    AnswerSlot* Label16 = nullptr;
    QLabel* Label17 = nullptr;    // says that the open file also has an ID3v2 tag
    FileListBox* List1 = nullptr; // the file list

    PictureBox* Image1 = nullptr; // the logo, narrowed as the overall progress bar
    PictureBox* Image2 = nullptr; // the dimmed logo beneath it
    QFrame* Shape2 = nullptr;     // the thin progress bar of the current file

    QAction* oeffnen = nullptr;
    QAction* Moeffnen = nullptr;
    QAction* Ende = nullptr;
    QAction* ID3Name = nullptr;
    QAction* ID3Entf = nullptr;
    QAction* ID3v2Name = nullptr;
    QAction* Rueckgaengig = nullptr; // enabled while there is an action to undo
    QAction* Ueber = nullptr;

    // The open file: Label11 followed by Label10; empty when either is empty.
    QString openFilePath() const;
    // Shows a list entry as the open file: its name in Label10, its directory in Label11.
    void showAsOpenFile(const QString& path);
    // Genre "(keine Zuordnung)", then the five text fields empty: ordinary
    // edits, so the edit handler runs for each.
    void emptyEditor();
    // Shows the file list's entry count in Label12.
    void refreshCount();

    // Saves the editor fields as the open file's tag ("ID3-Tag speichern").
    void Command1_Click();
    // Reloads the open file's tag, after asking about unsaved edits ("ID3-Tag laden").
    void Command2_Click();
    // Removes the open file's tag ("ID3-Tag entfernen").
    void Command3_Click();
    // Puts the values of the open file's ID3v2 tag into the editor fields,
    // as if typed ("Aus ID3v2-Tag übernehmen").
    void Command6_Click();
    // Settles unsaved edits and opens the selected list entry.
    void List1_DblClick();
    // Takes back the newest recorded action and reloads the open file if it
    // was among the files put back ("Letzte Aktion rückgängig machen").
    void Rueckgaengig_Click();
    // Loads the open file's tag again after an action changed the file, as
    // "ID3-Tag laden" does: unsaved edits are asked about, blank fields are none.
    void reloadOpenFile();

protected:
    void closeEvent(QCloseEvent* event) override;
    // The keyboard focus comes back where it was once the window is enabled
    // or activated again after a question, a long operation or another window.
    void changeEvent(QEvent* event) override;

private:
    friend class WindowSingleton<Form1>;
    Form1();
    ~Form1() override;
    void createEditorFields(QWidget* client);
    void createCommands(QWidget* client);
    void createFileList(QWidget* client);
    void createProgressDisplay(QWidget* client);
    void createMenus();
    void setKeyboardOrder();
    void createId3v2Controls(QWidget* client);
    // Label17 and Command6 for the open file's ID3v2 tag; hidden while the
    // progress texts stand in their place.
    void refreshId3v2Notice();
    void createUndoItem();
    // Names for screen readers and the desktop's keys; nothing shown changes.
    void makeAccessible();
    void createShortcuts();

    void Form_Load();
    // Closing settles unsaved edits first, then unloads every window and ends the program.
    void Form_Unload();
    // Shared by the six editor fields: any change marks the fields modified.
    void Field_Change();
    void Command4_Click();
    void Command5_Click();
    void Ueber_Click();

    // The work of the save and the open-entry routine; false when a save
    // failed, which leaves the edits in place.
    bool saveTag();
    bool openSelectedEntry();
    void applyBlankEditorRule();
    void loadTag(const QString& path);
    void clearTextFields();
    void rememberFocus(QWidget* now);
    void restoreFocus();
    // A tag button that disables itself while it has the focus hands it to
    // the title field, not on to the buttons that empty or shorten the list.
    bool keepFocusOffListCommands(QWidget* old, QWidget* now);

    // The open file as the editor last matched it (load, save, removal), so
    // that a change by another program shows: unsaved edits are then only
    // written over it after a question, and without any the tag is loaded
    // again as soon as the window is used.
    void rememberOpenFileStamp(const QString& path);
    bool changedSinceLoaded(const QString& path) const;
    void noticeOutsideChange();
    bool mayOverwrite(const QString& path);

    QPointer<QWidget> lastFocus_; // the control that had the focus while the user worked here

    std::optional<Id3v2Tag> id3v2_; // of the open file, as Label17 tells of it
    std::optional<FileStamp> openFileStamp_;
};

} // namespace tagwerk
