#pragma once

#include <QString>

namespace sonvex {

// The program-wide status texts; reloaded after every change of language.
struct StatusTexts
{
    QString StatusDisabled;
    QString StatusWaiting;
    QString StatusSavedAs;
    QString StatusNotSaved;
    QString StatusDataFromFile;
    QString StatusWaitingForConnection;
    QString StatusConnected;
    QString StatusConnectedUsb;
    QString StatusDownloading;

    // The texts in the language now installed.
    static StatusTexts load();
};

// Localizable texts shared by several windows.
namespace SonvexStrings {
QString openFilter();    // "description|patterns|..." of the open dialog
QString saveFilter();    // of "Save Selected Measurements As..."
QString nextCaption();   // the wizard's Next button
QString finishCaption(); // the same button on the last step
QString notAvailableYet();
} // namespace SonvexStrings

// The window caption for a connection state (0 none, 3 USB Reader connected). Other states keep
// the caption the connection handlers set, given as `current`.
QString titleFor(int connectionState, const StatusTexts& texts, const QString& current);

} // namespace sonvex
