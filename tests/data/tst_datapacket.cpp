#include "data/DataPacket.h"
#include "data/DataSet.h"
#include "data/TextCodec.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

using namespace sonvex;

namespace {

QString fixture(const QString& name)
{
    return QStringLiteral(SONVEX_SHARED_DIR "/fixtures/datapacket/") + name;
}

QVector<FieldDef> allTypes()
{
    QVector<FieldDef> f;
    f << FieldDef::make("id", FieldType::AutoInc) << FieldDef::make("s", FieldType::String, 20)
      << FieldDef::make("w", FieldType::WideString, 10) << FieldDef::make("i", FieldType::Int32)
      << FieldDef::make("big", FieldType::Int64) << FieldDef::make("r", FieldType::Float)
      << FieldDef::make("b", FieldType::Boolean) << FieldDef::make("d", FieldType::Date)
      << FieldDef::make("t", FieldType::Time) << FieldDef::make("dt", FieldType::DateTime)
      << FieldDef::make("memo", FieldType::Memo) << FieldDef::make("blob", FieldType::Blob);
    f[11].blobSubtype = QStringLiteral("Binary");
    return f;
}

QByteArray roundTrip(DataSet& src, DataSet& dst, DataPacket::Encoding enc)
{
    const QByteArray bytes = DataPacket::save(src, enc);
    QString err;
    if (!DataPacket::load(dst, bytes, &err))
        qWarning() << err;
    return bytes;
}

// Byte comparison that shows where two packets first differ.
bool sameBytes(const QByteArray& got, const QByteArray& want)
{
    qsizetype i = 0;
    while (i < got.size() && i < want.size() && got[i] == want[i])
        ++i;
    if (i == got.size() && i == want.size())
        return true;
    qWarning().noquote() << "first difference at byte" << i << "\n got:" << got.mid(std::max<qsizetype>(0, i - 30), 90)
                         << "\nwant:" << want.mid(std::max<qsizetype>(0, i - 30), 90);
    return false;
}

} // namespace

class TestDataPacket : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void writesTheExactSkeleton();
    void roundTripsEveryType_data();
    void roundTripsEveryType();
    void nullVersusEmpty();
    void dateTimeColumnMixesMidnightAndMilliseconds();
    void valueForms_data();
    void valueForms();
    void encodingIsDecidedFromTheBytes_data();
    void encodingIsDecidedFromTheBytes();
    void rowStateFilterAndChangeLog();
    void fixturesLoadFieldForField_data();
    void fixturesLoadFieldForField();
    void fixturesSurviveOurWriter();
    void badPacketsLeaveTheTableAsItWas_data();
    void badPacketsLeaveTheTableAsItWas();
    void binaryWorkingFormIsExact();
    void unsafeAndCollidingNamesStayReadable();
    void fileErrorsNameTheFile();
};

void TestDataPacket::writesTheExactSkeleton()
{
    DataSet ds;
    QVector<FieldDef> f;
    f << FieldDef::make("Name", FieldType::String, 24) << FieldDef::make("Area", FieldType::Float)
      << FieldDef::make("Text", FieldType::Memo);
    ds.setFieldDefs(f);
    ds.createDataSet();
    ds.appendRecord({QStringLiteral("A<b>&\"c'\\"), 8.800000000000001, QStringLiteral("l1\r\nl2\t.")});
    ds.appendRecord({QVariant(), 5.0, QVariant()});
    const QByteArray got = DataPacket::save(ds, DataPacket::Encoding::Ansi);
    const QByteArray want =
        "<?xml version=\"1.0\" standalone=\"yes\"?>  <DATAPACKET Version=\"2.0\"><METADATA><FIELDS>"
        "<FIELD attrname=\"Name\" fieldtype=\"string\" WIDTH=\"24\"/><FIELD attrname=\"Area\" fieldtype=\"r8\"/>"
        "<FIELD attrname=\"Text\" fieldtype=\"bin.hex\" SUBTYPE=\"Text\"/></FIELDS><PARAMS/></METADATA><ROWDATA>"
        "<ROW Name=\"A&lt;b&gt;&amp;&quot;c&apos;&#092;\" Area=\"8.800000000000001\" "
        "Text=\"l1&#013;&#010;l2&#009;.\"/><ROW Area=\"5\"/></ROWDATA></DATAPACKET>";
    QVERIFY(sameBytes(got, want));

    DataSet empty;
    empty.setFieldDefs({FieldDef::make("x", FieldType::Int32)});
    empty.createDataSet();
    QVERIFY(DataPacket::save(empty).endsWith("<PARAMS/></METADATA><ROWDATA></ROWDATA></DATAPACKET>"));
}

void TestDataPacket::roundTripsEveryType_data()
{
    QTest::addColumn<int>("encoding");
    QTest::newRow("utf8") << int(DataPacket::Encoding::Utf8);
    QTest::newRow("ansi") << int(DataPacket::Encoding::Ansi);
}

void TestDataPacket::roundTripsEveryType()
{
    QFETCH(int, encoding);
    DataSet src;
    src.setFieldDefs(allTypes());
    src.createDataSet();
    const QString memo = QStringLiteral("CR LF\r\nTAB\t<>&\"' \\ é € 日本");
    const QDateTime withMs = naiveDateTime(QDate(1899, 12, 30), QTime(23, 59, 58, 123));
    src.appendRecord({QVariant(), QStringLiteral("Müller"), QStringLiteral("Ωmega 日本"), -2147483647,
                      Q_INT64_C(9007199254740993), double(1.0e38f), true, QDate(1, 1, 1), QTime(10, 0, 0, 5), withMs,
                      memo, QByteArray("\x00\x01\xff", 3)});
    src.appendRecord({QVariant(), QString(), QVariant(), 0, QVariant(), -0.000123456789012345, false,
                      QVariant(), QVariant(), QVariant(), QString(), QVariant()});

    DataSet dst;
    const QByteArray bytes = roundTrip(src, dst, DataPacket::Encoding(encoding));
    QVERIFY2(QXmlStreamReader(bytes).readNextStartElement(), "an XML reader accepts the packet");
    QCOMPARE(dst.recordCount(), 2);
    QCOMPARE(dst.fieldCount(), src.fieldCount());
    for (int f = 0; f < src.fieldCount(); ++f) {
        QCOMPARE(dst.field(f).name, src.field(f).name);
        QCOMPARE(dst.field(f).type, src.field(f).type);
        QCOMPARE(dst.field(f).size, src.field(f).size);
    }
    const bool ansi = encoding == int(DataPacket::Encoding::Ansi);
    for (int r = 0; r < 2; ++r) {
        for (int f = 0; f < src.fieldCount(); ++f) {
            const QVariant a = src.rowValue(r, f), b = dst.rowValue(r, f);
            QVERIFY2(a.isValid() == b.isValid(), qPrintable(src.field(f).name));
            if (a.isValid())
                QVERIFY2(a == b, qPrintable(QStringLiteral("row %1 field %2: %3 vs %4")
                                                .arg(r)
                                                .arg(src.field(f).name, a.toString(), b.toString())));
        }
    }
    // The over-range mark comes back as exactly the same number.
    QCOMPARE(dst.rowValue(0, "r").toDouble(), double(1.0e38f));
    QCOMPARE(dst.rowValue(0, "id").toLongLong(), 1);
    QCOMPARE(dst.autoIncNext(), 3);
    if (ansi) // Non-ANSI characters travel as character references.
        QVERIFY(bytes.contains("&#26085;&#26412;"));
}

void TestDataPacket::nullVersusEmpty()
{
    const QByteArray packet =
        "<?xml version=\"1.0\" standalone=\"yes\"?>  <DATAPACKET Version=\"2.0\"><METADATA><FIELDS>"
        "<FIELD attrname=\"s\" fieldtype=\"string\" WIDTH=\"5\"/><FIELD attrname=\"n\" fieldtype=\"i4\"/>"
        "<FIELD attrname=\"d\" fieldtype=\"date\"/><FIELD attrname=\"b\" fieldtype=\"boolean\"/>"
        "<FIELD attrname=\"m\" fieldtype=\"bin.hex\" SUBTYPE=\"Text\"/></FIELDS><PARAMS/></METADATA><ROWDATA>"
        "<ROW s=\"\" n=\"\" d=\"\" b=\"\" m=\"\"/><ROW/></ROWDATA></DATAPACKET>";
    DataSet ds;
    QString err;
    QVERIFY2(DataPacket::load(ds, packet, &err), qPrintable(err));
    QCOMPARE(ds.recordCount(), 2);
    // An empty attribute is an empty text but a null number, date or boolean.
    QVERIFY(ds.rowValue(0, "s").isValid());
    QCOMPARE(ds.rowValue(0, "s").toString(), QString());
    QVERIFY(ds.rowValue(0, "m").isValid());
    QVERIFY(!ds.rowValue(0, "n").isValid());
    QVERIFY(!ds.rowValue(0, "d").isValid());
    QVERIFY(!ds.rowValue(0, "b").isValid());
    // A missing attribute is null for every type, and stays absent when written.
    QVERIFY(!ds.rowValue(1, "s").isValid());
    const QByteArray again = DataPacket::save(ds, DataPacket::Encoding::Ansi);
    QVERIFY(again.contains("<ROW s=\"\" m=\"\"/><ROW/>"));
}

void TestDataPacket::dateTimeColumnMixesMidnightAndMilliseconds()
{
    const QByteArray packet = "<?xml version=\"1.0\" standalone=\"yes\"?>  <DATAPACKET Version=\"2.0\"><METADATA>"
                              "<FIELDS><FIELD attrname=\"dt\" fieldtype=\"dateTime\"/></FIELDS><PARAMS/></METADATA>"
                              "<ROWDATA><ROW dt=\"20261211\"/><ROW dt=\"20261211T13:05:07250\"/></ROWDATA>"
                              "</DATAPACKET>";
    DataSet ds;
    QString err;
    QVERIFY2(DataPacket::load(ds, packet, &err), qPrintable(err));
    QCOMPARE(ds.rowValue(0, 0).toDateTime(), naiveDateTime(QDate(2026, 12, 11), QTime(0, 0)));
    QCOMPARE(ds.rowValue(1, 0).toDateTime(), naiveDateTime(QDate(2026, 12, 11), QTime(13, 5, 7, 250)));
    const QByteArray again = DataPacket::save(ds, DataPacket::Encoding::Ansi);
    QVERIFY(again.contains("<ROW dt=\"20261211\"/><ROW dt=\"20261211T13:05:07250\"/>"));
}

void TestDataPacket::valueForms_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole") << 5.0 << "5";
    QTest::newRow("16 digits") << 8.800000000000001 << "8.800000000000001";
    QTest::newRow("over-range") << 1.0e38 << "1E38";
    QTest::newRow("small") << 1.5e-7 << "1.5E-7";
    QTest::newRow("negative") << -85.25 << "-85.25";
}

void TestDataPacket::valueForms()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(DataPacket::formatFloat(value), text);
    bool ok = false;
    QCOMPARE(DataPacket::parseValue(FieldType::Float, text, &ok).toDouble(), value);
    QVERIFY(ok);
}

void TestDataPacket::encodingIsDecidedFromTheBytes_data()
{
    QTest::addColumn<QByteArray>("prolog");
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QString>("expected");
    const QByteArray ansi = "<?xml version=\"1.0\" standalone=\"yes\"?>";
    const QByteArray utf8 = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>";
    QTest::newRow("1252 without declaration") << ansi << QByteArray("\x80 caf\xe9 \x93q\x94") << QString::fromUtf8("€ café “q”");
    QTest::newRow("UTF-8 declared") << utf8 << QByteArray("caf\xc3\xa9 \xe2\x82\xac") << QString::fromUtf8("café €");
    QTest::newRow("declared UTF-8 but invalid") << utf8 << QByteArray("caf\xe9") << QString::fromUtf8("café");
    QTest::newRow("four-byte sequence means ANSI")
        << utf8 << QByteArray("\xf0\x9f\x98\x80") << TextCodec::fromWindows1252("\xf0\x9f\x98\x80");
    QTest::newRow("BOM without declaration")
        << QByteArray("\xef\xbb\xbf") + ansi << QByteArray("\xc3\xa9") << QString::fromUtf8("é");
    QTest::newRow("undeclared UTF-8 bytes are ANSI") << ansi << QByteArray("\xc3\xa9") << QString::fromUtf8("Ã©");
}

void TestDataPacket::encodingIsDecidedFromTheBytes()
{
    QFETCH(QByteArray, prolog);
    QFETCH(QByteArray, value);
    QFETCH(QString, expected);
    const QByteArray packet = prolog + "  <DATAPACKET Version=\"2.0\"><METADATA><FIELDS><FIELD attrname=\"s\" "
                                       "fieldtype=\"string\" WIDTH=\"40\"/></FIELDS><PARAMS/></METADATA><ROWDATA>"
                                       "<ROW s=\"" +
                              value + "\"/></ROWDATA></DATAPACKET>";
    DataSet ds;
    QString err;
    QVERIFY2(DataPacket::load(ds, packet, &err), qPrintable(err));
    QCOMPARE(ds.rowValue(0, 0).toString(), expected);
}

void TestDataPacket::rowStateFilterAndChangeLog()
{
    // Rows 1 and 2 inserted, row 3 deleted, row 4 modifies row 1, row 5 flagged 0x20.
    const QByteArray packet =
        "<?xml version=\"1.0\" standalone=\"yes\"?>  <DATAPACKET Version=\"2.0\"><METADATA><FIELDS>"
        "<FIELD attrname=\"n\" fieldtype=\"string\" WIDTH=\"9\"/></FIELDS>"
        "<PARAMS CHANGE_LOG=\"1 0 4 2 0 4 3 0 2 4 1 8\" LCID=\"2057\"/></METADATA><ROWDATA>"
        "<ROW RowState=\"5\" n=\"first\"/><ROW RowState=\"4\" n=\"second\"/><ROW RowState=\"2\" n=\"gone\"/>"
        "<ROW RowState=\"12\" n=\"first*\"/><ROW RowState=\"32\" n=\"unused\"/><ROW n=\"plain\"/>"
        "</ROWDATA></DATAPACKET>";
    DataSet ds;
    QString err;
    QVERIFY2(DataPacket::load(ds, packet, &err), qPrintable(err));
    QCOMPARE(ds.recordCount(), 3);
    // The modified version stands where the row it modifies stood.
    QCOMPARE(ds.rowValue(0, 0).toString(), QStringLiteral("first*"));
    QCOMPARE(ds.rowValue(1, 0).toString(), QStringLiteral("second"));
    QCOMPARE(ds.rowValue(2, 0).toString(), QStringLiteral("plain"));
    QCOMPARE(ds.changeCount(), 4);
    ds.mergeChangeLog();
    QCOMPARE(ds.changeCount(), 0);
    // Saved merged: no row states and no change log, the other PARAMS kept.
    const QByteArray out = DataPacket::save(ds, DataPacket::Encoding::Ansi);
    QVERIFY(!out.contains("RowState"));
    QVERIFY(!out.contains("CHANGE_LOG"));
    QVERIFY(out.contains("<PARAMS LCID=\"2057\"/>"));
}

void TestDataPacket::fixturesLoadFieldForField_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("fields");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::newRow("country: modified row first") << "jvdbgrid_country_utf8.xml" << 18 << 6 << 0 << "Text"
                                                 << "This is memo line 1\r\nThis is memo line 2\r\nThis is memo "
                                                    "line 3\r\nThis is memo line 4\r\n";
    QTest::newRow("country: last row") << "jvdbgrid_country_utf8.xml" << 18 << 6 << 17 << "Name" << "Venezuela";
    QTest::newRow("customers: apostrophe") << "radstudio104demos_custoly.xml" << 30 << 14 << 1 << "Address1"
                                           << "Via Dell'Anguillara 10";
    QTest::newRow("customers: autoinc") << "radstudio104demos_custoly.xml" << 30 << 14 << 29 << "CustNo" << "30";
    QTest::newRow("vendors: boolean") << "radstudio104demos_vendors.xml" << 23 << 11 << 0 << "Preferred" << "true";
    QTest::newRow("vendors: float key") << "radstudio104demos_vendors.xml" << 23 << 11 << 22 << "VendorNo" << "7685";
}

void TestDataPacket::fixturesLoadFieldForField()
{
    QFETCH(QString, file);
    if (!QFile::exists(fixture(file)))
        QSKIP("shared fixtures not present");
    QFETCH(int, rows);
    QFETCH(int, fields);
    QFETCH(int, row);
    QFETCH(QString, field);
    QFETCH(QString, value);
    DataSet ds;
    QString err;
    QVERIFY2(ds.loadFromFile(fixture(file), &err), qPrintable(err));
    QCOMPARE(ds.recordCount(), rows);
    QCOMPARE(ds.fieldCount(), fields);
    QCOMPARE(ds.rowValue(row, field).toString(), value);
}

void TestDataPacket::fixturesSurviveOurWriter()
{
    const QStringList files = {"jvdbgrid_country_utf8.xml", "radstudio104demos_custoly.xml",
                               "radstudio104demos_vendors.xml"};
    for (const QString& file : files) {
        if (!QFile::exists(fixture(file)))
            QSKIP("shared fixtures not present");
        DataSet a, b;
        QString err;
        QVERIFY2(a.loadFromFile(fixture(file), &err), qPrintable(err));
        for (auto enc : {DataPacket::Encoding::Ansi, DataPacket::Encoding::Utf8}) {
            QVERIFY(DataPacket::load(b, DataPacket::save(a, enc), &err));
            QCOMPARE(b.storedRows(), a.storedRows());
            for (int f = 0; f < a.fieldCount(); ++f) {
                QCOMPARE(b.field(f).type, a.field(f).type);
                QCOMPARE(b.field(f).size, a.field(f).size);
            }
        }
    }
    // A packet the other writer produced without changes comes back byte for byte.
    QFile f(fixture("radstudio104demos_vendors.xml"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray original = f.readAll();
    DataSet ds;
    QVERIFY(DataPacket::load(ds, original, nullptr));
    QVERIFY(sameBytes(DataPacket::save(ds, DataPacket::Encoding::Ansi), original));
}

void TestDataPacket::badPacketsLeaveTheTableAsItWas_data()
{
    QTest::addColumn<QByteArray>("packet");
    QTest::addColumn<QString>("mentions");
    const QByteArray good = "<?xml version=\"1.0\" standalone=\"yes\"?>  <DATAPACKET Version=\"2.0\"><METADATA>"
                            "<FIELDS><FIELD attrname=\"n\" fieldtype=\"i4\"/></FIELDS><PARAMS/></METADATA><ROWDATA>"
                            "<ROW n=\"1\"/><ROW n=\"2\"/></ROWDATA></DATAPACKET>";
    QTest::newRow("cut in a row") << good.left(good.indexOf("<ROW n=\"2\"") + 6) << "column";
    QTest::newRow("cut after a row") << good.left(good.indexOf("</ROWDATA>")) << "column";
    QTest::newRow("not a number") << QByteArray(good).replace("n=\"2\"", "n=\"two\"") << "'two'";
    QTest::newRow("unknown type") << QByteArray(good).replace("\"i4\"", "\"nested\"") << "nested";
    QTest::newRow("field declared twice")
        << QByteArray(good).replace("<FIELD attrname=\"n\" fieldtype=\"i4\"/>",
                                    "<FIELD attrname=\"n\" fieldtype=\"i4\"/><FIELD attrname=\"n\" fieldtype=\"r8\"/>")
        << "twice";
    QTest::newRow("field after the rows")
        << QByteArray(good).replace("<ROW n=\"2\"/>", "<ROW n=\"2\"/><FIELD attrname=\"m\" fieldtype=\"i4\"/>")
        << "ROWDATA";
    QTest::newRow("other XML") << QByteArray("<?xml version=\"1.0\"?><html><body/></html>") << "DATAPACKET";
    QTest::newRow("binary garbage") << QByteArray("\x00\x01\x02\xff\xfe garbage", 14) << "line";
    QTest::newRow("empty") << QByteArray() << "line";
}

void TestDataPacket::badPacketsLeaveTheTableAsItWas()
{
    QFETCH(QByteArray, packet);
    QFETCH(QString, mentions);
    DataSet ds;
    ds.setFieldDefs({FieldDef::make("n", FieldType::Int32)});
    ds.createDataSet();
    ds.appendRecord({42});
    QString err;
    QVERIFY(!DataPacket::load(ds, packet, &err));
    QVERIFY2(err.contains(QLatin1String("line")), qPrintable(err));
    QVERIFY2(err.contains(mentions), qPrintable(err));
    QCOMPARE(ds.recordCount(), 1);
    QCOMPARE(ds.rowValue(0, 0).toInt(), 42);
}

void TestDataPacket::unsafeAndCollidingNamesStayReadable()
{
    DataSet ds;
    ds.setFieldDefs({FieldDef::make("a b", FieldType::Int32), FieldDef::make("a_b", FieldType::Int32),
                     FieldDef::make("1st", FieldType::Int32)});
    ds.createDataSet();
    ds.appendRecord({1, 2, 3});
    const QByteArray bytes = DataPacket::save(ds);
    QVERIFY(bytes.contains("<FIELD fieldname=\"a b\" attrname=\"a_b\""));
    QVERIFY(bytes.contains("<FIELD fieldname=\"a_b\" attrname=\"a_b_2\""));
    QVERIFY(bytes.contains("<FIELD fieldname=\"1st\" attrname=\"_1st\""));
    DataSet back;
    QString err;
    QVERIFY2(DataPacket::load(back, bytes, &err), qPrintable(err));
    QCOMPARE(back.field(0).name, QStringLiteral("a b"));
    QCOMPARE(back.rowValue(0, "a_b").toInt(), 2);
    QCOMPARE(back.rowValue(0, "1st").toInt(), 3);
}

void TestDataPacket::binaryWorkingFormIsExact()
{
    QTemporaryDir dir;
    DataSet src;
    src.setFieldDefs(allTypes());
    src.createDataSet();
    src.appendRecord({QVariant(), QStringLiteral("x"), QStringLiteral("日本"), 7, Q_INT64_C(-1), 0.1 + 0.2, true,
                      QDate(2026, 2, 28), QTime(0, 0), naiveDateTime(QDate(2026, 3, 29), QTime(2, 30)),
                      QStringLiteral("a\r\nb"), QByteArray(300, '\xAB')});
    const QString path = dir.filePath("temp.dat");
    QString err;
    QVERIFY2(src.saveToFile(path, &err), qPrintable(err));
    DataSet dst;
    QVERIFY2(dst.loadFromFile(path, &err), qPrintable(err));
    QCOMPARE(dst.storedRows(), src.storedRows());
    QCOMPARE(dst.rowValue(0, "r").toDouble(), 0.1 + 0.2);

    // A cut file is refused and names the file.
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadWrite));
    f.resize(f.size() - 10);
    f.close();
    DataSet other;
    QVERIFY(!other.loadFromFile(path, &err));
    QVERIFY2(err.contains(QDir::toNativeSeparators(path)), qPrintable(err));
}

void TestDataPacket::fileErrorsNameTheFile()
{
    QTemporaryDir dir;
    DataSet ds;
    QString err;
    const QString missing = dir.filePath("missing.xml");
    QVERIFY(!ds.loadFromFile(missing, &err));
    QVERIFY2(err.contains(QDir::toNativeSeparators(missing)), qPrintable(err));

    ds.setFieldDefs({FieldDef::make("n", FieldType::Int32)});
    ds.createDataSet();
    ds.appendRecord({1});
    const QString path = dir.filePath("keep.xml");
    // A folder that cannot exist (its parent is a file) fails for every user.
    QVERIFY(ds.saveToFile(path, &err));
    const QString impossible = path + QStringLiteral("/sub.xml");
    QVERIFY(!ds.saveToFile(impossible, &err));
    QVERIFY2(err.contains(QDir::toNativeSeparators(impossible)), qPrintable(err));

    // A failed save leaves the previous file untouched.
    QVERIFY(ds.saveToFile(path, &err));
    const QByteArray before = [&] {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    ds.appendRecord({2});
    const bool saved = ds.saveToFile(path, &err);
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (saved)
        QSKIP("running with rights that ignore directory permissions");
    QVERIFY2(err.contains(QDir::toNativeSeparators(path)), qPrintable(err));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), before);
}

QTEST_GUILESS_MAIN(TestDataPacket)
#include "tst_datapacket.moc"
