#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>

class QLocalServer;
class QLocalSocket;

// One running program per user and display: a later start hands its files to the running one
// over a local socket in the user's private runtime folder (PrivateSocketFolder). Without such a
// folder there is no socket: every start runs on its own.
//
// Protocol, one connection per hand-over: the line "korvane-open", then one line per absolute
// path (its bytes percent-encoded, so names holding a newline survive), then an empty line. The
// running program answers "taken" once it has signalled the files.
//
// Both calls need the application object; SendToRunning runs a local event loop while it waits,
// so a receiver on the same thread is served too.
class SingleInstance : public QObject {
    Q_OBJECT
  public:
    explicit SingleInstance(QObject* parent);
    ~SingleInstance() override;

    // True when a running program on the same display took the files.
    bool SendToRunning(const QStringList& absolutePaths);
    // Starts answering later starts; a socket left behind by a program that ended is replaced.
    // False when another program listens already or the socket cannot be made.
    bool Listen();

    // Where the socket lives: the runtime folder, named after the user and the display. Empty
    // without a private folder.
    QString SocketPath() const { return m_socketPath; }

  signals:
    void filesReceived(const QStringList& paths);

  private:
    void Accept();
    void Read(QLocalSocket* socket);

    QString m_socketPath;
    std::unique_ptr<QLocalServer> m_server;
};
