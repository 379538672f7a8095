#include "ui/main/Cp1252Validator.h"

#include "core/Cp1252.h"

#include <algorithm>

namespace tagwerk {

QValidator::State Cp1252Validator::validate(QString& input, int&) const {
    const bool representable = std::all_of(input.cbegin(), input.cend(), [](QChar c) {
        return c.unicode() != 0 && IsCp1252Character(c.unicode());
    });
    return representable ? Acceptable : Invalid;
}

} // namespace tagwerk
