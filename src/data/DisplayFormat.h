#pragma once

#include "data/FieldDef.h"

#include <QLocale>
#include <QString>

namespace sonvex {

// How values are shown to the user: the user's decimal separator and date and
// time formats, rounding halves away from zero. Never used for file data.
namespace DisplayFormat {

// The locale used for display; the system locale unless set (tests set it).
QLocale locale();
void setLocale(const QLocale& l);

double roundHalfAway(double v, int decimals);
// "%.Nf" with halves away from zero and the locale's decimal separator.
QString fixed(double v, int decimals, const QLocale& loc = locale());
// The shortest general form with up to `precision` significant digits ("75.5", "1E20").
QString general(double v, int precision = 15, const QLocale& loc = locale());
// A numeric display mask such as "#0.0", "#.0" or "0.00".
QString mask(double v, const QString& mask, const QLocale& loc = locale());

// The program's long time format: the locale's long time format without a time zone.
QString longTimeFormat(const QLocale& loc = locale());
QString shortDateFormat(const QLocale& loc = locale());

QString fieldText(const FieldDef& f, const QVariant& v, const QLocale& loc = locale());

} // namespace DisplayFormat
} // namespace sonvex
