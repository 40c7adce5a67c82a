#include "app/LaunchRequest.h"

#include "app/AppIdentifiers.h"

#include <QCoreApplication>

namespace sonvex {

LaunchRequest LaunchRequest::parse(const QStringList& arguments)
{
    LaunchRequest request;
    // Case-sensitive and only as the first argument, as the desktop start entry writes it.
    request.startInTray = arguments.size() > 1 && arguments.at(1) == QLatin1String(kTrayArgument);
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments.at(i);
        if (a == QLatin1String("--comms-disable")) {
            request.command = QString::fromLatin1(kCommandCommsDisable);
        } else if (a == QLatin1String("--comms-enable")) {
            request.command = QString::fromLatin1(kCommandCommsEnable);
        } else if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            request.showUsage = true;
        } else if (a.startsWith(QLatin1String("--"))) {
            request.error = QCoreApplication::translate("LaunchRequest", "Unknown option: %1").arg(a);
        }
        // Any other argument only means "show the window" (a file name, or nothing we know).
    }
    return request;
}

QString LaunchRequest::usage()
{
    return QCoreApplication::translate(
        "LaunchRequest", "Usage: sonvex [runInTray] [--comms-disable | --comms-enable]\n"
                         "  runInTray        start with the window hidden in the notification area\n"
                         "  --comms-disable  tell the running Sonvex not to restart scanning after a "
                         "dropped connection\n"
                         "  --comms-enable   tell the running Sonvex to restart scanning again\n");
}

} // namespace sonvex
