// The real program in two processes: one instance per user, a second start shows the running
// window and ends, a crashed instance never blocks the next start, commands reach the running one.

#include "app/AppIdentifiers.h"
#include "app/SingleInstance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

using namespace sonvex;

class TstSingleInstance : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString program() const
    {
#ifdef SONVEX_GUI_EXECUTABLE
        return QStringLiteral(SONVEX_GUI_EXECUTABLE);
#else
        return {};
#endif
    }
    QString scope() const
    {
        return m_dir->path() + "/tmp";
    }
    QString settingsFile() const
    {
        return m_dir->path() + "/config/Meridan Instruments Ltd/Sonvex.conf";
    }

    // A private user: own home, settings, documents, runtime and temporary folders.
    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        const QString root = m_dir->path();
        env.insert("HOME", root + "/home");
        env.insert("XDG_CONFIG_HOME", root + "/config");
        env.insert("XDG_DATA_HOME", root + "/data");
        env.insert("XDG_CACHE_HOME", root + "/cache");
        env.insert("XDG_RUNTIME_DIR", root + "/runtime");
        env.insert("TMPDIR", scope());
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.remove("LANGUAGE");
        env.insert("LC_ALL", "C");
        return env;
    }

    std::unique_ptr<QProcess> start(const QStringList& arguments)
    {
        auto p = std::make_unique<QProcess>();
        p->setProcessEnvironment(environment());
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p->start(program(), arguments);
        if (!p->waitForStarted(5000))
            return nullptr;
        return p;
    }

    // Runs a start that is expected to end by itself; returns its exit code (-1 when it did not).
    int runToEnd(const QStringList& arguments, int timeoutMs = 15000)
    {
        auto p = start(arguments);
        if (!p || !p->waitForFinished(timeoutMs)) {
            if (p)
                p->kill();
            return -1;
        }
        return p->exitStatus() == QProcess::NormalExit ? p->exitCode() : -1;
    }

    // The running instance answers on its socket ("comms-enable" leaves its state as it starts).
    bool reachable(int timeoutMs = 10000) const
    {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < timeoutMs) {
            if (SingleInstance::sendCommand(kCommandCommsEnable, 300, kMainWindowClass, scope()))
                return true;
            QTest::qWait(50);
        }
        return false;
    }

    bool endGracefully(QProcess& p)
    {
        p.terminate(); // SIGTERM: the program shuts down as "Shut down Sonvex" does
        return p.waitForFinished(15000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    }

    QVariant stored(const QString& key) const
    {
        return QSettings(settingsFile(), QSettings::IniFormat).value(key);
    }

private slots:
    void init()
    {
        if (program().isEmpty())
            QSKIP("the desktop program is not built");
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        for (const char* sub : {"home", "config", "data", "cache", "runtime", "tmp"})
            QVERIFY(QDir().mkpath(m_dir->path() + '/' + sub));
        QFile::setPermissions(m_dir->path() + "/runtime",
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

    void secondStartShowsTheRunningWindowAndEnds()
    {
        auto first = start({"runInTray"});
        QVERIFY(first);
        QVERIFY(reachable());
        QCOMPARE(runToEnd({}), 0);
        QCOMPARE(first->state(), QProcess::Running);
        // A second start also when it asks for the tray: it never opens a window of its own.
        QCOMPARE(runToEnd({"runInTray"}), 0);
        QCOMPARE(first->state(), QProcess::Running);
        QVERIFY(endGracefully(*first));
        // The window was hidden at start and shown by the second start.
        QCOMPARE(stored("v3.0/visible").toInt(), 1);
        QCOMPARE(stored("v3.0/shellAssocMade").toInt(), 1);
    }

    void runInTrayStartsHidden_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("visible");
        QTest::newRow("runInTray") << QStringList{"runInTray"} << 0;
        QTest::newRow("no argument") << QStringList{} << 1;
    }
    void runInTrayStartsHidden()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, visible);
        auto p = start(arguments);
        QVERIFY(p);
        QVERIFY(reachable());
        QVERIFY(endGracefully(*p));
        QCOMPARE(stored("v3.0/visible").toInt(), visible);
        // The folders of a first start exist.
        QVERIFY(QFileInfo(m_dir->path() + "/home/Documents/Meridan Sonvex/data files").isDir());
        QVERIFY(stored("executable").toString().endsWith("sonvex"));
    }

    void crashedInstanceNeverBlocksTheNextStart()
    {
        auto first = start({"runInTray"});
        QVERIFY(first);
        QVERIFY(reachable());
        first->kill(); // no shut-down: lock file and socket stay behind
        QVERIFY(first->waitForFinished(5000));
        QVERIFY(QFile::exists(SingleInstance::lockFilePath(scope())));
        QVERIFY(QFile::exists(SingleInstance::endpointName(kMainWindowClass, scope())));
        QVERIFY(!SingleInstance::sendCommand(kCommandCommsEnable, 300, kMainWindowClass, scope()));

        auto next = start({"runInTray"});
        QVERIFY(next);
        QVERIFY(reachable());
        QCOMPARE(next->state(), QProcess::Running);
        // And it is the single instance again.
        QCOMPARE(runToEnd({}), 0);
        QCOMPARE(next->state(), QProcess::Running);
        QVERIFY(endGracefully(*next));
        QVERIFY(!QFile::exists(SingleInstance::endpointName(kMainWindowClass, scope())));
    }

    void commandsReachTheRunningInstance()
    {
        // Nobody to tell: the command fails and no instance is started.
        QCOMPARE(runToEnd({"--comms-disable"}), 1);
        QVERIFY(!SingleInstance::sendCommand(kCommandCommsEnable, 300, kMainWindowClass, scope()));
        auto p = start({"runInTray"});
        QVERIFY(p);
        QVERIFY(reachable());
        QCOMPARE(runToEnd({"--comms-disable"}), 0);
        QCOMPARE(runToEnd({"--comms-enable"}), 0);
        QVERIFY(!SingleInstance::sendCommand("no-such-command", 1000, kMainWindowClass, scope()));
        QVERIFY(endGracefully(*p));
        QCOMPARE(stored("v3.0/visible").toInt(), 0); // the commands never showed the window
    }

    void unknownOptionEndsWithUsage()
    {
        QCOMPARE(runToEnd({"--frobnicate"}), 2);
        QCOMPARE(runToEnd({"--help"}), 0);
    }
};

QTEST_GUILESS_MAIN(TstSingleInstance)
#include "tst_singleinstance.moc"
