#pragma once

#include <QDateTime>
#include <QList>
#include <QLocale>
#include <QObject>
#include <QString>
#include <QStringView>

#include <vector>

namespace sonvex {

// An RGB colour as plain numbers (this library has no GUI types).
struct ChartColour
{
    quint8 red = 0;
    quint8 green = 0;
    quint8 blue = 0;
    friend constexpr bool operator==(ChartColour, ChartColour) = default;
};

struct TimeHistoryColours
{
    ChartColour normalLine;
    ChartColour cursor;
    ChartColour series;
    ChartColour peak;
    ChartColour overload;
    ChartColour peakAndOverload;
    // Colour of the points that draw a pause: the chart's background; a history without a
    // chart uses the button-face colour.
    ChartColour pause;

    static constexpr ChartColour kBlack{0, 0, 0};
    static constexpr ChartColour kBlue{0, 0, 255};
    static constexpr ChartColour kRed{255, 0, 0};
    static constexpr ChartColour kOrange{255, 128, 0};
    static constexpr ChartColour kWhite{255, 255, 255};
    static constexpr ChartColour kButtonFace{240, 240, 240};
};

// One point of the plotted series. On a line series the segment that ends at a point
// is drawn in that point's colour.
struct TimeHistoryPoint
{
    double time = 0.0; // chart time: days from midnight of the start day
    double value = 0.0;
    ChartColour colour;
};

struct TimeHistorySeries
{
    enum class Kind
    {
        Line,
        Points
    };
    Kind kind = Kind::Line;
    QString title;
    ChartColour colour;
    QList<TimeHistoryPoint> points;
    // Marker of a point series: a diamond this wide and high in pixels, without outline.
    static constexpr int kMarkerWidth = 3;
    static constexpr int kMarkerHeight = 2;
    // Lowest and highest Y of the points (0 and 0 for an empty series).
    double minValue() const;
    double maxValue() const;
};

// Range of the level (Y) axis as numbers: the chart view applies it.
struct LevelAxisRange
{
    bool automatic = true;
    double minimum = 0.0;
    double maximum = 0.0;
    friend bool operator==(const LevelAxisRange&, const LevelAxisRange&) = default;
};

// Time formats in Qt's notation; the long format carries no time-zone field.
struct TimeFormats
{
    QString shortTime;
    QString longTime;
    static TimeFormats fromLocale(const QLocale& locale);
};

struct CursorTexts
{
    QString cursor1Time = QStringLiteral("---");
    QString cursor2Time = QStringLiteral("---");
    QString cursor1Value = QStringLiteral("---");
    QString cursor2Value = QStringLiteral("---");
};

struct SummaryTexts
{
    QString durationBetween = QStringLiteral("---");
    QString durationOutside = QStringLiteral("---");
    QString levelBetween = QStringLiteral("---");
    QString levelOutside = QStringLiteral("---");
};

// The result of one summary over a pair of cursors, before it is stored.
struct CursorSummary
{
    struct Side
    {
        int count = 0;       // samples (pauses excluded)
        double level = -1.0; // rounded to a tenth; -1 when count is 0
        QString levelText = QStringLiteral("---");
        QString durationText = QStringLiteral("---");
    };
    bool valid = false; // false: an item could not be read, nothing is reported
    int index1 = 0;     // first and last sample index between the cursors
    int index2 = 0;
    Side between;
    Side outside;
    double lowestBetween = 9999.0;
    double highestBetween = -9999.0;
};

// The numbers a cursor panel shows for a span of a time history.
struct TimeHistorySpan
{
    double from = 0.0; // chart times of cursor 1 and cursor 2
    double to = 0.0;
    CursorTexts cursorTexts;
    SummaryTexts summaryTexts;
    double levelBetween = -1.0; // -1 when not computed
    double levelOutside = -1.0;
    double highestBetween = 0.0;
};

// Decodes one logged channel (a time-history string) into a list of samples, answers
// per-sample questions and computes the values between and outside two cursors.
// It also builds the plotted series as plain data and computes the level-axis ranges;
// the chart view draws them.
//
// Events are Qt signals: cursorTextsChanged (OnCursorTexts), summaryChanged (OnSummary)
// and cursorMoved (OnCursor). Times are chart times: fractions of a day from midnight of
// the start day, never converted through a time zone.
class TKVTimeHistory : public QObject
{
    Q_OBJECT

public:
    // A history without a chart (the battery history): every setting is zero.
    explicit TKVTimeHistory(QObject* parent = nullptr);
    // A chart-bound history with the chart defaults (underrange 70, axis mode 1, blue line,
    // red cursor, black series, red peak and overload, orange peak-and-overload, white pauses).
    TKVTimeHistory(bool isMainChannel, bool cursorsEnabled, QObject* parent = nullptr);

    // Decodes `text`; the chart view rescales its level axis afterwards (scaleLevelAxis).
    void setData(const QString& text);
    const QString& sourceString() const { return m_source; }

    // --- samples
    int sampleCount() const { return static_cast<int>(m_entries.size()); }
    double sampleTime(int i) const;          // chart time of entry i (0 out of range)
    QString sampleKey(int i) const;          // key text of entry i, e.g. "0.3750000000"
    QString sampleItem(int i) const;         // item with flags, "pause" for a pause
    QString sampleEntry(int i) const;        // key "=" item
    QString sampleTimeText(int i) const;     // the entry's time in the short time format; empty out of range
    QString sampleValueText(int i) const;    // item without its flags; empty for a pause
    QString samplePeakFlag(int i) const;     // "P " or empty
    QString samplePauseFlag(int i) const;    // "pause " or empty
    QString sampleOverloadFlag(int i) const; // "O " or empty

    // Key text of chart time t (the key of an entry is keyText(t + 0.00000000001)).
    static QString keyText(double t);
    static constexpr double kKeyOffset = 0.00000000001;

    // --- decoded header
    int samplePeriod() const { return m_samplePeriod; }
    QDateTime startDateTime() const { return m_startDateTime; } // invalid when the date is invalid
    double startTime() const { return m_startTime; }            // chart time of the first sample
    const QString& seriesTitle() const { return m_series.title; }
    void setSeriesTitle(const QString& title) { m_series.title = title; }
    const QString& exchangeRateItem() const { return m_rateItem; }
    const TimeHistorySeries& series() const { return m_series; }

    // --- settings
    bool hasChart() const { return m_hasChart; }
    bool isMainChannel() const { return m_isMainChannel; }
    bool cursorsEnabled() const { return m_cursorsEnabled; }
    int underrangeLevel() const { return m_underrangeLevel; }
    void setUnderrangeLevel(int level) { m_underrangeLevel = level; }
    double exchangeRate() const { return m_exchangeRate; }
    void setExchangeRate(double q) { m_exchangeRate = q; }
    const TimeHistoryColours& colours() const { return m_colours; }
    void setColours(const TimeHistoryColours& colours) { m_colours = colours; }
    const TimeFormats& timeFormats() const { return m_timeFormats; }
    void setTimeFormats(const TimeFormats& formats) { m_timeFormats = formats; }

    // --- cursors and summary
    double cursor1() const { return m_cursor1; }
    double cursor2() const { return m_cursor2; }
    void setCursor1(double time);
    void setCursor2(double time);
    int activeCursor() const { return m_activeCursor; }
    void setActiveCursor(int cursor) { m_activeCursor = cursor == 2 ? 2 : 1; }
    bool summarySuspended() const { return m_summarySuspended; }
    const CursorTexts& cursorTexts() const { return m_cursorTexts; }
    const SummaryTexts& summaryTexts() const { return m_summaryTexts; }
    double levelBetween() const { return m_levelBetween; }
    double levelOutside() const { return m_levelOutside; }
    double lowestBetween() const { return m_lowestBetween; }
    double highestBetween() const { return m_highestBetween; }
    double highestValueBetween() const { return m_highestValueBetween; }

    // Rebuilds the cursor texts and raises cursorTextsChanged.
    void updateCursorTexts();
    // Stores both cursors and rebuilds the cursor texts without raising anything.
    void setCursorsAndTexts(double cursor1, double cursor2);
    void computeSummary(bool compute);
    void computeMaxBetweenCursors();
    double levelFromSum(int count, double sum) const;
    // Sample at chart time x: 5 s steps when the period is 5 s, whole minutes otherwise.
    // Outside the recording: false, with index 0 before the first sample and the last index
    // after the last one; an empty history leaves index unchanged.
    bool indexOfTime(double x, int& index) const;
    // Raises cursorMoved.
    void cursorEvent(int cursorNumber, int sampleIndex);

    // Pure forms of the above for any pair of cursors (nothing is stored or raised).
    CursorTexts cursorTextsFor(double cursor1, double cursor2) const;
    CursorSummary summaryFor(double cursor1, double cursor2) const;
    // Highest value between the cursors; false when an item between them cannot be read.
    bool maxBetween(double cursor1, double cursor2, double& highest) const;
    TimeHistorySpan spanFor(double cursor1, double cursor2) const;
    // The span the chart shows when no cursor is placed: one second after the first plotted
    // point to one second before the last.
    TimeHistorySpan spanForWholeRecording() const;
    // Chart time of a clock time "hh:mm" or "hh:mm:ss" within this recording: the clock time
    // on the start day, or on the next day when it is earlier than the start time of day.
    bool chartTimeOfClock(QStringView clock, double& time) const;

    // --- files
    bool exportLeqFile(const QString& fileName) const;
    // The source string moved to a new start; the unchanged source when anything fails.
    QString reviseTimestamps(const QDateTime& newStart) const;

    // --- chart binding: numbers only
    int axisMode() const { return m_axisMode; }
    void setAxisMode(int mode) { m_axisMode = mode; }
    bool chartEventsAttached() const { return m_chartEventsAttached; }
    void setChartEventsAttached(bool attached) { m_chartEventsAttached = attached; }
    // New level-axis range after decoding or a mode change; `current` is the axis as it is
    // (another history only widens it). Mode 0 leaves the axis automatic, reporting the series'
    // extremes; mode 1 rounds them out to multiples of 5; mode 2 (main history) runs from the
    // underrange level to 144.9. The main history never lets the axis start below its underrange
    // level (the range then becomes manual). Unchanged without a chart or before setData.
    LevelAxisRange scaleLevelAxis(const LevelAxisRange& current) const;
    // New level-axis range after zooming to the cursors: mode 1 on the lowest and highest level
    // between them, underrange level + 5 as the least maximum; underrange..145 when there is no
    // summary; unchanged in mode 2.
    LevelAxisRange scaleLevelAxisToCursors(const LevelAxisRange& current) const;
    // Cursor a click at `time` moves: 2 when it is at least as near as cursor 1.
    int nearerCursor(double time) const;
    // Places a cursor that is still 0: cursor 1 one second after `firstVisible`,
    // cursor 2 one second before `lastVisible`.
    void placeUnplacedCursors(double firstVisible, double lastVisible);

signals:
    void cursorTextsChanged(sonvex::TKVTimeHistory* history);
    void summaryChanged(sonvex::TKVTimeHistory* history);
    void cursorMoved(sonvex::TKVTimeHistory* history, int cursorNumber, int sampleIndex);

private:
    enum Flag : quint8
    {
        Pause = 1,      // item, lower-cased, is "pause"
        Unreadable = 2, // item without its first "P" and "O" is not a number
        HasP = 4,       // item contains "P"
        HasO = 8,       // item contains "O"
    };
    struct Entry
    {
        qsizetype itemStart; // into m_source; -1 for an inserted pause
        qint32 itemLength;
        quint8 flags;
        double level; // item without its first "P" and "O" read as a number, 0 when unreadable
    };

    QStringView itemView(int i) const;
    const std::vector<double>& termsFor(bool energy, double q) const;
    bool energyAveraging() const;
    LevelAxisRange rangeFrom(double lowest, double highest, const LevelAxisRange& current) const;

    QString m_source;
    std::vector<Entry> m_entries;
    bool m_anyUnreadable = false;
    int m_samplePeriod = 0;
    double m_periodDays = 0.0;
    double m_startTime = 0.0;
    QDateTime m_startDateTime;
    QString m_rateItem;
    TimeHistorySeries m_series;
    bool m_seriesCreated = false; // setData has run

    bool m_hasChart = false;
    bool m_isMainChannel = false;
    bool m_cursorsEnabled = false;
    int m_underrangeLevel = 0;
    double m_exchangeRate = 0.0;
    TimeHistoryColours m_colours;
    TimeFormats m_timeFormats;
    int m_axisMode = 0;
    bool m_chartEventsAttached = false;

    double m_cursor1 = 0.0;
    double m_cursor2 = 0.0;
    int m_activeCursor = 1;
    bool m_summarySuspended = false;
    CursorTexts m_cursorTexts;
    SummaryTexts m_summaryTexts;
    double m_levelBetween = -1.0;
    double m_levelOutside = -1.0;
    double m_lowestBetween = 9999.0;
    double m_highestBetween = -9999.0;
    double m_highestValueBetween = 0.0;

    // Averaging terms per entry for the last mode used (pauses hold 0).
    mutable std::vector<double> m_terms;
    mutable bool m_termsEnergy = false;
    mutable double m_termsQ = -1.0;
    mutable bool m_termsValid = false;
};

} // namespace sonvex
