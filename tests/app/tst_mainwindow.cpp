// The main window on the offscreen platform: start-up, settings, modes, wizards, commands,
// close and shut-down, help, opening data.

#include "AppTestSupport.h"
#include "app/ActionSet.h"
#include "app/DataFilesPort.h"
#include "app/HelpBrowser.h"
#include "app/ShapeButton.h"
#include "app/WizardFrame.h"
#include "data/DataSet.h"

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QStackedWidget>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTableView>
#include <QTextBrowser>
#include <QToolBar>
#include <QtTest>

using namespace sonvex;
using namespace sonvex::test;
using Page = TformSonvex3Main::MainPage;

namespace {

QString raw(const ShellWorld& world, const QString& key)
{
    QSettings s(world.settingsDir() + "/Sonvex.ini", QSettings::IniFormat);
    return s.value(key).toString();
}

// The entries of a menu as texts, separators as "-", hidden entries in brackets.
QStringList entries(const QMenu* menu)
{
    QStringList list;
    for (const QAction* a : menu->actions()) {
        const QString t = a->isSeparator() ? QStringLiteral("-") : a->text();
        list << (a->isVisible() ? t : '[' + t + ']');
    }
    return list;
}

} // namespace

class TstMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void firstStartWithEmptySettings()
    {
        ShellWorld world;
        world.writeProgramData();
        auto store = world.newStore();
        auto w = world.newWindow(store.get());
        QVERIFY(world.messages.isEmpty());
        QVERIFY(w->isVisible());
        QCOMPARE(w->documentsFolder, world.sonvexFolder());
        QCOMPARE(w->dataFolder, world.dataFolder());
        QVERIFY(QFileInfo(world.dataFolder()).isDir());
        for (const char* name : {"Sonvex3 Sample Data.kvntm", "Sonvex3 Dual channel sample data.kvntm",
                                 "Sonvex3 Dual Threshold sample data.kvntm"})
            QVERIFY2(QFile::exists(world.dataFolder() + '/' + QLatin1String(name)), name);
        QVERIFY(QFile::exists(world.sonvexFolder() + "/ActivityNames.xml"));
        // Simple mode on "Getting Started".
        QVERIFY(!w->advancedMode());
        QCOMPARE(w->currentPage(), Page::GettingStarted);
        QVERIFY(!w->pageControlMain()->isTabVisible(int(Page::ViewData)));
        QVERIFY(w->pageControlMain()->isTabVisible(int(Page::GettingStarted)));
        QVERIFY(w->toolBar()->isHidden());
        QCOMPARE(w->windowTitle(), "Sonvex");
        QCOMPARE(w->loadedCount, -1);
        QCOMPARE(w->dataKind, 0);
        // The program's path is registered at once; the window's values only at the end.
        QCOMPARE(raw(world, "executable"), QDir::toNativeSeparators(world.root() + "/bin/sonvex"));
        QVERIFY(raw(world, "v3.0/shellAssocMade").isEmpty());
    }

    // Samples arrive once: deleting one later does not bring it back, unless the first-run flag
    // is cleared (then only what is missing is copied) or the data folder itself is gone.
    void samplesAreCopiedOnce()
    {
        ShellWorld world;
        world.writeProgramData();
        const QString sample = world.dataFolder() + "/Sonvex3 Sample Data.kvntm";
        const QString other = world.dataFolder() + "/Sonvex3 Dual channel sample data.kvntm";
        {
            auto store = world.newStore();
            auto w = world.newWindow(store.get());
            w->ShutDown();
        }
        QCOMPARE(raw(world, "v3.0/shellAssocMade"), "1");
        QVERIFY(QFile::remove(sample));
        {
            QFile f(other);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("edited");
        }
        {
            auto store = world.newStore();
            auto w = world.newWindow(store.get());
            QVERIFY(!QFile::exists(sample));
            w->ShutDown();
        }
        {
            QSettings s(world.settingsDir() + "/Sonvex.ini", QSettings::IniFormat);
            s.setValue("v3.0/shellAssocMade", 0);
        }
        auto store = world.newStore();
        auto w = world.newWindow(store.get());
        QVERIFY(QFile::exists(sample));
        QFile f(other);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("edited"));
    }

    void modes_data()
    {
        QTest::addColumn<bool>("advanced");
        QTest::addColumn<int>("startPage");
        QTest::addColumn<int>("expectedPage");
        QTest::newRow("simple from getting started") << false << 0 << 0;
        QTest::newRow("simple from the after wizard") << false << 2 << 0;
        QTest::newRow("simple from view data") << false << 3 << 0;
        QTest::newRow("advanced from getting started") << true << 0 << 3;
        QTest::newRow("advanced keeps the before wizard") << true << 1 << 1;
        QTest::newRow("advanced keeps the after wizard") << true << 2 << 2;
    }
    void modes()
    {
        QFETCH(bool, advanced);
        QFETCH(int, startPage);
        QFETCH(int, expectedPage);
        ShellWorld world;
        auto store = world.newStore();
        auto w = world.newWindow(store.get());
        w->setAdvancedMode(!advanced);
        w->showMainPage(Page(startPage));
        (*w->actions())[advanced ? "ActionViewAdvancedMode" : "ActionViewSimpleMode"]->trigger();
        QCOMPARE(w->advancedMode(), advanced);
        QCOMPARE(int(w->currentPage()), expectedPage);
        QCOMPARE(w->pageControlMain()->isTabVisible(int(Page::ViewData)), advanced);
        QCOMPARE(w->pageControlMain()->isTabVisible(int(Page::GettingStarted)), !advanced);
        QCOMPARE(w->toolBar()->isVisible(), advanced);
        QVERIFY((*w->actions())["ActionViewAdvancedMode"]->isChecked() == advanced);
        QVERIFY((*w->actions())["ActionViewSimpleMode"]->isChecked() == !advanced);
    }

    void settingsSurviveRestart()
    {
        ShellWorld world;
        {
            auto store = world.newStore();
            auto w = world.newWindow(store.get());
            ActionSet& a = *w->actions();
            w->setAdvancedMode(true);
            a["ActionReportTypeCompact"]->trigger();
            a["ActionReportsUseSelected"]->trigger();
            w->findChild<QLineEdit*>("EditReportTitle")->setText("Press shop");
            w->findChild<QLineEdit*>("EditReportLocation")->setText("Hall B");
            w->findChild<QLineEdit*>("EditReportMadeBy")->setText("A. N. Other");
            w->findChild<QPlainTextEdit*>("MemoReportNotes")->setPlainText("first line\nsecond line");
            w->findChild<QPlainTextEdit*>("MemoReportRecommendations")->setPlainText("wear ear muffs");
            w->findChild<QLineEdit*>("EditReportLogo")->setText("/logos/company.png");
            w->AddRecentFile("/data/one.kvntm");
            w->AddRecentFile("/data/two.kvntm");
            w->saveFolder = "/data/saved";
            w->dataFolder = world.root() + "/elsewhere";
            w->resize(1000, 700);
            w->move(40, 30);
            w->ShutDown();
        }
        // The memo lines are stored joined by CR LF.
        QCOMPARE(raw(world, "v3.0/Report Notes"), "first line\r\nsecond line");
        QCOMPARE(raw(world, "v3.0/advancedMode"), "1");
        QCOMPARE(raw(world, "v3.0/visible"), "1");

        auto store = world.newStore();
        auto w = world.newWindow(store.get());
        ActionSet& a = *w->actions();
        QVERIFY(w->advancedMode());
        QVERIFY(a["ActionReportTypeCompact"]->isChecked());
        QVERIFY(a["ActionReportsUseSelected"]->isChecked());
        QCOMPARE(w->findChild<QLineEdit*>("EditReportTitle")->text(), "Press shop");
        QCOMPARE(w->findChild<QLineEdit*>("EditReportLocation")->text(), "Hall B");
        QCOMPARE(w->findChild<QLineEdit*>("EditReportMadeBy")->text(), "A. N. Other");
        QCOMPARE(w->findChild<QPlainTextEdit*>("MemoReportNotes")->toPlainText(), "first line\nsecond line");
        QCOMPARE(w->findChild<QPlainTextEdit*>("MemoReportRecommendations")->toPlainText(), "wear ear muffs");
        QCOMPARE(w->findChild<QLineEdit*>("EditReportLogo")->text(), "/logos/company.png");
        QCOMPARE(w->recentFiles(), (QStringList{"/data/two.kvntm", "/data/one.kvntm", "", "", ""}));
        QVERIFY(w->actions()->reopenAction(2)->isVisible());
        QVERIFY(!w->actions()->reopenAction(3)->isVisible());
        QCOMPARE(w->saveFolder, "/data/saved");
        QCOMPARE(w->initialDialogFolder(), "/data/saved");
        QCOMPARE(w->dataFolder, world.root() + "/elsewhere");
        QVERIFY(QFileInfo(world.root() + "/elsewhere").isDir());
        QCOMPARE(w->size(), QSize(1000, 700));
    }

    void savedHeightNeverBelowMinimum()
    {
        ShellWorld world;
        {
            QSettings s(world.settingsDir() + "/Sonvex.ini", QSettings::IniFormat);
            s.setValue("v3.0/W", 300);
            s.setValue("v3.0/H", 200);
        }
        auto store = world.newStore();
        auto w = world.newWindow(store.get());
        QCOMPARE(w->height(), w->minimumHeight());
        QCOMPARE(w->width(), w->minimumWidth());
        QVERIFY(w->minimumHeight() >= 602);
    }

    void unreadableValuesAreReportedAndTheRestApplied()
    {
        ShellWorld world;
        {
            QSettings s(world.settingsDir() + "/Sonvex.ini", QSettings::IniFormat);
            s.setValue("v3.0/W", "wide");
            s.setValue("v3.0/advancedMode", 1);
            s.setValue("v3.0/Report Title", "still read");
        }
        auto store = world.newStore();
        auto w = world.newWindow(store.get());
        QCOMPARE(world.messages.size(), 1);
        QVERIFY(world.messages.first().contains("v3.0/W"));
        QVERIFY(w->advancedMode());
        QCOMPARE(w->findChild<QLineEdit*>("EditReportTitle")->text(), "still read");
    }

    void runInTray_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("shown");
        QTest::newRow("no argument") << QStringList{"sonvex"} << true;
        QTest::newRow("runInTray") << QStringList{"sonvex", "runInTray"} << false;
        QTest::newRow("other case") << QStringList{"sonvex", "RUNINTRAY"} << true;
        QTest::newRow("second argument") << QStringList{"sonvex", "x.kvntm", "runInTray"} << true;
    }
    void runInTray()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, shown);
        ShellWorld world;
        auto store = world.newStore();
        auto w = world.newWindow(store.get(), arguments);
        QCoreApplication::processEvents();
        QCOMPARE(w->isVisible(), shown);
        // A hidden start still created its folders.
        QVERIFY(QFileInfo(world.dataFolder()).isDir());
    }

    void closeHidesShutDownEnds_data()
    {
        QTest::addColumn<bool>("tray");
        QTest::addColumn<QString>("how");
        QTest::newRow("title-bar close, tray") << true << "close";
        QTest::newRow("E&xit, tray") << true << "exit";
        QTest::newRow("title-bar close, no tray") << false << "close";
    }
    void closeHidesShutDownEnds()
    {
        QFETCH(bool, tray);
        QFETCH(QString, how);
        ShellWorld world;
        auto store = world.newStore();
        auto w = world.newWindow(store.get(), {"sonvex"}, tray);
        FakeDataFiles files;
        w->setDataFiles(&files);
        QVERIFY(w->isVisible());
        if (how == "exit")
            (*w->actions())["ActionFileExit"]->trigger();
        else
            QVERIFY(!w->close());
        QCoreApplication::processEvents();
        if (tray) {
            QVERIFY(w->isHidden());
        } else {
            QVERIFY(w->isVisible());
            QVERIFY(w->windowState() & Qt::WindowMinimized);
        }
        QVERIFY(!w->shuttingDown);
        QVERIFY(raw(world, "v3.0/shellAssocMade").isEmpty()); // nothing saved yet
        QCOMPARE(files.shutDowns, 0);

        (*w->actions())["ActionFileShutDown"]->trigger();
        QVERIFY(w->shuttingDown);
        QVERIFY(w->isHidden());
        QCOMPARE(raw(world, "v3.0/shellAssocMade"), "1");
        QCOMPARE(files.shutDowns, 1);
        // The end of the session after the shut-down saves nothing twice.
        w->FormClose();
        QCOMPARE(files.shutDowns, 1);
    }

    void trayDoubleClickRestores()
    {
        ShellWorld world;
        auto store = world.newStore();
        auto w = world.newWindow(store.get(), {"sonvex"}, true);
        w->showMinimized();
        w->close();
        QVERIFY(w->isHidden());
        emit w->trayIcon()->activated(QSystemTrayIcon::Trigger);
        QVERIFY(w->isHidden());
        emit w->trayIcon()->activated(QSystemTrayIcon::DoubleClick);
        QVERIFY(w->isVisible());
        QVERIFY(!(w->windowState() & Qt::WindowMinimized));
    }

    void trayMenuAndHint()
    {
        ShellWorld world;
        auto store = world.newStore();
        auto w = world.newWindow(store.get(), {"sonvex"}, true);
        QCOMPARE(entries(w->trayMenu()),
                 (QStringList{"Show the &Sonvex window", "&About Sonvex...", "He&lp Contents...", "-",
                              "&Open Data File...", "Download from Instrument", "-", "Program &Settings...",
                              "-", "Sh&ut down Sonvex"}));
        QCOMPARE(w->trayMenu()->defaultAction(), (*w->actions())["ActionDataDownload"]);
        QCOMPARE(w->trayIcon()->contextMenu(), w->trayMenu());
        w->setTrayHint(w->statusTexts.StatusDisabled);
        QCOMPARE(w->trayIcon()->toolTip(), "Sonvex disabled");
        // The tray entries are the main menu's actions.
        QVERIFY(w->menuBar()
                    ->findChildren<QMenu*>("MenuFile")
                    .first()
                    ->actions()
                    .contains(w->trayMenu()->actions().at(4)));
    }

    void userMessages_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("understood");
        QTest::addColumn<bool>("disabledAfter");
        QTest::newRow("disable") << "comms-disable" << true << true;
        QTest::newRow("enable") << "comms-enable" << true << false;
        QTest::newRow("unknown") << "format-disk" << false << true;
    }
    void userMessages()
    {
        QFETCH(QString, command);
        QFETCH(bool, understood);
        QFETCH(bool, disabledAfter);
        ShellWorld world;
        auto store = world.newStore();
        auto w = world.newWindow(store.get());
        QVERIFY(!w->commsDisabled);
        QSignalSpy spy(w.get(), &TformSonvex3Main::commsDisabledChanged);
        w->HandleCommand("comms-disable");
        QCOMPARE(w->HandleCommand(command), understood);
        QCOMPARE(w->commsDisabled, disabledAfter);
        QCOMPARE(spy.size(), understood ? 2 : 1);
        QCOMPARE(spy.last().at(0).toBool(), disabledAfter);
    }

    void showCommandShowsHiddenWindow()
    {
        ShellWorld world;
        auto store = world.newStore();
        auto w = world.newWindow(store.get(), {"sonvex", "runInTray"}, true);
        QVERIFY(w->isHidden());
        QVERIFY(w->HandleCommand("show"));
        QVERIFY(w->isVisible());
    }

    // Every command of the menus with its caption, hint, shortcut and visibility.
    void actions_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<QString>("shortcut");
        QTest::addColumn<bool>("visible");
        struct Row
        {
            const char *name, *text, *hint, *shortcut;
            bool visible;
        };
        // clang-format off
        const Row rows[] = {
            {"ActionFileOpen", "&Open Data File...", "Open a file containing noxTag measurements downloaded previously", "Ctrl+O", true},
            {"ActionFileSaveSelected", "Save &Selected Measurements As...", "", "", true},
            {"ActionFileSaveAll", "Save All Measurements &As...", "", "", true},
            {"ActionFileSettings", "Program &Settings...", "Alter program configuration and preferences", "", true},
            {"ActionFileShutDown", "Sh&ut down Sonvex", "Shuts down the Sonvex program", "", true},
            {"ActionFileExit", "E&xit", "Closes and returns Sonvex to the system tray", "", true},
            {"ActionEditDeleteSelected", "&Delete Selected Measurement(s)", "Delete the measurements which are selected in the  list", "", true},
            {"ActionViewSimpleMode", "Sim&ple Mode", "", "", true},
            {"ActionViewAdvancedMode", "Ad&vanced Mode", "", "", true},
            {"ActionViewNoUnderrange", "&Don't hide Underrange Values on Time History Chart", "", "", false},
            {"ActionViewValidate", "V&alidate soak test data", "", "", false},
            {"ActionViewValidationOptions", "Va&lidation Options...", "", "", false},
            {"ActionViewMeasurementData", "V&iew Measurement Data...", "", "", true},
            {"ActionViewReportItems", "&Choose Report Data Items...", "", "", true},
            {"ActionViewZoomIn", "Z&oom In Between Cursors", "", "", true},
            {"ActionViewZoomOut", "Zoom O&ut", "", "", true},
            {"ActionViewValidationFirstSoak", "First Soak", "First Soak: bing done, run until battery is flat", "", false},
            {"ActionViewValidationSecondSoak", "Second Soak", "Second Soak: no bing, flat battery not required", "", false},
            {"ActionDataDownloadPage", "&Download From Instrument...", "", "", true},
            {"ActionDataClockPage", "&Set the Instrument Clock...", "", "", true},
            {"ActionDataReaderMemoryPage", "C&lear the Instrument Memory...", "", "", true},
            {"ActionDataConfigureReaderPage", "Co&nfigure the Instrument's Measurement Setup...", "", "", true},
            {"ActionDataConfigureDisplayPage", "&Configure the Instrument's Display...", "", "", true},
            {"ActionDataDownload", "Download from Instrument", "download the data stored in the Reader or SLM", "", true},
            {"ActionReportsUseAll", "&Include all Measurements in Reports", "", "", true},
            {"ActionReportsUseSelected", "I&nclude only Selected Measurements in Reports", "", "", true},
            {"ActionReportTypeComprehensive", "&Comprehensive Report", "", "", true},
            {"ActionReportTypeCompact", "C&ompact Report", "", "", true},
            {"ActionReportTypeSimple", "&Simple Report", "", "", false},
            {"ActionReportsCustomize", "&Customise Report...", "", "", true},
            {"ActionReportsPreview", "&Preview Report...", "", "", true},
            {"ActionReportsPrint", "P&rint Report...", "", "", true},
            {"ActionReportsTavish", "&Activity Report...", "", "", true},
            {"ActionReportsCreateReportPage", "&Create a Measurement Report", "", "", true},
            {"ActionExportExcelUseAll", "&Include all Measurements when sending to Excel", "", "", true},
            {"ActionExportExcelUseSelected", "I&nclude only Selected Measurements when sending to Excel", "", "", true},
            {"ActionExportExcelTable", "S&end to Excel as a Table", "", "", true},
            {"ActionExportExcelTimeHistory", "Send &to Excel with Time History Data", "", "", true},
            {"ActionExportChartJpeg", "S&ave Time History Chart as JPEG", "", "", true},
            {"ActionExportChartLeq", "Sa&ve Time History Chart as .leq file...", "", "", true},
            {"ActionReportsExport", "Sen&d Report...", "", "", true},
            {"ActionDataDatabase", "&Send Measurements to Database", "", "Ctrl+B", true},
            {"ActionExportXml", "E&xport Data as XML...", "", "", true},
            {"ActionExportHegNew", "&Create a New Spreadsheet...", "", "", true},
            {"ActionExportHegOpen", "&Open a Saved Spreadsheet...", "", "", true},
            {"ActionExportSendDataPage", "S&end Measurement Data...", "", "", true},
            {"ActionHelpContents", "He&lp Contents...", "", "", true},
            {"ActionHelpContext", "H&elp on this Feature...", "", "", true},
            {"ActionHelpTerminology", "Help on Terminology...", "", "", true},
            {"ActionHelpChargerAdvice", "A&dvice on the noxTag charging system...", "", "", true},
            {"ActionHelpUpdates", "U&pdates", "", "", false},
            {"ActionHelpAbout", "&About Sonvex...", "", "", true},
            {"ActionFileShowWindow", "Show the &Sonvex window", "", "", true},
        };
        // clang-format on
        for (const Row& r : rows)
            QTest::newRow(r.name) << r.name << r.text << r.hint << r.shortcut << r.visible;
    }
    void actions()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QString, hint);
        QFETCH(QString, shortcut);
        QFETCH(bool, visible);
        ShellWorld world;
        auto store = world.newStore();
        auto w = world.newWindow(store.get());
        FakeDataFiles files;
        w->setDataFiles(&files);
        QAction* a = w->actions()->action(name);
        QCOMPARE(a->text(), text);
        QVERIFY2(hint.isEmpty() || a->statusTip().startsWith(hint), qPrintable(a->statusTip()));
        QCOMPARE(a->shortcut().toString(), shortcut);
        QCOMPARE(a->isVisible(), visible);
        // A command whose part is missing says so in its hint and is disabled.
        if (ActionSet::isNotAvailable(a)) {
            QVERIFY(!a->isEnabled());
            QVERIFY(a->statusTip().contains("not available"));
        }
    }

    void menus()
    {
        ShellWorld world;
        auto store = world.newStore();
        auto w = world.newWindow(store.get());
        QStringList titles;
        for (QAction* m : w->menuBar()->actions())
            titles << m->text();
        QCOMPARE(titles, (QStringList{"&File", "Ed&it", "&View", "&Data", "&Reports", "Send Data", "&Help"}));
        const ActionSet& a = *w->actions();
        QCOMPARE(entries(a.menu("MenuFile")),
                 (QStringList{"&Open Data File...", "&Reopen", "Sa&ve", "-", "Program &Settings...", "-",
                              "Sh&ut down Sonvex", "E&xit"}));
        QCOMPARE(entries(a.menu("MenuSave")),
                 (QStringList{"Save &Selected Measurements As...", "Save All Measurements &As..."}));
        QCOMPARE(a.menu("MenuReopen")->actions().size(), 5);
        QCOMPARE(entries(a.menu("MenuEdit")), QStringList{"&Delete Selected Measurement(s)"});
        QCOMPARE(entries(a.menu("MenuView")),
                 (QStringList{"Sim&ple Mode", "Ad&vanced Mode",
                              "[&Don't hide Underrange Values on Time History Chart]",
                              "[V&alidate soak test data]", "[Va&lidation Options...]", "-",
                              "V&iew Measurement Data...", "-", "&Choose Report Data Items...", "-",
                              "Z&oom In Between Cursors", "Zoom O&ut"}));
        QCOMPARE(entries(a.menu("MenuData")),
                 (QStringList{"&Download From Instrument...", "-", "&Set the Instrument Clock...",
                              "C&lear the Instrument Memory...",
                              "Co&nfigure the Instrument's Measurement Setup...",
                              "&Configure the Instrument's Display..."}));
        QCOMPARE(entries(a.menu("MenuReports")),
                 (QStringList{"&Include all Measurements in Reports",
                              "I&nclude only Selected Measurements in Reports", "R&eport Type", "-",
                              "&Customise Report...", "-", "&Preview Report...", "P&rint Report...", "-",
                              "&Activity Report..."}));
        QCOMPARE(entries(a.menu("MenuReportType")),
                 (QStringList{"&Comprehensive Report", "C&ompact Report", "[&Simple Report]"}));
        const QStringList exportEntries = entries(a.menu("MenuExport"));
        QCOMPARE(exportEntries,
                 (QStringList{"&Include all Measurements when sending to Excel",
                              "I&nclude only Selected Measurements when sending to Excel",
                              "S&end to Excel as a Table", "Send &to Excel with Time History Data", "-",
                              "S&ave Time History Chart as JPEG", "Sa&ve Time History Chart as .leq file...",
                              "-", "Sen&d Report...", "&Send Measurements to Database",
                              "E&xport Data as XML...", "[&Homogenous Exposure Group Calculator]"}));
        QCOMPARE(exportEntries.size(), 12); // the calculator is the twelfth item
        QCOMPARE(entries(a.menu("MenuHelp")),
                 (QStringList{"He&lp Contents...", "H&elp on this Feature...",
                              "A&dvice on the noxTag charging system...", "[U&pdates]", "&About Sonvex..."}));
        // Radio pairs and groups.
        QVERIFY(a.viewModeGroup()->isExclusive());
        QCOMPARE(a.reportTypeGroup()->actions().size(), 3);
        QCOMPARE(a.excelRowsGroup()->checkedAction(), a["ActionExportExcelUseAll"]);
    }

    void toolBar()
    {
        ShellWorld world;
        auto store = world.newStore();
        auto w = world.newWindow(store.get());
        QStringList names;
        for (QAction* a : w->toolBar()->actions())
            names << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
        QCOMPARE(names, (QStringList{"ActionFileExit",
                                     "-",
                                     "ActionFileOpen",
                                     "ActionFileSaveAll",
                                     "ActionFileSaveSelected",
                                     "-",
                                     "ActionDataDownloadPage",
                                     "ActionDataClockPage",
                                     "-",
                                     "ActionReportsCreateReportPage",
                                     "ActionReportsPrint",
                                     "ActionExportSendDataPage",
                                     "ActionDataDatabase",
                                     "-",
                                     "ActionViewMeasurementData",
                                     "ActionViewZoomIn",
                                     "ActionViewZoomOut",
                                     "-",
                                     "ActionViewValidationFirstSoak",
                                     "ActionViewValidationSecondSoak"}));
    }

    // Wizard buttons in the window: every step both ways, Finish and Back at the ends.
    void wizardButtons_data()
    {
        QTest::addColumn<bool>("before");
        QTest::newRow("before") << true;
        QTest::newRow("after") << false;
    }
    void wizardButtons()
    {
        QFETCH(bool, before);
        ShellWorld world;
        auto store = world.newStore();
        auto w = world.newWindow(store.get());
        WizardFrame* wizard = before ? w->beforeWizard() : w->afterWizard();
        const Page page = before ? Page::Before : Page::After;
        const int steps = before ? 5 : 6;
        QCOMPARE(steps, wizard->stepCount());
        w->findChild<QPushButton*>(before ? "BitBtnStartBeforeWizard" : "BitBtnStartAfterWizard")->click();
        QCOMPARE(w->currentPage(), page);
        for (int step = 1; step <= steps; ++step) {
            QCOMPARE(wizard->currentStep(), step);
            QCOMPARE(wizard->pageControl()->currentIndex(), step - 1);
            QCOMPARE(wizard->nextButton()->text(), step == steps ? "Finish >" : "Next >");
            for (int k = 1; k <= steps; ++k)
                QCOMPARE(wizard->shapeButton(k)->pressedLook(), k == step);
            if (step < steps)
                wizard->nextButton()->click();
        }
        for (int step = steps; step > 1; --step) {
            wizard->backButton()->click();
            QCOMPARE(wizard->currentStep(), step - 1);
            QCOMPARE(w->currentPage(), page);
        }
        // Back on the first step: stays, back to Getting Started.
        wizard->backButton()->click();
        QCOMPARE(wizard->currentStep(), 1);
        QCOMPARE(w->currentPage(), Page::GettingStarted);
        // Finish on the last step: back to Getting Started with the wizard on its first step.
        w->showMainPage(page);
        wizard->shapeButton(steps)->click();
        QCOMPARE(wizard->currentStep(), steps);
        wizard->nextButton()->click();
        QCOMPARE(wizard->currentStep(), 1);
        QCOMPARE(w->currentPage(), Page::GettingStarted);
        QCOMPARE(wizard->nextButton()->text(), "Next >");
    }

    void commandsOpenWizardSteps_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("step");
        QTest::newRow("download") << "ActionDataDownloadPage" << 2 << 2;
        QTest::newRow("clock") << "ActionDataClockPage" << 1 << 2;
        QTest::newRow("memory") << "ActionDataReaderMemoryPage" << 1 << 3;
        QTest::newRow("setup") << "ActionDataConfigureReaderPage" << 1 << 4;
        QTest::newRow("display") << "ActionDataConfigureDisplayPage" << 1 << 5;
        QTest::newRow("create report") << "ActionReportsCreateReportPage" << 2 << 3;
        QTest::newRow("customise") << "ActionReportsCustomize" << 2 << 4;
        QTest::newRow("send data") << "ActionExportSendDataPage" << 2 << 6;
    }
    void commandsOpenWizardSteps()
    {
        QFETCH(QString, action);
        QFETCH(int, page);
        QFETCH(int, step);
        ShellWorld world;
        auto store = world.newStore();
        auto w = world.newWindow(store.get());
        QAction* a = w->actions()->action(action);
        QVERIFY(a->isEnabled());
        a->trigger();
        QCOMPARE(int(w->currentPage()), page);
        WizardFrame* wizard = page == 1 ? w->beforeWizard() : w->afterWizard();
        QCOMPARE(wizard->currentStep(), step);
        QCOMPARE(wizard->page(step)->isVisibleTo(w.get()), true);
    }

    void brandLabels()
    {
        ShellWorld world;
        auto store = world.newStore();
        auto w = world.newWindow(store.get());
        for (const QString& t : visibleTexts(w.get())) {
            QVERIFY2(!t.contains("[40]") && !t.contains("[50]") && !t.contains("[RM:50A"), qPrintable(t));
            QVERIFY2(!t.contains("KV:300 series SLMs"), qPrintable(t));
        }
        const QString advice = w->findChild<QLabel*>("LabelBeforeConnectAdvice")->text();
        QVERIFY(advice.contains("USB cable for the Model 6 noxTag Reader"));
        QVERIFY(advice.contains("RS232 cable for the Model 4 noxTag Reader"));
        // The removed line stays as an empty line.
        QCOMPARE(advice.split('\n').size(), 8);
        QCOMPARE(w->findChild<QLabel*>("LabelAfterConnectAdvice")->text(), advice);
        QCOMPARE(w->findChild<QLabel*>("LabelDisplayNote")->text(), "(Model 6 Series Readers only)");
        QLabel* step4 = w->findChild<QLabel*>("LabelConfigureNote");
        QCOMPARE(step4->text(), "(Model 6 Series Readers only)");
        QVERIFY(step4->isVisibleTo(w->beforeWizard()->page(4)));
        // Running it again changes nothing.
        w->ApplyBrandLabels();
        QCOMPARE(w->findChild<QLabel*>("LabelBeforeConnectAdvice")->text(), advice);
    }

    void internalMode_data()
    {
        QTest::addColumn<QString>("internal"); // "" absent
        QTest::addColumn<bool>("validateStored");
        QTest::addColumn<bool>("commandsVisible");
        QTest::addColumn<bool>("validateOn");
        QTest::addColumn<bool>("soakVisible");
        QTest::newRow("absent") << "" << true << false << false << false;
        QTest::newRow("false") << "0" << true << false << false << false;
        QTest::newRow("true, validate on") << "1" << true << true << true << true;
        QTest::newRow("true, validate off") << "1" << false << true << false << false;
    }
    void internalMode()
    {
        QFETCH(QString, internal);
        QFETCH(bool, validateStored);
        QFETCH(bool, commandsVisible);
        QFETCH(bool, validateOn);
        QFETCH(bool, soakVisible);
        ShellWorld world;
        {
            QSettings s(world.settingsDir() + "/Sonvex.ini", QSettings::IniFormat);
            if (!internal.isEmpty())
                s.setValue("v3.0/Internal", internal);
            s.setValue("v3.0/validate", validateStored ? 1 : 0);
            s.setValue("v3.0/no underrange", 1);
        }
        auto store = world.newStore();
        auto w = world.newWindow(store.get());
        const ActionSet& a = *w->actions();
        for (const char* n : {"ActionViewNoUnderrange", "ActionViewValidate", "ActionViewValidationOptions"})
            QCOMPARE(a[n]->isVisible(), commandsVisible);
        QCOMPARE(a["ActionViewValidate"]->isChecked(), validateOn);
        QCOMPARE(a["ActionViewNoUnderrange"]->isChecked(), commandsVisible);
        QCOMPARE(a["ActionViewValidationFirstSoak"]->isVisible(), soakVisible);
        QCOMPARE(a["ActionViewValidationSecondSoak"]->isVisible(), soakVisible);
        QCOMPARE(w->findChild<QLabel*>("LabelBeforeReaderDetails")->isVisibleTo(w->beforeWizard()->page(1)),
                 commandsVisible);
        w->ShutDown();
        QCOMPARE(raw(world, "v3.0/Internal"), commandsVisible ? "1" : "0");
    }

    void help_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("step");
        QTest::addColumn<QString>("keyword");
        QTest::newRow("contents") << "ActionHelpContents" << 1 << 3 << "index";
        QTest::newRow("feature on getting started") << "ActionHelpContext" << 0 << 0 << "QuickStart";
        QTest::newRow("feature on before step 4") << "ActionHelpContext" << 1 << 4 << "MeasurementSetup";
        QTest::newRow("feature on after step 5")
            << "ActionHelpContext" << 2 << 5 << "PrintTheMeasurementReport";
        QTest::newRow("feature on view data without data") << "ActionHelpContext" << 3 << 0 << "QuickStart";
        QTest::newRow("terminology") << "ActionHelpTerminology" << 2 << 2 << "Terminology";
    }
    void help()
    {
        QFETCH(QString, action);
        QFETCH(int, page);
        QFETCH(int, step);
        QFETCH(QString, keyword);
        ShellWorld world;
        auto store = world.newStore();
        MainWindowOptions o = world.options(store.get());
        o.programDataFolder = QStringLiteral(SONVEX_SOURCE_DIR "/resources");
        TformSonvex3Main w(o);
        w.showMainPage(Page(page));
        if (page == 1)
            w.ShowBeforeWizardPage(0, step);
        if (page == 2)
            w.ShowAfterWizardPage(0, step);
        w.actions()->action(action)->trigger();
        QVERIFY(w.helpBrowser()->isVisible());
        QCOMPARE(w.helpBrowser()->currentKeyword(), keyword);
        QVERIFY(!w.helpBrowser()->windowTitle().isEmpty());
    }

    void missingHelpPageIsSaidInTheBrowser()
    {
        ShellWorld world;
        auto store = world.newStore();
        auto w = world.newWindow(store.get()); // its help folder is empty
        QVERIFY(w->HelpRequested(0x101, "SetTheClock"));
        QVERIFY(w->helpBrowser()->isVisible());
        QVERIFY(w->helpBrowser()->currentKeyword().isEmpty());
        QVERIFY(w->helpBrowser()->browser()->toPlainText().contains("SetTheClock"));
        QVERIFY(!w->HelpRequested(2, {}));
    }

    void openingData()
    {
        ShellWorld world;
        auto store = world.newStore();
        store->setRecentFiles({"/data/older.kvntm"});
        auto w = world.newWindow(store.get());
        QAction* open = (*w->actions())["ActionFileOpen"];
        QAction* reopen = w->actions()->reopenAction(1);
        // Without the controller the commands say they are not there yet.
        QVERIFY(!open->isEnabled());
        QVERIFY(open->statusTip().contains("not available"));
        QVERIFY(!reopen->isEnabled());
        QCOMPARE(w->pageControlViewData()->currentWidget()->objectName(), "TSNoData");
        QVERIFY(!(*w->actions())["ActionViewMeasurementData"]->isEnabled());

        FakeDataFiles files;
        w->setDataFiles(&files);
        QVERIFY(open->isEnabled());
        QVERIFY(!open->statusTip().contains("not available"));
        QVERIFY(reopen->isEnabled());
        reopen->trigger();
        QCOMPARE(files.opened, QStringList{"/data/older.kvntm"});
        QCOMPARE(w->currentPage(), Page::ViewData);
        QCOMPARE(w->pageControlViewData()->currentWidget()->objectName(), "TSGotData");
        QCOMPARE(w->dataTable()->model()->rowCount(), 3);
        QCOMPARE(w->dataTable()->model()->index(2, 0).data().toString(), "B2");
        QCOMPARE(w->loadedCount, 3);
        QCOMPARE(w->dataKind, 1);
        QCOMPARE(w->findChild<QLabel*>("LabelNumberOfMeasurements")->text(),
                 "3 measurements have been received.");
        QCOMPARE(w->statusLabel()->text(), "Data from file: /data/older.kvntm");
        QCOMPARE(w->recentFiles().first(), "/data/older.kvntm");
        // On the data page the command to view the data is not needed; elsewhere it is.
        QVERIFY(!(*w->actions())["ActionViewMeasurementData"]->isEnabled());
        w->showMainPage(Page::After);
        QVERIFY((*w->actions())["ActionViewMeasurementData"]->isEnabled());

        files.rows = 1;
        w->actions()->reopenAction(1)->trigger();
        QCOMPARE(w->findChild<QLabel*>("LabelNumberOfMeasurements")->text(),
                 "One measurement has been received.");

        emit files.noData();
        QCOMPARE(w->pageControlViewData()->currentWidget()->objectName(), "TSNoData");
        QVERIFY(!(*w->actions())["ActionViewMeasurementData"]->isEnabled());
    }

    void notAvailableCommandsTellTheUser()
    {
        ShellWorld world;
        auto store = world.newStore();
        auto w = world.newWindow(store.get());
        QAction* about = (*w->actions())["ActionHelpAbout"];
        QVERIFY(!about->isEnabled());
        about->setEnabled(true); // as a later part might
        about->trigger();
        QCOMPARE(world.messages.size(), 1);
        QVERIFY(world.messages.first().contains("not available"));
    }

    void companionDatabase()
    {
        ShellWorld world;
        auto store = world.newStore();
        auto w = world.newWindow(store.get());
        QAction* db = (*w->actions())["ActionDataDatabase"];
        QCOMPARE(db->data().toInt(), 0);
        QVERIFY(!w->findChild<QLabel*>("LabelToDatabase")->isEnabled());
        {
            QSettings s(world.settingsDir() + "/noxTag database.ini", QSettings::IniFormat);
            s.setValue("executable", "/opt/ntdb/ntdb");
        }
        // Opening the tray menu looks again.
        emit w->trayMenu()->aboutToShow();
        QCOMPARE(w->databaseExecutable, "/opt/ntdb/ntdb");
        QCOMPARE(db->data().toInt(), 1);
        QVERIFY(w->findChild<QLabel*>("LabelToDatabase")->isEnabled());
    }

    void centredPanelsFollowTheWindow()
    {
        ShellWorld world;
        auto store = world.newStore();
        auto w = world.newWindow(store.get());
        for (QSize size : {QSize(720, 640), QSize(1200, 900), QSize(900, 700)}) {
            w->resize(size);
            QCoreApplication::processEvents();
            for (Page p : {Page::GettingStarted, Page::Before, Page::After}) {
                w->showMainPage(p);
                QCoreApplication::processEvents();
                QWidget* client = w->clientPanel(p);
                QWidget* middle = w->middlePanel(p);
                QVERIFY(qAbs(middle->geometry().center().x() - client->rect().center().x()) <= 1);
                QVERIFY(middle->y() >= 0);
            }
        }
        // The start page is never cut off at the bottom in the smallest window.
        w->resize(w->minimumSize());
        w->showMainPage(Page::GettingStarted);
        QCoreApplication::processEvents();
        w->FitGettingStartedHeight();
        QCoreApplication::processEvents();
        QVERIFY(w->clientPanel(Page::GettingStarted)->height() >=
                w->middlePanel(Page::GettingStarted)->height());
    }
};

QTEST_MAIN(TstMainWindow)
#include "tst_mainwindow.moc"
