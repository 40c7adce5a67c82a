// Simulated Reader -> printout -> print-dump parser -> download text loader,
// compared with the generator's own values. Writer and parser come from the
// same team, so this only adds to the hand-worked parser tests; the time
// histories are read back by a reader of the documented string format.

#include "HistoryReader.h"

#include "data/DownloadText.h"
#include "data/KVTimeHistory.h"
#include "data/SonvexDataModule.h"
#include "instruments/KVTReaderPrintout.h"
#include "sim/SimReader.h"

#include <QTest>

#include <cmath>

using namespace sonvex;

Q_DECLARE_METATYPE(SimReaderModel)
Q_DECLARE_METATYPE(SimResultKind)
Q_DECLARE_METATYPE(SimSecondChannel)
Q_DECLARE_METATYPE(PrintoutLayout)

namespace {

const QLocale kGB(QLocale::English, QLocale::UnitedKingdom);
constexpr int kBadges = 4;

// The over-range mark as the table stores it.
bool isOverRange(const QVariant& v)
{
    return v.isValid() && v.toDouble() > 1e37;
}

QString hms(qint64 seconds)
{
    auto two = [](qint64 v) {
        return QString::number(v).rightJustified(2, u'0');
    };
    return two(seconds / 3600) + u':' + two(seconds / 60 % 60) + u':' + two(seconds % 60);
}

double energyMean(const QVector<HistorySample>& s)
{
    double sum = 0;
    for (const HistorySample& v : s)
        sum += std::pow(10.0, v.value / 10.0);
    return 10.0 * std::log10(sum / s.size());
}

// Exchange-rate average over the measured time with the threshold applied.
double rateAverage(const QVector<HistorySample>& s, const SimChannelSettings& set)
{
    double sum = 0;
    for (const HistorySample& v : s) {
        if (set.threshold > 0 && v.value < set.threshold)
            continue;
        sum += set.exchangeRate == 3 ? std::pow(10.0, (v.value - set.criterionLevel) / 10.0)
                                     : std::exp2((v.value - set.criterionLevel) / set.exchangeRate);
    }
    const double mean = sum / s.size();
    return set.criterionLevel +
           (set.exchangeRate == 3 ? 10.0 * std::log10(mean) : set.exchangeRate * std::log2(mean));
}

} // namespace

class TestPrintoutRoundTrip : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void printoutIsPlainAscii();
};

void TestPrintoutRoundTrip::roundTrip_data()
{
    QTest::addColumn<SimReaderModel>("model");
    QTest::addColumn<SimResultKind>("results");
    QTest::addColumn<SimSecondChannel>("channel2");
    QTest::addColumn<int>("period");
    QTest::addColumn<double>("hours");
    QTest::addColumn<quint64>("seed");
    QTest::addColumn<PrintoutLayout>("layout");

    using M = SimReaderModel;
    using R = SimResultKind;
    using C = SimSecondChannel;
    using L = PrintoutLayout;
    QTest::newRow("RM:50A 3 dB") << M::RM50A << R::Q3 << C::None << 60 << 8.0 << quint64(1) << L::Plain;
    QTest::newRow("RM:50A 5 dB") << M::RM50A << R::Q5 << C::None << 60 << 8.0 << quint64(2) << L::Q5;
    QTest::newRow("RM:50A data check 5 s")
        << M::RM50A << R::DataCheck << C::None << 5 << 8.0 << quint64(3) << L::Both;
    QTest::newRow("RM:50A mixed") << M::RM50A << R::Mixed << C::None << 60 << 8.0 << quint64(4) << L::Both;
    QTest::newRow("RM:50A dual data") << M::RM50A << R::Q3 << C::Dual << 60 << 8.0 << quint64(5) << L::Both;
    QTest::newRow("RM:50A thre data")
        << M::RM50A << R::Q3 << C::Threshold << 60 << 8.0 << quint64(6) << L::Plain;
    QTest::newRow("RM:52A 3+5 dB") << M::RM52A << R::Q3 << C::Dual << 60 << 8.0 << quint64(7) << L::DualBoth;
    QTest::newRow("RM:52A 5 dB 5 s") << M::RM52A << R::Q5 << C::Dual << 5 << 8.0 << quint64(8) << L::Dual;
    QTest::newRow("RM:52A thre data")
        << M::RM52A << R::Q3 << C::Threshold << 60 << 8.0 << quint64(9) << L::Dual;
    QTest::newRow("RM:52A data check")
        << M::RM52A << R::DataCheck << C::Dual << 60 << 8.0 << quint64(10) << L::DualBoth;
    QTest::newRow("RM:40 3 dB") << M::RM40 << R::Q3 << C::None << 60 << 8.0 << quint64(11) << L::Plain;
    QTest::newRow("RM:40 5 dB 5 s") << M::RM40 << R::Q5 << C::None << 5 << 8.0 << quint64(12) << L::Q5;
    QTest::newRow("RM:40 mixed") << M::RM40 << R::Mixed << C::None << 60 << 7.3 << quint64(13) << L::Both;
    QTest::newRow("RM:50A 24 h") << M::RM50A << R::Q3 << C::None << 60 << 24.0 << quint64(14) << L::Plain;
}

void TestPrintoutRoundTrip::roundTrip()
{
    QFETCH(SimReaderModel, model);
    QFETCH(SimResultKind, results);
    QFETCH(SimSecondChannel, channel2);
    QFETCH(int, period);
    QFETCH(double, hours);
    QFETCH(quint64, seed);
    QFETCH(PrintoutLayout, layout);

    SimReaderOptions options;
    options.model = model;
    options.results = results;
    options.secondChannel = channel2;
    options.periodSeconds = period;
    options.hours = hours;
    const SimReader reader = generateReader(kBadges, seed, options);
    QCOMPARE(reader.badges.size(), kBadges);

    const UserFormats user = UserFormats::fromLocale(kGB);
    const PrintoutContext ctx = PrintoutContext::fromUserFormats(
        user, QDateTime(QDate(2009, 3, 20), QTime(9, 0)), QStringLiteral("2.10"));
    const QStringList text = ParsePrintout(writePrintout(reader), ctx);
    QVERIFY(!text.contains(QStringLiteral("file format error")));
    QCOMPARE(text.size(), 4 + kBadges);
    QCOMPARE(text.at(3), printoutHeaderNames(layout).join(u'\t'));
    const QStringList names = text.at(3).split(u'\t');

    QStringList lines = text;
    Tdm dm;
    DownloadTextContext load;
    load.user = user;
    load.today = QDate(2009, 3, 20);
    const DownloadTextResult res = DownloadText::LoadDownloadText(lines, *dm.CDSMeas(), load);
    QCOMPARE(res.records, kBadges);
    // The loader finds the reader's serial behind "RM:50" and "RM:52" only.
    QCOMPARE(res.readerId, model == SimReaderModel::RM40 ? QString() : reader.serial + u' ');

    const bool dualReader = model == SimReaderModel::RM52A;
    const bool dataCheck = results == SimResultKind::DataCheck;
    for (int i = 0; i < kBadges; ++i) {
        const SimMeasurement& m = reader.badges.at(i);
        const SimBadgeSpec& spec = m.spec;
        const QString where = QStringLiteral("badge %1: ").arg(i + 1);
        auto v = [&](const char* field) {
            return dm.CDSMeas()->rowValue(i, QLatin1String(field));
        };
        auto near = [&](const char* field, double want, double tolerance) {
            const QVariant got = v(field);
            if (want >= 9999.95) {
                QVERIFY2(isOverRange(got), qPrintable(where + QLatin1String(field)));
                return;
            }
            QVERIFY2(got.isValid() && std::abs(got.toDouble() - want) <= tolerance + 1e-9,
                     qPrintable(where + QLatin1String(field) +
                                QStringLiteral(" %1, want %2").arg(got.toDouble()).arg(want)));
        };
        const QStringList raw = text.at(4 + i).split(u'\t');
        auto column = [&](const char* name) {
            return raw.value(names.indexOf(QLatin1String(name)));
        };

        QCOMPARE(v("read_order").toInt(), i + 1);
        QCOMPARE(v("badge").toString(), spec.serial);
        QCOMPARE(v("badgeFirmware").toString(), QStringLiteral("2.10 ") + spec.firmware);
        QCOMPARE(v("settings").toString(), spec.settings1.text());
        const qint64 run =
            model == SimReaderModel::RM40 ? std::llround(m.runSeconds / 360.0) * 360 : m.runSeconds;
        QCOMPARE(v("RunTime").toString(), hms(run));
        QCOMPARE(v("MeasDate").toDate(), m.shift.start.date());
        QCOMPARE(v("MeasTimeTime").toTime(), m.shift.start.time());
        if (spec.calibrated)
            near("cal1_offset", spec.firstCalOffset, 0.0);
        QCOMPARE(v("overload").toBool(), m.overload);
        QCOMPARE(v("lowbatt").toBool(), m.lowBattery);
        QCOMPARE(v("peak").toBool(), m.peakEvent);
        near("peak_level", m.peakEvent ? m.peakMax : 140.0, 0.05);
        QCOMPARE(v("hasTimeHistory").toBool(), true);

        const SimChannelResults& r1 = m.results1;
        const bool energy = (spec.settings1.exchangeRate == 3 && !dualReader) || dataCheck;
        const bool rate = spec.settings1.exchangeRate != 3 || dualReader || dataCheck;
        if (energy) {
            near("leq", r1.leq, 0.05);
            near("sel", r1.lae, 0.05);
            near("lepd", r1.lex8h, 0.05);
            near("exp", r1.exposure, 0.005);
            near("est_exp", r1.estExposure, 0.005);
            near("dose", r1.doseLeq, 0.05);
            near("est_dose", r1.estDoseLeq, 0.05);
        } else {
            QVERIFY2(!v("leq").isValid(), qPrintable(where + QStringLiteral("no energy results printed")));
        }
        if (rate) {
            near("lavg", r1.lavg, 0.05);
            near("twa", r1.twa, 0.05);
            near("dose5", r1.dose, 0.05);
            near("est_dose5", r1.estDose, 0.05);
        }
        if (dataCheck) {
            QCOMPARE(v("dataCheck").toString(), QStringLiteral("OK"));
            near("max115Time", m.lfMaxSeconds, 0.05);
        }

        // Channel 1: every logged sample at its time, the pause in its place.
        const SimSampleCodec::ChannelCoding c1 = m.coding1();
        const History h1 = readHistory(v("TimeHistoryCh1").toString());
        QVERIFY2(h1.ok, qPrintable(where + v("TimeHistoryCh1").toString().left(80)));
        QCOMPARE(h1.period, period);
        QCOMPARE(h1.rate, QStringLiteral("Q=%1").arg(c1.q));
        QCOMPARE(h1.title,
                 (c1.q != 3 || (spec.settings1.weighting == QLatin1String("Slow") && m.coding.newGeneration))
                     ? QStringLiteral("Lavg")
                     : QStringLiteral("LAeq"));
        QCOMPARE(h1.date, m.shift.start.date());
        QCOMPARE(h1.startSecond, qint64(m.shift.start.time().msecsSinceStartOfDay() / 1000));
        QCOMPARE(h1.pauseCount(), m.shift.pauseMinutes * 60 / period);
        // The program's own decoder sees the same entries.
        TKVTimeHistory th;
        th.setData(v("TimeHistoryCh1").toString());
        QCOMPARE(th.sampleCount(), int(h1.samples.size()));
        for (int k = 0; k < th.sampleCount(); ++k) {
            const HistorySample& hs = h1.samples.at(k);
            if (th.samplePauseFlag(k).isEmpty() == hs.pause ||
                (!hs.pause && th.sampleValueText(k) != QString::number(hs.value, 'f', 1)))
                QFAIL(
                    qPrintable(where + QStringLiteral("decoded entry %1: %2").arg(k).arg(th.sampleEntry(k))));
        }
        const QVector<HistorySample> s1 = h1.measured();
        const QVector<HistorySample> peaks = readHistory(v("TimeHistoryPeak").toString()).measured();
        const QVector<HistorySample> battery = readHistory(column("THBatt")).measured();
        QVector<const SimLogEntry*> logged;
        for (const SimLogEntry& e : m.log) {
            if (!e.marker)
                logged.append(&e);
        }
        QCOMPARE(s1.size(), logged.size());
        QCOMPARE(peaks.size(), logged.size());
        QCOMPARE(battery.size(), logged.size());
        for (qsizetype k = 0; k < logged.size(); ++k) {
            const SimLogEntry& e = *logged.at(k);
            if (std::abs(s1.at(k).value - e.level1) > 0.05 + 1e-9 || s1.at(k).peak != e.peakEvent ||
                s1.at(k).overload != e.overload || s1.at(k).second != h1.startSecond + e.second)
                QFAIL(qPrintable(where + QStringLiteral("sample %1: %2 at %3, logged %4 at %5")
                                             .arg(k)
                                             .arg(s1.at(k).value)
                                             .arg(s1.at(k).second)
                                             .arg(e.level1)
                                             .arg(h1.startSecond + e.second)));
            if (std::abs(peaks.at(k).value - e.peak) > 0.05 + 1e-9 ||
                std::abs(battery.at(k).value - e.battery) > 0.05 + 1e-9)
                QFAIL(qPrintable(where + QStringLiteral("peak sample %1").arg(k)));
        }
        // The decoded samples give back the overall values within 0.1 dB.
        QVERIFY2(std::abs(energyMean(s1) - r1.leq) <= 0.1,
                 qPrintable(where + QString::number(energyMean(s1))));
        if (rate) {
            const double lavg = rateAverage(s1, spec.settings1);
            QVERIFY2(std::abs(lavg - v("lavg").toDouble()) <= 0.1, qPrintable(where + QString::number(lavg)));
        } else {
            QVERIFY(std::abs(energyMean(s1) - v("leq").toDouble()) <= 0.1);
        }

        // Channel 2.
        if (!m.hasChannel2()) {
            QVERIFY(v("TimeHistoryCh2").toString().isEmpty());
            QCOMPARE(v("hasDualData").toBool(), false);
            continue;
        }
        const SimChannelResults& r2 = m.results2;
        const SimChannelSettings& set2 = *spec.settings2;
        QCOMPARE(v("hasDualData").toBool(), true);
        QCOMPARE(v("settings2").toString(), m.coding.thresholdChannel2 ? QStringLiteral("5dB") : set2.text());
        if (dualReader) {
            near("lavg2", r2.lavg, 0.05);
            near("twa2", r2.twa, 0.05);
            near("dose52", r2.dose, 0.05);
            near("est_dose52", r2.estDose, 0.05);
        } else {
            near("leq2", r2.leq, 0.05);
            near("sel2", r2.lae, 0.05);
            near("lepd2", r2.lex8h, 0.05);
            near("exp2", r2.exposure, 0.005);
            near("est_Exp2", r2.estExposure, 0.005);
            near("dose2", r2.doseLeq, 0.05);
            near("est_dose2", r2.estDoseLeq, 0.05);
        }
        const History h2 = readHistory(v("TimeHistoryCh2").toString());
        QVERIFY(h2.ok);
        QCOMPARE(h2.title, QStringLiteral("Ch2"));
        QCOMPARE(h2.rate, QStringLiteral("Q=%1").arg(m.coding2().q));
        QCOMPARE(h2.pauseCount(), h1.pauseCount());
        const QVector<HistorySample> s2 = h2.measured();
        QCOMPARE(s2.size(), logged.size());
        for (qsizetype k = 0; k < logged.size(); ++k) {
            const SimLogEntry& e = *logged.at(k);
            if (std::abs(s2.at(k).value - e.level2) > 0.05 + 1e-9 || s2.at(k).overload != e.overload ||
                s2.at(k).peak || s2.at(k).second != s1.at(k).second)
                QFAIL(qPrintable(where + QStringLiteral("channel 2 sample %1").arg(k)));
        }
        QVERIFY(std::abs(energyMean(s2) - r2.leq) <= 0.1);
        if (dualReader)
            QVERIFY(std::abs(rateAverage(s2, set2) - v("lavg2").toDouble()) <= 0.1);
    }
}

void TestPrintoutRoundTrip::printoutIsPlainAscii()
{
    SimReaderOptions options;
    options.model = SimReaderModel::RM52A;
    options.results = SimResultKind::DataCheck;
    const QStringList lines = writePrintout(generateReader(3, 99, options));
    for (const QString& line : lines) {
        for (QChar c : line)
            QVERIFY2(c.unicode() >= 0x20 && c.unicode() < 0x7F, qPrintable(line.left(60)));
    }
    // "#" lines carry the measurement number in characters 2 to 4 for the progress display.
    QCOMPARE(lines.filter(QRegularExpression(QStringLiteral("^#00[1-3]: "))).size(), 3);
}

QTEST_APPLESS_MAIN(TestPrintoutRoundTrip)
#include "tst_printoutroundtrip.moc"
