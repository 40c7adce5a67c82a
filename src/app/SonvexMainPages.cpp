// The visible parts of the main window: pages, wizard steps, bars and tray.

#include "app/SonvexMain.h"

#include "app/ActionSet.h"
#include "app/AppIdentifiers.h"
#include "app/HelpBrowser.h"
#include "app/ShapeButton.h"
#include "app/WizardFrame.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

namespace sonvex {

namespace {

constexpr QSize kMiddlePanelSize(690, 468);
constexpr QSize kNoDataPanelSize(460, 220);
const QColor kClientColour(0xee, 0xf2, 0xf7);
const QColor kTitleColour(0x2b, 0x63, 0xa8);

QWidget* clientPanelFor(QWidget* page, const char* name)
{
    auto* client = new QWidget(page);
    client->setObjectName(QString::fromLatin1(name));
    client->setAutoFillBackground(true);
    QPalette pal = client->palette();
    pal.setColor(QPalette::Window, kClientColour);
    client->setPalette(pal);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(client);
    return client;
}

// A push button that shows an action: caption, hint, icon, enabled and visible state follow it.
QPushButton* actionButton(QAction* action, QWidget* parent)
{
    auto* b = new QPushButton(parent);
    b->setObjectName(QStringLiteral("Button") + action->objectName());
    b->setIconSize(QSize(20, 20));
    b->setMinimumHeight(32);
    b->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    const auto sync = [b, action] {
        b->setText(action->text());
        b->setIcon(action->icon());
        b->setToolTip(action->toolTip());
        b->setStatusTip(action->statusTip());
        b->setEnabled(action->isEnabled());
        b->setVisible(action->isVisible());
    };
    sync();
    QObject::connect(action, &QAction::changed, b, sync);
    QObject::connect(b, &QPushButton::clicked, action, &QAction::trigger);
    return b;
}

// A radio button bound to a checkable action of an exclusive group.
QRadioButton* actionRadio(QAction* action, QWidget* parent)
{
    auto* r = new QRadioButton(parent);
    r->setObjectName(QStringLiteral("Radio") + action->objectName());
    const auto sync = [r, action] {
        r->setText(QString(action->text()).remove(u'&'));
        r->setEnabled(action->isEnabled());
        r->setVisible(action->isVisible());
        r->setToolTip(action->toolTip());
    };
    sync();
    r->setChecked(action->isChecked());
    QObject::connect(action, &QAction::changed, r, sync);
    QObject::connect(action, &QAction::toggled, r, [r](bool on) {
        if (on)
            r->setChecked(true);
    });
    QObject::connect(r, &QRadioButton::toggled, action, [action](bool on) {
        if (on && !action->isChecked())
            action->trigger();
    });
    return r;
}

QLabel* titleLabel(QWidget* parent, const QString& name)
{
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    QFont f = l->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() + 2);
    l->setFont(f);
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, kTitleColour);
    l->setPalette(pal);
    return l;
}

QLabel* plainLabel(QWidget* parent, const QString& name, bool wrap = true)
{
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setTextFormat(Qt::PlainText);
    l->setWordWrap(wrap);
    return l;
}

QWidget* tickPanel(QWidget* parent, const QString& name, QLabel** label)
{
    auto* panel = new QWidget(parent);
    panel->setObjectName(name);
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(0, 0, 0, 0);
    auto* tick = new QLabel(panel);
    tick->setPixmap(QIcon(QStringLiteral(":/icons/tick.svg")).pixmap(28, 28));
    row->addWidget(tick);
    *label = plainLabel(panel, name + QStringLiteral("Label"));
    row->addWidget(*label, 1);
    return panel;
}

} // namespace

template <typename W> W* TformSonvex3Main::text(W* widget, const char* source)
{
    m_texts.append({widget, source});
    return widget;
}

template <typename W> W* TformSonvex3Main::tip(W* widget, const char* source)
{
    m_tips.append({widget, source});
    return widget;
}

void TformSonvex3Main::buildUi()
{
    setObjectName(QString::fromLatin1(kMainWindowClass));
    QFont f(QStringList{QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans")}, 10);
    setFont(f);
    setWindowIcon(QIcon(QStringLiteral(":/icons/sonvex.svg")));

    m_actions->buildMenuBar(menuBar());
    m_toolBar = addToolBar(QString());
    m_toolBar->setObjectName(QStringLiteral("ActionToolBar"));
    m_toolBar->setMovable(false);
    m_toolBar->setIconSize(QSize(24, 24));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_actions->buildToolBar(m_toolBar);

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("PanelMain"));
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(4, 4, 4, 0);
    column->setSpacing(2);
    m_pageControlMain = new QTabWidget(central);
    m_pageControlMain->setObjectName(QStringLiteral("PageControlMain"));
    m_pageControlMain->setDocumentMode(true);
    column->addWidget(m_pageControlMain, 1);

    m_before = new WizardFrame(QStringLiteral("Before"),
                               {QStringLiteral("TSBeforeConnect"), QStringLiteral("TSBeforeSetClock"),
                                QStringLiteral("TSBeforeClearMemory"), QStringLiteral("TSBeforeConfigure"),
                                QStringLiteral("TSBeforeDisplay")});
    m_after =
        new WizardFrame(QStringLiteral("After"),
                        {QStringLiteral("TSAfterConnect"), QStringLiteral("TSAfterDownload"),
                         QStringLiteral("TSAfterCreateReport"), QStringLiteral("TSAfterCustomizeReport"),
                         QStringLiteral("TSAfterPrint"), QStringLiteral("TSAfterExport")});
    m_pageControlMain->addTab(buildGettingStarted(), QString());
    m_pageControlMain->addTab(buildWizardPage(m_before, "PanelConfigMiddle"), QString());
    m_pageControlMain->addTab(buildWizardPage(m_after, "PanelAfterMiddle"), QString());
    m_pageControlMain->addTab(buildViewData(), QString());
    m_pageControlMain->widget(0)->setObjectName(QStringLiteral("TSIntro"));
    m_pageControlMain->widget(1)->setObjectName(QStringLiteral("TSConfig"));
    m_pageControlMain->widget(2)->setObjectName(QStringLiteral("TSAfter"));
    m_pageControlMain->widget(3)->setObjectName(QStringLiteral("TSData"));
    buildBeforeSteps();
    buildAfterSteps();

    auto* progressPanel = new QWidget(central);
    progressPanel->setObjectName(QStringLiteral("PanelProgress"));
    auto* progressRow = new QHBoxLayout(progressPanel);
    progressRow->setContentsMargins(4, 0, 4, 2);
    m_progress = new QProgressBar(progressPanel);
    m_progress->setObjectName(QStringLiteral("ProgressBarDownload"));
    progressRow->addWidget(m_progress);
    progressPanel->hide(); // shown while a download runs
    column->addWidget(progressPanel);
    setCentralWidget(central);

    m_statusLabel = new QLabel(statusBar());
    m_statusLabel->setObjectName(QStringLiteral("StatusBarText"));
    m_statusLabel->setTextFormat(Qt::PlainText);
    statusBar()->addWidget(m_statusLabel, 1);
    statusBar()->setSizeGripEnabled(true);

    // Minimum client area 720 x 602 below the menu bar.
    setMinimumSize(720, 602 + menuBar()->sizeHint().height());
    resize(minimumSize());

    m_help = new HelpBrowser(this);
    m_help->setWindowIcon(windowIcon());
    buildTray();
    retranslateUi();
}

QWidget* TformSonvex3Main::buildGettingStarted()
{
    auto* page = new QWidget;
    QWidget* client = clientPanelFor(page, "PanelIntroClient");
    client->installEventFilter(this);
    auto* panel = new RoundedPanel(client);
    panel->setObjectName(QStringLiteral("PanelIntroMiddle"));
    panel->setFixedSize(kMiddlePanelSize);

    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(28, 22, 28, 22);
    layout->setSpacing(10);

    auto* header = new QHBoxLayout;
    auto* logo = new QLabel(panel);
    logo->setPixmap(QIcon(QStringLiteral(":/icons/sonvex.svg")).pixmap(56, 56));
    header->addWidget(logo);
    auto* headerText = new QVBoxLayout;
    auto* name = titleLabel(panel, QStringLiteral("LabelIntroProgram"));
    QFont big = name->font();
    big.setPointSizeF(big.pointSizeF() + 4);
    name->setFont(big);
    name->setText(QString::fromLatin1(kApplicationTitle));
    headerText->addWidget(name);
    headerText->addWidget(text(plainLabel(panel, QStringLiteral("LabelIntroClick")),
                               QT_TR_NOOP("Click one of these buttons to start a Sonvex wizard:")));
    header->addLayout(headerText, 1);
    layout->addLayout(header);

    const auto section = [&](const char* objectName, const char* heading,
                             std::initializer_list<const char*> lines, const char* buttonName,
                             const char* icon) {
        auto* box = new QFrame(panel);
        box->setObjectName(QString::fromLatin1(objectName));
        box->setFrameShape(QFrame::StyledPanel);
        auto* row = new QHBoxLayout(box);
        row->setContentsMargins(14, 10, 14, 10);
        auto* pic = new QLabel(box);
        pic->setPixmap(QIcon(QStringLiteral(":/icons/%1.svg").arg(QString::fromLatin1(icon))).pixmap(48, 48));
        pic->setAlignment(Qt::AlignTop);
        row->addWidget(pic);
        auto* textColumn = new QVBoxLayout;
        textColumn->setSpacing(3);
        textColumn->addWidget(
            text(titleLabel(box, QString::fromLatin1(objectName) + QStringLiteral("Heading")), heading));
        auto* items = new QGridLayout;
        items->setHorizontalSpacing(8);
        items->setVerticalSpacing(2);
        int n = 0;
        for (const char* line : lines) {
            // A line that starts with blanks continues the item above it.
            if (line[0] != ' ')
                items->addWidget(new QLabel(QStringLiteral("\u2022"), box), n, 0, Qt::AlignTop);
            auto* l =
                plainLabel(box, QString::fromLatin1(objectName) + QStringLiteral("Item%1").arg(n + 1), false);
            items->addWidget(text(l, line), n, 1);
            ++n;
        }
        items->setColumnStretch(1, 1);
        textColumn->addLayout(items);
        row->addLayout(textColumn, 1);
        auto* start = new QPushButton(box);
        start->setObjectName(QString::fromLatin1(buttonName));
        start->setMinimumSize(110, 34);
        text(start, QT_TR_NOOP("Start..."));
        row->addWidget(start, 0, Qt::AlignBottom);
        layout->addWidget(box);
        return start;
    };
    const auto beforeLines = {QT_TR_NOOP("Set the instrument's clock"), QT_TR_NOOP("Clear its memory"),
                              QT_TR_NOOP("Configure the measurement setup"),
                              QT_TR_NOOP("Configure the Reader display")};
    const auto afterLines = {QT_TR_NOOP("Download measurements from the instrument to the PC,"),
                             QT_TR_NOOP("    or load measurements from file"),
                             QT_TR_NOOP("Create and print a report"),
                             QT_TR_NOOP("Export data to a spreadsheet"),
                             QT_TR_NOOP("Transfer noxTag measurements to the Database")};
    QPushButton* startBefore = section("PanelIntroBefore", QT_TR_NOOP("Before making measurements:"),
                                       beforeLines, "BitBtnStartBeforeWizard", "before");
    QPushButton* startAfter = section("PanelIntroAfter", QT_TR_NOOP("After making measurements:"), afterLines,
                                      "BitBtnStartAfterWizard", "after");
    layout->addStretch(1);
    auto* footer = plainLabel(panel, QStringLiteral("LabelIntroHelp"));
    footer->setAlignment(Qt::AlignCenter);
    QPalette muted = footer->palette();
    muted.setColor(QPalette::WindowText, muted.color(QPalette::Disabled, QPalette::WindowText));
    footer->setPalette(muted);
    layout->addWidget(text(footer, QT_TR_NOOP("Press F1 on any page for help on what it shows.")));
    connect(startBefore, &QPushButton::clicked, this, [this] {
        showMainPage(MainPage::Before);
        ShowBeforeWizardPage(0, 1);
    });
    connect(startAfter, &QPushButton::clicked, this, [this] {
        showMainPage(MainPage::After);
        ShowAfterWizardPage(0, 1);
    });
    return page;
}

QWidget* TformSonvex3Main::buildWizardPage(WizardFrame* wizard, const char* panelName)
{
    auto* page = new QWidget;
    QWidget* client = clientPanelFor(page, wizard == m_before ? "PanelConfigClient" : "PanelAfterClient");
    client->installEventFilter(this);
    auto* panel = new RoundedPanel(client);
    panel->setObjectName(QString::fromLatin1(panelName));
    panel->setFixedSize(kMiddlePanelSize);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    wizard->setParent(panel);
    layout->addWidget(wizard);
    connect(wizard, &WizardFrame::gettingStartedRequested, this,
            [this] { showMainPage(MainPage::GettingStarted); });
    return page;
}

QWidget* TformSonvex3Main::buildViewData()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    m_pageControlViewData = new QStackedWidget(page);
    m_pageControlViewData->setObjectName(QStringLiteral("PageControlViewData"));
    layout->addWidget(m_pageControlViewData);

    auto* noData = new QWidget;
    noData->setObjectName(QStringLiteral("TSNoData"));
    QWidget* client = clientPanelFor(noData, "PanelNoDataClient");
    client->installEventFilter(this);
    auto* panel = new RoundedPanel(client);
    panel->setObjectName(QStringLiteral("PanelNoData"));
    panel->setFixedSize(kNoDataPanelSize);
    m_noDataPanel = panel;
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(28, 24, 28, 24);
    auto* label = titleLabel(panel, QStringLiteral("LabelNoData"));
    label->setAlignment(Qt::AlignCenter);
    column->addWidget(text(label, QT_TR_NOOP("No data to view.")));
    column->addStretch(1);
    column->addWidget(actionButton((*m_actions)["ActionFileOpen"], panel));
    column->addWidget(actionButton((*m_actions)["ActionDataDownloadPage"], panel));
    m_pageControlViewData->addWidget(noData);

    auto* gotData = new QWidget;
    gotData->setObjectName(QStringLiteral("TSGotData"));
    auto* gotLayout = new QVBoxLayout(gotData);
    gotLayout->setContentsMargins(0, 0, 0, 0);
    // Until the measurement view joins, the records are shown as a plain table.
    m_dataTable = new QTableView(gotData);
    m_dataTable->setObjectName(QStringLiteral("TableMeasurements"));
    m_dataTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_dataTable->setAlternatingRowColors(true);
    m_dataTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_dataTable->verticalHeader()->setDefaultSectionSize(m_dataTable->fontMetrics().height() + 8);
    gotLayout->addWidget(m_dataTable);
    m_pageControlViewData->addWidget(gotData);
    return page;
}

void TformSonvex3Main::buildBeforeSteps()
{
    ActionSet& a = *m_actions;
    const auto stepLayout = [this](WizardFrame* w, int step, const char* title) {
        QWidget* page = w->page(step);
        auto* layout = new QVBoxLayout(page);
        layout->setContentsMargins(6, 4, 6, 4);
        layout->setSpacing(8);
        layout->addWidget(
            text(titleLabel(page, QStringLiteral("Label%1Title").arg(page->objectName())), title));
        return layout;
    };

    // Step 1: connect.
    {
        QVBoxLayout* l = stepLayout(m_before, 1, QT_TR_NOOP("Step 1: Connect to the Reader or SLM."));
        QWidget* page = m_before->page(1);
        m_beforeConnectAdvice = plainLabel(page, QStringLiteral("LabelBeforeConnectAdvice"));
        l->addWidget(m_beforeConnectAdvice);
        auto* noComms = plainLabel(page, QStringLiteral("LabelBeforeNoConnections"));
        text(noComms, QT_TR_NOOP("Instrument connections are not available in this version of Sonvex yet."));
        l->addWidget(noComms);
        QLabel* connected = nullptr;
        QWidget* tick = tickPanel(page, QStringLiteral("PanelBeforeConnectTick"), &connected);
        connected->setObjectName(QStringLiteral("LabelBeforeReaderConnected"));
        text(connected, QT_TR_NOOP("Reader is connected."));
        tick->hide();
        l->addWidget(tick);
        m_beforeReaderDetails = plainLabel(page, QStringLiteral("LabelBeforeReaderDetails"));
        m_beforeReaderDetails->hide();
        l->addWidget(m_beforeReaderDetails);
        l->addStretch(1);
        auto* row = new QHBoxLayout;
        row->addWidget(actionButton(a["ActionToolsConnectionInformation"], page));
        row->addStretch(1);
        l->addLayout(row);
    }
    // Step 2: clock.
    {
        QVBoxLayout* l = stepLayout(m_before, 2, QT_TR_NOOP("Step 2: Set the Instrument's Clock."));
        QWidget* page = m_before->page(2);
        l->addWidget(
            text(plainLabel(page, QStringLiteral("LabelClockIntro")),
                 QT_TR_NOOP("The instrument stamps every measurement with the date and time of its own "
                            "clock. Set the clock before each campaign so that the measurements line up "
                            "with the work shifts.")));
        auto* grid = new QGridLayout;
        grid->addWidget(text(new QLabel(page), QT_TR_NOOP("Instrument clock:")), 0, 0);
        auto* reader = plainLabel(page, QStringLiteral("LabelReaderClock"), false);
        reader->setText(QStringLiteral("---"));
        grid->addWidget(reader, 0, 1);
        grid->addWidget(text(new QLabel(page), QT_TR_NOOP("Computer clock:")), 1, 0);
        auto* computer = plainLabel(page, QStringLiteral("LabelComputerClock"), false);
        computer->setText(QStringLiteral("---"));
        grid->addWidget(computer, 1, 1);
        grid->setColumnStretch(1, 1);
        l->addLayout(grid);
        for (QWidget* w : {static_cast<QWidget*>(reader), static_cast<QWidget*>(computer)})
            w->hide(); // shown while an instrument is connected
        auto* match = text(plainLabel(page, QStringLiteral("PanelClocksMatch")),
                           QT_TR_NOOP("Instrument clock is set."));
        auto* noMatch = text(plainLabel(page, QStringLiteral("PanelClocksDontMatch")),
                             QT_TR_NOOP("The Instrument clock does not match the computer."));
        match->hide();
        noMatch->hide();
        l->addWidget(match);
        l->addWidget(noMatch);
        l->addStretch(1);
        auto* row = new QHBoxLayout;
        row->addWidget(actionButton(a["ActionDataSetClock"], page));
        row->addStretch(1);
        l->addLayout(row);
    }
    // Step 3: memory.
    {
        QVBoxLayout* l = stepLayout(m_before, 3, QT_TR_NOOP("Step 3: Clear the Instrument's Memory."));
        QWidget* page = m_before->page(3);
        l->addWidget(
            text(plainLabel(page, QStringLiteral("LabelClearIntro")),
                 QT_TR_NOOP("Clearing the memory removes every measurement stored in the Reader and its "
                            "noxTags. Download and save the measurements first.")));
        auto* cleared = text(plainLabel(page, QStringLiteral("LabelMemoryCleared")),
                             QT_TR_NOOP("Memory has been Cleared."));
        cleared->hide();
        l->addWidget(cleared);
        l->addStretch(1);
        auto* row = new QHBoxLayout;
        row->addWidget(actionButton(a["ActionDataClearMemory"], page));
        row->addStretch(1);
        l->addLayout(row);
    }
    // Step 4: measurement setup.
    {
        QVBoxLayout* l =
            stepLayout(m_before, 4, QT_TR_NOOP("Step 4: Configure the Instrument Measurement Setup"));
        QWidget* page = m_before->page(4);
        m_step4Note = plainLabel(page, QStringLiteral("LabelConfigureNote"));
        m_step4Note->hide();
        l->addWidget(m_step4Note);
        auto* chooser = new QHBoxLayout;
        m_configureRM50A = new ShapeButton(1, page);
        m_configureRM50A->setObjectName(QStringLiteral("LMDShapeButtonConfigureRM50A"));
        m_configureKV320B = new ShapeButton(2, page);
        m_configureKV320B->setObjectName(QStringLiteral("LMDShapeButtonConfigureKV320B"));
        auto* bevel = new QFrame(page);
        bevel->setObjectName(QStringLiteral("BevelConfigure"));
        bevel->setFrameShape(QFrame::VLine);
        m_configureBevel = bevel;
        chooser->addWidget(m_configureRM50A);
        chooser->addWidget(m_configureKV320B);
        chooser->addWidget(bevel);
        chooser->addStretch(1);
        l->addLayout(chooser);

        auto* panel = new QWidget(page);
        panel->setObjectName(QStringLiteral("PanelConfigureRM50A"));
        auto* grid = new QGridLayout(panel);
        grid->setContentsMargins(0, 0, 0, 0);
        grid->addWidget(text(new QLabel(panel), QT_TR_NOOP("Quick Setups:")), 0, 0);
        auto* setups = new QComboBox(panel);
        setups->setObjectName(QStringLiteral("ComboBoxSetups"));
        setups->setEnabled(false);
        grid->addWidget(setups, 0, 1);
        auto* buttons = new QHBoxLayout;
        for (const auto& [objectName, caption] : {std::pair{"ButtonNewSetup", QT_TR_NOOP("New...")},
                                                  std::pair{"ButtonEditSetup", QT_TR_NOOP("Edit...")},
                                                  std::pair{"ButtonDeleteSetup", QT_TR_NOOP("Delete")}}) {
            auto* b = new QPushButton(panel);
            b->setObjectName(QString::fromLatin1(objectName));
            b->setEnabled(false);
            text(b, caption);
            buttons->addWidget(b);
        }
        grid->addLayout(buttons, 0, 2);
        struct Box
        {
            const char* name;
            const char* label;
            QList<const char*> items;
        };
        const Box boxes[] = {
            {"ComboBoxConfigureCritTime",
             QT_TR_NOOP("Criterion Time"),
             {QT_TR_NOOP("8 hours"), QT_TR_NOOP("12 hours"), QT_TR_NOOP("16 hours"), QT_TR_NOOP("18 hours")}},
            {"ComboBoxConfigureCrit",
             QT_TR_NOOP("Criterion Level"),
             {"80 dB", "85 dB", "87 dB", "90 dB", "95 dB"}},
            {"ComboBoxConfigureThresh",
             QT_TR_NOOP("Threshold"),
             {QT_TR_NOOP("None"), "80 dB", "85 dB", "90 dB"}},
            {"ComboBoxConfigureTimeWeight",
             QT_TR_NOOP("Time Weighting"),
             {QT_TR_NOOP("None"), QT_TR_NOOP("Slow")}},
            {"ComboBoxConfigureER", QT_TR_NOOP("Exchange Rate (Q=)"), {"3dB", "4dB", "5dB"}},
        };
        int row = 1;
        for (const Box& b : boxes) {
            grid->addWidget(text(new QLabel(panel), b.label), row, 0);
            auto* combo = new QComboBox(panel);
            combo->setObjectName(QString::fromLatin1(b.name));
            for (int i = 0; i < b.items.size(); ++i)
                combo->addItem(QString());
            m_comboTexts.append({combo, b.items});
            grid->addWidget(combo, row, 1);
            m_setupBoxes << combo;
            ++row;
        }
        grid->setColumnStretch(3, 1);
        l->addWidget(panel);
        auto* kv = new QWidget(page);
        kv->setObjectName(QStringLiteral("PanelConfigureKV320B"));
        kv->hide();
        l->addWidget(kv);
        l->addStretch(1);
        auto* bottom = new QHBoxLayout;
        bottom->addWidget(actionButton(a["ActionDataSendSetup"], page));
        bottom->addStretch(1);
        l->addLayout(bottom);
    }
    // Step 5: display options.
    {
        QVBoxLayout* l =
            stepLayout(m_before, 5, QT_TR_NOOP("Step 5: Configure the Instrument Display Options"));
        QWidget* page = m_before->page(5);
        m_step5Note = plainLabel(page, QStringLiteral("LabelDisplayNote"));
        l->addWidget(m_step5Note);
        auto* row = new QHBoxLayout;
        auto* items = text(new QGroupBox(page), QT_TR_NOOP("Display Items"));
        items->setObjectName(QStringLiteral("GroupBoxDisplayItems"));
        auto* itemsGrid = new QGridLayout(items);
        int i = 0;
        for (const auto& [objectName, caption] :
             {std::pair{"CBDose", QT_TR_NOOP("Dose")}, std::pair{"CBEstDose", QT_TR_NOOP("Est.Dose")},
              std::pair{"CBExp", QT_TR_NOOP("Exposure")}, std::pair{"CBEstExp", QT_TR_NOOP("Est.Exposure")},
              std::pair{"CBLAE", QT_TR_NOOP("LAE")}, std::pair{"CBCal", QT_TR_NOOP("Calibrations")}}) {
            auto* cb = new QCheckBox(items);
            cb->setObjectName(QString::fromLatin1(objectName));
            cb->setChecked(true);
            text(cb, caption);
            itemsGrid->addWidget(cb, i % 3, i / 3);
            ++i;
        }
        row->addWidget(items, 1);
        auto* formats = new QVBoxLayout;
        const auto radioGroup = [&](const char* name, const char* title, const char* first,
                                    const char* firstName, const char* second, const char* secondName) {
            auto* g = text(new QGroupBox(page), title);
            g->setObjectName(QString::fromLatin1(name));
            auto* v = new QVBoxLayout(g);
            auto* r1 = text(new QRadioButton(g), first);
            r1->setObjectName(QString::fromLatin1(firstName));
            auto* r2 = text(new QRadioButton(g), second);
            r2->setObjectName(QString::fromLatin1(secondName));
            r1->setChecked(true);
            v->addWidget(r1);
            v->addWidget(r2);
            formats->addWidget(g);
        };
        radioGroup("GroupBoxDateFormat", QT_TR_NOOP("Date Format"), QT_TR_NOOP("day month year"), "RBDMY",
                   QT_TR_NOOP("month day year"), "RBMDY");
        radioGroup("GroupBoxDateSeparator", QT_TR_NOOP("Date Separator"), "/", "RBslash", "-", "RBDash");
        row->addLayout(formats, 1);
        l->addLayout(row);
        l->addStretch(1);
        auto* bottom = new QHBoxLayout;
        bottom->addWidget(actionButton(a["ActionDataSendOptions"], page));
        bottom->addStretch(1);
        l->addLayout(bottom);
    }
}

void TformSonvex3Main::buildAfterSteps()
{
    ActionSet& a = *m_actions;
    const auto stepLayout = [this](int step, const char* title) {
        QWidget* page = m_after->page(step);
        auto* layout = new QVBoxLayout(page);
        layout->setContentsMargins(6, 4, 6, 4);
        layout->setSpacing(8);
        layout->addWidget(
            text(titleLabel(page, QStringLiteral("Label%1Title").arg(page->objectName())), title));
        return layout;
    };
    const auto buttonRow = [](QVBoxLayout* l, QWidget* page, std::initializer_list<QAction*> actions) {
        auto* row = new QHBoxLayout;
        for (QAction* action : actions)
            row->addWidget(actionButton(action, page));
        row->addStretch(1);
        l->addLayout(row);
    };

    // Step 1: connect (or skip to load from disk).
    {
        QVBoxLayout* l = stepLayout(1, QT_TR_NOOP("Step 1: Connect to the Reader or SLM."));
        QWidget* page = m_after->page(1);
        m_afterConnectAdvice = plainLabel(page, QStringLiteral("LabelAfterConnectAdvice"));
        l->addWidget(m_afterConnectAdvice);
        l->addWidget(
            text(plainLabel(page, QStringLiteral("LabelAfterSkip")),
                 QT_TR_NOOP("(If you wish to load measurements from disk, skip this step by clicking the "
                            "'Next' button below)")));
        l->addWidget(
            text(plainLabel(page, QStringLiteral("LabelAfterNoConnections")),
                 QT_TR_NOOP("Instrument connections are not available in this version of Sonvex yet.")));
        QLabel* connected = nullptr;
        QWidget* tick = tickPanel(page, QStringLiteral("PanelAfterConnectTick"), &connected);
        connected->setObjectName(QStringLiteral("LabelAfterReaderConnected"));
        text(connected, QT_TR_NOOP("Reader is connected."));
        tick->hide();
        l->addWidget(tick);
        m_afterReaderDetails = plainLabel(page, QStringLiteral("LabelAfterReaderDetails"));
        m_afterReaderDetails->hide();
        l->addWidget(m_afterReaderDetails);
        l->addStretch(1);
        buttonRow(l, page, {a["ActionToolsConnectionInformation"]});
    }
    // Step 2: download or open.
    {
        QVBoxLayout* l =
            stepLayout(2, QT_TR_NOOP("Step 2: Load Measurements from the Instrument or from Disk."));
        QWidget* page = m_after->page(2);
        l->addWidget(
            text(plainLabel(page, QStringLiteral("LabelDownloadIntro")),
                 QT_TR_NOOP("Download the measurements stored in the connected Reader, or open a data "
                            "file saved earlier. Every download is saved automatically in the data "
                            "folder.")));
        buttonRow(l, page, {a["ActionDataDownload"], a["ActionFileOpen"]});
        m_downloadCompleteTick =
            tickPanel(page, QStringLiteral("PanelDownloadCompleteTick"), &m_numberOfMeasurements);
        m_numberOfMeasurements->setObjectName(QStringLiteral("LabelNumberOfMeasurements"));
        text(m_numberOfMeasurements, QT_TR_NOOP("Measurements have been loaded."));
        m_downloadCompleteTick->hide();
        l->addWidget(m_downloadCompleteTick);
        l->addStretch(1);
    }
    // Step 3: report style and measurements.
    {
        QVBoxLayout* l = stepLayout(3, QT_TR_NOOP("Step 3: Create a Report Based on this Measurement Data."));
        QWidget* page = m_after->page(3);
        l->addWidget(text(plainLabel(page, QStringLiteral("LabelReportIntro")),
                          QT_TR_NOOP("Choose the style of the report and which measurements it covers.")));
        auto* row = new QHBoxLayout;
        auto* style = text(new QGroupBox(page), QT_TR_NOOP("Report Style"));
        style->setObjectName(QStringLiteral("GroupBoxReportStyle"));
        auto* sv = new QVBoxLayout(style);
        for (const char* n :
             {"ActionReportTypeComprehensive", "ActionReportTypeCompact", "ActionReportTypeSimple"})
            sv->addWidget(actionRadio(a[n], style));
        row->addWidget(style, 1);
        auto* rows = text(new QGroupBox(page), QT_TR_NOOP("Measurements"));
        rows->setObjectName(QStringLiteral("GroupBoxReportRows"));
        auto* rv = new QVBoxLayout(rows);
        for (const char* n : {"ActionReportsUseAll", "ActionReportsUseSelected"})
            rv->addWidget(actionRadio(a[n], rows));
        row->addWidget(rows, 1);
        l->addLayout(row);
        l->addStretch(1);
        buttonRow(l, page, {a["ActionViewReportItems"]});
    }
    // Step 4: customise.
    {
        QVBoxLayout* l = stepLayout(4, QT_TR_NOOP("Step 4: Customise the Report"));
        QWidget* page = m_after->page(4);
        m_useCustomReport =
            text(new QCheckBox(page), QT_TR_NOOP("Include the following information in the report:"));
        m_useCustomReport->setObjectName(QStringLiteral("CheckBoxUseCustomReport"));
        m_useCustomReport->setChecked(true);
        l->addWidget(m_useCustomReport);
        auto* fieldsWidget = new QWidget(page);
        fieldsWidget->setObjectName(QStringLiteral("PanelReportItems"));
        auto* grid = new QGridLayout(fieldsWidget);
        grid->setContentsMargins(0, 0, 0, 0);
        grid->setVerticalSpacing(4);
        m_reportTitle = new QLineEdit(fieldsWidget);
        m_reportTitle->setObjectName(QStringLiteral("EditReportTitle"));
        m_reportLocation = new QLineEdit(fieldsWidget);
        m_reportLocation->setObjectName(QStringLiteral("EditReportLocation"));
        m_reportMadeBy = new QLineEdit(fieldsWidget);
        m_reportMadeBy->setObjectName(QStringLiteral("EditReportMadeBy"));
        m_reportNotes = new QPlainTextEdit(fieldsWidget);
        m_reportNotes->setObjectName(QStringLiteral("MemoReportNotes"));
        m_reportRecommendations = new QPlainTextEdit(fieldsWidget);
        m_reportRecommendations->setObjectName(QStringLiteral("MemoReportRecommendations"));
        for (QPlainTextEdit* memo : {m_reportNotes, m_reportRecommendations})
            memo->setFixedHeight(memo->fontMetrics().height() * 3 + 12);
        m_reportLogo = new QLineEdit(fieldsWidget);
        m_reportLogo->setObjectName(QStringLiteral("EditReportLogo"));
        grid->addWidget(text(new QLabel(fieldsWidget), QT_TR_NOOP("Report Title:")), 0, 0);
        grid->addWidget(m_reportTitle, 0, 1, 1, 2);
        grid->addWidget(text(new QLabel(fieldsWidget), QT_TR_NOOP("Location:")), 1, 0);
        grid->addWidget(m_reportLocation, 1, 1, 1, 2);
        grid->addWidget(text(new QLabel(fieldsWidget), QT_TR_NOOP("Made by:")), 2, 0);
        grid->addWidget(m_reportMadeBy, 2, 1, 1, 2);
        grid->addWidget(text(new QLabel(fieldsWidget), QT_TR_NOOP("Notes:")), 3, 0, Qt::AlignTop);
        grid->addWidget(m_reportNotes, 3, 1, 1, 2);
        auto* recLabel = text(plainLabel(fieldsWidget, QStringLiteral("LabelReportRecommendations")),
                              QT_TR_NOOP("Recommendations for Action:"));
        grid->addWidget(recLabel, 4, 0, Qt::AlignTop);
        grid->addWidget(m_reportRecommendations, 4, 1, 1, 2);
        grid->addWidget(text(new QLabel(fieldsWidget), QT_TR_NOOP("Company Logo:")), 5, 0);
        grid->addWidget(m_reportLogo, 5, 1);
        auto* browse = text(new QPushButton(fieldsWidget), QT_TR_NOOP("Browse..."));
        browse->setObjectName(QStringLiteral("BitBtnLogoBrowse"));
        grid->addWidget(browse, 5, 2);
        grid->setColumnStretch(1, 1);
        grid->setColumnMinimumWidth(0, 150);
        l->addWidget(fieldsWidget);
        m_clearReportItems = text(new QPushButton(page), QT_TR_NOOP("Clear All"));
        m_clearReportItems->setObjectName(QStringLiteral("BitBtnClearReportItems"));
        auto* row = new QHBoxLayout;
        row->addStretch(1);
        row->addWidget(m_clearReportItems);
        l->addLayout(row);
        l->addStretch(1);

        connect(m_useCustomReport, &QCheckBox::toggled, fieldsWidget, &QWidget::setEnabled);
        for (QLineEdit* e : {m_reportTitle, m_reportLocation, m_reportMadeBy})
            connect(e, &QLineEdit::textChanged, this, &TformSonvex3Main::updateClearReportItems);
        for (QPlainTextEdit* e : {m_reportNotes, m_reportRecommendations})
            connect(e, &QPlainTextEdit::textChanged, this, &TformSonvex3Main::updateClearReportItems);
        connect(m_reportLogo, &QLineEdit::textChanged, this, &TformSonvex3Main::updateLogoColour);
        connect(m_clearReportItems, &QPushButton::clicked, this, [this] {
            for (QLineEdit* e : {m_reportTitle, m_reportLocation, m_reportMadeBy, m_reportLogo})
                e->clear();
            m_reportNotes->clear();
            m_reportRecommendations->clear();
        });
        connect(browse, &QPushButton::clicked, this, &TformSonvex3Main::browseLogo);
    }
    // Step 5: print.
    {
        QVBoxLayout* l = stepLayout(5, QT_TR_NOOP("Step 5: Print the Report"));
        QWidget* page = m_after->page(5);
        l->addWidget(text(plainLabel(page, QStringLiteral("LabelPrintIntro")),
                          QT_TR_NOOP("See the report on screen first, or send it straight to a printer.")));
        buttonRow(l, page, {a["ActionReportsPreview"], a["ActionReportsPrint"], a["ActionFilePrinterSetup"]});
        l->addStretch(1);
    }
    // Step 6: export.
    {
        QVBoxLayout* l = stepLayout(6, QT_TR_NOOP("Step 6: Export the Report or Measurement Data"));
        QWidget* page = m_after->page(6);
        auto* reportBox = text(new QGroupBox(page), QT_TR_NOOP("Report"));
        reportBox->setObjectName(QStringLiteral("GroupBoxExportReport"));
        auto* rb = new QHBoxLayout(reportBox);
        m_exportFormats = new QComboBox(reportBox);
        m_exportFormats->setObjectName(QStringLiteral("ComboBoxExExport"));
        m_exportFormats->setMinimumWidth(260);
        rb->addWidget(m_exportFormats, 1);
        rb->addWidget(actionButton(a["ActionReportsExport"], reportBox));
        l->addWidget(reportBox);
        auto* dataBox = text(new QGroupBox(page), QT_TR_NOOP("Measurement Data"));
        dataBox->setObjectName(QStringLiteral("GroupBoxExportData"));
        auto* db = new QGridLayout(dataBox);
        db->addWidget(actionButton(a["ActionExportExcelTable"], dataBox), 0, 0);
        db->addWidget(actionButton(a["ActionExportExcelTimeHistory"], dataBox), 0, 1);
        db->addWidget(actionButton(a["ActionExportXml"], dataBox), 1, 0);
        l->addWidget(dataBox);
        m_labelToDatabase = text(plainLabel(page, QStringLiteral("LabelToDatabase")),
                                 QT_TR_NOOP("Click here to transfer the measurements to the noxTag Database "
                                            "application for further analysis:"));
        l->addWidget(m_labelToDatabase);
        buttonRow(l, page, {a["ActionDataDatabase"]});
        l->addStretch(1);
    }
}

void TformSonvex3Main::buildTray()
{
    m_trayMenu = new QMenu(this);
    m_actions->buildTrayMenu(m_trayMenu);
    connect(m_trayMenu, &QMenu::aboutToShow, this, &TformSonvex3Main::CheckCompanionDatabase);
    // Without a notification area there is no icon; the window then stays in the task bar.
    if (!m_options.trayAvailable)
        return;
    m_tray = new QSystemTrayIcon(windowIcon(), this);
    m_tray->setObjectName(QStringLiteral("TrayIcon"));
    m_tray->setContextMenu(m_trayMenu);
    connect(m_tray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::DoubleClick)
            ShowMainWindow();
    });
    m_tray->show();
}

void TformSonvex3Main::retranslateUi()
{
    m_actions->retranslate();
    m_pageControlMain->setTabText(0, tr("Getting Started"));
    m_pageControlMain->setTabText(1, tr("Before Making Measurements"));
    m_pageControlMain->setTabText(2, tr("After Making Measurements"));
    m_pageControlMain->setTabText(3, tr("   View Data   "));
    m_toolBar->setWindowTitle(tr("Toolbar"));

    for (const auto& [widget, source] : m_texts) {
        const QString t = tr(source);
        if (auto* label = qobject_cast<QLabel*>(widget))
            label->setText(t);
        else if (auto* button = qobject_cast<QAbstractButton*>(widget))
            button->setText(t);
        else if (auto* group = qobject_cast<QGroupBox*>(widget))
            group->setTitle(t);
    }
    for (const auto& [widget, source] : m_tips)
        widget->setToolTip(tr(source));
    for (const auto& [combo, sources] : m_comboTexts) {
        for (int i = 0; i < sources.size(); ++i)
            combo->setItemText(i, tr(sources.at(i)));
    }

    struct StepText
    {
        const char* caption;
        const char* hint;
    };
    static const StepText before[] = {
        {QT_TR_NOOP("Connect"), QT_TR_NOOP("Connect the Reader to the PC via serial cable")},
        {QT_TR_NOOP("Set Clock"), QT_TR_NOOP("Set the Reader clock to the correct date and time")},
        {QT_TR_NOOP("Clear Memory"), QT_TR_NOOP("Clear old measurements from the Reader's memory")},
        {QT_TR_NOOP("Measurement Setup"),
         QT_TR_NOOP("Configure the Reader's settings for Criterion Time, Exchange rate and so on")},
        {QT_TR_NOOP("Display Options"), QT_TR_NOOP("Configure the Reader's display options")},
    };
    static const StepText after[] = {
        {QT_TR_NOOP("Connect"), QT_TR_NOOP("Connect the Reader to the PC via serial cable")},
        {QT_TR_NOOP("Download"), ""},
        {QT_TR_NOOP("Create Report"),
         QT_TR_NOOP("Create a report for printing or transfer to other applications")},
        {QT_TR_NOOP("Customise Report"), QT_TR_NOOP("Customise the report by adding relevant information")},
        {QT_TR_NOOP("Print Report"), QT_TR_NOOP("Send the report directly to the printer, or see a preview")},
        {QT_TR_NOOP("Export Data"), QT_TR_NOOP("Transfer measurement data or reports to other applications")},
    };
    for (int i = 0; i < 5; ++i) {
        m_before->shapeButton(i + 1)->setText(tr(before[i].caption));
        m_before->shapeButton(i + 1)->setToolTip(*before[i].hint ? tr(before[i].hint) : QString());
    }
    for (int i = 0; i < 6; ++i) {
        m_after->shapeButton(i + 1)->setText(tr(after[i].caption));
        m_after->shapeButton(i + 1)->setToolTip(*after[i].hint ? tr(after[i].hint) : QString());
    }
    m_before->retranslate();
    m_after->retranslate();

    // Texts with model placeholders, rewritten by ApplyBrandLabels.
    m_beforeConnectAdvice->setText(tr("Ensure that the Instrument is connected to the PC, using:\n"
                                      "\n"
                                      "    USB cable for the [50] noxTag Reader \n"
                                      "    RS232 cable for the [40] noxTag Reader\n"
                                      "    RS232 cable for KV:300 series SLMs\n"
                                      "\n"
                                      "\n"
                                      "When the connection has been made, click the 'Next' button below."));
    m_afterConnectAdvice->setText(tr("Connect the [50] or [40] noxTag Reader to the PC."));
    m_step5Note->setText(tr("([RM:50A and RM:52A] Readers only)"));
    static_cast<QAbstractButton*>(m_configureRM50A)->setText(tr("Reader"));
    static_cast<QAbstractButton*>(m_configureKV320B)->setText(QStringLiteral("KV:320B"));
    m_labelToDatabase->setToolTip(QString());
    if (m_exportFormats->count() == 0) {
        m_exportFormats->setPlaceholderText(
            tr("Report export is not available in this version of Sonvex yet."));
        m_exportFormats->setEnabled(false);
    }
}

} // namespace sonvex
