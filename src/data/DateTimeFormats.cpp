#include "data/DateTimeFormats.h"

#include "data/DisplayFormat.h"

namespace sonvex {

namespace {

QChar firstSeparator(const QString& format, QChar fallback)
{
    for (QChar c : format)
        if (!c.isLetter() && !c.isSpace() && c != u'\'')
            return c;
    return fallback;
}

int runLength(const QString& s, int i)
{
    int n = 1;
    while (i + n < s.size() && s.at(i + n).toLower() == s.at(i).toLower())
        ++n;
    return n;
}

} // namespace

UserFormats UserFormats::fromLocale(const QLocale& l)
{
    UserFormats f;
    f.locale = l;
    f.shortDate = l.dateFormat(QLocale::ShortFormat);
    f.shortTime = l.timeFormat(QLocale::ShortFormat);
    f.shortTime.remove(u't');
    f.shortTime = f.shortTime.trimmed();
    f.longTime = DisplayFormat::longTimeFormat(l);
    f.dateSeparator = firstSeparator(f.shortDate, u'/');
    f.timeSeparator = firstSeparator(f.longTime, u':');
    f.amText = l.amText();
    f.pmText = l.pmText();
    for (int m = 1; m <= 12; ++m) {
        f.shortMonths << l.monthName(m, QLocale::ShortFormat);
        f.longMonths << l.monthName(m, QLocale::LongFormat);
    }
    return f;
}

QString UserFormats::dateText(const QDate& d) const
{
    return locale.toString(d, shortDate);
}

QString UserFormats::timeText(const QTime& t) const
{
    return locale.toString(t, longTime);
}

QString UserFormats::dateTimeText(const QDateTime& dt) const
{
    if (dt.time() == QTime(0, 0))
        return dateText(dt.date());
    return dateText(dt.date()) + QLatin1Char(' ') + timeText(dt.time());
}

namespace DateTimeFormats {

QString toQtDateFormat(const QString& file)
{
    QString out;
    for (int i = 0; i < file.size();) {
        const QChar c = file.at(i);
        const int n = runLength(file, i);
        const QChar lc = c.toLower();
        if (lc == u'm')
            out += QString(n, u'M');
        else if (lc == u'd')
            out += QString(n, u'd');
        else if (lc == u'y')
            out += QString(n, u'y');
        else
            out += file.mid(i, n);
        i += n;
    }
    return out;
}

QString toQtTimeFormat(const QString& file)
{
    QString out;
    const QString lower = file.toLower();
    const bool twelve = lower.contains(QLatin1String("ampm")) || lower.contains(QLatin1String("am/pm")) ||
                        lower.contains(QLatin1String("a/p"));
    for (int i = 0; i < file.size();) {
        if (lower.mid(i, 4) == QLatin1String("ampm")) {
            out += QLatin1String("AP");
            i += 4;
            continue;
        }
        if (lower.mid(i, 5) == QLatin1String("am/pm")) {
            out += file.mid(i, 5) == QLatin1String("AM/PM") ? QLatin1String("AP") : QLatin1String("ap");
            i += 5;
            continue;
        }
        if (lower.mid(i, 3) == QLatin1String("a/p")) {
            out += QLatin1String("ap");
            i += 3;
            continue;
        }
        const QChar lc = lower.at(i);
        const int n = runLength(file, i);
        if (lc == u'h')
            out += QString(std::min(n, 2), twelve ? u'h' : u'H');
        else if (lc == u'n' || lc == u'm')
            out += QString(std::min(n, 2), u'm');
        else if (lc == u's')
            out += QString(std::min(n, 2), u's');
        else if (lc == u'z')
            out += QString(n >= 3 ? 3 : 1, u'z');
        else
            out += file.mid(i, n);
        i += n;
    }
    return out;
}

QString toFileDateFormat(const QString& qt)
{
    QString out;
    for (int i = 0; i < qt.size();) {
        const QChar c = qt.at(i);
        const int n = runLength(qt, i);
        if (c == u'M')
            out += QString(n, u'm');
        else if (c == u'\'')
            ; // quoting is not part of the older notation
        else
            out += qt.mid(i, n);
        i += n;
    }
    return out;
}

QString toFileTimeFormat(const QString& qt)
{
    QString out;
    for (int i = 0; i < qt.size();) {
        const QChar c = qt.at(i);
        const int n = runLength(qt, i);
        if (c == u'H' || c == u'h')
            out += QString(std::min(n, 2), u'h');
        else if (c == u'm')
            out += QString(std::min(n, 2), u'n');
        else if (c == u's')
            out += QString(std::min(n, 2), u's');
        else if (c == u'z')
            out += QString(n >= 3 ? 3 : 1, u'z');
        else if (c == u'A')
            out += QLatin1String("AMPM");
        else if (c == u'a')
            out += QLatin1String("am/pm");
        else if (c == u't' || c == u'\'')
            ; // no time zone, no quoting
        else
            out += qt.mid(i, n);
        i += n;
    }
    return out.trimmed();
}

DateOrder dateOrder(const QString& format)
{
    for (QChar c : format) {
        const QChar lc = c.toLower();
        if (lc == u'y')
            return DateOrder::YMD;
        if (lc == u'm')
            return DateOrder::MDY;
        if (lc == u'd')
            return DateOrder::DMY;
    }
    return DateOrder::DMY;
}

std::optional<QDate> readDate(const QString& text, const QString& format, QChar separator, const QDate& today)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    const QStringList parts = t.split(separator);
    if (parts.size() < 2 || parts.size() > 3)
        return std::nullopt;
    int n[3] = {0, 0, 0};
    int digits[3] = {0, 0, 0};
    for (int i = 0; i < parts.size(); ++i) {
        const QString p = parts.at(i).trimmed();
        if (p.isEmpty() || p.size() > 4)
            return std::nullopt;
        for (QChar c : p)
            if (!c.isDigit())
                return std::nullopt;
        n[i] = p.toInt();
        digits[i] = int(p.size());
    }
    int y = 0, m = 0, d = 0, yDigits = 4;
    const DateOrder order = dateOrder(format);
    if (parts.size() == 2) {
        y = today.year();
        if (order == DateOrder::MDY || order == DateOrder::YMD) {
            m = n[0];
            d = n[1];
        } else {
            d = n[0];
            m = n[1];
        }
    } else if (order == DateOrder::DMY) {
        d = n[0], m = n[1], y = n[2], yDigits = digits[2];
    } else if (order == DateOrder::MDY) {
        m = n[0], d = n[1], y = n[2], yDigits = digits[2];
    } else {
        y = n[0], m = n[1], d = n[2], yDigits = digits[0];
    }
    if (yDigits <= 2) {
        // Two-digit years fall within fifty years either side of today.
        const int century = today.year() / 100 * 100;
        y += century;
        if (y > today.year() + 50)
            y -= 100;
        else if (y <= today.year() - 50)
            y += 100;
    }
    const QDate date(y, m, d);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

std::optional<QTime> readTime(const QString& text, const UserFormats& f)
{
    QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    int baseHour = -1;
    const auto takeDesignator = [&](bool atStart) {
        const QString cands[] = {f.amText, f.pmText, QStringLiteral("AM"), QStringLiteral("PM")};
        const int bases[] = {0, 12, 0, 12};
        for (int k = 0; k < 4; ++k) {
            const QString& c = cands[k];
            if (c.isEmpty())
                continue;
            if (atStart ? t.startsWith(c, Qt::CaseInsensitive) : t.endsWith(c, Qt::CaseInsensitive)) {
                baseHour = bases[k];
                t = atStart ? t.mid(c.size()).trimmed() : t.left(t.size() - c.size()).trimmed();
                return;
            }
        }
    };
    takeDesignator(true);
    if (baseHour < 0)
        takeDesignator(false);

    int pos = 0;
    const auto number = [&](int maxDigits, int* out) {
        int start = pos;
        while (pos < t.size() && t.at(pos).isDigit() && pos - start < maxDigits)
            ++pos;
        if (pos == start)
            return false;
        *out = t.mid(start, pos - start).toInt();
        return true;
    };
    int h = 0, m = 0, s = 0, ms = 0;
    if (!number(2, &h))
        return std::nullopt;
    if (pos >= t.size() || t.at(pos) != f.timeSeparator)
        return std::nullopt;
    ++pos;
    if (!number(2, &m))
        return std::nullopt;
    if (pos < t.size() && t.at(pos) == f.timeSeparator) {
        ++pos;
        if (!number(2, &s))
            return std::nullopt;
        if (pos < t.size() && t.at(pos) == u'.') {
            ++pos;
            const int start = pos;
            if (!number(3, &ms))
                return std::nullopt;
            for (int k = pos - start; k < 3; ++k)
                ms *= 10;
        }
    }
    if (pos != t.size())
        return std::nullopt;
    if (baseHour >= 0) {
        if (h > 12 || h == 0)
            return std::nullopt;
        if (h == 12)
            h = 0;
        h += baseHour;
    }
    const QTime time(h, m, s, ms);
    if (!time.isValid())
        return std::nullopt;
    return time;
}

std::optional<QDateTime> readDateTime(const QString& text, const QString& dateFormat, const UserFormats& f,
                                      const QDate& today)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    // Date alone, time alone, or the date up to the first blank and the time after it.
    if (auto d = readDate(t, dateFormat, f.dateSeparator, today))
        return QDateTime(*d, QTime(0, 0), Qt::UTC);
    if (auto tm = readTime(t, f))
        return QDateTime(dayZero(), *tm, Qt::UTC);
    const qsizetype blank = t.indexOf(u' ');
    if (blank < 0)
        return std::nullopt;
    const auto d = readDate(t.left(blank), dateFormat, f.dateSeparator, today);
    const auto tm = readTime(t.mid(blank + 1), f);
    if (!d || !tm)
        return std::nullopt;
    return QDateTime(*d, *tm, Qt::UTC);
}

} // namespace DateTimeFormats
} // namespace sonvex
