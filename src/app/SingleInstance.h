#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>

#include <functional>
#include <memory>

namespace sonvex {

// One running instance per user. The lock file stands for the named mutex (a lock left by a
// crashed process is recognised as stale and taken over); the local server, named after the main
// window class, is how a second start or another program reaches the running window.
//
// Protocol: the client sends one command per line (UTF-8); the server answers each with "1\n"
// once the command was handled, or "0\n" for a command it does not know.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    // `scope` is the directory of the lock file and socket (the temporary folder when empty).
    explicit SingleInstance(const QString& scope = {}, QObject* parent = nullptr);
    ~SingleInstance() override;

    // Takes the instance lock (needs no application object). True when this process is now the
    // only instance.
    bool acquireLock();
    // Opens the server other starts reach (after the application object exists).
    bool startServer();
    // Both of the above; true when this process is the only instance (reachable or not).
    bool becomePrimary()
    {
        if (!acquireLock())
            return false;
        startServer();
        return true;
    }
    bool isPrimary() const { return m_primary; }
    // False when the server could not listen (the instance still runs, unreachable).
    bool isListening() const { return m_server && m_server->isListening(); }
    QString serverError() const { return m_serverError; }

    // Sends one command to the process serving `identifier`; true when it answered "1" within timeoutMs.
    static bool sendCommand(const QString& command, int timeoutMs, const QString& identifier,
                            const QString& scope = {});
    // A per-user name for `identifier` (a socket name, or a path inside `scope`).
    static QString endpointName(const QString& identifier, const QString& scope = {});
    static QString lockFilePath(const QString& scope = {});

    // Decides whether a command was understood; set by the owner before commands arrive.
    using Handler = std::function<bool(const QString& command)>;
    void setHandler(Handler handler) { m_handler = std::move(handler); }

private:
    void onNewConnection();

    QString m_scope;
    QLockFile m_lock;
    std::unique_ptr<QLocalServer> m_server;
    Handler m_handler;
    bool m_primary = false;
    QString m_serverError;
};

} // namespace sonvex
