#include "data/KVTimeHistory.h"
#include "data/LeqFile.h"

#include <QFile>
#include <QLocale>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cstdlib>
#include <ctime>
#include <string_view>

using namespace sonvex;

namespace {

// Chart time of a clock time on the start day.
double hms(int h, int m, int s = 0)
{
    return (h * 3600 + m * 60 + s) / 86400.0;
}

const QString kHeader60 = QStringLiteral("\tTimeHistory LAeq duration60s Q=3 date:d03m04y2009 time:h08n00 ");

QString history60(const QString& samples)
{
    return kHeader60 + samples;
}

// A chart-bound main history with fixed time formats, so texts do not depend on the machine.
struct Main
{
    TKVTimeHistory h{true, true};
    explicit Main(const QString& data, double q = 3.0)
    {
        h.setTimeFormats({QStringLiteral("HH:mm"), QStringLiteral("HH:mm:ss")});
        h.setExchangeRate(q);
        h.setData(data);
    }
};

} // namespace

class TestTimeHistory : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void decodesTwoSamples();
    void finalBlankAndExtraWhitespaceDecodeTheSame();
    void keyText_data();
    void keyText();
    void sampleQuestions_data();
    void sampleQuestions();
    void outOfRangeSampleQuestionsAreEmpty();
    void markerMoreThanAMinuteBackIsTheNextDay();
    void markerAheadInsertsPauses();
    void markerWithinAMinuteBackIsIgnored();
    void historyLongerThanADay();
    void period_data();
    void period();
    void nonPositivePeriodNeverHangs();
    void channel2Titles_data();
    void channel2Titles();
    void startDateAndTime_data();
    void startDateAndTime();
    void startIsNaiveUnderAnyTimeZone_data();
    void startIsNaiveUnderAnyTimeZone();
    void lineSeriesSteps();
    void lineSeriesPause();
    void pointSeries();
    void malformedStringsNeverCrash_data();
    void malformedStringsNeverCrash();
    void randomStringsNeverCrash();

    void indexOfTime_data();
    void indexOfTime();
    void indexOfTimeOnAnEmptyHistoryKeepsTheIndex();
    void everyMinuteOfADayIsFound();
    void everyFiveSecondsIsFound();

    void summaryLevels_data();
    void summaryLevels();
    void summaryBetweenAndOutside();
    void summaryWithReversedCursors();
    void summaryOfAZeroSpan();
    void summaryOutsideTheRecording_data();
    void summaryOutsideTheRecording();
    void summaryLeavesPausesOut();
    void summaryDurationWrapsAndShowsSeconds();
    void summaryWithoutExchangeRateTouchesNothing();
    void summaryAbortsOnAnUnreadableItem();
    void suspendedSummary();
    void sideWithoutSamplesKeepsItsLevel();
    void energyAveragingFollowsTheTitle();

    void cursorTexts_data();
    void cursorTexts();
    void cursorTimeTextsUseTheLongFormatBelowAMinute();
    void setCursorsAndTextsRaisesNothing();
    void cursorEventCarriesItsArguments();
    void maxBetweenCursors();

    void levelAxis_data();
    void levelAxis();
    void levelAxisOfOtherHistoriesOnlyWidens();
    void levelAxisNeedsAChartAndData();
    void levelAxisToCursors();
    void nearerCursorAndPlacement();

    void spanOfAClockRange();
    void spanOfTheWholeRecording();
    void chartTimeOfClock_data();
    void chartTimeOfClock();

    void reviseTimestamps();
    void reviseTimestampsWrapsPastMidnight();
    void reviseTimestampsFailureKeepsTheSource_data();
    void reviseTimestampsFailureKeepsTheSource();

    void exportLeqFileWords();
};

// --- decoding -------------------------------------------------------------------------------

void TestTimeHistory::decodesTwoSamples()
{
    Main m(QStringLiteral("\tTimeHistory LAeq duration60s Q=3 date:d03m04y2009 time:h08n00 80.0 82.0P"));
    QCOMPARE(m.h.sampleCount(), 2);
    QCOMPARE(m.h.sampleEntry(0), QStringLiteral("0.3333333333=80.0"));
    QCOMPARE(m.h.sampleEntry(1), QStringLiteral("0.3340277777=82.0P"));
    QCOMPARE(m.h.startDateTime().date(), QDate(2009, 4, 3));
    QCOMPARE(m.h.startDateTime().time(), QTime(8, 0));
    QCOMPARE(m.h.seriesTitle(), QStringLiteral("LAeq"));
    QCOMPARE(m.h.samplePeriod(), 60);
    QCOMPARE(m.h.exchangeRateItem(), QStringLiteral("Q=3"));
    QCOMPARE(m.h.series().kind, TimeHistorySeries::Kind::Line);
}

void TestTimeHistory::finalBlankAndExtraWhitespaceDecodeTheSame()
{
    Main a(history60("80.0 82.0P "));
    // Items are split at blanks only; each is trimmed of tabs, CR and LF.
    Main b(QStringLiteral(
        "TimeHistory  LAeq \tduration60s  Q=3 date:d03m04y2009\t   time:h08n00 80.0\r\n 82.0P\r\n"));
    QCOMPARE(b.h.sampleCount(), 2);
    for (int i = 0; i < 2; ++i)
        QCOMPARE(b.h.sampleEntry(i), a.h.sampleEntry(i));
    QCOMPARE(b.h.startDateTime(), a.h.startDateTime());
}

void TestTimeHistory::keyText_data()
{
    QTest::addColumn<double>("time");
    QTest::addColumn<QString>("key");
    const double k = TKVTimeHistory::kKeyOffset;
    QTest::newRow("09:00") << 0.375 + k << "0.3750000000";
    QTest::newRow("08:00") << 8.0 / 24 + k << "0.3333333333";
    QTest::newRow("08:01") << 481.0 / 1440 + k << "0.3340277777";
    QTest::newRow("12:00") << 0.5 + k << "0.5000000000";
    QTest::newRow("00:01") << 1.0 / 1440 + k << "0.0006944444";
    QTest::newRow("midnight") << 0.0 + k << "1E-110000000";
    QTest::newRow("00:00:05") << 5.0 / 86400 + k << "5.7870380370";
    QTest::newRow("next midnight") << 1.0 + k << "1.0000000000";
    QTest::newRow("next day 01:00") << 1.0 + 1.0 / 24 + k << "1.0416666666";
    QTest::newRow("lookup 12:00") << 0.5 << "0.5000000000";
    QTest::newRow("lookup 0") << 0.0 << "00000000000";
    QTest::newRow("lookup 1") << 1.0 << "10000000000";
}

void TestTimeHistory::keyText()
{
    QFETCH(double, time);
    QFETCH(QString, key);
    QCOMPARE(TKVTimeHistory::keyText(time), key);
}

void TestTimeHistory::sampleQuestions_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("peak");
    QTest::addColumn<QString>("pause");
    QTest::addColumn<QString>("overload");
    QTest::newRow("plain") << "84.3"
                           << "84.3"
                           << ""
                           << ""
                           << "";
    QTest::newRow("peak") << "91.0P"
                          << "91.0"
                          << "P "
                          << ""
                          << "";
    QTest::newRow("overload") << "88.2O"
                              << "88.2"
                              << ""
                              << ""
                              << "O ";
    QTest::newRow("both") << "97.5PO"
                          << "97.5"
                          << "P "
                          << ""
                          << "O ";
    QTest::newRow("lower-case flags") << "90.0po"
                                      << "90.0"
                                      << "P "
                                      << ""
                                      << "O ";
    QTest::newRow("pause item") << "pause"
                                << ""
                                << ""
                                << "pause "
                                << "";
    QTest::newRow("capital pause") << "PAUSE"
                                   << "AUSE"
                                   << ""
                                   << "pause "
                                   << "";
}

void TestTimeHistory::sampleQuestions()
{
    QFETCH(QString, item);
    Main m(history60(item + QStringLiteral(" 80.0")));
    QCOMPARE(m.h.sampleItem(0), item);
    QTEST(m.h.sampleValueText(0), "value");
    QTEST(m.h.samplePeakFlag(0), "peak");
    QTEST(m.h.samplePauseFlag(0), "pause");
    QTEST(m.h.sampleOverloadFlag(0), "overload");
    QCOMPARE(m.h.sampleTimeText(0), QStringLiteral("08:00"));
}

void TestTimeHistory::outOfRangeSampleQuestionsAreEmpty()
{
    Main m(history60(QStringLiteral("80.0")));
    for (int i : {-1, 1, 1000}) {
        QVERIFY(m.h.sampleTimeText(i).isEmpty());
        QVERIFY(m.h.sampleValueText(i).isEmpty());
        QVERIFY(m.h.samplePeakFlag(i).isEmpty());
        QVERIFY(m.h.samplePauseFlag(i).isEmpty());
        QVERIFY(m.h.sampleOverloadFlag(i).isEmpty());
        QVERIFY(m.h.sampleKey(i).isEmpty());
    }
}

void TestTimeHistory::markerMoreThanAMinuteBackIsTheNextDay()
{
    // 23:57, 23:58; the running time is 23:59 when 00:02 arrives: three pauses to 00:02 next day.
    Main m(QStringLiteral("\tTimeHistory LAeq duration60s Q=3 date:d03m04y2009 time:h23n57 80.0 81.0 "
                          "time:h00n02 82.0 "));
    QCOMPARE(m.h.sampleCount(), 6);
    QCOMPARE(m.h.sampleItem(2), QStringLiteral("pause"));
    QCOMPARE(m.h.sampleEntry(3), QStringLiteral("1.0000000000=pause"));
    QCOMPARE(m.h.sampleItem(4), QStringLiteral("pause"));
    QCOMPARE(m.h.sampleEntry(5), QStringLiteral("1.0013888888=82.0"));
    QCOMPARE(m.h.sampleTimeText(5), QStringLiteral("00:02"));
    QCOMPARE(m.h.samplePauseFlag(3), QStringLiteral("pause "));
    QCOMPARE(m.h.sampleValueText(3), QString());
}

void TestTimeHistory::markerAheadInsertsPauses()
{
    Main m(history60(QStringLiteral("80.0 time:h08n05 81.0")));
    QCOMPARE(m.h.sampleCount(), 6);
    for (int i = 1; i <= 4; ++i)
        QCOMPARE(m.h.sampleItem(i), QStringLiteral("pause"));
    QCOMPARE(m.h.sampleTimeText(5), QStringLiteral("08:05"));
    QCOMPARE(m.h.sampleItem(5), QStringLiteral("81.0"));

    // A marker equal to the running time inserts nothing.
    Main same(history60(QStringLiteral("80.0 time:h08n01 81.0")));
    QCOMPARE(same.h.sampleCount(), 2);
}

void TestTimeHistory::markerWithinAMinuteBackIsIgnored()
{
    // The running time is 08:02 when 08:01 arrives: the same day, nothing inserted.
    Main m(history60(QStringLiteral("80.0 81.0 time:h08n01 82.0")));
    QCOMPARE(m.h.sampleCount(), 3);
    QCOMPARE(m.h.sampleEntry(2), QStringLiteral("0.3347222222=82.0"));

    // Going back three minutes means the next day: 24 h minus 3 min of pauses.
    Main back(history60(QStringLiteral("80.0 81.0 82.0 time:h08n00 83.0")));
    QCOMPARE(back.h.sampleCount(), 3 + 1437 + 1);
    QCOMPARE(back.h.sampleEntry(1440), QStringLiteral("1.3333333333=83.0"));
    QCOMPARE(back.h.sampleTimeText(1440), QStringLiteral("08:00"));
}

void TestTimeHistory::historyLongerThanADay()
{
    // 26 hours at one minute from 22:00; a marker at 00:00 next day on time changes nothing.
    QString samples;
    for (int i = 0; i < 26 * 60; ++i) {
        if (i == 120)
            samples += QStringLiteral("time:h00n00 ");
        samples += QStringLiteral("80.0 ");
    }
    Main m(QStringLiteral("\tTimeHistory LAeq duration60s Q=3 date:d31m12y2009 time:h22n00 ") + samples);
    QCOMPARE(m.h.sampleCount(), 26 * 60);
    QCOMPARE(m.h.sampleEntry(120), QStringLiteral("1.0000000000=80.0"));
    QCOMPARE(m.h.sampleTimeText(1559), QStringLiteral("23:59"));
    QCOMPARE(m.h.sampleKey(1559), QStringLiteral("1.9993055555"));
    int index = -1;
    QVERIFY(m.h.indexOfTime(1.0 + hms(0, 30), index));
    QCOMPARE(index, 150);
    // Whole-run summary: 26 h wraps to 02:00 in a time-of-day text.
    m.h.setCursor1(hms(22, 0));
    m.h.setCursor2(2.0);
    QCOMPARE(m.h.summaryTexts().durationBetween, QStringLiteral("02:00"));
    QCOMPARE(m.h.summaryTexts().levelBetween, QStringLiteral(" 80.0"));
}

void TestTimeHistory::period_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("period");
    QTest::newRow("60") << "duration60s" << 60;
    QTest::newRow("5") << "duration5s" << 5;
    QTest::newRow("1800") << "duration1800s" << 1800;
    QTest::newRow("not a number") << "durationXs" << 60;
    QTest::newRow("no s") << "duration60" << 60;
    QTest::newRow("nothing before s") << "durations" << 60;
    QTest::newRow("s early") << "s" << 60;
    QTest::newRow("too large") << "duration99999999999s" << 60;
    QTest::newRow("cut") << "dura" << 60;
}

void TestTimeHistory::period()
{
    QFETCH(QString, item);
    QFETCH(int, period);
    TKVTimeHistory h;
    h.setData(QStringLiteral("\tTimeHistory LAeq ") + item +
              QStringLiteral(" Q=3 date:d03m04y2009 time:h08n00 80.0 81.0"));
    QCOMPARE(h.samplePeriod(), period);
    QCOMPARE(h.sampleTime(1) - h.sampleTime(0), period / 86400.0);
}

void TestTimeHistory::nonPositivePeriodNeverHangs()
{
    for (const char* p : {"duration0s", "duration-60s"}) {
        TKVTimeHistory h;
        h.setData(
            QStringLiteral("\tTimeHistory LAeq %1 Q=3 date:d03m04y2009 time:h08n00 80.0 time:h09n00 81.0")
                .arg(QLatin1StringView(p)));
        QCOMPARE(h.sampleCount(), 2);
        int index = 5;
        h.indexOfTime(hms(8, 0), index);
        QCOMPARE(index, 0);
    }
}

void TestTimeHistory::channel2Titles_data()
{
    QTest::addColumn<QString>("rate");
    QTest::addColumn<QString>("title");
    QTest::newRow("Q=3") << "Q=3"
                         << "LAeq";
    QTest::newRow("Q=4") << "Q=4"
                         << "Lavg 2";
    QTest::newRow("Q=5") << "Q=5"
                         << "Lavg 2";
}

void TestTimeHistory::channel2Titles()
{
    QFETCH(QString, rate);
    TKVTimeHistory h(false, true);
    h.setData(QStringLiteral("\tTimeHistory Ch2 duration60s ") + rate +
              QStringLiteral(" date:d03m04y2009 time:h08n00 80.0"));
    QTEST(h.seriesTitle(), "title");
    QCOMPARE(h.series().kind, TimeHistorySeries::Kind::Line);
}

void TestTimeHistory::startDateAndTime_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QDateTime>("start");
    QTest::addColumn<double>("firstTime");
    const QDate d(2009, 4, 3);
    QTest::newRow("valid") << "date:d03m04y2009"
                           << "time:h08n30" << QDateTime(d, QTime(8, 30), Qt::UTC) << hms(8, 30);
    QTest::newRow("bad day") << "date:d32m04y2009"
                             << "time:h08n30" << QDateTime() << hms(8, 30);
    QTest::newRow("unreadable month") << "date:d03mxxy2009"
                                      << "time:h08n30" << QDateTime() << hms(8, 30);
    QTest::newRow("bad hour") << "date:d03m04y2009"
                              << "time:h24n00" << QDateTime(d, QTime(0, 0), Qt::UTC) << 0.0;
    QTest::newRow("unreadable minute") << "date:d03m04y2009"
                                       << "time:h08nAB" << QDateTime(d, QTime(8, 0), Qt::UTC) << hms(8, 0);
    QTest::newRow("prefix before date") << "xdate:d03m04y2009"
                                        << "time:h08n30" << QDateTime(d, QTime(8, 30), Qt::UTC) << hms(8, 30);
}

void TestTimeHistory::startDateAndTime()
{
    QFETCH(QString, date);
    QFETCH(QString, time);
    QFETCH(QDateTime, start);
    QFETCH(double, firstTime);
    TKVTimeHistory h;
    h.setData(QStringLiteral("\tTimeHistory LAeq duration60s Q=3 %1 %2 80.0").arg(date, time));
    QCOMPARE(h.startDateTime(), start);
    QCOMPARE(h.startTime(), firstTime);
    QCOMPARE(h.sampleTime(0), firstTime);
}

void TestTimeHistory::startIsNaiveUnderAnyTimeZone_data()
{
    QTest::addColumn<QByteArray>("tz");
    QTest::newRow("UTC") << QByteArray("UTC");
    QTest::newRow("New York") << QByteArray("America/New_York");
    QTest::newRow("Kolkata") << QByteArray("Asia/Kolkata");
}

void TestTimeHistory::startIsNaiveUnderAnyTimeZone()
{
    QFETCH(QByteArray, tz);
    const QByteArray saved = qgetenv("TZ");
    qputenv("TZ", tz);
    tzset();
    // 02:30 on 8 March 2009 does not exist in New York (clocks jump from 02:00 to 03:00).
    Main m(QStringLiteral("\tTimeHistory LAeq duration60s Q=3 date:d08m03y2009 time:h02n30 80.0 81.0"));
    QCOMPARE(m.h.startDateTime().date(), QDate(2009, 3, 8));
    QCOMPARE(m.h.startDateTime().time(), QTime(2, 30));
    QCOMPARE(m.h.sampleTimeText(1), QStringLiteral("02:31"));
    // 255738 days from the file's day 0, plus 2.5 hours.
    QCOMPARE(TLeqFile::dateTimeToLeqSeconds(m.h.startDateTime()), 22095772200.0);
    m.h.setCursorsAndTexts(hms(2, 30), hms(2, 31));
    QCOMPARE(m.h.cursorTexts().cursor1Time, QStringLiteral("02:30"));
    QCOMPARE(m.h.cursorTexts().cursor2Value, QStringLiteral("81.0"));
    const QString revised = m.h.reviseTimestamps(QDateTime(QDate(2009, 3, 8), QTime(2, 10), Qt::UTC));
    QVERIFY2(revised.contains(QLatin1StringView("date:d08m03y2009 time:h02n10 ")), qPrintable(revised));
    if (saved.isNull())
        qunsetenv("TZ");
    else
        qputenv("TZ", saved);
    tzset();
}

void TestTimeHistory::lineSeriesSteps()
{
    Main m(history60(QStringLiteral("80.0 82.0P 81.0")));
    const ChartColour S = TimeHistoryColours::kBlack, N = TimeHistoryColours::kBlue,
                      R = TimeHistoryColours::kRed;
    const double t0 = hms(8, 0), t1 = hms(8, 1), t2 = hms(8, 2), t3 = hms(8, 3);
    const QList<TimeHistoryPoint>& p = m.h.series().points;
    struct E
    {
        double t, v;
        ChartColour c;
    };
    const QList<E> expected{{t0, 80, S}, {t0, 80, N}, {t1, 80, S}, {t1, 82, R},
                            {t2, 82, R}, {t2, 81, R}, {t3, 81, S}};
    QCOMPARE(p.size(), expected.size());
    for (qsizetype i = 0; i < p.size(); ++i) {
        QVERIFY2(qFuzzyCompare(p[i].time, expected[i].t), qPrintable(QString::number(i)));
        QCOMPARE(p[i].value, expected[i].v);
        QVERIFY2(p[i].colour == expected[i].c, qPrintable(QString::number(i)));
    }
    QCOMPARE(m.h.series().colour, S);
    QCOMPARE(m.h.series().minValue(), 80.0);
    QCOMPARE(m.h.series().maxValue(), 82.0);
}

void TestTimeHistory::lineSeriesPause()
{
    Main m(history60(QStringLiteral("80.0 time:h08n02 81.0")));
    const ChartColour S = TimeHistoryColours::kBlack, N = TimeHistoryColours::kBlue,
                      W = TimeHistoryColours::kWhite;
    const double t0 = hms(8, 0), t1 = hms(8, 1), t2 = hms(8, 2), t3 = hms(8, 3);
    const QList<TimeHistoryPoint>& p = m.h.series().points;
    struct E
    {
        double t, v;
        ChartColour c;
    };
    const QList<E> expected{{t0, 80, S}, {t0, 80, N}, {t1, 80, S}, {t2, 80, W},
                            {t2, 80, S}, {t2, 81, N}, {t3, 81, S}};
    QCOMPARE(p.size(), expected.size());
    for (qsizetype i = 0; i < p.size(); ++i) {
        QVERIFY2(qFuzzyCompare(p[i].time, expected[i].t), qPrintable(QString::number(i)));
        QCOMPARE(p[i].value, expected[i].v);
        QVERIFY2(p[i].colour == expected[i].c, qPrintable(QString::number(i)));
    }
}

void TestTimeHistory::pointSeries()
{
    TKVTimeHistory h(false, true);
    h.setUnderrangeLevel(120);
    h.setData(QStringLiteral("\tTimeHistory Peak duration60s Q=0 date:d03m04y2009 time:h08n00 "
                             "110.0 125.0P 130.0O time:h08n04 140.0PO 120.0"));
    QCOMPARE(h.series().kind, TimeHistorySeries::Kind::Points);
    QCOMPARE(h.sampleCount(), 6);
    const QList<TimeHistoryPoint>& p = h.series().points;
    QCOMPARE(p.size(), 3);
    const double half = 30.0 / 86400;
    QVERIFY(qFuzzyCompare(p[0].time, hms(8, 1) + half));
    QCOMPARE(p[0].value, 125.0);
    QVERIFY(p[0].colour == TimeHistoryColours::kRed);
    QVERIFY(qFuzzyCompare(p[1].time, hms(8, 2) + half));
    QVERIFY(p[1].colour == TimeHistoryColours::kRed);
    QVERIFY(qFuzzyCompare(p[2].time, hms(8, 4) + half));
    QCOMPARE(p[2].value, 140.0);
    QVERIFY(p[2].colour == TimeHistoryColours::kOrange);
}

void TestTimeHistory::malformedStringsNeverCrash_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("samples");
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("blanks") << "  \t \r\n" << 0;
    QTest::newRow("marker only") << "\tTimeHistory" << 0;
    QTest::newRow("cut in the period") << "\tTimeHistory LAeq dura" << 0;
    QTest::newRow("cut in the date") << "\tTimeHistory LAeq duration60s Q=3 date:d03m0" << 0;
    QTest::newRow("cut in the first marker")
        << "\tTimeHistory LAeq duration60s Q=3 date:d03m04y2009 time:h0" << 0;
    QTest::newRow("cut in a sample") << history60("80.0 81") << 2;
    QTest::newRow("cut in a marker") << history60("80.0 time:h08n0") << 1;
    QTest::newRow("cut after a point") << history60("80.0 81.") << 2;
    QTest::newRow("garbage samples") << history60("8x.0 -- .e5 1e999 nan inf 0x10 81.0PPOO") << 8;
    // "time:" reads as 00:00, which is the next day: pauses from 08:01 to midnight.
    QTest::newRow("bad markers") << history60("80.0 time: time:hXXnYY timetime 81.0") << 1 + 959 + 1;
    QTest::newRow("control characters")
        << history60(QStringView(std::u16string_view(u"80.0 \u0001 81.0\u0000 82.0", 17)).toString()) << 3;
    QTest::newRow("non-Latin text") << history60(QString::fromUtf16(u"\u0668\u0660.\u0660 81.0 \u00e9")) << 3;
    QTest::newRow("huge values") << history60("1e300 9999999 80.0") << 3;
}

void TestTimeHistory::malformedStringsNeverCrash()
{
    QFETCH(QString, text);
    QFETCH(int, samples);
    for (bool main : {true, false}) {
        TKVTimeHistory h(main, true);
        h.setExchangeRate(main ? 3 : 5);
        h.setData(text);
        QCOMPARE(h.sampleCount(), samples);
        h.setCursor1(hms(8, 0));
        h.setCursor2(hms(8, 30));
        h.updateCursorTexts();
        h.computeMaxBetweenCursors();
        h.scaleLevelAxis({});
        h.scaleLevelAxisToCursors({});
        for (int i = -1; i <= h.sampleCount(); ++i) {
            h.sampleTimeText(i);
            h.sampleValueText(i);
            h.sampleEntry(i);
        }
        h.reviseTimestamps(QDateTime(QDate(2010, 1, 1), QTime(9, 0), Qt::UTC));
        h.spanForWholeRecording();
    }
}

void TestTimeHistory::randomStringsNeverCrash()
{
    const QStringList pieces{"TimeHistory", "LAeq",        "Ch2",         "duration5s",
                             "duration0s",  "Q=3",         "Q=0",         "date:d03m04y2009",
                             "time:h08n00", "time:h23n59", "time:h00n01", "time:h99n99",
                             "80.0",        "91.0P",       "88.2O",       "97.5PO",
                             "pause",       "65.0",        "x",           "",
                             "\t",          "\r\n",        "-5",          "1e5"};
    QRandomGenerator random(20240601);
    for (int round = 0; round < 300; ++round) {
        QString text;
        const int n = int(random.bounded(40));
        for (int i = 0; i < n; ++i) {
            text += pieces[int(random.bounded(pieces.size()))];
            if (random.bounded(4) != 0)
                text += u' ';
        }
        if (random.bounded(2) && !text.isEmpty())
            text.truncate(int(random.bounded(text.size())));
        TKVTimeHistory h(random.bounded(2) == 0, true);
        h.setExchangeRate(random.bounded(2) ? 3 : 4);
        h.setData(text);
        QVERIFY(h.sampleCount() <= 3 * 86400 + 40);
        h.setCursor1(random.bounded(2.0));
        h.setCursor2(random.bounded(2.0));
        h.updateCursorTexts();
        h.computeMaxBetweenCursors();
        QTemporaryDir dir;
        h.exportLeqFile(dir.filePath(QStringLiteral("x.leq")));
        h.reviseTimestamps(QDateTime(QDate(2010, 1, 1), QTime(9, 0), Qt::UTC));
    }
}

// --- lookups --------------------------------------------------------------------------------

void TestTimeHistory::indexOfTime_data()
{
    QTest::addColumn<int>("period");
    QTest::addColumn<double>("x");
    QTest::addColumn<bool>("found");
    QTest::addColumn<int>("index");
    // 24 samples from 08:00; the caller's index starts at -7.
    QTest::newRow("5 s: 08:00:07") << 5 << hms(8, 0, 7) << true << 1;
    QTest::newRow("5 s: 08:00:05") << 5 << hms(8, 0, 5) << true << 1;
    QTest::newRow("5 s: 08:01:59") << 5 << hms(8, 1, 59) << true << 23;
    QTest::newRow("5 s: before") << 5 << hms(7, 59, 59) << false << 0;
    QTest::newRow("5 s: after") << 5 << hms(8, 2, 0) << false << 23;
    QTest::newRow("60 s: 08:00:59") << 60 << hms(8, 0, 59) << true << 0;
    QTest::newRow("60 s: 08:01:00") << 60 << hms(8, 1, 0) << true << 1;
    QTest::newRow("60 s: 08:23:59") << 60 << hms(8, 23, 59) << true << 23;
    QTest::newRow("60 s: 08:24") << 60 << hms(8, 24) << false << 23;
    QTest::newRow("10 s: whole minutes") << 10 << hms(8, 0, 35) << true << 0;
    QTest::newRow("10 s: 08:01:35") << 10 << hms(8, 1, 35) << true << 6;
    QTest::newRow("120 s: inside a period") << 120 << hms(8, 1, 30) << true << 0;
    QTest::newRow("120 s: 08:03:10") << 120 << hms(8, 3, 10) << true << 1;
    QTest::newRow("negative") << 60 << -0.25 << false << 0;
    QTest::newRow("far after") << 60 << 1e12 << false << 23;
    QTest::newRow("not a number") << 60 << qQNaN() << false << -7;
}

void TestTimeHistory::indexOfTime()
{
    QFETCH(int, period);
    QFETCH(double, x);
    QString samples;
    for (int i = 0; i < 24; ++i)
        samples += QStringLiteral("80.0 ");
    TKVTimeHistory h;
    h.setData(QStringLiteral("\tTimeHistory LAeq duration%1s Q=3 date:d03m04y2009 time:h08n00 ").arg(period) +
              samples);
    int index = -7;
    QTEST(h.indexOfTime(x, index), "found");
    QTEST(index, "index");
}

void TestTimeHistory::indexOfTimeOnAnEmptyHistoryKeepsTheIndex()
{
    TKVTimeHistory h;
    h.setData(kHeader60);
    int index = 7;
    QVERIFY(!h.indexOfTime(hms(8, 0), index));
    QCOMPARE(index, 7);
}

void TestTimeHistory::everyMinuteOfADayIsFound()
{
    // Some whole-minute times have key texts one digit apart from the sample's key (the sample
    // keys carry 0.00000000001 more); they still find their sample.
    QString samples;
    for (int i = 0; i < 1440; ++i)
        samples += QStringLiteral("80.0 ");
    TKVTimeHistory h;
    h.setData(QStringLiteral("\tTimeHistory LAeq duration60s Q=3 date:d03m04y2009 time:h00n00 ") + samples);
    int mismatchedKeys = 0;
    for (int minute = 0; minute < 1440; ++minute) {
        const double x = minute / 1440.0;
        int index = -1;
        QVERIFY(h.indexOfTime(x + 30.0 / 86400, index));
        QCOMPARE(index, minute);
        if (TKVTimeHistory::keyText(x) != h.sampleKey(minute))
            ++mismatchedKeys;
    }
    QVERIFY(mismatchedKeys > 0); // the reason the lookup is by time, not by key text
}

void TestTimeHistory::everyFiveSecondsIsFound()
{
    QString samples;
    for (int i = 0; i < 720; ++i)
        samples += QStringLiteral("80.0 ");
    TKVTimeHistory h;
    h.setData(QStringLiteral("\tTimeHistory LAeq duration5s Q=3 date:d03m04y2009 time:h23n30 ") + samples);
    for (int i = 0; i < 720; ++i) {
        int index = -1;
        QVERIFY(h.indexOfTime(hms(23, 30) + (i * 5 + 4) / 86400.0, index));
        QCOMPARE(index, i);
    }
}

// --- summary --------------------------------------------------------------------------------

void TestTimeHistory::summaryLevels_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("samples");
    QTest::addColumn<double>("q");
    QTest::addColumn<double>("level");
    QTest::addColumn<QString>("levelText");
    QTest::addColumn<QString>("duration");
    // 10 lg((10^8 + 10^8.1) / 2) = 80.539; 80.589 rounds to 80.6.
    QTest::newRow("80 and 81") << "LAeq"
                               << "80.0 81.0" << 3.0 << 80.6 << " 80.6"
                               << "00:02";
    // 10 lg((10^7 + 10^8 + 10^9) / 3) = 85.682.
    QTest::newRow("70, 80, 90") << "LAeq"
                                << "70.0 80.0 90.0" << 3.0 << 85.7 << " 85.7"
                                << "00:03";
    // 65 counts as 0 dB: 10 lg((1 + 10^8) / 2) = 76.990.
    QTest::newRow("65 floors to 0 dB") << "LAeq"
                                       << "65.0 80.0" << 3.0 << 77.0 << " 77.0"
                                       << "00:02";
    // 5 log2((2^16 + 2^18) / 2) = 86.610.
    QTest::newRow("q 5: 80 and 90") << "Lavg"
                                    << "80.0 90.0" << 5.0 << 86.7 << " 86.7"
                                    << "00:02";
    // 4 log2((2^20 + 2^22.5) / 2) = 86.939; 86.989 rounds to 87.0.
    QTest::newRow("q 4: 80 and 90") << "Lavg"
                                    << "80.0 90.0" << 4.0 << 87.0 << " 87.0"
                                    << "00:02";
    // 3 is energy averaging even for a Lavg title: 10 lg((10^8 + 10^9) / 2) = 87.404; 87.454 -> 87.5.
    QTest::newRow("Lavg with q 3") << "Lavg"
                                   << "80.0 90.0" << 3.0 << 87.5 << " 87.5"
                                   << "00:02";
    // Flags do not change the level: 10 lg((10^9.1 + 10^8.8) / 2) = 89.754.
    QTest::newRow("flags") << "LAeq"
                           << "91.0PO 88.0P" << 3.0 << 89.8 << " 89.8"
                           << "00:02";
    // Five characters, blank-padded only below 100.
    QTest::newRow("three digits") << "LAeq"
                                  << "100.0 101.0" << 3.0 << 100.6 << "100.6"
                                  << "00:02";
}

void TestTimeHistory::summaryLevels()
{
    QFETCH(QString, title);
    QFETCH(QString, samples);
    QFETCH(double, q);
    Main m(QStringLiteral("\tTimeHistory %1 duration60s Q=3 date:d03m04y2009 time:h08n00 %2")
               .arg(title, samples),
           q);
    QSignalSpy spy(&m.h, &TKVTimeHistory::summaryChanged);
    m.h.setCursorsAndTexts(hms(8, 0, 1), hms(10, 0));
    m.h.computeSummary(true);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.last().at(0).value<TKVTimeHistory*>(), &m.h);
    QTEST(m.h.levelBetween(), "level");
    QTEST(m.h.summaryTexts().levelBetween, "levelText");
    QTEST(m.h.summaryTexts().durationBetween, "duration");
    QCOMPARE(m.h.summaryTexts().durationOutside, QStringLiteral("---"));
    QCOMPARE(m.h.summaryTexts().levelOutside, QStringLiteral("---"));
    QCOMPARE(m.h.levelOutside(), -1.0);
}

void TestTimeHistory::summaryBetweenAndOutside()
{
    Main m(history60(QStringLiteral("80.0 81.0 82.0 83.0")));
    m.h.setCursor1(hms(8, 1, 30));
    m.h.setCursor2(hms(8, 2, 10));
    // Between 81 and 82: 81.539 -> 81.6. Outside 80 and 83: 10 lg((10^8 + 10^8.3) / 2) = 81.754 -> 81.8.
    QCOMPARE(m.h.levelBetween(), 81.6);
    QCOMPARE(m.h.levelOutside(), 81.8);
    QCOMPARE(m.h.summaryTexts().levelBetween, QStringLiteral(" 81.6"));
    QCOMPARE(m.h.summaryTexts().levelOutside, QStringLiteral(" 81.8"));
    QCOMPARE(m.h.summaryTexts().durationBetween, QStringLiteral("00:02"));
    QCOMPARE(m.h.summaryTexts().durationOutside, QStringLiteral("00:02"));
    QCOMPARE(m.h.lowestBetween(), 81.0);
    QCOMPARE(m.h.highestBetween(), 82.0);
    const CursorSummary s = m.h.summaryFor(hms(8, 1, 30), hms(8, 2, 10));
    QCOMPARE(s.index1, 1);
    QCOMPARE(s.index2, 2);
    QCOMPARE(s.between.count, 2);
    QCOMPARE(s.outside.count, 2);
}

void TestTimeHistory::summaryWithReversedCursors()
{
    Main m(history60(QStringLiteral("80.0 81.0 82.0 83.0")));
    m.h.setCursor1(hms(8, 2, 10));
    m.h.setCursor2(hms(8, 1, 30));
    QCOMPARE(m.h.levelBetween(), 81.6);
    QCOMPARE(m.h.levelOutside(), 81.8);
}

void TestTimeHistory::summaryOfAZeroSpan()
{
    // One sample between; 65 dB counts as 0 dB, so the level is exactly 0: stored
    // round-half-even(0.5) / 10 = 0.0, while the text shows 0.05 to one decimal.
    Main m(history60(QStringLiteral("80.0 65.0 82.0")));
    m.h.setCursor1(hms(8, 1, 20));
    m.h.setCursor2(hms(8, 1, 20));
    QCOMPARE(m.h.summaryTexts().durationBetween, QStringLiteral("00:01"));
    QCOMPARE(m.h.levelBetween(), 0.0);
    QCOMPARE(m.h.summaryTexts().levelBetween, QStringLiteral("  0.1"));
    QCOMPARE(m.h.summaryTexts().durationOutside, QStringLiteral("00:02"));
    QCOMPARE(m.h.lowestBetween(), 0.0);
    QCOMPARE(m.h.highestBetween(), 0.0);
}

void TestTimeHistory::summaryOutsideTheRecording_data()
{
    QTest::addColumn<double>("c1");
    QTest::addColumn<double>("c2");
    QTest::addColumn<int>("between");
    QTest::addColumn<double>("highest");
    QTest::newRow("around everything") << hms(7, 0) << hms(9, 0) << 3 << 82.0;
    QTest::newRow("both before") << hms(6, 0) << hms(7, 0) << 1 << 80.0;
    QTest::newRow("both after") << hms(9, 0) << hms(10, 0) << 1 << 82.0;
    QTest::newRow("not placed") << 0.0 << 0.0 << 1 << 80.0;
}

void TestTimeHistory::summaryOutsideTheRecording()
{
    QFETCH(double, c1);
    QFETCH(double, c2);
    Main m(history60(QStringLiteral("80.0 81.0 82.0")));
    const CursorSummary s = m.h.summaryFor(c1, c2);
    QVERIFY(s.valid);
    QTEST(s.between.count, "between");
    QCOMPARE(s.outside.count, 3 - s.between.count);
    QTEST(s.highestBetween, "highest");
}

void TestTimeHistory::summaryLeavesPausesOut()
{
    Main m(history60(QStringLiteral("80.0 time:h08n03 80.0")));
    QCOMPARE(m.h.sampleCount(), 4);
    m.h.setCursor1(hms(8, 0));
    m.h.setCursor2(hms(8, 3));
    QCOMPARE(m.h.summaryTexts().durationBetween, QStringLiteral("00:02"));
    QCOMPARE(m.h.summaryTexts().levelBetween, QStringLiteral(" 80.0"));
}

void TestTimeHistory::summaryDurationWrapsAndShowsSeconds()
{
    QString samples;
    for (int i = 0; i < 17; ++i)
        samples += QStringLiteral("80.0 ");
    Main m(QStringLiteral("\tTimeHistory LAeq duration5s Q=3 date:d03m04y2009 time:h08n00 ") + samples);
    m.h.setCursor1(hms(8, 0, 10));
    m.h.setCursor2(hms(8, 0, 24));
    // Between: 08:00:10, :15, :20 -> 15 s; outside 14 samples -> 70 s.
    QCOMPARE(m.h.summaryTexts().durationBetween, QStringLiteral("00:00:15"));
    QCOMPARE(m.h.summaryTexts().durationOutside, QStringLiteral("00:01:10"));
}

void TestTimeHistory::summaryWithoutExchangeRateTouchesNothing()
{
    Main m(history60(QStringLiteral("80.0 81.0")));
    m.h.setCursor1(hms(8, 0));
    m.h.setCursor2(hms(9, 0));
    const SummaryTexts before = m.h.summaryTexts();
    m.h.setExchangeRate(0);
    QSignalSpy spy(&m.h, &TKVTimeHistory::summaryChanged);
    m.h.computeSummary(true);
    QCOMPARE(spy.count(), 0);
    QCOMPARE(m.h.summaryTexts().levelBetween, before.levelBetween);
    QCOMPARE(m.h.summaryTexts().durationBetween, QStringLiteral("00:02"));
    QCOMPARE(m.h.levelBetween(), 80.6);
    QCOMPARE(m.h.lowestBetween(), 9999.0);
    QCOMPARE(m.h.highestBetween(), -9999.0);
}

void TestTimeHistory::summaryAbortsOnAnUnreadableItem()
{
    Main m(history60(QStringLiteral("80.0 8x.0 82.0")));
    QSignalSpy spy(&m.h, &TKVTimeHistory::summaryChanged);
    m.h.setCursor1(hms(8, 0));
    m.h.setCursor2(hms(8, 0));
    QCOMPARE(spy.count(), 0);
    QCOMPARE(m.h.summaryTexts().levelBetween, QStringLiteral("---"));
    QCOMPARE(m.h.summaryTexts().durationOutside, QStringLiteral("---"));
    QCOMPARE(m.h.levelBetween(), -1.0);
    QVERIFY(!m.h.summaryFor(hms(8, 0), hms(8, 2)).valid);
}

void TestTimeHistory::suspendedSummary()
{
    Main m(history60(QStringLiteral("80.0 81.0")));
    m.h.setCursor1(hms(8, 0));
    m.h.setCursor2(hms(9, 0));
    QSignalSpy spy(&m.h, &TKVTimeHistory::summaryChanged);
    m.h.computeSummary(false);
    QVERIFY(m.h.summarySuspended());
    QCOMPARE(m.h.summaryTexts().levelBetween, QStringLiteral("---"));
    QCOMPARE(spy.count(), 0);
    m.h.computeSummary(true);
    QVERIFY(!m.h.summarySuspended());
    QCOMPARE(spy.count(), 1);
}

void TestTimeHistory::sideWithoutSamplesKeepsItsLevel()
{
    Main m(history60(QStringLiteral("80.0 81.0 82.0")));
    m.h.setCursor1(hms(8, 1));
    m.h.setCursor2(hms(8, 1));
    const double outside = m.h.levelOutside();
    QVERIFY(outside > 0);
    m.h.setCursorsAndTexts(hms(7, 0), hms(9, 0));
    m.h.computeSummary(true);
    QCOMPARE(m.h.summaryTexts().levelOutside, QStringLiteral("---"));
    QCOMPARE(m.h.levelOutside(), outside);
}

void TestTimeHistory::energyAveragingFollowsTheTitle()
{
    // "LAeq" asks for energy averaging whatever the exchange rate; "Lavg" uses q.
    const QString samples = QStringLiteral("date:d03m04y2009 time:h08n00 80.0 90.0");
    Main leq(QStringLiteral("\tTimeHistory LAeq duration60s Q=5 ") + samples, 5.0);
    Main lavg(QStringLiteral("\tTimeHistory Lavg duration60s Q=5 ") + samples, 5.0);
    leq.h.setCursor2(hms(9, 0));
    lavg.h.setCursor2(hms(9, 0));
    QCOMPARE(leq.h.levelBetween(), 87.5); // 10 lg((10^8 + 10^9) / 2) = 87.404; 87.454 -> 87.5
    QCOMPARE(lavg.h.levelBetween(), 86.7);
    QCOMPARE(leq.h.levelFromSum(2, 2e8), 80.0);
}

// --- cursors --------------------------------------------------------------------------------

void TestTimeHistory::cursorTexts_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("underrange");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("pauseText");
    QTest::newRow("plain") << "84.3" << 70 << "84.3"
                           << "pause";
    QTest::newRow("peak and overload") << "91.0PO" << 70 << "91.0 POL"
                                       << "pause";
    QTest::newRow("overload") << "88.2O" << 70 << "88.2OL"
                              << "pause";
    QTest::newRow("underrange") << "68.0" << 70 << "Underrange"
                                << "pause";
    QTest::newRow("underrange with peak") << "68.0P" << 70 << "Underrange P"
                                          << "pause";
    QTest::newRow("at the underrange level") << "70.0" << 70 << "70.0"
                                             << "pause";
    QTest::newRow("unreadable reads 999") << "8x.0" << 70 << "8x.0"
                                          << "pause";
    // A pause also reads 999.
    QTest::newRow("unreadable below a huge underrange") << "8x.0" << 1000 << "Underrange"
                                                        << "Underrange";
}

void TestTimeHistory::cursorTexts()
{
    QFETCH(QString, item);
    QFETCH(int, underrange);
    Main m(history60(QStringLiteral("80.0 ") + item + QStringLiteral(" time:h08n03 82.0")));
    m.h.setUnderrangeLevel(underrange);
    QSignalSpy spy(&m.h, &TKVTimeHistory::cursorTextsChanged);
    m.h.setCursorsAndTexts(hms(8, 1, 40), hms(8, 2, 5));
    m.h.updateCursorTexts();
    QCOMPARE(spy.count(), 1);
    QCOMPARE(m.h.cursorTexts().cursor1Time, QStringLiteral("08:01"));
    QCOMPARE(m.h.cursorTexts().cursor2Time, QStringLiteral("08:02"));
    QTEST(m.h.cursorTexts().cursor1Value, "text");
    QTEST(m.h.cursorTexts().cursor2Value, "pauseText");
    // Outside the recording the value is unknown.
    m.h.setCursorsAndTexts(0.0, hms(9, 0));
    QCOMPARE(m.h.cursorTexts().cursor1Time, QStringLiteral("00:00"));
    QCOMPARE(m.h.cursorTexts().cursor1Value, QStringLiteral("---"));
    QCOMPARE(m.h.cursorTexts().cursor2Value, QStringLiteral("---"));
}

void TestTimeHistory::cursorTimeTextsUseTheLongFormatBelowAMinute()
{
    Main m(QStringLiteral("\tTimeHistory LAeq duration5s Q=3 date:d03m04y2009 time:h23n59 80.0 81.0"));
    m.h.setCursorsAndTexts(hms(23, 59, 7), 1.0 + hms(0, 0, 2));
    QCOMPARE(m.h.cursorTexts().cursor1Time, QStringLiteral("23:59:07"));
    QCOMPARE(m.h.cursorTexts().cursor1Value, QStringLiteral("81.0"));
    QCOMPARE(m.h.cursorTexts().cursor2Time, QStringLiteral("00:00:02"));
}

void TestTimeHistory::setCursorsAndTextsRaisesNothing()
{
    Main m(history60(QStringLiteral("80.0 81.0")));
    QSignalSpy texts(&m.h, &TKVTimeHistory::cursorTextsChanged);
    QSignalSpy summary(&m.h, &TKVTimeHistory::summaryChanged);
    m.h.setCursorsAndTexts(hms(8, 0), hms(8, 1));
    QCOMPARE(texts.count(), 0);
    QCOMPARE(summary.count(), 0);
    QCOMPARE(m.h.cursor1(), hms(8, 0));
    QCOMPARE(m.h.cursor2(), hms(8, 1));
    QCOMPARE(m.h.cursorTexts().cursor2Value, QStringLiteral("81.0"));
}

void TestTimeHistory::cursorEventCarriesItsArguments()
{
    TKVTimeHistory h(true, true);
    QSignalSpy spy(&h, &TKVTimeHistory::cursorMoved);
    h.cursorEvent(2, 17);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(1).toInt(), 2);
    QCOMPARE(spy.at(0).at(2).toInt(), 17);
}

void TestTimeHistory::maxBetweenCursors()
{
    Main m(history60(QStringLiteral("80.0 91.0P 65.0 time:h08n04 88.2O")));
    m.h.setCursorsAndTexts(hms(7, 0), hms(9, 0));
    m.h.computeMaxBetweenCursors();
    QCOMPARE(m.h.highestValueBetween(), 91.0);
    m.h.setCursorsAndTexts(hms(8, 2), hms(8, 2, 30));
    m.h.computeMaxBetweenCursors();
    QCOMPARE(m.h.highestValueBetween(), 65.0);    // not floored here
    m.h.setCursorsAndTexts(hms(8, 3), hms(8, 3)); // a pause only
    m.h.computeMaxBetweenCursors();
    QCOMPARE(m.h.highestValueBetween(), 0.0);

    Main bad(history60(QStringLiteral("80.0 8x.0 82.0")));
    bad.h.setCursorsAndTexts(hms(8, 2), hms(8, 2));
    bad.h.computeMaxBetweenCursors();
    QCOMPARE(bad.h.highestValueBetween(), 82.0);
    bad.h.setCursorsAndTexts(hms(8, 0), hms(8, 2));
    bad.h.computeMaxBetweenCursors();
    QCOMPARE(bad.h.highestValueBetween(), 82.0); // kept: an unreadable item between
}

// --- chart binding numbers ------------------------------------------------------------------

void TestTimeHistory::levelAxis_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("underrange");
    QTest::addColumn<QString>("samples");
    QTest::addColumn<LevelAxisRange>("range");
    const QString s = QStringLiteral("72.3 91.7");
    QTest::newRow("mode 1") << 1 << 70 << s << LevelAxisRange{false, 70, 95};
    QTest::newRow("mode 1, underrange above the minimum") << 1 << 75 << s << LevelAxisRange{false, 75, 95};
    QTest::newRow("mode 1, underrange near the maximum") << 1 << 90 << s << LevelAxisRange{false, 90, 100};
    QTest::newRow("mode 1 truncates toward zero")
        << 1 << -20 << QStringLiteral("-3.0 12.0") << LevelAxisRange{false, 0, 15};
    QTest::newRow("mode 2") << 2 << 75 << s << LevelAxisRange{false, 75, 144.9};
    QTest::newRow("mode 0") << 0 << 70 << s << LevelAxisRange{true, 72.3, 91.7};
    QTest::newRow("mode 0, underrange above the minimum") << 0 << 75 << s << LevelAxisRange{false, 75, 91.7};
}

void TestTimeHistory::levelAxis()
{
    QFETCH(int, mode);
    QFETCH(int, underrange);
    QFETCH(QString, samples);
    Main m(history60(samples));
    m.h.setAxisMode(mode);
    m.h.setUnderrangeLevel(underrange);
    QTEST(m.h.scaleLevelAxis({true, 0, 0}), "range");
}

void TestTimeHistory::levelAxisOfOtherHistoriesOnlyWidens()
{
    TKVTimeHistory peak(false, true);
    peak.setUnderrangeLevel(50);
    peak.setData(
        QStringLiteral("\tTimeHistory Peak duration60s Q=0 date:d03m04y2009 time:h08n00 100.0 131.0"));
    const LevelAxisRange main{false, 70, 95};
    QCOMPARE(peak.scaleLevelAxis(main), (LevelAxisRange{false, 70, 135}));
    QCOMPARE(peak.scaleLevelAxis({false, 105, 140}), (LevelAxisRange{false, 100, 140}));
    peak.setAxisMode(2);
    QCOMPARE(peak.scaleLevelAxis(main), main);
}

void TestTimeHistory::levelAxisNeedsAChartAndData()
{
    const LevelAxisRange current{false, 1, 2};
    TKVTimeHistory noData(true, true);
    QCOMPARE(noData.scaleLevelAxis(current), current);
    QCOMPARE(noData.scaleLevelAxisToCursors(current), current);
    TKVTimeHistory noChart;
    noChart.setAxisMode(1);
    noChart.setData(history60(QStringLiteral("80.0")));
    QCOMPARE(noChart.scaleLevelAxis(current), current);
}

void TestTimeHistory::levelAxisToCursors()
{
    Main m(history60(QStringLiteral("80.0 81.0 87.0 83.0")));
    m.h.setCursor1(hms(8, 1));
    m.h.setCursor2(hms(8, 2));
    QCOMPARE(m.h.scaleLevelAxisToCursors({}), (LevelAxisRange{false, 80, 90}));
    m.h.setUnderrangeLevel(82);
    QCOMPARE(m.h.scaleLevelAxisToCursors({}), (LevelAxisRange{false, 82, 90}));
    m.h.setUnderrangeLevel(88);
    QCOMPARE(m.h.scaleLevelAxisToCursors({}), (LevelAxisRange{false, 88, 93}));
    m.h.setAxisMode(2);
    QCOMPARE(m.h.scaleLevelAxisToCursors({false, 1, 2}), (LevelAxisRange{false, 1, 2}));

    // Without a summary (a peak history has no exchange rate) the axis falls back.
    TKVTimeHistory peak(true, true);
    peak.setUnderrangeLevel(120);
    peak.setData(QStringLiteral("\tTimeHistory Peak duration60s Q=0 date:d03m04y2009 time:h08n00 130.0"));
    peak.setCursor1(hms(8, 0));
    QCOMPARE(peak.scaleLevelAxisToCursors({}), (LevelAxisRange{false, 120, 145}));
}

void TestTimeHistory::nearerCursorAndPlacement()
{
    Main m(history60(QStringLiteral("80.0 81.0 82.0")));
    m.h.setCursorsAndTexts(0.4, 0.6);
    QCOMPARE(m.h.nearerCursor(0.5), 2); // half-way goes to cursor 2
    QCOMPARE(m.h.nearerCursor(0.45), 1);
    QCOMPARE(m.h.nearerCursor(0.55), 2);
    QCOMPARE(m.h.nearerCursor(0.1), 1);

    m.h.setCursorsAndTexts(0.0, 0.0);
    m.h.placeUnplacedCursors(hms(8, 0), hms(8, 3));
    QCOMPARE(m.h.cursor1(), hms(8, 0) + 1 / 86400.0);
    QCOMPARE(m.h.cursor2(), hms(8, 3) - 1 / 86400.0);
    m.h.setCursorsAndTexts(0.35, 0.0);
    m.h.placeUnplacedCursors(hms(8, 0), hms(8, 3));
    QCOMPARE(m.h.cursor1(), 0.35);
}

// --- span for the command line --------------------------------------------------------------

void TestTimeHistory::spanOfAClockRange()
{
    Main m(history60(QStringLiteral("80.0 81.0 82.0P 83.0")));
    double from = 0, to = 0;
    QVERIFY(m.h.chartTimeOfClock(u"08:01:30", from));
    QVERIFY(m.h.chartTimeOfClock(u"08:02", to));
    const TimeHistorySpan span = m.h.spanFor(from, to);
    QCOMPARE(span.cursorTexts.cursor1Time, QStringLiteral("08:01"));
    QCOMPARE(span.cursorTexts.cursor1Value, QStringLiteral("81.0"));
    QCOMPARE(span.cursorTexts.cursor2Value, QStringLiteral("82.0 P"));
    QCOMPARE(span.summaryTexts.durationBetween, QStringLiteral("00:02"));
    QCOMPARE(span.summaryTexts.levelBetween, QStringLiteral(" 81.6"));
    QCOMPARE(span.summaryTexts.levelOutside, QStringLiteral(" 81.8"));
    QCOMPARE(span.levelBetween, 81.6);
    QCOMPARE(span.highestBetween, 82.0);
    // Nothing of the history changed.
    QCOMPARE(m.h.cursor1(), 0.0);
    QCOMPARE(m.h.summaryTexts().levelBetween, QStringLiteral("---"));
}

void TestTimeHistory::spanOfTheWholeRecording()
{
    Main m(history60(QStringLiteral("80.0 81.0 82.0 83.0")));
    const TimeHistorySpan span = m.h.spanForWholeRecording();
    QCOMPARE(span.from, hms(8, 0, 1));
    QCOMPARE(span.to, hms(8, 3, 59));
    QCOMPARE(span.summaryTexts.durationBetween, QStringLiteral("00:04"));
    QCOMPARE(span.summaryTexts.durationOutside, QStringLiteral("---"));
    QCOMPARE(span.levelOutside, -1.0);
    QCOMPARE(span.highestBetween, 83.0);

    TKVTimeHistory peak(false, true);
    peak.setData(
        QStringLiteral("\tTimeHistory Peak duration60s Q=0 date:d03m04y2009 time:h08n00 130.0 125.0"));
    const TimeHistorySpan peakSpan = peak.spanForWholeRecording();
    QCOMPARE(peakSpan.summaryTexts.levelBetween, QStringLiteral("---"));
    QCOMPARE(peakSpan.highestBetween, 130.0);
}

void TestTimeHistory::chartTimeOfClock_data()
{
    QTest::addColumn<QString>("clock");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("time");
    QTest::newRow("after the start") << "23:30" << true << hms(23, 30);
    QTest::newRow("next day") << "01:15" << true << 1.0 + hms(1, 15);
    QTest::newRow("with seconds") << "22:00:30" << true << hms(22, 0, 30);
    QTest::newRow("one digit") << "1:5" << true << 1.0 + hms(1, 5);
    QTest::newRow("hour 24") << "24:00" << false << 0.0;
    QTest::newRow("seconds 60") << "22:00:60" << false << 0.0;
    QTest::newRow("words") << "ab:cd" << false << 0.0;
    QTest::newRow("hours only") << "22" << false << 0.0;
    QTest::newRow("signed") << "+1:00" << false << 0.0;
}

void TestTimeHistory::chartTimeOfClock()
{
    QFETCH(QString, clock);
    Main m(QStringLiteral("\tTimeHistory LAeq duration60s Q=3 date:d03m04y2009 time:h22n00 80.0"));
    double time = 0.0;
    QTEST(m.h.chartTimeOfClock(clock, time), "ok");
    QTEST(time, "time");
}

// --- files ----------------------------------------------------------------------------------

void TestTimeHistory::reviseTimestamps()
{
    Main m(history60(QStringLiteral("80.0 time:h08n00 81.0 time:h08n05 82.0P time:h08n05 83.0 ")));
    const QString revised = m.h.reviseTimestamps(QDateTime(QDate(2010, 5, 6), QTime(9, 30, 40), Qt::UTC));
    QCOMPARE(revised, QStringLiteral("TimeHistory LAeq duration60s Q=3 date:d06m05y2010 time:h09n30 "
                                     "80.0 81.0 time:h09n35 82.0P 83.0 "));
    Main back(revised);
    QCOMPARE(back.h.startDateTime(), QDateTime(QDate(2010, 5, 6), QTime(9, 30), Qt::UTC));
    QCOMPARE(back.h.sampleCount(), m.h.sampleCount());
}

void TestTimeHistory::reviseTimestampsWrapsPastMidnight()
{
    Main m(history60(QStringLiteral("80.0 time:h08n05 81.0 time:h09n10 82.0")));
    const QString revised = m.h.reviseTimestamps(QDateTime(QDate(2010, 5, 6), QTime(23, 0), Qt::UTC));
    QCOMPARE(revised, QStringLiteral("TimeHistory LAeq duration60s Q=3 date:d06m05y2010 time:h23n00 "
                                     "80.0 time:h23n05 81.0 time:h00n10 82.0 "));
}

void TestTimeHistory::reviseTimestampsFailureKeepsTheSource_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QDateTime>("start");
    const QDateTime good(QDate(2010, 5, 6), QTime(9, 0), Qt::UTC);
    QTest::newRow("invalid start") << history60("80.0") << QDateTime();
    QTest::newRow("empty source") << QString() << good;
    QTest::newRow("cut header") << QStringLiteral("\tTimeHistory LAeq duration60s Q=3") << good;
    QTest::newRow("no first marker") << QStringLiteral("\tTimeHistory LAeq duration60s Q=3 date:d03m04y2009")
                                     << good;
    QTest::newRow("invalid first marker")
        << QStringLiteral("\tTimeHistory LAeq duration60s Q=3 date:d03m04y2009 time:h25n00 80.0") << good;
    QTest::newRow("invalid later marker") << history60("80.0 time:h08n77 81.0") << good;
}

void TestTimeHistory::reviseTimestampsFailureKeepsTheSource()
{
    QFETCH(QString, source);
    QFETCH(QDateTime, start);
    TKVTimeHistory h;
    h.setData(source);
    QCOMPARE(h.reviseTimestamps(start), source);
}

void TestTimeHistory::exportLeqFileWords()
{
    Main m(history60(QStringLiteral("80.0 time:h08n02 91.0P 97.5PO 88.2O 8x.0P")));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("th.leq"));
    QVERIFY(m.h.exportLeqFile(path));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QCOMPARE(bytes.size(), 576 + 96 + 2 * 6);
    auto word = [&](int i) {
        return quint16(quint8(bytes[672 + 2 * i]) | (quint8(bytes[673 + 2 * i]) << 8));
    };
    QCOMPARE(word(0), quint16(0x7B20));        // 800, code 15
    QCOMPARE(word(1), quint16(0x4000));        // pause: 0, code 8
    QCOMPARE(word(2), quint16(0x238E));        // 910, code 4
    QCOMPARE(word(3), quint16(975 | 2 << 11)); // peak and overload: the overload code
    QCOMPARE(word(4), quint16(882 | 2 << 11));
    QCOMPARE(word(5), quint16(0 | 4 << 11)); // unreadable: level 0 with its flag code
}

QTEST_GUILESS_MAIN(TestTimeHistory)
#include "tst_timehistory.moc"
