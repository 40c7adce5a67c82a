#pragma once

#include "app/HelpTopics.h"
#include "app/SonvexStringConstants.h"

#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QStackedWidget;
class QSystemTrayIcon;
class QTabWidget;
class QTableView;
class QMenu;
class QToolBar;

namespace sonvex {

class ActionSet;
class DataFilesPort;
class DataSetModel;
class HelpBrowser;
class Localizer;
class RoundedPanel;
class SettingsStore;
class Tdm;
class WizardFrame;

// What the main window is created with. Tests give temporary folders and their own message sink.
struct MainWindowOptions
{
    SettingsStore* store = nullptr; // required, not owned
    QStringList arguments;          // the program's arguments, program name first
    QString programFolder;          // folder of the executable ("executable" value)
    QString programFile;            // full path of the executable
    QString programDataFolder;      // samples, help pages
    QString myDocuments;            // the user's documents folder
    bool trayAvailable = true;      // the desktop has a notification area
    Localizer* localizer = nullptr; // optional, not owned
    // Shows a message box; replaced in tests.
    std::function<void(QMessageBox::Icon, const QString&)> showMessage;
};

// The main window: four pages, two wizards, the menus, toolbar and tray menu of one action set,
// the settings of the main key, the per-user folders, help, and the window's show / hide / close
// behaviour. The work of the commands lives in the controllers bound to it.
class TformSonvex3Main : public QMainWindow
{
    Q_OBJECT
public:
    using MainPage = HelpTopics::MainPage;

    explicit TformSonvex3Main(const MainWindowOptions& options, QWidget* parent = nullptr);
    ~TformSonvex3Main() override;

    // --- State other parts read and write -------------------------------------------------
    QString documentsFolder;
    QString dataFolder;
    QString helpFile; // the help folder in use
    bool shuttingDown = false;
    bool commsDisabled = false;
    int dataKind = 0;
    int loadedCount = -1;
    int connectionState = 0;
    int MRExportIndex = 0;
    QString saveFolder;
    QString currentDataFile;
    QStringList headerNames; // name!value entries of the last header line
    QStringList dataFileLines;
    StatusTexts statusTexts;
    QString openFilter;
    QString saveSelectedFilter;
    QString databaseExecutable;

    ActionSet* actions() const { return m_actions; }

    // --- Operations -----------------------------------------------------------------------
    void LoadSettings();
    void SaveSettings();
    void RegisterExecutablePath();
    void EnsureFolders();
    QString MyDocumentsPath() const { return m_options.myDocuments; }
    void ApplyBrandLabels();
    void SelectSystemLanguage();
    void SelectLocalizedHelpFile();
    void UpdateTitle();
    void CheckCompanionDatabase();
    void FitGettingStartedHeight();
    void CenterWizardPanels();
    void ShowBeforeWizardPage(int direction, int target = 0);
    void ShowAfterWizardPage(int direction, int target = 0);
    // The application's help hook; true when the command was handled.
    bool HelpRequested(int command, const QString& data);
    // Messages from other programs and a second start: 0 show, 1 disable, 2 enable.
    void HandleUserMessage(int wParam);
    // A command received over the instance socket; false when it is unknown.
    bool HandleCommand(const QString& command);
    // "Sh&ut down Sonvex" and the end of the desktop session.
    void ShutDown();
    void ShowMainWindow();
    // The end of the program: settings and data saved once (also when the session ends).
    void FormClose();
    void setAdvancedMode(bool advanced);
    bool advancedMode() const;
    void AddRecentFile(const QString& fileName);
    QStringList recentFiles() const;
    void setTrayHint(const QString& hint);
    QString trayHint() const { return m_trayHint; }
    void setStatusText(const QString& text);
    // The folder file dialogs start in: "saveFolder" when set, else the data folder.
    QString initialDialogFolder() const;

    // --- Parts bound later -----------------------------------------------------------------
    void setDataFiles(DataFilesPort* port);
    void setDataModule(Tdm* dm) { m_dm = dm; }
    Tdm* dataModule() const { return m_dm; }
    void DataLoaded(int kind);
    void ShowNoData();

    // --- Widgets, for the parts that fill them and for tests -------------------------------
    QTabWidget* pageControlMain() const { return m_pageControlMain; }
    WizardFrame* beforeWizard() const { return m_before; }
    WizardFrame* afterWizard() const { return m_after; }
    QStackedWidget* pageControlViewData() const { return m_pageControlViewData; }
    QWidget* middlePanel(MainPage page) const;
    QWidget* clientPanel(MainPage page) const;
    QWidget* noDataPanel() const;
    // Null where the desktop has no notification area.
    QSystemTrayIcon* trayIcon() const { return m_tray; }
    QMenu* trayMenu() const { return m_trayMenu; }
    HelpBrowser* helpBrowser() const { return m_help; }
    QToolBar* toolBar() const { return m_toolBar; }
    QTableView* dataTable() const { return m_dataTable; }
    QLabel* statusLabel() const { return m_statusLabel; }
    bool trayAvailable() const { return m_options.trayAvailable; }
    MainPage currentPage() const;
    void showMainPage(MainPage page);

signals:
    void commsDisabledChanged(bool disabled);
    void brandLabelsApplied();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Construction of the visible parts (SonvexMainPages.cpp).
    void buildUi();
    QWidget* buildGettingStarted();
    QWidget* buildWizardPage(WizardFrame* wizard, const char* panelName);
    QWidget* buildViewData();
    void buildBeforeSteps();
    void buildAfterSteps();
    void buildTray();
    void retranslateUi();

    // The steps of the creation handler, in their order.
    void FormCreate();
    void bindActions();
    void applyInternalMode(std::optional<bool> internal);
    void reportMessage(QMessageBox::Icon icon, const QString& text);
    void helpForKeyword(const QString& keyword);
    void updateViewDataCommand();
    void updateClearReportItems();
    void updateLogoColour();
    void browseLogo();
    void openDataFileDialog();
    void onMainPageChanged();
    void hideToTray();

    MainWindowOptions m_options;
    ActionSet* m_actions = nullptr;
    QPointer<DataFilesPort> m_dataFiles;
    Tdm* m_dm = nullptr;
    HelpBrowser* m_help = nullptr;
    QSystemTrayIcon* m_tray = nullptr;
    QMenu* m_trayMenu = nullptr;
    QString m_trayHint;
    bool m_closed = false;
    bool m_openRequested = false;
    int m_lastFilterIndex = 1;

    QTabWidget* m_pageControlMain = nullptr;
    WizardFrame* m_before = nullptr;
    WizardFrame* m_after = nullptr;
    QStackedWidget* m_pageControlViewData = nullptr;
    QWidget* m_noDataPanel = nullptr;
    QTableView* m_dataTable = nullptr;
    DataSetModel* m_dataModel = nullptr;
    QToolBar* m_toolBar = nullptr;
    QProgressBar* m_progress = nullptr;
    QLabel* m_statusLabel = nullptr;

    // Texts of the pages, kept to retranslate them.
    QList<std::pair<QWidget*, const char*>> m_texts;
    template <typename W> W* text(W* widget, const char* source);
    template <typename W> W* tip(W* widget, const char* source);
    QList<std::pair<QWidget*, const char*>> m_tips;
    QList<std::pair<QComboBox*, QList<const char*>>> m_comboTexts;

    // Widgets the other parts fill and the shell's own rules touch.
    QLabel* m_beforeConnectAdvice = nullptr;
    QLabel* m_afterConnectAdvice = nullptr;
    QLabel* m_beforeReaderDetails = nullptr;
    QLabel* m_afterReaderDetails = nullptr;
    QLabel* m_step4Note = nullptr;
    QLabel* m_step5Note = nullptr;
    QWidget* m_configureRM50A = nullptr;
    QWidget* m_configureKV320B = nullptr;
    QWidget* m_configureBevel = nullptr;
    QList<QComboBox*> m_setupBoxes;
    QCheckBox* m_useCustomReport = nullptr;
    QLineEdit* m_reportTitle = nullptr;
    QLineEdit* m_reportLocation = nullptr;
    QLineEdit* m_reportMadeBy = nullptr;
    QPlainTextEdit* m_reportNotes = nullptr;
    QPlainTextEdit* m_reportRecommendations = nullptr;
    QLineEdit* m_reportLogo = nullptr;
    QPushButton* m_clearReportItems = nullptr;
    QComboBox* m_exportFormats = nullptr;
    QLabel* m_labelToDatabase = nullptr;
    QWidget* m_downloadCompleteTick = nullptr;
    QLabel* m_numberOfMeasurements = nullptr;
};

} // namespace sonvex
