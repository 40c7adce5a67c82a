#pragma once

// A small reader of the time-history strings of the download text, written for
// the tests from the documented format only: header items, then samples and
// time markers, every item followed by a blank.

#include <QDate>
#include <QString>
#include <QVector>

struct HistorySample
{
    bool pause = false;
    qint64 second = 0; // seconds from midnight of the start day
    double value = 0;
    bool peak = false;
    bool overload = false;
};

struct History
{
    bool ok = false;
    QString title;
    int period = 0;
    QString rate;
    QDate date;
    qint64 startSecond = 0;         // time of day of the first marker
    QVector<HistorySample> samples; // pauses included
    int markers = 0;

    int pauseCount() const;
    QVector<HistorySample> measured() const; // pauses left out
};

History readHistory(const QString& text);
