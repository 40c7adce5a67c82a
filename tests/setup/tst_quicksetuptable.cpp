// The quick setup table: its lists and Reader bytes, its packet declarations,
// setups kept through a file, and the setups that come with the program read
// as the regimes they are named after.

#include "data/DataPacket.h"
#include "data/DataSet.h"
#include "setup/QuickSetupTable.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace sonvex;
using namespace sonvex::QuickSetupTable;

Q_DECLARE_METATYPE(sonvex::QuickSetupTable::Parameter)
Q_DECLARE_METATYPE(sonvex::QuickSetupTable::QuickSetup)

namespace {

// The FIELD elements of a packet, in order.
QStringList fieldElements(const QByteArray& packet)
{
    QStringList out;
    static const QRegularExpression field(QStringLiteral("<FIELD [^>]*/>"));
    for (auto it = field.globalMatch(QString::fromUtf8(packet)); it.hasNext();)
        out << it.next().captured();
    return out;
}

// The first ROW element of a packet.
QString firstRow(const QByteArray& packet)
{
    static const QRegularExpression row(QStringLiteral("<ROW [^>]*/>"));
    return row.match(QString::fromUtf8(packet)).captured();
}

} // namespace

class TestQuickSetupTable : public QObject
{
    Q_OBJECT

private slots:
    void lists_data();
    void lists();
    void readerBytesOfASetup();
    void packetDeclaresTheFields();
    void keptThroughAFile_data();
    void keptThroughAFile();
    void nullPositionIsNoChoice();
    void shippedSetupsAreTheirRegimes_data();
    void shippedSetupsAreTheirRegimes();
    void shippedSetupsFitTheTable();
};

void TestQuickSetupTable::lists_data()
{
    QTest::addColumn<Parameter>("parameter");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<int>("address");
    QTest::newRow("criterion time") << Parameter::CriterionTime << "critTime"
                                    << "Criterion Time"
                                    << QStringList{"8 hours", "12 hours", "16 hours", "18 hours"} << 0x51;
    QTest::newRow("criterion level") << Parameter::CriterionLevel << "critLevel"
                                     << "Criterion Level"
                                     << QStringList{"80 dB", "85 dB", "87 dB", "90 dB", "95 dB"} << 0x52;
    QTest::newRow("threshold") << Parameter::Threshold << "threshold"
                               << "Threshold" << QStringList{"None", "80 dB", "85 dB", "90 dB"} << 0x56;
    QTest::newRow("time weighting") << Parameter::TimeWeighting << "timeWeighting"
                                    << "Time Weighting" << QStringList{"None", "Slow"} << 0x57;
    QTest::newRow("exchange rate") << Parameter::ExchangeRate << "exchange"
                                   << "Exchange Rate (Q=)" << QStringList{"3dB", "4dB", "5dB"} << 0x58;
}

void TestQuickSetupTable::lists()
{
    QFETCH(Parameter, parameter);
    QFETCH(QString, field);
    QFETCH(QString, label);
    QFETCH(QStringList, items);
    QFETCH(int, address);
    QCOMPARE(fieldName(parameter), field);
    QCOMPARE(QuickSetupTable::label(parameter), label);
    QCOMPARE(QuickSetupTable::items(parameter), items);
    QCOMPARE(itemCount(parameter), int(items.size()));
    QCOMPARE(readerAddress(parameter), address);
    QVERIFY(fieldDefs().end() != std::find_if(fieldDefs().begin(), fieldDefs().end(),
                                              [&](const FieldDef& f) { return f.name == field; }));
}

void TestQuickSetupTable::readerBytesOfASetup()
{
    // 8 hours, 85 dB, no threshold, slow, 3 dB: the Reader is sent 01 02 01 02 01
    // at 0x51, 0x52, 0x56, 0x57 and 0x58, in that order.
    const QuickSetup s{QStringLiteral("x"), CritLevel85dB, CritTime8Hours,
                       ThresholdNone,       WeightingSlow, Exchange3dB};
    QList<QPair<int, int>> sent;
    for (Parameter p : kParameters)
        sent.append({readerAddress(p), readerByte(s.position(p))});
    const QList<QPair<int, int>> expected{{0x51, 1}, {0x52, 2}, {0x56, 1}, {0x57, 2}, {0x58, 1}};
    QCOMPARE(sent, expected);
    // "12 hours" is position 1 and byte 2.
    QCOMPARE(readerByte(CritTime12Hours), 2);
}

void TestQuickSetupTable::packetDeclaresTheFields()
{
    DataSet t;
    createTable(t);
    appendSetup(t, QuickSetup{QStringLiteral("a"), CritLevel90dB, CritTime12Hours, Threshold80dB,
                              WeightingSlow, Exchange5dB, true});
    const QByteArray packet = DataPacket::save(t);
    const QStringList expected{
        R"(<FIELD attrname="setupID" fieldtype="i4" readonly="true" SUBTYPE="Autoinc"/>)",
        R"(<FIELD attrname="name" fieldtype="string" WIDTH="50"/>)",
        R"(<FIELD attrname="critLevel" fieldtype="i4"/>)",
        R"(<FIELD attrname="critTime" fieldtype="i4"/>)",
        R"(<FIELD attrname="threshold" fieldtype="i4"/>)",
        R"(<FIELD attrname="timeWeighting" fieldtype="i4"/>)",
        R"(<FIELD attrname="exchange" fieldtype="i4"/>)",
        R"(<FIELD attrname="userSetup" fieldtype="boolean"/>)",
        R"(<FIELD attrname="spareInt1" fieldtype="i4"/>)",
        R"(<FIELD attrname="spareInt2" fieldtype="i4"/>)",
        R"(<FIELD attrname="spareString" fieldtype="string" WIDTH="50"/>)",
    };
    QCOMPARE(fieldElements(packet), expected);
    // The reserved fields are never written; the positions are.
    QCOMPARE(firstRow(packet),
             QStringLiteral(R"(<ROW setupID="1" name="a" critLevel="3" critTime="1" )"
                            R"(threshold="1" timeWeighting="1" exchange="2" userSetup="TRUE"/>)"));
    QVERIFY(packet.contains(R"(AUTOINCVALUE="2")"));
}

void TestQuickSetupTable::keptThroughAFile_data()
{
    QTest::addColumn<QuickSetup>("setup");
    QTest::newRow("first positions") << QuickSetup{
        QStringLiteral("Plain"), CritLevel80dB, CritTime8Hours, ThresholdNone,
        WeightingNone,           Exchange3dB,   false};
    QTest::newRow("last positions") << QuickSetup{QStringLiteral("Long shift"),
                                                  CritLevel95dB,
                                                  CritTime18Hours,
                                                  Threshold90dB,
                                                  WeightingSlow,
                                                  Exchange5dB,
                                                  true};
    QTest::newRow("name with markup and accents")
        << QuickSetup{QStringLiteral("Site \"B\" <north> & Straße 4'"),
                      CritLevel87dB,
                      CritTime16Hours,
                      Threshold85dB,
                      WeightingNone,
                      Exchange4dB,
                      true};
    QTest::newRow("name of 50 characters") << QuickSetup{
        QString(50, u'x'), CritLevel85dB, CritTime12Hours, Threshold80dB, WeightingSlow, Exchange3dB, true};
}

void TestQuickSetupTable::keptThroughAFile()
{
    QFETCH(QuickSetup, setup);
    QTemporaryDir dir;
    const QString path = dir.filePath(QLatin1String(kSetupsFile));
    {
        DataSet t;
        createTable(t);
        appendSetup(t, shippedSetups().first());
        appendSetup(t, setup);
        QString error;
        QVERIFY2(t.saveToFile(path, &error), qPrintable(error));
    }
    DataSet back;
    createTable(back);
    QString error;
    QVERIFY2(back.loadFromFile(path, &error), qPrintable(error));
    QCOMPARE(back.recordCount(), 2);
    QCOMPARE(setupAt(back, 1), setup);
    QCOMPARE(back.rowValue(1, QStringLiteral("setupID")).toInt(), 2);
    // A setup added after loading takes the next number.
    appendSetup(back, setup);
    QCOMPARE(back.rowValue(2, QStringLiteral("setupID")).toInt(), 3);
}

void TestQuickSetupTable::nullPositionIsNoChoice()
{
    DataSet t;
    createTable(t);
    t.append();
    t.setValue(QStringLiteral("name"), QStringLiteral("partial"));
    t.setValue(QStringLiteral("critTime"), 2);
    t.post();
    const QuickSetup s = setupAt(t, 0);
    QCOMPARE(s.critTime, 2);
    QCOMPARE(s.critLevel, -1);
    QCOMPARE(s.threshold, -1);
    QCOMPARE(s.timeWeighting, -1);
    QCOMPARE(s.exchange, -1);
    QCOMPARE(s.userSetup, false);
}

void TestQuickSetupTable::shippedSetupsAreTheirRegimes_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("namePart");
    // The texts of the chosen items: criterion time, level, threshold, weighting, exchange rate.
    QTest::addColumn<QStringList>("chosen");
    QTest::newRow("free setup") << 0 << "Free setup"
                                << QStringList{"8 hours", "85 dB", "None", "None", "3dB"};
    QTest::newRow("EU") << 1 << "2003/10" << QStringList{"8 hours", "85 dB", "None", "None", "3dB"};
    QTest::newRow("OSHA PEL") << 2 << "OSHA PEL" << QStringList{"8 hours", "90 dB", "90 dB", "Slow", "5dB"};
    QTest::newRow("OSHA hearing conservation")
        << 3 << "OSHA Hearing" << QStringList{"8 hours", "90 dB", "80 dB", "Slow", "5dB"};
    QTest::newRow("NIOSH / ACGIH") << 4 << "NIOSH" << QStringList{"8 hours", "85 dB", "80 dB", "Slow", "3dB"};
}

void TestQuickSetupTable::shippedSetupsAreTheirRegimes()
{
    QFETCH(int, row);
    QFETCH(QString, namePart);
    QFETCH(QStringList, chosen);
    QCOMPARE(shippedSetups().size(), 5);
    const QuickSetup& s = shippedSetups().at(row);
    QVERIFY2(s.name.contains(namePart), qPrintable(s.name));
    QStringList texts;
    for (Parameter p : kParameters)
        texts << items(p).value(s.position(p), QStringLiteral("(none)"));
    QCOMPARE(texts, chosen);
    QCOMPARE(s.userSetup, false);
}

void TestQuickSetupTable::shippedSetupsFitTheTable()
{
    DataSet t;
    createTable(t);
    QStringList names;
    for (const QuickSetup& s : shippedSetups()) {
        QVERIFY2(s.name.size() <= 50, qPrintable(s.name));
        // A new setup named like an existing one in any letter case is refused.
        QVERIFY2(!names.contains(s.name, Qt::CaseInsensitive), qPrintable(s.name));
        names << s.name;
        appendSetup(t, s);
    }
    // The free setup is the one with setupID 1.
    QCOMPARE(t.rowValue(0, QStringLiteral("setupID")).toInt(), kFreeSetupId);
    QVERIFY(shippedSetups().first().name.startsWith(QLatin1String("Free")));
}

QTEST_GUILESS_MAIN(TestQuickSetupTable)
#include "tst_quicksetuptable.moc"
