#pragma once

#include "data/DataSet.h"
#include "data/MeasCalc.h"

#include <QLocale>
#include <QMap>
#include <QObject>
#include <QStringList>

namespace sonvex {

class SettingsStore;

// What the data module keeps in the settings between runs.
struct TableSettings
{
    QMap<QString, int> columnOrder;    // "column order": field name -> Tag
    QMap<QString, int> columnOrderSLM; // "column order SLM"
    int userCritLevel = 84;
    int userCritLevel2 = 84;
    QString userCritLevelList = QStringLiteral("90\n85\n84\n83\n80\n");
    QString userCritLevelList2 = QStringLiteral("90\n85\n84\n83\n80\n");
    bool useUserCritLevel = false;
    bool useUserCritLevel2 = false;
};

// The data module: the measurement tables every view, report and export reads.
class Tdm : public QObject
{
    Q_OBJECT
public:
    explicit Tdm(QObject* parent = nullptr);
    ~Tdm() override;

    DataSet* CDSMeas() { return &m_meas; }
    DataSet* CDSSLMMeas() { return &m_slm; }

    // Field layouts (stored and calculated) of the two tables, in their order.
    static QVector<FieldDef> measFieldDefs();
    static QVector<FieldDef> slmFieldDefs();

    static double EstimatedDose(const QString& exchangeRate, int criterionLevel, double level)
    {
        return MeasCalc::EstimatedDose(exchangeRate, criterionLevel, level);
    }

    void LoadTableSettings(const TableSettings& s);
    TableSettings SaveTableSettings() const;
    // The same through the settings store ("column order", "column order SLM", user levels).
    void LoadTableSettings(const SettingsStore& store);
    void SaveTableSettings(SettingsStore& store) const;
    // At shut-down: the measurement table goes to documentsFolder/"temp.dat" when it
    // holds unsaved changes. False (with the reason) when that file could not be written.
    bool saveWorkingTable(const QString& documentsFolder, QString* error = nullptr);
    // Measurements from an XML data packet; the previous contents go to "temp.dat"
    // first. The table is unchanged when the file cannot be read (the message says why).
    bool LoadXmlMeasurements(const QString& path, const QString& documentsFolder, QString* error = nullptr);
    // Sound level meter measurements from an SLM data file.
    bool LoadSLMFile(const QString& path, QString* error = nullptr);
    // Boolean display texts from the localizable "Yes;No".
    void ApplyYesNoTexts();
    // Display labels again after a change of language.
    void retranslate();

    int userCritLevel() const { return m_user1.level; }
    int userCritLevel2() const { return m_user2.level; }
    bool useUserCritLevel() const { return m_user1.use; }
    bool useUserCritLevel2() const { return m_user2.use; }
    QStringList userCritLevelList() const { return m_list1; }
    QStringList userCritLevelList2() const { return m_list2; }
    void setUserCritLevel(int level);
    void setUserCritLevel2(int level);
    void setUseUserCritLevel(bool on);
    void setUseUserCritLevel2(bool on);
    void setUserCritLevelList(const QStringList& l) { m_list1 = l; }
    void setUserCritLevelList2(const QStringList& l) { m_list2 = l; }
    QString peakLabel() const { return m_peakLabel; }

    // The locale calculated texts are shown in (the user's, unless set).
    void setDisplayLocale(const QLocale& l);
    QLocale displayLocale() const { return m_locale; }

    // Empty measurement table with the full layout, browse state.
    void createMeasTable();
    void createSLMTable();

private:
    void calcFields(RecordView& r) const;

    DataSet m_meas;
    DataSet m_slm;
    MeasCalc::UserCriterion m_user1;
    MeasCalc::UserCriterion m_user2;
    QStringList m_list1;
    QStringList m_list2;
    QString m_peakLabel;
    QLocale m_locale;
};

} // namespace sonvex
