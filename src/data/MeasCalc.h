#pragma once

#include <QLocale>
#include <QString>

namespace sonvex {

class RecordView;

// The values shown for a badge measurement, worked out from its stored fields.
namespace MeasCalc {

// The over-range mark of doses and exposures: 1.0e38 as a single-precision
// number widened to double (9.9999997e37).
constexpr double kOverRange = double(1.0e38f);
bool isOverRange(double v);

// 100 x 10^((L - criterion) / q), q = 10 (13.28771 for "4", 16.60964 for "5"); 0 on failure.
double EstimatedDose(const QString& exchangeRate, int criterionLevel, double level);

// Run time "hh:nn:ss" or "hhh:nn:ss" in seconds; unreadable parts count as 0.
qint64 runTimeSeconds(const QString& runTime);

struct ChannelSettings
{
    QString critLevel;
    QString critTime;     // whole hours
    QString threshold;    // "None" for "00"
    QString exchangeRate; // "3", "4", "5"
    QString timeWeighting;
    qint64 critSeconds = 0;
};

// Channel 1 settings text: the current form, the older "3:"/"5:" form, ISO/OSHA.
ChannelSettings parseSettings(const QString& text, const QString& noneText);
// Channel 2 settings text (current form only).
ChannelSettings parseSettings2(const QString& text, const QString& noneText);

// "%.1f" of a level; "---" when it shows as zero (null counts as 0).
QString levelText(double v, const QLocale& loc);

struct UserCriterion
{
    int level = 84;
    bool use = false;
};

// Fills every calculated field of a measurement record.
void calculate(RecordView& r, const UserCriterion& ch1, const UserCriterion& ch2, const QString& noneText,
               const QLocale& loc);

} // namespace MeasCalc
} // namespace sonvex
