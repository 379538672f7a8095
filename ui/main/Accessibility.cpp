#include "ui/main/Accessibility.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QHash>
#include <QLabel>
#include <QPointer>
#include <algorithm>
#include <functional>

namespace tagwerk {

namespace {

// The text of the label whose buddy the control is, without its access key mark.
QString BuddyText(const QWidget& control) {
    if (const QWidget* parent = control.parentWidget()) {
        for (const QLabel* label : parent->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
            if (label->buddy() == &control)
                return QString(label->text()).remove('&');
        }
    }
    return {};
}

// Marks the interfaces made here rather than by Qt.
class Presented {
public:
    virtual ~Presented() = default;
};

// Qt names a drop-down list on Linux by the entry it shows, so that a screen
// reader hears "Rock" where the user sees "Musikrichtung:". This one is named
// by its label; the entry is its value and, read-only, its text, which is
// where screen readers read a drop-down list's entry. Its popup list stays
// its child.
class LabelledComboBox : public QAccessibleWidget,
                         public QAccessibleTextInterface,
                         public Presented {
public:
    explicit LabelledComboBox(QComboBox* box) : QAccessibleWidget(box, QAccessible::ComboBox) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(int start, int end) const override { return entry().mid(start, end - start); }
    int characterCount() const override { return int(entry().size()); }
    int cursorPosition() const override { return 0; }
    int selectionCount() const override { return 0; }
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    QString attributes(int offset, int* start, int* end) const override {
        *start = *end = offset;
        return {};
    }
    // The entry is chosen, not typed: nothing to move, select or scroll.
    void setCursorPosition(int) override {}
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    void scrollToSubstring(int, int) override {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name)
            return box()->accessibleName().isEmpty() ? BuddyText(*box()) : box()->accessibleName();
        if (kind == QAccessible::Value)
            return entry();
        return QAccessibleWidget::text(kind);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.expandable = true;
        state.expanded = box()->view()->isVisible();
        return state;
    }

    int childCount() const override { return 1; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 ? QAccessible::queryAccessibleInterface(box()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child && child->object() == box()->view() ? 0 : -1;
    }

    QStringList actionNames() const override {
        return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action == showMenuAction() || action == pressAction())
            box()->showPopup();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    QComboBox* box() const { return static_cast<QComboBox*>(widget()); }
    QString entry() const { return box()->currentText(); }
};

class ProgressBarAccessible : public QAccessibleWidget,
                              public QAccessibleValueInterface,
                              public Presented {
public:
    ProgressBarAccessible(QWidget* bar, int maximum, const QLabel& valueText)
        : QAccessibleWidget(bar, QAccessible::ProgressBar), maximum_(maximum),
          valueText_(&valueText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value && valueText_ && valueText_->isVisible())
            return valueText_->text().trimmed();
        return QAccessibleWidget::text(kind);
    }

    QVariant currentValue() const override { return value(); }
    void setCurrentValue(const QVariant&) override {} // the user cannot move it
    QVariant maximumValue() const override { return maximum_; }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }

    // Whether the value differs from the one last told; it is then the one told.
    bool takeNewValue() {
        const int now = value();
        const bool changed = now != told_;
        told_ = now;
        return changed;
    }

private:
    int value() const { return std::clamp(widget()->width(), 0, maximum_); }

    int maximum_;
    QPointer<const QLabel> valueText_;
    int told_ = -1;
};

class MessageAccessible : public QAccessibleWidget, public Presented {
public:
    MessageAccessible(QWidget* window, const QLabel& message, const QWidget& noButton)
        : QAccessibleWidget(window, QAccessible::AlertMessage), message_(&message),
          noButton_(&noButton) {}

    QAccessible::Role role() const override {
        return noButton_ && !noButton_->isHidden() ? QAccessible::Dialog
                                                   : QAccessible::AlertMessage;
    }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Description && message_)
            return message_->text();
        return QAccessibleWidget::text(kind);
    }

private:
    QPointer<const QLabel> message_;
    QPointer<const QWidget> noButton_;
};

using Maker = std::function<QAccessibleInterface*(QWidget*)>;

QHash<const QObject*, Maker>& Presentations() {
    static QHash<const QObject*, Maker> presentations;
    return presentations;
}

// Whether the widget is a window made straight from a QWidget, which Qt
// presents as a mere "client" area; its main windows, dialogs, menus and
// popups have presentations of their own.
bool IsPlainWindow(const QObject& object) {
    const auto* widget = qobject_cast<const QWidget*>(&object);
    if (!widget || !widget->isWindow())
        return false;
    const QMetaObject* type = object.metaObject();
    while (type->superClass() && !QByteArray(type->className()).startsWith('Q'))
        type = type->superClass();
    return type == &QWidget::staticMetaObject;
}

QAccessibleInterface* Factory(const QString&, QObject* object) {
    if (const auto found = Presentations().constFind(object); found != Presentations().cend())
        return (*found)(static_cast<QWidget*>(object));
    if (auto* box = qobject_cast<QComboBox*>(object); box && !box->isEditable())
        return new LabelledComboBox(box);
    if (IsPlainWindow(*object)) {
        auto* window = static_cast<QWidget*>(object);
        return new QAccessibleWidget(
            window, window->windowType() == Qt::Dialog ? QAccessible::Dialog : QAccessible::Window);
    }
    return nullptr;
}

// Qt asks the factory installed last first, and installs its own for the
// widgets when the application starts: this one goes in after it.
void InstallFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(&Factory);
        return true;
    }();
    (void)installed;
}

// An interface Qt made before the factory knew of the widget (a drop-down
// list tells of its entries as they are added, while a screen reader
// listens) is dropped, so that the next query makes ours.
void DropQtsInterface(QWidget& widget) {
    QAccessibleInterface* made = QAccessible::queryAccessibleInterface(&widget);
    if (made && !dynamic_cast<Presented*>(made))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

// A screen reader hears a new entry as the text that replaced the old one.
void TellEntryChanges(QComboBox& box) {
    QObject::connect(&box, &QComboBox::currentTextChanged, &box,
                     [&box, shown = box.currentText()](const QString& entry) mutable {
                         QAccessibleTextUpdateEvent event(&box, 0, shown, entry);
                         QAccessible::updateAccessibility(&event);
                         shown = entry;
                     });
}

void Present(QWidget& widget, Maker maker) {
    InstallFactory();
    Presentations().insert(&widget, std::move(maker));
    QObject::connect(&widget, &QObject::destroyed,
                     [key = &widget] { Presentations().remove(key); });
    DropQtsInterface(widget);
}

} // namespace

void NameByLabel(QLabel& label, QWidget& control) {
    InstallFactory();
    label.setBuddy(&control);
    if (qobject_cast<QAbstractItemView*>(&control))
        NameWithoutLabel(control, QString(label.text()).remove('&'));
    if (auto* box = qobject_cast<QComboBox*>(&control)) {
        DropQtsInterface(*box);
        TellEntryChanges(*box);
    }
}

void NameWithoutLabel(QWidget& control, const QString& name) {
    InstallFactory();
    control.setAccessibleName(name);
    if (qobject_cast<QAbstractItemView*>(&control))
        control.setAccessibleDescription(control.toolTip());
}

void PresentAsProgressBar(QWidget& bar, const QString& name, int maximum, const QLabel& valueText) {
    bar.setAccessibleName(name);
    Present(bar, [maximum, &valueText](QWidget* widget) {
        return new ProgressBarAccessible(widget, maximum, valueText);
    });
}

void AnnounceProgress(QWidget& bar) {
    if (!QAccessible::isActive())
        return;
    auto* shown = dynamic_cast<ProgressBarAccessible*>(QAccessible::queryAccessibleInterface(&bar));
    if (!shown || !shown->takeNewValue())
        return;
    QAccessibleValueChangeEvent event(&bar, shown->currentValue());
    QAccessible::updateAccessibility(&event);
}

void PresentAsMessage(QWidget& window, const QLabel& message, const QWidget& noButton) {
    Present(window, [&message, &noButton](QWidget* widget) {
        return new MessageAccessible(widget, message, noButton);
    });
}

void AnnounceMessage(QWidget& window) {
    const QAccessibleInterface* shown = QAccessible::queryAccessibleInterface(&window);
    if (!shown)
        return;
    QAccessibleEvent start(&window, shown->role() == QAccessible::Dialog ? QAccessible::DialogStart
                                                                         : QAccessible::Alert);
    QAccessible::updateAccessibility(&start);
    QAccessibleEvent text(&window, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&text);
}

} // namespace tagwerk
