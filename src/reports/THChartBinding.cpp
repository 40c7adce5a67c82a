#include "reports/THChartBinding.h"

#include "data/KVTimeHistory.h"
#include "reports/TimeHistoryChart.h"

#include <algorithm>
#include <cmath>

namespace sonvex {

namespace {

constexpr double kTieDays = 1e-6 / 86400.0;
// A time looked up among the points matches a point less than a microsecond before it.
constexpr double kLookupDays = 1e-6 / 86400.0;

QColor colourOf(const ChartColour& c)
{
    return QColor(c.red, c.green, c.blue);
}

} // namespace

THChartBinding::THChartBinding(TKVTimeHistory* history, TimeHistoryChart* chart, QObject* parent)
    : QObject(parent), m_history(history), m_chart(chart)
{
    if (!m_chart || !m_history)
        return;
    if (m_history->isMainChannel()) {
        if (THChartBinding* previous = m_chart->attachedBinding())
            previous->attachChartEvents(false);
        m_chart->clear();
    }
    m_series = m_chart->addHistory(*m_history);
    m_chart->setCursorColour(colourOf(m_history->colours().cursor));
    if (m_history->isMainChannel())
        attachChartEvents(true);
}

THChartBinding::~THChartBinding()
{
    attachChartEvents(false);
}

void THChartBinding::setData(const QString& text)
{
    if (!m_history)
        return;
    m_history->setData(text);
    if (!m_chart)
        return;
    m_chart->updateHistory(m_series, *m_history);
    scaleLevelAxis();
}

void THChartBinding::setSeriesVisible(bool visible)
{
    if (m_chart)
        m_chart->setSeriesVisible(m_series, visible);
}

void THChartBinding::setAxisMode(int mode)
{
    if (!m_history)
        return;
    m_history->setAxisMode(mode);
    scaleLevelAxis();
}

bool THChartBinding::chartEventsAttached() const
{
    return m_history && m_history->chartEventsAttached();
}

void THChartBinding::attachChartEvents(bool on)
{
    for (QMetaObject::Connection& c : m_connections) {
        QObject::disconnect(c);
        c = {};
    }
    if (m_history)
        m_history->setChartEventsAttached(false);
    if (!m_chart)
        return;
    if (m_chart->attachedBinding() == this) {
        m_chart->setAttached(nullptr);
        m_chart->setCursorLine(1, 0.0, false);
        m_chart->setCursorLine(2, 0.0, false);
    }
    if (!on || !m_history)
        return;
    if (THChartBinding* previous = m_chart->attachedBinding(); previous && previous != this)
        previous->attachChartEvents(false);
    m_chart->setAttached(this);
    m_history->setChartEventsAttached(true);
    TimeHistoryChart* c = m_chart;
    m_connections[0] =
        connect(c, &TimeHistoryChart::aboutToRedraw, this, &THChartBinding::chartAboutToRedraw);
    m_connections[1] = connect(c, &TimeHistoryChart::redrawn, this, &THChartBinding::chartRedrawn);
    m_connections[2] = connect(c, &TimeHistoryChart::mousePressed, this, &THChartBinding::mouseDown);
    m_connections[3] = connect(c, &TimeHistoryChart::mouseMoved, this, &THChartBinding::mouseMove);
    m_connections[4] = connect(c, &TimeHistoryChart::mouseReleased, this, &THChartBinding::mouseUp);
    m_chart->setCursorColour(colourOf(m_history->colours().cursor));
}

void THChartBinding::scaleLevelAxis()
{
    if (!m_chart || !m_history || m_chart->seriesCount() == 0)
        return;
    m_chart->setLevelRange(m_history->scaleLevelAxis(m_chart->levelRange()));
    m_chart->queueReplot();
}

void THChartBinding::scaleLevelAxisToCursors()
{
    if (!m_chart || !m_history)
        return;
    m_chart->setLevelRange(m_history->scaleLevelAxisToCursors(m_chart->levelRange()));
    m_chart->queueReplot();
}

void THChartBinding::drawCursorLines()
{
    if (!m_chart || !m_history || !m_history->cursorsEnabled())
        return;
    const double c1 = m_history->cursor1();
    const double c2 = m_history->cursor2();
    m_chart->setCursorLine(1, c1, c1 > 0.0);
    // Two lines at one time read as one.
    m_chart->setCursorLine(2, c2, c2 > 0.0 && c2 != c1);
}

void THChartBinding::zoomToCursors()
{
    if (!m_chart || !m_history)
        return;
    const double c1 = m_history->cursor1();
    const double c2 = m_history->cursor2();
    m_chart->setTimeRange(std::min(c1, c2), std::max(c1, c2));
    scaleLevelAxisToCursors();
}

void THChartBinding::unzoom()
{
    if (!m_chart)
        return;
    m_chart->setTimeRangeAutomatic();
    scaleLevelAxis();
    m_chart->queueReplot();
}

bool THChartBinding::visibleIndexAtOrAfter(double time, int& index) const
{
    index = 0;
    if (!m_chart)
        return false;
    const TimeHistorySeries* s = m_chart->series(0);
    if (!s)
        return false;
    const auto [first, last] = m_chart->visiblePointRange(0);
    const auto begin = s->points.cbegin() + first;
    const auto end = s->points.cbegin() + last;
    const auto it = std::lower_bound(
        begin, end, time, [](const TimeHistoryPoint& p, double t) { return p.time < t - kLookupDays; });
    if (it != end) {
        index = int(it - s->points.cbegin());
        return true;
    }
    index = std::max(0, last - 1);
    return false;
}

bool THChartBinding::indexAtOrAfter(double time, int& index) const
{
    index = 0;
    if (!m_chart)
        return false;
    const TimeHistorySeries* s = m_chart->series(0);
    if (!s || s->points.isEmpty())
        return false;
    const auto it =
        std::lower_bound(s->points.cbegin(), s->points.cend(), time,
                         [](const TimeHistoryPoint& p, double t) { return p.time < t - kLookupDays; });
    if (it != s->points.cend()) {
        index = int(it - s->points.cbegin());
        return true;
    }
    index = int(s->points.size()) - 1;
    return false;
}

void THChartBinding::chartAboutToRedraw()
{
    if (!m_chart || !m_history || !m_history->cursorsEnabled() || m_chart->seriesCount() == 0)
        return;
    const TimeHistorySeries* first = m_chart->series(0);
    const auto [from, to] = m_chart->visiblePointRange(0);
    if (first && to > from)
        m_history->placeUnplacedCursors(first->points.at(from).time, first->points.at(to - 1).time);
    drawCursorLines();
}

void THChartBinding::chartRedrawn()
{
    if (!m_chart || !m_history || !m_history->cursorsEnabled() || m_chart->seriesCount() == 0)
        return;
    // The cursor texts follow the placed cursors, so that the panels and the record read the
    // cursors' times and values before anyone clicks.
    m_history->updateCursorTexts();
    m_history->computeSummary(true);
}

void THChartBinding::moveActiveCursorTo(double time)
{
    const int cursor = m_history->activeCursor();
    if (cursor == 2)
        m_history->setCursorsAndTexts(m_history->cursor1(), time);
    else
        m_history->setCursorsAndTexts(time, m_history->cursor2());
    drawCursorLines();
    m_chart->replotCursors();
    m_history->updateCursorTexts();
    int index = 0;
    if (visibleIndexAtOrAfter(time, index))
        m_history->cursorEvent(cursor, index);
}

void THChartBinding::mouseDown(const QPointF& pos, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    if (!m_chart || !m_history || !m_history->cursorsEnabled())
        return;
    if (button == Qt::RightButton || (buttons & Qt::RightButton))
        return;
    if (!m_chart->plotRect().contains(pos.toPoint()))
        return;
    const double time = m_chart->timeAtPixel(pos.x());
    // The nearer cursor moves; a tie moves cursor 2. Distances that differ by less than a
    // microsecond are a tie: a click half-way between two cursors must not depend on rounding.
    const double d1 = std::fabs(time - m_history->cursor1());
    const double d2 = std::fabs(time - m_history->cursor2());
    m_history->setActiveCursor(d1 >= d2 || std::fabs(d1 - d2) <= kTieDays ? 2 : 1);
    m_dragging = button == Qt::LeftButton;
    moveActiveCursorTo(time);
}

void THChartBinding::mouseMove(const QPointF& pos, Qt::MouseButtons buttons)
{
    if (!m_chart || !m_history || !m_history->cursorsEnabled())
        return;
    if (!(buttons & Qt::LeftButton) || !m_chart->plotRect().contains(pos.toPoint()))
        return;
    // The summary follows the positions so far; the release brings it up to date.
    if (!m_history->summarySuspended())
        m_history->computeSummary(true);
    moveActiveCursorTo(m_chart->timeAtPixel(pos.x()));
}

void THChartBinding::mouseUp(const QPointF&, Qt::MouseButton)
{
    m_dragging = false;
    if (!m_chart || !m_history || !m_history->cursorsEnabled())
        return;
    m_history->computeSummary(true);
}

} // namespace sonvex
