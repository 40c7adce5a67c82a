#include "data/DataPacket.h"
#include "data/DataSet.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace sonvex;

namespace {

struct Run
{
    int code = -1;
    QByteArray out;
    QByteArray err;
};

Run cli(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(SONVEX_CLI), args);
    p.waitForFinished(60000);
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

QString fixture(const QString& name)
{
    return QStringLiteral(SONVEX_SHARED_DIR "/fixtures/datapacket/") + name;
}

} // namespace

class TestCliShow : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void printsFixturesFieldForField_data();
    void printsFixturesFieldForField();
    void measurementPacketGetsCalculatedFields();
    void csvQuotesAndTsvEscapes();
    void unreadableInput_data();
    void unreadableInput();
};

void TestCliShow::printsFixturesFieldForField_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("country") << "jvdbgrid_country_utf8.xml";
    QTest::newRow("customers") << "radstudio104demos_custoly.xml";
    QTest::newRow("vendors") << "radstudio104demos_vendors.xml";
}

void TestCliShow::printsFixturesFieldForField()
{
    QFETCH(QString, file);
    if (!QFile::exists(fixture(file)))
        QSKIP("shared fixtures not present");
    const Run r = cli({"show", fixture(file), "--format", "json"});
    QCOMPARE(r.code, 0);
    const QJsonArray rows = QJsonDocument::fromJson(r.out).array();

    // Compare with the packet as read independently of the tool.
    DataSet ds;
    QString err;
    QVERIFY(ds.loadFromFile(fixture(file), &err));
    QCOMPARE(rows.size(), ds.recordCount());
    for (int i = 0; i < ds.recordCount(); ++i) {
        const QJsonObject o = rows.at(i).toObject();
        QCOMPARE(o.size(), ds.fieldCount());
        for (int f = 0; f < ds.fieldCount(); ++f) {
            const QVariant v = ds.rowValue(i, f);
            const QJsonValue j = o.value(ds.field(f).name);
            if (!v.isValid())
                QVERIFY(j.isNull());
            else if (isFloatType(ds.field(f).type) || isIntegerType(ds.field(f).type))
                QCOMPARE(j.toDouble(), v.toDouble());
            else if (ds.field(f).type == FieldType::Boolean)
                QCOMPARE(j.toBool(), v.toBool());
            else
                QCOMPARE(j.toString(), v.toString());
        }
    }
}

void TestCliShow::measurementPacketGetsCalculatedFields()
{
    const QString demo = QStringLiteral(SONVEX_SOURCE_DIR "/resources/samples/demo-measurements.xml");
    const Run all = cli({"show", demo, "--format", "json"});
    QCOMPARE(all.code, 0);
    const QJsonArray rows = QJsonDocument::fromJson(all.out).array();
    QCOMPARE(rows.size(), 3);
    const QJsonObject first = rows.first().toObject();
    QVERIFY(first.contains("TimeHistoryCh1")); // hidden, but shown with --fields all
    QCOMPARE(first.value("leqString").toString(), QStringLiteral("86.4"));
    QCOMPARE(first.value("doseString").toString(), QStringLiteral("97.4"));
    QCOMPARE(first.value("settingsCritTime").toString(), QStringLiteral("8"));
    // The 12-hour shift was over-range: doses come from LAeq 94.1 dB against 85 dB.
    const QJsonObject shift = rows.at(2).toObject();
    QCOMPARE(shift.value("est_doseString").toString(), QStringLiteral("813"));
    QCOMPARE(shift.value("doseString").toString(), QStringLiteral("1219"));

    const Run visible = cli({"show", demo, "--fields", "visible"});
    QCOMPARE(visible.code, 0);
    const QList<QByteArray> header = visible.out.split('\n').first().split('\t');
    QVERIFY(header.contains("badge"));
    QVERIFY(header.contains("doseString"));
    QVERIFY(!header.contains("TimeHistoryCh1"));
    QVERIFY(!header.contains("leq")); // hidden by default in grids
}

void TestCliShow::csvQuotesAndTsvEscapes()
{
    QTemporaryDir dir;
    DataSet ds;
    ds.setFieldDefs({FieldDef::make("a", FieldType::String, 40), FieldDef::make("b", FieldType::Float)});
    ds.createDataSet();
    ds.appendRecord({QStringLiteral("x, \"y\"\r\nz\tw"), 1.5});
    const QString path = dir.filePath("t.xml");
    QVERIFY(ds.saveToFile(path));
    QCOMPARE(cli({"show", path, "--format", "csv"}).out, QByteArray("a,b\n\"x, \"\"y\"\"\r\nz\tw\",1.5\n"));
    QCOMPARE(cli({"show", path}).out, QByteArray("a\tb\nx, \"y\"\\r\\nz\\tw\t1.5\n"));
}

void TestCliShow::unreadableInput_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("mentions");
    QTest::newRow("missing") << QByteArray() << "No such file";
    QTest::newRow("garbage") << QByteArray("\x01\x02 not xml") << "line 1";
    QTest::newRow("truncated") << QByteArray("<?xml version=\"1.0\"?>  <DATAPACKET Version=\"2.0\"><METADATA><FIE")
                               << "column";
}

void TestCliShow::unreadableInput()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, mentions);
    QTemporaryDir dir;
    const QString path = dir.filePath("bad.xml");
    if (!content.isEmpty()) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    const Run r = cli({"show", path});
    QCOMPARE(r.code, 2);
    QVERIFY(r.out.isEmpty());
    const QString err = QString::fromUtf8(r.err);
    QCOMPARE(err.count(u'\n'), 1); // one line
    QVERIFY2(err.contains(QDir::toNativeSeparators(path)), qPrintable(err));
    QVERIFY2(err.contains(mentions), qPrintable(err));
    QCOMPARE(cli({"show"}).code, 64);
    QCOMPARE(cli({"show", path, "--format", "xls"}).code, 64);
}

QTEST_GUILESS_MAIN(TestCliShow)
#include "tst_cli_show.moc"
