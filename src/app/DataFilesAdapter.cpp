#include "app/DataFilesAdapter.h"

#include "app/SonvexMain.h"
#include "data/SonvexDataModule.h"

#ifdef SONVEX_HAVE_INSTRUMENTS
#include "instruments/KVTReaderPrintout.h"
#endif

#include <QFileDialog>
#include <QMessageBox>

namespace sonvex {

DataFilesAdapter::DataFilesAdapter(Tdm& dm, TformSonvex3Main* window, QObject* parent)
    : DataFilesPort(parent), m_dm(dm), m_window(window), m_files(dm)
{
    const UserFormats formats = UserFormats::fromLocale(QLocale::system());
    m_files.setUserFormats(formats);
#ifdef SONVEX_HAVE_INSTRUMENTS
    m_files.setPrintoutParser([formats](const QStringList& lines, const QDateTime& when) {
        return ParsePrintout(lines, PrintoutContext::fromUserFormats(formats, when));
    });
#endif
    if (window) {
        m_files.setFolders(window->documentsFolder, window->dataFolder);
        m_files.setSaveFolder(window->saveFolder);
        m_files.setRecentFiles(window->recentFiles());
    }

    DataFilesController::Ui ui;
    const auto parentWidget = [this]() -> QWidget* { return m_window.data(); };
    ui.information = [parentWidget](const QString& t) {
        QMessageBox::information(parentWidget(), QStringLiteral("Sonvex"), t);
    };
    ui.warning = [parentWidget](const QString& t) { QMessageBox::warning(parentWidget(), QStringLiteral("Sonvex"), t); };
    ui.error = [parentWidget](const QString& t) { QMessageBox::critical(parentWidget(), QStringLiteral("Sonvex"), t); };
    ui.retry = [parentWidget](const QString& t) {
        return QMessageBox::warning(parentWidget(), QStringLiteral("Sonvex"), t, QMessageBox::Cancel | QMessageBox::Retry,
                                    QMessageBox::Retry) == QMessageBox::Retry;
    };
    ui.confirm = [parentWidget](const QString& t) {
        return QMessageBox::question(parentWidget(), QStringLiteral("Sonvex"), t) == QMessageBox::Yes;
    };
    ui.chooseFolder = [parentWidget](const QString& start) {
        return QFileDialog::getExistingDirectory(parentWidget(), tr("Select a folder for measurement data files"),
                                                 start);
    };
    m_files.setUi(ui);

    connect(&m_files, &DataFilesController::dataLoaded, this, [this](const DataLoadedInfo& info) {
        syncWindow();
        if (m_window)
            m_window->loadedCount = info.loadedCount;
        Q_EMIT dataLoaded(info.kind);
    });
    connect(&m_files, &DataFilesController::noData, this, [this] {
        syncWindow();
        Q_EMIT noData();
    });
    connect(&m_files, &DataFilesController::statusText, this, [this](const QString& t) {
        syncWindow();
        Q_EMIT statusMessage(t);
    });
    connect(&m_files, &DataFilesController::recentFilesChanged, this, [this](const QStringList& files) {
        if (!files.isEmpty())
            Q_EMIT recentFileAdded(files.first());
    });
    connect(&m_files, &DataFilesController::dataFolderChanged, this, [this](const QString& f) {
        if (m_window)
            m_window->dataFolder = f;
    });
    connect(&m_files, &DataFilesController::saveFolderChanged, this, [this](const QString& f) {
        if (m_window)
            m_window->saveFolder = f;
    });
    connect(&m_files, &DataFilesController::openFailed, this, [this](const QString& path, const QString& reason) {
        Q_EMIT statusMessage(tr("Could not open %1: %2").arg(path, reason));
    });
}

void DataFilesAdapter::syncWindow()
{
    if (!m_window)
        return;
    m_window->currentDataFile = m_files.currentDataFile();
    m_window->dataFileLines = m_files.dataFileLines();
    m_window->dataKind = m_files.dataKind();
    QStringList names;
    for (const QString& n : m_files.headerNames())
        names << n + QLatin1Char('!');
    m_window->headerNames = names;
}

void DataFilesAdapter::openDataFile(const QString& fileName, int filterIndex)
{
    if (m_window)
        m_files.setFolders(m_window->documentsFolder, m_window->dataFolder);
    m_files.open(fileName, filterIndex);
}

DataSet* DataFilesAdapter::table(int kind) const
{
    if (kind == 1)
        return m_dm.CDSMeas();
    if (kind == 2)
        return m_dm.CDSSLMMeas();
    return nullptr;
}

void DataFilesAdapter::saveOnShutDown()
{
    m_files.shutdown();
}

} // namespace sonvex
