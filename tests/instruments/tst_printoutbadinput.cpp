// The print-dump parser on damaged printouts: cut short, unfinished blocks,
// bad sample words, very long lines, line noise. It must always finish with the
// rows read so far (and "file format error" where the printout cannot be read).

#include "instruments/KVTReaderPrintout.h"

#include <QElapsedTimer>
#include <QTest>

#include <random>

using namespace sonvex;

namespace {

const char* const kGood = R"(RM:50A ser. #01234 Recal Due 15/06/10
#001: RM:50A #A0001 Recal Due 01/09/10
Settings: 85: 28800: 00: F: 3dB (Q=3) None
First Cal: 0.0dB 08:00 12/03/09
Measurement: 09:00 12/03/09
Run Time: 08:00:00
Leq: 84.8 dB
60 Time History: 89000A800A80
60 Peak Data: 890081008100
Peak: OK
Battery: OK
#002: RM:50A #A0002 Recal Due 01/09/10
Settings: 85: 28800: 00: F: 3dB (Q=3) None
Measurement: 10:00 12/03/09
Leq: 90.1 dB
60 Time History: 90000B80
Battery: OK
#003: RM:50A #A0003 Recal Due 01/09/10
Leq: 70.5 dB
60 Time History: 91000A80
Battery: LOW)";

const QString kError = QStringLiteral("file format error");

PrintoutContext context()
{
    PrintoutContext c;
    c.downloadTime = QDateTime(QDate(2009, 3, 14), QTime(10, 5));
    c.readerFirmware = QStringLiteral("R2.10");
    return c;
}

struct Result
{
    QStringList header;
    QVector<QStringList> rows;
    bool error = false;
    bool errorLast = true;
};

Result parse(const QStringList& lines)
{
    const QStringList out = ParsePrintout(lines, context());
    Result r;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const QString& line = out.at(i);
        if (line == kError) {
            r.error = true;
            r.errorLast = i == out.size() - 1;
        } else if (!r.header.isEmpty()) {
            r.rows.append(line.split(u'\t'));
        } else if (line.startsWith(QLatin1String("#\t"))) {
            r.header = line.split(u'\t');
        }
    }
    return r;
}

QString item(const Result& r, int row, const char* column)
{
    return r.rows.value(row).value(r.header.indexOf(QLatin1String(column)));
}

QStringList goodLines()
{
    return QString::fromLatin1(kGood).split(u'\n');
}

} // namespace

class TestPrintoutBadInput : public QObject
{
    Q_OBJECT

private slots:
    void truncatedAtEveryCharacter();
    void blockWithoutEndLine();
    void badChannel1Word_data();
    void badChannel1Word();
    void badWordsInOtherChannels();
    void nonPositivePeriod();
    void megabyteLines_data();
    void megabyteLines();
    void binaryNoiseBetweenBlocks();
    void randomDamage();
};

void TestPrintoutBadInput::truncatedAtEveryCharacter()
{
    const QString text = QString::fromLatin1(kGood);
    const Result full = parse(goodLines());
    QCOMPARE(full.rows.size(), 3);
    // Where each block's end line is complete.
    QVector<qsizetype> complete;
    for (qsizetype p = text.indexOf(QLatin1String("Battery:")); p >= 0;
         p = text.indexOf(QLatin1String("Battery:"), p + 1)) {
        const qsizetype end = text.indexOf(u'\n', p);
        complete.append(end < 0 ? text.size() : end);
    }
    QCOMPARE(complete.size(), 3);
    for (qsizetype n = 0; n <= text.size(); ++n) {
        const Result cut = parse(text.left(n).split(u'\n'));
        // A cut leaves whole words or a fragment that is not read: never an error.
        QVERIFY2(!cut.error, qPrintable(QString::number(n)));
        // A block counts once its end key and colon are there ...
        QCOMPARE(cut.rows.size(), text.left(n).count(QLatin1String("Battery:")));
        // ... and its row is the full one once its end line is whole.
        for (qsizetype i = 0; i < cut.rows.size(); ++i) {
            if (n >= complete.at(i))
                QCOMPARE(cut.rows.at(i), full.rows.at(i));
        }
    }
}

void TestPrintoutBadInput::blockWithoutEndLine()
{
    QStringList lines = goodLines();
    lines.removeLast(); // the third block never reaches "Battery"
    const Result r = parse(lines);
    QVERIFY(!r.error);
    QCOMPARE(r.rows.size(), 2);
    QCOMPARE(item(r, 1, "noxTag"), QStringLiteral("A0002"));
}

void TestPrintoutBadInput::badChannel1Word_data()
{
    QTest::addColumn<int>("block"); // 0-based block whose history is damaged
    QTest::addColumn<QString>("words");
    QTest::newRow("letters, first block") << 0 << "8900ZZ800A80";
    QTest::newRow("letters, second block") << 1 << "90000BG0";
    QTest::newRow("blank inside") << 1 << "9000 0B80";
    QTest::newRow("sign") << 2 << "9100-A80";
}

void TestPrintoutBadInput::badChannel1Word()
{
    QFETCH(int, block);
    QFETCH(QString, words);
    QStringList lines = goodLines();
    int seen = -1;
    for (QString& line : lines) {
        if (line.startsWith(QLatin1String("60 Time History:")) && ++seen == block)
            line = QStringLiteral("60 Time History: ") + words;
    }
    const QStringList out = ParsePrintout(lines, context());
    QCOMPARE(out.last(), kError);
    QCOMPARE(out.count(kError), 1);
    const Result r = parse(lines);
    QCOMPARE(r.rows.size(), block); // the rows before the damaged block stay
    if (block > 0)
        QCOMPARE(item(r, 0, "noxTag"), QStringLiteral("A0001"));
}

void TestPrintoutBadInput::badWordsInOtherChannels()
{
    // In the peak and second-channel data a bad word reads as 0: no error.
    QStringList lines = goodLines();
    lines.replace(lines.indexOf(QStringLiteral("60 Peak Data: 890081008100")),
                  QStringLiteral("60 Peak Data: 8900XXXX8100"));
    lines.insert(lines.indexOf(QStringLiteral("Peak: OK")), QStringLiteral("60 Dual Data: 8900G0000A80"));
    const Result r = parse(lines);
    QVERIFY(!r.error);
    QCOMPARE(r.rows.size(), 3);
    QCOMPARE(item(r, 0, "THPeak"),
             QStringLiteral("TimeHistory Peak duration60s Q=0 date:d12m03y2009 time:h09n00 84.0 132.2 "));
    QCOMPARE(item(r, 0, "THCh2"),
             QStringLiteral("TimeHistory Ch2 duration60s Q=3 date:d12m03y2009 time:h09n00 62.2 102.1 "));
}

void TestPrintoutBadInput::nonPositivePeriod()
{
    // A period word of 0 would give an endless level; the period counts as 60 s.
    QStringList lines = goodLines();
    lines.replace(lines.indexOf(QStringLiteral("60 Time History: 89000A800A80")),
                  QStringLiteral("0 Time History: 89000A80"));
    const Result r = parse(lines);
    QVERIFY(!r.error);
    QCOMPARE(item(r, 0, "THCh1"),
             QStringLiteral("TimeHistory LAeq duration0s Q=3 date:d12m03y2009 time:h09n00 102.1 "));
}

void TestPrintoutBadInput::megabyteLines_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("rows");
    const int mb = 1 << 20;
    QTest::newRow("hex history") << QStringLiteral("60 Time History: 8900") + QString(mb, u'0') << 3;
    QTest::newRow("no colon") << QString(mb, u'x') << 3;
    QTest::newRow("unknown key") << QStringLiteral("noise: ") + QString(mb, u'y') << 3;
    QTest::newRow("long key") << QString(mb, u'k') + QStringLiteral(": 1") << 3;
    QTest::newRow("colons only") << QString(mb, u':') << 3;
    QTest::newRow("settings value") << QStringLiteral("Settings: ") + QString(mb, u'=') << 3;
    QTest::newRow("bad hex at the end")
        << QStringLiteral("60 Time History: 8900") + QString(mb, u'0') + QStringLiteral("00Q0") << 0;
    // a trailing fragment shorter than a word is not read
    QTest::newRow("fragment at the end")
        << QStringLiteral("60 Time History: 8900") + QString(mb, u'0') + u'Q' << 3;
}

void TestPrintoutBadInput::megabyteLines()
{
    QFETCH(QString, line);
    QFETCH(int, rows);
    QStringList lines = goodLines();
    lines.insert(2, line); // inside the first block
    QElapsedTimer timer;
    timer.start();
    const Result r = parse(lines);
    const qint64 ms = timer.elapsed();
    QCOMPARE(r.rows.size(), rows);
    QCOMPARE(r.error, rows == 0);
    QVERIFY(r.errorLast);
    QVERIFY2(ms < 10000, qPrintable(QString::number(ms)));
    qInfo("%s: %lld ms", QTest::currentDataTag(), ms);
}

void TestPrintoutBadInput::binaryNoiseBetweenBlocks()
{
    std::mt19937 rng(20090312);
    auto noise = [&rng] {
        QByteArray bytes(4096, '\0');
        for (char& b : bytes)
            b = char(rng() & 0xFF);
        return QString::fromLatin1(bytes).split(QRegularExpression(QStringLiteral("[\\r\\n]")));
    };
    const QStringList clean = goodLines();
    QStringList noisy;
    for (const QString& line : clean) {
        if (line.startsWith(u'#') && !noisy.isEmpty())
            noisy << noise();
        noisy << line;
    }
    noisy << noise();
    const Result a = parse(clean);
    const Result b = parse(noisy);
    QVERIFY(!b.error);
    QCOMPARE(b.header, a.header);
    QCOMPARE(b.rows, a.rows);
}

void TestPrintoutBadInput::randomDamage()
{
    // Thousands of randomly damaged printouts: the parse always ends, starts
    // with the title and reports a format error at most once, as its last line.
    std::mt19937 rng(7);
    const QString text = QString::fromLatin1(kGood);
    const QString alphabet = QStringLiteral("0123456789ABCDEFZ:#. \n\t-/%");
    for (int round = 0; round < 3000; ++round) {
        QString t = text;
        const int edits = 1 + int(rng() % 8);
        for (int e = 0; e < edits; ++e) {
            const qsizetype pos = qsizetype(rng() % quint32(t.size() + 1));
            switch (rng() % 4) {
            case 0:
                t.remove(pos, 1 + qsizetype(rng() % 20));
                break;
            case 1:
                t.insert(pos, alphabet.at(qsizetype(rng() % quint32(alphabet.size()))));
                break;
            case 2:
                if (pos < t.size())
                    t[pos] = QChar(char16_t(rng() % 256));
                break;
            default:
                t.insert(pos, t.mid(qsizetype(rng() % quint32(t.size())), 40));
                break;
            }
        }
        const QStringList out = ParsePrintout(t.split(u'\n'), context());
        QVERIFY(!out.isEmpty());
        QCOMPARE(out.first(), QStringLiteral("noxTag measurements"));
        const qsizetype errors = out.count(kError);
        QVERIFY(errors <= 1);
        if (errors == 1)
            QCOMPARE(out.last(), kError);
    }
}

QTEST_APPLESS_MAIN(TestPrintoutBadInput)
#include "tst_printoutbadinput.moc"
