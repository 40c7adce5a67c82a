// The data installed with the program: the committed files in resources/ are
// what the generator writes now, every sample opens through the program's own
// data-file code and shows its scenario, and the activity names and quick
// setups read back as data packets with the table's fields.

#include "data/ActivityTables.h"
#include "data/DataFilesController.h"
#include "data/DataPacket.h"
#include "data/DataSet.h"
#include "data/KVTimeHistory.h"
#include "data/SonvexDataModule.h"
#include "instruments/KVTReaderPrintout.h"
#include "setup/QuickSetupTable.h"
#include "sim/SimReader.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <map>

using namespace sonvex;

Q_DECLARE_METATYPE(PrintoutLayout)

namespace {

const QLocale kGB(QLocale::English, QLocale::UnitedKingdom);

const char kSample[] = "samples/Sonvex3 Sample Data.kvntm";
const char kDual[] = "samples/Sonvex3 Dual channel sample data.kvntm";
const char kThreshold[] = "samples/Sonvex3 Dual Threshold sample data.kvntm";
const char kActivityNames[] = "ActivityNames.xml";
const char kSetups[] = "RM50ASetups.xml";

enum class Scenario
{
    Workshop,
    Office,
    TwelveHours,
    NeverStarted
};

QString committed(const QString& relative)
{
    return QStringLiteral(SONVEX_SOURCE_DIR "/resources/") + relative;
}

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// One decoded time history as levels by chart time.
struct Decoded
{
    QVector<double> times; // chart times of the measured samples
    QVector<double> levels;
    int pauses = 0;
    int peakFlags = 0;
    int overloadFlags = 0;
};

Decoded decode(const QString& text)
{
    TKVTimeHistory th;
    th.setData(text);
    Decoded d;
    for (int i = 0; i < th.sampleCount(); ++i) {
        if (!th.samplePauseFlag(i).isEmpty()) {
            ++d.pauses;
            continue;
        }
        d.times.append(th.sampleTime(i));
        d.levels.append(th.sampleValueText(i).toDouble());
        d.peakFlags += th.samplePeakFlag(i).isEmpty() ? 0 : 1;
        d.overloadFlags += th.sampleOverloadFlag(i).isEmpty() ? 0 : 1;
    }
    return d;
}

double energyMean(const QVector<double>& levels)
{
    double sum = 0;
    for (double l : levels)
        sum += std::pow(10.0, l / 10.0);
    return levels.isEmpty() ? 0.0 : 10.0 * std::log10(sum / double(levels.size()));
}

// Energy average of every clock hour that has samples.
std::map<int, double> hourlyLevels(const Decoded& d)
{
    std::map<int, QVector<double>> byHour;
    for (qsizetype i = 0; i < d.levels.size(); ++i)
        byHour[int(std::floor(d.times.at(i) * 24.0 + 1e-9))].append(d.levels.at(i));
    std::map<int, double> out;
    for (const auto& [hour, levels] : byHour)
        out[hour] = energyMean(levels);
    return out;
}

// Highest energy average over `n` consecutive samples.
double loudestRun(const QVector<double>& levels, int n)
{
    double best = 0;
    for (qsizetype i = 0; i + n <= levels.size(); ++i)
        best = std::max(best, energyMean(levels.mid(i, n)));
    return best;
}

// Dose in % of a 5 dB channel from its logged levels, counting only levels at
// or above the threshold (0 = every level).
double rateDose(const QVector<double>& levels, double periodSeconds, double criterion,
                double criterionSeconds, double threshold)
{
    double sum = 0;
    for (double l : levels)
        if (threshold <= 0 || l >= threshold)
            sum += std::exp2((l - criterion) / 5.0);
    return 100.0 * periodSeconds / criterionSeconds * sum;
}

// Where two texts first differ, for a readable failure.
QString firstDifference(const QByteArray& committedBytes, const QByteArray& generated)
{
    qsizetype k = 0;
    while (k < committedBytes.size() && k < generated.size() && committedBytes.at(k) == generated.at(k))
        ++k;
    const qsizetype from = std::max<qsizetype>(0, k - 30);
    auto around = [&](const QByteArray& b) {
        return QString::fromLatin1(b.mid(from, 60)).replace(u'\r', u' ').replace(u'\n', u' ');
    };
    return QStringLiteral("line %1, byte %2: committed \"%3\", generated \"%4\"")
        .arg(committedBytes.left(k).count('\n') + 1)
        .arg(k)
        .arg(around(committedBytes), around(generated));
}

// A data file opened as the program opens it.
struct Opened
{
    QTemporaryDir dir;
    Tdm dm;
    DataFilesController files{dm};

    explicit Opened(const QString& path)
    {
        files.setFolders(dir.filePath(QStringLiteral("docs")), dir.filePath(QStringLiteral("data")));
        QDir().mkpath(dir.filePath(QStringLiteral("docs")));
        files.setUserFormats(UserFormats::fromLocale(kGB));
        files.setToday([] { return QDate(2024, 6, 1); });
        ok = files.open(path);
    }
    QVariant v(int row, const char* field) { return dm.CDSMeas()->rowValue(row, QLatin1String(field)); }
    bool ok = false;
};

} // namespace

Q_DECLARE_METATYPE(Scenario)

class TestSampleData : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void committedFilesAreCurrent_data();
    void committedFilesAreCurrent();
    void generatorWantsOneFolder();
    void samplesOpen_data();
    void samplesOpen();
    void scenarios_data();
    void scenarios();
    void secondChannel_data();
    void secondChannel();
    void activityNamesPacket();
    void quickSetupsPacket();
    void handPlannedSchedule();
    void neverStartedBadgePrintsNoHistory();

private:
    QTemporaryDir m_out;
};

void TestSampleData::initTestCase()
{
    QVERIFY(m_out.isValid());
    QProcess p;
    p.start(QStringLiteral(SONVEX_MAKE_SAMPLES), {m_out.path()});
    QVERIFY2(p.waitForFinished(60000), qPrintable(p.errorString()));
    QVERIFY2(p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0,
             p.readAllStandardError().constData());
    // It names every file it wrote.
    QCOMPARE(QString::fromLocal8Bit(p.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts).size(), 5);
}

void TestSampleData::committedFilesAreCurrent_data()
{
    QTest::addColumn<QString>("file");
    for (const char* f : {kSample, kDual, kThreshold, kActivityNames, kSetups})
        QTest::newRow(f) << QString::fromLatin1(f);
}

void TestSampleData::committedFilesAreCurrent()
{
    QFETCH(QString, file);
    const QByteArray generated = readBytes(m_out.filePath(file));
    QVERIFY2(!generated.isEmpty(), "the generator did not write it");
    const QByteArray inTree = readBytes(committed(file));
    QVERIFY2(!inTree.isEmpty(), "not in resources/");
    if (generated != inTree)
        QFAIL(qPrintable(QStringLiteral("resources/%1 is out of date (rebuild the target sample-data): %2")
                             .arg(file, firstDifference(inTree, generated))));
}

void TestSampleData::generatorWantsOneFolder()
{
    for (const QStringList& args : {QStringList(), QStringList{m_out.path(), m_out.path()}}) {
        QProcess p;
        p.start(QStringLiteral(SONVEX_MAKE_SAMPLES), args);
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), 2);
        QVERIFY(p.readAllStandardOutput().isEmpty());
    }
}

void TestSampleData::samplesOpen_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("readerId");
    QTest::addColumn<PrintoutLayout>("layout");
    QTest::newRow("RM:50A") << kSample << "04217 " << PrintoutLayout::Plain;
    // Channel 1 at 3 dB and channel 2 at 5 dB: both kinds of result.
    QTest::newRow("RM:52A dual data") << kDual << "52093 " << PrintoutLayout::DualBoth;
    // The threshold channel is printed without settings.
    QTest::newRow("RM:52A thre data") << kThreshold << "52147 " << PrintoutLayout::Dual;
}

void TestSampleData::samplesOpen()
{
    QFETCH(QString, file);
    QFETCH(QString, readerId);
    QFETCH(PrintoutLayout, layout);

    // A download as the program saves it: plain ASCII, CR LF after every line,
    // the format lines of the text's own date and time formats at the end.
    const QByteArray bytes = readBytes(committed(file));
    QVERIFY(bytes.endsWith("\r\n"));
    QCOMPARE(bytes.count("\r\n"), bytes.count('\n'));
    for (char c : bytes)
        QVERIFY2(c == '\r' || c == '\n' || c == '\t' || (c >= 0x20 && c < 0x7F), "not plain ASCII");
    const QList<QByteArray> lines = bytes.trimmed().split('\n');
    QCOMPARE(lines.value(0).trimmed(), QByteArray("noxTag measurements"));
    QVERIFY(lines.value(1).startsWith("Downloaded on "));
    QCOMPARE(lines.value(lines.size() - 2).trimmed(), QByteArray("Date format: dd/mm/yyyy"));
    QCOMPARE(lines.value(lines.size() - 1).trimmed(), QByteArray("Time format: hh:nn"));
    QVERIFY(!bytes.contains("file format error"));

    Opened o(committed(file));
    QVERIFY(o.ok);
    QCOMPARE(o.files.dataKind(), 1);
    QCOMPARE(o.files.loadedCount(), 4);
    QCOMPARE(o.files.readerId(), readerId);
    QCOMPARE(o.files.headerNames(), printoutHeaderNames(layout));
    for (int i = 0; i < 4; ++i)
        QCOMPARE(o.v(i, "read_order").toInt(), i + 1);
}

void TestSampleData::scenarios_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("row");
    QTest::addColumn<Scenario>("scenario");
    // Energy results (LAeq, LEX,8h) are printed by the RM:50A only; the RM:52A
    // prints the exchange-rate results (Lavg, TWA) of channel 1.
    QTest::addColumn<bool>("energyResults");
    for (const char* f : {kSample, kDual, kThreshold}) {
        const bool energy = f == kSample;
        const QString name = QFileInfo(QString::fromLatin1(f)).baseName();
        QTest::addRow("%s: workshop", qPrintable(name)) << f << 0 << Scenario::Workshop << energy;
        QTest::addRow("%s: office", qPrintable(name)) << f << 1 << Scenario::Office << energy;
        QTest::addRow("%s: 12 hours", qPrintable(name)) << f << 2 << Scenario::TwelveHours << energy;
        QTest::addRow("%s: never started", qPrintable(name)) << f << 3 << Scenario::NeverStarted << energy;
    }
}

void TestSampleData::scenarios()
{
    QFETCH(QString, file);
    QFETCH(int, row);
    QFETCH(Scenario, scenario);
    QFETCH(bool, energyResults);

    Opened o(committed(file));
    QVERIFY(o.ok);
    auto v = [&](const char* field) {
        return o.v(row, field);
    };
    // The level over the whole measurement as the Reader printed it.
    const double level = energyResults ? v("leq").toDouble() : v("lavg").toDouble();

    if (scenario == Scenario::NeverStarted) {
        QCOMPARE(v("RunTime").toString(), QStringLiteral("00:00:00"));
        QVERIFY(!v("MeasDate").isValid());
        QVERIFY(!v("MeasTimeTime").isValid());
        QVERIFY(!v("ResetTime").toString().isEmpty());
        QCOMPARE(v("hasTimeHistory").toBool(), false);
        QVERIFY(v("TimeHistoryCh1").toString().isEmpty());
        QVERIFY(v("TimeHistoryCh2").toString().isEmpty());
        QCOMPARE(v("peak_level").toDouble(), 0.0);
        QCOMPARE(v("peak").toBool(), false);
        QCOMPARE(v("overload").toBool(), false);
        QCOMPARE(v("lowbatt").toBool(), false);
        return;
    }

    QVERIFY(v("MeasDate").toDate().isValid());
    QCOMPARE(v("hasTimeHistory").toBool(), true);
    QCOMPARE(v("lowbatt").toBool(), false);
    const Decoded ch1 = decode(v("TimeHistoryCh1").toString());
    // The history holds one sample per measured minute and gives back the
    // printed level.
    QVERIFY2(std::abs(energyMean(ch1.levels) - level) <= 0.15,
             qPrintable(QStringLiteral("%1 against %2").arg(energyMean(ch1.levels)).arg(level)));

    switch (scenario) {
    case Scenario::Workshop: {
        QCOMPARE(v("RunTime").toString(), QStringLiteral("07:50:00"));
        QCOMPARE(ch1.levels.size(), 470);
        QCOMPARE(ch1.pauses, 30); // the lunch break, badge paused
        QVERIFY2(level >= 85 && level <= 95, qPrintable(QString::number(level)));
        QVERIFY2(loudestRun(ch1.levels, 30) >= 90, "no loud grinding or hammering");
        // Impulsive work: peak events above 135 dB(C), and one overload.
        QCOMPARE(v("peak").toBool(), true);
        QVERIFY2(v("peak_level").toDouble() >= 135.0, qPrintable(v("peak_level").toString()));
        QVERIFY2(ch1.peakFlags >= 10, qPrintable(QString::number(ch1.peakFlags)));
        QCOMPARE(v("overload").toBool(), true);
        QCOMPARE(ch1.overloadFlags, 1);
        break;
    }
    case Scenario::Office: {
        QCOMPARE(v("RunTime").toString(), QStringLiteral("08:00:00"));
        QCOMPARE(ch1.pauses, 0);
        QVERIFY2(level < 80, qPrintable(QString::number(level)));
        QCOMPARE(v("peak").toBool(), false);
        QCOMPARE(v("overload").toBool(), false);
        // Quiet all day but for one hour.
        const std::map<int, double> hours = hourlyLevels(ch1);
        QCOMPARE(int(hours.size()), 8);
        int noisy = 0;
        for (const auto& [hour, l] : hours) {
            if (hour == 14) {
                QVERIFY2(l >= 80, qPrintable(QStringLiteral("14:00 %1").arg(l)));
                ++noisy;
            } else {
                // Quiet: the badge's own floor lies at 62 dB, on the dual-channel
                // Reader at 72 dB.
                QVERIFY2(l < 75, qPrintable(QStringLiteral("%1:00 %2").arg(hour).arg(l)));
            }
        }
        QCOMPARE(noisy, 1);
        break;
    }
    case Scenario::TwelveHours: {
        QCOMPARE(v("RunTime").toString(), QStringLiteral("12:00:00"));
        QCOMPARE(ch1.levels.size(), 720);
        QCOMPARE(ch1.pauses, 0);
        QVERIFY2(level >= 82 && level <= 90, qPrintable(QString::number(level)));
        // Twelve hours against an eight-hour criterion: the daily level lies
        // 10 lg(12 / 8) = 1.76 dB above the average.
        const double daily = energyResults ? v("lepd").toDouble() : v("twa").toDouble();
        QVERIFY2(std::abs(daily - level - 1.76) <= 0.1,
                 qPrintable(QStringLiteral("%1, %2").arg(daily).arg(level)));
        QVERIFY2(std::abs(ch1.times.first() * 24.0 - 7.0) < 1e-6,
                 qPrintable(QString::number(ch1.times.first())));
        QVERIFY2(std::abs(ch1.times.last() * 24.0 - (19.0 - 1.0 / 60.0)) < 1e-6,
                 qPrintable(QString::number(ch1.times.last())));
        break;
    }
    case Scenario::NeverStarted:
        break;
    }
}

void TestSampleData::secondChannel_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("settings2");
    QTest::newRow("dual data") << kDual << "90: 28800: 80: S: 5dB (Q=5) Slow";
    QTest::newRow("thre data") << kThreshold << "5dB";
}

void TestSampleData::secondChannel()
{
    QFETCH(QString, file);
    QFETCH(QString, settings2);

    Opened o(committed(file));
    QVERIFY(o.ok);
    for (int row = 0; row < 4; ++row) {
        const QString where = QStringLiteral("row %1: ").arg(row);
        QVERIFY2(o.v(row, "hasDualData").toBool(), qPrintable(where + QStringLiteral("no second channel")));
        const QString text2 = o.v(row, "TimeHistoryCh2").toString();
        if (row == 3) { // never started
            QVERIFY(text2.isEmpty());
            continue;
        }
        QCOMPARE(o.v(row, "settings2").toString(), settings2);
        QVERIFY2(text2.contains(QLatin1String(" Q=5 ")), qPrintable(where + text2.left(60)));
        const Decoded ch1 = decode(o.v(row, "TimeHistoryCh1").toString());
        const Decoded ch2 = decode(text2);
        QCOMPARE(ch2.levels.size(), ch1.levels.size());
        QCOMPARE(ch2.times, ch1.times);

        // The second channel counts from its threshold, 80 dB: its printed dose
        // is the 5 dB dose of its logged levels at or above 80 dB.
        const double printed = o.v(row, "dose52").toDouble();
        const double withThreshold = rateDose(ch2.levels, 60, 90, 28800, 80);
        const double withoutThreshold = rateDose(ch2.levels, 60, 90, 28800, 0);
        QVERIFY2(
            std::abs(printed - withThreshold) <= 0.1 + 0.02 * withThreshold,
            qPrintable(where +
                       QStringLiteral("printed %1, from the history %2").arg(printed).arg(withThreshold)));
        if (row == 1) {
            // In the office the threshold matters: the quiet hours count for nothing.
            QVERIFY2(std::abs(printed - withoutThreshold) > 0.1 + 0.2 * withThreshold,
                     qPrintable(where + QStringLiteral("%1 / %2").arg(withoutThreshold).arg(withThreshold)));
        }
    }
}

void TestSampleData::activityNamesPacket()
{
    DataPacket::Content c;
    QString error;
    QVERIFY2(DataPacket::parse(readBytes(committed(QString::fromLatin1(kActivityNames))), &c, &error),
             qPrintable(error));
    const QVector<FieldDef> defs = ActivityTables::actNamesFieldDefs();
    QCOMPARE(c.fields.size(), defs.size());
    for (qsizetype i = 0; i < defs.size(); ++i) {
        QCOMPARE(c.fields.at(i).name, defs.at(i).name);
        QCOMPARE(c.fields.at(i).type, defs.at(i).type);
        if (defs.at(i).type == FieldType::String)
            QCOMPARE(c.fields.at(i).size, defs.at(i).size);
    }
    QVERIFY2(c.rows.size() >= 15, "a useful list has more names");
    QCOMPARE(c.params.value(QStringLiteral("AUTOINCVALUE")).toLongLong(), c.rows.size() + 1);

    QStringList seen;
    QVector<ChartColour> colours;
    for (qsizetype i = 0; i < c.rows.size(); ++i) {
        const Row& r = c.rows.at(i);
        QCOMPARE(r.at(0).toLongLong(), i + 1);
        const QString name = r.at(1).toString();
        QVERIFY(!name.trimmed().isEmpty());
        QVERIFY(name.size() <= 80);
        QVERIFY2(!seen.contains(name, Qt::CaseInsensitive), qPrintable(name + QStringLiteral(" twice")));
        seen << name;
        bool ok = false;
        const int value = r.at(2).toInt(&ok);
        QVERIFY(ok && value >= 0 && value <= 0xFFFFFF);
        colours.append(ActivityTables::colourOf(value));
        // The working fields are filled only while totals are computed.
        for (int k = 3; k < r.size(); ++k)
            QVERIFY2(!r.at(k).isValid(), qPrintable(name));
    }
    // Distinct colours: no two closer than 50 in RGB distance, none near white
    // (the chart's background).
    for (qsizetype i = 0; i < colours.size(); ++i) {
        const ChartColour a = colours.at(i);
        QVERIFY2(a.red + a.green + a.blue < 3 * 235, qPrintable(seen.at(i)));
        for (qsizetype k = i + 1; k < colours.size(); ++k) {
            const ChartColour b = colours.at(k);
            const double d = std::hypot(a.red - b.red, a.green - b.green, a.blue - b.blue);
            QVERIFY2(d >= 50, qPrintable(seen.at(i) + QStringLiteral(" and ") + seen.at(k)));
        }
    }

    // It opens into the program's name list.
    DataSet names;
    ActivityTables::createActNames(names);
    QVERIFY2(names.loadFromFile(committed(QString::fromLatin1(kActivityNames)), &error), qPrintable(error));
    QCOMPARE(names.recordCount(), int(c.rows.size()));
    QCOMPARE(names.fieldCount(), int(defs.size()));
    names.append();
    QCOMPARE(names.value(QStringLiteral("ActNamesNumber")).toLongLong(), c.rows.size() + 1);
    names.cancel();
}

void TestSampleData::quickSetupsPacket()
{
    DataPacket::Content c;
    QString error;
    QVERIFY2(DataPacket::parse(readBytes(committed(QString::fromLatin1(kSetups))), &c, &error),
             qPrintable(error));
    const QVector<FieldDef> defs = QuickSetupTable::fieldDefs();
    QCOMPARE(c.fields.size(), defs.size());
    for (qsizetype i = 0; i < defs.size(); ++i) {
        QCOMPARE(c.fields.at(i).name, defs.at(i).name);
        QCOMPARE(c.fields.at(i).type, defs.at(i).type);
        QCOMPARE(c.fields.at(i).size,
                 defs.at(i).type == FieldType::String ? defs.at(i).size : c.fields.at(i).size);
    }

    DataSet setups;
    QuickSetupTable::createTable(setups);
    QVERIFY2(setups.loadFromFile(committed(QString::fromLatin1(kSetups)), &error), qPrintable(error));
    const QVector<QuickSetupTable::QuickSetup>& shipped = QuickSetupTable::shippedSetups();
    QCOMPARE(setups.recordCount(), int(shipped.size()));
    for (int i = 0; i < setups.recordCount(); ++i) {
        QCOMPARE(setups.rowValue(i, QStringLiteral("setupID")).toInt(), i + 1);
        QCOMPARE(QuickSetupTable::setupAt(setups, i), shipped.at(i));
        for (const char* spare : {"spareInt1", "spareInt2", "spareString"})
            QVERIFY2(!setups.rowValue(i, QLatin1String(spare)).isValid(), spare);
    }
    QCOMPARE(setups.rowValue(0, QStringLiteral("setupID")).toInt(), QuickSetupTable::kFreeSetupId);
}

void TestSampleData::handPlannedSchedule()
{
    SimShift plan;
    plan.start = QDateTime(QDate(2024, 3, 12), QTime(9, 58, 40), Qt::UTC);
    plan.tasks = {SimTask{QStringLiteral("quiet"), 10, 60.0, 0.5, 0, 0},
                  SimTask{QStringLiteral("loud"), 10, 100.0, 0.5, 0, 0}};
    plan.pauseAfterMinutes = 10;
    plan.pauseMinutes = 5;
    plan.overloadSample = 14;
    SimBadgeSpec badge;
    badge.shift.hours = 3.0; // not consulted
    const SimMeasurement m = generateMeasurement(7, badge, SimBadgeCoding{}, plan);

    QCOMPARE(m.shift.start, QDateTime(QDate(2024, 3, 12), QTime(9, 58), Qt::UTC));
    QCOMPARE(m.runSeconds, qint64(20 * 60));
    QVector<const SimLogEntry*> samples;
    QStringList markers;
    for (const SimLogEntry& e : m.log) {
        if (e.marker)
            markers << QStringLiteral("%1:%2").arg(e.hour).arg(e.minute, 2, 10, QChar(u'0'));
        else
            samples << &e;
    }
    QCOMPARE(samples.size(), 20);
    // Start, the hour, and the end of the pause (10 measured minutes + 5).
    QCOMPARE(markers, QStringList({"9:58", "10:00", "10:13"}));
    for (int i = 0; i < 20; ++i) {
        // The overload is a blow beyond the task's level.
        const double want = i < 10 ? 60.0 : i == 14 ? 106.0 : 100.0;
        QVERIFY2(std::abs(samples.at(i)->level1 - want) < 3.0,
                 qPrintable(QString::number(samples.at(i)->level1)));
        QCOMPARE(samples.at(i)->second, qint64(i * 60 + (i >= 10 ? 300 : 0)));
        QCOMPARE(samples.at(i)->overload, i == 14);
    }
    QVector<double> planned(10, 60.0);
    planned << QVector<double>(4, 100.0) << 106.0 << QVector<double>(5, 100.0);
    QVERIFY2(std::abs(m.results1.leq - energyMean(planned)) < 0.5,
             qPrintable(QString::number(m.results1.leq)));
}

void TestSampleData::neverStartedBadgePrintsNoHistory()
{
    SimReader reader;
    reader.serial = QStringLiteral("00001");
    reader.recalDue = QDate(2025, 1, 1);
    reader.firmware = QStringLiteral("2.10");
    SimBadgeSpec badge;
    badge.serial = QStringLiteral("12345");
    badge.recalDue = QDate(2025, 1, 1);
    SimShift plan;
    plan.start = QDateTime(QDate(2024, 3, 14), QTime(8, 10), Qt::UTC);
    reader.badges << generateMeasurement(3, badge, SimBadgeCoding{}, plan);
    QCOMPARE(reader.badges.first().runSeconds, qint64(0));
    QCOMPARE(reader.badges.first().lowBattery, false);

    const QStringList printout = writePrintout(reader);
    QVERIFY(printout.contains(QStringLiteral("Run Time: 00:00:00")));
    QVERIFY(printout.contains(QStringLiteral("Leq: 0.0 dB")));
    for (const QString& line : printout)
        QVERIFY2(!line.contains(QLatin1String("Time History")) && !line.contains(QLatin1String("Peak Data")),
                 qPrintable(line));
    // The block still ends and gives a row.
    const QStringList text = ParsePrintout(
        printout, PrintoutContext::fromLocale(kGB, QDateTime(QDate(2024, 3, 15), QTime(9, 0), Qt::UTC)));
    QCOMPARE(text.size(), 5);
    QVERIFY(text.last().startsWith(QLatin1String("001\t")));
}

QTEST_GUILESS_MAIN(TestSampleData)
#include "tst_sampledata.moc"
