#include "AppTestSupport.h"

#include "app/DataFilesAdapter.h"
#include "data/SonvexDataModule.h"

#include <QAbstractItemModel>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QStackedWidget>
#include <QTableView>
#include <QTest>

using namespace sonvex;
using namespace sonvex::test;

class TestDataFilesAdapter : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void openingAFileFillsTheWindowAndShutDownSaves()
    {
        ShellWorld world;
        auto store = world.newStore();
        auto w = world.newWindow(store.get());
        Tdm dm;
        w->setDataModule(&dm);
        DataFilesAdapter files(dm, w.get());
        w->setDataFiles(&files);

        const QString path = QDir(w->dataFolder).filePath("day.kvntm");
        QVERIFY(QDir().mkpath(w->dataFolder));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("noxTag measurements\r\n\r\n#\tNotes\tCursor1Pos\tCursor2Pos\tnoxTag\tLeq dBA\r\n"
                "1\t\t\t\tB1\t85.0\r\n2\t\t\t\tB2\t91.5\r\n");
        f.close();

        files.openDataFile(path, 1);
        QCOMPARE(w->currentDataFile, path);
        QCOMPARE(w->dataKind, 1);
        QCOMPARE(w->loadedCount, 2);
        QCOMPARE(w->dataFileLines.size(), 5);
        QVERIFY(w->headerNames.contains("noxTag!"));
        QCOMPARE(w->recentFiles().value(0), path);
        QVERIFY(w->statusLabel()->text().startsWith("Data from file: "));
        QCOMPARE(w->pageControlViewData()->currentIndex(), 1); // the data sheet, not the no-data one
        QCOMPARE(w->dataTable()->model()->rowCount(), 2);
        QCOMPARE(dm.CDSMeas()->recordCount(), 2);

        // A file that vanished: the status says so, the window keeps going.
        files.openDataFile(QDir(w->dataFolder).filePath("gone.kvntm"), 1);
        QVERIFY(w->statusLabel()->text().contains("gone.kvntm"));
        QCOMPARE(w->recentFiles().value(0), path);

        files.openDataFile(path, 1);
        w->FormClose();
        QVERIFY(QFile::exists(QDir(w->documentsFolder).filePath("SonvexData.xml")));
    }
};

QTEST_MAIN(TestDataFilesAdapter)
#include "tst_datafilesadapter.moc"
