#include "data/KVTimeHistory.h"
#include "data/LeqFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>

using namespace sonvex;

namespace {

// Little-endian readers written out byte by byte, independent of the writer and the host.
quint16 u16(const QByteArray& b, int at)
{
    return quint16(quint8(b[at]) | quint8(b[at + 1]) << 8);
}

quint32 u32(const QByteArray& b, int at)
{
    return quint32(u16(b, at)) | quint32(u16(b, at + 2)) << 16;
}

double f64(const QByteArray& b, int at)
{
    quint64 bits = 0;
    for (int i = 7; i >= 0; --i)
        bits = bits << 8 | quint8(b[at + i]);
    double d = 0;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

bool allZero(const QByteArray& b, int from, int to)
{
    for (int i = from; i < to; ++i) {
        if (b[i] != '\0')
            return false;
    }
    return true;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestLeqFile : public QObject
{
    Q_OBJECT

private slots:
    void threeSampleFile();
    void startTimeInSeconds_data();
    void startTimeInSeconds();
    void markerDefinitions();
    void sampleCodeRules();
    void levelKeepsElevenBits();
    void uninitialisedWriterDoesNothing();
    void modifiedFlag();
    void unwritablePathLeavesNoFile();
    void failedSaveKeepsTheExistingFile();
    void dayLongExport();
};

void TestLeqFile::threeSampleFile()
{
    TKVTimeHistory h(true, true);
    h.setData(QStringLiteral(
        "\tTimeHistory LAeq duration60s Q=3 date:d03m04y2009 time:h08n00 80.0 time:h08n02 91.0P "));
    QCOMPARE(h.sampleCount(), 3);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("three.leq"));
    QVERIFY(h.exportLeqFile(path));
    const QByteArray b = readAll(path);
    QCOMPARE(b.size(), 678);

    QCOMPARE(u16(b, 0), quint16(0xF0F0));
    QCOMPARE(u16(b, 2), quint16(1));
    QCOMPARE(u32(b, 4), quint32(576));
    QCOMPARE(u32(b, 8), quint32(96));
    QCOMPARE(f64(b, 12), 60.0);
    QCOMPARE(u32(b, 20), quint32(3));
    QCOMPARE(f64(b, 24), 22098038400.0);
    QCOMPARE(u16(b, 32), quint16(4));
    const quint16 codeSlots[16] = {15, 2, 4, 8};
    for (int k = 0; k < 16; ++k)
        QCOMPARE(u16(b, 34 + 2 * k), codeSlots[k]);
    QVERIFY(allZero(b, 66, 98));
    auto name = [&](int code) {
        return QByteArray(b.constData() + 98 + 20 * code);
    };
    QCOMPARE(name(15), QByteArray("Background"));
    QCOMPARE(name(2), QByteArray("Overload"));
    QCOMPARE(name(4), QByteArray("Peak"));
    QCOMPARE(name(8), QByteArray("Pause"));
    for (int code : {0, 1, 3, 5, 6, 7, 9, 10, 11, 12, 13, 14})
        QVERIFY(allZero(b, 98 + 20 * code, 118 + 20 * code));
    QVERIFY(allZero(b, 98 + 20 * 15 + 10, 418)); // zero-filled after the name
    QVERIFY(allZero(b, 418, 576));

    QCOMPARE(u16(b, 576), quint16(0xFFFE));
    QVERIFY(allZero(b, 578, 672));

    QCOMPARE(u16(b, 672), quint16(0x7B20));
    QCOMPARE(u16(b, 674), quint16(0x4000));
    QCOMPARE(u16(b, 676), quint16(0x238E));
}

void TestLeqFile::startTimeInSeconds_data()
{
    QTest::addColumn<QDateTime>("dateTime");
    QTest::addColumn<double>("seconds");
    // 3 April 2009 is day 255764.
    QTest::newRow("2009-04-03 08:00") << QDateTime(QDate(2009, 4, 3), QTime(8, 0), Qt::UTC) << 22098038400.0;
    QTest::newRow("day 215858") << QDateTime(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC)
                                << 215858 * 86400.0 + 1e-7;
    QTest::newRow("invalid is day 215858") << QDateTime() << 215858 * 86400.0 + 1e-7;
    // January counts as month 13 of the year before: 1 January 2000 is day 252384
    // (215858 + 36526 days since 30 December 1899).
    QTest::newRow("2000-01-01 12:30:15.250")
        << QDateTime(QDate(2000, 1, 1), QTime(12, 30, 15, 250), Qt::UTC) << 252384 * 86400.0 + 45015.2500001;
    // 215858 + 39507.
    QTest::newRow("leap day 2008-02-29")
        << QDateTime(QDate(2008, 2, 29), QTime(0, 0), Qt::UTC) << 255365 * 86400.0 + 1e-7;
    QTest::newRow("local time gives the same clock")
        << QDateTime(QDate(2009, 4, 3), QTime(8, 0), Qt::LocalTime) << 22098038400.0;
}

void TestLeqFile::startTimeInSeconds()
{
    QFETCH(QDateTime, dateTime);
    QFETCH(double, seconds);
    QCOMPARE(TLeqFile::dateTimeToLeqSeconds(dateTime), seconds);
}

void TestLeqFile::markerDefinitions()
{
    TLeqFile f;
    f.initialise(QString());
    QVERIFY(f.defineMarker(15, QStringLiteral("Background")));
    QVERIFY(f.defineMarker(2, QStringLiteral("Overload")));
    QVERIFY(f.defineMarker(4, QStringLiteral("Peak")));
    QVERIFY(f.defineMarker(8, QStringLiteral("Pause")));
    QCOMPARE(f.markerCount(), 4);
    QVERIFY(!f.defineMarker(4, QStringLiteral("Again")));
    QCOMPARE(f.markerCount(), 4);
    QCOMPARE(f.markerName(4), QByteArray("Peak"));
    QVERIFY(f.isMarkerDefined(8));
    QVERIFY(!f.isMarkerDefined(3));
    QVERIFY(!f.isMarkerDefined(0));
    QVERIFY(!f.defineMarker(0, QStringLiteral("Free")));
    QVERIFY(!f.defineMarker(16, QStringLiteral("No name slot")));
    QVERIFY(f.defineMarker(3, QStringLiteral("A name much longer than nineteen")));
    QCOMPARE(f.markerName(3), QByteArray("A name much longer "));
    QCOMPARE(f.markerSlot(4), 3);
    QCOMPARE(f.markerSlot(5), 0);
}

void TestLeqFile::sampleCodeRules()
{
    TLeqFile f;
    f.initialise(QString());
    f.appendSample(800, 15);
    f.appendSample(800, 8);
    f.appendSample(800, 20); // not below 15: stays 15
    QCOMPARE(f.sampleCount(), 3);
    QCOMPARE(f.sampleCode(0, 0), 15);
    QCOMPARE(f.sampleCode(1, 0), 8);
    QCOMPARE(f.sampleCode(2, 0), 15);
    f.setSampleCode(1, 0, 9); // not lower than 8: refused
    QCOMPARE(f.sampleCode(1, 0), 8);
    f.setSampleCode(1, 0, 2);
    QCOMPARE(f.sampleCode(1, 0), 2);
    f.setSampleCode(1, 0, 15); // 15 is always accepted
    QCOMPARE(f.sampleCode(1, 0), 15);
    QCOMPARE(f.sampleWord(1, 0) & 0x7FF, 800);
    // Out of range.
    f.setSampleCode(3, 0, 1);
    f.setSampleCode(0, 1, 1);
    f.setSampleCode(-1, 0, 1);
    QCOMPARE(f.sampleCode(3, 0), 0);
    QCOMPARE(f.sampleCode(0, 1), 0);
    QCOMPARE(f.sampleCode(0, 0), 15);
}

void TestLeqFile::levelKeepsElevenBits()
{
    TLeqFile f;
    f.initialise(QString());
    f.appendSample(2048 + 910, 4);
    f.appendSample(-1, 15);
    QCOMPARE(f.sampleWord(0, 0), quint16(0x238E));
    QCOMPARE(f.sampleWord(1, 0), quint16(0x7FFF));
}

void TestLeqFile::uninitialisedWriterDoesNothing()
{
    TLeqFile f;
    QVERIFY(!f.isInitialised());
    QVERIFY(!f.defineMarker(2, QStringLiteral("Overload")));
    f.appendSample(800, 15);
    QCOMPARE(f.sampleCount(), 0);
    QCOMPARE(f.sampleCode(0, 0), 0);
    QVERIFY(!f.isMarkerDefined(2));
    QTemporaryDir dir;
    QVERIFY(!f.save(dir.filePath(QStringLiteral("never.leq"))));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("never.leq"))));
}

void TestLeqFile::modifiedFlag()
{
    QTemporaryDir dir;
    TLeqFile f;
    f.initialise(dir.filePath(QStringLiteral("remembered.leq")));
    QVERIFY(f.isModified());
    QVERIFY(f.save());
    QVERIFY(!f.isModified());
    QCOMPARE(readAll(dir.filePath(QStringLiteral("remembered.leq"))).size(), 576 + 96);
    f.appendSample(800, 15);
    QVERIFY(f.isModified());
    QVERIFY(f.save(dir.filePath(QStringLiteral("other.leq"))));
    QCOMPARE(readAll(dir.filePath(QStringLiteral("other.leq"))).size(), 576 + 96 + 2);

    TLeqFile unnamed;
    unnamed.initialise(QString());
    QVERIFY(!unnamed.save());
}

void TestLeqFile::unwritablePathLeavesNoFile()
{
    // A path below a regular file cannot be created, not even by root.
    QTemporaryDir dir;
    const QString blocker = dir.filePath(QStringLiteral("plain-file"));
    {
        QFile f(blocker);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    TKVTimeHistory h(true, true);
    h.setData(QStringLiteral("\tTimeHistory LAeq duration60s Q=3 date:d03m04y2009 time:h08n00 80.0 81.0"));
    const QString path = blocker + QStringLiteral("/out.leq");
    QVERIFY(!h.exportLeqFile(path));
    QVERIFY(!QFile::exists(path));
    QVERIFY(!h.exportLeqFile(dir.path())); // a directory
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
             QStringList{"plain-file"});
}

void TestLeqFile::failedSaveKeepsTheExistingFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("keep.leq"));
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("old");
    }
    QFile::setPermissions(path, QFile::ReadOwner);
    TKVTimeHistory h(true, true);
    h.setData(QStringLiteral("\tTimeHistory LAeq duration60s Q=3 date:d03m04y2009 time:h08n00 80.0"));
    const bool saved = h.exportLeqFile(path);
    if (saved) // root may write a read-only file; then the whole new file is there
        QCOMPARE(readAll(path).size(), 576 + 96 + 2);
    else
        QCOMPARE(readAll(path), QByteArray("old"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"keep.leq"});
}

void TestLeqFile::dayLongExport()
{
    QString text = QStringLiteral("\tTimeHistory LAeq duration5s Q=3 date:d03m04y2009 time:h00n00 ");
    for (int i = 0; i < 17280; ++i)
        text += QStringLiteral("80.0 ");
    TKVTimeHistory h(true, true);
    h.setData(text);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("day.leq"));
    QVERIFY(h.exportLeqFile(path));
    const QByteArray b = readAll(path);
    QCOMPARE(b.size(), 576 + 96 + 2 * 17280);
    QCOMPARE(f64(b, 12), 5.0);
    QCOMPARE(u32(b, 20), quint32(17280));
    QCOMPARE(f64(b, 24), 255764 * 86400.0);
    QCOMPARE(u16(b, 672 + 2 * 17279), quint16(0x7B20));
}

QTEST_GUILESS_MAIN(TestLeqFile)
#include "tst_leqfile.moc"
