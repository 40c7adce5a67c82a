#include "sim/SimBadge.h"

#include "sim/SimRandom.h"

#include <algorithm>
#include <cmath>

namespace sonvex {

namespace {

constexpr double kReferencePressureSquared = 4e-10; // (20 uPa)^2 in Pa^2
constexpr double kEightHours = 8.0 * 3600.0;

// The shift's activities: name, mean level, spread, impulses per hour, impulse peak.
const SimTask kWorkTasks[] = {
    {QStringLiteral("assembly"), 0, 80.0, 3.0, 0, 0},
    {QStringLiteral("grinding"), 0, 93.0, 4.0, 30, 130.0},
    {QStringLiteral("forklift"), 0, 85.0, 3.0, 0, 0},
    {QStringLiteral("hammering"), 0, 89.0, 5.0, 90, 133.0},
    {QStringLiteral("press shop"), 0, 91.0, 3.0, 40, 131.0},
    {QStringLiteral("inspection"), 0, 76.0, 2.5, 0, 0},
    {QStringLiteral("workshop office"), 0, 66.0, 3.0, 0, 0},
};
const SimTask kBreak = {QStringLiteral("break"), 15, 62.0, 2.0, 0, 0};
const SimTask kLunch = {QStringLiteral("lunch"), 30, 64.0, 2.5, 0, 0};

// Exchange-rate level of a dose ratio: 10 lg x for 3 dB, q log2 x otherwise.
double rateLevel(int rate, double ratio)
{
    return rate == 3 ? 10.0 * std::log10(ratio) : rate * std::log2(ratio);
}

// Dose weight of a level relative to the criterion level.
double rateWeight(int rate, double level, double criterion)
{
    return rate == 3 ? std::pow(10.0, (level - criterion) / 10.0) : std::exp2((level - criterion) / rate);
}

} // namespace

QString SimChannelSettings::text() const
{
    const QString thresholdText = threshold <= 0 ? QStringLiteral("00") : QString::number(threshold);
    return QStringLiteral("%1: %2: %3: %4: %5dB (Q=%5) %6")
        .arg(criterionLevel)
        .arg(criterionSeconds)
        .arg(thresholdText)
        .arg(response)
        .arg(exchangeRate)
        .arg(weighting);
}

double simEstimatedDose(int exchangeRate, double criterionLevel, double level)
{
    const double k = exchangeRate == 4 ? 13.28771 : exchangeRate == 5 ? 16.60964 : 10.0;
    return 100.0 * std::pow(10.0, (level - criterionLevel) / k);
}

SimChannelResults computeChannelResults(const QVector<double>& levels, double period,
                                        const SimChannelSettings& s)
{
    SimChannelResults r;
    if (levels.isEmpty() || period <= 0)
        return r;
    const double n = levels.size();
    const double criterionSeconds = s.criterionSeconds > 0 ? s.criterionSeconds : kEightHours;
    double energy = 0, weight = 0;
    for (double l : levels) {
        energy += std::pow(10.0, l / 10.0);
        if (s.threshold <= 0 || l >= s.threshold)
            weight += rateWeight(s.exchangeRate, l, s.criterionLevel);
    }
    r.seconds = n * period;
    r.leq = 10.0 * std::log10(energy / n);
    r.lae = r.leq + 10.0 * std::log10(r.seconds);
    r.lex8h = r.leq + 10.0 * std::log10(r.seconds / kEightHours);
    r.exposure = kReferencePressureSquared * (period / 3600.0) * energy;
    r.estExposure = r.exposure * criterionSeconds / r.seconds;
    r.estDoseLeq = simEstimatedDose(s.exchangeRate, s.criterionLevel, r.leq);
    r.doseLeq = r.estDoseLeq * r.seconds / criterionSeconds;
    r.dose = 100.0 * period / criterionSeconds * weight;
    r.estDose = r.dose * criterionSeconds / r.seconds;
    if (r.dose > 0) {
        r.lavg =
            s.criterionLevel + rateLevel(s.exchangeRate, r.dose * criterionSeconds / (100.0 * r.seconds));
        r.twa = s.criterionLevel + rateLevel(s.exchangeRate, r.dose / 100.0);
    }
    return r;
}

SimShift generateShift(quint64 seed, const SimShiftOptions& options)
{
    SimRandom rng(seed);
    SimShift shift;
    shift.periodSeconds = options.periodSeconds > 0 ? options.periodSeconds : 60;
    // The badge's clock is a wall clock: kept in UTC, so that no daylight-saving
    // rule of the computer's time zone shifts its hours.
    const QDateTime given =
        options.start.isValid() ? options.start : QDateTime(QDate(2009, 3, 12), QTime(8, 0));
    shift.start = QDateTime(given.date(), QTime(given.time().hour(), given.time().minute()), Qt::UTC);

    const int total = std::max(1, int(std::lround(options.hours * 60.0)));
    int planned = 0, sinceBreak = 0;
    bool lunchTaken = false;
    while (planned < total) {
        SimTask task;
        if (sinceBreak >= rng.between(100, 130)) {
            task = (!lunchTaken && planned >= 180) ? kLunch : kBreak;
            lunchTaken = lunchTaken || planned >= 180;
            sinceBreak = 0;
        } else {
            task = kWorkTasks[rng.between(0, int(std::size(kWorkTasks)) - 1)];
            task.minutes = rng.between(20, 90);
            task.meanLevel += rng.uniform(-2.0, 2.0);
            sinceBreak += task.minutes;
        }
        task.minutes = std::min(task.minutes, total - planned);
        planned += task.minutes;
        shift.tasks.append(task);
    }

    if (options.pause && total >= 60) {
        shift.pauseAfterMinutes = rng.between(total / 4, 3 * total / 4);
        shift.pauseMinutes = rng.between(10, 40);
    }
    if (options.overload) {
        // In the loudest task, somewhere in its middle.
        int minute = 0, loudestStart = 0, loudestMinutes = 1;
        double loudest = -1;
        for (const SimTask& t : shift.tasks) {
            if (t.meanLevel > loudest) {
                loudest = t.meanLevel;
                loudestStart = minute;
                loudestMinutes = t.minutes;
            }
            minute += t.minutes;
        }
        const int perMinute = std::max(1, 60 / shift.periodSeconds);
        shift.overloadSample = (loudestStart + rng.between(0, std::max(0, loudestMinutes - 1))) * perMinute;
    }
    return shift;
}

int channel1DecodingRate(const SimChannelSettings& s, bool newGeneration)
{
    if (s.exchangeRate == 5 && newGeneration)
        return 5;
    return s.exchangeRate == 4 ? 4 : 3;
}

int channel2DecodingRate(const SimChannelSettings& s, bool thresholdChannel)
{
    if (thresholdChannel || s.exchangeRate == 5)
        return 5;
    return s.exchangeRate == 4 ? 4 : 3;
}

SimSampleCodec::ChannelCoding SimMeasurement::coding1() const
{
    SimSampleCodec::ChannelCoding c;
    c.period = shift.periodSeconds;
    c.q = channel1DecodingRate(spec.settings1, coding.newGeneration);
    c.calOffset = spec.calibrated ? spec.firstCalOffset : 0.0;
    c.dual = coding.dualReader;
    return c;
}

SimSampleCodec::ChannelCoding SimMeasurement::coding2() const
{
    SimSampleCodec::ChannelCoding c = coding1();
    c.q = spec.settings2 ? channel2DecodingRate(*spec.settings2, coding.thresholdChannel2) : 3;
    return c;
}

SimMeasurement generateMeasurement(quint64 seed, const SimBadgeSpec& spec, const SimBadgeCoding& coding)
{
    return generateMeasurement(seed, spec, coding, generateShift(seed, spec.shift));
}

SimMeasurement generateMeasurement(quint64 seed, const SimBadgeSpec& spec, const SimBadgeCoding& coding,
                                   SimShift schedule)
{
    using namespace SimSampleCodec;
    SimMeasurement m;
    m.spec = spec;
    m.coding = coding;
    if (schedule.periodSeconds <= 0)
        schedule.periodSeconds = 60;
    const QDateTime given =
        schedule.start.isValid() ? schedule.start : QDateTime(QDate(2009, 3, 12), QTime(8, 0));
    schedule.start = QDateTime(given.date(), QTime(given.time().hour(), given.time().minute()), Qt::UTC);
    m.shift = std::move(schedule);
    SimRandom rng(seed ^ 0x9E3779B97F4A7C15ull);

    const ChannelCoding c1 = m.coding1();
    const ChannelCoding c2 = m.coding2();
    const double cal = c1.calOffset;
    const int period = m.shift.periodSeconds;
    const int perMinute = std::max(1, 60 / period);

    // Task of every measured minute.
    QVector<const SimTask*> minuteTask;
    for (const SimTask& t : std::as_const(m.shift.tasks)) {
        for (int k = 0; k < t.minutes; ++k)
            minuteTask.append(&t);
    }
    const int samples = int(minuteTask.size()) * perMinute;
    const int pauseAt = m.shift.pauseAfterMinutes >= 0 ? m.shift.pauseAfterMinutes * perMinute : -1;
    const QDateTime start = m.shift.start;
    const int startOfDay = start.time().msecsSinceStartOfDay() / 1000;

    auto marker = [&m](const QDateTime& at) {
        SimLogEntry e;
        e.marker = true;
        e.hour = at.time().hour();
        e.minute = at.time().minute();
        e.word1 = e.word2 = e.peakWord = markerWord(e.hour, e.minute);
        m.log.append(e);
    };

    marker(start);
    m.finalBattery = 4.05; // a badge that logs nothing keeps its charge
    qint64 t = 0;          // wall-clock seconds from the start
    double x1 = 0, x2 = 0;
    QVector<double> levels1, levels2;
    levels1.reserve(samples);
    for (int i = 0; i < samples; ++i) {
        if (i == pauseAt && m.shift.pauseMinutes > 0) {
            t += m.shift.pauseMinutes * 60;
            marker(start.addSecs(t));
        } else if (i > 0 && (startOfDay + t) % 3600 == 0) {
            marker(start.addSecs(t));
        }
        const SimTask& task = *minuteTask.at(i / perMinute);
        // Slowly varying level: first-order autoregressive noise around the task mean.
        x1 = 0.85 * x1 + 0.5268 * rng.normal();
        x2 = 0.85 * x2 + 0.5268 * rng.normal();
        SimLogEntry e;
        e.second = t;
        e.overload = i == m.shift.overloadSample;
        double wanted = std::clamp(task.meanLevel + task.spread * x1, 40.0, 150.0);
        double peak = wanted + 13.0 + 2.0 * std::abs(rng.normal());
        if (rng.poisson(task.impulsesPerHour * period / 3600.0) > 0)
            peak = std::max(peak, task.impulsePeak + 2.5 * rng.normal());
        // An overload: a blow beyond the badge's range, near the top of the peak
        // scale; a short sample period catches it above the maximum-level limit.
        if (e.overload) {
            wanted = period <= 10 ? std::max(wanted + 6.0, 115.5) : wanted + 6.0;
            peak = 141.0 + std::abs(rng.normal());
        }
        peak = std::clamp(peak, 84.0, 144.0);
        const double hoursSoFar = i * double(period) / 3600.0;
        const double volts =
            4.05 - 0.025 * hoursSoFar - 0.1 * std::max(0.0, hoursSoFar - 20.0) + 0.01 * rng.normal();

        e.peakWord = encodePeak(peak, volts, cal);
        e.peak = peakLevel(e.peakWord, cal);
        e.battery = batteryVolts(e.peakWord);
        e.peakEvent = e.peak >= spec.peakEventLevel;
        e.word1 = encodeLevel(wanted, c1);
        e.level1 = level(e.word1, c1);
        if (e.peakEvent)
            e.word1 |= kPeakFlag;
        if (e.overload)
            e.word1 |= kOverloadFlag;
        levels1.append(e.level1);
        if (m.hasChannel2()) {
            const double wanted2 = wanted + 1.5 + 0.6 * x2;
            e.word2 = encodeLevel(wanted2, c2);
            e.level2 = level(e.word2, c2);
            if (e.overload)
                e.word2 |= kOverloadFlag;
            levels2.append(e.level2);
        }
        m.log.append(e);

        m.peakMax = std::max(m.peakMax, e.peak);
        if (e.peak > 137.0)
            ++m.peaks137;
        else if (e.peak > 135.0)
            ++m.peaks135;
        if (e.peak > 140.0)
            ++m.peaks140;
        m.overload = m.overload || e.overload;
        m.peakEvent = m.peakEvent || e.peakEvent;
        if (e.level1 >= 115.0)
            m.lfMaxSeconds += period;
        m.finalBattery = e.battery;
        t += period;
    }
    m.runSeconds = qint64(samples) * period;
    m.lowBattery = m.finalBattery < 3.5;
    m.results1 = computeChannelResults(levels1, period, spec.settings1);
    if (m.hasChannel2())
        m.results2 = computeChannelResults(levels2, period, *spec.settings2);

    m.resetTime = start.addSecs(-60 * rng.between(2, 15));
    m.firstCalTime = m.resetTime.addSecs(-60 * rng.between(1, 5));
    m.lastCalTime = start.addSecs(t + 60 * rng.between(2, 10));
    return m;
}

} // namespace sonvex
