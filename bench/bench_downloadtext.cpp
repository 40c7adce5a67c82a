// Figures for the download text: 1,000 measurements whose rows carry three
// 1,440-sample time histories (24 hours at 60 s, two channels and the peaks),
// loaded into the table, and one changed note written back into the data file.

#include "data/DataFilesController.h"
#include "data/DataSet.h"
#include "data/DisplayFormat.h"
#include "data/DownloadText.h"
#include "data/SonvexDataModule.h"
#include "data/TextFile.h"
#include "instruments/KVTReaderPrintout.h"
#include "sim/SimReader.h"

#include <QTemporaryDir>
#include <QTest>

using namespace sonvex;

class BenchDownloadText : public QObject
{
    Q_OBJECT
    QStringList m_lines;
    QTemporaryDir m_dir;
    UserFormats m_formats = UserFormats::fromLocale(QLocale(QLocale::English, QLocale::UnitedKingdom));

private Q_SLOTS:
    void initTestCase()
    {
        DisplayFormat::setLocale(m_formats.locale);
        SimReaderOptions o;
        o.model = SimReaderModel::RM52A;
        o.hours = 24.0;
        const SimReader reader = generateReader(1000, 1, o);
        const QDateTime when(QDate(2026, 12, 11), QTime(16, 0), Qt::UTC);
        m_lines = ParsePrintout(writePrintout(reader), PrintoutContext::fromUserFormats(m_formats, when));
        qint64 bytes = 0;
        for (const QString& l : std::as_const(m_lines))
            bytes += l.size() + 2;
        qInfo("download text: %lld lines, %lld characters", qint64(m_lines.size()), bytes);
        QVERIFY(TextFile::write(m_dir.filePath("big.kvntm"), m_lines, false, nullptr));
    }
    void loadDownloadText()
    {
        Tdm dm;
        dm.createMeasTable();
        DownloadTextContext ctx;
        ctx.user = m_formats;
        int records = 0;
        QBENCHMARK {
            QStringList copy = m_lines;
            records = DownloadText::LoadDownloadText(copy, *dm.CDSMeas(), ctx).records;
        }
        QCOMPARE(records, 1000);
        QVERIFY(!dm.CDSMeas()->text("TimeHistoryCh2").isEmpty());
    }
    void openDataFile()
    {
        Tdm dm;
        DataFilesController files(dm);
        files.setUserFormats(m_formats);
        QBENCHMARK {
            QVERIFY(files.open(m_dir.filePath("big.kvntm")));
        }
        QCOMPARE(dm.CDSMeas()->recordCount(), 1000);
    }
    void writeOneNoteBack()
    {
        Tdm dm;
        DataFilesController files(dm);
        files.setUserFormats(m_formats);
        QVERIFY(files.open(m_dir.filePath("big.kvntm")));
        int n = 0;
        QBENCHMARK {
            QVERIFY(files.UpdateNotesInDataFile(500, QStringLiteral("note %1").arg(++n)));
        }
    }
};

QTEST_GUILESS_MAIN(BenchDownloadText)
#include "bench_downloadtext.moc"
