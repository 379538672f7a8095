#include "ui/main/Form1.h"

namespace tagwerk {

Form1::Form1() {
    setObjectName("Form1");
    setWindowTitle("Tagwerk");
    auto* client = new QWidget(this);
    setCentralWidget(client);
    List1 = new FileListBox(client);
    List1->setObjectName("List1");
    Label12 = new QLabel(client);
    Label12->setObjectName("Label12");
}

} // namespace tagwerk
