// Renders every page of the main window; with SONVEX_SCREENSHOT_DIR set, keeps the pictures.

#include "AppTestSupport.h"
#include "app/ActionSet.h"
#include "app/HelpBrowser.h"
#include "app/Localizer.h"
#include "app/WizardFrame.h"

#include <QAction>
#include <QDir>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableView>
#include <QtTest>

using namespace sonvex;
using namespace sonvex::test;

class TstScreenshots : public QObject
{
    Q_OBJECT

private slots:
    void pages_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("step");
        QTest::addColumn<bool>("advanced");
        QTest::newRow("getting started") << "1-getting-started" << 0 << 0 << false;
        const char* before[] = {"connect", "clock", "memory", "setup", "display"};
        for (int s = 1; s <= 5; ++s)
            QTest::newRow(qPrintable(QStringLiteral("before %1").arg(s)))
                << QStringLiteral("2-before-%1-%2").arg(s).arg(QLatin1String(before[s - 1])) << 1 << s
                << false;
        const char* after[] = {"connect", "download", "report", "customise", "print", "export"};
        for (int s = 1; s <= 6; ++s)
            QTest::newRow(qPrintable(QStringLiteral("after %1").arg(s)))
                << QStringLiteral("3-after-%1-%2").arg(s).arg(QLatin1String(after[s - 1])) << 2 << s << false;
        QTest::newRow("view data, advanced") << "4-view-data-advanced" << 3 << 0 << true;
    }

    void pages()
    {
        QFETCH(QString, name);
        QFETCH(int, page);
        QFETCH(int, step);
        QFETCH(bool, advanced);
        ShellWorld world;
        auto store = world.newStore();
        store->setAdvancedMode(advanced);
        auto w = world.newWindow(store.get());
        w->resize(900, 680);
        w->showMainPage(TformSonvex3Main::MainPage(page));
        if (page == 1)
            w->ShowBeforeWizardPage(0, step);
        if (page == 2)
            w->ShowAfterWizardPage(0, step);
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QTest::qWait(50);

        // The middle panel is centred in its page and lies wholly inside it.
        QWidget* client = w->clientPanel(TformSonvex3Main::MainPage(page));
        QWidget* middle = w->middlePanel(TformSonvex3Main::MainPage(page));
        QVERIFY(client->isVisible());
        QVERIFY(client->rect().contains(middle->geometry()));
        QVERIFY(qAbs(middle->geometry().center().x() - client->rect().center().x()) <= 1);
        QVERIFY(qAbs(middle->geometry().center().y() - client->rect().center().y()) <= 1);
        // Every child of the panel fits inside it (nothing cut off by the fixed size).
        for (QWidget* child : middle->findChildren<QWidget*>()) {
            if (!child->isVisibleTo(middle) || child->parentWidget() != middle)
                continue;
            QVERIFY2(middle->rect().contains(child->geometry()), qPrintable(child->objectName()));
        }

        keep(w.get(), name);
    }

    void loadedData()
    {
        ShellWorld world;
        auto store = world.newStore();
        store->setAdvancedMode(true);
        store->setRecentFiles({"/data/05032010_00000.kvntm"});
        auto w = world.newWindow(store.get());
        FakeDataFiles files;
        files.rows = 8;
        w->setDataFiles(&files);
        w->resize(900, 680);
        w->actions()->reopenAction(1)->trigger();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QCOMPARE(w->dataTable()->model()->rowCount(), 8);
        QVERIFY(w->dataTable()->isVisible());
        keep(w.get(), "4-view-data-loaded");
    }

    void helpBrowser()
    {
        ShellWorld world;
        auto store = world.newStore();
        MainWindowOptions o = world.options(store.get());
        o.programDataFolder = QStringLiteral(SONVEX_SOURCE_DIR "/resources");
        TformSonvex3Main w(o);
        w.ShowBeforeWizardPage(0, 2);
        w.showMainPage(TformSonvex3Main::MainPage::Before);
        QVERIFY(w.HelpRequested(0x101, "_context"));
        QVERIFY(QTest::qWaitForWindowExposed(w.helpBrowser()));
        QCOMPARE(w.helpBrowser()->currentKeyword(), "SetTheClock");
        keep(w.helpBrowser(), "5-help-set-the-clock");
    }

    void german_data()
    {
        QTest::addColumn<int>("page");
        QTest::newRow("getting started") << 0;
        QTest::newRow("before") << 1;
    }
    void german()
    {
        QFETCH(int, page);
        ShellWorld world;
        auto store = world.newStore();
        Localizer loc(store.get());
        QVERIFY(loc.switchTo("de"));
        auto w = world.newWindow(store.get());
        w->resize(900, 680);
        w->showMainPage(TformSonvex3Main::MainPage(page));
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QCOMPARE(w->pageControlMain()->tabText(0), "Erste Schritte");
        keep(w.get(), QStringLiteral("6-german-%1").arg(page));
        QVERIFY(loc.switchTo("en"));
    }

private:
    static void keep(QWidget* w, const QString& name)
    {
        QTest::qWait(50);
        const QImage image = w->grab().toImage();
        QVERIFY(!image.isNull());
        QCOMPARE(image.size(), w->size() * w->devicePixelRatio());
        const QString dir = qEnvironmentVariable("SONVEX_SCREENSHOT_DIR");
        if (!dir.isEmpty()) {
            QDir().mkpath(dir);
            QVERIFY(image.save(QDir(dir).filePath(name + QStringLiteral(".png"))));
        }
    }
};

QTEST_MAIN(TstScreenshots)
#include "tst_screenshots.moc"
