// Clock-time ticks of the time axis, worked out from the chart-time number alone.

#include "reports/ChartTimeAxis.h"

#include <QtTest>

using namespace sonvex;

namespace {

double at(int h, int m, int s = 0)
{
    return (h * 3600 + m * 60 + s) / 86400.0;
}

} // namespace

class TstChartTimeAxis : public QObject
{
    Q_OBJECT

private slots:
    void ticks_data()
    {
        QTest::addColumn<double>("lower");
        QTest::addColumn<double>("upper");
        QTest::addColumn<int>("maxTicks");
        QTest::addColumn<int>("step");
        QTest::addColumn<QStringList>("labels");

        QTest::newRow("a shift, both ends on ticks")
            << at(8, 0) << at(16, 0) << 9 << 3600
            << QStringList{"08:00", "09:00", "10:00", "11:00", "12:00", "13:00", "14:00", "15:00", "16:00"};
        QTest::newRow("a shift, fewer ticks allowed")
            << at(8, 0) << at(16, 0) << 5 << 7200 << QStringList{"08:00", "10:00", "12:00", "14:00", "16:00"};
        QTest::newRow("off-tick ends")
            << at(6, 33) << at(7, 12) << 10 << 300
            << QStringList{"06:35", "06:40", "06:45", "06:50", "06:55", "07:00", "07:05", "07:10"};
        QTest::newRow("past midnight reads as the next day's clock")
            << at(22, 0) << 1.0 + at(2, 0) << 5 << 3600
            << QStringList{"22:00", "23:00", "00:00", "01:00", "02:00"};
        QTest::newRow("a zoom into 5 s samples shows seconds")
            << at(10, 0, 0) << at(10, 0, 40) << 5 << 10
            << QStringList{"10:00:00", "10:00:10", "10:00:20", "10:00:30", "10:00:40"};
        QTest::newRow("a whole day") << 0.0 << 1.0 << 6 << 21600
                                     << QStringList{"00:00", "06:00", "12:00", "18:00", "00:00"};
        QTest::newRow("reversed range") << at(9, 0) << at(8, 0) << 10 << 0 << QStringList();
    }

    void ticks()
    {
        QFETCH(double, lower);
        QFETCH(double, upper);
        QFETCH(int, maxTicks);
        QFETCH(int, step);
        QFETCH(QStringList, labels);
        const ChartTimeTicks t = ChartTimeAxis::ticksFor(lower, upper, maxTicks);
        QCOMPARE(t.stepSeconds, step);
        QCOMPARE(QStringList(t.labels.begin(), t.labels.end()), labels);
        QCOMPARE(t.ticks.size(), labels.size());
        for (int i = 0; i < t.ticks.size(); ++i) {
            QVERIFY(t.ticks.at(i) >= lower - 1e-9 && t.ticks.at(i) <= upper + 1e-9);
            // Every tick is a whole multiple of its step from midnight.
            const double seconds = t.ticks.at(i) * 86400.0;
            QCOMPARE(std::fmod(std::round(seconds), double(step)), 0.0);
            QVERIFY(std::fabs(seconds - std::round(seconds)) < 1e-6);
        }
    }

    void aRangeTooLongForAnyStepTakesTheLargest()
    {
        const ChartTimeTicks t = ChartTimeAxis::ticksFor(0.0, 10.0, 3);
        QCOMPARE(t.stepSeconds, 86400);
        QCOMPARE(t.ticks.size(), 11);
    }

    void subTicksLieBetweenTicks()
    {
        const ChartTimeTicks t = ChartTimeAxis::ticksFor(at(8, 0), at(12, 0), 5);
        QCOMPARE(t.stepSeconds, 3600);
        QCOMPARE(t.subTicks.size(), 3 * 4); // the quarter hours between the hours
        for (double s : t.subTicks) {
            QVERIFY(!t.ticks.contains(s));
            QVERIFY(s > at(8, 0) && s < at(12, 0));
        }
    }

    void clockText_data()
    {
        QTest::addColumn<double>("time");
        QTest::addColumn<bool>("seconds");
        QTest::addColumn<QString>("text");
        QTest::newRow("noon") << 0.5 << false << "12:00";
        QTest::newRow("next day") << 1.25 << false << "06:00";
        QTest::newRow("rounded to the second") << at(8, 1, 59) + 0.4 / 86400 << true << "08:01:59";
        QTest::newRow("a hair below a minute") << at(8, 1) - 1e-12 << false << "08:01";
        QTest::newRow("negative wraps") << -0.25 << false << "18:00";
    }

    void clockText()
    {
        QFETCH(double, time);
        QFETCH(bool, seconds);
        QFETCH(QString, text);
        QCOMPARE(ChartTimeAxis::clockText(time, seconds), text);
    }
};

QTEST_APPLESS_MAIN(TstChartTimeAxis)
#include "tst_charttimeaxis.moc"
