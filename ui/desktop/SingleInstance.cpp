#include "ui/desktop/SingleInstance.h"

#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>

namespace tagwerk {

namespace {

constexpr int kWaitMs = 3000;

// The display a window shows on: Wayland's or X's.
QString DisplayName() {
    QString display = qEnvironmentVariable("WAYLAND_DISPLAY", qEnvironmentVariable("DISPLAY"));
    return display.replace('/', '_');
}

} // namespace

SingleInstance::SingleInstance(QObject* parent) : QObject(parent) {
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection())
            receive(socket);
    });
}

QString SingleInstance::socketPath() {
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + "/tagwerk-" +
           DisplayName() + ".socket";
}

// Paths cannot hold a NUL byte, so each argument ends in one.
bool SingleInstance::handOver(const QByteArrayList& arguments) {
    QLocalSocket socket;
    socket.connectToServer(socketPath());
    if (!socket.waitForConnected(kWaitMs))
        return false;
    for (const QByteArray& argument : arguments)
        socket.write(argument + '\0');
    socket.disconnectFromServer();
    return socket.state() == QLocalSocket::UnconnectedState || socket.waitForDisconnected(kWaitMs);
}

bool SingleInstance::listen() {
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    if (server_.listen(socketPath()))
        return true;
    // Nobody answered there a moment ago: what is left is a dead program's.
    QLocalServer::removeServer(socketPath());
    return server_.listen(socketPath());
}

// The other program writes everything and closes; only then is the whole
// list there. The socket keeps all it has received until then.
void SingleInstance::receive(QLocalSocket* socket) {
    socket->setParent(this);
    connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
        QByteArrayList arguments = socket->readAll().split('\0');
        arguments.removeLast(); // after the last NUL
        socket->deleteLater();
        emit argumentsReceived(arguments);
    });
}

} // namespace tagwerk
