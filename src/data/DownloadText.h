#pragma once

#include "data/DateTimeFormats.h"

#include <QDate>
#include <QStringList>

#include <functional>

namespace sonvex {

class DataSet;

// Everything the download text loader needs besides the text.
struct DownloadTextContext
{
    UserFormats user = UserFormats::fromLocale(QLocale::system());
    QDate today = QDate::currentDate();
    // Called now and then with the lines done and the lines in all (optional).
    std::function<void(int done, int total)> progress;
    // Validation of each data line (optional): line number after the header
    // (0-based), the line and the header line; returns the failure details for
    // the record, or an empty text.
    std::function<QString(int lineNumber, const QString& line, const QString& header)> validate;
};

// What a load found.
struct DownloadTextResult
{
    bool headerFound = false;
    int headerIndex = -1;     // in the lines after the format lines were removed
    QStringList headerNames;  // the header's items, "#" first
    QString readerId;         // from the lines before the header
    QString readerRecal;      // likewise, or day 0 in the text's date format
    QString dateFormat;       // the text's short date format (Qt notation) used for reading
    QString timeFormat;       // the text's short time format (Qt notation)
    int records = 0;
};

// The tab-separated download text of badge measurements and its loader.
namespace DownloadText {

// Replaces the rows of `meas` (a measurement table with the full layout) with the
// records of the text. Format lines and "file format error" lines are removed
// from `lines`. Values that cannot be read leave their field empty; nothing
// else stops the load. Dates and times are read with the text's own formats.
DownloadTextResult LoadDownloadText(QStringList& lines, DataSet& meas, const DownloadTextContext& ctx);

QString ReaderIdFromLine(const QString& line);
// `dayZeroText` is day 0 in the date format in use, the result when no date follows.
QString RecalDueFromLine(const QString& line, const QString& dayZeroText);
// A date with a month number or a month name of the user's language; day 0
// (30 December 1899) when unreadable.
QDate ParseDate(const QString& text, const QString& dateFormat, const UserFormats& user,
                const QDate& today = QDate::currentDate());

// True for the format lines a data file carries ("Date format: ...").
bool isDateFormatLine(const QString& line);
bool isTimeFormatLine(const QString& line);
bool isFormatErrorLine(const QString& line);

// Splits file text into lines at CR LF, LF or CR (a final line break ends the last line).
QStringList splitLines(const QString& text);

} // namespace DownloadText
} // namespace sonvex
