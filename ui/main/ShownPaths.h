#pragma once
// Where paths are shown: each byte of a name that is no text shows as a
// replacement mark, while the path itself is carried on unchanged.
#include "ui/main/TextConversion.h"

#include <QLabel>
#include <QStyledItemDelegate>

namespace tagwerk {

// A label that shows a path, or a part of one, and hands it back unchanged
// to the file operations that read it.
class PathLabel : public QLabel {
public:
    using QLabel::QLabel;
    QString path() const { return path_; }
    void setPath(const QString& path) {
        path_ = path;
        setText(ShownPath(path));
    }

private:
    QString path_;
};

// Draws the paths or names of an item view as shown; the items keep them as they are.
class ShownPathDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QString displayText(const QVariant& value, const QLocale&) const override {
        return ShownPath(value.toString());
    }
};

} // namespace tagwerk
