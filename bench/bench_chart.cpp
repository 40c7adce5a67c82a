// Dragging a cursor over a day of 5 s samples: the time per mouse move (summary, cursor texts, the
// cursor layer redrawn and the widget repainted), a full redraw of the chart, and the summary alone.
// The history is a simulated 24-hour badge measurement, printed and parsed like a real download.

#ifdef SONVEX_HAVE_REPORTS

#include "data/KVTimeHistory.h"
#include "instruments/KVTReaderPrintout.h"
#include "reports/THChartBinding.h"
#include "reports/TimeHistoryChart.h"
#include "reports/TimeHistoryRules.h"
#include "sim/SimReader.h"

#include <qcustomplot.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QVBoxLayout>
#include <QtTest>

#include <algorithm>
#include <cstdio>

using namespace sonvex;

namespace {

QString dayOfFiveSecondSamples()
{
    SimReaderOptions o;
    o.model = SimReaderModel::RM50A;
    o.periodSeconds = 5;
    o.hours = 24;
    const PrintoutContext ctx =
        PrintoutContext::fromLocale(QLocale(QLocale::English, QLocale::UnitedKingdom),
                                    QDateTime(QDate(2009, 3, 20), QTime(9, 0), Qt::UTC));
    const QStringList text = ParsePrintout(writePrintout(generateReader(1, 7, o)), ctx);
    const TimeHistoryStrings s = THRules::chooseStrings(text.value(4), {}, {}, {});
    return s.channel1;
}

// The chart as the data view shows it: channel 1 and the cursor panels' labels.
struct Scene
{
    QWidget window;
    QCustomPlot* plot = new QCustomPlot;
    QLabel* labels[8];
    TimeHistoryChart chart{plot, ChartStyle::forScreen()};
    TKVTimeHistory history{true, true};
    THChartBinding binding{&history, &chart};
    bool exposed = false;

    Scene()
    {
        auto* layout = new QVBoxLayout(&window);
        for (QLabel*& l : labels) {
            l = new QLabel(QStringLiteral("-----"));
            layout->addWidget(l);
        }
        layout->addWidget(plot, 1);
        window.resize(1400, 900);
        TimeHistoryColours c = history.colours();
        c.normalLine = c.series = {0, 128, 0};
        history.setColours(c);
        binding.setAxisMode(2);
        history.setUnderrangeLevel(75);
        binding.setData(dayOfFiveSecondSamples());
        history.setExchangeRate(3);
        // The panels follow the summary and the cursor texts, as the chart frame's handlers do.
        QObject::connect(&history, &TKVTimeHistory::summaryChanged, &window, [this](TKVTimeHistory* h) {
            const QString prefix = THRules::seriesPrefix(h->seriesTitle());
            labels[0]->setText(h->summaryTexts().durationBetween);
            labels[1]->setText(h->summaryTexts().durationOutside);
            labels[2]->setText(THRules::levelLabel(prefix, h->summaryTexts().levelBetween));
            labels[3]->setText(THRules::levelLabel(prefix, h->summaryTexts().levelOutside));
        });
        QObject::connect(&history, &TKVTimeHistory::cursorTextsChanged, &window, [this](TKVTimeHistory* h) {
            const QString prefix = THRules::seriesPrefix(h->seriesTitle());
            labels[4]->setText(h->cursorTexts().cursor1Time);
            labels[5]->setText(h->cursorTexts().cursor2Time);
            labels[6]->setText(THRules::cursorValueLabel(prefix, h->cursorTexts().cursor1Value));
            labels[7]->setText(THRules::cursorValueLabel(prefix, h->cursorTexts().cursor2Value));
        });
        window.show();
        exposed = QTest::qWaitForWindowExposed(&window);
        chart.replot();
        plot->repaint();
    }
    QPointF point(double fraction) const
    {
        const QRect r = chart.plotRect();
        return QPointF(r.left() + 1 + fraction * (r.width() - 3), r.center().y());
    }
    // One mouse move of a drag, painted at once.
    void move(double fraction)
    {
        binding.mouseMove(point(fraction), Qt::LeftButton);
        QApplication::processEvents(); // the queued label and plot repaints
        plot->repaint();
    }
};

} // namespace

class BenchChart : public QObject
{
    Q_OBJECT
    Scene* m_scene = nullptr;

private slots:
    void initTestCase()
    {
        m_scene = new Scene;
        QVERIFY(m_scene->exposed);
        std::printf("samples: %d, plotted points: %lld, plot %dx%d\n", m_scene->history.sampleCount(),
                    qlonglong(m_scene->history.series().points.size()), m_scene->chart.plotRect().width(),
                    m_scene->chart.plotRect().height());
    }
    void cleanupTestCase() { delete m_scene; }

    // 600 moves of a drag across the whole chart, one by one: mean and worst.
    void dragAcrossTheChart()
    {
        Scene& s = *m_scene;
        s.binding.mouseDown(s.point(0.0), Qt::LeftButton, Qt::LeftButton);
        QVector<double> ms;
        QElapsedTimer t;
        const int moves = 600;
        for (int i = 1; i <= moves; ++i) {
            t.start();
            s.move(double(i) / moves);
            ms.append(t.nsecsElapsed() / 1e6);
        }
        s.binding.mouseUp(s.point(1.0), Qt::LeftButton);
        std::sort(ms.begin(), ms.end());
        double sum = 0;
        for (double v : ms)
            sum += v;
        std::printf(
            "RESULT per mouse move: mean %.3f ms, median %.3f ms, 95th percentile %.3f ms, worst %.3f ms\n",
            sum / ms.size(), ms.at(ms.size() / 2), ms.at(int(ms.size() * 0.95)), ms.last());
        QVERIFY(!s.labels[0]->text().isEmpty());
    }

    void mouseMove()
    {
        Scene& s = *m_scene;
        s.binding.mouseDown(s.point(0.5), Qt::LeftButton, Qt::LeftButton);
        int i = 0;
        QBENCHMARK
        {
            s.move(0.3 + 0.4 * ((i++ % 100) / 100.0));
        }
        s.binding.mouseUp(s.point(0.5), Qt::LeftButton);
    }

    void summaryAlone()
    {
        Scene& s = *m_scene;
        QBENCHMARK
        {
            s.history.computeSummary(true);
        }
    }

    void fullRedraw()
    {
        Scene& s = *m_scene;
        QBENCHMARK
        {
            s.chart.replot();
            s.plot->repaint();
        }
    }

    void fullRedrawZoomedToAnHour()
    {
        Scene& s = *m_scene;
        const double from = s.history.startTime() + 0.25;
        s.chart.setTimeRange(from, from + 1.0 / 24);
        QBENCHMARK
        {
            s.chart.replot();
            s.plot->repaint();
        }
        s.chart.setTimeRangeAutomatic();
    }
};

QTEST_MAIN(BenchChart)
#include "bench_chart.moc"

#else

#include <cstdio>

// Built without the widget libraries: there is no chart to measure.
int main()
{
    std::puts("bench_chart: skipped (built without the chart libraries)");
    return 0;
}

#endif
