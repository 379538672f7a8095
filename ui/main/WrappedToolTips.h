#pragma once
// Tooltips as paragraphs wrapped at a readable width, instead of single lines
// as wide as their text that run off smaller screens. The controls keep
// their tooltip texts as they are.
class QApplication;

namespace tagwerk {

// Installs the wrapping for every control of the application; once, at start.
void WrapToolTips(QApplication& application);

} // namespace tagwerk
