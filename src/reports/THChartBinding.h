#pragma once

#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QString>

namespace sonvex {

class TKVTimeHistory;
class TimeHistoryChart;

// Binds a time history to a chart: its series on the chart, the level-axis scaling, the two
// cursor lines, zooming to the cursors and, while its chart events are attached, the mouse.
// Only one history drives a chart at a time.
//
// After each full redraw the attached history places a cursor that is still 0 (cursor 1 one
// second after the first visible point, cursor 2 one second before the last), shows the cursor
// lines and computes its summary. A press inside the plotting rectangle moves the nearer cursor
// there (a tie moves cursor 2) and makes it the active cursor; dragging with the left button
// moves the active cursor; the release computes the summary.
class THChartBinding : public QObject
{
    Q_OBJECT
public:
    // A main-channel history takes the chart over: every series is removed, its own series
    // becomes the chart's first one and its chart events are attached.
    THChartBinding(TKVTimeHistory* history, TimeHistoryChart* chart, QObject* parent = nullptr);
    ~THChartBinding() override;

    TKVTimeHistory* history() const { return m_history; }
    TimeHistoryChart* chart() const { return m_chart; }
    int seriesIndex() const { return m_series; }

    // Decodes `text` into the history, puts its series on the chart and rescales the level axis.
    void setData(const QString& text);
    void setSeriesVisible(bool visible);

    void setAxisMode(int mode);
    void attachChartEvents(bool on);
    bool chartEventsAttached() const;
    void scaleLevelAxis();
    void scaleLevelAxisToCursors();
    // Shows the cursor lines at the history's cursor times (cursors that are 0 are not shown).
    void drawCursorLines();
    void zoomToCursors();
    void unzoom();

    // Over the chart's first series: the first visible point whose time is at least `time`.
    // Not found: false, with the last visible index.
    bool visibleIndexAtOrAfter(double time, int& index) const;
    // The same over all its points; not found gives the last index (0 for an empty series).
    bool indexAtOrAfter(double time, int& index) const;

    // --- chart events (the chart calls them while this history is attached)
    void chartAboutToRedraw();
    void chartRedrawn();
    void mouseDown(const QPointF& pos, Qt::MouseButton button, Qt::MouseButtons buttons);
    void mouseMove(const QPointF& pos, Qt::MouseButtons buttons);
    void mouseUp(const QPointF& pos, Qt::MouseButton button);
    // A cursor is being dragged (between a press that moved a cursor and the release).
    bool dragging() const { return m_dragging; }

private:
    void moveActiveCursorTo(double time);

    TKVTimeHistory* m_history = nullptr;
    QPointer<TimeHistoryChart> m_chart;
    int m_series = -1;
    bool m_dragging = false;
    QMetaObject::Connection m_connections[5];
};

} // namespace sonvex
