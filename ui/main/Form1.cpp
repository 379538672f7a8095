#include "ui/main/Form1.h"

namespace tagwerk {

Form1& Form1::instance() {
    static Form1* window = new Form1;
    return *window;
}

Form1::Form1() {
    setObjectName("Form1");
    setWindowTitle("Tagwerk");
}

} // namespace tagwerk
