#pragma once
// One running window per user and display. The first start listens on a
// local socket in the user's runtime folder (or, without a usable one, in a
// private folder of the user's); a later start hands its arguments to it
// and ends.
#include <QByteArrayList>
#include <QLocalServer>
#include <QObject>

namespace tagwerk {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QObject* parent = nullptr);

    // How long a later start waits for a busy program to take its arguments.
    static constexpr int kWaitMs = 30000;

    // The socket of this user's program on this display.
    static QString socketPath();

    enum class HandOver {
        delivered, // the running program has the arguments
        noProgram, // none runs: this start opens the window
        noAnswer,  // one runs but did not take them within the wait
    };
    // Gives the arguments (absolute paths as the file system spells them) to
    // a running program.
    static HandOver handOver(const QByteArrayList& arguments, int waitMs = kWaitMs);
    // Listens for later starts. A socket left by a program that crashed is
    // taken over; one that still takes connections is never removed, and
    // then this is false. Any other failure leaves this program running
    // without being reachable.
    bool listen();

signals:
    void argumentsReceived(const QByteArrayList& arguments);

private:
    void receive(QLocalSocket* socket);

    QLocalServer server_;
};

} // namespace tagwerk
