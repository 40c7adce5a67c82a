// The chart rules shared by the data view and the reports: strings, run time, peak counts,
// label texts, the whole-run level and the per-sample table.

#include "data/KVTimeHistory.h"
#include "reports/TimeHistoryRules.h"

#include <QtTest>

using namespace sonvex;

namespace {

const QString kHead = QStringLiteral("\tTimeHistory %1 duration60s %2 date:d03m04y2009 time:h08n00 ");

QString history(const QString& title, const QString& rate, const QString& samples)
{
    return kHead.arg(title, rate) + samples;
}

// A chart-bound history as the chart frame configures it.
std::unique_ptr<TKVTimeHistory> decoded(const QString& text, bool main, int underrange)
{
    auto h = std::make_unique<TKVTimeHistory>(main, true);
    h->setTimeFormats({QStringLiteral("HH:mm"), QStringLiteral("HH:mm:ss")});
    h->setUnderrangeLevel(underrange);
    h->setData(text);
    return h;
}

} // namespace

class TstTHRules : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void runTimeToSeconds_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("seconds");
        QTest::newRow("eight hours") << "08:00:00" << 28800;
        QTest::newRow("a day and an hour") << "25:00:00" << 90000;
        QTest::newRow("three hour digits") << "123:04:05" << 443045;
        QTest::newRow("minutes and seconds") << "00:12:34" << 754;
        QTest::newRow("an unreadable part counts 0") << "08:xx:30" << 28830;
        QTest::newRow("one hour digit reads as three") << "8:00:00" << 0;
        QTest::newRow("no colon at all") << "----" << -1;
        QTest::newRow("empty") << "" << -1;
    }

    void runTimeToSeconds()
    {
        QFETCH(QString, text);
        QFETCH(int, seconds);
        QCOMPARE(THRules::runTimeToSeconds(text), seconds);
    }

    void chooseStrings()
    {
        const QString ch1 = history(QStringLiteral("LAeq"), QStringLiteral("Q=3"), QStringLiteral("80.0 "));
        const QString peak = history(QStringLiteral("Peak"), QStringLiteral("Q=0"), QStringLiteral("130.0 "));
        const QString batt =
            history(QStringLiteral("Battery"), QStringLiteral("Q=0"), QStringLiteral("3.9 "));
        const QString ch2 = history(QStringLiteral("Ch2"), QStringLiteral("Q=3"), QStringLiteral("78.0 "));
        // A download line: the values of the measurement, then the histories, each with its tab.
        const QString line = QStringLiteral("1\t\t\t\t77693") + ch1 + peak + batt + ch2;
        const TimeHistoryStrings fromLine = THRules::chooseStrings(line, QStringLiteral("other"), {}, {});
        QVERIFY(fromLine.fromDownloadLine);
        // Each string starts at "TimeHistory": its tab is the delimiter.
        QCOMPARE(fromLine.channel1, ch1.mid(1));
        QCOMPARE(fromLine.peak, peak.mid(1));
        QCOMPARE(fromLine.battery, batt.mid(1));
        QCOMPARE(fromLine.channel2, ch2.mid(1));

        const TimeHistoryStrings fromRecord =
            THRules::chooseStrings(QStringLiteral("1\t2\t3"), ch1, peak, ch2);
        QVERIFY(!fromRecord.fromDownloadLine);
        QCOMPARE(fromRecord.channel1, ch1);
        QCOMPARE(fromRecord.peak, peak);
        QCOMPARE(fromRecord.channel2, ch2);
        QVERIFY(fromRecord.battery.isEmpty());

        // Without a channel-1 string the record gives nothing at all.
        const TimeHistoryStrings none = THRules::chooseStrings(QString(), QString(), peak, ch2);
        QVERIFY(none.channel1.isEmpty() && none.peak.isEmpty() && none.channel2.isEmpty());
    }

    void peakCounts_data()
    {
        QTest::addColumn<QString>("samples");
        QTest::addColumn<int>("p135");
        QTest::addColumn<int>("p137");
        QTest::newRow("136, 137, 138, 141") << "136.0 137.0 138.0 141.0 " << 2 << 2;
        QTest::newRow("135 itself is not above 135") << "135.0 135.1 " << 1 << 0;
        QTest::newRow("flags are not part of the value") << "136.5P 137.5PO 120.0 " << 1 << 1;
        QTest::newRow("a pause counts nothing") << "136.0 time:h08n05 138.0 " << 1 << 1;
        QTest::newRow("unreadable counts nothing") << "abc 140.0 " << 0 << 1;
    }

    void peakCounts()
    {
        QFETCH(QString, samples);
        QFETCH(int, p135);
        QFETCH(int, p137);
        const auto peak =
            decoded(history(QStringLiteral("Peak"), QStringLiteral("Q=0"), samples), false, 120);
        const THRules::PeakCounts c = THRules::countPeaks(*peak);
        QCOMPARE(c.peak135, p135);
        QCOMPARE(c.peak137, p137);
        QCOMPARE(c.peak140, 0);
    }

    void labels_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("cursorLabel");
        QTest::addColumn<QString>("peakLabel");
        QTest::newRow("a level") << "LAeq dB"
                                 << "86.3"
                                 << "LAeq  86.3 dB"
                                 << "Peak 86.3 dB";
        QTest::newRow("underrange keeps the prefix's blank and adds one") << "LAeq dB"
                                                                          << "Underrange"
                                                                          << "LAeq  Underrange"
                                                                          << "Peak Underrange";
        QTest::newRow("a pause") << "LAeq dB"
                                 << "pause"
                                 << "LAeq  pause"
                                 << "Peak pause";
        QTest::newRow("flags read as a level") << "Lavg dB"
                                               << "97.5 POL"
                                               << "Lavg  97.5 POL dB"
                                               << "Peak 97.5 POL dB";
        QTest::newRow("a title without a blank") << "LAeq"
                                                 << "80.0"
                                                 << " 80.0 dB"
                                                 << "Peak 80.0 dB";
    }

    void labels()
    {
        QFETCH(QString, title);
        QFETCH(QString, value);
        QFETCH(QString, cursorLabel);
        QFETCH(QString, peakLabel);
        const QString prefix = THRules::seriesPrefix(title);
        QCOMPARE(THRules::cursorValueLabel(prefix, value), cursorLabel);
        QCOMPARE(THRules::peakCursorLabel(value), peakLabel);
    }

    void wholeRunLevel_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("outside");
        QTest::addColumn<QString>("runTime");
        QTest::addColumn<QString>("rate");
        QTest::addColumn<QString>("lavg");
        QTest::addColumn<QString>("leq");
        QTest::addColumn<QString>("level");
        // The history's level between the cursors is " 85.7" in every row.
        QTest::newRow("Lavg, every sample, 08:00:00") << "Lavg dB"
                                                      << "---"
                                                      << "08:00:00"
                                                      << "5"
                                                      << "86.1"
                                                      << "---"
                                                      << "86.1";
        QTest::newRow("Lavg, every sample, 25:00:00") << "Lavg dB"
                                                      << "---"
                                                      << "25:00:00"
                                                      << "5"
                                                      << "86.1"
                                                      << "---"
                                                      << " 85.7";
        QTest::newRow("Lavg, exactly 24 hours") << "Lavg dB"
                                                << "---"
                                                << "24:00:00"
                                                << "5"
                                                << "86.1"
                                                << "---"
                                                << "86.1";
        QTest::newRow("Lavg, samples outside") << "Lavg dB"
                                               << "01:00"
                                               << "08:00:00"
                                               << "5"
                                               << "86.1"
                                               << "---"
                                               << " 85.7";
        QTest::newRow("LAeq with 3 dB") << "LAeq dB"
                                        << "---"
                                        << "08:00:00"
                                        << "3"
                                        << "86.1"
                                        << "85.9"
                                        << "85.9";
        QTest::newRow("LAeq with another rate") << "LAeq dB"
                                                << "---"
                                                << "08:00:00"
                                                << "5"
                                                << "86.1"
                                                << "85.9"
                                                << " 85.7";
        QTest::newRow("the instrument gave no value") << "LAeq dB"
                                                      << "---"
                                                      << "08:00:00"
                                                      << "3"
                                                      << "86.1"
                                                      << "---"
                                                      << " 85.7";
        QTest::newRow("peak series") << "Peak dBC"
                                     << "---"
                                     << "08:00:00"
                                     << "3"
                                     << "86.1"
                                     << "85.9"
                                     << " 85.7";
    }

    void wholeRunLevel()
    {
        QFETCH(QString, title);
        QFETCH(QString, outside);
        QFETCH(QString, runTime);
        QFETCH(QString, rate);
        QFETCH(QString, lavg);
        QFETCH(QString, leq);
        QFETCH(QString, level);
        SummaryTexts s;
        s.levelBetween = QStringLiteral(" 85.7");
        s.durationOutside = outside;
        const THRules::WholeRunValues values{lavg, leq, rate, runTime};
        QCOMPARE(THRules::levelBetweenText(THRules::seriesPrefix(title), s, values), level);
    }

    void sampleTable()
    {
        const auto ch1 = decoded(history(QStringLiteral("LAeq"), QStringLiteral("Q=3"),
                                         QStringLiteral("80.0 68.4P time:h08n03 91.0PO ")),
                                 true, 70);
        ch1->setSeriesTitle(ch1->seriesTitle() + QStringLiteral(" dB"));
        const auto peak = decoded(history(QStringLiteral("Peak"), QStringLiteral("Q=0"),
                                          QStringLiteral("130.0 110.0 131.0 133.0 ")),
                                  false, 120);
        TKVTimeHistory battery;
        battery.setData(
            history(QStringLiteral("Battery"), QStringLiteral("Q=0"), QStringLiteral("4.1 4.0 3.9 ")));

        const TimeHistorySampleTable t =
            THRules::buildSampleTable(ch1.get(), peak.get(), &battery, nullptr, ch1->seriesTitle(), true);
        // Headings, an empty row, then one row per sample of the longest history.
        QCOMPARE(t.rowCount(), 2 + 4);
        QCOMPARE(t.rows.at(0),
                 (QStringList{"Time", "LAeq dB", "Flags", "Peak Value dBC", "Battery Volts", ""}));
        QCOMPARE(t.rows.at(1), QStringList(6, QString()));
        QCOMPARE(t.rows.at(2), (QStringList{"08:00", "80.0", "", "130.0", "4.1", ""}));
        // Below the underrange level (70; 120 for the peak) a value reads "Underrange".
        QCOMPARE(t.rows.at(3), (QStringList{"08:01", "Underrange", "P ", "Underrange", "4.0", ""}));
        // The marker inserted a pause: its value cells stay empty.
        QCOMPARE(t.rows.at(4), (QStringList{"08:02", "", "pause ", "131.0", "3.9", ""}));
        QCOMPARE(t.rows.at(5), (QStringList{"08:03", "91.0", "P O ", "133.0", "", ""}));
        QCOMPARE(t.lastBatteryText(), QString());
        QCOMPARE(t.cell(4, 4), QStringLiteral("3.9"));
        QCOMPARE(t.cell(99, 0), QString());
    }

    void sampleTableWithChannel2AndWithoutPeaks()
    {
        const auto ch1 = decoded(
            history(QStringLiteral("Lavg"), QStringLiteral("Q=5"), QStringLiteral("80.0 ")), true, 70);
        const auto ch2 = decoded(
            history(QStringLiteral("Ch2"), QStringLiteral("Q=3"), QStringLiteral("78.0 79.0 ")), false, 70);
        const auto peak = decoded(
            history(QStringLiteral("Peak"), QStringLiteral("Q=0"), QStringLiteral("130.0 ")), false, 120);
        const TimeHistorySampleTable t = THRules::buildSampleTable(ch1.get(), peak.get(), nullptr, ch2.get(),
                                                                   QStringLiteral("Lavg dB"), false);
        QCOMPARE(t.rowCount(), 4);
        QCOMPARE(t.cell(0, 1), QStringLiteral("LAeq Value dB Channel 1"));
        QCOMPARE(t.cell(0, 5), QStringLiteral("LAeq Value dB Channel 2"));
        QCOMPARE(t.cell(0, 3), QStringLiteral("Peak Value dBC"));
        // The peak column stays empty when the peak history is not shown.
        QCOMPARE(t.cell(2, 3), QString());
        QCOMPARE(t.cell(2, 5), QStringLiteral("78.0"));
        QCOMPARE(t.cell(3, 5), QStringLiteral("79.0"));
        QCOMPARE(t.cell(3, 1), QString());
    }

    void emptySampleTableHasItsHeadings()
    {
        const TimeHistorySampleTable t =
            THRules::buildSampleTable(nullptr, nullptr, nullptr, nullptr, {}, false);
        QCOMPARE(t.rowCount(), 3);
        QCOMPARE(t.cell(0, 0), QStringLiteral("Time"));
        QCOMPARE(t.cell(0, 4), QStringLiteral("Battery Volts"));
        QCOMPARE(t.cell(2, 0), QString());
    }

    void chartTimeAndDateTime_data()
    {
        QTest::addColumn<double>("time");
        QTest::addColumn<QDateTime>("dateTime");
        QTest::newRow("noon of day 0") << 0.5 << QDateTime(QDate(1899, 12, 30), QTime(12, 0), Qt::UTC);
        QTest::newRow("after midnight")
            << 1.0 + 3600.0 / 86400 << QDateTime(QDate(1899, 12, 31), QTime(1, 0), Qt::UTC);
        QTest::newRow("a second") << (8 * 3600 + 1) / 86400.0
                                  << QDateTime(QDate(1899, 12, 30), QTime(8, 0, 1), Qt::UTC);
    }

    void chartTimeAndDateTime()
    {
        QFETCH(double, time);
        QFETCH(QDateTime, dateTime);
        QCOMPARE(THRules::dateTimeOfChartTime(time), dateTime);
        QVERIFY(std::fabs(THRules::chartTimeOf(dateTime) - time) < 1e-9);
        QCOMPARE(THRules::chartTimeOf(QVariant()), 0.0);
    }

    void chartTimeIgnoresTheTimeZone()
    {
        const QByteArray old = qgetenv("TZ");
        qputenv("TZ", "America/New_York");
        const QDateTime dt = THRules::dateTimeOfChartTime(0.375);
        QCOMPARE(dt.time(), QTime(9, 0));
        QVERIFY(std::fabs(THRules::chartTimeOf(dt) - 0.375) < 1e-9);
        qputenv("TZ", old);
    }
};

QTEST_APPLESS_MAIN(TstTHRules)
#include "tst_thrules.moc"
