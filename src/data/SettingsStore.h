#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QSettings;

namespace sonvex {

// The one owner of every persistent setting of the program.
//
// Layout (organisation "Meridan Instruments Ltd"):
//   application "Sonvex", group "v3.0"        main window values, charger advice day numbers,
//                                               user criterion levels
//     "v3.0/MRUList"                            recent files "1" .. "5"
//     "v3.0/settings"                           program, view, port and language options
//     "v3.0/validation"                         soak-test validation options
//     "v3.0/column order", "v3.0/column order SLM"   column positions by field name
//     "v3.0/localizer"                          the chosen user-interface language
//   application "Sonvex", top level           "executable" (the program's full path)
//   application "noxTag database"             "executable" of the companion database (read only)
//   start entry                               Windows: HKCU Run value "Meridan Sonvex";
//                                               elsewhere: autostart/meridan-sonvex.desktop
//
// Absent values give their defaults. Values of the wrong type also give their defaults and are
// recorded in readProblems(), so one bad value never hides the others. Booleans are written as
// integers 1/0 (the registry's DWORD convention of earlier installations); reading accepts both
// integers and "true"/"false".
class SettingsStore
{
public:
    enum class ReportType
    {
        Simple,
        Compact,
        Comprehensive
    };
    enum class Table
    {
        Measurements,
        SlmMeasurements
    };

    // The real per-user location (registry on Windows, XDG config files elsewhere).
    SettingsStore();
    // Every file below `directory`: "Sonvex.ini", "noxTag database.ini", "autostart/". For tests.
    explicit SettingsStore(const QString& directory);
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // Writes pending changes out; false (with errorText()) when the store could not be written.
    bool sync();
    // Problems met while reading (unreadable store, values of the wrong type); cleared by
    // clearReadProblems(). Each entry is a complete sentence for the user.
    QStringList readProblems() const { return m_readProblems; }
    void clearReadProblems() { m_readProblems.clear(); }
    QString errorText() const { return m_errorText; }
    // Where the main values live (a file path, or the registry path on Windows); for messages.
    QString location() const;

    // --- Main window values ---------------------------------------------------------------
    std::optional<int> windowX() const;
    std::optional<int> windowY() const;
    std::optional<int> windowWidth() const;
    std::optional<int> windowHeight() const;
    void setWindowGeometry(int x, int y, int width, int height);
    std::optional<bool> windowVisible() const;
    void setWindowVisible(bool visible);

    // Empty when absent: the caller derives documentsFolder + "/data files".
    QString dataFolder() const;
    void setDataFolder(const QString& folder);
    bool shellAssocMade() const;
    void setShellAssocMade(bool made);
    bool advancedMode() const;
    void setAdvancedMode(bool advanced);

    // Comprehensive unless a stored value says otherwise; "simple report", "compact report" and
    // "comprehensive report" are applied in that order, so the last one stored true wins.
    ReportType reportType() const;
    void setReportType(ReportType type);
    bool reportSelected() const;
    void setReportSelected(bool selectedOnly);
    bool noUnderrange() const;
    void setNoUnderrange(bool on);
    bool validate() const;
    void setValidate(bool on);

    QString reportTitle() const;
    void setReportTitle(const QString& text);
    QString reportLocation() const;
    void setReportLocation(const QString& text);
    QString reportMadeBy() const;
    void setReportMadeBy(const QString& text);
    // Memo texts, lines joined by CR LF.
    QString reportNotes() const;
    void setReportNotes(const QString& text);
    QString reportRecommendations() const;
    void setReportRecommendations(const QString& text);

    // Absent unless set: when absent the internal commands stay hidden.
    std::optional<bool> internalMode() const;
    void setInternalMode(bool visible);

    QString saveFolder() const;
    void setSaveFolder(const QString& folder);
    QString reportLogo() const;
    void setReportLogo(const QString& file);
    int exportIndex() const;
    void setExportIndex(int index);

    static constexpr int kRecentFileCount = 5;
    // Always kRecentFileCount entries; an empty string marks an unused entry.
    QStringList recentFiles() const;
    void setRecentFiles(const QStringList& files);

    // Charger advice: day numbers counted from 30 December 1899; 0 when absent.
    qint32 lastShown() const;
    void setLastShown(qint32 day);
    qint32 lastAdvice() const;
    void setLastAdvice(qint32 day);

    // Locale name of the chosen language ("de", "en"); empty when none was chosen.
    QString language() const;
    void setLanguage(const QString& localeName);

    // --- "executable" values --------------------------------------------------------------
    QString executablePath() const;
    void setExecutablePath(const QString& path);
    // The companion database program's path; empty when it is not installed. Never written.
    QString companionDatabaseExecutable() const;

    // --- Settings window values ("settings") ----------------------------------------------
    bool runOnStartup() const;
    void setRunOnStartup(bool on);
    bool popupOnConnect() const;
    void setPopupOnConnect(bool on);
    static constexpr int kSerialPortCount = 16;
    // Port 1 .. 16; other numbers give false and are never written.
    bool scanPort(int port) const;
    void setScanPort(int port, bool scan);
    bool scanReaderPort() const;
    void setScanReaderPort(bool on);
    bool showPeakTimeHistory() const;
    void setShowPeakTimeHistory(bool on);
    bool dualReportBothChannels() const;
    void setDualReportBothChannels(bool both);
    bool useSystemLanguage() const;
    void setUseSystemLanguage(bool on);
    bool useRS232() const;
    void setUseRS232(bool on);
    // Marker lines 1 .. 3.
    static constexpr int kMarkerLineCount = 3;
    static constexpr int kMarkerLevelMin = 70;
    static constexpr int kMarkerLevelMax = 140;
    bool markerLineShown(int line) const;
    void setMarkerLineShown(int line, bool shown);
    // Clamped to 70 .. 140 dB.
    int markerLineLevel(int line) const;
    void setMarkerLineLevel(int line, int level);
    // Colour as 0x00BBGGRR.
    quint32 markerLineColor(int line) const;
    void setMarkerLineColor(int line, quint32 bgr);
    bool allowUnusualSerialNames() const;
    void setAllowUnusualSerialNames(bool allow);

    // --- Start with the desktop session ----------------------------------------------------
    // The command stored in the start entry: the quoted program path followed by " runInTray";
    // empty when there is no entry.
    QString startEntryCommand() const;
    // Writes the entry for `programPath`, or removes it when `programPath` is empty.
    // False when the entry could not be written or removed.
    bool setStartEntry(const QString& programPath);

    // --- Measurement table settings ---------------------------------------------------------
    // `builtIn` with every field's position replaced by the stored one where that exists.
    QMap<QString, int> columnOrder(Table table, const QMap<QString, int>& builtIn) const;
    void setColumnOrder(Table table, const QMap<QString, int>& positions);
    // Channel 1 or 2.
    int userCritLevel(int channel) const;
    void setUserCritLevel(int channel, int level);
    // One level per line, each line ended by a line feed.
    QString userCritLevelList(int channel) const;
    void setUserCritLevelList(int channel, const QString& list);
    bool useUserCritLevel(int channel) const;
    void setUseUserCritLevel(int channel, bool on);

    // --- Soak-test validation options ("validation") ----------------------------------------
    bool bingDone() const;
    void setBingDone(bool done);
    bool battFlat() const;
    void setBattFlat(bool flat);
    int leqMax() const;
    void setLeqMax(int level);
    int leqMin() const;
    void setLeqMin(int level);
    int leqMaxTolerance() const;
    void setLeqMaxTolerance(int tolerance);
    int leqMinTolerance() const;
    void setLeqMinTolerance(int tolerance);

private:
    bool readBool(const QString& key, bool fallback) const;
    std::optional<bool> readOptionalBool(const QString& key) const;
    int readInt(const QString& key, int fallback) const;
    std::optional<int> readOptionalInt(const QString& key) const;
    QString readString(const QString& key, const QString& fallback = {}) const;
    void writeBool(const QString& key, bool value);
    void writeInt(const QString& key, int value);
    void writeString(const QString& key, const QString& value);
    void noteProblem(const QString& key, const char* expected) const;
    void checkStatus();

    std::unique_ptr<QSettings> m_settings;  // application "Sonvex"
    std::unique_ptr<QSettings> m_companion; // application "noxTag database"
    QString m_autostartDir;                 // used where the start entry is a desktop file
    bool m_native = false;
    mutable QStringList m_readProblems;
    QString m_errorText;
};

} // namespace sonvex
