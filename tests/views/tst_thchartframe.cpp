// The time-history chart frame: histories of a record, cursor panels and their texts, the record's
// cursor and peak fields, zoom, reset and the two exports.

#include "ViewsTestSupport.h"

#include "data/KVTimeHistory.h"
#include "data/SettingsStore.h"
#include "reports/THChartBinding.h"
#include "reports/TimeHistoryChart.h"
#include "views/SonvexTimeHistoryFrame.h"

#include <qcustomplot.h>

#include <QAction>
#include <QImageReader>
#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace sonvex;
using namespace sonvex::test;

namespace {

constexpr double kSecond = 1.0 / 86400.0;

double at(int h, int m, int s = 0)
{
    return (h * 3600 + m * 60 + s) / 86400.0;
}

const QString kPeak =
    historyString(QStringLiteral("Peak"), QStringLiteral("Q=0"), levels(10, QStringLiteral("125.0")));

// A frame showing the current record of `dm`, laid out and drawn once.
struct Shown
{
    TFrameTHChart frame;
    explicit Shown(Tdm& dm, const SettingsStore* settings = nullptr, const QString& line = QString())
    {
        frame.setTable(dm.CDSMeas());
        frame.setSettings(settings);
        frame.resize(1000, 520);
        frame.show();
        frame.showTimeHistories(line);
        if (frame.mainHistory())
            frame.mainHistory()->setTimeFormats({QStringLiteral("HH:mm"), QStringLiteral("HH:mm:ss")});
        frame.chart()->replot();
    }
    QString text(const char* label) const { return frame.label(QLatin1String(label))->text(); }
    // Presses the left button at chart time `t` and lets it go again.
    void click(double t)
    {
        const QPointF p(frame.chart()->pixelOfTime(t), frame.chart()->plotRect().center().y());
        frame.mainBinding()->mouseDown(p, Qt::LeftButton, Qt::LeftButton);
        frame.mainBinding()->mouseUp(p, Qt::LeftButton);
    }
    QVariant field(const char* name) const { return frame.table()->value(QLatin1String(name)); }
};

} // namespace

class TstTHChartFrame : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c());
        qputenv("XDG_RUNTIME_DIR", QDir::tempPath().toLocal8Bit());
    }

    void aRecordWithoutATimeHistoryHidesTheChart()
    {
        Tdm dm;
        fillTable(dm, {{{QStringLiteral("TimeHistoryCh1"),
                         historyString(QStringLiteral("LAeq"), QStringLiteral("Q=3"),
                                       levels(5, QStringLiteral("80.0")))}},
                       {}});
        Shown s(dm);
        QVERIFY(s.frame.chartShown());
        QVERIFY(s.frame.popupEnabled());
        for (QAction* a : {s.frame.actions().zoomIn.data(), s.frame.actions().exportJpeg.data(),
                           s.frame.actions().exportLeq.data()})
            QVERIFY(a->isEnabled());

        dm.CDSMeas()->next();
        s.frame.showTimeHistories();
        QVERIFY(!s.frame.chartShown());
        QVERIFY(!s.frame.popupEnabled());
        QVERIFY(!s.frame.mainHistory());
        for (QAction* a : {s.frame.actions().zoomIn.data(), s.frame.actions().exportJpeg.data(),
                           s.frame.actions().exportLeq.data()})
            QVERIFY2(!a->isEnabled(), qPrintable(a->objectName()));
        QCOMPARE(s.frame.outerCaption(), QStringLiteral("No Time History data"));
        // The per-sample table keeps its headings and nothing else.
        QCOMPARE(s.frame.sampleTable().rowCount(), 3);
        QCOMPARE(s.frame.sampleTable().cell(0, 0), QStringLiteral("Time"));
        // The exports do nothing without a chart.
        QTemporaryDir dir;
        QVERIFY(!s.frame.saveJpeg(dir.filePath(QStringLiteral("x.jpg"))));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("x.jpg"))));
    }

    void peakCounts_data()
    {
        QTest::addColumn<bool>("showPeaks");
        QTest::newRow("peak history shown") << true;
        QTest::newRow("peak history switched off") << false;
    }

    void peakCounts()
    {
        QFETCH(bool, showPeaks);
        QTemporaryDir dir;
        SettingsStore settings(dir.path());
        settings.setShowPeakTimeHistory(showPeaks);
        Tdm dm;
        fillTable(dm, {{{QStringLiteral("TimeHistoryCh1"),
                         historyString(QStringLiteral("LAeq"), QStringLiteral("Q=3"),
                                       levels(4, QStringLiteral("80.0")))},
                        {QStringLiteral("TimeHistoryPeak"),
                         historyString(QStringLiteral("Peak"), QStringLiteral("Q=0"),
                                       QStringLiteral("136.0 137.0 138.0 141.0 "))}}});
        Shown s(dm, &settings);
        if (showPeaks) {
            QVERIFY(s.frame.peakHistory());
            QCOMPARE(s.frame.peak135Count(), 2);
            QCOMPARE(s.frame.peak137Count(), 2);
            QCOMPARE(s.field("peak135").toInt(), 2);
            QCOMPARE(s.field("peak137").toInt(), 2);
            QVERIFY(s.field("peak140").isValid());
            QCOMPARE(s.field("peak140").toInt(), 0);
            QCOMPARE(s.frame.sampleTable().cell(2, 3), QStringLiteral("136.0"));
            QCOMPARE(s.frame.sampleTable().cell(5, 3), QStringLiteral("141.0"));
        } else {
            QVERIFY(!s.frame.peakHistory());
            QVERIFY(!s.field("peak135").isValid());
            QVERIFY(!s.field("peak137").isValid());
            QVERIFY(!s.field("peak140").isValid());
            for (int row = 2; row < 6; ++row)
                QCOMPARE(s.frame.sampleTable().cell(row, 3), QString());
            QCOMPARE(s.frame.sampleTable().cell(0, 3), QStringLiteral("Peak Value dBC"));
            QCOMPARE(s.text("LabelCursor1Peak"), QString());
        }
    }

    void cursorValueTexts_data()
    {
        QTest::addColumn<QString>("samples");
        QTest::addColumn<bool>("withPeak");
        QTest::addColumn<bool>("noUnderrange");
        QTest::addColumn<int>("minute"); // the sample clicked
        QTest::addColumn<QString>("label");
        const QString s = QStringLiteral("80.0 68.4 72.0 time:h08n05 90.0PO 81.0 82.0 83.0 84.0 ");
        QTest::newRow("68.4 below 70 (a peak history exists)")
            << s << true << false << 1 << "LAeq  Underrange";
        QTest::newRow("72.0 above 70") << s << true << false << 2 << "LAeq  72.0 dB";
        QTest::newRow("72.0 below 75 (no peak history)") << s << false << false << 2 << "LAeq  Underrange";
        QTest::newRow("68.4 with underrange values shown") << s << true << true << 1 << "LAeq  68.4 dB";
        QTest::newRow("a pause") << s << true << false << 3 << "LAeq  pause";
        QTest::newRow("peak and overload") << s << true << false << 5 << "LAeq  90.0 POL dB";
    }

    void cursorValueTexts()
    {
        QFETCH(QString, samples);
        QFETCH(bool, withPeak);
        QFETCH(bool, noUnderrange);
        QFETCH(int, minute);
        QFETCH(QString, label);
        Tdm dm;
        Values values{{QStringLiteral("TimeHistoryCh1"),
                       historyString(QStringLiteral("LAeq"), QStringLiteral("Q=3"), samples)}};
        if (withPeak)
            values.append({QStringLiteral("TimeHistoryPeak"), kPeak});
        fillTable(dm, {values});
        TFrameTHChart probe;
        probe.actions().noUnderrange->setChecked(noUnderrange);
        probe.setTable(dm.CDSMeas());
        probe.resize(1000, 520);
        probe.show();
        probe.showTimeHistories();
        probe.mainHistory()->setTimeFormats({QStringLiteral("HH:mm"), QStringLiteral("HH:mm:ss")});
        probe.chart()->replot();
        // Click into the middle of the sample; the cursor that moved shows its value.
        const QPointF p(probe.chart()->pixelOfTime(at(8, minute, 30)),
                        probe.chart()->plotRect().center().y());
        probe.mainBinding()->mouseDown(p, Qt::LeftButton, Qt::LeftButton);
        probe.mainBinding()->mouseUp(p, Qt::LeftButton);
        const int moved = probe.mainHistory()->activeCursor();
        const char* name = moved == 1 ? "LabelCursor1Leq" : "LabelCursor2Leq";
        QCOMPARE(probe.label(QLatin1String(name))->text(), label);
        QCOMPARE(probe.label(QLatin1String(moved == 1 ? "LabelCursor1Dur" : "LabelCursor2Dur"))->text(),
                 QStringLiteral("08:%1").arg(minute, 2, 10, QLatin1Char('0')));
        // The record gets the value text and the time, the panel's prefix aside.
        QCOMPARE(dm.CDSMeas()->text(moved == 1 ? QStringLiteral("cursor1ValString")
                                               : QStringLiteral("cursor2ValString")),
                 label.mid(6).chopped(label.endsWith(QStringLiteral(" dB")) ? 3 : 0));
    }

    void wholeRunSubstitution_data()
    {
        QTest::addColumn<QString>("runTime");
        QTest::addColumn<bool>("instrumentValue");
        QTest::newRow("08:00:00: the instrument's Lavg") << "08:00:00" << true;
        QTest::newRow("25:00:00: the time history's level") << "25:00:00" << false;
    }

    void wholeRunSubstitution()
    {
        QFETCH(QString, runTime);
        QFETCH(bool, instrumentValue);
        Tdm dm;
        fillTable(
            dm,
            {{{QStringLiteral("TimeHistoryCh1"),
               historyString(QStringLiteral("Lavg"), QStringLiteral("Q=5"), QStringLiteral("80.0 90.0 "))},
              {QStringLiteral("settings"), QStringLiteral("90: 28800: 80: S: 5dB (Q=5) Slow")},
              {QStringLiteral("lavg"), 86.4},
              {QStringLiteral("RunTime"), runTime}}});
        Shown s(dm);
        // The cursors were placed around every sample: nothing lies outside them.
        QCOMPARE(s.text("LabelOutsideDur"), QStringLiteral("---"));
        QCOMPARE(s.text("LabelInsideDur"), QStringLiteral("00:02"));
        // q = 5 average of 80.0 and 90.0: 86.61 dB, shown 86.7.
        const QString level = instrumentValue ? QStringLiteral("86.4") : QStringLiteral(" 86.7");
        QCOMPARE(s.text("LabelInsideLeq"), QStringLiteral("Lavg ") + u' ' + level + QStringLiteral(" dB"));
        QCOMPARE(s.field("betweenCursorsString").toString(), level);
    }

    void cursorsComeFromAndGoBackToTheRecord()
    {
        Tdm dm;
        fillTable(dm, {{{QStringLiteral("TimeHistoryCh1"),
                         historyString(QStringLiteral("LAeq"), QStringLiteral("Q=3"),
                                       QStringLiteral("80.0 81.0 82.0 83.0 84.0 85.0 86.0 87.0 "))},
                        {QStringLiteral("cursor1Time"), THRules::dateTimeOfChartTime(at(8, 2))},
                        {QStringLiteral("cursor2Time"), THRules::dateTimeOfChartTime(at(8, 4))}}});
        QList<bool> posted;
        TFrameTHChart frame;
        frame.setCursorsPosted([&posted](bool cursor1Changed) { posted.append(cursor1Changed); });
        frame.setTable(dm.CDSMeas());
        frame.resize(1000, 520);
        frame.show();
        frame.showTimeHistories();
        frame.mainHistory()->setTimeFormats({QStringLiteral("HH:mm"), QStringLiteral("HH:mm:ss")});
        frame.chart()->replot();
        QCOMPARE(frame.mainHistory()->cursor1(), at(8, 2));
        QCOMPARE(frame.mainHistory()->cursor2(), at(8, 4));
        // 08:02 .. 08:04: three samples, 82, 83, 84.
        QCOMPARE(dm.CDSMeas()->text(QStringLiteral("betweenCursorsDurationString")), QStringLiteral("00:03"));
        QCOMPARE(dm.CDSMeas()->text(QStringLiteral("outsideCursorsDurationString")), QStringLiteral("00:05"));
        QCOMPARE(dm.CDSMeas()->text(QStringLiteral("betweenCursorsString")), QStringLiteral(" 83.1"));
        QCOMPARE(dm.CDSMeas()->changeCount(), 1); // the summary texts were new
        posted.clear();

        // Another redraw with nothing changed writes nothing.
        frame.chart()->replot();
        QCOMPARE(dm.CDSMeas()->changeCount(), 1);

        // Dragging cursor 2: the record follows at the release only.
        THChartBinding* b = frame.mainBinding();
        const auto point = [&](double t) {
            return QPointF(frame.chart()->pixelOfTime(t), frame.chart()->plotRect().center().y());
        };
        b->mouseDown(point(at(8, 5, 30)), Qt::LeftButton, Qt::LeftButton);
        QCOMPARE(frame.mainHistory()->activeCursor(), 2);
        b->mouseMove(point(at(8, 6, 30)), Qt::LeftButton);
        b->mouseMove(point(at(8, 7, 30)), Qt::LeftButton);
        QCOMPARE(THRules::chartTimeOf(dm.CDSMeas()->value(QStringLiteral("cursor2Time"))), at(8, 4));
        QVERIFY(posted.isEmpty());
        b->mouseUp(point(at(8, 7, 30)), Qt::LeftButton);
        QVERIFY(std::fabs(THRules::chartTimeOf(dm.CDSMeas()->value(QStringLiteral("cursor2Time"))) -
                          at(8, 7, 30)) < 2 * kSecond);
        QCOMPARE(THRules::chartTimeOf(dm.CDSMeas()->value(QStringLiteral("cursor1Time"))), at(8, 2));
        QCOMPARE(dm.CDSMeas()->text(QStringLiteral("betweenCursorsDurationString")), QStringLiteral("00:06"));
        QCOMPARE(dm.CDSMeas()->text(QStringLiteral("cursor2TimeString")), QStringLiteral("08:07"));
        QCOMPARE(dm.CDSMeas()->state(), DataSet::State::Browse);
        // Only cursor 2 moved: the data file has to be told.
        QCOMPARE(posted, QList<bool>{false});

        posted.clear();
        b->mouseDown(point(at(8, 0, 30)), Qt::LeftButton, Qt::LeftButton);
        b->mouseUp(point(at(8, 0, 30)), Qt::LeftButton);
        QCOMPARE(posted, QList<bool>{true});
    }

    void resetCursorPositions()
    {
        Tdm dm;
        fillTable(dm, {{{QStringLiteral("TimeHistoryCh1"),
                         historyString(QStringLiteral("LAeq"), QStringLiteral("Q=3"),
                                       levels(30, QStringLiteral("80.0")))},
                        {QStringLiteral("cursor1Time"), THRules::dateTimeOfChartTime(at(8, 10))},
                        {QStringLiteral("cursor2Time"), THRules::dateTimeOfChartTime(at(8, 12))}}});
        Shown s(dm);
        s.frame.chart()->setTimeRange(at(8, 5), at(8, 20));
        s.frame.actions().resetCursors->trigger();
        // One second after the first visible sample, one second before the last visible one.
        QVERIFY(std::fabs(s.frame.mainHistory()->cursor1() - (at(8, 5) + kSecond)) < 1e-9);
        QVERIFY(std::fabs(s.frame.mainHistory()->cursor2() - (at(8, 20) - kSecond)) < 1e-9);
        QVERIFY(std::fabs(THRules::chartTimeOf(s.field("cursor1Time")) - (at(8, 5) + kSecond)) < 1e-8);
    }

    void zoomInBetweenTheCursorsAndOut()
    {
        Tdm dm;
        fillTable(dm, {{{QStringLiteral("TimeHistoryCh1"),
                         historyString(QStringLiteral("LAeq"), QStringLiteral("Q=3"),
                                       levels(30, QStringLiteral("80.0")))},
                        {QStringLiteral("TimeHistoryPeak"), kPeak},
                        {QStringLiteral("cursor1Time"), THRules::dateTimeOfChartTime(at(8, 10))},
                        {QStringLiteral("cursor2Time"), THRules::dateTimeOfChartTime(at(8, 12))}}});
        Shown s(dm);
        QAction* zoomOut = s.frame.actions().zoomOut;
        s.frame.actions().zoomOut->setEnabled(false);
        s.frame.actions().zoomIn->trigger();
        QVERIFY(zoomOut->isEnabled());
        QCOMPARE(s.frame.chart()->visibleFrom(), at(8, 10));
        QCOMPARE(s.frame.chart()->visibleTo(), at(8, 12));
        // The peak history took the main cursors.
        QCOMPARE(s.frame.peakHistory()->cursor1(), at(8, 10));
        QCOMPARE(s.frame.peakHistory()->cursor2(), at(8, 12));
        zoomOut->trigger();
        QVERIFY(!zoomOut->isEnabled());
        QVERIFY(s.frame.chart()->timeRangeAutomatic());
        QCOMPARE(s.frame.chart()->visibleFrom(), at(8, 0));
        QCOMPARE(s.frame.chart()->visibleTo(), at(8, 30));
    }

    void theDownloadLineComesFirst()
    {
        Tdm dm;
        const QString own =
            historyString(QStringLiteral("LAeq"), QStringLiteral("Q=3"), levels(3, QStringLiteral("80.0")));
        fillTable(dm, {{{QStringLiteral("TimeHistoryCh1"), own}}});
        const QString ch1 =
            historyString(QStringLiteral("LAeq"), QStringLiteral("Q=3"), levels(5, QStringLiteral("90.0")));
        const QString battery = historyString(QStringLiteral("Battery"), QStringLiteral("Q=0"),
                                              QStringLiteral("4.1 4.0 3.9 3.8 3.7 "));
        const QString line = QStringLiteral("1\tnotes\t\t\t77693") + ch1 + kPeak + battery;
        Shown s(dm, nullptr, line);
        QCOMPARE(s.frame.mainHistory()->sampleCount(), 5);
        QCOMPARE(s.frame.mainHistory()->sampleValueText(0), QStringLiteral("90.0"));
        QVERIFY(s.frame.batteryHistory());
        QCOMPARE(s.frame.sampleTable().lastBatteryText(), QString());
        QCOMPARE(s.frame.sampleTable().cell(6, 4), QStringLiteral("3.7"));
        QVERIFY(s.frame.peakHistory());
        QCOMPARE(s.frame.sampleTable().rowCount(), 2 + 10);
        // Without the line the record's own string is used.
        s.frame.showTimeHistories();
        QCOMPARE(s.frame.mainHistory()->sampleCount(), 3);
        QVERIFY(!s.frame.batteryHistory());
    }

    void channelPagesChooseTheAttachedHistory()
    {
        Tdm dm;
        fillTable(
            dm,
            {{{QStringLiteral("TimeHistoryCh1"), historyString(QStringLiteral("LAeq"), QStringLiteral("Q=3"),
                                                               levels(5, QStringLiteral("80.0")))},
              {QStringLiteral("TimeHistoryCh2"), historyString(QStringLiteral("Ch2"), QStringLiteral("Q=4"),
                                                               levels(5, QStringLiteral("75.0")))},
              {QStringLiteral("settings2"), QStringLiteral("80: 28800: 00: F: 4dB (Q=4) None")}}});
        Shown s(dm);
        QVERIFY(s.frame.channel2History());
        QCOMPARE(s.frame.channel2History()->seriesTitle(), QStringLiteral("Lavg 2 dB"));
        QCOMPARE(s.frame.channel2History()->exchangeRate(), 4.0);
        QCOMPARE(s.frame.sampleTable().cell(0, 5), QStringLiteral("LAeq Value dB Channel 2"));
        s.frame.showChannel(2);
        QCOMPARE(s.frame.chart()->attachedBinding(), s.frame.channel2Binding());
        QVERIFY(!s.frame.chart()->seriesVisible(s.frame.mainBinding()->seriesIndex()));
        QVERIFY(s.frame.chart()->seriesVisible(s.frame.channel2Binding()->seriesIndex()));
        s.frame.showChannel(0);
        QCOMPARE(s.frame.chart()->attachedBinding(), s.frame.mainBinding());
        QVERIFY(s.frame.chart()->seriesVisible(s.frame.mainBinding()->seriesIndex()));
        QVERIFY(s.frame.chart()->seriesVisible(s.frame.channel2Binding()->seriesIndex()));
        s.frame.showChannel(1);
        QVERIFY(!s.frame.chart()->seriesVisible(s.frame.channel2Binding()->seriesIndex()));
    }

    void theMouseOnTheChartWidget()
    {
        Tdm dm;
        fillTable(dm, {{{QStringLiteral("TimeHistoryCh1"),
                         historyString(QStringLiteral("LAeq"), QStringLiteral("Q=3"),
                                       levels(20, QStringLiteral("80.0")))}}});
        Shown s(dm);
        QVERIFY(QTest::qWaitForWindowExposed(&s.frame));
        QWidget* w = s.frame.chartWidget();
        const int y = s.frame.chart()->plotRect().center().y();
        const int x1 = int(s.frame.chart()->pixelOfTime(at(8, 3, 30)));
        const int x2 = int(s.frame.chart()->pixelOfTime(at(8, 6, 30)));
        QTest::mousePress(w, Qt::LeftButton, {}, QPoint(x1, y));
        QMouseEvent move(QEvent::MouseMove, QPointF(x2, y), w->mapToGlobal(QPointF(x2, y)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w, &move);
        QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(x2, y));
        QCOMPARE(s.frame.mainHistory()->activeCursor(), 1);
        QVERIFY(std::fabs(s.frame.mainHistory()->cursor1() - at(8, 6, 30)) < 30 * kSecond);
        QCOMPARE(s.text("LabelCursor1Dur"), QStringLiteral("08:06"));
    }

    void exports()
    {
        QTemporaryDir dir;
        Tdm dm;
        fillTable(dm, {{{QStringLiteral("TimeHistoryCh1"),
                         historyString(QStringLiteral("LAeq"), QStringLiteral("Q=3"),
                                       levels(20, QStringLiteral("85.0")))}}});
        Shown s(dm);
        QString answer;
        QStringList asked;
        QStringList opened;
        s.frame.setDataFolder(dir.path());
        s.frame.setSaveFileChooser([&](const QString&, const QString& folder, const QString& name,
                                       const QString& filter, const QString& suffix) {
            asked << folder + u'|' + name + u'|' + filter + u'|' + suffix;
            return answer;
        });
        s.frame.setFileOpener([&](const QString& f) { opened << f; });

        // A cancelled dialog writes and opens nothing.
        s.frame.actions().exportJpeg->trigger();
        s.frame.actions().exportLeq->trigger();
        QCOMPARE(asked.size(), 2);
        QCOMPARE(asked.at(0), dir.path() + QStringLiteral("|noxTag Time History.jpg|JPEG image (*.jpg)|jpg"));
        QCOMPARE(asked.at(1), dir.path() + QStringLiteral("|noxTag Time History.leq|Leq file (*.leq)|leq"));
        QVERIFY(opened.isEmpty());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());

        answer = dir.filePath(QStringLiteral("chart.jpg"));
        s.frame.actions().exportJpeg->trigger();
        QCOMPARE(opened, QStringList{answer});
        QImageReader reader(answer);
        QCOMPARE(reader.format(), QByteArray("jpeg"));
        QCOMPARE(reader.size(), s.frame.chartWidget()->size());

        answer = dir.filePath(QStringLiteral("chart.leq"));
        s.frame.actions().exportLeq->trigger();
        QCOMPARE(opened.size(), 2);
        QVERIFY(QFileInfo(answer).size() > 0);

        // A Leq file that cannot be written opens nothing.
        answer = dir.filePath(QStringLiteral("missing/folder/chart.leq"));
        s.frame.actions().exportLeq->trigger();
        QCOMPARE(opened.size(), 2);
    }

    void cursorPanelGeometry_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("side");
        QTest::addColumn<QList<int>>("edges"); // left and right edge (exclusive) of the four panels
        QTest::newRow("wide") << 1000 << 168 << QList<int>{0, 168, 168, 500, 500, 832, 832, 1000};
        QTest::newRow("odd width") << 801 << 100 << QList<int>{0, 100, 100, 400, 400, 701, 701, 801};
        QTest::newRow("narrower than two cursor panels")
            << 300 << 168 << QList<int>{0, 150, 150, 150, 150, 150, 150, 300};
    }

    void cursorPanelGeometry()
    {
        QFETCH(int, width);
        QFETCH(int, side);
        QFETCH(QList<int>, edges);
        const auto g = TFrameTHChart::cursorPanelGeometry(width, 60, side);
        const QRect rects[4] = {g.cursor1, g.outside, g.between, g.cursor2};
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(rects[i].left(), edges.at(2 * i));
            QCOMPARE(rects[i].left() + rects[i].width(), edges.at(2 * i + 1));
            QCOMPARE(rects[i].height(), 60);
        }
    }
};

QTEST_MAIN(TstTHChartFrame)
#include "tst_thchartframe.moc"
