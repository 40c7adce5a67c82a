#include "app/SonvexMain.h"

#include "app/ActionSet.h"
#include "app/AppIdentifiers.h"
#include "app/DataFilesPort.h"
#include "app/DialogFilters.h"
#include "app/FolderSetup.h"
#include "app/HelpBrowser.h"
#include "app/Localizer.h"
#include "app/RecentFiles.h"
#include "app/ShapeButton.h"
#include "app/WizardFrame.h"
#include "data/DataSet.h"
#include "data/DataSetModel.h"
#include "data/SettingsStore.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStackedWidget>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTableView>
#include <QToolBar>

namespace sonvex {

namespace {

QString memoToStored(const QString& text)
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(u'\n', QStringLiteral("\r\n"));
    return t;
}

QString storedToMemo(const QString& text)
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return t;
}

} // namespace

TformSonvex3Main::TformSonvex3Main(const MainWindowOptions& options, QWidget* parent)
    : QMainWindow(parent), m_options(options), m_actions(new ActionSet(this))
{
    Q_ASSERT(m_options.store);
    if (!m_options.showMessage) {
        m_options.showMessage = [this](QMessageBox::Icon icon, const QString& text) {
            QMessageBox box(icon, QString::fromLatin1(kApplicationTitle), text, QMessageBox::Ok, this);
            box.exec();
        };
    }
    buildUi();
    bindActions();
    FormCreate();
}

TformSonvex3Main::~TformSonvex3Main() = default;

// --- creation -----------------------------------------------------------------------------------

void TformSonvex3Main::FormCreate()
{
    // 1. Export format and data kind.
    MRExportIndex = 0;
    dataKind = 0;
    // 2. The sound level meter component joins with the instrument components; it never detects.
    // 3. Controls that stay hidden in this program.
    m_configureRM50A->hide();
    m_configureKV320B->hide();
    m_configureBevel->hide();
    (*m_actions)["ActionViewValidate"]->setVisible(false);
    (*m_actions)["ActionViewValidationOptions"]->setVisible(false);
    // 4. Help: the program's own help browser over the help folder.
    helpFile = QDir(m_options.programDataFolder).filePath(QStringLiteral("help"));
    m_help->setHelpFolder(helpFile);
    // 5. The window's string lists.
    headerNames.clear();
    dataFileLines.clear();
    // 6. Settings and the program's path.
    commsDisabled = false;
    LoadSettings();
    RegisterExecutablePath();
    // 7. Connection and download state.
    connectionState = 0;
    loadedCount = -1;
    // 8. First pages.
    m_pageControlViewData->setCurrentIndex(0);
    m_before->showPage(0);
    m_after->showPage(0);
    // 9. The setup boxes show their first items; the quick setups join with the setup part.
    for (QComboBox* box : m_setupBoxes)
        box->setCurrentIndex(0);
    // 10. The first step buttons are drawn pressed by the wizards themselves.
    // 11. The export format box is filled by the report part; the stored choice is kept meanwhile.
    if (MRExportIndex >= 0 && MRExportIndex < m_exportFormats->count())
        m_exportFormats->setCurrentIndex(MRExportIndex);
    // 12. Dialog filters.
    openFilter = SonvexStrings::openFilter();
    saveSelectedFilter = SonvexStrings::saveFilter();
    // 13.
    ApplyBrandLabels();
    ShowNoData();
    UpdateTitle();
    setTrayHint(QString::fromLatin1(kApplicationTitle));
}

void TformSonvex3Main::bindActions()
{
    ActionSet& a = *m_actions;
    connect(m_actions, &ActionSet::notAvailableTriggered, this,
            [this] { reportMessage(QMessageBox::Information, SonvexStrings::notAvailableYet()); });

    // Parts of the program that are not there yet.
    for (const char* name : {"ActionFileSaveSelected",
                             "ActionFileSaveAll",
                             "ActionFileSettings",
                             "ActionFilePrinterSetup",
                             "ActionEditDeleteSelected",
                             "ActionViewValidationOptions",
                             "ActionViewReportItems",
                             "ActionViewZoomIn",
                             "ActionViewZoomOut",
                             "ActionViewResetCursors",
                             "ActionViewValidationFirstSoak",
                             "ActionViewValidationSecondSoak",
                             "ActionDataDownload",
                             "ActionDataSetClock",
                             "ActionDataClearMemory",
                             "ActionDataSendSetup",
                             "ActionDataSendOptions",
                             "ActionToolsConnectionInformation",
                             "ActionReportsPreview",
                             "ActionReportsPrint",
                             "ActionReportsTavish",
                             "ActionReportsExport",
                             "ActionExportExcelTable",
                             "ActionExportExcelTimeHistory",
                             "ActionExportChartJpeg",
                             "ActionExportChartLeq",
                             "ActionDataDatabase",
                             "ActionExportXml",
                             "ActionExportHegNew",
                             "ActionExportHegOpen",
                             "ActionExportData",
                             "ActionHelpChargerAdvice",
                             "ActionHelpUpdates",
                             "ActionHelpAbout"})
        m_actions->markNotAvailable(a[name]);
    // Opening files waits for the data-files controller (setDataFiles).
    m_actions->markNotAvailable(a["ActionFileOpen"]);
    for (int i = 1; i <= RecentFiles::kCount; ++i)
        m_actions->markNotAvailable(m_actions->reopenAction(i));

    connect(a["ActionFileShutDown"], &QAction::triggered, this, &TformSonvex3Main::ShutDown);
    connect(a["ActionFileExit"], &QAction::triggered, this, &QWidget::close);
    connect(a["ActionFileShowWindow"], &QAction::triggered, this, &TformSonvex3Main::ShowMainWindow);
    connect(a["ActionFileOpen"], &QAction::triggered, this, &TformSonvex3Main::openDataFileDialog);
    for (int i = 1; i <= RecentFiles::kCount; ++i) {
        QAction* reopen = m_actions->reopenAction(i);
        connect(reopen, &QAction::triggered, this, [this, reopen] {
            if (m_dataFiles && !ActionSet::isNotAvailable(reopen) && !reopen->text().isEmpty()) {
                m_openRequested = true;
                m_dataFiles->openDataFile(reopen->text(), m_lastFilterIndex);
            }
        });
    }

    connect(a["ActionViewSimpleMode"], &QAction::triggered, this, [this] { setAdvancedMode(false); });
    connect(a["ActionViewAdvancedMode"], &QAction::triggered, this, [this] { setAdvancedMode(true); });
    connect(a["ActionViewValidate"], &QAction::toggled, this, [this](bool on) {
        const bool internal = (*m_actions)["ActionViewNoUnderrange"]->isVisible();
        (*m_actions)["ActionViewValidationFirstSoak"]->setVisible(internal && on);
        (*m_actions)["ActionViewValidationSecondSoak"]->setVisible(internal && on);
    });
    // Until the measurement view window joins, the data is viewed on its page.
    connect(a["ActionViewMeasurementData"], &QAction::triggered, this,
            [this] { showMainPage(MainPage::ViewData); });

    const auto page = [this](QAction* action, MainPage main, int step) {
        connect(action, &QAction::triggered, this, [this, main, step] {
            showMainPage(main);
            if (main == MainPage::Before)
                ShowBeforeWizardPage(0, step);
            else
                ShowAfterWizardPage(0, step);
        });
    };
    page(a["ActionDataDownloadPage"], MainPage::After, 2);
    page(a["ActionDataClockPage"], MainPage::Before, 2);
    page(a["ActionDataReaderMemoryPage"], MainPage::Before, 3);
    page(a["ActionDataConfigureReaderPage"], MainPage::Before, 4);
    page(a["ActionDataConfigureDisplayPage"], MainPage::Before, 5);
    page(a["ActionReportsCreateReportPage"], MainPage::After, 3);
    page(a["ActionReportsCustomize"], MainPage::After, 4);
    page(a["ActionExportSendDataPage"], MainPage::After, 6);

    connect(a["ActionHelpContents"], &QAction::triggered, this, [this] {
        HelpRequested(int(HelpTopics::Command::Context), QString::number(HelpTopics::kContentsContext));
    });
    connect(a["ActionHelpContext"], &QAction::triggered, this, [this] {
        HelpRequested(int(HelpTopics::Command::Keyword), QString::fromLatin1(HelpTopics::kContextKeyword));
    });
    connect(a["ActionHelpTerminology"], &QAction::triggered, this, [this] {
        HelpRequested(int(HelpTopics::Command::Keyword), QString::fromLatin1(HelpTopics::kTerminology));
    });
    addAction(a["ActionHelpTerminology"]);
    // F1: the keyword of the control in focus, else the one of what is on screen.
    auto* f1 = new QShortcut(QKeySequence::HelpContents, this);
    connect(f1, &QShortcut::activated, this, [this] {
        QString keyword = QString::fromLatin1(HelpTopics::kContextKeyword);
        for (QWidget* w = QApplication::focusWidget(); w && w != this; w = w->parentWidget()) {
            const QString own = w->property("helpKeyword").toString();
            if (!own.isEmpty()) {
                keyword = own;
                break;
            }
        }
        HelpRequested(int(HelpTopics::Command::Keyword), keyword);
    });
    setProperty("helpKeyword", QString::fromLatin1(HelpTopics::kContextKeyword));
    m_pageControlMain->widget(int(MainPage::GettingStarted))
        ->setProperty("helpKeyword", QString::fromLatin1(HelpTopics::kQuickStart));
    m_before->page(2)->setProperty("helpKeyword", QStringLiteral("SetTheClock"));

    connect(m_pageControlMain, &QTabWidget::currentChanged, this, &TformSonvex3Main::onMainPageChanged);
    connect(m_before, &WizardFrame::stepShown, this, [this](int step) {
        if (step == 3)
            m_before->page(3)->findChild<QLabel*>(QStringLiteral("LabelMemoryCleared"))->hide();
        CenterWizardPanels();
    });
    connect(m_after, &WizardFrame::stepShown, this, [this](int step) {
        if (step == 4)
            updateLogoColour();
        CenterWizardPanels();
    });
}

// --- settings -----------------------------------------------------------------------------------

void TformSonvex3Main::LoadSettings()
{
    SettingsStore& s = *m_options.store;
    ActionSet& a = *m_actions;

    // Window position and size, each where stored. A position on no screen (a monitor that was
    // removed) is not applied, so the window never opens out of reach.
    const std::optional<int> x = s.windowX(), y = s.windowY(), w = s.windowWidth(), h = s.windowHeight();
    if (w || h)
        resize(std::max(w.value_or(width()), minimumWidth()),
               std::max(h.value_or(height()), minimumHeight()));
    if (x || y) {
        const QPoint p(x.value_or(pos().x()), y.value_or(pos().y()));
        bool onScreen = false;
        for (const QScreen* screen : QGuiApplication::screens())
            onScreen = onScreen || screen->availableGeometry().intersects(QRect(p, QSize(100, 40)));
        if (onScreen)
            move(p);
    }
    if (m_options.arguments.value(1) != QLatin1String(kTrayArgument))
        show();

    dataFolder = s.dataFolder();
    EnsureFolders();
    if (!s.shellAssocMade()) {
        // First run: the file association joins with the shell integration; the samples are
        // copied now, never over existing files.
        FolderSetup::copySamples(m_options.programDataFolder, documentsFolder, dataFolder);
    }
    setAdvancedMode(s.advancedMode());

    switch (s.reportType()) {
    case SettingsStore::ReportType::Simple:
        a["ActionReportTypeSimple"]->setChecked(true);
        break;
    case SettingsStore::ReportType::Compact:
        a["ActionReportTypeCompact"]->setChecked(true);
        break;
    case SettingsStore::ReportType::Comprehensive:
        a["ActionReportTypeComprehensive"]->setChecked(true);
        break;
    }
    (s.reportSelected() ? a["ActionReportsUseSelected"] : a["ActionReportsUseAll"])->setChecked(true);
    a["ActionViewNoUnderrange"]->setChecked(s.noUnderrange());
    a["ActionViewValidate"]->setChecked(s.validate());
    m_reportTitle->setText(s.reportTitle());
    m_reportLocation->setText(s.reportLocation());
    m_reportMadeBy->setText(s.reportMadeBy());
    m_reportNotes->setPlainText(storedToMemo(s.reportNotes()));
    m_reportRecommendations->setPlainText(storedToMemo(s.reportRecommendations()));
    updateClearReportItems();

    applyInternalMode(s.internalMode());
    saveFolder = s.saveFolder();
    m_reportLogo->setText(s.reportLogo());
    MRExportIndex = s.exportIndex();
    const QStringList recent = RecentFiles::normalised(s.recentFiles());
    for (int i = 1; i <= RecentFiles::kCount; ++i) {
        m_actions->reopenAction(i)->setText(recent.at(i - 1));
        m_actions->reopenAction(i)->setVisible(!recent.at(i - 1).isEmpty());
    }
    CheckCompanionDatabase();

    // The exposure-group calculator stays out of the menu in every case.
    m_actions->menu(QStringLiteral("MenuHeg"))->menuAction()->setVisible(false);

    // Unreadable values took their defaults; the user learns which.
    const QStringList problems = s.readProblems();
    if (!problems.isEmpty())
        reportMessage(QMessageBox::Warning, problems.join(u'\n'));
}

void TformSonvex3Main::applyInternalMode(std::optional<bool> internal)
{
    ActionSet& a = *m_actions;
    const bool on = internal.value_or(false);
    a["ActionViewNoUnderrange"]->setVisible(on);
    a["ActionViewValidate"]->setVisible(on);
    a["ActionViewValidationOptions"]->setVisible(on);
    m_beforeReaderDetails->setVisible(on);
    m_afterReaderDetails->setVisible(on);
    if (!on) {
        a["ActionViewNoUnderrange"]->setChecked(false);
        a["ActionViewValidate"]->setChecked(false);
    }
    const bool soak = on && a["ActionViewValidate"]->isChecked();
    a["ActionViewValidationFirstSoak"]->setVisible(soak);
    a["ActionViewValidationSecondSoak"]->setVisible(soak);
}

void TformSonvex3Main::SaveSettings()
{
    SettingsStore& s = *m_options.store;
    ActionSet& a = *m_actions;

    // The normal (restored) rectangle: frame position, client size.
    QRect normal(pos(), size());
    if (isMaximized() || isFullScreen() || isMinimized()) {
        const QPoint frameOffset = geometry().topLeft() - frameGeometry().topLeft();
        normal = QRect(normalGeometry().topLeft() - frameOffset, normalGeometry().size());
    }
    s.setWindowGeometry(normal.x(), normal.y(), normal.width(), normal.height());
    s.setWindowVisible(isVisible());
    s.setDataFolder(dataFolder);
    s.setShellAssocMade(true);
    s.setAdvancedMode(advancedMode());
    if (a["ActionReportTypeSimple"]->isChecked())
        s.setReportType(SettingsStore::ReportType::Simple);
    else if (a["ActionReportTypeCompact"]->isChecked())
        s.setReportType(SettingsStore::ReportType::Compact);
    else
        s.setReportType(SettingsStore::ReportType::Comprehensive);
    s.setReportSelected(a["ActionReportsUseSelected"]->isChecked());
    s.setNoUnderrange(a["ActionViewNoUnderrange"]->isChecked());
    s.setValidate(a["ActionViewValidate"]->isChecked());
    s.setReportTitle(m_reportTitle->text());
    s.setReportLocation(m_reportLocation->text());
    s.setReportMadeBy(m_reportMadeBy->text());
    s.setReportNotes(memoToStored(m_reportNotes->toPlainText()));
    s.setReportRecommendations(memoToStored(m_reportRecommendations->toPlainText()));
    s.setInternalMode(a["ActionViewNoUnderrange"]->isVisible());
    s.setSaveFolder(saveFolder);
    s.setReportLogo(m_reportLogo->text());
    s.setExportIndex(MRExportIndex);
    s.setRecentFiles(recentFiles());
    if (!s.sync())
        qWarning("%s", qPrintable(s.errorText()));
}

void TformSonvex3Main::RegisterExecutablePath()
{
    m_options.store->setExecutablePath(QDir::toNativeSeparators(m_options.programFile));
}

void TformSonvex3Main::EnsureFolders()
{
    const FolderSetup::Result r = FolderSetup::ensureFolders(
        documentsFolder, dataFolder, m_options.myDocuments, m_options.programDataFolder);
    documentsFolder = r.documentsFolder;
    dataFolder = r.dataFolder;
    for (const QString& error : r.errors)
        reportMessage(QMessageBox::Warning, error);
}

QString TformSonvex3Main::initialDialogFolder() const
{
    return saveFolder.isEmpty() ? dataFolder : saveFolder;
}

void TformSonvex3Main::CheckCompanionDatabase()
{
    databaseExecutable = m_options.store->companionDatabaseExecutable();
    QAction* db = (*m_actions)["ActionDataDatabase"];
    const bool installed = !databaseExecutable.isEmpty();
    db->setData(installed ? 1 : 0);
    if (!ActionSet::isNotAvailable(db))
        db->setStatusTip(installed ? QString() : tr("noxTag Database Software is not installed"));
    m_labelToDatabase->setEnabled(installed);
    m_labelToDatabase->setToolTip(QString());
}

// --- texts --------------------------------------------------------------------------------------

void TformSonvex3Main::ApplyBrandLabels()
{
    // 1. The status texts in the language now in use.
    statusTexts = StatusTexts::load();
    // 2. The first connect page's advice.
    QString advice = m_beforeConnectAdvice->text();
    advice.replace(QStringLiteral("[40]"), tr("Model 4"));
    advice.replace(QStringLiteral("[50]"), tr("Model 6"));
    advice.remove(tr("RS232 cable for KV:300 series SLMs"));
    m_beforeConnectAdvice->setText(advice);
    // 3. The note of step 5.
    QString note = m_step5Note->text();
    note.replace(QStringLiteral("[RM:50A and RM:52A]"), tr("Model 6 Series"));
    m_step5Note->setText(note);
    // 4. The settings window rewrites its own two labels on this signal.
    emit brandLabelsApplied();
    // 5. The sixth menu.
    const QList<QAction*> menus = menuBar()->actions();
    if (menus.size() > 5 && menus.at(5)->text() == QCoreApplication::translate("ActionSet", "&Export"))
        menus.at(5)->setText(tr("Send Data"));
    // 6. and 7.
    m_step4Note->setText(note);
    m_step4Note->setVisible(true);
    m_afterConnectAdvice->setText(advice);
}

void TformSonvex3Main::SelectSystemLanguage()
{
    if (m_options.localizer)
        m_options.localizer->selectSystemLanguage(QLocale::system().name());
    ApplyBrandLabels();
}

void TformSonvex3Main::SelectLocalizedHelpFile()
{
    const QString standard = QDir(m_options.programDataFolder).filePath(QStringLiteral("help"));
    QString folder = standard;
    if (m_options.localizer) {
        const QString localized = standard + u'_' + m_options.localizer->fileSuffix();
        if (QFileInfo(localized).isDir())
            folder = localized;
    }
    helpFile = folder;
    m_help->setHelpFolder(helpFile);
}

void TformSonvex3Main::UpdateTitle()
{
    setWindowTitle(titleFor(connectionState, statusTexts, windowTitle()));
}

void TformSonvex3Main::setStatusText(const QString& text)
{
    m_statusLabel->setText(text);
}

void TformSonvex3Main::setTrayHint(const QString& hint)
{
    m_trayHint = hint;
    if (m_tray)
        m_tray->setToolTip(hint);
}

void TformSonvex3Main::reportMessage(QMessageBox::Icon icon, const QString& text)
{
    m_options.showMessage(icon, text);
}

// --- pages and modes ----------------------------------------------------------------------------

TformSonvex3Main::MainPage TformSonvex3Main::currentPage() const
{
    return MainPage(m_pageControlMain->currentIndex());
}

void TformSonvex3Main::showMainPage(MainPage page)
{
    m_pageControlMain->setCurrentIndex(int(page));
}

QWidget* TformSonvex3Main::clientPanel(MainPage page) const
{
    static const char* const names[] = {"PanelIntroClient", "PanelConfigClient", "PanelAfterClient",
                                        "PanelNoDataClient"};
    return findChild<QWidget*>(QString::fromLatin1(names[int(page)]));
}

QWidget* TformSonvex3Main::middlePanel(MainPage page) const
{
    static const char* const names[] = {"PanelIntroMiddle", "PanelConfigMiddle", "PanelAfterMiddle",
                                        "PanelNoData"};
    return findChild<QWidget*>(QString::fromLatin1(names[int(page)]));
}

QWidget* TformSonvex3Main::noDataPanel() const
{
    return m_noDataPanel;
}

bool TformSonvex3Main::advancedMode() const
{
    return (*m_actions)["ActionViewAdvancedMode"]->isChecked();
}

void TformSonvex3Main::setAdvancedMode(bool advanced)
{
    (*m_actions)[advanced ? "ActionViewAdvancedMode" : "ActionViewSimpleMode"]->setChecked(true);
    if (!advanced) {
        showMainPage(MainPage::GettingStarted);
        m_pageControlMain->setTabVisible(int(MainPage::ViewData), false);
        m_toolBar->hide();
        m_pageControlMain->setTabVisible(int(MainPage::GettingStarted), true);
    } else {
        m_pageControlMain->setTabVisible(int(MainPage::ViewData), true);
        if (currentPage() == MainPage::GettingStarted)
            showMainPage(MainPage::ViewData);
        m_pageControlMain->setTabVisible(int(MainPage::GettingStarted), false);
        m_toolBar->show();
    }
    FitGettingStartedHeight();
}

void TformSonvex3Main::FitGettingStartedHeight()
{
    // The pages share one area; the page shown now has the current size of it.
    if (QWidget* area = m_pageControlMain->currentWidget()) {
        const int shortBy = middlePanel(MainPage::GettingStarted)->height() - area->height();
        if (area->height() > 0 && shortBy > 0)
            resize(width(), height() + shortBy);
    }
}

void TformSonvex3Main::CenterWizardPanels()
{
    for (MainPage page : {MainPage::GettingStarted, MainPage::Before, MainPage::After, MainPage::ViewData}) {
        QWidget* client = clientPanel(page);
        QWidget* middle = middlePanel(page);
        if (!client || !middle)
            continue;
        // Never pushed above or left of the page's edge, so its top stays reachable.
        middle->move(std::max(0, client->width() / 2 - middle->width() / 2),
                     std::max(0, client->height() / 2 - middle->height() / 2));
    }
}

void TformSonvex3Main::ShowBeforeWizardPage(int direction, int target)
{
    m_before->showPage(direction, target);
}

void TformSonvex3Main::ShowAfterWizardPage(int direction, int target)
{
    m_after->showPage(direction, target);
}

void TformSonvex3Main::onMainPageChanged()
{
    CenterWizardPanels();
    updateViewDataCommand();
}

void TformSonvex3Main::updateViewDataCommand()
{
    const bool loaded = m_pageControlViewData->currentIndex() == 1;
    (*m_actions)["ActionViewMeasurementData"]->setEnabled(loaded && currentPage() != MainPage::ViewData);
}

// --- help ---------------------------------------------------------------------------------------

bool TformSonvex3Main::HelpRequested(int command, const QString& data)
{
    const QString topic =
        HelpTopics::contextTopic(currentPage(), m_before->currentStep(), m_after->currentStep(),
                                 m_pageControlViewData->currentIndex() == 1);
    const HelpTopics::Answer answer = HelpTopics::answer(command, data, topic);
    if (answer.handled && !answer.keyword.isEmpty())
        helpForKeyword(answer.keyword);
    return answer.handled;
}

void TformSonvex3Main::helpForKeyword(const QString& keyword)
{
    m_help->showKeyword(keyword);
}

// --- other programs, tray, close ----------------------------------------------------------------

void TformSonvex3Main::HandleUserMessage(int wParam)
{
    switch (wParam) {
    case 0:
        ShowMainWindow();
        break;
    case 1:
    case 2:
        commsDisabled = wParam == 1;
        emit commsDisabledChanged(commsDisabled);
        break;
    default:
        break;
    }
}

bool TformSonvex3Main::HandleCommand(const QString& command)
{
    if (command == QLatin1String(kCommandShow))
        HandleUserMessage(0);
    else if (command == QLatin1String(kCommandCommsDisable))
        HandleUserMessage(1);
    else if (command == QLatin1String(kCommandCommsEnable))
        HandleUserMessage(2);
    else
        return false;
    return true;
}

void TformSonvex3Main::ShowMainWindow()
{
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

void TformSonvex3Main::hideToTray()
{
    // Without a notification area a hidden window could only come back through a second start;
    // the window is minimised instead, so it stays reachable from the task bar.
    if (m_options.trayAvailable)
        hide();
    else
        showMinimized();
}

void TformSonvex3Main::ShutDown()
{
    shuttingDown = true;
    close();
}

void TformSonvex3Main::closeEvent(QCloseEvent* event)
{
    if (!shuttingDown) {
        event->ignore();
        hideToTray();
        return;
    }
    // Instrument discovery stops here once the instrument components join.
    event->accept();
    FormClose();
}

void TformSonvex3Main::FormClose()
{
    if (m_closed)
        return;
    m_closed = true;
    SaveSettings();
    try {
        if (m_dataFiles)
            m_dataFiles->saveOnShutDown();
    } catch (...) {
        // The program always finishes shutting down.
    }
    m_help->close();
    if (m_tray)
        m_tray->hide();
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

void TformSonvex3Main::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    UpdateTitle();
    CenterWizardPanels();
    FitGettingStartedHeight();
}

void TformSonvex3Main::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        retranslateUi();
        ApplyBrandLabels();
        CheckCompanionDatabase();
        UpdateTitle();
        // The settings window does this after its language change; until it joins, the window does.
        SelectLocalizedHelpFile();
    }
    QMainWindow::changeEvent(event);
}

bool TformSonvex3Main::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize || event->type() == QEvent::Show)
        CenterWizardPanels();
    return QMainWindow::eventFilter(watched, event);
}

// --- recent files and data ----------------------------------------------------------------------

QStringList TformSonvex3Main::recentFiles() const
{
    QStringList list;
    for (int i = 1; i <= RecentFiles::kCount; ++i)
        list << m_actions->reopenAction(i)->text();
    return list;
}

void TformSonvex3Main::AddRecentFile(const QString& fileName)
{
    const QStringList list = RecentFiles::add(recentFiles(), fileName);
    for (int i = 1; i <= RecentFiles::kCount; ++i) {
        m_actions->reopenAction(i)->setText(list.at(i - 1));
        m_actions->reopenAction(i)->setVisible(!list.at(i - 1).isEmpty());
    }
}

void TformSonvex3Main::setDataFiles(DataFilesPort* port)
{
    if (m_dataFiles)
        disconnect(m_dataFiles, nullptr, this, nullptr);
    m_dataFiles = port;
    const auto available = [this](QAction* action) {
        if (m_dataFiles)
            m_actions->markAvailable(action);
        else
            m_actions->markNotAvailable(action);
    };
    available((*m_actions)["ActionFileOpen"]);
    for (int i = 1; i <= RecentFiles::kCount; ++i)
        available(m_actions->reopenAction(i));
    if (!port)
        return;
    connect(port, &DataFilesPort::dataLoaded, this, &TformSonvex3Main::DataLoaded);
    connect(port, &DataFilesPort::noData, this, &TformSonvex3Main::ShowNoData);
    connect(port, &DataFilesPort::statusMessage, this, &TformSonvex3Main::setStatusText);
    connect(port, &DataFilesPort::recentFileAdded, this, &TformSonvex3Main::AddRecentFile);
}

void TformSonvex3Main::openDataFileDialog()
{
    if (!m_dataFiles)
        return;
    const QStringList filters = DialogFilters::fromPipeText(openFilter);
    QFileDialog dialog(this, tr("Open Data File"), initialDialogFolder());
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(filters);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    m_lastFilterIndex = std::max(1, DialogFilters::indexOf(filters, dialog.selectedNameFilter()));
    m_openRequested = true;
    m_dataFiles->openDataFile(dialog.selectedFiles().constFirst(), m_lastFilterIndex);
}

void TformSonvex3Main::DataLoaded(int kind)
{
    dataKind = kind;
    DataSet* table = m_dataFiles ? m_dataFiles->table(kind) : nullptr;
    if (!table) {
        ShowNoData();
        return;
    }
    delete m_dataModel;
    m_dataModel = new DataSetModel(table, this);
    m_dataTable->setModel(m_dataModel);
    for (int c = 0; c < m_dataModel->columnCount(); ++c) {
        const QString name =
            m_dataModel->headerData(c, Qt::Horizontal, DataSetModel::FieldNameRole).toString();
        const FieldDef* def = table->findField(name);
        m_dataTable->setColumnHidden(c, def && !def->visible);
    }
    m_dataTable->resizeColumnsToContents();
    m_pageControlViewData->setCurrentIndex(1);
    loadedCount = table->recordCount();
    m_numberOfMeasurements->setText(loadedCount == 1
                                        ? tr("One measurement has been received.")
                                        : tr("%1 measurements have been received.").arg(loadedCount));
    m_downloadCompleteTick->show();
    // A file the user opened is shown at once; other loads leave the page as it is.
    if (m_openRequested)
        showMainPage(MainPage::ViewData);
    m_openRequested = false;
    updateViewDataCommand();
}

void TformSonvex3Main::ShowNoData()
{
    m_pageControlViewData->setCurrentIndex(0);
    m_dataTable->setModel(nullptr);
    delete m_dataModel;
    m_dataModel = nullptr;
    currentDataFile.clear();
    updateViewDataCommand();
}

// --- report items -------------------------------------------------------------------------------

void TformSonvex3Main::updateClearReportItems()
{
    bool any = false;
    for (const QString& t : {m_reportTitle->text(), m_reportLocation->text(), m_reportMadeBy->text(),
                             m_reportNotes->toPlainText(), m_reportRecommendations->toPlainText()})
        any = any || !t.trimmed().isEmpty();
    m_clearReportItems->setEnabled(any);
}

void TformSonvex3Main::updateLogoColour()
{
    QPalette pal = m_reportLogo->palette();
    const bool exists = !m_reportLogo->text().isEmpty() && QFileInfo(m_reportLogo->text()).isFile();
    pal.setColor(QPalette::Text, exists ? palette().color(QPalette::Text)
                                        : palette().color(QPalette::Disabled, QPalette::Text));
    m_reportLogo->setPalette(pal);
}

void TformSonvex3Main::browseLogo()
{
    const QString start = m_reportLogo->text().isEmpty() ? initialDialogFolder() : m_reportLogo->text();
    const QString file = QFileDialog::getOpenFileName(this, tr("Choose Image File for Reports"), start,
                                                      tr("Pictures (*.bmp *.jpg *.jpeg *.png)"));
    if (!file.isEmpty())
        m_reportLogo->setText(QDir::toNativeSeparators(file));
    updateLogoColour();
}

} // namespace sonvex
