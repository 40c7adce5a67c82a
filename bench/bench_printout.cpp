// Figures for the print-dump parser: a Reader printout of 200 badges, each with
// a 24-hour history at 60 s (channel 1 and peak data), turned into download text.
// The Reader's line delivers about 3.8 kB/s; the figure to compare is MB/s.

#include "instruments/KVTReaderPrintout.h"
#include "sim/SimReader.h"

#include <QElapsedTimer>
#include <QTest>

using namespace sonvex;

class BenchPrintout : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void parse_data();
    void parse();
    void throughput();

private:
    QStringList m_single;
    QStringList m_dual;
    qint64 bytes(const QStringList& lines) const
    {
        qint64 n = 0;
        for (const QString& l : lines)
            n += l.size() + 2; // CR LF on the line
        return n;
    }
};

void BenchPrintout::initTestCase()
{
    SimReaderOptions o;
    o.model = SimReaderModel::RM50A;
    o.results = SimResultKind::Q3;
    o.periodSeconds = 60;
    o.hours = 24;
    m_single = writePrintout(generateReader(200, 1, o));
    o.model = SimReaderModel::RM52A;
    o.secondChannel = SimSecondChannel::Dual;
    m_dual = writePrintout(generateReader(200, 2, o));
    qInfo("printout RM:50A: %d lines, %.2f MB", int(m_single.size()), bytes(m_single) / 1e6);
    qInfo("printout RM:52A: %d lines, %.2f MB", int(m_dual.size()), bytes(m_dual) / 1e6);
}

void BenchPrintout::parse_data()
{
    QTest::addColumn<bool>("dual");
    QTest::newRow("200 badges, 24 h at 60 s, RM:50A") << false;
    QTest::newRow("200 badges, 24 h at 60 s, RM:52A two channels") << true;
}

void BenchPrintout::parse()
{
    QFETCH(bool, dual);
    const QStringList& lines = dual ? m_dual : m_single;
    const PrintoutContext ctx =
        PrintoutContext::fromLocale(QLocale::c(), QDateTime(QDate(2009, 3, 20), QTime(9, 0)));
    QStringList out;
    QBENCHMARK
    {
        out = ParsePrintout(lines, ctx);
    }
    QCOMPARE(out.size(), 4 + 200);
}

void BenchPrintout::throughput()
{
    const PrintoutContext ctx =
        PrintoutContext::fromLocale(QLocale::c(), QDateTime(QDate(2009, 3, 20), QTime(9, 0)));
    for (const QStringList* lines : {&m_single, &m_dual}) {
        const int rounds = 10;
        QElapsedTimer timer;
        timer.start();
        qsizetype rows = 0;
        for (int i = 0; i < rounds; ++i)
            rows += ParsePrintout(*lines, ctx).size();
        const double seconds = timer.nsecsElapsed() / 1e9 / rounds;
        const double mbps = bytes(*lines) / 1e6 / seconds;
        qInfo("%s: %.1f ms per parse, %.1f MB/s, %.0f times the Reader's 3.8 kB/s",
              lines == &m_single ? "RM:50A" : "RM:52A", seconds * 1e3, mbps, mbps * 1e6 / 3800.0);
        QVERIFY(rows == rounds * (4 + 200));
    }
}

QTEST_APPLESS_MAIN(BenchPrintout)
#include "bench_printout.moc"
