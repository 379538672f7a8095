#include "ui/desktop/FileIntake.h"

#include "collect/Mp3Files.h"
#include "ui/main/FileListBox.h"
#include "ui/main/Form1.h"
#include "ui/main/ProgressDisplay.h"
#include "ui/main/TextConversion.h"
#include "ui/main/frmMessage.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <filesystem>
#include <functional>

namespace tagwerk {

namespace {

constexpr int kNamedInNotice = 3;

// Adding a long list takes a moment: the pointer says so meanwhile.
class BusyPointer {
public:
    BusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { QApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

QString UnreadableNotice(const QStringList& unreadable) {
    QStringList named;
    for (const QString& path : unreadable.mid(0, kNamedInNotice))
        named << "„" + ShownPath(path) + "“";
    QString text = "Folgende Pfade gibt es nicht, oder sie können nicht gelesen werden (" +
                   SignPlaceText(unreadable.size()).trimmed() + "): " + named.join(", ");
    if (unreadable.size() > kNamedInNotice)
        text += " und" + SignPlaceText(unreadable.size() - kNamedInNotice) + " weitere";
    return text + ". Alle anderen Dateien wurden hinzugefügt.";
}

// A minimised window comes back; where the window manager keeps the focus
// elsewhere, the window asks for attention instead.
void BringForward(QWidget& window) {
    window.setWindowState((window.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window.raise();
    window.activateWindow();
    QApplication::alert(&window);
}

// Holds what came while the main window was busy, until it is free again.
class Intake : public QObject {
public:
    static Intake& instance() {
        static Intake* intake = new Intake(qApp);
        return *intake;
    }

    void take(const QByteArrayList& paths) {
        pending_ += paths;
        ++handOvers_;
        watchMainWindow();
        takeWhenFree();
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::EnabledChange || event->type() == QEvent::Show)
            QMetaObject::invokeMethod(this, &Intake::takeWhenFree, Qt::QueuedConnection);
        return false;
    }

private:
    using QObject::QObject;

    void watchMainWindow() {
        Form1& main = Form1::instance();
        if (watched_ != &main) {
            watched_ = &main;
            main.installEventFilter(this);
        }
    }

    void takeWhenFree() {
        Form1& main = Form1::instance();
        if (handOvers_ == 0 || !main.isVisible() || !main.isEnabled())
            return;
        const QByteArrayList paths = std::exchange(pending_, {});
        handOvers_ = 0;
        QStringList unreadable;
        QString first;
        {
            const BusyPointer busy;
            for (const QString& file : FilesOf(paths, &unreadable)) {
                main.List1->AddIfAbsent(file);
                if (first.isEmpty())
                    first = file;
            }
            if (!paths.isEmpty())
                main.refreshCount();
        }
        BringForward(main);
        if (!first.isEmpty()) {
            // Also one listed before: the user sees which file came.
            main.List1->setCurrentRow(main.List1->rowOf(first));
            main.List1_DblClick();
        }
        if (!unreadable.isEmpty())
            ShowNotice(UnreadableNotice(unreadable));
    }

    QByteArrayList pending_;
    int handOvers_ = 0; // a start without paths still brings the window forward
    QPointer<Form1> watched_;
};

// Files and folders dropped on a widget go to `take`.
class DropFilter : public QObject {
public:
    DropFilter(QObject* parent, std::function<void(const QByteArrayList&)> take)
        : QObject(parent), take_(std::move(take)) {}

protected:
    // Anything but local files (text, web links) goes on as it would
    // without this filter: a text field takes text, the window nothing.
    bool eventFilter(QObject*, QEvent* event) override {
        const bool drag = event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove;
        if (!drag && event->type() != QEvent::Drop)
            return false;
        auto* dropEvent = static_cast<QDropEvent*>(event);
        const QByteArrayList paths = DroppedPaths(*dropEvent->mimeData());
        if (paths.isEmpty())
            return false;
        dropEvent->acceptProposedAction();
        if (!drag)
            take_(paths);
        return true;
    }

private:
    std::function<void(const QByteArrayList&)> take_;
};

} // namespace

namespace {

// "." goes and ".." goes up from where the part before it leads, as the
// file system takes them: after a symbolic link to a folder elsewhere, up
// from that folder. Every other part stays as typed.
std::filesystem::path Resolved(const std::filesystem::path& absolute) {
    std::filesystem::path resolved;
    for (const std::filesystem::path& part : absolute) {
        if (part.empty() || part == ".")
            continue;
        if (part != "..") {
            resolved /= part;
            continue;
        }
        std::error_code error;
        if (std::filesystem::is_symlink(resolved, error))
            if (std::filesystem::path target = std::filesystem::canonical(resolved, error); !error)
                resolved = std::move(target);
        resolved = resolved.parent_path();
    }
    return resolved;
}

} // namespace

QByteArrayList AbsolutePaths(const QByteArrayList& paths) {
    QByteArrayList absolute;
    std::error_code unknown;
    const std::filesystem::path here = std::filesystem::current_path(unknown);
    for (const QByteArray& typed : paths) {
        const std::filesystem::path path(typed.toStdString());
        absolute << QByteArray::fromStdString(
            Resolved(path.is_relative() ? here / path : path).string());
    }
    return absolute;
}

QStringList FilesOf(const QByteArrayList& paths, QStringList* unreadable) {
    std::vector<std::string> arguments;
    arguments.reserve(paths.size());
    for (const QByteArray& path : paths)
        arguments.push_back(path.toStdString());
    const CollectedFiles collected = FilesOfArguments(arguments);
    QStringList files;
    files.reserve(qsizetype(collected.files.size()));
    for (const std::string& file : collected.files)
        files << PathFromNative(file);
    for (const UnreadablePath& path : collected.unreadable)
        *unreadable << PathFromNative(path.path);
    return files;
}

void TakeInFiles(const QByteArrayList& paths) {
    Intake::instance().take(paths);
}

// A file URL spells the path's bytes percent-encoded, also those that are
// no UTF-8; toLocalFile() would lose them.
QByteArrayList DroppedPaths(const QMimeData& data) {
    QByteArrayList paths;
    for (const QUrl& url : data.urls())
        if (url.isLocalFile())
            paths << QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    return paths;
}

// The text fields take drops of their own; files dropped on them are files all the same.
void AcceptDropsOnMainWindow(QWidget& window) {
    window.setAcceptDrops(true);
    auto* files = new DropFilter(&window, TakeInFiles);
    window.installEventFilter(files);
    for (QWidget* control : window.findChildren<QWidget*>())
        if (control->acceptDrops())
            control->installEventFilter(files);
}

void AcceptDropsOnList(FileListBox& list, const std::function<void()>& countChanged) {
    list.setAcceptDrops(true);
    list.viewport()->installEventFilter(
        new DropFilter(&list, [&list, countChanged](const QByteArrayList& paths) {
            QStringList unreadable;
            {
                const BusyPointer busy;
                for (const QString& file : FilesOf(paths, &unreadable))
                    list.AddIfAbsent(file);
                countChanged();
            }
            if (!unreadable.isEmpty())
                ShowNotice(UnreadableNotice(unreadable));
        }));
}

} // namespace tagwerk
