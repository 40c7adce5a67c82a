// Figures for the measurement table: a 1,000-measurement packet with three
// 1,440-sample time histories per record, saved, loaded and browsed.

#include "data/DataPacket.h"
#include "data/DisplayFormat.h"
#include "data/SonvexDataModule.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace sonvex;

namespace {

QString history(QRandomGenerator& rng, const char* title)
{
    QString s = QStringLiteral("\tTimeHistory %1 duration 86400 s 60 s 07/12/2026 07:30:00").arg(QLatin1String(title));
    for (int i = 0; i < 1440; ++i) {
        s += QLatin1Char(' ') + QString::number(60.0 + rng.bounded(450) / 10.0, 'f', 1);
        if (rng.bounded(100) == 0)
            s += QLatin1Char('P');
    }
    return s;
}

void fill(Tdm& dm, int n)
{
    QRandomGenerator rng(42);
    dm.createMeasTable();
    DataSet* t = dm.CDSMeas();
    t->disableControls();
    for (int i = 0; i < n; ++i) {
        t->append();
        t->setValue("read_order", i + 1);
        t->setValue("badge", QStringLiteral("B%1").arg(1000 + i));
        t->setValue("leq", 70 + rng.bounded(300) / 10.0);
        t->setValue("lavg", 70 + rng.bounded(300) / 10.0);
        t->setValue("dose", rng.bounded(20000) / 100.0);
        t->setValue("est_dose", double(1.0e38f));
        t->setValue("RunTime", QStringLiteral("08:00:00"));
        t->setValue("settings", QStringLiteral("85: 28800: 00: F: 3dB (Q=3) None"));
        t->setValue("settings2", QStringLiteral("80: 28800: 00: F: 3dB (Q=3) None"));
        t->setValue("TimeHistoryCh1", history(rng, "Ch1"));
        t->setValue("TimeHistoryPeak", history(rng, "Peak"));
        t->setValue("TimeHistoryCh2", history(rng, "Ch2"));
        t->post();
    }
    t->enableControls();
}

} // namespace

class BenchDataSet : public QObject
{
    Q_OBJECT
    QByteArray m_packet;

private Q_SLOTS:
    void initTestCase()
    {
        DisplayFormat::setLocale(QLocale::c());
        Tdm dm;
        fill(dm, 1000);
        m_packet = DataPacket::save(*dm.CDSMeas());
        qInfo("packet: %lld bytes", qint64(m_packet.size()));
    }
    void savePacket()
    {
        Tdm dm;
        fill(dm, 1000);
        QByteArray out;
        QBENCHMARK {
            out = DataPacket::save(*dm.CDSMeas());
        }
        QCOMPARE(out.size(), m_packet.size());
    }
    void loadPacket()
    {
        Tdm dm;
        dm.createMeasTable();
        QBENCHMARK {
            QVERIFY(DataPacket::load(*dm.CDSMeas(), m_packet, nullptr));
        }
        QCOMPARE(dm.CDSMeas()->recordCount(), 1000);
    }
    void fetchWithCalculatedFields()
    {
        Tdm dm;
        dm.createMeasTable();
        QVERIFY(DataPacket::load(*dm.CDSMeas(), m_packet, nullptr));
        DataSet* t = dm.CDSMeas();
        // Each fetch recalculates: a change of the user level recalculates all 1,000 rows.
        int flip = 0;
        QBENCHMARK {
            dm.setUserCritLevel(80 + (flip++ % 2));
        }
        t->first();
        QVERIFY(!t->text("doseString").isEmpty());
    }
    void binaryWorkingFormSave()
    {
        Tdm dm;
        fill(dm, 1000);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("temp.dat"));
        QBENCHMARK {
            QVERIFY(dm.CDSMeas()->saveToFile(path));
        }
    }
    void binaryWorkingFormLoad()
    {
        Tdm dm;
        fill(dm, 1000);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("temp.dat"));
        QVERIFY(dm.CDSMeas()->saveToFile(path));
        Tdm back;
        back.createMeasTable();
        QBENCHMARK {
            QVERIFY(back.CDSMeas()->loadFromFile(path));
        }
        QCOMPARE(back.CDSMeas()->recordCount(), 1000);
    }
};

QTEST_GUILESS_MAIN(BenchDataSet)
#include "bench_dataset.moc"
