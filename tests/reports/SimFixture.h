#pragma once

// Realistic measurements for the chart and view tests, made when the test runs: the Reader
// simulator's printout turned into download text by the real print-dump parser. Header-only, so
// that the view tests can share it.

#include "data/DataFilesController.h"
#include "data/DateTimeFormats.h"
#include "data/DownloadText.h"
#include "data/SonvexDataModule.h"
#include "instruments/KVTReaderPrintout.h"
#include "sim/SimReader.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QStringList>

namespace sonvex::test {

inline const QLocale& gbLocale()
{
    static const QLocale gb(QLocale::English, QLocale::UnitedKingdom);
    return gb;
}

inline UserFormats gbFormats()
{
    return UserFormats::fromLocale(gbLocale());
}

// Download text of `badges` simulated measurements.
inline QStringList simDownloadText(int badges, quint64 seed, const SimReaderOptions& options = {})
{
    const SimReader reader = generateReader(badges, seed, options);
    const PrintoutContext ctx = PrintoutContext::fromUserFormats(
        gbFormats(), QDateTime(QDate(2009, 3, 20), QTime(9, 0), Qt::UTC), QStringLiteral("2.10"));
    return ParsePrintout(writePrintout(reader), ctx);
}

inline SimReaderOptions simOptions(SimReaderModel model, int periodSeconds = 60, double hours = 8.0,
                                   SimResultKind results = SimResultKind::Q3)
{
    SimReaderOptions o;
    o.model = model;
    o.periodSeconds = periodSeconds;
    o.hours = hours;
    o.results = results;
    return o;
}

// Loads download text into the data module's measurement table through the data-files
// controller, so that its data-file lines are those of the text.
inline bool loadDownload(DataFilesController& files, const QStringList& lines)
{
    files.setUserFormats(gbFormats());
    return files.LoadDownloadText(lines);
}

// Writes download text as a data file and opens it, so that notes and cursors go back into it.
inline bool openAsDataFile(DataFilesController& files, const QStringList& lines, const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    f.write(lines.join(QStringLiteral("\r\n")).toLatin1());
    f.write("\r\n");
    f.close();
    files.setUserFormats(gbFormats());
    return files.open(path);
}

} // namespace sonvex::test
