// Figures for the time-history model: a 24-hour channel-1 history at 5 s (17,280 samples),
// decoded, and summarised the way a cursor drag does on every mouse move.

#include "data/KVTimeHistory.h"

#include <QRandomGenerator>
#include <QTest>

using namespace sonvex;

namespace {

constexpr int kSamples = 17280;

QString dayAtFiveSeconds()
{
    QRandomGenerator rng(4);
    QString s = QStringLiteral("\tTimeHistory LAeq duration5s Q=3 date:d03m04y2009 time:h00n00 ");
    s.reserve(kSamples * 7);
    for (int i = 0; i < kSamples; ++i) {
        if (i > 0 && i % 720 == 0) // a time stamp every hour, on time
            s += QStringLiteral("time:h%1n00 ").arg(i / 720, 2, 10, QLatin1Char('0'));
        s += QString::number(60.0 + rng.bounded(400) / 10.0, 'f', 1);
        const quint32 flag = rng.bounded(200);
        if (flag == 0)
            s += u'P';
        else if (flag == 1)
            s += QLatin1StringView("PO");
        s += u' ';
    }
    return s;
}

} // namespace

class BenchTimeHistory : public QObject
{
    Q_OBJECT
    QString m_text;

private slots:
    void initTestCase()
    {
        m_text = dayAtFiveSeconds();
        TKVTimeHistory h(true, true);
        h.setData(m_text);
        QCOMPARE(h.sampleCount(), kSamples);
    }

    void decode()
    {
        TKVTimeHistory h(true, true);
        QBENCHMARK
        {
            h.setData(m_text);
        }
    }

    // One mouse move of a drag: the summary, the cursor moved, the cursor texts.
    void dragStep()
    {
        TKVTimeHistory h(true, true);
        h.setExchangeRate(3);
        h.setData(m_text);
        h.setCursor1(0.1);
        double x = 0.2;
        QBENCHMARK
        {
            h.computeSummary(true);
            x = x < 0.9 ? x + 0.001 : 0.2;
            h.setCursor2(x);
            h.updateCursorTexts();
        }
        QVERIFY(h.levelBetween() > 0);
    }

    void computeSummary()
    {
        TKVTimeHistory h(true, true);
        h.setExchangeRate(3);
        h.setData(m_text);
        h.setCursorsAndTexts(0.25, 0.75);
        QBENCHMARK
        {
            h.computeSummary(true);
        }
        QVERIFY(h.levelBetween() > 0);
    }

    // The first summary after decoding also works out the averaging terms of every sample.
    void decodeAndFirstSummary()
    {
        TKVTimeHistory h(true, true);
        h.setExchangeRate(4);
        h.setCursorsAndTexts(0.25, 0.75);
        QBENCHMARK
        {
            h.setData(m_text);
            h.computeSummary(true);
        }
        QVERIFY(h.levelBetween() > 0);
    }
};

QTEST_GUILESS_MAIN(BenchTimeHistory)
#include "bench_timehistory.moc"
