#include "app/SingleInstance.h"

#include "app/AppIdentifiers.h"

#include <QDir>
#include <QLocalSocket>
#include <QRegularExpression>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace sonvex {

namespace {

QString userSuffix()
{
#ifdef Q_OS_UNIX
    return QString::number(::getuid());
#else
    QString user = qEnvironmentVariable("USERNAME");
    user.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_.-]")), QStringLiteral("_"));
    return user;
#endif
}

QString scopeDir(const QString& scope)
{
    return scope.isEmpty() ? QDir::tempPath() : scope;
}

} // namespace

QString SingleInstance::endpointName(const QString& identifier, const QString& scope)
{
    const QString name = identifier + u'-' + userSuffix();
#ifdef Q_OS_WIN
    Q_UNUSED(scope)
    return name; // a named pipe of the user's session
#else
    return scopeDir(scope) + u'/' + name;
#endif
}

QString SingleInstance::lockFilePath(const QString& scope)
{
    return scopeDir(scope) + u'/' + QLatin1String(kInstanceMutexName) + u'-' + userSuffix() +
           QStringLiteral(".lock");
}

SingleInstance::SingleInstance(const QString& scope, QObject* parent)
    : QObject(parent), m_scope(scope), m_lock(lockFilePath(scope))
{
    // The lock is only stale when its owner is gone, never because it is old.
    m_lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance()
{
    if (m_server)
        m_server->close();
    if (m_primary)
        m_lock.unlock();
}

bool SingleInstance::acquireLock()
{
    if (!m_primary)
        m_primary = m_lock.tryLock(0);
    return m_primary;
}

bool SingleInstance::startServer()
{
    if (!m_primary)
        return false;
    if (m_server)
        return m_server->isListening();
    const QString name = endpointName(QString::fromLatin1(kMainWindowClass), m_scope);
    // We hold the lock, so any socket by that name was left by a process that ended abnormally.
    QLocalServer::removeServer(name);
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server.get(), &QLocalServer::newConnection, this, &SingleInstance::onNewConnection);
    if (!m_server->listen(name)) {
        m_serverError = m_server->errorString();
        return false;
    }
    return true;
}

void SingleInstance::onNewConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            while (socket->canReadLine()) {
                const QString command = QString::fromUtf8(socket->readLine()).trimmed();
                const bool understood = m_handler && m_handler(command);
                socket->write(understood ? "1\n" : "0\n");
                socket->flush();
            }
            // A client that never ends its line cannot make us hold its data for ever.
            if (socket->bytesAvailable() > 4096)
                socket->abort();
        });
    }
}

bool SingleInstance::sendCommand(const QString& command, int timeoutMs, const QString& identifier,
                                 const QString& scope)
{
    QLocalSocket socket;
    socket.connectToServer(endpointName(identifier, scope));
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(command.toUtf8() + '\n');
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    QByteArray reply;
    while (!reply.contains('\n')) {
        if (!socket.waitForReadyRead(timeoutMs))
            return false;
        reply += socket.readAll();
    }
    socket.disconnectFromServer();
    return reply.startsWith("1");
}

} // namespace sonvex
