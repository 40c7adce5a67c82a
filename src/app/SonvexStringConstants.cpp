#include "app/SonvexStringConstants.h"

#include <QCoreApplication>

namespace sonvex {

StatusTexts StatusTexts::load()
{
    StatusTexts t;
    t.StatusDisabled = QCoreApplication::translate("SonvexStringConstants", "Sonvex disabled");
    t.StatusWaiting =
        QCoreApplication::translate("SonvexStringConstants", "Sonvex waiting for connection...");
    t.StatusSavedAs = QCoreApplication::translate("SonvexStringConstants", "This data has been saved as:");
    t.StatusNotSaved = QCoreApplication::translate("SonvexStringConstants", "This data has not been saved");
    t.StatusDataFromFile = QCoreApplication::translate("SonvexStringConstants", "Data from file: ");
    t.StatusWaitingForConnection =
        QCoreApplication::translate("SonvexStringConstants", "Waiting for Connection");
    t.StatusConnected = QCoreApplication::translate("SonvexStringConstants", "Connected");
    t.StatusConnectedUsb =
        QCoreApplication::translate("SonvexStringConstants", "Connected to Reader via USB");
    t.StatusDownloading = QCoreApplication::translate("SonvexStringConstants", "Downloading");
    return t;
}

namespace SonvexStrings {

QString openFilter()
{
    return QCoreApplication::translate(
        "SonvexStringConstants",
        "Sonvex data files (.kvntm .kvslm)|*.kvntm;*.kvslm|Older Sonvex data files (.txt)|*.txt|"
        "Sonvex 3 raw download files (.txt)|*.txt|LogRead raw print data files (.PRT)|*.prt");
}

QString saveFilter()
{
    return QCoreApplication::translate("SonvexStringConstants", "Sonvex Data files (.kvntm)|*.kvntm");
}

QString nextCaption()
{
    return QCoreApplication::translate("SonvexStringConstants", "Next >");
}

QString finishCaption()
{
    return QCoreApplication::translate("SonvexStringConstants", "Finish >");
}

QString notAvailableYet()
{
    return QCoreApplication::translate("SonvexStringConstants",
                                       "This command is not available in this version of Sonvex yet.");
}

} // namespace SonvexStrings

QString titleFor(int connectionState, const StatusTexts& texts, const QString& current)
{
    switch (connectionState) {
    case 0:
        return QCoreApplication::translate("SonvexStringConstants", "Sonvex");
    case 3:
        return QCoreApplication::translate("SonvexStringConstants", "Sonvex") + QStringLiteral(" - ") +
               texts.StatusConnectedUsb;
    default:
        return current;
    }
}

} // namespace sonvex
