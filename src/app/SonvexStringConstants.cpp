#include "app/SonvexStringConstants.h"

#include <QCoreApplication>

namespace sonvex {

namespace {
QString tr(const char* text)
{
    return QCoreApplication::translate("SonvexStringConstants", text);
}
} // namespace

StatusTexts StatusTexts::load()
{
    StatusTexts t;
    t.StatusDisabled = tr("Sonvex disabled");
    t.StatusWaiting = tr("Sonvex waiting for connection...");
    t.StatusSavedAs = tr("This data has been saved as:");
    t.StatusNotSaved = tr("This data has not been saved");
    t.StatusDataFromFile = tr("Data from file: ");
    t.StatusWaitingForConnection = tr("Waiting for Connection");
    t.StatusConnected = tr("Connected");
    t.StatusConnectedUsb = tr("Connected to Reader via USB");
    t.StatusDownloading = tr("Downloading");
    return t;
}

namespace SonvexStrings {

QString openFilter()
{
    return tr("Sonvex data files (.kvntm .kvslm)|*.kvntm;*.kvslm|Older Sonvex data files (.txt)|*.txt|"
              "Sonvex 3 raw download files (.txt)|*.txt|LogRead raw print data files (.PRT)|*.prt");
}

QString saveFilter()
{
    return tr("Sonvex Data files (.kvntm)|*.kvntm");
}

QString nextCaption()
{
    return tr("Next >");
}

QString finishCaption()
{
    return tr("Finish >");
}

QString notAvailableYet()
{
    return tr("This command is not available in this version of Sonvex yet.");
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
