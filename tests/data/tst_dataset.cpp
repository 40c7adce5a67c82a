#include "data/DataSet.h"
#include "data/DataSetModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

using namespace sonvex;

namespace {

// A small table indexed on "key", with a calculated "twice" = 2 x value.
void makeTable(DataSet& ds, int* calcRuns = nullptr)
{
    FieldDef calc = FieldDef::make("twice", FieldType::Float);
    calc.calculated = true;
    ds.setFieldDefs({FieldDef::make("key", FieldType::Int32), FieldDef::make("value", FieldType::Float),
                     FieldDef::make("note", FieldType::String, 20), calc});
    ds.setCalcFieldsHandler([calcRuns](RecordView& r) {
        if (calcRuns)
            ++*calcRuns;
        if (!r.isNull("value"))
            r.setValue("twice", r.number("value") * 2);
    });
    ds.setIndexFieldName("key");
    ds.createDataSet();
}

QList<int> keys(const DataSet& ds)
{
    QList<int> out;
    for (int i = 0; i < ds.recordCount(); ++i)
        out << ds.rowValue(i, "key").toInt();
    return out;
}

} // namespace

class TestDataSet : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void indexKeepsReadOrder_data();
    void indexKeepsReadOrder();
    void calculatedFieldsOnPostNotWhileEditing();
    void statesAndCancel();
    void cursorMovement();
    void deleteAndEmpty();
    void changeLogCountsAndMerges();
    void eventsAndSuspendedUpdates();
    void typedValuesAndNull();
    void modelKeepsTheItemModelContract();
};

void TestDataSet::indexKeepsReadOrder_data()
{
    QTest::addColumn<QList<int>>("inserted");
    QTest::addColumn<QList<int>>("expected");
    QTest::newRow("in order") << QList<int>{1, 2, 3} << QList<int>{1, 2, 3};
    QTest::newRow("reversed") << QList<int>{3, 2, 1} << QList<int>{1, 2, 3};
    QTest::newRow("shuffled with duplicates") << QList<int>{5, 1, 5, 3, 1} << QList<int>{1, 1, 3, 5, 5};
}

void TestDataSet::indexKeepsReadOrder()
{
    QFETCH(QList<int>, inserted);
    QFETCH(QList<int>, expected);
    DataSet ds;
    makeTable(ds);
    for (int i = 0; i < inserted.size(); ++i)
        ds.appendRecord({inserted[i], double(i)});
    QCOMPARE(keys(ds), expected);
    // Equal keys keep their arrival order.
    for (int i = 1; i < ds.recordCount(); ++i)
        if (ds.rowValue(i, "key") == ds.rowValue(i - 1, "key"))
            QVERIFY(ds.rowValue(i, "value").toDouble() > ds.rowValue(i - 1, "value").toDouble());
}

void TestDataSet::calculatedFieldsOnPostNotWhileEditing()
{
    DataSet ds;
    int runs = 0;
    makeTable(ds, &runs);
    ds.appendRecord({1, 10.0});
    QCOMPARE(ds.value("twice").toDouble(), 20.0);
    const int before = runs;
    ds.edit();
    ds.setValue("value", 21.5);
    QCOMPARE(runs, before);                       // not while a field is edited
    QCOMPARE(ds.value("twice").toDouble(), 20.0); // the buffer keeps the last calculation
    ds.post();
    QCOMPARE(ds.value("twice").toDouble(), 43.0);
    QVERIFY(runs > before);

    // Editing the index field moves the record to its place; the cursor follows.
    ds.appendRecord({5, 1.0});
    ds.appendRecord({9, 2.0});
    QVERIFY(ds.locate("key", 1));
    ds.setValue("key", 7); // an assignment in browse state starts editing
    QCOMPARE(ds.state(), DataSet::State::Edit);
    ds.post();
    QCOMPARE(keys(ds), (QList<int>{5, 7, 9}));
    QCOMPARE(ds.recNo(), 1);
    QCOMPARE(ds.value("value").toDouble(), 21.5);
}

void TestDataSet::statesAndCancel()
{
    DataSet ds;
    QVERIFY_THROWS_EXCEPTION(DataSetError, ds.append());
    makeTable(ds);
    QCOMPARE(ds.state(), DataSet::State::Browse);
    ds.append();
    QCOMPARE(ds.state(), DataSet::State::Insert);
    ds.setValue("key", 3);
    ds.cancel();
    QCOMPARE(ds.state(), DataSet::State::Browse);
    QCOMPARE(ds.recordCount(), 0);

    ds.appendRecord({1, 1.0, QStringLiteral("keep")});
    ds.edit();
    ds.setValue("note", QStringLiteral("changed"));
    QCOMPARE(ds.text("note"), QStringLiteral("changed"));
    ds.cancel();
    QCOMPARE(ds.text("note"), QStringLiteral("keep"));

    // A value of the wrong kind is refused and the buffer keeps its old value.
    ds.edit();
    QVERIFY_THROWS_EXCEPTION(DataSetError, ds.setValue("key", QStringLiteral("x1")));
    QVERIFY_THROWS_EXCEPTION(DataSetError, ds.setValue("nosuchfield", 1));
    QCOMPARE(ds.value("key").toInt(), 1);
    ds.post();

    // A required field without a value cannot be posted.
    DataSet req;
    FieldDef f = FieldDef::make("must", FieldType::String, 5);
    f.required = true;
    req.setFieldDefs({f});
    req.createDataSet();
    req.append();
    QVERIFY_THROWS_EXCEPTION(DataSetError, req.post());
    QCOMPARE(req.state(), DataSet::State::Insert);
}

void TestDataSet::cursorMovement()
{
    DataSet ds;
    makeTable(ds);
    QVERIFY(ds.bof() && ds.eof());
    QCOMPARE(ds.recNo(), -1);
    QVERIFY(!ds.value("key").isValid());
    for (int k : {30, 10, 20})
        ds.appendRecord({k});
    ds.first();
    QList<int> seen;
    while (!ds.eof()) {
        seen << ds.value("key").toInt();
        ds.next();
    }
    QCOMPARE(seen, (QList<int>{10, 20, 30}));
    QCOMPARE(ds.recNo(), 2); // next() past the end stays on the last row
    ds.prior();
    QCOMPARE(ds.value("key").toInt(), 20);
    ds.first();
    ds.prior();
    QVERIFY(ds.bof());
    QCOMPARE(ds.recNo(), 0);
    QVERIFY(!ds.moveTo(3));
    QVERIFY(!ds.moveTo(-1));
    QVERIFY(!ds.locate("key", 99));
    QVERIFY(ds.locate("key", QStringLiteral("30")));
    QCOMPARE(ds.recNo(), 2);
    // Moving while editing posts the edit first.
    ds.edit();
    ds.setValue("note", QStringLiteral("posted"));
    ds.first();
    QCOMPARE(ds.rowValue(2, "note").toString(), QStringLiteral("posted"));
}

void TestDataSet::deleteAndEmpty()
{
    DataSet ds;
    makeTable(ds);
    QVERIFY_THROWS_EXCEPTION(DataSetError, ds.deleteRecord());
    for (int k : {1, 2, 3})
        ds.appendRecord({k});
    QVERIFY(ds.locate("key", 3));
    ds.deleteRecord();
    QCOMPARE(keys(ds), (QList<int>{1, 2}));
    QCOMPARE(ds.recNo(), 1); // the cursor stays within the rows
    ds.first();
    ds.deleteRecord();
    QCOMPARE(ds.value("key").toInt(), 2);
    ds.emptyDataSet();
    QCOMPARE(ds.recordCount(), 0);
    QCOMPARE(ds.recNo(), -1);
    QVERIFY(ds.isActive());
}

void TestDataSet::changeLogCountsAndMerges()
{
    DataSet ds;
    makeTable(ds);
    ds.appendRecord({1, 1.0});
    ds.appendRecord({2, 2.0});
    ds.first();
    ds.edit();
    ds.setValue("value", 5.0);
    ds.post();
    ds.last();
    ds.deleteRecord();
    QCOMPARE(ds.changeCount(), 4);
    QCOMPARE(ds.changes().at(2).kind, DataSet::ChangeKind::Modify);
    QCOMPARE(ds.changes().at(2).original.at(1).toDouble(), 1.0);
    QCOMPARE(ds.changes().at(3).kind, DataSet::ChangeKind::Delete);
    ds.mergeChangeLog();
    QCOMPARE(ds.changeCount(), 0);
    ds.setLogChanges(false);
    ds.appendRecord({3});
    QCOMPARE(ds.changeCount(), 0);
}

void TestDataSet::eventsAndSuspendedUpdates()
{
    DataSet ds;
    makeTable(ds);
    QSignalSpy scroll(&ds, &DataSet::afterScroll);
    QSignalSpy edit(&ds, &DataSet::afterEdit);
    QSignalSpy post(&ds, &DataSet::afterPost);
    QSignalSpy changed(&ds, &DataSet::fieldChanged);
    ds.appendRecord({1, 1.0});
    ds.appendRecord({2, 2.0});
    QCOMPARE(post.count(), 2);
    QCOMPARE(edit.count(), 0); // inserting is not editing
    scroll.clear();
    ds.first();
    QCOMPARE(scroll.count(), 1);
    ds.edit();
    QCOMPARE(edit.count(), 1);
    ds.setValue("note", QStringLiteral("a"));
    ds.setValue("note", QStringLiteral("a")); // the same value again is no change
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.last().at(0).toString(), QStringLiteral("note"));
    ds.post();
    QCOMPARE(post.count(), 3);

    QVERIFY(!ds.controlsDisabled());
    ds.disableControls();
    ds.disableControls();
    ds.enableControls();
    QVERIFY(ds.controlsDisabled()); // counted: one more enable needed
    QSignalSpy enabled(&ds, &DataSet::controlsEnabled);
    ds.enableControls();
    QVERIFY(!ds.controlsDisabled());
    QCOMPARE(enabled.count(), 1);
    ds.enableControls(); // an extra enable does not go negative
    QVERIFY(!ds.controlsDisabled());
}

void TestDataSet::typedValuesAndNull()
{
    DataSet ds;
    ds.setFieldDefs({FieldDef::make("i", FieldType::Int32), FieldDef::make("f", FieldType::Float),
                     FieldDef::make("b", FieldType::Boolean), FieldDef::make("s", FieldType::String, 3),
                     FieldDef::make("dt", FieldType::DateTime)});
    ds.createDataSet();
    ds.append();
    ds.setValue("i", QStringLiteral(" 42 "));
    ds.setValue("f", QStringLiteral("85.5"));
    ds.setValue("b", QStringLiteral("True"));
    ds.setValue("s", QStringLiteral("  longer than three  "));
    ds.setValue("dt", QDate(2026, 3, 29));
    ds.post();
    QCOMPARE(ds.value("i").toLongLong(), 42);
    QCOMPARE(ds.value("f").toDouble(), 85.5);
    QCOMPARE(ds.value("b").toBool(), true);
    // Strings are kept whole: neither trimmed nor cut to the declared width.
    QCOMPARE(ds.text("s"), QStringLiteral("  longer than three  "));
    QCOMPARE(ds.value("dt").toDateTime().time(), QTime(0, 0));
    QCOMPARE(ds.value("dt").toDateTime().timeSpec(), Qt::UTC);
    ds.edit();
    ds.clearValue("f");
    ds.setValue("s", QString());
    ds.post();
    QVERIFY(ds.isNull("f"));
    QVERIFY(!ds.isNull("s")); // an empty text is not null
}

void TestDataSet::modelKeepsTheItemModelContract()
{
    DataSet ds;
    makeTable(ds);
    DataSetModel model(&ds);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(model.columnCount(), 4);
    QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("key"));
    for (int k : {5, 1, 3})
        ds.appendRecord({k, double(k) + 0.25});
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(model.data(model.index(0, 0)).toInt(), 1);
    QCOMPARE(model.data(model.index(2, 3), DataSetModel::RawValueRole).toDouble(), 10.5);
    // Editing through the model goes through the table, moves the row by its key.
    QVERIFY(model.setData(model.index(0, 0), 9));
    QCOMPARE(model.data(model.index(2, 0)).toInt(), 9);
    QVERIFY(!(model.flags(model.index(0, 3)) & Qt::ItemIsEditable)); // calculated
    QVERIFY(!model.setData(model.index(0, 3), 1.0));
    QVERIFY(!model.setData(model.index(0, 0), QStringLiteral("not a number")));
    QCOMPARE(ds.state(), DataSet::State::Browse);
    ds.first();
    ds.deleteRecord();
    QCOMPARE(model.rowCount(), 2);
    QVector<Row> rows;
    rows << Row{7, 1.0, QString(), QVariant()} << Row{2, 3.0, QString(), QVariant()};
    ds.replaceContents(nullptr, rows);
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.data(model.index(0, 0)).toInt(), 2);
    ds.emptyDataSet();
    QCOMPARE(model.rowCount(), 0);
    ds.close();
    QCOMPARE(model.rowCount(), 0);
}

QTEST_GUILESS_MAIN(TestDataSet)
#include "tst_dataset.moc"
