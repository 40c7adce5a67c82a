#include "data/SettingsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>

#include <algorithm>
#include <limits>

namespace sonvex {

namespace {

const QString kOrganisation = QStringLiteral("Meridan Instruments Ltd");
const QString kApplication = QStringLiteral("Sonvex");
const QString kCompanionApplication = QStringLiteral("noxTag database");
const QString kMain = QStringLiteral("v3.0/");
const QString kMru = QStringLiteral("v3.0/MRUList/");
const QString kDialog = QStringLiteral("v3.0/settings/");
const QString kValidation = QStringLiteral("v3.0/validation/");
const QString kLocalizer = QStringLiteral("v3.0/localizer/");
const QString kColumnOrder = QStringLiteral("v3.0/column order/");
const QString kColumnOrderSlm = QStringLiteral("v3.0/column order SLM/");
const QString kStartEntryName = QStringLiteral("Meridan Sonvex");
const QString kAutostartFile = QStringLiteral("meridan-sonvex.desktop");
const QString kTrayArgument = QStringLiteral("runInTray");

constexpr int kMarkerLevelDefault[] = {90, 85, 80};
constexpr quint32 kMarkerColorDefault[] = {0x800080u /* purple */, 0x808000u /* teal */,
                                           0x008000u /* green */};
const QString kCritLevelListDefault = QStringLiteral("90\n85\n84\n83\n80\n");

bool validLine(int line)
{
    return line >= 1 && line <= SettingsStore::kMarkerLineCount;
}

QString channelSuffix(int channel)
{
    return channel == 2 ? QStringLiteral("2") : QString();
}

// Desktop entry Exec quoting: the argument in double quotes with ", `, $ and \ escaped, and the
// whole value's backslashes escaped once more (the entry format's own string escaping).
QString desktopExecValue(const QString& programPath)
{
    QString quoted;
    for (const QChar c : programPath) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    QString value = u'"' + quoted + QStringLiteral("\" ") + kTrayArgument;
    value.replace(u'\\', QStringLiteral("\\\\"));
    return value;
}

// The program path of an Exec value written by desktopExecValue(); empty when it has another form.
QString programFromDesktopExec(QString value)
{
    value.replace(QStringLiteral("\\\\"), QStringLiteral("\\"));
    if (!value.startsWith(u'"'))
        return {};
    QString path;
    for (qsizetype i = 1; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c == u'\\' && i + 1 < value.size()) {
            path += value.at(++i);
        } else if (c == u'"') {
            return value.mid(i + 1).trimmed() == kTrayArgument ? path : QString();
        } else {
            path += c;
        }
    }
    return {};
}

} // namespace

SettingsStore::SettingsStore()
    : m_settings(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, kOrganisation,
                                             kApplication)),
      m_companion(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, kOrganisation,
                                              kCompanionApplication)),
      m_autostartDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                     QStringLiteral("/autostart")),
      m_native(true)
{
    checkStatus();
}

SettingsStore::SettingsStore(const QString& directory)
    : m_settings(
          std::make_unique<QSettings>(directory + QStringLiteral("/Sonvex.ini"), QSettings::IniFormat)),
      m_companion(std::make_unique<QSettings>(directory + QStringLiteral("/noxTag database.ini"),
                                              QSettings::IniFormat)),
      m_autostartDir(directory + QStringLiteral("/autostart"))
{
    checkStatus();
}

SettingsStore::~SettingsStore()
{
    m_settings->sync();
}

void SettingsStore::checkStatus()
{
    if (m_settings->status() == QSettings::FormatError) {
        m_readProblems << QCoreApplication::translate(
                              "SettingsStore", "The settings in %1 could not be read; defaults are used.")
                              .arg(location());
    } else if (m_settings->status() == QSettings::AccessError) {
        m_readProblems << QCoreApplication::translate("SettingsStore",
                                                      "The settings in %1 cannot be accessed.")
                              .arg(location());
    }
}

bool SettingsStore::sync()
{
    m_settings->sync();
    if (m_settings->status() != QSettings::NoError) {
        m_errorText = QCoreApplication::translate("SettingsStore", "The settings could not be written to %1.")
                          .arg(location());
        return false;
    }
    m_errorText.clear();
    return true;
}

QString SettingsStore::location() const
{
    return m_settings->fileName();
}

// --- typed primitives ---------------------------------------------------------------------------

void SettingsStore::noteProblem(const QString& key, const char* expected) const
{
    m_readProblems << QCoreApplication::translate("SettingsStore",
                                                  "The setting \"%1\" is not %2; its default is used.")
                          .arg(key, QCoreApplication::translate("SettingsStore", expected));
}

std::optional<bool> SettingsStore::readOptionalBool(const QString& key) const
{
    const QVariant v = m_settings->value(key);
    if (!v.isValid())
        return std::nullopt;
    if (v.typeId() == QMetaType::Bool)
        return v.toBool();
    if (v.typeId() == QMetaType::Int || v.typeId() == QMetaType::UInt || v.typeId() == QMetaType::LongLong ||
        v.typeId() == QMetaType::ULongLong)
        return v.toLongLong() != 0;
    const QString text = v.toString().trimmed();
    bool ok = false;
    const qlonglong number = text.toLongLong(&ok);
    if (ok)
        return number != 0;
    if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    noteProblem(key, QT_TRANSLATE_NOOP("SettingsStore", "a yes/no value"));
    return std::nullopt;
}

bool SettingsStore::readBool(const QString& key, bool fallback) const
{
    return readOptionalBool(key).value_or(fallback);
}

std::optional<int> SettingsStore::readOptionalInt(const QString& key) const
{
    const QVariant v = m_settings->value(key);
    if (!v.isValid())
        return std::nullopt;
    bool ok = false;
    // Registry DWORDs arrive as numbers, file values as text (always written with the C locale).
    const qlonglong number = v.toString().trimmed().toLongLong(&ok);
    if (ok && number >= std::numeric_limits<qint32>::min() && number <= std::numeric_limits<quint32>::max())
        return static_cast<int>(static_cast<qint32>(number));
    noteProblem(key, QT_TRANSLATE_NOOP("SettingsStore", "a whole number"));
    return std::nullopt;
}

int SettingsStore::readInt(const QString& key, int fallback) const
{
    return readOptionalInt(key).value_or(fallback);
}

QString SettingsStore::readString(const QString& key, const QString& fallback) const
{
    const QVariant v = m_settings->value(key);
    if (!v.isValid())
        return fallback;
    if (v.typeId() == QMetaType::QStringList) // an unquoted comma in a hand-edited file
        return v.toStringList().join(QStringLiteral(", "));
    return v.toString();
}

void SettingsStore::writeBool(const QString& key, bool value)
{
    m_settings->setValue(key, value ? 1 : 0);
}

void SettingsStore::writeInt(const QString& key, int value)
{
    m_settings->setValue(key, value);
}

void SettingsStore::writeString(const QString& key, const QString& value)
{
    m_settings->setValue(key, value);
}

// --- main window values -------------------------------------------------------------------------

std::optional<int> SettingsStore::windowX() const
{
    return readOptionalInt(kMain + QStringLiteral("X"));
}
std::optional<int> SettingsStore::windowY() const
{
    return readOptionalInt(kMain + QStringLiteral("Y"));
}
std::optional<int> SettingsStore::windowWidth() const
{
    return readOptionalInt(kMain + QStringLiteral("W"));
}
std::optional<int> SettingsStore::windowHeight() const
{
    return readOptionalInt(kMain + QStringLiteral("H"));
}
void SettingsStore::setWindowGeometry(int x, int y, int width, int height)
{
    writeInt(kMain + QStringLiteral("X"), x);
    writeInt(kMain + QStringLiteral("Y"), y);
    writeInt(kMain + QStringLiteral("W"), width);
    writeInt(kMain + QStringLiteral("H"), height);
}
std::optional<bool> SettingsStore::windowVisible() const
{
    return readOptionalBool(kMain + QStringLiteral("visible"));
}
void SettingsStore::setWindowVisible(bool visible)
{
    writeBool(kMain + QStringLiteral("visible"), visible);
}

QString SettingsStore::dataFolder() const
{
    return readString(kMain + QStringLiteral("data folder"));
}
void SettingsStore::setDataFolder(const QString& folder)
{
    writeString(kMain + QStringLiteral("data folder"), folder);
}
bool SettingsStore::shellAssocMade() const
{
    return readBool(kMain + QStringLiteral("shellAssocMade"), false);
}
void SettingsStore::setShellAssocMade(bool made)
{
    writeBool(kMain + QStringLiteral("shellAssocMade"), made);
}
bool SettingsStore::advancedMode() const
{
    return readBool(kMain + QStringLiteral("advancedMode"), false);
}
void SettingsStore::setAdvancedMode(bool advanced)
{
    writeBool(kMain + QStringLiteral("advancedMode"), advanced);
}

SettingsStore::ReportType SettingsStore::reportType() const
{
    ReportType type = ReportType::Comprehensive;
    if (readBool(kMain + QStringLiteral("simple report"), false))
        type = ReportType::Simple;
    if (readBool(kMain + QStringLiteral("compact report"), false))
        type = ReportType::Compact;
    if (readBool(kMain + QStringLiteral("comprehensive report"), false))
        type = ReportType::Comprehensive;
    return type;
}
void SettingsStore::setReportType(ReportType type)
{
    writeBool(kMain + QStringLiteral("simple report"), type == ReportType::Simple);
    writeBool(kMain + QStringLiteral("compact report"), type == ReportType::Compact);
    writeBool(kMain + QStringLiteral("comprehensive report"), type == ReportType::Comprehensive);
}
bool SettingsStore::reportSelected() const
{
    return readBool(kMain + QStringLiteral("report selected"), false);
}
void SettingsStore::setReportSelected(bool selectedOnly)
{
    writeBool(kMain + QStringLiteral("report selected"), selectedOnly);
}
bool SettingsStore::noUnderrange() const
{
    return readBool(kMain + QStringLiteral("no underrange"), false);
}
void SettingsStore::setNoUnderrange(bool on)
{
    writeBool(kMain + QStringLiteral("no underrange"), on);
}
bool SettingsStore::validate() const
{
    return readBool(kMain + QStringLiteral("validate"), false);
}
void SettingsStore::setValidate(bool on)
{
    writeBool(kMain + QStringLiteral("validate"), on);
}

QString SettingsStore::reportTitle() const
{
    return readString(kMain + QStringLiteral("Report Title"));
}
void SettingsStore::setReportTitle(const QString& text)
{
    writeString(kMain + QStringLiteral("Report Title"), text);
}
QString SettingsStore::reportLocation() const
{
    return readString(kMain + QStringLiteral("Report Location"));
}
void SettingsStore::setReportLocation(const QString& text)
{
    writeString(kMain + QStringLiteral("Report Location"), text);
}
QString SettingsStore::reportMadeBy() const
{
    return readString(kMain + QStringLiteral("Report Made By"));
}
void SettingsStore::setReportMadeBy(const QString& text)
{
    writeString(kMain + QStringLiteral("Report Made By"), text);
}
QString SettingsStore::reportNotes() const
{
    return readString(kMain + QStringLiteral("Report Notes"));
}
void SettingsStore::setReportNotes(const QString& text)
{
    writeString(kMain + QStringLiteral("Report Notes"), text);
}
QString SettingsStore::reportRecommendations() const
{
    return readString(kMain + QStringLiteral("Report Rec"));
}
void SettingsStore::setReportRecommendations(const QString& text)
{
    writeString(kMain + QStringLiteral("Report Rec"), text);
}

std::optional<bool> SettingsStore::internalMode() const
{
    return readOptionalBool(kMain + QStringLiteral("Internal"));
}
void SettingsStore::setInternalMode(bool visible)
{
    writeBool(kMain + QStringLiteral("Internal"), visible);
}

QString SettingsStore::saveFolder() const
{
    return readString(kMain + QStringLiteral("saveFolder"));
}
void SettingsStore::setSaveFolder(const QString& folder)
{
    writeString(kMain + QStringLiteral("saveFolder"), folder);
}
QString SettingsStore::reportLogo() const
{
    return readString(kMain + QStringLiteral("reportLogo"));
}
void SettingsStore::setReportLogo(const QString& file)
{
    writeString(kMain + QStringLiteral("reportLogo"), file);
}
int SettingsStore::exportIndex() const
{
    return readInt(kMain + QStringLiteral("MRExportIndex"), 0);
}
void SettingsStore::setExportIndex(int index)
{
    writeInt(kMain + QStringLiteral("MRExportIndex"), index);
}

QStringList SettingsStore::recentFiles() const
{
    QStringList files;
    for (int i = 1; i <= kRecentFileCount; ++i)
        files << readString(kMru + QString::number(i));
    return files;
}
void SettingsStore::setRecentFiles(const QStringList& files)
{
    for (int i = 1; i <= kRecentFileCount; ++i)
        writeString(kMru + QString::number(i), i <= files.size() ? files.at(i - 1) : QString());
}

qint32 SettingsStore::lastShown() const
{
    return readInt(kMain + QStringLiteral("lastShown"), 0);
}
void SettingsStore::setLastShown(qint32 day)
{
    writeInt(kMain + QStringLiteral("lastShown"), day);
}
qint32 SettingsStore::lastAdvice() const
{
    return readInt(kMain + QStringLiteral("lastAdvice"), 0);
}
void SettingsStore::setLastAdvice(qint32 day)
{
    writeInt(kMain + QStringLiteral("lastAdvice"), day);
}

QString SettingsStore::language() const
{
    return readString(kLocalizer + QStringLiteral("language"));
}
void SettingsStore::setLanguage(const QString& localeName)
{
    writeString(kLocalizer + QStringLiteral("language"), localeName);
}

// --- executable values --------------------------------------------------------------------------

QString SettingsStore::executablePath() const
{
    return readString(QStringLiteral("executable"));
}
void SettingsStore::setExecutablePath(const QString& path)
{
    writeString(QStringLiteral("executable"), path);
}

QString SettingsStore::companionDatabaseExecutable() const
{
    // Reading never creates the key: QSettings only writes what is set.
    QString path = m_companion->value(QStringLiteral("executable")).toString();
#ifdef Q_OS_WIN
    if (path.isEmpty() && m_native) {
        const QSettings appPaths(QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\"
                                                "CurrentVersion\\App Paths\\ntDB_Meridan.exe"),
                                 QSettings::NativeFormat);
        path = appPaths.value(QStringLiteral("Default")).toString();
    }
#endif
    return path;
}

// --- Settings window values ---------------------------------------------------------------------

bool SettingsStore::runOnStartup() const
{
    return readBool(kDialog + QStringLiteral("runOnStartup"), true);
}
void SettingsStore::setRunOnStartup(bool on)
{
    writeBool(kDialog + QStringLiteral("runOnStartup"), on);
}
bool SettingsStore::popupOnConnect() const
{
    return readBool(kDialog + QStringLiteral("popupOnConnect"), true);
}
void SettingsStore::setPopupOnConnect(bool on)
{
    writeBool(kDialog + QStringLiteral("popupOnConnect"), on);
}
bool SettingsStore::scanPort(int port) const
{
    if (port < 1 || port > kSerialPortCount)
        return false;
    return readBool(kDialog + QStringLiteral("com") + QString::number(port), true);
}
void SettingsStore::setScanPort(int port, bool scan)
{
    if (port < 1 || port > kSerialPortCount)
        return;
    writeBool(kDialog + QStringLiteral("com") + QString::number(port), scan);
}
bool SettingsStore::scanReaderPort() const
{
    return readBool(kDialog + QStringLiteral("scanReaderPort"), true);
}
void SettingsStore::setScanReaderPort(bool on)
{
    writeBool(kDialog + QStringLiteral("scanReaderPort"), on);
}
bool SettingsStore::showPeakTimeHistory() const
{
    return readBool(kDialog + QStringLiteral("showPeakTimeHistory"), true);
}
void SettingsStore::setShowPeakTimeHistory(bool on)
{
    writeBool(kDialog + QStringLiteral("showPeakTimeHistory"), on);
}
bool SettingsStore::dualReportBothChannels() const
{
    return readBool(kDialog + QStringLiteral("DualReportBothChannels"), true);
}
void SettingsStore::setDualReportBothChannels(bool both)
{
    writeBool(kDialog + QStringLiteral("DualReportBothChannels"), both);
}
bool SettingsStore::useSystemLanguage() const
{
    return readBool(kDialog + QStringLiteral("useSystemLanguage"), true);
}
void SettingsStore::setUseSystemLanguage(bool on)
{
    writeBool(kDialog + QStringLiteral("useSystemLanguage"), on);
}
bool SettingsStore::useRS232() const
{
    return readBool(kDialog + QStringLiteral("useRS232"), false);
}
void SettingsStore::setUseRS232(bool on)
{
    writeBool(kDialog + QStringLiteral("useRS232"), on);
}
bool SettingsStore::markerLineShown(int line) const
{
    if (!validLine(line))
        return false;
    return readBool(kDialog + QStringLiteral("horiz%1").arg(line), true);
}
void SettingsStore::setMarkerLineShown(int line, bool shown)
{
    if (validLine(line))
        writeBool(kDialog + QStringLiteral("horiz%1").arg(line), shown);
}
int SettingsStore::markerLineLevel(int line) const
{
    if (!validLine(line))
        return kMarkerLevelMin;
    const int level =
        readInt(kDialog + QStringLiteral("horiz%1Level").arg(line), kMarkerLevelDefault[line - 1]);
    return std::clamp(level, kMarkerLevelMin, kMarkerLevelMax);
}
void SettingsStore::setMarkerLineLevel(int line, int level)
{
    if (validLine(line))
        writeInt(kDialog + QStringLiteral("horiz%1Level").arg(line),
                 std::clamp(level, kMarkerLevelMin, kMarkerLevelMax));
}
quint32 SettingsStore::markerLineColor(int line) const
{
    if (!validLine(line))
        return 0;
    const int stored = readInt(kDialog + QStringLiteral("horiz%1Color").arg(line),
                               static_cast<int>(kMarkerColorDefault[line - 1]));
    return static_cast<quint32>(stored) & 0x00FFFFFFu;
}
void SettingsStore::setMarkerLineColor(int line, quint32 bgr)
{
    if (validLine(line))
        writeInt(kDialog + QStringLiteral("horiz%1Color").arg(line), static_cast<int>(bgr & 0x00FFFFFFu));
}
bool SettingsStore::allowUnusualSerialNames() const
{
    return readBool(kDialog + QStringLiteral("Allow unusual SERIALCOMM device names"), false);
}
void SettingsStore::setAllowUnusualSerialNames(bool allow)
{
    writeBool(kDialog + QStringLiteral("Allow unusual SERIALCOMM device names"), allow);
}

// --- start entry --------------------------------------------------------------------------------

QString SettingsStore::startEntryCommand() const
{
#ifdef Q_OS_WIN
    if (m_native) {
        const QSettings run(
            QStringLiteral("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"),
            QSettings::NativeFormat);
        return run.value(kStartEntryName).toString();
    }
#endif
    QFile file(m_autostartDir + u'/' + kAutostartFile);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(QLatin1String("Exec="))) {
            const QString program = programFromDesktopExec(line.mid(5));
            return program.isEmpty() ? QString() : u'"' + program + QStringLiteral("\" ") + kTrayArgument;
        }
    }
    return {};
}

bool SettingsStore::setStartEntry(const QString& programPath)
{
#ifdef Q_OS_WIN
    if (m_native) {
        QSettings run(QStringLiteral("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"),
                      QSettings::NativeFormat);
        if (programPath.isEmpty())
            run.remove(kStartEntryName);
        else
            run.setValue(kStartEntryName, u'"' + QDir::toNativeSeparators(programPath) +
                                              QStringLiteral("\" ") + kTrayArgument);
        run.sync();
        return run.status() == QSettings::NoError;
    }
#endif
    const QString path = m_autostartDir + u'/' + kAutostartFile;
    if (programPath.isEmpty())
        return !QFile::exists(path) || QFile::remove(path);
    if (!QDir().mkpath(m_autostartDir))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    const QString entry = QStringLiteral("[Desktop Entry]\n"
                                         "Type=Application\n"
                                         "Name=Sonvex\n"
                                         "Exec=%1\n"
                                         "Terminal=false\n"
                                         "X-GNOME-Autostart-enabled=true\n")
                              .arg(desktopExecValue(programPath));
    file.write(entry.toUtf8());
    return file.commit();
}

// --- measurement table settings -----------------------------------------------------------------

QMap<QString, int> SettingsStore::columnOrder(Table table, const QMap<QString, int>& builtIn) const
{
    const QString group = table == Table::Measurements ? kColumnOrder : kColumnOrderSlm;
    QMap<QString, int> positions = builtIn;
    for (auto it = positions.begin(); it != positions.end(); ++it)
        it.value() = readInt(group + it.key(), it.value());
    return positions;
}

void SettingsStore::setColumnOrder(Table table, const QMap<QString, int>& positions)
{
    const QString group = table == Table::Measurements ? kColumnOrder : kColumnOrderSlm;
    for (auto it = positions.cbegin(); it != positions.cend(); ++it)
        writeInt(group + it.key(), it.value());
}

int SettingsStore::userCritLevel(int channel) const
{
    return readInt(kMain + QStringLiteral("UserCritLevel") + channelSuffix(channel), 84);
}
void SettingsStore::setUserCritLevel(int channel, int level)
{
    writeInt(kMain + QStringLiteral("UserCritLevel") + channelSuffix(channel), level);
}
QString SettingsStore::userCritLevelList(int channel) const
{
    return readString(kMain + QStringLiteral("UserCritLevelList") + channelSuffix(channel),
                      kCritLevelListDefault);
}
void SettingsStore::setUserCritLevelList(int channel, const QString& list)
{
    writeString(kMain + QStringLiteral("UserCritLevelList") + channelSuffix(channel), list);
}
bool SettingsStore::useUserCritLevel(int channel) const
{
    return readBool(kMain + QStringLiteral("UseUserCritLevel") + channelSuffix(channel), false);
}
void SettingsStore::setUseUserCritLevel(int channel, bool on)
{
    writeBool(kMain + QStringLiteral("UseUserCritLevel") + channelSuffix(channel), on);
}

// --- validation options -------------------------------------------------------------------------

bool SettingsStore::bingDone() const
{
    return readBool(kValidation + QStringLiteral("bing"), true);
}
void SettingsStore::setBingDone(bool done)
{
    writeBool(kValidation + QStringLiteral("bing"), done);
}
bool SettingsStore::battFlat() const
{
    return readBool(kValidation + QStringLiteral("batt flat"), true);
}
void SettingsStore::setBattFlat(bool flat)
{
    writeBool(kValidation + QStringLiteral("batt flat"), flat);
}
int SettingsStore::leqMax() const
{
    return std::clamp(readInt(kValidation + QStringLiteral("max"), 100), 0, 140);
}
void SettingsStore::setLeqMax(int level)
{
    writeInt(kValidation + QStringLiteral("max"), std::clamp(level, 0, 140));
}
int SettingsStore::leqMin() const
{
    return std::clamp(readInt(kValidation + QStringLiteral("min"), 75), 0, 140);
}
void SettingsStore::setLeqMin(int level)
{
    writeInt(kValidation + QStringLiteral("min"), std::clamp(level, 0, 140));
}
int SettingsStore::leqMaxTolerance() const
{
    return readInt(kValidation + QStringLiteral("maxTol"), 10);
}
void SettingsStore::setLeqMaxTolerance(int tolerance)
{
    writeInt(kValidation + QStringLiteral("maxTol"), tolerance);
}
int SettingsStore::leqMinTolerance() const
{
    return readInt(kValidation + QStringLiteral("minTol"), 10);
}
void SettingsStore::setLeqMinTolerance(int tolerance)
{
    writeInt(kValidation + QStringLiteral("minTol"), tolerance);
}

} // namespace sonvex
