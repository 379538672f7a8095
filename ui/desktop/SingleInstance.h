#pragma once
// One running window per user and display. The first start listens on a
// local socket in the user's runtime folder; a later start hands its
// arguments to it and ends.
#include <QByteArrayList>
#include <QLocalServer>
#include <QObject>

namespace tagwerk {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QObject* parent = nullptr);

    // The socket of this user's program on this display.
    static QString socketPath();
    // Gives the arguments (absolute paths as the file system spells them) to
    // a running program; false when none runs.
    static bool handOver(const QByteArrayList& arguments);
    // Listens for later starts. A socket left by a program that crashed is
    // taken over.
    bool listen();

signals:
    void argumentsReceived(const QByteArrayList& arguments);

private:
    void receive(QLocalSocket* socket);

    QLocalServer server_;
};

} // namespace tagwerk
