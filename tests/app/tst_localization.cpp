// Run-time language switching: every caption follows, the model placeholders are rewritten again,
// the choice is kept.

#include "AppTestSupport.h"
#include "app/ActionSet.h"
#include "app/HelpBrowser.h"
#include "app/Localizer.h"
#include "app/WizardFrame.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

using namespace sonvex;
using namespace sonvex::test;

class TstLocalization : public QObject
{
    Q_OBJECT

private:
    static void settle()
    {
        // Language changes reach the windows as posted events.
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }
    static void noPlaceholders(TformSonvex3Main* w)
    {
        for (const QString& t : visibleTexts(w))
            QVERIFY2(!t.contains("[40]") && !t.contains("[50]") && !t.contains("[RM:50A"), qPrintable(t));
    }

private slots:
    void offeredLanguages()
    {
        ShellWorld world;
        auto store = world.newStore();
        Localizer loc(store.get());
        QCOMPARE(loc.offeredLanguages(), (QStringList{"en", "de"}));
        QCOMPARE(Localizer::englishName("de"), "German");
        QVERIFY(!loc.switchTo("xx"));
        QCOMPARE(loc.current(), "en");
    }

    void systemLanguage_data()
    {
        QTest::addColumn<QString>("system");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("German, Germany") << "de_DE"
                                         << "de";
        QTest::newRow("German, Austria: the language part") << "de_AT"
                                                            << "de";
        QTest::newRow("English") << "en_GB"
                                 << "en";
        QTest::newRow("French is not offered") << "fr_FR"
                                               << "";
    }
    void systemLanguage()
    {
        QFETCH(QString, system);
        QFETCH(QString, chosen);
        ShellWorld world;
        auto store = world.newStore();
        Localizer loc(store.get());
        QCOMPARE(loc.selectSystemLanguage(system), chosen);
        QCOMPARE(loc.current(), chosen.isEmpty() ? QString("en") : chosen);
    }

    void switchingAtRunTime()
    {
        ShellWorld world;
        auto store = world.newStore();
        Localizer loc(store.get());
        MainWindowOptions o = world.options(store.get());
        o.localizer = &loc;
        TformSonvex3Main w(o);
        const QString englishAdvice = w.findChild<QLabel*>("LabelBeforeConnectAdvice")->text();

        QVERIFY(loc.switchTo("de"));
        settle();
        QCOMPARE(store->language(), "de");
        QCOMPARE(w.pageControlMain()->tabText(0), "Erste Schritte");
        QCOMPARE(w.pageControlMain()->tabText(3), "   Daten ansehen   ");
        QCOMPARE((*w.actions())["ActionFileOpen"]->text(), "&Datendatei öffnen...");
        QCOMPARE(w.menuBar()->actions().at(0)->text(), "&Datei");
        QCOMPARE(w.menuBar()->actions().at(5)->text(), "Daten senden"); // the sixth menu again
        QCOMPARE(w.beforeWizard()->nextButton()->text(), "Weiter >");
        QCOMPARE(w.statusTexts.StatusWaiting, "Sonvex wartet auf eine Verbindung...");
        const QString advice = w.findChild<QLabel*>("LabelBeforeConnectAdvice")->text();
        QVERIFY(advice.contains("noxTag-Reader Modell 6"));
        QVERIFY(!advice.contains("KV:300"));
        QCOMPARE(w.findChild<QLabel*>("LabelAfterConnectAdvice")->text(), advice);
        QCOMPARE(w.findChild<QLabel*>("LabelConfigureNote")->text(), "(nur Reader der Modell-6-Reihe)");
        noPlaceholders(&w);

        // On the last step the button says "Fertig >".
        w.ShowAfterWizardPage(0, 6);
        QCOMPARE(w.afterWizard()->nextButton()->text(), "Fertig >");

        QVERIFY(loc.switchTo("en"));
        settle();
        QCOMPARE(w.pageControlMain()->tabText(0), "Getting Started");
        QCOMPARE(w.menuBar()->actions().at(5)->text(), "Send Data");
        QCOMPARE(w.afterWizard()->nextButton()->text(), "Finish >");
        QCOMPARE(w.findChild<QLabel*>("LabelBeforeConnectAdvice")->text(), englishAdvice);
        noPlaceholders(&w);
    }

    void helpFollowsTheLanguageWhereItExists()
    {
        ShellWorld world;
        auto store = world.newStore();
        Localizer loc(store.get());
        MainWindowOptions o = world.options(store.get());
        o.localizer = &loc;
        TformSonvex3Main w(o);
        const QString english = world.programData() + "/help";
        QCOMPARE(w.helpFile, english);
        // No German help installed: the English pages stay.
        QVERIFY(loc.switchTo("de"));
        settle();
        QCOMPARE(w.helpFile, english);
        QVERIFY(loc.switchTo("en"));
        settle();
        QVERIFY(QDir().mkpath(world.programData() + "/help_de"));
        QVERIFY(loc.switchTo("de"));
        settle();
        QCOMPARE(w.helpFile, world.programData() + "/help_de");
        QCOMPARE(w.helpBrowser()->helpFolder(), w.helpFile);
        QVERIFY(loc.switchTo("en"));
        settle();
        QCOMPARE(w.helpFile, english);
    }

    void storedChoiceIsRestored()
    {
        ShellWorld world;
        {
            auto store = world.newStore();
            store->setLanguage("de");
        }
        auto store = world.newStore();
        Localizer loc(store.get());
        loc.restoreStoredLanguage();
        QCOMPARE(loc.current(), "de");
        auto w = world.newWindow(store.get());
        QCOMPARE(w->pageControlMain()->tabText(1), "Vor den Messungen");
        noPlaceholders(w.get());
        QVERIFY(loc.switchTo("en"));
    }
};

QTEST_MAIN(TstLocalization)
#include "tst_localization.moc"
