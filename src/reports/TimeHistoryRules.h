#pragma once

// The rules the time-history chart of the data view and the report charts share, as plain
// functions: which strings a record's histories come from, the run time in seconds, peak counts,
// label texts, the whole-run level and the per-sample table.

#include "data/KVTimeHistory.h"
#include "reports/TimeHistoryChart.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

namespace sonvex {

class SettingsStore;

// The histories of one measurement, as time-history strings (empty when absent).
struct TimeHistoryStrings
{
    QString channel1;
    QString peak;
    QString battery; // only a download line carries it
    QString channel2;
    bool fromDownloadLine = false;
};

// The per-sample table: row 0 the headings, row 1 empty, sample i of each history in row i + 2.
struct TimeHistorySampleTable
{
    static constexpr int kColumns = 6;
    QVector<QStringList> rows; // every row has kColumns cells

    int rowCount() const { return int(rows.size()); }
    QString cell(int row, int column) const;
    // The battery column's last row (the final battery voltage); empty when there is none.
    QString lastBatteryText() const;
};

namespace THRules {

// A run time "hh:nn:ss" (two hour digits: the first ":" is the third character) or "hhh:nn:ss"
// in seconds; each part that is not a number counts as 0. -1 when the text has no ":" at all.
int runTimeToSeconds(const QString& runTime);

// From the download line when it holds "timehistory" (any case): the tab-separated items from
// there on are channel 1, peak, battery and channel 2. Otherwise from the record's fields when
// its channel-1 string is not empty (no battery history then).
TimeHistoryStrings chooseStrings(const QString& downloadLine, const QString& recordChannel1,
                                 const QString& recordPeak, const QString& recordChannel2);

struct PeakCounts
{
    int peak135 = 0; // above 135 dB up to 137 dB
    int peak137 = 0; // above 137 dB
    int peak140 = 0; // nothing counts peaks above 140 dB: always 0
};
// Over every sample of a peak history: its value (0 when unreadable or a pause).
PeakCounts countPeaks(const TKVTimeHistory& peakHistory);

// The series title up to and including its first blank; empty when it has none.
QString seriesPrefix(const QString& title);
// prefix + " " + a cursor value text, with " dB" unless the text marks underrange or a pause
// (it contains "U" or "p").
QString cursorValueLabel(const QString& prefix, const QString& valueText);
// "Peak " + the peak history's cursor value text, with " dB" under the same rule.
QString peakCursorLabel(const QString& valueText);
// prefix + " " + a level text + " dB".
QString levelLabel(const QString& prefix, const QString& levelText);

// What the whole-run rule needs of the record.
struct WholeRunValues
{
    QString lavgText;     // the instrument's Lavg text
    QString leqText;      // the instrument's LAeq text
    QString exchangeRate; // the exchange-rate setting text
    QString runTime;      // the run time text
};
// The level text between the cursors. When the cursors hold every sample (nothing is outside
// them) of a run of at most 24 hours, the instrument's own overall value replaces the time
// history's: its Lavg for a "Lavg" series, its LAeq for a "LAeq" series with a 3 dB exchange rate.
// A record without that value ("---" or empty) keeps the history's level.
QString levelBetweenText(const QString& prefix, const SummaryTexts& summary, const WholeRunValues& values);

// The per-sample table of up to four histories (any may be null). `channel1Heading` is the
// channel-1 series title; with a channel-2 history the channel headings become
// "LAeq Value dB Channel 1" and "LAeq Value dB Channel 2". The peak column is filled only
// when `fillPeak` is set.
TimeHistorySampleTable buildSampleTable(const TKVTimeHistory* channel1, const TKVTimeHistory* peak,
                                        const TKVTimeHistory* battery, const TKVTimeHistory* channel2,
                                        const QString& channel1Heading, bool fillPeak);

// Chart times as the record's date-time fields keep them: days from 30 December 1899, so that a
// chart time of 0.5 is noon of that day. A null value is chart time 0 (no cursor placed).
QDateTime dateTimeOfChartTime(double time);
double chartTimeOf(const QVariant& dateTime);

// The marker lines switched on in the settings.
QList<ChartMarkerLine> markerLines(const SettingsStore& store);

} // namespace THRules
} // namespace sonvex
