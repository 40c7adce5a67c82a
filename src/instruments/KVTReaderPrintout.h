#pragma once

// The Reader's print-dump parser: turns the printout a Reader sends (key and
// value lines, one measurement block after another, logged samples as runs of
// hexadecimal words) into the tab-separated download text that the loader reads.
// It knows nothing about the transport; the Reader component and the raw
// printout import both call it.

#include "data/DateTimeFormats.h"

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <optional>

namespace sonvex {

// Everything the parser needs besides the printout lines.
struct PrintoutContext
{
    // Date and time of the download, written into the "Downloaded on" line.
    QDateTime downloadTime;
    // The Reader's firmware text; it prefixes every badge's firmware column.
    QString readerFirmware;
    // The user's short date and short time formats in Qt's notation, with the
    // user's separators written literally. Every date and time the parser writes
    // into the download text uses them; the caller records the same formats in
    // the data file's "Date format:" and "Time format:" lines.
    QString shortDateFormat = QStringLiteral("dd/MM/yyyy");
    QString shortTimeFormat = QStringLiteral("HH:mm");

    // A context with the short formats of a locale.
    static PrintoutContext fromLocale(const QLocale& locale, const QDateTime& downloadTime,
                                      const QString& readerFirmware = QString());
    // A context with the user's short formats, as the loader reads them back.
    static PrintoutContext fromUserFormats(const UserFormats& formats, const QDateTime& downloadTime,
                                           const QString& readerFirmware = QString());
};

// The column layouts of the download text. DualBoth is used for a dual-channel
// printout that carries results of both kinds (energy and exchange-rate
// averages): it holds every column of the other layouts, so no printed value is
// lost and the header always describes the rows.
enum class PrintoutLayout
{
    Plain,
    Q5,
    Both,
    Dual,
    DualBoth
};

// The header names of a layout, in column order.
QStringList printoutHeaderNames(PrintoutLayout layout);

// Converts a printout into download text. Never throws: a printout it cannot
// read ends with the line "file format error" after the rows read so far.
QStringList ParsePrintout(const QStringList& lines, const PrintoutContext& context);

// The value rules of the printout, exposed for the tests and for other readers
// of the Reader's texts.
namespace printout {

// Reads a Reader date "hh:nn dd/mm/yy" (hours and minutes before the first
// blank, the date after it; a one-digit day is accepted). Empty when unreadable.
// The result is a wall-clock value, kept in UTC so that no time-zone rule moves it.
std::optional<QDateTime> readPrintDate(const QString& text);

// A run time ("8.5" hours and tenths, "7:30", "12:30", "8:00:00", "08:00:00")
// as "hh:nn:ss", or "----".
QString runTimeText(const QString& value);

// Magnitude of a sample word (mantissa in the low byte, shift in bits 8-12),
// scaled by 59/50 in unsigned 32-bit arithmetic.
quint32 sampleMagnitude(quint16 word);

// Level of a sample word for a sample period in seconds, exchange rate q (3, 4
// or 5), calibration offset and the dual-channel flag.
double sampleLevel(quint16 word, double period, int q, double calOffset, bool dual);

// The time-history item of a time marker word ("time:h09n13").
QString markerItem(quint16 word);

// Peak level in dB and battery voltage of a peak-data word.
double peakLevel(quint16 word, double calOffset);
double batteryVolts(quint16 word);

} // namespace printout
} // namespace sonvex
