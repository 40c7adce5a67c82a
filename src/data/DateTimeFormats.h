#pragma once

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QTime>

#include <optional>

namespace sonvex {

// The user's date and time conventions as the data files use them, taken from
// a locale once and passed explicitly; nothing process-wide is ever changed.
//
// Format strings in files use the older notation ("d dd ddd dddd m mm mmm mmmm
// yy yyyy" for dates; "h hh n nn s ss z zzz AMPM am/pm a/p" for times, "/" and
// ":" standing for the user's separators). In memory they are kept in Qt's
// notation; the conversion happens only here.
struct UserFormats
{
    QString shortDate;  // Qt notation, e.g. "dd/MM/yyyy"
    QString shortTime;  // e.g. "HH:mm"
    QString longTime;   // e.g. "HH:mm:ss" (no time zone)
    QChar dateSeparator = u'/';
    QChar timeSeparator = u':';
    QString amText = QStringLiteral("AM");
    QString pmText = QStringLiteral("PM");
    QStringList shortMonths; // 12 names, the user's language
    QStringList longMonths;
    QLocale locale = QLocale::c();

    static UserFormats fromLocale(const QLocale& l);

    // The parsed value as the program shows it: short date, then long time
    // unless the time is exactly midnight.
    QString dateTimeText(const QDateTime& dt) const;
    QString dateText(const QDate& d) const;
    QString timeText(const QTime& t) const;
};

namespace DateTimeFormats {

// Day 0 of the older date arithmetic: 30 December 1899.
inline QDate dayZero()
{
    return QDate(1899, 12, 30);
}

// Converts between the file notation and Qt's notation.
QString toQtDateFormat(const QString& fileFormat);
QString toQtTimeFormat(const QString& fileFormat);
QString toFileDateFormat(const QString& qtFormat);
QString toFileTimeFormat(const QString& qtFormat);

enum class DateOrder { DMY, MDY, YMD };
DateOrder dateOrder(const QString& format); // either notation

// Reads a date of numbers separated by `separator`, in the order of `format`.
// Two numbers mean the current year; two-digit years fall within fifty years of
// `today`. Empty when unreadable.
std::optional<QDate> readDate(const QString& text, const QString& format, QChar separator,
                              const QDate& today = QDate::currentDate());

// Reads a time "h:n[:s[.zzz]]" with an optional morning/afternoon designator
// before or after it (the user's or the English "AM"/"PM").
std::optional<QTime> readTime(const QString& text, const UserFormats& f);

// A date or a date and a time or a time alone (the time then counts from day 0).
std::optional<QDateTime> readDateTime(const QString& text, const QString& dateFormat, const UserFormats& f,
                                      const QDate& today = QDate::currentDate());

} // namespace DateTimeFormats
} // namespace sonvex
