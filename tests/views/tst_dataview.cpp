// The measurement data view: panel rules, channel tabs, the criterion-level boxes and check boxes,
// notes and cursors written back into the data file, the list, captions and the popup window.

#include "../reports/SimFixture.h"
#include "ViewsTestSupport.h"

#include "data/DataFilesController.h"
#include "data/KVTimeHistory.h"
#include "reports/THChartBinding.h"
#include "reports/TimeHistoryChart.h"
#include "views/DataViewRules.h"
#include "views/MeasurementListModel.h"
#include "views/SonvexDataView.h"
#include "views/SonvexDataViewFrame.h"
#include "views/SonvexDataViewPopup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

using namespace sonvex;
using namespace sonvex::test;

namespace {

const QStringList kDefaultList = {"90", "85", "84", "83", "80"};

QString ch1(int n = 10)
{
    return historyString(QStringLiteral("LAeq"), QStringLiteral("Q=3"), levels(n, QStringLiteral("88.0")));
}

QStringList items(const QComboBox* box)
{
    QStringList l;
    for (int i = 0; i < box->count(); ++i)
        l << box->itemText(i);
    return l;
}

QString fileText(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromLatin1(f.readAll());
}

// A data view over a table of hand-made records.
struct View
{
    Tdm dm;
    TFrameDataView frame;
    explicit View(const QList<Values>& records)
    {
        fillTable(dm, records);
        frame.setDataModule(&dm);
        frame.resize(1300, 850);
        frame.show();
    }
    QString value(const QString& objectName) const
    {
        const QLabel* l = frame.valueLabel(objectName);
        return l ? l->text() : QStringLiteral("<none>");
    }
};

} // namespace

class TstDataView : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c());
        qputenv("XDG_RUNTIME_DIR", QDir::tempPath().toLocal8Bit());
    }

    // --- criterion level: the rules ----------------------------------------------------------

    void criterionLevelEnter_data()
    {
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("userLevel");
        QTest::addColumn<QStringList>("newList");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("choose");
        QTest::addColumn<int>("applied"); // 0: nothing applied
        const QStringList d = kDefaultList;
        QTest::newRow("65 shows the last entry and applies it") << d << "65" << 84 << d << "80" << true << 80;
        QTest::newRow("95 goes before 90")
            << d << "95" << 84 << QStringList{"95", "90", "85", "84", "83", "80"} << "95" << true << 95;
        QTest::newRow("86 goes between 90 and 85")
            << d << "86" << 84 << QStringList{"90", "86", "85", "84", "83", "80"} << "86" << true << 86;
        QTest::newRow("79 is appended")
            << d << "79" << 84 << QStringList{"90", "85", "84", "83", "80", "79"} << "79" << true << 79;
        QTest::newRow("100 enters the list, is not applied")
            << d << "100" << 84 << QStringList{"100", "90", "85", "84", "83", "80"} << "100" << true << 0;
        QTest::newRow("101 shows the first entry") << d << "101" << 84 << d << "90" << true << 90;
        QTest::newRow("a level in the list") << d << "83" << 84 << d << "83" << true << 83;
        QTest::newRow("blanks around a level")
            << d << " 095 " << 84 << QStringList{"95", "90", "85", "84", "83", "80"} << "95" << true << 95;
        QTest::newRow("empty removes the user level, shows the first entry")
            << d << "" << 84 << QStringList{"90", "85", "83", "80"} << "90" << true << 90;
        QTest::newRow("empty with a level not in the list") << d << "" << 77 << d << "" << false << 0;
        QTest::newRow("not a number") << d << "8x" << 84 << d << "8x" << false << 0;
        QTest::newRow("an unreadable entry counts as 999")
            << QStringList{"90", "x", "80"} << "85" << 84 << QStringList{"90", "x", "85", "80"} << "85"
            << true << 85;
    }

    void criterionLevelEnter()
    {
        QFETCH(QStringList, list);
        QFETCH(QString, typed);
        QFETCH(int, userLevel);
        QFETCH(QStringList, newList);
        QFETCH(QString, text);
        QFETCH(bool, choose);
        QFETCH(int, applied);
        const CriterionLevelRules::EnterResult r = CriterionLevelRules::enter({list, typed, -1}, userLevel);
        QCOMPARE(r.box.items, newList);
        QCOMPARE(r.box.text, text);
        QCOMPARE(r.choose, choose);
        if (choose)
            QCOMPARE(r.box.items.value(r.box.currentIndex), text);
        QCOMPARE(CriterionLevelRules::chosenLevel(r.box.text).value_or(0), choose ? applied : 0);
    }

    void chosenLevel_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("level");
        QTest::newRow("70") << "70" << 70;
        QTest::newRow("99") << "99" << 99;
        QTest::newRow("69") << "69" << 0;
        QTest::newRow("100") << "100" << 0;
        QTest::newRow("not a number") << "eighty" << 0;
    }

    void chosenLevel()
    {
        QFETCH(QString, text);
        QFETCH(int, level);
        QCOMPARE(CriterionLevelRules::chosenLevel(text).value_or(0), level);
    }

    // --- criterion level: the boxes and check boxes ---------------------------------------------

    void typingIntoABox_data()
    {
        QTest::addColumn<int>("channel");
        QTest::addColumn<bool>("bothPage");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("level");     // the channel's user level afterwards
        QTest::addColumn<bool>("switched"); // the user level is on afterwards
        QTest::newRow("channel 1, 65") << 1 << false << "65"
                                       << "80" << 80 << true;
        QTest::newRow("channel 1, 100") << 1 << false << "100"
                                        << "100" << 84 << false;
        QTest::newRow("both channels page, channel 2, 95") << 2 << true << "95"
                                                           << "95" << 95 << true;
        QTest::newRow("channel 2, not a number") << 2 << false << "x"
                                                 << "x" << 84 << false;
    }

    void typingIntoABox()
    {
        QFETCH(int, channel);
        QFETCH(bool, bothPage);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(int, level);
        QFETCH(bool, switched);
        View v({{{QStringLiteral("TimeHistoryCh1"), ch1()},
                 {QStringLiteral("hasDualData"), true},
                 {QStringLiteral("leq"), 88.0},
                 {QStringLiteral("settings2"), QStringLiteral("80: 28800: 00: F: 3dB (Q=3) None")}}});
        QComboBox* box = v.frame.critLevelBox(channel, bothPage);
        QComboBox* twin = v.frame.critLevelBox(channel, !bothPage);
        box->lineEdit()->clear();
        QTest::keyClicks(box->lineEdit(), typed);
        QTest::keyClick(box->lineEdit(), Qt::Key_Return);
        QCOMPARE(box->currentText(), shown);
        // The twin box takes the same list and text; a text that is no number ends the handling.
        QCOMPARE(twin->currentText(), typed == u"x" ? QStringLiteral("84") : box->currentText());
        QCOMPARE(items(twin), items(box));
        QCOMPARE(channel == 1 ? v.dm.userCritLevel() : v.dm.userCritLevel2(), level);
        QCOMPARE(channel == 1 ? v.dm.useUserCritLevel() : v.dm.useUserCritLevel2(), switched);
        QCOMPARE(v.frame.critLevelCheckBox(channel, false)->isChecked(), switched);
        QCOMPARE(v.frame.critLevelCheckBox(channel, true)->isChecked(), switched);
        if (switched)
            QCOMPARE(channel == 1 ? v.dm.userCritLevelList() : v.dm.userCritLevelList2(), items(box));
        // The other channel is untouched.
        QCOMPARE(channel == 1 ? v.dm.useUserCritLevel2() : v.dm.useUserCritLevel(), false);
    }

    void choosing84OnTheBothChannelsPage()
    {
        View v({{{QStringLiteral("TimeHistoryCh1"), ch1()},
                 {QStringLiteral("leq"), 88.0},
                 {QStringLiteral("hasDualData"), true}}});
        QCOMPARE(v.value(QStringLiteral("PanelSettings1_settingsCritLevel")), QStringLiteral("85"));
        QComboBox* both = v.frame.critLevelBox(1, true);
        both->setCurrentIndex(2);
        emit both->activated(2);
        QVERIFY(v.dm.useUserCritLevel());
        QCOMPARE(v.dm.userCritLevel(), 84);
        QCOMPARE(v.frame.critLevelBox(1, false)->currentIndex(), 2);
        QCOMPARE(v.frame.critLevelBox(1, false)->currentText(), QStringLiteral("84"));
        QVERIFY(v.frame.critLevelCheckBox(1, false)->isChecked());
        QVERIFY(v.frame.critLevelCheckBox(1, true)->isChecked());
        // The boxes replace the record's criterion level text while the user level is on, and the
        // record's calculated texts follow the user level: 100 x 10^((88 - 84) / 10) = 251 %.
        QVERIFY(v.frame.critLevelBox(1, false)->isVisibleTo(&v.frame));
        QVERIFY(
            !v.frame.valueLabel(QStringLiteral("PanelSettings1_settingsCritLevel"))->isVisibleTo(&v.frame));
        QCOMPARE(v.dm.CDSMeas()->text(QStringLiteral("settingsCritLevel")), QStringLiteral("84"));
        QCOMPARE(v.value(QStringLiteral("PanelEnergy1_est_doseString")), QStringLiteral("251"));
        // A choice outside 70 .. 99 changes nothing.
        both->addItem(QStringLiteral("100"));
        both->setCurrentIndex(both->count() - 1);
        emit both->activated(both->count() - 1);
        QCOMPARE(v.dm.userCritLevel(), 84);
    }

    void theCheckBoxes_data()
    {
        QTest::addColumn<int>("channel");
        QTest::addColumn<bool>("bothPage");
        QTest::newRow("channel 1") << 1 << false;
        QTest::newRow("channel 1, both channels page") << 1 << true;
        QTest::newRow("channel 2") << 2 << false;
        QTest::newRow("channel 2, both channels page") << 2 << true;
    }

    void theCheckBoxes()
    {
        QFETCH(int, channel);
        QFETCH(bool, bothPage);
        View v({{{QStringLiteral("TimeHistoryCh1"), ch1()},
                 {QStringLiteral("leq"), 88.0},
                 {QStringLiteral("leq2"), 88.0},
                 {QStringLiteral("hasDualData"), true},
                 {QStringLiteral("settings2"), QStringLiteral("80: 28800: 00: F: 3dB (Q=3) None")}}});
        QSignalSpy posts(v.dm.CDSMeas(), &DataSet::afterPost);
        const QString field =
            channel == 1 ? QStringLiteral("settingsCritLevel") : QStringLiteral("settingsCritLevel2");
        const QString measured = v.dm.CDSMeas()->text(field);
        v.frame.critLevelCheckBox(channel, bothPage)->setChecked(true);
        QVERIFY(v.frame.critLevelCheckBox(channel, !bothPage)->isChecked());
        QCOMPARE(channel == 1 ? v.dm.useUserCritLevel() : v.dm.useUserCritLevel2(), true);
        QVERIFY(posts.count() >= 1);
        QCOMPARE(v.dm.CDSMeas()->text(field), QStringLiteral("84"));
        const QString value = QStringLiteral("PanelSettings%1%2_").arg(channel).arg(QString()) + field;
        // Both boxes of the channel are shown and its criterion-level texts hidden; the other
        // channel keeps its texts.
        for (bool both : {false, true}) {
            QVERIFY(!v.frame.critLevelBox(channel, both)->isHidden());
            const QString name = QStringLiteral("PanelSettings%1%2_")
                                     .arg(channel)
                                     .arg(both ? QStringLiteral("Both") : QString()) +
                                 field;
            QVERIFY2(v.frame.valueLabel(name)->isHidden(), qPrintable(name));
        }
        QVERIFY(v.frame.critLevelBox(channel == 1 ? 2 : 1, false)->isHidden());
        v.frame.critLevelCheckBox(channel, !bothPage)->setChecked(false);
        QVERIFY(!v.frame.critLevelCheckBox(channel, bothPage)->isChecked());
        QCOMPARE(v.dm.CDSMeas()->text(field), measured);
        for (bool both : {false, true})
            QVERIFY(v.frame.critLevelBox(channel, both)->isHidden());
        QVERIFY(!v.frame.valueLabel(value)->isHidden());
    }

    // --- panels and tabs ---------------------------------------------------------------------------

    void panelRules_data()
    {
        QTest::addColumn<QString>("rate");
        QTest::addColumn<QString>("weighting");
        QTest::addColumn<QString>("rate2");
        QTest::addColumn<QString>("weighting2");
        QTest::addColumn<bool>("is52A");
        QTest::addColumn<bool>("mk4");
        QTest::addColumn<bool>("energy1");
        QTest::addColumn<bool>("energy2");
        QTest::addColumn<QString>("shown"); // of peak, max115Exceeded, max115Time
        QTest::newRow("3 dB, no weighting") << "3"
                                            << "None"
                                            << "3"
                                            << "None" << false << false << true << true << "peak";
        QTest::newRow("3 dB, slow") << "3"
                                    << "Slow"
                                    << "3"
                                    << "none" << false << false << false << true << "peak";
        QTest::newRow("5 dB, no weighting") << "5"
                                            << "None"
                                            << "5"
                                            << "None" << false << true << false << false << "max115Exceeded";
        QTest::newRow("channel 1 contains, channel 2 equals")
            << "3dB"
            << "(None)"
            << "3"
            << "None " << true << true << true << false << "max115Time";
    }

    void panelRules()
    {
        QFETCH(QString, rate);
        QFETCH(QString, weighting);
        QFETCH(QString, rate2);
        QFETCH(QString, weighting2);
        QFETCH(bool, is52A);
        QFETCH(bool, mk4);
        QFETCH(bool, energy1);
        QFETCH(bool, energy2);
        QFETCH(QString, shown);
        DataViewRecordFacts f;
        f.exchangeRate = rate;
        f.timeWeighting = weighting;
        f.exchangeRate2 = rate2;
        f.timeWeighting2 = weighting2;
        f.is52A = is52A;
        f.mk4 = mk4;
        f.critTime = QStringLiteral("8");
        const DataViewPanels p = DataViewRules::panelsFor(f, QStringLiteral("None"));
        QCOMPARE(p.channel1Energy, energy1);
        QCOMPARE(p.channel2Energy, energy2);
        QCOMPARE(p.peak, shown == u"peak");
        QCOMPARE(p.max115Exceeded, shown == u"max115Exceeded");
        QCOMPARE(p.max115Time, shown == u"max115Time");
        QCOMPARE(p.lexCaption, QStringLiteral("Lex,8h"));
    }

    void panelsOfARecord_data()
    {
        QTest::addColumn<QString>("settings");
        QTest::addColumn<bool>("energy");
        QTest::newRow("3 dB, None: Leq, Lex, dose and exposure")
            << "85: 28800: 00: F: 3dB (Q=3) None" << true;
        QTest::newRow("5 dB: Lavg, TWA and the exchange-rate doses")
            << "90: 28800: 80: S: 5dB (Q=5) None" << false;
        QTest::newRow("3 dB, Slow") << "85: 28800: 00: S: 3dB (Q=3) Slow" << false;
    }

    void panelsOfARecord()
    {
        QFETCH(QString, settings);
        QFETCH(bool, energy);
        View v({{{QStringLiteral("TimeHistoryCh1"), ch1()}, {QStringLiteral("settings"), settings}}});
        QCOMPARE(v.frame.panel(QStringLiteral("PanelEnergy1"))->isVisibleTo(&v.frame), energy);
        QCOMPARE(v.frame.panel(QStringLiteral("PanelExchangeRate1"))->isVisibleTo(&v.frame), !energy);
        QCOMPARE(v.frame.panel(QStringLiteral("PanelEnergy1Both"))->isHidden(), !energy);
        QCOMPARE(v.frame.panel(QStringLiteral("PanelExchangeRate1Both"))->isHidden(), energy);
        QCOMPARE(v.frame.findChild<QLabel*>(QStringLiteral("LabelLex"))->text(), QStringLiteral("Lex,8h"));
    }

    void aSingleChannelRecordHidesTheChannelTabs()
    {
        View v({{{QStringLiteral("TimeHistoryCh1"), ch1()}, {QStringLiteral("hasDualData"), true}},
                {{QStringLiteral("TimeHistoryCh1"), ch1()}}});
        QTabWidget* pages = v.frame.pageControlChannels();
        QVERIFY(pages->tabBar()->isVisibleTo(&v.frame));
        pages->setCurrentIndex(2);
        const int dualHeight = pages->height();
        v.dm.CDSMeas()->next();
        QVERIFY(!pages->tabBar()->isVisibleTo(&v.frame));
        QCOMPARE(pages->currentIndex(), 0);
        QVERIFY(pages->height() < dualHeight);
        // Showing "Channel 1" gave the chart events to channel 1.
        QCOMPARE(v.frame.frameTH()->chart()->attachedBinding(), v.frame.frameTH()->mainBinding());
        v.dm.CDSMeas()->prior();
        QVERIFY(pages->tabBar()->isVisibleTo(&v.frame));
    }

    void overallRowsFollowTheRecord_data()
    {
        QTest::addColumn<bool>("is52A");
        QTest::addColumn<bool>("mk4");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("plain") << false << false << QStringList{"peak"};
        QTest::newRow("MK4") << false << true << QStringList{"max115Exceeded"};
        QTest::newRow("52A") << true << true << QStringList{"max115Time"};
    }

    void overallRowsFollowTheRecord()
    {
        QFETCH(bool, is52A);
        QFETCH(bool, mk4);
        QFETCH(QStringList, shown);
        View v({{{QStringLiteral("is52AData"), is52A},
                 {QStringLiteral("hasMK4Data"), mk4},
                 {QStringLiteral("peak_level"), 137.5},
                 {QStringLiteral("peakWtg"), QStringLiteral("dB(C)")}}});
        for (const char* field : {"peak", "max115Exceeded", "max115Time"}) {
            const QString name = QStringLiteral("PanelOverallData_") + QLatin1String(field);
            QCOMPARE(v.frame.valueLabel(name)->isVisibleTo(&v.frame), shown.contains(QLatin1String(field)));
        }
        QCOMPARE(v.frame.findChild<QLabel*>(QStringLiteral("LabelPeakString"))->text(),
                 QStringLiteral("Peak Level dB(C)"));
        QCOMPARE(v.value(QStringLiteral("PanelOverallData_peakString")), QStringLiteral("137.5"));
    }

    void aRecordWithoutATimeHistory()
    {
        TFormSonvexDataView form;
        Tdm dm;
        fillTable(dm, {{}});
        form.frame()->setDataModule(&dm);
        form.show();
        TFrameTHChart* th = form.frame()->frameTH();
        QVERIFY(!th->chartShown());
        QVERIFY(!th->actions().zoomIn->isEnabled());
        QVERIFY(!th->actions().exportJpeg->isEnabled());
        QVERIFY(!th->actions().exportLeq->isEnabled());
        // The data view clears the frame's caption; the peak counts have nothing to show.
        QCOMPARE(th->outerCaption(), QString());
        QVERIFY(form.frame()->panel(QStringLiteral("PanelPeakCounts"))->isHidden());
        QCOMPARE(form.frame()->findChild<QLabel*>(QStringLiteral("LabelFinalBatteryVolts"))->text(),
                 QStringLiteral("---"));
    }

    // --- captions ------------------------------------------------------------------------------

    void captionsComeFromTheDisplayLabels()
    {
        View v({{{QStringLiteral("leq"), 88.0}}});
        QLabel* caption = v.frame.findChild<QLabel*>(QStringLiteral("Label_leqString"));
        QVERIFY(caption);
        QCOMPARE(caption->text(), QStringLiteral("LAeq dB"));
        v.dm.CDSMeas()->setFieldDisplayLabel(QStringLiteral("leqString"),
                                             QStringLiteral("Mittelungspegel dB"));
        v.frame.refreshCaptions();
        QCOMPARE(caption->text(), QStringLiteral("Mittelungspegel dB"));
        QCOMPARE(v.value(QStringLiteral("PanelEnergy1_leqString")), QStringLiteral("88.0"));
    }

    void textsFollowAChangeOfLanguage()
    {
        // A translator that knows three of the view's texts.
        class Translator : public QTranslator
        {
        public:
            QString translate(const char*, const char* source, const char*, int) const override
            {
                const QByteArray s(source);
                if (s == "Channel 1")
                    return QStringLiteral("Kanal 1");
                if (s == "cursor1:")
                    return QStringLiteral("Cursor 1:");
                if (s == "Notes:")
                    return QStringLiteral("Notizen:");
                return QString();
            }
            bool isEmpty() const override { return false; }
        };
        View v({{{QStringLiteral("TimeHistoryCh1"), ch1()}}});
        Translator german;
        QCoreApplication::installTranslator(&german);
        QCoreApplication::processEvents();
        QCOMPARE(v.frame.pageControlChannels()->tabText(0), QStringLiteral("Kanal 1"));
        QCOMPARE(v.frame.findChild<QLabel*>(QStringLiteral("PanelCursor1Heading"))->text(),
                 QStringLiteral("Cursor 1:"));
        bool notes = false;
        for (QLabel* l : v.frame.findChildren<QLabel*>())
            notes = notes || l->text() == QStringLiteral("Notizen:");
        QVERIFY(notes);
        QCoreApplication::removeTranslator(&german);
        QCoreApplication::processEvents();
        QCOMPARE(v.frame.pageControlChannels()->tabText(0), QStringLiteral("Channel 1"));
    }

    // --- the list ---------------------------------------------------------------------------------

    void theList()
    {
        View v({{{QStringLiteral("badge"), QStringLiteral("A1")}, {QStringLiteral("TimeHistoryCh1"), ch1(3)}},
                {{QStringLiteral("badge"), QStringLiteral("B2")}, {QStringLiteral("TimeHistoryCh1"), ch1(7)}},
                {{QStringLiteral("badge"), QStringLiteral("C3")}}});
        QTableView* grid = v.frame.grid();
        QCOMPARE(grid->model()->columnCount(), 3);
        QCOMPARE(grid->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("No."));
        QCOMPARE(grid->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("noxTag"));
        QCOMPARE(grid->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Meas.Time"));
        QCOMPARE(grid->model()->index(1, 1).data().toString(), QStringLiteral("B2"));
        QVERIFY(!(grid->model()->flags(grid->model()->index(0, 0)) & Qt::ItemIsEditable));

        // Choosing a row makes it the current record, and the chart shows it.
        grid->selectionModel()->setCurrentIndex(
            grid->model()->index(1, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        QCOMPARE(v.dm.CDSMeas()->recNo(), 1);
        QCOMPARE(v.frame.frameTH()->mainHistory()->sampleCount(), 7);
        QCOMPARE(v.value(QStringLiteral("PanelOverallData_badge")), QStringLiteral("B2"));
        grid->selectionModel()->select(grid->model()->index(2, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QCOMPARE(v.frame.selectedRows(), (QList<int>{1, 2}));
        // A scroll of the table elsewhere moves the list's current row.
        v.dm.CDSMeas()->first();
        QCOMPARE(grid->selectionModel()->currentIndex().row(), 0);
        QVERIFY(v.frame.frameTH()->chartShown());
        v.dm.CDSMeas()->last();
        QVERIFY(!v.frame.frameTH()->chartShown());
    }

    void validationColouring_data()
    {
        QTest::addColumn<bool>("on");
        QTest::addColumn<QList<bool>>("red");
        QTest::newRow("on") << true << QList<bool>{false, true, false};
        QTest::newRow("off") << false << QList<bool>{false, false, false};
    }

    void validationColouring()
    {
        QFETCH(bool, on);
        QFETCH(QList<bool>, red);
        View v({{}, {}, {}});
        // Validation results by their own numbering (read order minus 1): 0 passed, 1 failed,
        // and no result for 2.
        v.frame.setValidationLookup([](int n) -> std::optional<bool> {
            if (n == 0)
                return true;
            if (n == 1)
                return false;
            return std::nullopt;
        });
        v.frame.setValidationColouring(on);
        const QAbstractItemModel* m = v.frame.grid()->model();
        for (int row = 0; row < 3; ++row) {
            const QVariant bg = m->index(row, 1).data(Qt::BackgroundRole);
            const bool isRed = bg.isValid() && bg.value<QBrush>().color().red() > 180 &&
                               bg.value<QBrush>().color().green() < 90;
            QCOMPARE(isRed, red.at(row));
        }
    }

    // --- notes and cursors go back into the data file ----------------------------------------------------

    void notesAndCursorsGoBackIntoTheDataFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("m.kvntm"));
        Tdm dm;
        DataFilesController files(dm);
        QVERIFY(openAsDataFile(files, simDownloadText(2, 5, simOptions(SimReaderModel::RM50A)), path));
        TFrameDataView frame;
        frame.setDataFiles(&files);
        frame.setDataModule(&dm);
        frame.resize(1300, 850);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        TFrameTHChart* th = frame.frameTH();
        QVERIFY(th->chartShown());
        // The histories came from the record's line of the data file (it holds the battery).
        QVERIFY(th->batteryHistory());
        QVERIFY(frame.findChild<QLabel*>(QStringLiteral("LabelFinalBatteryVolts"))->text() !=
                QStringLiteral("---"));

        // Notes: Enter posts the record, and the file follows.
        QTest::keyClicks(frame.notesEdit(), QStringLiteral("grinder bay 4"));
        QTest::keyClick(frame.notesEdit(), Qt::Key_Return);
        QCOMPARE(dm.CDSMeas()->state(), DataSet::State::Browse);
        QCOMPARE(dm.CDSMeas()->text(QStringLiteral("notes")), QStringLiteral("grinder bay 4"));
        QVERIFY(fileText(path).contains(QStringLiteral("grinder bay 4")));

        // Cursor 2 alone, then cursor 1: each time the file holds both cursor times.
        const auto dragTo = [&](double t) {
            const QPointF p(th->chart()->pixelOfTime(t), th->chart()->plotRect().center().y());
            th->mainBinding()->mouseDown(p, Qt::LeftButton, Qt::LeftButton);
            th->mainBinding()->mouseUp(p, Qt::LeftButton);
        };
        const UserFormats f = files.userFormats();
        const auto cursorText = [&](const char* field) {
            const QDateTime dt = dm.CDSMeas()->value(QLatin1String(field)).toDateTime();
            return f.dateText(dt.date()) + u' ' + f.timeText(dt.time());
        };
        const double c1 = th->mainHistory()->cursor1();
        const double c2 = th->mainHistory()->cursor2();
        dragTo(c2 - (c2 - c1) * 0.1);
        QCOMPARE(th->mainHistory()->activeCursor(), 2);
        QVERIFY(fileText(path).contains(cursorText("cursor2Time")));
        QVERIFY(fileText(path).contains(cursorText("cursor1Time")));
        dragTo(c1 + (c2 - c1) * 0.1);
        QCOMPARE(th->mainHistory()->activeCursor(), 1);
        QVERIFY(fileText(path).contains(cursorText("cursor1Time")));
        QVERIFY(fileText(path).contains(cursorText("cursor2Time")));
    }

    void downloadLineOfARecord_data()
    {
        QTest::addColumn<int>("header");
        QTest::addColumn<int>("record");
        QTest::addColumn<int>("readOrder");
        QTest::addColumn<QString>("line"); // empty: none
        QTest::newRow("in order") << 1 << 2 << 2 << "2\tb";
        QTest::newRow("out of order: found by its read order") << 1 << 1 << 3 << "3\tc";
        QTest::newRow("no such read order") << 1 << 1 << 9 << "";
        QTest::newRow("no header") << -1 << 1 << 1 << "";
        QTest::newRow("record 0 does not lie after the header") << 1 << 0 << 1 << "1\ta";
    }

    void downloadLineOfARecord()
    {
        QFETCH(int, header);
        QFETCH(int, record);
        QFETCH(int, readOrder);
        QFETCH(QString, line);
        const QStringList lines = {"noxTag measurements", "#\tNotes", "1\ta", "2\tb", "3\tc"};
        QCOMPARE(DataViewRules::downloadLineFor(lines, header, record, readOrder).value_or(QString()), line);
    }

    // --- the windows ------------------------------------------------------------------------------

    void formAndPopupWindow()
    {
        TFormSonvexDataView form;
        QCOMPARE(form.windowTitle(), QStringLiteral("Sonvex Measurement Data"));
        TformSonvexDataViewPopup popup;
        QCOMPARE(popup.windowTitle(), QStringLiteral("Sonvex Measurement Data"));
        QCOMPARE(popup.property("helpKeyword").toString(), QStringLiteral("ViewTheMeasurementData"));
        popup.hostForm(&form);
        QCOMPARE(form.parentWidget(), popup.hostArea());
        popup.show();
        QVERIFY(form.isVisible());
        popup.closeButton()->click();
        QVERIFY(!popup.isVisible());
        // Closed, both still exist: the form can go back into the main window.
        QCOMPARE(popup.hostedForm(), &form);
        form.close();
        QVERIFY(!form.isVisible());
        form.setParent(nullptr);
    }
};

QTEST_MAIN(TstDataView)
#include "tst_dataview.moc"
