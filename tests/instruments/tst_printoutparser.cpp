// The print-dump parser on small hand-written printouts. Every expected value
// below was worked out by hand from the printout rules, not taken from a run.

#include "instruments/KVTReaderPrintout.h"

#include <QHash>
#include <QTest>

using namespace sonvex;

namespace {

// Column groups of the download text header.
const QString kHead = QStringLiteral("#\tNotes\tCursor1Pos\tCursor2Pos\tnoxTag\tBadge Firmware\tRun Time");
const QString kEnergy1 =
    QStringLiteral("Dose %\tExp. Pa2h\tLeq dBA\tLAE dBA\tEst.Dose %\tEst.Exp Pa2h\tLepd dBA");
const QString kRate1 = QStringLiteral("Lavg dBA(Q=5)\tTWA dBA(Q=5)\tDose %(Q=5)\tEst.Dose %(Q=5)");
const QString kMiddle = QStringLiteral(
    "Reset Time\tMeas.Time\tPeak\tOverload\tBattery\tTime Hist.\t1st Cal dB\t1st Cal Time\tLast Cal dB\t"
    "Last Cal Time\tRecal Due\tSettings\tSettings Ch2\t115dBA LFMax\tData Check");
const QString kEnergy2 =
    QStringLiteral("2Dose %\t2Exp. Pa2h\t2Leq dBA\t2LAE dBA\t2Est.Dose %\t2Est.Exp Pa2h\t2Lepd dBA");
const QString kRate2 = QStringLiteral("2Lavg dBA(Q=5)\t2TWA dBA(Q=5)\t2Dose %(Q=5)\t2Est.Dose %(Q=5)");
const QString kTail = QStringLiteral("Dual\tDualTH\tTHCh1\tTHPeak\tTHBatt\tTHCh2");

QString join(std::initializer_list<QString> parts)
{
    return QStringList(parts).join(u'\t');
}

const QString kPlainHeader = join({kHead, kEnergy1, kMiddle, kEnergy2, kTail});
const QString kQ5Header = join({kHead, kRate1, kMiddle, kEnergy2, kTail});
const QString kBothHeader = join({kHead, kEnergy1, kRate1, kMiddle, kEnergy2, kTail});
const QString kDualHeader = join({kHead, kRate1, kMiddle, kRate2, kTail});
const QString kDualBothHeader = join({kHead, kEnergy1, kRate1, kMiddle, kEnergy2, kRate2, kTail});

// --- the printouts

const char* const kPlain = R"(Print-out of stored measurements
RM:50A ser. #01234 Recal Due 15/06/10

#001: RM:50A #A1234 Recal Due 01/09/10
Badge Version: 3.02
Settings: 85: 28800: 00: F: 3dB (Q=3) None
First Cal: 0.2dB 10:15 5/03/07
Last Cal: 0.1dB 17:20 12/03/09
Reset: 08:55 12/03/09
Measurement: 09:00 12/03/09
Run Time: 8.5
Dose: 95.3 %
Exp: 0.96 Pa2h
Leq: 84.8 dB
LAE: 129.6 dB
Est Dose: 89.7 %
Est Exp: 0.90 Pa2h
LEX,8h: 85.1 dB
60 Time History: 89130A804A802A806A80891300008915
60 Peak Data: 0000810000007C80FFFF0000ZZZZ0000
Peak: 137.5dB C
O.L.: OK
Battery: OK
#002: RM:50A #B2345 Recal Due 1/09/10
Settings: 85: 28800: 00: F: 3dB (Q=3) None
Settings3: 80: 28800: 00: F: 3dB (Q=3) None
First Cal: unit not calibrated
Read: 09:30 13/03/09
Run Time: 7:30
Dose: 95%
Leq 2: 83.0 dB
Dose 2: 80.0 %
LEX,8h 2: 83.3 dB
60 Time History: 89300A80
60 Dual Data: 893042802000
Peak: OK
Overload: YES
Batt: LOW
End of print-out)";

const char* const kQ5 = R"(RM:50A ser. #01234 Recal Due 15/06/10
#001: RM:50A #C0005 Recal Due 01/09/10
Settings: 90: 28800: 80: S: 5dB (Q=5) Slow
First Cal: unit not calibrated
Measurement: 08:00 13/03/09
Run Time: 8.25
Lavg: 86.1 dB
TWA: 80.2 dB
Dose: 42.5 %
Est Dose: 66.0 %
60 Time History: 88000A80
Peak: OK
O.L.: OK
Battery: OK
#002: OEM-715 #D0006 Recal Due 01/09/10
Settings: 90: 28800: 80: S: 5dB (Q=5) Slow
Measurement: 08:00 13/03/09
Run Time: 08:00:00
Dose: 50.0 % (Q=5)
Est Dose: 50.0 % (Q=5)
Lavg: 85.0 dB
TWA: 85.0 dB
5 Time History: 88000A80
Battery: OK)";

const char* const kDataCheck = R"(RM:50A ser. #01234 Recal Due 15/06/10
#1: 77777 Recal Due 01/09/10
Settings: 85: 28800: 00: S: 3dB (Q=3) Slow
First Cal: 0.2dB 10:15 5/03/07
Measurement: 09:00 12/03/09
Run Time: 08:00:00
Dose: 95.3 %
Leq: 84.8 dB
Lavg: 84.6 dB
TWA: 84.6 dB
Dose: 91.2 %
Est Dose: 91.2 %
5 Time History: 89000A80
Peak: OK
O.L.: OK
115dB LFMax: 1F
Battery: OK
Data Check: OK 0000
#2: RM:50A #E0002 Recal Due 01/09/10
Settings: 85: 28800: 00: S: 3dB (Q=3) Slow
Measurement: 10:00 12/03/09
Run Time: 01:00:00
Battery: LOW
Data Check: OK 0001
#3: RM:50A #E0003 Recal Due 01/09/10
Measurement: 11:00 12/03/09
Battery: OK)";

const char* const kDual = R"(RM:52A ser. #04321 Recal Due 30/11/10
#001: RM:52A #F0001 Recal Due 01/09/10
Settings: 85: 28800: 80: F: 3dB (Q=3) None
Settings3: 90: 28800: 80: S: 5dB (Q=5) Slow
First Cal: unit not calibrated
Measurement: 09:00 12/03/09
Run Time: 08:00:00
Lavg: 84.8 dB
TWA: 84.8 dB
Dose: 95.3 %
Est Dose: 95.3 %
Dose 3: 40.1 %
Lavg 3: 82.0 dB
TWA 3: 80.0 dB
Est Dose 3: 40.1 %
60 Time History: 89130A80
60 Peak Data: 89138100
60 Dual Data: 89130A80
Peak: OK
O.L.: OK
Battery: OK)";

const char* const kDualThreshold = R"(RM:52A ser. #04321 Recal Due 30/11/10
#001: RM:52A #F0002 Recal Due 01/09/10
Settings: 85: 28800: 00: F: 3dB (Q=3) None
First Cal: unit not calibrated
Measurement: 09:00 12/03/09
Run Time: 08:00:00
Lavg: 84.8 dB
Settings3:
60 Time History: 89130A80
60 Thre Data: 89132A80
Battery: OK)";

// A block cut off before its end line, then a complete one.
const char* const kCutOff = R"(RM:50A ser. #01234 Recal Due 15/06/10
#001: RM:50A #G0001 Recal Due 01/09/10
Leq: 91.0 dB
60 Time History: 89000A80
#002: RM:50A #G0002 Recal Due 01/09/10
Settings: 85: 28800: 00: F: 3dB (Q=3) None
Exp: 1.00 Pa2h
Battery: OK)";

const char* const kOddHeaders = R"(RM:50A ser. #01234 Recal Due 15/06/10
#7: X1234
Battery: OK
#8: RM:50A #H0008
Battery: OK)";

QStringList linesOf(const char* text)
{
    return QString::fromLatin1(text).split(u'\n');
}

QDateTime wall(const QDate& d, const QTime& t)
{
    return QDateTime(d, t, Qt::UTC);
}

PrintoutContext context()
{
    PrintoutContext c;
    c.downloadTime = QDateTime(QDate(2009, 3, 14), QTime(10, 5));
    c.readerFirmware = QStringLiteral("R2.10");
    c.shortDateFormat = QStringLiteral("dd/MM/yyyy");
    c.shortTimeFormat = QStringLiteral("HH:mm");
    return c;
}

const QHash<QString, const char*>& printouts()
{
    static const QHash<QString, const char*> all = {
        {QStringLiteral("plain"), kPlain},
        {QStringLiteral("q5"), kQ5},
        {QStringLiteral("datacheck"), kDataCheck},
        {QStringLiteral("dual"), kDual},
        {QStringLiteral("dual threshold"), kDualThreshold},
        {QStringLiteral("cut off"), kCutOff},
        {QStringLiteral("odd headers"), kOddHeaders},
    };
    return all;
}

// The header line and the rows of a download text.
struct Download
{
    QStringList names;
    QVector<QStringList> rows;
    bool formatError = false;
};

Download parseNamed(const QString& name, const PrintoutContext& ctx = context())
{
    const QStringList out = ParsePrintout(linesOf(printouts().value(name)), ctx);
    Download d;
    bool afterHeader = false;
    for (const QString& line : out) {
        if (line == QLatin1String("file format error")) {
            d.formatError = true;
        } else if (afterHeader) {
            d.rows.append(line.split(u'\t'));
        } else if (line.startsWith(QLatin1String("#\t"))) {
            d.names = line.split(u'\t');
            afterHeader = true;
        }
    }
    return d;
}

} // namespace

class TestPrintoutParser : public QObject
{
    Q_OBJECT

private slots:
    void valueRules_runTime_data();
    void valueRules_runTime();
    void valueRules_printDate_data();
    void valueRules_printDate();
    void sampleWords_data();
    void sampleWords();
    void markerWords_data();
    void markerWords();
    void peakWords_data();
    void peakWords();

    void wholeLines_data();
    void wholeLines();
    void headers_data();
    void headers();
    void columns_data();
    void columns();
    void rowCounts_data();
    void rowCounts();
    void everyRowMatchesItsHeader();
    void noReaderLine_data();
    void noReaderLine();
    void userFormats();
    void daylightSavingGap();
    void unreadableReaderRecalDate_data();
    void unreadableReaderRecalDate();
};

// --- value rules

void TestPrintoutParser::valueRules_runTime_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("hours and tenths") << "8.5"
                                      << "08:30:00";
    QTest::newRow("four characters are minutes") << "7:30"
                                                 << "00:07:30";
    QTest::newRow("150 minutes is no time") << "8.25"
                                            << "----";
    QTest::newRow("five characters") << "12:30"
                                     << "00:12:30";
    QTest::newRow("seven characters") << "8:00:00"
                                      << "08:00:00";
    QTest::newRow("eight characters") << "24:00:00"
                                      << "24:00:00";
    QTest::newRow("whole hours with a point") << "10.0"
                                              << "10:00:00";
    QTest::newRow("hours above 99 with a point") << "123.4"
                                                 << "123:24:00";
    QTest::newRow("minutes over 59") << "08:61:00"
                                     << "----";
    QTest::newRow("seconds over 59") << "08:00:60"
                                     << "----";
    QTest::newRow("not a number") << "ab:cd:ef"
                                  << "----";
    QTest::newRow("one character") << "8"
                                   << "----";
    QTest::newRow("non-numbers around a point count 0") << "x.y"
                                                        << "00:00:00";
}

void TestPrintoutParser::valueRules_runTime()
{
    QFETCH(QString, value);
    QFETCH(QString, expected);
    QCOMPARE(printout::runTimeText(value), expected);
}

void TestPrintoutParser::valueRules_printDate_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDateTime>("expected"); // wall clock; invalid = none
    QTest::newRow("one-digit day") << "10:15 5/03/07" << wall(QDate(2007, 3, 5), QTime(10, 15));
    QTest::newRow("two-digit day") << "23:59 31/12/09" << wall(QDate(2009, 12, 31), QTime(23, 59));
    QTest::newRow("year 88 is 2088") << "00:00 01/01/88" << wall(QDate(2088, 1, 1), QTime(0, 0));
    QTest::newRow("year 89 is 1989") << "00:00 01/01/89" << wall(QDate(1989, 1, 1), QTime(0, 0));
    QTest::newRow("midnight in front") << "0  15/06/10" << wall(QDate(2010, 6, 15), QTime(0, 0));
    QTest::newRow("one-digit hour reads as 0") << "9:05 05/03/07" << wall(QDate(2007, 3, 5), QTime(0, 5));
    QTest::newRow("double slash") << "10:15 05//07" << QDateTime();
    QTest::newRow("empty") << "" << QDateTime();
    QTest::newRow("not calibrated") << "Not Calibrated" << QDateTime();
    QTest::newRow("hour 25") << "25:00 05/03/07" << QDateTime();
    QTest::newRow("31 February") << "10:15 31/02/07" << QDateTime();
    QTest::newRow("no date") << "10:15" << QDateTime();
    // in a daylight-saving gap of many time zones
    QTest::newRow("spring forward") << "01:30 29/03/09" << wall(QDate(2009, 3, 29), QTime(1, 30));
    QTest::newRow("spring forward US") << "02:30 08/03/09" << wall(QDate(2009, 3, 8), QTime(2, 30));
    QTest::newRow("month not a number") << "10:15 05/Mar/07" << QDateTime();
}

void TestPrintoutParser::valueRules_printDate()
{
    QFETCH(QString, text);
    QFETCH(QDateTime, expected);
    const auto got = printout::readPrintDate(text);
    QCOMPARE(got.has_value(), expected.isValid());
    if (got)
        QCOMPARE(*got, expected);
}

void TestPrintoutParser::sampleWords_data()
{
    QTest::addColumn<int>("word");
    QTest::addColumn<double>("period");
    QTest::addColumn<int>("q");
    QTest::addColumn<double>("cal");
    QTest::addColumn<bool>("dual");
    QTest::addColumn<uint>("magnitude");
    QTest::addColumn<QString>("level");
    // 128 * 65536 >> 10 = 8192; * 59 / 50 = 9666; 80 + (log2 9666 - log2 60) * 3.0103 = 102.07
    QTest::newRow("0A80 60s q3") << 0x0A80 << 60.0 << 3 << 0.0 << false << 9666u << "102.1";
    // the same magnitude: 80 + 7.3318 * 5 - 33.8 = 82.86
    QTest::newRow("0A80 60s q5") << 0x0A80 << 60.0 << 5 << 0.0 << false << 9666u << "82.9";
    // 80 + 7.3318 * 4 - 15.4 = 93.93
    QTest::newRow("0A80 60s q4") << 0x0A80 << 60.0 << 4 << 0.0 << false << 9666u << "93.9";
    // 80 + (13.2387 - 2.3219) * 3.0103 = 112.86
    QTest::newRow("0A80 5s q3") << 0x0A80 << 5.0 << 3 << 0.0 << false << 9666u << "112.9";
    QTest::newRow("0A80 dual") << 0x0A80 << 60.0 << 3 << 0.0 << true << 9666u << "112.1";
    QTest::newRow("0A80 offset") << 0x0A80 << 60.0 << 3 << 0.2 << false << 9666u << "102.3";
    // flag bits do not change the level
    QTest::newRow("6A80 flags") << 0x6A80 << 60.0 << 3 << 0.0 << false << 9666u << "102.1";
    // 128 * 65536 >> 11 = 4096; * 59 / 50 = 4833; 80 + (12.2388 - 5.9069) * 3.0103 = 99.06
    QTest::newRow("0B80") << 0x0B80 << 60.0 << 3 << 0.0 << false << 4833u << "99.1";
    // magnitude 0: 80 - log2 60 * 3.0103 = 62.22
    QTest::newRow("zero") << 0x0000 << 60.0 << 3 << 0.0 << false << 0u << "62.2";
    // 255 * 65536 = 16711680; * 59 / 50 = 19719782 (truncated)
    QTest::newRow("largest") << 0x00FF << 60.0 << 3 << 0.0 << false << 19719782u << "135.2";
    // shift 31: 255 * 65536 >> 31 = 0
    QTest::newRow("shift 31") << 0x1FFF << 60.0 << 3 << 0.0 << false << 0u << "62.2";
}

void TestPrintoutParser::sampleWords()
{
    QFETCH(int, word);
    QFETCH(double, period);
    QFETCH(int, q);
    QFETCH(double, cal);
    QFETCH(bool, dual);
    QFETCH(uint, magnitude);
    QFETCH(QString, level);
    QCOMPARE(printout::sampleMagnitude(quint16(word)), magnitude);
    QCOMPARE(QString::number(printout::sampleLevel(quint16(word), period, q, cal, dual), 'f', 1), level);
}

void TestPrintoutParser::markerWords_data()
{
    QTest::addColumn<int>("word");
    QTest::addColumn<QString>("item");
    QTest::newRow("8913") << 0x8913 << "time:h09n13";
    QTest::newRow("A359") << 0xA359 << "time:h23n59";
    QTest::newRow("8000") << 0x8000 << "time:h00n00";
    QTest::newRow("hour pair not decimal") << 0x8A13 << "time:h00n13";
    QTest::newRow("minute pair not decimal") << 0x891F << "time:h09n00";
}

void TestPrintoutParser::markerWords()
{
    QFETCH(int, word);
    QFETCH(QString, item);
    QCOMPARE(printout::markerItem(quint16(word)), item);
}

void TestPrintoutParser::peakWords_data()
{
    QTest::addColumn<int>("word");
    QTest::addColumn<QString>("peak");
    QTest::addColumn<QString>("battery");
    // raw 256: 84 + 6.02 * 8 = 132.16; battery 33024 / 1024 = 32 -> 3.7408 V
    QTest::newRow("8100") << 0x8100 << "132.2"
                          << "3.7";
    // raw 128: 126.14; battery 31 -> 3.6239 V
    QTest::newRow("7C80") << 0x7C80 << "126.1"
                          << "3.6";
    // raw 1023: 84 + 6.02 * 9.99859 = 144.19; battery 63 -> 7.3647 V
    QTest::newRow("FFFF") << 0xFFFF << "144.2"
                          << "7.4";
    QTest::newRow("zero") << 0x0000 << "84.0"
                          << "0.0";
}

void TestPrintoutParser::peakWords()
{
    QFETCH(int, word);
    QFETCH(QString, peak);
    QFETCH(QString, battery);
    QCOMPARE(QString::number(printout::peakLevel(quint16(word), 0.0), 'f', 1), peak);
    QCOMPARE(QString::number(printout::batteryVolts(quint16(word)), 'f', 1), battery);
}

// --- whole printouts

void TestPrintoutParser::wholeLines_data()
{
    QTest::addColumn<QString>("printout");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("expected");
    QTest::newRow("title") << "plain" << 0 << "noxTag measurements";
    // The reader text keeps the blank before "Recal"; the recalibration date is
    // read 9 characters after "Recal" with midnight in front.
    QTest::newRow("downloaded on")
        << "plain" << 1
        << "Downloaded on 14/03/2009 at 10:05 using reader RM:50A ser. #01234  (Recal.Due 15/06/2010)";
    QTest::newRow("empty line") << "plain" << 2 << "";
    QTest::newRow("dual reader")
        << "dual" << 1
        << "Downloaded on 14/03/2009 at 10:05 using reader RM:52A ser. #04321  (Recal.Due "
           "30/11/2010)";
}

void TestPrintoutParser::wholeLines()
{
    QFETCH(QString, printout);
    QFETCH(int, index);
    QFETCH(QString, expected);
    const QStringList out = ParsePrintout(linesOf(printouts().value(printout)), context());
    QVERIFY(index < out.size());
    QCOMPARE(out.at(index), expected);
}

void TestPrintoutParser::headers_data()
{
    QTest::addColumn<QString>("printout");
    QTest::addColumn<QString>("header");
    QTest::newRow("plain: (Q=3) only") << "plain" << kPlainHeader;
    QTest::newRow("q5: (Q=5) only") << "q5" << kQ5Header;
    // "data check" and "(Q=3) Slow" count as Q=5 results besides the (Q=3) ones.
    QTest::newRow("datacheck: both kinds") << "datacheck" << kBothHeader;
    QTest::newRow("dual with both kinds") << "dual" << kDualBothHeader;
    QTest::newRow("dual with (Q=3) only") << "dual threshold" << kDualHeader;
}

void TestPrintoutParser::headers()
{
    QFETCH(QString, printout);
    QFETCH(QString, header);
    const QStringList out = ParsePrintout(linesOf(printouts().value(printout)), context());
    QVERIFY(out.size() >= 4);
    QCOMPARE(out.at(3), header);
}

void TestPrintoutParser::columns_data()
{
    QTest::addColumn<QString>("printout");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("expected");

    const QString defaultCh2 = QStringLiteral("85: 28800: 00: F: 3dB (Q=3) None");

    // plain, block 1
    QTest::newRow("plain #") << "plain" << 0 << "#"
                             << "001";
    QTest::newRow("plain notes empty") << "plain" << 0 << "Notes"
                                       << "";
    QTest::newRow("plain serial without #") << "plain" << 0 << "noxTag"
                                            << "A1234";
    QTest::newRow("plain firmware") << "plain" << 0 << "Badge Firmware"
                                    << "R2.10 3.02";
    QTest::newRow("plain run time 8.5") << "plain" << 0 << "Run Time"
                                        << "08:30:00";
    QTest::newRow("plain dose with blank") << "plain" << 0 << "Dose %"
                                           << "95.3";
    QTest::newRow("plain exp") << "plain" << 0 << "Exp. Pa2h"
                               << "0.96";
    QTest::newRow("plain leq") << "plain" << 0 << "Leq dBA"
                               << "84.8";
    QTest::newRow("plain lae") << "plain" << 0 << "LAE dBA"
                               << "129.6";
    QTest::newRow("plain est dose") << "plain" << 0 << "Est.Dose %"
                                    << "89.7";
    QTest::newRow("plain est exp") << "plain" << 0 << "Est.Exp Pa2h"
                                   << "0.90";
    QTest::newRow("plain lex") << "plain" << 0 << "Lepd dBA"
                               << "85.1";
    QTest::newRow("plain reset") << "plain" << 0 << "Reset Time"
                                 << "08:55 12/03/2009";
    QTest::newRow("plain measurement") << "plain" << 0 << "Meas.Time"
                                       << "09:00 12/03/2009";
    QTest::newRow("plain peak") << "plain" << 0 << "Peak"
                                << " 137.5dB C";
    QTest::newRow("plain overload") << "plain" << 0 << "Overload"
                                    << "OK";
    QTest::newRow("plain battery") << "plain" << 0 << "Battery"
                                   << "OK";
    QTest::newRow("plain time hist") << "plain" << 0 << "Time Hist."
                                     << "yes";
    QTest::newRow("plain first cal dB") << "plain" << 0 << "1st Cal dB"
                                        << "0.2";
    QTest::newRow("plain first cal time") << "plain" << 0 << "1st Cal Time"
                                          << "10:15 05/03/2007";
    QTest::newRow("plain last cal dB") << "plain" << 0 << "Last Cal dB"
                                       << "0.1";
    QTest::newRow("plain last cal time") << "plain" << 0 << "Last Cal Time"
                                         << "17:20 12/03/2009";
    QTest::newRow("plain badge recal") << "plain" << 0 << "Recal Due"
                                       << "01/09/2010";
    QTest::newRow("plain settings") << "plain" << 0 << "Settings"
                                    << "85: 28800: 00: F: 3dB (Q=3) None";
    QTest::newRow("plain settings ch2 default") << "plain" << 0 << "Settings Ch2" << defaultCh2;
    QTest::newRow("plain dual no") << "plain" << 0 << "Dual"
                                   << "no";
    QTest::newRow("plain dualth no") << "plain" << 0 << "DualTH"
                                     << "no";
    QTest::newRow("plain 2leq empty") << "plain" << 0 << "2Leq dBA"
                                      << "";
    // words 8913 0A80 4A80 2A80 6A80 8913 0000 8915 with a 0.2 dB offset;
    // the second 8913 repeats the first marker and is left out
    QTest::newRow("plain THCh1")
        << "plain" << 0 << "THCh1"
        << "TimeHistory LAeq duration60s Q=3 date:d12m03y2009 time:h09n13 102.3 102.3P "
           "102.3O 102.3PO 62.4 time:h09n15 ";
    // peak words 8100 0000 7C80 FFFF ZZZZ at the sample positions (ZZZZ reads 0)
    QTest::newRow("plain THPeak")
        << "plain" << 0 << "THPeak"
        << "TimeHistory Peak duration60s Q=0 date:d12m03y2009 time:h09n13 132.4 84.2 126.3 "
           "144.4 84.2 time:h09n15 ";
    QTest::newRow("plain THBatt")
        << "plain" << 0 << "THBatt"
        << "TimeHistory Battery duration60s Q=0 date:d12m03y2009 time:h09n13 3.7 0.0 3.6 "
           "7.4 0.0 time:h09n15 ";

    // plain, block 2
    QTest::newRow("plain2 one-digit recal day") << "plain" << 1 << "Recal Due"
                                                << "01/09/2010";
    QTest::newRow("plain2 no firmware line") << "plain" << 1 << "Badge Firmware"
                                             << "";
    QTest::newRow("plain2 read") << "plain" << 1 << "Meas.Time"
                                 << "09:30 13/03/2009";
    QTest::newRow("plain2 run time 7:30") << "plain" << 1 << "Run Time"
                                          << "00:07:30";
    QTest::newRow("plain2 dose without blank") << "plain" << 1 << "Dose %"
                                               << "";
    QTest::newRow("plain2 uncalibrated dB") << "plain" << 1 << "1st Cal dB"
                                            << "0";
    QTest::newRow("plain2 uncalibrated time") << "plain" << 1 << "1st Cal Time"
                                              << "not calibrated";
    QTest::newRow("plain2 no reset") << "plain" << 1 << "Reset Time"
                                     << "";
    QTest::newRow("plain2 settings3") << "plain" << 1 << "Settings Ch2"
                                      << "80: 28800: 00: F: 3dB (Q=3) None";
    QTest::newRow("plain2 leq 2") << "plain" << 1 << "2Leq dBA"
                                  << "83.0";
    QTest::newRow("plain2 dose 2") << "plain" << 1 << "2Dose %"
                                   << "80.0";
    QTest::newRow("plain2 lex 2") << "plain" << 1 << "2Lepd dBA"
                                  << "83.3";
    QTest::newRow("plain2 dual from leq 2") << "plain" << 1 << "Dual"
                                            << "yes";
    QTest::newRow("plain2 dualth") << "plain" << 1 << "DualTH"
                                   << "yes";
    QTest::newRow("plain2 overload key") << "plain" << 1 << "Overload"
                                         << "YES";
    QTest::newRow("plain2 batt key") << "plain" << 1 << "Battery"
                                     << "LOW";
    QTest::newRow("plain2 peak ok") << "plain" << 1 << "Peak"
                                    << " OK";
    QTest::newRow("plain2 THCh1 worked example")
        << "plain" << 1 << "THCh1"
        << "TimeHistory LAeq duration60s Q=3 date:d13m03y2009 time:h09n30 102.1 ";
    // Without peak data the channel-2 string still lands under its own name.
    QTest::newRow("plain2 THPeak empty") << "plain" << 1 << "THPeak"
                                         << "";
    QTest::newRow("plain2 THBatt empty") << "plain" << 1 << "THBatt"
                                         << "";
    // channel 2 shows overloads but no peak flag: 4280 has bit 14 set, 128 * 65536 >> 2
    // = 2097152, * 59 / 50 = 2474639, 80 + (21.2388 - 5.9069) * 3.0103 = 126.15; 2000 is
    // magnitude 0 with the overload bit
    QTest::newRow("plain2 THCh2")
        << "plain" << 1 << "THCh2"
        << "TimeHistory Ch2 duration60s Q=3 date:d13m03y2009 time:h09n30 126.2 62.2O ";

    // q5
    QTest::newRow("q5 lavg") << "q5" << 0 << "Lavg dBA(Q=5)"
                             << "86.1";
    QTest::newRow("q5 twa") << "q5" << 0 << "TWA dBA(Q=5)"
                            << "80.2";
    QTest::newRow("q5 dose after twa") << "q5" << 0 << "Dose %(Q=5)"
                                       << "42.5";
    QTest::newRow("q5 est dose after twa") << "q5" << 0 << "Est.Dose %(Q=5)"
                                           << "66.0";
    QTest::newRow("q5 run time 8.25") << "q5" << 0 << "Run Time"
                                      << "----";
    QTest::newRow("q5 THCh1 Lavg Q=5")
        << "q5" << 0 << "THCh1"
        << "TimeHistory Lavg duration60s Q=5 date:d13m03y2009 time:h08n00 82.9 ";
    QTest::newRow("q5 dose marked (Q=5)") << "q5" << 1 << "Dose %(Q=5)"
                                          << "50.0";
    QTest::newRow("q5 est dose marked (Q=5)") << "q5" << 1 << "Est.Dose %(Q=5)"
                                              << "50.0";
    // an older badge (OEM) logs 3 dB levels whatever its settings
    QTest::newRow("q5 older badge THCh1")
        << "q5" << 1 << "THCh1"
        << "TimeHistory LAeq duration5s Q=3 date:d13m03y2009 time:h08n00 112.9 ";
    QTest::newRow("q5 no first cal") << "q5" << 1 << "1st Cal dB"
                                     << "";

    // data check
    QTest::newRow("dc number") << "datacheck" << 0 << "#"
                               << "1";
    QTest::newRow("dc serial without model") << "datacheck" << 0 << "noxTag"
                                             << "77777";
    QTest::newRow("dc dose before twa") << "datacheck" << 0 << "Dose %"
                                        << "95.3";
    QTest::newRow("dc dose after twa") << "datacheck" << 0 << "Dose %(Q=5)"
                                       << "91.2";
    QTest::newRow("dc est dose after twa") << "datacheck" << 0 << "Est.Dose %(Q=5)"
                                           << "91.2";
    QTest::newRow("dc leq") << "datacheck" << 0 << "Leq dBA"
                            << "84.8";
    QTest::newRow("dc lavg") << "datacheck" << 0 << "Lavg dBA(Q=5)"
                             << "84.6";
    QTest::newRow("dc lfmax") << "datacheck" << 0 << "115dBA LFMax"
                              << "1F";
    QTest::newRow("dc battery kept") << "datacheck" << 0 << "Battery"
                                     << "OK";
    QTest::newRow("dc data check") << "datacheck" << 0 << "Data Check"
                                   << "OK 0000";
    QTest::newRow("dc THCh1 slow Lavg")
        << "datacheck" << 0 << "THCh1"
        << "TimeHistory Lavg duration5s Q=3 date:d12m03y2009 time:h09n00 113.1 ";
    QTest::newRow("dc2 battery") << "datacheck" << 1 << "Battery"
                                 << "LOW";
    QTest::newRow("dc2 data check") << "datacheck" << 1 << "Data Check"
                                    << "OK 0001";
    QTest::newRow("dc2 no history") << "datacheck" << 1 << "Time Hist."
                                    << "no";

    // dual (the Reader adds 10 dB to the logged levels)
    QTest::newRow("dual lavg") << "dual" << 0 << "Lavg dBA(Q=5)"
                               << "84.8";
    QTest::newRow("dual dose after twa") << "dual" << 0 << "Dose %(Q=5)"
                                         << "95.3";
    QTest::newRow("dual no energy dose") << "dual" << 0 << "Dose %"
                                         << "";
    QTest::newRow("dual dose 3") << "dual" << 0 << "2Dose %(Q=5)"
                                 << "40.1";
    QTest::newRow("dual lavg 3") << "dual" << 0 << "2Lavg dBA(Q=5)"
                                 << "82.0";
    QTest::newRow("dual twa 3") << "dual" << 0 << "2TWA dBA(Q=5)"
                                << "80.0";
    QTest::newRow("dual est dose 3") << "dual" << 0 << "2Est.Dose %(Q=5)"
                                     << "40.1";
    QTest::newRow("dual from lavg 3") << "dual" << 0 << "Dual"
                                      << "yes";
    QTest::newRow("dual settings3") << "dual" << 0 << "Settings Ch2"
                                    << "90: 28800: 80: S: 5dB (Q=5) Slow";
    QTest::newRow("dual THCh1 +10") << "dual" << 0 << "THCh1"
                                    << "TimeHistory LAeq duration60s Q=3 date:d12m03y2009 time:h09n13 112.1 ";
    QTest::newRow("dual THPeak without +10")
        << "dual" << 0 << "THPeak"
        << "TimeHistory Peak duration60s Q=0 date:d12m03y2009 time:h09n13 132.2 ";
    QTest::newRow("dual THCh2 Q=5 +10")
        << "dual" << 0 << "THCh2"
        << "TimeHistory Ch2 duration60s Q=5 date:d12m03y2009 time:h09n13 92.9 ";
    QTest::newRow("thre empty settings become 5dB") << "dual threshold" << 0 << "Settings Ch2"
                                                    << "5dB";
    QTest::newRow("thre dualth") << "dual threshold" << 0 << "DualTH"
                                 << "yes";
    QTest::newRow("thre dual stays no") << "dual threshold" << 0 << "Dual"
                                        << "no";
    QTest::newRow("thre THCh2") << "dual threshold" << 0 << "THCh2"
                                << "TimeHistory Ch2 duration60s Q=5 date:d12m03y2009 time:h09n13 92.9O ";

    // a block cut off before its end line gives no row and lends nothing to the next
    QTest::newRow("cut off number") << "cut off" << 0 << "#"
                                    << "002";
    QTest::newRow("cut off serial") << "cut off" << 0 << "noxTag"
                                    << "G0002";
    QTest::newRow("cut off leq not inherited") << "cut off" << 0 << "Leq dBA"
                                               << "";
    QTest::newRow("cut off history not inherited") << "cut off" << 0 << "THCh1"
                                                   << "";
    QTest::newRow("cut off time hist") << "cut off" << 0 << "Time Hist."
                                       << "no";
    QTest::newRow("cut off exp") << "cut off" << 0 << "Exp. Pa2h"
                                 << "1.00";

    // headers without a model word or without a recalibration date
    QTest::newRow("one word: number unreadable") << "odd headers" << 0 << "#"
                                                 << "-?-";
    QTest::newRow("one word: serial unreadable") << "odd headers" << 0 << "noxTag"
                                                 << "-?-";
    QTest::newRow("one word: recal unreadable") << "odd headers" << 0 << "Recal Due"
                                                << "-?-";
    QTest::newRow("no recal: day 0") << "odd headers" << 1 << "Recal Due"
                                     << "30/12/1899";
    QTest::newRow("no recal: serial") << "odd headers" << 1 << "noxTag"
                                      << "H0008";
}

void TestPrintoutParser::columns()
{
    QFETCH(QString, printout);
    QFETCH(int, row);
    QFETCH(QString, column);
    QFETCH(QString, expected);
    const Download d = parseNamed(printout);
    QVERIFY(!d.formatError);
    QVERIFY2(row < d.rows.size(), qPrintable(QStringLiteral("%1 rows").arg(d.rows.size())));
    const qsizetype index = d.names.indexOf(column);
    QVERIFY2(index >= 0, qPrintable(column + QStringLiteral(" is not in the header")));
    const QStringList& items = d.rows.at(row);
    QCOMPARE(index < items.size() ? items.at(index) : QString(), expected);
}

void TestPrintoutParser::rowCounts_data()
{
    QTest::addColumn<QString>("printout");
    QTest::addColumn<int>("rows");
    QTest::newRow("plain") << "plain" << 2;
    QTest::newRow("q5") << "q5" << 2;
    // blocks end at "Data Check", not at "Battery"; the third never ends
    QTest::newRow("datacheck") << "datacheck" << 2;
    QTest::newRow("dual") << "dual" << 1;
    QTest::newRow("cut off") << "cut off" << 1;
}

void TestPrintoutParser::rowCounts()
{
    QFETCH(QString, printout);
    QFETCH(int, rows);
    const Download d = parseNamed(printout);
    QCOMPARE(d.rows.size(), rows);
}

void TestPrintoutParser::everyRowMatchesItsHeader()
{
    // A row with all four histories has exactly one item per header name; rows
    // with fewer histories end early but never have more items than names.
    for (auto it = printouts().cbegin(); it != printouts().cend(); ++it) {
        const Download d = parseNamed(it.key());
        for (const QStringList& row : d.rows) {
            QVERIFY2(row.size() <= d.names.size(), qPrintable(it.key()));
            QVERIFY2(row.size() >= d.names.indexOf(QStringLiteral("DualTH")) + 1, qPrintable(it.key()));
        }
    }
}

void TestPrintoutParser::noReaderLine_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("header");
    QTest::newRow("empty printout") << "" << kPlainHeader;
    QTest::newRow("block without reader")
        << "#001: X #1 Recal Due 01/09/10\nSettings: 85: 28800: 00: F: 3dB (Q=3) None\nBattery: OK"
        << kPlainHeader;
    QTest::newRow("q5 block without reader")
        << "#001: X #1 Recal Due 01/09/10\nSettings: 90: 28800: 80: S: 5dB (Q=5) Slow\nBattery: OK"
        << kQ5Header;
    QTest::newRow("both kinds without reader")
        << "Settings: (Q=3)\nSettings: (Q=4)\nBattery: OK" << kBothHeader;
    QTest::newRow("reader model in lower case is no reader") << "rm:50a ser. #1\nBattery: OK" << kPlainHeader;
}

void TestPrintoutParser::noReaderLine()
{
    QFETCH(QString, text);
    QFETCH(QString, header);
    const QStringList out = ParsePrintout(text.isEmpty() ? QStringList() : text.split(u'\n'), context());
    QCOMPARE(out, QStringList({QStringLiteral("noxTag measurements"), header}));
}

void TestPrintoutParser::userFormats()
{
    PrintoutContext c = context();
    c.shortDateFormat = QStringLiteral("MM-dd-yy");
    c.shortTimeFormat = QStringLiteral("h:mm AP");
    const Download d = parseNamed(QStringLiteral("plain"), c);
    QCOMPARE(d.rows.size(), 2);
    QCOMPARE(d.rows.at(0).at(d.names.indexOf(QStringLiteral("Meas.Time"))),
             QStringLiteral("9:00 AM 03-12-09"));
    QCOMPARE(d.rows.at(0).at(d.names.indexOf(QStringLiteral("Last Cal Time"))),
             QStringLiteral("5:20 PM 03-12-09"));
    QCOMPARE(d.rows.at(0).at(d.names.indexOf(QStringLiteral("Recal Due"))), QStringLiteral("09-01-10"));
    const QStringList out = ParsePrintout(linesOf(kPlain), c);
    // the download time is always hours and minutes
    QVERIFY(out.at(1).startsWith(QLatin1String("Downloaded on 03-14-09 at 10:05 using reader")));
}

void TestPrintoutParser::daylightSavingGap()
{
    // The Reader's clock knows no time zones: a start inside a local
    // daylight-saving gap is written and logged as printed.
    const QStringList lines = {QStringLiteral("RM:50A ser. #01234 Recal Due 15/06/10"),
                               QStringLiteral("#001: RM:50A #A1 Recal Due 01/09/10"),
                               QStringLiteral("Measurement: 01:30 29/03/09"),
                               QStringLiteral("Reset: 02:30 08/03/09"),
                               QStringLiteral("60 Time History: 81300A80"),
                               QStringLiteral("Battery: OK")};
    const QStringList out = ParsePrintout(lines, context());
    QCOMPARE(out.size(), 5);
    const QStringList names = out.at(3).split(u'\t');
    const QStringList row = out.at(4).split(u'\t');
    QCOMPARE(row.at(names.indexOf(QStringLiteral("Meas.Time"))), QStringLiteral("01:30 29/03/2009"));
    QCOMPARE(row.at(names.indexOf(QStringLiteral("Reset Time"))), QStringLiteral("02:30 08/03/2009"));
    QCOMPARE(row.at(names.indexOf(QStringLiteral("THCh1"))),
             QStringLiteral("TimeHistory LAeq duration60s Q=3 date:d29m03y2009 time:h01n30 102.1 "));
}

void TestPrintoutParser::unreadableReaderRecalDate_data()
{
    QTest::addColumn<QString>("readerLine");
    QTest::addColumn<QString>("downloaded");
    QTest::newRow("dashes")
        << "RM:50A ser. #01234 Recal Due --/--/--"
        << "Downloaded on 14/03/2009 at 10:05 using reader RM:50A ser. #01234  (Recal.Due "
           "30/12/1899)";
    QTest::newRow("no recal")
        << "4-R Reader"
        << "Downloaded on 14/03/2009 at 10:05 using reader 4-R Reader (Recal.Due 30/12/1899)";
}

void TestPrintoutParser::unreadableReaderRecalDate()
{
    QFETCH(QString, readerLine);
    QFETCH(QString, downloaded);
    const QStringList out = ParsePrintout({readerLine}, context());
    QCOMPARE(out, QStringList({QStringLiteral("noxTag measurements"), downloaded, QString(), kPlainHeader}));
}

QTEST_APPLESS_MAIN(TestPrintoutParser)
#include "tst_printoutparser.moc"
