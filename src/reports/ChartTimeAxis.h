#pragma once

#include <QString>
#include <QVector>

namespace sonvex {

// Ticks of the time axis. Chart time counts days from midnight of the measurement's start day,
// so a tick is a clock time: it is labelled from that number alone (no time zone, no date), and
// times after midnight read as the next day's clock (1.25 is "06:00").
struct ChartTimeTicks
{
    int stepSeconds = 0;      // 0 when the range holds no tick
    QVector<double> ticks;    // chart times, ascending
    QVector<double> subTicks; // chart times between the ticks
    QVector<QString> labels;  // one per tick
};

namespace ChartTimeAxis {

// The tick steps offered, in seconds, smallest first: readable clock steps from one second to a day.
const QVector<int>& tickSteps();

// Ticks at multiples of the smallest step from midnight that puts at most `maxTicks` ticks into
// [lower, upper] (at least one step is always chosen; the largest step when none fits). Labels
// are "HH:mm", or "HH:mm:ss" while the step is below a minute.
ChartTimeTicks ticksFor(double lower, double upper, int maxTicks);

// The clock time of chart time `t` (wrapped into one day, rounded to the second).
QString clockText(double t, bool withSeconds);

} // namespace ChartTimeAxis
} // namespace sonvex
