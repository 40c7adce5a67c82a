#include "HistoryReader.h"

#include <QLocale>
#include <QRegularExpression>
#include <QStringList>

int History::pauseCount() const
{
    int n = 0;
    for (const HistorySample& s : samples)
        n += s.pause;
    return n;
}

QVector<HistorySample> History::measured() const
{
    QVector<HistorySample> m;
    for (const HistorySample& s : samples) {
        if (!s.pause)
            m.append(s);
    }
    return m;
}

History readHistory(const QString& text)
{
    History h;
    const QStringList items = text.trimmed().split(u' ', Qt::SkipEmptyParts);
    if (items.size() < 6 || items.at(0) != QLatin1String("TimeHistory"))
        return h;
    h.title = items.at(1);
    static const QRegularExpression duration(QStringLiteral("^duration(\\d+)s$"));
    static const QRegularExpression date(QStringLiteral("^date:d(\\d\\d)m(\\d\\d)y(\\d\\d\\d\\d)$"));
    static const QRegularExpression marker(QStringLiteral("^time:h(\\d\\d)n(\\d\\d)$"));
    static const QRegularExpression sample(QStringLiteral("^(\\d+\\.\\d)(P?)(O?)$"));
    const auto d = duration.match(items.at(2));
    const auto dt = date.match(items.at(4));
    if (!d.hasMatch() || !dt.hasMatch())
        return h;
    h.period = d.captured(1).toInt();
    h.rate = items.at(3);
    h.date = QDate(dt.captured(3).toInt(), dt.captured(2).toInt(), dt.captured(1).toInt());

    qint64 t = -1;
    for (qsizetype i = 5; i < items.size(); ++i) {
        const auto mk = marker.match(items.at(i));
        if (mk.hasMatch()) {
            ++h.markers;
            qint64 m = mk.captured(1).toInt() * 3600 + mk.captured(2).toInt() * 60;
            if (t < 0) {
                h.startSecond = t = m;
                continue;
            }
            if (m + 60 < t) // a marker more than a minute behind belongs to the next day
                m += 86400;
            while (m > t) {
                HistorySample p;
                p.pause = true;
                p.second = t;
                h.samples.append(p);
                t += h.period;
            }
            continue;
        }
        const auto s = sample.match(items.at(i));
        if (!s.hasMatch() || t < 0)
            return h;
        HistorySample v;
        v.second = t;
        v.value = QLocale::c().toDouble(s.captured(1));
        v.peak = !s.captured(2).isEmpty();
        v.overload = !s.captured(3).isEmpty();
        h.samples.append(v);
        t += h.period;
    }
    h.ok = true;
    return h;
}
