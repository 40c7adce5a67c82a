#pragma once

#include "data/DataSet.h"
#include "reports/TimeHistoryRules.h"

#include <QHash>
#include <QPointer>
#include <QRect>
#include <QWidget>

#include <functional>

class QAction;
class QCustomPlot;
class QLabel;
class QMenu;
class QStackedLayout;
class QTimer;

namespace sonvex {

class DataSet;
class SettingsStore;
class THChartBinding;
class TKVTimeHistory;
class TimeHistoryChart;

// The chart commands of the main window that act on this frame. The frame makes its own when
// none are given (a frame shown on its own, the tests).
struct TimeHistoryChartActions
{
    QPointer<QAction> zoomIn;       // "Zoom In Between Cursors"
    QPointer<QAction> zoomOut;      // "Zoom Out"
    QPointer<QAction> resetCursors; // "Reset Cursor Positions"
    QPointer<QAction> noUnderrange; // "Don't hide Underrange Values on Time History Chart" (checkable)
    QPointer<QAction> exportJpeg;   // "Save Time History Chart as JPEG"
    QPointer<QAction> exportLeq;    // "Save Time History Chart as .leq file..."
    QPointer<QAction> viewOptions;  // "View Options..." (optional)
};

// The time-history chart frame: up to four histories of the current measurement (channel 1 as
// the main history, peak, battery, channel 2), the chart with its cursors, the four cursor
// panels, the per-sample table, the peak counts, and the chart commands (zoom, reset cursors,
// picture and Leq export).
class TFrameTHChart : public QWidget
{
    Q_OBJECT
public:
    // Asks for a file to save; empty when the user cancels.
    using SaveFileChooser =
        std::function<QString(const QString& caption, const QString& folder, const QString& fileName,
                              const QString& filter, const QString& defaultSuffix)>;

    explicit TFrameTHChart(QWidget* parent = nullptr);
    ~TFrameTHChart() override;

    // --- what the frame works with
    void setTable(DataSet* meas);
    DataSet* table() const { return m_table; }
    // Marker lines and "Show Peak Time History on time history charts" come from here.
    void setSettings(const SettingsStore* settings) { m_settings = settings; }
    void setActions(const TimeHistoryChartActions& actions);
    const TimeHistoryChartActions& actions() const { return m_actions; }
    // The folder the save dialogs start in.
    void setDataFolder(const QString& folder) { m_dataFolder = folder; }
    // The same, asked for each time a dialog opens (the data folder can change while the frame lives).
    void setDataFolderProvider(std::function<QString()> provider)
    {
        m_dataFolderProvider = std::move(provider);
    }
    void setSaveFileChooser(SaveFileChooser chooser) { m_chooseSaveFile = std::move(chooser); }
    // Opens a written file with the desktop's default program.
    void setFileOpener(std::function<void(const QString&)> opener) { m_openFile = std::move(opener); }
    // Called after the record's cursor times were posted, with whether cursor 1 changed: the data
    // file follows cursor 1's field by itself, a move of cursor 2 alone needs telling.
    void setCursorsPosted(std::function<void(bool cursor1Changed)> hook)
    {
        m_cursorsPosted = std::move(hook);
    }
    // The caption shown while there is no chart ("No Time History data"); the data view clears it.
    void setOuterCaption(const QString& caption);
    QString outerCaption() const;

    // --- the frame's operations
    // Sets the histories up for the current record: from `downloadLine` when it holds time
    // histories, else from the record's own strings.
    void showTimeHistories(const QString& downloadLine = QString(), const QString& headerLine = QString());
    void zoomIn();
    void zoomOut();
    void resetCursors();
    void exportJpeg();
    void exportLeq();
    // The exports without their dialogs; false when nothing could be written.
    bool saveJpeg(const QString& fileName);
    bool saveLeq(const QString& fileName);
    // The repaint routine (every 5 s, after a resize, after Reset Cursor Positions).
    void TimerRepaintChartTimer();

    // --- state
    TKVTimeHistory* mainHistory() const { return m_main; }
    TKVTimeHistory* peakHistory() const { return m_peak; }
    TKVTimeHistory* batteryHistory() const { return m_battery; }
    TKVTimeHistory* channel2History() const { return m_channel2; }
    THChartBinding* mainBinding() const { return m_mainBinding; }
    THChartBinding* peakBinding() const { return m_peakBinding; }
    THChartBinding* channel2Binding() const { return m_channel2Binding; }
    TimeHistoryChart* chart() const { return m_chart; }
    QCustomPlot* chartWidget() const { return m_plot; }
    QWidget* panelChart() const { return m_panelChart; }
    bool chartShown() const;
    bool popupEnabled() const { return m_popupEnabled; }
    QMenu* popupMenu() const { return m_popup; }
    const TimeHistorySampleTable& sampleTable() const { return m_sampleTable; }
    int peak135Count() const { return m_peak135; }
    int peak137Count() const { return m_peak137; }
    QTimer* repaintTimer() const { return m_timerRepaint; }
    // Channel pages of the data view: which series is shown and which history drives the mouse.
    void showChannel(int channel); // 1, 2, or 0 for both

    // --- labels of the cursor panels, by their names
    QLabel* label(const QString& name) const;

    // Geometry of the four cursor panels in a strip `width` wide and `height` high: cursor 1 at
    // the left, "outside cursors" up to the middle, "between cursors" from the middle, cursor 2
    // ending at the right edge.
    struct CursorPanelGeometry
    {
        QRect cursor1, outside, between, cursor2;
    };
    static CursorPanelGeometry cursorPanelGeometry(int width, int height, int cursorPanelWidth);

signals:
    // The histories were set up again (for the data view's panel rules).
    void timeHistoriesShown();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Sets a text now and again after every change of language.
    void translated(std::function<void()> apply);
    void buildUi();
    void releaseHistories();
    void onSummary(TKVTimeHistory* history);
    void onCursorTexts(TKVTimeHistory* history);
    void layoutCursorPanels();
    void setChartActionsEnabled(bool on);
    void connectActions();
    QString recordText(const char* field) const;
    double recordChartTime(const char* field) const;
    void writeRecord(const QList<std::pair<QString, QVariant>>& values, bool* cursor1Changed = nullptr);
    bool noUnderrange() const;
    QString chooseFile(const QString& caption, const QString& fileName, const QString& filter,
                       const QString& suffix);

    QPointer<DataSet> m_table;
    const SettingsStore* m_settings = nullptr;
    TimeHistoryChartActions m_actions;
    TimeHistoryChartActions m_ownActions;
    QString m_dataFolder;
    std::function<QString()> m_dataFolderProvider;
    SaveFileChooser m_chooseSaveFile;
    std::function<void(const QString&)> m_openFile;
    std::function<void(bool)> m_cursorsPosted;

    QStackedLayout* m_outer = nullptr;
    QLabel* m_outerCaption = nullptr;
    QWidget* m_panelChart = nullptr;
    QWidget* m_panelCursors = nullptr;
    QWidget* m_cursorPanels[4] = {nullptr, nullptr, nullptr, nullptr};
    QCustomPlot* m_plot = nullptr;
    TimeHistoryChart* m_chart = nullptr;
    QMenu* m_popup = nullptr;
    bool m_popupEnabled = false;
    QTimer* m_timerRepaint = nullptr;
    QHash<QString, QLabel*> m_labels;
    QList<std::function<void()>> m_translations;
    bool m_outerCaptionCleared = false;

    TKVTimeHistory* m_main = nullptr;
    TKVTimeHistory* m_peak = nullptr;
    TKVTimeHistory* m_battery = nullptr;
    TKVTimeHistory* m_channel2 = nullptr;
    THChartBinding* m_mainBinding = nullptr;
    THChartBinding* m_peakBinding = nullptr;
    THChartBinding* m_channel2Binding = nullptr;
    TimeHistorySampleTable m_sampleTable;
    int m_peak135 = 0;
    int m_peak137 = 0;
};

} // namespace sonvex
