#include "reports/TimeHistoryRules.h"

#include "data/DateTimeFormats.h"
#include "data/KVTokenizer.h"
#include "data/SettingsStore.h"

#include <QCoreApplication>
#include <QLocale>

#include <algorithm>
#include <cmath>

namespace sonvex {

namespace {

QString trFrame(const char* text)
{
    return QCoreApplication::translate("TFrameTHChart", text);
}

int partOf(const QString& text, int from, int length)
{
    bool ok = false;
    const int v = text.mid(from, length).trimmed().toInt(&ok);
    return ok ? v : 0;
}

// A sample value text read with a point as decimal separator; `ok` false when it is no number.
double valueOf(const QString& text, bool* ok)
{
    return QLocale::c().toDouble(text.trimmed(), ok);
}

// A value cell: "Underrange" below the history's underrange level, empty for a pause.
QString valueCell(const TKVTimeHistory& h, int i)
{
    if (!h.samplePauseFlag(i).isEmpty())
        return QString();
    const QString text = h.sampleValueText(i);
    bool ok = false;
    double v = valueOf(text, &ok);
    if (!ok)
        v = 0.0;
    if (v < h.underrangeLevel())
        return QCoreApplication::translate("sonvex::TKVTimeHistory", "Underrange");
    return text;
}

} // namespace

QString TimeHistorySampleTable::cell(int row, int column) const
{
    if (row < 0 || row >= rows.size() || column < 0 || column >= kColumns)
        return QString();
    return rows.at(row).value(column);
}

QString TimeHistorySampleTable::lastBatteryText() const
{
    return rows.isEmpty() ? QString() : rows.constLast().value(4);
}

namespace THRules {

int runTimeToSeconds(const QString& runTime)
{
    const QString t = runTime.trimmed();
    const qsizetype colon = t.indexOf(u':');
    if (colon < 0)
        return -1;
    if (colon == 2)
        return partOf(t, 0, 2) * 3600 + partOf(t, 3, 2) * 60 + partOf(t, 6, 2);
    return partOf(t, 0, 3) * 3600 + partOf(t, 4, 2) * 60 + partOf(t, 7, 2);
}

TimeHistoryStrings chooseStrings(const QString& downloadLine, const QString& recordChannel1,
                                 const QString& recordPeak, const QString& recordChannel2)
{
    TimeHistoryStrings s;
    const qsizetype at = downloadLine.indexOf(QLatin1StringView("timehistory"), 0, Qt::CaseInsensitive);
    if (at >= 0) {
        TKVTokenizer tokens(downloadLine.mid(at), QStringLiteral("\t"));
        s.channel1 = tokens.nextToken();
        s.peak = tokens.nextToken();
        s.battery = tokens.nextToken();
        s.channel2 = tokens.nextToken();
        s.fromDownloadLine = true;
        return s;
    }
    if (!recordChannel1.isEmpty()) {
        s.channel1 = recordChannel1;
        s.peak = recordPeak;
        s.channel2 = recordChannel2;
    }
    return s;
}

PeakCounts countPeaks(const TKVTimeHistory& peakHistory)
{
    PeakCounts c;
    for (int i = 0; i < peakHistory.sampleCount(); ++i) {
        bool ok = false;
        double v = valueOf(peakHistory.sampleValueText(i), &ok);
        if (!ok)
            v = 0.0;
        if (v > 137.0)
            ++c.peak137;
        else if (v > 135.0)
            ++c.peak135;
    }
    return c;
}

QString seriesPrefix(const QString& title)
{
    const qsizetype blank = title.indexOf(u' ');
    return blank < 0 ? QString() : title.left(blank + 1);
}

QString cursorValueLabel(const QString& prefix, const QString& valueText)
{
    QString label = prefix + QLatin1Char(' ') + valueText;
    if (!valueText.contains(u'U') && !valueText.contains(u'p'))
        label += QLatin1StringView(" dB");
    return label;
}

QString peakCursorLabel(const QString& valueText)
{
    QString label = trFrame("Peak ") + valueText;
    if (!valueText.contains(u'U') && !valueText.contains(u'p'))
        label += QLatin1StringView(" dB");
    return label;
}

QString levelLabel(const QString& prefix, const QString& levelText)
{
    return prefix + QLatin1Char(' ') + levelText + QLatin1StringView(" dB");
}

QString levelBetweenText(const QString& prefix, const SummaryTexts& summary, const WholeRunValues& values)
{
    const bool nothingOutside = summary.durationOutside.contains(QLatin1StringView("---"));
    const int seconds = runTimeToSeconds(values.runTime);
    const bool wholeRun = nothingOutside && seconds <= 86400;
    // The instrument's value replaces the history's only when the instrument gave one: a record
    // that carries no such value ("---", empty) keeps the level worked out from the samples.
    const auto given = [](const QString& text) {
        const QString t = text.trimmed();
        return !t.isEmpty() && !t.contains(QLatin1StringView("---"));
    };
    if (prefix.contains(QLatin1StringView("Lavg"))) {
        if (wholeRun && given(values.lavgText))
            return values.lavgText;
    } else if (prefix.contains(QLatin1StringView("LAeq")) && values.exchangeRate.contains(u'3') && wholeRun &&
               given(values.leqText)) {
        return values.leqText;
    }
    return summary.levelBetween;
}

TimeHistorySampleTable buildSampleTable(const TKVTimeHistory* channel1, const TKVTimeHistory* peak,
                                        const TKVTimeHistory* battery, const TKVTimeHistory* channel2,
                                        const QString& channel1Heading, bool fillPeak)
{
    TimeHistorySampleTable table;
    int longest = 0;
    for (const TKVTimeHistory* h : {channel1, peak, battery, channel2}) {
        if (h)
            longest = std::max(longest, h->sampleCount());
    }
    const int rows = std::max(3, longest + 2);
    table.rows.fill(QStringList(TimeHistorySampleTable::kColumns, QString()), rows);
    QStringList& head = table.rows[0];
    head[0] = trFrame("Time");
    head[1] = channel1Heading;
    head[2] = trFrame("Flags");
    head[3] = trFrame("Peak Value dBC");
    head[4] = trFrame("Battery Volts");
    if (channel2) {
        head[1] = trFrame("LAeq Value dB") + trFrame(" Channel 1");
        head[5] = trFrame("LAeq Value dB") + trFrame(" Channel 2");
    }
    if (channel1) {
        for (int i = 0; i < channel1->sampleCount(); ++i) {
            QStringList& row = table.rows[i + 2];
            row[0] = channel1->sampleTimeText(i);
            row[1] = valueCell(*channel1, i);
            row[2] =
                channel1->samplePeakFlag(i) + channel1->sampleOverloadFlag(i) + channel1->samplePauseFlag(i);
        }
    }
    if (peak && fillPeak) {
        for (int i = 0; i < peak->sampleCount(); ++i)
            table.rows[i + 2][3] = valueCell(*peak, i);
    }
    if (battery) {
        for (int i = 0; i < battery->sampleCount(); ++i)
            table.rows[i + 2][4] = battery->sampleValueText(i);
    }
    if (channel2) {
        for (int i = 0; i < channel2->sampleCount(); ++i)
            table.rows[i + 2][5] = valueCell(*channel2, i);
    }
    return table;
}

QDateTime dateTimeOfChartTime(double time)
{
    if (!std::isfinite(time) || std::fabs(time) > 1e6)
        time = 0.0;
    const QDateTime zero(DateTimeFormats::dayZero(), QTime(0, 0), Qt::UTC);
    return zero.addMSecs(std::llround(time * 86400000.0));
}

double chartTimeOf(const QVariant& dateTime)
{
    if (!dateTime.isValid() || dateTime.isNull())
        return 0.0;
    const QDateTime dt = dateTime.toDateTime();
    if (!dt.isValid())
        return 0.0;
    const qint64 days = DateTimeFormats::dayZero().daysTo(dt.date());
    return double(days) + dt.time().msecsSinceStartOfDay() / 86400000.0;
}

QList<ChartMarkerLine> markerLines(const SettingsStore& store)
{
    QList<ChartMarkerLine> lines;
    for (int line = 1; line <= SettingsStore::kMarkerLineCount; ++line) {
        if (store.markerLineShown(line))
            lines.append({store.markerLineLevel(line), colourFromBgr(store.markerLineColor(line))});
    }
    return lines;
}

} // namespace THRules
} // namespace sonvex
