#include "reports/ChartTimeAxis.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace sonvex {

namespace {

constexpr double kSecondsPerDay = 86400.0;

struct Step
{
    int seconds;
    int subSeconds; // 0: no sub-ticks
};

// clang-format off
constexpr Step kSteps[] = {
    {1, 0},       {2, 1},       {5, 1},        {10, 5},       {15, 5},       {30, 10},
    {60, 15},     {120, 30},    {300, 60},     {600, 120},    {900, 300},    {1800, 600},
    {3600, 900},  {7200, 1800}, {10800, 3600}, {14400, 3600}, {21600, 3600}, {43200, 10800},
    {86400, 21600},
};
// clang-format on

// Whole seconds of a chart time, rounded: tick arithmetic is done on integers so that a tick
// never drifts off its clock time.
qint64 roundSeconds(double t)
{
    return qint64(std::llround(t * kSecondsPerDay));
}

qint64 floorDiv(qint64 a, qint64 b)
{
    qint64 q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

qint64 ceilDiv(qint64 a, qint64 b)
{
    return -floorDiv(-a, b);
}

} // namespace

namespace ChartTimeAxis {

const QVector<int>& tickSteps()
{
    static const QVector<int> steps = [] {
        QVector<int> s;
        for (const Step& step : kSteps)
            s.append(step.seconds);
        return s;
    }();
    return steps;
}

QString clockText(double t, bool withSeconds)
{
    qint64 s = std::isfinite(t) ? roundSeconds(t) : 0;
    s %= 86400;
    if (s < 0)
        s += 86400;
    const int h = int(s / 3600);
    const int m = int(s / 60 % 60);
    const int sec = int(s % 60);
    return withSeconds ? QString::asprintf("%02d:%02d:%02d", h, m, sec)
                       : QString::asprintf("%02d:%02d", h, m);
}

ChartTimeTicks ticksFor(double lower, double upper, int maxTicks)
{
    ChartTimeTicks result;
    if (!std::isfinite(lower) || !std::isfinite(upper) || upper < lower || std::fabs(lower) > 1e6 ||
        std::fabs(upper) > 1e6)
        return result;
    maxTicks = std::max(maxTicks, 1);
    // Seconds are compared with a little tolerance so that a range that ends exactly on a
    // tick (08:00 to 16:00) keeps both ends.
    const double lowS = lower * kSecondsPerDay - 1e-4;
    const double highS = upper * kSecondsPerDay + 1e-4;
    const Step* chosen = &kSteps[std::size(kSteps) - 1];
    for (const Step& step : kSteps) {
        const qint64 first = qint64(std::ceil(lowS / step.seconds));
        const qint64 last = qint64(std::floor(highS / step.seconds));
        if (last - first + 1 <= maxTicks) {
            chosen = &step;
            break;
        }
    }
    const qint64 first = qint64(std::ceil(lowS / chosen->seconds));
    const qint64 last = qint64(std::floor(highS / chosen->seconds));
    if (last < first)
        return result;
    result.stepSeconds = chosen->seconds;
    const bool withSeconds = chosen->seconds < 60;
    for (qint64 k = first; k <= last; ++k) {
        const double t = double(k * chosen->seconds) / kSecondsPerDay;
        result.ticks.append(t);
        result.labels.append(clockText(t, withSeconds));
    }
    if (chosen->subSeconds > 0) {
        const qint64 lowSub = ceilDiv(qint64(std::ceil(lowS)), chosen->subSeconds);
        const qint64 highSub = floorDiv(qint64(std::floor(highS)), chosen->subSeconds);
        for (qint64 k = lowSub; k <= highSub; ++k) {
            const qint64 s = k * chosen->subSeconds;
            if (s % chosen->seconds != 0)
                result.subTicks.append(double(s) / kSecondsPerDay);
        }
    }
    return result;
}

} // namespace ChartTimeAxis
} // namespace sonvex
