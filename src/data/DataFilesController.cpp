#include "data/DataFilesController.h"

#include "data/DataPacket.h"
#include "data/DataSet.h"
#include "data/SonvexDataModule.h"
#include "data/TextFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace sonvex {

namespace {

QString tr(const char* s)
{
    return QCoreApplication::translate("DataFilesController", s);
}

QString statusSavedAs()
{
    return QCoreApplication::translate("Status", "This data has been saved as:");
}

QString statusDataFromFile()
{
    return QCoreApplication::translate("Status", "Data from file: ");
}

QString saveErrorText()
{
    return tr("Sonvex could not write to the specified file.") + QLatin1Char('\r') +
           tr("Perhaps you do not have write-access to the specified folder.");
}

bool isFormatOrErrorLine(const QString& l)
{
    return DownloadText::isDateFormatLine(l) || DownloadText::isTimeFormatLine(l) ||
           DownloadText::isFormatErrorLine(l);
}

int firstItemNumber(const QString& line)
{
    bool ok = false;
    const int n = line.section(u'\t', 0, 0).trimmed().toInt(&ok);
    return ok ? n : 0;
}

int findHeader(const QStringList& lines)
{
    for (int i = 0; i < lines.size(); ++i)
        if (lines.at(i).startsWith(QLatin1String("#\t")))
            return i;
    return -1;
}

// Inserts `count` items after item `after` (0-based) of a tab-separated line.
QString insertItems(const QString& line, int after, const QStringList& items)
{
    QStringList parts = line.split(u'\t');
    while (parts.size() < after + 1)
        parts.append(QString());
    for (int k = 0; k < items.size(); ++k)
        parts.insert(after + 1 + k, items.at(k));
    return parts.join(u'\t');
}

// Text that goes into one item of a line: no tabs and no line breaks.
QString itemText(QString s)
{
    s.replace(u'\t', u' ');
    s.replace(u'\r', u' ');
    s.replace(u'\n', u' ');
    return s;
}

bool writeBytes(const QString& path, const QByteArray& bytes, QString* error)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit()) {
        if (error)
            *error = QDir::toNativeSeparators(path) + QStringLiteral(": ") + f.errorString();
        return false;
    }
    return true;
}

// The stored values of the rows of `t` that are (or are not) in `rows`, as a data packet.
QByteArray packetOfRows(const DataSet& t, const QList<int>& rows, bool selected)
{
    QVector<FieldDef> stored;
    for (int i : t.storedFieldIndexes())
        stored.append(t.field(i));
    const QVector<Row> all = t.storedRows();
    QVector<Row> chosen;
    for (int r = 0; r < all.size(); ++r)
        if (rows.contains(r) == selected)
            chosen.append(all.at(r));
    return DataPacket::write(stored, chosen, t.packetParams());
}

bool writePacket(DataSet& t, const QString& path, QString* error)
{
    return writeBytes(path, DataPacket::save(t), error);
}

} // namespace

DataFilesController::DataFilesController(Tdm& dm, QObject* parent) : QObject(parent), m_dm(dm)
{
    qRegisterMetaType<sonvex::DataLoadedInfo>();
    connect(m_dm.CDSMeas(), &DataSet::fieldChanged, this, &DataFilesController::onFieldChanged);
    connect(m_dm.CDSMeas(), &DataSet::afterPost, this, &DataFilesController::onAfterPost);
}

DataFilesController::~DataFilesController() = default;

void DataFilesController::setFolders(const QString& documentsFolder, const QString& dataFolder)
{
    m_documentsFolder = documentsFolder;
    m_dataFolder = dataFolder;
}

void DataFilesController::setRecentFiles(const QStringList& files)
{
    m_recent.clear();
    for (const QString& f : files)
        if (!f.isEmpty() && !m_recent.contains(f) && m_recent.size() < 5)
            m_recent.append(f);
}

QString DataFilesController::openFilter()
{
    return tr("Sonvex data files (.kvntm .kvslm)|*.kvntm;*.kvslm|Older Sonvex data files (.txt)|*.txt|"
              "Sonvex 3 raw download files (.txt)|*.txt|LogRead raw print data files (.PRT)|*.prt");
}

QString DataFilesController::autoFileName(const QDate& day, int n)
{
    return day.toString(QStringLiteral("ddMMyyyy")) + QLatin1Char('_') + QString::asprintf("%.5u", unsigned(n)) +
           QStringLiteral(".kvntm");
}

QString DataFilesController::readmeText()
{
    return QStringLiteral(
        "Sonvex data folder.  Please ensure that the data in these files is not needed before deleting them");
}

void DataFilesController::bindTable()
{
    m_dm.CDSMeas()->setFileName(QDir(m_documentsFolder).filePath(QStringLiteral("SonvexData.xml")));
}

void DataFilesController::ResetMeasurementTable()
{
    DataSet* t = m_dm.CDSMeas();
    t->disableControls();
    if (!m_documentsFolder.isEmpty())
        m_dm.saveWorkingTable(m_documentsFolder);
    m_dm.createMeasTable();
    bindTable();
    t->enableControls();
}

bool DataFilesController::LoadDownloadText(const QStringList& lines)
{
    QStringList copy = lines;
    DownloadTextContext ctx;
    ctx.user = m_formats;
    ctx.today = today();
    ResetMeasurementTable();
    m_dm.setDisplayLocale(m_formats.locale);
    m_load = DownloadText::LoadDownloadText(copy, *m_dm.CDSMeas(), ctx);
    m_dm.CDSMeas()->mergeChangeLog();
    bindTable();
    m_lastCursor1.clear();
    m_lastCursor2.clear();
    if (!m_load.headerFound) {
        ShowNoData();
        return false;
    }
    m_headerIndex = findHeader(m_lines);
    m_loadedCount = m_load.records;
    DataLoaded(1);
    m_dm.CDSMeas()->first();
    return true;
}

void DataFilesController::DataLoaded(int kind)
{
    DataLoadedInfo info;
    info.kind = kind;
    info.kindChanged = kind != m_dataKind;
    m_dataKind = kind;
    info.loadedCount = m_loadedCount;
    if (m_loadedCount == 1)
        info.receivedText = tr("One measurement has been received.");
    else if (m_loadedCount >= 0)
        info.receivedText = QString::number(m_loadedCount) + QLatin1Char(' ') + tr("measurements have been received.");
    if (kind == 2) {
        info.saveExtension = QStringLiteral("kvslm");
        info.saveFilter = tr("Sonvex Data files (.kvslm)|*.kvslm");
        info.saveName = tr("SLM measurements.kvslm");
    } else {
        info.saveExtension = QStringLiteral("kvntm");
        info.saveFilter = tr("Sonvex Data files (.kvntm)|*.kvntm");
        info.saveName = tr("noxTag measurements.kvntm");
    }
    Q_EMIT dataLoaded(info);
}

void DataFilesController::ShowNoData()
{
    m_currentDataFile.clear();
    Q_EMIT noData();
}

bool DataFilesController::open(const QString& path, int filter)
{
    const QString ext = QFileInfo(path).suffix().toLower();
    m_xmlDataLoaded = false;
    ResetMeasurementTable();
    m_lines.clear();
    m_linesUtf8 = false;
    m_headerIndex = -1;
    const auto fail = [&](const QString& reason) {
        Q_EMIT openFailed(path, reason);
        return false;
    };

    TextFile::Content content;
    QString why;
    int kind = 0;
    if (ext == u"prt" || ext == u"txt") {
        if (filter == OlderDataFilesFilter && ext == u"txt") {
            if (!TextFile::read(path, &content, &why))
                return fail(why);
            m_lines = content.lines;
            m_linesUtf8 = content.utf8;
            m_currentDataFile = path;
        } else {
            if (!m_parser)
                return fail(tr("Raw printout files cannot be read in this program configuration."));
            if (!TextFile::read(path, &content, &why))
                return fail(why);
            m_lines = m_parser(content.lines, QFileInfo(path).lastModified());
            m_linesUtf8 = content.utf8;
            const QFileInfo fi(path);
            m_currentDataFile = fi.dir().filePath(fi.completeBaseName() + QStringLiteral(".kvntm"));
        }
        kind = 1;
    } else if (ext == u"kvntm") {
        if (TextFile::startsWithXml(path)) {
            m_xmlDataLoaded = true;
            QString err;
            if (!m_dm.LoadXmlMeasurements(path, m_documentsFolder, &err)) {
                if (m_ui.error)
                    m_ui.error(err);
                return fail(err);
            }
        } else {
            if (!TextFile::read(path, &content, &why))
                return fail(why);
            m_lines = content.lines;
            m_linesUtf8 = content.utf8;
        }
        m_currentDataFile = path;
        kind = 1;
    } else if (ext == u"kvslm") {
        QString err;
        if (!m_dm.LoadSLMFile(path, &err)) {
            if (m_ui.error)
                m_ui.error(err);
            return fail(err);
        }
        m_currentDataFile = path;
        m_loadedCount = m_dm.CDSSLMMeas()->recordCount();
        kind = 2;
    } else if (ext == u"xml") {
        m_xmlDataLoaded = true;
        QString err;
        if (!m_dm.LoadXmlMeasurements(path, m_documentsFolder, &err)) {
            if (m_ui.error)
                m_ui.error(err);
            return fail(err);
        }
        m_currentDataFile = path;
        kind = 1;
    } else {
        return fail(tr("This is not a Sonvex data file."));
    }

    if (kind == 1 && m_xmlDataLoaded) {
        m_loadedCount = m_dm.CDSMeas()->recordCount();
        DataLoaded(1);
        m_dm.CDSMeas()->first();
    } else if (kind == 1) {
        m_headerIndex = findHeader(m_lines);
        AddNotesColumn();
        AddCursorColumns();
        LoadDownloadText(m_lines);
    } else {
        DataLoaded(2);
        m_dm.CDSSLMMeas()->first();
    }
    Q_EMIT statusText(statusDataFromFile() + path);
    AddRecentFile(path);
    return true;
}

bool DataFilesController::reopen(int index)
{
    if (index < 0 || index >= m_recent.size())
        return false;
    return open(m_recent.at(index));
}

QString DataFilesController::formatLine(bool date) const
{
    return date ? QStringLiteral("Date format: ") + DateTimeFormats::toFileDateFormat(m_formats.shortDate)
                : QStringLiteral("Time format: ") + DateTimeFormats::toFileTimeFormat(m_formats.shortTime);
}

bool DataFilesController::WriteDataFile(const QStringList& lines, const QString& path, QString* error)
{
    if (m_xmlDataLoaded) {
        DataSet* t = m_dm.CDSMeas();
        if (t->state() != DataSet::State::Browse)
            return true; // written once the edit is posted
        t->mergeChangeLog();
        return writePacket(*t, path, error);
    }
    QStringList out = lines;
    for (bool date : {true, false}) {
        const QString l = formatLine(date);
        if (!out.contains(l))
            out.append(l);
    }
    if (!TextFile::write(path, out, m_linesUtf8, error))
        return false;
    m_currentDataFile = path;
    return true;
}

std::optional<QString> DataFilesController::nextAutoFile()
{
    for (;;) {
        QDir().mkdir(m_dataFolder); // one level; errors show up when writing the note
        QString err;
        if (!m_dataFolder.isEmpty() &&
            TextFile::write(QDir(m_dataFolder).filePath(QStringLiteral("readme.txt")), {readmeText()}, false, &err))
            break;
        if (m_ui.information)
            m_ui.information(tr("Sonvex could not write to the data folder.") + QLatin1Char('\r') +
                             tr("You may not have write-permission for the current folder,") + QLatin1Char('\r') +
                             tr("or it may be on a network path that is not available.") + QLatin1Char('\r') +
                             tr("Please select another folder to store measurement data files."));
        for (;;) {
            const QString chosen = m_ui.chooseFolder ? m_ui.chooseFolder(m_dataFolder) : QString();
            if (!chosen.isEmpty()) {
                m_dataFolder = QDir::cleanPath(chosen);
                Q_EMIT dataFolderChanged(m_dataFolder);
                break;
            }
            const bool again =
                m_ui.retry && m_ui.retry(tr("A data folder has not been created.") + QLatin1Char('\r') +
                                         tr("Measurement data cannot be saved.") + QLatin1Char('\r') +
                                         tr("Click 'retry' if you wish to attempt to select a folder again"));
            if (!again)
                return std::nullopt;
        }
    }
    const QDate day = today();
    for (int i = 0; i <= 99999; ++i) {
        const QString name = QDir(m_dataFolder).filePath(autoFileName(day, i));
        if (!QFileInfo::exists(name))
            return name;
    }
    return std::nullopt; // every name of the day is taken
}

std::optional<QString> DataFilesController::AutoSaveDownload(const QStringList& lines)
{
    const auto name = nextAutoFile();
    if (!name || !WriteDataFile(lines, *name))
        return std::nullopt;
    return name;
}

std::optional<QString> DataFilesController::acceptDownload(const QStringList& lines)
{
    m_xmlDataLoaded = false;
    m_lines = lines;
    m_linesUtf8 = false;
    m_headerIndex = findHeader(m_lines);
    m_loadedCount = -1;
    LoadDownloadText(m_lines);
    const auto saved = AutoSaveDownload(m_lines);
    if (saved) {
        m_currentDataFile = *saved;
        Q_EMIT statusText(statusSavedAs() + QLatin1Char(' ') + *saved);
    } else {
        Q_EMIT statusText(QCoreApplication::translate("Status", "This data has not been saved"));
    }
    return saved;
}

bool DataFilesController::saveAll(const QString& path)
{
    QString err;
    bool ok = false;
    if (m_dataKind == 2) {
        DataSet* t = m_dm.CDSSLMMeas();
        t->mergeChangeLog();
        ok = writePacket(*t, path, &err);
    } else {
        ok = WriteDataFile(m_lines, path, &err);
    }
    if (!ok) {
        if (m_ui.error)
            m_ui.error(saveErrorText());
        return false;
    }
    Q_EMIT statusText(statusSavedAs() + QLatin1Char(' ') + path);
    AddRecentFile(path);
    m_saveFolder = QFileInfo(path).absolutePath();
    Q_EMIT saveFolderChanged(m_saveFolder);
    return true;
}

int DataFilesController::dataLineOfRecord(int row) const
{
    // A record stands for the data line with its read order; records sharing a
    // read order take those lines in turn.
    DataSet* t = m_dm.CDSMeas();
    const int ro = t->rowValue(row, QStringLiteral("read_order")).toInt();
    int occurrence = 0;
    for (int r = 0; r < row; ++r)
        if (t->rowValue(r, QStringLiteral("read_order")).toInt() == ro)
            ++occurrence;
    for (int i = m_headerIndex + 1; i < m_lines.size(); ++i) {
        const QString& l = m_lines.at(i);
        if (l.isEmpty() || isFormatOrErrorLine(l))
            continue;
        if (firstItemNumber(l) == ro && occurrence-- == 0)
            return i;
    }
    return -1;
}

QStringList DataFilesController::linesOfRows(const QList<int>& rows, bool selected) const
{
    QStringList out = m_lines.mid(0, m_headerIndex + 1);
    const int n = m_dm.CDSMeas()->recordCount();
    for (int r = 0; r < n; ++r) {
        if (rows.contains(r) != selected)
            continue;
        const int line = dataLineOfRecord(r);
        if (line >= 0)
            out.append(m_lines.at(line));
    }
    // The dates of these lines are written in the file's own formats: keep its format lines.
    for (int i = m_headerIndex + 1; i < m_lines.size(); ++i)
        if (DownloadText::isDateFormatLine(m_lines.at(i)) || DownloadText::isTimeFormatLine(m_lines.at(i)))
            out.append(m_lines.at(i));
    return out;
}

bool DataFilesController::saveSelected(const QString& path, const QList<int>& rows)
{
    if (rows.isEmpty()) {
        if (m_ui.error)
            m_ui.error(tr("No measurements are selected."));
        return false;
    }
    QString err;
    if (m_dataKind == 2) {
        DataSet* t = m_dm.CDSSLMMeas();
        QList<QVariant> keep;
        for (int r : rows)
            keep.append(t->rowValue(r, QStringLiteral("eventNumber")));
        t->disableControls();
        for (int r = t->recordCount() - 1; r >= 0; --r) {
            if (keep.contains(t->rowValue(r, QStringLiteral("eventNumber"))))
                continue;
            t->moveTo(r);
            t->deleteRecord();
        }
        t->mergeChangeLog();
        t->enableControls();
        if (!writePacket(*t, path, &err)) {
            if (m_ui.error)
                m_ui.error(saveErrorText());
            return false;
        }
    } else if (m_xmlDataLoaded) {
        // No text lines to select from: the selection is saved as a data packet.
        if (!writeBytes(path, packetOfRows(*m_dm.CDSMeas(), rows, true), &err)) {
            if (m_ui.error)
                m_ui.error(saveErrorText());
            return false;
        }
        m_dm.LoadXmlMeasurements(path, m_documentsFolder, &err);
        m_currentDataFile = path;
        m_loadedCount = m_dm.CDSMeas()->recordCount();
        DataLoaded(1);
    } else {
        const QStringList lines = linesOfRows(rows, true);
        if (!WriteDataFile(lines, path, &err)) {
            if (m_ui.error)
                m_ui.error(saveErrorText());
            LoadDownloadText(m_lines); // everything as before
            return false;
        }
        Q_EMIT statusText(statusSavedAs() + QLatin1Char(' ') + path);
        TextFile::Content content;
        if (TextFile::read(path, &content, &err)) {
            m_lines = content.lines;
            m_linesUtf8 = content.utf8;
        }
        m_headerIndex = findHeader(m_lines);
        LoadDownloadText(m_lines);
        m_currentDataFile = path;
    }
    Q_EMIT statusText(statusDataFromFile() + path);
    AddRecentFile(path);
    m_saveFolder = QFileInfo(path).absolutePath();
    Q_EMIT saveFolderChanged(m_saveFolder);
    return true;
}

bool DataFilesController::deleteSelected(const QList<int>& rows)
{
    if (rows.isEmpty() || m_dataKind != 1)
        return false;
    if (m_ui.confirm &&
        !m_ui.confirm(tr("Are you sure you wish to delete the selected measurements?") + QLatin1Char('\n') +
                      tr("(They will be deleted from Sonvex, but not from the instrument's memory)")))
        return false;
    if (m_xmlDataLoaded) {
        // Saved like a download: as the next automatic file, holding a data packet.
        const auto name = nextAutoFile();
        QString err;
        if (!name || !writeBytes(*name, packetOfRows(*m_dm.CDSMeas(), rows, false), &err)) {
            if (m_ui.error)
                m_ui.error(saveErrorText());
            return false;
        }
        Q_EMIT statusText(statusSavedAs() + QLatin1Char(' ') + *name);
        m_dm.LoadXmlMeasurements(*name, m_documentsFolder, &err);
        m_currentDataFile = *name;
        m_loadedCount = m_dm.CDSMeas()->recordCount();
        if (m_loadedCount == 0)
            ShowNoData();
        else
            DataLoaded(1);
        return true;
    }
    const QStringList lines = linesOfRows(rows, false);
    const auto name = AutoSaveDownload(lines);
    if (!name) {
        if (m_ui.error)
            m_ui.error(saveErrorText());
        return false;
    }
    Q_EMIT statusText(statusSavedAs() + QLatin1Char(' ') + *name);
    TextFile::Content content;
    QString err;
    if (TextFile::read(*name, &content, &err)) {
        m_lines = content.lines;
        m_linesUtf8 = content.utf8;
    } else {
        m_lines = lines;
    }
    m_headerIndex = findHeader(m_lines);
    LoadDownloadText(m_lines);
    m_currentDataFile = *name;
    if (m_dm.CDSMeas()->recordCount() == 0)
        ShowNoData();
    return true;
}

void DataFilesController::AddNotesColumn()
{
    if (m_dataKind == 2 || m_lines.isEmpty())
        return;
    const int h = findHeader(m_lines);
    if (h < 0 || m_lines.at(h).split(u'\t').contains(QStringLiteral("Notes")))
        return;
    m_lines[h] = insertItems(m_lines.at(h), 0, {QStringLiteral("Notes")});
    for (int i = h + 1; i < m_lines.size(); ++i)
        if (!m_lines.at(i).isEmpty() && !isFormatOrErrorLine(m_lines.at(i)))
            m_lines[i] = insertItems(m_lines.at(i), 0, {QString()});
}

void DataFilesController::AddCursorColumns()
{
    if (m_dataKind == 2 || m_lines.isEmpty())
        return;
    const int h = findHeader(m_lines);
    if (h < 0 || m_lines.at(h).contains(QLatin1String("Cursor1Pos")))
        return;
    m_lines[h] = insertItems(m_lines.at(h), 1, {QStringLiteral("Cursor1Pos"), QStringLiteral("Cursor2Pos")});
    for (int i = h + 1; i < m_lines.size(); ++i)
        if (!m_lines.at(i).isEmpty() && !isFormatOrErrorLine(m_lines.at(i)))
            m_lines[i] = insertItems(m_lines.at(i), 1, {QString(), QString()});
}

void DataFilesController::AddRecentFile(const QString& path)
{
    QStringList list{path};
    for (const QString& f : std::as_const(m_recent))
        if (f != path)
            list.append(f);
    m_recent = list.mid(0, 5);
    Q_EMIT recentFilesChanged(m_recent);
}

bool DataFilesController::writeBack()
{
    if (m_currentDataFile.isEmpty())
        return false;
    QString err;
    if (WriteDataFile(m_lines, m_currentDataFile, &err))
        return true;
    // A read-only data file is made writable for the notes and cursors.
    QFileInfo fi(m_currentDataFile);
    if (fi.exists() && !fi.isWritable()) {
        QFile::setPermissions(m_currentDataFile, QFile::permissions(m_currentDataFile) | QFile::WriteOwner);
        return WriteDataFile(m_lines, m_currentDataFile, &err);
    }
    return false;
}

bool DataFilesController::UpdateNotesInDataFile(int readOrder, const QString& notes)
{
    if (m_xmlDataLoaded) {
        m_notesDirty = true;
        return writeBack();
    }
    if (m_lines.isEmpty() || m_headerIndex < 0)
        return false;
    for (int i = m_headerIndex; i < m_lines.size(); ++i) {
        if (firstItemNumber(m_lines.at(i)) != readOrder || isFormatOrErrorLine(m_lines.at(i)))
            continue;
        QStringList items = m_lines.at(i).split(u'\t');
        if (items.size() < 2)
            items.append(QString());
        items[1] = itemText(notes);
        m_lines[i] = items.join(u'\t');
        break;
    }
    return writeBack();
}

bool DataFilesController::UpdateCursorsInDataFile(int readOrder, const QString& c1, const QString& c2)
{
    if (m_xmlDataLoaded)
        return writeBack();
    if (m_lines.isEmpty() || m_headerIndex < 0)
        return false;
    const QString key = QString::number(readOrder) + QLatin1Char('\n') + c1;
    if (key == m_lastCursor1 && c2 == m_lastCursor2)
        return true;
    m_lastCursor1 = key;
    m_lastCursor2 = c2;
    const bool hasNotes = m_lines.at(m_headerIndex).split(u'\t').contains(QStringLiteral("Notes"));
    const int at = hasNotes ? 2 : 1;
    for (int i = m_headerIndex; i < m_lines.size(); ++i) {
        if (firstItemNumber(m_lines.at(i)) != readOrder || isFormatOrErrorLine(m_lines.at(i)))
            continue;
        QStringList items = m_lines.at(i).split(u'\t');
        while (items.size() < at + 2)
            items.append(QString());
        items[at] = itemText(c1);
        items[at + 1] = itemText(c2);
        m_lines[i] = items.join(u'\t');
        break;
    }
    return writeBack();
}

void DataFilesController::onFieldChanged(const QString& field)
{
    DataSet* t = m_dm.CDSMeas();
    if (t->controlsDisabled())
        return;
    const int ro = t->value(QStringLiteral("read_order")).toInt();
    if (field == u"notes") {
        UpdateNotesInDataFile(ro, t->text(QStringLiteral("notes")));
    } else if (field == u"cursor1Time" || field == u"cursor2Time") {
        // Both cursors go to the file once the record is posted: one write for a move.
        m_cursorsDirty = true;
        if (t->state() == DataSet::State::Browse)
            onAfterPost();
    }
}

void DataFilesController::onAfterPost()
{
    DataSet* t = m_dm.CDSMeas();
    if (m_cursorsDirty && !t->controlsDisabled()) {
        m_cursorsDirty = false;
        const auto text = [this, t](const char* f) {
            const QVariant v = t->value(QLatin1String(f));
            return v.isValid() ? m_formats.dateText(v.toDateTime().date()) + QLatin1Char(' ') +
                                     m_formats.timeText(v.toDateTime().time())
                               : QString();
        };
        UpdateCursorsInDataFile(t->value(QStringLiteral("read_order")).toInt(), text("cursor1Time"),
                                text("cursor2Time"));
    }
    // A data packet is written once the edit has been posted.
    if (m_xmlDataLoaded && m_notesDirty && !m_dm.CDSMeas()->controlsDisabled()) {
        m_notesDirty = false;
        writeBack();
    }
}

void DataFilesController::shutdown()
{
    DataSet* t = m_dm.CDSMeas();
    if (!t->isActive() || m_documentsFolder.isEmpty())
        return;
    if (t->state() != DataSet::State::Browse)
        t->post();
    QString err;
    const int changes = t->changeCount();
    writePacket(*t, QDir(m_documentsFolder).filePath(QStringLiteral("SonvexData.xml")), &err);
    if (changes > 0)
        m_dm.saveWorkingTable(m_documentsFolder);
}

} // namespace sonvex
