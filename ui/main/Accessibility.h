#pragma once
// How the windows present themselves to screen readers, beyond what Qt
// gives every control by itself. Nothing here changes what a window shows:
// names come from the labels beside the controls, roles and values from
// what the controls are to the user.
//
// The conventions of every window:
// - an edit, box, list or tree is named by the label beside it, through
//   NameByLabel; one without a label gets a German name of its own with
//   NameWithoutLabel; its tooltip stays its description. Both are called
//   once the control's tooltip is set;
// - a window is named by its title; one without a title gets a name with
//   QWidget::setAccessibleName;
// - a control that is something other than its widget (a picture that is a
//   progress bar, a window that is a message) says so with Present....
#include <QString>

class QLabel;
class QWidget;

namespace tagwerk {

// Makes the label the control's buddy, which names the control and links
// it to the label without changing what either shows. A list or tree is
// named by the label's text itself (Qt's views take no name from a buddy)
// and described by its tooltip; a drop-down list is named by the label, not
// by the entry it shows.
void NameByLabel(QLabel& label, QWidget& control);

// Names a control that has no label of its own (a list or tree is then
// described by its tooltip, as above).
void NameWithoutLabel(QWidget& control, const QString& name);

// Presents the bar as a progress bar from 0 to `maximum`, its width in
// pixels being the value; while `valueText` is shown, its text is the
// value's text as well.
void PresentAsProgressBar(QWidget& bar, const QString& name, int maximum, const QLabel& valueText);

// Tells screen readers the bar's value, if it changed since they were last
// told. Called where the bar is painted, so they hear no more than is seen.
void AnnounceProgress(QWidget& bar);

// Presents the window as a dialog while `noButton` is shown (a question),
// else as an alert (a notice), the text of `message` its description.
void PresentAsMessage(QWidget& window, const QLabel& message, const QWidget& noButton);

// Tells screen readers that the message window shows (again) with a text.
void AnnounceMessage(QWidget& window);

} // namespace tagwerk
