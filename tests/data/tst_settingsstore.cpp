#include "data/SettingsStore.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <vector>

using namespace sonvex;

namespace {

QVariant opt(const std::optional<int>& v)
{
    return v ? QVariant(*v) : QVariant();
}
QVariant opt(const std::optional<bool>& v)
{
    return v ? QVariant(*v) : QVariant();
}

// One stored value: where it lives in the file, its default, a value different from the default,
// and how the store reads and writes it.
struct Value
{
    const char* key;
    QVariant defaultValue;
    QVariant sample;
    std::function<QVariant(const SettingsStore&)> get;
    std::function<void(SettingsStore&, const QVariant&)> set;
};

using S = SettingsStore;

const std::vector<Value>& values()
{
    static const std::vector<Value> table = {
        // main key
        {"v3.0/X",
         {},
         -120,
         [](const S& s) { return opt(s.windowX()); },
         [](S& s, const QVariant& v) {
             s.setWindowGeometry(v.toInt(), 1, 2, 3);
         }},
        {"v3.0/Y",
         {},
         45,
         [](const S& s) { return opt(s.windowY()); },
         [](S& s, const QVariant& v) {
             s.setWindowGeometry(0, v.toInt(), 2, 3);
         }},
        {"v3.0/W",
         {},
         812,
         [](const S& s) { return opt(s.windowWidth()); },
         [](S& s, const QVariant& v) {
             s.setWindowGeometry(0, 1, v.toInt(), 3);
         }},
        {"v3.0/H",
         {},
         640,
         [](const S& s) { return opt(s.windowHeight()); },
         [](S& s, const QVariant& v) {
             s.setWindowGeometry(0, 1, 2, v.toInt());
         }},
        {"v3.0/visible",
         {},
         false,
         [](const S& s) { return opt(s.windowVisible()); },
         [](S& s, const QVariant& v) {
             s.setWindowVisible(v.toBool());
         }},
        {"v3.0/data folder", QString(), QStringLiteral("/srv/noise data/2024"),
         [](const S& s) { return s.dataFolder(); },
         [](S& s, const QVariant& v) {
             s.setDataFolder(v.toString());
         }},
        {"v3.0/shellAssocMade", false, true, [](const S& s) { return s.shellAssocMade(); },
         [](S& s, const QVariant& v) {
             s.setShellAssocMade(v.toBool());
         }},
        {"v3.0/advancedMode", false, true, [](const S& s) { return s.advancedMode(); },
         [](S& s, const QVariant& v) {
             s.setAdvancedMode(v.toBool());
         }},
        {"v3.0/report selected", false, true, [](const S& s) { return s.reportSelected(); },
         [](S& s, const QVariant& v) {
             s.setReportSelected(v.toBool());
         }},
        {"v3.0/no underrange", false, true, [](const S& s) { return s.noUnderrange(); },
         [](S& s, const QVariant& v) {
             s.setNoUnderrange(v.toBool());
         }},
        {"v3.0/validate", false, true, [](const S& s) { return s.validate(); },
         [](S& s, const QVariant& v) {
             s.setValidate(v.toBool());
         }},
        {"v3.0/Report Title", QString(), QStringLiteral("Press shop, line 2"),
         [](const S& s) { return s.reportTitle(); },
         [](S& s, const QVariant& v) {
             s.setReportTitle(v.toString());
         }},
        {"v3.0/Report Location", QString(), QStringLiteral("Hall B; bay 4"),
         [](const S& s) { return s.reportLocation(); },
         [](S& s, const QVariant& v) {
             s.setReportLocation(v.toString());
         }},
        {"v3.0/Report Made By", QString(), QStringLiteral("J. Ödegård"),
         [](const S& s) { return s.reportMadeBy(); },
         [](S& s, const QVariant& v) {
             s.setReportMadeBy(v.toString());
         }},
        {"v3.0/Report Notes", QString(), QStringLiteral("first line\r\nsecond = line\r\n[third]"),
         [](const S& s) { return s.reportNotes(); },
         [](S& s, const QVariant& v) {
             s.setReportNotes(v.toString());
         }},
        {"v3.0/Report Rec", QString(), QStringLiteral("Wear ear muffs\r\nRe-test in 6 months"),
         [](const S& s) { return s.reportRecommendations(); },
         [](S& s, const QVariant& v) {
             s.setReportRecommendations(v.toString());
         }},
        {"v3.0/Internal",
         {},
         true,
         [](const S& s) { return opt(s.internalMode()); },
         [](S& s, const QVariant& v) {
             s.setInternalMode(v.toBool());
         }},
        {"v3.0/saveFolder", QString(), QStringLiteral("C:\\Users\\ann\\Saved"),
         [](const S& s) { return s.saveFolder(); },
         [](S& s, const QVariant& v) {
             s.setSaveFolder(v.toString());
         }},
        {"v3.0/reportLogo", QString(), QStringLiteral("/home/ann/logo, final.png"),
         [](const S& s) { return s.reportLogo(); },
         [](S& s, const QVariant& v) {
             s.setReportLogo(v.toString());
         }},
        {"v3.0/MRExportIndex", 0, 3, [](const S& s) { return s.exportIndex(); },
         [](S& s, const QVariant& v) {
             s.setExportIndex(v.toInt());
         }},
        {"v3.0/lastShown", 0, 45291, [](const S& s) { return s.lastShown(); },
         [](S& s, const QVariant& v) {
             s.setLastShown(v.toInt());
         }},
        {"v3.0/lastAdvice", 0, 39814, [](const S& s) { return s.lastAdvice(); },
         [](S& s, const QVariant& v) {
             s.setLastAdvice(v.toInt());
         }},
        {"v3.0/localizer/language", QString(), QStringLiteral("de"), [](const S& s) { return s.language(); },
         [](S& s, const QVariant& v) {
             s.setLanguage(v.toString());
         }},
        {"v3.0/MRUList/1", QString(), QStringLiteral("/data/a.kvntm"),
         [](const S& s) { return s.recentFiles().at(0); },
         [](S& s, const QVariant& v) {
             s.setRecentFiles({v.toString()});
         }},
        {"v3.0/MRUList/5", QString(), QStringLiteral("/data/e.kvslm"),
         [](const S& s) { return s.recentFiles().at(4); },
         [](S& s, const QVariant& v) {
             s.setRecentFiles({{}, {}, {}, {}, v.toString()});
         }},
        {"executable", QString(), QStringLiteral("/opt/sonvex/bin/sonvex"),
         [](const S& s) { return s.executablePath(); },
         [](S& s, const QVariant& v) {
             s.setExecutablePath(v.toString());
         }},
        // table settings of the data module
        {"v3.0/UserCritLevel", 84, 90, [](const S& s) { return s.userCritLevel(1); },
         [](S& s, const QVariant& v) {
             s.setUserCritLevel(1, v.toInt());
         }},
        {"v3.0/UserCritLevel2", 84, 80, [](const S& s) { return s.userCritLevel(2); },
         [](S& s, const QVariant& v) {
             s.setUserCritLevel(2, v.toInt());
         }},
        {"v3.0/UserCritLevelList", QStringLiteral("90\n85\n84\n83\n80\n"), QStringLiteral("87\n82\n"),
         [](const S& s) { return s.userCritLevelList(1); },
         [](S& s, const QVariant& v) {
             s.setUserCritLevelList(1, v.toString());
         }},
        {"v3.0/UserCritLevelList2", QStringLiteral("90\n85\n84\n83\n80\n"), QStringLiteral("75\n"),
         [](const S& s) { return s.userCritLevelList(2); },
         [](S& s, const QVariant& v) {
             s.setUserCritLevelList(2, v.toString());
         }},
        {"v3.0/UseUserCritLevel", false, true, [](const S& s) { return s.useUserCritLevel(1); },
         [](S& s, const QVariant& v) {
             s.setUseUserCritLevel(1, v.toBool());
         }},
        {"v3.0/UseUserCritLevel2", false, true, [](const S& s) { return s.useUserCritLevel(2); },
         [](S& s, const QVariant& v) {
             s.setUseUserCritLevel(2, v.toBool());
         }},
        // Settings window
        {"v3.0/settings/runOnStartup", true, false, [](const S& s) { return s.runOnStartup(); },
         [](S& s, const QVariant& v) {
             s.setRunOnStartup(v.toBool());
         }},
        {"v3.0/settings/popupOnConnect", true, false, [](const S& s) { return s.popupOnConnect(); },
         [](S& s, const QVariant& v) {
             s.setPopupOnConnect(v.toBool());
         }},
        {"v3.0/settings/com1", true, false, [](const S& s) { return s.scanPort(1); },
         [](S& s, const QVariant& v) {
             s.setScanPort(1, v.toBool());
         }},
        {"v3.0/settings/com9", true, false, [](const S& s) { return s.scanPort(9); },
         [](S& s, const QVariant& v) {
             s.setScanPort(9, v.toBool());
         }},
        {"v3.0/settings/com16", true, false, [](const S& s) { return s.scanPort(16); },
         [](S& s, const QVariant& v) {
             s.setScanPort(16, v.toBool());
         }},
        {"v3.0/settings/scanReaderPort", true, false, [](const S& s) { return s.scanReaderPort(); },
         [](S& s, const QVariant& v) {
             s.setScanReaderPort(v.toBool());
         }},
        {"v3.0/settings/showPeakTimeHistory", true, false, [](const S& s) { return s.showPeakTimeHistory(); },
         [](S& s, const QVariant& v) {
             s.setShowPeakTimeHistory(v.toBool());
         }},
        {"v3.0/settings/DualReportBothChannels", true, false,
         [](const S& s) { return s.dualReportBothChannels(); },
         [](S& s, const QVariant& v) {
             s.setDualReportBothChannels(v.toBool());
         }},
        {"v3.0/settings/useSystemLanguage", true, false, [](const S& s) { return s.useSystemLanguage(); },
         [](S& s, const QVariant& v) {
             s.setUseSystemLanguage(v.toBool());
         }},
        {"v3.0/settings/useRS232", false, true, [](const S& s) { return s.useRS232(); },
         [](S& s, const QVariant& v) {
             s.setUseRS232(v.toBool());
         }},
        {"v3.0/settings/horiz1", true, false, [](const S& s) { return s.markerLineShown(1); },
         [](S& s, const QVariant& v) {
             s.setMarkerLineShown(1, v.toBool());
         }},
        {"v3.0/settings/horiz2", true, false, [](const S& s) { return s.markerLineShown(2); },
         [](S& s, const QVariant& v) {
             s.setMarkerLineShown(2, v.toBool());
         }},
        {"v3.0/settings/horiz3", true, false, [](const S& s) { return s.markerLineShown(3); },
         [](S& s, const QVariant& v) {
             s.setMarkerLineShown(3, v.toBool());
         }},
        {"v3.0/settings/horiz1Level", 90, 137, [](const S& s) { return s.markerLineLevel(1); },
         [](S& s, const QVariant& v) {
             s.setMarkerLineLevel(1, v.toInt());
         }},
        {"v3.0/settings/horiz2Level", 85, 70, [](const S& s) { return s.markerLineLevel(2); },
         [](S& s, const QVariant& v) {
             s.setMarkerLineLevel(2, v.toInt());
         }},
        {"v3.0/settings/horiz3Level", 80, 140, [](const S& s) { return s.markerLineLevel(3); },
         [](S& s, const QVariant& v) {
             s.setMarkerLineLevel(3, v.toInt());
         }},
        {"v3.0/settings/horiz1Color", 0x800080, 0x0000FF,
         [](const S& s) { return int(s.markerLineColor(1)); },
         [](S& s, const QVariant& v) {
             s.setMarkerLineColor(1, v.toUInt());
         }},
        {"v3.0/settings/horiz2Color", 0x808000, 0xFFFFFF,
         [](const S& s) { return int(s.markerLineColor(2)); },
         [](S& s, const QVariant& v) {
             s.setMarkerLineColor(2, v.toUInt());
         }},
        {"v3.0/settings/horiz3Color", 0x008000, 0x000000,
         [](const S& s) { return int(s.markerLineColor(3)); },
         [](S& s, const QVariant& v) {
             s.setMarkerLineColor(3, v.toUInt());
         }},
        {"v3.0/settings/Allow unusual SERIALCOMM device names", false, true,
         [](const S& s) { return s.allowUnusualSerialNames(); },
         [](S& s, const QVariant& v) {
             s.setAllowUnusualSerialNames(v.toBool());
         }},
        // validation options
        {"v3.0/validation/bing", true, false, [](const S& s) { return s.bingDone(); },
         [](S& s, const QVariant& v) {
             s.setBingDone(v.toBool());
         }},
        {"v3.0/validation/batt flat", true, false, [](const S& s) { return s.battFlat(); },
         [](S& s, const QVariant& v) {
             s.setBattFlat(v.toBool());
         }},
        {"v3.0/validation/max", 100, 120, [](const S& s) { return s.leqMax(); },
         [](S& s, const QVariant& v) {
             s.setLeqMax(v.toInt());
         }},
        {"v3.0/validation/min", 75, 60, [](const S& s) { return s.leqMin(); },
         [](S& s, const QVariant& v) {
             s.setLeqMin(v.toInt());
         }},
        {"v3.0/validation/maxTol", 10, 4, [](const S& s) { return s.leqMaxTolerance(); },
         [](S& s, const QVariant& v) {
             s.setLeqMaxTolerance(v.toInt());
         }},
        {"v3.0/validation/minTol", 10, 7, [](const S& s) { return s.leqMinTolerance(); },
         [](S& s, const QVariant& v) {
             s.setLeqMinTolerance(v.toInt());
         }},
    };
    return table;
}

// Compares a value the store returned with the expected one, booleans and numbers by value.
bool same(const QVariant& actual, const QVariant& expected)
{
    if (!expected.isValid() || !actual.isValid())
        return actual.isValid() == expected.isValid();
    if (expected.typeId() == QMetaType::Bool)
        return actual.typeId() == QMetaType::Bool && actual.toBool() == expected.toBool();
    if (expected.typeId() == QMetaType::Int)
        return actual.typeId() == QMetaType::Int && actual.toInt() == expected.toInt();
    return actual.typeId() == QMetaType::QString && actual.toString() == expected.toString();
}

// The raw form a value takes in the file: booleans as 1/0, numbers in the C locale.
QString rawForm(const QVariant& v)
{
    if (v.typeId() == QMetaType::Bool)
        return v.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    return v.toString();
}

} // namespace

class TstSettingsStore : public QObject
{
    Q_OBJECT

private:
    QString iniPath() const { return m_dir->path() + QStringLiteral("/Sonvex.ini"); }
    void addValueRows()
    {
        QTest::addColumn<int>("index");
        for (size_t i = 0; i < values().size(); ++i)
            QTest::newRow(values()[i].key) << int(i);
    }

    std::unique_ptr<QTemporaryDir> m_dir;

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

    void defaultsOnEmptyStore_data() { addValueRows(); }
    void defaultsOnEmptyStore()
    {
        QFETCH(int, index);
        const Value& v = values()[index];
        SettingsStore store(m_dir->path());
        const QVariant actual = v.get(store);
        QVERIFY2(same(actual, v.defaultValue), qPrintable(actual.toString()));
        QVERIFY(store.readProblems().isEmpty());
        // Reading never creates anything.
        QVERIFY(!QFile::exists(iniPath()));
    }

    // A value placed at its documented key by an independent writer is what the store reads.
    void readsDocumentedKey_data() { addValueRows(); }
    void readsDocumentedKey()
    {
        QFETCH(int, index);
        const Value& v = values()[index];
        {
            QSettings raw(iniPath(), QSettings::IniFormat);
            raw.setValue(QString::fromLatin1(v.key), rawForm(v.sample));
        }
        SettingsStore store(m_dir->path());
        const QVariant actual = v.get(store);
        QVERIFY2(same(actual, v.sample), qPrintable(actual.toString()));
        QVERIFY(store.readProblems().isEmpty());
    }

    // Setting a value writes it at its documented key and a new store on the same file reads it.
    void roundTripSurvivesNewInstance_data() { addValueRows(); }
    void roundTripSurvivesNewInstance()
    {
        QFETCH(int, index);
        const Value& v = values()[index];
        {
            SettingsStore store(m_dir->path());
            v.set(store, v.sample);
            QVERIFY(store.sync());
        }
        {
            QSettings raw(iniPath(), QSettings::IniFormat);
            QCOMPARE(raw.value(QString::fromLatin1(v.key)).toString(), rawForm(v.sample));
        }
        SettingsStore again(m_dir->path());
        QVERIFY(same(v.get(again), v.sample));
    }

    void booleanForms_data()
    {
        QTest::addColumn<QString>("raw");
        QTest::addColumn<bool>("expected");
        QTest::addColumn<bool>("problem");
        QTest::newRow("1") << "1" << true << false;
        QTest::newRow("0") << "0" << false << false;
        QTest::newRow("any non-zero number") << "2" << true << false;
        QTest::newRow("true") << "true" << true << false;
        QTest::newRow("FALSE") << "FALSE" << false << false;
        QTest::newRow("padded") << " 0 " << false << false;
        QTest::newRow("garbage keeps default") << "yes please" << true << true;
        QTest::newRow("empty keeps default") << "" << true << true;
    }
    void booleanForms()
    {
        QFETCH(QString, raw);
        QFETCH(bool, expected);
        QFETCH(bool, problem);
        {
            QSettings file(iniPath(), QSettings::IniFormat);
            file.setValue("v3.0/settings/popupOnConnect", raw); // default true
        }
        SettingsStore store(m_dir->path());
        QCOMPARE(store.popupOnConnect(), expected);
        QCOMPARE(!store.readProblems().isEmpty(), problem);
    }

    // A value of the wrong type falls back to its default, is reported, and does not stop the
    // values after it from being read.
    void wrongTypeIsReportedAndOthersStillRead()
    {
        {
            QSettings file(iniPath(), QSettings::IniFormat);
            file.setValue("v3.0/W", "wide");
            file.setValue("v3.0/H", "700");
            file.setValue("v3.0/MRExportIndex", "4.5");
            file.setValue("v3.0/advancedMode", "1");
        }
        SettingsStore store(m_dir->path());
        QCOMPARE(opt(store.windowWidth()), QVariant());
        QCOMPARE(store.windowHeight(), std::optional<int>(700));
        QCOMPARE(store.exportIndex(), 0);
        QVERIFY(store.advancedMode());
        const QStringList problems = store.readProblems();
        QCOMPARE(problems.size(), 2);
        QVERIFY(problems.at(0).contains("v3.0/W"));
        QVERIFY(problems.at(1).contains("v3.0/MRExportIndex"));
        store.clearReadProblems();
        QVERIFY(store.readProblems().isEmpty());
    }

    void reportTypeOrder_data()
    {
        QTest::addColumn<QString>("simple");
        QTest::addColumn<QString>("compact");
        QTest::addColumn<QString>("comprehensive");
        QTest::addColumn<int>("expected");
        const int simple = int(SettingsStore::ReportType::Simple);
        const int compact = int(SettingsStore::ReportType::Compact);
        const int comprehensive = int(SettingsStore::ReportType::Comprehensive);
        // An empty string means the value is absent.
        QTest::newRow("none stored") << ""
                                     << ""
                                     << "" << comprehensive;
        QTest::newRow("simple only") << "1"
                                     << ""
                                     << "" << simple;
        QTest::newRow("compact only") << ""
                                      << "1"
                                      << "" << compact;
        QTest::newRow("compact after simple") << "1"
                                              << "1"
                                              << "" << compact;
        QTest::newRow("comprehensive wins last") << "1"
                                                 << "1"
                                                 << "1" << comprehensive;
        QTest::newRow("all false") << "0"
                                   << "0"
                                   << "0" << comprehensive;
        QTest::newRow("as written: compact") << "0"
                                             << "1"
                                             << "0" << compact;
    }
    void reportTypeOrder()
    {
        QFETCH(QString, simple);
        QFETCH(QString, compact);
        QFETCH(QString, comprehensive);
        QFETCH(int, expected);
        {
            QSettings file(iniPath(), QSettings::IniFormat);
            if (!simple.isEmpty())
                file.setValue("v3.0/simple report", simple);
            if (!compact.isEmpty())
                file.setValue("v3.0/compact report", compact);
            if (!comprehensive.isEmpty())
                file.setValue("v3.0/comprehensive report", comprehensive);
        }
        SettingsStore store(m_dir->path());
        QCOMPARE(int(store.reportType()), expected);
    }

    void reportTypeRoundTrip_data()
    {
        QTest::addColumn<int>("type");
        QTest::newRow("simple") << int(SettingsStore::ReportType::Simple);
        QTest::newRow("compact") << int(SettingsStore::ReportType::Compact);
        QTest::newRow("comprehensive") << int(SettingsStore::ReportType::Comprehensive);
    }
    void reportTypeRoundTrip()
    {
        QFETCH(int, type);
        {
            SettingsStore store(m_dir->path());
            store.setReportType(SettingsStore::ReportType(type));
        }
        QSettings file(iniPath(), QSettings::IniFormat);
        const int trues = file.value("v3.0/simple report").toInt() +
                          file.value("v3.0/compact report").toInt() +
                          file.value("v3.0/comprehensive report").toInt();
        QCOMPARE(trues, 1);
        SettingsStore again(m_dir->path());
        QCOMPARE(int(again.reportType()), type);
    }

    void rangesAreClamped_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("raw");
        QTest::addColumn<int>("expected");
        QTest::newRow("marker level above range") << "v3.0/settings/horiz1Level"
                                                  << "200" << 140;
        QTest::newRow("marker level below range") << "v3.0/settings/horiz2Level"
                                                  << "12" << 70;
        QTest::newRow("marker level at lower edge") << "v3.0/settings/horiz3Level"
                                                    << "70" << 70;
        QTest::newRow("Leq max above 140") << "v3.0/validation/max"
                                           << "141" << 140;
        QTest::newRow("Leq min at 140") << "v3.0/validation/min"
                                        << "140" << 140;
    }
    void rangesAreClamped()
    {
        QFETCH(QString, key);
        QFETCH(QString, raw);
        QFETCH(int, expected);
        {
            QSettings file(iniPath(), QSettings::IniFormat);
            file.setValue(key, raw);
        }
        SettingsStore store(m_dir->path());
        const int actual = key.contains("horiz1")   ? store.markerLineLevel(1)
                           : key.contains("horiz2") ? store.markerLineLevel(2)
                           : key.contains("horiz3") ? store.markerLineLevel(3)
                           : key.endsWith("max")    ? store.leqMax()
                                                    : store.leqMin();
        QCOMPARE(actual, expected);
    }

    void outOfRangeIndicesAreHarmless()
    {
        SettingsStore store(m_dir->path());
        store.setScanPort(0, false);
        store.setScanPort(17, false);
        store.setMarkerLineShown(4, false);
        store.setMarkerLineLevel(0, 99);
        QVERIFY(store.sync());
        QVERIFY(!store.scanPort(0));
        QVERIFY(!store.scanPort(17));
        for (int port = 1; port <= SettingsStore::kSerialPortCount; ++port)
            QVERIFY(store.scanPort(port));
        QVERIFY(!QFile::exists(iniPath())); // nothing was written
    }

    void recentFilesAreAlwaysFive()
    {
        {
            SettingsStore store(m_dir->path());
            QCOMPARE(store.recentFiles(), QStringList(5, QString()));
            store.setRecentFiles({"/a.kvntm", "/b.kvntm"});
        }
        SettingsStore store(m_dir->path());
        QCOMPARE(store.recentFiles(), (QStringList{"/a.kvntm", "/b.kvntm", {}, {}, {}}));
        store.setRecentFiles({"1", "2", "3", "4", "5", "6"});
        QCOMPARE(store.recentFiles(), (QStringList{"1", "2", "3", "4", "5"}));
    }

    void columnOrder_data()
    {
        QTest::addColumn<int>("table");
        QTest::newRow("measurements") << int(SettingsStore::Table::Measurements);
        QTest::newRow("SLM measurements") << int(SettingsStore::Table::SlmMeasurements);
    }
    void columnOrder()
    {
        QFETCH(int, table);
        const auto t = SettingsStore::Table(table);
        const auto other = t == SettingsStore::Table::Measurements ? SettingsStore::Table::SlmMeasurements
                                                                   : SettingsStore::Table::Measurements;
        const QMap<QString, int> builtIn{{"serialNumber", 1}, {"leq", 2}, {"dose", 3}, {"notes", 0}};
        {
            SettingsStore store(m_dir->path());
            QCOMPARE(store.columnOrder(t, builtIn), builtIn);
            store.setColumnOrder(t, {{"leq", 5}, {"notes", 4}});
        }
        SettingsStore store(m_dir->path());
        const QMap<QString, int> expected{{"serialNumber", 1}, {"leq", 5}, {"dose", 3}, {"notes", 4}};
        QCOMPARE(store.columnOrder(t, builtIn), expected);
        // The other table keeps its own positions.
        QCOMPARE(store.columnOrder(other, builtIn), builtIn);
        // A stored field that the table does not have is not added.
        QVERIFY(!store.columnOrder(t, {{"dose", 3}}).contains("leq"));
        // Each field is stored under its own name in the table's subkey.
        QSettings raw(iniPath(), QSettings::IniFormat);
        const QString group =
            t == SettingsStore::Table::Measurements ? "v3.0/column order/" : "v3.0/column order SLM/";
        QCOMPARE(raw.value(group + "leq").toInt(), 5);
        QCOMPARE(raw.value(group + "notes").toInt(), 4);
    }

    void columnOrderWithBadValueKeepsBuiltIn()
    {
        {
            QSettings raw(iniPath(), QSettings::IniFormat);
            raw.setValue("v3.0/column order/leq", "first");
            raw.setValue("v3.0/column order/dose", "7");
        }
        SettingsStore store(m_dir->path());
        const QMap<QString, int> result =
            store.columnOrder(SettingsStore::Table::Measurements, {{"leq", 2}, {"dose", 3}});
        QCOMPARE(result.value("leq"), 2);
        QCOMPARE(result.value("dose"), 7);
        QCOMPARE(store.readProblems().size(), 1);
    }

    void companionDatabase()
    {
        {
            SettingsStore store(m_dir->path());
            QCOMPARE(store.companionDatabaseExecutable(), QString());
            QVERIFY(!QFile::exists(m_dir->path() + "/noxTag database.ini"));
        }
        {
            QSettings raw(m_dir->path() + "/noxTag database.ini", QSettings::IniFormat);
            raw.setValue("executable", "C:\\Program Files\\ntDB\\ntDB_Meridan.exe");
        }
        SettingsStore store(m_dir->path());
        QCOMPARE(store.companionDatabaseExecutable(), QString("C:\\Program Files\\ntDB\\ntDB_Meridan.exe"));
        // Our own "executable" is a different value.
        QCOMPARE(store.executablePath(), QString());
    }

    void startEntry_data()
    {
        QTest::addColumn<QString>("program");
        QTest::newRow("plain") << "/opt/sonvex/bin/sonvex";
        QTest::newRow("blank in path") << "/home/ann/My Programs/sonvex";
        QTest::newRow("shell characters") << "/tmp/a \"quoted\" $HOME `x` back\\slash/sonvex";
    }
    void startEntry()
    {
        QFETCH(QString, program);
        SettingsStore store(m_dir->path());
        QCOMPARE(store.startEntryCommand(), QString());
        QVERIFY(store.setStartEntry(program));
        QCOMPARE(store.startEntryCommand(), '"' + program + "\" runInTray");
        QFile file(m_dir->path() + "/autostart/meridan-sonvex.desktop");
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString content = QString::fromUtf8(file.readAll());
        QVERIFY(content.startsWith("[Desktop Entry]\n"));
        QVERIFY(content.contains("\nExec=\""));
        QVERIFY(content.contains("\" runInTray\n"));
        file.close();
        // Removing it, also twice.
        QVERIFY(store.setStartEntry(QString()));
        QVERIFY(!file.exists());
        QCOMPARE(store.startEntryCommand(), QString());
        QVERIFY(store.setStartEntry(QString()));
    }

    void plainPathIsWrittenAsDesktopExec()
    {
        SettingsStore store(m_dir->path());
        QVERIFY(store.setStartEntry("/opt/sonvex/bin/sonvex"));
        QFile file(m_dir->path() + "/autostart/meridan-sonvex.desktop");
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(QString::fromUtf8(file.readAll()).contains("\nExec=\"/opt/sonvex/bin/sonvex\" runInTray\n"));
    }

    void unreadableFileIsReported()
    {
        QFile file(iniPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[v3.0]\nadvancedMode=1\n[broken\nW=3\n");
        file.close();
        SettingsStore store(m_dir->path());
        QVERIFY(!store.readProblems().isEmpty());
        QVERIFY(store.readProblems().first().contains(iniPath()));
    }
};

QTEST_GUILESS_MAIN(TstSettingsStore)
#include "tst_settingsstore.moc"
