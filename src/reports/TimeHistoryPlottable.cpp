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

// Segments are drawn as polylines of one colour each. Within a polyline, the points that fall
// into one pixel column are merged to four (entry, lowest, highest, exit), so a day of 5 s samples
// costs about as much as the chart is wide; what the eye sees is the same.
void TimeHistoryPlottable::drawLine(QCPPainter* painter)
{
    const auto& pts = m_series.points;
    const QCPRange keys = mKeyAxis->range();
    const auto [first, last] = visiblePointRange(keys.lower, keys.upper);
    m_lastVertices = 0;
    if (last - first < 2)
        return;

    applyDefaultAntialiasingHint(painter);
    QVector<QPointF> run;
    run.reserve(std::min(last - first, 8192));
    ChartColour runColour;
    int columnX = std::numeric_limits<int>::min();
    int columnStart = 0;
    double columnMin = 0.0;
    double columnMax = 0.0;

    const auto pixel = [this](const TimeHistoryPoint& p) {
        return QPointF(mKeyAxis->coordToPixel(p.time), mValueAxis->coordToPixel(p.value));
    };
    const auto flush = [&] {
        if (run.size() >= 2) {
            QPen pen(toQColor(runColour), 1.0);
            pen.setCosmetic(true);
            painter->setPen(pen);
            painter->drawPolyline(run.constData(), int(run.size()));
        }
        m_lastVertices += int(run.size());
        run.clear();
        columnX = std::numeric_limits<int>::min();
    };
    const auto append = [&](const QPointF& p) {
        const int x = int(std::floor(p.x()));
        if (!run.isEmpty() && x == columnX) {
            columnMin = std::min(columnMin, p.y());
            columnMax = std::max(columnMax, p.y());
            if (run.size() - columnStart >= 4) {
                const double entryX = run.at(columnStart).x();
                run.resize(columnStart + 1);
                run.append(QPointF(entryX, columnMin));
                run.append(QPointF(entryX, columnMax));
            }
            run.append(p);
            return;
        }
        columnX = x;
        columnStart = int(run.size());
        columnMin = columnMax = p.y();
        run.append(p);
    };

    for (int i = first + 1; i < last; ++i) {
        const TimeHistoryPoint& to = pts.at(i);
        if (m_hasGap && to.colour == m_gapColour) {
            flush();
            continue;
        }
        if (run.isEmpty() || !(to.colour == runColour)) {
            // A new polyline starts where the previous segment ended.
            const QPointF from = run.isEmpty() ? pixel(pts.at(i - 1)) : run.constLast();
            flush();
            runColour = to.colour;
            append(from);
        }
        append(pixel(to));
    }
    flush();
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
