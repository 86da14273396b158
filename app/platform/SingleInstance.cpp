#include "app/platform/SingleInstance.h"

#include <unistd.h>

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QTimer>
#include <cstdlib>

#include "app/platform/PrivateFolder.h"

namespace {
const QByteArray kGreeting = "korvane-open\n";
const QByteArray kTaken = "taken\n";
// A hand-over that does not finish by then is treated as refused; the sender opens its own window.
const int kTimeoutMs = 5000;
// No start hands over more than this; a larger message is not from us.
const int kMaxMessageBytes = 4 * 1024 * 1024;

// X11 names the same display ":0" and ":0.0"; a Wayland display may be a path.
QString DisplayName() {
    QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (display.isEmpty()) {
        display = qEnvironmentVariable("DISPLAY");
        const int colon = display.lastIndexOf(QLatin1Char(':'));
        const int dot = display.indexOf(QLatin1Char('.'), colon);
        if (colon >= 0 && dot > colon) display.truncate(dot);
    }
    if (display.isEmpty()) display = QStringLiteral("none");
    return display.replace(QLatin1Char('/'), QLatin1Char('_'));
}

QByteArray Encode(const QString& path) {
    return QFile::encodeName(path).toPercentEncoding("/") + '\n';
}
}  // namespace

SingleInstance::SingleInstance(QObject* parent) : QObject(parent) {
    // Another user must not be able to receive our files or stand in for the running program.
    const std::string folder =
        PrivateSocketFolder(std::getenv("XDG_RUNTIME_DIR"),
                            QFile::encodeName(QDir::tempPath()).toStdString(), getuid());
    if (folder.empty()) return;
    m_socketPath = QFile::decodeName(QByteArray::fromStdString(folder)) +
                   QStringLiteral("/korvane-%1-%2").arg(getuid()).arg(DisplayName());
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::SendToRunning(const QStringList& absolutePaths) {
    if (m_socketPath.isEmpty()) return false;
    QByteArray message = kGreeting;
    for (const QString& path : absolutePaths) {
        if (!path.isEmpty()) message += Encode(path);  // an empty line ends the list
    }
    message += '\n';

    QLocalSocket socket;
    QEventLoop loop;
    QByteArray answer;
    bool taken = false;
    connect(&socket, &QLocalSocket::connected, &loop, [&] { socket.write(message); });
    connect(&socket, &QLocalSocket::readyRead, &loop, [&] {
        answer += socket.read(kTaken.size() - answer.size());
        if (answer.size() < kTaken.size()) return;
        taken = answer == kTaken;
        loop.quit();
    });
    connect(&socket, &QLocalSocket::errorOccurred, &loop, &QEventLoop::quit);
    connect(&socket, &QLocalSocket::disconnected, &loop, &QEventLoop::quit);
    QTimer::singleShot(kTimeoutMs, &loop, &QEventLoop::quit);
    socket.connectToServer(m_socketPath);
    if (socket.state() != QLocalSocket::UnconnectedState) loop.exec();
    socket.abort();
    return taken;
}

bool SingleInstance::Listen() {
    if (m_server) return m_server->isListening();
    if (m_socketPath.isEmpty()) return false;
    // Qt binds the new socket beside the name and moves it over whatever is there, so a running
    // program is found by asking it; the lock keeps two starts from both finding nobody.
    QLockFile lock(m_socketPath + QStringLiteral(".lock"));
    if (!lock.tryLock(kTimeoutMs)) return false;
    QLocalSocket probe;
    probe.connectToServer(m_socketPath);
    if (probe.state() == QLocalSocket::ConnectedState || probe.waitForConnected(0)) return false;
    probe.abort();
    QLocalServer::removeServer(m_socketPath);  // left by a program that ended
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_socketPath)) return false;
    connect(m_server.get(), &QLocalServer::newConnection, this, &SingleInstance::Accept);
    return true;
}

void SingleInstance::Accept() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Read(socket); });
        Read(socket);
    }
}

void SingleInstance::Read(QLocalSocket* socket) {
    QByteArray buffer = socket->property("korvane.buffer").toByteArray() + socket->readAll();
    if (buffer.size() > kMaxMessageBytes || !kGreeting.startsWith(buffer.left(kGreeting.size()))) {
        socket->abort();
        return;
    }
    if (!buffer.endsWith("\n\n") || buffer.size() <= kGreeting.size()) {
        socket->setProperty("korvane.buffer", buffer);
        return;
    }
    socket->setProperty("korvane.buffer", QVariant());
    QStringList paths;
    const QList<QByteArray> lines = buffer.mid(kGreeting.size()).split('\n');
    for (const QByteArray& line : lines) {
        const QString path = QFile::decodeName(QByteArray::fromPercentEncoding(line));
        if (QDir::isAbsolutePath(path)) paths << path;
    }
    socket->write(kTaken);
    socket->flush();
    socket->disconnectFromServer();
    if (!paths.isEmpty()) emit filesReceived(paths);
}
