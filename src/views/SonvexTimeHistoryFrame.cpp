#include "views/SonvexTimeHistoryFrame.h"

#include "data/DataSet.h"
#include "data/KVTimeHistory.h"
#include "data/SettingsStore.h"
#include "reports/THChartBinding.h"
#include "reports/TimeHistoryChart.h"

#include <qcustomplot.h>

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFrame>
#include <QGridLayout>
#include <QImageWriter>
#include <QLabel>
#include <QMenu>
#include <QSaveFile>
#include <QStackedLayout>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace sonvex {

namespace {

constexpr int kCursorPanelWidth = 168;
constexpr int kCursorStripHeight = 68; // four lines; never below the design minimum of 51
const QColor kValueColour(128, 0, 0);  // maroon
const ChartColour kGreen{0, 128, 0};

// The hourglass for the length of a scope.
struct WaitCursor
{
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// A strip that lays its children out by a rule when it is resized.
class CursorStrip : public QWidget
{
public:
    using QWidget::QWidget;
    std::function<void()> onResize;

protected:
    void resizeEvent(QResizeEvent* e) override
    {
        QWidget::resizeEvent(e);
        if (onResize)
            onResize();
    }
};

int exchangeRateOf(const QString& text)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    return ok ? v : 0;
}

} // namespace

TFrameTHChart::TFrameTHChart(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FrameTH"));
    buildUi();

    // The frame's own commands, replaced by the main window's when it has them.
    const auto make = [this](const char* name, const char* text, bool checkable = false) {
        auto* a = new QAction(this);
        a->setObjectName(QString::fromLatin1(name));
        a->setCheckable(checkable);
        translated([a, text] { a->setText(tr(text)); });
        return QPointer<QAction>(a);
    };
    m_ownActions.zoomIn = make("ActionViewZoomIn", QT_TR_NOOP("Zoom In Between Cursors"));
    m_ownActions.zoomOut = make("ActionViewZoomOut", QT_TR_NOOP("Zoom Out"));
    m_ownActions.resetCursors = make("ActionViewResetCursors", QT_TR_NOOP("Reset Cursor Positions"));
    m_ownActions.noUnderrange = make("ActionViewNoUnderrange",
                                     QT_TR_NOOP("Don't hide Underrange Values on Time History Chart"), true);
    m_ownActions.exportJpeg =
        make("ActionExportTimeHistoryJPEG", QT_TR_NOOP("Save Time History Chart as JPEG"));
    m_ownActions.exportLeq =
        make("ActionExportTimeHistoryLeqFile", QT_TR_NOOP("Save Time History Chart as .leq file..."));
    m_actions = m_ownActions;
    connectActions();

    m_chooseSaveFile = [this](const QString& caption, const QString& folder, const QString& fileName,
                              const QString& filter, const QString& suffix) {
        QFileDialog dialog(this, caption, QDir(folder).filePath(fileName), filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(suffix);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        return dialog.selectedFiles().constFirst();
    };
    m_openFile = [](const QString& file) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(file));
    };

    m_timerRepaint = new QTimer(this);
    m_timerRepaint->setObjectName(QStringLiteral("TimerRepaintChart"));
    m_timerRepaint->setInterval(5000);
    connect(m_timerRepaint, &QTimer::timeout, this, &TFrameTHChart::TimerRepaintChartTimer);
    m_timerRepaint->start();

    showTimeHistories();
}

TFrameTHChart::~TFrameTHChart()
{
    releaseHistories();
}

void TFrameTHChart::buildUi()
{
    m_outer = new QStackedLayout(this);
    m_outer->setContentsMargins(0, 0, 0, 0);

    auto* outerPage = new QWidget(this);
    outerPage->setObjectName(QStringLiteral("PanelOuter"));
    auto* outerLayout = new QVBoxLayout(outerPage);
    m_outerCaption = new QLabel(outerPage);
    translated([this] {
        if (!m_outerCaptionCleared)
            m_outerCaption->setText(tr("No Time History data"));
    });
    m_outerCaption->setObjectName(QStringLiteral("LabelOuterCaption"));
    m_outerCaption->setAlignment(Qt::AlignCenter);
    m_outerCaption->setStyleSheet(QStringLiteral("color: #808080;"));
    outerLayout->addWidget(m_outerCaption);
    m_outer->addWidget(outerPage);

    m_panelChart = new QWidget(this);
    m_panelChart->setObjectName(QStringLiteral("PanelChart"));
    auto* chartLayout = new QVBoxLayout(m_panelChart);
    chartLayout->setContentsMargins(0, 0, 0, 0);
    chartLayout->setSpacing(0);

    auto* strip = new CursorStrip(m_panelChart);
    strip->setObjectName(QStringLiteral("PanelCursors"));
    strip->setFixedHeight(kCursorStripHeight);
    strip->onResize = [this] {
        layoutCursorPanels();
    };
    m_panelCursors = strip;
    chartLayout->addWidget(strip);

    struct PanelSpec
    {
        const char* name;
        const char* heading;
        QList<const char*> labels;
    };
    const PanelSpec specs[4] = {
        {"PanelCursor1", QT_TR_NOOP("cursor1:"), {"LabelCursor1Dur", "LabelCursor1Leq", "LabelCursor1Peak"}},
        {"PanelOutsideCursors", QT_TR_NOOP("outside cursors:"), {"LabelOutsideDur", "LabelOutsideLeq"}},
        {"PanelBetweenCursors", QT_TR_NOOP("between cursors:"), {"LabelInsideDur", "LabelInsideLeq"}},
        {"PanelCursor2", QT_TR_NOOP("cursor2:"), {"LabelCursor2Dur", "LabelCursor2Leq", "LabelCursor2Peak"}},
    };
    QFont valueFont = font();
    QFont headingFont = font();
    headingFont.setBold(true);
    for (int i = 0; i < 4; ++i) {
        auto* panel = new QFrame(strip);
        panel->setObjectName(QString::fromLatin1(specs[i].name));
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setStyleSheet(QStringLiteral("QFrame#%1 { background: #fbfbfb; border: 1px solid #d4d4d4; "
                                            "border-radius: 3px; }")
                                 .arg(panel->objectName()));
        auto* grid = new QGridLayout(panel);
        grid->setContentsMargins(8, 3, 8, 3);
        grid->setVerticalSpacing(0);
        auto* heading = new QLabel(panel);
        translated([heading, text = specs[i].heading] { heading->setText(tr(text)); });
        heading->setObjectName(panel->objectName() + QStringLiteral("Heading"));
        heading->setFont(headingFont);
        heading->setStyleSheet(QStringLiteral("color: black; border: none; background: transparent;"));
        grid->addWidget(heading, 0, 0);
        int row = 1;
        for (const char* name : specs[i].labels) {
            auto* value = new QLabel(QStringLiteral("-----"), panel);
            value->setObjectName(QString::fromLatin1(name));
            value->setFont(valueFont);
            value->setStyleSheet(
                QStringLiteral("color: %1; border: none; background: transparent;").arg(kValueColour.name()));
            value->setTextInteractionFlags(Qt::TextSelectableByMouse);
            grid->addWidget(value, row++, 0);
            m_labels.insert(value->objectName(), value);
        }
        grid->setRowStretch(row, 1);
        m_cursorPanels[i] = panel;
    }

    m_plot = new QCustomPlot(m_panelChart);
    m_plot->setObjectName(QStringLiteral("chart"));
    m_plot->setContextMenuPolicy(Qt::CustomContextMenu);
    m_plot->setMinimumHeight(120);
    chartLayout->addWidget(m_plot, 1);
    m_chart = new TimeHistoryChart(m_plot, ChartStyle::forScreen(), this);

    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("PopupActionBarExChart"));
    connect(m_plot, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (m_popupEnabled)
            m_popup->popup(m_plot->mapToGlobal(at));
    });

    m_outer->addWidget(m_panelChart);
}

void TFrameTHChart::setTable(DataSet* meas)
{
    if (m_table)
        disconnect(m_table, nullptr, this, nullptr);
    m_table = meas;
    if (!meas)
        return;
    // The repaint timer rests while the record is being edited.
    connect(meas, &DataSet::afterEdit, this, [this] { m_timerRepaint->stop(); });
    connect(meas, &DataSet::afterPost, this, [this] { m_timerRepaint->start(); });
    connect(meas, &DataSet::afterCancel, this, [this] { m_timerRepaint->start(); });
}

void TFrameTHChart::setActions(const TimeHistoryChartActions& actions)
{
    for (QAction* a : {m_actions.zoomIn.data(), m_actions.zoomOut.data(), m_actions.resetCursors.data(),
                       m_actions.exportJpeg.data(), m_actions.exportLeq.data()}) {
        if (a)
            disconnect(a, nullptr, this, nullptr);
    }
    const auto pick = [](QAction* given, QAction* own) {
        return QPointer<QAction>(given ? given : own);
    };
    m_actions.zoomIn = pick(actions.zoomIn, m_ownActions.zoomIn);
    m_actions.zoomOut = pick(actions.zoomOut, m_ownActions.zoomOut);
    m_actions.resetCursors = pick(actions.resetCursors, m_ownActions.resetCursors);
    m_actions.noUnderrange = pick(actions.noUnderrange, m_ownActions.noUnderrange);
    m_actions.exportJpeg = pick(actions.exportJpeg, m_ownActions.exportJpeg);
    m_actions.exportLeq = pick(actions.exportLeq, m_ownActions.exportLeq);
    m_actions.viewOptions = actions.viewOptions;
    connectActions();
    setChartActionsEnabled(m_main != nullptr);
}

void TFrameTHChart::connectActions()
{
    connect(m_actions.zoomIn, &QAction::triggered, this, &TFrameTHChart::zoomIn);
    connect(m_actions.zoomOut, &QAction::triggered, this, &TFrameTHChart::zoomOut);
    connect(m_actions.resetCursors, &QAction::triggered, this, &TFrameTHChart::resetCursors);
    connect(m_actions.exportJpeg, &QAction::triggered, this, &TFrameTHChart::exportJpeg);
    connect(m_actions.exportLeq, &QAction::triggered, this, &TFrameTHChart::exportLeq);
    m_popup->clear();
    m_popup->addAction(m_actions.zoomIn);
    m_popup->addAction(m_actions.zoomOut);
    m_popup->addAction(m_actions.resetCursors);
    m_popup->addSeparator();
    m_popup->addAction(m_actions.exportJpeg);
    m_popup->addAction(m_actions.exportLeq);
    if (m_actions.viewOptions) {
        m_popup->addSeparator();
        m_popup->addAction(m_actions.viewOptions);
    }
}

void TFrameTHChart::setOuterCaption(const QString& caption)
{
    m_outerCaptionCleared = true;
    m_outerCaption->setText(caption);
}

void TFrameTHChart::translated(std::function<void()> apply)
{
    apply();
    m_translations.append(std::move(apply));
}

void TFrameTHChart::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        for (const auto& apply : std::as_const(m_translations))
            apply();
        m_chart->setStyle(ChartStyle::forScreen());
    }
    QWidget::changeEvent(event);
}

QString TFrameTHChart::outerCaption() const
{
    return m_outerCaption->text();
}

QLabel* TFrameTHChart::label(const QString& name) const
{
    return m_labels.value(name);
}

bool TFrameTHChart::chartShown() const
{
    return m_outer->currentWidget() == m_panelChart;
}

TFrameTHChart::CursorPanelGeometry TFrameTHChart::cursorPanelGeometry(int width, int height,
                                                                      int cursorPanelWidth)
{
    CursorPanelGeometry g;
    const int w = std::max(0, width);
    const int half = w / 2;
    const int side = std::clamp(cursorPanelWidth, 0, half);
    g.cursor1 = QRect(0, 0, side, height);
    g.outside = QRect(side, 0, std::max(0, half - side), height);
    g.between = QRect(half, 0, std::max(0, w - side - half), height);
    g.cursor2 = QRect(w - side, 0, side, height);
    return g;
}

void TFrameTHChart::layoutCursorPanels()
{
    // Four lines of text: the heading and up to three values, whatever font the frame inherits.
    const QLabel* value = label(QStringLiteral("LabelCursor1Dur"));
    const int needed = std::max(51, value->fontMetrics().lineSpacing() * 4 + 12);
    if (m_panelCursors->height() != needed || m_panelCursors->minimumHeight() != needed) {
        m_panelCursors->setFixedHeight(needed);
        return; // laid out again by the resize this causes
    }
    const int w = m_panelCursors->width();
    const int h = m_panelCursors->height();
    // The cursor panels give way on a narrow frame so that the summaries stay readable.
    const int side = std::min(kCursorPanelWidth, w / 4);
    const CursorPanelGeometry g = cursorPanelGeometry(w, h, side);
    const QRect rects[4] = {g.cursor1, g.outside, g.between, g.cursor2};
    for (int i = 0; i < 4; ++i)
        m_cursorPanels[i]->setGeometry(rects[i].adjusted(i == 0 ? 2 : 1, 2, i == 3 ? -2 : -1, -2));
}

void TFrameTHChart::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutCursorPanels();
}

void TFrameTHChart::setChartActionsEnabled(bool on)
{
    for (QAction* a : {m_actions.exportJpeg.data(), m_actions.exportLeq.data(), m_actions.zoomIn.data()}) {
        if (a)
            a->setEnabled(on);
    }
}

bool TFrameTHChart::noUnderrange() const
{
    return m_actions.noUnderrange && m_actions.noUnderrange->isChecked();
}

QString TFrameTHChart::recordText(const char* field) const
{
    if (!m_table || !m_table->isActive() || m_table->isEmpty())
        return QString();
    try {
        return m_table->text(QLatin1String(field));
    } catch (const DataSetError&) {
        return QString();
    }
}

double TFrameTHChart::recordChartTime(const char* field) const
{
    if (!m_table || !m_table->isActive() || m_table->isEmpty())
        return 0.0;
    try {
        return THRules::chartTimeOf(m_table->value(QLatin1String(field)));
    } catch (const DataSetError&) {
        return 0.0;
    }
}

// Writes values into the current record (edit, post). Values that are already there are not
// written again, so an unchanged summary leaves the record and its change log alone.
void TFrameTHChart::writeRecord(const QList<std::pair<QString, QVariant>>& values, bool* cursor1Changed)
{
    if (cursor1Changed)
        *cursor1Changed = false;
    if (!m_table || !m_table->isActive() || m_table->isEmpty())
        return;
    try {
        QList<std::pair<QString, QVariant>> changed;
        for (const auto& [field, value] : values) {
            const FieldDef* def = m_table->findField(field);
            if (!def)
                continue;
            const QVariant now = m_table->value(field);
            const QVariant want = coerceValue(def->type, value);
            if (now.isValid() == want.isValid() && now == want)
                continue;
            changed.append({field, value});
        }
        if (changed.isEmpty())
            return;
        m_table->edit();
        for (const auto& [field, value] : changed) {
            m_table->setValue(field, value);
            if (cursor1Changed && field == u"cursor1Time")
                *cursor1Changed = true;
        }
        m_table->post();
    } catch (const DataSetError&) {
        // The record keeps what it had.
    }
}

void TFrameTHChart::releaseHistories()
{
    // A binding goes before its history.
    delete m_peakBinding;
    delete m_channel2Binding;
    delete m_mainBinding;
    delete m_battery;
    delete m_peak;
    delete m_channel2;
    delete m_main;
    m_battery = m_peak = m_channel2 = m_main = nullptr;
    m_mainBinding = m_peakBinding = m_channel2Binding = nullptr;
    if (m_chart)
        m_chart->clear();
}

void TFrameTHChart::showTimeHistories(const QString& downloadLine, const QString& headerLine)
{
    Q_UNUSED(headerLine)
    WaitCursor wait;
    m_peak135 = 0;
    m_peak137 = 0;
    releaseHistories();

    const TimeHistoryStrings strings =
        THRules::chooseStrings(downloadLine, recordText("TimeHistoryCh1"), recordText("TimeHistoryPeak"),
                               recordText("TimeHistoryCh2"));
    const bool withPeak = !m_settings || m_settings->showPeakTimeHistory();
    m_chart->setMarkerLines(m_settings ? THRules::markerLines(*m_settings) : QList<ChartMarkerLine>());

    for (QLabel* l : std::as_const(m_labels))
        l->setText(QStringLiteral("-----"));

    if (strings.channel1.isEmpty()) {
        m_sampleTable = THRules::buildSampleTable(nullptr, nullptr, nullptr, nullptr, QString(), false);
        m_outer->setCurrentWidget(m_outer->widget(0));
        m_popupEnabled = false;
        setChartActionsEnabled(false);
        emit timeHistoriesShown();
        return;
    }

    setChartActionsEnabled(true);
    m_outer->setCurrentWidget(m_panelChart);
    m_popupEnabled = true;

    const bool all = noUnderrange();
    // Cursor positions are read before the first summary can write the record.
    const double cursor1 = recordChartTime("cursor1Time");
    const double cursor2 = recordChartTime("cursor2Time");

    m_main = new TKVTimeHistory(true, true, this);
    m_mainBinding = new THChartBinding(m_main, m_chart, this);
    m_mainBinding->setAxisMode(2);
    m_main->setUnderrangeLevel(all ? 50 : (strings.peak.isEmpty() ? 75 : 70));
    TimeHistoryColours c = m_main->colours();
    c.normalLine = c.series = kGreen;
    c.peak = c.overload = TimeHistoryColours::kRed;
    m_main->setColours(c);
    m_mainBinding->setData(strings.channel1);
    m_main->setSeriesTitle(m_main->seriesTitle() + QStringLiteral(" dB"));
    m_chart->updateHistory(m_mainBinding->seriesIndex(), *m_main);
    connect(m_main, &TKVTimeHistory::summaryChanged, this, &TFrameTHChart::onSummary);
    connect(m_main, &TKVTimeHistory::cursorTextsChanged, this, &TFrameTHChart::onCursorTexts);
    m_main->setCursor1(cursor1);
    m_main->setCursor2(cursor2);

    if (!strings.channel2.isEmpty()) {
        m_channel2 = new TKVTimeHistory(false, true, this);
        m_channel2Binding = new THChartBinding(m_channel2, m_chart, this);
        m_channel2Binding->setAxisMode(2);
        m_channel2->setUnderrangeLevel(all ? 50 : 70);
        TimeHistoryColours c2 = m_channel2->colours();
        c2.normalLine = c2.series = TimeHistoryColours::kBlue;
        m_channel2->setColours(c2);
        m_channel2Binding->setData(strings.channel2);
        m_channel2->setSeriesTitle(m_channel2->seriesTitle() + QStringLiteral(" dB"));
        m_chart->updateHistory(m_channel2Binding->seriesIndex(), *m_channel2);
        connect(m_channel2, &TKVTimeHistory::summaryChanged, this, &TFrameTHChart::onSummary);
        connect(m_channel2, &TKVTimeHistory::cursorTextsChanged, this, &TFrameTHChart::onCursorTexts);
        m_channel2->setCursorsAndTexts(cursor1, cursor2);
    }

    if (!strings.peak.isEmpty() && withPeak) {
        m_peak = new TKVTimeHistory(false, true, this);
        m_peakBinding = new THChartBinding(m_peak, m_chart, this);
        m_peakBinding->setAxisMode(2);
        m_peak->setUnderrangeLevel(all ? 50 : 120);
        TimeHistoryColours cp = m_peak->colours();
        cp.normalLine = TimeHistoryColours::kBlue;
        cp.series = TimeHistoryColours::kRed;
        m_peak->setColours(cp);
        m_peakBinding->setData(strings.peak);
        m_peak->setSeriesTitle(tr("Peak dBC"));
        m_chart->updateHistory(m_peakBinding->seriesIndex(), *m_peak);
        m_peak->setCursorsAndTexts(cursor1, cursor2);
    }

    if (!strings.battery.isEmpty()) {
        m_battery = new TKVTimeHistory(this);
        m_battery->setData(strings.battery);
    }

    m_sampleTable = THRules::buildSampleTable(m_main, m_peak, m_battery, m_channel2, m_main->seriesTitle(),
                                              m_peak != nullptr);
    if (m_peak) {
        const THRules::PeakCounts counts = THRules::countPeaks(*m_peak);
        m_peak135 = counts.peak135;
        m_peak137 = counts.peak137;
        writeRecord({{QStringLiteral("peak135"), counts.peak135},
                     {QStringLiteral("peak137"), counts.peak137},
                     {QStringLiteral("peak140"), counts.peak140}});
    }

    // The averaging of each channel follows its exchange-rate setting; set last, so that the
    // record's cursors are all read before the first summary writes them back.
    m_main->setExchangeRate(exchangeRateOf(recordText("settingsExchangeRate")));
    if (m_channel2)
        m_channel2->setExchangeRate(exchangeRateOf(recordText("settingsExchangeRate2")));
    m_chart->queueReplot();
    emit timeHistoriesShown();
}

void TFrameTHChart::showChannel(int channel)
{
    if (!m_mainBinding)
        return;
    const bool one = channel == 1 || channel == 0;
    const bool two = channel == 2 || channel == 0;
    m_mainBinding->setSeriesVisible(one);
    if (m_channel2Binding)
        m_channel2Binding->setSeriesVisible(two);
    if (channel == 2 && m_channel2Binding) {
        m_mainBinding->attachChartEvents(false);
        m_channel2Binding->attachChartEvents(true);
    } else {
        if (m_channel2Binding)
            m_channel2Binding->attachChartEvents(false);
        m_mainBinding->attachChartEvents(true);
    }
    m_chart->queueReplot();
}

void TFrameTHChart::onSummary(TKVTimeHistory* history)
{
    if (!history)
        return;
    const QString prefix = THRules::seriesPrefix(history->seriesTitle());
    const SummaryTexts& s = history->summaryTexts();
    const bool second = history == m_channel2;
    // Channel 2 uses its own overall values for the whole-run rule.
    const THRules::WholeRunValues whole{
        recordText(second ? "lavg2String" : "lavgString"), recordText(second ? "leq2String" : "leqString"),
        recordText(second ? "settingsExchangeRate2" : "settingsExchangeRate"), recordText("RunTime")};
    const QString between = THRules::levelBetweenText(prefix, s, whole);
    label(QStringLiteral("LabelInsideDur"))->setText(s.durationBetween);
    label(QStringLiteral("LabelOutsideDur"))->setText(s.durationOutside);
    label(QStringLiteral("LabelInsideLeq"))->setText(THRules::levelLabel(prefix, between));
    label(QStringLiteral("LabelOutsideLeq"))->setText(THRules::levelLabel(prefix, s.levelOutside));

    // While a cursor is dragged only the panels follow; the release writes the record.
    const THChartBinding* binding = history == m_main ? m_mainBinding : second ? m_channel2Binding : nullptr;
    if (binding && binding->dragging())
        return;
    const CursorTexts& t = history->cursorTexts();
    bool cursor1Changed = false;
    const double before2 = recordChartTime("cursor2Time");
    // cursor2Time first: the data file is written when cursor1Time changes, with both times.
    writeRecord({{QStringLiteral("betweenCursorsString"), between},
                 {QStringLiteral("outsideCursorsString"), s.levelOutside},
                 {QStringLiteral("betweenCursorsDurationString"), s.durationBetween},
                 {QStringLiteral("outsideCursorsDurationString"), s.durationOutside},
                 {QStringLiteral("cursor1TimeString"), t.cursor1Time},
                 {QStringLiteral("cursor2TimeString"), t.cursor2Time},
                 {QStringLiteral("cursor1ValString"), t.cursor1Value},
                 {QStringLiteral("cursor2ValString"), t.cursor2Value},
                 {QStringLiteral("cursor2Time"), THRules::dateTimeOfChartTime(history->cursor2())},
                 {QStringLiteral("cursor1Time"), THRules::dateTimeOfChartTime(history->cursor1())}},
                &cursor1Changed);
    const bool cursor2Changed = std::fabs(recordChartTime("cursor2Time") - before2) > 1e-9;
    if (m_cursorsPosted && (cursor1Changed || cursor2Changed))
        m_cursorsPosted(cursor1Changed);
}

void TFrameTHChart::onCursorTexts(TKVTimeHistory* history)
{
    if (!history)
        return;
    const QString prefix = THRules::seriesPrefix(history->seriesTitle());
    const CursorTexts& t = history->cursorTexts();
    label(QStringLiteral("LabelCursor1Dur"))->setText(t.cursor1Time);
    label(QStringLiteral("LabelCursor2Dur"))->setText(t.cursor2Time);
    label(QStringLiteral("LabelCursor1Leq"))->setText(THRules::cursorValueLabel(prefix, t.cursor1Value));
    label(QStringLiteral("LabelCursor2Leq"))->setText(THRules::cursorValueLabel(prefix, t.cursor2Value));
    // The other histories keep the cursors of the one the mouse drives.
    const double c1 = history->cursor1();
    const double c2 = history->cursor2();
    for (TKVTimeHistory* other : {m_main, m_channel2}) {
        if (other && other != history)
            other->setCursorsAndTexts(c1, c2);
    }
    if (m_peak) {
        m_peak->setCursorsAndTexts(c1, c2);
        label(QStringLiteral("LabelCursor1Peak"))
            ->setText(THRules::peakCursorLabel(m_peak->cursorTexts().cursor1Value));
        label(QStringLiteral("LabelCursor2Peak"))
            ->setText(THRules::peakCursorLabel(m_peak->cursorTexts().cursor2Value));
    } else {
        label(QStringLiteral("LabelCursor1Peak"))->clear();
        label(QStringLiteral("LabelCursor2Peak"))->clear();
    }
}

void TFrameTHChart::zoomIn()
{
    if (!m_main)
        return;
    if (m_peak) {
        m_peak->setCursor1(m_main->cursor1());
        m_peak->setCursor2(m_main->cursor2());
    }
    m_mainBinding->zoomToCursors();
    if (m_peakBinding)
        m_peakBinding->zoomToCursors();
    if (m_actions.zoomOut)
        m_actions.zoomOut->setEnabled(true);
}

void TFrameTHChart::zoomOut()
{
    if (m_main) {
        if (m_peak) {
            m_peak->setCursor1(m_main->cursor1());
            m_peak->setCursor2(m_main->cursor2());
            m_peakBinding->unzoom();
        }
        m_mainBinding->unzoom();
        if (m_peakBinding)
            m_peakBinding->unzoom();
    }
    if (m_actions.zoomOut)
        m_actions.zoomOut->setEnabled(false);
}

void TFrameTHChart::resetCursors()
{
    if (!m_main)
        return;
    m_main->setCursor1(0.0);
    m_main->setCursor2(0.0);
    TimerRepaintChartTimer();
}

void TFrameTHChart::TimerRepaintChartTimer()
{
    if (!isVisible() || !m_table || !m_table->isActive())
        return;
    if (m_table->state() != DataSet::State::Browse || m_table->controlsDisabled())
        return;
    m_chart->replot();
}

QString TFrameTHChart::chooseFile(const QString& caption, const QString& fileName, const QString& filter,
                                  const QString& suffix)
{
    if (!m_chooseSaveFile)
        return QString();
    return m_chooseSaveFile(caption, m_dataFolderProvider ? m_dataFolderProvider() : m_dataFolder, fileName,
                            filter, suffix);
}

bool TFrameTHChart::saveJpeg(const QString& fileName)
{
    if (!m_main || fileName.isEmpty())
        return false;
    const QSize size = m_plot->size().isEmpty() ? QSize(900, 420) : m_plot->size();
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.drawImage(0, 0, m_chart->toImage(size));
    }
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QImageWriter writer(&file, "jpg");
    if (!writer.write(image)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool TFrameTHChart::saveLeq(const QString& fileName)
{
    return m_main && !fileName.isEmpty() && m_main->exportLeqFile(fileName);
}

void TFrameTHChart::exportJpeg()
{
    if (!m_main)
        return;
    const QString file = chooseFile(tr("Save Time History Chart as JPEG"), tr("noxTag Time History.jpg"),
                                    tr("JPEG image (*.jpg)"), QStringLiteral("jpg"));
    if (file.isEmpty())
        return;
    bool saved = false;
    {
        WaitCursor wait;
        saved = saveJpeg(file);
    }
    if (saved && m_openFile)
        m_openFile(file);
}

void TFrameTHChart::exportLeq()
{
    if (!m_main)
        return;
    const QString file =
        chooseFile(tr("Save Time History Chart as .leq file..."), tr("noxTag Time History.leq"),
                   tr("Leq file (*.leq)"), QStringLiteral("leq"));
    if (file.isEmpty())
        return;
    bool saved = false;
    {
        WaitCursor wait;
        saved = saveLeq(file);
    }
    if (saved && m_openFile)
        m_openFile(file);
}

} // namespace sonvex
