#include "CliData.h"

#include "data/DataSet.h"
#include "data/DisplayFormat.h"
#include "data/SonvexDataModule.h"

#ifdef SONVEX_HAVE_INSTRUMENTS
#include "instruments/KVTReaderPrintout.h"
#endif

#include <QCoreApplication>
#include <QFileInfo>

namespace sonvex::cli {

UserFormats cliFormats()
{
    const QByteArray env = qgetenv("SONVEX_CLI_LOCALE");
    const QLocale l = env.isEmpty() ? QLocale::system() : QLocale(QString::fromLatin1(env));
    UserFormats f = UserFormats::fromLocale(l.language() == QLocale::C ? QLocale(QLocale::English, QLocale::UnitedKingdom) : l);
    return f;
}

DataFilesController::PrintoutParser printoutParser(const UserFormats& formats)
{
#ifdef SONVEX_HAVE_INSTRUMENTS
    return [formats](const QStringList& lines, const QDateTime& when) {
        return ParsePrintout(lines, PrintoutContext::fromUserFormats(formats, when));
    };
#else
    Q_UNUSED(formats)
    return {};
#endif
}

DataSet* loadDataFile(const QString& path, Tdm& dm, DataFilesController& files, QString* error, int filter)
{
    QString failure;
    QObject::connect(&files, &DataFilesController::openFailed, &files,
                     [&failure](const QString&, const QString& reason) { failure = reason; });
    bool noData = false;
    QObject::connect(&files, &DataFilesController::noData, &files, [&noData] { noData = true; });
    if (!QFileInfo::exists(path)) {
        *error = QCoreApplication::translate("cli", "No such file");
        return nullptr;
    }
    if (!files.open(path, filter)) {
        *error = failure.isEmpty() ? QCoreApplication::translate("cli", "cannot be opened") : failure;
        error->replace(u'\n', QLatin1String(" - "));
        return nullptr;
    }
    if (files.dataKind() == 2)
        return dm.CDSSLMMeas();
    if (noData) {
        *error = QCoreApplication::translate("cli", "no measurements found (no header line beginning with \"#\")");
        return nullptr;
    }
    return dm.CDSMeas();
}

} // namespace sonvex::cli
