#include "app/DataViewBinding.h"

#include "app/ActionSet.h"
#include "app/SonvexMain.h"
#include "data/DataFilesController.h"
#include "data/SonvexDataModule.h"
#include "views/SonvexDataView.h"
#include "views/SonvexDataViewFrame.h"
#include "views/SonvexDataViewPopup.h"

#include <QAction>
#include <QLayout>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>

namespace sonvex {

namespace {

constexpr int kGotDataIndex = 1;

} // namespace

DataViewBinding::DataViewBinding(TformSonvex3Main* window, Tdm* dm, DataFilesController* files,
                                 SettingsStore* settings, QObject* parent)
    : QObject(parent), m_window(window), m_dm(dm), m_files(files), m_settings(settings)
{
    if (!window)
        return;
    bindActions();
    connect(window->pageControlMain(), &QTabWidget::currentChanged, this, &DataViewBinding::pageChanged);
    connect(window->pageControlViewData(), &QStackedWidget::currentChanged, this,
            &DataViewBinding::pageChanged);
    // A load while the page is shown: the window has taken the new data kind by the next turn.
    if (files)
        connect(files, &DataFilesController::dataLoaded, this,
                [this] { QTimer::singleShot(0, this, &DataViewBinding::pageChanged); });
    pageChanged();
}

DataViewBinding::~DataViewBinding()
{
    // The view may sit in the page of a window that outlives the binding: it goes with the binding.
    delete m_view;
    delete m_popup;
}

TFormSonvexDataView* DataViewBinding::dataView()
{
    if (m_view)
        return m_view;
    m_view = new TFormSonvexDataView(m_window);
    m_view->setWindowFlags(Qt::Widget);
    m_view->hide();
    TFrameDataView* frame = m_view->frame();
    frame->setSettings(m_settings);
    frame->setDataFiles(m_files);
    frame->setDataModule(m_dm);
    if (m_window) {
        ActionSet& a = *m_window->actions();
        TimeHistoryChartActions chart;
        chart.zoomIn = a["ActionViewZoomIn"];
        chart.zoomOut = a["ActionViewZoomOut"];
        chart.resetCursors = a["ActionViewResetCursors"];
        chart.noUnderrange = a["ActionViewNoUnderrange"];
        chart.exportJpeg = a["ActionExportChartJpeg"];
        chart.exportLeq = a["ActionExportChartLeq"];
        frame->setChartActions(chart);
        frame->setListActions(a["ActionEditDeleteSelected"], a["ActionFileSaveAll"],
                              a["ActionFileSaveSelected"]);
        frame->setTerminologyAction(a["ActionHelpTerminology"]);
        QPointer<TformSonvex3Main> window = m_window;
        frame->frameTH()->setDataFolderProvider([window] { return window ? window->dataFolder : QString(); });
        // The validation colouring follows "Validate soak test data"; the results come with validation.
        QAction* validate = a["ActionViewValidate"];
        frame->setValidationColouring(validate->isChecked());
        connect(validate, &QAction::toggled, frame, &TFrameDataView::setValidationColouring);
    }
    return m_view;
}

TformSonvexDataViewPopup* DataViewBinding::popup()
{
    if (!m_popup)
        m_popup = new TformSonvexDataViewPopup(m_window);
    return m_popup;
}

void DataViewBinding::bindActions()
{
    ActionSet& a = *m_window->actions();
    // The chart commands are this view's: available now (the chart frame enables them as data allows).
    for (const char* name : {"ActionViewZoomIn", "ActionViewZoomOut", "ActionViewResetCursors",
                             "ActionExportChartJpeg", "ActionExportChartLeq"})
        a.markAvailable(a[name]);
    a["ActionViewZoomOut"]->setEnabled(false);
    for (const char* name : {"ActionViewZoomIn", "ActionExportChartJpeg", "ActionExportChartLeq"})
        a[name]->setEnabled(false);
    // "View Measurement Data..." opens the popup window instead of switching pages.
    QAction* viewData = a["ActionViewMeasurementData"];
    disconnect(viewData, &QAction::triggered, m_window, nullptr);
    connect(viewData, &QAction::triggered, this, &DataViewBinding::ActionViewDataWindowExecute);
    // Underrange values shown or not: the current record is shown again.
    connect(a["ActionViewNoUnderrange"], &QAction::toggled, this, [this] {
        if (m_view)
            m_view->refreshRecord();
    });
}

void DataViewBinding::ActionViewDataWindowExecute()
{
    if (!m_window || m_window->dataKind != 1)
        return;
    TFormSonvexDataView* view = dataView();
    TformSonvexDataViewPopup* p = popup();
    p->hostForm(view);
    view->show();
    view->refreshRecord();
    p->show();
    p->raise();
    p->activateWindow();
}

void DataViewBinding::TSGotDataShow()
{
    if (!m_window)
        return;
    QWidget* page = m_window->pageControlViewData()->widget(kGotDataIndex);
    QTableView* table = m_window->dataTable();
    if (m_window->dataKind != 1) {
        // Sound level meter data keeps the window's own table until its view joins.
        if (m_view && m_view->parentWidget() == page)
            m_view->hide();
        if (table)
            table->show();
        return;
    }
    TFormSonvexDataView* view = dataView();
    if (m_popup && m_popup->isVisible())
        m_popup->close();
    if (view->parentWidget() != page && page && page->layout()) {
        view->setParent(page);
        page->layout()->addWidget(view);
    }
    if (table)
        table->hide();
    view->show();
    view->refreshRecord();
}

void DataViewBinding::TSDataShow()
{
    if (m_window && m_window->pageControlViewData()->currentIndex() == kGotDataIndex)
        TSGotDataShow();
}

void DataViewBinding::pageChanged()
{
    if (!m_window || m_window->currentPage() != TformSonvex3Main::MainPage::ViewData)
        return;
    TSDataShow();
}

} // namespace sonvex
