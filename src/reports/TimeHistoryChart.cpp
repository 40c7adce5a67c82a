#include "reports/TimeHistoryChart.h"

#include "reports/ChartTimeAxis.h"
#include "reports/TimeHistoryPlottable.h"

#include <QCoreApplication>
#include <QPicture>

#include <algorithm>
#include <cmath>

namespace sonvex {

namespace {

const char* const kCursorLayer = "cursors";
const char* const kMarkerLayer = "markers";
const QColor kGridColour(218, 218, 218);
const QColor kAxisColour(96, 96, 96);
const QColor kTextColour(40, 40, 40);

QString trChart(const char* text)
{
    return QCoreApplication::translate("TimeHistoryChart", text);
}

} // namespace

// Clock-time ticks from the chart-time number; at most one tick per `spacing` pixels.
class ChartTimeTicker : public QCPAxisTicker
{
public:
    void setMaxTicks(int n) { m_maxTicks = std::max(2, n); }
    void generate(const QCPRange& range, const QLocale&, QChar, int, QVector<double>& ticks,
                  QVector<double>* subTicks, QVector<QString>* tickLabels) override
    {
        const ChartTimeTicks t = ChartTimeAxis::ticksFor(range.lower, range.upper, m_maxTicks);
        ticks = t.ticks;
        if (subTicks)
            *subTicks = t.subTicks;
        if (tickLabels)
            *tickLabels = t.labels;
    }

private:
    int m_maxTicks = 10;
};

// Levels in steps of 5 dB; 10 or 20 dB when the axis is too short for 5.
class ChartLevelTicker : public QCPAxisTicker
{
public:
    void setMaxTicks(int n) { m_maxTicks = std::max(2, n); }

protected:
    double getTickStep(const QCPRange& range) override
    {
        for (double step : {5.0, 10.0, 20.0, 50.0}) {
            if (range.size() / step <= m_maxTicks)
                return step;
        }
        return 100.0;
    }
    int getSubTickCount(double step) override { return step <= 5.0 ? 0 : 1; }
    QString getTickLabel(double tick, const QLocale&, QChar, int) override
    {
        return QString::number(tick, 'f', 0);
    }

private:
    int m_maxTicks = 12;
};

ChartStyle ChartStyle::forScreen()
{
    ChartStyle s;
    s.legend = LegendPlace::Right;
    s.timeAxisTitle = trChart("time hh:mm");
    s.levelAxisTitle = trChart("Level dB");
    s.markerLinePen = Qt::DotLine;
    return s;
}

ChartStyle ChartStyle::forReport(bool solidMarkerLines)
{
    ChartStyle s;
    s.legend = LegendPlace::Bottom;
    s.timeAxisTitle = trChart("Time hh:mm");
    s.levelAxisTitle = trChart("Level dB");
    s.markerLinePen = solidMarkerLines ? Qt::SolidLine : Qt::DotLine;
    return s;
}

QColor colourFromBgr(quint32 bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

QVector<std::pair<double, double>> pauseSpans(const TKVTimeHistory& history)
{
    QVector<std::pair<double, double>> spans;
    const double period = history.samplePeriod() / 86400.0;
    for (int i = 0; i < history.sampleCount(); ++i) {
        if (history.samplePauseFlag(i).isEmpty())
            continue;
        const double from = history.sampleTime(i);
        const double to = from + period;
        if (!spans.isEmpty() && std::fabs(spans.back().second - from) < 1e-9)
            spans.back().second = to;
        else
            spans.append({from, to});
    }
    return spans;
}

// ---------------------------------------------------------------------------------------------

TimeHistoryChart::TimeHistoryChart(QCustomPlot* plot, const ChartStyle& style, QObject* parent)
    : QObject(parent), m_plot(plot), m_style(style)
{
    setUp();
}

TimeHistoryChart::TimeHistoryChart(const ChartStyle& style, const QSize& size, QObject* parent)
    : QObject(parent), m_plot(new QCustomPlot), m_ownsPlot(true), m_style(style)
{
    m_plot->resize(size);
    m_plot->setViewport(QRect(QPoint(0, 0), size));
    setUp();
}

TimeHistoryChart::~TimeHistoryChart()
{
    if (m_ownsPlot)
        delete m_plot;
}

void TimeHistoryChart::setUp()
{
    QCustomPlot* p = m_plot;
    p->setBackground(QBrush(Qt::white));
    p->setInteractions(QCP::Interactions());
    p->setAutoAddPlottableToLegend(false);
    p->setNotAntialiasedElements(QCP::aeGrid | QCP::aeAxes | QCP::aeSubGrid | QCP::aeItems);
    p->setPlottingHint(QCP::phCacheLabels, true);
    p->axisRect()->setBackground(QBrush(Qt::white));

    // Layers: grid, marker lines, series, then the cursors on a buffer of their own.
    p->addLayer(QString::fromLatin1(kMarkerLayer), p->layer(QStringLiteral("grid")), QCustomPlot::limAbove);
    p->addLayer(QString::fromLatin1(kCursorLayer), p->layer(QStringLiteral("main")), QCustomPlot::limAbove);
    m_cursorLayer = p->layer(QString::fromLatin1(kCursorLayer));
    m_cursorLayer->setMode(QCPLayer::lmBuffered);

    auto timeTicker = QSharedPointer<ChartTimeTicker>::create();
    m_timeTicker = timeTicker.data();
    p->xAxis->setTicker(timeTicker);
    auto levelTicker = QSharedPointer<ChartLevelTicker>::create();
    m_levelTicker = levelTicker.data();
    p->yAxis->setTicker(levelTicker);

    for (QCPAxis* axis : {p->xAxis, p->yAxis}) {
        axis->setBasePen(QPen(kAxisColour, 1));
        axis->setTickPen(QPen(kAxisColour, 1));
        axis->setSubTickPen(QPen(kAxisColour, 1));
        axis->setTickLengthIn(0);
        axis->setTickLengthOut(4);
        axis->setSubTickLengthIn(0);
        axis->setSubTickLengthOut(2);
        axis->setTickLabelColor(kTextColour);
        axis->setLabelColor(kTextColour);
        axis->grid()->setPen(QPen(kGridColour, 1, Qt::SolidLine));
        axis->grid()->setZeroLinePen(Qt::NoPen);
        axis->grid()->setSubGridVisible(false);
    }
    p->xAxis2->setVisible(false);
    p->yAxis2->setVisible(false);

    for (int i = 0; i < 2; ++i) {
        auto* item = new QCPItemStraightLine(p);
        item->setLayer(m_cursorLayer);
        item->setClipToAxisRect(true);
        item->setSelectable(false);
        item->setVisible(false);
        m_cursorItems[i] = item;
    }
    setCursorColour(m_cursorColour);

    connect(p, &QCustomPlot::beforeReplot, this, [this] {
        updateTickDensity(m_plot->width(), m_plot->height());
        emit aboutToRedraw();
    });
    connect(p, &QCustomPlot::afterReplot, this, &TimeHistoryChart::redrawn);
    connect(p, &QCustomPlot::mousePress, this,
            [this](QMouseEvent* e) { emit mousePressed(e->position(), e->button(), e->buttons()); });
    connect(p, &QCustomPlot::mouseMove, this,
            [this](QMouseEvent* e) { emit mouseMoved(e->position(), e->buttons()); });
    connect(p, &QCustomPlot::mouseRelease, this,
            [this](QMouseEvent* e) { emit mouseReleased(e->position(), e->button()); });

    setStyle(m_style);
    m_levelRange = {false, 70.0, 145.0};
    applyLevelRange();
    p->xAxis->setRange(0.0, 1.0);
}

void TimeHistoryChart::setStyle(const ChartStyle& style)
{
    m_style = style;
    QCustomPlot* p = m_plot;
    QFont font = p->font();
    font.setPointSize(style.fontPointSize);
    QFont titleFont = font;
    titleFont.setPointSize(style.fontPointSize);
    for (QCPAxis* axis : {p->xAxis, p->yAxis}) {
        axis->setTickLabelFont(font);
        axis->setLabelFont(titleFont);
    }
    p->xAxis->setLabel(style.timeAxisTitle);
    p->yAxis->setLabel(style.levelAxisTitle);

    // The legend: one row per series, a 30-pixel swatch, a dotted frame, no shadow.
    QCPLegend* legend = p->legend;
    legend->setFont(font);
    legend->setTextColor(kTextColour);
    legend->setIconSize(30, 10);
    legend->setBorderPen(QPen(QColor(128, 128, 128), 1, Qt::DotLine));
    legend->setBrush(QBrush(Qt::white));
    legend->setRowSpacing(1);
    legend->setMargins(QMargins(6, 4, 8, 4));

    // Take the legend out of wherever it is and lay the plot out again.
    QCPLayoutGrid* layout = p->plotLayout();
    const auto holds = [legend](QCPLayout* l) {
        for (int i = 0; i < l->elementCount(); ++i) {
            if (l->elementAt(i) == legend)
                return true;
        }
        return false;
    };
    if (holds(p->axisRect()->insetLayout()))
        p->axisRect()->insetLayout()->take(legend);
    if (holds(layout))
        layout->take(legend);
    for (int i = 0; i < layout->elementCount(); ++i) {
        if (auto* grid = qobject_cast<QCPLayoutGrid*>(layout->elementAt(i)); grid && holds(grid))
            grid->take(legend);
    }
    // Drop every column and row but the axis rect.
    QCPAxisRect* rect = p->axisRect();
    for (int i = layout->elementCount() - 1; i >= 0; --i) {
        QCPLayoutElement* e = layout->elementAt(i);
        if (e && e != rect)
            layout->remove(e);
    }
    layout->simplify();
    legend->setVisible(style.legend != ChartStyle::LegendPlace::None);
    switch (style.legend) {
    case ChartStyle::LegendPlace::Right: {
        auto* column = new QCPLayoutGrid;
        layout->addElement(0, 1, column);
        auto* top = new QCPLayoutElement(p);
        top->setMinimumSize(0, 20);
        top->setMaximumSize(QWIDGETSIZE_MAX, 20);
        column->addElement(0, 0, top);
        column->addElement(1, 0, legend);
        column->addElement(2, 0, new QCPLayoutElement(p));
        column->setRowStretchFactor(0, 0.001);
        column->setRowStretchFactor(1, 0.001);
        column->setRowStretchFactor(2, 1.0);
        column->setMargins(QMargins(0, 0, 0, 0));
        layout->setColumnStretchFactor(0, 1.0);
        layout->setColumnStretchFactor(1, 0.001);
        layout->setColumnSpacing(6);
        break;
    }
    case ChartStyle::LegendPlace::Bottom: {
        auto* row = new QCPLayoutGrid;
        layout->addElement(1, 0, row);
        row->addElement(0, 0, new QCPLayoutElement(p));
        row->addElement(0, 1, legend);
        row->addElement(0, 2, new QCPLayoutElement(p));
        row->setColumnStretchFactor(0, 1.0);
        row->setColumnStretchFactor(1, 0.001);
        row->setColumnStretchFactor(2, 1.0);
        legend->setFillOrder(QCPLayoutGrid::foColumnsFirst);
        layout->setRowStretchFactor(0, 1.0);
        layout->setRowStretchFactor(1, 0.001);
        layout->setRowSpacing(2);
        break;
    }
    case ChartStyle::LegendPlace::None:
        break;
    }
    legend->setLayer(QStringLiteral("legend"));
    // Small margins all round: the chart fills its panel.
    layout->setMargins(QMargins(2, 6, 8, 2));
    for (QCPItemStraightLine* item : std::as_const(m_markerItems)) {
        QPen pen = item->pen();
        pen.setStyle(style.markerLinePen);
        item->setPen(pen);
    }
}

void TimeHistoryChart::clear()
{
    for (TimeHistoryPlottable* s : std::as_const(m_series))
        m_plot->removePlottable(s);
    m_series.clear();
    m_plot->legend->clearItems();
    for (int i = 0; i < 2; ++i) {
        m_cursorShown[i] = false;
        m_cursorTimes[i] = 0.0;
        m_cursorItems[i]->setVisible(false);
    }
    m_timeAutomatic = true;
    m_plot->xAxis->setRange(0.0, 1.0);
}

int TimeHistoryChart::addHistory(const TKVTimeHistory& history)
{
    auto* s = new TimeHistoryPlottable(m_plot->xAxis, m_plot->yAxis);
    s->setAntialiased(false);
    m_series.append(s);
    updateHistory(int(m_series.size()) - 1, history);
    if (m_style.legend != ChartStyle::LegendPlace::None)
        s->addToLegend();
    if (m_timeAutomatic)
        setTimeRangeAutomatic();
    return int(m_series.size()) - 1;
}

void TimeHistoryChart::updateHistory(int index, const TKVTimeHistory& history)
{
    if (index < 0 || index >= m_series.size())
        return;
    TimeHistoryPlottable* s = m_series.at(index);
    s->setSeries(history.series());
    s->setGapColour(history.colours().pause);
    QVector<TimeHistoryPlottable::Span> spans;
    // Only the first series shades the pauses: the others share the recording's clock.
    if (index == 0 && history.series().kind == TimeHistorySeries::Kind::Line) {
        for (const auto& [from, to] : pauseSpans(history))
            spans.append({from, to});
    }
    s->setShadedSpans(spans);
    s->setMarkerSize(TimeHistorySeries::kMarkerWidth, TimeHistorySeries::kMarkerHeight);
    if (m_timeAutomatic)
        setTimeRangeAutomatic();
    applyLevelRange();
}

const TimeHistorySeries* TimeHistoryChart::series(int index) const
{
    if (index < 0 || index >= m_series.size())
        return nullptr;
    return &m_series.at(index)->series();
}

void TimeHistoryChart::setSeriesVisible(int index, bool visible)
{
    if (index < 0 || index >= m_series.size())
        return;
    TimeHistoryPlottable* s = m_series.at(index);
    s->setVisible(visible);
    if (visible)
        s->addToLegend();
    else
        s->removeFromLegend();
}

bool TimeHistoryChart::seriesVisible(int index) const
{
    return index >= 0 && index < m_series.size() && m_series.at(index)->visible();
}

std::pair<int, int> TimeHistoryChart::visiblePointRange(int index) const
{
    if (index < 0 || index >= m_series.size())
        return {0, 0};
    const TimeHistoryPlottable* s = m_series.at(index);
    const auto& pts = s->series().points;
    // Only points inside the range count as visible (the drawing's edge points do not).
    const double lower = visibleFrom();
    const double upper = visibleTo();
    auto [first, last] = s->visiblePointRange(lower, upper);
    // Within a microsecond of an end counts as inside (a range set from a point's own time).
    constexpr double tolerance = 1e-6 / 86400.0;
    while (first < last && pts.at(first).time < lower - tolerance)
        ++first;
    while (last > first && pts.at(last - 1).time > upper + tolerance)
        --last;
    return {first, last};
}

void TimeHistoryChart::setMarkerLines(const QList<ChartMarkerLine>& lines)
{
    for (QCPItemStraightLine* item : std::as_const(m_markerItems))
        m_plot->removeItem(item);
    m_markerItems.clear();
    m_markerLines = lines;
    for (const ChartMarkerLine& line : lines) {
        auto* item = new QCPItemStraightLine(m_plot);
        item->setLayer(QString::fromLatin1(kMarkerLayer));
        item->setClipToAxisRect(true);
        item->setSelectable(false);
        item->point1->setCoords(0.0, line.level);
        item->point2->setCoords(1.0, line.level);
        item->setPen(QPen(line.colour, 1, m_style.markerLinePen));
        m_markerItems.append(item);
    }
}

void TimeHistoryChart::setLevelRange(const LevelAxisRange& range)
{
    m_levelRange = range;
    applyLevelRange();
}

void TimeHistoryChart::applyLevelRange()
{
    double low = m_levelRange.minimum;
    double high = m_levelRange.maximum;
    if (m_levelRange.automatic) {
        bool found = false;
        for (const TimeHistoryPlottable* s : std::as_const(m_series)) {
            if (!s->visible())
                continue;
            bool any = false;
            const QCPRange r = s->getValueRange(any);
            if (!any)
                continue;
            low = found ? std::min(low, r.lower) : r.lower;
            high = found ? std::max(high, r.upper) : r.upper;
            found = true;
        }
        if (!found) {
            low = 0.0;
            high = 100.0;
        }
        const double pad = std::max(1.0, (high - low) * 0.03);
        low -= pad;
        high += pad;
    }
    if (!(high > low))
        high = low + 5.0;
    m_plot->yAxis->setRange(low, high);
}

std::pair<double, double> TimeHistoryChart::visibleLevelRange() const
{
    return {m_plot->yAxis->range().lower, m_plot->yAxis->range().upper};
}

void TimeHistoryChart::setTimeRange(double from, double to)
{
    if (to < from)
        std::swap(from, to);
    if (!(to > from))
        to = from + 1.0 / 86400.0;
    m_timeAutomatic = false;
    m_plot->xAxis->setRange(from, to);
}

void TimeHistoryChart::setTimeRangeAutomatic()
{
    m_timeAutomatic = true;
    bool found = false;
    double low = 0.0;
    double high = 1.0;
    for (const TimeHistoryPlottable* s : std::as_const(m_series)) {
        bool any = false;
        const QCPRange r = s->getKeyRange(any);
        if (!any)
            continue;
        low = found ? std::min(low, r.lower) : r.lower;
        high = found ? std::max(high, r.upper) : r.upper;
        found = true;
    }
    if (!(high > low))
        high = low + 1.0 / 1440.0;
    m_plot->xAxis->setRange(low, high);
}

double TimeHistoryChart::visibleFrom() const
{
    return m_plot->xAxis->range().lower;
}

double TimeHistoryChart::visibleTo() const
{
    return m_plot->xAxis->range().upper;
}

void TimeHistoryChart::setCursorColour(const QColor& colour)
{
    m_cursorColour = colour;
    for (QCPItemStraightLine* item : m_cursorItems)
        item->setPen(QPen(colour, 1, Qt::SolidLine));
}

void TimeHistoryChart::setCursorLine(int cursor, double time, bool shown)
{
    if (cursor != 1 && cursor != 2)
        return;
    const int i = cursor - 1;
    m_cursorTimes[i] = time;
    m_cursorShown[i] = shown;
    QCPItemStraightLine* item = m_cursorItems[i];
    item->point1->setCoords(time, 0.0);
    item->point2->setCoords(time, 1.0);
    item->setVisible(shown);
}

bool TimeHistoryChart::cursorLineShown(int cursor) const
{
    return (cursor == 1 || cursor == 2) && m_cursorShown[cursor - 1];
}

double TimeHistoryChart::cursorLineTime(int cursor) const
{
    return (cursor == 1 || cursor == 2) ? m_cursorTimes[cursor - 1] : 0.0;
}

void TimeHistoryChart::replotCursors()
{
    m_cursorLayer->replot();
}

void TimeHistoryChart::replot()
{
    // A chart that is not shown gets no resize events: its drawing area follows its size here.
    if (m_plot->viewport() != m_plot->rect())
        m_plot->setViewport(m_plot->rect());
    m_plot->replot(QCustomPlot::rpQueuedRefresh);
}

void TimeHistoryChart::queueReplot()
{
    m_plot->replot(QCustomPlot::rpQueuedReplot);
}

QRect TimeHistoryChart::plotRect() const
{
    return m_plot->axisRect()->rect();
}

double TimeHistoryChart::timeAtPixel(double x) const
{
    return m_plot->xAxis->pixelToCoord(x);
}

double TimeHistoryChart::pixelOfTime(double time) const
{
    return m_plot->xAxis->coordToPixel(time);
}

double TimeHistoryChart::pixelOfLevel(double level) const
{
    return m_plot->yAxis->coordToPixel(level);
}

void TimeHistoryChart::updateTickDensity(int width, int height)
{
    // A clock label needs about 64 pixels, a level label about 18.
    m_timeTicker->setMaxTicks(std::max(2, (width - 110) / 64));
    m_levelTicker->setMaxTicks(std::max(2, (height - 60) / 18));
}

void TimeHistoryChart::render(QPainter* painter, const QRectF& target)
{
    if (!painter || target.isEmpty())
        return;
    const int w = int(std::lround(target.width()));
    const int h = int(std::lround(target.height()));
    updateTickDensity(w, h);
    QPicture picture;
    QCPPainter qcp;
    if (!qcp.begin(&picture))
        return;
    qcp.setMode(QCPPainter::pmVectorized);
    qcp.setMode(QCPPainter::pmNoCaching);
    m_plot->toPainter(&qcp, w, h);
    qcp.end();
    painter->save();
    painter->drawPicture(target.topLeft(), picture);
    painter->restore();
    updateTickDensity(m_plot->width(), m_plot->height());
}

QImage TimeHistoryChart::toImage(const QSize& size, double scale)
{
    const QSize s = size.isEmpty() ? m_plot->size() : size;
    updateTickDensity(s.width(), s.height());
    QImage image = m_plot->toPixmap(s.width(), s.height(), scale).toImage();
    updateTickDensity(m_plot->width(), m_plot->height());
    return image;
}

} // namespace sonvex
