#pragma once

// The chart's own plottable for a time history: a stepped line whose segments carry their own
// colours, or diamond markers with their own colours. Include only in the chart's own files:
// the plotting library's header is large.

#include "data/KVTimeHistory.h"

#include <qcustomplot.h>

#include <QColor>
#include <QList>
#include <QVector>

namespace sonvex {

class TimeHistoryPlottable : public QCPAbstractPlottable
{
    Q_OBJECT
public:
    struct Span
    {
        double from = 0.0;
        double to = 0.0;
    };

    TimeHistoryPlottable(QCPAxis* keyAxis, QCPAxis* valueAxis);

    // The plotted series of a history (times ascending, as decoding builds them).
    void setSeries(const TimeHistorySeries& series);
    const TimeHistorySeries& series() const { return m_series; }
    // Segments in this colour are not drawn (pauses are drawn in the background colour).
    void setGapColour(const ChartColour& colour)
    {
        m_gapColour = colour;
        m_hasGap = true;
    }
    // Spans shaded behind the line: the pauses of the recording.
    void setShadedSpans(const QVector<Span>& spans) { m_spans = spans; }
    const QVector<Span>& shadedSpans() const { return m_spans; }
    void setShadeBrush(const QBrush& brush) { m_shadeBrush = brush; }
    // Half width and half height of a diamond marker, in pixels.
    void setMarkerSize(double halfWidth, double halfHeight);

    // First and one-past-last point index whose drawing can touch [lower, upper].
    std::pair<int, int> visiblePointRange(double lower, double upper) const;
    // Line ends handed to the painter by the last draw of a line series (after merging the
    // segments that fall into one pixel column); for the benchmarks and tests.
    int lastDrawnVertexCount() const { return m_lastVertices; }

    double selectTest(const QPointF& pos, bool onlySelectable, QVariant* details = nullptr) const override;
    QCPRange getKeyRange(bool& foundRange, QCP::SignDomain inSignDomain = QCP::sdBoth) const override;
    QCPRange getValueRange(bool& foundRange, QCP::SignDomain inSignDomain = QCP::sdBoth,
                           const QCPRange& inKeyRange = QCPRange()) const override;

protected:
    void draw(QCPPainter* painter) override;
    void drawLegendIcon(QCPPainter* painter, const QRectF& rect) const override;

private:
    void drawLine(QCPPainter* painter);
    void drawPoints(QCPPainter* painter);
    void drawSpans(QCPPainter* painter);

    TimeHistorySeries m_series;
    ChartColour m_gapColour;
    bool m_hasGap = false;
    QVector<Span> m_spans;
    QBrush m_shadeBrush;
    double m_markerHalfWidth = 3.0;
    double m_markerHalfHeight = 2.0;
    int m_lastVertices = 0;
};

inline QColor toQColor(const ChartColour& c)
{
    return QColor(c.red, c.green, c.blue);
}

} // namespace sonvex
