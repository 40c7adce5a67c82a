#pragma once

#include <QString>
#include <QStringList>

namespace sonvex {

// What one start of the program asks for, read from its arguments (program name first, the
// window system's own options already removed).
struct LaunchRequest
{
    bool startInTray = false; // first argument exactly "runInTray"
    QString command;          // a command for the running instance only, e.g. "comms-disable"
    bool showUsage = false;   // --help
    QString error;            // an option this program does not know

    static LaunchRequest parse(const QStringList& arguments);
    static QString usage();
};

} // namespace sonvex
