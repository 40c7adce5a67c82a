// The simulated badges: the overall values on tiny hand-worked sample lists, the
// sample coding against the Reader-side decoding, and the generated shifts.

#include "instruments/KVTReaderPrintout.h"
#include "sim/SimBadge.h"
#include "sim/SimSampleCodec.h"

#include <QTest>

#include <cmath>

using namespace sonvex;

Q_DECLARE_METATYPE(QVector<double>)

namespace {

SimChannelSettings settings(int level, int rate, int threshold)
{
    SimChannelSettings s;
    s.criterionLevel = level;
    s.exchangeRate = rate;
    s.threshold = threshold;
    return s;
}

SimBadgeSpec badgeSpec(int period, double hours)
{
    SimBadgeSpec spec;
    spec.serial = QStringLiteral("12345");
    spec.recalDue = QDate(2010, 1, 1);
    spec.firstCalOffset = 0.2;
    spec.shift.start = QDateTime(QDate(2009, 3, 12), QTime(6, 30));
    spec.shift.periodSeconds = period;
    spec.shift.hours = hours;
    return spec;
}

QVector<const SimLogEntry*> samplesOf(const SimMeasurement& m)
{
    QVector<const SimLogEntry*> s;
    for (const SimLogEntry& e : m.log) {
        if (!e.marker)
            s.append(&e);
    }
    return s;
}

} // namespace

class TestSimBadge : public QObject
{
    Q_OBJECT

private slots:
    void settingsText();
    void results_data();
    void results();
    void codecMatchesReaderDecoding_data();
    void codecMatchesReaderDecoding();
    void encoderPicksNearestWord_data();
    void encoderPicksNearestWord();
    void markerAndPeakWords();
    void peakEncoderPicksNearestCount();
    void shiftSchedule_data();
    void shiftSchedule();
    void measurementLog_data();
    void measurementLog();
    void resultsAreConsistentWithEachOther();
    void sameSeedSameMeasurement();
};

void TestSimBadge::settingsText()
{
    QCOMPARE(settings(85, 3, 0).text(), QStringLiteral("85: 28800: 00: F: 3dB (Q=3) None"));
    SimChannelSettings s = settings(90, 5, 80);
    s.response = u'S';
    s.weighting = QStringLiteral("Slow");
    QCOMPARE(s.text(), QStringLiteral("90: 28800: 80: S: 5dB (Q=5) Slow"));
}

void TestSimBadge::results_data()
{
    QTest::addColumn<QVector<double>>("levels");
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("threshold");
    QTest::addColumn<double>("leq");
    QTest::addColumn<double>("lae");
    QTest::addColumn<double>("lex");
    QTest::addColumn<double>("exposure");
    QTest::addColumn<double>("doseLeq");
    QTest::addColumn<double>("dose");
    QTest::addColumn<double>("estDose");
    QTest::addColumn<double>("lavg");
    QTest::addColumn<double>("twa");

    // Two minutes at 80 and 90 dB: LAeq = 10 lg((10^8 + 10^9) / 2) = 87.404; T = 120 s
    // gives LAE + 20.792 and LEX - 23.802; E = 4e-10 * (1/60 h) * 1.1e9 = 0.007333 Pa2h;
    // dose from LAeq = 120/28800 * 100 * 10^0.2404 = 0.7247 %.
    QTest::newRow("3 dB") << QVector<double>{80, 90} << 85 << 3 << 0 << 87.4036 << 108.1954 << 63.6015
                          << 0.0073333 << 0.72469 << 0.72469 << 173.925 << 87.4036 << 63.6015;
    // 5 dB, criterion 90, threshold 80: weights 2^-2 + 2^0 = 1.25, dose = 100 * 60/28800 * 1.25
    // = 0.2604 %; Lavg = 90 + 5 log2(0.625) = 86.61; TWA = 90 + 5 log2(0.002604) = 47.08;
    // from LAeq: 100 * 10^(-2.596/16.60964) * 120/28800 = 0.2907 %.
    QTest::newRow("5 dB") << QVector<double>{80, 90} << 90 << 5 << 80 << 87.4036 << 108.1954 << 63.6015
                          << 0.0073333 << 0.29072 << 0.26042 << 62.5 << 86.6096 << 47.0752;
    // threshold 85 drops the 80 dB minute: dose 100 * 60/28800 = 0.2083 %, Lavg = 85.0.
    QTest::newRow("5 dB threshold") << QVector<double>{80, 90} << 90 << 5 << 85 << 87.4036 << 108.1954
                                    << 63.6015 << 0.0073333 << 0.29072 << 0.20833 << 50.0 << 85.0 << 45.4655;
    // 4 dB, criterion 85: weights 2^-1.25 + 2^1.25 = 2.79886, dose 0.5831 %, Lavg 86.94,
    // from LAeq 100 * 10^(2.4036/13.28771) * 120/28800 = 0.6319 %.
    QTest::newRow("4 dB") << QVector<double>{80, 90} << 85 << 4 << 0 << 87.4036 << 108.1954 << 63.6015
                          << 0.0073333 << 0.63195 << 0.58310 << 139.943 << 86.9394 << 55.3118;
    // eight hours at 85 dB: 100 %, E = 4e-10 * 8 * 10^8.5 = 1.0119 Pa2h, LAE = 85 + 44.594.
    QTest::newRow("8 h at 85") << QVector<double>(480, 85.0) << 85 << 3 << 0 << 85.0 << 129.5939 << 85.0
                               << 1.01193 << 100.0 << 100.0 << 100.0 << 85.0 << 85.0;
    // all below the threshold: no dose, no exchange-rate levels
    QTest::newRow("below threshold") << QVector<double>{70, 70} << 90 << 5 << 80 << 70.0 << 90.7918 << 46.1979
                                     << 0.00013333 << 0.0260417 << 0.0 << 0.0 << 0.0 << 0.0;
}

void TestSimBadge::results()
{
    QFETCH(QVector<double>, levels);
    QFETCH(int, level);
    QFETCH(int, rate);
    QFETCH(int, threshold);
    QFETCH(double, leq);
    QFETCH(double, lae);
    QFETCH(double, lex);
    QFETCH(double, exposure);
    QFETCH(double, doseLeq);
    QFETCH(double, dose);
    QFETCH(double, estDose);
    QFETCH(double, lavg);
    QFETCH(double, twa);
    const SimChannelResults r = computeChannelResults(levels, 60, settings(level, rate, threshold));
    auto near = [](double got, double want, double tol) {
        return std::abs(got - want) <= tol;
    };
    QVERIFY2(near(r.leq, leq, 1e-3), qPrintable(QString::number(r.leq)));
    QVERIFY2(near(r.lae, lae, 1e-3), qPrintable(QString::number(r.lae)));
    QVERIFY2(near(r.lex8h, lex, 1e-3), qPrintable(QString::number(r.lex8h)));
    QVERIFY2(near(r.exposure, exposure, exposure * 1e-4), qPrintable(QString::number(r.exposure)));
    QVERIFY2(near(r.doseLeq, doseLeq, doseLeq * 1e-3 + 1e-9), qPrintable(QString::number(r.doseLeq)));
    QVERIFY2(near(r.dose, dose, dose * 1e-4 + 1e-9), qPrintable(QString::number(r.dose)));
    QVERIFY2(near(r.estDose, estDose, estDose * 1e-4 + 1e-9), qPrintable(QString::number(r.estDose)));
    QVERIFY2(near(r.lavg, lavg, 1e-3), qPrintable(QString::number(r.lavg)));
    QVERIFY2(near(r.twa, twa, 1e-3), qPrintable(QString::number(r.twa)));
    QCOMPARE(r.seconds, levels.size() * 60.0);
}

void TestSimBadge::codecMatchesReaderDecoding_data()
{
    QTest::addColumn<double>("period");
    QTest::addColumn<int>("q");
    QTest::addColumn<double>("cal");
    QTest::addColumn<bool>("dual");
    QTest::newRow("60 s 3 dB") << 60.0 << 3 << 0.0 << false;
    QTest::newRow("5 s 3 dB offset") << 5.0 << 3 << 0.3 << false;
    QTest::newRow("60 s 4 dB") << 60.0 << 4 << -0.2 << false;
    QTest::newRow("60 s 5 dB dual") << 60.0 << 5 << 0.0 << true;
    QTest::newRow("5 s 5 dB") << 5.0 << 5 << 0.1 << false;
}

void TestSimBadge::codecMatchesReaderDecoding()
{
    QFETCH(double, period);
    QFETCH(int, q);
    QFETCH(double, cal);
    QFETCH(bool, dual);
    const SimSampleCodec::ChannelCoding c{period, q, cal, dual};
    for (int w = 0; w < 0x2000; ++w) {
        const double parser = printout::sampleLevel(quint16(w), period, q, cal, dual);
        const double sim = SimSampleCodec::level(quint16(w), c);
        if (std::abs(parser - sim) > 1e-9)
            QFAIL(qPrintable(QStringLiteral("word %1: %2 vs %3").arg(w, 4, 16).arg(parser).arg(sim)));
        QCOMPARE(SimSampleCodec::magnitude(quint16(w)), printout::sampleMagnitude(quint16(w)));
    }
}

void TestSimBadge::encoderPicksNearestWord_data()
{
    codecMatchesReaderDecoding_data();
}

void TestSimBadge::encoderPicksNearestWord()
{
    QFETCH(double, period);
    QFETCH(int, q);
    QFETCH(double, cal);
    QFETCH(bool, dual);
    const SimSampleCodec::ChannelCoding c{period, q, cal, dual};
    for (double wanted = 40.0; wanted <= 150.0; wanted += 0.73) {
        const quint16 w = SimSampleCodec::encodeLevel(wanted, c);
        QVERIFY((w & 0xE000) == 0);
        const double error = std::abs(printout::sampleLevel(w, period, q, cal, dual) - wanted);
        double best = 1e9;
        for (int other = 0; other < 0x2000; ++other)
            best = std::min(best,
                            std::abs(printout::sampleLevel(quint16(other), period, q, cal, dual) - wanted));
        QVERIFY2(error <= best + 1e-9,
                 qPrintable(QStringLiteral("%1 dB: %2 vs best %3").arg(wanted).arg(error).arg(best)));
    }
}

void TestSimBadge::markerAndPeakWords()
{
    QCOMPARE(SimSampleCodec::markerWord(9, 13), quint16(0x8913));
    QCOMPARE(SimSampleCodec::markerWord(23, 59), quint16(0xA359));
    QCOMPARE(SimSampleCodec::markerWord(0, 0), quint16(0x8000));
    QCOMPARE(printout::markerItem(SimSampleCodec::markerWord(17, 5)), QStringLiteral("time:h17n05"));
    // 84 + 6.02 * log2 256 = 132.16 dB; 3.74 V / 0.1169 = 32 counts
    QCOMPARE(SimSampleCodec::encodePeak(132.16, 3.74, 0.0), quint16(32 << 10 | 256));
    QCOMPARE(SimSampleCodec::encodePeak(132.36, 3.74, 0.2), quint16(32 << 10 | 256));
    QCOMPARE(SimSampleCodec::encodePeak(50.0, 0.0, 0.0), quint16(0));
    QCOMPARE(SimSampleCodec::encodePeak(200.0, 99.0, 0.0), quint16(63 << 10 | 1023));
}

void TestSimBadge::peakEncoderPicksNearestCount()
{
    for (double peak = 84.0; peak <= 144.0; peak += 0.61) {
        const quint16 v = SimSampleCodec::encodePeak(peak, 3.8, 0.1);
        const double error = std::abs(printout::peakLevel(v, 0.1) - peak);
        double best = 1e9;
        for (int count = 0; count < 1024; ++count)
            best = std::min(best, std::abs(printout::peakLevel(quint16(count), 0.1) - peak));
        QVERIFY2(error <= best + 1e-9, qPrintable(QString::number(peak)));
        // 3.8 V lies between 32 counts (3.741 V) and 33 (3.858 V), a little nearer 33
        QCOMPARE(printout::batteryVolts(v), 33 * 0.1169);
    }
}

void TestSimBadge::shiftSchedule_data()
{
    QTest::addColumn<quint64>("seed");
    QTest::addColumn<int>("period");
    QTest::addColumn<double>("hours");
    QTest::addColumn<QDate>("day");
    const QDate day(2009, 3, 12);
    QTest::newRow("8 h at 60 s") << quint64(1) << 60 << 8.0 << day;
    QTest::newRow("8 h at 5 s") << quint64(2) << 5 << 8.0 << day;
    QTest::newRow("24 h at 60 s") << quint64(3) << 60 << 24.0 << day;
    QTest::newRow("half an hour") << quint64(4) << 60 << 0.5 << day;
    // European clocks go forward in the night after 28 March 2009, American ones after 7 March
    QTest::newRow("over a daylight-saving night") << quint64(5) << 60 << 24.0 << QDate(2009, 3, 28);
    QTest::newRow("over the American one") << quint64(6) << 5 << 24.0 << QDate(2009, 3, 7);
}

void TestSimBadge::shiftSchedule()
{
    QFETCH(quint64, seed);
    QFETCH(int, period);
    QFETCH(double, hours);
    QFETCH(QDate, day);
    SimShiftOptions o;
    o.start = QDateTime(day, QTime(7, 15, 42));
    o.periodSeconds = period;
    o.hours = hours;
    const SimShift s = generateShift(seed, o);
    QCOMPARE(s.start.date(), day);
    QCOMPARE(s.start.time(), QTime(7, 15)); // whole minute
    int minutes = 0, breaks = 0;
    for (const SimTask& t : s.tasks) {
        QVERIFY(t.minutes > 0);
        minutes += t.minutes;
        breaks += t.name == QLatin1String("break") || t.name == QLatin1String("lunch");
    }
    QCOMPARE(minutes, int(hours * 60));
    if (hours >= 8)
        QVERIFY(breaks >= 3);
    if (hours >= 1) {
        QVERIFY(s.pauseAfterMinutes > 0 && s.pauseAfterMinutes < minutes);
        QVERIFY(s.pauseMinutes >= 10 && s.pauseMinutes <= 40);
    } else {
        QCOMPARE(s.pauseAfterMinutes, -1);
    }
    QVERIFY(s.overloadSample >= 0 && s.overloadSample < minutes * 60 / period);
}

void TestSimBadge::measurementLog_data()
{
    shiftSchedule_data();
}

void TestSimBadge::measurementLog()
{
    QFETCH(quint64, seed);
    QFETCH(int, period);
    QFETCH(double, hours);
    QFETCH(QDate, day);
    SimBadgeSpec spec = badgeSpec(period, hours);
    spec.shift.start.setDate(day);
    spec.settings2 = settings(90, 5, 80);
    const SimMeasurement m = generateMeasurement(seed, spec, SimBadgeCoding{});
    const auto samples = samplesOf(m);
    QCOMPARE(samples.size(), qsizetype(hours * 3600 / period));
    QCOMPARE(m.runSeconds, qint64(hours * 3600));

    // The log starts with the start time; every later marker stands at a whole
    // hour or at the end of the pause.
    QVERIFY(m.log.first().marker);
    QCOMPARE(m.log.first().hour, 6);
    QCOMPARE(m.log.first().minute, 30);
    qint64 expected = 0, paused = 0;
    int overloads = 0;
    for (qsizetype i = 1; i < m.log.size(); ++i) {
        const SimLogEntry& e = m.log.at(i);
        if (e.marker) {
            const qint64 next = i + 1 < m.log.size() ? m.log.at(i + 1).second : expected;
            // wall-clock time of day of the next sample
            const qint64 at = (qint64(6 * 3600 + 30 * 60) + next) % 86400;
            QCOMPARE(e.hour, int(at / 3600));
            QCOMPARE(e.minute, int(at / 60 % 60));
            QCOMPARE(at % 60, qint64(0));
            QCOMPARE(e.word1, SimSampleCodec::markerWord(e.hour, e.minute));
            QCOMPARE(e.peakWord, e.word1);
            continue;
        }
        if (e.second != expected) {
            paused += e.second - expected;
            expected = e.second;
        }
        expected += period;
        // words decode to the logged values; flags follow the peak and overload
        const SimSampleCodec::ChannelCoding c1 = m.coding1();
        QCOMPARE(printout::sampleLevel(e.word1, c1.period, c1.q, c1.calOffset, c1.dual), e.level1);
        QCOMPARE(bool(e.word1 & SimSampleCodec::kPeakFlag), e.peak >= spec.peakEventLevel);
        QCOMPARE(bool(e.word1 & SimSampleCodec::kOverloadFlag), e.overload);
        QCOMPARE(bool(e.word2 & SimSampleCodec::kOverloadFlag), e.overload);
        QCOMPARE(printout::peakLevel(e.peakWord, 0.2), e.peak);
        overloads += e.overload;
    }
    QCOMPARE(paused, qint64(m.shift.pauseMinutes) * 60);
    QCOMPARE(overloads, 1);
    QVERIFY(m.overload);
}

void TestSimBadge::resultsAreConsistentWithEachOther()
{
    // Standard identities between values computed along different paths:
    // E = 4e-10 Pa2 * 8 h * 10^(LEX,8h / 10) and, for 3 dB without a threshold and an
    // 8 h criterion, dose = 100 * 10^((LEX,8h - Lc) / 10).
    SimBadgeSpec spec = badgeSpec(60, 7.5);
    const SimMeasurement m = generateMeasurement(7, spec, SimBadgeCoding{});
    const SimChannelResults& r = m.results1;
    QVERIFY(std::abs(r.exposure - 4e-10 * 8 * std::pow(10.0, r.lex8h / 10)) < r.exposure * 1e-9);
    QVERIFY(std::abs(r.dose - 100 * std::pow(10.0, (r.lex8h - 85) / 10)) < r.dose * 1e-9);
    QVERIFY(std::abs(r.twa - r.lex8h) < 1e-9);
    // a working shift with breaks lies between its quietest and loudest tasks
    QVERIFY(r.leq > 62 && r.leq < 100);
    QVERIFY(m.peakMax >= 84 && m.peakMax <= 144.5);
    QCOMPARE(m.peaks137 + m.peaks135 > 0, m.peakMax > 135.0);
}

void TestSimBadge::sameSeedSameMeasurement()
{
    const SimBadgeSpec spec = badgeSpec(60, 8);
    const SimMeasurement a = generateMeasurement(42, spec, SimBadgeCoding{});
    const SimMeasurement b = generateMeasurement(42, spec, SimBadgeCoding{});
    const SimMeasurement c = generateMeasurement(43, spec, SimBadgeCoding{});
    auto words = [](const SimMeasurement& m) {
        QVector<quint16> w;
        for (const SimLogEntry& e : m.log)
            w << e.word1 << e.peakWord;
        return w;
    };
    QCOMPARE(words(a), words(b));
    QCOMPARE(a.results1.leq, b.results1.leq);
    QVERIFY(words(a) != words(c));
}

QTEST_APPLESS_MAIN(TestSimBadge)
#include "tst_simbadge.moc"
