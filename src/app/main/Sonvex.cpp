// The program entry: one instance per user, then the main window and the data module.

#include "app/AppIdentifiers.h"
#include "app/DataFilesAdapter.h"
#include "app/DataViewBinding.h"
#include "app/FolderSetup.h"
#include "app/LaunchRequest.h"
#include "app/Localizer.h"
#include "app/SingleInstance.h"
#include "app/SonvexMain.h"
#include "data/SettingsStore.h"
#include "data/SonvexDataModule.h"
#include "data/SonvexVersion.h"

#include <QApplication>
#include <QDir>
#include <QLocale>
#include <QSessionManager>
#include <QSystemTrayIcon>
#include <QThread>

#include <cstdio>
#include <memory>

#ifdef Q_OS_UNIX
#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#endif

using namespace sonvex;

namespace {

#ifdef Q_OS_UNIX
// Termination signals (the end of a session without a session manager, a system shut-down)
// end the program the same way "Sh&ut down Sonvex" does.
int g_signalPipe[2] = {-1, -1};

void onTerminationSignal(int)
{
    const char c = 1;
    [[maybe_unused]] const auto n = ::write(g_signalPipe[1], &c, 1);
}

void watchTerminationSignals(QObject* context, const std::function<void()>& handler)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, context);
    QObject::connect(notifier, &QSocketNotifier::activated, context, [handler] {
        char c;
        [[maybe_unused]] const auto n = ::read(g_signalPipe[0], &c, 1);
        handler();
    });
    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGHUP, SIGINT})
        ::sigaction(sig, &action, nullptr);
}
#endif

// What a start does before any window exists. Returns an exit code when this process ends here.
std::optional<int> startOrSignal(int argc, char** argv, SingleInstance& instance)
{
    QCoreApplication probe(argc, argv);
    const LaunchRequest request = LaunchRequest::parse(probe.arguments());
    if (request.showUsage) {
        std::fputs(qPrintable(LaunchRequest::usage()), stdout);
        return 0;
    }
    if (!request.error.isEmpty()) {
        std::fprintf(stderr, "%s\n%s", qPrintable(request.error), qPrintable(LaunchRequest::usage()));
        return 2;
    }
    // The previous major version is asked to end; nobody waits for it.
    SingleInstance::sendCommand(QString::fromLatin1(kCommandQuit), 100,
                                QString::fromLatin1(kPreviousMainWindowClass));

    if (!request.command.isEmpty()) {
        if (SingleInstance::sendCommand(request.command, 3000, QString::fromLatin1(kMainWindowClass)))
            return 0;
        std::fprintf(stderr, "%s\n",
                     qPrintable(QCoreApplication::translate("Sonvex", "Sonvex is not running.")));
        return 1;
    }
    if (instance.acquireLock())
        return std::nullopt;
    // Another instance runs: show its window and end without one. It may still be starting.
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (SingleInstance::sendCommand(QString::fromLatin1(kCommandShow), 1000,
                                        QString::fromLatin1(kMainWindowClass)))
            return 0;
        QThread::msleep(100);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    SingleInstance instance;
    if (const std::optional<int> code = startOrSignal(argc, argv, instance))
        return *code;

    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QString::fromLatin1(kOrganisationName));
    QCoreApplication::setApplicationName(QString::fromLatin1(kApplicationName));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(kVersion));
    QGuiApplication::setApplicationDisplayName(QString::fromLatin1(kApplicationTitle));
    QGuiApplication::setDesktopFileName(QStringLiteral("meridan-sonvex"));
    // Hidden to the tray is still running.
    QApplication::setQuitOnLastWindowClosed(false);
    if (!instance.startServer())
        std::fprintf(stderr, "sonvex: other programs cannot reach this instance: %s\n",
                     qPrintable(instance.serverError()));

    SettingsStore store;
    const QString programData = FolderSetup::programDataFolder(QCoreApplication::applicationDirPath());
    Localizer localizer(&store, QDir(programData).filePath(QStringLiteral("translations")));
    localizer.restoreStoredLanguage();
    // The settings window does this when it is created; until it joins, the program does.
    if (store.useSystemLanguage())
        localizer.selectSystemLanguage(QLocale::system().name());

    MainWindowOptions options;
    options.store = &store;
    options.arguments = QCoreApplication::arguments();
    options.programFolder = QCoreApplication::applicationDirPath();
    options.programFile = QCoreApplication::applicationFilePath();
    options.programDataFolder = programData;
    options.myDocuments = FolderSetup::myDocumentsPath();
    options.trayAvailable = QSystemTrayIcon::isSystemTrayAvailable();
    options.localizer = &localizer;

    // Creation order: the main window first (it uses nothing created after it), then the data module.
    TformSonvex3Main mainWindow(options);
    Tdm dm;
    dm.LoadTableSettings(store);
    mainWindow.setDataModule(&dm);
    DataFilesAdapter dataFiles(dm, &mainWindow);
    mainWindow.setDataFiles(&dataFiles);
    // The measurement view in the "   View Data   " page and its popup window.
    DataViewBinding dataView(&mainWindow, &dm, &dataFiles.controller(), &store);

    instance.setHandler([&mainWindow](const QString& command) { return mainWindow.HandleCommand(command); });
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &mainWindow,
                     [&mainWindow](QSessionManager&) { mainWindow.ShutDown(); });
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &mainWindow,
                     [&mainWindow] { mainWindow.FormClose(); });
#ifdef Q_OS_UNIX
    watchTerminationSignals(&mainWindow, [&mainWindow] { mainWindow.ShutDown(); });
#endif

    const int code = QApplication::exec();

    // The data module ends before the main window.
    dm.SaveTableSettings(store);
    QString error;
    if (!dm.saveWorkingTable(mainWindow.documentsFolder, &error))
        std::fprintf(stderr, "sonvex: %s\n", qPrintable(error));
    store.sync();
    return code;
}
