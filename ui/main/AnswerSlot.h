#pragma once
// Form1's invisible answer slot (Label16): the message window writes "1"
// (OK) or "2" (Nein) into it, and a waiting question learns of the change
// through answerChanged.
#include <QLabel>

namespace tagwerk {

class AnswerSlot : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
    // Hides QLabel::setText so that every caption change through the slot is
    // announced; write the slot through an AnswerSlot pointer.
    void setText(const QString& caption) {
        QLabel::setText(caption);
        emit answerChanged(caption);
    }

signals:
    void answerChanged(const QString& caption);
};

} // namespace tagwerk
