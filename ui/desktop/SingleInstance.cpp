#include "ui/desktop/SingleInstance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>

namespace tagwerk {

namespace {

constexpr int kProbeMs = 1000;

// The display a window shows on: Wayland's or X's.
QString DisplayName() {
    QString display = qEnvironmentVariable("WAYLAND_DISPLAY", qEnvironmentVariable("DISPLAY"));
    return display.replace('/', '_');
}

// Without a runtime folder of the user's own (none set, and the usual
// fallback taken by another user) the socket goes to a folder only the
// user can enter.
QString SocketFolder() {
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty())
        return runtime;
    const QString own =
        QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + "/tagwerk";
    QDir().mkpath(own);
    QFile::setPermissions(own, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return own;
}

} // namespace

SingleInstance::SingleInstance(QObject* parent) : QObject(parent) {
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection())
            receive(socket);
    });
}

QString SingleInstance::socketPath() {
    return SocketFolder() + "/tagwerk-" + DisplayName() + ".socket";
}

// Paths cannot hold a NUL byte, so each argument ends in one, and one more
// (an empty argument, which a path never is) ends the list. A program busy
// with a long list takes a connection only when it is free again, and a
// long list fills the socket until it reads: both count as no answer only
// once the whole wait is over.
SingleInstance::HandOver SingleInstance::handOver(const QByteArrayList& arguments, int waitMs) {
    const QDeadlineTimer deadline(waitMs);
    QLocalSocket socket;
    socket.connectToServer(socketPath());
    if (!socket.waitForConnected(int(deadline.remainingTime())))
        return socket.error() == QLocalSocket::SocketTimeoutError ? HandOver::noAnswer
                                                                  : HandOver::noProgram;
    for (const QByteArray& argument : arguments)
        socket.write(argument + '\0');
    socket.write(QByteArray(1, '\0'));
    socket.disconnectFromServer();
    const bool delivered = socket.state() == QLocalSocket::UnconnectedState ||
                           socket.waitForDisconnected(int(deadline.remainingTime()));
    return delivered ? HandOver::delivered : HandOver::noAnswer;
}

// Listening puts a new socket in the place of whatever is there, so the
// socket there is asked first: only one that refuses connections is a dead
// program's; a live one stays, however busy.
bool SingleInstance::listen() {
    const QString path = socketPath();
    QLocalSocket probe;
    probe.connectToServer(path);
    if (probe.waitForConnected(kProbeMs) || probe.error() == QLocalSocket::SocketTimeoutError)
        return false;
    if (probe.error() == QLocalSocket::ConnectionRefusedError)
        QLocalServer::removeServer(path);
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    server_.listen(path);
    return true;
}

// The other program writes everything and closes; only then is the whole
// list there. The socket keeps all it has received until then. A list cut
// short (the other program gave up waiting, and told its user so) is
// dropped: its last path might name another file.
void SingleInstance::receive(QLocalSocket* socket) {
    socket->setParent(this);
    connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
        QByteArray list = socket->readAll();
        socket->deleteLater();
        const bool complete = list == QByteArray(1, '\0') || list.endsWith(QByteArray(2, '\0'));
        if (!complete)
            return;
        list.chop(1);
        QByteArrayList arguments = list.split('\0');
        arguments.removeLast(); // after the last NUL
        emit argumentsReceived(arguments);
    });
}

} // namespace tagwerk
