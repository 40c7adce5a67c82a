#pragma once

// Records and time-history strings for the view tests.

#include "data/DataSet.h"
#include "data/SonvexDataModule.h"

#include <QList>
#include <QString>
#include <QVariant>

#include <utility>

namespace sonvex::test {

using Values = QList<std::pair<QString, QVariant>>;

// "\tTimeHistory <title> duration<period>s <rate> date:d03m04y2009 time:h08n00 " + samples.
inline QString historyString(const QString& title, const QString& rate, const QString& samples,
                             int period = 60)
{
    return QStringLiteral("\tTimeHistory %1 duration%2s %3 date:d03m04y2009 time:h08n00 ")
               .arg(title)
               .arg(period)
               .arg(rate) +
           samples;
}

// `n` samples of one level.
inline QString levels(int n, const QString& level)
{
    QString s;
    for (int i = 0; i < n; ++i)
        s += level + u' ';
    return s;
}

// A measurement table holding one record per entry of `records` (read orders 1, 2, ...).
inline void fillTable(Tdm& dm, const QList<Values>& records)
{
    dm.createMeasTable();
    DataSet* t = dm.CDSMeas();
    int readOrder = 0;
    for (const Values& values : records) {
        t->append();
        t->setValue(QStringLiteral("read_order"), ++readOrder);
        t->setValue(QStringLiteral("settings"), QStringLiteral("85: 28800: 00: F: 3dB (Q=3) None"));
        t->setValue(QStringLiteral("RunTime"), QStringLiteral("08:00:00"));
        for (const auto& [field, value] : values)
            t->setValue(field, value);
        t->post();
    }
    t->mergeChangeLog();
    t->first();
}

} // namespace sonvex::test
