// The data view with realistic measurements, shown at a desktop size, and its chart exported as a
// picture. With SONVEX_SCREENSHOT_DIR set, the pictures are kept there to be looked at.

#include "../reports/SimFixture.h"

#include "data/DataFilesController.h"
#include "data/KVTimeHistory.h"
#include "data/SonvexDataModule.h"
#include "reports/THChartBinding.h"
#include "reports/TimeHistoryChart.h"
#include "views/SonvexDataView.h"
#include "views/SonvexDataViewFrame.h"

#include <qcustomplot.h>

#include <QFileInfo>
#include <QFrame>
#include <QImageReader>
#include <QLabel>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

using namespace sonvex;
using namespace sonvex::test;

namespace {

void keep(const QImage& image, const QString& name)
{
    const QString dir = qEnvironmentVariable("SONVEX_SCREENSHOT_DIR");
    if (!dir.isEmpty())
        image.save(QDir(dir).filePath(name + QStringLiteral(".png")));
}

// Pixels of a colour (within a small tolerance) in a picture.
int countColour(const QImage& image, const QColor& colour, int tolerance = 40)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = line[x];
            if (std::abs(qRed(p) - colour.red()) + std::abs(qGreen(p) - colour.green()) +
                    std::abs(qBlue(p) - colour.blue()) <=
                tolerance)
                ++n;
        }
    }
    return n;
}

// Labels of the panels below `root` that overlap another label of the same panel, or that reach
// outside the panel: text that cannot be read.
QStringList overlappingLabels(QWidget* root)
{
    QStringList bad;
    for (QFrame* panel : root->findChildren<QFrame*>()) {
        if (!panel->objectName().startsWith(QStringLiteral("Panel")) || !panel->isVisible())
            continue;
        QList<QLabel*> labels;
        for (QLabel* l : panel->findChildren<QLabel*>()) {
            if (l->isVisible() && !l->text().isEmpty())
                labels << l;
        }
        for (int i = 0; i < labels.size(); ++i) {
            const QRect a(labels[i]->mapTo(panel, QPoint(0, 0)), labels[i]->size());
            if (!panel->rect().contains(a) || a.height() < labels[i]->fontMetrics().height())
                bad << panel->objectName() + u'/' + labels[i]->text();
            for (int j = i + 1; j < labels.size(); ++j) {
                const QRect b(labels[j]->mapTo(panel, QPoint(0, 0)), labels[j]->size());
                if (a.intersects(b))
                    bad << panel->objectName() + u'/' + labels[i]->text() + u'+' + labels[j]->text();
            }
        }
    }
    return bad;
}

} // namespace

class TstViewScreenshots : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(gbLocale()); }

    void dataView_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("model");
        QTest::addColumn<int>("period");
        QTest::addColumn<double>("hours");
        QTest::addColumn<int>("results");
        QTest::addColumn<bool>("dual");
        QTest::newRow("dual channel")
            << "dataview-dual" << int(SimReaderModel::RM52A) << 60 << 8.0 << int(SimResultKind::Q3) << true;
        QTest::newRow("single channel, 5 s, 24 h") << "dataview-24h-5s" << int(SimReaderModel::RM50A) << 5
                                                   << 24.0 << int(SimResultKind::Q3) << false;
        QTest::newRow("exchange rate 5")
            << "dataview-q5" << int(SimReaderModel::RM50A) << 60 << 8.0 << int(SimResultKind::Q5) << false;
    }

    void dataView()
    {
        QFETCH(QString, name);
        QFETCH(int, model);
        QFETCH(int, period);
        QFETCH(double, hours);
        QFETCH(int, results);
        QFETCH(bool, dual);

        QTemporaryDir dir;
        Tdm dm;
        DataFilesController files(dm);
        const QStringList text =
            simDownloadText(3, 42, simOptions(SimReaderModel(model), period, hours, SimResultKind(results)));
        QVERIFY(openAsDataFile(files, text, dir.filePath(QStringLiteral("m.kvntm"))));

        TFormSonvexDataView view;
        view.frame()->setDataFiles(&files);
        view.frame()->setDataModule(&dm);
        view.resize(1400, 900);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QTest::qWait(100);

        TFrameTHChart* th = view.frame()->frameTH();
        QVERIFY(th->chartShown());
        QVERIFY(th->mainHistory());
        QCOMPARE(th->mainHistory()->samplePeriod(), period);
        QCOMPARE(view.frame()->pageControlChannels()->tabBar()->isVisible(), dual);
        QCOMPARE(th->channel2History() != nullptr, dual);
        // After the first redraw both cursors are placed and the panels show their values.
        QVERIFY(th->mainHistory()->cursor1() > 0.0);
        QVERIFY(th->mainHistory()->cursor2() > th->mainHistory()->cursor1());
        QVERIFY(th->label(QStringLiteral("LabelInsideLeq"))->text().endsWith(QStringLiteral(" dB")));
        QVERIFY(th->label(QStringLiteral("LabelCursor1Dur"))->text() != QStringLiteral("-----"));

        const QImage shot = view.grab().toImage();
        keep(shot, name);
        const QStringList overlaps = overlappingLabels(&view);
        QVERIFY2(overlaps.isEmpty(), qPrintable(overlaps.join(QStringLiteral(", "))));
        // The channel-1 line is drawn in green, the peak diamonds in red.
        QVERIFY(countColour(shot, QColor(0, 128, 0)) > 200);
        QVERIFY(countColour(shot, QColor(255, 0, 0)) > 10);

        const QString jpeg = dir.filePath(QStringLiteral("chart.jpg"));
        QVERIFY(th->saveJpeg(jpeg));
        QImageReader reader(jpeg);
        QCOMPARE(reader.format(), QByteArray("jpeg"));
        const QImage picture = reader.read();
        QCOMPARE(picture.size(), th->chartWidget()->size());
        keep(picture, name + QStringLiteral("-export"));
        QVERIFY(countColour(picture, QColor(0, 128, 0), 90) > 200);
    }

    // The sample data installed with the program, every measurement of each file.
    void sampleData_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("sample data") << "Sonvex3 Sample Data.kvntm";
        QTest::newRow("dual channel") << "Sonvex3 Dual channel sample data.kvntm";
        QTest::newRow("dual threshold") << "Sonvex3 Dual Threshold sample data.kvntm";
    }

    void sampleData()
    {
        QFETCH(QString, file);
        const QString path = QStringLiteral(SONVEX_SOURCE_DIR "/resources/samples/") + file;
        if (!QFile::exists(path))
            QSKIP("the sample data is not in this tree");
        QTemporaryDir dir;
        const QString copy = dir.filePath(file);
        QVERIFY(QFile::copy(path, copy));
        QFile::setPermissions(copy, QFile::permissions(copy) | QFile::WriteOwner);
        Tdm dm;
        DataFilesController files(dm);
        QVERIFY(files.open(copy));
        TFormSonvexDataView view;
        view.frame()->setDataFiles(&files);
        view.frame()->setDataModule(&dm);
        view.resize(1400, 900);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        DataSet* t = dm.CDSMeas();
        QVERIFY(t->recordCount() > 0);
        for (int row = 0; row < t->recordCount(); ++row) {
            t->moveTo(row);
            QTest::qWait(30);
            TFrameTHChart* th = view.frame()->frameTH();
            QCOMPARE(th->chartShown(), th->mainHistory() != nullptr);
            if (th->mainHistory()) {
                QVERIFY(th->mainHistory()->sampleCount() > 0);
                QVERIFY(th->label(QStringLiteral("LabelInsideLeq"))->text().endsWith(QStringLiteral(" dB")));
            }
            keep(view.grab().toImage(),
                 QStringLiteral("sample-%1-%2").arg(QFileInfo(file).baseName()).arg(row + 1));
            const QStringList overlaps = overlappingLabels(&view);
            QVERIFY2(overlaps.isEmpty(), qPrintable(overlaps.join(QStringLiteral(", "))));
            if (th->channel2History()) {
                // Both channels: both lines, channel 2 in blue.
                view.frame()->pageControlChannels()->setCurrentIndex(2);
                QTest::qWait(30);
                const QImage both = view.grab().toImage();
                keep(both, QStringLiteral("sample-%1-%2-both").arg(QFileInfo(file).baseName()).arg(row + 1));
                QVERIFY(countColour(both, QColor(0, 0, 255), 40) > 100);
                const QStringList bothOverlaps = overlappingLabels(&view);
                QVERIFY2(bothOverlaps.isEmpty(), qPrintable(bothOverlaps.join(QStringLiteral(", "))));
                view.frame()->pageControlChannels()->setCurrentIndex(0);
            }
        }
    }
};

QTEST_MAIN(TstViewScreenshots)
#include "tst_viewscreenshots.moc"
