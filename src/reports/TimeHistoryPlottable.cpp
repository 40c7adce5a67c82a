#include "reports/TimeHistoryPlottable.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace sonvex {

TimeHistoryPlottable::TimeHistoryPlottable(QCPAxis* keyAxis, QCPAxis* valueAxis)
    : QCPAbstractPlottable(keyAxis, valueAxis), m_shadeBrush(QColor(236, 236, 236))
{
    setSelectable(QCP::stNone);
}

void TimeHistoryPlottable::setSeries(const TimeHistorySeries& series)
{
    m_series = series;
    setName(series.title);
}

void TimeHistoryPlottable::setMarkerSize(double halfWidth, double halfHeight)
{
    m_markerHalfWidth = std::max(0.5, halfWidth);
    m_markerHalfHeight = std::max(0.5, halfHeight);
}

std::pair<int, int> TimeHistoryPlottable::visiblePointRange(double lower, double upper) const
{
    const auto& pts = m_series.points;
    const int n = int(pts.size());
    if (n == 0 || upper < lower)
        return {0, 0};
    const auto before = [](const TimeHistoryPoint& p, double t) {
        return p.time < t;
    };
    const auto after = [](double t, const TimeHistoryPoint& p) {
        return t < p.time;
    };
    int first = int(std::lower_bound(pts.cbegin(), pts.cend(), lower, before) - pts.cbegin());
    int last = int(std::upper_bound(pts.cbegin(), pts.cend(), upper, after) - pts.cbegin());
    // One point either side: the segments that cross the edges of the range.
    first = std::max(0, first - 1);
    last = std::min(n, last + 1);
    return {first, last};
}

double TimeHistoryPlottable::selectTest(const QPointF&, bool, QVariant*) const
{
    return -1.0;
}

QCPRange TimeHistoryPlottable::getKeyRange(bool& foundRange, QCP::SignDomain) const
{
    const auto& pts = m_series.points;
    foundRange = !pts.isEmpty();
    if (!foundRange)
        return QCPRange();
    return QCPRange(pts.front().time, pts.back().time);
}

QCPRange TimeHistoryPlottable::getValueRange(bool& foundRange, QCP::SignDomain,
                                             const QCPRange& inKeyRange) const
{
    const auto& pts = m_series.points;
    const bool restrict = inKeyRange != QCPRange();
    double low = 0.0;
    double high = 0.0;
    foundRange = false;
    for (const TimeHistoryPoint& p : pts) {
        if (restrict && !inKeyRange.contains(p.time))
            continue;
        if (m_hasGap && p.colour == m_gapColour)
            continue;
        if (!foundRange) {
            low = high = p.value;
            foundRange = true;
        } else {
            low = std::min(low, p.value);
            high = std::max(high, p.value);
        }
    }
    return QCPRange(low, high);
}

void TimeHistoryPlottable::draw(QCPPainter* painter)
{
    if (!mKeyAxis || !mValueAxis || m_series.points.isEmpty())
        return;
    if (m_series.kind == TimeHistorySeries::Kind::Line) {
        drawSpans(painter);
        drawLine(painter);
    } else {
        drawPoints(painter);
    }
}

void TimeHistoryPlottable::drawSpans(QCPPainter* painter)
{
    if (m_spans.isEmpty())
        return;
    const QCPRange keys = mKeyAxis->range();
    const QRect area = mKeyAxis->axisRect()->rect();
    painter->setPen(Qt::NoPen);
    painter->setBrush(m_shadeBrush);
    for (const Span& s : std::as_const(m_spans)) {
        if (s.to < keys.lower || s.from > keys.upper)
            continue;
        const double x1 = mKeyAxis->coordToPixel(std::max(s.from, keys.lower));
        const double x2 = mKeyAxis->coordToPixel(std::min(s.to, keys.upper));
        painter->drawRect(
            QRectF(QPointF(std::min(x1, x2), area.top()), QPointF(std::max(x1, x2), area.bottom())));
    }
}

// Segments are drawn per colour. A segment that lies within one pixel column only widens that
// column's vertical extent; each column is then drawn as one vertical line. Segments that cross
// columns are drawn as they are. So a day of 5 s samples costs about as much as the chart is
// wide, and what the eye sees is the same.
void TimeHistoryPlottable::drawLine(QCPPainter* painter)
{
    const auto& pts = m_series.points;
    const QCPRange keys = mKeyAxis->range();
    const auto [first, last] = visiblePointRange(keys.lower, keys.upper);
    m_lastVertices = 0;
    if (last - first < 2)
        return;

    const QRect area = mKeyAxis->axisRect()->rect();
    const int left = area.left() - 2;
    const int columns = area.width() + 5;
    struct Layer
    {
        ChartColour colour;
        QVector<double> low;
        QVector<double> high;
        QVector<QLineF> lines;
    };
    QVector<Layer> layers;
    const auto layerOf = [&](const ChartColour& c) -> Layer& {
        for (Layer& l : layers) {
            if (l.colour == c)
                return l;
        }
        layers.append({c,
                       QVector<double>(columns, std::numeric_limits<double>::infinity()),
                       QVector<double>(columns, -std::numeric_limits<double>::infinity()),
                       {}});
        return layers.last();
    };

    QPointF from(mKeyAxis->coordToPixel(pts.at(first).time), mValueAxis->coordToPixel(pts.at(first).value));
    for (int i = first + 1; i < last; ++i) {
        const TimeHistoryPoint& p = pts.at(i);
        const QPointF to(mKeyAxis->coordToPixel(p.time), mValueAxis->coordToPixel(p.value));
        if (!(m_hasGap && p.colour == m_gapColour)) {
            Layer& layer = layerOf(p.colour);
            const int c0 = int(std::floor(from.x())) - left;
            const int c1 = int(std::floor(to.x())) - left;
            if (c0 == c1 && c0 >= 0 && c0 < columns) {
                layer.low[c0] = std::min({layer.low[c0], from.y(), to.y()});
                layer.high[c0] = std::max({layer.high[c0], from.y(), to.y()});
            } else {
                layer.lines.append(QLineF(from, to));
            }
        }
        from = to;
    }

    applyDefaultAntialiasingHint(painter);
    for (Layer& layer : layers) {
        for (int c = 0; c < columns; ++c) {
            if (layer.low[c] > layer.high[c])
                continue;
            const double x = left + c + 0.5;
            // A column whose segments are flat still shows as one pixel.
            layer.lines.append(QLineF(x, layer.low[c], x, std::max(layer.high[c], layer.low[c] + 0.5)));
        }
        QPen pen(toQColor(layer.colour), 1.0);
        pen.setCosmetic(true);
        pen.setCapStyle(Qt::SquareCap);
        painter->setPen(pen);
        painter->drawLines(layer.lines);
        m_lastVertices += int(layer.lines.size()) * 2;
    }
}

void TimeHistoryPlottable::drawPoints(QCPPainter* painter)
{
    const auto& pts = m_series.points;
    const QCPRange keys = mKeyAxis->range();
    const auto [first, last] = visiblePointRange(keys.lower, keys.upper);
    painter->setAntialiasing(true);
    painter->setPen(Qt::NoPen);
    const double w = m_markerHalfWidth;
    const double h = m_markerHalfHeight;
    for (int i = first; i < last; ++i) {
        const TimeHistoryPoint& p = pts.at(i);
        if (!keys.contains(p.time))
            continue;
        const double x = mKeyAxis->coordToPixel(p.time);
        const double y = mValueAxis->coordToPixel(p.value);
        const QPointF diamond[4] = {{x - w, y}, {x, y - h}, {x + w, y}, {x, y + h}};
        painter->setBrush(toQColor(p.colour));
        painter->drawConvexPolygon(diamond, 4);
    }
}

void TimeHistoryPlottable::drawLegendIcon(QCPPainter* painter, const QRectF& rect) const
{
    const QColor colour = toQColor(m_series.colour);
    painter->setAntialiasing(true);
    if (m_series.kind == TimeHistorySeries::Kind::Line) {
        QPen pen(colour, 2.0);
        painter->setPen(pen);
        const double y = rect.center().y();
        painter->drawLine(QLineF(rect.left(), y, rect.right(), y));
        return;
    }
    painter->setPen(Qt::NoPen);
    painter->setBrush(colour);
    const QPointF c = rect.center();
    const double w = std::min(rect.width() / 2.0, m_markerHalfWidth * 1.5);
    const double h = std::min(rect.height() / 2.0, m_markerHalfHeight * 1.5);
    const QPointF diamond[4] = {
        {c.x() - w, c.y()}, {c.x(), c.y() - h}, {c.x() + w, c.y()}, {c.x(), c.y() + h}};
    painter->drawConvexPolygon(diamond, 4);
}

} // namespace sonvex
