#pragma once
// Lets into a text box only characters a tag can hold: those with a byte in
// Windows-1252. Anything else typed or pasted is refused as a whole.
#include <QValidator>

namespace tagwerk {

class Cp1252Validator : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString& input, int& position) const override;
};

} // namespace tagwerk
