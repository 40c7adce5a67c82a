#include "views/SonvexDataViewFrame.h"

#include "data/DataFilesController.h"
#include "data/DataSet.h"
#include "data/DataSetModel.h"
#include "data/KVTimeHistory.h"
#include "data/SettingsStore.h"
#include "data/SonvexDataModule.h"
#include "views/MeasurementListModel.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace sonvex {

namespace {

const char* const kPanelStyle =
    "QFrame#%1 { background: #f7f8fa; border: 1px solid #d9dce1; border-radius: 3px; }";

QString noneText()
{
    return QCoreApplication::translate("Tdm", "None");
}

QLabel* captionLabel(const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setStyleSheet(QStringLiteral("color: #44484f; background: transparent; border: none;"));
    return l;
}

} // namespace

TFrameDataView::TFrameDataView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FrameDataView"));
    buildUi();
    m_timerResize = new QTimer(this);
    m_timerResize->setObjectName(QStringLiteral("TimerResize"));
    m_timerResize->setSingleShot(true);
    m_timerResize->setInterval(500);
    connect(m_timerResize, &QTimer::timeout, this, [this] {
        m_timerResize->stop();
        m_frameTH->TimerRepaintChartTimer();
    });
}

TFrameDataView::~TFrameDataView() = default;

// --- construction ----------------------------------------------------------------------------

QLabel* TFrameDataView::bindValue(const QString& field, QWidget* parent, const QString& objectName)
{
    auto* l = new QLabel(parent);
    l->setObjectName(objectName.isEmpty() ? QStringLiteral("DBText_") + field : objectName);
    l->setStyleSheet(
        QStringLiteral("color: #101318; font-weight: 600; background: transparent; border: none;"));
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_values.append({l, field});
    return l;
}

QLabel* TFrameDataView::bindCaption(const QString& field, QWidget* parent)
{
    QLabel* l = captionLabel(QString(), parent);
    l->setObjectName(QStringLiteral("Label_") + field);
    m_captions.append({l, field});
    return l;
}

// A panel of caption and value rows, one per field.
QWidget* TFrameDataView::fieldPanel(const QString& name, const QList<const char*>& fields, QWidget* parent)
{
    auto* panel = new QFrame(parent);
    panel->setObjectName(name);
    panel->setStyleSheet(QString::fromLatin1(kPanelStyle).arg(name));
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(8, 5, 8, 5);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(1);
    int row = 0;
    for (const char* f : fields) {
        const QString field = QString::fromLatin1(f);
        QLabel* caption = nullptr;
        if (field == u"lepdString" || field == u"lepd2String") {
            caption = captionLabel(QStringLiteral("Lex,8h"), panel);
            caption->setObjectName(field == u"lepdString" ? QStringLiteral("LabelLex")
                                                          : QStringLiteral("LabelLex2"));
            if (field == u"lepdString")
                m_lexCaptions.append(caption);
        } else if (field == u"sel") {
            // The raw field's own label is an internal one; the row reads like the text field's.
            caption = bindCaption(QStringLiteral("selString"), panel);
        } else {
            caption = bindCaption(field, panel);
        }
        grid->addWidget(caption, row, 0);
        grid->addWidget(bindValue(field, panel, name + QLatin1Char('_') + field), row, 1);
        ++row;
    }
    grid->setRowStretch(row, 1);
    grid->setColumnStretch(1, 1);
    m_panelsByName.insert(name, panel);
    return panel;
}

QWidget* TFrameDataView::settingsPanel(int channel, bool bothPage, QWidget* parent)
{
    const bool one = channel == 1;
    const QString name =
        QStringLiteral("PanelSettings%1%2").arg(channel).arg(bothPage ? QStringLiteral("Both") : QString());
    auto* panel = new QFrame(parent);
    panel->setObjectName(name);
    panel->setStyleSheet(QString::fromLatin1(kPanelStyle).arg(name));
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(8, 5, 8, 5);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(1);
    const QStringList fields =
        one ? QStringList{QStringLiteral("settingsTimeWeighting"), QStringLiteral("settingsExchangeRate"),
                          QStringLiteral("settingsThreshold"), QStringLiteral("settingsCritTime"),
                          QStringLiteral("settingsCritLevel")}
            : QStringList{QStringLiteral("settingsTimeWeighting2"), QStringLiteral("settingsExchangeRate2"),
                          QStringLiteral("settingsThreshold2"), QStringLiteral("settingsCritTime2"),
                          QStringLiteral("settingsCritLevel2")};
    ChannelWidgets& w = channelWidgets(channel, bothPage);
    int row = 0;
    for (const QString& field : fields) {
        grid->addWidget(bindCaption(field, panel), row, 0);
        QLabel* value = bindValue(field, panel, name + QLatin1Char('_') + field);
        if (row == 4) {
            auto* cell = new QWidget(panel);
            auto* h = new QHBoxLayout(cell);
            h->setContentsMargins(0, 0, 0, 0);
            h->setSpacing(4);
            h->addWidget(value);
            w.critLevelValue = value;
            w.box = new QComboBox(cell);
            w.box->setObjectName(QStringLiteral("LMDComboBoxCritLevel%1%2")
                                     .arg(bothPage ? QStringLiteral("Both") : QString())
                                     .arg(one ? QString() : QStringLiteral("2")));
            w.box->setEditable(true);
            w.box->setInsertPolicy(QComboBox::NoInsert);
            w.box->addItems({QStringLiteral("90"), QStringLiteral("85"), QStringLiteral("84"),
                             QStringLiteral("83"), QStringLiteral("80")});
            w.box->setEditText(QStringLiteral("84"));
            w.box->setFixedWidth(64);
            w.box->hide();
            h->addWidget(w.box);
            h->addStretch(1);
            grid->addWidget(cell, row, 1);
            connect(w.box, qOverload<int>(&QComboBox::activated), this, [this, channel, bothPage](int index) {
                LMDComboBoxCritLevelSelect(channel, bothPage, index);
            });
            connect(w.box->lineEdit(), &QLineEdit::returnPressed, this,
                    [this, channel, bothPage] { LMDComboBoxCritLevelKeyUp(channel, bothPage); });
        } else {
            grid->addWidget(value, row, 1);
        }
        ++row;
    }
    w.check = new QCheckBox(panel);
    translated([check = w.check] { check->setText(tr("Change Criterion Level ")); });
    w.check->setObjectName(QStringLiteral("LMDCheckBoxUserCritLevel%1%2")
                               .arg(one ? QString() : QStringLiteral("2"))
                               .arg(bothPage ? QStringLiteral("Both") : QString()));
    w.check->setStyleSheet(QStringLiteral("background: transparent; border: none;"));
    grid->addWidget(w.check, row, 0, 1, 2);
    connect(w.check, &QCheckBox::toggled, this,
            [this, channel, bothPage] { LMDCheckBoxUserCritLevelChange(channel, bothPage); });
    grid->setRowStretch(row + 1, 1);
    grid->setColumnStretch(1, 1);
    m_panelsByName.insert(name, panel);
    return panel;
}

QWidget* TFrameDataView::buildOverallPanel()
{
    auto* panel = new QFrame;
    panel->setObjectName(QStringLiteral("PanelOverallData"));
    panel->setStyleSheet(QString::fromLatin1(kPanelStyle).arg(panel->objectName()));
    auto* columnsLayout = new QHBoxLayout(panel);
    columnsLayout->setContentsMargins(10, 6, 10, 6);
    columnsLayout->setSpacing(24);
    // Four columns of caption and value; each column its own grid, so that a hidden row closes up.
    const QList<QList<const char*>> columns = {
        {"badge", "MeasDate", "MeasTimeTime", "RunTime"},
        {"peakString", "peak", "max115Exceeded", "max115Time", "overload", "lowbatt"},
        {"Cal1Time", "Cal2Time", "cal1_offset", "cal2_offset"},
        {"ReaderRecal", "BadgeRecal", "ResetTime"},
    };
    for (const QList<const char*>& column : columns) {
        auto* grid = new QGridLayout;
        grid->setHorizontalSpacing(10);
        grid->setVerticalSpacing(1);
        int row = 0;
        for (const char* f : column) {
            const QString field = QString::fromLatin1(f);
            QLabel* caption = bindCaption(field, panel);
            QLabel* value = bindValue(field, panel, QStringLiteral("PanelOverallData_") + field);
            grid->addWidget(caption, row, 0);
            grid->addWidget(value, row, 1);
            if (field == u"peakString")
                caption->setObjectName(QStringLiteral("LabelPeakString"));
            m_panelsByName.insert(QStringLiteral("Row_") + field + QStringLiteral("_caption"), caption);
            m_panelsByName.insert(QStringLiteral("Row_") + field + QStringLiteral("_value"), value);
            ++row;
        }
        grid->setRowStretch(row, 1);
        grid->setColumnStretch(1, 1);
        columnsLayout->addLayout(grid, 1);
    }
    m_panelsByName.insert(panel->objectName(), panel);
    return panel;
}

QWidget* TFrameDataView::buildChannelPage(int page)
{
    auto* w = new QWidget;
    auto* row = new QHBoxLayout(w);
    row->setContentsMargins(4, 4, 4, 4);
    row->setSpacing(6);
    const QList<const char*> energy1 = {"leqString", "lepdString", "doseString", "est_doseString",
                                        "exp",       "est_exp",    "sel"};
    const QList<const char*> rate1 = {"lavgString", "twaString", "dose5String", "est_dose5String"};
    const QList<const char*> energy2 = {"leq2String", "lepd2String",    "dose2String", "est_dose2String",
                                        "exp2String", "est_exp2String", "sel2String"};
    const QList<const char*> rate2 = {"lavg2String", "twa2String", "dose52String", "est_dose52String"};
    if (page == 0) {
        w->setObjectName(QStringLiteral("TSChannel1"));
        row->addWidget(fieldPanel(QStringLiteral("PanelEnergy1"), energy1, w));
        row->addWidget(fieldPanel(QStringLiteral("PanelExchangeRate1"), rate1, w));
        row->addWidget(settingsPanel(1, false, w));
        // Diagnostics: the final battery voltage comes from the battery history.
        auto* diag = new QFrame(w);
        diag->setObjectName(QStringLiteral("PanelDiagnostics"));
        diag->setStyleSheet(QString::fromLatin1(kPanelStyle).arg(diag->objectName()));
        auto* g = new QGridLayout(diag);
        g->setContentsMargins(8, 5, 8, 5);
        g->setHorizontalSpacing(10);
        g->setVerticalSpacing(1);
        for (auto [row, text] :
             {std::pair{0, QT_TR_NOOP("Final Battery Voltage")}, std::pair{1, QT_TR_NOOP("Data Check")},
              std::pair{2, QT_TR_NOOP("Firmware")}}) {
            QLabel* caption = captionLabel(QString(), diag);
            translated([caption, text] { caption->setText(tr(text)); });
            g->addWidget(caption, row, 0);
        }
        m_finalBattery[0] = new QLabel(QStringLiteral("---"), diag);
        m_finalBattery[0]->setObjectName(QStringLiteral("LabelFinalBatteryVolts"));
        m_finalBattery[0]->setStyleSheet(
            QStringLiteral("color: #101318; font-weight: 600; background: transparent; border: none;"));
        g->addWidget(m_finalBattery[0], 0, 1);
        g->addWidget(bindValue(QStringLiteral("dataCheck"), diag), 1, 1);
        g->addWidget(bindValue(QStringLiteral("badgeFirmware"), diag), 2, 1);
        g->setRowStretch(3, 1);
        m_panelsByName.insert(diag->objectName(), diag);
        row->addWidget(diag);
        // Peak counts of the peak history.
        auto* peaks = new QFrame(w);
        peaks->setObjectName(QStringLiteral("PanelPeakCounts"));
        peaks->setStyleSheet(QString::fromLatin1(kPanelStyle).arg(peaks->objectName()));
        auto* pg = new QGridLayout(peaks);
        pg->setContentsMargins(8, 5, 8, 5);
        pg->setHorizontalSpacing(10);
        pg->setVerticalSpacing(1);
        auto* title = captionLabel(QString(), peaks);
        translated([title] { title->setText(tr("60s Peak time history samples:")); });
        title->setStyleSheet(
            QStringLiteral("color: #101318; font-weight: 600; background: transparent; border: none;"));
        pg->addWidget(title, 0, 0, 1, 2);
        pg->addWidget(bindCaption(QStringLiteral("peak135"), peaks), 1, 0);
        pg->addWidget(bindValue(QStringLiteral("peak135"), peaks), 1, 1);
        pg->addWidget(bindCaption(QStringLiteral("peak137"), peaks), 2, 0);
        pg->addWidget(bindValue(QStringLiteral("peak137"), peaks), 2, 1);
        pg->setRowStretch(3, 1);
        m_panelsByName.insert(peaks->objectName(), peaks);
        row->addWidget(peaks);
    } else if (page == 1) {
        w->setObjectName(QStringLiteral("TSChannel2"));
        row->addWidget(fieldPanel(QStringLiteral("PanelEnergy2"), energy2, w));
        row->addWidget(fieldPanel(QStringLiteral("PanelExchangeRate2"), rate2, w));
        row->addWidget(settingsPanel(2, false, w));
    } else {
        w->setObjectName(QStringLiteral("TSBothChannels"));
        row->addWidget(fieldPanel(QStringLiteral("PanelExchangeRate2Both"), rate2, w));
        row->addWidget(fieldPanel(QStringLiteral("PanelEnergy2Both"), energy2, w));
        QWidget* e1 = fieldPanel(QStringLiteral("PanelEnergy1Both"), energy1, w);
        if (QLabel* lex = e1->findChild<QLabel*>(QStringLiteral("LabelLex")))
            lex->setObjectName(QStringLiteral("LabelLexBoth"));
        row->addWidget(e1);
        row->addWidget(fieldPanel(QStringLiteral("PanelExchangeRate1Both"), rate1, w));
        row->addWidget(settingsPanel(1, true, w));
        row->addWidget(settingsPanel(2, true, w));
    }
    row->addStretch(1);
    return w;
}

void TFrameDataView::buildUi()
{
    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_splitter->setObjectName(QStringLiteral("Splitter1"));
    m_splitter->setChildrenCollapsible(false);
    outer->addWidget(m_splitter);

    // Left: the measurement list and the validation details.
    auto* left = new QWidget(m_splitter);
    left->setObjectName(QStringLiteral("PanelLeft"));
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(4, 4, 0, 4);
    leftLayout->setSpacing(4);
    m_grid = new QTableView(left);
    m_grid->setObjectName(QStringLiteral("DBGridEh1"));
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setAlternatingRowColors(true);
    m_grid->setWordWrap(false);
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
    m_grid->horizontalHeader()->setHighlightSections(false);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    translated([this] {
        m_grid->setToolTip(
            tr("Measurement List") + QLatin1Char('\n') + tr("Select a measurement by left-clicking on it.") +
            QLatin1Char('\n') +
            tr("Select multiple measurements by holding down Ctrl or Shift while clicking on them."));
    });
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    m_gridMenu = new QMenu(this);
    connect(m_grid, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (!m_gridMenu->isEmpty())
            m_gridMenu->popup(m_grid->viewport()->mapToGlobal(at));
    });
    leftLayout->addWidget(m_grid, 1);
    m_memoValidation = new QPlainTextEdit(left);
    m_memoValidation->setObjectName(QStringLiteral("MemoValidation"));
    m_memoValidation->setReadOnly(true);
    m_memoValidation->setMaximumHeight(120);
    m_memoValidation->hide();
    leftLayout->addWidget(m_memoValidation);
    m_listModel = new MeasurementListModel(this);
    m_grid->setModel(m_listModel);

    // Right: top panel, chart, notes.
    auto* right = new QWidget(m_splitter);
    right->setObjectName(QStringLiteral("PanelRight"));
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(4, 4, 4, 4);
    rightLayout->setSpacing(4);

    m_panelTop = new QWidget(right);
    m_panelTop->setObjectName(QStringLiteral("PanelTop"));
    m_panelTop->setContextMenuPolicy(Qt::CustomContextMenu);
    m_topMenu = new QMenu(this);
    connect(m_panelTop, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (!m_topMenu->isEmpty())
            m_topMenu->popup(m_panelTop->mapToGlobal(at));
    });
    auto* topLayout = new QVBoxLayout(m_panelTop);
    topLayout->setContentsMargins(0, 0, 0, 0);
    m_scroll = new QScrollArea(m_panelTop);
    m_scroll->setObjectName(QStringLiteral("LMDScrollBox1"));
    m_scroll->setWidgetResizable(true);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->viewport()->installEventFilter(this);
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("ScrollContent"));
    auto* contentLayout = new QVBoxLayout(content);
    contentLayout->setContentsMargins(0, 0, 0, 0);
    contentLayout->setSpacing(4);
    m_overall = buildOverallPanel();
    contentLayout->addWidget(m_overall);
    m_pages = new QTabWidget(content);
    m_pages->setObjectName(QStringLiteral("PageControlChannels"));
    m_pages->setDocumentMode(true);
    m_pages->addTab(buildChannelPage(0), QString());
    m_pages->addTab(buildChannelPage(1), QString());
    m_pages->addTab(buildChannelPage(2), QString());
    translated([this] {
        m_pages->setTabText(0, tr("Channel 1"));
        m_pages->setTabText(1, tr("Channel 2"));
        m_pages->setTabText(2, tr("Both Channels"));
    });
    connect(m_pages, &QTabWidget::currentChanged, this, [this](int index) {
        if (index == 0)
            TSChannel1Show();
        else if (index == 1)
            TSChannel2Show();
        else if (index == 2)
            TSBothChannelsShow();
    });
    contentLayout->addWidget(m_pages);
    contentLayout->addStretch(1);
    m_scroll->setWidget(content);
    topLayout->addWidget(m_scroll);
    rightLayout->addWidget(m_panelTop);

    m_panelTH = new QWidget(right);
    m_panelTH->setObjectName(QStringLiteral("PanelTH"));
    auto* thLayout = new QVBoxLayout(m_panelTH);
    thLayout->setContentsMargins(0, 0, 0, 0);
    m_frameTH = new TFrameTHChart(m_panelTH);
    thLayout->addWidget(m_frameTH);
    rightLayout->addWidget(m_panelTH, 1);
    connect(m_frameTH, &TFrameTHChart::timeHistoriesShown, this, [this] {
        if (QLabel* l = m_finalBattery[0]) {
            const QString v = m_frameTH->sampleTable().lastBatteryText();
            l->setText(v.isEmpty() ? QStringLiteral("---") : v);
        }
    });
    m_frameTH->setCursorsPosted([this](bool cursor1Changed) { onCursorsPosted(cursor1Changed); });

    auto* notes = new QWidget(right);
    notes->setObjectName(QStringLiteral("PanelNotes"));
    auto* notesLayout = new QHBoxLayout(notes);
    notesLayout->setContentsMargins(0, 0, 0, 0);
    auto* notesCaption = new QLabel(notes);
    translated([notesCaption] { notesCaption->setText(tr("Notes:")); });
    notesLayout->addWidget(notesCaption);
    m_notes = new QLineEdit(notes);
    m_notes->setObjectName(QStringLiteral("DBEditNotes"));
    m_notes->setMaxLength(255);
    m_notes->installEventFilter(this);
    connect(m_notes, &QLineEdit::editingFinished, this, &TFrameDataView::commitNotes);
    notesLayout->addWidget(m_notes, 1);
    rightLayout->addWidget(notes);

    m_splitter->addWidget(left);
    m_splitter->addWidget(right);
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setSizes({250, 1000});
    m_tabBarHeight = m_pages->tabBar()->sizeHint().height();
}

// --- binding -----------------------------------------------------------------------------------

void TFrameDataView::setDataModule(Tdm* dm)
{
    m_dm = dm;
    if (m_table)
        disconnect(m_table, nullptr, this, nullptr);
    m_table = dm ? dm->CDSMeas() : nullptr;
    m_frameTH->setTable(m_table);
    bindTable();
    syncCritLevelControls();
    refreshCaptions();
    refreshRecord();
}

void TFrameDataView::bindTable()
{
    m_listModel->setTableModel(nullptr);
    delete m_model;
    m_model = nullptr;
    if (!m_table)
        return;
    m_model = new DataSetModel(m_table, this);
    m_listModel->setTableModel(m_model);
    m_grid->resizeColumnsToContents();
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (!m_table || !current.isValid() || m_refreshing)
                    return;
                const int row = m_listModel->mapToSource(current).row();
                if (row >= 0 && row != m_table->recNo()) {
                    commitNotes();
                    try {
                        m_table->moveTo(row);
                    } catch (const DataSetError&) {
                    }
                }
            });
    connect(m_table, &DataSet::afterScroll, this, [this] {
        if (!m_table->controlsDisabled())
            refreshRecord();
    });
    connect(m_table, &DataSet::reset, this, [this] {
        m_grid->resizeColumnsToContents();
        refreshRecord();
    });
    connect(m_table, &DataSet::rowChanged, this, [this](int row) {
        if (m_table && row == m_table->recNo() && !m_refreshing)
            refreshValues();
    });
    connect(m_table, &DataSet::afterPost, this, [this] { refreshValues(); });
    connect(m_table, &DataSet::controlsEnabled, this, [this] { refreshCaptions(); });
}

void TFrameDataView::setDataFiles(DataFilesController* files)
{
    m_files = files;
}

void TFrameDataView::setSettings(SettingsStore* settings)
{
    m_settings = settings;
    m_frameTH->setSettings(settings);
}

void TFrameDataView::setListActions(QAction* deleteSelected, QAction* saveAll, QAction* saveSelected)
{
    m_gridMenu->clear();
    delete m_saveMenu;
    m_saveMenu = nullptr;
    if (deleteSelected)
        m_gridMenu->addAction(deleteSelected);
    if (saveAll || saveSelected) {
        QMenu* save = m_gridMenu->addMenu(tr("Save"));
        m_saveMenu = save;
        if (saveAll)
            save->addAction(saveAll);
        if (saveSelected)
            save->addAction(saveSelected);
    }
}

void TFrameDataView::setTerminologyAction(QAction* helpOnTerminology)
{
    m_topMenu->clear();
    if (helpOnTerminology)
        m_topMenu->addAction(helpOnTerminology);
}

void TFrameDataView::setValidationLookup(std::function<std::optional<bool>(int)> passOf)
{
    m_listModel->setValidationLookup(std::move(passOf));
}

void TFrameDataView::setValidationColouring(bool on)
{
    m_listModel->setValidationColouring(on);
    m_grid->viewport()->update();
}

void TFrameDataView::setValidationDetailsVisible(bool visible)
{
    m_memoValidation->setVisible(visible);
}

// --- values --------------------------------------------------------------------------------

QString TFrameDataView::displayText(const QString& field) const
{
    if (!m_table || !m_model || !m_table->isActive() || m_table->isEmpty())
        return QString();
    const int column = m_model->columnOfField(field);
    if (column < 0)
        return QString();
    return m_model->data(m_model->index(m_table->recNo(), column), Qt::DisplayRole).toString();
}

QString TFrameDataView::fieldLabel(const QString& field) const
{
    if (!m_table)
        return QString();
    const FieldDef* def = m_table->findField(field);
    return def ? def->label() : QString();
}

QString TFrameDataView::recordText(const QString& field) const
{
    if (!m_table || !m_table->isActive() || m_table->isEmpty())
        return QString();
    try {
        return m_table->text(field);
    } catch (const DataSetError&) {
        return QString();
    }
}

void TFrameDataView::refreshValues()
{
    for (const FieldBinding& b : std::as_const(m_values))
        b.label->setText(displayText(b.field));
    if (!m_notes->hasFocus() || !m_notes->isModified()) {
        m_notes->setText(recordText(QStringLiteral("notes")));
        m_notes->setModified(false);
    }
    // The peak level's caption carries the record's peak weighting.
    if (QLabel* peak = findChild<QLabel*>(QStringLiteral("LabelPeakString")))
        peak->setText(fieldLabel(QStringLiteral("peakString")) + QLatin1Char(' ') +
                      recordText(QStringLiteral("peakWtg")));
    const QString lex =
        QStringLiteral("Lex,") + recordText(QStringLiteral("settingsCritTime")) + QStringLiteral("h");
    for (QLabel* l : std::as_const(m_lexCaptions))
        l->setText(lex);
    m_memoValidation->setPlainText(recordText(QStringLiteral("ValidationFailureDetails")));
}

void TFrameDataView::refreshCaptions()
{
    for (const CaptionBinding& c : std::as_const(m_captions)) {
        const QString label = fieldLabel(c.field);
        if (!label.isEmpty())
            c.label->setText(label);
    }
    if (m_table && m_table->isActive() && !m_table->isEmpty())
        refreshValues();
}

QList<int> TFrameDataView::selectedRows() const
{
    QList<int> rows;
    if (!m_grid->selectionModel())
        return rows;
    for (const QModelIndex& i : m_grid->selectionModel()->selectedRows())
        rows.append(m_listModel->mapToSource(i).row());
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

void TFrameDataView::selectCurrentInGrid()
{
    if (!m_table || !m_model || m_table->isEmpty())
        return;
    const QModelIndex source = m_model->index(m_table->recNo(), 0);
    const QModelIndex at = m_listModel->mapFromSource(source);
    if (!at.isValid())
        return;
    QItemSelectionModel* sel = m_grid->selectionModel();
    if (sel->currentIndex().row() == at.row())
        return;
    sel->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_grid->scrollTo(at);
}

// --- refresh for the current record ---------------------------------------------------------------

void TFrameDataView::refreshRecord()
{
    if (!m_table || !m_table->isActive() || m_refreshing)
        return;
    m_refreshing = true;
    try {
        // 1. The user criterion levels.
        syncCritLevelControls();
        // 2. The chart: from the record's line of the data file, or from the record alone.
        m_frameTH->zoomOut();
        std::optional<QString> line;
        QString header;
        if (m_files && !m_table->isEmpty()) {
            const QStringList lines = m_files->dataFileLines();
            const int h = m_files->headerLineIndex();
            bool ok = false;
            const int readOrder = m_table->value(QStringLiteral("read_order")).toInt(&ok);
            if (ok)
                line = DataViewRules::downloadLineFor(lines, h, m_table->recNo() + 1, readOrder);
            if (line)
                header = lines.value(h);
        }
        if (line)
            m_frameTH->showTimeHistories(*line, header);
        else
            m_frameTH->showTimeHistories();
        if (!line)
            m_finalBattery[0]->setText(QStringLiteral("---"));
        // 3. The histories' exchange rates are set by the frame from the record's settings.
        // 4.-7. Panels.
        DataViewRecordFacts facts;
        facts.exchangeRate = recordText(QStringLiteral("settingsExchangeRate"));
        facts.timeWeighting = recordText(QStringLiteral("settingsTimeWeighting"));
        facts.exchangeRate2 = recordText(QStringLiteral("settingsExchangeRate2"));
        facts.timeWeighting2 = recordText(QStringLiteral("settingsTimeWeighting2"));
        facts.critTime = recordText(QStringLiteral("settingsCritTime"));
        if (!m_table->isEmpty()) {
            facts.dual = m_table->value(QStringLiteral("hasDualData")).toBool();
            facts.is52A = m_table->value(QStringLiteral("is52AData")).toBool();
            facts.mk4 = m_table->value(QStringLiteral("hasMK4Data")).toBool();
        }
        m_panels = DataViewRules::panelsFor(facts, noneText());
        for (const char* name : {"PanelEnergy1", "PanelEnergy1Both"})
            m_panelsByName.value(QLatin1String(name))->setVisible(m_panels.channel1Energy);
        for (const char* name : {"PanelExchangeRate1", "PanelExchangeRate1Both"})
            m_panelsByName.value(QLatin1String(name))->setVisible(!m_panels.channel1Energy);
        for (const char* name : {"PanelEnergy2", "PanelEnergy2Both"})
            m_panelsByName.value(QLatin1String(name))->setVisible(m_panels.channel2Energy);
        for (const char* name : {"PanelExchangeRate2", "PanelExchangeRate2Both"})
            m_panelsByName.value(QLatin1String(name))->setVisible(!m_panels.channel2Energy);
        const auto showRow = [this](const char* field, bool on) {
            for (const char* part : {"_caption", "_value"}) {
                if (QWidget* w = m_panelsByName.value(QStringLiteral("Row_") + QLatin1String(field) +
                                                      QLatin1String(part)))
                    w->setVisible(on);
            }
        };
        showRow("max115Time", m_panels.max115Time);
        showRow("max115Exceeded", m_panels.max115Exceeded);
        showRow("peak", m_panels.peak);
        // 6. The channel tabs.
        QTabBar* bar = m_pages->tabBar();
        if (m_panels.channelTabs) {
            bar->show();
            const int index = m_pages->currentIndex();
            if (index == 1)
                TSChannel2Show();
            else if (index == 2)
                TSBothChannelsShow();
            else
                TSChannel1Show();
        } else {
            bar->hide();
            if (m_pages->currentIndex() != 0)
                m_pages->setCurrentIndex(0);
            else
                TSChannel1Show();
        }
        // 8. Peak counts only with a channel-1 and a peak history.
        const TKVTimeHistory* peak = m_frameTH->peakHistory();
        m_panelsByName.value(QStringLiteral("PanelPeakCounts"))
            ->setVisible(m_frameTH->mainHistory() && peak && peak->sampleCount() > 0);
        applyCritLevelVisibility();
        refreshValues();
        selectCurrentInGrid();
        // 9. The top panel's height.
        relayoutChannels();
    } catch (const DataSetError&) {
        // The view keeps what it showed.
    }
    m_refreshing = false;
}

void TFrameDataView::relayoutChannels()
{
    // The channel pages take the height of the tallest panel of the page shown, tabs included
    // when they are shown.
    if (QWidget* page = m_pages->currentWidget()) {
        int tallest = 0;
        for (QWidget* panel : page->findChildren<QFrame*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (!panel->isHidden()) {
                if (panel->layout())
                    panel->layout()->activate();
                tallest = std::max(tallest, panel->sizeHint().height());
            }
        }
        const QMargins m = page->layout() ? page->layout()->contentsMargins() : QMargins();
        // The tab bar's own hint: the style is known only once the view is polished.
        const int tabs = m_pages->tabBar()->isHidden()
                             ? 0
                             : std::max(m_tabBarHeight, m_pages->tabBar()->sizeHint().height()) + 4;
        m_pages->setFixedHeight(tallest + m.top() + m.bottom() + tabs + 4);
    }
    m_overall->layout()->activate();
    m_topNatural = m_overall->sizeHint().height() + m_pages->height() + 4;
    LMDScrollBox1Resize();
}

void TFrameDataView::LMDScrollBox1Resize()
{
    const QScrollBar* vbar = m_scroll->verticalScrollBar();
    int height = m_topNatural;
    if (vbar->isVisible())
        height = m_scroll->height() + m_topNatural - m_scroll->viewport()->height();
    if (m_panelTop->height() != height || m_panelTop->minimumHeight() != height)
        m_panelTop->setFixedHeight(std::max(0, height));
}

bool TFrameDataView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_scroll->viewport() && event->type() == QEvent::Resize)
        QTimer::singleShot(0, this, [this] { LMDScrollBox1Resize(); });
    if (watched == m_notes && event->type() == QEvent::KeyRelease) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            DBEditNotesKeyUp();
    }
    return QWidget::eventFilter(watched, event);
}

void TFrameDataView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FrameResize();
}

void TFrameDataView::translated(std::function<void()> apply)
{
    apply();
    m_translations.append(std::move(apply));
}

void TFrameDataView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        for (const auto& apply : std::as_const(m_translations))
            apply();
        if (m_saveMenu)
            m_saveMenu->setTitle(tr("Save"));
        refreshCaptions();
    }
    QWidget::changeEvent(event);
}

void TFrameDataView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Sizes are known once the panels are polished (their style sheets set the fonts).
    relayoutChannels();
    QTimer::singleShot(0, this, [this] { relayoutChannels(); });
}

void TFrameDataView::FrameResize()
{
    m_timerResize->start();
}

// --- channel pages ---------------------------------------------------------------------------

void TFrameDataView::TSChannel1Show()
{
    m_frameTH->showChannel(1);
    relayoutChannels();
}

void TFrameDataView::TSChannel2Show()
{
    m_frameTH->showChannel(2);
    relayoutChannels();
}

void TFrameDataView::TSBothChannelsShow()
{
    m_frameTH->showChannel(0);
    relayoutChannels();
}

// --- notes -------------------------------------------------------------------------------------

void TFrameDataView::DBEditNotesKeyUp()
{
    commitNotes();
}

void TFrameDataView::commitNotes()
{
    if (!m_table || !m_table->isActive() || m_table->isEmpty())
        return;
    const QString text = m_notes->text();
    try {
        if (text != m_table->text(QStringLiteral("notes")))
            m_table->setValue(QStringLiteral("notes"), text);
        if (m_table->state() != DataSet::State::Browse)
            m_table->post();
    } catch (const DataSetError&) {
    }
    m_notes->setModified(false);
}

void TFrameDataView::postRecord()
{
    if (!m_table || !m_table->isActive() || m_table->isEmpty())
        return;
    try {
        m_table->edit();
        m_table->post();
    } catch (const DataSetError&) {
    }
}

void TFrameDataView::onCursorsPosted(bool cursor1Changed)
{
    // The data files follow cursor 1's field; when only cursor 2 moved they are told here.
    if (cursor1Changed || !m_files || !m_table || m_table->controlsDisabled())
        return;
    const UserFormats& f = m_files->userFormats();
    const auto text = [&](const char* field) {
        const QVariant v = m_table->value(QLatin1String(field));
        return v.isValid()
                   ? f.dateText(v.toDateTime().date()) + QLatin1Char(' ') + f.timeText(v.toDateTime().time())
                   : QString();
    };
    m_files->UpdateCursorsInDataFile(m_table->value(QStringLiteral("read_order")).toInt(),
                                     text("cursor1Time"), text("cursor2Time"));
}

// --- criterion level ---------------------------------------------------------------------------

TFrameDataView::ChannelWidgets& TFrameDataView::channelWidgets(int channel, bool bothPage)
{
    return m_channel[channel == 2 ? 1 : 0][bothPage ? 1 : 0];
}

const TFrameDataView::ChannelWidgets& TFrameDataView::channelWidgets(int channel, bool bothPage) const
{
    return m_channel[channel == 2 ? 1 : 0][bothPage ? 1 : 0];
}

QComboBox* TFrameDataView::critLevelBox(int channel, bool bothPage) const
{
    return channelWidgets(channel, bothPage).box;
}

QCheckBox* TFrameDataView::critLevelCheckBox(int channel, bool bothPage) const
{
    return channelWidgets(channel, bothPage).check;
}

QWidget* TFrameDataView::panel(const QString& name) const
{
    return m_panelsByName.value(name);
}

QLabel* TFrameDataView::valueLabel(const QString& objectName) const
{
    return findChild<QLabel*>(objectName);
}

void TFrameDataView::setBox(QComboBox* box, const CriterionLevelRules::Box& state)
{
    const QSignalBlocker block(box);
    box->clear();
    box->addItems(state.items);
    if (state.currentIndex >= 0 && state.currentIndex < box->count())
        box->setCurrentIndex(state.currentIndex);
    box->setEditText(state.text);
}

CriterionLevelRules::Box TFrameDataView::boxState(const QComboBox* box) const
{
    CriterionLevelRules::Box s;
    for (int i = 0; i < box->count(); ++i)
        s.items.append(box->itemText(i));
    s.text = box->currentText();
    s.currentIndex = box->currentIndex();
    return s;
}

void TFrameDataView::syncCritLevelControls()
{
    if (!m_dm)
        return;
    for (int channel : {1, 2}) {
        const bool use = channel == 1 ? m_dm->useUserCritLevel() : m_dm->useUserCritLevel2();
        const int level = channel == 1 ? m_dm->userCritLevel() : m_dm->userCritLevel2();
        const QStringList list = channel == 1 ? m_dm->userCritLevelList() : m_dm->userCritLevelList2();
        for (bool both : {false, true}) {
            ChannelWidgets& w = channelWidgets(channel, both);
            {
                const QSignalBlocker block(w.check);
                w.check->setChecked(use);
            }
            const QString text = QString::number(level);
            setBox(w.box, {list, text, int(list.indexOf(text))});
        }
    }
    applyCritLevelVisibility();
}

void TFrameDataView::applyCritLevelVisibility()
{
    for (int channel : {1, 2}) {
        const bool on = channelWidgets(channel, false).check->isChecked();
        for (bool both : {false, true}) {
            ChannelWidgets& w = channelWidgets(channel, both);
            w.box->setVisible(on);
            w.critLevelValue->setVisible(!on);
        }
    }
}

void TFrameDataView::LMDCheckBoxUserCritLevelChange(int channel, bool bothPage)
{
    const bool on = channelWidgets(channel, bothPage).check->isChecked();
    QCheckBox* twin = channelWidgets(channel, !bothPage).check;
    {
        const QSignalBlocker block(twin);
        twin->setChecked(on);
    }
    if (m_dm) {
        if (channel == 1)
            m_dm->setUseUserCritLevel(on);
        else
            m_dm->setUseUserCritLevel2(on);
    }
    applyCritLevelVisibility();
    postRecord();
    relayoutChannels();
}

void TFrameDataView::LMDComboBoxCritLevelSelect(int channel, bool bothPage, int index)
{
    QComboBox* box = channelWidgets(channel, bothPage).box;
    if (index >= 0 && index < box->count())
        box->setEditText(box->itemText(index));
    const std::optional<int> level = CriterionLevelRules::chosenLevel(box->currentText());
    if (!level)
        return;
    if (m_dm) {
        QStringList items;
        for (int i = 0; i < box->count(); ++i)
            items.append(box->itemText(i));
        if (channel == 1) {
            m_dm->setUserCritLevelList(items);
            m_dm->setUserCritLevel(*level);
            m_dm->setUseUserCritLevel(true);
        } else {
            m_dm->setUserCritLevelList2(items);
            m_dm->setUserCritLevel2(*level);
            m_dm->setUseUserCritLevel2(true);
        }
    }
    QComboBox* twin = channelWidgets(channel, !bothPage).box;
    {
        const QSignalBlocker block(twin);
        if (box->currentIndex() >= 0 && box->currentIndex() < twin->count())
            twin->setCurrentIndex(box->currentIndex());
        twin->setEditText(box->currentText());
    }
    for (bool both : {false, true}) {
        QCheckBox* check = channelWidgets(channel, both).check;
        const QSignalBlocker block(check);
        check->setChecked(true);
    }
    applyCritLevelVisibility();
    relayoutChannels();
    postRecord();
}

void TFrameDataView::LMDComboBoxCritLevelKeyUp(int channel, bool bothPage)
{
    QComboBox* box = channelWidgets(channel, bothPage).box;
    const int current = !m_dm ? 0 : channel == 1 ? m_dm->userCritLevel() : m_dm->userCritLevel2();
    const CriterionLevelRules::Box before = boxState(box);
    const CriterionLevelRules::EnterResult r = CriterionLevelRules::enter(before, current);
    if (!(r.box == before))
        setBox(box, r.box);
    if (r.choose) {
        setBox(channelWidgets(channel, !bothPage).box, r.box);
        LMDComboBoxCritLevelSelect(channel, bothPage, r.box.currentIndex);
    } else if (!(r.box == before)) {
        setBox(channelWidgets(channel, !bothPage).box, r.box);
    }
    relayoutChannels();
}

} // namespace sonvex
