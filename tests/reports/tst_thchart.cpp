// The chart set-up and the chart binding of a time history: cursor placement after a redraw,
// the nearer-cursor rule, dragging, zoom, look-ups over the first series, and what is drawn.

#include "data/KVTimeHistory.h"
#include "reports/THChartBinding.h"
#include "reports/TimeHistoryChart.h"
#include "reports/TimeHistoryPlottable.h"

#include <qcustomplot.h>

#include <QPainter>
#include <QSignalSpy>
#include <QtTest>

using namespace sonvex;

namespace {

constexpr double kSecond = 1.0 / 86400.0;

double at(int h, int m, int s = 0)
{
    return (h * 3600 + m * 60 + s) / 86400.0;
}

QString history60(const QString& samples, const QString& title = QStringLiteral("LAeq"))
{
    return QStringLiteral("\tTimeHistory %1 duration60s Q=3 date:d03m04y2009 time:h08n00 ").arg(title) +
           samples;
}

// Ten minutes of levels 80, 81, ... 89 from 08:00.
QString tenMinutes()
{
    QString s;
    for (int i = 0; i < 10; ++i)
        s += QString::number(80 + i) + QStringLiteral(".0 ");
    return history60(s);
}

int countColour(const QImage& image, const QColor& colour, int tolerance = 30)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (std::abs(qRed(p) - colour.red()) + std::abs(qGreen(p) - colour.green()) +
                    std::abs(qBlue(p) - colour.blue()) <=
                tolerance)
                ++n;
        }
    }
    return n;
}

// A chart with a main history bound to it, laid out by a first redraw.
struct Bound
{
    TimeHistoryChart chart{ChartStyle::forScreen(), QSize(900, 400)};
    TKVTimeHistory history{true, true};
    THChartBinding binding{&history, &chart};
    explicit Bound(const QString& text, int axisMode = 1)
    {
        // Green steps, as the chart frame draws channel 1.
        TimeHistoryColours c = history.colours();
        c.normalLine = c.series = {0, 128, 0};
        history.setColours(c);
        history.setTimeFormats({QStringLiteral("HH:mm"), QStringLiteral("HH:mm:ss")});
        history.setExchangeRate(3);
        binding.setAxisMode(axisMode);
        binding.setData(text);
        chart.replot();
    }
    QPointF pointAt(double time) const
    {
        return QPointF(chart.pixelOfTime(time), chart.plotRect().center().y());
    }
};

} // namespace

class TstTHChart : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void cursorsArePlacedAfterARedraw()
    {
        Bound b(tenMinutes());
        // One second inside the first and the last plotted point.
        QVERIFY(std::fabs(b.history.cursor1() - (at(8, 0) + kSecond)) < 1e-9);
        QVERIFY(std::fabs(b.history.cursor2() - (at(8, 10) - kSecond)) < 1e-9);
        QVERIFY(b.chart.cursorLineShown(1) && b.chart.cursorLineShown(2));
        QCOMPARE(b.chart.cursorLineTime(1), b.history.cursor1());
        // The redraw also computed the summary and the cursor texts.
        QCOMPARE(b.history.summaryTexts().durationBetween, QStringLiteral("00:10"));
        // A 60 s history shows cursor times to the minute.
        QCOMPARE(b.history.cursorTexts().cursor1Time, QStringLiteral("08:00"));

        // Placed cursors stay where they are.
        b.history.setCursor1(at(8, 3));
        b.chart.replot();
        QCOMPARE(b.history.cursor1(), at(8, 3));

        // Reset while zoomed: the cursors go to the visible points.
        b.chart.setTimeRange(at(8, 2, 30), at(8, 6, 30));
        b.history.setCursor1(0.0);
        b.history.setCursor2(0.0);
        b.chart.replot();
        QVERIFY(std::fabs(b.history.cursor1() - (at(8, 3) + kSecond)) < 1e-9);
        QVERIFY(std::fabs(b.history.cursor2() - (at(8, 6) - kSecond)) < 1e-9);
    }

    void nearerCursor_data()
    {
        QTest::addColumn<int>("offset"); // pixels from half-way between the cursors
        QTest::addColumn<int>("moved");
        QTest::newRow("exactly half-way: a tie moves cursor 2") << 0 << 2;
        QTest::newRow("one pixel nearer cursor 1") << -1 << 1;
        QTest::newRow("one pixel nearer cursor 2") << 1 << 2;
        QTest::newRow("far left") << -150 << 1;
        QTest::newRow("far right") << 150 << 2;
    }

    void nearerCursor()
    {
        QFETCH(int, offset);
        QFETCH(int, moved);
        Bound b(tenMinutes());
        // Cursors on whole pixels, 200 pixels apart.
        const QRect r = b.chart.plotRect();
        const int x1 = r.left() + 200;
        const int x2 = r.left() + 400;
        b.history.setCursorsAndTexts(b.chart.timeAtPixel(x1), b.chart.timeAtPixel(x2));
        const double before1 = b.history.cursor1();
        const double before2 = b.history.cursor2();
        const int x = (x1 + x2) / 2 + offset;
        b.binding.mouseDown(QPointF(x, r.center().y()), Qt::LeftButton, Qt::LeftButton);
        QCOMPARE(b.history.activeCursor(), moved);
        const double clicked = b.chart.timeAtPixel(x);
        QCOMPARE(moved == 1 ? b.history.cursor1() : b.history.cursor2(), clicked);
        QCOMPARE(moved == 1 ? b.history.cursor2() : b.history.cursor1(), moved == 1 ? before2 : before1);
        QCOMPARE(b.chart.cursorLineTime(moved), clicked);
    }

    void pressesThatMoveNothing_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("inside");
        QTest::newRow("right button") << int(Qt::RightButton) << true;
        QTest::newRow("outside the plotting rectangle") << int(Qt::LeftButton) << false;
    }

    void pressesThatMoveNothing()
    {
        QFETCH(int, button);
        QFETCH(bool, inside);
        Bound b(tenMinutes());
        const double c1 = b.history.cursor1();
        const double c2 = b.history.cursor2();
        QSignalSpy texts(&b.history, &TKVTimeHistory::cursorTextsChanged);
        const QRect r = b.chart.plotRect();
        const QPointF pos = inside ? QPointF(r.center()) : QPointF(r.left() - 20, r.center().y());
        b.binding.mouseDown(pos, Qt::MouseButton(button), Qt::MouseButtons(button));
        QCOMPARE(b.history.cursor1(), c1);
        QCOMPARE(b.history.cursor2(), c2);
        QCOMPARE(texts.count(), 0);
        QVERIFY(!b.binding.dragging());
    }

    void draggingACursor()
    {
        Bound b(tenMinutes());
        QSignalSpy summaries(&b.history, &TKVTimeHistory::summaryChanged);
        QSignalSpy moves(&b.history, &TKVTimeHistory::cursorMoved);
        // Press at 08:02:30: nearer cursor 1, which moves there and becomes the active cursor.
        b.binding.mouseDown(b.pointAt(at(8, 2, 30)), Qt::LeftButton, Qt::LeftButton);
        QCOMPARE(b.history.activeCursor(), 1);
        QVERIFY(b.binding.dragging());
        QCOMPARE(moves.count(), 1);
        QCOMPARE(moves.at(0).at(1).toInt(), 1);
        // The event carries the first visible point at or after the cursor.
        int expected = -1;
        QVERIFY(b.binding.visibleIndexAtOrAfter(b.history.cursor1(), expected));
        QCOMPARE(moves.at(0).at(2).toInt(), expected);

        // A move: the summary is computed for the positions so far, then the cursor moves on.
        summaries.clear();
        b.binding.mouseMove(b.pointAt(at(8, 7, 30)), Qt::LeftButton);
        QCOMPARE(summaries.count(), 1);
        QCOMPARE(b.history.summaryTexts().durationBetween, QStringLiteral("00:08")); // 08:02 .. 08:09
        QVERIFY(std::fabs(b.history.cursor1() - at(8, 7, 30)) < 2 * kSecond);
        // A move without the left button held does nothing.
        b.binding.mouseMove(b.pointAt(at(8, 1, 30)), Qt::NoButton);
        QVERIFY(std::fabs(b.history.cursor1() - at(8, 7, 30)) < 2 * kSecond);

        b.binding.mouseUp(b.pointAt(at(8, 7, 30)), Qt::LeftButton);
        QVERIFY(!b.binding.dragging());
        QCOMPARE(b.history.summaryTexts().durationBetween, QStringLiteral("00:03")); // 08:07 .. 08:09
        // Levels 87, 88, 89: energy mean 88.1 dB.
        QCOMPARE(b.history.levelBetween(), 88.1);
    }

    void lookUpsOverTheFirstSeries_data()
    {
        QTest::addColumn<double>("time");
        QTest::addColumn<bool>("visibleFound");
        QTest::addColumn<double>("visibleTime"); // time of the point found (or of the last visible one)
        QTest::addColumn<bool>("anyFound");
        QTest::addColumn<double>("anyTime");
        // Zoomed to 08:03 .. 08:06.
        QTest::newRow("before the zoom") << at(8, 1) << true << at(8, 3) << true << at(8, 1);
        QTest::newRow("on a point") << at(8, 4) << true << at(8, 4) << true << at(8, 4);
        QTest::newRow("between points") << at(8, 4, 30) << true << at(8, 5) << true << at(8, 5);
        QTest::newRow("after the zoom") << at(8, 8) << false << at(8, 6) << true << at(8, 8);
        QTest::newRow("after the recording") << at(9, 0) << false << at(8, 6) << false << at(8, 10);
    }

    void lookUpsOverTheFirstSeries()
    {
        QFETCH(double, time);
        QFETCH(bool, visibleFound);
        QFETCH(double, visibleTime);
        QFETCH(bool, anyFound);
        QFETCH(double, anyTime);
        Bound b(tenMinutes());
        b.chart.setTimeRange(at(8, 3), at(8, 6));
        const TimeHistorySeries* s = b.chart.series(0);
        QVERIFY(s);
        int index = -1;
        QCOMPARE(b.binding.visibleIndexAtOrAfter(time, index), visibleFound);
        QVERIFY(std::fabs(s->points.at(index).time - visibleTime) < 1e-9);
        QCOMPARE(b.binding.indexAtOrAfter(time, index), anyFound);
        QVERIFY(std::fabs(s->points.at(index).time - anyTime) < 1e-9);
        if (anyFound)
            QVERIFY(index == 0 || s->points.at(index - 1).time < time);
        else
            QCOMPARE(index, int(s->points.size()) - 1);
    }

    void indexAtOrAfterOnAnEmptySeries()
    {
        TimeHistoryChart chart(ChartStyle::forScreen());
        TKVTimeHistory h(true, true);
        THChartBinding binding(&h, &chart);
        binding.setData(QString());
        int index = 7;
        QVERIFY(!binding.indexAtOrAfter(0.5, index));
        QCOMPARE(index, 0);
        QVERIFY(!binding.visibleIndexAtOrAfter(0.5, index));
        QCOMPARE(index, 0);
    }

    void zoomToTheCursorsAndBack()
    {
        Bound b(tenMinutes(), 1);
        QCOMPARE(b.chart.levelRange().maximum, 90.0);
        b.history.setCursor1(at(8, 2));
        b.history.setCursor2(at(8, 3));
        b.binding.zoomToCursors();
        QVERIFY(!b.chart.timeRangeAutomatic());
        QCOMPARE(b.chart.visibleFrom(), at(8, 2));
        QCOMPARE(b.chart.visibleTo(), at(8, 3));
        // Mode 1 around the levels between the cursors (82 and 83): 80 .. 85.
        const LevelAxisRange zoomed = b.chart.levelRange();
        QCOMPARE(zoomed.minimum, 80.0);
        QCOMPARE(zoomed.maximum, 85.0);
        b.binding.unzoom();
        QVERIFY(b.chart.timeRangeAutomatic());
        QCOMPARE(b.chart.visibleFrom(), at(8, 0));
        QCOMPARE(b.chart.visibleTo(), at(8, 10));
    }

    void levelAxisModes_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<double>("minimum");
        QTest::addColumn<double>("maximum");
        QTest::newRow("mode 1: multiples of 5 around the series (80 .. 89)") << 1 << 80.0 << 90.0;
        QTest::newRow("mode 2: underrange level to 144.9") << 2 << 70.0 << 144.9;
    }

    void levelAxisModes()
    {
        QFETCH(int, mode);
        QFETCH(double, minimum);
        QFETCH(double, maximum);
        Bound b(tenMinutes(), mode);
        const auto [low, high] = b.chart.visibleLevelRange();
        QCOMPARE(low, minimum);
        QCOMPARE(high, maximum);
        // Zooming in mode 2 keeps the level axis.
        b.binding.zoomToCursors();
        if (mode == 2)
            QCOMPARE(b.chart.visibleLevelRange().second, 144.9);
    }

    void onlyTheAttachedHistoryFollowsTheMouse()
    {
        Bound b(tenMinutes());
        TKVTimeHistory second(false, true);
        second.setExchangeRate(3);
        THChartBinding secondBinding(&second, &b.chart);
        secondBinding.setData(history60(QStringLiteral("70.0 71.0 72.0 "), QStringLiteral("Ch2")));
        QVERIFY(b.binding.chartEventsAttached());
        secondBinding.attachChartEvents(true);
        QVERIFY(!b.binding.chartEventsAttached());
        QCOMPARE(b.chart.attachedBinding(), &secondBinding);
        const double mainCursor1 = b.history.cursor1();
        emit b.chart.mousePressed(b.pointAt(at(8, 1)), Qt::LeftButton, Qt::LeftButton);
        QCOMPARE(b.history.cursor1(), mainCursor1);
        QVERIFY(second.cursor1() > 0.0 || second.cursor2() > 0.0);
        secondBinding.attachChartEvents(false);
        QCOMPARE(b.chart.attachedBinding(), nullptr);
        QVERIFY(!b.chart.cursorLineShown(1));
    }

    void flaggedStepsAreDrawnInTheirColours()
    {
        TimeHistoryChart chart(ChartStyle::forScreen(), QSize(700, 300));
        TKVTimeHistory h(true, true);
        TimeHistoryColours c = h.colours();
        c.normalLine = c.series = {0, 128, 0};
        c.cursor = {255, 0, 255}; // cursor lines in a colour of their own, so only flags are red
        h.setColours(c);
        THChartBinding binding(&h, &chart);
        binding.setAxisMode(1);
        binding.setData(history60(QStringLiteral("80.0 81.0 90.0P 82.0 81.0 ")));
        chart.replot();
        const QImage image = chart.toImage();
        QVERIFY(countColour(image, QColor(0, 128, 0)) > 100);
        // The step into the flagged sample, its step and the step out of it are red.
        QVERIFY(countColour(image, QColor(255, 0, 0), 20) > 20);

        binding.setData(history60(QStringLiteral("80.0 81.0 90.0 82.0 81.0 ")));
        chart.replot();
        const QImage plain = chart.toImage();
        // Without a flag no red is drawn.
        QCOMPARE(countColour(plain, QColor(255, 0, 0), 20), 0);
    }

    void pausesAreShadedAndNotDrawn()
    {
        Bound b(history60(QStringLiteral("80.0 80.0 time:h08n06 80.0 80.0 ")), 2);
        const TimeHistoryPlottable* p = nullptr;
        for (int i = 0; i < b.chart.plot()->plottableCount(); ++i)
            p = qobject_cast<TimeHistoryPlottable*>(b.chart.plot()->plottable(i));
        QVERIFY(p);
        QCOMPARE(p->shadedSpans().size(), 1);
        QVERIFY(std::fabs(p->shadedSpans().at(0).from - at(8, 2)) < 1e-9);
        QVERIFY(std::fabs(p->shadedSpans().at(0).to - at(8, 6)) < 1e-9);
        const QImage image = b.chart.toImage();
        // Inside the pause, at the level's row, the shading shows and no line is drawn.
        const int x = int(b.chart.pixelOfTime(at(8, 4)));
        const int y = int(std::lround(b.chart.pixelOfLevel(80.0)));
        const QColor inPause = image.pixelColor(x, y);
        QVERIFY2(inPause.green() < 245 && std::abs(inPause.red() - inPause.green()) < 10,
                 qPrintable(inPause.name()));
        bool line = false;
        for (int dy = -1; dy <= 1; ++dy) {
            const QColor p = image.pixelColor(int(b.chart.pixelOfTime(at(8, 1, 30))), y + dy);
            line = line || p.green() > p.red() + 60;
        }
        QVERIFY(line);
        for (int dy = -1; dy <= 1; ++dy) {
            const QColor p = image.pixelColor(x, y + dy);
            QVERIFY2(!(p.green() > p.red() + 60), qPrintable(p.name()));
        }
    }

    void aDayOfFiveSecondSamplesIsMergedPerPixelColumn()
    {
        QString text = QStringLiteral("\tTimeHistory LAeq duration5s Q=3 date:d03m04y2009 time:h00n00 ");
        for (int i = 0; i < 17280; ++i)
            text += QString::number(75.0 + (i * 7919 % 300) / 10.0, 'f', 1) + u' ';
        text += QStringLiteral("120.0 ");
        TimeHistoryChart chart(ChartStyle::forScreen(), QSize(1000, 400));
        TKVTimeHistory h(true, true);
        THChartBinding binding(&h, &chart);
        binding.setAxisMode(2);
        binding.setData(text);
        chart.replot();
        const TimeHistoryPlottable* p = qobject_cast<TimeHistoryPlottable*>(chart.plot()->plottable(0));
        QVERIFY(p);
        QVERIFY(p->series().points.size() > 34000);
        // About as many line ends as the chart is wide, not as the history is long: per colour
        // (steps and risers differ here) one line per pixel column and the lines that cross a column.
        QVERIFY(chart.plotRect().width() > 700);
        QVERIFY2(p->lastDrawnVertexCount() <= 8 * (chart.plotRect().width() + 2),
                 qPrintable(QString::number(p->lastDrawnVertexCount())));
        // The one sample of 120 dB still reaches its level.
        const QImage image = chart.toImage();
        const int y = int(std::lround(chart.pixelOfLevel(120.0)));
        bool found = false;
        for (int x = chart.plotRect().right() - 8; x <= chart.plotRect().right() && !found; ++x)
            found = image.pixelColor(x, y + 1).blue() > 150 && image.pixelColor(x, y + 1).red() < 100;
        QVERIFY(found);
    }

    void markerLines()
    {
        Bound b(tenMinutes(), 2);
        b.chart.setMarkerLines({{90, QColor(128, 0, 128)}, {85, QColor(0, 128, 128)}});
        b.chart.replot();
        const QImage image = b.chart.toImage();
        for (const auto& [level, colour] :
             {std::pair{90, QColor(128, 0, 128)}, std::pair{85, QColor(0, 128, 128)}}) {
            const int y = int(std::lround(b.chart.pixelOfLevel(level)));
            int hits = 0;
            for (int x = b.chart.plotRect().left(); x < b.chart.plotRect().right(); ++x) {
                for (int dy = -1; dy <= 1; ++dy) {
                    const QColor p = image.pixelColor(x, y + dy);
                    if (std::abs(p.red() - colour.red()) + std::abs(p.green() - colour.green()) +
                            std::abs(p.blue() - colour.blue()) <
                        40)
                        ++hits;
                }
            }
            // Dotted: about half the width of the plotting rectangle.
            QVERIFY2(hits > b.chart.plotRect().width() / 4, qPrintable(QString::number(hits)));
        }
        b.chart.setMarkerLines({});
        b.chart.replot();
        const QImage none = b.chart.toImage();
        QCOMPARE(countColour(none, QColor(128, 0, 128), 30), 0);
    }

    void renderingOntoAPainterLooksLikeThePicture()
    {
        Bound b(tenMinutes(), 2);
        const QSize size(900, 400);
        const QImage picture = b.chart.toImage(size);
        QImage painted(size, QImage::Format_RGB32);
        painted.fill(Qt::white);
        {
            QPainter painter(&painted);
            b.chart.render(&painter, QRectF(QPointF(0, 0), size));
        }
        const int fromPicture =
            countColour(picture.convertToFormat(QImage::Format_RGB32), QColor(0, 128, 0), 60);
        const int fromPainter = countColour(painted, QColor(0, 128, 0), 60);
        QVERIFY(fromPicture > 100);
        QVERIFY2(std::abs(fromPicture - fromPainter) < fromPicture / 5,
                 qPrintable(QStringLiteral("%1 %2").arg(fromPicture).arg(fromPainter)));
    }
};

QTEST_MAIN(TstTHChart)
#include "tst_thchart.moc"
