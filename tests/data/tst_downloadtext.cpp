#include "data/DisplayFormat.h"
#include "data/DownloadText.h"
#include "data/MeasCalc.h"
#include "data/SonvexDataModule.h"

#include <QTest>

using namespace sonvex;
using namespace sonvex::DownloadText;

namespace {

const QLocale kGB(QLocale::English, QLocale::UnitedKingdom);
const QLocale kDE(QLocale::German, QLocale::Germany);

DownloadTextContext context(const QLocale& l = kGB)
{
    DownloadTextContext c;
    c.user = UserFormats::fromLocale(l);
    c.today = QDate(2026, 12, 11);
    return c;
}

QString tabs(const QStringList& items)
{
    return items.join(u'\t');
}

const QStringList kHead = {"#", "Notes", "Cursor1Pos", "Cursor2Pos", "noxTag", "Badge Firmware", "Run Time"};
const QStringList kP = {"Dose %", "Exp. Pa2h", "Leq dBA", "LAE dBA", "Est.Dose %", "Est.Exp Pa2h", "Lepd dBA"};
const QStringList kQ5 = {"Lavg dBA(Q=5)", "TWA dBA(Q=5)", "Dose %(Q=5)", "Est.Dose %(Q=5)"};
const QStringList kM = {"Reset Time", "Meas.Time", "Peak", "Overload", "Battery", "Time Hist.", "1st Cal dB",
                        "1st Cal Time", "Last Cal dB", "Last Cal Time", "Recal Due", "Settings", "Settings Ch2",
                        "115dBA LFMax", "Data Check"};
const QStringList kD = {"2Dose %", "2Exp. Pa2h", "2Leq dBA", "2LAE dBA", "2Est.Dose %", "2Est.Exp Pa2h", "2Lepd dBA"};
const QStringList kD5 = {"2Lavg dBA(Q=5)", "2TWA dBA(Q=5)", "2Dose %(Q=5)", "2Est.Dose %(Q=5)"};
const QStringList kT = {"Dual", "DualTH", "THCh1", "THPeak", "THBatt", "THCh2"};

const QStringList kHeadValues = {"1", "", "", "", "B1021", "4.02 1.10", "08:00:00"};
const QStringList kPValues = {"100.5", "3.2", "85.0", "129.6", "100.5", "3.2", "85.0"};
const QStringList kQ5Values = {"84.0", "82.5", "87.1", "87.1"};
const QStringList kMValues = {"07:00:00 07/12/2026", "07:30:00 07/12/2026", "132.4 dB C", "ok", "ok", "yes",
                              "0.1", "07:25 07/12/2026", "0.2", "15:31 07/12/2026", "01/06/2027",
                              "85: 28800: 00: F: 3dB (Q=3) None", "80: 28800: 00: F: 3dB (Q=3) None", "0",
                              ""};
const QStringList kDValues = {"50.2", "1.6", "82.0", "126.6", "50.2", "1.6", "82.0"};
const QStringList kD5Values = {"81.0", "79.5", "70.0", "70.0"};
const QStringList kTValues = {"no", "no"};

struct Loaded
{
    Tdm dm;
    DownloadTextResult res;
    QStringList lines;
    DataSet* t() { return dm.CDSMeas(); }
    QVariant v(const char* f, int row = 0) { return t()->rowValue(row, QLatin1String(f)); }
};

void load(Loaded& l, const QStringList& lines, const DownloadTextContext& ctx = context())
{
    l.dm.setDisplayLocale(ctx.user.locale);
    l.dm.createMeasTable();
    l.lines = lines;
    l.res = LoadDownloadText(l.lines, *l.dm.CDSMeas(), ctx);
}

QStringList text(const QStringList& header, const QList<QStringList>& rows)
{
    QStringList out = {"noxTag measurements", "", tabs(header)};
    for (const QStringList& r : rows)
        out << tabs(r);
    return out;
}

} // namespace

class TestDownloadText : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { DisplayFormat::setLocale(kGB); }
    void smallestText();
    void tenthsFlag_data();
    void tenthsFlag();
    void overRangeDose();
    void peakItem_data();
    void peakItem();
    void maximumLevelItem_data();
    void maximumLevelItem();
    void runTimeZero();
    void parseDate_data();
    void parseDate();
    void dateTimeColumns_data();
    void dateTimeColumns();
    void surplusItemsAreTimeHistories();
    void namesAreCaseSensitive();
    void noHeaderAndFirstLineHeader();
    void formatLinesAndReaderLines();
    void theFourLayouts_data();
    void theFourLayouts();
    void olderColumnSets();
    void recordDefaultsAndFlags();
};

void TestDownloadText::smallestText()
{
    Loaded l;
    load(l, {"title", tabs({"#", "Notes", "noxTag", "Leq dBA"}), tabs({"3", "site A", "B1234", "853"})});
    QVERIFY(l.res.headerFound);
    QCOMPARE(l.res.headerIndex, 1);
    QCOMPARE(l.res.records, 1);
    QCOMPARE(l.v("read_order").toInt(), 3);
    QCOMPARE(l.v("notes").toString(), QStringLiteral("site A"));
    QCOMPARE(l.v("badge").toString(), QStringLiteral("B1234"));
    QCOMPARE(l.v("leq").toDouble(), 85.3);
    QCOMPARE(l.v("leqString").toString(), QStringLiteral("85.3"));
}

void TestDownloadText::tenthsFlag_data()
{
    QTest::addColumn<QStringList>("values"); // Leq, LAE, Lepd, peak, 2Leq
    QTest::addColumn<QList<double>>("stored");
    QTest::newRow("as given") << QStringList{"85.3", "120.1", "84.0", "135.0 dB C", "85.3"}
                              << QList<double>{85.3, 120.1, 84.0, 135.0, 85.3};
    QTest::newRow("tenths") << QStringList{"853", "1201", "840", "1350 dB C", "853"}
                            << QList<double>{85.3, 120.1, 84.0, 135.0, 853.0};
    QTest::newRow("tenths only from the Leq on") << QStringList{"85.3", "1201", "840", "1350 dB C", "85"}
                                                 << QList<double>{85.3, 1201.0, 840.0, 1350.0, 85.0};
}

void TestDownloadText::tenthsFlag()
{
    QFETCH(QStringList, values);
    QFETCH(QList<double>, stored);
    Loaded l;
    load(l, {"t", tabs({"#", "Leq dBA", "LAE dBA", "Lepd dBA", "Peak", "2Leq dBA"}),
             tabs(QStringList{"1"} + values), tabs({"2", "85.0", "120.0", "84.0", "135.0 dB C", "1"})});
    QCOMPARE(l.v("leq").toDouble(), stored[0]);
    QCOMPARE(l.v("sel").toDouble(), stored[1]);
    QCOMPARE(l.v("lepd").toDouble(), stored[2]);
    QCOMPARE(l.v("peak_level").toDouble(), stored[3]);
    QCOMPARE(l.v("leq2").toDouble(), stored[4]); // channel 2 is never divided
    // The flag starts clear on every line.
    QCOMPARE(l.v("sel", 1).toDouble(), 120.0);
}

void TestDownloadText::overRangeDose()
{
    Loaded l;
    load(l, {"t", tabs({"#", "Run Time", "Dose %", "Est.Dose %", "Exp. Pa2h", "Leq dBA", "Settings"}),
             tabs({"1", "04:00:00", "++++++", "++++++", "++++++", "88.0", "85: 28800: 00: F: 3dB (Q=3) None"}),
             tabs({"2", "04:00:00", "++++++", "150", "1.5", "", "85: 28800: 00: F: 3dB (Q=3) None"})});
    QCOMPARE(l.v("dose").toDouble(), MeasCalc::kOverRange);
    QVERIFY(!l.v("exp").isValid()); // an over-range exposure is left empty
    QCOMPARE(l.v("doseString").toString(), QStringLiteral("100")); // from the LAeq
    QCOMPARE(l.v("est_doseString").toString(), QStringLiteral("200"));
    QCOMPARE(l.v("doseString", 1).toString(), QStringLiteral("+++"));
    QCOMPARE(l.v("exp", 1).toDouble(), 1.5);
    QVERIFY(!l.v("leq", 1).isValid());
}

void TestDownloadText::peakItem_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("peak");
    QTest::addColumn<double>("level");
    QTest::addColumn<QString>("weighting");
    QTest::newRow("OK") << "OK" << false << 140.0 << "dB";
    QTest::newRow("o.k.") << "o.k." << false << 140.0 << "dB";
    QTest::newRow("C") << "137.5 dB C" << true << 137.5 << "dB(C)";
    QTest::newRow("L") << "140.2 dB L" << true << 140.2 << "dB(L)";
    QTest::newRow("flat") << "139.0 dB F" << true << 139.0 << "dB(L)";
    QTest::newRow("unreadable number") << "x dB C" << true << 140.0 << "dB(C)";
    QTest::newRow("no dB") << "exceeded" << true << 140.0 << "dB";
}

void TestDownloadText::peakItem()
{
    QFETCH(QString, value);
    QFETCH(bool, peak);
    QFETCH(double, level);
    QFETCH(QString, weighting);
    Loaded l;
    load(l, {"t", tabs({"#", "Peak"}), tabs({"1", value})});
    QCOMPARE(l.v("peak").toBool(), peak);
    QCOMPARE(l.v("peak_level").toDouble(), level);
    QCOMPARE(l.v("peakWtg").toString(), weighting);
}

void TestDownloadText::maximumLevelItem_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("mk4");
    QTest::addColumn<QVariant>("time");
    QTest::addColumn<bool>("exceeded");
    QTest::newRow("1F") << "1F" << true << QVariant(3.1) << true;
    QTest::newRow("0") << "0" << true << QVariant(0.0) << false;
    QTest::newRow("yes") << "yes" << true << QVariant() << true;
    QTest::newRow("no") << "No" << true << QVariant() << false;
    QTest::newRow("empty") << "" << false << QVariant(0.0) << false;
    QTest::newRow("not hexadecimal") << "zz" << true << QVariant(0.0) << false;
}

void TestDownloadText::maximumLevelItem()
{
    QFETCH(QString, value);
    QFETCH(bool, mk4);
    QFETCH(QVariant, time);
    QFETCH(bool, exceeded);
    Loaded l;
    load(l, {"t", tabs({"#", "115dBA LFMax"}), tabs({"1", value})});
    QCOMPARE(l.v("hasMK4Data").toBool(), mk4);
    QCOMPARE(l.v("max115Time").isValid(), time.isValid());
    if (time.isValid())
        QCOMPARE(l.v("max115Time").toDouble(), time.toDouble());
    QCOMPARE(l.v("max115Exceeded").toBool(), exceeded);
}

void TestDownloadText::runTimeZero()
{
    Loaded l;
    load(l, {"t", tabs({"#", "Run Time", "Meas.Time", "Peak"}),
             tabs({"1", "00:00:00", "07:30:00 07/12/2026", "ok"}),
             tabs({"2", "00:00:00", "07:30:00 07/12/2026", "137.0 dB C"})});
    QVERIFY(!l.v("MeasDate").isValid());
    QVERIFY(!l.v("MeasTimeTime").isValid());
    QVERIFY(!l.v("MeasTime").isValid());
    QCOMPARE(l.v("peak_level").toDouble(), 0.0);
    QCOMPARE(l.v("peakString").toString(), QStringLiteral("---"));
    QCOMPARE(l.v("peak_level", 1).toDouble(), 137.0); // a later peak item replaces it
}

void TestDownloadText::parseDate_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QDate>("expected");
    const QDate zero(1899, 12, 30);
    QTest::newRow("number") << "12/03/2008" << "dd/MM/yyyy" << QChar('/') << "en_GB" << QDate(2008, 3, 12);
    QTest::newRow("month-first order") << "03/12/2008" << "M/d/yyyy" << QChar('/') << "en_GB" << QDate(2008, 3, 12);
    QTest::newRow("year-first order") << "2008/03/12" << "yyyy/MM/dd" << QChar('/') << "en_GB" << QDate(2008, 3, 12);
    QTest::newRow("short name") << "12-Mar-2008" << "dd-MMM-yyyy" << QChar('-') << "en_GB" << QDate(2008, 3, 12);
    QTest::newRow("long name") << "12-march-2008" << "dd-MMM-yyyy" << QChar('-') << "en_GB" << QDate(2008, 3, 12);
    QTest::newRow("unknown name is January") << "12-Foo-2008" << "dd-MMM-yyyy" << QChar('-') << "en_GB"
                                             << QDate(2008, 1, 12);
    QTest::newRow("other separator") << "12/Mar/2008" << "dd-MMM-yyyy" << QChar('-') << "en_GB" << zero;
    QTest::newRow("name last, no year") << "12-Mar" << "dd-MMM" << QChar('-') << "en_GB" << QDate(2026, 3, 12);
    QTest::newRow("two-digit year") << "12/03/08" << "dd/MM/yy" << QChar('/') << "en_GB" << QDate(2008, 3, 12);
    QTest::newRow("two-digit year, last century") << "12/03/80" << "dd/MM/yy" << QChar('/') << "en_GB"
                                                  << QDate(1980, 3, 12);
    QTest::newRow("German short name") << "12.Mär.2008" << "dd.MM.yyyy" << QChar('.') << "de_DE"
                                       << QDate(2008, 3, 12);
    QTest::newRow("German long name") << "12.Dezember.2008" << "dd.MM.yyyy" << QChar('.') << "de_DE"
                                      << QDate(2008, 12, 12);
    QTest::newRow("German: English name unknown") << "12.March.2008" << "dd.MM.yyyy" << QChar('.') << "de_DE"
                                                  << QDate(2008, 1, 12);
    QTest::newRow("not a date") << "31/02/2008" << "dd/MM/yyyy" << QChar('/') << "en_GB" << zero;
    QTest::newRow("empty") << "" << "dd/MM/yyyy" << QChar('/') << "en_GB" << zero;
}

void TestDownloadText::parseDate()
{
    QFETCH(QString, text);
    QFETCH(QString, format);
    QFETCH(QChar, separator);
    QFETCH(QString, locale);
    QFETCH(QDate, expected);
    UserFormats f = UserFormats::fromLocale(QLocale(locale));
    f.dateSeparator = separator;
    QCOMPARE(ParseDate(text, format, f, QDate(2026, 12, 11)), expected);
}

void TestDownloadText::dateTimeColumns_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("expected");
    QTest::newRow("reset") << "Reset Time" << "07:00:00 07/12/2026" << "ResetTime" << "07/12/2026 07:00:00";
    QTest::newRow("English afternoon") << "Reset Time" << "7:05 PM 07/12/2026" << "ResetTime"
                                       << "07/12/2026 19:05:00";
    QTest::newRow("Korean afternoon (UTF-8)") << "Reset Time" << QString::fromUtf8("오후 7:05:00 07/12/2026")
                                              << "ResetTime" << "07/12/2026 19:05:00";
    QTest::newRow("Korean morning (code page 949)")
        << "Reset Time" << QString::fromLatin1("\xbf\xc0\xc0\xfc 12:05:00 07/12/2026") << "ResetTime"
        << "07/12/2026 00:05:00";
    QTest::newRow("midnight shows the date only") << "Reset Time" << "00:00:00 07/12/2026" << "ResetTime"
                                                  << "07/12/2026";
    QTest::newRow("cal dash rule") << "1st Cal Time" << "07:25 07-12-2026" << "Cal1Time" << "07/12/2026 07:25:00";
    QTest::newRow("reset has no dash rule") << "Reset Time" << "07:25 07-12-2026" << "ResetTime"
                                            << "30/12/1899 07:25:00";
    QTest::newRow("cal dash rule with user separator") << "Last Cal Time" << "15:31:10 07-12-2026" << "Cal2Time"
                                                       << "07/12/2026 15:31:10";
    QTest::newRow("unreadable time") << "Last Cal Time" << "later 07/12/2026" << "Cal2Time" << "";
    QTest::newRow("start") << "Meas.Time" << "07:30:15 07/12/2026" << "MeasTime" << "07/12/2026 07:30:15";
    QTest::newRow("start unreadable") << "Meas.Time" << "soon 07/12/2026" << "MeasTime" << "";
    QTest::newRow("recal due") << "Recal Due" << "01/06/2027" << "BadgeRecal" << "01/06/2027";
    QTest::newRow("recal due unreadable") << "Recal Due" << "--" << "BadgeRecal" << "30/12/1899";
}

void TestDownloadText::dateTimeColumns()
{
    QFETCH(QString, column);
    QFETCH(QString, value);
    QFETCH(QString, field);
    QFETCH(QString, expected);
    Loaded l;
    load(l, {"t", tabs({"#", "Run Time", column}), tabs({"1", "08:00:00", value})});
    QCOMPARE(l.t()->rowValue(0, field).toString(), expected);
    if (field == QLatin1String("MeasTime") && !expected.isEmpty()) {
        QCOMPARE(l.v("MeasDate").toDate(), QDate(2026, 12, 7));
        QCOMPARE(l.v("MeasTimeTime").toTime(), QTime(7, 30, 15));
    }
    if (field == QLatin1String("MeasTime") && expected.isEmpty())
        QCOMPARE(l.v("MeasTimeTime").toTime(), QTime(0, 0)); // midnight when unreadable
}

void TestDownloadText::surplusItemsAreTimeHistories()
{
    Loaded l;
    load(l, {"t", tabs({"#", "noxTag"}), tabs({"1", "B1", "TimeHistory ch1", "peak", "ch2", "fourth"}),
             tabs({"2", "B2", "only one"})});
    QCOMPARE(l.v("TimeHistoryCh1").toString(), QStringLiteral("TimeHistory ch1"));
    QCOMPARE(l.v("TimeHistoryPeak").toString(), QStringLiteral("peak"));
    QCOMPARE(l.v("TimeHistoryCh2").toString(), QStringLiteral("ch2"));
    QCOMPARE(l.v("TimeHistoryCh1", 1).toString(), QStringLiteral("only one"));
    QVERIFY(!l.v("TimeHistoryPeak", 1).isValid());
}

void TestDownloadText::namesAreCaseSensitive()
{
    Loaded l;
    load(l, {"t", tabs({"#", "leq dBA", "Est.dose %(Q=5)", "NOXTAG", "Leq dBA"}), tabs({"1", "90", "50", "B", "80"})});
    QCOMPARE(l.v("leq").toDouble(), 80.0);
    QVERIFY(!l.v("est_dose5").isValid());
    QVERIFY(!l.v("badge").isValid());
}

void TestDownloadText::noHeaderAndFirstLineHeader()
{
    Loaded none;
    load(none, {"noxTag measurements", "1\tB1", "# 1\tB2"});
    QVERIFY(!none.res.headerFound);
    QCOMPARE(none.t()->recordCount(), 0);
    QVERIFY(none.t()->isActive());

    Loaded first;
    load(first, {tabs({"#", "noxTag"}), tabs({"7", "B7"})});
    QVERIFY(first.res.headerFound);
    QCOMPARE(first.res.headerIndex, 0);
    QCOMPARE(first.v("badge").toString(), QStringLiteral("B7"));

    Loaded headerOnly;
    load(headerOnly, {"t", tabs({"#", "noxTag"}), "", ""});
    QVERIFY(headerOnly.res.headerFound);
    QCOMPARE(headerOnly.res.records, 0);
}

void TestDownloadText::formatLinesAndReaderLines()
{
    // The text's own formats: month-first dates and afternoon designators.
    Loaded l;
    const QStringList lines = {
        "noxTag measurements",
        "Downloaded on 12/07/2026 at 09:15 using reader RM:50A ser. #01234 (Recal.Due 06/01/2027)",
        "",
        tabs({"#", "Notes", "Reset Time"}),
        tabs({"1", "check the date format first", "7:05 PM 12/07/2026"}),
        "file format error",
        "Date format: m/d/yyyy",
        "Time format: h:nn AMPM",
        "Date format: dd/mm/yyyy",
    };
    load(l, lines);
    QCOMPARE(l.res.dateFormat, QStringLiteral("M/d/yyyy")); // the topmost line wins
    QCOMPARE(l.res.timeFormat, QStringLiteral("h:mm AP"));
    QCOMPARE(l.lines.size(), 5); // format and error lines are gone, the data line stays
    QCOMPARE(l.lines.at(4).section(u'\t', 1, 1), QStringLiteral("check the date format first"));
    QCOMPARE(l.res.readerId, QStringLiteral("01234 "));
    QCOMPARE(l.res.readerRecal, QStringLiteral("06/01/2027"));
    QCOMPARE(l.v("reader").toString(), QStringLiteral("01234 "));
    QCOMPARE(l.v("ReaderRecal").toString(), QStringLiteral("06/01/2027"));
    // Read month first, shown in the user's own format.
    QCOMPARE(l.v("ResetTime").toString(), QStringLiteral("07/12/2026 19:05:00"));

    // Without a reader line the recalibration date is day 0.
    Loaded bare;
    load(bare, {"t", tabs({"#", "noxTag"}), tabs({"1", "B"})});
    QCOMPARE(bare.v("ReaderRecal").toString(), QStringLiteral("30/12/1899"));
    QCOMPARE(ReaderIdFromLine("RM:52A 0412 Recal Due 01/01/27"), QStringLiteral("0412 "));
    QCOMPARE(RecalDueFromLine("nothing here", "30/12/1899"), QStringLiteral("30/12/1899"));
}

void TestDownloadText::theFourLayouts_data()
{
    QTest::addColumn<QStringList>("header");
    QTest::addColumn<QStringList>("row");
    QTest::addColumn<bool>("hasLeq");
    QTest::addColumn<bool>("hasLavg");
    QTest::addColumn<bool>("is52A");
    QTest::newRow("Plain") << kHead + kP + kM + kD + kT << kHeadValues + kPValues + kMValues + kDValues + kTValues
                           << true << false << false;
    QTest::newRow("Q=5") << kHead + kQ5 + kM + kD + kT << kHeadValues + kQ5Values + kMValues + kDValues + kTValues
                         << false << true << false;
    QTest::newRow("Both") << kHead + kP + kQ5 + kM + kD + kT
                          << kHeadValues + kPValues + kQ5Values + kMValues + kDValues + kTValues << true << true
                          << false;
    QTest::newRow("Dual") << kHead + kQ5 + kM + kD5 + kT
                          << kHeadValues + kQ5Values + kMValues + kD5Values + QStringList{"yes", "yes"} << false
                          << true << true;
}

void TestDownloadText::theFourLayouts()
{
    QFETCH(QStringList, header);
    QFETCH(QStringList, row);
    QFETCH(bool, hasLeq);
    QFETCH(bool, hasLavg);
    QFETCH(bool, is52A);
    Loaded l;
    // Rows end with the four time histories right after "DualTH".
    const QString line = tabs(row) + "\tTimeHistory ch1\tTimeHistory peak\tTimeHistory batt";
    load(l, text(header, {row}).replaceInStrings(tabs(row), line));
    QCOMPARE(l.res.records, 1);
    QCOMPARE(l.v("badge").toString(), QStringLiteral("B1021"));
    QCOMPARE(l.v("badgeFirmware").toString(), QStringLiteral("4.02 1.10"));
    QCOMPARE(l.v("leq").isValid(), hasLeq);
    QCOMPARE(l.v("lavg").isValid(), hasLavg);
    if (hasLeq) {
        QCOMPARE(l.v("leq").toDouble(), 85.0);
        QCOMPARE(l.v("sel").toDouble(), 129.6);
        QCOMPARE(l.v("dose").toDouble(), 100.5);
    }
    if (hasLavg) {
        QCOMPARE(l.v("lavg").toDouble(), 84.0);
        QCOMPARE(l.v("dose5").toDouble(), 87.1);
    }
    QCOMPARE(l.v("peak_level").toDouble(), 132.4);
    QCOMPARE(l.v("peakWtg").toString(), QStringLiteral("dB(C)"));
    QCOMPARE(l.v("hasTimeHistory").toBool(), true);
    QCOMPARE(l.v("overload").toBool(), false);
    QCOMPARE(l.v("Cal2Time").toString(), QStringLiteral("07/12/2026 15:31:00"));
    QCOMPARE(l.v("settings2").toString(), QStringLiteral("80: 28800: 00: F: 3dB (Q=3) None"));
    QCOMPARE(l.v("is52AData").toBool(), is52A);
    QCOMPARE(l.v("hasDualData").toBool(), is52A);
    if (is52A)
        QCOMPARE(l.v("lavg2").toDouble(), 81.0);
    else
        QCOMPARE(l.v("leq2").toDouble(), 82.0);
    QCOMPARE(l.v("TimeHistoryCh1").toString(), QStringLiteral("TimeHistory ch1"));
    QCOMPARE(l.v("TimeHistoryPeak").toString(), QStringLiteral("TimeHistory peak"));
    QVERIFY(!l.v("TimeHistoryCh2").isValid()); // THBatt is not kept in the record
}

void TestDownloadText::olderColumnSets()
{
    const QStringList q5 = {"#", "Notes", "Cursor1Pos", "Cursor2Pos", "noxTag", "Run Time", "Lavg dBA(Q=5)",
                            "TWA dBA(Q=5)", "Dose %(Q=5)", "Est.dose %(Q=5)", "Reset Time", "Meas.Time", "Peak",
                            "Overload", "Battery", "Time Hist.", "1st Cal dB", "1st Cal Time", "Last Cal dB",
                            "Last Cal Time", "Recal Due", "Settings", "", ""};
    const QStringList leq = {"#", "Notes", "Cursor1Pos", "Cursor2Pos", "noxTag", "Run Time", "Dose %",
                             "Exp. Pa2h", "Leq dBA", "LAE dBA", "Est.Dose %", "Est.Exp Pa2h", "Lepd dBA",
                             "Reset Time", "Meas.Time", "Peak", "Overload", "Battery", "Time Hist.",
                             "1st Cal dB", "1st Cal Time", "Last Cal dB", "Last Cal Time", "Recal Due", "Settings",
                             "", ""};
    const QStringList tail = {"07:00:00 07/12/2026", "07:30:00 07/12/2026", "ok", "OVERLOAD", "ok", "No", "0.1",
                              "07:25 07/12/2026", "0.2", "15:31 07/12/2026", "01/06/2027",
                              "90: 28800: 80: 5: Slow", "x", "y", "th1", "thpeak", "th2"};
    Loaded a;
    load(a, text(q5, {QStringList{"4", "note", "", "", "B4", "08:00:00", "91.0", "90.0", "100", "100"} + tail}));
    QCOMPARE(a.v("lavg").toDouble(), 91.0);
    QCOMPARE(a.v("dose5").toDouble(), 100.0);
    QVERIFY(!a.v("est_dose5").isValid()); // "Est.dose" differs in case
    QCOMPARE(a.v("overload").toBool(), true);
    QCOMPARE(a.v("hasTimeHistory").toBool(), false);
    QCOMPARE(a.v("settingsExchangeRate").toString(), QStringLiteral("5"));
    QCOMPARE(a.v("TimeHistoryCh1").toString(), QStringLiteral("th1"));
    QCOMPARE(a.v("TimeHistoryCh2").toString(), QStringLiteral("th2"));

    Loaded b;
    load(b, text(leq, {QStringList{"5", "", "", "", "B5", "08:00:00", "50", "1.6", "82.0", "126.6", "50", "1.6",
                                   "82.0"} +
                           tail}));
    QCOMPARE(b.v("leq").toDouble(), 82.0);
    QCOMPARE(b.v("est_exp").toDouble(), 1.6);
    QCOMPARE(b.v("TimeHistoryPeak").toString(), QStringLiteral("thpeak"));
    QCOMPARE(b.v("BadgeRecal").toString(), QStringLiteral("01/06/2027"));
}

void TestDownloadText::recordDefaultsAndFlags()
{
    Loaded l;
    load(l, {"t", tabs({"#", "Overload", "Battery", "Time Hist.", "Dual", "2Lavg dBA(Q=5)"}),
             tabs({"x", "", "Low", "yes", "Yes", ""}), tabs({"2", "O.K.", "ok", "n/a", "yes", "80"})});
    QCOMPARE(l.v("read_order").toInt(), 0); // not a number
    QCOMPARE(l.v("overload").toBool(), true); // empty gives true
    QCOMPARE(l.v("lowbatt").toBool(), true);
    QCOMPARE(l.v("hasTimeHistory").toBool(), true);
    QCOMPARE(l.v("hasDualData").toBool(), false); // only exactly "yes"
    QCOMPARE(l.v("is52AData").toBool(), true);  // the column alone marks it
    QCOMPARE(l.v("peak_level").toDouble(), 140.0);
    QCOMPARE(l.v("peakWtg").toString(), QStringLiteral("dB"));
    QCOMPARE(l.v("overload", 1).toBool(), false);
    QCOMPARE(l.v("hasTimeHistory", 1).toBool(), false);
    QCOMPARE(l.v("hasDualData", 1).toBool(), true);
    QCOMPARE(l.v("lavg2", 1).toDouble(), 80.0);
}

QTEST_GUILESS_MAIN(TestDownloadText)
#include "tst_downloadtext.moc"
