#include "data/DataPacket.h"
#include "data/DisplayFormat.h"
#include "data/MeasCalc.h"
#include "data/SettingsStore.h"
#include "data/SonvexDataModule.h"

#include <QFile>
#include <QTemporaryDir>

#include <QTest>

using namespace sonvex;

namespace {

const QString kSettings3 = QStringLiteral("85: 28800: 00: F: 3dB (Q=3) None");
const QString kSettings5 = QStringLiteral("85: 28800: 00: F: 5dB (Q=5) None");

// Appends one measurement with the given stored values and returns its calculated texts.
QVariantMap post(Tdm& dm, const QVariantMap& values)
{
    DataSet* t = dm.CDSMeas();
    if (!t->isActive())
        dm.createMeasTable();
    t->append();
    t->setValue("read_order", t->recordCount() + 1);
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        t->setValue(it.key(), it.value());
    t->post();
    QVariantMap out;
    for (const FieldDef& f : t->fields())
        if (f.calculated)
            out.insert(f.name, t->value(f.name));
    return out;
}

} // namespace

class TestMeasurements : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { DisplayFormat::setLocale(QLocale::c()); }
    void layoutIsTheStoredOrder();
    void estimatedDose_data();
    void estimatedDose();
    void runSeconds_data();
    void runSeconds();
    void settingsTexts_data();
    void settingsTexts();
    void doseTexts_data();
    void doseTexts();
    void levelTexts();
    void userCriterionLevels();
    void userDecimalSeparatorForDisplayOnly();
    void tableSettingsSurviveARestart();
    void tableSettingsThroughTheStore();
    void workingTableAtShutDown();
    void yesNoTexts();
    void roundingHalfAwayFromZero_data();
    void roundingHalfAwayFromZero();
};

void TestMeasurements::layoutIsTheStoredOrder()
{
    Tdm dm;
    QStringList stored;
    for (const FieldDef& f : dm.CDSMeas()->fields())
        if (!f.calculated)
            stored << f.name;
    const QString expected = QStringLiteral(
        "read_order badge exp est_exp peak overload lowbatt ResetTime RunTime MeasTime ReaderRecal BadgeRecal "
        "Cal1Time Cal2Time reader cal1_offset cal2_offset hasTimeHistory settings MeasDate MeasTimeTime "
        "max115Exceeded dataCheck hasMK4Data notes dose leq est_dose sel lepd lavg twa est_dose5 dose5 peak_level "
        "ValidationFailureDetails cursor1Time cursor2Time betweenCursorsVal outsideCursorsVal cursor1TimeString "
        "cursor2TimeString betweenCursorsString outsideCursorsString cursor1ValString cursor2ValString "
        "betweenCursorsDurationString outsideCursorsDurationString leq2 sel2 lepd2 dose2 est_dose2 exp2 est_Exp2 "
        "hasDualData badgeFirmware TimeHistoryCh1 TimeHistoryPeak TimeHistoryCh2 exposureDuration peak135 peak137 "
        "peak140 settings2 is52AData lavg2 twa2 dose52 est_dose52 max115Time peakWtg ActivityXML");
    QCOMPARE(stored.join(u' '), expected);

    // The saved packet declares exactly the stored fields, typed as the readers expect.
    dm.createMeasTable();
    const QByteArray packet = DataPacket::save(*dm.CDSMeas());
    QVERIFY(packet.contains("<FIELD attrname=\"read_order\" fieldtype=\"i4\"/><FIELD attrname=\"badge\" "
                            "fieldtype=\"string\" WIDTH=\"50\"/><FIELD attrname=\"exp\" fieldtype=\"r8\"/>"));
    QVERIFY(packet.contains("<FIELD attrname=\"MeasDate\" fieldtype=\"date\"/><FIELD attrname=\"MeasTimeTime\" "
                            "fieldtype=\"time\"/>"));
    QVERIFY(packet.contains("<FIELD attrname=\"ActivityXML\" fieldtype=\"bin.hex\" SUBTYPE=\"Text\"/></FIELDS>"));
    QVERIFY(!packet.contains("doseString"));

    QStringList slm;
    for (const FieldDef& f : dm.CDSSLMMeas()->fields())
        slm << f.name;
    QCOMPARE(slm.size(), 59);
    QCOMPARE(slm.first(), QStringLiteral("index"));
    QCOMPARE(slm.last(), QStringLiteral("cursor1Time"));
    QCOMPARE(dm.CDSSLMMeas()->field(0).type, FieldType::AutoInc);
}

void TestMeasurements::estimatedDose_data()
{
    QTest::addColumn<QString>("rate");
    QTest::addColumn<int>("criterion");
    QTest::addColumn<double>("level");
    QTest::addColumn<double>("expected");
    QTest::newRow("3 dB, +3") << "3" << 85 << 88.0 << 199.526231;
    QTest::newRow("5 dB, +3") << "5" << 85 << 88.0 << 151.571656;
    QTest::newRow("4 dB, +4") << "4" << 85 << 89.0 << 200.0;
    QTest::newRow("unknown rate uses 10") << "x" << 90 << 80.0 << 10.0;
    QTest::newRow("at criterion") << "5" << 90 << 90.0 << 100.0;
    QTest::newRow("overflow gives 0") << "3" << 0 << 1e308 << 0.0;
}

void TestMeasurements::estimatedDose()
{
    QFETCH(QString, rate);
    QFETCH(int, criterion);
    QFETCH(double, level);
    QFETCH(double, expected);
    QVERIFY(qAbs(Tdm::EstimatedDose(rate, criterion, level) - expected) < 1e-3);
}

void TestMeasurements::runSeconds_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("seconds");
    QTest::newRow("two hour digits") << "04:00:00" << qint64(14400);
    QTest::newRow("three hour digits") << "123:04:05" << qint64(443045);
    QTest::newRow("part not a number") << "0x:30:15" << qint64(1815);
    QTest::newRow("empty") << "" << qint64(0);
    QTest::newRow("garbage") << "ab" << qint64(0);
}

void TestMeasurements::runSeconds()
{
    QFETCH(QString, text);
    QFETCH(qint64, seconds);
    QCOMPARE(MeasCalc::runTimeSeconds(text), seconds);
}

void TestMeasurements::settingsTexts_data()
{
    QTest::addColumn<int>("channel");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected"); // level, hours, threshold, rate, weighting
    QTest::newRow("current form") << 1 << kSettings3 << QStringList{"85", "8", "None", "3", "None"};
    QTest::newRow("Q=5, threshold 80") << 1 << "90: 28800: 80: F: 5dB (Q=5) Slow"
                                       << QStringList{"90", "8", "80", "5", "Slow"};
    QTest::newRow("older 3: form") << 1 << "85: 28800: 80: 3: Slow" << QStringList{"85", "8", "80", "3", "Slow"};
    QTest::newRow("older 5: form") << 1 << "90: 14400: 00: 5: Fast" << QStringList{"90", "4", "None", "5", "Fast"};
    QTest::newRow("OSHA rule") << 1 << "90: 28800: 90: S: OSHA (Slow)" << QStringList{"90", "8", "90", "5", "Slow"};
    QTest::newRow("ISO rule") << 1 << "85: 28800: 00: F: ISO none" << QStringList{"85", "8", "None", "3", "None"};
    QTest::newRow("criterion time not a number") << 1 << "85: 8h: 00: F: 3dB (Q=3) None"
                                                 << QStringList{"85", "0", "None", "3", "None"};
    QTest::newRow("empty") << 1 << "" << QStringList{"", "0", "", "", ""};
    QTest::newRow("channel 2 default") << 2 << "80: 28800: 00: F: 3dB (Q=3) None"
                                       << QStringList{"80", "8", "None", "3", "None"};
    QTest::newRow("channel 2 keeps parentheses") << 2 << "80: 28800: 00: F: 3dB (Q=3) (Slow)"
                                                 << QStringList{"80", "8", "None", "3", "(Slow)"};
    QTest::newRow("channel 2 has no older form") << 2 << "85: 28800: 80: 3: Slow"
                                                 << QStringList{"85", "8", "80", "S", "Slow"};
}

void TestMeasurements::settingsTexts()
{
    QFETCH(int, channel);
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    const QString none = QStringLiteral("None");
    const MeasCalc::ChannelSettings s =
        channel == 1 ? MeasCalc::parseSettings(text, none) : MeasCalc::parseSettings2(text, none);
    QCOMPARE((QStringList{s.critLevel, s.critTime, s.threshold, s.exchangeRate, s.timeWeighting}), expected);

    // The record shows the same texts in its calculated fields.
    Tdm dm;
    const QString suffix = channel == 1 ? QString() : QStringLiteral("2");
    const QVariantMap calc = post(dm, {{channel == 1 ? "settings" : "settings2", text}});
    QCOMPARE(calc.value("settingsExchangeRate" + suffix).toString(), expected.at(3));
    QCOMPARE(calc.value("settingsTimeWeighting" + suffix).toString(), expected.at(4));
}

void TestMeasurements::doseTexts_data()
{
    QTest::addColumn<QVariantMap>("values");
    QTest::addColumn<QString>("doseString");
    QTest::addColumn<QString>("estDoseString");
    const double over = MeasCalc::kOverRange;
    QTest::newRow("instrument dose") << QVariantMap{{"dose", 75.5}, {"est_dose", 151.0}} << "75.5" << "151";
    QTest::newRow("dose over-range, estimate valid")
        << QVariantMap{{"dose", over}, {"est_dose", 80.25}} << "+++" << "80.25";
    QTest::newRow("both over-range, from leq")
        << QVariantMap{{"dose", over}, {"est_dose", over}, {"leq", 88.0}, {"settings", kSettings3},
                       {"RunTime", "04:00:00"}}
        << "100" << "200";
    QTest::newRow("both over-range, Q=5")
        << QVariantMap{{"dose", over}, {"est_dose", over}, {"leq", 88.0}, {"settings", kSettings5},
                       {"RunTime", "04:00:00"}}
        << "76" << "152";
    QTest::newRow("over-range without leq")
        << QVariantMap{{"dose", over}, {"est_dose", over}, {"settings", kSettings3}} << "+++" << "+++";
    QTest::newRow("criterion time 0 keeps the mark")
        << QVariantMap{{"dose", over}, {"est_dose", over}, {"leq", 88.0}, {"settings", "85: 0: 00: F: 3dB (Q=3) None"},
                       {"RunTime", "04:00:00"}}
        << "+++" << "200";
    QTest::newRow("null doses") << QVariantMap{} << "" << "";
}

void TestMeasurements::doseTexts()
{
    QFETCH(QVariantMap, values);
    QFETCH(QString, doseString);
    QFETCH(QString, estDoseString);
    Tdm dm;
    const QVariantMap calc = post(dm, values);
    QCOMPARE(calc.value("doseString").toString(), doseString);
    QCOMPARE(calc.value("est_doseString").toString(), estDoseString);

    // The same rules hold for the TWA doses and for channel 2.
    QVariantMap twa;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const QString k = it.key() == "dose"       ? "dose52"
                          : it.key() == "est_dose" ? "est_dose52"
                          : it.key() == "leq"      ? "lavg2"
                          : it.key() == "settings" ? "settings2"
                                                   : it.key();
        twa.insert(k, it.value());
    }
    Tdm dm2;
    const QVariantMap calc2 = post(dm2, twa);
    QCOMPARE(calc2.value("dose52String").toString(), doseString);
    QCOMPARE(calc2.value("est_dose52String").toString(), estDoseString);
}

void TestMeasurements::levelTexts()
{
    Tdm dm;
    QVariantMap calc = post(dm, {{"leq", 85.25}, {"lepd", 0.04}, {"peak_level", 0.0}, {"exp2", 0.0},
                                 {"est_Exp2", MeasCalc::kOverRange}, {"leq2", -0.04}});
    QCOMPARE(calc.value("leqString").toString(), QStringLiteral("85.3"));
    QCOMPARE(calc.value("lepdString").toString(), QStringLiteral("---")); // shows as 0.0
    QCOMPARE(calc.value("peakString").toString(), QStringLiteral("---"));
    QCOMPARE(calc.value("selString").toString(), QStringLiteral("---")); // null counts as 0
    QCOMPARE(calc.value("exp2String").toString(), QStringLiteral("0.0")); // no "---" rule
    QCOMPARE(calc.value("est_exp2String").toString(), QStringLiteral("+++"));
    QCOMPARE(calc.value("leq2String").toString(), QStringLiteral("---")); // rounds to zero
    QCOMPARE(calc.value("resultantLex8").toString(), QString());
}

void TestMeasurements::userCriterionLevels()
{
    Tdm dm;
    dm.setUserCritLevel(90);
    dm.setUseUserCritLevel(true);
    QVariantMap calc = post(dm, {{"settings", kSettings3}, {"leq", 93.0}, {"lavg", 90.0}, {"dose", 50.0},
                                 {"est_dose", 100.0}, {"RunTime", "04:00:00"}});
    QCOMPARE(calc.value("settingsCritLevel").toString(), QStringLiteral("90"));
    QCOMPARE(calc.value("est_doseString").toString(), QStringLiteral("200")); // 100 x 10^0.3
    QCOMPARE(calc.value("doseString").toString(), QStringLiteral("100"));
    QCOMPARE(calc.value("est_dose5String").toString(), QStringLiteral("100"));
    QCOMPARE(calc.value("dose5String").toString(), QStringLiteral("50"));

    // Without a level both dose texts of that pair are empty.
    calc = post(dm, {{"settings", kSettings3}, {"leq", 0.0}, {"lavg", 90.0}, {"dose", 50.0}});
    QCOMPARE(calc.value("doseString").toString(), QString());
    QCOMPARE(calc.value("est_doseString").toString(), QString());
    QCOMPARE(calc.value("est_dose5String").toString(), QStringLiteral("100"));

    // The same level as measured changes nothing.
    dm.setUserCritLevel(85);
    DataSet* t = dm.CDSMeas();
    t->first();
    QCOMPARE(t->text("doseString"), QStringLiteral("50"));
    QCOMPARE(t->text("settingsCritLevel"), QStringLiteral("85"));

    // Switching the user level off recalculates every row.
    dm.setUserCritLevel(90);
    t->first();
    QCOMPARE(t->text("doseString"), QStringLiteral("100"));
    dm.setUseUserCritLevel(false);
    t->first();
    QCOMPARE(t->text("doseString"), QStringLiteral("50"));

    // Channel 2 has its own level.
    dm.setUserCritLevel2(83);
    dm.setUseUserCritLevel2(true);
    calc = post(dm, {{"settings2", "80: 28800: 00: F: 3dB (Q=3) None"}, {"leq2", 83.0}, {"RunTime", "08:00:00"}});
    QCOMPARE(calc.value("settingsCritLevel2").toString(), QStringLiteral("83"));
    QCOMPARE(calc.value("est_dose2String").toString(), QStringLiteral("100"));
    QCOMPARE(calc.value("dose2String").toString(), QStringLiteral("100"));
}

void TestMeasurements::userDecimalSeparatorForDisplayOnly()
{
    Tdm dm;
    dm.setDisplayLocale(QLocale(QLocale::German, QLocale::Germany));
    const QVariantMap calc = post(dm, {{"leq", 85.25}, {"dose", 75.5}, {"lepd", 0.01}});
    QCOMPARE(calc.value("leqString").toString(), QStringLiteral("85,3"));
    QCOMPARE(calc.value("doseString").toString(), QStringLiteral("75,5"));
    QCOMPARE(calc.value("lepdString").toString(), QStringLiteral("---"));
    // The stored numbers and the packet keep the point.
    QVERIFY(DataPacket::save(*dm.CDSMeas()).contains("leq=\"85.25\""));
    QCOMPARE(QLocale().decimalPoint(), QLocale::system().decimalPoint()); // nothing process-wide changed
}

void TestMeasurements::tableSettingsSurviveARestart()
{
    TableSettings saved;
    {
        Tdm dm;
        TableSettings s;
        s.columnOrder.insert("notes", 3);
        s.columnOrder.insert("leqString", 0);
        s.columnOrder.insert("noSuchField", 7); // ignored
        s.columnOrderSLM.insert("serial", 4);
        s.userCritLevel = 87;
        s.useUserCritLevel = true;
        s.userCritLevelList2 = QStringLiteral("88\n82\n");
        dm.LoadTableSettings(s);
        saved = dm.SaveTableSettings();
    }
    Tdm dm;
    dm.LoadTableSettings(saved);
    DataSet* t = dm.CDSMeas();
    QCOMPARE(t->findField("notes")->tag, 3);
    QCOMPARE(t->findField("leqString")->tag, 0);
    QCOMPARE(t->findField("badge")->tag, 1);     // not changed: built-in position
    QCOMPARE(t->findField("peakString")->tag, 8); // likewise
    QCOMPARE(dm.CDSSLMMeas()->findField("serial")->tag, 4);
    QCOMPARE(dm.userCritLevel(), 87);
    QVERIFY(dm.useUserCritLevel());
    QCOMPARE(dm.userCritLevel2(), 84);
    QCOMPARE(dm.userCritLevelList(), (QStringList{"90", "85", "84", "83", "80"}));
    QCOMPARE(dm.userCritLevelList2(), (QStringList{"88", "82"}));
    QVERIFY(!saved.columnOrder.contains("noSuchField"));
    QCOMPARE(saved.userCritLevelList, QStringLiteral("90\n85\n84\n83\n80\n"));
}

void TestMeasurements::tableSettingsThroughTheStore()
{
    QTemporaryDir dir;
    {
        SettingsStore store(dir.path());
        Tdm dm;
        dm.CDSMeas()->setFieldTag("notes", 2);
        dm.setUserCritLevel2(80);
        dm.SaveTableSettings(store);
        QVERIFY(store.sync());
    }
    SettingsStore store(dir.path());
    Tdm dm;
    dm.LoadTableSettings(store);
    QCOMPARE(dm.CDSMeas()->findField("notes")->tag, 2);
    QCOMPARE(dm.CDSMeas()->findField("overload")->tag, 9);
    QCOMPARE(dm.userCritLevel2(), 80);
    QCOMPARE(dm.userCritLevel(), 84);

    // An empty store leaves every built-in position and default.
    QTemporaryDir empty;
    SettingsStore fresh(empty.path());
    Tdm dm2;
    dm2.LoadTableSettings(fresh);
    QCOMPARE(dm2.CDSMeas()->findField("notes")->tag, 11);
    QCOMPARE(dm2.userCritLevelList(), (QStringList{"90", "85", "84", "83", "80"}));
    QVERIFY(!dm2.useUserCritLevel());
}

void TestMeasurements::workingTableAtShutDown()
{
    QTemporaryDir dir;
    const QString temp = dir.filePath("temp.dat");
    Tdm dm;
    QVERIFY(dm.saveWorkingTable(dir.path())); // never created: nothing to save
    QVERIFY(!QFile::exists(temp));
    post(dm, {{"badge", "B7"}, {"leq", 90.0}});
    dm.CDSMeas()->edit();
    dm.CDSMeas()->setValue("notes", QStringLiteral("unsaved edit"));
    QVERIFY(dm.saveWorkingTable(dir.path())); // an open edit is posted, then saved
    QVERIFY(QFile::exists(temp));
    Tdm again;
    again.createMeasTable();
    QString err;
    QVERIFY2(again.CDSMeas()->loadFromFile(temp, &err), qPrintable(err));
    QCOMPARE(again.CDSMeas()->recordCount(), 1);
    QCOMPARE(again.CDSMeas()->text("notes"), QStringLiteral("unsaved edit"));
    QCOMPARE(again.CDSMeas()->text("leqString"), QStringLiteral("90.0"));
    // Without further changes the file is not written again.
    QVERIFY(QFile::remove(temp));
    QVERIFY(dm.saveWorkingTable(dir.path()));
    QVERIFY(!QFile::exists(temp));
}

void TestMeasurements::yesNoTexts()
{
    Tdm dm;
    dm.createMeasTable();
    DataSet* t = dm.CDSMeas();
    t->appendRecord({1, QStringLiteral("B1"), QVariant(), QVariant(), false, true});
    const FieldDef* overload = t->findField("overload");
    QCOMPARE(DisplayFormat::fieldText(*overload, t->value("overload")), QStringLiteral("Yes"));
    QCOMPARE(DisplayFormat::fieldText(*t->findField("peak"), t->value("peak")), QStringLiteral("No"));
    QCOMPARE(dm.peakLabel(), QStringLiteral("Peak Level"));
}

void TestMeasurements::roundingHalfAwayFromZero_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("text");
    QTest::newRow("80.25") << 80.25 << 1 << "80.3";
    QTest::newRow("-80.25") << -80.25 << 1 << "-80.3";
    QTest::newRow("2.675 as written") << 2.675 << 2 << "2.68";
    QTest::newRow("0.05") << 0.05 << 1 << "0.1";
    QTest::newRow("199.5") << 199.5 << 0 << "200";
    QTest::newRow("99.76") << 99.763115 << 0 << "100";
    QTest::newRow("0.5") << 0.5 << 0 << "1";
    QTest::newRow("-0.5") << -0.5 << 0 << "-1";
}

void TestMeasurements::roundingHalfAwayFromZero()
{
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(QString, text);
    QCOMPARE(DisplayFormat::fixed(value, decimals, QLocale::c()), text);
}

QTEST_GUILESS_MAIN(TestMeasurements)
#include "tst_measurements.moc"
