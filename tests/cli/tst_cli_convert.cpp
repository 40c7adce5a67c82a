#include "data/LeqFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run
{
    int code = -1;
    QByteArray out;
    QByteArray err;
};

Run run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(120000);
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

Run cli(const QStringList& args)
{
    return run(QStringLiteral(SONVEX_CLI), args);
}

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestCliConvert : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_printout;

private Q_SLOTS:
    void initTestCase();
    void printoutToTextToXmlAndBack();
    void spanPrintsTheCursorPanels();
    void leqFile();
    void importKeepsTheNextAutomaticFile();
    void errors_data();
    void errors();
};

void TestCliConvert::initTestCase()
{
#ifndef SONVEX_READER_SIM
    QSKIP("the Reader simulator is not built");
#else
    const Run sim = run(QStringLiteral(SONVEX_READER_SIM), {"--print", "3", "--seed", "11", "--model", "RM:50A"});
    QCOMPARE(sim.code, 0);
    m_printout = m_dir.filePath("capture.prt");
    QFile f(m_printout);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(sim.out);
#endif
}

void TestCliConvert::printoutToTextToXmlAndBack()
{
    const QString text = m_dir.filePath("day.kvntm");
    Run r = cli({"convert", m_printout, text});
    QVERIFY2(r.code == 0, r.err.constData());
    const QByteArray bytes = readBytes(text);
    QVERIFY(bytes.startsWith("noxTag measurements\r\nDownloaded on "));
    QVERIFY(bytes.contains("\r\n#\tNotes\tCursor1Pos\tCursor2Pos\tnoxTag\t"));
    QVERIFY(bytes.endsWith("Time format: hh:nn\r\n"));

    const QString xml = m_dir.filePath("day.xml");
    QCOMPARE(cli({"convert", text, xml}).code, 0);
    QVERIFY(readBytes(xml).startsWith("<?xml"));
    const QString back = m_dir.filePath("back.kvntm");
    QCOMPARE(cli({"convert", xml, back, "--to", "text"}).code, 0);

    // The same table from the printout, its text form, its XML form and the text written from XML.
    const QByteArray fromPrintout = cli({"show", m_printout, "--format", "csv"}).out;
    QCOMPARE(fromPrintout.count('\n'), 4);
    QCOMPARE(cli({"show", text, "--format", "csv"}).out, fromPrintout);
    QCOMPARE(cli({"show", xml, "--format", "csv"}).out, fromPrintout);
    QCOMPARE(cli({"show", back, "--format", "csv"}).out, fromPrintout);
    // A load never changes the file it reads.
    QCOMPARE(readBytes(text), bytes);
}

void TestCliConvert::spanPrintsTheCursorPanels()
{
    const QString text = m_dir.filePath("span.kvntm");
    QCOMPARE(cli({"convert", m_printout, text}).code, 0);
    const Run whole = cli({"span", text, "--measurement", "1"});
    QVERIFY2(whole.code == 0, whole.err.constData());
    const QList<QByteArray> lines = whole.out.split('\n');
    QVERIFY(lines.at(0).startsWith("Measurement 1 ("));
    QVERIFY(lines.at(3).startsWith("Between cursors\t"));
    QVERIFY(lines.at(4).startsWith("Outside cursors\t---\t---")); // the whole run is between

    const Run part = cli({"span", text, "--measurement", "1", "--from", "09:00", "--to", "10:00"});
    QCOMPARE(part.code, 0);
    QVERIFY2(part.out.contains("Cursor 1\t09:00\t"), part.out.constData());
    QVERIFY(part.out.contains("Cursor 2\t10:00\t"));
    QVERIFY(part.out.contains("Between cursors\t01:01\t")); // 09:00 to 10:00 inclusive at 60 s
    QCOMPARE(cli({"span", text, "--measurement", "1", "--channel", "peak"}).code, 0);
}

void TestCliConvert::leqFile()
{
    const QString text = m_dir.filePath("leq.kvntm");
    QCOMPARE(cli({"convert", m_printout, text}).code, 0);
    const QString out = m_dir.filePath("m2.leq");
    const Run r = cli({"leq", text, "--measurement", "2", "-o", out});
    QVERIFY2(r.code == 0, r.err.constData());
    const QByteArray leq = readBytes(out);
    // Header and channel records, then two bytes a sample.
    const int samples = r.out.split(' ').first().toInt();
    QVERIFY(samples > 0);
    QCOMPARE(leq.size(), 576 + 96 + 2 * samples);
    QVERIFY(!QFile::exists(m_dir.filePath("nodir/x.leq")));
    QCOMPARE(cli({"leq", text, "--measurement", "2", "-o", m_dir.filePath("nodir/x.leq")}).code, 1);
    QVERIFY(!QFile::exists(m_dir.filePath("nodir/x.leq")));
}

void TestCliConvert::importKeepsTheNextAutomaticFile()
{
    const QString folder = m_dir.filePath("data files");
    const Run first = cli({"import", m_printout, "--data-folder", folder});
    QVERIFY2(first.code == 0, first.err.constData());
    const QString today = QDate::currentDate().toString("ddMMyyyy");
    QCOMPARE(first.out.trimmed(), QDir::toNativeSeparators(folder + "/" + today + "_00000.kvntm").toUtf8());
    QVERIFY(QFile::exists(folder + "/readme.txt"));
    const Run second = cli({"import", m_printout, "--data-folder", folder});
    QVERIFY(second.out.trimmed().endsWith(today.toUtf8() + "_00001.kvntm"));
    // The automatic file holds the same measurements as the printout.
    QCOMPARE(cli({"show", QString::fromUtf8(first.out.trimmed()), "--format", "csv"}).out,
             cli({"show", m_printout, "--format", "csv"}).out);
}

void TestCliConvert::errors_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("mentions");
    QTest::newRow("missing file") << QStringList{"convert", "/no/such.kvntm", "/tmp/x.xml"} << 2 << "No such file";
    QTest::newRow("same file") << QStringList{"convert", "a.kvntm", "a.kvntm"} << 64 << "another file";
    QTest::newRow("bad form") << QStringList{"convert", "a.kvntm", "b.kvntm", "--to", "pdf"} << 64 << "--to";
    QTest::newRow("no measurement") << QStringList{"span", "/no/such.kvntm"} << 64 << "usage";
    QTest::newRow("from without to") << QStringList{"span", "x", "--measurement", "1", "--from", "09:00"} << 64
                                     << "usage";
}

void TestCliConvert::errors()
{
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, mentions);
    const Run r = cli(args);
    QCOMPARE(r.code, code);
    QVERIFY2(QString::fromUtf8(r.err).contains(mentions), r.err.constData());
}

QTEST_GUILESS_MAIN(TestCliConvert)
#include "tst_cli_convert.moc"
