#pragma once
// Where paths are shown: each byte of a name that is no text shows as a
// replacement mark, while the path itself is carried on unchanged.
#include "ui/main/TextConversion.h"

#include <QStyledItemDelegate>

namespace tagwerk {

// Draws the paths or names of an item view as shown; the items keep them as they are.
class ShownPathDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QString displayText(const QVariant& value, const QLocale&) const override {
        return ShownPath(value.toString());
    }
};

} // namespace tagwerk
