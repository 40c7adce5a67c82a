#pragma once

// Simulated noxTag badges: a measurement generated from a seeded work-shift
// schedule, logged as the badge logs it, and the overall values the badge
// computes from its samples.

#include "sim/SimSampleCodec.h"

#include <QDateTime>
#include <QString>
#include <QVector>

#include <optional>

namespace sonvex {

// The measurement settings of one channel, printed by the Reader as
// "85: 28800: 00: F: 3dB (Q=3) None".
struct SimChannelSettings
{
    int criterionLevel = 85; // dB
    int criterionSeconds = 28800;
    int threshold = 0; // dB; 0 = none
    QChar response = u'F';
    int exchangeRate = 3; // 3, 4 or 5 dB
    QString weighting = QStringLiteral("None");

    QString text() const;
};

// Overall values of one channel.
struct SimChannelResults
{
    double seconds = 0;     // measured time (pauses excluded)
    double leq = 0;         // LAeq
    double lae = 0;         // LAE = LAeq + 10 lg(T / 1 s)
    double lex8h = 0;       // LEX,8h = LAeq + 10 lg(T / 8 h)
    double exposure = 0;    // Pa2h
    double estExposure = 0; // exposure projected to the criterion time
    double doseLeq = 0;     // % from LAeq with the exchange rate's dose scale
    double estDoseLeq = 0;  // the same projected to the criterion time
    double lavg = 0;        // exchange-rate average with the threshold applied
    double twa = 0;         // criterion-time average
    double dose = 0;        // % with the threshold applied
    double estDose = 0;     // the same projected to the criterion time
};

// The standard formulas over logged levels of equal period.
SimChannelResults computeChannelResults(const QVector<double>& levels, double periodSeconds,
                                        const SimChannelSettings& settings);

// Estimated dose in % over the criterion time for a level: 100 * 10^((L - Lc) / k)
// with k = 10 for 3 dB, 13.28771 for 4 dB, 16.60964 for 5 dB.
double simEstimatedDose(int exchangeRate, double criterionLevel, double level);

// One activity of the work shift.
struct SimTask
{
    QString name;
    int minutes = 0;
    double meanLevel = 80; // dB(A)
    double spread = 3;     // standard deviation of the per-period level
    double impulsesPerHour = 0;
    double impulsePeak = 0; // dB(C) of an impulse
};

struct SimShift
{
    QDateTime start; // whole minute, wall clock (UTC)
    int periodSeconds = 60;
    QVector<SimTask> tasks;     // in order, breaks included
    int pauseAfterMinutes = -1; // badge paused after this many measured minutes; -1 = no pause
    int pauseMinutes = 0;
    int overloadSample = -1; // index of the measured sample with an overload; -1 = none
};

struct SimShiftOptions
{
    QDateTime start;
    int periodSeconds = 60; // 60 or 5
    double hours = 8.0;     // measured time
    bool pause = true;
    bool overload = true;
};

// A seeded work-shift schedule: tasks with mean levels and spread, breaks and a
// lunch, impulsive work, a pause and an overload.
SimShift generateShift(quint64 seed, const SimShiftOptions& options);

// One entry of the badge's log, in print order: a time marker or a sample.
struct SimLogEntry
{
    bool marker = false;
    int hour = 0, minute = 0;      // marker time
    qint64 second = 0;             // sample: seconds from the start of the measurement
    quint16 word1 = 0;             // channel 1 (flags included) or the marker word
    quint16 word2 = 0;             // channel 2, or the marker word
    quint16 peakWord = 0;          // peak and battery, or the marker word
    double level1 = 0, level2 = 0; // logged levels as the words decode
    double peak = 0, battery = 0;
    bool peakEvent = false, overload = false;
};

// How the badge's words decode on the Reader that prints them.
struct SimBadgeCoding
{
    bool newGeneration = true;
    bool dualReader = false;
    // Channel 2 printed without its settings: the Reader's threshold channel.
    bool thresholdChannel2 = false;
};

struct SimBadgeSpec
{
    int number = 1;
    QString serial;
    QString modelWord = QStringLiteral("RM:50A");
    QString firmware = QStringLiteral("3.02");
    QDate recalDue;
    SimChannelSettings settings1;
    std::optional<SimChannelSettings> settings2;
    bool calibrated = true;
    double firstCalOffset = 0;
    double lastCalOffset = 0;
    double peakEventLevel = 135.0; // dB(C) that flags a peak event
    SimShiftOptions shift;
};

struct SimMeasurement
{
    SimBadgeSpec spec;
    SimBadgeCoding coding;
    SimShift shift;
    QDateTime resetTime, firstCalTime, lastCalTime;
    qint64 runSeconds = 0;
    QVector<SimLogEntry> log;
    SimChannelResults results1, results2;
    double peakMax = 0;
    int peaks135 = 0, peaks137 = 0, peaks140 = 0; // 135 < p <= 137, p > 137, p > 140
    bool overload = false;
    bool peakEvent = false;
    bool lowBattery = false;
    double finalBattery = 0;
    double lfMaxSeconds = 0; // time with the level at or above 115 dB

    bool hasChannel2() const { return spec.settings2.has_value(); }
    // The decoding of each channel on the printing Reader.
    SimSampleCodec::ChannelCoding coding1() const;
    SimSampleCodec::ChannelCoding coding2() const;
};

// Generates a measurement: the shift, the per-period levels, peaks and battery,
// their words, and the overall values computed from the logged (decoded) levels.
SimMeasurement generateMeasurement(quint64 seed, const SimBadgeSpec& spec, const SimBadgeCoding& coding);

// The same for a schedule planned by hand: its tasks in order, its pause and its
// overload are used as given (spec.shift is not consulted); the seed drives the
// level noise, the impulses and the battery only. The start is taken as a wall
// clock to the whole minute. A schedule without tasks is a badge that was reset
// but never started: it logs nothing and its run time is 0.
SimMeasurement generateMeasurement(quint64 seed, const SimBadgeSpec& spec, const SimBadgeCoding& coding,
                                   SimShift schedule);

// Exchange rate the Reader's decoding assumes for each channel.
int channel1DecodingRate(const SimChannelSettings& s, bool newGeneration);
int channel2DecodingRate(const SimChannelSettings& s, bool thresholdChannel);

} // namespace sonvex
