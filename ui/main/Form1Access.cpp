// What the main window tells screen readers, and the desktop's keys for its
// commands: the editor fields and the file list named by their labels, the
// logo and the thin bar as progress bars, Ctrl+O and Ctrl+S. These menu
// items show no shortcut; their captions stay as they are.
#include "ui/main/Accessibility.h"
#include "ui/main/Form1.h"
#include "ui/main/ProgressDisplay.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>

namespace tagwerk {

void Form1::makeAccessible() {
    const std::pair<const char*, QWidget*> labelled[] = {
        {"Label1", Text1},  {"Label2", Text2}, {"Label3", Text3}, {"Label4", Text4},
        {"Label5", Combo1}, {"Label6", Text5}, {"Label7", List1}};
    for (const auto& [label, control] : labelled)
        NameByLabel(*findChild<QLabel*>(label), *control);
    PresentAsProgressBar(*Image1, "Fortschritt insgesamt", ProgressDisplay::kFullWidth, *Label13);
    PresentAsProgressBar(*Shape2, "Fortschritt der aktuellen Datei", ProgressDisplay::kFullWidth,
                         *Label15);
}

void Form1::createShortcuts() {
    connect(new QShortcut(QKeySequence::Open, this), &QShortcut::activated, this, [this] {
        if (isEnabled())
            oeffnen->trigger();
    });
    // As a click: nothing while the button is disabled.
    connect(new QShortcut(QKeySequence::Save, this), &QShortcut::activated, Command1,
            &QPushButton::click);
}

} // namespace tagwerk
