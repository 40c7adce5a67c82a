// The data view in the main window: embedded in the "   View Data   " page, moved into the popup
// window by "View Measurement Data..." and back, and driven by the window's chart commands.

#include "app/ActionSet.h"
#include "app/DataFilesAdapter.h"
#include "app/DataViewBinding.h"
#include "app/SonvexMain.h"
#include "data/SettingsStore.h"
#include "data/SonvexDataModule.h"
#include "reports/TimeHistoryChart.h"
#include "views/SonvexDataView.h"
#include "views/SonvexDataViewFrame.h"
#include "views/SonvexDataViewPopup.h"

#include <QAction>
#include <QStackedWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

using namespace sonvex;

class TstDataViewBinding : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        qputenv("XDG_RUNTIME_DIR", QDir::tempPath().toLocal8Bit());
    }

    void theViewInThePageAndInThePopupWindow()
    {
        const QString sample = QStringLiteral(SONVEX_SOURCE_DIR) +
                               QStringLiteral("/resources/samples/Sonvex3 Sample Data.kvntm");
        if (!QFile::exists(sample))
            QSKIP("the sample data file is not in this tree");
        QTemporaryDir dir;
        QDir().mkpath(dir.filePath(QStringLiteral("Documents")));
        SettingsStore store(dir.filePath(QStringLiteral("settings")));
        store.setAdvancedMode(true);
        MainWindowOptions o;
        o.store = &store;
        o.arguments = {QStringLiteral("sonvex")};
        o.programFolder = dir.filePath(QStringLiteral("bin"));
        o.programFile = o.programFolder + QStringLiteral("/sonvex");
        o.programDataFolder = dir.filePath(QStringLiteral("share"));
        o.myDocuments = dir.filePath(QStringLiteral("Documents"));
        o.trayAvailable = false;
        QStringList messages;
        o.showMessage = [&messages](QMessageBox::Icon, const QString& text) {
            messages << text;
        };
        TformSonvex3Main window(o);
        Tdm dm;
        window.setDataModule(&dm);
        DataFilesAdapter files(dm, &window);
        window.setDataFiles(&files);
        DataViewBinding binding(&window, &dm, &files.controller(), &store);
        ActionSet& a = *window.actions();
        QVERIFY(!binding.viewCreated());
        window.resize(1300, 860);
        window.show();

        // A copy of the sample, so that cursors and notes written back stay in the test's folder.
        const QString copy = dir.filePath(QStringLiteral("sample.kvntm"));
        QVERIFY(QFile::copy(sample, copy));
        QFile::setPermissions(copy, QFile::permissions(copy) | QFile::WriteOwner);
        files.openDataFile(copy, 1);
        QCOMPARE(window.dataKind, 1);
        window.showMainPage(TformSonvex3Main::MainPage::ViewData);
        QTRY_VERIFY(binding.viewCreated());
        TFormSonvexDataView* view = binding.dataView();
        QWidget* page = window.pageControlViewData()->widget(1);
        QCOMPARE(view->parentWidget(), page);
        QVERIFY(view->isVisible());
        QVERIFY(!window.dataTable()->isVisible());
        TFrameTHChart* th = view->frame()->frameTH();
        QVERIFY(th->chartShown());
        QVERIFY(a["ActionViewZoomIn"]->isEnabled());
        QVERIFY(a["ActionExportChartJpeg"]->isEnabled());
        QVERIFY(!ActionSet::isNotAvailable(a["ActionViewZoomIn"]));
        if (const QString shots = qEnvironmentVariable("SONVEX_SCREENSHOT_DIR"); !shots.isEmpty()) {
            QTest::qWait(100);
            window.grab().save(QDir(shots).filePath(QStringLiteral("mainwindow-view-data.png")));
        }

        // The window's zoom commands act on the view's chart.
        QVERIFY(th->mainHistory());
        th->mainHistory()->setCursor1(th->mainHistory()->startTime() + 0.01);
        th->mainHistory()->setCursor2(th->mainHistory()->startTime() + 0.02);
        a["ActionViewZoomIn"]->trigger();
        QVERIFY(!th->chart()->timeRangeAutomatic());
        QVERIFY(a["ActionViewZoomOut"]->isEnabled());
        a["ActionViewZoomOut"]->trigger();
        QVERIFY(th->chart()->timeRangeAutomatic());

        // "View Measurement Data..." from another page: the view moves into the popup window.
        window.showMainPage(TformSonvex3Main::MainPage::After);
        QVERIFY(a["ActionViewMeasurementData"]->isEnabled());
        a["ActionViewMeasurementData"]->trigger();
        QCOMPARE(window.currentPage(), TformSonvex3Main::MainPage::After);
        TformSonvexDataViewPopup* popup = binding.popup();
        QVERIFY(popup->isVisible());
        QCOMPARE(view->parentWidget(), popup->hostArea());
        QVERIFY(view->frame()->frameTH()->chartShown());

        // Back on the page: the popup window closes and the view returns.
        window.showMainPage(TformSonvex3Main::MainPage::ViewData);
        QVERIFY(!popup->isVisible());
        QCOMPARE(view->parentWidget(), page);
        QVERIFY(view->isVisible());
        QVERIFY(messages.isEmpty());
    }
};

QTEST_MAIN(TstDataViewBinding)
#include "tst_dataviewbinding.moc"
