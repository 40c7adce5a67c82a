#include "data/DataFilesController.h"
#include "data/DataPacket.h"
#include "data/DataSet.h"
#include "data/DisplayFormat.h"
#include "data/SonvexDataModule.h"
#include "data/TextCodec.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace sonvex;

namespace {

const QLocale kGB(QLocale::English, QLocale::UnitedKingdom);

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& b)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(b);
}

// A download text with `n` measurements, as the printout parser writes it (CR LF lines).
QByteArray downloadText(int n, const QByteArray& note3 = "")
{
    QByteArray t = "noxTag measurements\r\n"
                   "Downloaded on 07/12/2026 at 16:02 using reader RM:50A ser. #0412 (Recal.Due 01/06/2027)\r\n"
                   "\r\n"
                   "#\tNotes\tCursor1Pos\tCursor2Pos\tnoxTag\tRun Time\tLeq dBA\tDose %\tMeas.Time\tDual\tDualTH\t"
                   "THCh1\tTHPeak\tTHBatt\tTHCh2\r\n";
    for (int i = 1; i <= n; ++i)
        t += QByteArray::number(i) + "\t" + (i == 3 ? note3 : QByteArray()) + "\t\t\tB10" + QByteArray::number(i) +
             "\t08:00:00\t8" + QByteArray::number(i) + ".0\t" + QByteArray::number(10 * i) +
             "\t07:30:00 07/12/2026\tno\tno\r\n";
    t += "Date format: dd/mm/yyyy\r\nTime format: hh:nn\r\n";
    return t;
}

struct Fixture
{
    QTemporaryDir dir;
    Tdm dm;
    DataFilesController files{dm};
    QStringList messages;
    QString chooseResult;
    bool retryAnswer = false;
    bool confirmAnswer = true;

    Fixture()
    {
        QDir(dir.path()).mkdir("docs");
        files.setFolders(dir.filePath("docs"), dir.filePath("data"));
        files.setUserFormats(UserFormats::fromLocale(kGB));
        files.setToday([] { return QDate(2010, 3, 5); });
        DataFilesController::Ui ui;
        ui.information = [this](const QString& t) { messages << "info: " + t; };
        ui.warning = [this](const QString& t) { messages << "warning: " + t; };
        ui.error = [this](const QString& t) { messages << "error: " + t; };
        ui.chooseFolder = [this](const QString&) { return chooseResult; };
        ui.retry = [this](const QString& t) {
            messages << "retry: " + t;
            bool r = retryAnswer;
            retryAnswer = false; // answer once, then cancel
            return r;
        };
        ui.confirm = [this](const QString& t) {
            messages << "confirm: " + t;
            return confirmAnswer;
        };
        files.setUi(ui);
    }
    QString path(const QString& name) const { return dir.filePath(name); }
    DataSet* t() { return dm.CDSMeas(); }
    QStringList badges()
    {
        QStringList out;
        for (int r = 0; r < t()->recordCount(); ++r)
            out << t()->rowValue(r, "badge").toString();
        return out;
    }
};

} // namespace

class TestDataFiles : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { DisplayFormat::setLocale(kGB); }
    void automaticFileNamesAndFolderNote();
    void unwritableDataFolderAsksForAnother();
    void editingANoteChangesOnlyThatNote();
    void cursorsAreWrittenBackEvenWhenReadOnly();
    void rawPrintoutOpensAndANoteCreatesTheDataFile();
    void olderTextFileGetsNotesAndCursorColumns();
    void xmlInAKvntmFile();
    void deleteTwoOfFive();
    void saveSelectionOfTwo();
    void selectionFollowsReadOrderNotPosition();
    void saveSelectionOfXmlData();
    void slmFile();
    void vanishedFileEmptiesTheTable();
    void recentFiles();
    void windows1252Preserved();
    void badInputNeverAltersTheFile_data();
    void badInputNeverAltersTheFile();
};

void TestDataFiles::automaticFileNamesAndFolderNote()
{
    Fixture fx;
    const QStringList lines = QString::fromLatin1(downloadText(2)).split("\r\n", Qt::SkipEmptyParts);
    const auto first = fx.files.acceptDownload(lines);
    QVERIFY(first);
    QCOMPARE(QFileInfo(*first).fileName(), QStringLiteral("05032010_00000.kvntm"));
    QCOMPARE(fx.files.currentDataFile(), *first);
    const auto second = fx.files.AutoSaveDownload(lines);
    QVERIFY(second);
    QCOMPARE(QFileInfo(*second).fileName(), QStringLiteral("05032010_00001.kvntm"));
    QCOMPARE(readBytes(fx.path("data/readme.txt")),
             QByteArray("Sonvex data folder.  Please ensure that the data in these files is not needed before "
                        "deleting them\r\n"));
    // The file is the download text with CR LF lines and the two format lines, once.
    const QByteArray saved = readBytes(*first);
    QVERIFY(saved.startsWith("noxTag measurements\r\nDownloaded on"));
    QCOMPARE(saved.count("Date format: dd/mm/yyyy\r\n"), 1);
    QVERIFY(saved.endsWith("Time format: hh:nn\r\n"));
    QCOMPARE(fx.t()->recordCount(), 2);
}

void TestDataFiles::unwritableDataFolderAsksForAnother()
{
    Fixture fx;
    writeBytes(fx.path("blocker"), "a file, not a folder");
    fx.files.setFolders(fx.path("docs"), fx.path("blocker/data")); // cannot be created, even by root
    QDir(fx.dir.path()).mkdir("elsewhere");
    QSignalSpy folder(&fx.files, &DataFilesController::dataFolderChanged);

    // Cancel, then Retry, then a folder.
    fx.retryAnswer = true;
    fx.chooseResult.clear();
    int asked = 0;
    DataFilesController::Ui ui;
    ui.information = [&](const QString& t) { fx.messages << "info: " + t; };
    ui.chooseFolder = [&](const QString&) { return ++asked == 1 ? QString() : fx.path("elsewhere"); };
    ui.retry = [&](const QString&) { return true; };
    fx.files.setUi(ui);
    const auto name = fx.files.AutoSaveDownload({"#\tnoxTag", "1\tB"});
    QVERIFY(name);
    QCOMPARE(QFileInfo(*name).absolutePath(), fx.path("elsewhere"));
    QCOMPARE(folder.count(), 1);
    QVERIFY(fx.messages.first().contains("Sonvex could not write to the data folder."));

    // Cancel and Cancel: nothing saved.
    Fixture fy;
    writeBytes(fy.path("blocker"), "x");
    fy.files.setFolders(fy.path("docs"), fy.path("blocker/data"));
    QVERIFY(!fy.files.AutoSaveDownload({"#\tnoxTag", "1\tB"}));
    QVERIFY(fy.messages.last().startsWith("retry: A data folder has not been created."));
}

void TestDataFiles::editingANoteChangesOnlyThatNote()
{
    Fixture fx;
    const QByteArray original = downloadText(5);
    writeBytes(fx.path("day.kvntm"), original);
    QVERIFY(fx.files.open(fx.path("day.kvntm")));
    QCOMPARE(fx.t()->recordCount(), 5);
    QCOMPARE(readBytes(fx.path("day.kvntm")), original); // opening never writes

    QVERIFY(fx.t()->locate("read_order", 3));
    fx.t()->edit();
    fx.t()->setValue("notes", QStringLiteral("press shop\tline 2"));
    fx.t()->post();
    QByteArray expected = original;
    expected.replace("3\t\t\t\tB103", "3\tpress shop line 2\t\t\tB103");
    QCOMPARE(readBytes(fx.path("day.kvntm")), expected);

    // Reopened, the note is there.
    QVERIFY(fx.files.open(fx.path("day.kvntm")));
    QVERIFY(fx.t()->locate("read_order", 3));
    QCOMPARE(fx.t()->text("notes"), QStringLiteral("press shop line 2"));
}

void TestDataFiles::cursorsAreWrittenBackEvenWhenReadOnly()
{
    Fixture fx;
    writeBytes(fx.path("ro.kvntm"), downloadText(3));
    QFile::setPermissions(fx.path("ro.kvntm"), QFile::ReadOwner | QFile::ReadGroup);
    QVERIFY(fx.files.open(fx.path("ro.kvntm")));
    QVERIFY(fx.t()->locate("read_order", 2));
    fx.t()->edit();
    fx.t()->setValue("cursor2Time", naiveDateTime(QDate(2026, 12, 7), QTime(15, 0)));
    fx.t()->setValue("cursor1Time", naiveDateTime(QDate(2026, 12, 7), QTime(9, 30, 5)));
    fx.t()->post();
    const QByteArray now = readBytes(fx.path("ro.kvntm"));
    QVERIFY2(now.contains("2\t\t07/12/2026 09:30:05\t07/12/2026 15:00:00\tB102"), now.constData());
    // Cursor 2 alone reaches the file too.
    fx.t()->edit();
    fx.t()->setValue("cursor2Time", naiveDateTime(QDate(2026, 12, 7), QTime(15, 45)));
    QVERIFY(!readBytes(fx.path("ro.kvntm")).contains("15:45:00")); // written once posted
    fx.t()->post();
    QVERIFY(readBytes(fx.path("ro.kvntm")).contains("2\t\t07/12/2026 09:30:05\t07/12/2026 15:45:00\tB102"));
    fx.t()->edit();
    fx.t()->setValue("cursor2Time", naiveDateTime(QDate(2026, 12, 7), QTime(15, 0)));
    fx.t()->post();
    // They are read back from the file.
    QVERIFY(fx.files.open(fx.path("ro.kvntm")));
    QVERIFY(fx.t()->locate("read_order", 2));
    QCOMPARE(fx.t()->value("cursor1Time").toDateTime(), naiveDateTime(QDate(2026, 12, 7), QTime(9, 30, 5)));
    QCOMPARE(fx.t()->value("cursor2Time").toDateTime(), naiveDateTime(QDate(2026, 12, 7), QTime(15, 0)));
}

void TestDataFiles::rawPrintoutOpensAndANoteCreatesTheDataFile()
{
    Fixture fx;
    const QByteArray raw = "a raw printout\r\n";
    writeBytes(fx.path("capture.prt"), raw);
    QDateTime seenTime;
    fx.files.setPrintoutParser([&](const QStringList& lines, const QDateTime& when) {
        seenTime = when;
        Q_UNUSED(lines);
        return QString::fromLatin1(downloadText(2)).split("\r\n", Qt::SkipEmptyParts);
    });
    QVERIFY(fx.files.open(fx.path("capture.prt"), DataFilesController::PrintDataFilter));
    QCOMPARE(seenTime, QFileInfo(fx.path("capture.prt")).lastModified());
    QCOMPARE(fx.badges(), (QStringList{"B101", "B102"}));
    QCOMPARE(fx.files.currentDataFile(), fx.path("capture.kvntm"));
    QVERIFY(!QFile::exists(fx.path("capture.kvntm")));
    fx.t()->first();
    fx.t()->setValue("notes", QStringLiteral("x"));
    fx.t()->post();
    QVERIFY(QFile::exists(fx.path("capture.kvntm")));
    QCOMPARE(readBytes(fx.path("capture.prt")), raw);
}

void TestDataFiles::olderTextFileGetsNotesAndCursorColumns()
{
    Fixture fx;
    writeBytes(fx.path("old.txt"), "noxTag measurements\r\n\r\n#\tnoxTag\tRun Time\tLeq dBA\r\n"
                                   "1\tB1\t08:00:00\t85.0\r\n2\tB2\t04:00:00\t91.0\r\n");
    QVERIFY(fx.files.open(fx.path("old.txt"), DataFilesController::OlderDataFilesFilter));
    QCOMPARE(fx.files.headerNames(),
             (QStringList{"#", "Notes", "Cursor1Pos", "Cursor2Pos", "noxTag", "Run Time", "Leq dBA"}));
    QCOMPARE(fx.files.dataFileLines().at(3), QStringLiteral("1\t\t\t\tB1\t08:00:00\t85.0"));
    QCOMPARE(fx.badges(), (QStringList{"B1", "B2"}));
    QVERIFY(fx.t()->locate("read_order", 2));
    QCOMPARE(fx.t()->text("notes"), QString());
    QCOMPARE(fx.t()->value("leq").toDouble(), 91.0);
    QCOMPARE(fx.files.currentDataFile(), fx.path("old.txt"));
}

void TestDataFiles::xmlInAKvntmFile()
{
    Fixture fx;
    {
        Tdm src;
        src.createMeasTable();
        src.CDSMeas()->appendRecord({1, QStringLiteral("X1")});
        src.CDSMeas()->appendRecord({2, QStringLiteral("X2")});
        QVERIFY(src.CDSMeas()->saveToFile(fx.path("packet.kvntm")));
    }
    QSignalSpy loaded(&fx.files, &DataFilesController::dataLoaded);
    QVERIFY(fx.files.open(fx.path("packet.kvntm")));
    QVERIFY(fx.files.xmlDataLoaded());
    QCOMPARE(fx.badges(), (QStringList{"X1", "X2"}));
    QCOMPARE(loaded.count(), 1);
    QCOMPARE(loaded.first().first().value<DataLoadedInfo>().receivedText,
             QStringLiteral("2 measurements have been received."));

    fx.t()->last();
    fx.t()->edit();
    fx.t()->setValue("notes", QStringLiteral("written after the post"));
    QVERIFY(!readBytes(fx.path("packet.kvntm")).contains("written after the post"));
    fx.t()->post();
    QVERIFY(readBytes(fx.path("packet.kvntm")).contains("notes=\"written after the post\""));
    Tdm check;
    QVERIFY(check.LoadXmlMeasurements(fx.path("packet.kvntm"), fx.path("docs")));
    QCOMPARE(check.CDSMeas()->recordCount(), 2);

    // A packet that holds something else is refused with the message.
    DataSet other;
    other.setFieldDefs({FieldDef::make("city", FieldType::String, 9)});
    other.createDataSet();
    QVERIFY(other.saveToFile(fx.path("other.xml")));
    QVERIFY(!fx.files.open(fx.path("other.xml")));
    QVERIFY(fx.messages.last().contains("The .xml datafile could not be opened"));
}

void TestDataFiles::deleteTwoOfFive()
{
    Fixture fx;
    const QByteArray original = downloadText(5);
    writeBytes(fx.path("five.kvntm"), original);
    QVERIFY(fx.files.open(fx.path("five.kvntm")));
    fx.confirmAnswer = false;
    QVERIFY(!fx.files.deleteSelected({1, 3}));
    QCOMPARE(fx.t()->recordCount(), 5);
    fx.confirmAnswer = true;
    QVERIFY(fx.files.deleteSelected({1, 3}));
    QVERIFY(fx.messages.last().contains("(They will be deleted from Sonvex, but not from the instrument's memory)"));
    QCOMPARE(readBytes(fx.path("five.kvntm")), original);
    QCOMPARE(fx.badges(), (QStringList{"B101", "B103", "B105"}));
    QCOMPARE(fx.files.currentDataFile(), fx.path("data/05032010_00000.kvntm"));
    const QByteArray rest = readBytes(fx.files.currentDataFile());
    QVERIFY(rest.contains("\r\n3\t\t\t\tB103"));
    QVERIFY(!rest.contains("B102"));

    // Deleting everything leaves no data.
    QSignalSpy none(&fx.files, &DataFilesController::noData);
    QVERIFY(fx.files.deleteSelected({0, 1, 2}));
    QCOMPARE(fx.t()->recordCount(), 0);
    QCOMPARE(none.count(), 1);
}

void TestDataFiles::saveSelectionOfTwo()
{
    Fixture fx;
    writeBytes(fx.path("five.kvntm"), downloadText(5));
    QVERIFY(fx.files.open(fx.path("five.kvntm")));
    QVERIFY(!fx.files.saveSelected(fx.path("none.kvntm"), {}));
    QVERIFY(fx.messages.last().contains("No measurements are selected."));
    QVERIFY(fx.files.saveSelected(fx.path("two.kvntm"), {0, 4}));
    const QList<QByteArray> lines = readBytes(fx.path("two.kvntm")).split('\n');
    QCOMPARE(lines.size(), 9); // title, downloaded, empty, header, 2 rows, 2 format lines, end
    QVERIFY(lines.at(1).startsWith("Downloaded on"));
    QVERIFY(lines.at(3).startsWith("#\tNotes"));
    QVERIFY(lines.at(4).startsWith("1\t"));
    QVERIFY(lines.at(5).startsWith("5\t"));
    QCOMPARE(lines.at(6), QByteArray("Date format: dd/mm/yyyy\r"));
    QCOMPARE(fx.badges(), (QStringList{"B101", "B105"}));
    QCOMPARE(fx.files.currentDataFile(), fx.path("two.kvntm"));
    QCOMPARE(fx.files.recentFiles().first(), fx.path("two.kvntm"));
    QCOMPARE(fx.files.saveFolder(), fx.dir.path());
}

void TestDataFiles::selectionFollowsReadOrderNotPosition()
{
    // Lines out of read order, an empty line and a duplicate read order.
    Fixture fx;
    writeBytes(fx.path("mixed.kvntm"), "t\r\n#\tNotes\tnoxTag\r\n3\t\tC\r\n\r\n1\t\tA\r\n2\t\tB1\r\n2\t\tB2\r\n");
    QVERIFY(fx.files.open(fx.path("mixed.kvntm")));
    QCOMPARE(fx.badges(), (QStringList{"A", "B1", "B2", "C"}));
    QVERIFY(fx.files.saveSelected(fx.path("sel.kvntm"), {2, 3})); // B2 and C
    QCOMPARE(fx.badges(), (QStringList{"B2", "C"}));
    const QByteArray saved = readBytes(fx.path("sel.kvntm"));
    QVERIFY2(saved.contains("Cursor2Pos\tnoxTag\r\n2\t\t\t\tB2\r\n3\t\t\t\tC\r\n"), saved); // table order
    QVERIFY(!saved.contains("B1"));
}

void TestDataFiles::saveSelectionOfXmlData()
{
    Fixture fx;
    {
        Tdm src;
        src.createMeasTable();
        for (int i = 1; i <= 3; ++i)
            src.CDSMeas()->appendRecord({i, QStringLiteral("P%1").arg(i)});
        QVERIFY(src.CDSMeas()->saveToFile(fx.path("p.xml")));
    }
    QVERIFY(fx.files.open(fx.path("p.xml")));
    QVERIFY(fx.files.saveSelected(fx.path("sel.kvntm"), {1}));
    QVERIFY(readBytes(fx.path("sel.kvntm")).startsWith("<?xml"));
    QCOMPARE(fx.badges(), (QStringList{"P2"}));
    QVERIFY(fx.files.open(fx.path("p.xml")));
    QVERIFY(fx.files.deleteSelected({0}));
    QCOMPARE(fx.badges(), (QStringList{"P2", "P3"}));
    QVERIFY(readBytes(fx.files.currentDataFile()).startsWith("<?xml"));
    QCOMPARE(readBytes(fx.path("p.xml")).count("<ROW "), 3);
}

void TestDataFiles::slmFile()
{
    Fixture fx;
    {
        Tdm src;
        src.createSLMTable();
        DataSet* s = src.CDSSLMMeas();
        s->append();
        s->setValue("eventNumber", 7);
        s->setValue("instType", QStringLiteral("SLM-3"));
        s->post();
        QVERIFY(s->saveToFile(fx.path("meter.kvslm")));
    }
    QSignalSpy loaded(&fx.files, &DataFilesController::dataLoaded);
    QVERIFY(fx.files.open(fx.path("meter.kvslm")));
    QCOMPARE(fx.files.dataKind(), 2);
    QCOMPARE(fx.dm.CDSSLMMeas()->recordCount(), 1);
    const auto info = loaded.last().first().value<DataLoadedInfo>();
    QCOMPARE(info.saveName, QStringLiteral("SLM measurements.kvslm"));
    QVERIFY(info.kindChanged);
    QVERIFY(fx.files.saveAll(fx.path("copy.kvslm")));
    QVERIFY(readBytes(fx.path("copy.kvslm")).contains("instType=\"SLM-3\""));
    writeBytes(fx.path("broken.kvslm"), "<?xml version=\"1.0\"?><DATAPACKET");
    QVERIFY(!fx.files.open(fx.path("broken.kvslm")));
    QVERIFY(fx.messages.last().contains("The datafile could not be opened: it may be corrupted."));
}

void TestDataFiles::vanishedFileEmptiesTheTable()
{
    Fixture fx;
    writeBytes(fx.path("a.kvntm"), downloadText(2));
    QVERIFY(fx.files.open(fx.path("a.kvntm")));
    fx.t()->first();
    fx.t()->setValue("notes", QStringLiteral("unsaved in the table"));
    fx.t()->post();
    QVERIFY(QFile::remove(fx.path("a.kvntm")));
    QSignalSpy status(&fx.files, &DataFilesController::statusText);
    QSignalSpy failed(&fx.files, &DataFilesController::openFailed);
    const QStringList recent = fx.files.recentFiles();
    QVERIFY(!fx.files.reopen(0));
    QCOMPARE(fx.t()->recordCount(), 0);
    QCOMPARE(status.count(), 0);
    QCOMPARE(failed.count(), 1);
    QCOMPARE(fx.files.recentFiles(), recent);
    QVERIFY(fx.messages.isEmpty());
    // The earlier contents went to the working file.
    DataSet temp;
    QVERIFY(temp.loadFromFile(fx.path("docs/temp.dat")));
    QCOMPARE(temp.rowValue(0, "notes").toString(), QStringLiteral("unsaved in the table"));
}

void TestDataFiles::recentFiles()
{
    Fixture fx;
    QSignalSpy changed(&fx.files, &DataFilesController::recentFilesChanged);
    for (int i = 1; i <= 6; ++i) {
        writeBytes(fx.path(QStringLiteral("f%1.kvntm").arg(i)), downloadText(1));
        QVERIFY(fx.files.open(fx.path(QStringLiteral("f%1.kvntm").arg(i))));
    }
    QCOMPARE(fx.files.recentFiles().size(), 5);
    QCOMPARE(fx.files.recentFiles().first(), fx.path("f6.kvntm"));
    const QString fourth = fx.files.recentFiles().at(3);
    QVERIFY(fx.files.reopen(3));
    QCOMPARE(fx.files.recentFiles().first(), fourth);
    QCOMPARE(fx.files.recentFiles().size(), 5);
    const QStringList recent = fx.files.recentFiles();
    QCOMPARE(QSet<QString>(recent.begin(), recent.end()).size(), 5);
    QCOMPARE(changed.count(), 7);
}

void TestDataFiles::windows1252Preserved()
{
    Fixture fx;
    const QByteArray original = downloadText(3, "Fa\xe7" "ade \x80 cr\xe8me");
    writeBytes(fx.path("ansi.kvntm"), original);
    QVERIFY(fx.files.open(fx.path("ansi.kvntm")));
    QVERIFY(fx.t()->locate("read_order", 3));
    QCOMPARE(fx.t()->text("notes"), QString::fromUtf8("Façade € crème"));
    fx.t()->first();
    fx.t()->setValue("notes", QStringLiteral("first"));
    fx.t()->post();
    QByteArray expected = original;
    expected.replace("1\t\t\t\tB101", "1\tfirst\t\t\tB101");
    QCOMPARE(readBytes(fx.path("ansi.kvntm")), expected);
}

void TestDataFiles::badInputNeverAltersTheFile_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("records");
    QByteArray garbage(4096, '\0');
    for (int i = 0; i < garbage.size(); ++i)
        garbage[i] = char((i * 7919) % 256);
    QTest::newRow("binary garbage") << garbage << -1;
    QTest::newRow("header without data") << QByteArray("t\r\n#\tnoxTag\tLeq dBA\r\n") << 0;
    QTest::newRow("cut in the middle of a line") << downloadText(3).left(downloadText(3).indexOf("3\t") + 12) << 3;
    QTest::newRow("duplicate read orders") << QByteArray("t\r\n#\tnoxTag\r\n1\tA\r\n1\tB\r\n") << 2;
    QByteArray huge = "t\r\n#\tnoxTag\tTHCh1\r\n1\tB\t";
    huge += QByteArray(50 * 1024 * 1024, '8');
    huge += "\r\n";
    QTest::newRow("50 MB line") << huge << 1;
}

void TestDataFiles::badInputNeverAltersTheFile()
{
    QFETCH(QByteArray, content);
    QFETCH(int, records);
    Fixture fx;
    writeBytes(fx.path("bad.kvntm"), content);
    const QDateTime mtime = QFileInfo(fx.path("bad.kvntm")).lastModified();
    QSignalSpy none(&fx.files, &DataFilesController::noData);
    fx.files.open(fx.path("bad.kvntm"));
    if (records < 0) {
        QCOMPARE(none.count(), 1);
        QCOMPARE(fx.t()->recordCount(), 0);
    } else {
        QCOMPARE(fx.t()->recordCount(), records);
    }
    QCOMPARE(QFileInfo(fx.path("bad.kvntm")).lastModified(), mtime);
    QCOMPARE(readBytes(fx.path("bad.kvntm")).size(), content.size());
}

QTEST_GUILESS_MAIN(TestDataFiles)
#include "tst_datafiles.moc"
