#pragma once

#include "views/DataViewRules.h"
#include "views/SonvexTimeHistoryFrame.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <optional>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QScrollArea;
class QSplitter;
class QTabWidget;
class QTableView;
class QTimer;

namespace sonvex {

class DataFilesController;
class DataSetModel;
class MeasurementListModel;
class SettingsStore;
class Tdm;

// The measurement data view's content: the measurement list at the left; for the current
// record its overall data, the channel pages (results, settings with the user criterion level,
// diagnostics, peak counts), the time-history chart and the notes.
class TFrameDataView : public QWidget
{
    Q_OBJECT
public:
    explicit TFrameDataView(QWidget* parent = nullptr);
    ~TFrameDataView() override;

    // --- what the view works with
    void setDataModule(Tdm* dm);
    Tdm* dataModule() const { return m_dm; }
    // The data-file lines (for the download line of a record) and the cursor and notes write-back.
    void setDataFiles(DataFilesController* files);
    void setSettings(SettingsStore* settings);
    void setChartActions(const TimeHistoryChartActions& actions) { m_frameTH->setActions(actions); }
    // The list's popup menu: "Delete Selected Measurement(s)" and "Save" with the two save commands.
    void setListActions(QAction* deleteSelected, QAction* saveAll, QAction* saveSelected);
    // The top panel's popup menu: "Help on Terminology".
    void setTerminologyAction(QAction* helpOnTerminology);
    // Validation colouring: with it on, a list row is drawn red when `passOf`(its read order)
    // says the soak test failed; nothing when the lookup finds no result.
    void setValidationLookup(std::function<std::optional<bool>(int readOrder)> passOf);
    void setValidationColouring(bool on);
    void setValidationDetailsVisible(bool visible);

    // --- operations
    void refreshRecord();
    // Caption labels take the display labels of their fields again.
    void refreshCaptions();
    // Record positions (0-based) of the measurements selected in the list, ascending.
    QList<int> selectedRows() const;

    // --- parts, for the window and the tests
    TFrameTHChart* frameTH() const { return m_frameTH; }
    QTableView* grid() const { return m_grid; }
    QTabWidget* pageControlChannels() const { return m_pages; }
    QLineEdit* notesEdit() const { return m_notes; }
    QPlainTextEdit* validationMemo() const { return m_memoValidation; }
    QComboBox* critLevelBox(int channel, bool bothPage) const;
    QCheckBox* critLevelCheckBox(int channel, bool bothPage) const;
    QWidget* panel(const QString& name) const; // by object name
    QLabel* valueLabel(const QString& objectName) const;
    QWidget* panelTop() const { return m_panelTop; }
    int panelTopNaturalHeight() const { return m_topNatural; }
    const DataViewPanels& currentPanels() const { return m_panels; }

    // --- handlers (named after the controls they serve)
    void TSChannel1Show();
    void TSChannel2Show();
    void TSBothChannelsShow();
    void LMDCheckBoxUserCritLevelChange(int channel, bool bothPage);
    void LMDComboBoxCritLevelSelect(int channel, bool bothPage, int index);
    void LMDComboBoxCritLevelKeyUp(int channel, bool bothPage);
    void DBEditNotesKeyUp();
    void FrameResize();
    void LMDScrollBox1Resize();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct FieldBinding
    {
        QLabel* label;
        QString field;
    };
    struct CaptionBinding
    {
        QLabel* label;
        QString field;
    };
    struct ChannelWidgets
    {
        QComboBox* box = nullptr;
        QCheckBox* check = nullptr;
        QLabel* critLevelValue = nullptr;
    };

    // Sets a text now and again after every change of language.
    void translated(std::function<void()> apply);
    void buildUi();
    QWidget* buildOverallPanel();
    QWidget* buildChannelPage(int page);
    QWidget* fieldPanel(const QString& name, const QList<const char*>& fields, QWidget* parent);
    QWidget* settingsPanel(int channel, bool bothPage, QWidget* parent);
    QLabel* bindValue(const QString& field, QWidget* parent, const QString& objectName = QString());
    QLabel* bindCaption(const QString& field, QWidget* parent);
    void bindTable();
    void refreshValues();
    void relayoutChannels();
    void applyCritLevelVisibility();
    void syncCritLevelControls();
    void commitNotes();
    void postRecord();
    QString displayText(const QString& field) const;
    QString fieldLabel(const QString& field) const;
    QString recordText(const QString& field) const;
    void selectCurrentInGrid();
    void onCursorsPosted(bool cursor1Changed);
    ChannelWidgets& channelWidgets(int channel, bool bothPage);
    const ChannelWidgets& channelWidgets(int channel, bool bothPage) const;
    void setBox(QComboBox* box, const CriterionLevelRules::Box& state);
    CriterionLevelRules::Box boxState(const QComboBox* box) const;

    Tdm* m_dm = nullptr;
    QPointer<DataSet> m_table;
    QPointer<DataFilesController> m_files;
    SettingsStore* m_settings = nullptr;
    DataSetModel* m_model = nullptr;
    MeasurementListModel* m_listModel = nullptr;

    QSplitter* m_splitter = nullptr;
    QTableView* m_grid = nullptr;
    QMenu* m_gridMenu = nullptr;
    QPlainTextEdit* m_memoValidation = nullptr;
    QWidget* m_panelTop = nullptr;
    QScrollArea* m_scroll = nullptr;
    QWidget* m_overall = nullptr;
    QTabWidget* m_pages = nullptr;
    QMenu* m_topMenu = nullptr;
    QWidget* m_panelTH = nullptr;
    TFrameTHChart* m_frameTH = nullptr;
    QLineEdit* m_notes = nullptr;
    QLabel* m_finalBattery[2] = {nullptr, nullptr};
    QTimer* m_timerResize = nullptr;
    ChannelWidgets m_channel[2][2]; // [channel - 1][bothPage]
    QList<FieldBinding> m_values;
    QList<CaptionBinding> m_captions;
    QList<QLabel*> m_lexCaptions;
    QList<std::function<void()>> m_translations;
    QMenu* m_saveMenu = nullptr;
    QHash<QString, QWidget*> m_panelsByName;
    DataViewPanels m_panels;
    int m_topNatural = 0;
    int m_tabBarHeight = 0;
    bool m_refreshing = false;
};

} // namespace sonvex
