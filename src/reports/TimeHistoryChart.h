#pragma once

#include "data/KVTimeHistory.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QRect>
#include <QString>
#include <QVector>

class QCustomPlot;
class QCPItemStraightLine;
class QCPLayer;
class QPainter;

namespace sonvex {

class THChartBinding;
class TimeHistoryPlottable;
class ChartTimeTicker;
class ChartLevelTicker;

// One horizontal marker line of the chart (a level in dB and its colour).
struct ChartMarkerLine
{
    int level = 0;
    QColor colour;
};

// What differs between the chart on screen and the charts on paper.
struct ChartStyle
{
    enum class LegendPlace
    {
        Right,  // beside the plotting area, from near its top
        Bottom, // under the time axis
        None
    };
    LegendPlace legend = LegendPlace::Right;
    QString timeAxisTitle;
    QString levelAxisTitle;
    Qt::PenStyle markerLinePen = Qt::DotLine;
    int fontPointSize = 8;

    // The interactive chart and its picture: "time hh:mm", "Level dB", legend at the right.
    static ChartStyle forScreen();
    // A report's chart: "Time hh:mm", "Level dB", legend at the bottom; marker lines solid on
    // the compact report, dotted on the others.
    static ChartStyle forReport(bool solidMarkerLines);
};

// The chart set-up of the time histories, shared by the interactive chart, the reports and the
// picture export so that screen and paper look the same: a time axis in clock time, a level axis
// in 5 dB steps, light grey grids, a legend with one row per series, the horizontal marker lines,
// the stepped lines with their own segment colours, the peak diamonds, shaded pauses and the two
// cursor lines (drawn on a layer of their own, so moving a cursor does not redraw the series).
class TimeHistoryChart : public QObject
{
    Q_OBJECT
public:
    // Sets up `plot` (not owned) for time histories.
    explicit TimeHistoryChart(QCustomPlot* plot, const ChartStyle& style = ChartStyle::forScreen(),
                              QObject* parent = nullptr);
    // A chart of its own that is never shown (report pages, pictures), `size` pixels large.
    explicit TimeHistoryChart(const ChartStyle& style, const QSize& size = QSize(900, 420),
                              QObject* parent = nullptr);
    ~TimeHistoryChart() override;

    QCustomPlot* plot() const { return m_plot; }
    const ChartStyle& style() const { return m_style; }
    void setStyle(const ChartStyle& style);

    // --- series; the first one added is the chart's first series (time look-ups use it)
    void clear(); // series, cursors, zoom and the attached history
    int addHistory(const TKVTimeHistory& history);
    // Replaces the points of series `index` after the history decoded a new string.
    void updateHistory(int index, const TKVTimeHistory& history);
    int seriesCount() const { return int(m_series.size()); }
    const TimeHistorySeries* series(int index) const;
    void setSeriesVisible(int index, bool visible);
    bool seriesVisible(int index) const;
    // Points of series `index` whose drawing touches the visible time range: [first, last).
    std::pair<int, int> visiblePointRange(int index) const;

    // --- marker lines
    void setMarkerLines(const QList<ChartMarkerLine>& lines);
    QList<ChartMarkerLine> markerLines() const { return m_markerLines; }

    // --- axes
    LevelAxisRange levelRange() const { return m_levelRange; }
    void setLevelRange(const LevelAxisRange& range);
    // Visible level range as drawn (an automatic range resolved to the series' extent).
    std::pair<double, double> visibleLevelRange() const;
    void setTimeRange(double from, double to);
    // Back to the whole extent of the series.
    void setTimeRangeAutomatic();
    bool timeRangeAutomatic() const { return m_timeAutomatic; }
    double visibleFrom() const;
    double visibleTo() const;

    // --- cursor lines (1 or 2)
    void setCursorColour(const QColor& colour);
    void setCursorLine(int cursor, double time, bool shown);
    bool cursorLineShown(int cursor) const;
    double cursorLineTime(int cursor) const;
    // Redraws only the cursor layer: the cheap path while a cursor is dragged.
    void replotCursors();

    // --- the attached history (the one the mouse drives); set by THChartBinding
    THChartBinding* attachedBinding() const { return m_attached; }

    // --- drawing
    // A full redraw now (cursor placement, axis ticks and summaries follow it).
    void replot();
    // A full redraw at the next turn of the event loop; many requests make one redraw.
    void queueReplot();
    // Plotting rectangle in widget pixels.
    QRect plotRect() const;
    double timeAtPixel(double x) const;
    double pixelOfTime(double time) const;
    double pixelOfLevel(double level) const;
    // Draws the chart into `target` of any painter (printer, PDF, picture) with the screen's look,
    // as vectors.
    void render(QPainter* painter, const QRectF& target);
    // The chart as a picture on white, `size` pixels (the chart's own size when empty).
    QImage toImage(const QSize& size = QSize(), double scale = 1.0);

signals:
    // Before every full redraw, with the axis ranges final.
    void aboutToRedraw();
    // After every full redraw.
    void redrawn();
    void mousePressed(const QPointF& pos, Qt::MouseButton button, Qt::MouseButtons buttons);
    void mouseMoved(const QPointF& pos, Qt::MouseButtons buttons);
    void mouseReleased(const QPointF& pos, Qt::MouseButton button);

private:
    friend class THChartBinding;
    void setUp();
    void applyLevelRange();
    void updateTickDensity(int width, int height);
    void setAttached(THChartBinding* binding) { m_attached = binding; }

    QCustomPlot* m_plot = nullptr;
    bool m_ownsPlot = false;
    ChartStyle m_style;
    QList<TimeHistoryPlottable*> m_series;
    QList<QCPItemStraightLine*> m_markerItems;
    QList<ChartMarkerLine> m_markerLines;
    QCPItemStraightLine* m_cursorItems[2] = {nullptr, nullptr};
    double m_cursorTimes[2] = {0.0, 0.0};
    bool m_cursorShown[2] = {false, false};
    QColor m_cursorColour = Qt::red;
    QCPLayer* m_cursorLayer = nullptr;
    LevelAxisRange m_levelRange;
    bool m_timeAutomatic = true;
    THChartBinding* m_attached = nullptr;
    ChartTimeTicker* m_timeTicker = nullptr;
    ChartLevelTicker* m_levelTicker = nullptr;
};

// Pause spans of a history (consecutive pause entries merged), in chart time.
QVector<std::pair<double, double>> pauseSpans(const TKVTimeHistory& history);

// A colour kept as 0x00BBGGRR (the settings' form) as a colour.
QColor colourFromBgr(quint32 bgr);

} // namespace sonvex
