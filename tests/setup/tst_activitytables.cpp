// The activity tables: the fields their packets declare, activities kept
// through a packet as the measurement record's memo holds them, the colour
// integers of the files, and labels put back after a change of language.

#include "data/ActivityTables.h"
#include "data/DataPacket.h"
#include "data/DataSet.h"

#include <QRegularExpression>
#include <QTest>

using namespace sonvex;

Q_DECLARE_METATYPE(sonvex::ChartColour)

namespace {

QStringList fieldElements(const QByteArray& packet)
{
    QStringList out;
    static const QRegularExpression field(QStringLiteral("<FIELD [^>]*/>"));
    for (auto it = field.globalMatch(QString::fromUtf8(packet)); it.hasNext();)
        out << it.next().captured();
    return out;
}

} // namespace

class TestActivityTables : public QObject
{
    Q_OBJECT

private slots:
    void namesPacketDeclaresTheFields();
    void activitiesPacketDeclaresTheFields();
    void activitiesKeptThroughAPacket();
    void namesNumberedFromOne();
    void colourIntegers_data();
    void colourIntegers();
    void retranslateTellsTheTablesApart();
};

void TestActivityTables::namesPacketDeclaresTheFields()
{
    DataSet names;
    ActivityTables::createActNames(names);
    QVERIFY(names.isActive());
    QVERIFY(!names.logChanges());
    const QStringList expected{
        R"(<FIELD attrname="ActNamesNumber" fieldtype="i4" readonly="true" SUBTYPE="Autoinc"/>)",
        R"(<FIELD attrname="ActNamesName" fieldtype="string" WIDTH="80"/>)",
        R"(<FIELD attrname="ActNamesColour" fieldtype="i4"/>)",
        R"(<FIELD attrname="Count" fieldtype="i4"/>)",
        R"(<FIELD attrname="TotalDurationMins" fieldtype="i4"/>)",
        R"(<FIELD attrname="TotalLAeq" fieldtype="r8"/>)",
        R"(<FIELD attrname="HighestPeak" fieldtype="r8"/>)",
    };
    QCOMPARE(fieldElements(DataPacket::save(names)), expected);
}

void TestActivityTables::activitiesPacketDeclaresTheFields()
{
    DataSet acts;
    acts.setFieldDefs(ActivityTables::actsFieldDefs());
    acts.createDataSet();
    const QStringList expected{
        R"(<FIELD attrname="ActNumber" fieldtype="i4" readonly="true" SUBTYPE="Autoinc"/>)",
        R"(<FIELD attrname="ActNameNumber" fieldtype="i4"/>)",
        R"(<FIELD attrname="GanttPos" fieldtype="i4"/>)",
        R"(<FIELD attrname="ActName" fieldtype="string" WIDTH="80"/>)",
        R"(<FIELD attrname="StartTime" fieldtype="dateTime"/>)",
        R"(<FIELD attrname="EndTime" fieldtype="dateTime"/>)",
        R"(<FIELD attrname="DurationMins" fieldtype="i4"/>)",
        R"(<FIELD attrname="DurationString" fieldtype="string" WIDTH="5"/>)",
        R"(<FIELD attrname="LAeq" fieldtype="r8"/>)",
        R"(<FIELD attrname="PeakCMax" fieldtype="r8"/>)",
        R"(<FIELD attrname="ActColor" fieldtype="i4"/>)",
        R"(<FIELD attrname="TotalDurationMins" fieldtype="r8"/>)",
        R"(<FIELD attrname="TotalLAeq" fieldtype="r8"/>)",
        R"(<FIELD attrname="TotalDurationString" fieldtype="string" WIDTH="20"/>)",
        R"(<FIELD attrname="TotalPeakC" fieldtype="r8"/>)",
    };
    QCOMPARE(fieldElements(DataPacket::save(acts)), expected);
}

void TestActivityTables::activitiesKeptThroughAPacket()
{
    // An activity of ten and a half hours from 07:12: its duration text needs
    // five characters; the times are chart times on day 0 of the date scale.
    DataSet acts;
    acts.setFieldDefs(ActivityTables::actsFieldDefs());
    acts.createDataSet();
    acts.append();
    acts.setValue(QStringLiteral("ActNameNumber"), 3);
    acts.setValue(QStringLiteral("GanttPos"), 0);
    acts.setValue(QStringLiteral("ActName"), QStringLiteral("Grinding & \"deburring\""));
    const QDate day0(1899, 12, 30);
    acts.setValue(QStringLiteral("StartTime"), naiveDateTime(day0, QTime(7, 12)));
    acts.setValue(QStringLiteral("EndTime"), naiveDateTime(day0, QTime(17, 42)));
    acts.setValue(QStringLiteral("DurationMins"), 630);
    acts.setValue(QStringLiteral("DurationString"), QStringLiteral("10:30"));
    acts.setValue(QStringLiteral("LAeq"), 91.4);
    acts.setValue(QStringLiteral("ActColor"), ActivityTables::colourValue(0xBE, 0x00, 0x32));
    acts.post();
    const QByteArray packet = DataPacket::save(acts);

    DataSet back;
    back.setFieldDefs(ActivityTables::actsFieldDefs());
    back.createDataSet();
    QString error;
    QVERIFY2(DataPacket::load(back, packet, &error), qPrintable(error));
    QCOMPARE(back.recordCount(), 1);
    for (int i = 0; i < acts.fieldCount(); ++i)
        QCOMPARE(back.rowValue(0, i), acts.rowValue(0, i));
    QCOMPARE(back.rowValue(0, QStringLiteral("DurationString")).toString(), QStringLiteral("10:30"));
    // PeakCMax stays empty below 120 dB: null, not 0.
    QVERIFY(!back.rowValue(0, QStringLiteral("PeakCMax")).isValid());
}

void TestActivityTables::namesNumberedFromOne()
{
    DataSet names;
    ActivityTables::createActNames(names);
    for (const char* n : {"Office work", "Grinding"}) {
        names.append();
        names.setValue(QStringLiteral("ActNamesName"), QLatin1String(n));
        names.post();
    }
    QCOMPARE(names.rowValue(0, QStringLiteral("ActNamesNumber")).toInt(), 1);
    QCOMPARE(names.rowValue(1, QStringLiteral("ActNamesNumber")).toInt(), 2);
    QCOMPARE(names.changeCount(), 0); // change logging is off
}

void TestActivityTables::colourIntegers_data()
{
    QTest::addColumn<ChartColour>("colour");
    QTest::addColumn<int>("value");
    QTest::newRow("red is the low byte") << ChartColour{255, 0, 0} << 0x0000FF;
    QTest::newRow("green the middle byte") << ChartColour{0, 255, 0} << 0x00FF00;
    QTest::newRow("blue the third byte") << ChartColour{0, 0, 255} << 0xFF0000;
    QTest::newRow("mixed") << ChartColour{0x12, 0x34, 0x56} << 0x563412;
    QTest::newRow("black") << ChartColour{0, 0, 0} << 0;
    QTest::newRow("white") << ChartColour{255, 255, 255} << 0xFFFFFF;
}

void TestActivityTables::colourIntegers()
{
    QFETCH(ChartColour, colour);
    QFETCH(int, value);
    QCOMPARE(ActivityTables::colourValue(colour), value);
    QCOMPARE(ActivityTables::colourValue(colour.red, colour.green, colour.blue), value);
    QVERIFY(ActivityTables::colourOf(value) == colour);
}

void TestActivityTables::retranslateTellsTheTablesApart()
{
    // Both tables have a TotalLAeq field; only the activities label theirs.
    DataSet names;
    ActivityTables::createActNames(names);
    names.setFieldDisplayLabel(QStringLiteral("ActNamesName"), QStringLiteral("stale"));
    names.setFieldDisplayLabel(QStringLiteral("TotalLAeq"), QString());
    ActivityTables::retranslate(names);
    QCOMPARE(names.findField(QStringLiteral("ActNamesName"))->label(), QStringLiteral("Activity Name"));
    QCOMPARE(names.findField(QStringLiteral("TotalLAeq"))->label(), QStringLiteral("TotalLAeq"));

    DataSet acts;
    acts.setFieldDefs(ActivityTables::actsFieldDefs());
    acts.setFieldDisplayLabel(QStringLiteral("TotalLAeq"), QStringLiteral("stale"));
    acts.setFieldDisplayLabel(QStringLiteral("StartTime"), QStringLiteral("stale"));
    ActivityTables::retranslate(acts);
    QCOMPARE(acts.findField(QStringLiteral("TotalLAeq"))->label(), QStringLiteral("Activity LAeq dB"));
    QCOMPARE(acts.findField(QStringLiteral("StartTime"))->label(), QStringLiteral("Start Time"));
}

QTEST_GUILESS_MAIN(TestActivityTables)
#include "tst_activitytables.moc"
