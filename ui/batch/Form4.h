#pragma once
// The batch window that gives every file of the main window's file list a
// tag built from its name: the Dateinamenaufbau, fixed values with their
// take-over boxes, and whether existing tags are overwritten. Its values last
// from one opening to the next.
#include "pattern/Dateinamenaufbau.h"
#include "ui/main/WindowSingleton.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tagwerk {

class Form4 : public QWidget, public WindowSingleton<Form4> {
    Q_OBJECT
public:
    QLineEdit* Text1 = nullptr; // the Dateinamenaufbau
    // Take-over boxes and fixed values of title, artist, album, year, genre, comment.
    QCheckBox* Check1 = nullptr;
    QCheckBox* Check2 = nullptr;
    QCheckBox* Check3 = nullptr;
    QCheckBox* Check4 = nullptr;
    QCheckBox* Check5 = nullptr;
    QCheckBox* Check6 = nullptr;
    QLineEdit* Text2 = nullptr;
    QLineEdit* Text3 = nullptr;
    QLineEdit* Text4 = nullptr;
    QLineEdit* Text5 = nullptr;
    QComboBox* Combo1 = nullptr;
    QLineEdit* Text6 = nullptr;
    QCheckBox* Check8 = nullptr;     // fixed values win over parts of the name
    QCheckBox* Check7 = nullptr;     // overwrite existing tags
    QLabel* Label2 = nullptr;        // how to write the Dateinamenaufbau
    QPushButton* Command1 = nullptr; // "Starten"
    QPushButton* Command2 = nullptr; // "Abbruch"
    QPushButton* Command3 = nullptr; // "&Vorschau...": what "Starten" would do, writing nothing

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

protected:
    // Closing by the title bar acts like "Abbruch".
    void closeEvent(QCloseEvent* event) override;

private:
    friend class WindowSingleton<Form4>;
    Form4();
    void createFieldRows();
    void Form_Load();
    FixedValues fixedValues() const;
};

} // namespace tagwerk
