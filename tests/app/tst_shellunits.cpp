// The shell's rules that need no window: wizard navigation, command line, recent files, dialog
// filters, help topics, folders and samples, the window title.

#include "app/DialogFilters.h"
#include "app/FolderSetup.h"
#include "app/HelpTopics.h"
#include "app/LaunchRequest.h"
#include "app/RecentFiles.h"
#include "app/SonvexStringConstants.h"
#include "app/WizardNavigator.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace sonvex;

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& content)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
}

} // namespace

class TstShellUnits : public QObject
{
    Q_OBJECT

private slots:
    // --- wizard navigation: every step in both directions, targets, both wizard sizes ----------
    void wizardNavigation_data()
    {
        QTest::addColumn<int>("steps");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("direction");
        QTest::addColumn<int>("target");
        QTest::addColumn<int>("expectedStep");
        QTest::addColumn<bool>("toGettingStarted");
        struct Row
        {
            int steps, from, direction, target, step;
            bool gs;
        };
        // clang-format off
        const Row rows[] = {
            // Before wizard, five steps: Next from each step, Finish on the last.
            {5, 1, +1, 0, 2, false}, {5, 2, +1, 0, 3, false}, {5, 3, +1, 0, 4, false}, {5, 4, +1, 0, 5, false},
            {5, 5, +1, 0, 1, true},
            // Back from each step; Back on the first stays and leaves the wizard.
            {5, 5, -1, 0, 4, false}, {5, 4, -1, 0, 3, false}, {5, 3, -1, 0, 2, false}, {5, 2, -1, 0, 1, false},
            {5, 1, -1, 0, 1, true},
            // After wizard, six steps.
            {6, 1, +1, 0, 2, false}, {6, 2, +1, 0, 3, false}, {6, 3, +1, 0, 4, false}, {6, 4, +1, 0, 5, false},
            {6, 5, +1, 0, 6, false}, {6, 6, +1, 0, 1, true},
            {6, 6, -1, 0, 5, false}, {6, 5, -1, 0, 4, false}, {6, 4, -1, 0, 3, false}, {6, 3, -1, 0, 2, false},
            {6, 2, -1, 0, 1, false}, {6, 1, -1, 0, 1, true},
            // Direction 0 shows the first step; a target wins over the direction.
            {5, 4, 0, 0, 1, false}, {6, 3, 0, 0, 1, false}, {5, 1, 0, 5, 5, false}, {6, 6, +1, 2, 2, false},
            {6, 1, -1, 6, 6, false},
            // Targets outside the wizard change nothing.
            {5, 3, 0, 6, 3, false}, {6, 2, 0, 7, 2, false},
        };
        // clang-format on
        for (const Row& r : rows)
            QTest::addRow("%d steps, from %d, dir %+d, target %d", r.steps, r.from, r.direction, r.target)
                << r.steps << r.from << r.direction << r.target << r.step << r.gs;
    }
    void wizardNavigation()
    {
        QFETCH(int, steps);
        QFETCH(int, from);
        QFETCH(int, direction);
        QFETCH(int, target);
        QFETCH(int, expectedStep);
        QFETCH(bool, toGettingStarted);
        WizardNavigator nav(steps);
        QCOMPARE(nav.current(), 1);
        nav.navigate(0, from);
        QCOMPARE(nav.current(), from);
        const WizardNavigator::Move move = nav.navigate(direction, target);
        QCOMPARE(move.step, expectedStep);
        QCOMPARE(move.toGettingStarted, toGettingStarted);
        QCOMPARE(nav.current(), expectedStep);
        QCOMPARE(nav.isLastStep(), expectedStep == steps);
    }

    // --- command line ---------------------------------------------------------------------------
    void launchRequest_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("tray");
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("error");
        QTest::newRow("none") << QStringList{"sonvex"} << false << "" << false;
        QTest::newRow("runInTray first") << QStringList{"sonvex", "runInTray"} << true << "" << false;
        QTest::newRow("case matters") << QStringList{"sonvex", "runintray"} << false << "" << false;
        QTest::newRow("only as first")
            << QStringList{"sonvex", "file.kvntm", "runInTray"} << false << "" << false;
        QTest::newRow("other first argument") << QStringList{"sonvex", "file.kvntm"} << false << "" << false;
        QTest::newRow("comms disable")
            << QStringList{"sonvex", "--comms-disable"} << false << "comms-disable" << false;
        QTest::newRow("comms enable after tray")
            << QStringList{"sonvex", "runInTray", "--comms-enable"} << true << "comms-enable" << false;
        QTest::newRow("unknown option") << QStringList{"sonvex", "--frobnicate"} << false << "" << true;
    }
    void launchRequest()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, tray);
        QFETCH(QString, command);
        QFETCH(bool, error);
        const LaunchRequest r = LaunchRequest::parse(arguments);
        QCOMPARE(r.startInTray, tray);
        QCOMPARE(r.command, command);
        QCOMPARE(!r.error.isEmpty(), error);
    }

    // --- recent files -----------------------------------------------------------------------------
    void recentFiles_data()
    {
        QTest::addColumn<QStringList>("current");
        QTest::addColumn<QString>("added");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("into empty") << QStringList{} << "/a" << QStringList{"/a", "", "", "", ""};
        QTest::newRow("new on top") << QStringList{"/a", "/b", "", "", ""} << "/c"
                                    << QStringList{"/c", "/a", "/b", "", ""};
        QTest::newRow("fourth moves to top")
            << QStringList{"/a", "/b", "/c", "/d", "/e"} << "/d" << QStringList{"/d", "/a", "/b", "/c", "/e"};
        QTest::newRow("full list drops the last")
            << QStringList{"/a", "/b", "/c", "/d", "/e"} << "/f" << QStringList{"/f", "/a", "/b", "/c", "/d"};
        QTest::newRow("empty entries keep their places")
            << QStringList{"/a", "", "/b", "", ""} << "/c" << QStringList{"/c", "/a", "", "/b", ""};
        QTest::newRow("top again") << QStringList{"/a", "/b", "", "", ""} << "/a"
                                   << QStringList{"/a", "/b", "", "", ""};
    }
    void recentFiles()
    {
        QFETCH(QStringList, current);
        QFETCH(QString, added);
        QFETCH(QStringList, expected);
        const QStringList result = RecentFiles::add(current, added);
        QCOMPARE(result, expected);
        QCOMPARE(result.count(added), 1);
    }

    // --- dialog filters -----------------------------------------------------------------------------
    void openFilterBecomesFourDialogFilters()
    {
        const QStringList filters = DialogFilters::fromPipeText(SonvexStrings::openFilter());
        QCOMPARE(filters, (QStringList{"Sonvex data files (.kvntm .kvslm) (*.kvntm *.kvslm)",
                                       "Older Sonvex data files (.txt) (*.txt)",
                                       "Sonvex 3 raw download files (.txt) (*.txt)",
                                       "LogRead raw print data files (.PRT) (*.prt)"}));
        QCOMPARE(DialogFilters::indexOf(filters, filters.at(1)), 2);
        QCOMPARE(DialogFilters::indexOf(filters, "All files (*)"), 0);
        QCOMPARE(DialogFilters::fromPipeText(SonvexStrings::saveFilter()),
                 QStringList{"Sonvex Data files (.kvntm) (*.kvntm)"});
        // A dangling description without patterns is dropped.
        QCOMPARE(DialogFilters::fromPipeText("A|*.a|B"), QStringList{"A (*.a)"});
    }

    // --- help -------------------------------------------------------------------------------------
    void contextTopic_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("after");
        QTest::addColumn<bool>("data");
        QTest::addColumn<QString>("topic");
        QTest::newRow("getting started") << 0 << 3 << 4 << true << "QuickStart";
        const char* before[] = {"ConnectToTheReader1", "SetTheClock", "ClearTheMemory", "MeasurementSetup",
                                "DisplayOptions"};
        for (int s = 1; s <= 5; ++s)
            QTest::addRow("before step %d", s) << 1 << s << 1 << false << before[s - 1];
        const char* after[] = {"ConnectToTheReader",        "DownloadTheMeasurementData",
                               "CreateAMeasurementReport",  "CustomiseTheMeasurementReport",
                               "PrintTheMeasurementReport", "ExportTheMeasurementData"};
        for (int s = 1; s <= 6; ++s)
            QTest::addRow("after step %d", s) << 2 << 1 << s << false << after[s - 1];
        QTest::newRow("view data, no data") << 3 << 1 << 1 << false << "QuickStart";
        QTest::newRow("view data with data") << 3 << 1 << 1 << true << "ViewTheMeasurementData";
    }
    void contextTopic()
    {
        QFETCH(int, page);
        QFETCH(int, before);
        QFETCH(int, after);
        QFETCH(bool, data);
        QFETCH(QString, topic);
        QCOMPARE(HelpTopics::contextTopic(HelpTopics::MainPage(page), before, after, data), topic);
    }

    void helpCommands_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("data");
        QTest::addColumn<bool>("handled");
        QTest::addColumn<QString>("keyword");
        QTest::newRow("contents by context 1000") << 1 << "1000" << true << "index";
        QTest::newRow("contents command") << 3 << "" << true << "index";
        QTest::newRow("context pop-up does nothing") << 8 << "12" << true << "";
        QTest::newRow("pop-up position is only remembered") << 13 << "" << true << "";
        QTest::newRow("keyword passes through") << 0x101 << "SetTheClock" << true << "SetTheClock";
        QTest::newRow("_context is the page's topic") << 0x101 << "_context" << true << "ClearTheMemory";
        QTest::newRow("other commands go to the default") << 2 << "" << false << "";
    }
    void helpCommands()
    {
        QFETCH(int, command);
        QFETCH(QString, data);
        QFETCH(bool, handled);
        QFETCH(QString, keyword);
        const HelpTopics::Answer a = HelpTopics::answer(command, data, "ClearTheMemory");
        QCOMPARE(a.handled, handled);
        QCOMPARE(a.keyword, keyword);
    }

    void helpPageFileRefusesPaths_data()
    {
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("plain") << "QuickStart" << true;
        QTest::newRow("underscore") << "_context" << true;
        QTest::newRow("parent folder") << "../secret" << false;
        QTest::newRow("absolute") << "/etc/passwd" << false;
        QTest::newRow("empty") << "" << false;
    }
    void helpPageFileRefusesPaths()
    {
        QFETCH(QString, keyword);
        QFETCH(bool, accepted);
        const QString file = HelpTopics::pageFile("/help", keyword);
        QCOMPARE(!file.isEmpty(), accepted);
        if (accepted)
            QCOMPARE(file, "/help/" + keyword + ".html");
    }

    // Every keyword the program asks for has a page, and every link between pages leads somewhere.
    void helpPagesExistAndLinkUp()
    {
        const QString folder = QStringLiteral(SONVEX_SOURCE_DIR "/resources/help");
        const QStringList keywords = HelpTopics::allKeywords();
        QVERIFY(keywords.size() >= 19);
        for (const QString& k : keywords) {
            const QByteArray page = readAll(HelpTopics::pageFile(folder, k));
            QVERIFY2(!page.isEmpty(), qPrintable(k));
            QVERIFY2(page.contains("<title>"), qPrintable(k));
            QVERIFY2(page.size() > 600, qPrintable(k)); // a real page, not a placeholder
        }
        static const QRegularExpression link(QStringLiteral("href=\"([^\"#:]+\\.html)"));
        QDirIterator it(folder, {QStringLiteral("*.html")}, QDir::Files);
        int links = 0;
        while (it.hasNext()) {
            const QString file = it.next();
            const QString html = QString::fromUtf8(readAll(file));
            for (auto m = link.globalMatch(html); m.hasNext();) {
                const QString target = m.next().captured(1);
                QVERIFY2(QFile::exists(QDir(folder).filePath(target)), qPrintable(file + " -> " + target));
                ++links;
            }
        }
        QVERIFY(links > keywords.size());
    }

    // --- folders and samples -----------------------------------------------------------------------
    void firstFoldersGetTheSamplesOnce()
    {
        QTemporaryDir dir;
        const QString docs = dir.path() + "/Documents";
        const QString data = dir.path() + "/share";
        QDir().mkpath(docs);
        QDir().mkpath(data + "/samples");
        for (const QString& name : FolderSetup::sampleDataFiles())
            writeFile(data + "/samples/" + name, name.toUtf8());
        writeFile(data + "/ActivityNames.xml", "names");

        FolderSetup::Result r = FolderSetup::ensureFolders({}, {}, docs, data);
        QCOMPARE(r.documentsFolder, docs + "/Meridan Sonvex");
        QCOMPARE(r.dataFolder, docs + "/Meridan Sonvex/data files");
        QVERIFY(r.errors.isEmpty());
        QCOMPARE(r.copied.size(), 4);
        for (const QString& name : FolderSetup::sampleDataFiles())
            QCOMPARE(readAll(r.dataFolder + "/" + name), name.toUtf8());
        QCOMPARE(readAll(r.documentsFolder + "/ActivityNames.xml"), QByteArray("names"));

        // An existing data folder gets nothing, even with a sample deleted.
        QVERIFY(QFile::remove(r.dataFolder + "/" + FolderSetup::sampleDataFiles().first()));
        r = FolderSetup::ensureFolders(r.documentsFolder, r.dataFolder, docs, data);
        QVERIFY(r.copied.isEmpty());
        QVERIFY(!QFile::exists(r.dataFolder + "/" + FolderSetup::sampleDataFiles().first()));

        // A data folder that is missing again is seeded again; edited files are never overwritten.
        writeFile(r.documentsFolder + "/ActivityNames.xml", "my own names");
        QVERIFY(QDir(r.dataFolder).removeRecursively());
        r = FolderSetup::ensureFolders(r.documentsFolder, r.dataFolder, docs, data);
        QCOMPARE(r.copied.size(), 3);
        QCOMPARE(readAll(r.documentsFolder + "/ActivityNames.xml"), QByteArray("my own names"));
    }

    void copySamplesNeverOverwrites()
    {
        QTemporaryDir dir;
        const QString data = dir.path() + "/share";
        const QString target = dir.path() + "/target";
        QDir().mkpath(data);
        QDir().mkpath(target);
        for (const QString& name : FolderSetup::sampleDataFiles())
            writeFile(data + "/" + name, "sample");
        writeFile(target + "/" + FolderSetup::sampleDataFiles().at(1), "measured by me");
        const QStringList copied = FolderSetup::copySamples(data, target, target);
        QCOMPARE(copied.size(), 2); // no activity names in this program folder, one sample present
        QCOMPARE(readAll(target + "/" + FolderSetup::sampleDataFiles().at(1)), QByteArray("measured by me"));
        QCOMPARE(readAll(target + "/" + FolderSetup::sampleDataFiles().at(0)), QByteArray("sample"));
    }

    void aFolderThatCannotBeCreatedIsReported()
    {
        QTemporaryDir dir;
        writeFile(dir.path() + "/blocker", "a file where a folder should be");
        const FolderSetup::Result r = FolderSetup::ensureFolders(
            dir.path() + "/blocker/docs", dir.path() + "/blocker/data", dir.path(), {});
        QCOMPARE(r.errors.size(), 2);
        QVERIFY(r.errors.at(0).contains("blocker"));
        QVERIFY(r.copied.isEmpty());
    }

    void programDataFolderPrefersTheInstalledShare()
    {
        QTemporaryDir dir;
        QDir().mkpath(dir.path() + "/bin");
        // Build tree: the source resources.
        QCOMPARE(FolderSetup::programDataFolder(dir.path() + "/bin"),
                 QStringLiteral(SONVEX_SOURCE_DIR "/resources"));
        QDir().mkpath(dir.path() + "/share/sonvex");
        QCOMPARE(FolderSetup::programDataFolder(dir.path() + "/bin"),
                 QDir(dir.path() + "/share/sonvex").canonicalPath());
    }

    // --- title --------------------------------------------------------------------------------------
    void title_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<QString>("title");
        QTest::newRow("nothing connected") << 0 << "Sonvex";
        QTest::newRow("USB Reader") << 3 << "Sonvex - Connected to Reader via USB";
        QTest::newRow("RS-232 keeps its own") << 1 << "kept";
        QTest::newRow("downloading keeps its own") << 4 << "kept";
    }
    void title()
    {
        QFETCH(int, state);
        QFETCH(QString, title);
        QCOMPARE(titleFor(state, StatusTexts::load(), "kept"), title);
    }

    void statusTexts()
    {
        const StatusTexts t = StatusTexts::load();
        QCOMPARE(t.StatusDisabled, "Sonvex disabled");
        QCOMPARE(t.StatusWaiting, "Sonvex waiting for connection...");
        QCOMPARE(t.StatusSavedAs, "This data has been saved as:");
        QCOMPARE(t.StatusNotSaved, "This data has not been saved");
        QCOMPARE(t.StatusDataFromFile, "Data from file: ");
        QCOMPARE(t.StatusWaitingForConnection, "Waiting for Connection");
        QCOMPARE(t.StatusConnected, "Connected");
        QCOMPARE(t.StatusConnectedUsb, "Connected to Reader via USB");
        QCOMPARE(t.StatusDownloading, "Downloading");
    }
};

QTEST_GUILESS_MAIN(TstShellUnits)
#include "tst_shellunits.moc"
