#include "data/DisplayFormat.h"

#include <QDateTime>

#include <cmath>
#include <optional>

namespace sonvex::DisplayFormat {

namespace {
std::optional<QLocale>& overrideLocale()
{
    static std::optional<QLocale> l;
    return l;
}

QString withSeparator(QString s, const QLocale& loc)
{
    const QString dp = loc.decimalPoint();
    if (dp != QLatin1String("."))
        s.replace(u'.', dp);
    return s;
}
} // namespace

QLocale locale()
{
    return overrideLocale().value_or(QLocale::system());
}

void setLocale(const QLocale& l)
{
    overrideLocale() = l;
}

double roundHalfAway(double v, int decimals)
{
    if (!std::isfinite(v))
        return v;
    const double scale = std::pow(10.0, decimals);
    double x = v * scale;
    // Decimal values such as 80.25 or 2.675 are not exact in binary; settle the
    // scaled value on its 12-significant-digit form so a written half rounds up.
    if (std::fabs(x) < 1e12) {
        const double settled = QString::number(x, 'g', 12).toDouble();
        x = settled;
    }
    return std::round(x) / scale;
}

QString fixed(double v, int decimals, const QLocale& loc)
{
    if (!std::isfinite(v))
        return QString();
    const double r = roundHalfAway(v, decimals);
    return withSeparator(QString::number(r, 'f', decimals), loc);
}

QString general(double v, int precision, const QLocale& loc)
{
    if (!std::isfinite(v))
        return QString();
    QString s = QString::number(v, 'g', precision);
    const qsizetype e = s.indexOf(u'e');
    if (e >= 0) {
        const QString mant = s.left(e);
        QString exp = s.mid(e + 1);
        const bool neg = exp.startsWith(u'-');
        exp.remove(0, (exp.startsWith(u'-') || exp.startsWith(u'+')) ? 1 : 0);
        while (exp.size() > 1 && exp.startsWith(u'0'))
            exp.remove(0, 1);
        s = mant + QLatin1Char('E') + (neg ? QStringLiteral("-") : QString()) + exp;
    }
    return withSeparator(s, loc);
}

QString mask(double v, const QString& m, const QLocale& loc)
{
    if (m.isEmpty())
        return general(v, 15, loc);
    const qsizetype dot = m.indexOf(u'.');
    const int decimals = dot < 0 ? 0 : int(m.size() - dot - 1);
    const bool leadingZero = dot < 0 ? m.contains(u'0') : (dot > 0 && m.at(dot - 1) == u'0');
    QString s = QString::number(roundHalfAway(v, decimals), 'f', decimals);
    if (!leadingZero) {
        if (s.startsWith(QLatin1String("0.")))
            s.remove(0, 1);
        else if (s.startsWith(QLatin1String("-0.")))
            s.remove(1, 1);
    }
    return withSeparator(s, loc);
}

QString longTimeFormat(const QLocale& loc)
{
    QString f = loc.timeFormat(QLocale::LongFormat);
    f.remove(QLatin1String(" t"));
    f.remove(QLatin1String("t "));
    f.remove(u't');
    return f.trimmed();
}

QString shortDateFormat(const QLocale& loc)
{
    return loc.dateFormat(QLocale::ShortFormat);
}

QString fieldText(const FieldDef& f, const QVariant& v, const QLocale& loc)
{
    if (!v.isValid())
        return QString();
    if (isFloatType(f.type)) {
        const double d = v.toDouble();
        if (!f.displayFormat.isEmpty())
            return mask(d, f.displayFormat, loc);
        return general(d, f.precision > 0 ? f.precision : 15, loc);
    }
    if (isIntegerType(f.type))
        return QString::number(v.toLongLong());
    switch (f.type) {
    case FieldType::Boolean:
        return v.toBool() ? f.trueText : f.falseText;
    case FieldType::Date:
        return loc.toString(v.toDate(), shortDateFormat(loc));
    case FieldType::Time:
        return loc.toString(v.toTime(), longTimeFormat(loc));
    case FieldType::DateTime: {
        const QDateTime dt = v.toDateTime();
        QString s = loc.toString(dt.date(), shortDateFormat(loc));
        if (dt.time() != QTime(0, 0))
            s += QLatin1Char(' ') + loc.toString(dt.time(), longTimeFormat(loc));
        return s;
    }
    case FieldType::Blob:
        return QStringLiteral("(BLOB)");
    default:
        return v.toString();
    }
}

} // namespace sonvex::DisplayFormat
