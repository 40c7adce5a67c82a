#pragma once

#include "data/DateTimeFormats.h"
#include "data/DownloadText.h"

#include <QDateTime>
#include <QObject>
#include <QStringList>

#include <functional>
#include <optional>

namespace sonvex {

class Tdm;

// What the window must enable and show after data has been loaded.
struct DataLoadedInfo
{
    int kind = 1;             // 1 noxTag measurements, 2 SLM measurements
    bool kindChanged = false; // re-embed the matching view
    int loadedCount = 0;
    QString receivedText;     // "One measurement has been received." / "N measurements have been received."
    QString saveExtension;    // "kvntm" / "kvslm"
    QString saveFilter;       // "Sonvex Data files (.kvntm)|*.kvntm"
    QString saveName;         // "noxTag measurements.kvntm"
};

// The data files the program writes and reads back: opening every file kind,
// the automatic download files, saving all or a selection, deleting a
// selection, and keeping a text data file in step with the notes and cursor
// positions edited in the table. Holds no widgets: dialogs and questions come
// through the callbacks the window supplies.
class DataFilesController : public QObject
{
    Q_OBJECT
public:
    struct Ui
    {
        // The system's folder chooser; empty when the user cancels.
        std::function<QString(const QString& startFolder)> chooseFolder;
        std::function<void(const QString& text)> information;
        std::function<void(const QString& text)> warning;
        std::function<void(const QString& text)> error;
        // Cancel / Retry; true for Retry.
        std::function<bool(const QString& text)> retry;
        // Yes / No; true for Yes.
        std::function<bool(const QString& text)> confirm;
    };
    // Turns a raw printout into download text; the file's modification time is the download time.
    using PrintoutParser = std::function<QStringList(const QStringList& lines, const QDateTime& downloadTime)>;

    enum OpenFilter { DataFilesFilter = 1, OlderDataFilesFilter = 2, RawDownloadFilter = 3, PrintDataFilter = 4 };

    explicit DataFilesController(Tdm& dm, QObject* parent = nullptr);
    ~DataFilesController() override;

    void setUi(Ui ui) { m_ui = std::move(ui); }
    void setPrintoutParser(PrintoutParser p) { m_parser = std::move(p); }
    void setUserFormats(const UserFormats& f) { m_formats = f; }
    const UserFormats& userFormats() const { return m_formats; }
    void setToday(std::function<QDate()> today) { m_today = std::move(today); }
    void setFolders(const QString& documentsFolder, const QString& dataFolder);
    QString documentsFolder() const { return m_documentsFolder; }
    QString dataFolder() const { return m_dataFolder; }
    void setSaveFolder(const QString& f) { m_saveFolder = f; }
    QString saveFolder() const { return m_saveFolder; }
    void setRecentFiles(const QStringList& files);
    QStringList recentFiles() const { return m_recent; }

    // State of the data now shown.
    int dataKind() const { return m_dataKind; }
    int loadedCount() const { return m_loadedCount; }
    QString currentDataFile() const { return m_currentDataFile; }
    QStringList dataFileLines() const { return m_lines; }
    int headerLineIndex() const { return m_headerIndex; }
    QStringList headerNames() const { return m_load.headerNames; }
    QString readerId() const { return m_load.readerId; }
    bool xmlDataLoaded() const { return m_xmlDataLoaded; }

    // The open dialog's filter text, four filters, the second for older data files.
    static QString openFilter();

    // --- operations
    void ResetMeasurementTable();
    // Loads a copy of the lines into the measurement table (format lines stay in the caller's list).
    bool LoadDownloadText(const QStringList& lines);
    // "&Open Data File..." (also "&Reopen" and the shell's open command).
    bool open(const QString& path, int filter = DataFilesFilter);
    bool reopen(int index); // 0-based entry of the recent files
    bool WriteDataFile(const QStringList& lines, const QString& path, QString* error = nullptr);
    // Saves download text as the next free automatic download file; its name, or nothing.
    std::optional<QString> AutoSaveDownload(const QStringList& lines);
    // A download just parsed from the Reader: load it and keep it as an automatic file.
    std::optional<QString> acceptDownload(const QStringList& lines);
    bool saveAll(const QString& path);
    // `selectedRows` are record positions in the measurement table (0-based).
    bool saveSelected(const QString& path, const QList<int>& selectedRows);
    bool deleteSelected(const QList<int>& selectedRows);
    void AddNotesColumn();
    void AddCursorColumns();
    void AddRecentFile(const QString& path);
    bool UpdateNotesInDataFile(int readOrder, const QString& notes);
    bool UpdateCursorsInDataFile(int readOrder, const QString& cursor1, const QString& cursor2);
    // At shut-down: the table to "SonvexData.xml", unsaved changes to "temp.dat".
    void shutdown();

    // The automatic file name of `day` with number `n`: ddmmyyyy_NNNNN.kvntm.
    static QString autoFileName(const QDate& day, int n);
    static QString readmeText();

Q_SIGNALS:
    void dataLoaded(const sonvex::DataLoadedInfo& info);
    void noData();
    void statusText(const QString& text);
    void recentFilesChanged(const QStringList& files);
    void dataFolderChanged(const QString& folder);
    void saveFolderChanged(const QString& folder);
    // An open that failed without a message of its own (the file vanished, cannot be read).
    void openFailed(const QString& path, const QString& reason);

private:
    void DataLoaded(int kind);
    void ShowNoData();
    void bindTable();
    QStringList linesOfRows(const QList<int>& rows, bool selected) const;
    int dataLineOfRecord(int row) const;
    QString formatLine(bool date) const;
    bool writeBack();
    void onFieldChanged(const QString& field);
    void onAfterPost();
    std::optional<QString> nextAutoFile();
    QDate today() const { return m_today ? m_today() : QDate::currentDate(); }

    Tdm& m_dm;
    Ui m_ui;
    PrintoutParser m_parser;
    UserFormats m_formats = UserFormats::fromLocale(QLocale::system());
    std::function<QDate()> m_today;
    QString m_documentsFolder;
    QString m_dataFolder;
    QString m_saveFolder;
    QStringList m_recent;
    int m_dataKind = 0;
    int m_loadedCount = -1;
    QString m_currentDataFile;
    QStringList m_lines;
    bool m_linesUtf8 = false;
    int m_headerIndex = -1;
    bool m_xmlDataLoaded = false;
    DownloadTextResult m_load;
    QString m_lastCursor1;
    QString m_lastCursor2;
    bool m_notesDirty = false;
    bool m_cursorsDirty = false;
};

} // namespace sonvex

Q_DECLARE_METATYPE(sonvex::DataLoadedInfo)
